#pragma once

// Starts a program that outlives this one. The install script goes through
// here so tests can record what would have run instead of running it.

#include <QString>
#include <QStringList>

#include <functional>

namespace process_launcher {

// Returns true when the program started; otherwise false with the reason in
// *errorText.
bool startDetached(const QString& program, const QStringList& arguments, QString* errorText);

using Launcher
    = std::function<bool(const QString& program, const QStringList& arguments, QString* errorText)>;
// An empty launcher restores the real one.
void setLauncherForTesting(Launcher launcher);

} // namespace process_launcher
