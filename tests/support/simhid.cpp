#include "simhid.h"

#include <hidapi/hidapi.h>

#include <cstring>
#include <cwchar>

namespace sim {

struct Handle
{
    uint64_t generation = 0;
    bool dead = false;
    bool closed = false;
};

Report makeReport(uint32_t command, int32_t data, uint8_t total, uint8_t current, uint8_t protocol)
{
    const auto d = static_cast<uint32_t>(data);
    return Report{0x22, 0x33, protocol, total, current,
                  static_cast<uint8_t>(command >> 8), static_cast<uint8_t>(command),
                  static_cast<uint8_t>(d >> 24), static_cast<uint8_t>(d >> 16),
                  static_cast<uint8_t>(d >> 8), static_cast<uint8_t>(d),
                  0x00, 0x00, 0x66, 0x77, 0x00};
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
    f.data = static_cast<int32_t>((uint32_t(b[8]) << 24) | (uint32_t(b[9]) << 16)
                                  | (uint32_t(b[10]) << 8) | uint32_t(b[11]));
    return f;
}

Engine& Engine::instance()
{
    static Engine* engine = new Engine;  // never destroyed: late reads at exit stay safe
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
    m_cond.notify_all();
}

void Engine::plug()
{
    std::lock_guard lock(m_mutex);
    if (m_plugged)
        return;
    m_plugged = true;
    ++m_generation;
    m_queue.clear();
}

void Engine::unplug()
{
    std::lock_guard lock(m_mutex);
    m_plugged = false;
    killHandlesLocked();
    m_queue.clear();
    m_cond.notify_all();
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

void Engine::queueFrame(uint32_t command, int32_t data, uint8_t total, uint8_t current,
                        uint8_t protocol)
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

Handle* Engine::open(unsigned short vendor, unsigned short product)
{
    Handle* handle = nullptr;
    std::shared_ptr<Model> model;
    {
        std::lock_guard lock(m_mutex);
        ++m_openAttempts;
        if (!m_plugged || (!m_anyIds && (vendor != m_vendor || product != m_product)))
            return nullptr;
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
        m_writes.push_back(Written{++m_order, std::chrono::steady_clock::now(), bytes});
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
    if (milliseconds < 0)
        m_cond.wait(lock, ready);
    else if (!m_cond.wait_for(lock, std::chrono::milliseconds(milliseconds), ready))
        return 0;
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

}  // namespace sim

// hidapi's C functions, backed by the engine.
extern "C" {

struct hid_device_
{
    sim::Handle* handle;
};

int HID_API_EXPORT hid_init(void)
{
    return 0;
}

int HID_API_EXPORT hid_exit(void)
{
    sim::Engine::instance().noteExit();
    return 0;  // open handles stay valid, as the program relies on
}

hid_device* HID_API_EXPORT hid_open(unsigned short vendor_id, unsigned short product_id,
                                    const wchar_t* /*serial_number*/)
{
    sim::Handle* h = sim::Engine::instance().open(vendor_id, product_id);
    if (!h)
        return nullptr;
    // Device wrappers live as long as their handle: until the process ends.
    return new hid_device{h};
}

int HID_API_EXPORT hid_write(hid_device* dev, const unsigned char* data, size_t length)
{
    return sim::Engine::instance().write(dev ? dev->handle : nullptr, data, length);
}

int HID_API_EXPORT hid_read_timeout(hid_device* dev, unsigned char* data, size_t length,
                                    int milliseconds)
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

const wchar_t* HID_API_EXPORT hid_error(hid_device* /*dev*/)
{
    return L"simulated device";
}

}  // extern "C"
