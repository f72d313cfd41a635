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
#include <QScopeGuard>
#include <QSysInfo>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>

#include <poll.h>
#include <signal.h>
#include <sys/inotify.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include "app/single_instance.h"
#include "app/startup.h"
#include "deadlines.h"
#include "font_glyphs.h"
#include "widgets/resources.h"

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
    // Every program a test starts; none outlives its test, passed or failed.
    std::vector<std::unique_ptr<QProcess>> children;

    // The name the program copied into `folder` listens on.
    static QString nameIn(const QString& folder) { return single_instance::serverNameFor(folder); }
    QString name() const { return nameIn(dir->path()); }

    // Starts the program (the copy in `dir` unless another is given); it runs
    // unless its state says otherwise. `extra` adds to its environment or
    // overrides it.
    QProcess* start(const QProcessEnvironment& extra = {}, const QString& path = QString())
    {
        QProcess* p = children.emplace_back(std::make_unique<QProcess>()).get();
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
    static bool keptOut(QProcess& p) { return log(p).contains("this copy does not start"); }

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
        // One that shows a box would wait for it for ever.
        QTRY_VERIFY2_WITH_TIMEOUT(p.state() == QProcess::NotRunning || keptOut(p),
            log(p).right(2000).constData(), kProgramDeadlineMs);
        QVERIFY2(p.state() == QProcess::NotRunning, log(p).right(2000).constData());
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
    void cleanup()
    {
        for (const auto& p : children) {
            if (p->state() == QProcess::NotRunning)
                continue;
            ::kill(pid_t(p->processId()), SIGCONT); // one a test stopped
            p->kill();
            p->waitForFinished(kProgramDeadlineMs);
        }
        children.clear();
    }

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
    // folder's lock only after it; the new one must not read them before,
    // however long the old one takes (here it is stopped) within the wait.
    void newStartWaitsForTheOldInstanceToGo()
    {
        auto old = start();
        QVERIFY2(waitServing(*old, name()), log(*old).right(2000).constData());
        QCOMPARE(::kill(pid_t(old->processId()), SIGSTOP), 0);
        FileOpens looks(dir->filePath(single_instance::kLockFileName));
        QVERIFY(looks.isValid());

        auto p = start();
        QTRY_VERIFY_WITH_TIMEOUT(
            log(*p).contains("asked the copy running from") || p->state() != QProcess::Running,
            kProgramDeadlineMs);
        // While it waits, the program looks at the lock again and again, and
        // each look reads the holder's record from it. Many looks after the
        // "exit" mean a program that did not wait would have gone on by now.
        const int asked = looks.count();
        QTRY_VERIFY_WITH_TIMEOUT(
            looks.count() >= asked + 10 || log(*p).contains("load font"), kProgramDeadlineMs);
        QVERIFY(!log(*p).contains("load font"));
        QCOMPARE(p->state(), QProcess::Running);

        QCOMPARE(::kill(pid_t(old->processId()), SIGCONT), 0);
        expectCleanExit(*old);
        QVERIFY(log(*old).contains(takenLine("exit")));
        QVERIFY2(waitServing(*p, name()), log(*p).right(2000).constData());
        QVERIFY(!keptOut(*p));
        QVERIFY(send("exit", name()));
        expectCleanExit(*p);
    }

    // Starts in quick succession, as from a double click on a launcher: each
    // asks whoever holds the folder when it looks, and a start that took the
    // folder over is asked in its turn. The newest is the one left running;
    // every copy before it quits through its quit path or, where it never
    // got the folder, yields; none shows a box.
    void quickStartsLeaveTheNewest_data()
    {
        QTest::addColumn<int>("starts");
        QTest::addColumn<int>("apartMs");
        QTest::newRow("four, 0.3 s apart") << 4 << 300;
        QTest::newRow("six, 0.2 s apart") << 6 << 200;
    }
    void quickStartsLeaveTheNewest()
    {
        QFETCH(int, starts);
        QFETCH(int, apartMs);
        auto running = start();
        QVERIFY2(waitServing(*running, name()), log(*running).right(2000).constData());

        std::vector<QProcess*> copies { running };
        for (int i = 0; i < starts; ++i) {
            QTest::qWait(apartMs); // the spacing of the starts, not a wait for anything
            copies.push_back(start());
        }
        QProcess* newest = copies.back();
        for (QProcess* older : copies) {
            if (older == newest)
                continue;
            expectCleanExit(*older);
            QVERIFY2(!keptOut(*older), log(*older).right(2000).constData());
            // One that built its window ended on the "exit" of a newer start.
            if (log(*older).contains("load font"))
                QVERIFY2(
                    log(*older).contains(takenLine("exit")), log(*older).right(2000).constData());
            else
                QVERIFY2(log(*older).contains("a newer start holds"),
                    log(*older).right(2000).constData());
        }
        // The name is the newest copy's.
        QVERIFY2(waitServing(*newest, name()), log(*newest).right(2000).constData());
        QLocalSocket client;
        client.connectToServer(name());
        QVERIFY(client.waitForConnected(testsupport::kDeadlineMs));
        QCOMPARE(single_instance::peerOf(client).pid, newest->processId());
        client.abort();
        QVERIFY(!keptOut(*newest));
        QVERIFY(send("exit", name()));
        expectCleanExit(*newest);
    }

    // A holder asked to close that still holds the folder when the wait ends
    // (stopped here; slow in its quit hook would be the same): the new start
    // says the copy is still closing and does not start. Continued, the old
    // copy still takes the "exit" and quits, and the next start runs.
    void aHolderStillClosingAtTheEndOfTheWait()
    {
        auto old = start();
        QVERIFY2(waitServing(*old, name()), log(*old).right(2000).constData());
        QCOMPARE(::kill(pid_t(old->processId()), SIGSTOP), 0);

        auto refused = start();
        QTRY_VERIFY_WITH_TIMEOUT(
            keptOut(*refused) || refused->state() != QProcess::Running, kProgramDeadlineMs);
        QVERIFY2(log(*refused).contains("is still closing"), log(*refused).right(2000).constData());
        refused->kill(); // its box is open
        QVERIFY(refused->waitForFinished(kProgramDeadlineMs));

        QCOMPARE(::kill(pid_t(old->processId()), SIGCONT), 0);
        expectCleanExit(*old);
        QVERIFY(log(*old).contains(takenLine("exit")));

        auto next = start();
        QVERIFY2(waitServing(*next, name()), log(*next).right(2000).constData());
        QVERIFY(!log(*next).contains("asked the copy"));
        QVERIFY(send("exit", name()));
        expectCleanExit(*next);
    }

    // A lock left by a killed copy whose process id now belongs to a live
    // process that is no copy from this folder (another copy of the program,
    // from another folder) is taken over at once; the other copy hears
    // nothing.
    void aLockNamingAnotherProcessIsStale()
    {
        QTemporaryDir otherFolder;
        QVERIFY(otherFolder.isValid());
        const QString otherProgram = otherFolder.filePath("QuorvelVesk");
        QVERIFY(QFile::copy(PROGRAM_PATH, otherProgram));
        auto other = start({}, otherProgram);
        const QString otherName = nameIn(otherFolder.path());
        QVERIFY2(waitServing(*other, otherName), log(*other).right(2000).constData());

        QFile lock(dir->filePath(single_instance::kLockFileName));
        QVERIFY(lock.open(QIODevice::WriteOnly));
        lock.write(QByteArray::number(other->processId()) + "\nQuorvelVesk\n"
            + QSysInfo::machineHostName().toUtf8() + '\n' + QSysInfo::machineUniqueId() + '\n');
        lock.close();

        auto p = start();
        QVERIFY2(waitServing(*p, name()), log(*p).right(2000).constData());
        QVERIFY2(log(*p).contains(
                     "took over the lock of process " + QByteArray::number(other->processId())),
            log(*p).right(2000).constData());
        QVERIFY(!log(*p).contains("asked the copy"));

        QVERIFY(send("exit", name()));
        expectCleanExit(*p);
        QCOMPARE(other->state(), QProcess::Running);
        QVERIFY(!log(*other).contains(takenLine("exit")));
        QVERIFY(send("exit", otherName));
        expectCleanExit(*other);
    }

    // A copy whose program file was replaced while it runs (an update) is
    // still a copy from this folder: it is asked to quit, not taken for gone.
    void aCopyWhoseProgramWasReplacedIsAsked()
    {
        auto old = start();
        QVERIFY2(waitServing(*old, name()), log(*old).right(2000).constData());
        QVERIFY(QFile::remove(program));
        QVERIFY(QFile::copy(PROGRAM_PATH, program));

        auto p = start();
        expectCleanExit(*old);
        QVERIFY(log(*old).contains(takenLine("exit")));
        QVERIFY2(waitServing(*p, name()), log(*p).right(2000).constData());
        QVERIFY(log(*p).contains("asked the copy running from"));
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
    // over removes the name as it goes; where no lock orders the copies, the
    // newer one listens again.
    void nameComesBackAfterALateQuit()
    {
        const QString name = "QuorvelVeskTest-late";
        auto older = std::make_unique<single_instance::Server>(nullptr);
        QVERIFY(older->listen(name));
        single_instance::Server newer(nullptr);
        QVERIFY(newer.listen(name));
        newer.keepName();

        older.reset();
        QVERIFY(!answering(name));
        QTRY_VERIFY_WITH_TIMEOUT(answering(name), testsupport::kDeadlineMs);
        QVERIFY(newer.server()->isListening());
    }

    // However deep the folder, its name fits a socket address and can be
    // listened on; each folder has a name of its own, in the runtime folder.
    void nameOfAFolder()
    {
        QVERIFY(QDir(dir->path()).mkpath(QString(200, 'd') + "/sub"));
        const QString deep = dir->filePath(QString(200, 'd'));
        const QString name = single_instance::serverNameFor(deep);
        QVERIFY2(QFile::encodeName(name).size() < 108, qPrintable(name));
        QCOMPARE(QFileInfo(name).path(), qEnvironmentVariable("XDG_RUNTIME_DIR"));
        QCOMPARE(single_instance::serverNameFor(deep + "/sub/.."), name);
        QVERIFY(single_instance::serverNameFor(dir->path()) != name);

        single_instance::Server server(nullptr);
        QVERIFY(server.listen(name));
        QVERIFY(answering(name));
    }

    // Without a runtime folder the sockets live in a folder of this user
    // under /tmp that no one else may enter.
    void withoutARuntimeFolderAPrivateFolderInTmp()
    {
        const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
        qunsetenv("XDG_RUNTIME_DIR");
        const QString name = single_instance::serverNameFor(dir->path());
        qputenv("XDG_RUNTIME_DIR", runtime);
        const QString own = QStringLiteral("/tmp/QuorvelVesk-%1").arg(::geteuid());
        QCOMPARE(QFileInfo(name).path(), own);
        struct stat info;
        QCOMPARE(::lstat(QFile::encodeName(own).constData(), &info), 0);
        QVERIFY(S_ISDIR(info.st_mode));
        QCOMPARE(info.st_uid, ::geteuid());
        QCOMPARE(info.st_mode & 07777, mode_t(0700));
    }

    // The folder is used only where it is this user's alone; one planted by
    // someone else is left as it is, and the reason is given.
    void privateFolderCheck_data()
    {
        QTest::addColumn<QString>("planted");
        QTest::addColumn<bool>("safe");
        QTest::newRow("missing: made") << "" << true;
        QTest::newRow("this user's, 0700") << "0700" << true;
        QTest::newRow("others may enter") << "0711" << false;
        QTest::newRow("a link to a private folder") << "link" << false;
        QTest::newRow("a file") << "file" << false;
        QTest::newRow("another user's") << "nobody" << false;
    }
    void privateFolderCheck()
    {
        QFETCH(QString, planted);
        QFETCH(bool, safe);
        if (planted == "nobody" && ::geteuid() != 0)
            QSKIP("only root can make a folder for another user");
        const QString path = dir->filePath("private");
        const QByteArray native = QFile::encodeName(path);
        if (planted == "0700" || planted == "0711" || planted == "nobody") {
            QVERIFY(QDir().mkdir(path));
            QCOMPARE(::chmod(native.constData(), planted == "0711" ? 0711 : 0700), 0);
            if (planted == "nobody")
                QCOMPARE(::chown(native.constData(), 65534, 65534), 0);
        } else if (planted == "link") {
            QVERIFY(QDir().mkdir(dir->filePath("elsewhere")));
            QCOMPARE(::chmod(QFile::encodeName(dir->filePath("elsewhere")).constData(), 0700), 0);
            QVERIFY(QFile::link(dir->filePath("elsewhere"), path));
        } else if (planted == "file") {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        struct stat before;
        ::lstat(native.constData(), &before);

        QString why;
        QCOMPARE(single_instance::makePrivateFolder(path, &why), safe);
        struct stat after;
        QCOMPARE(::lstat(native.constData(), &after), 0);
        if (safe) {
            QVERIFY(S_ISDIR(after.st_mode));
            QCOMPARE(after.st_mode & 07777, mode_t(0700));
            QCOMPARE(after.st_uid, ::geteuid());
        } else {
            QVERIFY2(why.startsWith(path + ": "), qPrintable(why));
            QCOMPARE(after.st_mode, before.st_mode);
            QCOMPARE(after.st_uid, before.st_uid);
        }
    }

    // A server of another user on this folder's name (as a planted socket in
    // a shared folder would be) is not sent "exit", and a start takes the
    // name over.
    void anotherUsersServerIsNotAsked()
    {
        if (::geteuid() != 0)
            QSKIP("only root can run a server as another user");
        QTemporaryDir spot;
        QVERIFY(spot.isValid());
        QCOMPARE(::chmod(QFile::encodeName(spot.path()).constData(), 0777), 0);
        const QByteArray where = QFile::encodeName(spot.filePath("s"));
        int report[2];
        QCOMPARE(::pipe(report), 0);
        const pid_t child = ::fork();
        if (child == 0) {
            // As user nobody: listen, then tell what each connection brought.
            ::close(report[0]);
            if (::setgid(65534) != 0 || ::setuid(65534) != 0)
                ::_exit(2);
            const int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
            sockaddr_un address {};
            address.sun_family = AF_UNIX;
            std::strncpy(address.sun_path, where.constData(), sizeof address.sun_path - 1);
            if (::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0
                || ::listen(s, 8) != 0)
                ::_exit(3);
            (void)!::write(report[1], "L", 1);
            for (;;) {
                const int c = ::accept(s, nullptr, nullptr);
                char buffer[64];
                ssize_t n;
                while ((n = ::read(c, buffer, sizeof buffer)) > 0)
                    (void)!::write(report[1], buffer, size_t(n));
                (void)!::write(report[1], "|", 1);
                ::close(c);
            }
        }
        ::close(report[1]);
        auto stop = qScopeGuard([&] {
            ::kill(child, SIGKILL);
            ::waitpid(child, nullptr, 0);
            ::close(report[0]);
        });
        auto readReport = [&] {
            pollfd ready { report[0], POLLIN, 0 };
            char c = 0;
            if (::poll(&ready, 1, testsupport::kDeadlineMs) != 1 || ::read(report[0], &c, 1) != 1)
                return '?';
            return c;
        };
        QCOMPARE(readReport(), 'L');
        QCOMPARE(::rename(where.constData(), QFile::encodeName(name()).constData()), 0);

        QLocalSocket client;
        QVERIFY(!single_instance::askRunningInstanceToExit(client, name(), 0));
        // The connection was closed with nothing sent.
        QCOMPARE(readReport(), '|');

        single_instance::Server server(nullptr);
        QVERIFY(server.listen(name()));
        QLocalSocket probe;
        probe.connectToServer(name());
        QVERIFY(probe.waitForConnected(testsupport::kDeadlineMs));
        QCOMPARE(single_instance::peerOf(probe).uid, qint64(::geteuid()));
    }

    // A lock file still held open and locked is never taken over, even where
    // its record names no copy from the folder (here this test process).
    void aHeldLockIsNeverTaken()
    {
        QLockFile held(dir->filePath(single_instance::kLockFileName));
        QVERIFY(held.tryLock(0));

        QLockFile lock(held.fileName());
        QLocalSocket client;
        QCOMPARE(single_instance::takeOver(lock, client, dir->path(), 300),
            single_instance::Takeover::NotAsked);
        QVERIFY(!lock.isLocked());
        QVERIFY(QFile::exists(held.fileName()));

        held.unlock();
        QCOMPARE(single_instance::takeOver(lock, client, dir->path(), 300),
            single_instance::Takeover::Ready);
        QVERIFY(lock.isLocked());
    }

    // The embedded font is a subset: a character it lacks would show as a box.
    void refusalTextsAreInTheFont_data()
    {
        QTest::addColumn<single_instance::Takeover>("why");
        QTest::newRow("still closing") << single_instance::Takeover::StillClosing;
        QTest::newRow("not asked") << single_instance::Takeover::NotAsked;
    }
    void refusalTextsAreInTheFont()
    {
        QFETCH(single_instance::Takeover, why);
        initResources();
        // The font the box is shown in, as the program installs it.
        QVERIFY(installApplicationFont());
        const QString text = single_instance::folderInUseText(why);
        QVERIFY(text.contains(QStringLiteral("本文件夹")));
        const QString missing = testsupport::missingGlyphs(text);
        QVERIFY2(missing.isEmpty(), qPrintable(QStringLiteral("not in the font: ") + missing));
    }
};

QTEST_MAIN(TestStartup)
#include "test_startup.moc"
