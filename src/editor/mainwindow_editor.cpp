// The band editor's per-row slots. Each slot of a family forwards to one
// row-indexed routine: band 0 is the preamp, bands 1 to 11 the band rows.

#include "app/mainwindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDebug>
#include <QGroupBox>
#include <QLabel>
#include <QSignalBlocker>

#include <algorithm>

#include "app/mainwindow_style.h"
#include "app/mainwindow_ui.h"
#include "app/status_labels.h"
#include "device/device_session.h"
#include "device/device_state.h"
#include "device/frame_road.h"
#include "dsp/band.h"
#include "dsp/value_deal.h"
#include "editor/band_edit.h"
#include "editor/editor_state.h"
#include "plot/curves.h"
#include "plot/response_chart.h"
#include "widgets/balance.h"
#include "widgets/customcontrols.h"

// Slot families: the number in a dial or text slot's name is the band + 1.
void MainWindow::setgb1_l1_Value(int value) { bandDialChanged(0, 1, value); }
void MainWindow::setgb2_l1_Value(int value) { bandDialChanged(1, 1, value); }
void MainWindow::setgb2_l2_Value(int value) { bandDialChanged(1, 2, value); }
void MainWindow::setgb2_l3_Value(int value) { bandDialChanged(1, 3, value); }
void MainWindow::setgb3_l1_Value(int value) { bandDialChanged(2, 1, value); }
void MainWindow::setgb3_l2_Value(int value) { bandDialChanged(2, 2, value); }
void MainWindow::setgb3_l3_Value(int value) { bandDialChanged(2, 3, value); }
void MainWindow::setgb4_l1_Value(int value) { bandDialChanged(3, 1, value); }
void MainWindow::setgb4_l2_Value(int value) { bandDialChanged(3, 2, value); }
void MainWindow::setgb4_l3_Value(int value) { bandDialChanged(3, 3, value); }
void MainWindow::setgb5_l1_Value(int value) { bandDialChanged(4, 1, value); }
void MainWindow::setgb5_l2_Value(int value) { bandDialChanged(4, 2, value); }
void MainWindow::setgb5_l3_Value(int value) { bandDialChanged(4, 3, value); }
void MainWindow::setgb6_l1_Value(int value) { bandDialChanged(5, 1, value); }
void MainWindow::setgb6_l2_Value(int value) { bandDialChanged(5, 2, value); }
void MainWindow::setgb6_l3_Value(int value) { bandDialChanged(5, 3, value); }
void MainWindow::setgb7_l1_Value(int value) { bandDialChanged(6, 1, value); }
void MainWindow::setgb7_l2_Value(int value) { bandDialChanged(6, 2, value); }
void MainWindow::setgb7_l3_Value(int value) { bandDialChanged(6, 3, value); }
void MainWindow::setgb8_l1_Value(int value) { bandDialChanged(7, 1, value); }
void MainWindow::setgb8_l2_Value(int value) { bandDialChanged(7, 2, value); }
void MainWindow::setgb8_l3_Value(int value) { bandDialChanged(7, 3, value); }
void MainWindow::setgb9_l1_Value(int value) { bandDialChanged(8, 1, value); }
void MainWindow::setgb9_l2_Value(int value) { bandDialChanged(8, 2, value); }
void MainWindow::setgb9_l3_Value(int value) { bandDialChanged(8, 3, value); }
void MainWindow::setgb10_l1_Value(int value) { bandDialChanged(9, 1, value); }
void MainWindow::setgb10_l2_Value(int value) { bandDialChanged(9, 2, value); }
void MainWindow::setgb10_l3_Value(int value) { bandDialChanged(9, 3, value); }
void MainWindow::setgb11_l1_Value(int value) { bandDialChanged(10, 1, value); }
void MainWindow::setgb11_l2_Value(int value) { bandDialChanged(10, 2, value); }
void MainWindow::setgb11_l3_Value(int value) { bandDialChanged(10, 3, value); }
void MainWindow::setgb12_l1_Value(int value) { bandDialChanged(11, 1, value); }
void MainWindow::setgb12_l2_Value(int value) { bandDialChanged(11, 2, value); }
void MainWindow::setgb12_l3_Value(int value) { bandDialChanged(11, 3, value); }

void MainWindow::setgb1_bl1_Value() { bandTextEdited(0, 1); }
void MainWindow::setgb2_bl1_Value() { bandTextEdited(1, 1); }
void MainWindow::setgb2_bl2_Value() { bandTextEdited(1, 2); }
void MainWindow::setgb2_bl3_Value() { bandTextEdited(1, 3); }
void MainWindow::setgb3_bl1_Value() { bandTextEdited(2, 1); }
void MainWindow::setgb3_bl2_Value() { bandTextEdited(2, 2); }
void MainWindow::setgb3_bl3_Value() { bandTextEdited(2, 3); }
void MainWindow::setgb4_bl1_Value() { bandTextEdited(3, 1); }
void MainWindow::setgb4_bl2_Value() { bandTextEdited(3, 2); }
void MainWindow::setgb4_bl3_Value() { bandTextEdited(3, 3); }
void MainWindow::setgb5_bl1_Value() { bandTextEdited(4, 1); }
void MainWindow::setgb5_bl2_Value() { bandTextEdited(4, 2); }
void MainWindow::setgb5_bl3_Value() { bandTextEdited(4, 3); }
void MainWindow::setgb6_bl1_Value() { bandTextEdited(5, 1); }
void MainWindow::setgb6_bl2_Value() { bandTextEdited(5, 2); }
void MainWindow::setgb6_bl3_Value() { bandTextEdited(5, 3); }
void MainWindow::setgb7_bl1_Value() { bandTextEdited(6, 1); }
void MainWindow::setgb7_bl2_Value() { bandTextEdited(6, 2); }
void MainWindow::setgb7_bl3_Value() { bandTextEdited(6, 3); }
void MainWindow::setgb8_bl1_Value() { bandTextEdited(7, 1); }
void MainWindow::setgb8_bl2_Value() { bandTextEdited(7, 2); }
void MainWindow::setgb8_bl3_Value() { bandTextEdited(7, 3); }
void MainWindow::setgb9_bl1_Value() { bandTextEdited(8, 1); }
void MainWindow::setgb9_bl2_Value() { bandTextEdited(8, 2); }
void MainWindow::setgb9_bl3_Value() { bandTextEdited(8, 3); }
void MainWindow::setgb10_bl1_Value() { bandTextEdited(9, 1); }
void MainWindow::setgb10_bl2_Value() { bandTextEdited(9, 2); }
void MainWindow::setgb10_bl3_Value() { bandTextEdited(9, 3); }
void MainWindow::setgb11_bl1_Value() { bandTextEdited(10, 1); }
void MainWindow::setgb11_bl2_Value() { bandTextEdited(10, 2); }
void MainWindow::setgb11_bl3_Value() { bandTextEdited(10, 3); }
void MainWindow::setgb12_bl1_Value() { bandTextEdited(11, 1); }
void MainWindow::setgb12_bl2_Value() { bandTextEdited(11, 2); }
void MainWindow::setgb12_bl3_Value() { bandTextEdited(11, 3); }

void MainWindow::set_cb1_type(int index) { bandTypeChanged(1, index); }
void MainWindow::set_cb2_type(int index) { bandTypeChanged(2, index); }
void MainWindow::set_cb3_type(int index) { bandTypeChanged(3, index); }
void MainWindow::set_cb4_type(int index) { bandTypeChanged(4, index); }
void MainWindow::set_cb5_type(int index) { bandTypeChanged(5, index); }
void MainWindow::set_cb6_type(int index) { bandTypeChanged(6, index); }
void MainWindow::set_cb7_type(int index) { bandTypeChanged(7, index); }
void MainWindow::set_cb8_type(int index) { bandTypeChanged(8, index); }
void MainWindow::set_cb9_type(int index) { bandTypeChanged(9, index); }
void MainWindow::set_cb10_type(int index) { bandTypeChanged(10, index); }
void MainWindow::set_cb11_type(int index) { bandTypeChanged(11, index); }

void MainWindow::on_checkBox_clicked(bool checked) { bandEnableClicked(0, checked); }
void MainWindow::on_checkBox_8_clicked(bool checked) { bandEnableClicked(1, checked); }
void MainWindow::on_checkBox_10_clicked(bool checked) { bandEnableClicked(2, checked); }
void MainWindow::on_checkBox_9_clicked(bool checked) { bandEnableClicked(3, checked); }
void MainWindow::on_checkBox_11_clicked(bool checked) { bandEnableClicked(4, checked); }
void MainWindow::on_checkBox_12_clicked(bool checked) { bandEnableClicked(5, checked); }
void MainWindow::on_checkBox_13_clicked(bool checked) { bandEnableClicked(6, checked); }
void MainWindow::on_checkBox_14_clicked(bool checked) { bandEnableClicked(7, checked); }
void MainWindow::on_checkBox_15_clicked(bool checked) { bandEnableClicked(8, checked); }
void MainWindow::on_checkBox_16_clicked(bool checked) { bandEnableClicked(9, checked); }
void MainWindow::on_checkBox_17_clicked(bool checked) { bandEnableClicked(10, checked); }
void MainWindow::on_checkBox_18_clicked(bool checked) { bandEnableClicked(11, checked); }

void MainWindow::on_PButton_RemoveEQ_1_clicked() { removeBandRow(1); }
void MainWindow::on_PButton_RemoveEQ_2_clicked() { removeBandRow(2); }
void MainWindow::on_PButton_RemoveEQ_3_clicked() { removeBandRow(3); }
void MainWindow::on_PButton_RemoveEQ_4_clicked() { removeBandRow(4); }
void MainWindow::on_PButton_RemoveEQ_5_clicked() { removeBandRow(5); }
void MainWindow::on_PButton_RemoveEQ_6_clicked() { removeBandRow(6); }
void MainWindow::on_PButton_RemoveEQ_7_clicked() { removeBandRow(7); }
void MainWindow::on_PButton_RemoveEQ_8_clicked() { removeBandRow(8); }
void MainWindow::on_PButton_RemoveEQ_9_clicked() { removeBandRow(9); }
void MainWindow::on_PButton_RemoveEQ_10_clicked() { removeBandRow(10); }
void MainWindow::on_PButton_RemoveEQ_11_clicked() { removeBandRow(11); }

// Bound to the preamp box's state change; nothing to do.
void MainWindow::on_checkBox_stateChanged(int) { }

// Bound to the Export tool button, whose menu does the work; nothing to do.
void MainWindow::on_toolButton_2_clicked() { }
void MainWindow::on_toolButton_2_clicked(bool) { }

// Unbound: the form has no object of this name.
void MainWindow::on_checkBox_2_clicked(bool) { }

namespace {

constexpr int kMaxShownRows = 10;
constexpr int kBandCount = 11;

void sendPreampFrames(PreampEdit edit, EditRoute route)
{
    if (!EQ[0] || !EQ_R[0])
        return;
    frameRoad().send(
        preampEditFrames(edit, route, *EQ[0], *EQ_R[0], status_bar_value.device_eq_status));
}

// The route the channel controls choose and the record of `band` (0 the
// preamp) it edits; no record for a band out of range.
struct RoutedEdit
{
    EditRoute route;
    EQ_data* record;
};
RoutedEdit routedEdit(const QComboBox* mode, const QCheckBox* channel, int band)
{
    const EditRoute route = editRoute(mode->currentText(), channel->isChecked());
    return { route, band >= 0 && band <= kBandCount ? routedSet(route)[band] : nullptr };
}

// A finished entry's text; the edit gives up the keyboard focus first.
QString takeEntry(CustomLineEdit* edit)
{
    const QString typed = edit->text();
    edit->clearFocus();
    return typed;
}

const BandRowDescriptor& bandRow(int band) { return bandRowDescriptors()[band - 1]; }

// The record a removed band's row leaves behind: on, peaking, 632 Hz, 0 dB, Q 0.707.
constexpr EQ_data kFreedBand { 1, 1, 632, 0.0, 0.707 };

} // namespace

void MainWindow::bandDialChanged(int band, int dial, int value)
{
    const auto [route, edited] = routedEdit(comboBox_PEQMode, checkBox_channel, band);
    if (!edited)
        return;
    EQ_data& record = *edited;

    if (band == 0) {
        record.gain = gainOfDialTenths(value);
        ui->gbox1_lineEdit->setText(gainText(record.gain));
        startThread();
        sendPreampFrames(PreampEdit::Dial, route);
        return;
    }

    const BandRowDescriptor& row = bandRow(band);
    BandEdit edit = BandEdit::FrequencyDial;
    int qCode = 0;
    switch (dial) {
    case 1:
        record.center_frequency = value_deal::balance_value_deal(value);
        row.freqText.of(*ui)->setText(frequencyText(record.center_frequency));
        break;
    case 2:
        edit = BandEdit::GainDial;
        record.gain = gainOfDialTenths(value);
        row.gainText.of(*ui)->setText(gainText(record.gain));
        break;
    default:
        edit = BandEdit::QDial;
        qCode = value_deal::balance_Qvalue_deal(value);
        record.Q = qCode / 10000.0;
        row.qText.of(*ui)->setText(qText(record.Q));
        break;
    }
    startThread();
    each_EQ_num = band;
    BandCodes codes = bandCodes(record, Gain_flag);
    if (edit == BandEdit::GainDial)
        codes.gain = dialGainCode(value, record.gain, Gain_flag);
    if (edit == BandEdit::QDial)
        codes.q = qCode; // the table's integer, not the stored double
    frameRoad().send(bandEditFrames(edit, band, route, codes));
}

void MainWindow::bandTextEdited(int band, int field)
{
    const auto [route, edited] = routedEdit(comboBox_PEQMode, checkBox_channel, band);
    if (!edited)
        return;
    EQ_data& record = *edited;

    if (band == 0) {
        CustomLineEdit* edit = ui->gbox1_lineEdit;
        const QString typed = takeEntry(edit);
        const double gain = roundedToTenth(readGainText(typed).gain);
        record.gain = gain;
        // Emits: the preamp dial handler runs now, with its own frames.
        ui->gbox1_BL1->setValue(gainDialTenths(gain));
        edit->setText(gainText(gain));
        ui->gbox1_BL1->Line_setValue(truncSaturated(record.gain * 2.0));
        startThread();
        sendPreampFrames(PreampEdit::Text, route);
        return;
    }

    const BandRowDescriptor& row = bandRow(band);
    switch (field) {
    case 1: {
        CustomLineEdit* edit = row.freqText.of(*ui);
        const QString typed = takeEntry(edit);
        record.center_frequency = readFrequencyText(typed);
        edit->setText(frequencyText(record.center_frequency));
        row.freqDial.of(*ui)->Line_setValue(
            value_deal::line_fre_value_deal(record.center_frequency));
        startThread();
        each_EQ_num = band;
        frameRoad().send(
            bandEditFrames(BandEdit::FrequencyText, band, route, bandCodes(record, Gain_flag)));
        break;
    }
    case 2: {
        CustomLineEdit* edit = row.gainText.of(*ui);
        const QString typed = takeEntry(edit);
        const GainEntry entry = readGainText(typed);
        // Emits: the row's gain dial handler runs now, with its own frames.
        row.gainDial.of(*ui)->setValue(gainDialTenths(entry.gain));
        edit->setText(gainText(entry.gain));
        row.gainDial.of(*ui)->Line_setValue(entry.position);
        record.gain = entry.gain; // typed precision kept; the text shows one decimal
        startThread();
        BandCodes codes = bandCodes(record, Gain_flag);
        codes.gain = Gain_flag ? bandGainCode(entry.gain, true) : entry.position;
        frameRoad().send(bandEditFrames(BandEdit::GainText, band, route, codes));
        break;
    }
    default: {
        CustomLineEdit* edit = row.qText.of(*ui);
        const QString typed = takeEntry(edit);
        const QEntry entry = readQText(typed);
        edit->setText(qText(entry.q));
        record.Q = entry.q;
        BandCodes codes = bandCodes(record, Gain_flag);
        codes.q = entry.code;
        frameRoad().send(bandEditFrames(BandEdit::QText, band, route, codes));
        row.qDial.of(*ui)->Q_setValue(value_deal::line_Q_value_deal(entry.code));
        startThread();
        each_EQ_num = band;
        break;
    }
    }
}

void MainWindow::bandTypeChanged(int band, int index)
{
    const auto [route, edited] = routedEdit(comboBox_PEQMode, checkBox_channel, band);
    if (band < 1 || !edited)
        return;
    EQ_data& record = *edited;

    // The type first, before any control moves. A type the box does not
    // offer (corrupt file or device data) is taken as peaking everywhere.
    record.type = typeForIndex(index);
    int fitted = index;
    if (index < 0 || index > 4) {
        qDebug() << "band" << band << "type index" << index << "not offered, taken as peaking";
        fitted = 0;
        QSignalBlocker quiet(bandRow(band).typeCombo.of(*ui));
        bandRow(band).typeCombo.of(*ui)->setCurrentIndex(0);
    }
    fitBandRowToType(band, fitted);

    startThread();
    each_EQ_num = band;
    frameRoad().send(bandEditFrames(BandEdit::Type, band, route, bandCodes(record, Gain_flag)));
}

void MainWindow::fitBandRowToType(int band, int index)
{
    const BandRowDescriptor& row = bandRow(band);
    QComboBox* caption = row.freqLabelCombo.of(*ui);
    QLabel* label = row.gainLabel.of(*ui);
    Balance1* dial = row.gainDial.of(*ui);
    CustomLineEdit* text = row.gainText.of(*ui);

    if (index == 1 || index == 2) {
        // Low-pass and high-pass have no gain: greyed, and brought to 0 dB
        // through the dial, whose handler writes and sends it.
        caption->setCurrentIndex(1);
        label->setStyleSheet(FormSheet::greyedGain);
        dial->setDisabled(true);
        dial->setPercentColor(QColor(100, 100, 100));
        dial->setValue(0);
        text->setDisabled(true);
        text->setStyleSheet(FormSheet::greyedGain);
        return;
    }
    caption->setCurrentIndex(index == 0 ? 0 : 1);
    dial->setDisabled(false);
    text->setDisabled(factoryPresetLocked(execute_biaozhi, biaozhi_name, morendevice_name));
    dial->setPercentColor(QColor(216, 216, 216));
    label->setStyleSheet(FormSheet::liveGain);
    text->setStyleSheet(FormSheet::liveGain);
}

void MainWindow::bandEnableClicked(int band, bool checked)
{
    const auto [route, edited] = routedEdit(comboBox_PEQMode, checkBox_channel, band);
    if (!edited)
        return;
    EQ_data& record = *edited;

    if (band == 0) {
        record.status = checked ? 1 : 0;
        startThread();
        sendPreampFrames(checked ? PreampEdit::SwitchOn : PreampEdit::SwitchOff, route);
        return;
    }

    const BandRowDescriptor& row = bandRow(band);
    QComboBox* caption = row.freqLabelCombo.of(*ui);
    if (checked) {
        caption->setEnabled(false);
        record.status = 1;
        // With no current type item the stored type stays.
        const int index = row.typeCombo.of(*ui)->currentIndex();
        if (index >= 0 && index <= 4) {
            record.type = index + 1;
            caption->setCurrentIndex(index == 0 ? 0 : 1);
        }
        ++status_bar_value.eq_count;
    } else {
        caption->setEnabled(true);
        record.status = 0;
        --status_bar_value.eq_count;
    }
    showEqCount();

    startThread();
    each_EQ_num = band;
    if (record.status == 0)
        ResponseChart(chartView).clearCurve(ResponseChart::kFirstBand + band - 1);
    const BandEdit edit = record.status == 1 ? BandEdit::SwitchOn : BandEdit::SwitchOff;
    frameRoad().send(bandEditFrames(edit, band, route, bandCodes(record, Gain_flag)));
}

void MainWindow::removeBandRow(int band)
{
    // Only a shown row can be removed, and only while the shown count is sane.
    if (show_EQ_ui < 1 || show_EQ_ui > kMaxShownRows || band < 1 || band > show_EQ_ui) {
        qDebug() << "remove of row" << band << "ignored with" << show_EQ_ui << "rows shown";
        return;
    }
    cur_remove_EQ_ui = band;
    // The last shown row goes (not the pressed one): the bands below move up.
    // Hidden before the refresh, which counts visible rows only.
    bandRow(show_EQ_ui).groupBox.of(*ui)->hide();
    ui->groupBox_23->show();
    Remove_EQ_updata();
    --show_EQ_ui;
    update_ui_filter();
}

void MainWindow::Remove_EQ_updata()
{
    EQ_data* const* set = editedSet();
    const int last = show_EQ_ui;
    if (last < 1 || last > kBandCount || cur_remove_EQ_ui < 1)
        return;
    for (int k = 1; k <= last; ++k)
        if (!set[k])
            return;
    // Contents move, not pointers: the set points into the selected preset.
    for (int k = cur_remove_EQ_ui; k < last; ++k)
        *set[k] = *set[k + 1];
    *set[last] = kFreedBand;
    update_ui();
}

void MainWindow::on_PButton_AddEQ_clicked()
{
    if (show_EQ_ui >= kMaxShownRows)
        return;
    ++show_EQ_ui;
    button_Add_Show_EQ_ui(show_EQ_ui);
}

namespace {

// Row n shown by the add and reload roads; the add box goes with row 10.
void revealRow(MainWindowUi& ui, int n)
{
    if (n >= 1 && n <= kBandCount)
        bandRow(n).groupBox.of(ui)->show();
    ui.groupBox_23->setVisible(n != kMaxShownRows);
}

} // namespace

void MainWindow::button_Add_Show_EQ_ui(int n)
{
    const int count = status_bar_value.eq_count;
    revealRow(*ui, n);
    status_bar_value.eq_count = count + (is_Show_checkbox(n) ? 1 : 0);
    showEqCount();
}

void MainWindow::Add_Show_EQ_ui(int n)
{
    revealRow(*ui, n);
    if (is_Show_checkbox(n))
        ++tem;
    if (tem >= status_bar_value.eq_count)
        status_bar_value.eq_count = tem;
    showEqCount();
}

void MainWindow::checkclicked()
{
    qDebug() << (checkBox_channel->isChecked() ? "Checkbox is now checked."
                                               : "Checkbox is now unchecked.");
    config_update_ui();
    update_EQ_NUM();
    qDebug() << "status_bar_value.device_eq_status" << status_bar_value.device_eq_status;
}

bool MainWindow::Is_Show_EQ_ui(int n) const
{
    if (n < 1 || n > kBandCount)
        return false;
    return bandRow(n).groupBox.of(*ui)->isVisible();
}

bool MainWindow::is_Show_checkbox(int n) const
{
    if (n < 1 || n > kBandCount)
        return false;
    return bandRow(n).enable.of(*ui)->isChecked();
}

EQ_data* const* MainWindow::editedSet() const
{
    return plottedSet(comboBox_PEQMode->currentText(), checkBox_channel->isChecked());
}

void MainWindow::update_EQ_NUM()
{
    EQ_data* const* set = editedSet();
    int count = 0;
    for (int band = 1; band <= std::min(show_EQ_ui, kBandCount); ++band)
        if (set[band] && set[band]->status != 0)
            ++count;
    qDebug() << "update_EQ_NUM()" << count;
    status_bar_value.eq_count = count;
    showEqCount();
}

void MainWindow::showEqCount()
{
    if (statusLabel3)
        statusLabel3->setText(eqCountText(status_bar_value.eq_count));
}
