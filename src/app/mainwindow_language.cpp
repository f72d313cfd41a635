// The language switch of the main window: every language-dependent text, the
// status-bar texts and the channel-mode controls.

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDebug>
#include <QLabel>
#include <QMenu>
#include <QToolButton>

#include "app/mainwindow.h"
#include "app/mainwindow_style.h"
#include "app/mainwindow_ui.h"
#include "app/status_labels.h"
#include "device/device_state.h"
#include "device/device_tables.h"
#include "io/io_state.h"
#include "app/window_texts.h"
#include "settings/systemsetting.h"
#include "store/settings.h"
#include "widgets/customcontrols.h"
#include "widgets/textfit.h"

namespace {

void setMenuActions(QMenu* menu, const QStringList& texts)
{
    menu->clear(); // deletes the actions it owns
    for (const QString& text : texts)
        menu->addAction(text);
}

} // namespace

void MainWindow::Language_Change_UI()
{
    const int language = sysSetValue.Language;
    const MainWindowTexts& t = mainWindowTexts(language);

    // Menus and the texts every language value has.
    setMenuActions(menu_Import, t.importActions);
    setMenuActions(menu_Export, t.exportActions);
    setMenuActions(menu_Help, t.helpActions);
    ui->toolButton->setToolTip(t.importTip);
    ui->toolButton->setText(t.importText);
    ui->toolButton_2->setToolTip(t.exportTip);
    ui->toolButton_2->setText(t.exportText);
    ui->toolButton_3->setToolTip(t.helpTip);
    ui->toolButton_3->setText(t.helpText);
    ui->label_40->setText(t.targetCaption);
    ui->label_41->setText(t.sourceCaption);
    ui->checkBox_target->setText(t.targetSwitch);
    ui->checkBox_frequency->setText(t.sourceSwitch);
    ui->checkBox_each->setText(t.eachSwitch);
    ui->checkBox_EQ->setText(t.combinedSwitch);
    ui->checkBox_combined->setText(t.filteredSwitch);
    ui->checkBox_open->setText(Compensated_show ? t.compensatedSwitch : t.rawSwitch);
    ui->label_2->setText(t.preampLabel);
    ui->label_3->setText(t.preampGainLabel);
    for (const BandRowDescriptor& row : bandRowDescriptors()) {
        QComboBox* type = row.typeCombo.of(*ui);
        for (int i = 0; i < t.bandTypes.size(); ++i)
            type->setItemText(i, t.bandTypes[i]);
        QComboBox* caption = row.freqLabelCombo.of(*ui);
        for (int i = 0; i < t.frequencyCaptions.size(); ++i)
            caption->setItemText(i, t.frequencyCaptions[i]);
        row.gainLabel.of(*ui)->setText(t.rowGainLabel);
        row.qLabel.of(*ui)->setText(t.rowQLabel);
    }
    if (!fre_show_sign) {
        ui->comboBox->setStyleSheet(FormSheet::curvePicker(QStringLiteral("comboBox"), true));
        ui->comboBox->setCurrentText(t.sourcePlaceholder);
    }
    if (!tar_show_sign) {
        ui->comboBox_2->setStyleSheet(FormSheet::curvePicker(QStringLiteral("comboBox_2"), true));
        ui->comboBox_2->setCurrentText(t.targetPlaceholder);
    }
    action_Show->setText(t.trayShow);
    action_Exit->setText(t.trayExit);

    // Status texts: only 0 and 1 have them.
    const StatusTexts* st = statusTexts(language);
    const bool connected = isConnectedText(status_bar_value.connect_state);
    applyLanguageToStatus(status_bar_value, language);
    if (st) {
        systemset->setWindowTitle(st->settingsTitle);
        ui->PButton_Set_2->setToolTip(st->saveTip);
    }
    if (!connected) {
        if (st)
            statusLabel6->setText(eqMaxText(*st, status_bar_value.eq_max));
        statusLabel1->setText(framed(status_bar_value.audio_code));
        statusLabel2->setText(framed(status_bar_value.sample_rate));
        statusLabel4->setText(framed(status_bar_value.device_model));
    } else if (st) {
        applyDeviceEqStatus(*st);
        statusLabel6->setText(eqMaxText(*st, status_bar_value.eq_max));
    }
    statusLabel5->setText(framed(status_bar_value.connect_state));

    if (local_config_inactive)
        statusLabel6->setText(localConfigHint(language));

    widenLabelsToText(ui->centralwidget);
}

namespace {

// The plot builds the "PEQ Mode:" caption; until it exists there is nothing to show.
void setShown(QWidget* widget, bool shown)
{
    if (widget)
        widget->setVisible(shown);
}

} // namespace

void MainWindow::applyDeviceEqStatus(const StatusTexts& st)
{
    const int code = status_bar_value.device_eq_status;
    statusLabel7->setText(deviceEqText(st, code));
    // A left/right device keeps its channel controls whatever its gain unit,
    // as the EQ state frame and a reconnection read the code.
    const EqStateView view = eqStateView(code);
    switch (view.kind) {
    case EqStateKind::LeftRightOn:
        qDebug() << "status_bar_value.device_eq_status == 129";
        [[fallthrough]];
    case EqStateKind::LeftRightOff:
        setShown(comboBox_PEQMode, true);
        applyChannelModeControls();
        setShown(label_PEQMode, true);
        break;
    case EqStateKind::OneSet:
        // Only the full code 0 is OFF; 64 and the rest keep the mode box as it is.
        if (view.eqOff)
            setShown(comboBox_PEQMode, false);
        setShown(checkBox_channel, false);
        setShown(label_PEQMode, false);
        break;
    }
}

void MainWindow::applyChannelModeControls()
{
    if (comboBox_PEQMode->currentText() != QStringLiteral("L+R")) {
        checkBox_channel->show();
        config_update_ui();
    } else {
        checkBox_channel->setChecked(false);
        config_update_ui();
        checkBox_channel->hide();
    }
}
