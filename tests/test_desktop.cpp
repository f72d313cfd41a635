// The main window on a real X server, first bare and then with a window
// manager: every edge and corner dragged by synthetic pointer events resizes by
// exactly the pointer's travel, the button hover frames read back from the
// screen, and a maximise by the window manager. The test starts its own Xvfb
// (and later openbox) before the application object exists; where none can
// start, every test is skipped with the reason.
//
// Displays are tried from QV_TEST_DISPLAYS ("first-last", default 300-339),
// so parallel runs and a desktop in use are left alone.

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QStandardPaths>
#include <QStyleFactory>
#include <QSystemTrayIcon>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWindow>

#include <memory>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "deadlines.h"
#include "app/chrome_style.h"
#include "app/mainwindow.h"
#include "window_internals.h"
#include "app/mainwindow_ui.h"
#include "app/startup.h"
#include "edges.h"
#include "modal_guard.h"
#include "warning_log.h"
#include "widgets/customcontrols.h"
#include "widgets/framelesshelper.h"
#include "widgets/keyboardfocusstyle.h"
#include "widgets/resources.h"
#include "window_fixture.h"

namespace {

constexpr int kWaitMs
    = testsupport::kDeadlineMs; // for the server, the window manager and each step

// Why there is no X server, empty when there is one.
QString& noServerReason()
{
    static QString reason;
    return reason;
}

pid_t gServer = 0;
pid_t gWindowManager = 0;

// Starts a program that dies with this process. The child writes nothing to
// our output; an exec failure ends it with 127. Everything the child uses is
// made before the fork: other threads may hold the allocator's lock then.
pid_t spawn(const QList<QByteArray>& argv, int keepFd = -1)
{
    std::vector<char*> args;
    for (const QByteArray& a : argv)
        args.push_back(const_cast<char*>(a.constData()));
    args.push_back(nullptr);
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid != 0)
        return pid;
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (getppid() != parent)
        _exit(1);
    const int null = open("/dev/null", O_RDWR);
    dup2(null, 0);
    dup2(null, 1);
    dup2(null, 2);
    for (int fd = 3; fd < 1024; ++fd)
        if (fd != keepFd)
            close(fd);
    execvp(args[0], args.data());
    _exit(127);
}

void stop(pid_t& pid)
{
    if (pid > 0) {
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
    }
    pid = 0;
}

// Xvfb on the first free display of the range. The server writes its display
// number to the pipe once it takes connections; a display in use makes it
// exit, which closes the pipe, and the next number is tried.
bool startServer()
{
    int first = 300, last = 339;
    const QByteArray range = qgetenv("QV_TEST_DISPLAYS");
    if (!range.isEmpty()) {
        const QList<QByteArray> ends = range.split('-');
        first = ends.value(0).toInt();
        last = ends.size() > 1 ? ends.value(1).toInt() : first;
    }
    for (int display = first; display <= last; ++display) {
        int fds[2];
        if (pipe(fds) != 0)
            break;
        const pid_t pid
            = spawn({ "Xvfb", ":" + QByteArray::number(display), "-screen", "0", "1920x1080x24",
                        "-nolisten", "tcp", "-displayfd", QByteArray::number(fds[1]) },
                fds[1]);
        close(fds[1]);
        QByteArray answer;
        pollfd p { fds[0], POLLIN, 0 };
        while (poll(&p, 1, 60000) > 0) {
            char buf[32];
            const ssize_t n = read(fds[0], buf, sizeof buf);
            if (n <= 0)
                break;
            answer.append(buf, n);
            if (answer.contains('\n'))
                break;
        }
        close(fds[0]);
        if (answer.trimmed().toInt() == display && answer.contains('\n')) {
            gServer = pid;
            qputenv("DISPLAY", ":" + QByteArray::number(display));
            return true;
        }
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == 0)
            kill(pid, SIGKILL), waitpid(pid, &status, 0);
        if (WIFEXITED(status) && WEXITSTATUS(status) == 127) {
            noServerReason() = "Xvfb is not installed (scripts/setup installs it)";
            return false;
        }
    }
    noServerReason() = QStringLiteral("no Xvfb could start on displays %1-%2").arg(first).arg(last);
    return false;
}

bool xdotool(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral("xdotool"), args);
    return p.waitForFinished(kWaitMs) && p.exitStatus() == QProcess::NormalExit
        && p.exitCode() == 0;
}

QStringList at(QPoint p) { return { QString::number(p.x()), QString::number(p.y()) }; }

// The pointer goes to `to` by way of a pixel beside it: a move after a pause
// of half a second or more is only noted by the window's drag handling, so
// the second move, right after the first by the server's clock, is the one
// that counts.
bool moveTo(QPoint to)
{
    return xdotool(
        QStringList { "mousemove" } + at(to + QPoint(1, 1)) + QStringList { "mousemove" } + at(to));
}

// Screen pixel of a point of a widget, as the X server shows it.
QColor screenPixel(QWidget* w, QPoint local)
{
    const QPoint g = w->mapToGlobal(local);
    return QGuiApplication::primaryScreen()
        ->grabWindow(0, g.x(), g.y(), 1, 1)
        .toImage()
        .pixelColor(0, 0);
}

// The visible window of the tray host trayer (its panel), empty when none.
QRect trayerPanel()
{
    QProcess p;
    p.start(QStringLiteral("xdotool"),
        { "search", "--onlyvisible", "--class", "trayer", "getwindowgeometry", "--shell" });
    if (!p.waitForFinished(kWaitMs) || p.exitCode() != 0)
        return {};
    QHash<QString, int> v;
    for (const QByteArray& line : p.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> kv = line.split('=');
        if (kv.size() == 2)
            v.insert(QString::fromLatin1(kv[0]), kv[1].toInt());
    }
    return QRect(v.value("X"), v.value("Y"), v.value("WIDTH"), v.value("HEIGHT"));
}

// Share of the screen's pixels in `r` that are near black.
double darkShare(QRect r)
{
    const QImage image = QGuiApplication::primaryScreen()
                             ->grabWindow(0, r.x(), r.y(), r.width(), r.height())
                             .toImage();
    int dark = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            dark += c.red() < 60 && c.green() < 60 && c.blue() < 60;
        }
    return image.isNull() ? 0.0 : double(dark) / (image.width() * image.height());
}

} // namespace

class TestDesktop : public QObject
{
    Q_OBJECT

    // A window manager and xdotool answer the menus shown here.
    const modalguard::RealModals realModals;
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<MainWindow> window;
    bool windowManaged = false;

    // A new main window with its frame top-left at (300, 200): room on every
    // side for the pointer to drag an edge outwards. Null when it did not show.
    MainWindow* newWindow(bool managed)
    {
        window.reset();
        dir = freshWindowDir();
        if (!dir)
            return nullptr;
        window = std::make_unique<MainWindow>();
        windowManaged = managed;
        window->move(300, 200);
        window->show();
        if (!QTest::qWaitForWindowExposed(window.get(), kWaitMs))
            return nullptr;
        // A managed window is known by the frame its manager put around it.
        // The manager maps it where it was asked to; a move now would race
        // the drags, as the manager may carry it out late.
        if (managed
            && !QTest::qWaitFor(
                [&] { return window->frameGeometry() != window->geometry(); }, kWaitMs))
            return nullptr;
        if (window->frameGeometry().topLeft() != QPoint(300, 200))
            return nullptr;
        return window.get();
    }

    // The window of the last test when it fits, else a new one. Without a
    // manager nobody else moves the window, so it is put back directly.
    MainWindow* reusedWindow(bool managed)
    {
        if (!window || windowManaged != managed)
            return newWindow(managed);
        if (!managed) {
            window->setGeometry(QRect(QPoint(300, 200), window->minimumSize()));
            QApplication::processEvents(); // the request reaches the server before the pointer
                                           // moves
        }
        return window.get();
    }

    void ensureWindowManager(bool wanted)
    {
        if (!wanted || gWindowManager)
            return;
        if (QStandardPaths::findExecutable(QStringLiteral("openbox")).isEmpty())
            QSKIP("openbox is not installed (scripts/setup installs it)");
        gWindowManager = spawn({ "openbox" });
    }

public:
    static void initMain()
    {
        qputenv("QT_FONT_DPI", "72"); // as the program sets it
        if (startServer())
            qputenv("QT_QPA_PLATFORM", "xcb");
    }

private slots:
    void initTestCase()
    {
        if (!noServerReason().isEmpty())
            QSKIP(qPrintable("no X server: " + noServerReason()));
        if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
            QSKIP("xdotool is not installed (scripts/setup installs it)");
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
        // Every synthetic move reaches the window, none merged into a later
        // one: see moveTo.
        QCoreApplication::setAttribute(Qt::AA_CompressHighFrequencyEvents, false);
        initResources();
        testsupport::installWarningLog();
        QVERIFY(installApplicationFont());
        QApplication::setStyle(new KeyboardFocusStyle(QStyleFactory::create("Windows")));
    }

    // A failed step leaves the button held; the next test starts without.
    void cleanup()
    {
        if (noServerReason().isEmpty())
            xdotool({ "mouseup", "1" });
    }

    void cleanupTestCase()
    {
        window.reset();
        stop(gWindowManager);
        stop(gServer);
    }

    // Rows without a window manager come first; the manager starts with the
    // first row that wants it.
    void resizeByTravel_data()
    {
        QTest::addColumn<bool>("managed");
        QTest::addColumn<QPoint>("side"); // -1 left/top, 1 right/bottom, 0 neither
        const std::pair<const char*, QPoint> sides[] = {
            { "right", { 1, 0 } },
            { "left", { -1, 0 } },
            { "top", { 0, -1 } },
            { "bottom", { 0, 1 } },
            { "top-left", { -1, -1 } },
            { "top-right", { 1, -1 } },
            { "bottom-left", { -1, 1 } },
            { "bottom-right", { 1, 1 } },
        };
        for (const auto& [name, side] : sides)
            QTest::addRow("no window manager, %s", name) << false << side;
        // With a manager, the top and bottom edges and the corners are its
        // frame, which it resizes itself; the side edges reach the window.
        QTest::newRow("openbox, right") << true << QPoint(1, 0);
        QTest::newRow("openbox, left") << true << QPoint(-1, 0);
    }

    void resizeByTravel()
    {
        QFETCH(bool, managed);
        QFETCH(QPoint, side);
        ensureWindowManager(managed);
        // A managed window starts fresh for each drag: see newWindow.
        MainWindow* w = managed ? newWindow(true) : reusedWindow(false);
        const MainWindowInternals in = internals(*w);
        QVERIFY2(w, "the window did not show (with its frame) at its place");
        QCOMPARE(w->size(), w->minimumSize());

        // Edges are pressed on the window's outermost pixel: the side edges
        // inside the window (over the curve switches on the right, the logo on
        // the left), the others on the frame, which is the window itself
        // without a manager.
        const QRect frame = w->frameGeometry();
        const QRect start = w->geometry();
        const bool corner = side.x() != 0 && side.y() != 0;
        const int stripY
            = in.ui->widget_4->mapToGlobal(QPoint(0, in.ui->widget_4->height() / 2)).y();
        const int logoY
            = in.ui->label_29->mapToGlobal(QPoint(0, in.ui->label_29->height() / 2)).y();
        const int x = side.x() < 0 ? (corner ? frame.left() : start.left())
            : side.x() > 0         ? (corner ? frame.right() : start.right())
                                   : start.center().x();
        const int y = side.y() < 0 ? frame.top()
            : side.y() > 0         ? frame.bottom()
                                   : (side.x() > 0 ? stripY : logoY);
        const QPoint press(x, y);

        QVERIFY(xdotool(QStringList { "mousemove" } + at(press)));
        QVERIFY(xdotool({ "mousedown", "1" }));
        // Out, back, and 50 px past the minimum the window starts at.
        for (int travel : { 30, 60, 100, 40, 0, -50 }) {
            QVERIFY(moveTo(press + travel * side));
            // It starts at its minimum size.
            const int grown = qMax(travel, 0);
            QTRY_COMPARE_WITH_TIMEOUT(
                w->geometry(), edgesMovedOut(start, side, grown, grown), kWaitMs);
        }
        QVERIFY(xdotool({ "mouseup", "1" }));
        // Released here, before the window goes.
        QTRY_COMPARE_WITH_TIMEOUT(QGuiApplication::mouseButtons(), Qt::NoButton, kWaitMs);
    }

    // Hovering each image button draws its style sheet's frame on the screen;
    // leaving it takes the frame away.
    void hoverFrames()
    {
        ensureWindowManager(true);
        MainWindow* w = reusedWindow(true);
        QVERIFY(w);
        MainWindowUi& ui = *internals(*w).ui;
        const QColor grey(128, 128, 128);
        const std::pair<QPushButton*, QColor> buttons[] = {
            { ui.PButton_Set, grey },
            { ui.PButton_Set_2, grey },
            { ui.PButton_Set_4, grey },
            { ui.PButton_Set_5, grey },
            { ui.PButton_Set_6, grey },
            { ui.PButton_AddEQ, grey },
            { ui.PButton_RemoveEQ_1, QColor(56, 56, 56) },
        };
        const QPoint away = ui.label_29->mapToGlobal(ui.label_29->rect().center());
        for (const auto& [button, colour] : buttons) {
            const QPoint edge(0, button->height() / 2);
            QVERIFY(xdotool(QStringList { "mousemove" } + at(away)));
            QTRY_VERIFY2_WITH_TIMEOUT(
                screenPixel(button, edge) != colour, qPrintable(button->objectName()), kWaitMs);
            QVERIFY(xdotool(
                QStringList { "mousemove" } + at(button->mapToGlobal(button->rect().center()))));
            QTRY_VERIFY2_WITH_TIMEOUT(
                screenPixel(button, edge) == colour, qPrintable(button->objectName()), kWaitMs);
        }
    }

    // Help and Import drop their hover frame once their menu closed with the
    // pointer elsewhere.
    void menuButtonsAfterTheirMenu()
    {
        ensureWindowManager(true);
        MainWindow* w = reusedWindow(true);
        const MainWindowInternals in = internals(*w);
        QVERIFY(w);
        const QPoint away = in.ui->label_29->mapToGlobal(in.ui->label_29->rect().center());
        const QColor grey(128, 128, 128);
        for (QToolButton* button : { in.ui->toolButton_3, in.ui->toolButton }) {
            QMenu* menu = button->menu();
            const QPoint edge(0, button->height() / 2);
            QVERIFY(xdotool(
                QStringList { "mousemove" } + at(button->mapToGlobal(button->rect().center()))));
            QTRY_COMPARE_WITH_TIMEOUT(screenPixel(button, edge), grey, kWaitMs);
            // The menu runs its own event loop from the press: a timer in it
            // clicks elsewhere once the menu is on the screen, and again
            // should a click come before the menu took the pointer.
            bool opened = false;
            QTimer clickAway;
            connect(&clickAway, &QTimer::timeout, this, [&] {
                if (menu->isVisible() && menu->windowHandle()
                    && menu->windowHandle()->isExposed()) {
                    opened = true;
                    xdotool(QStringList { "mousemove" } + at(away) + QStringList { "click", "1" });
                }
            });
            clickAway.start(200);
            QVERIFY(xdotool({ "click", "1" }));
            QTRY_VERIFY_WITH_TIMEOUT(opened && !menu->isVisible(), kWaitMs);
            clickAway.stop();
            QTRY_VERIFY2_WITH_TIMEOUT(
                screenPixel(button, edge) != grey, qPrintable(button->objectName()), kWaitMs);
        }
    }

    // A double-click on the manager's title bar maximises and restores the
    // window; the maximise button shows it. The button restores such a window.
    void maximiseByWindowManager()
    {
        ensureWindowManager(true);
        MainWindow* w = reusedWindow(true);
        const MainWindowInternals in = internals(*w);
        QVERIFY(w);
        QPushButton* max = in.ui->PButton_Set_5;
        const QPoint title(
            w->geometry().center().x(), (w->frameGeometry().top() + w->geometry().top()) / 2);
        QVERIFY(xdotool(QStringList { "mousemove" } + at(title)
            + QStringList { "click", "--repeat", "2", "1" }));
        QTRY_VERIFY_WITH_TIMEOUT(w->isMaximized(), kWaitMs);
        QCOMPARE(max->styleSheet(), QString(ChromeSheet::restoreHover));
        QVERIFY(!in.framelessHelper->isMax(w));

        QVERIFY(xdotool(QStringList { "mousemove" } + at(max->mapToGlobal(max->rect().center()))
            + QStringList { "click", "1" }));
        QTRY_VERIFY_WITH_TIMEOUT(!w->isMaximized(), kWaitMs);
        QCOMPARE(max->styleSheet(), QString(ChromeSheet::maximiseHover));
        QVERIFY(!in.framelessHelper->isMax(w));
    }

    // At login the program may start before the desktop's panel: its tray
    // icon, made with the window while no tray exists, goes into a tray host
    // started later.
    void trayIconInALaterTray()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("trayer")).isEmpty())
            QSKIP("trayer is not installed (scripts/setup installs it)");
        ensureWindowManager(true);
        QVERIFY2(!QSystemTrayIcon::isSystemTrayAvailable(), "a system tray runs already");
        MainWindow* w = newWindow(true);
        QVERIFY2(w, "the window did not show (with its frame) at its place");
        auto* tray = w->findChild<QSystemTrayIcon*>();
        QVERIFY(tray);

        pid_t trayer = spawn({ "trayer", "--edge", "top", "--align", "right", "--widthtype",
            "request", "--height", "32", "--SetDockType", "true", "--transparent", "false" });
        const auto stopTrayer = qScopeGuard([&] { stop(trayer); });
        // The panel takes the icon in and grows around it; the icon, a dark
        // tile, shows on the panel's light grey.
        QTRY_VERIFY_WITH_TIMEOUT(
            !tray->geometry().isEmpty() && trayerPanel().contains(tray->geometry()), kWaitMs);
        QTRY_VERIFY_WITH_TIMEOUT(darkShare(tray->geometry()) > 0.25, kWaitMs);
    }
};

QTEST_MAIN(TestDesktop)
#include "test_desktop.moc"
