#pragma once

// The button of a device slot: a radio button whose menu ("Rename",
// "Delete"; only "Rename" on the three-slot models) opens only while it is
// checked. Renaming runs here up to the new label and hands the slot and
// the name to the workspace, which tells the device.

#include <QString>

#include "workspace/presetbutton.h"

class QAction;

class CustomRadioButtonDevice : public PresetButton
{
    Q_OBJECT

public:
    explicit CustomRadioButtonDevice(QWidget* parent = nullptr);

    // Text (and, in the numbered style, tooltip) of slot `slot` named `name`:
    // "EQ" + number + ":" + name cut to 185 pixels when numbered, else the
    // name; either way the button shows the name as given.
    void setSlotLabel(int slot, const QString& name, bool numbered);

signals:
    void radio_remove(int index); // "Delete": the slot
    void device_radio_rename(int index, QString configname);
    void Save_Index(int index);
    void Input_Index(int index); // declared for the interface; never emitted

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private slots:
    void saveActionTriggered();
    void renameActionTriggered();
    void deleteActionTriggered();

private:
    PresetNameDialog* makeNameDialog() override;

    QAction* m_save; // made and translated, never placed in the menu
    QAction* m_rename;
    QAction* m_delete;
};

// The device button whose menu was opened last; its menu's actions read it.
extern CustomRadioButtonDevice* currentRightClickedRadioButton;
