// Window chrome: title-bar buttons, drag and double-click, Ctrl+S, the close
// rules and the tray icon.

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDebug>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QSystemTrayIcon>

#include "app/chrome_style.h"
#include "app/macapplication.h"
#include "app/mainwindow.h"
#include "app/mainwindow_ui.h"
#include "app/window_texts.h"
#include "store/settings.h"
#include "widgets/customcontrols.h"
#include "widgets/framelesshelper.h"

void MainWindow::on_PButton_Set_4_clicked()
{
    showMinimized();
    qDebug() << "showMinimized";
}

void MainWindow::on_PButton_Set_5_clicked()
{
    // Maximised by the window manager (its title bar, a key): the button
    // shows the restore image and restores.
    if (isMaximized()) {
        showNormal();
        return;
    }
    if (framelessHelper->isMax(this)) {
        ui->PButton_Set_5->setStyleSheet(ChromeSheet::maximiseHover);
        framelessHelper->setMax(this, false);
    } else {
        framelessHelper->setMax(this, true);
        ui->PButton_Set_5->setStyleSheet(ChromeSheet::restoreHover);
    }
}

void MainWindow::on_PButton_Set_6_clicked() { close(); }

void MainWindow::MaxUI_Updata(bool max)
{
    ui->PButton_Set_5->setStyleSheet(max ? ChromeSheet::restoreHover : ChromeSheet::maximiseHover);
}

void MainWindow::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || !ui || !framelessHelper)
        return;
    // Only a change of the maximised state touches the button; a minimise
    // and its restore leave it alone.
    const bool wasMaximised
        = static_cast<QWindowStateChangeEvent*>(event)->oldState() & Qt::WindowMaximized;
    if (wasMaximised != isMaximized())
        MaxUI_Updata(isMaximized() || framelessHelper->isMax(this));
}

void MainWindow::mousePressEvent(QMouseEvent* event)
{
    resetTimer();
    if (!isMaximized() && event->button() == Qt::LeftButton) {
        dragPosition = event->globalPosition().toPoint() - frameGeometry().topLeft();
        event->accept();
    }
}

void MainWindow::mouseMoveEvent(QMouseEvent* event)
{
    resetTimer();
    if (!isMaximized() && (event->buttons() & Qt::LeftButton)) {
        move(event->globalPosition().toPoint() - dragPosition);
        event->accept();
    }
}

void MainWindow::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        if (isMaximized()) {
            showNormal();
            ui->PButton_Set_5->setStyleSheet(ChromeSheet::maximisePlain);
            dragPosition.setY(-300);
        } else {
            showMaximized();
            ui->PButton_Set_5->setStyleSheet(ChromeSheet::restorePlain);
        }
    }
    event->accept();
}

void MainWindow::keyPressEvent(QKeyEvent* event)
{
    resetTimer();
    if (event->modifiers() == Qt::ControlModifier && event->key() == Qt::Key_S && saveButton) {
        // A click on the icon takes the focus first, so a field still being
        // typed in confirms its value (and sends it) before the save; the key
        // goes the same way, or it would save the old value.
        saveButton->setFocus(Qt::ShortcutFocusReason);
        saveButton->click();
    }
    QWidget::keyPressEvent(event);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    qDebug() << "MainWindow closeEvent type:" << event->type();
    const auto* app = qobject_cast<MacApplication*>(QCoreApplication::instance());
    if ((app && app->isSystemQuitRequested()) || sysSetValue.CloseBehavior) {
        QCoreApplication::exit(0);
        return;
    }
    showMinimized();
    event->ignore();
}

void MainWindow::CreateSystemTrayIcon()
{
    action_Show = new QAction(QStringLiteral("Show"), this);
    action_Exit = new QAction(QStringLiteral("Exit"), this);
    const MainWindowTexts& texts = mainWindowTexts(sysSetValue.Language);
    action_Show->setText(texts.trayShow);
    action_Exit->setText(texts.trayExit);

    connect(action_Show, &QAction::triggered, this, &QWidget::showNormal);
    connect(action_Exit, &QAction::triggered, this, [] {
        qDebug() << "exit";
        QCoreApplication::exit(0);
    });

    auto* menu = new QMenu(this);
    menu->addAction(action_Show);
    menu->addAction(action_Exit);

    auto* tray = new QSystemTrayIcon(this);
    connect(tray, &QSystemTrayIcon::activated, this, &MainWindow::onTrayIconActivated);
    tray->setIcon(QIcon(QStringLiteral(":ThirdPartyResources/images/QV.png")));
    tray->setContextMenu(menu);
    // Shown whether or not the session has a tray yet: Qt hands the icon to a
    // tray that comes up later, as a panel started after the program at login.
    tray->show();

    menu->setStyleSheet(ChromeSheet::trayMenu);
    tray->setToolTip(QStringLiteral("Quorvel Vesk"));
}

void MainWindow::onTrayIconActivated(QSystemTrayIcon::ActivationReason reason)
{
    if (reason != QSystemTrayIcon::Trigger)
        return;
    qDebug() << "打开托盘程序";
    showNormal();
    qDebug() << "打开托盘程序2";
}

void delay(int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 100);
}
