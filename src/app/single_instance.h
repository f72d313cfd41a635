#pragma once

// The newest start wins: a new instance tells the running one to quit and then
// takes over the local socket name. The running one also accepts "Activate"
// from any outside sender and brings its window forward.
//
// "Running" means running from the same folder: every copy keeps its files
// beside itself, so two copies from one folder would overwrite each other's
// presets, while copies from different folders share nothing. A copy holds a
// lock file in its folder for its whole run and listens on a name tied to the
// folder, inside a folder that only its user may enter.

#include <QObject>
#include <QPointer>
#include <QString>

class QLocalServer;
class QLocalSocket;
class QLockFile;
class QTimer;
class QWidget;

namespace single_instance {

inline constexpr const char* kServerName = "QuorvelVeskSocket";
inline constexpr const char* kLockFileName = "QuorvelVesk.lock";
inline constexpr int kWaitMs = 30000; // connect, write and read waits
inline constexpr int kGoneWaitMs = 10000; // how long the old instance may take to quit

// Makes `path` a folder of this user that no one else may enter, or checks the
// one that is there: a folder, not a link, owned by this user, mode 0700.
// Returns false, with the reason in `why`, where it is not.
bool makePrivateFolder(const QString& path, QString* why = nullptr);

// The folder this user's sockets live in: XDG_RUNTIME_DIR where the session
// sets it, else a private folder of the user under /tmp (not TMPDIR, which
// differs between a login session, a terminal and sudo), made when missing.
// Empty, with the reason in `why`, where that folder fails the check.
QString socketFolder(QString* why = nullptr);

// The server's path for the copies this user runs from `folder` (taken with
// its links resolved); empty, with the reason in `why`, where there is no safe
// socket folder.
QString serverNameFor(const QString& folder, QString* why = nullptr);

// The process behind a connected socket: its id and user, or -1 for both
// where the system does not say.
struct Peer
{
    qint64 pid = -1;
    qint64 uid = -1;
};
Peer peerOf(const QLocalSocket& socket);

// Sends "exit" to a running instance of this user, if there is one, and waits
// (bounded) until it has stopped listening, so its quit hook has finished
// rewriting the files this instance is about to read. Returns true when an
// instance was found and asked. The socket stays open until `client` is
// destroyed.
bool askRunningInstanceToExit(
    QLocalSocket& client, const QString& name, int goneWaitMs = kGoneWaitMs);

enum class Takeover {
    Ready, // this process holds the folder's lock
    ReadyWithoutLock, // the folder takes no lock (read-only); only the name tells of others
    NewerStart, // a copy started after this one holds the folder: this one yields
    StillClosing, // the holder was asked to close and still holds the folder
    NotAsked, // the holder could not be asked (another user's, or not answering)
};

// Call before reading any file of `folder`; `lock` is the folder's lock file
// and stays locked for the whole run. Whoever holds it is sent "exit", and
// asked again whenever another copy takes the lock, until this process holds
// it or a holder has had `waitMs` to let go: it does so only after its quit
// hook has saved. A lock whose process is gone or is not this program from
// this folder is taken over at once. Where the folder takes no lock (it is
// read-only) the name alone is asked, as askRunningInstanceToExit does.
Takeover takeOver(
    QLockFile& lock, QLocalSocket& client, const QString& folder, int waitMs = kWaitMs);

// The box that tells the user, in both languages, why this copy does not
// start; `why` is StillClosing or NotAsked.
QString folderInUseText(Takeover why);
void showFolderInUse(Takeover why);

// Listens on the name for "exit" and "Activate", one message per connection.
class Server : public QObject
{
    Q_OBJECT

public:
    explicit Server(QWidget* window, QObject* parent = nullptr);

    // Listens, removing a stale name once when it is in use. Only the user who
    // runs the program may connect. Says why on stderr where it cannot.
    bool listen(const QString& name);
    // Listens again whenever the name is removed while this instance runs.
    // Needed only where no lock orders the copies: there an older copy still
    // quitting may remove the name this one took over.
    void keepName();
    QLocalServer* server() const { return m_server; }

    // How long a connection may stay silent before it is dropped.
    void setReadTimeoutForTesting(int ms) { m_readTimeoutMs = ms; }

private:
    void onNewConnection();
    void listenAgainIfNameIsGone();
    void handleMessage(QLocalSocket* socket);

    QLocalServer* m_server;
    QTimer* m_nameWatch = nullptr;
    QPointer<QWidget> m_window;
    int m_readTimeoutMs = kWaitMs;
};

} // namespace single_instance
