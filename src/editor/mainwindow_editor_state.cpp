// The editor state: refreshes that move a filter set into the controls, the
// slots fed by the preset workspace, the channel-mode switch, the window's
// event filter and the auto-save and stream-check timers.

#include "app/mainwindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QStyle>
#include <QTimer>
#include <QWheelEvent>
#include <QtCharts/QChartView>

#include "app/mainwindow_ui.h"
#include "device/device_state.h"
#include "device/hid_device.h"
#include "dsp/band.h"
#include "plot/response_chart.h"
#include "store/presets.h"
#include "widgets/balance.h"
#include "widgets/customcontrols.h"
#include "workspace/workspace_state.h"

namespace {

constexpr int kAutosaveIntervalMs = 20000;
constexpr uint32_t kMuteCommand = 0x1116;

const char* const kReleasedEnableBoxSheet =
    " QCheckBox::indicator {  width: 22px;   height: 22px;padding-top: 2px; padding-bottom: 2px;} "
    "QCheckBox::indicator:unchecked {    image: url(:ThirdPartyResources/images/1-unchecked.png);  }  "
    "QCheckBox::indicator:checked {    image: url(:ThirdPartyResources/images/1-checked.png);  }";

const char* const kLockedEnableBoxSheet =
    " QCheckBox::indicator {  width: 22px;   height: 22px;padding-top: 2px; padding-bottom: 2px;} "
    "QCheckBox::indicator:unchecked {    image: url(:ThirdPartyResources/images/2-unchecked.png);  }  "
    "QCheckBox::indicator:checked {    image: url(:ThirdPartyResources/images/2-checked.png);  }";

bool isUsablePcmRate(const QString& rate)
{
    static const QStringList rates{"44.1kHz", "48kHz", "88.2kHz", "96kHz", "176.4kHz", "192kHz"};
    return rates.contains(rate);
}

}  // namespace

// The editor-state work fills this in: the edited set into every band control.
void MainWindow::update_ui() {}

// The editor-state work fills this in: apply a loaded preset and upload it.
// The curve switches are applied already (at start-up too).
void MainWindow::config_update_ui() { CheckBox_Change_UI(); }

// The editor-state work fills this in: apply a loaded preset without upload.
void MainWindow::config_update_ui2() { CheckBox_Change_UI(); }

// The editor-state work fills this in: the refresh after "Clear all filters".
void MainWindow::qingkong_update_ui() {}

// The editor-state work fills this in: the deferred refresh and upload.
void MainWindow::update_ui_filter() {}

// The editor-state work fills this in.
void MainWindow::device_delete_config(int) {}

// The editor-state work fills this in: the channel-mode switch.
void MainWindow::onComboxSelect(int) {}

// The editor-state work fills in the preset-selection slots below.
void MainWindow::recive_ui_biaozhi(int, QString) {}
void MainWindow::recive_ui_biaozhi2(int) {}
void MainWindow::recive_ui_biaozhi3(int) {}
void MainWindow::recive_radio_name(int, QString) {}
void MainWindow::recive_radio_name2() {}
void MainWindow::recive_device_name(QString) {}
void MainWindow::recive_device_name_2(QString) {}
void MainWindow::recive_remove_index(int) {}
void MainWindow::recive_biaozhi_name(QString) {}

void MainWindow::resetTimer()
{
    autosave_done = 0;
    autosave_timer->stop();
    autosave_timer->start(kAutosaveIntervalMs);
}

void MainWindow::timeoutSlot()
{
    if (autosave_done != 0)
        return;
    const int index = selectedRadioIndex;
    if (index <= 99) {
        EQ_config_Update(index);
        EQ_config_Update_R(index);
    } else {
        emit close_device_save_config(index);
    }
    autosave_done = 1;
}

void MainWindow::timeoutSlot2()
{
    const QString& code = status_bar_value.audio_code;
    const QString& rate = status_bar_value.sample_rate;
    if (hid_status == 0 || (code == "PCM" && isUsablePcmRate(rate))) {
        emit Is_Language(true);
        stream_check_timer->stop();
    }
    const bool placeholder = rate == "Sample" || rate == "采样率";
    if (code == "DSD" || (!isUsablePcmRate(rate) && !placeholder)) {
        status_bar_value.eq_max = 0;
        lockBandControls();
    }
}

void MainWindow::lockBandControls()
{
    // The boxes show the stored state while they cannot be clicked.
    ui->checkBox->setChecked(EQ[0] && EQ[0]->status != 0);
    for (const BandRowDescriptor& row : bandRowDescriptors())
        row.enable.of(*ui)->setChecked(EQ[row.band] && EQ[row.band]->status != 0);
    setBandControlsUsable(false);
}

void MainWindow::releaseBandControls()
{
    setBandControlsUsable(true);
}

// One place for the lock and the release, so the two can never disagree on
// which controls they touch.
void MainWindow::setBandControlsUsable(bool usable)
{
    const char* const sheet = usable ? kReleasedEnableBoxSheet : kLockedEnableBoxSheet;
    ui->checkBox->setEnabled(usable);
    ui->checkBox->setStyleSheet(sheet);
    ui->gbox1_BL1->setEnabled(usable);
    ui->gbox1_lineEdit->setEnabled(usable);
    for (const BandRowDescriptor& row : bandRowDescriptors()) {
        row.enable.of(*ui)->setEnabled(usable);
        row.enable.of(*ui)->setStyleSheet(sheet);
        row.typeCombo.of(*ui)->setEnabled(usable);
        row.freqLabelCombo.of(*ui)->setEnabled(usable);
        row.freqDial.of(*ui)->setMouse_Disabled(usable);
        row.gainDial.of(*ui)->setMouse_Disabled(usable);
        row.qDial.of(*ui)->setMouse_Disabled(usable);
        row.freqText.of(*ui)->setEnabled(usable);
        row.gainText.of(*ui)->setEnabled(usable);
        row.qText.of(*ui)->setEnabled(usable);
        row.gainText.of(*ui)->setFocusPolicy(usable ? Qt::ClickFocus : Qt::NoFocus);
    }
}

void MainWindow::recive_Mute(bool on)
{
    if (hid_status != 1)
        return;
    qv_hid_new::CustomHidFrameInfo frame;
    frame.cmd = kMuteCommand;
    frame.data = on ? 1 : 0;
    qv_hid_new_send().qv_frame(frame);
}

// The editor-state work fills in the row context menu ("Clear seleted filter",
// "Clear all filters"); activity, the combo-box focus frame and the chart's
// wheel zoom are handled here.
bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    auto* combo = qobject_cast<QComboBox*>(watched);
    if (combo && watched != this) {
        const QEvent::Type type = event->type();
        if (type == QEvent::Enter || type == QEvent::Leave || type == QEvent::FocusOut) {
            combo->setProperty("hasFocus", type == QEvent::Enter);
            combo->style()->unpolish(combo);
            combo->style()->polish(combo);
        }
    }
    if (watched == chartView && event->type() == QEvent::Wheel && axisY) {
        ResponseChart::zoomLevelAxis(axisY, static_cast<QWheelEvent*>(event)->angleDelta().y());
        return true;
    }
    if (event->type() == QEvent::MouseMove || event->type() == QEvent::KeyPress)
        resetTimer();
    return QMainWindow::eventFilter(watched, event);
}
