// The simulated device honours the hidapi contract the program relies on.
#include <QScopeGuard>
#include <QtTest>

#include <hidapi/hidapi.h>
#include <libudev.h>
#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <thread>

#include "deadlines.h"
#include "sim_slot_model.h"
#include "simhid.h"

namespace {
// Writes one program frame to the device as the program would.
void writeFrame(hid_device* dev, uint32_t cmd, int32_t data, uint8_t total = 1, uint8_t current = 1)
{
    const auto d = static_cast<uint32_t>(data);
    const unsigned char buf[16] = { 0x00, 0x22, 0x33, 0x20, total, current,
        static_cast<unsigned char>(cmd >> 8), static_cast<unsigned char>(cmd),
        static_cast<unsigned char>(d >> 24), static_cast<unsigned char>(d >> 16),
        static_cast<unsigned char>(d >> 8), static_cast<unsigned char>(d), 0x00, 0x00, 0x66, 0x77 };
    QCOMPARE(hid_write(dev, buf, 16), 16);
}

bool readable(udev_monitor* m)
{
    pollfd p { udev_monitor_get_fd(m), POLLIN, 0 };
    return poll(&p, 1, 0) == 1;
}

// The next announcement's action; empty when none waits.
QString next(udev_monitor* m)
{
    udev_device* d = udev_monitor_receive_device(m);
    const QString action = d ? QString::fromLatin1(udev_device_get_action(d)) : QString();
    udev_device_unref(d);
    return action;
}

udev_monitor* hidrawMonitor(udev* u, const char* source)
{
    udev_monitor* m = udev_monitor_new_from_netlink(u, source);
    if (m) {
        udev_monitor_filter_add_match_subsystem_devtype(m, "hidraw", nullptr);
        udev_monitor_enable_receiving(m);
    }
    return m;
}

// What udev_device_get_is_initialized says of the node; -1: udev does not know it.
int nodeInitialized(udev* u)
{
    udev_device* d = udev_device_new_from_subsystem_sysname(u, "hidraw", sim::Engine::kNodeName);
    const int initialized = d ? udev_device_get_is_initialized(d) : -1;
    udev_device_unref(d);
    return initialized;
}

void writeRecord(hid_device* dev, uint32_t cmd, const std::vector<int32_t>& words, int count)
{
    for (int k = 0; k < count; ++k)
        writeFrame(
            dev, cmd, words[size_t(k)], uint8_t(words.size() > 74 ? 74 : words.size()), uint8_t(k));
}
} // namespace

class TestSimHid : public QObject
{
    Q_OBJECT

private slots:
    // The slot models' first connection sends exactly the landed bursts.
    void slotModelsReproduceTheBursts()
    {
        QVERIFY(sim::SlotModel(sim::modelASheet()).burst() == sim::modelABurst());
        QVERIFY(sim::SlotModel(sim::modelBSheet()).burst() == sim::modelBBurst(true));
        QVERIFY(sim::SlotModel(sim::modelCSheet()).burst() == sim::modelCBurst(true, true));
    }

    // Store, save, rename, delete and band frames change the slot table,
    // which the next connection streams.
    void slotFramesChangeTheTable()
    {
        auto& engine = sim::Engine::instance();
        auto model = std::make_shared<sim::SlotModel>(sim::modelASheet());
        engine.setModel(model);
        engine.plug();
        hid_device* dev = hid_open(0x1234, 0x5678, nullptr);
        QVERIFY(dev);

        // A one-set store carries 0.5 dB steps: byte 4 is +2.0 dB.
        const sim::SlotRecord fresh = sim::slotRecord(
            "New", 1, sim::kUnityPreamp, sim::slotBand({ 1, 1, 4, 500, 7070 }, 5));
        writeRecord(dev, 0x110B, sim::encodeOneSet(fresh, 5), 39);
        auto held = model->userSlots();
        QCOMPARE(held.size(), size_t(3));
        QCOMPARE(held[2].name, std::string("New"));
        QCOMPARE(held[2].left.bands[0].gainTenths, 20);

        writeFrame(dev, 0x110F, 0);
        writeRecord(dev, 0x1110,
            sim::encodeOneSet(
                sim::slotRecord("Saved", 1, 47396876, sim::slotBand({ 1, 2, 10, 80, 7070 }, 5)), 5),
            39);
        writeFrame(dev, 0x110C, 1);
        const auto name = sim::nameWords("Renamed");
        for (int k = 0; k < 4; ++k)
            writeFrame(dev, 0x110D, name[size_t(k)], 39, uint8_t(k));
        held = model->userSlots();
        QCOMPARE(held[0].name, std::string("Saved"));
        QCOMPARE(held[0].left.bands[0].gainTenths, 50);
        QCOMPARE(held[0].left.preampWord, 47396876);
        QCOMPARE(held[1].name, std::string("Renamed"));

        writeFrame(dev, 0x110E, -1);
        writeFrame(dev, 0x110A, 0);
        writeFrame(dev, 0x110E, 1);
        writeFrame(dev, 0x9E01, 1);
        writeFrame(dev, 0x9203, -4);
        writeFrame(dev, 0x9205, 1);
        writeFrame(dev, 0x9208, 9); // right channel: a one-set device has none
        writeFrame(dev, 0x9E01, 0);
        held = model->userSlots();
        QCOMPARE(held.size(), size_t(2));
        QCOMPARE(held[0].name, std::string("Renamed"));
        QCOMPARE(held[1].left.bands[1].gainTenths, -20);
        QCOMPARE(int(held[1].left.bands[1].status), 1);
        QCOMPARE(model->activeSlot(), 1);

        // The next burst lists both and reports slot 1 as active.
        const auto burst = model->nextBurst();
        QVERIFY(std::find(burst.begin(), burst.end(), sim::makeReport(0x1206, 1)) != burst.end());
        QVERIFY(std::find(burst.begin(), burst.end(), sim::makeReport(0x1106, 2, 201, 195))
            != burst.end());
        hid_close(dev);
    }

    // A three-slot left/right device: full, it files no new record; an
    // overwrite names the target of the following upload, read in 0.1 dB.
    void threeSlotModelOverwrite()
    {
        auto& engine = sim::Engine::instance();
        auto model = std::make_shared<sim::SlotModel>(sim::mirel1Sheet());
        engine.setModel(model);
        engine.plug();
        hid_device* dev = hid_open(0x1234, 0x5678, nullptr);
        QVERIFY(dev);
        writeRecord(dev, 0x110B, sim::encodeLeftRight(sim::SlotRecord { "Four", {}, {} }, 1), 74);
        QCOMPARE(model->userSlots().size(), size_t(3));
        writeFrame(dev, 0x1119, 2);
        writeFrame(dev, 0x9E01, 1);
        writeFrame(dev, 0x9C03, 23754692);
        writeFrame(dev, 0x9106, 3);
        writeFrame(dev, 0x9108, -15);
        writeFrame(dev, 0x9E01, 0);
        const auto held = model->userSlots();
        QCOMPARE(held[2].right.preampWord, 23754692);
        QCOMPARE(int(held[2].right.bands[0].type), 3);
        QCOMPARE(held[2].right.bands[0].gainTenths, -15);
        QCOMPARE(held[2].left.bands[0].type, int8_t(4)); // untouched
        hid_close(dev);
    }

    void init() { sim::Engine::instance().reset(); }

    void absentDeviceDoesNotOpen()
    {
        QCOMPARE(hid_init(), 0);
        QVERIFY(hid_open(0x1234, 0x5678, nullptr) == nullptr);
        QCOMPARE(sim::Engine::instance().openAttempts(), 1);
    }

    void writeReadAndUnplug()
    {
        auto& engine = sim::Engine::instance();
        engine.plug();
        hid_device* dev = hid_open(0x1234, 0x5678, nullptr);
        QVERIFY(dev);
        QCOMPARE(hid_exit(), 0); // the handle must survive hid_exit

        const unsigned char frame[16] = { 0x00, 0x22, 0x33, 0x20, 0x01, 0x01, 0x11, 0x01, 0x00,
            0x00, 0x00, 0x01, 0x00, 0x00, 0x66, 0x77 };
        QCOMPARE(hid_write(dev, frame, 16), 16);
        const auto writes = engine.writes();
        QCOMPARE(writes.size(), size_t(1));
        QCOMPARE(writes[0].order, uint64_t(1));
        QVERIFY(std::equal(writes[0].bytes.begin(), writes[0].bytes.end(), frame));
        const auto parsed = sim::parseWrite(writes[0].bytes);
        QVERIFY(parsed.ok);
        QCOMPARE(parsed.command, 0x1101u);
        QCOMPARE(parsed.data, 1);

        engine.queueFrame(0x1203, 0x51567370);
        unsigned char in[16] = {};
        QCOMPARE(hid_read(dev, in, 16), 16);
        const unsigned char expected[16] = { 0x22, 0x33, 0x20, 0x01, 0x01, 0x12, 0x03, 0x51, 0x56,
            0x73, 0x70, 0x00, 0x00, 0x66, 0x77, 0x00 };
        QVERIFY(std::equal(in, in + 16, expected));

        QCOMPARE(hid_read_timeout(dev, in, 16, 10), 0); // nothing queued: a timeout

        engine.unplug();
        QCOMPARE(hid_read(dev, in, 16), -1);
        QCOMPARE(hid_write(dev, frame, 16), -1);
        QCOMPARE(engine.openHandles(), 0);
    }

    void unplugWakesBlockedReader()
    {
        auto& engine = sim::Engine::instance();
        engine.plug();
        hid_device* dev = hid_open(1, 2, nullptr);
        QVERIFY(dev);
        std::atomic<int> result { 1 };
        std::atomic<bool> done { false };
        std::thread reader([&] {
            unsigned char buf[16];
            result = hid_read(dev, buf, 16);
            done = true;
        });
        // Closing wakes the reader, should the unplug not have.
        const auto join = qScopeGuard([&] {
            hid_close(dev);
            reader.join();
        });
        QTRY_COMPARE(engine.blockedReads(), 1);
        engine.unplug();
        QTRY_VERIFY(done);
        QCOMPARE(result.load(), -1);
    }

    void oldHandleStaysDeadAfterReplug()
    {
        auto& engine = sim::Engine::instance();
        engine.plug();
        hid_device* first = hid_open(1, 2, nullptr);
        engine.unplug();
        engine.plug();
        hid_device* second = hid_open(1, 2, nullptr);
        QVERIFY(first && second);
        engine.queueFrame(0x9D01, 7);
        unsigned char buf[16];
        QCOMPARE(hid_read_timeout(first, buf, 16, 10), -1);
        QCOMPARE(hid_read_timeout(second, buf, 16, 10), 16);
        hid_close(second);
        hid_close(second); // closing twice is harmless
        QCOMPARE(hid_read(second, buf, 16), -1);
        QCOMPARE(engine.openHandles(), 0);
    }

    void shortReadAndIds()
    {
        auto& engine = sim::Engine::instance();
        engine.setIds(0x1234, 0x5678);
        engine.plug();
        QVERIFY(hid_open(0x1111, 0x5678, nullptr) == nullptr);
        hid_device* dev = hid_open(0x1234, 0x5678, nullptr);
        QVERIFY(dev);
        engine.queueShortRead(7);
        unsigned char buf[16];
        QCOMPARE(hid_read(dev, buf, 16), 7);
    }

    void deniedNodeIsListedButClosed()
    {
        // As a root-owned 0600 hidraw node: listed, but neither opened nor
        // readable and writable for this user, until the mode is lifted.
        auto& engine = sim::Engine::instance();
        engine.setIds(0x1234, 0x5678);
        engine.setDenied(true);
        const char* node = sim::Engine::kNodePath;
        QVERIFY(hid_enumerate(0x1234, 0x5678) == nullptr);
        errno = 0;
        QCOMPARE(access(node, F_OK), -1);
        QCOMPARE(errno, ENOENT);

        engine.plug();
        hid_device_info* list = hid_enumerate(0x1234, 0x5678);
        QVERIFY(list);
        QCOMPARE(QByteArray(list->path), QByteArray(node));
        QCOMPARE(list->vendor_id, 0x1234);
        QVERIFY(list->next == nullptr);
        hid_free_enumeration(list);
        QVERIFY(hid_enumerate(0x1234, 0x9999) == nullptr);
        errno = 0;
        QVERIFY(hid_open(0x1234, 0x5678, nullptr) == nullptr);
        QCOMPARE(errno, EACCES);
        errno = 0;
        QCOMPARE(access(node, R_OK | W_OK), -1);
        QCOMPARE(errno, EACCES);
        QCOMPARE(access(node, F_OK), 0);

        engine.setDenied(false);
        QCOMPARE(access(node, R_OK | W_OK), 0);
        hid_device* dev = hid_open(0x1234, 0x5678, nullptr);
        QVERIFY(dev);
        hid_close(dev);

        // Every other path is the real file system's.
        QCOMPARE(access("/", F_OK), 0);
        QCOMPARE(access("/no/such/path", F_OK), -1);
    }

    void monitorsHearPlugsAndUnplugs()
    {
        // As libudev's monitors do: a receiving hidraw monitor gets "add" and
        // "remove" in order, the kernel's and udev's alike, its descriptor is
        // readable exactly while one waits, and monitors that listen
        // elsewhere or not yet hear nothing.
        auto& engine = sim::Engine::instance();
        udev* u = udev_new();
        QVERIFY(u);
        udev_monitor* kernel = hidrawMonitor(u, "kernel");
        udev_monitor* udevd = hidrawMonitor(u, "udev");
        udev_monitor* other = udev_monitor_new_from_netlink(u, "kernel");
        udev_monitor* idle = udev_monitor_new_from_netlink(u, "udev");
        QVERIFY(kernel && udevd && other && idle);
        QCOMPARE(udev_monitor_filter_add_match_subsystem_devtype(other, "usb", nullptr), 0);
        QCOMPARE(udev_monitor_enable_receiving(other), 0);
        QCOMPARE(engine.openMonitors(), 4);

        QVERIFY(!readable(kernel) && !readable(udevd));
        engine.plug();
        engine.unplug();
        for (udev_monitor* m : { kernel, udevd }) {
            QVERIFY(readable(m));
            QCOMPARE(next(m), QString("add"));
            QVERIFY(readable(m));
            QCOMPARE(next(m), QString("remove"));
            QVERIFY(!readable(m));
            QCOMPARE(next(m), QString());
        }
        QVERIFY(!readable(other) && !readable(idle));

        // Only polls on a monitor count as the search's waits.
        const int timed = engine.timedSearchWaits();
        QVERIFY(!readable(other));
        int pipeFds[2];
        QCOMPARE(pipe(pipeFds), 0);
        pollfd unrelated { pipeFds[0], POLLIN, 0 };
        QCOMPARE(poll(&unrelated, 1, 0), 0);
        close(pipeFds[0]);
        close(pipeFds[1]);
        QCOMPARE(engine.timedSearchWaits(), timed + 1);
        QCOMPARE(engine.searchWaitsBlocked(), 0);

        engine.setAnnouncements(false); // a system whose monitors hear nothing
        engine.plug();
        QVERIFY(!readable(kernel) && !readable(udevd));

        for (udev_monitor* m : { kernel, udevd, other, idle })
            udev_monitor_unref(m);
        udev_unref(u);
        QCOMPARE(engine.openMonitors(), 0);
    }

    void lateNodeIsRootsUntilUdevAnnouncesIt()
    {
        // A plug-in as a real system makes it: the kernel announces the node
        // at once; until udev has applied its rules and announced it too,
        // the node is closed to this user and not initialised.
        auto& engine = sim::Engine::instance();
        engine.setIds(0x1234, 0x5678);
        udev* u = udev_new();
        udev_monitor* kernel = hidrawMonitor(u, "kernel");
        udev_monitor* udevd = hidrawMonitor(u, "udev");
        QVERIFY(kernel && udevd);
        udev_queue* queue = udev_queue_new(u);
        QCOMPARE(udev_queue_get_udev_is_active(queue), 1);
        QCOMPARE(nodeInitialized(u), -1);

        engine.plugLate();
        QCOMPARE(next(kernel), QString("add"));
        QCOMPARE(next(udevd), QString());
        QCOMPARE(nodeInitialized(u), 0);
        errno = 0;
        QVERIFY(hid_open(0x1234, 0x5678, nullptr) == nullptr);
        QCOMPARE(errno, EACCES);
        QCOMPARE(access(sim::Engine::kNodePath, R_OK | W_OK), -1);

        engine.finishUdev();
        engine.finishUdev(); // once per plug-in
        QCOMPARE(next(udevd), QString("add"));
        QCOMPARE(next(udevd), QString());
        QCOMPARE(next(kernel), QString());
        QCOMPARE(nodeInitialized(u), 1);
        hid_device* dev = hid_open(0x1234, 0x5678, nullptr);
        QVERIFY(dev);
        hid_close(dev);

        // Denied stays denied once udev has finished.
        engine.unplug();
        engine.setDenied(true);
        engine.plugLate();
        engine.finishUdev();
        QCOMPARE(nodeInitialized(u), 1);
        QVERIFY(hid_open(0x1234, 0x5678, nullptr) == nullptr);

        // Without udev: its monitors hear nothing and no node is initialised.
        engine.unplug();
        while (!next(kernel).isEmpty() || !next(udevd).isEmpty()) { }
        engine.setUdevRunning(false);
        QCOMPARE(udev_queue_get_udev_is_active(queue), 0);
        engine.plug();
        QCOMPARE(next(kernel), QString("add"));
        QCOMPARE(next(udevd), QString());
        QCOMPARE(nodeInitialized(u), 0);

        udev_queue_unref(queue);
        udev_monitor_unref(kernel);
        udev_monitor_unref(udevd);
        udev_unref(u);
    }
};

QTEST_GUILESS_MAIN(TestSimHid)
#include "test_simhid.moc"
