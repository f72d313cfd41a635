// Start at login: the window's side of the login item (see app/login_item.h).

#include <QCoreApplication>
#include <QDebug>
#include <QDir>

#include "app/mainwindow.h"
#include "app/login_item.h"

void MainWindow::AutomaticStartup(bool on)
{
    createFolderLaunchAgents();
    macAutomaticStartup(on);
}

bool MainWindow::createFolderLaunchAgents()
{
    return login_item::createAgentsFolder(QDir::homePath());
}

void MainWindow::macAutomaticStartup(bool on)
{
    const QString program = QCoreApplication::applicationDirPath() + QStringLiteral("/QuorvelVesk");
    // The property list serves launchd; the desktop entry beside it is what a
    // Linux session reads at login.
    if (on) {
        createPlistFilePath(program);
        login_item::writeAutostartEntry(QDir::homePath(), program);
        qDebug() << " 注册 启动项";
    } else {
        deleteplistFilePath();
        login_item::removeAutostartEntry(QDir::homePath());
        qDebug() << " 注销 启动项";
    }
}

bool MainWindow::createPlistFilePath(QString programPath)
{
    return login_item::writeAgentFile(QDir::homePath(), programPath, login_item::loginUserName());
}

bool MainWindow::deleteplistFilePath() { return login_item::removeAgentFile(QDir::homePath()); }

bool MainWindow::enableAutoStart(QString programPath)
{
    return !programPath.isNull() && createPlistFilePath(programPath);
}

bool MainWindow::disableAutoStart() { return deleteplistFilePath(); }
