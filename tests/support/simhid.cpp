#include "simhid.h"

#include <hidapi/hidapi.h>

#include <dlfcn.h>
#include <libudev.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <cwchar>

namespace sim {

struct Handle
{
    uint64_t generation = 0;
    bool dead = false;
    bool closed = false;
};

struct Engine::Monitor
{
    int fd = -1;
    bool udev = false; // udev's announcements (after its rules), not the kernel's
    std::atomic<bool> filtered { false }; // a subsystem filter was added
    std::atomic<bool> hidraw { false }; // ... and it names "hidraw"
    std::atomic<bool> receiving { false };
    std::deque<std::string> queue; // guarded by the engine's mutex
};

Report makeReport(uint32_t command, int32_t data, uint8_t total, uint8_t current, uint8_t protocol)
{
    const auto d = static_cast<uint32_t>(data);
    return Report { 0x22, 0x33, protocol, total, current, static_cast<uint8_t>(command >> 8),
        static_cast<uint8_t>(command), static_cast<uint8_t>(d >> 24), static_cast<uint8_t>(d >> 16),
        static_cast<uint8_t>(d >> 8), static_cast<uint8_t>(d), 0x00, 0x00, 0x66, 0x77, 0x00 };
}

Frame parseWrite(const std::vector<uint8_t>& b)
{
    Frame f;
    if (b.size() != 16 || b[0] != 0x00 || b[1] != 0x22 || b[2] != 0x33 || b[14] != 0x66
        || b[15] != 0x77)
        return f;
    f.ok = true;
    f.protocol = b[3];
    f.total = b[4];
    f.current = b[5];
    f.command = (uint32_t(b[6]) << 8) | b[7];
    f.data = static_cast<int32_t>(
        (uint32_t(b[8]) << 24) | (uint32_t(b[9]) << 16) | (uint32_t(b[10]) << 8) | uint32_t(b[11]));
    return f;
}

Engine& Engine::instance()
{
    static Engine* engine = new Engine; // never destroyed: late reads at exit stay safe
    return *engine;
}

void Engine::reset()
{
    std::lock_guard lock(m_mutex);
    m_plugged = false;
    m_writeFailure = false;
    killHandlesLocked();
    m_queue.clear();
    m_writes.clear();
    m_order = 0;
    m_openCalls = 0;
    m_openAttempts = 0;
    m_exitCalls = 0;
    m_handlesAtReset = m_handles.size();
    m_model.reset();
    m_announce = true;
    m_udevRunning = true;
    m_denied = false;
    m_udevDone = false;
    m_initialized = false;
    m_timedSearchWaits = 0;
    m_cond.notify_all();
}

void Engine::plug()
{
    // One step under the lock: a search woken by the kernel's announcement
    // must already find the node ready, or it would see a refusal that a
    // real plug-in of a settled node never gives.
    std::lock_guard lock(m_mutex);
    if (!plugLocked())
        return;
    m_initialized = true;
    m_udevDone = true;
    announceLocked("add", false);
    announceLocked("add", true);
}

void Engine::plugLate()
{
    std::lock_guard lock(m_mutex);
    if (plugLocked())
        announceLocked("add", false);
}

bool Engine::plugLocked()
{
    if (m_plugged)
        return false;
    m_plugged = true;
    m_udevDone = false;
    m_initialized = false;
    ++m_generation;
    m_queue.clear();
    return true;
}

void Engine::markInitialized()
{
    std::lock_guard lock(m_mutex);
    m_initialized = m_plugged;
}

void Engine::finishUdev()
{
    std::lock_guard lock(m_mutex);
    if (!m_plugged || m_udevDone)
        return;
    m_initialized = true;
    m_udevDone = true;
    announceLocked("add", true); // the node is the user's by now, unless denied
}

void Engine::unplug()
{
    std::lock_guard lock(m_mutex);
    const bool was = m_plugged;
    m_plugged = false;
    killHandlesLocked();
    m_queue.clear();
    m_udevDone = false;
    m_initialized = false;
    m_cond.notify_all();
    if (was) {
        announceLocked("remove", false);
        announceLocked("remove", true);
    }
}

void Engine::announceLocked(const char* action, bool udev)
{
    if (!m_announce || (udev && !m_udevRunning))
        return;
    for (Monitor* m : m_monitors) {
        if (m->udev != udev || !m->receiving || (m->filtered && !m->hidraw))
            continue;
        m->queue.emplace_back(action);
        const uint64_t one = 1;
        [[maybe_unused]] const ssize_t n = ::write(m->fd, &one, sizeof one);
    }
}

void Engine::setAnnouncements(bool on)
{
    std::lock_guard lock(m_mutex);
    m_announce = on;
}

void Engine::setUdevRunning(bool on)
{
    std::lock_guard lock(m_mutex);
    m_udevRunning = on;
}

bool Engine::udevRunning() const
{
    std::lock_guard lock(m_mutex);
    return m_udevRunning;
}

bool Engine::nodeInitialized() const
{
    std::lock_guard lock(m_mutex);
    return m_plugged && m_udevRunning && m_initialized;
}

int Engine::openMonitors() const
{
    std::lock_guard lock(m_mutex);
    return static_cast<int>(m_monitors.size());
}

Engine::Monitor* Engine::openMonitor(bool udev)
{
    auto* m = new Monitor;
    m->udev = udev;
    m->fd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK | EFD_SEMAPHORE);
    if (m->fd < 0) {
        delete m;
        return nullptr;
    }
    std::lock_guard lock(m_mutex);
    m_monitors.push_back(m);
    return m;
}

void Engine::closeMonitor(Monitor* m)
{
    {
        std::lock_guard lock(m_mutex);
        std::erase(m_monitors, m);
    }
    ::close(m->fd);
    delete m;
}

std::string Engine::takeAnnouncement(Monitor* m)
{
    std::lock_guard lock(m_mutex);
    if (m->queue.empty())
        return {};
    uint64_t one;
    [[maybe_unused]] const ssize_t n = ::read(m->fd, &one, sizeof one); // one per queued action
    std::string action = std::move(m->queue.front());
    m->queue.pop_front();
    return action;
}

bool Engine::beginWait(const pollfd* fds, nfds_t count, int timeoutMs)
{
    std::lock_guard lock(m_mutex);
    for (nfds_t i = 0; i < count; ++i) {
        for (const Monitor* m : m_monitors) {
            if (fds[i].fd == m->fd) {
                ++m_searchWaitsBlocked;
                (timeoutMs >= 0 ? m_timedSearchWaits : m_untimedSearchWaitsBlocked) += 1;
                return true;
            }
        }
    }
    return false;
}

void Engine::endWait(int timeoutMs)
{
    std::lock_guard lock(m_mutex);
    --m_searchWaitsBlocked;
    m_untimedSearchWaitsBlocked -= timeoutMs < 0 ? 1 : 0;
}

int Engine::searchWaitsBlocked() const
{
    std::lock_guard lock(m_mutex);
    return m_searchWaitsBlocked;
}

int Engine::untimedSearchWaitsBlocked() const
{
    std::lock_guard lock(m_mutex);
    return m_untimedSearchWaitsBlocked;
}

int Engine::timedSearchWaits() const
{
    std::lock_guard lock(m_mutex);
    return m_timedSearchWaits;
}

int Engine::blockedReads() const
{
    std::lock_guard lock(m_mutex);
    return m_blockedReads;
}

bool Engine::plugged() const
{
    std::lock_guard lock(m_mutex);
    return m_plugged;
}

void Engine::killHandlesLocked()
{
    for (auto& h : m_handles)
        h->dead = true;
}

void Engine::queueReport(const Report& r)
{
    std::lock_guard lock(m_mutex);
    if (!m_plugged)
        return;
    m_queue.emplace_back(r.begin(), r.end());
    m_cond.notify_all();
}

void Engine::queueFrame(
    uint32_t command, int32_t data, uint8_t total, uint8_t current, uint8_t protocol)
{
    queueReport(makeReport(command, data, total, current, protocol));
}

void Engine::queueShortRead(int length)
{
    std::lock_guard lock(m_mutex);
    if (!m_plugged)
        return;
    m_queue.emplace_back(static_cast<size_t>(length), uint8_t(0x22));
    m_cond.notify_all();
}

size_t Engine::queuedReports() const
{
    std::lock_guard lock(m_mutex);
    return m_queue.size();
}

std::vector<Written> Engine::writes() const
{
    std::lock_guard lock(m_mutex);
    return m_writes;
}

std::vector<Frame> Engine::writtenFrames() const
{
    std::vector<Frame> frames;
    for (const auto& w : writes())
        frames.push_back(parseWrite(w.bytes));
    return frames;
}

void Engine::clearWrites()
{
    std::lock_guard lock(m_mutex);
    m_writes.clear();
}

void Engine::setModel(std::shared_ptr<Model> model)
{
    std::lock_guard lock(m_mutex);
    m_model = std::move(model);
}

std::shared_ptr<Model> Engine::model() const
{
    std::lock_guard lock(m_mutex);
    return m_model;
}

void Engine::setWriteFailure(bool fail)
{
    std::lock_guard lock(m_mutex);
    m_writeFailure = fail;
}

int Engine::openHandles() const
{
    std::lock_guard lock(m_mutex);
    int n = 0;
    for (const auto& h : m_handles)
        n += h->dead ? 0 : 1;
    return n;
}

int Engine::openCalls() const
{
    std::lock_guard lock(m_mutex);
    return m_openCalls;
}

int Engine::openAttempts() const
{
    std::lock_guard lock(m_mutex);
    return m_openAttempts;
}

int Engine::unclosedHandles() const
{
    std::lock_guard lock(m_mutex);
    int n = 0;
    for (size_t i = m_handlesAtReset; i < m_handles.size(); ++i)
        n += m_handles[i]->closed ? 0 : 1;
    return n;
}

int Engine::exitCalls() const
{
    std::lock_guard lock(m_mutex);
    return m_exitCalls;
}

void Engine::noteExit()
{
    std::lock_guard lock(m_mutex);
    ++m_exitCalls;
}

std::chrono::steady_clock::time_point Engine::lastReportRead() const
{
    std::lock_guard lock(m_mutex);
    return m_lastReportRead;
}

void Engine::setIds(uint16_t vendor, uint16_t product)
{
    std::lock_guard lock(m_mutex);
    m_vendor = vendor;
    m_product = product;
    m_anyIds = false;
}

void Engine::setDenied(bool denied)
{
    std::lock_guard lock(m_mutex);
    m_denied = denied;
}

bool Engine::listed(unsigned short vendor, unsigned short product) const
{
    std::lock_guard lock(m_mutex);
    return m_plugged
        && (m_anyIds
            || ((vendor == 0 || vendor == m_vendor) && (product == 0 || product == m_product)));
}

int Engine::nodeAccess(int mode) const
{
    std::lock_guard lock(m_mutex);
    if (m_plugged && ((!m_denied && m_udevDone) || mode == F_OK))
        return 0;
    errno = m_plugged ? EACCES : ENOENT;
    return -1;
}

Handle* Engine::open(unsigned short vendor, unsigned short product)
{
    Handle* handle = nullptr;
    std::shared_ptr<Model> model;
    {
        std::lock_guard lock(m_mutex);
        ++m_openAttempts;
        if (!m_plugged || (!m_anyIds && (vendor != m_vendor || product != m_product)))
            return nullptr;
        if (m_denied || !m_udevDone) {
            errno = EACCES; // what opening a root-owned 0600 node gives
            return nullptr;
        }
        auto h = std::make_unique<Handle>();
        h->generation = m_generation;
        handle = h.get();
        m_handles.push_back(std::move(h));
        ++m_openCalls;
        model = m_model;
    }
    if (model)
        model->onOpen(*this);
    return handle;
}

int Engine::write(Handle* h, const unsigned char* data, size_t length)
{
    std::shared_ptr<Model> model;
    std::vector<uint8_t> bytes(data, data + length);
    {
        std::lock_guard lock(m_mutex);
        if (!h || h->dead || !m_plugged || h->generation != m_generation || m_writeFailure)
            return -1;
        m_writes.push_back(Written { ++m_order, std::chrono::steady_clock::now(), bytes });
        model = m_model;
    }
    if (model) {
        const Frame f = parseWrite(bytes);
        if (f.ok)
            model->onWrite(*this, f);
    }
    return static_cast<int>(length);
}

int Engine::read(Handle* h, unsigned char* data, size_t length, int milliseconds)
{
    std::unique_lock lock(m_mutex);
    auto ready = [&] { return !h || h->dead || h->generation != m_generation || !m_queue.empty(); };
    if (!ready()) {
        ++m_blockedReads;
        if (milliseconds < 0)
            m_cond.wait(lock, ready);
        else
            m_cond.wait_for(lock, std::chrono::milliseconds(milliseconds), ready);
        --m_blockedReads;
        if (!ready())
            return 0;
    }
    if (!h || h->dead || h->generation != m_generation)
        return -1;
    std::vector<uint8_t> report = std::move(m_queue.front());
    m_queue.pop_front();
    const size_t n = std::min(length, report.size());
    std::memcpy(data, report.data(), n);
    m_lastReportRead = std::chrono::steady_clock::now();
    return static_cast<int>(n);
}

void Engine::close(Handle* h)
{
    std::lock_guard lock(m_mutex);
    if (h) {
        h->dead = true;
        h->closed = true;
    }
    m_cond.notify_all();
}

} // namespace sim

// hidapi's C functions, backed by the engine.
extern "C" {

struct hid_device_
{
    sim::Handle* handle;
};

int HID_API_EXPORT hid_init(void) { return 0; }

int HID_API_EXPORT hid_exit(void)
{
    sim::Engine::instance().noteExit();
    return 0; // open handles stay valid, as the program relies on
}

hid_device* HID_API_EXPORT hid_open(
    unsigned short vendor_id, unsigned short product_id, const wchar_t* /*serial_number*/)
{
    sim::Handle* h = sim::Engine::instance().open(vendor_id, product_id);
    if (!h)
        return nullptr;
    // Device wrappers live as long as their handle: until the process ends.
    return new hid_device { h };
}

int HID_API_EXPORT hid_write(hid_device* dev, const unsigned char* data, size_t length)
{
    return sim::Engine::instance().write(dev ? dev->handle : nullptr, data, length);
}

int HID_API_EXPORT hid_read_timeout(
    hid_device* dev, unsigned char* data, size_t length, int milliseconds)
{
    return sim::Engine::instance().read(dev ? dev->handle : nullptr, data, length, milliseconds);
}

int HID_API_EXPORT hid_read(hid_device* dev, unsigned char* data, size_t length)
{
    return hid_read_timeout(dev, data, length, -1);
}

void HID_API_EXPORT hid_close(hid_device* dev)
{
    if (dev)
        sim::Engine::instance().close(dev->handle);
}

const wchar_t* HID_API_EXPORT hid_error(hid_device* /*dev*/) { return L"simulated device"; }

hid_device_info* HID_API_EXPORT hid_enumerate(unsigned short vendor_id, unsigned short product_id)
{
    if (!sim::Engine::instance().listed(vendor_id, product_id))
        return nullptr;
    // Zeroed: no strings but the path, as a device that reports none.
    auto* info = static_cast<hid_device_info*>(std::calloc(1, sizeof(hid_device_info)));
    if (!info)
        return nullptr;
    info->path = strdup(sim::Engine::kNodePath);
    info->vendor_id = vendor_id;
    info->product_id = product_id;
    return info;
}

void HID_API_EXPORT hid_free_enumeration(hid_device_info* devs)
{
    while (devs) {
        hid_device_info* next = devs->next;
        std::free(devs->path);
        std::free(devs);
        devs = next;
    }
}

// The C library's access(), answering for the simulated node and passing
// every other path on to the real one.
int access(const char* path, int mode) noexcept
{
    if (std::strcmp(path, sim::Engine::kNodePath) == 0)
        return sim::Engine::instance().nodeAccess(mode);
    using Access = int (*)(const char*, int);
    static const auto real = reinterpret_cast<Access>(dlsym(RTLD_NEXT, "access"));
    return real(path, mode);
}

// The C library's poll(), counting the device search's waits on the way.
int poll(pollfd* fds, nfds_t count, int timeout)
{
    using Poll = int (*)(pollfd*, nfds_t, int);
    static const auto real = reinterpret_cast<Poll>(dlsym(RTLD_NEXT, "poll"));
    sim::Engine& engine = sim::Engine::instance();
    const bool search = engine.beginWait(fds, count, timeout);
    const int result = real(fds, count, timeout);
    if (search) {
        const int error = errno;
        engine.endWait(timeout);
        errno = error;
    }
    return result;
}

} // extern "C"

// The libudev calls the program's device search makes, backed by the engine.
// Only monitors exist here; nothing else of libudev is simulated.
extern "C" {

struct udev
{
    int refs = 1;
};

struct udev_monitor
{
    int refs = 1;
    udev* owner = nullptr;
    sim::Engine::Monitor* monitor = nullptr;
};

struct udev_device
{
    int refs = 1;
    std::string action; // empty for a device looked up rather than announced
    bool initialized = false;
};

struct udev_queue
{
    int refs = 1;
    udev* owner = nullptr;
};

udev* udev_new(void) { return new udev; }

udev* udev_unref(udev* u)
{
    if (u && --u->refs == 0)
        delete u;
    return nullptr;
}

udev_monitor* udev_monitor_new_from_netlink(udev* u, const char* name)
{
    if (!u || !name || (std::strcmp(name, "udev") != 0 && std::strcmp(name, "kernel") != 0))
        return nullptr;
    sim::Engine::Monitor* m = sim::Engine::instance().openMonitor(std::strcmp(name, "udev") == 0);
    if (!m)
        return nullptr;
    ++u->refs;
    return new udev_monitor { 1, u, m };
}

udev_monitor* udev_monitor_unref(udev_monitor* m)
{
    if (m && --m->refs == 0) {
        sim::Engine::instance().closeMonitor(m->monitor);
        udev_unref(m->owner);
        delete m;
    }
    return nullptr;
}

int udev_monitor_filter_add_match_subsystem_devtype(
    udev_monitor* m, const char* subsystem, const char* /*devtype*/)
{
    if (!m || !subsystem)
        return -EINVAL;
    m->monitor->filtered = true;
    if (std::strcmp(subsystem, "hidraw") == 0)
        m->monitor->hidraw = true;
    return 0;
}

int udev_monitor_enable_receiving(udev_monitor* m)
{
    if (!m)
        return -EINVAL;
    m->monitor->receiving = true;
    return 0;
}

int udev_monitor_get_fd(udev_monitor* m) { return m ? m->monitor->fd : -EINVAL; }

udev_device* udev_monitor_receive_device(udev_monitor* m)
{
    if (!m)
        return nullptr;
    std::string action = sim::Engine::instance().takeAnnouncement(m->monitor);
    if (action.empty()) {
        errno = EAGAIN;
        return nullptr;
    }
    // A device from udev's monitor has been through its rules; the kernel's has not.
    return new udev_device { 1, std::move(action), m->monitor->udev };
}

const char* udev_device_get_action(udev_device* d)
{
    return d && !d->action.empty() ? d->action.c_str() : nullptr;
}

// The only device there is, so every device's node is the simulated one.
const char* udev_device_get_devnode(udev_device* d) { return d ? sim::Engine::kNodePath : nullptr; }

int udev_device_get_is_initialized(udev_device* d) { return d && d->initialized ? 1 : 0; }

udev_device* udev_device_new_from_subsystem_sysname(
    udev* u, const char* subsystem, const char* sysname)
{
    sim::Engine& engine = sim::Engine::instance();
    if (!u || !subsystem || !sysname || std::strcmp(subsystem, "hidraw") != 0
        || std::strcmp(sysname, sim::Engine::kNodeName) != 0 || !engine.plugged()) {
        errno = ENODEV;
        return nullptr;
    }
    return new udev_device { 1, {}, engine.nodeInitialized() };
}

udev_queue* udev_queue_new(udev* u)
{
    if (!u)
        return nullptr;
    ++u->refs;
    return new udev_queue { 1, u };
}

udev_queue* udev_queue_unref(udev_queue* q)
{
    if (q && --q->refs == 0) {
        udev_unref(q->owner);
        delete q;
    }
    return nullptr;
}

int udev_queue_get_udev_is_active(udev_queue* q)
{
    return q && sim::Engine::instance().udevRunning() ? 1 : 0;
}

udev_device* udev_device_unref(udev_device* d)
{
    if (d && --d->refs == 0)
        delete d;
    return nullptr;
}

} // extern "C"
