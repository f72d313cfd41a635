#pragma once

// Lets the device search sleep until a HID device may have arrived. The
// kernel announces every new hidraw node; libudev's monitor passes the
// announcements on, first as the kernel sends them and again once udev has
// set the node's permissions, so an open attempt can follow each. The
// simulated device provides the same libudev calls and announces its plugs
// through them.

#include <array>

struct udev;
struct udev_monitor;

class HidArrivalMonitor
{
public:
    enum class Wake { Arrival, Woken, Timeout };

    // Starts listening; without any monitor (no netlink, no libudev) wait()
    // only sleeps, and the search falls back to its timed attempts.
    HidArrivalMonitor();
    ~HidArrivalMonitor();
    HidArrivalMonitor(const HidArrivalMonitor&) = delete;
    HidArrivalMonitor& operator=(const HidArrivalMonitor&) = delete;

    bool listening() const;

    // Blocks until a hidraw node is added (Arrival), wakeFd becomes readable
    // (Woken; the caller drains it) or timeoutMs passes (Timeout; a negative
    // timeout never passes). Announcements of other kinds are consumed.
    Wake wait(int wakeFd, int timeoutMs);

private:
    bool drainAnnouncements();

    udev* m_udev = nullptr;
    std::array<udev_monitor*, 2> m_monitors {}; // kernel and udev announcements
};
