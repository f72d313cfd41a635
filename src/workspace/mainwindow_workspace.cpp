// The main window's member of the preset workspace: the Save button.

#include "app/mainwindow.h"

#include "store/presets.h"
#include "workspace/workspace_state.h"

// Saves the selected local preset into both preset files, whatever the
// auto-save setting says; a device slot has no object there and changes nothing.
void MainWindow::on_PButton_Set_2_clicked() { savePresetFiles(selectedRadioIndex); }
