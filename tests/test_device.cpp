// The device link: the frame codec byte for byte, and the connect and
// receive threads against the simulated device.
#include <QtTest>

#include "device/device_access.h"
#include "device/device_state.h"
#include "device/frame.h"
#include "device/frame_road.h"
#include "device/hid_arrival.h"
#include "device/hid_device.h"
#include "device/threads.h"
#include "deadlines.h"
#include "simhid.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <mutex>

using Frame = qv_hid_new::CustomHidFrameInfo;
using Bytes = QList<int>;
Q_DECLARE_METATYPE(Bytes)

namespace {

// Debug lines from every thread; other messages go on to Qt Test.
std::mutex logMutex;
QStringList debugLines;
QtMessageHandler previousHandler = nullptr;

void captureMessages(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type == QtDebugMsg) {
        std::lock_guard lock(logMutex);
        debugLines << text;
        return;
    }
    previousHandler(type, context, text);
}

int linesStartingWith(const QString& prefix)
{
    std::lock_guard lock(logMutex);
    int n = 0;
    for (const QString& line : debugLines)
        n += line.startsWith(prefix) ? 1 : 0;
    return n;
}

Frame frame(
    uint32_t cmd, int32_t data, uint8_t total = 1, uint8_t current = 1, uint32_t protocol = 0x20)
{
    Frame f;
    f.cmd = cmd;
    f.data = data;
    f.total = total;
    f.current = current;
    f.protocol = protocol;
    return f;
}

bool sameFrame(const Frame& a, const Frame& b)
{
    return a.cmd == b.cmd && a.data == b.data && a.total == b.total && a.current == b.current
        && a.protocol == b.protocol;
}

sim::Report toReport(const Bytes& bytes)
{
    sim::Report r {};
    for (int i = 0; i < 16; ++i)
        r[i] = static_cast<uint8_t>(bytes.value(i));
    return r;
}

// Stands in for the main window: the GUI-thread side of the link.
class LinkReceiver : public QObject
{
    Q_OBJECT

public:
    LinkReceiver()
    {
        connect(
            connect_thread, &ConnectThread::Connected_Success, this, &LinkReceiver::onConnected);
        connect(connect_thread, &ConnectThread::deviceAbsent, this, &LinkReceiver::onAbsent);
        connect(recv_thread, &qv_hid_new_recv::HidDeviceDisconnected, this,
            &LinkReceiver::onDisconnected);
        connect(
            recv_thread, &qv_hid_new_recv::qv_hid_new_recv_update, this, &LinkReceiver::onFrame);
    }

    int connected = 0;
    int disconnected = 0;
    int absent = 0;
    bool onGuiThread = true;
    QList<hid_device*> handles; // the handle published at each connection
    QList<Frame> frames;

private slots:
    void onConnected()
    {
        note();
        ++connected;
        handles << (scard_device ? scard_device->handle : nullptr);
        startDeviceReceive();
    }
    void onDisconnected()
    {
        note();
        ++disconnected;
        startDeviceSearch();
    }
    void onAbsent()
    {
        note();
        ++absent;
        resetSearchState(1);
    }
    void onFrame(Frame f)
    {
        note();
        frames << f;
    }

private:
    void note() { onGuiThread = onGuiThread && QThread::currentThread() == thread(); }
};

// Unplugs the device once, inside the open that found it: the receive run
// then fails at its first read while the connect run may still be ending.
class UnplugOnOpen : public sim::Model
{
public:
    void onOpen(sim::Engine& engine) override
    {
        if (!done) {
            done = true;
            engine.unplug();
        }
    }
    bool done = false;
};

} // namespace

class TestDevice : public QObject
{
    Q_OBJECT

    sim::Engine& engine = sim::Engine::instance();
    LinkReceiver* receiver = nullptr;

    void connectDevice()
    {
        engine.plug();
        startDeviceSearch();
        QTRY_COMPARE(receiver->connected, 1);
        QTRY_VERIFY(recv_thread->isRunning());
    }

private slots:
    void initTestCase()
    {
        previousHandler = qInstallMessageHandler(captureMessages);
        createDeviceThreads();
    }

    void init()
    {
        engine.reset();
        engine.setIds(QV_VENDOR_ID, QV_PRODUCT_ID);
        {
            std::lock_guard lock(logMutex);
            debugLines.clear();
        }
        hid_status = 0;
        config_connect_status = 0;
        status_bar_value = StatusBarInfo {};
        // No timed attempts: every attempt after the first is one that an
        // announcement caused, so the tests can count them.
        connect_thread->fallbackIntervalMs = -1;
        receiver = new LinkReceiver;
    }

    void cleanup()
    {
        QVERIFY(stopDeviceThreads(testsupport::kDeadlineMs));
        delete receiver; // drops its pending deliveries
        receiver = nullptr;
        QCoreApplication::sendPostedEvents();
        connect_thread->running = true; // later tests search again
        connect_thread->fallbackIntervalMs = 1000;
        QCOMPARE(scard_device, nullptr);
        QCOMPARE(engine.openMonitors(), 0); // each search closes what it listened on
    }

    // ---- codec ----

    void encode_data()
    {
        QTest::addColumn<uint>("cmd");
        QTest::addColumn<int>("data");
        QTest::addColumn<int>("total");
        QTest::addColumn<int>("current");
        QTest::addColumn<uint>("protocol");
        QTest::addColumn<Bytes>("expected");
        QTest::newRow("hello") << 0x1101u << 1 << 1 << 1 << 0x20u
                               << Bytes { 0x00, 0x22, 0x33, 0x20, 0x01, 0x01, 0x11, 0x01, 0x00,
                                      0x00, 0x00, 0x01, 0x00, 0x00, 0x66, 0x77 };
        QTest::newRow("negative") << 0x9C01u << -3 << 1 << 1 << 0x20u
                                  << Bytes { 0x00, 0x22, 0x33, 0x20, 0x01, 0x01, 0x9C, 0x01, 0xFF,
                                         0xFF, 0xFF, 0xFD, 0x00, 0x00, 0x66, 0x77 };
        QTest::newRow("minus one") << 0x110Eu << -1 << 1 << 1 << 0x20u
                                   << Bytes { 0x00, 0x22, 0x33, 0x20, 0x01, 0x01, 0x11, 0x0E, 0xFF,
                                          0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x66, 0x77 };
        QTest::newRow("most negative") << 0x1110u << INT_MIN << 1 << 1 << 0x20u
                                       << Bytes { 0x00, 0x22, 0x33, 0x20, 0x01, 0x01, 0x11, 0x10,
                                              0x80, 0x00, 0x00, 0x00, 0x00, 0x00, 0x66, 0x77 };
        QTest::newRow("command above 0xFFFF")
            << 0x5A1101u << 0x01020304 << 1 << 1 << 0x20u
            << Bytes { 0x00, 0x22, 0x33, 0x20, 0x01, 0x01, 0x11, 0x01, 0x01, 0x02, 0x03, 0x04, 0x00,
                   0x00, 0x66, 0x77 };
        QTest::newRow("protocol above 0xFF")
            << 0x1101u << 1 << 1 << 1 << 0x1A5u
            << Bytes { 0x00, 0x22, 0x33, 0xA5, 0x01, 0x01, 0x11, 0x01, 0x00, 0x00, 0x00, 0x01, 0x00,
                   0x00, 0x66, 0x77 };
        QTest::newRow("stream word") << 0x110Bu << 1801678674 << 0x4A << 0x49 << 0x20u
                                     << Bytes { 0x00, 0x22, 0x33, 0x20, 0x4A, 0x49, 0x11, 0x0B,
                                            0x6B, 0x63, 0x6F, 0x52, 0x00, 0x00, 0x66, 0x77 };
    }

    void encode()
    {
        QFETCH(uint, cmd);
        QFETCH(int, data);
        QFETCH(int, total);
        QFETCH(int, current);
        QFETCH(uint, protocol);
        QFETCH(Bytes, expected);
        const OutputReport out = encodeFrame(frame(cmd, data, total, current, protocol));
        QCOMPARE(Bytes(out.begin(), out.end()), expected);
    }

    void decodeAccepted_data()
    {
        QTest::addColumn<Bytes>("report");
        QTest::addColumn<uint>("cmd");
        QTest::addColumn<int>("data");
        QTest::addColumn<int>("total");
        QTest::addColumn<int>("current");
        QTest::addColumn<uint>("protocol");
        QTest::newRow("identity") << Bytes { 0x22, 0x33, 0x20, 0x01, 0x01, 0x12, 0x03, 0x51, 0x56,
            0x73, 0x70, 0x00, 0x00, 0x66, 0x77, 0x00 }
                                  << 0x1203u << 0x51567370 << 1 << 1 << 0x20u;
        QTest::newRow("negative data") << Bytes { 0x22, 0x33, 0x20, 0x01, 0x01, 0x9D, 0x01, 0xFF,
            0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x66, 0x77, 0x00 }
                                       << 0x9D01u << -1 << 1 << 1 << 0x20u;
        QTest::newRow("stream word") << Bytes { 0x22, 0x33, 0x20, 0xC9, 0x05, 0x11, 0x06, 0x02,
            0xD3, 0x38, 0x0C, 0x00, 0x00, 0x66, 0x77, 0x00 }
                                     << 0x1106u << 47396876 << 0xC9 << 5 << 0x20u;
        QTest::newRow("any protocol") << Bytes { 0x22, 0x33, 0xFF, 0x01, 0x01, 0x11, 0x01, 0x00,
            0x00, 0x00, 0x01, 0x00, 0x00, 0x66, 0x77, 0x00 }
                                      << 0x1101u << 1 << 1 << 1 << 0xFFu;
        QTest::newRow("zero protocol") << Bytes { 0x22, 0x33, 0x00, 0x01, 0x01, 0x11, 0x01, 0x00,
            0x00, 0x00, 0x01, 0x00, 0x00, 0x66, 0x77, 0x00 }
                                       << 0x1101u << 1 << 1 << 1 << 0x00u;
        QTest::newRow("junk in 11, 12, 15") << Bytes { 0x22, 0x33, 0x20, 0x01, 0x01, 0x11, 0x07,
            0x00, 0x00, 0xAC, 0x44, 0xDE, 0xAD, 0x66, 0x77, 0xBE }
                                            << 0x1107u << 44100 << 1 << 1 << 0x20u;
    }

    void decodeAccepted()
    {
        QFETCH(Bytes, report);
        QFETCH(uint, cmd);
        QFETCH(int, data);
        QFETCH(int, total);
        QFETCH(int, current);
        QFETCH(uint, protocol);
        const sim::Report r = toReport(report);
        const auto f = decodeInputReport(r.data(), 16);
        QVERIFY(f.has_value());
        QCOMPARE(f->cmd, cmd);
        QCOMPARE(f->data, data);
        QCOMPARE(int(f->total), total);
        QCOMPARE(int(f->current), current);
        QCOMPARE(f->protocol, protocol);
    }

    void decodeRejected_data()
    {
        QTest::addColumn<Bytes>("report");
        QTest::addColumn<int>("length");
        const Bytes good { 0x22, 0x33, 0x20, 0x01, 0x01, 0x11, 0x01, 0x00, 0x00, 0x00, 0x01, 0x00,
            0x00, 0x66, 0x77, 0x00 };
        QVERIFY(decodeInputReport(toReport(good).data(), 16).has_value());
        for (int offset : { 0, 1, 13, 14 }) {
            Bytes bad = good;
            bad[offset] ^= 0x01;
            QTest::addRow("byte %d wrong", offset) << bad << 16;
        }
        Bytes zero = good;
        zero[5] = zero[6] = 0;
        QTest::newRow("command 0") << zero << 16;
        QTest::newRow("short read") << good << 15;
        QTest::newRow("long read") << good << 17;
        QTest::newRow("timeout") << good << 0;
        QTest::newRow("failure") << good << -1;
    }

    void decodeRejected()
    {
        QFETCH(Bytes, report);
        QFETCH(int, length);
        uint8_t buffer[32] = {};
        const sim::Report r = toReport(report);
        std::copy(r.begin(), r.end(), buffer);
        QVERIFY(!decodeInputReport(buffer, length).has_value());
    }

    void roundTrip()
    {
        for (int32_t data : { 0, 1, -1, -3, 44100, INT_MAX, INT_MIN }) {
            const Frame sent = frame(0x1203, data, 0x4E, 0x4D);
            const OutputReport out = encodeFrame(sent);
            uint8_t in[16] = {};
            std::copy(out.begin() + 1, out.end(), in); // the device sees bytes 1-15
            const auto back = decodeInputReport(in, 16);
            QVERIFY(back.has_value());
            QVERIFY(sameFrame(*back, sent));
        }
    }

    void resetSearchState_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("text");
        QTest::newRow("English") << 1 << "Disconnected";
        QTest::newRow("Chinese") << 0 << "未连接";
        QTest::newRow("other language keeps the text") << 2 << "Connected";
    }

    void resetSearchState()
    {
        QFETCH(int, language);
        QFETCH(QString, text);
        status_bar_value.connect_state = "Connected";
        hid_status = config_connect_status = 1;
        ::resetSearchState(language);
        QCOMPARE(status_bar_value.connect_state, text);
        QCOMPARE(hid_status, 0);
        QCOMPARE(config_connect_status, 0);
    }

    void startValues()
    {
        // Fresh process state as every other subsystem expects to find it.
        QCOMPARE(Vantor3_flag, true);
        QCOMPARE(Silent_Sign, -1);
        QCOMPARE(MCU_Switch_Config_Index, -1);
        QCOMPARE(upload_sign, 0);
        QCOMPARE(device_data_words[kDeviceWords - 1], 0);
        QCOMPARE(device_data_words_lr[kDeviceWordsLr - 1], 0);
        for (const auto* m : { &intMatrix, &intMatrix_R, &intMatrix_F, &intMatrix_FR, &intMatrix_Q,
                 &intMatrix_QR }) {
            QCOMPARE(m->size(), kStagedRecords);
            for (const auto& row : *m)
                QCOMPARE(row, QList<double>(kStagedBands, 0.0));
        }
        for (const auto* m :
            { &intMatrix_status, &intMatrix_statusR, &intMatrix_type, &intMatrix_typeR }) {
            QCOMPARE(m->size(), kStagedRecords);
            for (const auto& row : *m)
                QCOMPARE(row, QList<uint8_t>(kStagedBands, 0));
        }
        QCOMPARE(intMatrix_global_status, QList<uint8_t>(kStagedRecords, 0));
        QCOMPARE(intMatrix_global_gainR, QList<double>(kStagedRecords, 0.0));
    }

    // ---- a device this user may not open ----

    void udevRuleGivesTheDeviceToTheSeat()
    {
        // One rule file, applied before the seat rules act on its tag.
        const QDir dir(UDEV_RULES_DIR);
        const QStringList files = dir.entryList({ "*.rules" }, QDir::Files);
        QCOMPARE(files.size(), 1);
        QVERIFY2(files[0] < "73-seat-late.rules", qPrintable(files[0]));
        QFile file(dir.filePath(files[0]));
        QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));

        const QString vendor = QString::asprintf("%04x", QV_VENDOR_ID);
        const QString product = QString::asprintf("%04x", QV_PRODUCT_ID);
        const QRegularExpression id("ATTRS\\{(idVendor|idProduct)\\}==\"([^\"]*)\"");
        int rules = 0;
        while (!file.atEnd()) {
            const QString line = QString::fromUtf8(file.readLine()).trimmed();
            if (line.isEmpty() || line.startsWith('#'))
                continue;
            ++rules;
            QVERIFY2(line.contains("SUBSYSTEM==\"hidraw\""), qPrintable(line));
            QVERIFY2(line.contains("TAG+=\"uaccess\""), qPrintable(line));
            QVERIFY2(!line.contains("MODE"), qPrintable(line)); // never opened to everyone
            QStringList ids;
            for (const QRegularExpressionMatch& m : id.globalMatch(line))
                ids << m.captured(1) + "=" + m.captured(2);
            QCOMPARE(ids, QStringList({ "idVendor=" + vendor, "idProduct=" + product }));
        }
        QCOMPARE(rules, 1);
    }

    void deniedDeviceNode_data()
    {
        QTest::addColumn<bool>("plugged");
        QTest::addColumn<bool>("denied");
        QTest::addColumn<bool>("ours");
        QTest::addColumn<QString>("node");
        QTest::newRow("absent") << false << true << true << QString();
        QTest::newRow("open to this user") << true << false << true << QString();
        QTest::newRow("denied") << true << true << true << QString(sim::Engine::kNodePath);
        QTest::newRow("another device denied") << true << true << false << QString();
    }

    void deniedDeviceNode()
    {
        QFETCH(bool, plugged);
        QFETCH(bool, denied);
        QFETCH(bool, ours);
        QFETCH(QString, node);
        if (!ours)
            engine.setIds(QV_VENDOR_ID, QV_PRODUCT_ID ^ 1);
        engine.setDenied(denied);
        if (plugged)
            engine.plug();
        QCOMPARE(QString::fromStdString(::deniedDeviceNode()), node);
        // hid_open agrees: it fails exactly when the device is absent or denied.
        hid_device* h = hid_open(QV_VENDOR_ID, QV_PRODUCT_ID, nullptr);
        QCOMPARE(h != nullptr, plugged && ours && !denied);
        if (h)
            hid_close(h);
    }

    void udevFinishesWithANodeByAnnouncingIt()
    {
        using Wake = HidArrivalMonitor::Wake;
        const std::string node = sim::Engine::kNodePath;
        HidArrivalMonitor arrivals;
        QVERIFY(arrivals.udevListening());
        QVERIFY(!arrivals.udevFinishedWith(node)); // absent

        // udev marks the node initialised before its rules give it to the
        // user and it announces it: once the kernel's announcement was
        // heard, only udev's own counts.
        engine.plugLate();
        QCOMPARE(arrivals.wait(-1, 0), Wake::Arrival);
        QVERIFY(!arrivals.udevFinishedWith(node));
        engine.markInitialized();
        QVERIFY(!arrivals.udevFinishedWith(node));
        engine.finishUdev();
        QCOMPARE(arrivals.wait(-1, 0), Wake::Arrival);
        QVERIFY(arrivals.udevFinishedWith(node));

        // Plugged before anything listened: udev's mark decides.
        engine.unplug();
        QCOMPARE(arrivals.wait(-1, 0), Wake::Timeout); // removals wake no search
        engine.plugLate();
        HidArrivalMonitor later;
        QVERIFY(!later.udevFinishedWith(node));
        engine.markInitialized();
        QVERIFY(later.udevFinishedWith(node));
    }

    void deniedNodeIsReportedOnceSettled_data()
    {
        // Each step is one failed attempt: "gone" (no denied node), or
        // "refused" with "timed" (after a timed wait, not an announcement),
        // "finished" (udev has finished with the node) and "replugged" (it
        // was removed since the previous attempt); "@<ms>" is when it was
        // made (else when the one before was). The grace is 3000 ms.
        // waitAfter: the longest sleep after the last step where the search
        // has no timed attempts of its own (-1: none).
        QTest::addColumn<bool>("udev");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QList<int>>("reportedAt");
        QTest::addColumn<int>("waitAfter");
        QTest::newRow("udev: the kernel's announcement, a retry, then udev's")
            << true << QStringList { "refused", "refused timed", "refused finished" }
            << QList<int> { 2 } << -1;
        QTest::newRow("udev: opened before udev finished")
            << true << QStringList { "refused", "refused timed", "gone" } << QList<int> {} << -1;
        QTest::newRow("udev: once per plug-in")
            << true
            << QStringList { "refused finished", "refused timed finished", "refused finished",
                   "gone", "refused", "refused finished" }
            << QList<int> { 0, 5 } << -1;
        QTest::newRow("udev: unplugged and back between two attempts")
            << true
            << QStringList { "refused finished", "refused replugged", "refused timed finished" }
            << QList<int> { 0, 2 } << -1;
        QTest::newRow("udev: still waiting, the search wakes at the grace's end")
            << true << QStringList { "refused", "refused timed @1200" } << QList<int> {} << 1800;
        QTest::newRow("udev never finishes: refused for the grace counts")
            << true
            << QStringList { "refused", "refused timed @1000", "refused timed @2999",
                   "refused timed @3000", "refused timed @9000" }
            << QList<int> { 3 } << -1;
        QTest::newRow("udev never finishes: the grace runs from the first refusal in a row")
            << true << QStringList { "refused", "gone @1000", "refused @2000", "refused @4999" }
            << QList<int> {} << 1;
        QTest::newRow("udev never finishes: a re-plug starts the grace again")
            << true
            << QStringList { "refused", "refused replugged @2000", "refused @4999",
                   "refused @5000" }
            << QList<int> { 3 } << -1;
        QTest::newRow("udev never finishes: each plug-in once")
            << true
            << QStringList { "refused", "refused @3000", "refused @7000", "refused replugged",
                   "refused @10000" }
            << QList<int> { 1, 4 } << -1;
        QTest::newRow("no udev: refused again at the next timed attempt")
            << false << QStringList { "refused", "refused timed", "refused timed" }
            << QList<int> { 1 } << -1;
        QTest::newRow("no udev: announcements are no timed attempt")
            << false << QStringList { "refused", "refused", "refused finished", "refused timed" }
            << QList<int> { 3 } << -1;
        QTest::newRow("no udev: opened before the timed attempt")
            << false << QStringList { "refused", "gone", "refused timed", "refused timed" }
            << QList<int> { 3 } << -1;
        QTest::newRow("no udev: unplugged and back before the timed attempt")
            << false << QStringList { "refused", "refused timed replugged", "refused timed" }
            << QList<int> { 2 } << -1;
        QTest::newRow("no udev: no grace, the timed attempts decide")
            << false << QStringList { "refused", "refused @5000" } << QList<int> {} << -1;
    }

    void deniedNodeIsReportedOnceSettled()
    {
        using namespace std::chrono;
        QFETCH(bool, udev);
        QFETCH(QStringList, steps);
        QFETCH(QList<int>, reportedAt);
        QFETCH(int, waitAfter);
        DeniedNodeReporter reporter { milliseconds(3000) };
        QList<int> reported;
        const DeniedNodeReporter::Clock::time_point start;
        DeniedNodeReporter::Clock::time_point when = start;
        for (int i = 0; i < steps.size(); ++i) {
            DeniedNodeReporter::FailedOpen attempt;
            attempt.deniedNode = steps[i].startsWith("refused") ? "/dev/hidraw3" : "";
            attempt.timed = steps[i].contains("timed");
            attempt.udevListening = udev;
            attempt.udevFinished = steps[i].contains("finished");
            attempt.replugged = steps[i].contains("replugged");
            const qsizetype at = steps[i].indexOf('@');
            if (at >= 0)
                when = start + milliseconds(steps[i].mid(at + 1).toInt());
            attempt.when = when;
            const std::string node = reporter.afterFailedOpen(attempt);
            if (!node.empty()) {
                QCOMPARE(node, attempt.deniedNode);
                reported << i;
            }
        }
        QCOMPARE(reported, reportedAt);
        QCOMPARE(reporter.waitMs(-1, when), waitAfter);
        // A timed attempt of the search's own comes no later than it would.
        QCOMPARE(reporter.waitMs(1000, when), waitAfter < 0 ? 1000 : std::min(waitAfter, 1000));
    }

    // ---- sender ----

    void sendWritesBufferAndLogs()
    {
        engine.plug();
        hid_device* h = hid_open(QV_VENDOR_ID, QV_PRODUCT_ID, nullptr);
        QVERIFY(h);
        scard_device = new qv_device(h);

        qv_hid_new_send sender;
        QCOMPARE(sender.qv_frame(frame(0x5A9C01, -3, 1, 1, 0x1A5)), 16);
        const auto writes = engine.writes();
        QCOMPARE(writes.size(), size_t(1));
        const Bytes expected { 0x00, 0x22, 0x33, 0xA5, 0x01, 0x01, 0x9C, 0x01, 0xFF, 0xFF, 0xFF,
            0xFD, 0x00, 0x00, 0x66, 0x77 };
        QCOMPARE(Bytes(writes[0].bytes.begin(), writes[0].bytes.end()), expected);
        QCOMPARE(linesStartingWith("send cmd:0x5A9C01 data:-3 total:1 current:1 protocl:0x1A5"), 1);

        engine.setWriteFailure(true);
        QCOMPARE(sender.qv_frame(frame(0x1101, 1)), 0xFFFF); // failure is not reported further

        hid_close(h);
        delete scard_device;
        scard_device = nullptr;
        QCOMPARE(sender.qv_frame(frame(0x1101, 1)), 0xFFFF); // no device: nothing written
        QCOMPARE(engine.writes().size(), size_t(1));
    }

    // ---- the road ----

    void roadAppliesTheConnectionRule_data()
    {
        QTest::addColumn<int>("hidStatus");
        QTest::addColumn<int>("rule");
        QTest::addColumn<bool>("sent");
        const int editing = int(FrameRule::WhileConnected);
        const int always = int(FrameRule::Always);
        QTest::newRow("editing, greeted") << 1 << editing << true;
        QTest::newRow("editing, not greeted") << 0 << editing << false;
        QTest::newRow("editing, unknown state") << 2 << editing << false;
        QTest::newRow("hello, not greeted") << 0 << always << true;
        QTest::newRow("hello, greeted") << 1 << always << true;
    }

    void roadAppliesTheConnectionRule()
    {
        QFETCH(int, hidStatus);
        QFETCH(int, rule);
        QFETCH(bool, sent);
        engine.plug();
        hid_device* h = hid_open(QV_VENDOR_ID, QV_PRODUCT_ID, nullptr);
        QVERIFY(h);
        scard_device = new qv_device(h);
        hid_status = hidStatus;

        const FrameList frames { makeFrame(0x9E01, 1), makeFrame(0x1110, -3, 74, 5),
            makeFrame(0x9E01, 0) };
        QCOMPARE(frameRoad().send(frames, FrameRule(rule)), sent);
        const auto writes = engine.writes();
        QCOMPARE(writes.size(), size_t(sent ? frames.size() : 0));
        for (size_t i = 0; i < writes.size(); ++i) {
            const OutputReport expected = encodeFrame(frames[qsizetype(i)]);
            QCOMPARE(Bytes(writes[i].bytes.begin(), writes[i].bytes.end()),
                Bytes(expected.begin(), expected.end()));
        }

        hid_close(h);
        delete scard_device;
        scard_device = nullptr;
        hid_status = 0;
    }

    // ---- threads ----

    void presentAtStart()
    {
        status_bar_value.connect_state = "Connected";
        hid_status = 1;
        connectDevice();
        QTRY_VERIFY(connect_thread->isFinished());
        QCOMPARE(receiver->connected, 1);
        QCOMPARE(receiver->absent, 0); // the status text is not touched
        QCOMPARE(status_bar_value.connect_state, QString("Connected"));
        QCOMPARE(hid_status, 1);
        QCOMPARE(engine.openAttempts(), 1);
        QVERIFY(engine.exitCalls() >= 1);
        QVERIFY(scard_device);
        QCOMPARE(receiver->handles.value(0), scard_device->handle);
        QTRY_COMPARE(linesStartingWith(" 线程运行 开始运行 "), 1); // logged once the run has begun
    }

    void absentThenPlugged()
    {
        hid_status = config_connect_status = 1;
        startDeviceSearch();
        QTRY_COMPARE(receiver->absent, 1);
        QCOMPARE(status_bar_value.connect_state, QString("Disconnected"));
        QCOMPARE(hid_status, 0);
        QCOMPARE(config_connect_status, 0);
        QCOMPARE(receiver->connected, 0);
        QVERIFY(receiver->onGuiThread);

        startDeviceSearch(); // already searching: no second run
        engine.plug();
        QTRY_COMPARE(receiver->connected, 1);
        QCOMPARE(engine.openCalls(), 1);
        QCOMPARE(engine.openAttempts(), 2); // the first, then the one the plug caused
        QCOMPARE(receiver->absent, 1); // the reset is posted once per search
        QVERIFY(receiver->onGuiThread);
    }

    void nothingPollsWhileAway()
    {
        // With no timed attempts, the search sleeps in one wait without a
        // time limit after its first attempt: only an announcement (or a
        // stop) ends it, so nothing polls while the device is away, and the
        // plug's announcement finds the device in exactly one attempt.
        startDeviceSearch();
        QTRY_COMPARE(receiver->absent, 1);
        QTRY_COMPARE(engine.searchWaitsBlocked(), 1);
        QCOMPARE(engine.timedSearchWaits(), 0);
        QCOMPARE(engine.openAttempts(), 1);
        QVERIFY(connect_thread->isRunning());
        engine.plug();
        QTRY_COMPARE(receiver->connected, 1);
        QCOMPARE(engine.openAttempts(), 2);
        QCOMPARE(engine.timedSearchWaits(), 0);
        QCOMPARE(receiver->absent, 1);
    }

    void timedAttemptFindsUnannouncedDevice()
    {
        // A system whose monitors hear nothing still finds the device.
        engine.setAnnouncements(false);
        connect_thread->fallbackIntervalMs = 20;
        startDeviceSearch();
        QTRY_COMPARE(receiver->absent, 1);
        engine.plug();
        QTRY_COMPARE(receiver->connected, 1);
        QVERIFY(engine.openAttempts() >= 2);
    }

    void otherDevicesAndRemovalsDoNotConnect()
    {
        // Some other HID device comes and goes: its arrival costs one failed
        // attempt, its removal none; then ours arrives.
        engine.setIds(QV_VENDOR_ID ^ 1, QV_PRODUCT_ID);
        startDeviceSearch();
        QTRY_COMPARE(receiver->absent, 1);
        engine.plug();
        QTRY_COMPARE(engine.openAttempts(), 2);
        engine.unplug();
        engine.setIds(QV_VENDOR_ID, QV_PRODUCT_ID);
        engine.plug();
        QTRY_COMPARE(receiver->connected, 1);
        QCOMPARE(engine.openAttempts(), 3);
        QCOMPARE(receiver->absent, 1);
    }

    void framesReachGuiThreadInOrder()
    {
        connectDevice();
        const Frame a = frame(0x1101, 1);
        const Frame b = frame(0x1106, -7, 0xC9, 200, 0x00);
        const Frame c = frame(0x9D01, 12345);
        engine.queueReport(sim::makeReport(a.cmd, a.data));
        sim::Report bad = sim::makeReport(0x1203, 5);
        bad[14] = 0x78;
        engine.queueReport(bad);
        engine.queueReport(sim::makeReport(0x0000, 9)); // command 0
        engine.queueShortRead(15);
        engine.queueReport(sim::makeReport(b.cmd, b.data, b.total, b.current, 0x00));
        engine.queueShortRead(3);
        engine.queueReport(sim::makeReport(c.cmd, c.data));
        QTRY_COMPARE(receiver->frames.size(), 3);
        QVERIFY(sameFrame(receiver->frames[0], a));
        QVERIFY(sameFrame(receiver->frames[1], b));
        QVERIFY(sameFrame(receiver->frames[2], c));
        QVERIFY(receiver->onGuiThread);
        QCOMPARE(linesStartingWith("recv "), 3);
        QCOMPARE(linesStartingWith("recv cmd:0x1106 data:-7 total:201 current:200 protocl:0x0"), 1);
        QCOMPARE(receiver->disconnected, 0);
        QVERIFY(recv_thread->isRunning());
    }

    void unplugWhileConnected()
    {
        connectDevice();
        engine.unplug();
        QTRY_COMPARE(receiver->disconnected, 1);
        QTRY_COMPARE(receiver->absent, 1); // searching again
        QVERIFY(connect_thread->isRunning());
        QCOMPARE(receiver->disconnected, 1);
        QVERIFY(recv_thread->isFinished());
        QCOMPARE(linesStartingWith("[Waring] 读取不到数据卡死 "), 1);
        QCOMPARE(status_bar_value.connect_state, QString("Disconnected"));
        QCOMPARE(scard_device, nullptr);
        QCOMPARE(engine.unclosedHandles(), 0); // the lost handle was closed
    }

    void replug()
    {
        connectDevice();
        qv_hid_new_recv* const thread = recv_thread;
        engine.unplug();
        QTRY_COMPARE(receiver->disconnected, 1);
        engine.plug();
        QTRY_COMPARE(receiver->connected, 2);
        QTRY_VERIFY(recv_thread->isRunning());
        QCOMPARE(recv_thread, thread);
        QVERIFY(scard_device);
        QCOMPARE(scard_device->handle, receiver->handles[1]);
        QVERIFY(receiver->handles[1] != receiver->handles[0]);
        QCOMPARE(engine.openCalls(), 2);
        QCOMPARE(engine.unclosedHandles(), 1);

        engine.queueFrame(0x1203, 0x51562340);
        QTRY_COMPARE(receiver->frames.size(), 1);
        QCOMPARE(receiver->frames[0].cmd, 0x1203u);
        qv_hid_new_send sender;
        QCOMPARE(sender.qv_frame(frame(0x1101, 1)), 16); // writes reach the new handle
    }

    void lossRightAfterConnect()
    {
        // The receive run fails at once, possibly before the connect run has
        // ended: the loss must still start a new search.
        engine.setModel(std::make_shared<UnplugOnOpen>());
        engine.plug();
        startDeviceSearch();
        QTRY_COMPARE(receiver->connected, 1);
        QTRY_COMPARE(receiver->disconnected, 1);
        QTRY_VERIFY(receiver->absent >= 1);
        engine.plug();
        QTRY_COMPARE(receiver->connected, 2);
        QTRY_VERIFY(recv_thread->isRunning());
        engine.queueFrame(0x9D01, 1);
        QTRY_COMPARE(receiver->frames.size(), 1);
    }

    void searchAgainWhileReceiving()
    {
        // Ending a live receive run is not a loss; the next run must still read.
        connectDevice();
        startDeviceSearch();
        QTRY_COMPARE(receiver->connected, 2);
        QTRY_VERIFY(recv_thread->isRunning());
        QCOMPARE(receiver->disconnected, 0);
        QCOMPARE(engine.unclosedHandles(), 1);
        engine.queueFrame(0x1204, 193);
        QTRY_COMPARE(receiver->frames.size(), 1);
    }

    void stopWhileSearching()
    {
        // With no timed attempt to end the wait, only stop() can.
        ConnectThread searcher;
        searcher.fallbackIntervalMs = -1;
        searcher.start();
        QTRY_COMPARE(engine.openAttempts(), 1);
        QTRY_COMPARE(engine.openMonitors(), 2);
        const int exits = engine.exitCalls();
        searcher.stop();
        QVERIFY(searcher.wait(testsupport::kDeadlineMs));
        QCOMPARE(engine.exitCalls(), exits + 1);
        const int attempts = engine.openAttempts();

        searcher.start(); // a stopped thread does not search again
        QVERIFY(searcher.wait(testsupport::kDeadlineMs));
        QCOMPARE(engine.openAttempts(), attempts);
        QCOMPARE(engine.exitCalls(), exits + 2);
    }

    void plugCycles()
    {
        engine.plug();
        startDeviceSearch();
        for (int i = 1; i <= 50; ++i) {
            QTRY_COMPARE(receiver->connected, i);
            QTRY_VERIFY(recv_thread->isRunning());
            QVERIFY(engine.unclosedHandles() <= 1);
            engine.unplug();
            QTRY_COMPARE(receiver->disconnected, i);
            QTRY_COMPARE(engine.unclosedHandles(), 0);
            engine.plug();
        }
        QTRY_COMPARE(receiver->connected, 51);
        QCOMPARE(engine.openCalls(), 51);
        QCOMPARE(engine.unclosedHandles(), 1);
    }

    void cleanExitWhileConnected()
    {
        connectDevice();
        QVERIFY(stopDeviceThreads(testsupport::kDeadlineMs));
        QVERIFY(connect_thread->isFinished());
        QVERIFY(recv_thread->isFinished());
        QCOMPARE(engine.unclosedHandles(), 0);
        QCOMPARE(scard_device, nullptr);
        QCoreApplication::processEvents();
        QCOMPARE(receiver->disconnected, 0); // a stop is not a loss
        qv_hid_new_send sender;
        QCOMPARE(sender.qv_frame(frame(0x1111, 1)), 0xFFFF);
    }

    void stopWhileSearchingGlobally()
    {
        startDeviceSearch();
        QTRY_COMPARE(receiver->absent, 1);
        QVERIFY(stopDeviceThreads(testsupport::kDeadlineMs));
        QVERIFY(connect_thread->isFinished());
    }
};

QTEST_GUILESS_MAIN(TestDevice)
#include "test_device.moc"
