#include "workspace/customradiobutton.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QMenu>

#include "store/presets.h"
#include "widgets/shared_style.h"
#include "workspace/mydialog.h"
#include "workspace/preset_names.h"

CustomRadioButton* pCurrentRightClickedRadioButton = nullptr;

namespace {

const char* const kLocalMenuSheet
    = QV_MENU_SHEET("width: 90px;high: 50px;padding: 4px 20px 4px 24px;");

QStringList namesOf(EQ_config_data* const* table, int count)
{
    QStringList names;
    for (int i = 0; i < count && i < kLocalPresetCapacity; ++i)
        names << table[i]->config_name;
    return names;
}

} // namespace

CustomRadioButton::CustomRadioButton(QWidget* parent)
    : PresetButton(parent)
    , m_store(makeMenuAction(QStringLiteral("Store to device"), QStringLiteral("导入下位机")))
    , m_rename(makeMenuAction(QStringLiteral("Rename"), QStringLiteral("重命名")))
    , m_delete(makeMenuAction(QStringLiteral("Delete"), QStringLiteral("删除")))
{
    menu()->addAction(m_store);
    menu()->addAction(m_rename);
    menu()->addAction(m_delete);
    connect(m_store, &QAction::triggered, this, &CustomRadioButton::importActionTriggered);
    connect(m_rename, &QAction::triggered, this, &CustomRadioButton::renameActionTriggered);
    connect(m_delete, &QAction::triggered, this, &CustomRadioButton::deleteActionTriggered);
}

void CustomRadioButton::contextMenuEvent(QContextMenuEvent* event)
{
    pCurrentRightClickedRadioButton = this;
    openMenu(event->globalPos(), kLocalMenuSheet);
}

PresetNameDialog* CustomRadioButton::makeNameDialog() { return new MyDialog1(this); }

void CustomRadioButton::importActionTriggered()
{
    emit Input_Index(radioIndexOf(pCurrentRightClickedRadioButton->objectName()));
}

void CustomRadioButton::deleteActionTriggered()
{
    emit radio_remove(radioIndexOf(pCurrentRightClickedRadioButton->objectName()));
}

void CustomRadioButton::renameActionTriggered()
{
    const QString typed = askName();
    if (typed.isEmpty())
        return;
    CustomRadioButton* button = pCurrentRightClickedRadioButton;
    const int index = radioIndexOf(button->objectName());
    if (index < 0 || index >= config_count)
        return;
    // The files keep names with "&" doubled (which a button shows single),
    // so the typed name is doubled before it is compared with them.
    CB_data[index]->config_name.clear();
    CB_data_R[index]->config_name.clear();
    QString name = doubledAmpersands(typed);
    name = distinctName(name, namesOf(CB_data, config_count));
    name = distinctName(name, namesOf(CB_data_R, config_count_R));
    button->setText(name);
    EQ_config_Rename(index, name);
    EQ_config_Rename_R(index, name);
    CB_data[index]->config_name = name;
    CB_data_R[index]->config_name = name;
}
