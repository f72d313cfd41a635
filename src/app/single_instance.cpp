#include "app/single_instance.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QMessageBox>
#include <QThread>
#include <QTimer>
#include <QWidget>

#include <unistd.h>

#include "widgets/message_box.h"
#include "widgets/modal_seam.h"

namespace single_instance {

namespace {

// True while something accepts connections on the name.
bool isAnswering(const QString& name)
{
    QLocalSocket probe;
    probe.connectToServer(name, QIODevice::ReadWrite);
    const bool up = probe.waitForConnected(1000);
    probe.abort();
    return up;
}

// One "exit" to the name; true when something was listening on it.
bool sendExit(QLocalSocket& client, const QString& name)
{
    client.connectToServer(name, QIODevice::ReadWrite);
    if (!client.waitForConnected(kWaitMs))
        return false;
    client.write("exit");
    client.waitForBytesWritten(kWaitMs);
    client.disconnectFromServer();
    return true;
}

} // namespace

QString serverNameFor(const QString& folder, uint uid)
{
    QString path = QFileInfo(folder).canonicalFilePath();
    if (path.isEmpty())
        path = QDir(folder).absolutePath();
    // A digest keeps the path well inside a socket address's 107 bytes
    // however deep the folder lies.
    const QByteArray digest
        = QCryptographicHash::hash(path.toUtf8(), QCryptographicHash::Sha256).toHex().left(16);
    return QStringLiteral("/tmp/%1-%2-%3")
        .arg(QLatin1String(kServerName))
        .arg(uid)
        .arg(QLatin1String(digest));
}

QString serverNameFor(const QString& folder) { return serverNameFor(folder, ::getuid()); }

bool askRunningInstanceToExit(QLocalSocket& client, const QString& name, int goneWaitMs)
{
    if (!sendExit(client, name))
        return false;

    // The old instance still saves its settings and presets in its quit hook;
    // reading them before it is done would load half-old state. It closes its
    // server only after that hook, so wait for the name to stop answering.
    QDeadlineTimer deadline(goneWaitMs);
    while (!deadline.hasExpired() && isAnswering(name))
        QThread::msleep(50);
    if (deadline.hasExpired())
        qDebug() << "the running instance did not quit in time";
    return true;
}

Takeover takeOver(QLockFile& lock, QLocalSocket& client, const QString& folder, int waitMs)
{
    // Held for the whole run: only an owner that is gone makes it stale, never
    // its age.
    lock.setStaleLockTime(0);
    if (lock.tryLock(0))
        return Takeover::Ready;
    if (lock.error() != QLockFile::LockFailedError || !QFileInfo(folder).isWritable()) {
        // This process could not save here anyway; only the name tells of a
        // running copy.
        askRunningInstanceToExit(client, serverNameFor(folder));
        return Takeover::Ready;
    }

    QDeadlineTimer deadline(waitMs);
    bool asked = false;
    for (;;) {
        if (!asked) {
            // The holder listens under its own user's name (it may have been
            // started with sudo), and not before its window is up: a copy
            // still starting is asked again until it answers.
            const uint owner = QFileInfo(lock.fileName()).ownerId();
            asked = sendExit(client, serverNameFor(folder, owner));
            if (asked) {
                qDebug() << "asked the copy running from" << folder << "to quit";
            } else if (client.error() == QLocalSocket::SocketAccessError) {
                qDebug() << "the copy running from" << folder << "belongs to another user";
                return Takeover::Blocked;
            }
        }
        if (lock.tryLock(0))
            return Takeover::Ready;
        if (deadline.hasExpired()) {
            qDebug() << "the copy running from" << folder << "did not quit in time";
            return Takeover::Blocked;
        }
        QThread::msleep(50);
    }
}

void showFolderInUse()
{
    // The Chinese half uses only characters of the embedded font.
    const QString text = QStringLiteral(
        "QuorvelVesk is already running from this folder and did not close. So that no preset "
        "is lost, this copy does not start. Close the running copy (it may belong to another "
        "user), then start the program again.\n\n"
        "本文件夹中已有程序在运行，未关闭。为不丢失配置，本程序不启动。"
        "请关闭已在运行的程序（或其他用户的程序）后重新启动。");
    QMessageBox box;
    modal::buildMessageBox(box, QMessageBox::Warning, QStringLiteral("QuorvelVesk"), text,
        { modal::BoxButton(QMessageBox::Ok) });
    modal::exec(box);
}

Server::Server(QWidget* window, QObject* parent)
    : QObject(parent)
    , m_server(new QLocalServer(this))
    , m_nameWatch(new QTimer(this))
    , m_window(window)
{
    m_nameWatch->setInterval(500);
    connect(m_nameWatch, &QTimer::timeout, this, [this] { listenAgainIfNameIsGone(); });
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(
        m_server, &QLocalServer::newConnection, m_server, [this] { onNewConnection(); },
        Qt::DirectConnection);
}

bool Server::listen(const QString& name)
{
    if (!m_server->listen(name)) {
        if (m_server->serverError() != QAbstractSocket::AddressInUseError) {
            qDebug() << "single-instance server not started:" << m_server->errorString();
            return false;
        }
        QLocalServer::removeServer(name);
        if (!m_server->listen(name))
            return false;
    }
    // The name may have belonged to an instance that is still quitting (it did
    // not stop answering in time; listening replaces its socket file). When it
    // closes its server at last, that removes the file by name, though the
    // file is ours by then, and nothing could reach this instance any more.
    m_nameWatch->start();
    return true;
}

void Server::listenAgainIfNameIsGone()
{
    if (QFile::exists(m_server->fullServerName()))
        return;
    const QString name = m_server->serverName();
    m_server->close();
    if (!m_server->listen(name)) {
        m_nameWatch->stop();
        qDebug() << "single-instance server lost its name:" << m_server->errorString();
    }
}

void Server::onNewConnection()
{
    QLocalSocket* socket = m_server->nextPendingConnection();
    if (!socket)
        return;
    // One message per connection, read when it arrives; the GUI thread never
    // waits for it. A client that stays silent is dropped after the timeout.
    auto* silence = new QTimer(socket);
    silence->setSingleShot(true);
    // Context `this`: the server's destruction closes its sockets, and those
    // late signals must not reach a half-destroyed handler.
    connect(silence, &QTimer::timeout, this, [this, socket] { handleMessage(socket); });
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] { handleMessage(socket); });
    connect(socket, &QLocalSocket::disconnected, this, [this, socket] { handleMessage(socket); });
    silence->start(m_readTimeoutMs);
    if (socket->bytesAvailable() > 0)
        handleMessage(socket);
}

void Server::handleMessage(QLocalSocket* socket)
{
    if (socket->property("handled").toBool())
        return;
    socket->setProperty("handled", true);
    const QString text = QString::fromUtf8(socket->readAll());
    // Every message leaves a line, so the log tells one that was ignored from
    // one that never arrived.
    qDebug() << "single-instance message" << text.left(64);
    if (text == QLatin1String("Activate")) {
        if (m_window) {
            m_window->showNormal();
            m_window->activateWindow();
        }
    } else if (text == QLatin1String("exit")) {
        QCoreApplication::exit(0);
    }
    socket->disconnectFromServer();
    socket->deleteLater();
}

} // namespace single_instance
