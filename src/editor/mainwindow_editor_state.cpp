// The editor state: refreshes that move a filter set into the controls, the
// whole-set uploads, the channel-mode switch, the slots fed by the preset
// workspace, the window's event filter and the auto-save and stream-check
// timers.

#include "app/mainwindow.h"

#include <QAbstractItemView>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDebug>
#include <QEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <QWheelEvent>
#include <QtCharts/QChartView>

#include "app/mainwindow_style.h"
#include "app/mainwindow_ui.h"
#include "app/status_labels.h"
#include "device/commands.h"
#include "device/device_session.h"
#include "device/device_state.h"
#include "device/device_tables.h"
#include "device/frame_road.h"
#include "dsp/band.h"
#include "dsp/value_deal.h"
#include "editor/band_edit.h"
#include "editor/editor_rules.h"
#include "editor/editor_state.h"
#include "editor/set_upload.h"
#include "plot/response_chart.h"
#include "store/channel_modes.h"
#include "store/presets.h"
#include "store/settings.h"
#include "widgets/balance.h"
#include "widgets/customcontrols.h"
#include "widgets/message_box.h"
#include "widgets/modal_seam.h"
#include "widgets/shared_style.h"
#include "workspace/workspace_state.h"

namespace {

constexpr int kAutosaveIntervalMs = 20000;
constexpr int kMaxShownRows = 10;
// Answers of the discard box that are no answer: the road was taken already.
constexpr int kAnswerTakenOk = 456;
constexpr int kAnswerTakenCancel = 123;
// Set by the Cancel road so that its own "L/R" pass counts as a preset switch.
const char* const kNoPresetKey = "0123tbgdf";

const char* const kRowMenuSheet
    = QV_MENU_SHEET("width: 120px;high: 50px;padding: 4px 20px 4px 20px;");

using TypeSlot = void (MainWindow::*)(int);
constexpr TypeSlot kTypeSlots[] = {
    &MainWindow::set_cb1_type,
    &MainWindow::set_cb2_type,
    &MainWindow::set_cb3_type,
    &MainWindow::set_cb4_type,
    &MainWindow::set_cb5_type,
    &MainWindow::set_cb6_type,
    &MainWindow::set_cb7_type,
    &MainWindow::set_cb8_type,
    &MainWindow::set_cb9_type,
    &MainWindow::set_cb10_type,
};

const BandRowDescriptor& bandRow(int band)
{
    return bandRowDescriptors()[static_cast<std::size_t>(band - 1)];
}

// Every road into a record already holds its values to their fields'
// ranges; whatever still got past is held here, in the record itself, so the
// controls, the chart, the device and the next save all see the held value.
void holdSetFields(EQ_data* const* set)
{
    for (int k = 0; k < 12; ++k) {
        EQ_data* r = set[k];
        if (!r)
            continue;
        const EQ_data before = *r;
        if (k == 0)
            holdPreampFields(*r);
        else
            holdBandFields(*r);
        if (before.status != r->status || before.type != r->type
            || before.center_frequency != r->center_frequency || !(before.gain == r->gain)
            || !(before.Q == r->Q))
            qDebug() << "record" << k << "held to the ranges of its fields";
    }
}

bool factoryPresetSelected()
{
    return factoryPresetLocked(execute_biaozhi, biaozhi_name, morendevice_name);
}

bool isArrowKey(const QEvent* event)
{
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key == Qt::Key_Left || key == Qt::Key_Up || key == Qt::Key_Right || key == Qt::Key_Down;
}

} // namespace

// ---- Fills and uploads ----

void MainWindow::fillBandControls(bool withPlotAndCount)
{
    EQ_data* const* set = editedSet();
    holdSetFields(set);
    if (config_connect_status == 1)
        hid_status = 0;

    if (withPlotAndCount) {
        if (Filtered_show)
            update_value_super();
        if (Each_show)
            redrawBandCurves(set);
        int count = 0;
        for (int b = 1; b <= 11; ++b)
            count += (set[b]->status == 1 && Is_Show_EQ_ui(b)) ? 1 : 0;
        status_bar_value.eq_count = count;
        if (statusLabel3)
            statusLabel3->setText(eqCountText(count));
    }

    ui->checkBox->setChecked(set[0]->status != 0);
    for (const BandRowDescriptor& row : bandRowDescriptors())
        row.enable.of(*ui)->setChecked(set[row.band]->status != 0);
    // Reads the type at each step: a type slot set off by an earlier row
    // writes only its own record.
    for (const BandRowDescriptor& row : bandRowDescriptors())
        row.typeCombo.of(*ui)->setCurrentIndex(set[row.band]->type - 1);
    ui->gbox1_BL1->setValue(static_cast<int>(gainDialTenths(set[0]->gain)));

    const auto callTypeSlots = [this, set] {
        for (int b = 1; b <= 10; ++b)
            (this->*kTypeSlots[b - 1])(set[b]->type - 1);
    };
    if (!withPlotAndCount)
        callTypeSlots();

    for (const BandRowDescriptor& row : bandRowDescriptors()) {
        const EQ_data& r = *set[row.band];
        row.freqText.of(*ui)->setText(frequencyText(r.center_frequency));
        row.freqDial.of(*ui)->Line_setValue(value_deal::line_fre_value_deal(r.center_frequency));
        row.gainDial.of(*ui)->setValue(r.gain * 2.0);
        row.qText.of(*ui)->setText(qText(r.Q));
        row.qDial.of(*ui)->Q_setValue(value_deal::line_Q_value_deal(bandQCode(r.Q)));
    }
    // After the gain and type slots have written their values back.
    ui->gbox1_lineEdit->setText(gainText(set[0]->gain));
    for (const BandRowDescriptor& row : bandRowDescriptors())
        row.gainText.of(*ui)->setText(gainText(set[row.band]->gain));

    if (withPlotAndCount) {
        update_value();
        callTypeSlots();
    }
    if (config_connect_status == 1)
        hid_status = 1;
}

void MainWindow::update_ui() { fillBandControls(true); }

void MainWindow::update_ui_filter()
{
    fillBandControls(false);
    uploadEditedSet(false);
}

void MainWindow::update_ui_filter2() { fillBandControls(false); }

void MainWindow::qingkong_ui_filter()
{
    fillBandControls(false);
    uploadEditedSet(true);
}

void MainWindow::uploadEditedSet(bool clearedSet)
{
    // The other set is held only for an upload that goes out (the fill
    // left hid_status at 1 whenever the device answered the hello).
    if (hid_status != 1)
        return;
    const EditRoute route
        = editRoute(comboBox_PEQMode->currentText(), checkBox_channel->isChecked());
    // The other channel is sent too: it is held like the edited one.
    if (route != EditRoute::Linked)
        holdSetFields(route == EditRoute::Right ? EQ : EQ_R);
    const int32_t code = status_bar_value.device_eq_status;
    const FrameList frames = clearedSet ? clearedSetUploadFrames(route, EQ, EQ_R, code, Gain_flag)
                                        : setUploadFrames(route, EQ, EQ_R, code, Gain_flag);
    sendSetUpload(frames, route == EditRoute::Linked);
}

// ---- Reloads ----

void MainWindow::deferToEventLoop(void (MainWindow::*call)())
{
    // Context this: a window closed before the loop gets there is not reached.
    QMetaObject::invokeMethod(
        this, [this, call] { (this->*call)(); }, Qt::QueuedConnection);
}

void MainWindow::redrawBandCurves(EQ_data* const* set)
{
    // Same net effect as clearing all eleven and drawing those that are on,
    // but an unchanged curve keeps its series untouched.
    const ResponseChart plot(chartView);
    for (int b = 1; b <= 11; ++b) {
        if (set[b]->status == 1)
            update_value_each(b);
        else
            plot.clearCurve(ResponseChart::kFirstBand + b - 1);
    }
}

void MainWindow::reloadEditor(void (MainWindow::*fill)())
{
    EQ_data* const* set = editedSet();
    if (Each_show)
        redrawBandCurves(set);
    status_bar_value.eq_count = 0;
    show_EQ_ui = 0;
    tem = 0;
    for (const BandRowDescriptor& row : bandRowDescriptors())
        if (row.band >= 3)
            row.groupBox.of(*ui)->hide();

    // Band 11 is never kept across a reload.
    clearBand(*set[11]);
    const RowLayout layout = scanBandRows(set);
    for (const BandRowDescriptor& row : bandRowDescriptors())
        row.freqLabelCombo.of(*ui)->setEnabled(
            layout.captionEnabled[static_cast<std::size_t>(row.band)]);
    show_EQ_ui = layout.shownRows;
    for (int n = 1; n <= show_EQ_ui; ++n)
        Add_Show_EQ_ui(n);
    if (show_EQ_ui < kMaxShownRows)
        ui->PButton_AddEQ->show();

    // Without an equaliser only the boxes' look changes: the statuses are the
    // preset's and stay as stored, so no save or upload carries a forced
    // pattern. A blocked stream likewise leaves the controls as the stream
    // lock left them.
    if (status_bar_value.eq_max == 0)
        for (const BandRowDescriptor& row : bandRowDescriptors())
            row.enable.of(*ui)->setStyleSheet(FormSheet::noEqEnableBox);

    update_value();
    deferToEventLoop(fill);
    qDebug() << "Eq count:" << status_bar_value.eq_count;
    update_EQ_NUM();
    CheckBox_Change_UI();
}

void MainWindow::config_update_ui() { reloadEditor(&MainWindow::update_ui_filter); }

void MainWindow::config_update_ui2() { reloadEditor(&MainWindow::update_ui_filter2); }

void MainWindow::device_delete_config(int) { config_update_ui(); }

// ---- Clearing ----

void MainWindow::Refresh_selected_data(int k)
{
    if (k < 0 || k > 11)
        return;
    EQ_data* const* set = editedSet();
    clearBand(*set[k]);
    if (k >= 1)
        bandRow(k).freqLabelCombo.of(*ui)->setEnabled(true);
    update_ui();
    deferToEventLoop(&MainWindow::update_ui_filter);
}

void MainWindow::Refresh_all_data()
{
    EQ_data* const* set = editedSet();
    for (int k = 0; k < 12; ++k)
        clearBand(*set[k]);
    for (const BandRowDescriptor& row : bandRowDescriptors())
        row.freqLabelCombo.of(*ui)->setEnabled(true);
    update_ui();
    qingkong_update_ui();
}

void MainWindow::qingkong_update_ui()
{
    EQ_data* const* set = editedSet();
    if (Each_show)
        redrawBandCurves(set);
    for (const BandRowDescriptor& row : bandRowDescriptors())
        if (row.band >= 3)
            row.groupBox.of(*ui)->hide();
    tem = 0;
    // Both modes keep the rows that were visible: adding, removing and the
    // band count rely on rows 1 .. show_EQ_ui being the visible ones.
    show_EQ_ui = std::max(show_EQ_ui, 2);
    for (int n = 1; n <= show_EQ_ui; ++n)
        Add_Show_EQ_ui(n);
    if (show_EQ_ui < kMaxShownRows)
        ui->PButton_AddEQ->show();
    update_value();
    deferToEventLoop(&MainWindow::qingkong_ui_filter);
}

// ---- Channel-mode switch ----

ChannelModeState MainWindow::channelModeState() const
{
    ChannelModeState s;
    s.hidStatus = hid_status;
    s.deviceEqStatus = status_bar_value.device_eq_status;
    s.gainTenths = Gain_flag;
    s.currentKey = current_name;
    s.oldKey = old_name;
    s.selectionKind = biaozhi_name;
    s.uiFlag = ui_flag;
    s.temFlag = tem_flag;
    s.oneBiaozhi = one_biaozhi;
    return s;
}

void MainWindow::copyLeftToRight()
{
    EQ_R[0]->status = EQ[0]->status;
    EQ_R[0]->gain = EQ[0]->gain;
    for (int k = 1; k < 12; ++k)
        *EQ_R[k] = *EQ[k];
}

void MainWindow::sendModeMask(uint32_t mask)
{
    frameRoad().send(command::Sa_eq_ui, static_cast<int32_t>(mask));
}

void MainWindow::finishModeChange(int index)
{
    combox_index = index;
    if (storesLocalMode(channelModeState()))
        addOrUpdateConfig(index_biaozhi, index);
}

int MainWindow::askDiscardRight()
{
    const bool english = sysSetValue.Language == 1;
    const QString text = english
        ? QStringLiteral("Filter parameters for RIGHT channel will be discarded")
        : QStringLiteral("右通道的滤波器设置会被丢弃");
    const QString ok = english ? QStringLiteral("OK") : QStringLiteral("好的");
    const QString cancel = english ? QStringLiteral("Cancel") : QStringLiteral("取消");
    const char* const sheet = english ? FormSheet::questionBox : FormSheet::discardBoxChinese;
    QMessageBox box(this);
    modal::buildMessageBox(box, QMessageBox::NoIcon, QStringLiteral("Quorvel"), text,
        { { QMessageBox::Yes, ok }, { QMessageBox::No, cancel } }, QString::fromUtf8(sheet),
        Qt::RightToLeft);
    // Closing the box any other way keeps the right channel: it counts as Cancel.
    return modal::exec(box) == QMessageBox::Yes ? QMessageBox::Yes : QMessageBox::No;
}

void MainWindow::onComboxSelect(int index)
{
    qDebug() << "onComboxSelect" << index << "mask" << send_ui_biao << "slot" << ui_flag;
    if (!isLinkedModeText(comboBox_PEQMode->currentText())) {
        ui_biaozhi = 1;
        checkBox_channel->show();
        const ChannelModeState s = channelModeState();
        switch (splitRoadStep(s)) {
        case SplitStep::SyncNames:
            old_name = current_name;
            break;
        case SplitStep::CopyLeft:
            copyLeftToRight();
            break;
        case SplitStep::None:
            break;
        }
        if (sendsModeMask(s)) {
            send_ui_biao |= slotBit(ui_flag);
            sendModeMask(send_ui_biao);
        }
        config_update_ui();
        tem_ui_biao = send_ui_biao;
        finishModeChange(index);
        return;
    }

    // A box answered in an earlier call is never acted on again.
    Ret = 0;
    const ChannelModeState s = channelModeState();
    if (isSlotSwitch(s)) {
        tem_flag = ui_flag;
        finishModeChange(index);
        return;
    }
    if (asksToDiscardRight(s))
        Ret = askDiscardRight();

    // The box ran an event loop: everything below reads the state as it is now.
    if (Ret == QMessageBox::Yes) {
        Ret = kAnswerTakenOk;
        copyLeftToRight();
        comboBox_PEQMode->setCurrentIndex(0);
        checkBox_channel->setChecked(false);
        checkBox_channel->hide();
        ui_biaozhi = 0;
        if (biaozhi_name == QLatin1String("xxxx"))
            addOrUpdateConfig(index_biaozhi, 0);
        config_update_ui();
        if (sendsModeMask(channelModeState())) {
            send_ui_biao &= ~slotBit(ui_flag);
            sendModeMask(send_ui_biao);
        }
        tem_ui_biao = send_ui_biao;
        finishModeChange(index);
        return;
    }
    if (Ret == QMessageBox::No) {
        old_name = QString::fromLatin1(kNoPresetKey);
        // Runs the "L/R" road inside this call.
        comboBox_PEQMode->setCurrentIndex(1);
        checkBox_channel->show();
        Ret = kAnswerTakenCancel;
        ui_biaozhi = 1;
        if (biaozhi_name == QLatin1String("xxxx"))
            addOrUpdateConfig(index_biaozhi, 1);
        if (sendsModeMask(channelModeState())) {
            send_ui_biao |= slotBit(ui_flag);
            sendModeMask(send_ui_biao);
        }
        config_update_ui();
        tem_ui_biao = send_ui_biao;
        return;
    }
    finishModeChange(index);
}

// ---- Reactions to the preset workspace ----

void MainWindow::settleSelectedMode()
{
    const QString text = comboBox_PEQMode->currentText();
    if (isLinkedModeText(text)) {
        old_name = current_name;
        checkBox_channel->setChecked(false);
        checkBox_channel->hide();
    } else if (text == QLatin1String("L/R")) {
        comboBox_PEQMode->setCurrentIndex(1);
        old_name = current_name;
    }
}

void MainWindow::recive_ui_biaozhi(int slot, QString name)
{
    qDebug() << "recive_ui_biaozhi" << slot << name << "mask" << tem_ui_biao;
    biaozhi_name = QStringLiteral("yyyy");
    old_name = current_name;
    current_name = devicePresetKey(slot);
    ui_biaozhi = (tem_ui_biao & slotBit(slot)) ? 1 : 0;
    ui_flag = slot;
    const bool split = (send_ui_biao & slotBit(slot)) != 0;
    if (lianjiebz1 != 1)
        sendModeMask(tem_ui_biao);
    comboBox_PEQMode->setCurrentIndex(split ? 1 : 0);
    checkBox_channel->setVisible(split);
    tem_flag = ui_flag;
    settleSelectedMode();
}

void MainWindow::recive_radio_name(int index, QString name)
{
    qDebug() << "recive_radio_name" << index << name;
    biaozhi_name = QStringLiteral("xxxx");
    index_biaozhi = index;
    old_name = current_name;
    current_name = localPresetKey(index);
    switch (getConfig(index)) {
    case -1:
        addOrUpdateConfig(index, defaultLocalMode(channelModeState(), combox_index));
        break;
    case 1:
        comboBox_PEQMode->setCurrentIndex(1);
        if (keepsStoredSplitMode(channelModeState())) {
            checkBox_channel->show();
        } else {
            comboBox_PEQMode->setCurrentIndex(0);
            checkBox_channel->hide();
        }
        break;
    case 0:
        comboBox_PEQMode->setCurrentIndex(0);
        checkBox_channel->hide();
        break;
    default:
        break;
    }
    settleSelectedMode();
}

void MainWindow::recive_ui_biaozhi3(int index)
{
    ui_biaozhi = isLinkedModeText(comboBox_PEQMode->currentText()) ? 0 : 1;
    addOrUpdateConfig(index, ui_biaozhi);
}

void MainWindow::recive_radio_name2() { setFactoryPresetLock(false); }

void MainWindow::recive_device_name(QString name)
{
    qDebug() << "recive_device_name" << name;
    biaozhi_name = QStringLiteral("yyyy");
    morendevice_name = name;
    setFactoryPresetLock(factoryPresetSelected());
}

void MainWindow::recive_device_name_2(QString s) { biaozhi_name = s; }

void MainWindow::recive_biaozhi_name(QString s)
{
    old_biaozhi_name = biaozhi_name;
    biaozhi_name = s;
}

void MainWindow::recive_ui_biaozhi2(int slot)
{
    if (ui_biaozhi != 0)
        send_ui_biao |= slotBit(slot);
    else
        send_ui_biao &= ~slotBit(slot);
    tem_ui_biao = send_ui_biao;
    qDebug() << "recive_ui_biaozhi2" << slot << "mask" << send_ui_biao;
    sendModeMask(send_ui_biao);
}

void MainWindow::recive_remove_index(int slot)
{
    send_ui_biao = tem_ui_biao = maskWithoutSlot(tem_ui_biao, slot);
    qDebug() << "recive_remove_index" << slot << "mask" << send_ui_biao;
    sendModeMask(send_ui_biao);
    // The slots after it are renumbered: the one that takes its number is
    // another preset.
    forgetSelectedPreset();
}

void MainWindow::setFactoryPresetLock(bool locked)
{
    if (locked) {
        lockBandControls();
    } else {
        status_bar_value.eq_max = 10;
        setBandControlsUsable(true);
    }
    for (const BandRowDescriptor& row : bandRowDescriptors())
        row.removeButton.of(*ui)->setEnabled(!locked);
    ui->PButton_AddEQ->setEnabled(!locked);
}

// ---- Timers ----

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
    saveEditedPreset(
        selectedRadioIndex, [this](int index) { emit close_device_save_config(index); });
    autosave_done = 1;
}

void MainWindow::timeoutSlot2()
{
    const QString& code = status_bar_value.audio_code;
    const QString& rate = status_bar_value.sample_rate;
    if (hid_status == 0 || (code == "PCM" && isEqUsableRateLabel(rate))) {
        emit Is_Language(true);
        stream_check_timer->stop();
    }
    if (isBlockedStream(code, rate)) {
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

void MainWindow::releaseBandControls() { setBandControlsUsable(true); }

// One place for the lock and the release, so the two can never disagree on
// which controls they touch.
void MainWindow::setBandControlsUsable(bool usable)
{
    const char* const sheet = usable ? FormSheet::enableBox : FormSheet::lockedEnableBox;
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
    qDebug() << "recive_Mute" << on;
    frameRoad().send(command::Sa_hight_sample_auto_mute, on ? 1 : 0);
}

// ---- Input filter ----

void MainWindow::showRowMenu(int record, const QPoint& globalPos)
{
    const bool english = sysSetValue.Language == 1;
    QMenu menu;
    QAction* one = menu.addAction(
        english ? QStringLiteral("Clear seleted filter") : QStringLiteral("清除选中滤波数据"));
    QAction* all = menu.addAction(
        english ? QStringLiteral("Clear all filters") : QStringLiteral("清除全部滤波数据"));
    menu.setStyleSheet(QString::fromUtf8(kRowMenuSheet));
    connect(one, &QAction::triggered, this, [this, record] { Refresh_selected_data(record); });
    connect(all, &QAction::triggered, this, [this] { Refresh_all_data(); });
    modal::exec(menu, globalPos);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    auto* combo = qobject_cast<QComboBox*>(watched);
    if (combo && watched != this) {
        if (!combo->isEnabled())
            return false;
        if (type == QEvent::Enter || type == QEvent::Leave || type == QEvent::FocusOut) {
            combo->setProperty("hasFocus", type == QEvent::Enter);
            combo->style()->unpolish(combo);
            combo->style()->polish(combo);
        }
    }
    const bool curveCombo = watched == ui->comboBox || watched == ui->comboBox_2;
    if (curveCombo) {
        if (type == QEvent::MouseButtonDblClick || type == QEvent::MouseMove)
            return true;
        if (type == QEvent::ContextMenu
            && static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Mouse)
            return true;
    }
    if (type == QEvent::KeyPress && isArrowKey(event))
        return true;
    if (type == QEvent::ContextMenu) {
        for (QComboBox* curves :
            { static_cast<QComboBox*>(ui->comboBox), static_cast<QComboBox*>(ui->comboBox_2) }) {
            QAbstractItemView* list = curves->view();
            if (watched == list || (list && watched == list->verticalScrollBar()))
                return true;
        }
    }
    if (watched == chartView && type == QEvent::Wheel && axisY) {
        ResponseChart::zoomLevelAxis(axisY, static_cast<QWheelEvent*>(event)->angleDelta().y());
        return true;
    }
    if (type == QEvent::ContextMenu && !factoryPresetSelected()) {
        int record = -1;
        if (watched == ui->groupBox_4)
            record = 0;
        for (const BandRowDescriptor& row : bandRowDescriptors())
            if (watched == row.groupBox.of(*ui))
                record = row.band;
        if (record >= 0) {
            showRowMenu(record, static_cast<QContextMenuEvent*>(event)->globalPos());
            return true;
        }
    }
    if (type == QEvent::MouseMove || type == QEvent::KeyPress)
        resetTimer();
    if (type == QEvent::Wheel) {
        for (const BandRowDescriptor& row : bandRowDescriptors())
            if (watched == row.typeCombo.of(*ui))
                return true;
    }
    return QMainWindow::eventFilter(watched, event);
}
