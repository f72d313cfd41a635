#pragma once

// Brings the program's link up against a freshly plugged simulated device:
// the connect thread finds it, then the receive thread runs. Nothing is
// queued yet, so callers connect to recv_thread's signals afterwards.

#include <QCoreApplication>
#include <QObject>

#include "device/threads.h"
#include "simhid.h"

inline void connectSimulatedLink()
{
    auto& engine = sim::Engine::instance();
    engine.reset();
    engine.plug();
    createDeviceThreads();
    QObject context;
    bool connected = false;
    QObject::connect(
        connect_thread, &ConnectThread::Connected_Success, &context, [&] { connected = true; });
    startDeviceSearch();
    while (!connected)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    startDeviceReceive();
}
