// Start-up and the single-instance rule: the built program run as a process
// (copied into a temporary directory, the simulated device preloaded), and
// the single-instance server in this process.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <algorithm>
#include <fstream>
#include <memory>
#include <string>

#include "app/single_instance.h"
#include "deadlines.h"

namespace {

using testsupport::kProgramDeadlineMs;

// Shared libraries this test runs with that a preloaded library needs ahead
// of it (the sanitizer runtimes of a sanitized build).
QStringList sanitizerRuntimes()
{
    QStringList libs;
    std::ifstream maps("/proc/self/maps"); // a proc file: read it as a stream
    std::string line;
    while (std::getline(maps, line)) {
        const auto slash = line.find('/');
        if (slash == std::string::npos)
            continue;
        const QString path = QString::fromStdString(line.substr(slash));
        const QString name = QFileInfo(path).fileName();
        if ((name.startsWith("libasan.so") || name.startsWith("libubsan.so"))
            && !libs.contains(path))
            libs << path;
    }
    // The address sanitizer's runtime must come first of all.
    std::stable_sort(libs.begin(), libs.end(), [](const QString& a, const QString& b) {
        return a.contains("libasan") && !b.contains("libasan");
    });
    return libs;
}

// Everything the process has written to stderr so far.
QByteArray log(QProcess& p)
{
    const QByteArray all = p.property("log").toByteArray() + p.readAllStandardError();
    p.setProperty("log", all);
    return all;
}

// True while something accepts connections on the name.
bool answering(const QString& name = single_instance::kServerName)
{
    QLocalSocket probe;
    probe.connectToServer(name);
    const bool up = probe.waitForConnected(500);
    probe.abort();
    return up;
}

bool send(const QByteArray& message, const QString& name = single_instance::kServerName)
{
    QLocalSocket client;
    client.connectToServer(name);
    if (!client.waitForConnected(2000))
        return false;
    client.write(message);
    client.waitForBytesWritten(2000);
    client.disconnectFromServer();
    return true;
}

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;
    QString program;

    // Starts the program; it runs unless its state says otherwise. `extra`
    // adds to its environment or overrides it.
    std::unique_ptr<QProcess> start(const QProcessEnvironment& extra = {})
    {
        auto p = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        QStringList preload = sanitizerRuntimes();
        preload << SIMHID_PRELOAD_PATH;
        env.insert("LD_PRELOAD", preload.join(' '));
        env.insert("ASAN_OPTIONS", "detect_leaks=0");
        env.insert("QT_FORCE_STDERR_LOGGING", "1");
        if (!env.contains("QT_QPA_PLATFORM"))
            env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert(extra);
        p->setProcessEnvironment(env);
        p->setWorkingDirectory(dir->path());
        p->start(program, {});
        p->waitForStarted(kProgramDeadlineMs);
        return p;
    }

    static bool waitListening()
    {
        QDeadlineTimer deadline(kProgramDeadlineMs);
        while (!deadline.hasExpired()) {
            if (answering())
                return true;
            QTest::qWait(100);
        }
        return false;
    }

    static void expectCleanExit(QProcess& p)
    {
        QVERIFY2(p.waitForFinished(kProgramDeadlineMs), log(p).right(2000).constData());
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QCOMPARE(p.exitCode(), 0);
    }

private slots:
    void init()
    {
        QVERIFY2(!answering(), "an instance is still listening");
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
        program = dir->filePath("QuorvelVesk");
        QVERIFY(QFile::copy(PROGRAM_PATH, program));
    }

    void secondStartMakesTheFirstQuit()
    {
        auto first = start();
        QVERIFY2(waitListening(), log(*first).right(2000).constData());
        auto second = start();
        QCOMPARE(second->state(), QProcess::Running);
        expectCleanExit(*first);
        QVERIFY(log(*first).contains("load font"));

        // The newer instance takes over the name.
        QVERIFY2(waitListening(), log(*second).right(2000).constData());
        QCOMPARE(second->state(), QProcess::Running);
        QVERIFY(QFile::exists(dir->filePath("EQ_systemsetting_file.QVconfig")));
        QVERIFY(send("exit"));
        expectCleanExit(*second);
    }

    void onlyTheExactWordEndsTheInstance()
    {
        auto p = start();
        QVERIFY(waitListening());
        for (const QByteArray& text : { QByteArray("exit\n"), QByteArray("EXIT"),
                 QByteArray("Exit"), QByteArray("hello"), QByteArray(), QByteArray("Activate") })
            QVERIFY(send(text));
        QTest::qWait(500);
        QCOMPARE(p->state(), QProcess::Running);
        QVERIFY(answering());
        QVERIFY(send("exit"));
        expectCleanExit(*p);
    }

    // The old instance rewrites its files in its quit hook; the new one must
    // not read them before the old one has stopped listening.
    void newStartWaitsForTheOldInstanceToGo()
    {
        QLocalServer old;
        QLocalServer::removeServer(single_instance::kServerName);
        QVERIFY(old.listen(single_instance::kServerName));
        QByteArray received;
        connect(&old, &QLocalServer::newConnection, this, [&] {
            while (QLocalSocket* s = old.nextPendingConnection())
                connect(
                    s, &QLocalSocket::readyRead, s, [&received, s] { received += s->readAll(); });
        });

        auto p = start();
        QTRY_COMPARE_WITH_TIMEOUT(received, QByteArray("exit"), kProgramDeadlineMs);
        QTest::qWait(1500); // the old instance is still saving
        QVERIFY(!log(*p).contains("load font"));

        old.close();
        QTRY_VERIFY_WITH_TIMEOUT(log(*p).contains("load font"), kProgramDeadlineMs);
        QVERIFY(waitListening());
        QVERIFY(send("exit"));
        expectCleanExit(*p);
    }

    // The start-up check fails (nothing listens on the port) and opens the
    // update window, which only hides on a close; the system's quit still
    // ends the program through its quit hook.
    void sigtermWithTheUpdateWindowOpen()
    {
        QTcpServer closed;
        QVERIFY(closed.listen(QHostAddress::LocalHost));
        const quint16 port = closed.serverPort();
        closed.close();
        QProcessEnvironment env;
        env.insert("QV_UPDATE_BASE_URL", QStringLiteral("http://127.0.0.1:%1").arg(port));
        auto p = start(env);
        QTRY_VERIFY2_WITH_TIMEOUT(log(*p).contains("replyFinished  失败"),
            log(*p).right(2000).constData(), kProgramDeadlineMs);

        // The quit hook writes the settings and the selected preset back.
        const QString settings = dir->filePath("EQ_systemsetting_file.QVconfig");
        const QString presets = dir->filePath("Workspace_Config/EQ_config.QVconfig");
        QVERIFY(QFile::remove(settings));
        QVERIFY(QFile::remove(presets));
        p->terminate();
        expectCleanExit(*p);
        QVERIFY(log(*p).contains("system quit requested"));
        QVERIFY(QFile::exists(settings));
        QVERIFY(QFile::exists(presets));
    }

    // ---- the server in this process ----

    void activateRaisesTheWindow()
    {
        const QString name = "QuorvelVeskTest-activate";
        QWidget window;
        window.showMinimized();
        QVERIFY(window.isMinimized());
        single_instance::Server server(&window);
        QVERIFY(server.listen(name));

        QVERIFY(send("Activate\n", name));
        QVERIFY(send("activate", name));
        QTest::qWait(200);
        QVERIFY(window.isMinimized());

        QVERIFY(send("Activate", name));
        QTRY_VERIFY(!window.isMinimized());
    }

    void silentClientIsDropped()
    {
        const QString name = "QuorvelVeskTest-silent";
        single_instance::Server server(nullptr);
        server.setReadTimeoutForTesting(200);
        QVERIFY(server.listen(name));

        QLocalSocket client;
        client.connectToServer(name);
        QVERIFY(client.waitForConnected(2000));
        QTRY_COMPARE_WITH_TIMEOUT(
            client.state(), QLocalSocket::UnconnectedState, testsupport::kDeadlineMs);
    }

    void nameIsTakenOverAndUserOnly()
    {
        const QString name = "QuorvelVeskTest-takeover";
        single_instance::Server older(nullptr);
        QVERIFY(older.listen(name));
        single_instance::Server newer(nullptr);
        QVERIFY(newer.listen(name));
        QVERIFY(answering(name));

        const QFileInfo socketFile(newer.server()->fullServerName());
        QVERIFY(socketFile.exists());
        QCOMPARE(socketFile.permissions() & (QFile::WriteGroup | QFile::WriteOther),
            QFile::Permissions());
    }

    // An older instance that quits only after the newer one took the name
    // over removes the name as it goes; the newer one must listen again.
    void nameComesBackAfterALateQuit()
    {
        const QString name = "QuorvelVeskTest-late";
        auto older = std::make_unique<single_instance::Server>(nullptr);
        QVERIFY(older->listen(name));
        single_instance::Server newer(nullptr);
        QVERIFY(newer.listen(name));

        older.reset();
        QVERIFY(!answering(name));
        QTRY_VERIFY_WITH_TIMEOUT(answering(name), testsupport::kDeadlineMs);
        QVERIFY(newer.server()->isListening());
    }
};

QTEST_MAIN(TestStartup)
#include "test_startup.moc"
