#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

#include "app/login_item.h"

namespace {

QByteArray expectedFile(const QByteArray& program, const QByteArray& user)
{
    const QList<QByteArray> lines = {
        R"(<?xml version="1.0" encoding="UTF-8"?>)",
        R"(<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">)",
        R"(<plist version="1.0">)",
        "<dict>",
        "    <key>Label</key>",
        "    <string>com.QuorvelVesk</string>",
        "    <key>ProgramArguments</key>",
        "    <array>",
        "        <string>" + program + "</string>",
        "        <string>--autostart</string>",
        "    </array>",
        "    <key>RunAtLoad</key>",
        "    <true/>",
        "    <key>KeepAlive</key>",
        "    <false/>",
        "    <key>LimitLoadToSessionType</key>",
        "    <string>Aqua</string>",
        "    <key>ProcessType</key>",
        "    <string>Interactive</string>",
        "    <key>LaunchOnlyOnce</key>",
        "    <true/>",
        "    <key>UserName</key>",
        "    <string>" + user + "</string>",
        "</dict>",
        "</plist>",
    };
    Q_ASSERT(lines.size() == 25);
    QByteArray out;
    for (const QByteArray& l : lines)
        out += l + '\n';
    return out;
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

// The string values of the property list, in document order.
QStringList plistStrings(const QByteArray& doc)
{
    QStringList out;
    QXmlStreamReader xml(doc);
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"string")
            out << xml.readElementText();
    }
    if (xml.hasError())
        out << QStringLiteral("XML ERROR: ") + xml.errorString();
    return out;
}

QByteArray expectedEntry(const QByteArray& execValue)
{
    return "[Desktop Entry]\nType=Application\nName=QuorvelVesk\nExec=" + execValue
        + "\nTerminal=false\n";
}

// The command line a desktop runs for an entry: the Exec value with the
// string escapes undone, then split into arguments by Exec's own quoting
// (double quotes; inside them \ before ", `, $ and \; %% for %). Anything the
// rules do not allow comes back as an "ERROR" argument.
QStringList execArguments(const QByteArray& entry)
{
    QString value;
    bool found = false;
    for (const QString& line : QString::fromUtf8(entry).split(u'\n')) {
        if (line.startsWith(u"Exec=")) {
            if (found)
                return { "ERROR: two Exec keys" };
            value = line.mid(5);
            found = true;
        }
    }
    if (!found)
        return { "ERROR: no Exec key" };

    QString unescaped;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] != u'\\') {
            unescaped += value[i];
            continue;
        }
        ++i;
        const QChar next = i < value.size() ? value[i] : QChar();
        if (next == u's')
            unescaped += u' ';
        else if (next == u'n')
            unescaped += u'\n';
        else if (next == u't')
            unescaped += u'\t';
        else if (next == u'r')
            unescaped += u'\r';
        else if (next == u'\\')
            unescaped += u'\\';
        else
            return { "ERROR: string escape \\" + QString(next) };
    }

    QStringList args;
    QString arg;
    bool inArg = false, quoted = false;
    for (qsizetype i = 0; i < unescaped.size(); ++i) {
        const QChar c = unescaped[i];
        if (c == u'%') {
            if (i + 1 >= unescaped.size() || unescaped[i + 1] != u'%')
                return { "ERROR: field code" };
            arg += u'%';
            inArg = true;
            ++i;
        } else if (quoted) {
            if (c == u'"') {
                quoted = false;
            } else if (c == u'\\') {
                ++i;
                const QChar next = i < unescaped.size() ? unescaped[i] : QChar();
                if (next != u'"' && next != u'`' && next != u'$' && next != u'\\')
                    return { "ERROR: quoted escape \\" + QString(next) };
                arg += next;
            } else {
                arg += c;
            }
        } else if (c == u' ') {
            if (inArg)
                args << arg;
            arg.clear();
            inArg = false;
        } else if (c == u'"') {
            if (inArg)
                return { "ERROR: quote inside an argument" };
            quoted = inArg = true;
        } else if (QStringLiteral("\t\n\"'\\><~|&;$*?#()`").contains(c)) {
            return { "ERROR: reserved character outside quotes" };
        } else {
            arg += c;
            inArg = true;
        }
    }
    if (quoted)
        return { "ERROR: unclosed quote" };
    if (inArg)
        args << arg;
    return args;
}

} // namespace

class TestLoginItem : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    QByteArray savedHome, savedUser, savedLogname, savedXdg;
    bool hadUser = false, hadLogname = false, hadXdg = false;

    void setEnv(const char* name, const QByteArray& value, bool set)
    {
        if (set)
            qputenv(name, value);
        else
            qunsetenv(name);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        savedHome = qgetenv("HOME");
        hadUser = qEnvironmentVariableIsSet("USER");
        hadLogname = qEnvironmentVariableIsSet("LOGNAME");
        savedUser = qgetenv("USER");
        savedLogname = qgetenv("LOGNAME");
        hadXdg = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
        savedXdg = qgetenv("XDG_CONFIG_HOME");
    }
    void cleanupTestCase()
    {
        qputenv("HOME", savedHome);
        setEnv("USER", savedUser, hadUser);
        setEnv("LOGNAME", savedLogname, hadLogname);
        setEnv("XDG_CONFIG_HOME", savedXdg, hadXdg);
    }

    void exactFile_data()
    {
        QTest::addColumn<bool>("userSet");
        QTest::addColumn<QByteArray>("user");
        QTest::addColumn<bool>("lognameSet");
        QTest::addColumn<QByteArray>("logname");
        QTest::addColumn<QByteArray>("expectedUser");
        QTest::newRow("USER wins")
            << true << QByteArray("alice") << true << QByteArray("bob") << QByteArray("alice");
        QTest::newRow("USER empty")
            << true << QByteArray() << true << QByteArray("bob") << QByteArray("bob");
        QTest::newRow("USER unset")
            << false << QByteArray() << true << QByteArray("bob") << QByteArray("bob");
        QTest::newRow("both unset")
            << false << QByteArray() << false << QByteArray() << QByteArray();
        QTest::newRow("escaped") << true << QByteArray("R&D <dev>") << false << QByteArray()
                                 << QByteArray("R&amp;D &lt;dev&gt;");
    }
    void exactFile()
    {
        QFETCH(bool, userSet);
        QFETCH(QByteArray, user);
        QFETCH(bool, lognameSet);
        QFETCH(QByteArray, logname);
        QFETCH(QByteArray, expectedUser);

        // A fresh home without Library: the folder is made with its parents.
        const QString home = dir.path() + "/" + QTest::currentDataTag();
        QVERIFY(QDir().mkpath(home));
        qputenv("HOME", QFile::encodeName(home));
        setEnv("USER", user, userSet);
        setEnv("LOGNAME", logname, lognameSet);

        QVERIFY(!QDir(home + "/Library").exists());
        QVERIFY(login_item::createAgentsFolder(QDir::homePath()));
        QVERIFY(QDir(home + "/Library/LaunchAgents").exists());
        QVERIFY(login_item::createAgentsFolder(QDir::homePath())); // exists: still true

        const QString program = "/opt/Q V/bin/QuorvelVesk";
        QVERIFY(login_item::writeAgentFile(QDir::homePath(), program, login_item::loginUserName()));
        const QString file = home + "/Library/LaunchAgents/com.QuorvelVesk.plist";
        QCOMPARE(login_item::agentFilePath(QDir::homePath()), file);
        QCOMPARE(readAll(file), expectedFile(program.toUtf8(), expectedUser));
    }

    void escapedValuesReadBack()
    {
        const QString program = "/Apps/R&D <test>/QuorvelVesk";
        const QString user = "Tom & Jerry</string><string>x";
        const QByteArray doc = login_item::agentFileText(program, user);
        QCOMPARE(doc,
            expectedFile("/Apps/R&amp;D &lt;test&gt;/QuorvelVesk",
                "Tom &amp; Jerry&lt;/string&gt;&lt;string&gt;x"));
        const QStringList strings = plistStrings(doc);
        QCOMPARE(strings,
            (QStringList {
                "com.QuorvelVesk", program, "--autostart", "Aqua", "Interactive", user }));
    }

    void rewriteReplacesWholeFile()
    {
        const QString home = dir.path() + "/rewrite";
        QVERIFY(login_item::createAgentsFolder(home));
        const QString file = login_item::agentFilePath(home);
        {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(4000, 'x'));
        }
        QVERIFY(login_item::writeAgentFile(home, "/a/QuorvelVesk", "u"));
        QCOMPARE(readAll(file), expectedFile("/a/QuorvelVesk", "u"));
    }

    void removal()
    {
        const QString home = dir.path() + "/remove";
        QVERIFY(login_item::createAgentsFolder(home));
        QVERIFY(login_item::writeAgentFile(home, "/a/QuorvelVesk", "u"));
        QVERIFY(QFile::exists(login_item::agentFilePath(home)));

        QTest::ignoreMessage(QtDebugMsg, QRegularExpression("删除成功"));
        QVERIFY(login_item::removeAgentFile(home));
        QVERIFY(!QFile::exists(login_item::agentFilePath(home)));
        QVERIFY(QDir(login_item::agentsFolder(home)).exists());

        // No file: reported as a failure, nothing else happens.
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression("删除失败"));
        QVERIFY(!login_item::removeAgentFile(home));
    }

    // The Exec value as written, and the program path a desktop reads back.
    void autostartEntry_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QByteArray>("exec");
        QTest::newRow("plain") << "/opt/qv/QuorvelVesk"
                               << QByteArray("/opt/qv/QuorvelVesk --autostart");
        QTest::newRow("spaces") << "/opt/Q V/QuorvelVesk"
                                << QByteArray(R"("/opt/Q V/QuorvelVesk" --autostart)");
        QTest::newRow("percent, nothing reserved")
            << "/opt/100%/QuorvelVesk" << QByteArray("/opt/100%%/QuorvelVesk --autostart");
        QTest::newRow("space, quotes, $, %, backslash")
            << R"(/home/a b/"q"/$HOME/50%/back\slash/QuorvelVesk)"
            << QByteArray(
                   R"("/home/a b/\\"q\\"/\\$HOME/50%%/back\\\\slash/QuorvelVesk" --autostart)");
        QTest::newRow("backtick, apostrophe, shell signs")
            << "/opt/it's/`x`/a&b;c|d/(e)*?#~<>/QuorvelVesk"
            << QByteArray("\"/opt/it's/\\\\`x\\\\`/a&b;c|d/(e)*?#~<>/QuorvelVesk\" --autostart");
        QTest::newRow("tab, newline, return")
            << "/opt/a\tb\nc\rd/QuorvelVesk"
            << QByteArray(R"("/opt/a\tb\nc\rd/QuorvelVesk" --autostart)");
        QTest::newRow("not ASCII")
            << "/opt/均衡器/QuorvelVesk" << QString("/opt/均衡器/QuorvelVesk --autostart").toUtf8();
    }
    void autostartEntry()
    {
        QFETCH(QString, program);
        QFETCH(QByteArray, exec);
        const QByteArray entry = login_item::autostartEntryText(program);
        QCOMPARE(entry, expectedEntry(exec));
        QCOMPARE(execArguments(entry), (QStringList { program, "--autostart" }));
    }

    void autostartEntryPath_data()
    {
        QTest::addColumn<QString>("xdg");
        QTest::addColumn<QString>("expected");
        QTest::newRow("empty") << QString() << "/home/u/.config/autostart/QuorvelVesk.desktop";
        QTest::newRow("relative") << "cfg"
                                  << "/home/u/.config/autostart/QuorvelVesk.desktop";
        QTest::newRow("absolute") << "/x/cfg"
                                  << "/x/cfg/autostart/QuorvelVesk.desktop";
        QTest::newRow("trailing slash") << "/x/cfg/"
                                        << "/x/cfg/autostart/QuorvelVesk.desktop";
    }
    void autostartEntryPath()
    {
        QFETCH(QString, xdg);
        QFETCH(QString, expected);
        QCOMPARE(login_item::autostartEntryPath("/home/u", xdg), expected);
    }

    // Written where XDG_CONFIG_HOME says, its folders made, a longer old
    // entry replaced whole; removed again, and a second removal only fails.
    void autostartWriteAndRemove_data()
    {
        QTest::addColumn<bool>("xdgSet");
        QTest::addColumn<QString>("xdg"); // an absolute one lies under the test's home
        QTest::addColumn<QString>("folder");
        QTest::newRow("unset") << false << QString() << ".config/autostart";
        QTest::newRow("empty") << true << QString() << ".config/autostart";
        QTest::newRow("relative") << true << "rel"
                                  << ".config/autostart";
        QTest::newRow("absolute") << true << "/deep/config"
                                  << "deep/config/autostart";
    }
    void autostartWriteAndRemove()
    {
        QFETCH(bool, xdgSet);
        QFETCH(QString, xdg);
        QFETCH(QString, folder);
        const QString home = dir.path() + "/xdg-" + QTest::currentDataTag();
        QVERIFY(QDir().mkpath(home));
        setEnv(
            "XDG_CONFIG_HOME", QFile::encodeName(xdg.startsWith(u'/') ? home + xdg : xdg), xdgSet);
        const QString file = home + "/" + folder + "/QuorvelVesk.desktop";

        QVERIFY(login_item::writeAutostartEntry(home, "/opt/Q V/QuorvelVesk"));
        QCOMPARE(readAll(file), expectedEntry(R"("/opt/Q V/QuorvelVesk" --autostart)"));
        {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(4000, 'x'));
        }
        QVERIFY(login_item::writeAutostartEntry(home, "/a/QuorvelVesk"));
        QCOMPARE(readAll(file), expectedEntry("/a/QuorvelVesk --autostart"));
        QCOMPARE(QDir(home + "/" + folder).entryList(QDir::Files),
            QStringList { "QuorvelVesk.desktop" });

        QVERIFY(login_item::removeAutostartEntry(home));
        QVERIFY(!QFileInfo::exists(file));
        QVERIFY(!login_item::removeAutostartEntry(home));
    }

    void unwritableFolder()
    {
        // "Library" is a plain file, so the folder cannot be made.
        const QString home = dir.path() + "/blocked";
        QVERIFY(QDir().mkpath(home));
        QFile blocker(home + "/Library");
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        QTest::ignoreMessage(QtDebugMsg, "LaunchAgents folder creation failed.");
        QVERIFY(!login_item::createAgentsFolder(home));
        QTest::ignoreMessage(QtDebugMsg, "Failed to create plist file.");
        QVERIFY(!login_item::writeAgentFile(home, "/a/QuorvelVesk", "u"));

        // The same for the autostart entry under a config home that is a file.
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home + "/Library"));
        QVERIFY(!login_item::writeAutostartEntry(home, "/a/QuorvelVesk"));
        qunsetenv("XDG_CONFIG_HOME");
    }
};

QTEST_GUILESS_MAIN(TestLoginItem)
#include "test_loginitem.moc"
