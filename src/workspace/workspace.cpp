#include "workspace/workspace.h"

#include "workspace/workspace_state.h"

// Stand-ins: the preset panel work fills in the panel and these slots; until
// then the main window can already wire to them.

Workspace::Workspace(QWidget* parent) : QWidget(parent)
{
    // The panel's start-up: the edited sets belong to local preset 0 from now on.
    EQ_value_update();
}

void Workspace::Device_Radio_Init() {}

void Workspace::moren_Device_Radio_Config() {}

void Workspace::Device_select_Init(int) {}

void Workspace::shifouzhichi2(QString) {}

void Workspace::Device_Radio_Clear() {}

void Workspace::Device_Config_Save(int) {}

void Workspace::daorutianjia() {}

void Workspace::daorutianjia2() {}
