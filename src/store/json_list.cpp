#include "store/json_list.h"

#include <QDebug>

#include "store/file_io.h"

namespace store {

QList<QJsonObject> objectsOf(const QJsonDocument& doc)
{
    QList<QJsonObject> objects;
    for (const QJsonValue& value : doc.array())
        if (value.isObject())
            objects.append(value.toObject());
    return objects;
}

QJsonArray arrayOf(const QList<QJsonObject>& list)
{
    QJsonArray array;
    for (const QJsonObject& obj : list)
        array.append(obj);
    return array;
}

QByteArray indentedArray(const QList<QJsonObject>& list)
{
    return QJsonDocument(arrayOf(list)).toJson(QJsonDocument::Indented);
}

QList<QJsonObject> tableObjects(const QByteArray& data, int capacity)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(data, &error);
    return tableObjects(doc, error, capacity);
}

QList<QJsonObject> tableObjects(
    const QJsonDocument& doc, const QJsonParseError& error, int capacity)
{
    if (error.error != QJsonParseError::NoError) {
        qDebug() << "配置错误";
        return {};
    }
    if (!doc.isArray()) {
        qDebug() << "不是一个JSON数组";
        return {};
    }
    QList<QJsonObject> objects = objectsOf(doc);
    if (objects.size() > capacity) {
        qDebug() << "table full, ignoring" << objects.size() - capacity << "entries";
        objects.resize(capacity);
    }
    return objects;
}

void readBack(const MirroredList& f, const QByteArray& written)
{
    QByteArray data;
    if (!readFile(f.path, &data, kOpenAttempts))
        data = written;
    f.readTable(data);
}

bool addAndWrite(const MirroredList& f, const std::function<void()>& append, const char* writtenLog)
{
    if (f.list.size() >= f.capacity) {
        qDebug() << "list full, not adding to" << f.path;
        return false;
    }
    const QList<QJsonObject> before = f.list;
    append();
    const QByteArray bytes = indentedArray(f.list);
    if (!writeFile(f.path, bytes, kOpenAttempts)) {
        qDebug() << "cannot write" << f.path;
        f.list = before;
        return false;
    }
    if (writtenLog)
        qDebug() << writtenLog;
    readBack(f, bytes);
    return true;
}

void removeByIndex(QList<QJsonObject>& list, int index)
{
    list.removeIf([index](const QJsonObject& obj) {
        return obj.value(QLatin1String("index")).toInt() == index;
    });
}

bool removeRenumberAndWrite(const MirroredList& f, int index)
{
    const QList<QJsonObject> before = f.list;
    removeByIndex(f.list, index);
    for (int i = 0; i < f.list.size(); ++i)
        f.list[i].insert(QLatin1String("index"), i);
    const QByteArray bytes = indentedArray(f.list);
    if (!writeFile(f.path, bytes)) {
        qDebug() << "cannot write" << f.path;
        QByteArray data;
        if (readFile(f.path, &data, kOpenAttempts)) {
            f.readTable(data);
            f.list = objectsOf(QJsonDocument::fromJson(data));
        } else {
            f.list = before;
        }
        return false;
    }
    readBack(f, bytes);
    return true;
}

} // namespace store
