#pragma once

// The newest start wins: a new instance tells the running one to quit and then
// takes over the local socket name. The running one also accepts "Activate"
// from any outside sender and brings its window forward.

#include <QObject>
#include <QPointer>
#include <QString>

class QLocalServer;
class QLocalSocket;
class QTimer;
class QWidget;

namespace single_instance {

inline constexpr const char* kServerName = "QuorvelVeskSocket";
inline constexpr int kWaitMs = 30000; // connect, write and read waits
inline constexpr int kGoneWaitMs = 10000; // how long the old instance may take to quit

// Sends "exit" to a running instance, if there is one, and waits (bounded)
// until it has stopped listening, so its quit hook has finished rewriting the
// files this instance is about to read. Returns true when an instance was
// found. The socket stays open until `client` is destroyed.
bool askRunningInstanceToExit(
    QLocalSocket& client, const QString& name = kServerName, int goneWaitMs = kGoneWaitMs);

// Listens on the name for "exit" and "Activate", one message per connection.
class Server : public QObject
{
    Q_OBJECT

public:
    explicit Server(QWidget* window, QObject* parent = nullptr);

    // Listens, removing a stale name once when it is in use. Only the user who
    // runs the program may connect. Listens again whenever the name is
    // removed while this instance runs.
    bool listen(const QString& name = kServerName);
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
