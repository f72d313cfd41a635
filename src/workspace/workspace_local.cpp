// The "Local Config" list: the local preset buttons, selecting, adding (also
// for imported filters) and deleting a local preset, and the name edits the
// add roads of both lists open.

#include "workspace/workspace.h"

#include <QDebug>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "app/mainwindow.h"
#include "device/commands.h"
#include "device/device_state.h"
#include "device/frame_road.h"
#include "dsp/band.h"
#include "editor/editor_rules.h"
#include "editor/editor_state.h"
#include "settings/systemsetting.h"
#include "store/channel_modes.h"
#include "store/presets.h"
#include "store/shared_state.h"
#include "widgets/customcontrols.h"
#include "workspace/customradiobutton.h"
#include "workspace/preset_names.h"
#include "workspace/workspace_state.h"
#include "workspace/workspace_style.h"

namespace {

QStringList localNames()
{
    QStringList names;
    for (int i = 0; i < config_count && i < kLocalPresetCapacity; ++i)
        names << CB_data[i]->config_name;
    return names;
}

} // namespace

void Workspace::Radio_Config_Add(int index, QString name)
{
    auto* button = new CustomRadioButton(this);
    button->setText(name);
    button->setStyleSheet(qss);
    button->setObjectName(radioObjectName(index));
    button->installEventFilter(this); // arrow keys switch no preset
    ui->verticalLayout->addWidget(button);
    connect(button, &CustomRadioButton::radio_remove, this, &Workspace::Radio_Config_Change);
    connect(button, &CustomRadioButton::Input_Index, this, &Workspace::Device_Radio_Config_Input);
    connect(button, &QAbstractButton::toggled, this, &Workspace::onLocalPresetToggled);
    if (index == 0)
        button->setChecked(true);
    current_radioButton = button;
}

void Workspace::onLocalPresetToggled(bool checked)
{
    auto* button = qobject_cast<QAbstractButton*>(sender());
    if (!checked || !button)
        return;
    const int index = radioIndexOf(button->objectName());
    if (index < 0 || index >= kLocalPresetCapacity)
        return;
    const int previous = selectedRadioIndex;
    moveSelection(index);
    if (previous != index) // at start-up preset 0 is selected again: nothing is left
        saveLeaving(previous);
    pointSetsAt(CB_data[index], CB_data_R[index]);
    frameRoad().send(command::Sa_switch_MCU_config, -1); // no device slot is active
    if (test_str == QLatin1String("QAZWS")) {
        if (getConfig(index) == -1)
            addOrUpdateConfig(index, 0);
        emit send_biaozhi_name(QStringLiteral("xxxx"));
    } else if (test_str == QLatin1String("ABCD") || hid_status == 0) {
        emit send_radio_name(index, CB_data[index]->config_name);
        emit send_radio_name2();
        emit send_ui_biaozhi3(index);
        emit send_biaozhi_name(QStringLiteral("xxxx"));
    }
    emitDeferred(&Workspace::radio_Change);
}

// ---- Name edits ----

CustomLineEdit* Workspace::localNameEdit() const { return m_localEdit; }

CustomLineEdit* Workspace::deviceNameEdit() const { return m_deviceEdit; }

CustomLineEdit* Workspace::makeNameEdit(const QString& text, const char* sheet)
{
    auto* edit = new CustomLineEdit(this);
    edit->setStyleSheet(QString::fromLatin1(sheet));
    QFont f = edit->font();
    f.setPixelSize(static_cast<int>(adjustFontSize() * 13.0));
    edit->setFont(f);
    edit->setText(text);
    edit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(presetNamePattern()), edit));
    edit->setMaxLength(kPresetNameMaxLength);
    edit->setFocusPolicy(Qt::ClickFocus);
    return edit;
}

void Workspace::closeNameEdit(QPointer<CustomLineEdit>& edit)
{
    if (!edit)
        return;
    // Hiding it moves the focus, which would finish the edit a second time.
    disconnect(edit, nullptr, this, nullptr);
    ui->verticalLayout->removeWidget(edit);
    ui->verticalLayout_2->removeWidget(edit);
    edit->hide();
    edit->deleteLater();
    edit = nullptr;
}

// The add and import roads: save the preset being left, then a name edit
// proposing `prefix` + the number of presets.
void Workspace::openLocalNameEdit(const QString& prefix, void (Workspace::*finish)())
{
    if (m_localEdit)
        return; // one name edit at a time
    if (config_count >= kLocalPresetCapacity) {
        remind("The maximum number of configurations has been reached",
            "目前已达机子最大支持配置数量");
        return;
    }
    saveLeaving(selectedRadioIndex);
    ui->PButton_Add->setEnabled(false);
    m_localEdit = makeNameEdit(prefix + QString::number(config_count), WorkspaceSheet::nameEdit);
    ui->verticalLayout->addWidget(m_localEdit);
    connect(m_localEdit, &QLineEdit::editingFinished, this, finish);
    m_localEdit->show();
    m_localEdit->setFocus();
}

void Workspace::on_PButton_Add_clicked()
{
    openLocalNameEdit(QStringLiteral("Config"), &Workspace::finishLocalPresetNameEdit);
}

void Workspace::daorutianjia()
{
    openLocalNameEdit(QStringLiteral("Imported"), &Workspace::finishImportPresetNameEdit);
}

void Workspace::finishLocalPresetNameEdit() { finishLocalEdit(false); }

void Workspace::finishImportPresetNameEdit() { finishLocalEdit(true); }

void Workspace::finishLocalEdit(bool import)
{
    if (!m_localEdit)
        return;
    disconnect(m_localEdit, nullptr, this, nullptr);
    QString name = m_localEdit->text();
    if (name.isEmpty() && import) {
        closeNameEdit(m_localEdit);
        ui->PButton_Add->setEnabled(true);
        return;
    }
    if (name.isEmpty()) {
        name = QStringLiteral("Config") + QString::number(config_count);
        m_localEdit->setText(name);
    }
    closeNameEdit(m_localEdit);
    ui->PButton_Add->setEnabled(true);
    // The files keep names with "&" doubled; the button shows them single.
    name = distinctName(doubledAmpersands(name), localNames());
    const int index = config_count;
    Radio_Config_Add(index, name);
    if (!EQ_config_file_Add(config_count, name)) {
        qDebug() << "local preset not added:" << name;
        ui->verticalLayout->removeWidget(current_radioButton);
        current_radioButton->dispose();
        return;
    }
    EQ_config_file_Add_R(config_count_R, name);
    current_radioButton->toggle();
    if (import)
        emit workspace_finish();
}

// ---- Deleting ----

void Workspace::Radio_Config_Change(int index)
{
    CustomRadioButton* button = nullptr;
    QList<CustomRadioButton*> later;
    for (int i = 1; i < ui->verticalLayout->count(); ++i) {
        auto* b = qobject_cast<CustomRadioButton*>(ui->verticalLayout->itemAt(i)->widget());
        if (!b)
            continue;
        const int at = radioIndexOf(b->objectName());
        if (at == index)
            button = b;
        else if (at > index)
            later << b;
    }
    if (index < 0 || index >= config_count || !button) {
        qDebug() << "error:" << index;
        return;
    }
    // Removing reloads the tables from the files: keep the edits of the
    // selected preset first.
    const int selected = selectedRadioIndex;
    if (selected < config_count)
        savePresetFiles(selected);
    ui->verticalLayout->removeWidget(button);
    button->dispose();
    for (CustomRadioButton* b : later)
        b->setObjectName(radioObjectName(radioIndexOf(b->objectName()) - 1));
    const int oldCount = config_count;
    for (int j = index + 1; j < oldCount; ++j)
        addOrUpdateConfig(j - 1, m_configMap.value(j, 0));
    EQ_config_removeAndReorder(index);
    EQ_config_removeAndReorder_R(index);
    deleteConfig(oldCount - 1);
    // The same-preset test of the channel-mode switch compares these keys: a
    // preset that moved must not pass for the one now under its old number.
    current_name = keyAfterLocalRemoval(current_name, index);
    old_name = keyAfterLocalRemoval(old_name, index);

    if (selected > 99 || selected < index)
        return;
    if (selected > index) {
        // The selected preset moved up one place: the selection and the
        // edited sets follow its record.
        selectedRadioIndex = selected - 1;
        pointSetsAt(CB_data[selected - 1], CB_data_R[selected - 1]);
        emitDeferred(&Workspace::radio_Change2);
        return;
    }
    if (config_count == 0) {
        for (int k = 0; k < 12; ++k) {
            clearBand(*EQ[k]);
            clearBand(*EQ_R[k]);
        }
        emit radio_Change();
        return;
    }
    for (int i = 1; i < ui->verticalLayout->count(); ++i) {
        auto* b = qobject_cast<CustomRadioButton*>(ui->verticalLayout->itemAt(i)->widget());
        if (b && b->objectName() == radioObjectName(0)) {
            b->setChecked(true);
            return;
        }
    }
}
