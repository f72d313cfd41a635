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
    // Without a running udev its monitor would hear nothing and no node
    // would ever count as finished: the search then goes by its timed attempts.
    udev_queue* queue = udev_queue_new(m_udev);
    const bool udevRuns = queue && udev_queue_get_udev_is_active(queue) > 0;
    udev_queue_unref(queue);
    const char* const sources[] = { "kernel", "udev" };
    for (size_t i = 0; i < m_monitors.size(); ++i) {
        if (i == kUdev && !udevRuns)
            continue;
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

bool HidArrivalMonitor::udevListening() const { return m_monitors[kUdev] != nullptr; }

bool HidArrivalMonitor::udevFinishedWith(const std::string& node) const
{
    if (!udevListening() || m_awaitingUdev.count(node))
        return false;
    // A hidraw node's name is its device's sysname.
    const std::string sysname = node.substr(node.rfind('/') + 1);
    udev_device* d = udev_device_new_from_subsystem_sysname(m_udev, "hidraw", sysname.c_str());
    const bool initialized = d && udev_device_get_is_initialized(d) > 0;
    udev_device_unref(d);
    return initialized;
}

bool HidArrivalMonitor::takeRemoval(const std::string& node)
{
    const bool removed = m_removed.count(node) > 0;
    m_removed.clear(); // other nodes' removals matter to nobody
    return removed;
}

bool HidArrivalMonitor::drainAnnouncements()
{
    bool added = false;
    // The kernel's monitor first: where both announced a node, udev's came later.
    for (size_t i = 0; i < m_monitors.size(); ++i) {
        if (!m_monitors[i])
            continue;
        // The monitor's socket does not block: a null device means drained.
        while (udev_device* d = udev_monitor_receive_device(m_monitors[i])) {
            const char* action = udev_device_get_action(d);
            const char* node = udev_device_get_devnode(d);
            const bool add = action && std::strcmp(action, "add") == 0;
            added = added || add;
            if (node && add && i == kKernel && udevListening())
                m_awaitingUdev.insert(node);
            else if (node)
                m_awaitingUdev.erase(node); // udev's add, or the node is gone
            if (node && action && std::strcmp(action, "remove") == 0)
                m_removed.insert(node);
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
                // No announcement of udev's is coming for what waits on one.
                if (owner[k] == kUdev)
                    m_awaitingUdev.clear();
            }
        }
        if (drainAnnouncements() || lost)
            return Wake::Arrival;
        // Only other devices' announcements (or removals): keep waiting.
    }
}
