#pragma once

// The GUI-thread side of the device link without widgets: the connect
// handshake, the disconnect reset, the frame router, the quit frame and the
// command dispatcher with its preset streams. It works on the device state
// globals; it shows what it learns through DeviceStatusView and reaches the
// editor, its state and the window's signals through DeviceHost. The main
// window implements both.

#include "device/frame_road.h"

#include <QString>

#include <cstdint>

// What the session shows: the status bar's labels and the channel-mode
// controls.
class DeviceStatusView
{
public:
    virtual ~DeviceStatusView() = default;

    // Status bar, label = 1..7 (statusLabel1 .. statusLabel7). An empty style
    // sheet gives the label the status bar's own style back.
    virtual void setStatusText(int label, const QString& text) = 0;
    virtual void setStatusStyle(int label, const QString& sheet) = 0;
    virtual void setStatusVisible(int label, bool visible) = 0;

    // Channel-mode controls: comboBox_PEQMode, label_PEQMode, checkBox_channel.
    virtual QString peqModeText() const = 0;
    virtual void setPeqModeIndex(int index) = 0;
    virtual void setPeqModeVisible(bool visible) = 0;
    virtual void setPeqModeLabelVisible(bool visible) = 0;
    virtual void setChannelSwitchChecked(bool checked) = 0;
    virtual void setChannelSwitchVisible(bool visible) = 0;
};

// What the session asks of the rest of the program: the link, the editor and
// its state, the settings and the main window's signals.
class DeviceHost
{
public:
    virtual ~DeviceHost() = default;

    // The link. The session's frames reach sendFrame through its road, so
    // only those the connection rule lets through.
    virtual void sendFrame(const qv_hid_new::CustomHidFrameInfo& frame) = 0;
    virtual void startReceiving() = 0; // recv_thread
    virtual void startSearching() = 0; // connect_thread

    // Band editor and editor state.
    // Locking also sets the twelve enable boxes from the edited set EQ.
    virtual void setBandControlsLocked(bool locked) = 0;
    virtual bool isBandRowShown(int band) const = 0;
    virtual void updateUi() = 0; // update_ui
    virtual void configUpdateUi() = 0; // config_update_ui
    virtual void configUpdateUi2() = 0; // config_update_ui2
    virtual void updateEqNum() = 0; // update_EQ_NUM
    virtual void startStreamTimer() = 0; // timer2, 3000 ms
    virtual void refreshSettingsWindow() = 0; // SystemSetting::Updata_ALL
    virtual int selectedPresetIndex() const = 0; // selectedRadioIndex
    virtual bool autoSave() const = 0; // auto_save_status
    virtual QString biaozhiName() const = 0;
    virtual QString morendeviceName() const = 0;
    virtual void setOldName(const QString& name) = 0;
    virtual void rememberChannelModeSlot() = 0; // tem_flag = ui_flag
    virtual void saveLocalPreset(int index) = 0; // both preset files
    virtual void writeSettings() = 0; // Config_update

    // The main window's signals.
    virtual void deviceConfigUpload() = 0;
    virtual void morenDeviceConfigUpload() = 0;
    virtual void deviceSelectUpload(int slot) = 0;
    virtual void layoutTag(const QString& tag) = 0; // shifouzhichi
    virtual void muteState(int state) = 0; // mute_biaozhi
    virtual void eqUsable(bool usable) = 0; // Is_Language
    virtual void deviceConfigClear() = 0;
    virtual void saveDevicePreset(int index) = 0; // close_device_save_config
};

// Handshakes counted while the language is English or Chinese.
extern int32_t lianjiebz1;

// True for the names of the five factory presets.
bool isFactoryPresetName(const QString& name);
// The factory-preset lock: the device's model keeps its factory presets
// read-only (execute flag clear), a device preset is selected ("yyyy") and
// it is one of the five.
bool factoryPresetLocked(
    bool executeFlag, const QString& selectionMark, const QString& devicePresetName);

class DeviceSession
{
public:
    // `localConfigInactive` is where the "model applies no local presets"
    // state lives (the main window's member); null keeps it in the session.
    DeviceSession(DeviceStatusView& view, DeviceHost& host, bool* localConfigInactive = nullptr)
        : m_view(view)
        , m_host(host)
        , m_road([this](const qv_hid_new::CustomHidFrameInfo& f) { m_host.sendFrame(f); })
        , m_inactive(localConfigInactive ? localConfigInactive : &m_ownInactive)
    {
    }

    void connected(); // deal_HidDeviceConnected
    void disconnected(); // deal_HidDeviceDisconnected
    void route(const qv_hid_new::CustomHidFrameInfo& frame); // deal_qv_hid_new_recv_update
    void aboutToQuit(); // onAboutToQuit
    void dispatch(const qv_hid_new::CustomHidFrameInfo& frame); // do_cmd_S

    bool& local_config_inactive() { return *m_inactive; }

private:
    void send(uint32_t cmd, int32_t data, FrameRule rule);
    void showChannelControls(bool show);
    void hello(int32_t data);
    void version(uint32_t cmd, int32_t data);
    void identity(uint32_t code);
    void eqState(int32_t code);
    void activeSlot(int32_t slot);
    void sampleRate(int32_t hz);
    // Band controls, update_ui and the settings window's language box back in
    // the user's hands, unless a read-only factory preset keeps them locked.
    // True when released.
    bool releaseBandControls();
    void channelModeMask(int32_t mask);
    void presetStream(const qv_hid_new::CustomHidFrameInfo& f);
    void oneSetStream(const qv_hid_new::CustomHidFrameInfo& f);
    void leftRightStream(const qv_hid_new::CustomHidFrameInfo& f);
    void factoryStream(const qv_hid_new::CustomHidFrameInfo& f);
    void singleWord(const qv_hid_new::CustomHidFrameInfo& f);
    bool isVantor3() const;

    DeviceStatusView& m_view;
    DeviceHost& m_host;
    const FrameRoad m_road;
    bool m_ownInactive = false;
    bool* m_inactive;
    int32_t m_leftRightCount = 0; // records the current left/right stream announced
};
