#include "app/login_item.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace login_item {

namespace {

QString xmlText(const QString& s)
{
    QString out;
    out.reserve(s.size());
    for (QChar c : s) {
        if (c == u'&')
            out += u"&amp;";
        else if (c == u'<')
            out += u"&lt;";
        else if (c == u'>')
            out += u"&gt;";
        else
            out += c;
    }
    return out;
}

}  // namespace

QString agentsFolder(const QString& home)
{
    return home + QStringLiteral("/Library/LaunchAgents");
}

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
    const QString text =
        QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
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
    // Written whole and then renamed, so a crash never leaves half a file.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        qDebug() << "Failed to create plist file.";
        return false;
    }
    file.write(agentFileText(programPath, userName));
    if (!file.commit()) {
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

}  // namespace login_item
