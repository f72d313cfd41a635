// The main window's side of the device link: the GUI-thread slots of the
// connect and receive threads, the dispatcher and the quit hook. The logic
// lives in DeviceSession; this file moves its requests into the widgets.

#include "app/mainwindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "app/mainwindow_ui.h"
#include "app/status_labels.h"
#include "app/window_texts.h"
#include "device/device_access.h"
#include "device/device_session.h"
#include "device/device_state.h"
#include "device/threads.h"
#include "editor/editor_state.h"
#include "settings/systemsetting.h"
#include "store/presets.h"
#include "store/settings.h"
#include "widgets/balance.h"
#include "widgets/customcontrols.h"
#include "widgets/message_box.h"
#include "widgets/modal_seam.h"
#include "workspace/workspace_state.h"

namespace {

constexpr int kStreamCheckMs = 3000;

QLabel* statusLabel(int n)
{
    QLabel* const labels[] = { nullptr, statusLabel1, statusLabel2, statusLabel3, statusLabel4,
        statusLabel5, statusLabel6, statusLabel7 };
    return n >= 1 && n <= 7 ? labels[n] : nullptr;
}

} // namespace

class MainWindowDeviceHost : public QObject, public DeviceStatusView, public DeviceHost
{
public:
    explicit MainWindowDeviceHost(MainWindow* w)
        : QObject(w)
        , w(w)
        , session(*this, *this, &w->local_config_inactive)
    {
    }

    MainWindow* w;
    DeviceSession session;

    // The session's own road has applied the connection rule.
    void sendFrame(const qv_hid_new::CustomHidFrameInfo& f) override
    {
        frameRoad().send({ f }, FrameRule::Always);
    }
    void startReceiving() override { startDeviceReceive(); }
    void startSearching() override { startDeviceSearch(); }

    // The status view: the status labels and the channel-mode controls.
    void setStatusText(int n, const QString& text) override
    {
        if (QLabel* l = statusLabel(n))
            l->setText(text);
    }
    void setStatusStyle(int n, const QString& sheet) override
    {
        // Every status label wears the status bar's sheet; the first is never restyled.
        if (QLabel* l = statusLabel(n))
            l->setStyleSheet(sheet.isEmpty() && statusLabel1 ? statusLabel1->styleSheet() : sheet);
    }
    void setStatusVisible(int n, bool visible) override
    {
        if (QLabel* l = statusLabel(n))
            l->setVisible(visible);
    }

    QString peqModeText() const override { return w->comboBox_PEQMode->currentText(); }
    void setPeqModeIndex(int index) override { w->comboBox_PEQMode->setCurrentIndex(index); }
    void setPeqModeVisible(bool visible) override { w->comboBox_PEQMode->setVisible(visible); }
    void setPeqModeLabelVisible(bool visible) override
    {
        if (w->label_PEQMode)
            w->label_PEQMode->setVisible(visible);
    }
    void setChannelSwitchChecked(bool checked) override
    {
        w->checkBox_channel->setChecked(checked);
    }
    void setChannelSwitchVisible(bool visible) override
    {
        w->checkBox_channel->setVisible(visible);
    }

    // The editor, its state and the settings.
    void setBandControlsLocked(bool locked) override
    {
        if (locked)
            w->lockBandControls();
        else
            w->releaseBandControls();
    }
    bool isBandRowShown(int band) const override { return w->Is_Show_EQ_ui(band); }
    void updateUi() override { w->update_ui(); }
    void configUpdateUi() override { w->config_update_ui(); }
    void configUpdateUi2() override { w->config_update_ui2(); }
    void updateEqNum() override { w->update_EQ_NUM(); }
    void startStreamTimer() override { w->stream_check_timer->start(kStreamCheckMs); }
    void refreshSettingsWindow() override
    {
        if (systemset)
            systemset->Updata_ALL();
    }
    int selectedPresetIndex() const override { return selectedRadioIndex; }
    bool autoSave() const override { return auto_save_status; }
    QString biaozhiName() const override { return biaozhi_name; }
    QString morendeviceName() const override { return morendevice_name; }
    void setOldName(const QString& name) override { old_name = name; }
    void rememberChannelModeSlot() override { tem_flag = ui_flag; }
    void saveLocalPreset(int index) override { savePresetFiles(index); }
    void writeSettings() override { Config_update(); }

    void deviceConfigUpload() override { emit w->device_config_upload(); }
    void morenDeviceConfigUpload() override { emit w->moren_device_config_upload(); }
    void deviceSelectUpload(int slot) override { emit w->device_select_upload(slot); }
    void layoutTag(const QString& tag) override { emit w->shifouzhichi(tag); }
    void muteState(int state) override { emit w->mute_biaozhi(state); }
    void eqUsable(bool usable) override { emit w->Is_Language(usable); }
    void deviceConfigClear() override { emit w->device_config_clear(); }
    void saveDevicePreset(int index) override { emit w->close_device_save_config(index); }
};

DeviceSession& MainWindow::deviceSession()
{
    if (!m_deviceHost)
        m_deviceHost = new MainWindowDeviceHost(this);
    return m_deviceHost->session;
}

void MainWindow::deal_HidDeviceConnected() { deviceSession().connected(); }

void MainWindow::deal_HidDeviceDisconnected() { deviceSession().disconnected(); }

void MainWindow::deal_qv_hid_new_recv_update(qv_hid_new::CustomHidFrameInfo chfi)
{
    // Class 0x1 frames reach do_cmd_S through the session's router.
    deviceSession().route(chfi);
}

void MainWindow::do_cmd_S(qv_hid_new::CustomHidFrameInfo chfi) { deviceSession().dispatch(chfi); }

void MainWindow::onAboutToQuit()
{
    deviceSession().aboutToQuit();
    // The worker threads touch the device handle and post to this window:
    // end and join them before the window and the globals go away.
    stopDeviceThreads();
}

void MainWindow::deal_DeviceAbsent()
{
    resetSearchState(sysSetValue.Language);
    if (statusLabel5)
        statusLabel5->setText(framed(status_bar_value.connect_state));
}

void MainWindow::deal_DeviceDenied(const QString& node)
{
    // The search goes on trying; the user needs telling once, not at each plug-in.
    if (m_deniedBoxShown)
        return;
    m_deniedBoxShown = true;
    const DeniedDeviceTexts t = deniedDeviceTexts(sysSetValue.Language, node);
    QMessageBox box(this);
    modal::buildMessageBox(
        box, QMessageBox::Warning, t.title, t.text, { { QMessageBox::Ok, t.button } });
    modal::exec(box);
}
