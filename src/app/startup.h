#pragma once

#include <QString>

// Creates the working folders beside the executable ("Workspace_Config",
// "Target", "Frequency"), one level each; failures are only logged.
void makeWorkingFolders(const QString& base);

// Loads the embedded font and makes it the application font at 9 pt, unhinted;
// families the style sheets ask for that this machine lacks are drawn in it
// too. False (and a debug line) when the font cannot be loaded.
bool installApplicationFont();
