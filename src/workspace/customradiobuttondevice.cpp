#include "workspace/customradiobuttondevice.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QMenu>

#include "device/device_state.h"
#include "device/preset_records.h"
#include "store/presets.h"
#include "store/shared_state.h"
#include "widgets/shared_style.h"
#include "workspace/mydialog.h"
#include "workspace/preset_names.h"
#include "workspace/workspace_state.h"

CustomRadioButtonDevice* currentRightClickedRadioButton = nullptr;

namespace {

const char* const kDeviceMenuSheet
    = QV_MENU_SHEET("width: 50px;high: 50px;padding: 4px 24px 4px 24px;");

QStringList namesOf(EQ_config_data* const* table, int count)
{
    QStringList names;
    for (int i = 0; i < count && i < kDevicePresetSlots; ++i)
        names << (table[i] ? table[i]->config_name : QString());
    return names;
}

} // namespace

CustomRadioButtonDevice::CustomRadioButtonDevice(QWidget* parent)
    : PresetButton(parent)
    , m_save(makeMenuAction(QStringLiteral("Save"), QStringLiteral("保存")))
    , m_rename(makeMenuAction(QStringLiteral("Rename"), QStringLiteral("重命名")))
    , m_delete(makeMenuAction(QStringLiteral("Delete"), QStringLiteral("删除")))
{
    menu()->addAction(m_rename);
    connect(m_rename, &QAction::triggered, this, &CustomRadioButtonDevice::renameActionTriggered);
    // The three-slot models keep their three slots: no "Delete".
    if (!Ostra2_Sign && !Mirel1_Sign) {
        menu()->addAction(m_delete);
        connect(
            m_delete, &QAction::triggered, this, &CustomRadioButtonDevice::deleteActionTriggered);
    }
    QFont f = font();
    f.setPixelSize(16);
    setFont(f);
}

void CustomRadioButtonDevice::setSlotLabel(int slot, const QString& name, bool numbered)
{
    if (!numbered) {
        setText(doubledAmpersands(name));
        return;
    }
    const QFontMetrics metrics(font());
    setText(numberedSlotText(
        slot + 1, name, [&metrics](const QString& t) { return metrics.horizontalAdvance(t); }));
    setToolTip(name);
}

void CustomRadioButtonDevice::contextMenuEvent(QContextMenuEvent* event)
{
    if (!isChecked())
        return;
    currentRightClickedRadioButton = this;
    openMenu(event->globalPos(), kDeviceMenuSheet);
}

PresetNameDialog* CustomRadioButtonDevice::makeNameDialog() { return new MyDialog2(this); }

void CustomRadioButtonDevice::saveActionTriggered()
{
    emit Save_Index(radioIndexOf(currentRightClickedRadioButton->objectName()));
}

// The workspace checks the slot and lowers the slot counts only when the
// deletion takes place.
void CustomRadioButtonDevice::deleteActionTriggered()
{
    emit radio_remove(radioIndexOf(currentRightClickedRadioButton->objectName()) - 100);
}

// Slot records hold names as the device knows them (single "&"); only the
// button text doubles them.
void CustomRadioButtonDevice::renameActionTriggered()
{
    const QString typed = askName();
    CustomRadioButtonDevice* button = currentRightClickedRadioButton;
    const int slot = radioIndexOf(button->objectName()) - 100;
    const bool oneSet = test_str == QLatin1String("QAZWS");
    const bool leftRight = test_str == QLatin1String("ABCD");
    if (typed.isEmpty() || !isDeviceSlot(slot) || (!oneSet && !leftRight))
        return;
    EQ_config_data& left = deviceSlot(slot);
    EQ_config_data& right = deviceSlotR(slot);
    left.config_name.clear();
    right.config_name.clear();
    QString name = typed;
    if (oneSet) {
        name = distinctName(name, namesOf(Device_CB_data, device_config_count));
    } else {
        name = distinctName(name, namesOf(Device_CB_data, kDevicePresetSlots));
        name = distinctName(name, namesOf(Device_CB_data_R, kDevicePresetSlots));
        right.config_name = name;
    }
    left.config_name = name;
    button->setSlotLabel(slot, name, execute_biaozhi);
    emit device_radio_rename(slot, name);
}
