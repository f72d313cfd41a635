#pragma once

// The button of a local preset: a radio button with the menu "Store to
// device", "Rename", "Delete". Renaming runs here up to the preset files;
// the other entries hand the local index to the workspace.

#include "workspace/presetbutton.h"

class QAction;

class CustomRadioButton : public PresetButton
{
    Q_OBJECT

public:
    explicit CustomRadioButton(QWidget* parent = nullptr);

signals:
    void Input_Index(int index); // "Store to device"
    void radio_remove(int index); // "Delete"

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private slots:
    void importActionTriggered();
    void renameActionTriggered();
    void deleteActionTriggered();

private:
    PresetNameDialog* makeNameDialog() override;

    QAction* m_store;
    QAction* m_rename;
    QAction* m_delete;
};

// The local button whose menu was opened last; its menu's actions read it.
extern CustomRadioButton* pCurrentRightClickedRadioButton;
