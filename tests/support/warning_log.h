#pragma once

// Keeps the warnings a test run prints, so a test can fail on one: a
// misspelt slot or object name shows up only as "No matching signal for
// on_..." at run time.

#include <QStringList>
#include <QtGlobal>

namespace testsupport {

inline QStringList& warningLog()
{
    static QStringList log;
    return log;
}

inline QtMessageHandler& previousMessageHandler()
{
    static QtMessageHandler handler = nullptr;
    return handler;
}

inline bool& passDebugLines()
{
    static bool pass = false;
    return pass;
}

// Qt's own note, at every window's tray icon, that the platform cannot tell
// it of a tray that comes up later (offscreen has none ever): the icon is
// shown whether or not a tray exists, and nothing of ours is wrong.
inline bool isPlatformTrayNote(const QString& message)
{
    return message.contains(QLatin1String("systemTrayWindowChanged"));
}

inline void recordWarnings(
    QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if ((type == QtWarningMsg || type == QtCriticalMsg) && !isPlatformTrayNote(message))
        warningLog() << message;
    if ((type != QtDebugMsg || passDebugLines()) && previousMessageHandler())
        previousMessageHandler()(type, context, message);
}

// Installs the recorder in front of the current handler (Qt Test's, once the
// run has started). Debug lines are dropped unless passDebug.
inline void installWarningLog(bool passDebug = false)
{
    passDebugLines() = passDebug;
    previousMessageHandler() = qInstallMessageHandler(recordWarnings);
}

inline void removeWarningLog() { qInstallMessageHandler(previousMessageHandler()); }

} // namespace testsupport
