// The simulated device honours the hidapi contract the program relies on.
#include <QtTest>

#include <hidapi/hidapi.h>
#include <libudev.h>
#include <poll.h>

#include <atomic>
#include <thread>

#include "simhid.h"

class TestSimHid : public QObject
{
    Q_OBJECT

private slots:
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
        QCOMPARE(hid_exit(), 0);  // the handle must survive hid_exit

        const unsigned char frame[16] = {0x00, 0x22, 0x33, 0x20, 0x01, 0x01, 0x11, 0x01,
                                         0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x66, 0x77};
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
        const unsigned char expected[16] = {0x22, 0x33, 0x20, 0x01, 0x01, 0x12, 0x03, 0x51,
                                            0x56, 0x73, 0x70, 0x00, 0x00, 0x66, 0x77, 0x00};
        QVERIFY(std::equal(in, in + 16, expected));

        QCOMPARE(hid_read_timeout(dev, in, 16, 10), 0);  // nothing queued: a timeout

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
        std::atomic<int> result{1};
        std::thread reader([&] {
            unsigned char buf[16];
            result = hid_read(dev, buf, 16);
        });
        QTest::qWait(20);
        engine.unplug();
        reader.join();
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
        hid_close(second);  // closing twice is harmless
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

    void monitorsHearPlugsAndUnplugs()
    {
        // As libudev's monitors do: a receiving hidraw monitor gets "add" and
        // "remove" in order, its descriptor is readable exactly while one
        // waits, and monitors that listen elsewhere or not yet hear nothing.
        auto& engine = sim::Engine::instance();
        udev* u = udev_new();
        QVERIFY(u);
        udev_monitor* hidraw = udev_monitor_new_from_netlink(u, "udev");
        udev_monitor* other = udev_monitor_new_from_netlink(u, "kernel");
        udev_monitor* idle = udev_monitor_new_from_netlink(u, "kernel");
        QVERIFY(hidraw && other && idle);
        QCOMPARE(udev_monitor_filter_add_match_subsystem_devtype(hidraw, "hidraw", nullptr), 0);
        QCOMPARE(udev_monitor_filter_add_match_subsystem_devtype(other, "usb", nullptr), 0);
        QCOMPARE(udev_monitor_enable_receiving(hidraw), 0);
        QCOMPARE(udev_monitor_enable_receiving(other), 0);
        QCOMPARE(engine.openMonitors(), 3);

        auto readable = [](udev_monitor* m) {
            pollfd p{udev_monitor_get_fd(m), POLLIN, 0};
            return poll(&p, 1, 0) == 1;
        };
        auto next = [](udev_monitor* m) {
            udev_device* d = udev_monitor_receive_device(m);
            const QString action = d ? QString::fromLatin1(udev_device_get_action(d)) : QString();
            udev_device_unref(d);
            return action;
        };
        QVERIFY(!readable(hidraw));
        engine.plug();
        engine.unplug();
        QVERIFY(readable(hidraw));
        QCOMPARE(next(hidraw), QString("add"));
        QVERIFY(readable(hidraw));
        QCOMPARE(next(hidraw), QString("remove"));
        QVERIFY(!readable(hidraw));
        QCOMPARE(next(hidraw), QString());
        QVERIFY(!readable(other) && !readable(idle));

        engine.setAnnouncements(false);  // a system whose monitors hear nothing
        engine.plug();
        QVERIFY(!readable(hidraw));

        udev_monitor_unref(hidraw);
        udev_monitor_unref(other);
        udev_monitor_unref(idle);
        udev_unref(u);
        QCOMPARE(engine.openMonitors(), 0);
    }
};

QTEST_GUILESS_MAIN(TestSimHid)
#include "test_simhid.moc"
