#include "device/hid_arrival.h"

#include <QDebug>

#include <libudev.h>

#include <poll.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <iterator>
#include <tuple>

HidArrivalMonitor::HidArrivalMonitor()
{
    m_udev = udev_new();
    if (!m_udev) {
        qDebug("device arrival: no udev; searching by timer only");
        return;
    }
    const char* const sources[] = { "kernel", "udev" };
    for (size_t i = 0; i < m_monitors.size(); ++i) {
        udev_monitor* m = udev_monitor_new_from_netlink(m_udev, sources[i]);
        if (!m)
            continue;
        if (udev_monitor_filter_add_match_subsystem_devtype(m, "hidraw", nullptr) < 0
            || udev_monitor_enable_receiving(m) < 0 || udev_monitor_get_fd(m) < 0) {
            udev_monitor_unref(m);
            continue;
        }
        m_monitors[i] = m;
    }
    if (!listening())
        qDebug("device arrival: no udev monitor; searching by timer only");
}

HidArrivalMonitor::~HidArrivalMonitor()
{
    for (udev_monitor* m : m_monitors)
        if (m)
            udev_monitor_unref(m);
    if (m_udev)
        udev_unref(m_udev);
}

bool HidArrivalMonitor::listening() const
{
    for (udev_monitor* m : m_monitors)
        if (m)
            return true;
    return false;
}

bool HidArrivalMonitor::drainAnnouncements()
{
    bool added = false;
    for (udev_monitor* m : m_monitors) {
        if (!m)
            continue;
        // The monitor's socket does not block: a null device means drained.
        while (udev_device* d = udev_monitor_receive_device(m)) {
            const char* action = udev_device_get_action(d);
            added = added || (action && std::strcmp(action, "add") == 0);
            udev_device_unref(d);
        }
    }
    return added;
}

HidArrivalMonitor::Wake HidArrivalMonitor::wait(int wakeFd, int timeoutMs)
{
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        pollfd fds[1 + std::tuple_size_v<decltype(m_monitors)>];
        size_t owner[std::size(fds)]; // monitor index of each entry after the first
        nfds_t n = 0;
        fds[n++] = pollfd { wakeFd, POLLIN, 0 };
        for (size_t i = 0; i < m_monitors.size(); ++i) {
            if (m_monitors[i]) {
                owner[n] = i;
                fds[n++] = pollfd { udev_monitor_get_fd(m_monitors[i]), POLLIN, 0 };
            }
        }

        int left = -1;
        if (timeoutMs >= 0) {
            const auto ms = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
            left = ms.count() > 0 ? int(ms.count()) : 0;
        }
        const int ready = poll(fds, n, left);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready < 0) {
            qDebug("device arrival: poll failed (%s)", std::strerror(errno));
            return Wake::Timeout;
        }
        if (ready == 0)
            return Wake::Timeout;
        if (fds[0].revents)
            return Wake::Woken;

        // A monitor in error (its buffer overflowed, or it broke) is given up
        // rather than polled in a busy loop; what it may have lost counts as
        // an arrival, and the next search opens a fresh one.
        bool lost = false;
        for (nfds_t k = 1; k < n; ++k) {
            if (fds[k].revents & (POLLERR | POLLHUP | POLLNVAL)) {
                qDebug("device arrival: a udev monitor failed; it is closed");
                udev_monitor_unref(m_monitors[owner[k]]);
                m_monitors[owner[k]] = nullptr;
                lost = true;
            }
        }
        if (drainAnnouncements() || lost)
            return Wake::Arrival;
        // Only other devices' announcements (or removals): keep waiting.
    }
}
