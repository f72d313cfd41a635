// Start-up and the single-instance rule: the built program run as a process
// (copied into a temporary directory, the simulated device preloaded), and
// the single-instance server in this process.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QProcess>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <algorithm>
#include <fstream>
#include <memory>
#include <string>

#include <sys/inotify.h>
#include <unistd.h>

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

// True while something accepts connections on the name. The probe says
// what it is, so the server's log tells it from an empty message.
bool answering(const QString& name)
{
    QLocalSocket probe;
    probe.connectToServer(name);
    const bool up = probe.waitForConnected(500);
    if (up) {
        probe.write("probe");
        probe.waitForBytesWritten(testsupport::kDeadlineMs);
    }
    probe.abort();
    return up;
}

bool send(const QByteArray& message, const QString& name)
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

// The line the server logs for each message it takes.
QByteArray takenLine(QByteArray message)
{
    return "single-instance message \"" + message.replace("\n", "\\n") + '"';
}

// Counts the times anyone opens one file, from now on.
class FileOpens
{
public:
    explicit FileOpens(const QString& path)
        : m_fd(inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
    {
        if (m_fd >= 0)
            inotify_add_watch(m_fd, QFile::encodeName(path).constData(), IN_OPEN);
    }
    ~FileOpens()
    {
        if (m_fd >= 0)
            close(m_fd);
    }
    bool isValid() const { return m_fd >= 0; }
    int count()
    {
        alignas(inotify_event) char buffer[4096];
        ssize_t n;
        while ((n = read(m_fd, buffer, sizeof buffer)) > 0)
            for (char* at = buffer; at < buffer + n;) {
                const auto* event = reinterpret_cast<const inotify_event*>(at);
                m_count += (event->mask & IN_OPEN) ? 1 : 0;
                at += sizeof(inotify_event) + event->len;
            }
        return m_count;
    }

private:
    int m_fd;
    int m_count = 0;
};

// A preset file holding one preset of the given name.
QByteArray presetFile(const QString& name)
{
    QJsonObject preset { { "config_name", name }, { "eq_gain", "1 -3.0" }, { "index", 0 },
        { "eq_1", "1 1 20 3 0.2" } };
    for (int band = 2; band <= 11; ++band)
        preset.insert(QStringLiteral("eq_%1").arg(band), "0 1 632 0 0.707");
    return QJsonDocument(QJsonArray { preset }).toJson();
}

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;
    QString program;

    // The name the program copied into `folder` listens on.
    static QString nameIn(const QString& folder) { return single_instance::serverNameFor(folder); }
    QString name() const { return nameIn(dir->path()); }

    // Starts the program (the copy in `dir` unless another is given); it runs
    // unless its state says otherwise. `extra` adds to its environment or
    // overrides it.
    std::unique_ptr<QProcess> start(
        const QProcessEnvironment& extra = {}, const QString& path = QString())
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
        const QString copy = path.isEmpty() ? program : path;
        p->setWorkingDirectory(QFileInfo(copy).path());
        p->start(copy, {});
        p->waitForStarted(kProgramDeadlineMs);
        return p;
    }

    // True once `p` has given up waiting for a copy that holds its folder.
    static bool keptOut(QProcess& p) { return log(p).contains("did not quit in time"); }

    // Waits until `p` listens on `name`; false when it ends or is kept out first.
    static bool waitServing(QProcess& p, const QString& name)
    {
        QDeadlineTimer deadline(kProgramDeadlineMs);
        while (!deadline.hasExpired() && p.state() != QProcess::NotRunning && !keptOut(p)) {
            if (answering(name))
                return true;
            QTest::qWait(100);
        }
        return false;
    }

    static void expectCleanExit(QProcess& p)
    {
        // waitForFinished is false for a process already seen to end.
        QVERIFY2(p.state() == QProcess::NotRunning || p.waitForFinished(kProgramDeadlineMs),
            log(p).right(2000).constData());
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QCOMPARE(p.exitCode(), 0);
    }

    static QProcessEnvironment withTmpdir(const QString& tmpdir)
    {
        QProcessEnvironment env;
        env.insert("TMPDIR", tmpdir);
        return env;
    }

private slots:
    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
        QVERIFY2(!answering(name()), "an instance is still listening");
        program = dir->filePath("QuorvelVesk");
        QVERIFY(QFile::copy(PROGRAM_PATH, program));
    }

    void secondStartMakesTheFirstQuit()
    {
        auto first = start();
        QVERIFY2(waitServing(*first, name()), log(*first).right(2000).constData());
        auto second = start();
        QCOMPARE(second->state(), QProcess::Running);
        expectCleanExit(*first);
        QVERIFY(log(*first).contains("load font"));

        // The newer instance takes over the name.
        QVERIFY2(waitServing(*second, name()), log(*second).right(2000).constData());
        QVERIFY(QFile::exists(dir->filePath("EQ_systemsetting_file.QVconfig")));
        QVERIFY(send("exit", name()));
        expectCleanExit(*second);
    }

    // The server logs every message it takes; only after that line may the
    // program's state be judged. A program that is quitting takes no further
    // message, so the final "exit" is taken only if no word before ended it.
    void onlyTheExactWordEndsTheInstance()
    {
        auto p = start();
        QVERIFY(waitServing(*p, name()));
        for (const QByteArray& word : { QByteArray("exit\n"), QByteArray("EXIT"),
                 QByteArray("Exit"), QByteArray("hello"), QByteArray(), QByteArray("Activate") }) {
            QVERIFY2(send(word, name()), word.constData());
            QTRY_VERIFY_WITH_TIMEOUT(
                log(*p).contains(takenLine(word)) || p->state() == QProcess::NotRunning,
                kProgramDeadlineMs);
            QVERIFY2(log(*p).contains(takenLine(word)), log(*p).right(2000).constData());
        }
        QVERIFY(send("exit", name()));
        expectCleanExit(*p);
        QVERIFY(log(*p).contains(takenLine("exit")));
    }

    // The old instance rewrites its files in its quit hook and lets go of the
    // folder's lock only after it; the new one must not read them before.
    void newStartWaitsForTheOldInstanceToGo()
    {
        QLockFile held(dir->filePath(single_instance::kLockFileName));
        QVERIFY(held.tryLock(0));
        FileOpens looks(held.fileName());
        QVERIFY(looks.isValid());
        QLocalServer old;
        QVERIFY(old.listen(name()));
        QByteArray received;
        connect(&old, &QLocalServer::newConnection, this, [&] {
            while (QLocalSocket* s = old.nextPendingConnection())
                connect(
                    s, &QLocalSocket::readyRead, s, [&received, s] { received += s->readAll(); });
        });

        auto p = start();
        QTRY_COMPARE_WITH_TIMEOUT(received, QByteArray("exit"), kProgramDeadlineMs);
        // While it waits, the program looks at the lock again and again, and
        // each look reads the holder's record from it. Many looks after the
        // "exit" mean a program that did not wait would have gone on by now.
        QTRY_VERIFY_WITH_TIMEOUT(
            looks.count() >= 20 || log(*p).contains("load font"), kProgramDeadlineMs);
        QVERIFY(!log(*p).contains("load font"));
        QCOMPARE(p->state(), QProcess::Running);

        old.close();
        held.unlock();
        QTRY_VERIFY_WITH_TIMEOUT(log(*p).contains("load font"), kProgramDeadlineMs);
        QVERIFY(waitServing(*p, name()));
        QVERIFY(send("exit", name()));
        expectCleanExit(*p);
    }

    // Copies find each other by the folder they run from, whatever TMPDIR
    // their session sets: the one running ends and saves before the new one
    // reads. A copy in another folder shares nothing and is left alone.
    void copiesFromOneFolderWhateverTheTmpdir()
    {
        QTemporaryDir tmp1, tmp2, otherFolder;
        QVERIFY(tmp1.isValid() && tmp2.isValid() && otherFolder.isValid());
        const QString otherProgram = otherFolder.filePath("QuorvelVesk");
        QVERIFY(QFile::copy(PROGRAM_PATH, otherProgram));

        QVERIFY(QDir(dir->path()).mkdir("Workspace_Config"));
        const QString left = dir->filePath("Workspace_Config/EQ_config.QVconfig");
        const QString right = dir->filePath("Workspace_Config/EQ_config_R.QVconfig");
        for (const QString& path : { left, right }) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QVERIFY(file.write(presetFile("Mine")) > 0);
        }

        auto first = start(withTmpdir(tmp1.path()));
        QVERIFY2(waitServing(*first, name()), log(*first).right(2000).constData());
        auto elsewhere = start(withTmpdir(tmp1.path()), otherProgram);
        const QString elsewhereName = nameIn(otherFolder.path());
        QVERIFY2(waitServing(*elsewhere, elsewhereName), log(*elsewhere).right(2000).constData());

        // The preset now lives only in the first copy's memory; it writes
        // the whole file again when it quits.
        QVERIFY(QFile::remove(left));
        QVERIFY(QFile::remove(right));

        auto second = start(withTmpdir(tmp2.path()));
        QTRY_VERIFY_WITH_TIMEOUT(
            first->state() == QProcess::NotRunning || keptOut(*second), kProgramDeadlineMs);
        QVERIFY2(!keptOut(*second), "the first copy did not quit");
        expectCleanExit(*first);
        QVERIFY2(waitServing(*second, name()), log(*second).right(2000).constData());

        // The copy in the other folder still runs and has heard nothing so far.
        QVERIFY(send("Activate", elsewhereName));
        QTRY_VERIFY_WITH_TIMEOUT(log(*elsewhere).contains(takenLine("Activate"))
                || elsewhere->state() == QProcess::NotRunning,
            kProgramDeadlineMs);
        QVERIFY(log(*elsewhere).contains(takenLine("Activate")));
        QVERIFY(!log(*elsewhere).contains(takenLine("exit")));

        QVERIFY(send("exit", name()));
        expectCleanExit(*second);
        QVERIFY(send("exit", elsewhereName));
        expectCleanExit(*elsewhere);

        QFile saved(left);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QVERIFY2(saved.readAll().contains("\"Mine\""), "the first copy's preset was lost");
    }

    void aKilledCopyDoesNotBlockTheNextStart()
    {
        auto killed = start();
        QVERIFY(waitServing(*killed, name()));
        killed->kill();
        QVERIFY(killed->waitForFinished(kProgramDeadlineMs));
        const QString lock = dir->filePath(single_instance::kLockFileName);
        QVERIFY(QFile::exists(lock));
        QVERIFY(QFile::exists(name()));

        auto next = start();
        QVERIFY2(waitServing(*next, name()), log(*next).right(2000).constData());
        QVERIFY(send("exit", name()));
        expectCleanExit(*next);
        QVERIFY(!QFile::exists(lock));
        QVERIFY(!QFile::exists(name()));
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

    // ---- the server and the folder lock in this process ----

    // The server drops a connection once it has dealt with its message.
    void activateRaisesTheWindow()
    {
        const QString name = "QuorvelVeskTest-activate";
        QWidget window;
        window.showMinimized();
        QVERIFY(window.isMinimized());
        single_instance::Server server(&window);
        QVERIFY(server.listen(name));

        for (const QByteArray& text : { QByteArray("Activate\n"), QByteArray("activate") }) {
            QLocalSocket client;
            client.connectToServer(name);
            QVERIFY(client.waitForConnected(testsupport::kDeadlineMs));
            client.write(text);
            QTRY_COMPARE(client.state(), QLocalSocket::UnconnectedState);
            QVERIFY2(window.isMinimized(), text.constData());
        }

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
        QVERIFY(client.waitForConnected(testsupport::kDeadlineMs));
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

    // However deep the folder, its name fits a socket address and can be
    // listened on; each folder and each user has a name of its own.
    void nameOfAFolder()
    {
        QVERIFY(QDir(dir->path()).mkpath(QString(200, 'd') + "/sub"));
        const QString deep = dir->filePath(QString(200, 'd'));
        const QString name = single_instance::serverNameFor(deep, 1000);
        QVERIFY2(name.size() < 100, qPrintable(name));
        QCOMPARE(single_instance::serverNameFor(deep + "/sub/..", 1000), name);
        QVERIFY(single_instance::serverNameFor(dir->path(), 1000) != name);
        QVERIFY(single_instance::serverNameFor(deep, 1001) != name);

        single_instance::Server server(nullptr);
        QVERIFY(server.listen(single_instance::serverNameFor(deep)));
        QVERIFY(answering(single_instance::serverNameFor(deep)));
    }

    // A copy that holds the folder and does not let go keeps a new start
    // out, whether it took the "exit" or nothing listened for one.
    void aHeldFolderKeepsTheStartOut_data()
    {
        QTest::addColumn<bool>("listening");
        QTest::newRow("nothing listens") << false;
        QTest::newRow("it does not quit") << true;
    }
    void aHeldFolderKeepsTheStartOut()
    {
        QFETCH(bool, listening);
        QLockFile held(dir->filePath(single_instance::kLockFileName));
        QVERIFY(held.tryLock(0));
        QLocalServer holder;
        if (listening)
            QVERIFY(holder.listen(name()));

        QLockFile lock(held.fileName());
        QLocalSocket client;
        QCOMPARE(single_instance::takeOver(lock, client, dir->path(), 300),
            single_instance::Takeover::Blocked);
        QVERIFY(!lock.isLocked());

        held.unlock();
        QCOMPARE(single_instance::takeOver(lock, client, dir->path(), 300),
            single_instance::Takeover::Ready);
        QVERIFY(lock.isLocked());
    }
};

QTEST_MAIN(TestStartup)
#include "test_startup.moc"
