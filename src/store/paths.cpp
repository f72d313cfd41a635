#include "store/paths.h"

#include <QCoreApplication>
#include <QDir>

namespace {
QString& overrideDir()
{
    static QString dir;
    return dir;
}
} // namespace

QString appDataDir()
{
    if (!overrideDir().isEmpty())
        return overrideDir();
    return QCoreApplication::applicationDirPath();
}

QString appFilePath(const QString& relative) { return QDir(appDataDir()).filePath(relative); }

void setAppDataDirForTesting(const QString& dir) { overrideDir() = dir; }
