#pragma once

// Lets the device search sleep until a HID device may have arrived. The
// kernel announces every new hidraw node; libudev's monitors pass the
// announcements on, first as the kernel sends them and again once udev has
// applied its rules (the node's owner and access), so an open attempt can
// follow each. Between the two the node still belongs to root, so a refused
// open there says nothing about the user's rights: udevFinishedWith() tells
// the search when it does (and the search stops waiting for that after
// kDeniedNodeGrace, device_access.h). The simulated device provides the same
// libudev calls and announces its plugs through them.

#include <array>
#include <set>
#include <string>

struct udev;
struct udev_monitor;

class HidArrivalMonitor
{
public:
    enum class Wake { Arrival, Woken, Timeout };

    // Starts listening; without any monitor (no netlink, no libudev) wait()
    // only sleeps, and the search falls back to its timed attempts. udev's
    // own announcements are listened to only while udev runs.
    HidArrivalMonitor();
    ~HidArrivalMonitor();
    HidArrivalMonitor(const HidArrivalMonitor&) = delete;
    HidArrivalMonitor& operator=(const HidArrivalMonitor&) = delete;

    bool listening() const;
    // udev runs and its announcements are heard.
    bool udevListening() const;

    // udev has finished with the node (a path such as /dev/hidraw3): it is
    // not waiting for udev's announcement after the kernel's, and udev has
    // marked it initialised. False while udev is not listened to.
    bool udevFinishedWith(const std::string& node) const;

    // Whether the node was removed since the last call. Removals wake no
    // search, so a quick unplug and replug is seen only here.
    bool takeRemoval(const std::string& node);

    // Blocks until a hidraw node is added (Arrival), wakeFd becomes readable
    // (Woken; the caller drains it) or timeoutMs passes (Timeout; a negative
    // timeout never passes). Announcements of other kinds are consumed.
    Wake wait(int wakeFd, int timeoutMs);

private:
    bool drainAnnouncements();

    static constexpr size_t kKernel = 0;
    static constexpr size_t kUdev = 1;

    udev* m_udev = nullptr;
    std::array<udev_monitor*, 2> m_monitors {}; // kernel and udev announcements
    std::set<std::string> m_awaitingUdev; // nodes the kernel announced and udev not yet
    std::set<std::string> m_removed; // nodes removed since the last takeRemoval()
};
