#pragma once

#include <QString>

// Every file the program keeps lives beside its executable. All paths are
// built from this one directory so tests can point it at a temporary one.
QString appDataDir();
QString appFilePath(const QString& relative);
void setAppDataDirForTesting(const QString& dir); // empty string restores the default
