#pragma once

// A simulated USB HID device behind hidapi's C functions. Tests link this
// library instead of the system hidapi and drive the device through
// sim::Engine: plug and unplug it, queue input reports, read back every
// buffer the program wrote, and install a responder (a device model) that
// answers what the program writes.
//
// It also stands in for the part of libudev the program listens to: monitors
// on the "hidraw" subsystem receive an "add" at every plug-in and a "remove"
// at every unplug, as the kernel announces a real device's node.
//
// The plugged device has a node, kNodePath: hid_enumerate lists it and
// access() on it answers for the simulated device (the library replaces the C
// library's access() and passes every other path on).

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

    void plug();
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
    // When the last read that delivered a report returned (for latency measurements).
    std::chrono::steady_clock::time_point lastReportRead() const;

    // The identifiers the device answers to; hid_open with others gets NULL.
    void setIds(uint16_t vendor, uint16_t product);

    // Denied: the plugged device is listed but its node is not readable and
    // writable for this user, as a root-owned hidraw node without a udev
    // rule: hid_open gets NULL with errno EACCES and access() on the node
    // fails with EACCES. Lifting it opens the node to the next attempt;
    // reset() lifts it.
    void setDenied(bool denied);
    static constexpr const char* kNodePath = "/dev/hidraw-sim";
    // Whether hid_enumerate(vendor, product) lists the device (0 matches any).
    bool listed(unsigned short vendor, unsigned short product) const;
    // access(kNodePath, mode): 0, or -1 with errno set (ENOENT while unplugged).
    int nodeAccess(int mode) const;

    // Off: plugs and unplugs are not announced, as on a system whose
    // monitors get no events; reset() turns announcements back on.
    void setAnnouncements(bool on);
    int openMonitors() const; // libudev monitors open now

    // Used by the libudev functions: a monitor's announcements are counted
    // by an eventfd (semaphore mode) that reads as ready while any wait.
    struct Monitor;
    Monitor* openMonitor();
    void closeMonitor(Monitor* m);
    // Next queued action of the monitor ("add", "remove"); empty when none.
    std::string takeAnnouncement(Monitor* m);

    // Used by the C functions.
    Handle* open(unsigned short vendor, unsigned short product);
    int write(Handle* h, const unsigned char* data, size_t length);
    int read(Handle* h, unsigned char* data, size_t length, int milliseconds);
    void close(Handle* h);

private:
    Engine() = default;
    void killHandlesLocked();
    void announceLocked(const char* action);

    mutable std::mutex m_mutex;
    std::condition_variable m_cond;
    bool m_plugged = false;
    bool m_writeFailure = false;
    uint64_t m_generation = 0; // bumped at every plug-in; handles of older ones are dead
    uint16_t m_vendor = 0;
    uint16_t m_product = 0;
    bool m_anyIds = true; // until setIds, any vid/pid opens the device
    bool m_denied = false;
    std::deque<std::vector<uint8_t>> m_queue;
    std::vector<Written> m_writes;
    uint64_t m_order = 0;
    std::vector<std::unique_ptr<Handle>> m_handles; // kept until exit, never freed early
    int m_openCalls = 0;
    int m_openAttempts = 0;
    int m_exitCalls = 0;
    size_t m_handlesAtReset = 0; // handles before this index belong to earlier runs
    std::chrono::steady_clock::time_point m_lastReportRead;
    std::shared_ptr<Model> m_model;
    bool m_announce = true;
    std::vector<Monitor*> m_monitors;
};

} // namespace sim
