// A device that is plugged in but whose node this user may not open: the main
// window says so once, in its language, and still takes the device as soon
// as it can be opened.

#include <QApplication>
#include <QFontMetrics>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <chrono>
#include <memory>

#include "app/mainwindow.h"
#include "app/startup.h"
#include "deadlines.h"
#include "device/device_access.h"
#include "device/device_session.h" // before the reset, which clears its handshake count
#include "device_state_reset.h"
#include "font_glyphs.h"
#include "device/device_state.h"
#include "device/hid_device.h"
#include "device/threads.h"
#include "modal_answers.h"
#include "preloaded_program.h"
#include "sim_models.h"
#include "simhid.h"
#include "store/settings.h"
#include "warning_log.h"
#include "widgets/resources.h"
#include "window_fixture.h"

namespace {

const QString kNode = QString::fromLatin1(sim::Engine::kNodePath);

int warningsNamingTheNode() { return int(testsupport::warningLog().filter(kNode).size()); }

} // namespace

class TestDeviceAccess : public QObject
{
    Q_OBJECT

    sim::Engine& engine = sim::Engine::instance();
    std::unique_ptr<QTemporaryDir> dir;

    std::unique_ptr<MainWindow> makeWindow(int language)
    {
        config_Init();
        sysSetValue.Language = language;
        Config_update();
        auto w = std::make_unique<MainWindow>();
        // Retries come quickly, so a test sees several of them soon.
        connect_thread->fallbackIntervalMs = 10;
        return w;
    }

    // From here on only announcements wake the search; returns once it
    // sleeps in a wait without a time limit.
    void stopTimedAttempts()
    {
        connect_thread->fallbackIntervalMs = -1;
        QTRY_COMPARE(engine.untimedSearchWaitsBlocked(), 1);
    }

    // Waits until the search has made `n` more attempts, and their posts are handled.
    void waitForAttempts(int n)
    {
        const int from = engine.openAttempts();
        QTRY_VERIFY(engine.openAttempts() >= from + n);
        QCoreApplication::sendPostedEvents();
    }

private slots:
    void initTestCase()
    {
        initResources();
        QVERIFY(installApplicationFont());
        testsupport::installWarningLog();
    }

    void init()
    {
        dir = freshWindowDir();
        QVERIFY(dir);
        resetDeviceState(); // each window's first connection is the process's first
        engine.reset();
        engine.setIds(QV_VENDOR_ID, QV_PRODUCT_ID);
        // A device that answers the hello and nothing more: the connection is
        // all these tests look at.
        engine.setModel(std::make_shared<sim::ScriptedModel>(
            std::vector<sim::Report> { sim::makeReport(0x1101, 1) }));
        testsupport::warningLog().clear();
        // Only the tests of the grace let it run out; elsewhere a slow
        // machine must not turn a node that udev hands over late into a report.
        createDeviceThreads();
        connect_thread->deniedGraceMs = testsupport::kDeadlineMs;
    }

    void cleanup()
    {
        QVERIFY(stopDeviceThreads(testsupport::kDeadlineMs));
        if (connect_thread) { // made by the first window
            connect_thread->running = true; // the next window searches again
            connect_thread->fallbackIntervalMs = 1000;
        }
        engine.reset();
    }

    void deniedDeviceIsExplainedOnce_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("advice");
        QTest::newRow("English") << 1 << "Device access"
                                 << "OK"
                                 << "plug the device in again";
        QTest::newRow("Chinese") << 0 << "提醒"
                                 << "好的"
                                 << "重新连接设备";
        QTest::newRow("other language: Chinese") << 2 << "提醒"
                                                 << "好的"
                                                 << "重新连接设备";
    }

    void deniedDeviceIsExplainedOnce()
    {
        QFETCH(int, language);
        QFETCH(QString, title);
        QFETCH(QString, button);
        QFETCH(QString, advice);
        ModalAnswers answers;
        // The box never holds up the search: attempts go on while it is open.
        answers.dialog([&](QDialog& box) {
            waitForAttempts(3);
            for (QAbstractButton* b : box.findChildren<QAbstractButton*>())
                if (b->text() == button)
                    b->click();
        });
        engine.setDenied(true);
        engine.plug(); // plugged in before the program starts
        auto w = makeWindow(language);

        QTRY_COMPARE(answers.shown.size(), 1);
        QCOMPARE(answers.shown[0].title, title);
        QCOMPARE(answers.shown[0].choices, QStringList({ button }));
        QVERIFY2(answers.shown[0].text.contains(kNode), qPrintable(answers.shown[0].text));
        QVERIFY(answers.shown[0].text.contains(QLatin1String(kRealDeviceSection)));
        QVERIFY(answers.shown[0].text.contains(advice));
        // The embedded font is a subset: a character it lacks shows as a box.
        const QString missing = testsupport::missingGlyphs(
            answers.shown[0].text + answers.shown[0].choices.join(QString()));
        QVERIFY2(missing.isEmpty(), qPrintable(QStringLiteral("not in the font: ") + missing));
        QCOMPARE(warningsNamingTheNode(), 1);
        QCOMPARE(testsupport::warningLog().filter(kNode).value(0), deniedDeviceLine(kNode));

        // Retries say nothing more; a plug-in still denied writes its line
        // once udev has finished with the node, and shows no second box,
        // even when no attempt saw the device gone in between.
        waitForAttempts(3);
        QCOMPARE(warningsNamingTheNode(), 1);
        stopTimedAttempts();
        const int attempts = engine.openAttempts();
        engine.unplug();
        engine.plugLate();
        // The kernel's announcement's attempt, done and asleep again (until
        // udev's announcement or the end of the grace).
        QTRY_VERIFY(engine.openAttempts() == attempts + 1 && engine.searchWaitsBlocked() == 1);
        QCoreApplication::sendPostedEvents();
        QCOMPARE(warningsNamingTheNode(), 1);
        connect_thread->fallbackIntervalMs = 10;
        engine.finishUdev();
        QTRY_COMPARE(warningsNamingTheNode(), 2);
        waitForAttempts(3);
        QCOMPARE(answers.shown.size(), 1);
        QCOMPARE(answers.pending(), 0);
        QCOMPARE(hid_status, 0);

        // The rule installed and the device plugged in again: it is taken.
        engine.setDenied(false);
        engine.unplug();
        engine.plug();
        QTRY_COMPARE(hid_status, 1);
        QCOMPARE(answers.shown.size(), 1);
        QCOMPARE(warningsNamingTheNode(), 2);
    }

    void nothingToSayWithoutADeniedDevice_data()
    {
        QTest::addColumn<bool>("plugged");
        QTest::addColumn<bool>("late"); // udev hands the node over after the kernel's announcement
        QTest::addColumn<bool>("atStart"); // plugged before the program starts
        QTest::newRow("no device") << false << false << false;
        QTest::newRow("device open to the user") << true << false << true;
        QTest::newRow("plugged late while running") << true << true << false;
        QTest::newRow("plugged late as the program starts") << true << true << true;
    }

    void nothingToSayWithoutADeniedDevice()
    {
        // From the kernel's announcement until udev's a node still belongs to
        // root: refusals then say nothing, and udev's announcement brings the
        // connection. Plugged as the program starts, the kernel's
        // announcement comes before anything listens.
        QFETCH(bool, plugged);
        QFETCH(bool, late);
        QFETCH(bool, atStart);
        ModalAnswers answers; // none queued: a box would fail the test
        if (plugged && atStart)
            late ? engine.plugLate() : engine.plug();
        auto w = makeWindow(1);
        if (plugged && !atStart) {
            waitForAttempts(1);
            engine.plugLate();
        }
        if (late) {
            waitForAttempts(3); // all refused
            QCOMPARE(hid_status, 0);
            engine.finishUdev();
        }
        if (plugged)
            QTRY_COMPARE(hid_status, 1);
        else
            waitForAttempts(3);
        QCoreApplication::processEvents();
        QCOMPARE(answers.shown.size(), 0);
        QCOMPARE(warningsNamingTheNode(), 0);
    }

    void refusedThroughTheGraceIsExplained_data()
    {
        QTest::addColumn<bool>(
            "atStart"); // the kernel's announcement came before anything listened
        QTest::newRow("plugged while running") << false;
        QTest::newRow("plugged before the program started") << true;
    }

    void refusedThroughTheGraceIsExplained()
    {
        // A denied node whose udev never finishes with it (a stuck worker, a
        // container it does not serve): once it has refused every attempt
        // for the grace, the line and the box come, whatever udev says.
        // Only announcements and the grace's end wake the search here.
        QFETCH(bool, atStart);
        using Clock = std::chrono::steady_clock;
        ModalAnswers answers;
        answers.button("OK");
        connect_thread->deniedGraceMs = int(kDeniedNodeGrace.count());
        engine.setDenied(true);
        Clock::time_point plugged;
        if (atStart) {
            plugged = Clock::now();
            engine.plugLate();
        }
        auto w = makeWindow(1);
        int attempts = 0;
        if (atStart) {
            connect_thread->fallbackIntervalMs = -1;
        } else {
            stopTimedAttempts();
            attempts = engine.openAttempts();
            plugged = Clock::now();
            engine.plugLate();
        }
        QTRY_COMPARE(warningsNamingTheNode(), 1);
        QVERIFY2(Clock::now() - plugged >= kDeniedNodeGrace, "reported before the grace ended");
        QTRY_COMPARE(answers.shown.size(), 1);
        QCOMPARE(answers.pending(), 0);
        if (!atStart) // the announcement's attempt and the grace's end
            QCOMPARE(engine.openAttempts(), attempts + 2);
        // Told once, the search sleeps without a time limit again.
        QTRY_COMPARE(engine.untimedSearchWaitsBlocked(), 1);

        // udev finishing late is no new plug-in: nothing more is said.
        const int told = engine.openAttempts();
        engine.finishUdev();
        QTRY_VERIFY(engine.openAttempts() > told && engine.untimedSearchWaitsBlocked() == 1);
        QCoreApplication::sendPostedEvents();
        QCOMPARE(warningsNamingTheNode(), 1);
        QCOMPARE(answers.shown.size(), 1);
        QCOMPARE(hid_status, 0);
    }

    void withoutUdevTheNextTimedAttemptDecides()
    {
        // No udev to wait for: a node refused at the start and again at the
        // next timed attempt is reported, once.
        ModalAnswers answers;
        answers.button("OK");
        engine.setUdevRunning(false);
        engine.setDenied(true);
        engine.plug();
        auto w = makeWindow(1);
        QTRY_COMPARE(answers.shown.size(), 1);
        QCOMPARE(warningsNamingTheNode(), 1);
        waitForAttempts(3);
        QCOMPARE(warningsNamingTheNode(), 1);
        QCOMPARE(answers.shown.size(), 1);
    }

    void builtProgramWritesTheLineOnlyForADeniedNode_data()
    {
        QTest::addColumn<bool>("late"); // plugged through the control file, as udev does it
        QTest::addColumn<bool>("denied");
        QTest::addColumn<bool>("stuck"); // udev never finishes: the node stays root's
        QTest::newRow("denied, plugged at start") << false << true << false;
        QTest::newRow("plugged late") << true << false << false;
        QTest::newRow("denied, plugged late") << true << true << false;
        QTest::newRow("udev never finishes, plugged at start") << false << false << true;
    }

    void builtProgramWritesTheLineOnlyForADeniedNode()
    {
        // The real program with the preloaded device: a denied node's line
        // goes to stderr once (also where udev never finishes with the node),
        // a node that udev hands over late connects without one, and a quit
        // still ends it cleanly, box open or not.
        QFETCH(bool, late);
        QFETCH(bool, denied);
        QFETCH(bool, stuck);
        const bool refused = denied || stuck;
        QTemporaryDir run;
        QVERIFY(run.isValid());
        const QString program = copyOfProgram(run);
        QVERIFY(!program.isEmpty());
        QByteArray err;
        QProcess p;
        QProcessEnvironment env = preloadedProgramEnvironment();
        env.insert("SIMHID_MODEL", "A");
        if (late) {
            QFile control(run.filePath("control"));
            QVERIFY(control.open(QIODevice::WriteOnly));
            control.write("plug-late\n");
            control.close();
            env.insert("SIMHID_CONTROL", control.fileName());
        } else {
            env.insert("SIMHID_PLUGGED", "1");
        }
        if (denied)
            env.insert("SIMHID_DENIED", "1");
        if (stuck)
            env.insert("SIMHID_UDEV_STUCK", "1");
        p.setProcessEnvironment(env);
        connect(
            &p, &QProcess::readyReadStandardError, this, [&] { err += p.readAllStandardError(); });
        p.start(program, {});
        QVERIFY(p.waitForStarted(testsupport::kProgramDeadlineMs));
        const QByteArray line = deniedDeviceLine(kNode).toUtf8();
        const QByteArray hello = "send cmd:0x1101 data:1 ";
        QTRY_VERIFY_WITH_TIMEOUT(
            err.contains(refused ? line : hello), testsupport::kProgramDeadlineMs);
        p.terminate();
        QTRY_VERIFY_WITH_TIMEOUT(
            p.state() == QProcess::NotRunning, testsupport::kProgramDeadlineMs);
        err += p.readAllStandardError();
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QCOMPARE(p.exitCode(), 0);
        QCOMPARE(err.count(line), refused ? 1 : 0);
        QCOMPARE(err.contains(hello), !refused);
    }
};

QTEST_MAIN(TestDeviceAccess)
#include "test_device_access.moc"
