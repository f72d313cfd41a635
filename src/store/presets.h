#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QString>

#include <cstdint>

#include "dsp/band.h"

// One preset: a local preset (index = position in its file, 0..99) or a
// device preset (index = device slot, 0..9). eq[0] is the preamp, eq[1..11]
// bands 1 to 11. Records and their band records live for the whole run.
struct EQ_config_data
{
    int32_t index = 0;
    QString config_name;
    EQ_data* eq[12] = {};
};

constexpr int kLocalPresetCapacity = 100;
constexpr int kDevicePresetSlots = 10;

// Local presets of the left (or linked) and the right preset file.
extern EQ_config_data* CB_data[kLocalPresetCapacity];
extern EQ_config_data* CB_data_R[kLocalPresetCapacity];
extern int32_t config_count;
extern int32_t config_count_R;

// Device preset slots; allocated and filled by the workspace and the device
// dispatcher.
extern EQ_config_data* Device_CB_data[kDevicePresetSlots];
extern EQ_config_data* Device_CB_data_R[kDevicePresetSlots];

// The objects of each preset file in file order; every rewrite writes the
// whole list.
extern QList<QJsonObject> config_jsonDataList;
extern QList<QJsonObject> config_jsonDataList_R;

// Group the left-file and the right-file functions; never instantiated.
class Config_Deal
{
public:
    Config_Deal();
};
class config_deal_R
{
public:
    config_deal_R();
};

QString presetFilePath(); // Workspace_Config/EQ_config.QVconfig
QString presetFilePath_R(); // Workspace_Config/EQ_config_R.QVconfig

// Loading and the file format.
void EQ_config_value_Init();
void EQ_config_value_Init_R();
void EQ_config_Init();
void EQ_config_Init_R();
void EQ_config_Write(int index, QString name);
void EQ_config_Write_R(int index, QString name);
void EQ_config_Write_R2(int index, QString name);
QByteArray config_generateJsonArray();
QByteArray config_generateJsonArray_R();
QByteArray config_generateJsonArray_R2();
void EQ_config_Read(QByteArray data);
void EQ_config_Read_R(QByteArray data);
void EQ_config_Read_R2(QByteArray data);

// Operations after start-up; callers call the left one, then the right one.
// Add refuses a preset past the table's capacity and returns false when
// nothing was added; Save, Rename and Remove-and-renumber return false when
// the file could not be written.
bool EQ_config_file_Add(int index, QString name);
bool EQ_config_file_Add_R(int index, QString name);
bool EQ_config_Update(int index);
bool EQ_config_Update_R(int index);
// Both files take the edited sets of local preset `index` (the two saves above).
void savePresetFiles(int index);
bool EQ_config_Rename(int index, const QString& name);
bool EQ_config_Rename_R(int index, const QString& name);
void EQ_config_removeDataByIndex(int index);
void EQ_config_removeDataByIndex_R(int index);
void EQ_config_removeDataByIndex_R2(int index);
bool EQ_config_removeAndReorder(int index);
bool EQ_config_removeAndReorder_R(int index);
