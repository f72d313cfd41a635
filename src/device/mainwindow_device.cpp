// The main window's side of the device link: the GUI-thread slots of the
// connect and receive threads, and the quit hook.

#include "app/mainwindow.h"

#include <QLabel>

#include "app/status_labels.h"
#include "device/device_state.h"
#include "device/hid_device.h"
#include "device/threads.h"
#include "settings/systemsetting.h"
#include "store/presets.h"
#include "store/settings.h"
#include "workspace/workspace_state.h"

namespace {
constexpr uint32_t kQuitCommand = 0x1111;
}

// The dispatcher work fills in the connect handshake; the receive run starts here.
void MainWindow::deal_HidDeviceConnected()
{
    startDeviceReceive();
}

// The dispatcher work fills in the disconnect reset; the search restarts here.
void MainWindow::deal_HidDeviceDisconnected()
{
    startDeviceSearch();
}

// The dispatcher work fills this in: the frame router.
void MainWindow::deal_qv_hid_new_recv_update(qv_hid_new::CustomHidFrameInfo) {}

// The dispatcher work fills this in: the command dispatcher.
void MainWindow::do_cmd_S(qv_hid_new::CustomHidFrameInfo) {}

void MainWindow::onAboutToQuit()
{
    if (auto_save_status) {
        if (selectedRadioIndex <= 99) {
            EQ_config_Update(selectedRadioIndex);
            EQ_config_Update_R(selectedRadioIndex);
        } else {
            emit close_device_save_config(selectedRadioIndex);
        }
    }
    if (hid_status == 1) {
        qv_hid_new::CustomHidFrameInfo farewell;
        farewell.cmd = kQuitCommand;
        farewell.data = 1;
        qv_hid_new_send().qv_frame(farewell);
    }
    Config_update();
    // The worker threads touch the device handle and post to this window:
    // end and join them before the window and the globals go away.
    stopDeviceThreads();
}

void MainWindow::deal_DeviceAbsent()
{
    resetSearchState(sysSetValue.Language);
    if (statusLabel5)
        statusLabel5->setText("   " + status_bar_value.connect_state + "   ");
}
