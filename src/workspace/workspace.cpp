#include "workspace/workspace.h"

// Stand-ins: the preset panel work fills in the panel and these slots; until
// then the main window can already wire to them.

Workspace::Workspace(QWidget* parent) : QWidget(parent) {}

void Workspace::Device_Radio_Init() {}

void Workspace::moren_Device_Radio_Config() {}

void Workspace::Device_select_Init(int) {}

void Workspace::shifouzhichi2(QString) {}

void Workspace::Device_Radio_Clear() {}

void Workspace::Device_Config_Save(int) {}

void Workspace::daorutianjia() {}

void Workspace::daorutianjia2() {}
