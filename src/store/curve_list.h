#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QString>

#include <cstdint>

// One known curve: a source response ("fre") or a target ("tar") CSV file.
struct BD_data
{
    QString type;
    int32_t index = 0; // position in the list
    QString name;
    QString path; // absolute path of the CSV file
};

constexpr int kCurveListCapacity = 100;

extern BD_data BD_value[kCurveListCapacity];
extern int32_t buffer_count;
extern QList<QJsonObject> jsonDataList; // the file's objects in file order

// Groups the curve-list functions; never instantiated.
class Buffer_Deal
{
public:
    Buffer_Deal();
};

QString curveListFilePath(); // EQ_fre_tar_file.QVconfig

void buffer_Init();
void buffer_Write(QString type, int index, QString name, QString path);
QByteArray generateJsonArray();
void buffer_Read(QByteArray data);
// Refuses an entry past the table's capacity; false when nothing was added.
bool file_Add(QString type, int index, QString name, QString path);
void removeDataByIndex(int index);
bool removeAndReorder(int index); // false when the file could not be written
