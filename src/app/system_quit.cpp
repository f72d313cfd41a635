#include "app/system_quit.h"

#include <QCoreApplication>
#include <QDebug>
#include <QEvent>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// Self-pipe: the handler may only write a byte; the notifier on the GUI thread
// reads it and posts the event.
int quitPipe[2] = { -1, -1 };

void onSigterm(int)
{
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] ssize_t n = ::write(quitPipe[0], &byte, 1);
    errno = saved;
}

} // namespace

bool installSystemQuitOnSigterm()
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!app)
        return false;
    if (quitPipe[0] >= 0)
        return true;
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, quitPipe) != 0) {
        qDebug() << "SIGTERM: socketpair failed";
        return false;
    }
    auto* notifier = new QSocketNotifier(quitPipe[1], QSocketNotifier::Read, app);
    QObject::connect(notifier, &QSocketNotifier::activated, app, [] {
        char buf[64];
        bool any = false;
        while (::read(quitPipe[1], buf, sizeof buf) > 0)
            any = true;
        if (any) {
            qDebug() << "SIGTERM: system quit request";
            QCoreApplication::postEvent(QCoreApplication::instance(), new QEvent(QEvent::Quit));
        }
    });

    struct sigaction sa = {};
    sa.sa_handler = onSigterm;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    if (::sigaction(SIGTERM, &sa, nullptr) != 0) {
        qDebug() << "SIGTERM: sigaction failed";
        return false;
    }
    return true;
}
