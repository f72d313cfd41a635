#include "device/threads.h"

#include "device/device_access.h"
#include "device/hid_arrival.h"
#include "device/hid_device.h"

#include <QDeadlineTimer>
#include <QDebug>

#include <sys/eventfd.h>
#include <unistd.h>

ConnectThread* connect_thread = nullptr;
qv_hid_new_recv* recv_thread = nullptr;

namespace {
// Reads wake this often to look at the stop request; a timeout returns 0,
// which is ignored like any other read that is neither 16 nor -1. The
// library gives no other way to end a blocked read, so this bounds how long
// a stop (at quit) waits, and each wake costs an idle connected program CPU.
constexpr int kReadTimeoutMs = 500;

// Closes the handle of a device whose receive run has ended. Only the GUI
// thread writes frames, so nothing else can be using the handle now.
void closeLostDevice()
{
    if (!scard_device)
        return;
    if (scard_device->handle)
        hid_close(scard_device->handle);
    delete scard_device;
    scard_device = nullptr;
}
} // namespace

ConnectThread::ConnectThread(QObject* parent)
    : QThread(parent)
    , deniedGraceMs(int(kDeniedNodeGrace.count()))
{
    m_wakeFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (m_wakeFd < 0)
        qWarning("device search: no eventfd; stop() waits for the next timed attempt");
}

ConnectThread::~ConnectThread()
{
    if (m_wakeFd >= 0)
        close(m_wakeFd);
}

void ConnectThread::stop()
{
    running = false;
    if (m_wakeFd >= 0) {
        const uint64_t one = 1;
        [[maybe_unused]] const ssize_t n = write(m_wakeFd, &one, sizeof one);
    }
}

void ConnectThread::drainWake()
{
    if (m_wakeFd >= 0) {
        uint64_t count;
        [[maybe_unused]] const ssize_t n = read(m_wakeFd, &count, sizeof count);
    }
}

void ConnectThread::postAbsent()
{
    QMetaObject::invokeMethod(this, &ConnectThread::deviceAbsent, Qt::QueuedConnection);
}

void ConnectThread::noteDenied(
    DeniedNodeReporter& reporter, HidArrivalMonitor& arrivals, bool timed)
{
    DeniedNodeReporter::FailedOpen attempt;
    attempt.deniedNode = deniedDeviceNode();
    attempt.timed = timed;
    attempt.udevListening = arrivals.udevListening();
    attempt.when = DeniedNodeReporter::Clock::now();
    if (!attempt.deniedNode.empty()) {
        attempt.udevFinished = arrivals.udevFinishedWith(attempt.deniedNode);
        attempt.replugged = arrivals.takeRemoval(attempt.deniedNode);
    }
    const std::string node = reporter.afterFailedOpen(attempt);
    if (node.empty())
        return;
    const QString path = QString::fromStdString(node);
    qWarning().noquote() << deniedDeviceLine(path);
    QMetaObject::invokeMethod(
        this, [this, path] { emit deviceDenied(path); }, Qt::QueuedConnection);
}

void ConnectThread::run()
{
    m_opened = false;
    drainWake(); // a stop() from an earlier run is no reason to wake now
    // Listening starts before the first attempt, so a device that arrives
    // in between is announced, not missed.
    HidArrivalMonitor arrivals;
    bool absentPosted = false;
    DeniedNodeReporter denied { std::chrono::milliseconds(deniedGraceMs.load()) };
    bool timed = false; // the attempt follows a timed wait
    while (running) {
        hid_device* h = hid_open(QV_VENDOR_ID, QV_PRODUCT_ID, nullptr);
        if (h) {
            scard_device = new qv_device(h);
            m_opened = true;
            emit Connected_Success();
            break;
        }
        // The reset does not change while the device stays away: post it once.
        if (!absentPosted) {
            postAbsent();
            absentPosted = true;
        }
        noteDenied(denied, arrivals, timed);
        // A refusal waiting for udev wakes the search once more, at the end
        // of its grace; nothing else is added to the sleep.
        const int timeout = denied.waitMs(fallbackIntervalMs, DeniedNodeReporter::Clock::now());
        const HidArrivalMonitor::Wake wake = arrivals.wait(m_wakeFd, timeout);
        if (wake == HidArrivalMonitor::Wake::Woken)
            drainWake();
        timed = wake == HidArrivalMonitor::Wake::Timeout;
    }
    hid_exit(); // the opened handle stays in use
}

qv_hid_new_recv::qv_hid_new_recv() { }

void qv_hid_new_recv::run()
{
    qDebug(" 线程运行 开始运行 ");
    uint8_t report[kFrameReportSize];
    while (!isInterruptionRequested()) {
        hid_device* h = scard_device ? scard_device->handle : nullptr;
        const int n = h ? hid_read_timeout(h, report, sizeof report, kReadTimeoutMs) : -1;
        if (n == -1) {
            qDebug("[Waring] 读取不到数据卡死 ");
            emit HidDeviceDisconnected();
            return;
        }
        if (const auto frame = decodeInputReport(report, n)) {
            logReceivedFrame(*frame);
            emit qv_hid_new_recv_update(*frame);
        }
    }
}

void createDeviceThreads()
{
    if (connect_thread)
        return;
    registerFrameMetaType();
    connect_thread = new ConnectThread(nullptr);
    recv_thread = new qv_hid_new_recv();
}

void startDeviceSearch()
{
    if (connect_thread->isRunning() && !connect_thread->opened())
        return; // already searching
    if (recv_thread->isRunning()) {
        recv_thread->requestInterruption();
        if (!recv_thread->wait(QDeadlineTimer(2000)))
            qWarning("device receive thread did not end; its handle stays open");
    }
    if (!recv_thread->isRunning())
        closeLostDevice();
    // A run that has just signalled success may still be ending.
    connect_thread->wait(QDeadlineTimer(2000));
    connect_thread->m_opened = false;
    connect_thread->start(QThread::InheritPriority);
}

void startDeviceReceive()
{
    // The previous run signalled the loss as its last act; let it end.
    recv_thread->wait(QDeadlineTimer(2000));
    recv_thread->start(QThread::InheritPriority);
}

bool stopDeviceThreads(int timeoutMs)
{
    if (!connect_thread)
        return true;
    const QDeadlineTimer deadline(timeoutMs);
    connect_thread->stop();
    recv_thread->requestInterruption();
    const bool connectEnded = connect_thread->wait(deadline);
    const bool recvEnded = recv_thread->wait(deadline);
    if (connectEnded && recvEnded)
        closeLostDevice();
    return connectEnded && recvEnded;
}
