#include "store/curve_list.h"

#include <QDebug>
#include <QFile>
#include <QJsonDocument>

#include "store/file_io.h"
#include "store/json_list.h"
#include "store/paths.h"

BD_data BD_value[kCurveListCapacity];
int32_t buffer_count = 0;
QList<QJsonObject> jsonDataList;

Buffer_Deal::Buffer_Deal() = default;

namespace {

void writeFirstStartEntries()
{
    jsonDataList.clear();
    buffer_Write(
        QStringLiteral("fre"), 0, QStringLiteral("fre1"), appFilePath(QStringLiteral("test.csv")));
    buffer_Write(QStringLiteral("tar"), 1, QStringLiteral("Harman OE"),
        appFilePath(QStringLiteral("harman_over-ear_2018.csv")));
}

store::MirroredList mirrored()
{
    return { curveListFilePath(), jsonDataList, [](const QByteArray& data) { buffer_Read(data); },
        kCurveListCapacity };
}

} // namespace

QString curveListFilePath() { return appFilePath(QStringLiteral("EQ_fre_tar_file.QVconfig")); }

void buffer_Init()
{
    const QString path = curveListFilePath();
    store::removeLeftoverTemporaries(path);
    if (!QFile::exists(path)) {
        qDebug() << "新创建  配置文件";
        writeFirstStartEntries();
        const QByteArray bytes = generateJsonArray();
        if (!store::writeFile(path, bytes, store::kOpenAttempts))
            qDebug() << "cannot create" << path;
        store::readBack(mirrored(), bytes);
        return;
    }
    qDebug() << "已经创建 配置文件";
    QByteArray data;
    if (!store::readFile(path, &data, store::kOpenAttempts)) {
        qDebug() << "cannot open" << path << "- using the first-start list";
        store::keepBadCopyBeforeNextWrite(path);
        writeFirstStartEntries();
        buffer_Read(generateJsonArray());
        return;
    }
    buffer_Read(data);
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(data, &error);
    jsonDataList.clear();
    if (error.error != QJsonParseError::NoError) {
        qDebug() << "解析错误";
        store::keepBadCopyBeforeNextWrite(path);
    } else if (!doc.isArray()) {
        qDebug() << "不是一个JSON数组";
        store::keepBadCopyBeforeNextWrite(path);
    } else {
        jsonDataList = store::objectsOf(doc);
    }
}

void buffer_Write(QString type, int index, QString name, QString path)
{
    QJsonObject obj;
    obj.insert(QLatin1String("index"), index);
    obj.insert(QLatin1String("name"), name);
    obj.insert(QLatin1String("path"), path);
    obj.insert(QLatin1String("type"), type);
    jsonDataList.append(obj);
}

QByteArray generateJsonArray() { return store::indentedArray(jsonDataList); }

void buffer_Read(QByteArray data)
{
    buffer_count = 0;
    for (const QJsonObject& obj : store::tableObjects(data, kCurveListCapacity)) {
        BD_data& entry = BD_value[buffer_count];
        entry.type = obj.value(QLatin1String("type")).toString();
        entry.index = obj.value(QLatin1String("index")).toInt(0);
        entry.name = obj.value(QLatin1String("name")).toString();
        entry.path = obj.value(QLatin1String("path")).toString();
        qDebug() << "type:" << entry.type << "index:" << entry.index << "file_name:" << entry.name
                 << "path:" << entry.path;
        ++buffer_count;
    }
}

bool file_Add(QString type, int index, QString name, QString path)
{
    return store::addAndWrite(mirrored(), [&] { buffer_Write(type, index, name, path); });
}

void removeDataByIndex(int index) { store::removeByIndex(jsonDataList, index); }

bool removeAndReorder(int index) { return store::removeRenumberAndWrite(mirrored(), index); }
