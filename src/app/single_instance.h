#pragma once

// The newest start wins: a new instance tells the running one to quit and then
// takes over the local socket name. The running one also accepts "Activate"
// from any outside sender and brings its window forward.
//
// "Running" means running from the same folder: every copy keeps its files
// beside itself, so two copies from one folder would overwrite each other's
// presets, while copies from different folders share nothing. A copy holds a
// lock file in its folder for its whole run and listens on a name tied to the
// folder and its user.

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

// The server's path for the copies user `uid` runs from `folder`. It lies in
// /tmp rather than in TMPDIR, which differs between a login session, a
// terminal and sudo; the folder is taken with its links resolved.
QString serverNameFor(const QString& folder, uint uid);
// The same for this process's user.
QString serverNameFor(const QString& folder);

// Sends "exit" to a running instance, if there is one, and waits (bounded)
// until it has stopped listening, so its quit hook has finished rewriting the
// files this instance is about to read. Returns true when an instance was
// found. The socket stays open until `client` is destroyed.
bool askRunningInstanceToExit(
    QLocalSocket& client, const QString& name, int goneWaitMs = kGoneWaitMs);

enum class Takeover {
    Ready, // this process may read and write the folder's files
    Blocked, // another copy still holds the folder
};

// Call before reading any file of `folder`; `lock` is the folder's lock file
// and stays locked for the whole run. When another copy holds it, that copy is
// sent "exit" and this one waits, at most `waitMs`, until it lets go: it does
// so only after its quit hook has saved. A lock left by a copy that was killed
// is taken over at once. Where the folder takes no lock (it is read-only) the
// name alone is asked, as askRunningInstanceToExit does.
Takeover takeOver(
    QLockFile& lock, QLocalSocket& client, const QString& folder, int waitMs = kWaitMs);

// Tells the user, in both languages, that another copy holds the folder.
void showFolderInUse();

// Listens on the name for "exit" and "Activate", one message per connection.
class Server : public QObject
{
    Q_OBJECT

public:
    explicit Server(QWidget* window, QObject* parent = nullptr);

    // Listens, removing a stale name once when it is in use. Only the user who
    // runs the program may connect. Listens again whenever the name is
    // removed while this instance runs.
    bool listen(const QString& name);
    QLocalServer* server() const { return m_server; }

    // How long a connection may stay silent before it is dropped.
    void setReadTimeoutForTesting(int ms) { m_readTimeoutMs = ms; }

private:
    void onNewConnection();
    void listenAgainIfNameIsGone();
    void handleMessage(QLocalSocket* socket);

    QLocalServer* m_server;
    QTimer* m_nameWatch;
    QPointer<QWidget> m_window;
    int m_readTimeoutMs = kWaitMs;
};

} // namespace single_instance
