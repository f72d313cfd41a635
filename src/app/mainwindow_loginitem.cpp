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
    if (on) {
        createPlistFilePath(program);
        qDebug() << " 注册 启动项";
    } else {
        deleteplistFilePath();
        qDebug() << " 注销 启动项";
    }
}

bool MainWindow::createPlistFilePath(QString programPath)
{
    return login_item::writeAgentFile(QDir::homePath(), programPath, login_item::loginUserName());
}

bool MainWindow::deleteplistFilePath()
{
    return login_item::removeAgentFile(QDir::homePath());
}

bool MainWindow::enableAutoStart(QString programPath)
{
    return !programPath.isNull() && createPlistFilePath(programPath);
}

bool MainWindow::disableAutoStart()
{
    return deleteplistFilePath();
}
