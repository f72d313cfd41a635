#include "app/login_item.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <initializer_list>
#include <utility>

namespace login_item {

namespace {

// Each character the table names is replaced by its escape; others are copied.
QString escaped(const QString& s, std::initializer_list<std::pair<QChar, QStringView>> table)
{
    QString out;
    out.reserve(s.size());
    for (QChar c : s) {
        const auto hit = std::find_if(
            table.begin(), table.end(), [c](const auto& entry) { return entry.first == c; });
        if (hit != table.end())
            out += hit->second;
        else
            out += c;
    }
    return out;
}

QString xmlText(const QString& s)
{
    return escaped(s, { { u'&', u"&amp;" }, { u'<', u"&lt;" }, { u'>', u"&gt;" } });
}

// Written whole and then renamed, so a crash never leaves half a file.
bool saveWhole(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return false;
    file.write(bytes);
    return file.commit();
}

// Exec's own quoting: an argument holding a reserved character goes in
// double quotes, inside which ", `, $ and \ take a backslash. A lone % would
// start a field code, so every % is doubled.
QString execArgument(const QString& arg)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    const QString body = escaped(arg,
        { { u'"', u"\\\"" }, { u'`', u"\\`" }, { u'$', u"\\$" }, { u'\\', u"\\\\" },
            { u'%', u"%%" } });
    const bool quote
        = std::any_of(arg.begin(), arg.end(), [](QChar c) { return reserved.contains(c); });
    return quote ? u'"' + body + u'"' : body;
}

// The general escaping of a string value, applied over Exec's quoting: a
// desktop undoes it first, so every backslash of the quoting is doubled again.
QString stringValue(const QString& s)
{
    return escaped(
        s, { { u'\\', u"\\\\" }, { u'\n', u"\\n" }, { u'\t', u"\\t" }, { u'\r', u"\\r" } });
}

} // namespace

QString agentsFolder(const QString& home) { return home + QStringLiteral("/Library/LaunchAgents"); }

QString agentFilePath(const QString& home)
{
    return agentsFolder(home) + QStringLiteral("/com.QuorvelVesk.plist");
}

QString loginUserName()
{
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty())
        user = qEnvironmentVariable("LOGNAME");
    return user;
}

QByteArray agentFileText(const QString& programPath, const QString& userName)
{
    const QString text = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                        "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
                                        "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
                                        "<plist version=\"1.0\">\n"
                                        "<dict>\n"
                                        "    <key>Label</key>\n"
                                        "    <string>com.QuorvelVesk</string>\n"
                                        "    <key>ProgramArguments</key>\n"
                                        "    <array>\n"
                                        "        <string>")
        + xmlText(programPath)
        + QStringLiteral("</string>\n"
                         "        <string>--autostart</string>\n"
                         "    </array>\n"
                         "    <key>RunAtLoad</key>\n"
                         "    <true/>\n"
                         "    <key>KeepAlive</key>\n"
                         "    <false/>\n"
                         "    <key>LimitLoadToSessionType</key>\n"
                         "    <string>Aqua</string>\n"
                         "    <key>ProcessType</key>\n"
                         "    <string>Interactive</string>\n"
                         "    <key>LaunchOnlyOnce</key>\n"
                         "    <true/>\n"
                         "    <key>UserName</key>\n"
                         "    <string>")
        + xmlText(userName)
        + QStringLiteral("</string>\n"
                         "</dict>\n"
                         "</plist>\n");
    return text.toUtf8();
}

bool createAgentsFolder(const QString& home)
{
    qDebug() << "homePath:" << home;
    const QString folder = agentsFolder(home);
    if (QDir(folder).exists()) {
        qDebug() << "LaunchAgents  文件夹（存储自启文件）已经存在";
        return true;
    }
    if (QDir().mkpath(folder)) {
        qDebug() << "LaunchAgents folder created successfully.";
        return true;
    }
    qDebug() << "LaunchAgents folder creation failed.";
    return false;
}

bool writeAgentFile(const QString& home, const QString& programPath, const QString& userName)
{
    const QString path = agentFilePath(home);
    qDebug() << "strListFilePath     = " << path;
    qDebug() << "strApplicationName     = " << programPath;
    if (!saveWhole(path, agentFileText(programPath, userName))) {
        qDebug() << "Failed to create plist file.";
        return false;
    }
    qDebug() << "Plist file created successfully at" << path;
    return true;
}

bool removeAgentFile(const QString& home)
{
    const QString path = agentFilePath(home);
    qDebug() << path;
    const bool removed = QFile::remove(path);
    qDebug() << "strListFilePath     = " << path << (removed ? "删除成功" : "删除失败");
    return removed;
}

QString autostartEntryPath(const QString& home, const QString& xdgConfigHome)
{
    const QString configHome
        = QDir::isAbsolutePath(xdgConfigHome) ? xdgConfigHome : home + QStringLiteral("/.config");
    return QDir::cleanPath(configHome + QStringLiteral("/autostart/QuorvelVesk.desktop"));
}

QByteArray autostartEntryText(const QString& programPath)
{
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=QuorvelVesk\n"
                          "Exec=%1\n"
                          "Terminal=false\n")
        .arg(stringValue(execArgument(programPath) + QStringLiteral(" --autostart")))
        .toUtf8();
}

bool writeAutostartEntry(const QString& home, const QString& programPath)
{
    const QString path = autostartEntryPath(home, qEnvironmentVariable("XDG_CONFIG_HOME"));
    if (!QDir().mkpath(QFileInfo(path).path())) {
        qDebug() << "Autostart folder creation failed:" << QFileInfo(path).path();
        return false;
    }
    if (!saveWhole(path, autostartEntryText(programPath))) {
        qDebug() << "Failed to create autostart entry" << path;
        return false;
    }
    qDebug() << "Autostart entry created at" << path;
    return true;
}

bool removeAutostartEntry(const QString& home)
{
    const QString path = autostartEntryPath(home, qEnvironmentVariable("XDG_CONFIG_HOME"));
    const bool removed = QFile::remove(path);
    qDebug() << "Autostart entry" << path << (removed ? "removed" : "not removed");
    return removed;
}

} // namespace login_item
