#include "settings/process_launcher.h"

#include <QProcess>

namespace process_launcher {

namespace {

process_launcher::Launcher& testLauncher()
{
    static Launcher launcher;
    return launcher;
}

} // namespace

bool startDetached(const QString& program, const QStringList& arguments, QString* errorText)
{
    if (testLauncher())
        return testLauncher()(program, arguments, errorText);
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    if (process.startDetached())
        return true;
    if (errorText)
        *errorText = process.errorString();
    return false;
}

void setLauncherForTesting(Launcher launcher) { testLauncher() = std::move(launcher); }

} // namespace process_launcher
