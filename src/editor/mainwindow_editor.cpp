// The band editor's per-row slots. Each slot of a family forwards to one
// row-indexed routine: band 0 is the preamp, bands 1 to 11 the band rows.

#include "app/mainwindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>

#include "app/mainwindow_ui.h"
#include "app/status_labels.h"
#include "device/device_state.h"
#include "dsp/band.h"
#include "editor/editor_state.h"
#include "plot/curves.h"
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
void MainWindow::on_checkBox_stateChanged(int) {}

// Bound to the Export tool button, whose menu does the work; nothing to do.
void MainWindow::on_toolButton_2_clicked() {}
void MainWindow::on_toolButton_2_clicked(bool) {}

// Unbound: the form has no object of this name.
void MainWindow::on_checkBox_2_clicked(bool) {}

// The band-editor work fills this in: store the dial's value and send it.
void MainWindow::bandDialChanged(int band, int, int)
{
    if (band > 0)
        each_EQ_num = band;
}

// The band-editor work fills this in: parse, limit and apply the typed value.
void MainWindow::bandTextEdited(int band, int)
{
    if (band > 0)
        each_EQ_num = band;
}

// The band-editor work fills this in: the band's filter type.
void MainWindow::bandTypeChanged(int band, int)
{
    each_EQ_num = band;
}

// The band-editor work fills this in: the band's (or the preamp's) status.
void MainWindow::bandEnableClicked(int band, bool)
{
    if (band > 0)
        each_EQ_num = band;
}

// The band-editor work fills this in: shift the following bands down.
void MainWindow::removeBandRow(int) {}

// The band-editor work fills this in: show the next hidden band row.
void MainWindow::on_PButton_AddEQ_clicked() {}

// The band-editor work fills this in: reload the controls for the other channel.
void MainWindow::checkclicked() {}

// Stand-in until the band-editor work lands its reveal: row n shown, the
// add box with it unless n is 10, switched-on rows counted.
void MainWindow::Add_Show_EQ_ui(int n)
{
    if (n < 1 || n > 11)
        return;
    bandRowDescriptors()[n - 1].groupBox.of(*ui)->show();
    ui->groupBox_23->setVisible(n != 10);
    if (bandRowDescriptors()[n - 1].enable.of(*ui)->isChecked())
        ++tem;
    if (tem >= status_bar_value.eq_count)
        status_bar_value.eq_count = tem;
}

bool MainWindow::Is_Show_EQ_ui(int n) const
{
    if (n < 1 || n > 11)
        return false;
    return bandRowDescriptors()[n - 1].groupBox.of(*ui)->isVisible();
}

EQ_data* const* MainWindow::editedSet() const
{
    return plottedSet(comboBox_PEQMode->currentText(), checkBox_channel->isChecked());
}

void MainWindow::update_EQ_NUM()
{
    EQ_data* const* set = editedSet();
    int count = 0;
    for (int band = 1; band <= std::min(show_EQ_ui, 11); ++band)
        if (set[band] && set[band]->status != 0)
            ++count;
    status_bar_value.eq_count = count;
    if (statusLabel3)
        statusLabel3->setText("   EQ:" + QString::number(count) + "   ");
}
