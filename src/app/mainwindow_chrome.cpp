// Window chrome, close and tray, the login item and the language switch.
// Until that work lands, the bodies here keep the window usable: input still
// counts as activity and closing ends the program.

#include "app/mainwindow.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>

// The window-chrome work fills this in: minimise.
void MainWindow::on_PButton_Set_4_clicked() {}

// The window-chrome work fills this in: maximise and restore.
void MainWindow::on_PButton_Set_5_clicked() {}

// The window-chrome work fills this in: close through closeEvent.
void MainWindow::on_PButton_Set_6_clicked() {}

// The window-chrome work fills this in: the maximise button's image.
void MainWindow::MaxUI_Updata(bool) {}

// The window-chrome work fills this in: the title drag; activity restarts the auto-save.
void MainWindow::mousePressEvent(QMouseEvent* event)
{
    resetTimer();
    QMainWindow::mousePressEvent(event);
}

// The window-chrome work fills this in: maximise by double-click on the title band.
void MainWindow::mouseDoubleClickEvent(QMouseEvent* event)
{
    QMainWindow::mouseDoubleClickEvent(event);
}

// The window-chrome work fills this in: the title drag; activity restarts the auto-save.
void MainWindow::mouseMoveEvent(QMouseEvent* event)
{
    resetTimer();
    QMainWindow::mouseMoveEvent(event);
}

// The window-chrome work fills this in: Ctrl+S; activity restarts the auto-save.
void MainWindow::keyPressEvent(QKeyEvent* event)
{
    resetTimer();
    QMainWindow::keyPressEvent(event);
}

// The window-chrome work fills this in: the close behaviour setting and the tray.
// Until then closing ends the program through the normal quit path.
void MainWindow::closeEvent(QCloseEvent* event)
{
    event->accept();
    QCoreApplication::exit(0);
}

// The tray work fills this in.
void MainWindow::CreateSystemTrayIcon() {}

// The tray work fills this in.
void MainWindow::onTrayIconActivated(QSystemTrayIcon::ActivationReason) {}

// The login-item work fills this in.
void MainWindow::AutomaticStartup(bool) {}

// The login-item work fills this in.
bool MainWindow::createFolderLaunchAgents()
{
    return false;
}

// The login-item work fills this in.
void MainWindow::macAutomaticStartup(bool) {}

// The login-item work fills this in.
bool MainWindow::createPlistFilePath(QString)
{
    return false;
}

// The login-item work fills this in.
bool MainWindow::deleteplistFilePath()
{
    return false;
}

// The language-switch work fills this in.
void MainWindow::Language_Change_UI() {}
