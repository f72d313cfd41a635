#include "device/device_session.h"

#include "app/palette.h"
#include "app/window_texts.h"
#include "device/commands.h"
#include "device/device_state.h"
#include "device/device_tables.h"
#include "device/preset_records.h"
#include "dsp/band.h"
#include "editor/band_edit.h"
#include "store/settings.h"
#include "workspace/workspace_state.h"

#include <QDebug>

#include <algorithm>

int32_t lianjiebz1 = 0;

namespace {
constexpr int kOneSetLastWord = 200;
constexpr int kOneSetCountWord = 195;
constexpr int kFactoryLastWord = 198;
constexpr int kStreamRecords = 5; // one-set and factory streams
constexpr int kFactoryFirstSlot = 5;
constexpr int kLeftRightLastWord = 77;

enum Label {
    AudioLabel = 1,
    RateLabel,
    CountLabel,
    ModelLabel,
    ConnectLabel,
    LimitLabel,
    EqStateLabel,
};

int language() { return sysSetValue.Language; }

// Which word table a preset word belongs to. A code of 192 or 193 always
// came with Gain_flag, which a Mirel 1 also sets whatever its code.
bool leftRightWords(const EqStateView& view) { return view.leftRightSets() || Gain_flag; }

// Preset counts from the device name table slots; anything else is clamped.
int32_t clampedPresetCount(int32_t count)
{
    if (count < 0 || count > kDevicePresetSlots)
        qDebug() << "device preset count out of range, clamped:" << count;
    return std::clamp(count, 0, kDevicePresetSlots);
}

bool storeWord(int32_t* table, int size, const qv_hid_new::CustomHidFrameInfo& f)
{
    if (f.current >= size) {
        qDebug() << "device word index beyond its table, ignored:" << f.current;
        return false;
    }
    table[f.current] = f.data;
    return true;
}

} // namespace

bool isFactoryPresetName(const QString& name)
{
    static const QStringList names { QStringLiteral("Dynamic"), QStringLiteral("Warm"),
        QStringLiteral("Airy"), QStringLiteral("Bass 2"), QStringLiteral("Bass 1") };
    return names.contains(name);
}

bool factoryPresetLocked(
    bool executeFlag, const QString& selectionMark, const QString& devicePresetName)
{
    return !executeFlag && selectionMark == QLatin1String("yyyy")
        && isFactoryPresetName(devicePresetName);
}

void DeviceSession::send(uint32_t cmd, int32_t data, FrameRule rule)
{
    m_road.send(cmd, data, rule);
}

bool DeviceSession::isVantor3() const { return status_bar_value.device_model == kVantor3; }

// "Shown" and "hidden" states of the channel-mode controls after a
// connection or an EQ state code.
void DeviceSession::showChannelControls(bool show)
{
    if (!show) {
        m_view.setChannelSwitchChecked(false);
        m_view.setChannelSwitchVisible(false);
        m_view.setPeqModeIndex(0);
        m_view.setPeqModeVisible(false);
        m_view.setPeqModeLabelVisible(false);
        return;
    }
    m_view.setPeqModeVisible(true);
    if (m_view.peqModeText() == QLatin1String("L+R")) {
        m_view.setChannelSwitchChecked(false);
        m_view.setChannelSwitchVisible(false);
    } else {
        m_view.setChannelSwitchVisible(true);
    }
    m_host.configUpdateUi();
    m_view.setPeqModeLabelVisible(true);
}

void DeviceSession::connected()
{
    m_view.setStatusVisible(EqStateLabel, true);
    const int lang = language();
    if (lang == 1 || lang == 0) {
        const int32_t previous = lianjiebz1++;
        const int32_t code = status_bar_value.device_eq_status;
        // The code of the previous connection, read as its EQ state frame was.
        const EqStateView view = eqStateView(code);
        if (previous == 0) {
            qDebug() << (lang == 1 ? "第一次连接" : "11第一次连接");
            qDebug() << "status_bar_value.device_eq_status" << code;
            m_host.rememberChannelModeSlot();
            if (view.oneSetRecords()) {
                m_view.setChannelSwitchChecked(false);
                m_view.setChannelSwitchVisible(false);
            }
        } else {
            if (view.kind == EqStateKind::LeftRightOn)
                qDebug() << "status_bar_value.device_eq_status == 129";
            m_view.setStatusText(
                EqStateLabel, deviceEqSwitchText(statusTextsOrEnglish(lang), view.on));
            showChannelControls(view.leftRightSets());
        }
    }
    m_view.setStatusText(ConnectLabel, framed(status_bar_value.connect_state));
    m_host.startReceiving();
    m_host.updateUi();
    send(command::kHello, 1, FrameRule::Always);
    qDebug() << (sysSetValue.High_sampling_rate_mute ? "mute_mute" : "no_mute_no_mute");
    send(command::kHelloFollowUp, 1, FrameRule::Always);
    if (isBlockedStream(status_bar_value.audio_code, status_bar_value.sample_rate))
        m_host.startStreamTimer();
}

void DeviceSession::disconnected()
{
    m_view.setStatusStyle(LimitLabel, QStringLiteral("color: " QV_TEXT ";"));
    upload_sign = 0;
    hid_status = 0;
    config_connect_status = 0;
    // Only an attached model can leave the local presets unapplied.
    local_config_inactive() = false;
    StatusBarInfo& s = status_bar_value;
    s.eq_max = 10;
    s.hardware_version = QStringLiteral("x.xx");
    s.software_version = QStringLiteral("x.xx");
    const int lang = language();
    if (const StatusTexts* t = statusTexts(lang)) {
        setDisconnectedTexts(s, *t);
        m_view.setStatusText(LimitLabel, eqMaxText(*t, s.eq_max));
    }
    m_view.setStatusText(AudioLabel, framed(s.audio_code));
    m_view.setStatusText(RateLabel, framed(s.sample_rate));
    m_view.setStatusText(CountLabel, eqCountText(s.eq_count));
    m_view.setStatusText(ModelLabel, framed(s.device_model));
    m_view.setStatusText(ConnectLabel, framed(s.connect_state));
    m_view.setStatusVisible(EqStateLabel, false);
    m_host.startSearching();
    m_host.refreshSettingsWindow();
    if (m_host.selectedPresetIndex() >= 100) {
        if (EQ[0]) {
            EQ[0]->status = 0;
            EQ[0]->gain = 0.0;
        }
        for (int n = 1; n < 12; ++n) {
            if (EQ[n])
                clearBand(*EQ[n]);
        }
        m_host.configUpdateUi();
    }
    // A stream lock belongs to the lost device.
    releaseBandControls();
    ui_biao_count = 0;
    m_host.deviceConfigClear();
}

void DeviceSession::route(const qv_hid_new::CustomHidFrameInfo& frame)
{
    if (((frame.cmd >> 12) & 0xF) == 0x1)
        dispatch(frame);
    else if (frame.cmd == command::kKeepAlive)
        send(command::kKeepAlive, frame.data, FrameRule::Always);
}

void DeviceSession::aboutToQuit()
{
    if (m_host.autoSave())
        saveEditedPreset(
            m_host.selectedPresetIndex(), [this](int index) { m_host.saveDevicePreset(index); },
            [this](int index) { m_host.saveLocalPreset(index); });
    send(command::kQuit, 1, FrameRule::WhileConnected);
    m_host.writeSettings();
}

void DeviceSession::dispatch(const qv_hid_new::CustomHidFrameInfo& f)
{
    qDebug("do_cmd_Sdo_cmd_S:0x%X data:%d total:%d current:%d protocl:0x%X", f.cmd, f.data, f.total,
        f.current, f.protocol);
    using namespace command;
    switch (groupAndItem(f.cmd)) {
    case groupAndItem(kHello):
        hello(f.data);
        break;
    case groupAndItem(kEcho):
        send(kEcho, f.data, FrameRule::Always);
        break;
    case groupAndItem(kPresetWord):
        singleWord(f);
        break;
    case groupAndItem(kPresetStream):
        presetStream(f);
        break;
    case groupAndItem(kSampleRate):
        sampleRate(f.data);
        break;
    case groupAndItem(Sa_switch_MCU_config):
        qDebug() << "qv_hid_new::Sa_switch_MCU_config:qv_hid_new::Sa_switch_MCU_config" << f.data;
        break;
    case groupAndItem(Sa_eq_ui):
        channelModeMask(f.data);
        break;
    case groupAndItem(sa_default_peqconfig_upload):
        factoryStream(f);
        break;
    case groupAndItem(Sa_standby):
        qDebug() << "Sa_standby:Sa_standby:" << f.data;
        standby_state = f.data;
        break;
    case groupAndItem(Sa_hight_sample_auto_mute):
        qDebug() << "Sa_hight_sample_auto_mute" << f.data;
        Silent_Sign = f.data;
        m_host.muteState(f.data == 1 ? 1 : f.data == 0 ? 0 : -1);
        break;
    case groupAndItem(kHardwareVersion):
    case groupAndItem(kFirmwareVersion):
        version(f.cmd, f.data);
        break;
    case groupAndItem(kIdentity):
        identity(static_cast<uint32_t>(f.data));
        break;
    case groupAndItem(Sa_MCU_EQ_Enable_State):
        eqState(f.data);
        break;
    case groupAndItem(kActiveSlot):
        activeSlot(f.data);
        break;
    default:
        break;
    }
    m_host.refreshSettingsWindow();
}

void DeviceSession::hello(int32_t data)
{
    if (data == 0) {
        send(command::kHello, 0, FrameRule::Always);
        return;
    }
    hid_status = 1;
    config_connect_status = 1;
    m_host.updateUi();
    if (isVantor3())
        m_host.configUpdateUi();
}

void DeviceSession::version(uint32_t cmd, int32_t data)
{
    const DeviceVersion v = decodeVersion(data);
    if (command::groupAndItem(cmd) == command::groupAndItem(command::kHardwareVersion)) {
        status_bar_value.hardware_version = v.text;
    } else {
        status_bar_value.software_version = v.text;
        if (v.value)
            tem_software = *v.value;
    }
}

void DeviceSession::identity(uint32_t code)
{
    qDebug("identity code:0x%X", code);
    Ostra2_Sign = false;
    Mirel1_Sign = false;
    const int lang = language();
    const StatusTexts& texts = statusTextsOrChinese(lang);
    status_bar_value.connect_state = texts.connected;
    m_view.setStatusText(ConnectLabel, framed(status_bar_value.connect_state));
    local_config_inactive() = false;

    const DeviceModel model = identifyModel(code);
    status_bar_value.device_model = model.name;
    if (!model.known) {
        status_bar_value.connect_state = texts.disconnected;
        m_view.setStatusText(ConnectLabel, framed(status_bar_value.connect_state));
    } else {
        execute_biaozhi = factoryPresetsEditable(model.factory, tem_software, execute_biaozhi);
        local_config_inactive() = model.localConfigInactive;
        const bool waitsForFirmware = model.factory == FactoryRule::From149 && tem_software == 0.0;
        if (send_biaozhi && !waitsForFirmware) {
            send_biaozhi = false;
            if (model.setsOstra2)
                Ostra2_Sign = true;
            if (model.setsMirel1) {
                Gain_flag = true;
                Mirel1_Sign = true;
            }
            switch (model.announcement) {
            case Announcement::None:
                break;
            case Announcement::UserOnly:
                m_host.deviceConfigUpload();
                break;
            case Announcement::UserThenFactoryUnlessEditable:
                m_host.deviceConfigUpload();
                if (!execute_biaozhi)
                    m_host.morenDeviceConfigUpload();
                break;
            case Announcement::UserThenFactory:
                m_host.deviceConfigUpload();
                m_host.morenDeviceConfigUpload();
                break;
            }
        }
    }
    m_view.setStatusText(ModelLabel, framed(status_bar_value.device_model));
    if (local_config_inactive()) {
        m_view.setStatusStyle(LimitLabel, kLocalConfigInactiveStyle);
        m_view.setStatusText(LimitLabel, localConfigHint(lang));
    }
}

void DeviceSession::eqState(int32_t code)
{
    status_bar_value.device_eq_status = code;
    const EqStateView view = eqStateView(code);
    if (!view.gainTenths) {
        Gain_flag = false;
    } else {
        Gain_flag = true;
        if (Device_EQ_sign) {
            refreshFromStaging(device_config_num);
            m_host.configUpdateUi();
            Device_EQ_sign = false;
        }
    }
    m_view.setStatusText(
        EqStateLabel, deviceEqSwitchText(statusTextsOrEnglish(language()), view.on));
    switch (view.kind) {
    case EqStateKind::LeftRightOn:
        m_view.setPeqModeVisible(true);
        m_view.setPeqModeLabelVisible(true);
        if (m_view.peqModeText() != QLatin1String("L+R")) {
            m_view.setChannelSwitchVisible(true);
        } else {
            m_view.setChannelSwitchChecked(false);
            m_view.setChannelSwitchVisible(false);
        }
        if (isVantor3())
            m_host.configUpdateUi();
        else
            m_host.configUpdateUi2();
        break;
    case EqStateKind::LeftRightOff:
        m_view.setPeqModeVisible(true);
        m_view.setPeqModeLabelVisible(true);
        if (m_view.peqModeText() != QLatin1String("L+R")) {
            m_view.setChannelSwitchVisible(true);
            m_host.configUpdateUi2();
        } else {
            m_view.setChannelSwitchChecked(false);
            m_host.configUpdateUi2();
            m_view.setChannelSwitchVisible(false);
        }
        break;
    case EqStateKind::OneSet:
        m_view.setPeqModeVisible(false);
        m_view.setChannelSwitchVisible(false);
        m_view.setPeqModeLabelVisible(false);
        break;
    }
    m_host.layoutTag(view.layout);
}

void DeviceSession::activeSlot(int32_t slot)
{
    if (slot != -1 && !isDeviceSlot(slot)) {
        qDebug() << "active slot outside the device slots, ignored:" << slot;
        return;
    }
    MCU_Switch_Config_Index = slot == -1 ? 0 : slot;
    m_host.deviceSelectUpload(slot);
    qDebug() << "MCU_Switch_Config_Index:" << MCU_Switch_Config_Index;
}

void DeviceSession::sampleRate(int32_t hz)
{
    if (standby_state == 1) {
        qDebug() << "sampling:tem_biaozhitem_biaozhi" << hz;
        return;
    }
    StatusBarInfo& s = status_bar_value;
    const StreamFormat format = streamFormat(hz);
    const StatusTexts& texts = statusTextsOrEnglish(language());
    s.sample_rate = format.sampleRate;
    bool pcm = true;
    if (format.eqUsable) {
        s.eq_max = 10;
        m_view.setStatusStyle(LimitLabel, QString());
        m_view.setStatusText(LimitLabel, eqMaxText(texts, s.eq_max));
        if (releaseBandControls() && local_config_inactive()) {
            m_view.setStatusStyle(LimitLabel, kLocalConfigInactiveStyle);
            m_view.setStatusText(LimitLabel, texts.localConfigInactive);
        }
    } else {
        s.eq_count = 0;
        s.eq_max = 0;
        m_view.setStatusText(CountLabel, eqCountText(0));
        if (!local_config_inactive()) {
            m_view.setStatusStyle(LimitLabel, kLocalConfigInactiveStyle);
            m_view.setStatusText(LimitLabel, texts.rateUnsupported);
        }
        m_host.setBandControlsLocked(true);
        m_host.startStreamTimer();
        m_host.updateUi();
        m_host.eqUsable(false);
        if (format.dsd) {
            pcm = false;
            s.eq_max = 0;
            s.eq_count = 0;
            s.audio_code = QStringLiteral("DSD");
            m_view.setStatusText(CountLabel, eqCountText(0));
            m_host.eqUsable(false);
        }
    }
    if (pcm) {
        s.audio_code = QStringLiteral("PCM");
        int count = 0;
        for (int n = 1; n <= 11; ++n)
            count += (EQ[n] && EQ[n]->status == 1 && m_host.isBandRowShown(n)) ? 1 : 0;
        s.eq_count = count;
        m_view.setStatusText(CountLabel, eqCountText(count));
    }
    m_view.setStatusText(AudioLabel, framed(s.audio_code));
    m_view.setStatusText(RateLabel, framed(s.sample_rate));
    m_host.updateEqNum();
}

bool DeviceSession::releaseBandControls()
{
    if (factoryPresetLocked(execute_biaozhi, m_host.biaozhiName(), m_host.morendeviceName()))
        return false;
    m_host.setBandControlsLocked(false);
    m_host.updateUi();
    m_host.eqUsable(true);
    return true;
}

void DeviceSession::channelModeMask(int32_t mask)
{
    ui_biao_count += 1;
    send_ui_biao = tem_ui_biao = static_cast<uint32_t>(mask);
    qDebug() << "Sa_eq_ui" << send_ui_biao << "MCU_Switch_Config_Index" << MCU_Switch_Config_Index;
    if (ui_biao_count != 1)
        return;
    // -1 (no slot reported yet) reads bit 31.
    const uint32_t bit = static_cast<uint32_t>(MCU_Switch_Config_Index) & 31u;
    if ((send_ui_biao >> bit) & 1u) {
        if (Ostra2_Sign || Mirel1_Sign)
            m_host.setOldName(QStringLiteral("assas"));
        m_view.setPeqModeIndex(1);
        m_view.setChannelSwitchVisible(true);
    } else {
        m_host.setOldName(QStringLiteral("glsuji"));
        m_view.setPeqModeIndex(0);
        m_view.setChannelSwitchVisible(false);
    }
    Device_EQ_sign = true;
}

void DeviceSession::presetStream(const qv_hid_new::CustomHidFrameInfo& f)
{
    Device_EQ_sign = true;
    if (upload_sign == 1)
        return;
    const EqStateView view = eqStateView(status_bar_value.device_eq_status);
    if (view.oneSetRecords())
        oneSetStream(f);
    else if (leftRightWords(view))
        leftRightStream(f);
}

void DeviceSession::oneSetStream(const qv_hid_new::CustomHidFrameInfo& f)
{
    if (!storeWord(device_data_words, kDeviceWords, f) || f.current != kOneSetLastWord)
        return;
    for (int k = 0; k < kStreamRecords; ++k)
        storeOneSetRecord(
            deviceSlot(k), parseOneSetRecord(device_data_words + k * kOneSetRecordWords), false);
    device_config_num = clampedPresetCount(device_data_words[kOneSetCountWord]);
    upload_sign = 1;
    m_host.deviceConfigUpload();
}

void DeviceSession::leftRightStream(const qv_hid_new::CustomHidFrameInfo& f)
{
    if (f.total == 2 && f.current == 0) {
        m_leftRightCount = f.data;
        device_config_num = clampedPresetCount(f.data);
        biaozhi_i = 0;
        // Like every word before a record's end, the header's lands in the table
        // (the first record overwrites it).
    }
    if (f.total == kLeftRightMessageWords && f.current == 0)
        biaozhi_i += 1;
    if (f.current != kLeftRightLastWord) {
        storeWord(device_data_words_lr, kDeviceWordsLr, f);
        return;
    }
    if (biaozhi_i == 0) {
        qDebug() << "left/right record end before any record start, ignored";
        return;
    }
    const int slot = biaozhi_i - 1;
    if (isDeviceSlot(slot)) {
        const LeftRightRecord record = parseLeftRightRecord(device_data_words_lr);
        storeLeftRightRecord(deviceSlot(slot), deviceSlotR(slot), record, Gain_flag ? 10.0 : 2.0);
        stageLeftRightRecord(slot, record);
    } else {
        qDebug() << "left/right record beyond the device slots, not stored:" << biaozhi_i;
    }
    if (biaozhi_i == m_leftRightCount) {
        upload_sign = 1;
        biaozhi_i = 0;
        if (isVantor3())
            m_host.deviceConfigUpload();
        else
            send_biaozhi = true;
    }
}

void DeviceSession::factoryStream(const qv_hid_new::CustomHidFrameInfo& f)
{
    if (execute_biaozhi)
        return;
    if (!storeWord(device_data_words, kDeviceWords, f) || f.current != kFactoryLastWord)
        return;
    for (int k = 0; k < kStreamRecords; ++k) {
        const OneSetRecord record = parseOneSetRecord(device_data_words + k * kOneSetRecordWords);
        storeOneSetRecord(deviceSlot(kFactoryFirstSlot + k), record, true);
        storeOneSetRecord(deviceSlotR(kFactoryFirstSlot + k), record, true);
    }
    upload_sign = 1;
    if (isVantor3() && Vantor3_flag) {
        m_host.morenDeviceConfigUpload();
        Vantor3_flag = false;
    } else {
        send_biaozhi = true;
    }
}

void DeviceSession::singleWord(const qv_hid_new::CustomHidFrameInfo& f)
{
    if (f.current == f.total)
        return;
    const EqStateView view = eqStateView(status_bar_value.device_eq_status);
    if (leftRightWords(view))
        storeWord(device_data_words_lr, kDeviceWordsLr, f);
    else if (view.oneSetRecords())
        storeWord(device_data_words, kDeviceWords, f);
}
