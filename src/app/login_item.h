#pragma once

#include <QByteArray>
#include <QString>

// Start at login: a launchd user agent, i.e. a property-list file in the
// user's Library/LaunchAgents folder, and beside it the freedesktop autostart
// entry that a Linux desktop reads. The program only writes or deletes the
// files; it never loads them into a session. Every failure is a debug line only.
namespace login_item {

QString agentsFolder(const QString& home); // home + "/Library/LaunchAgents"
QString agentFilePath(const QString& home); // agentsFolder + "/com.QuorvelVesk.plist"

// USER, or LOGNAME when USER is empty; empty when both are.
QString loginUserName();

// The 25 lines of the agent file. The program path and the user name are
// escaped as XML text so an odd name cannot break the document.
QByteArray agentFileText(const QString& programPath, const QString& userName);

// Makes the agents folder with its missing parents; true when it exists afterwards.
bool createAgentsFolder(const QString& home);

// Replaces the agent file as a whole; true when it was written.
bool writeAgentFile(const QString& home, const QString& programPath, const QString& userName);

// True when the file was removed (false also when there was none).
bool removeAgentFile(const QString& home);

// xdgConfigHome + "/autostart/QuorvelVesk.desktop"; an empty or relative
// xdgConfigHome stands for home + "/.config", as the base-directory rules say.
QString autostartEntryPath(const QString& home, const QString& xdgConfigHome);

// The desktop entry that starts programPath with "--autostart": the path is
// quoted for Exec and escaped as a string value, so any path reads back whole.
QByteArray autostartEntryText(const QString& programPath);

// Both take XDG_CONFIG_HOME from the environment. Writing makes the autostart
// folder with its parents and replaces the entry as a whole; true when written.
bool writeAutostartEntry(const QString& home, const QString& programPath);
// True when the entry was removed (false also when there was none).
bool removeAutostartEntry(const QString& home);

} // namespace login_item
