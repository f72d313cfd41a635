#include "app/window_texts.h"

#include "device/device_state.h"
#include "device/device_tables.h"

namespace {

const MainWindowTexts kEnglish {
    .importActions
    = { QStringLiteral("Target"), QStringLiteral("SourceFR"), QStringLiteral("Import Filters") },
    .exportActions = { QStringLiteral("Export filter FR"), QStringLiteral("Export filters") },
    .helpActions = { QStringLiteral("Reference Guide"), QStringLiteral("Problem feedback") },
    .importTip = QStringLiteral("Import"),
    .importText = QStringLiteral("Import"),
    .exportTip = QStringLiteral("Export"),
    .exportText = QStringLiteral("Export"),
    .helpTip = QStringLiteral("Help"),
    .helpText = QStringLiteral("Help"),
    .targetCaption = QStringLiteral("Target:"),
    .sourceCaption = QStringLiteral("SourceFR:"),
    .targetSwitch = QStringLiteral("Target"),
    .sourceSwitch = QStringLiteral("Source FR"),
    .eachSwitch = QStringLiteral("Each Filter"),
    .combinedSwitch = QStringLiteral("Combined Filter"),
    .filteredSwitch = QStringLiteral("Filtered FR"),
    .rawSwitch = QStringLiteral("Raw"),
    .compensatedSwitch = QStringLiteral("Compensated"),
    .preampLabel = QStringLiteral("Preamplification"),
    .preampGainLabel = QStringLiteral("Gain:"),
    .sourcePlaceholder = QStringLiteral("Source FR"),
    .targetPlaceholder = QStringLiteral("Target"),
    .trayShow = QStringLiteral("Show"),
    .trayExit = QStringLiteral("Exit"),
    .bandTypes = { QStringLiteral("Peaking filter"), QStringLiteral("Low-pass filter"),
        QStringLiteral("High-pass filter"), QStringLiteral("Low-shelf filter"),
        QStringLiteral("High-shelf filter") },
    .frequencyCaptions = { QStringLiteral("Center frequency"), QStringLiteral("Corner frequency") },
    .rowGainLabel = QStringLiteral("Gain:"),
    .rowQLabel = QStringLiteral("Q factor:"),
};

const MainWindowTexts kChinese {
    .importActions = { QStringLiteral("导入目标曲线"), QStringLiteral("导入源频响曲线"),
        QStringLiteral("导入滤波参数") },
    .exportActions = { QStringLiteral("导出频响曲线"), QStringLiteral("导出滤波参数") },
    .helpActions = { QStringLiteral("使用指南"), QStringLiteral("问题反馈") },
    .importTip = QStringLiteral("导入"),
    .importText = QStringLiteral("    导入    "),
    .exportTip = QStringLiteral("导出"),
    .exportText = QStringLiteral("    导出    "),
    .helpTip = QStringLiteral("帮助"),
    .helpText = QStringLiteral("    帮助    "),
    .targetCaption = QStringLiteral("     目标:"),
    .sourceCaption = QStringLiteral("      源频响:"),
    .targetSwitch = QStringLiteral("目标"),
    .sourceSwitch = QStringLiteral("源频响"),
    .eachSwitch = QStringLiteral("每个滤波"),
    .combinedSwitch = QStringLiteral("合并滤波"),
    .filteredSwitch = QStringLiteral("滤波后频响"),
    .rawSwitch = QStringLiteral("原始"),
    .compensatedSwitch = QStringLiteral("补偿"),
    .preampLabel = QStringLiteral("前级"),
    .preampGainLabel = QStringLiteral("增益:"),
    .sourcePlaceholder = QStringLiteral("源频响"),
    .targetPlaceholder = QStringLiteral("目标"),
    .trayShow = QStringLiteral("显示"),
    .trayExit = QStringLiteral("退出"),
    .bandTypes = { QStringLiteral("峰值滤波"), QStringLiteral("低通滤波"),
        QStringLiteral("高通滤波"), QStringLiteral("低滤搁架"), QStringLiteral("高滤搁架") },
    .frequencyCaptions = { QStringLiteral("中心频率"), QStringLiteral("拐点频率") },
    .rowGainLabel = QStringLiteral("增益:"),
    .rowQLabel = QStringLiteral("Q值:"),
};

const StatusTexts kEnglishStatus {
    .device = QStringLiteral("Device"),
    .sample = QStringLiteral("Sample"),
    .audioCode = QStringLiteral("Audio Code"),
    .disconnected = QStringLiteral("Disconnected"),
    .connected = QStringLiteral("Connected"),
    .settingsTitle = QStringLiteral("SystemSetting"),
    .saveTip = QStringLiteral("Save curren config(Ctrl+S)"),
    .eqMaxPrefix = QStringLiteral("   EQ Max NUM:"),
    .deviceEqOn = QStringLiteral("   DeviceEQ:ON   "),
    .deviceEqOff = QStringLiteral("   DeviceEQ:OFF   "),
    .deviceEqOff128 = QStringLiteral("    DeviceEQ:OFF   "),
    .localConfigInactive
    = QStringLiteral("Local config is inactive. Right-click to import to User Config"),
    .rateUnsupported = QStringLiteral("   PEQ does not support the current sampling rate   "),
};

const StatusTexts kChineseStatus {
    .device = QStringLiteral("机型"),
    .sample = QStringLiteral("采样率"),
    .audioCode = QStringLiteral("音频编码"),
    .disconnected = QStringLiteral("未连接"),
    .connected = QStringLiteral("已连接"),
    .settingsTitle = QStringLiteral("系统设置"),
    .saveTip = QStringLiteral("保存当前配置(Ctrl+S)"),
    .eqMaxPrefix = QStringLiteral("   EQ最大支持段数:"),
    .deviceEqOn = QStringLiteral("   设备EQ:开   "),
    .deviceEqOff = QStringLiteral("   设备EQ:关   "),
    .deviceEqOff128 = QStringLiteral("   设备EQ:关   "),
    .localConfigInactive = QStringLiteral("   本地配置不生效，如需应用可右键导入至用户配置   "),
    .rateUnsupported = QStringLiteral("当前采样率不支持PEQ"),
};

} // namespace

const MainWindowTexts& mainWindowTexts(int language) { return language == 1 ? kEnglish : kChinese; }

const StatusTexts* statusTexts(int language)
{
    if (language == 1)
        return &kEnglishStatus;
    if (language == 0)
        return &kChineseStatus;
    return nullptr;
}

const StatusTexts& statusTextsOrEnglish(int language)
{
    return language == 0 ? kChineseStatus : kEnglishStatus;
}

const StatusTexts& statusTextsOrChinese(int language)
{
    return language == 1 ? kEnglishStatus : kChineseStatus;
}

QString framed(const QString& text) { return QStringLiteral("   ") + text + QStringLiteral("   "); }

QString localConfigHint(int language) { return statusTextsOrEnglish(language).localConfigInactive; }

QString eqMaxText(const StatusTexts& t, int eqMax)
{
    return t.eqMaxPrefix + QString::number(eqMax) + QStringLiteral("   ");
}

QString deviceEqText(const StatusTexts& t, int deviceEqStatus)
{
    // Read as the EQ state frame reads it: 192 is the left/right OFF code as
    // 128 is; only the full code 0 is the one-set OFF.
    const EqStateView view = eqStateView(deviceEqStatus);
    if (view.kind == EqStateKind::LeftRightOff)
        return t.deviceEqOff128;
    return view.on ? t.deviceEqOn : t.deviceEqOff;
}

QString deviceEqSwitchText(const StatusTexts& t, bool on)
{
    return on ? t.deviceEqOn : t.deviceEqOff;
}

bool isConnectedText(const QString& connectState)
{
    return connectState == kEnglishStatus.connected || connectState == kChineseStatus.connected;
}

bool isSamplePlaceholder(const QString& sampleRate)
{
    return sampleRate == kEnglishStatus.sample || sampleRate == kChineseStatus.sample;
}

void setDisconnectedTexts(StatusBarInfo& record, const StatusTexts& t)
{
    record.device_model = t.device;
    record.sample_rate = t.sample;
    record.audio_code = t.audioCode;
    record.connect_state = t.disconnected;
}

void applyLanguageToStatus(StatusBarInfo& record, int language)
{
    const StatusTexts* t = statusTexts(language);
    if (!t)
        return;
    if (!isConnectedText(record.connect_state)) {
        setDisconnectedTexts(record, *t);
        return;
    }
    // Connected: only a placeholder is a text of ours; anything else is what
    // the device reported.
    if (isSamplePlaceholder(record.sample_rate))
        record.sample_rate = t->sample;
    if (record.audio_code == kEnglishStatus.audioCode
        || record.audio_code == kChineseStatus.audioCode)
        record.audio_code = t->audioCode;
    record.connect_state = t->connected;
}
