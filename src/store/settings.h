#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

// The system settings, one record for the whole run, mirrored in
// EQ_systemsetting_file.QVconfig beside the executable. Each field's JSON key
// is its name.
struct SysSetInfo
{
    int32_t Language {}; // 1 English, 0 Chinese
    QString EQ_save_file_path;
    bool Auto_run {};
    bool Auto_save {};
    bool CloseBehavior {}; // false: closing only minimises
    bool Filtered_FR_alignment {};
    bool High_sampling_rate_mute {};
    bool Target_Mark {};
    bool Source_Mark {};
    bool Each_Mark {};
    bool Combined_Mark {};
    bool Filtered_Mark {};
    bool Raw_Mark {};
    int32_t Pre_select_tar_index {}; // curve-list index, -1 none
    int32_t Pre_select_fre_index {};
    QString QuorvelVesk_version;
    bool FollowPre {};
};

// All zero, false and empty until config_Init runs.
extern SysSetInfo sysSetValue;

// The version this build writes into the settings file at every start.
extern const QString QuorvelVesk_running_version; // "V1.16"

// Groups the settings functions; never instantiated.
class Global_System
{
public:
    Global_System();
};

QString QuorvelProInstallLocation();
void config_Init();
QByteArray Config_write();
void Config_Read(QByteArray data);
void Config_update();

// Start-up step of the main window, right after config_Init: stamp the
// running version into the record and rewrite the file.
void Config_stamp_running_version();

// Path of the settings file.
QString settingsFilePath();
