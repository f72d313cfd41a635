// The "User Config" slots: selecting a slot, adding one from the edited
// filters (also for imported filters), storing a local preset into a new
// slot, overwriting a slot of the three-slot models, and saving, renaming
// and deleting a slot. The records and frames come from the device-record
// builders; this file only decides when to send them.

#include "workspace/workspace.h"

#include <QDebug>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "device/commands.h"
#include "device/device_state.h"
#include "device/frame_road.h"
#include "dsp/band.h"
#include "editor/editor_state.h"
#include "settings/systemsetting.h"
#include "store/presets.h"
#include "store/shared_state.h"
#include "widgets/customcontrols.h"
#include "widgets/modal_seam.h"
#include "workspace/customdialog.h"
#include "workspace/customradiobuttondevice.h"
#include "workspace/preset_names.h"
#include "workspace/workspace_state.h"
#include "workspace/workspace_style.h"

#include <algorithm>

namespace {

constexpr int kListedSaveDelayMs = 500;

const char* const kNotConnected = "Machine not connected";
const char* const kNotConnectedZh = "设备未连接";
const char* const kMaximum = "The maximum number of configurations has been reached";
const char* const kMaximumZh = "目前已达机子最大支持配置数量";

bool isOneSet() { return test_str == QLatin1String("QAZWS"); }

bool isLeftRight() { return test_str == QLatin1String("ABCD"); }

// Status, type, frequency, gain and Q of all twelve records.
void copyBands(EQ_data* const* from, EQ_config_data& to)
{
    for (int i = 0; i < 12; ++i)
        *to.eq[i] = *from[i];
}

QStringList slotNames(bool right, int count)
{
    QStringList names;
    for (int s = 0; s < count && s < kDevicePresetSlots; ++s)
        names << (right ? deviceSlotR(s) : deviceSlot(s)).config_name;
    return names;
}

} // namespace

// ---- Selecting a slot ----

void Workspace::onDevicePresetToggled(
    bool checked, SlotToggle variant, QAbstractButton* button, const QString& madeWith)
{
    if (!checked || !button)
        return;
    const int index = radioIndexOf(button->objectName());
    const int slot = index - 100;
    if (!isDeviceSlot(slot))
        return;
    const int previous = selectedRadioIndex;
    const int previousConnection = m_selectedConnection;
    moveSelection(index);
    if (previous == index) {
        // The list was rebuilt around the selected slot: nothing is left.
    } else if (auto_save_status && variant == SlotToggle::Listed) {
        QTimer::singleShot(kListedSaveDelayMs, this, [this, previous, previousConnection] {
            saveEditedPreset(previous, [this, previousConnection](int radioIndex) {
                if (previousConnection == m_connection)
                    Device_Config_Save(radioIndex);
            });
        });
    } else {
        saveLeaving(previous);
    }
    pointSetsAt(&deviceSlot(slot), &deviceSlotR(slot));
    frameRoad().send(command::Sa_switch_MCU_config, slot);

    const QString recordName = deviceSlot(slot).config_name;
    const QString& name
        = variant == SlotToggle::Listed || variant == SlotToggle::Factory ? recordName : madeWith;
    const auto three = [&] {
        emit send_ui_biaozhi(slot, name);
        emit send_device_name(name);
        emit send_biaozhi_name(QStringLiteral("yyyy"));
    };
    if (variant == SlotToggle::Factory) {
        if (isLeftRight()) {
            emit send_device_name(name);
            emit send_ui_biaozhi(slot, name);
        }
    } else if (isLeftRight()) {
        three();
    } else if (isOneSet() && variant == SlotToggle::Listed) {
        emit send_biaozhi_name(QStringLiteral("yyyy"));
    } else if (isOneSet() && variant == SlotToggle::StoredFlagged) {
        emit send_device_name_2(QStringLiteral("yyyy"));
    }
    emitDeferred(&Workspace::radio_Change);
}

// ---- Records ----

std::vector<int32_t> Workspace::bufferWords() const
{
    if (isOneSet())
        return { eq_signle_config_u.begin(), eq_signle_config_u.end() };
    if (isLeftRight())
        return { eq_signle_config_u2.begin(), eq_signle_config_u2.end() };
    return {};
}

namespace {
void keepInBuffer(const std::vector<int32_t>& words)
{
    if (words.size() == eq_signle_config_u.size())
        std::copy(words.begin(), words.end(), eq_signle_config_u.begin());
    else if (words.size() == eq_signle_config_u2.size())
        std::copy(words.begin(), words.end(), eq_signle_config_u2.begin());
}
} // namespace

void Workspace::EQ_config_Send_Value_Init(QString name)
{
    const int slot = device_config_count;
    const int right = isLeftRight() ? device_config_count_R : slot;
    if (!isDeviceSlot(slot) || !isDeviceSlot(right))
        return;
    keepInBuffer(packDeviceRecord(recordLayoutOf(test_str), RecordBuilder::Store, name,
        deviceSlot(slot), deviceSlotR(right), Gain_flag));
}

std::vector<int32_t> Workspace::EQ_Device_Config_Save(int index)
{
    const int slot = index >= 100 ? index - 100 : index;
    if (!isDeviceSlot(slot))
        return {};
    const std::vector<int32_t> words
        = packDeviceRecord(recordLayoutOf(test_str), RecordBuilder::Save,
            deviceSlot(slot).config_name, deviceSlot(slot), deviceSlotR(slot), Gain_flag);
    keepInBuffer(words);
    return words;
}

void Workspace::EQ_config_Rename_Value_Init(QString name)
{
    if (isOneSet())
        packRecordName(eq_signle_config_u.data(), name);
    else if (isLeftRight())
        packRecordName(eq_signle_config_u2.data(), name);
}

void Workspace::EQ_config_Send() { frameRoad().send(storeRecordFrames(bufferWords())); }

// ---- Save, rename, delete ----

void Workspace::Device_Config_Save(int index)
{
    const int slot = index - 100;
    if (!isListedUserSlot(slot)) {
        qDebug() << "no listed user slot to save:" << index;
        return;
    }
    const bool staleSelected = index == selectedRadioIndex && m_selectedConnection != m_connection;
    const bool stalePrevious = index == preselectedRadioIndex && index != selectedRadioIndex
        && m_preselectedConnection != m_connection;
    if (staleSelected || stalePrevious) {
        qDebug() << "selection of an earlier connection, not saved:" << index;
        return;
    }
    frameRoad().send(saveSlotFrames(slot, EQ_Device_Config_Save(index)));
}

void Workspace::Device_Radio_Rename(int slot, QString name)
{
    if (!isListedUserSlot(slot))
        return;
    EQ_config_Rename_Value_Init(name);
    const std::vector<int32_t> words = bufferWords();
    frameRoad().send(renameSlotFrames(slot, recordLayoutOf(test_str), words.data()));
}

void Workspace::Device_Index_Change(int slot)
{
    if ((!isOneSet() && !isLeftRight()) || !isListedUserSlot(slot)) {
        qDebug() << "error:" << slot;
        return;
    }
    if (execute_biaozhi && isLeftRight() && device_config_count == 1) {
        qDebug() << "no delete:" << slot;
        return;
    }
    const int count = device_config_count;
    QList<CustomRadioButtonDevice*> later;
    for (int s = slot + 1; s < count; ++s)
        later << deviceButton(s);
    CustomRadioButtonDevice* button = deviceButton(slot);
    device_config_count -= 1;
    device_config_count_R = std::max(0, device_config_count_R - 1);
    ui->verticalLayout_2->removeWidget(button);
    button->dispose();

    // The records of the later slots move down; the deleted ones are reused
    // at the end (the edited sets may point into them).
    std::rotate(Device_CB_data + slot, Device_CB_data + slot + 1, Device_CB_data + count);
    std::rotate(Device_CB_data_R + slot, Device_CB_data_R + slot + 1, Device_CB_data_R + count);
    deviceSlot(count - 1).config_name.clear();
    deviceSlotR(count - 1).config_name.clear();
    for (int s = slot; s < count - 1; ++s) {
        CustomRadioButtonDevice* b = later.at(s - slot);
        if (!b)
            continue;
        b->setObjectName(radioObjectName(100 + s));
        if (execute_biaozhi)
            b->setSlotLabel(s, deviceSlot(s).config_name, true);
    }
    if (isLeftRight())
        emit send_remove_index(slot);
    frameRoad().send(command::Sa_switch_MCU_config, -1);
    frameRoad().send(command::kDeleteSlot, slot);

    const int selected = selectedRadioIndex;
    if (selected > 100 + slot && selected < 100 + count) {
        // The selected slot moved down one place with its record.
        selectedRadioIndex = selected - 1;
        return;
    }
    if (selected != 100 + slot)
        return;
    m_selectedConnection = -1; // the deleted slot is not saved when the selection moves on
    if (device_config_count == 0) {
        for (int k = 0; k < 12; ++k) {
            clearBand(*EQ[k]);
            clearBand(*EQ_R[k]);
        }
        emit device_radio_Change(slot);
        return;
    }
    if (CustomRadioButtonDevice* first = deviceButton(0))
        first->setChecked(true);
}

// ---- New slots: the slot limit, the overwrite road and the name edits ----

bool Workspace::deviceRoadMayStart(int localIndex, bool enableAddAfterChooser)
{
    if (hid_status != 1 || recordLayoutOf(test_str) == RecordLayout::None) {
        remind(kNotConnected, kNotConnectedZh);
        return false;
    }
    const SlotLimit limit = slotLimit(execute_biaozhi, device_config_count, test_str,
        status_bar_value.device_model, factoryListed());
    if (!limit.reached)
        return true;
    if (limit.overwrite) {
        overwriteSlot(localIndex);
        if (enableAddAfterChooser)
            ui->PButton_Add_2->setEnabled(true);
    } else {
        remind(kMaximum, kMaximumZh);
    }
    return false;
}

// The device may have gone, or reached its limit, while the name was typed.
bool Workspace::deviceRoadStillOpen()
{
    if (hid_status != 1 || recordLayoutOf(test_str) == RecordLayout::None) {
        remind(kNotConnected, kNotConnectedZh);
        return false;
    }
    if (slotLimit(execute_biaozhi, device_config_count, test_str, status_bar_value.device_model,
            factoryListed())
            .reached) {
        remind(kMaximum, kMaximumZh);
        return false;
    }
    return true;
}

// Slot k of a full three-slot device takes the edited filters (or, on the
// store road, the chosen local preset) and keeps its name.
void Workspace::overwriteSlot(int localIndex)
{
    dialog->setWindowTitle(QStringLiteral("Quorvel"));
    modal::exec(*dialog);
    const int k = dialog->selectedButton();
    if (k < 0 || k > 2 || k >= device_config_count)
        return;
    const bool local = localIndex >= 0;
    if (local && localIndex >= config_count)
        return;
    copyBands(local ? CB_data[localIndex]->eq : EQ, deviceSlot(k));
    copyBands(local ? CB_data_R[localIndex]->eq : EQ_R, deviceSlotR(k));
    frameRoad().send(command::kOverwriteSlot, k);
    pointSetsAt(&deviceSlot(k), &deviceSlotR(k));
    emitDeferred(&Workspace::radio_Change);
}

void Workspace::openDeviceNameEdit(const char* sheet, void (Workspace::*finish)())
{
    ui->PButton_Add_2->setEnabled(false);
    m_deviceEdit = makeNameEdit(
        QStringLiteral("DevConfig") + QString::number(device_config_count + 1), sheet);
    ui->verticalLayout_2->addWidget(m_deviceEdit);
    connect(m_deviceEdit, &QLineEdit::editingFinished, this, finish);
    m_deviceEdit->show();
    m_deviceEdit->setFocus();
}

void Workspace::on_PButton_Add_2_clicked()
{
    if (m_deviceEdit || !deviceRoadMayStart(-1, true))
        return;
    openDeviceNameEdit(WorkspaceSheet::nameEdit, &Workspace::finishDevicePresetNameEdit);
}

void Workspace::daorutianjia2()
{
    if (m_deviceEdit || !deviceRoadMayStart(-1, true))
        return;
    openDeviceNameEdit(
        WorkspaceSheet::importNameEdit, &Workspace::finishImportDevicePresetNameEdit);
}

void Workspace::Device_Radio_Config_Input(int index)
{
    if (m_deviceEdit || index < 0 || index >= config_count || !deviceRoadMayStart(index, false))
        return;
    m_storeLocalIndex = index;
    openDeviceNameEdit(WorkspaceSheet::nameEdit, &Workspace::finishStoreToDeviceNameEdit);
    emit send_biaozhi_name(QStringLiteral("yyyy"));
}

QString Workspace::distinctDeviceName(const QString& name) const
{
    if (isOneSet())
        return distinctName(name, slotNames(false, device_config_count));
    if (isLeftRight())
        return distinctName(distinctName(name, slotNames(false, kDevicePresetSlots)),
            slotNames(true, kDevicePresetSlots));
    return name;
}

void Workspace::finishDevicePresetNameEdit() { finishDeviceEdit(false); }

void Workspace::finishImportDevicePresetNameEdit() { finishDeviceEdit(true); }

void Workspace::finishDeviceEdit(bool import)
{
    if (!m_deviceEdit)
        return;
    disconnect(m_deviceEdit, nullptr, this, nullptr);
    QString name = m_deviceEdit->text();
    if (name.isEmpty()) {
        name = QStringLiteral("DevConfig") + QString::number(device_config_count + 1);
        m_deviceEdit->setText(name);
    }
    closeNameEdit(m_deviceEdit);
    ui->PButton_Add_2->setEnabled(true);
    if (!deviceRoadStillOpen())
        return;
    name = distinctDeviceName(name);
    const int slot = device_config_count;
    if (!import && isOneSet())
        emit send_biaozhi_name(QStringLiteral("yyyy"));
    else if (!isOneSet())
        emit send_ui_biaozhi2(slot);
    Device_Radio_Config_Add(slot + 100, name);
    if (current_radioButton_Device)
        current_radioButton_Device->toggle();
    EQ_config_Send_Value_Init(name);
    EQ_config_Send();
    device_config_count += 1;
    device_config_count_R += 1;
    if (import)
        emit workspace_finish();
}

void Workspace::finishStoreToDeviceNameEdit()
{
    if (!m_deviceEdit)
        return;
    disconnect(m_deviceEdit, nullptr, this, nullptr);
    QString name = m_deviceEdit->text();
    const int local = m_storeLocalIndex;
    closeNameEdit(m_deviceEdit);
    ui->PButton_Add_2->setEnabled(true);
    if (name.isEmpty() || !deviceRoadStillOpen() || local < 0 || local >= config_count)
        return;
    name = distinctDeviceName(name);
    if (isLeftRight())
        emit send_ui_biaozhi2(device_config_count);
    Radio_Config_Input(local, name);
    if (current_radioButton_Device)
        current_radioButton_Device->toggle();
    device_config_count += 1;
    device_config_count_R += 1;
}

void Workspace::Device_Radio_Config_Add(int index, QString name)
{
    const int slot = index - 100;
    if (!isDeviceSlot(slot))
        return;
    EQ_config_data& left = deviceSlot(slot);
    left.config_name = name;
    copyBands(EQ, left);
    if (isLeftRight()) {
        EQ_config_data& right = deviceSlotR(slot);
        right.config_name = name;
        copyBands(EQ_R, right);
    }
    CustomRadioButtonDevice* button = makeSlotButton(slot, name);
    ui->verticalLayout_2->addWidget(button);
    connectSlotButton(button, SlotToggle::Added, name);
    current_radioButton_Device = button;
}

void Workspace::Radio_Config_Input(int index, QString name)
{
    const int slot = device_config_count;
    if (!isDeviceSlot(slot) || index < 0 || index >= config_count)
        return;
    EQ_config_data& left = deviceSlot(slot);
    EQ_config_data& right = deviceSlotR(slot);
    left.config_name = name;
    right.config_name = name;
    copyBands(CB_data[index]->eq, left);
    copyBands(CB_data_R[index]->eq, right);
    CustomRadioButtonDevice* button = makeSlotButton(slot, name);
    ui->verticalLayout_2->addWidget(button);
    connectSlotButton(
        button, execute_biaozhi ? SlotToggle::StoredFlagged : SlotToggle::Stored, name);
    current_radioButton_Device = button;
    EQ_config_Send_Value_Init(name);
    EQ_config_Send();
}
