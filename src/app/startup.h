#pragma once

#include <QString>

// Creates the working folders beside the executable ("Workspace_Config",
// "Target", "Frequency"), one level each; failures are only logged.
void makeWorkingFolders(const QString& base);
