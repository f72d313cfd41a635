#include "store/settings.h"

#include <QDebug>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>

#include "store/file_io.h"
#include "store/paths.h"

SysSetInfo sysSetValue;
const QString QuorvelVesk_running_version = QStringLiteral("V1.16");

Global_System::Global_System() = default;

namespace {

// One row per field, so writing and reading walk the same list of keys.
struct IntKey
{
    const char* key;
    int32_t SysSetInfo::*field;
};
struct BoolKey
{
    const char* key;
    bool SysSetInfo::*field;
};
struct StringKey
{
    const char* key;
    QString SysSetInfo::*field;
};

constexpr IntKey kIntKeys[] = {
    { "Language", &SysSetInfo::Language },
    { "Pre_select_tar_index", &SysSetInfo::Pre_select_tar_index },
    { "Pre_select_fre_index", &SysSetInfo::Pre_select_fre_index },
};
constexpr BoolKey kBoolKeys[] = {
    { "Auto_run", &SysSetInfo::Auto_run },
    { "Auto_save", &SysSetInfo::Auto_save },
    { "CloseBehavior", &SysSetInfo::CloseBehavior },
    { "Filtered_FR_alignment", &SysSetInfo::Filtered_FR_alignment },
    { "High_sampling_rate_mute", &SysSetInfo::High_sampling_rate_mute },
    { "Target_Mark", &SysSetInfo::Target_Mark },
    { "Source_Mark", &SysSetInfo::Source_Mark },
    { "Each_Mark", &SysSetInfo::Each_Mark },
    { "Combined_Mark", &SysSetInfo::Combined_Mark },
    { "Filtered_Mark", &SysSetInfo::Filtered_Mark },
    { "Raw_Mark", &SysSetInfo::Raw_Mark },
    { "FollowPre", &SysSetInfo::FollowPre },
};
constexpr StringKey kStringKeys[] = {
    { "EQ_save_file_path", &SysSetInfo::EQ_save_file_path },
    { "QuorvelVesk_version", &SysSetInfo::QuorvelVesk_version },
};

SysSetInfo defaultSettings()
{
    SysSetInfo s;
    s.Language = 1;
    s.EQ_save_file_path = QuorvelProInstallLocation();
    s.Auto_run = true;
    s.Auto_save = true;
    s.Combined_Mark = true;
    s.Pre_select_tar_index = -1;
    s.Pre_select_fre_index = -1;
    s.QuorvelVesk_version = QStringLiteral("V1.06");
    return s;
}

} // namespace

QString settingsFilePath() { return appFilePath(QStringLiteral("EQ_systemsetting_file.QVconfig")); }

QString QuorvelProInstallLocation()
{
    const QString path = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    qDebug() << "DesktopLocation=" << path;
    return path;
}

QByteArray Config_write()
{
    QJsonObject obj;
    for (const auto& k : kIntKeys)
        obj.insert(QLatin1String(k.key), sysSetValue.*k.field);
    for (const auto& k : kBoolKeys)
        obj.insert(QLatin1String(k.key), sysSetValue.*k.field);
    for (const auto& k : kStringKeys)
        obj.insert(QLatin1String(k.key), sysSetValue.*k.field);
    return QJsonDocument(obj).toJson(QJsonDocument::Indented);
}

void Config_Read(QByteArray data)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(data, &error);
    if (error.error != QJsonParseError::NoError) {
        qDebug() << "配置错误";
        return;
    }
    // A missing key or one of another type reads as 0, false or empty.
    const QJsonObject obj = doc.object();
    for (const auto& k : kIntKeys)
        sysSetValue.*k.field = obj.value(QLatin1String(k.key)).toInt(0);
    for (const auto& k : kBoolKeys)
        sysSetValue.*k.field = obj.value(QLatin1String(k.key)).toBool(false);
    for (const auto& k : kStringKeys)
        sysSetValue.*k.field = obj.value(QLatin1String(k.key)).toString();
}

void config_Init()
{
    const QString path = settingsFilePath();
    store::removeLeftoverTemporaries(path);
    if (QFile::exists(path)) {
        qDebug() << "已经创建 配置文件 ";
        QByteArray data;
        if (!store::readFile(path, &data, store::kOpenAttempts)) {
            qDebug() << "cannot open the settings file, using the defaults" << path;
            sysSetValue = defaultSettings();
            store::keepBadCopyBeforeNextWrite(path);
            return;
        }
        QJsonParseError error;
        const QJsonDocument doc = QJsonDocument::fromJson(data, &error);
        if (error.error != QJsonParseError::NoError || !doc.isObject())
            store::keepBadCopyBeforeNextWrite(path);
        Config_Read(data);
        return;
    }
    qDebug() << "新创建  配置文件";
    sysSetValue = defaultSettings();
    if (!store::writeFile(path, Config_write(), store::kOpenAttempts))
        qDebug() << "cannot create the settings file" << path;
}

void Config_update()
{
    if (!store::writeFile(settingsFilePath(), Config_write()))
        qDebug() << "无法打开配置文件进行更新";
}

void Config_stamp_running_version()
{
    sysSetValue.QuorvelVesk_version = QuorvelVesk_running_version;
    Config_update();
}
