#pragma once

// A fresh program directory for a main window under test, and the device
// and selection globals a window reads while it is built, back at their
// start values.

#include <QTemporaryDir>

#include <memory>

#include "app/mainwindow.h"
#include "app/startup.h"
#include "device/device_state.h"
#include "store/paths.h"
#include "workspace/workspace_state.h"

// Null when no temporary directory could be made.
inline std::unique_ptr<QTemporaryDir> freshWindowDir()
{
    auto dir = std::make_unique<QTemporaryDir>();
    if (!dir->isValid())
        return nullptr;
    setAppDataDirForTesting(dir->path());
    makeWorkingFolders(dir->path());
    status_bar_value = StatusBarInfo {};
    hid_status = 0;
    selectedRadioIndex = 0;
    // A new window restores its channel mode as the first one does, asking nothing.
    one_biaozhi = 0;
    return dir;
}
