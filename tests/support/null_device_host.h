#pragma once

// A device host and status view that do nothing and answer with neutral
// values, for code that drives the dispatcher without a window; override
// what is watched.

#include <QString>

#include "device/device_session.h"

class NullDeviceHost : public DeviceStatusView, public DeviceHost
{
public:
    void sendFrame(const qv_hid_new::CustomHidFrameInfo&) override { }
    void startReceiving() override { }
    void startSearching() override { }
    void setStatusText(int, const QString&) override { }
    void setStatusStyle(int, const QString&) override { }
    void setStatusVisible(int, bool) override { }
    QString peqModeText() const override { return QStringLiteral("L/R"); }
    void setPeqModeIndex(int) override { }
    void setPeqModeVisible(bool) override { }
    void setPeqModeLabelVisible(bool) override { }
    void setChannelSwitchChecked(bool) override { }
    void setChannelSwitchVisible(bool) override { }
    void setBandControlsLocked(bool) override { }
    bool isBandRowShown(int) const override { return true; }
    void updateUi() override { }
    void configUpdateUi() override { }
    void configUpdateUi2() override { }
    void updateEqNum() override { }
    void startStreamTimer() override { }
    void refreshSettingsWindow() override { }
    int selectedPresetIndex() const override { return 0; }
    bool autoSave() const override { return false; }
    QString biaozhiName() const override { return {}; }
    QString morendeviceName() const override { return {}; }
    void setOldName(const QString&) override { }
    void rememberChannelModeSlot() override { }
    void saveLocalPreset(int) override { }
    void writeSettings() override { }
    void deviceConfigUpload() override { }
    void morenDeviceConfigUpload() override { }
    void deviceSelectUpload(int) override { }
    void layoutTag(const QString&) override { }
    void muteState(int) override { }
    void eqUsable(bool) override { }
    void deviceConfigClear() override { }
    void saveDevicePreset(int) override { }
};
