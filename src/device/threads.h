#pragma once

// The two worker threads of the device link. The connect thread searches for
// the device: it tries to open it at start, whenever the kernel announces a
// new HID node, and once a second in case an announcement never comes; it
// publishes the opened handle in scard_device and signals success. The
// receive thread turns input reports into frames for the GUI thread until
// the device is lost. Neither touches a widget: every signal is delivered
// queued on the GUI thread, and both threads can be stopped so the program
// can end them at exit.

#include "device/frame.h"

#include <QThread>

#include <atomic>

class DeniedNodeReporter;
class HidArrivalMonitor;

class ConnectThread : public QThread
{
    Q_OBJECT

public:
    explicit ConnectThread(QObject* parent = nullptr);
    ~ConnectThread() override;

    // Ends the search at once (after an attempt under way); does not wait.
    // A stopped thread never searches again.
    void stop();

    // True from a successful open until the run ends: the run is finishing,
    // not searching.
    bool opened() const { return m_opened; }

    std::atomic<bool> running { true };
    // Delay of the timed attempt that backs up the arrival announcements;
    // negative: none (tests use it to see that an announcement did the work).
    std::atomic<int> fallbackIntervalMs { 1000 };
    // How long a refused node may wait for udev before the refusal counts
    // (kDeniedNodeGrace), read when a search starts; tests that look at
    // something else lengthen it, so a slow machine cannot make it run out.
    std::atomic<int> deniedGraceMs;

signals:
    void Connected_Success();
    // Emitted on the GUI thread once per search, when the first attempt
    // finds no device; the receiver resets the connection state
    // (resetSearchState) and its status text.
    void deviceAbsent();
    // Emitted on the GUI thread when an attempt finds the device listed but
    // its node closed to this user once udev has finished with it, or after
    // the node has refused every attempt for deniedGraceMs; once per plug-in,
    // not at every retry.
    void deviceDenied(const QString& node);

protected:
    void run() override;

private:
    friend void startDeviceSearch();
    void postAbsent();
    void noteDenied(DeniedNodeReporter& reporter, HidArrivalMonitor& arrivals, bool timed);
    void drainWake();

    std::atomic<bool> m_opened { false };
    int m_wakeFd = -1; // readable after stop(): ends the wait for an arrival
};

class qv_hid_new_recv : public QThread, public qv_hid_new
{
    Q_OBJECT

public:
    qv_hid_new_recv();

signals:
    void qv_hid_new_recv_update(qv_hid_new::CustomHidFrameInfo chfi);
    void HidDeviceDisconnected();

protected:
    void run() override;
};

// The single instance of each thread; made by createDeviceThreads, never deleted.
extern ConnectThread* connect_thread;
extern qv_hid_new_recv* recv_thread;

// GUI-thread steps of the link's life cycle.
void createDeviceThreads(); // once; registers the frame type first
// Start (or, after a loss, restart) the search: ends any receive run, closes
// the lost handle, waits for the previous connect run and starts a new one.
// Does nothing while a search is already running.
void startDeviceSearch();
// On Connected_Success: starts a receive run once the previous one has ended.
void startDeviceReceive();
// At quit: stops both threads, waits for them (bounded) and closes the
// handle. Returns false when a thread did not end in time.
bool stopDeviceThreads(int timeoutMs = 2000);
