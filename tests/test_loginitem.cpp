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

}  // namespace

class TestLoginItem : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    QByteArray savedHome, savedUser, savedLogname;
    bool hadUser = false, hadLogname = false;

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
    }
    void cleanupTestCase()
    {
        qputenv("HOME", savedHome);
        setEnv("USER", savedUser, hadUser);
        setEnv("LOGNAME", savedLogname, hadLogname);
    }

    void exactFile_data()
    {
        QTest::addColumn<bool>("userSet");
        QTest::addColumn<QByteArray>("user");
        QTest::addColumn<bool>("lognameSet");
        QTest::addColumn<QByteArray>("logname");
        QTest::addColumn<QByteArray>("expectedUser");
        QTest::newRow("USER wins") << true << QByteArray("alice") << true << QByteArray("bob") << QByteArray("alice");
        QTest::newRow("USER empty") << true << QByteArray() << true << QByteArray("bob") << QByteArray("bob");
        QTest::newRow("USER unset") << false << QByteArray() << true << QByteArray("bob") << QByteArray("bob");
        QTest::newRow("both unset") << false << QByteArray() << false << QByteArray() << QByteArray();
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
        QVERIFY(login_item::createAgentsFolder(QDir::homePath()));  // exists: still true

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
        QCOMPARE(doc, expectedFile("/Apps/R&amp;D &lt;test&gt;/QuorvelVesk",
                                   "Tom &amp; Jerry&lt;/string&gt;&lt;string&gt;x"));
        const QStringList strings = plistStrings(doc);
        QCOMPARE(strings, (QStringList{"com.QuorvelVesk", program, "--autostart", "Aqua", "Interactive", user}));
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
    }
};

QTEST_GUILESS_MAIN(TestLoginItem)
#include "test_loginitem.moc"
