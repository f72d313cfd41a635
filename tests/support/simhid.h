#pragma once

// A simulated USB HID device behind hidapi's C functions. Tests link this
// library instead of the system hidapi and drive the device through
// sim::Engine: plug and unplug it, queue input reports, read back every
// buffer the program wrote, and install a responder (a device model) that
// answers what the program writes.
//
// It also stands in for the part of libudev the program uses. As on a real
// system, a plug-in is announced twice on the "hidraw" subsystem: by the
// kernel when the node appears, and by udev once it has applied its rules
// (the node's owner and access). A plain plug() does both at once;
// plugLate() only the kernel's part, and the node stays closed to this user
// until finishUdev(). Every unplug is a "remove" on both.
//
// The plugged device has a node, kNodePath: hid_enumerate lists it and
// access() on it answers for the simulated device (the library replaces the C
// library's access() and passes every other path on). It replaces poll() the
// same way, to count the waits of the program's device search: a poll that
// watches a monitor's descriptor.

#include <poll.h>

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace sim {

using Report = std::array<uint8_t, 16>; // one input report: 15-byte frame + 1 ignored byte

struct Written
{
    uint64_t order = 0; // 1, 2, 3 ... across the whole run
    std::chrono::steady_clock::time_point when;
    std::vector<uint8_t> bytes; // exactly what hid_write was given
};

// Builds a device-to-program report the way a device does.
Report makeReport(uint32_t command, int32_t data, uint8_t total = 1, uint8_t current = 1,
    uint8_t protocol = 0x20);

// A decoded program-to-device frame (from a 16-byte write buffer); ok is false
// when the buffer is not a well-formed frame.
struct Frame
{
    bool ok = false;
    uint32_t command = 0;
    int32_t data = 0;
    uint8_t total = 0;
    uint8_t current = 0;
    uint8_t protocol = 0;
};
Frame parseWrite(const std::vector<uint8_t>& buffer);

class Engine;

// A device model: told about every frame the program writes (bytes 1..15 of
// the write buffer) and about every new connection. Runs on the writing
// thread with the engine unlocked, so it may queue reports or unplug.
class Model
{
public:
    virtual ~Model() = default;
    virtual void onOpen(Engine&) { }
    virtual void onWrite(Engine&, const Frame&) { }
};

struct Handle;

class Engine
{
public:
    static Engine& instance();

    // Back to a fresh state: unplugged, no queued reports, no writes, no model.
    void reset();

    void plug(); // the node is ready at once: the kernel and udev announce it
    // The kernel announces the node, but it belongs to root until udev has
    // applied its rules: finishUdev() does that and sends udev's announcement.
    void plugLate();
    // udev writes its database entry first (the node counts as initialised),
    // then gives the node to the user and announces it; markInitialized()
    // stops in between. Both do nothing unless a plugLate() waits for them.
    void markInitialized();
    void finishUdev();
    void unplug(); // kills every open handle: blocked and later reads return -1
    bool plugged() const;

    void queueReport(const Report& r);
    void queueFrame(uint32_t command, int32_t data, uint8_t total = 1, uint8_t current = 1,
        uint8_t protocol = 0x20);
    void queueShortRead(int length); // the next read returns this many bytes (< 16)
    size_t queuedReports() const;

    std::vector<Written> writes() const;
    std::vector<Frame> writtenFrames() const;
    void clearWrites();

    void setModel(std::shared_ptr<Model> model);
    std::shared_ptr<Model> model() const;

    // Makes hid_write fail (-1) while set, as a device that stalls would.
    void setWriteFailure(bool fail);

    int openHandles() const; // handles opened and not yet dead
    int openCalls() const; // hid_open calls that returned a handle
    int openAttempts() const; // every hid_open call
    int unclosedHandles() const; // handles opened since reset() and never given to hid_close
    int exitCalls() const; // hid_exit calls since reset()
    void noteExit();
    int blockedReads() const; // reads waiting for a report now
    // The device search's waits (polls on a monitor's descriptor): those
    // waiting now, those of them without a time limit, and those since
    // reset() that had one.
    int searchWaitsBlocked() const;
    int untimedSearchWaitsBlocked() const;
    int timedSearchWaits() const;
    // When the last read that delivered a report returned (for latency measurements).
    std::chrono::steady_clock::time_point lastReportRead() const;

    // The identifiers the device answers to; hid_open with others gets NULL.
    void setIds(uint16_t vendor, uint16_t product);

    // Denied: the plugged device is listed but its node is not readable and
    // writable for this user, as a root-owned hidraw node without a udev
    // rule: hid_open gets NULL with errno EACCES and access() on the node
    // fails with EACCES. Lifting it opens the node to the next attempt;
    // reset() lifts it. A node waiting for udev (plugLate) is closed the same way.
    void setDenied(bool denied);
    static constexpr const char* kNodePath = "/dev/hidraw-sim";
    static constexpr const char* kNodeName = "hidraw-sim"; // its sysname
    // Whether hid_enumerate(vendor, product) lists the device (0 matches any).
    bool listed(unsigned short vendor, unsigned short product) const;
    // access(kNodePath, mode): 0, or -1 with errno set (ENOENT while unplugged).
    int nodeAccess(int mode) const;

    // Off: plugs and unplugs are not announced, as on a system whose
    // monitors get no events; reset() turns announcements back on.
    void setAnnouncements(bool on);
    // Off: a system without a running udev: udev's monitors hear nothing,
    // udev_queue_get_udev_is_active says 0 and no node is initialized.
    // reset() turns it back on.
    void setUdevRunning(bool on);
    bool udevRunning() const;
    // udev has finished with the plugged node (udev_device_get_is_initialized).
    bool nodeInitialized() const;
    int openMonitors() const; // libudev monitors open now

    // Used by the libudev functions: a monitor's announcements are counted
    // by an eventfd (semaphore mode) that reads as ready while any wait.
    struct Monitor;
    Monitor* openMonitor(bool udev); // udev's announcements, or the kernel's
    void closeMonitor(Monitor* m);
    // Next queued action of the monitor ("add", "remove"); empty when none.
    std::string takeAnnouncement(Monitor* m);

    // Used by poll(): whether the descriptors include a monitor's, counting
    // the wait when they do; endWait() when that poll has returned.
    bool beginWait(const pollfd* fds, nfds_t count, int timeoutMs);
    void endWait(int timeoutMs);

    // Used by the C functions.
    Handle* open(unsigned short vendor, unsigned short product);
    int write(Handle* h, const unsigned char* data, size_t length);
    int read(Handle* h, unsigned char* data, size_t length, int milliseconds);
    void close(Handle* h);

private:
    Engine() = default;
    void killHandlesLocked();
    void announceLocked(const char* action, bool udev);
    bool plugLocked(); // marks the node present and new; false when it already was

    mutable std::mutex m_mutex;
    std::condition_variable m_cond;
    bool m_plugged = false;
    bool m_writeFailure = false;
    uint64_t m_generation = 0; // bumped at every plug-in; handles of older ones are dead
    uint16_t m_vendor = 0;
    uint16_t m_product = 0;
    bool m_anyIds = true; // until setIds, any vid/pid opens the device
    bool m_denied = false;
    bool m_udevDone = false; // udev has applied its rules to the plugged node
    bool m_initialized = false; // ... or at least written its database entry
    bool m_udevRunning = true;
    std::deque<std::vector<uint8_t>> m_queue;
    std::vector<Written> m_writes;
    uint64_t m_order = 0;
    std::vector<std::unique_ptr<Handle>> m_handles; // kept until exit, never freed early
    int m_openCalls = 0;
    int m_openAttempts = 0;
    int m_exitCalls = 0;
    int m_blockedReads = 0;
    int m_searchWaitsBlocked = 0;
    int m_untimedSearchWaitsBlocked = 0;
    int m_timedSearchWaits = 0;
    size_t m_handlesAtReset = 0; // handles before this index belong to earlier runs
    std::chrono::steady_clock::time_point m_lastReportRead;
    std::shared_ptr<Model> m_model;
    bool m_announce = true;
    std::vector<Monitor*> m_monitors;
};

} // namespace sim
