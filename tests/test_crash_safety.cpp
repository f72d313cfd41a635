// The store files survive a kill at any moment: a program rewrites them
// through the store's own calls and is killed 50 times at random points;
// after every kill each file holds the content of the last completed write
// or of the one in flight, and once the next start has run nothing else is
// left in the data folders.

#include <QtTest>

#include <QDeadlineTimer>
#include <QDir>
#include <QMap>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include "deadlines.h"
#include "store_steps.h"

namespace {

constexpr int kKills = 50;
const QByteArray kAbsent = QByteArrayLiteral("<absent>");

QByteArray contentOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : kAbsent;
}

// The curve list names files inside the data folder: compare it without
// the folder's own path.
QByteArray contentOf(const QString& path, const QString& dataDir)
{
    return contentOf(path).replace(dataDir.toUtf8(), QByteArrayLiteral("<data folder>"));
}

QString relativeNames(const QStringList& paths, const QString& root)
{
    QStringList names;
    for (const QString& p : paths)
        names << QDir(root).relativeFilePath(p);
    return names.join(QStringLiteral(", "));
}

// Every file under `root`, sorted.
QStringList filesUnder(const QString& root)
{
    QStringList found;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext())
        found << it.next();
    found.sort();
    return found;
}

} // namespace

class TestCrashSafety : public QObject
{
    Q_OBJECT

    QTemporaryDir m_replayDir;
    // The files' contents after each step of the walk; -1 is after the start.
    QMap<int, QList<QByteArray>> m_after;
    int m_replayed = -1;

    const QList<QByteArray>& replayedAfter(int step)
    {
        if (m_after.isEmpty()) {
            setAppDataDirForTesting(m_replayDir.path());
            store_steps::start();
            m_after.insert(-1, snapshot());
        }
        while (m_replayed < step) {
            store_steps::run(++m_replayed);
            m_after.insert(m_replayed, snapshot());
        }
        return m_after[step];
    }

    QList<QByteArray> snapshot() const
    {
        QList<QByteArray> contents;
        for (const QString& f : store_steps::files())
            contents << contentOf(f, m_replayDir.path());
        return contents;
    }

private slots:
    void killedRewritesLeaveOldOrNewContent();
};

void TestCrashSafety::killedRewritesLeaveOldOrNewContent()
{
    QVERIFY(m_replayDir.isValid());
    QTemporaryDir root;
    QVERIFY(root.isValid());
    const QString dataDir = root.filePath(QStringLiteral("data"));
    const QString logPath = root.filePath(QStringLiteral("steps.log"));
    QVERIFY(QDir().mkpath(dataDir));

    // The replay's file names, mapped onto the killed program's folder.
    setAppDataDirForTesting(dataDir);
    const QStringList files = store_steps::files();
    setAppDataDirForTesting(m_replayDir.path());

    const quint32 seed = qEnvironmentVariableIsSet("QV_CRASH_SEED")
        ? quint32(qEnvironmentVariableIntValue("QV_CRASH_SEED"))
        : QRandomGenerator::global()->generate();
    qInfo("kill moments from seed %u (set QV_CRASH_SEED to repeat them)", seed);
    QRandomGenerator random(seed);

    for (int kill = 0; kill < kKills; ++kill) {
        const int before = store_steps::lastLoggedStep(logPath);
        QProcess writer;
        writer.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        writer.start(QStringLiteral(STORE_REWRITER_PATH), { dataDir, logPath });
        QVERIFY2(writer.waitForStarted(testsupport::kProgramDeadlineMs),
            qPrintable(writer.errorString()));

        // The first run finishes its start before it dies, since a folder
        // with no files yet has no old content to keep; after that some kills
        // land during the start's own reads and rewrites.
        const int steps = kill == 0 ? 1 + int(random.bounded(20)) : int(random.bounded(-5, 40));
        const QDeadlineTimer deadline(testsupport::kProgramDeadlineMs);
        while (steps > 0 && store_steps::lastLoggedStep(logPath) < before + steps) {
            QVERIFY2(writer.state() == QProcess::Running, "the rewriting program ended by itself");
            QVERIFY2(!deadline.hasExpired(), "the rewriting program made no progress");
            QThread::usleep(200);
        }
        QThread::usleep(random.bounded(3000)); // where in the step the kill lands
        writer.kill();
        QVERIFY(writer.waitForFinished(testsupport::kProgramDeadlineMs));

        // The last logged step completed; the next one may have been written
        // before the kill, or only partly, or not at all.
        const int done = store_steps::lastLoggedStep(logPath);
        const QList<QByteArray>& old = replayedAfter(done);
        const QList<QByteArray>& next = replayedAfter(done + 1);
        bool nextWritten = false;
        for (int i = 0; i < files.size(); ++i) {
            const QByteArray got = contentOf(files[i], dataDir);
            if (got == next[i] && got != old[i]) {
                nextWritten = true;
                continue;
            }
            if (got != old[i])
                QFAIL(qPrintable(
                    QStringLiteral(
                        "kill %1 after step %2: %3 holds neither the old nor the new content:\n%4")
                        .arg(kill)
                        .arg(done)
                        .arg(QDir(dataDir).relativeFilePath(files[i]), QString::fromUtf8(got))));
        }
        // The walk goes on from what the files hold.
        if (nextWritten) {
            QFile log(logPath);
            QVERIFY(log.open(QIODevice::Append));
            log.write(QByteArray::number(done + 1) + '\n');
        }

        // A start reads every file as it stands and clears away what the
        // cut write left.
        QProcess start;
        start.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        start.start(QStringLiteral(STORE_REWRITER_PATH), { dataDir });
        QVERIFY(start.waitForFinished(testsupport::kProgramDeadlineMs));
        QCOMPARE(start.exitStatus(), QProcess::NormalExit);
        QCOMPARE(start.exitCode(), 0);
        const QList<QByteArray>& now = nextWritten ? next : old;
        for (int i = 0; i < files.size(); ++i)
            QCOMPARE(contentOf(files[i], dataDir), now[i]);
        QStringList leftOver = filesUnder(dataDir);
        for (const QString& f : files)
            leftOver.removeAll(f);
        QVERIFY2(leftOver.isEmpty(),
            qPrintable(
                QStringLiteral("kill %1 left %2").arg(kill).arg(relativeNames(leftOver, dataDir))));
    }
    QVERIFY2(
        store_steps::lastLoggedStep(logPath) >= kKills, "the kills should land all over the walk");
}

QTEST_GUILESS_MAIN(TestCrashSafety)
#include "test_crash_safety.moc"
