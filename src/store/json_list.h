#pragma once

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QList>
#include <QString>

#include <functional>

// The preset files and the curve list are JSON arrays of objects, each
// mirrored as a list of objects (what the file is rewritten from) and a fixed
// table (what the program reads). These helpers keep the three in step.
namespace store {

QList<QJsonObject> objectsOf(const QJsonDocument& doc);
QJsonArray arrayOf(const QList<QJsonObject>& list);
QByteArray indentedArray(const QList<QJsonObject>& list);

// The object elements of a stored array, at most `capacity` of them; logs
// and gives none when the text is not JSON or not an array.
QList<QJsonObject> tableObjects(const QByteArray& data, int capacity);
QList<QJsonObject> tableObjects(
    const QJsonDocument& doc, const QJsonParseError& error, int capacity);

struct MirroredList
{
    QString path;
    QList<QJsonObject>& list;
    std::function<void(const QByteArray&)> readTable;
    int capacity;
};

// Appends one object through `append`, rewrites the file and reads it back.
// Refused when the list is full; on a failed write the list is restored.
bool addAndWrite(
    const MirroredList& f, const std::function<void()>& append, const char* writtenLog = nullptr);

// Removes every object whose "index" is `index`, without file access.
void removeByIndex(QList<QJsonObject>& list, int index);

// Removes, renumbers 0..n-1, rewrites and reads back. When the write fails,
// list and table are rebuilt from the file still on disk.
bool removeRenumberAndWrite(const MirroredList& f, int index);

// Reads a file back after it was written; if it cannot be opened again, the
// bytes just written are what it holds.
void readBack(const MirroredList& f, const QByteArray& written);

} // namespace store
