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
#include <QSysInfo>
#include <QThread>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <sys/socket.h>
#include <sys/stat.h>
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

// One "exit" to the name, only to a server of this user and, where `holder`
// is given, only to that process; true when it was sent.
bool sendExit(QLocalSocket& client, const QString& name, int waitMs, qint64 holder = -1)
{
    if (name.isEmpty())
        return false;
    client.abort();
    client.connectToServer(name, QIODevice::ReadWrite);
    if (!client.waitForConnected(std::max(waitMs, 1)))
        return false;
    const Peer peer = peerOf(client);
    if (peer.uid != qint64(::geteuid()) || (holder > 0 && peer.pid != holder)) {
        // Someone else's server, or not yet the copy that holds the folder:
        // "exit" is for that copy alone.
        client.abort();
        return false;
    }
    client.write("exit");
    client.waitForBytesWritten(std::max(waitMs, 1));
    client.disconnectFromServer();
    return true;
}

// The process that wrote the lock, as the lock records it.
struct Holder
{
    qint64 pid = 0;
    QString host;
    bool operator==(const Holder&) const = default;
};

enum class Kind {
    Stale, // gone, or a process that cannot have written the lock
    Ours, // this program from this folder, run by this user, started before this one
    Newer, // the same, started after this one
    OtherUser, // a live holder of another user: it cannot be asked
    Remote, // on another host: nothing here can tell
};

// When the process started, in clock ticks since boot; 0 where unknown.
quint64 startTicks(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray line = stat.readAll();
    // The command name in parentheses may hold spaces; the fields after it
    // start with the state, and the start time is the 20th of them.
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    return fields.size() > 19 ? fields.at(19).toULongLong() : 0;
}

// Whether a live `pid` started after this process did.
bool startedLater(qint64 pid)
{
    const quint64 mine = startTicks(::getpid());
    const quint64 theirs = startTicks(pid);
    if (mine == 0 || theirs == 0)
        return false;
    // Two starts within one clock tick: the later one has the higher id.
    return theirs > mine || (theirs == mine && pid > ::getpid());
}

Kind kindOf(const Holder& holder, const QString& folder, uid_t lockOwner)
{
    if (!holder.host.isEmpty() && holder.host != QSysInfo::machineHostName())
        return Kind::Remote;
    if (holder.pid <= 0 || holder.pid == ::getpid())
        return Kind::Stale;
    const QByteArray exeLink = "/proc/" + QByteArray::number(holder.pid) + "/exe";
    char target[4096];
    const ssize_t length = ::readlink(exeLink.constData(), target, sizeof target - 1);
    if (length >= 0) {
        QByteArray exe(target, length);
        // A program file replaced (by an update) while it runs.
        static const QByteArray deleted = " (deleted)";
        if (exe.endsWith(deleted))
            exe.chop(deleted.size());
        const QString exeFolder = QFileInfo(QFile::decodeName(exe)).path();
        if (exeFolder != QFileInfo(folder).canonicalFilePath())
            return Kind::Stale;
    } else if (errno == ENOENT || errno == ESRCH) {
        return Kind::Stale;
    } else {
        // Another user's process, whose program only that user may read.
        // Only a process of the lock file's owner can have written it; one
        // of that user may be a copy from this folder.
        struct stat process;
        const QByteArray dir = "/proc/" + QByteArray::number(holder.pid);
        if (::stat(dir.constData(), &process) != 0 || process.st_uid != lockOwner)
            return Kind::Stale;
    }
    if (lockOwner != ::geteuid())
        return Kind::OtherUser;
    return startedLater(holder.pid) ? Kind::Newer : Kind::Ours;
}

} // namespace

bool makePrivateFolder(const QString& path, QString* why)
{
    const QByteArray native = QFile::encodeName(path);
    auto fail = [&](const QString& reason) {
        if (why)
            *why = path + QStringLiteral(": ") + reason;
        return false;
    };
    if (::mkdir(native.constData(), 0700) == 0) {
        // The process's umask may have taken more than it should.
        ::chmod(native.constData(), 0700);
    } else if (errno != EEXIST) {
        return fail(QString::fromLocal8Bit(std::strerror(errno)));
    }
    struct stat info;
    if (::lstat(native.constData(), &info) != 0)
        return fail(QString::fromLocal8Bit(std::strerror(errno)));
    if (S_ISLNK(info.st_mode))
        return fail(QStringLiteral("is a link"));
    if (!S_ISDIR(info.st_mode))
        return fail(QStringLiteral("is not a folder"));
    if (info.st_uid != ::geteuid())
        return fail(QStringLiteral("belongs to another user"));
    if ((info.st_mode & 07777) != 0700)
        return fail(QStringLiteral("has mode %1, not 700").arg(info.st_mode & 07777, 0, 8));
    return true;
}

QString socketFolder(QString* why)
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (QDir::isAbsolutePath(runtime))
        return QDir::cleanPath(runtime);
    const QString own = QStringLiteral("/tmp/QuorvelVesk-%1").arg(::geteuid());
    return makePrivateFolder(own, why) ? own : QString();
}

QString serverNameFor(const QString& folder, QString* why)
{
    const QString sockets = socketFolder(why);
    if (sockets.isEmpty())
        return {};
    QString path = QFileInfo(folder).canonicalFilePath();
    if (path.isEmpty())
        path = QDir(folder).absolutePath();
    // A digest keeps the path well inside a socket address's 107 bytes
    // however deep the folder lies.
    const QByteArray digest
        = QCryptographicHash::hash(path.toUtf8(), QCryptographicHash::Sha256).toHex().left(16);
    return QStringLiteral("%1/%2-%3")
        .arg(sockets, QLatin1String(kServerName), QLatin1String(digest));
}

Peer peerOf(const QLocalSocket& socket)
{
    Peer peer;
    struct ucred credentials
    {
    };
    socklen_t size = sizeof credentials;
    if (socket.socketDescriptor() >= 0
        && ::getsockopt(
               int(socket.socketDescriptor()), SOL_SOCKET, SO_PEERCRED, &credentials, &size)
            == 0) {
        peer.pid = credentials.pid;
        peer.uid = credentials.uid;
    }
    return peer;
}

bool askRunningInstanceToExit(QLocalSocket& client, const QString& name, int goneWaitMs)
{
    if (!sendExit(client, name, kWaitMs))
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
        return Takeover::ReadyWithoutLock;
    }

    const QString name = serverNameFor(folder);
    Holder current;
    Holder asked;
    QDeadlineTimer deadline(waitMs);
    for (;;) {
        if (lock.tryLock(0))
            return Takeover::Ready;
        Holder holder;
        struct stat lockFile;
        // Unreadable while its writer has only just made it, or let it go.
        if (lock.getLockInfo(&holder.pid, &holder.host, nullptr)
            && ::stat(QFile::encodeName(lock.fileName()).constData(), &lockFile) == 0) {
            // Every copy that takes the folder over gets the whole wait to
            // start, answer and quit.
            if (holder != current) {
                current = holder;
                deadline.setRemainingTime(waitMs);
            }
            switch (kindOf(holder, folder, lockFile.st_uid)) {
            case Kind::Stale:
                // QLockFile removes it only where no live process still
                // holds the lock file open and locked.
                if (lock.removeStaleLockFile()) {
                    qDebug() << "took over the lock of process" << holder.pid
                             << ", which is no copy running from" << folder;
                    continue;
                }
                break;
            case Kind::OtherUser:
                qDebug() << "the copy running from" << folder << "belongs to another user";
                return Takeover::NotAsked;
            case Kind::Newer:
                qDebug() << "a newer start holds" << folder << "; this one yields";
                return Takeover::NewerStart;
            case Kind::Ours:
                // A copy still starting listens only once its window is up:
                // it is asked again until it answers.
                if (holder != asked
                    && sendExit(client, name, int(deadline.remainingTime()), holder.pid)) {
                    asked = holder;
                    qDebug() << "asked the copy running from" << folder << "to quit";
                }
                break;
            case Kind::Remote:
                break;
            }
        }
        if (deadline.hasExpired()) {
            if (current.pid != 0 && asked == current) {
                qDebug() << "the copy running from" << folder << "is still closing";
                return Takeover::StillClosing;
            }
            // Nothing answered for the whole wait. A holder that is gone no
            // longer keeps the lock file locked, wherever it ran.
            if (lock.removeStaleLockFile() && lock.tryLock(0))
                return Takeover::Ready;
            qDebug() << "the copy running from" << folder << "could not be asked to quit";
            return Takeover::NotAsked;
        }
        QThread::msleep(50);
    }
}

QString folderInUseText(Takeover why)
{
    // The Chinese halves use only characters of the embedded font.
    if (why == Takeover::StillClosing)
        return QStringLiteral(
            "QuorvelVesk is running from this folder. It was asked to close and is still "
            "closing. Start the program again in a moment.\n\n"
            "本文件夹中运行的程序已被请求关闭，目前在关闭中。请过一会后重新启动本程序。");
    return QStringLiteral(
        "QuorvelVesk is already running from this folder and did not close. So that no preset "
        "is lost, this copy does not start. Close the running copy (it may belong to another "
        "user), then start the program again.\n\n"
        "本文件夹中已有程序在运行，未关闭。为不丢失配置，本程序不启动。"
        "请关闭已在运行的程序（或其他用户的程序）后重新启动。");
}

void showFolderInUse(Takeover why)
{
    QMessageBox box;
    modal::buildMessageBox(box, QMessageBox::Warning, QStringLiteral("QuorvelVesk"),
        folderInUseText(why), { modal::BoxButton(QMessageBox::Ok) });
    modal::exec(box);
}

Server::Server(QWidget* window, QObject* parent)
    : QObject(parent)
    , m_server(new QLocalServer(this))
    , m_window(window)
{
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
        if (!m_server->listen(name)) {
            qDebug() << "single-instance server not started:" << m_server->errorString();
            return false;
        }
    }
    return true;
}

void Server::keepName()
{
    // The name may have belonged to an instance that is still quitting (it did
    // not stop answering in time; listening replaces its socket file). When it
    // closes its server at last, that removes the file by name, though the
    // file is ours by then, and nothing could reach this instance any more.
    if (!m_nameWatch) {
        m_nameWatch = new QTimer(this);
        m_nameWatch->setInterval(500);
        connect(m_nameWatch, &QTimer::timeout, this, [this] { listenAgainIfNameIsGone(); });
    }
    m_nameWatch->start();
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
