#include "app/single_instance.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDebug>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <QTimer>
#include <QWidget>

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

} // namespace

bool askRunningInstanceToExit(QLocalSocket& client, const QString& name, int goneWaitMs)
{
    client.connectToServer(name, QIODevice::ReadWrite);
    if (!client.waitForConnected(kWaitMs))
        return false;
    client.write("exit");
    client.waitForBytesWritten(kWaitMs);
    client.disconnectFromServer();

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
