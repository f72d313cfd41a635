#include <QApplication>
#include <QDebug>
#include <QFont>
#include <QLocalSocket>
#include <QLockFile>
#include <QStyleFactory>

#include "app/macapplication.h"
#include "app/mainwindow.h"
#include "app/single_instance.h"
#include "app/system_quit.h"
#include "app/startup.h"
#include "store/paths.h"
#include "widgets/keyboardfocusstyle.h"
#include "widgets/resources.h"

int main(int argc, char* argv[])
{
    // Qt 6 always scales for high DPI; the attributes Qt 5 needed are no-ops now.
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "1");
    // The form's sizes were laid out where a point is one pixel (72 dpi); at
    // 96 dpi every label would outgrow its fixed box and be cut off.
    if (qEnvironmentVariableIsEmpty("QT_FONT_DPI"))
        qputenv("QT_FONT_DPI", "72");
    QApplication::setHighDpiScaleFactorRoundingPolicy(
        Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
    QApplication::setEffectEnabled(Qt::UI_AnimateCombo, false);

    MacApplication a(argc, argv);
    QApplication::setApplicationName("QuorvelVesk");
    // A quit from the session arrives as SIGTERM here; make it the same quit event.
    installSystemQuitOnSigterm();
    initResources();

    // Made first so it is let go of last, once everything has been saved.
    QLockFile folderLock(appFilePath(single_instance::kLockFileName));
    QLocalSocket client;
    const auto takeover = single_instance::takeOver(folderLock, client, appDataDir());

    // A copy started after this one holds the folder: it is the one to run.
    if (takeover == single_instance::Takeover::NewerStart)
        return 0;
    if (!installApplicationFont())
        return 1;
    if (takeover == single_instance::Takeover::StillClosing
        || takeover == single_instance::Takeover::NotAsked) {
        qDebug() << "this copy does not start";
        single_instance::showFolderInUse(takeover);
        return 1;
    }

    makeWorkingFolders(appDataDir());

    // Style once, before any widget exists: a style or application sheet set
    // after the window is built restyles every widget of it again.
    QApplication::setStyle(new KeyboardFocusStyle(QStyleFactory::create("Windows")));
    a.setStyleSheet(
        "QToolTip { color: rgb(216, 215, 216); background-color: black; border: 1px solid gray; }");

    // Built with its flags: set afterwards they would restyle the whole form.
    MainWindow w(nullptr, kMainWindowFlags);
    w.show();

    single_instance::Server server(&w);
    QString why;
    const QString name = single_instance::serverNameFor(appDataDir(), &why);
    if (name.isEmpty())
        qWarning().noquote() << "single-instance server not started:" << why;
    else if (server.listen(name) && takeover == single_instance::Takeover::ReadyWithoutLock)
        server.keepName();

    QObject::connect(&a, &QCoreApplication::aboutToQuit, &w, &MainWindow::onAboutToQuit);
    QApplication::setQuitOnLastWindowClosed(false);
    return a.exec();
}
