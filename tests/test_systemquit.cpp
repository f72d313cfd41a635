// The system's request to quit: SIGTERM becomes the quit event, and that
// event ends the program through its quit hook whatever window, box, dialog
// or menu is open, on a real main window with the hook wired as main() does.

#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDialog>
#include <QFile>
#include <QGroupBox>
#include <QMenu>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <csignal>
#include <functional>
#include <memory>
#include <unistd.h>

#include "app/macapplication.h"
#include "app/mainwindow.h"
#include "window_internals.h"
#include "app/mainwindow_ui.h"
#include "app/system_quit.h"
#include "deadlines.h"
#include "dsp/band.h"
#include "modal_guard.h"
#include "settings/checkupdata.h"
#include "settings/systemsetting.h"
#include "store/channel_modes.h"
#include "store/presets.h"
#include "store/settings.h"
#include "widgets/customcontrols.h"
#include "widgets/modal_seam.h"
#include "widgets/resources.h"
#include "window_fixture.h"
#include "workspace/customdialog.h"
#include "workspace/workspace.h"

namespace {

// Counts the quit events that reach the application object and swallows them,
// so the test's own event loop keeps running.
class QuitCounter : public QObject
{
public:
    int seen = 0;
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (watched == QCoreApplication::instance() && e->type() == QEvent::Quit) {
            ++seen;
            return true;
        }
        return false;
    }
};

constexpr int kStillRunning = 42;

MacApplication* app() { return static_cast<MacApplication*>(QCoreApplication::instance()); }

void requestQuit(bool bySignal)
{
    if (bySignal)
        ::kill(::getpid(), SIGTERM);
    else
        QCoreApplication::postEvent(QCoreApplication::instance(), new QEvent(QEvent::Quit));
}

// Runs the application's loop: `open` first (it may run a modal loop of its
// own), and the system's quit request as soon as `isOpen` holds, from inside
// whatever loop runs then. Returns the loop's code, or kStillRunning when it
// was still running at the deadline.
int quitWhileOpen(
    const std::function<void()>& open, const std::function<bool()>& isOpen, bool bySignal)
{
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(kStillRunning); });
    guard.start(testsupport::kDeadlineMs);
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (!isOpen())
            return;
        watch.stop();
        requestQuit(bySignal);
    });
    watch.start(10);
    QTimer::singleShot(0, &guard, open);
    return QCoreApplication::exec();
}

template <typename T> bool modalIs()
{
    return qobject_cast<T*>(QApplication::activeModalWidget()) != nullptr;
}

} // namespace

class TestSystemQuit : public QObject
{
    Q_OBJECT

    // The quit has to win over real boxes, menus and dialogs in their own loops.
    const modalguard::RealModals realModals;
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<MainWindow> w;
    MainWindowInternals in() const { return internals(*w); }

    CHECKUPDATA* updateWindow() const { return systemset->updateWindow(); }

    void showFailedCheck() const
    {
        updateWindow()->ConnectFailedUI(sysSetValue.QuorvelVesk_version);
        updateWindow()->show();
    }

    // "L/R" with right-channel bands that the switch to "L+R" would discard.
    void leftRightWithRightBands()
    {
        for (int k = 0; k < 12; ++k) {
            clearBand(*EQ[k]);
            *EQ_R[k] = { 1, 4, 2000 + k, -2.0, 2.0 };
        }
        in().comboBox_PEQMode->blockSignals(true);
        in().comboBox_PEQMode->setCurrentIndex(1);
        in().comboBox_PEQMode->blockSignals(false);
        in().checkBox_channel->setChecked(false);
        in().checkBox_channel->show();
        addOrUpdateConfig(0, 1);
    }

    void chooseLinkedMode()
    {
        in().comboBox_PEQMode->setFocus();
        QTest::keyClick(in().comboBox_PEQMode, Qt::Key_Up);
    }

private slots:
    void initTestCase()
    {
        initResources();
        dir = freshWindowDir();
        QVERIFY(dir);
        w = std::make_unique<MainWindow>();
        connect(app(), &QCoreApplication::aboutToQuit, w.get(), &MainWindow::onAboutToQuit);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        sysSetValue.Language = 1;
    }

    void cleanupTestCase() { w.reset(); }

    void init()
    {
        app()->setSystemQuitRequested(false);
        sysSetValue.CloseBehavior = false;
        w->showNormal();
    }

    void sigtermBecomesQuitEvent()
    {
        QuitCounter counter;
        QCoreApplication::instance()->installEventFilter(&counter);
        QVERIFY(installSystemQuitOnSigterm());
        QVERIFY(installSystemQuitOnSigterm()); // a second call changes nothing

        QCOMPARE(::kill(::getpid(), SIGTERM), 0); // would end the test without the handler
        QTRY_COMPARE(counter.seen, 1);

        // Every later request arrives as well.
        QCOMPARE(::kill(::getpid(), SIGTERM), 0);
        QTRY_COMPARE(counter.seen, 2);
        QTest::qWait(50);
        QCOMPARE(counter.seen, 2);
        QCoreApplication::instance()->removeEventFilter(&counter);
    }

    void quitWinsOverWhatIsOpen_data()
    {
        QTest::addColumn<QString>("what");
        QTest::addColumn<bool>("bySignal");
        QTest::newRow("update window") << "update" << true;
        QTest::newRow("update window, the session's quit event") << "update" << false;
        QTest::newRow("settings window") << "settings" << true;
        QTest::newRow("update window over the settings window") << "update over settings" << true;
        QTest::newRow("channel-mode box") << "mode box" << true;
        QTest::newRow("channel-mode box under the update window")
            << "mode box under update" << true;
        QTest::newRow("curve name dialog") << "name dialog" << true;
        QTest::newRow("slot chooser") << "slot chooser" << true;
        QTest::newRow("row menu") << "row menu" << true;
    }
    void quitWinsOverWhatIsOpen()
    {
        QFETCH(QString, what);
        QFETCH(bool, bySignal);
        QVERIFY(installSystemQuitOnSigterm());
        leftRightWithRightBands();
        *EQ[3] = { 1, 1, 500, -4.0, 1.0 };
        in().pendingCurveName = "typed before";
        // The quit hook writes both back.
        QVERIFY(QFile::remove(settingsFilePath()) || !QFile::exists(settingsFilePath()));
        QVERIFY(QFile::remove(presetFilePath()) || !QFile::exists(presetFilePath()));

        std::function<void()> open;
        std::function<bool()> isOpen;
        if (what == "update") {
            open = [this] { showFailedCheck(); };
            isOpen = [this] { return updateWindow()->isVisible(); };
        } else if (what == "settings") {
            open = [this] { w->on_PButton_Set_clicked(); };
            isOpen = [] { return systemset->isVisible(); };
        } else if (what == "update over settings") {
            open = [this] {
                w->on_PButton_Set_clicked();
                showFailedCheck();
            };
            isOpen = [this] { return updateWindow()->isVisible() && systemset->isVisible(); };
        } else if (what == "mode box") {
            open = [this] { chooseLinkedMode(); };
            isOpen = [] { return modalIs<QMessageBox>(); };
        } else if (what == "mode box under update") {
            // The start-up check's answer comes while the box is open.
            open = [this] {
                QTimer::singleShot(0, w.get(), [this] { showFailedCheck(); });
                chooseLinkedMode();
            };
            isOpen = [this] {
                return updateWindow()->isVisible() && !w->findChildren<QMessageBox*>().isEmpty();
            };
        } else if (what == "name dialog") {
            open = [this] { w->openDialog_tar(); };
            isOpen = [] { return modalIs<QDialog>(); };
        } else if (what == "slot chooser") {
            open = [this] { modal::exec(*in().ui->widget->dialog); };
            isOpen = [this] { return in().ui->widget->dialog->isVisible(); };
        } else if (what == "row menu") {
            open = [this] {
                QGroupBox* box = bandRowDescriptors()[3].groupBox.of(*in().ui);
                QContextMenuEvent event(
                    QContextMenuEvent::Mouse, QPoint(5, 5), box->mapToGlobal(QPoint(5, 5)));
                QCoreApplication::sendEvent(box, &event);
            };
            isOpen = [] { return qobject_cast<QMenu*>(QApplication::activePopupWidget()); };
        }

        const int code = quitWhileOpen(open, isOpen, bySignal);
        QVERIFY2(code != kStillRunning, "the event loop did not end");
        QCOMPARE(code, 0);
        QVERIFY(app()->isSystemQuitRequested());
        // The quit hook ran.
        QVERIFY(QFile::exists(settingsFilePath()));
        QVERIFY(QFile::exists(presetFilePath()));
        // Every window closed on the way, as an ordinary quit closes them.
        QVERIFY(!w->isVisible());
        QVERIFY(!systemset->isVisible());
        QVERIFY(!updateWindow()->isVisible());
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        QCOMPARE(QApplication::activePopupWidget(), nullptr);

        // Whatever was open counts as answered with Cancel: nothing changed.
        QCOMPARE(in().comboBox_PEQMode->currentIndex(), 1);
        QCOMPARE(getConfig(0), 1);
        QCOMPARE(EQ_R[5]->center_frequency, 2005);
        QCOMPARE(EQ_R[5]->type, 4);
        QCOMPARE(EQ[3]->gain, -4.0);
        QCOMPARE(int(EQ[3]->status), 1);
        if (what == "name dialog")
            QCOMPARE(in().pendingCurveName, QString());
        if (what == "slot chooser")
            QCOMPARE(in().ui->widget->dialog->selectedButton(), 3);
    }

    // A person closing the update window only hides it; the program goes on.
    void personClosesUpdateWindow()
    {
        showFailedCheck();
        QVERIFY(updateWindow()->isVisible());
        QVERIFY(!updateWindow()->close());
        QVERIFY(!updateWindow()->isVisible());
        QVERIFY(w->isVisible());
        QVERIFY(!app()->isSystemQuitRequested());
    }
};

int main(int argc, char** argv)
{
    MacApplication app(argc, argv);
    TestSystemQuit test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_systemquit.moc"
