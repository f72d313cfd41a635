// The device dispatcher without widgets: the simulated models' bursts fed
// frame by frame into a DeviceSession whose host records what it is asked
// to do.
#include <QtTest>

#include "device/device_session.h"
#include "device/device_state.h"
#include "device/device_tables.h"
#include "device/frame.h"
#include "device/hid_device.h"
#include "device/preset_records.h"
#include "dsp/band.h"
#include "device_state_reset.h"
#include "sim_models.h"
#include "store/presets.h"
#include "store/settings.h"

using Frame = qv_hid_new::CustomHidFrameInfo;

namespace {

class RecordingHost : public DeviceStatusView, public DeviceHost
{
public:
    QStringList events;
    QString peqText = QStringLiteral("L+R");
    int selected = 0;
    bool autoSaveOn = false;
    QString biaozhi = QStringLiteral("xxxx");
    QString moren;
    QString labels[8];
    bool bandRowShown[12] = { false, true, true }; // two band rows shown

    void note(const QString& e) { events << e; }
    QStringList sent() const { return events.filter(QRegularExpression("^send ")); }
    QStringList announced() const
    {
        return events.filter(QRegularExpression("^(moren_)?device_config_upload$"));
    }
    int count(const QString& e) const { return int(events.count(e)); }

    void sendFrame(const Frame& f) override
    {
        note(QStringLiteral("send 0x%1 %2 t%3/c%4 p0x%5")
                 .arg(f.cmd, 0, 16)
                 .arg(f.data)
                 .arg(f.total)
                 .arg(f.current)
                 .arg(f.protocol, 0, 16));
    }
    void startReceiving() override { note("receive"); }
    void startSearching() override { note("search"); }
    void setStatusText(int label, const QString& text) override
    {
        labels[label] = text;
        note(QStringLiteral("text%1 %2").arg(label).arg(text));
    }
    void setStatusStyle(int label, const QString& sheet) override
    {
        note(QStringLiteral("style%1 %2").arg(label).arg(sheet));
    }
    void setStatusVisible(int label, bool v) override
    {
        note(QStringLiteral("visible%1 %2").arg(label).arg(v));
    }
    QString peqModeText() const override { return peqText; }
    void setPeqModeIndex(int i) override
    {
        peqText = i == 1 ? "L/R" : "L+R";
        note(QStringLiteral("peqIndex %1").arg(i));
    }
    void setPeqModeVisible(bool v) override { note(QStringLiteral("peqVisible %1").arg(v)); }
    void setPeqModeLabelVisible(bool v) override { note(QStringLiteral("peqLabel %1").arg(v)); }
    void setChannelSwitchChecked(bool c) override
    {
        note(QStringLiteral("switchChecked %1").arg(c));
    }
    void setChannelSwitchVisible(bool v) override
    {
        note(QStringLiteral("switchVisible %1").arg(v));
    }
    void setBandControlsLocked(bool l) override { note(QStringLiteral("locked %1").arg(l)); }
    bool isBandRowShown(int band) const override
    {
        return band >= 0 && band < 12 && bandRowShown[band];
    }
    void updateUi() override { note("update_ui"); }
    void configUpdateUi() override { note("config_update_ui"); }
    void configUpdateUi2() override { note("config_update_ui2"); }
    void updateEqNum() override { note("update_EQ_NUM"); }
    void startStreamTimer() override { note("timer2"); }
    void refreshSettingsWindow() override { note("Updata_ALL"); }
    int selectedPresetIndex() const override { return selected; }
    bool autoSave() const override { return autoSaveOn; }
    QString biaozhiName() const override { return biaozhi; }
    QString morendeviceName() const override { return moren; }
    void setOldName(const QString& n) override { note("old_name " + n); }
    void rememberChannelModeSlot() override { note("tem_flag"); }
    void saveLocalPreset(int i) override { note(QStringLiteral("saveLocal %1").arg(i)); }
    void writeSettings() override { note("Config_update"); }
    void deviceConfigUpload() override { note("device_config_upload"); }
    void morenDeviceConfigUpload() override { note("moren_device_config_upload"); }
    void deviceSelectUpload(int s) override
    {
        note(QStringLiteral("device_select_upload %1").arg(s));
    }
    void layoutTag(const QString& t) override { note("shifouzhichi " + t); }
    void muteState(int s) override { note(QStringLiteral("mute_biaozhi %1").arg(s)); }
    void eqUsable(bool u) override { note(QStringLiteral("Is_Language %1").arg(u)); }
    void deviceConfigClear() override { note("device_config_clear"); }
    void saveDevicePreset(int i) override
    {
        note(QStringLiteral("close_device_save_config %1").arg(i));
    }
};

Frame frame(uint32_t cmd, int32_t data, uint8_t total = 1, uint8_t current = 1)
{
    Frame f;
    f.cmd = cmd;
    f.data = data;
    f.total = total;
    f.current = current;
    return f;
}

void feed(DeviceSession& session, const std::vector<sim::Report>& reports, size_t from = 0,
    size_t to = SIZE_MAX)
{
    for (size_t i = from; i < std::min(to, reports.size()); ++i) {
        const auto f = decodeInputReport(reports[i].data(), int(reports[i].size()));
        QVERIFY(f);
        session.route(*f);
    }
}

size_t firstIndexOf(const std::vector<sim::Report>& reports, uint32_t cmd)
{
    for (size_t i = 0; i < reports.size(); ++i) {
        if (((uint32_t(reports[i][5]) << 8) | reports[i][6]) == cmd)
            return i;
    }
    return reports.size();
}

struct BandExpect
{
    int status;
    int type;
    int frequency;
    double gain;
    double q;
};

void checkBand(const EQ_data* b, const BandExpect& e)
{
    QVERIFY(b);
    QCOMPARE(int(b->status), e.status);
    QCOMPARE(b->type, e.type);
    QCOMPARE(b->center_frequency, e.frequency);
    QCOMPARE(b->gain, e.gain);
    QCOMPARE(b->Q, e.q);
}

const BandExpect kOff { 0, 1, 632, 0.0, 0.707 };

} // namespace

class TestDispatchCore : public QObject
{
    Q_OBJECT

    RecordingHost* host = nullptr;
    DeviceSession* session = nullptr;

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void wordBytesAreLeastSignificantFirst();
    void modelAOneSetRecords();
    void oneSetNoPreampWordIsZero();
    void modelBLeftRightAndFactoryRecords();
    void leftRightHalfDecibelSteps();
    void secondStreamIgnoredAfterUpload();
    void modelCAnnouncesFromStreams();
    void unknownIdentity();
    void versions_data();
    void versions();
    void identityTable_data();
    void identityTable();
    void eqStateCodes_data();
    void eqStateCodes();
    void unlistedStreamCodeIgnored();
    void sampleRates_data();
    void sampleRates();
    void standbyFreezesSampleRate();
    void factoryPresetKeepsLock();
    void channelModeMask_data();
    void channelModeMask();
    void activeSlot_data();
    void activeSlot();
    void autoMute_data();
    void autoMute();
    void presetCountClamped();
    void recordEndBeforeStartIgnored();
    void wordIndexBeyondTable();
    void interruptedStreamLoadsNextTime();
    void connectHandshake_data();
    void connectHandshake();
    void disconnectReset_data();
    void disconnectReset();
    void router();
    void quit_data();
    void quit();
    void ignoredFramesStillRefreshSettings();
    void modelsOnTheEngine();
};

void TestDispatchCore::initTestCase()
{
    // The dispatcher logs every frame; keep the test output to failures.
    qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext& context, const QString& text) {
            if (type != QtDebugMsg)
                fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, text)));
        });
    makeStartupBandSet(EQ);
    makeStartupBandSet(EQ_R);
}

void TestDispatchCore::init()
{
    resetDeviceState();
    sysSetValue.Language = 1;
    host = new RecordingHost;
    session = new DeviceSession(*host, *host);
}

void TestDispatchCore::cleanup()
{
    delete session;
    delete host;
}

void TestDispatchCore::wordBytesAreLeastSignificantFirst()
{
    const int32_t words[2] = { 1801678674, static_cast<int32_t>(0x00FA0101) }; // "Rock", band bytes
    QCOMPARE(recordByte(words, 0), uint8_t('R'));
    QCOMPARE(recordByte(words, 3), uint8_t('k'));
    QCOMPARE(recordByte(words, 4), uint8_t(0x01));
    QCOMPARE(recordByte(words, 6), uint8_t(0xFA));
    QCOMPARE(recordInt32(words, 4), int32_t(0x00FA0101));
    QCOMPARE(sim::nameWords("Rock")[0], 1801678674);
    QCOMPARE(sim::nameWords("Bass 1")[1], 12576);

    // A 16-byte name without a zero byte is taken whole.
    std::vector<int32_t> w = sim::oneSetRecord("ABCDEFGHIJKLMNOP", 1, sim::kUnityPreamp, nullptr);
    QCOMPARE(parseOneSetRecord(w.data()).name, QStringLiteral("ABCDEFGHIJKLMNOP"));
}

void TestDispatchCore::modelAOneSetRecords()
{
    for (int s = 0; s < 5; ++s)
        deviceSlot(s).eq[11]->center_frequency = 4321; // band 11 must stay untouched
    const auto burst = sim::modelABurst();
    feed(*session, burst);

    QCOMPARE(hid_status, 1);
    QCOMPARE(config_connect_status, 1);
    QCOMPARE(status_bar_value.device_model, QStringLiteral("Mirel 9"));
    QCOMPARE(status_bar_value.hardware_version, QStringLiteral("1.00"));
    QCOMPARE(status_bar_value.software_version, QStringLiteral("1.50"));
    QCOMPARE(tem_software, 1.5);
    QCOMPARE(status_bar_value.connect_state, QStringLiteral("Connected"));
    QCOMPARE(status_bar_value.sample_rate, QStringLiteral("44.1kHz"));
    QCOMPARE(status_bar_value.audio_code, QStringLiteral("PCM"));
    QCOMPARE(status_bar_value.eq_max, 10);
    QCOMPARE(status_bar_value.device_eq_status, 1);
    QVERIFY(execute_biaozhi);
    QVERIFY(!Gain_flag);
    QCOMPARE(Silent_Sign, 0);
    QCOMPARE(MCU_Switch_Config_Index, 0);
    QCOMPARE(host->labels[4], QStringLiteral("   Mirel 9   "));
    QCOMPARE(host->labels[5], QStringLiteral("   Connected   "));
    QCOMPARE(host->labels[7], QStringLiteral("   DeviceEQ:ON   "));
    QCOMPARE(host->labels[1], QStringLiteral("   PCM   "));
    QCOMPARE(host->labels[2], QStringLiteral("   44.1kHz   "));
    QCOMPARE(host->count("shifouzhichi QAZWS"), 1);
    QCOMPARE(host->count("device_config_upload"), 1);
    QCOMPARE(host->count("moren_device_config_upload"), 0);
    QCOMPARE(host->count("Updata_ALL"), int(burst.size()));
    QCOMPARE(host->sent(), QStringList()); // nothing to answer in this burst

    QCOMPARE(upload_sign, 1);
    QCOMPARE(device_config_num, 2);
    const EQ_config_data& rock = deviceSlot(0);
    QCOMPARE(rock.config_name, QStringLiteral("Rock"));
    QCOMPARE(int(rock.eq[0]->status), 1);
    QCOMPARE(rock.eq[0]->gain, 3.0);
    checkBand(rock.eq[1], { 1, 1, 1000, -3.0, 0.707 });
    for (int n = 2; n <= 10; ++n)
        checkBand(rock.eq[n], kOff);
    QCOMPARE(deviceSlot(1).config_name, QStringLiteral("Pop"));
    QCOMPARE(deviceSlot(1).eq[0]->gain, 0.0);
    QCOMPARE(deviceSlot(2).config_name, QString());
    for (int s = 0; s < 5; ++s)
        QCOMPARE(deviceSlot(s).eq[11]->center_frequency, 4321);
    QCOMPARE(deviceSlotR(0).config_name, QString()); // right records not touched
}

void TestDispatchCore::oneSetNoPreampWordIsZero()
{
    status_bar_value.device_eq_status = 1;
    std::vector<int32_t> words = sim::modelAUserWords();
    words[5] = sim::kNoPreampWord; // record 0's preamp word
    feed(*session, sim::oneSetStream(words));
    QCOMPARE(deviceSlot(0).eq[0]->gain, 0.0);
}

void TestDispatchCore::modelBLeftRightAndFactoryRecords()
{
    for (int s = 0; s < 10; ++s) {
        deviceSlot(s).eq[11]->gain = 7.5;
        deviceSlotR(s).eq[11]->gain = 7.5;
    }
    const auto burst = sim::modelBBurst(false);
    const size_t factoryEnd = firstIndexOf(burst, 0x1113) + 199;
    feed(*session, burst, 0, factoryEnd);

    QCOMPARE(status_bar_value.device_model, QStringLiteral("Vantor 9"));
    QCOMPARE(status_bar_value.software_version, QStringLiteral("1.10"));
    QVERIFY(!execute_biaozhi);
    QVERIFY(Gain_flag);
    QCOMPARE(status_bar_value.sample_rate, QStringLiteral("96kHz"));
    QCOMPARE(Silent_Sign, 1);
    QCOMPARE(host->count("mute_biaozhi 1"), 1);
    QCOMPARE(host->count("shifouzhichi ABCD"), 1);
    QCOMPARE(host->count("peqIndex 1"), 1); // mask bit 0 set at slot 0
    // Nothing is announced until the next identity frame.
    QCOMPARE(host->count("device_config_upload"), 0);
    QVERIFY(send_biaozhi);
    QCOMPARE(upload_sign, 1);
    QCOMPARE(biaozhi_i, 0);
    QCOMPARE(device_config_num, 2);

    const EQ_config_data& live = deviceSlot(0);
    const EQ_config_data& liveR = deviceSlotR(0);
    QCOMPARE(live.config_name, QStringLiteral("Live"));
    QCOMPARE(liveR.config_name, QStringLiteral("Live"));
    QCOMPARE(int(live.eq[0]->status), 1);
    QCOMPARE(live.eq[0]->gain, 0.0);
    QCOMPARE(liveR.eq[0]->gain, -3.0); // the device's "no value" word
    checkBand(live.eq[1], { 1, 1, 1000, -3.0, 0.707 });
    checkBand(liveR.eq[1], { 1, 4, 100, 6.0, 0.707 });
    checkBand(live.eq[10], kOff);
    const EQ_config_data& vocal = deviceSlot(1);
    QCOMPARE(vocal.config_name, QStringLiteral("Vocal"));
    QCOMPARE(int(vocal.eq[0]->status), 0);
    checkBand(vocal.eq[1], { 1, 1, 3000, 2.0, 1.0 });
    checkBand(deviceSlotR(1).eq[1], { 1, 1, 3000, 2.0, 1.0 });
    QCOMPARE(intMatrix[0][0], -30.0);
    QCOMPARE(intMatrix_R[0][0], 60.0);
    QCOMPARE(intMatrix_global_gainR[0], -3.0);

    const struct
    {
        const char* name;
        BandExpect band1;
    } factory[] = {
        { "Bass 1", { 1, 4, 100, 6.0, 0.707 } },
        { "Bass 2", { 1, 4, 80, 9.0, 0.707 } },
        { "Airy", { 1, 5, 10000, 4.0, 0.707 } },
        { "Warm", { 1, 1, 250, 3.0, 1.0 } },
        { "Dynamic", { 1, 1, 1000, -2.0, 1.41 } },
    };
    for (int k = 0; k < 5; ++k) {
        for (const EQ_config_data* p : { &deviceSlot(5 + k), &deviceSlotR(5 + k) }) {
            QCOMPARE(p->config_name, QString::fromUtf8(factory[k].name));
            QCOMPARE(int(p->eq[0]->status), 1);
            QCOMPARE(p->eq[0]->gain, -3.0);
            checkBand(p->eq[1], factory[k].band1);
            checkBand(p->eq[2], kOff);
        }
    }
    for (int s = 0; s < 10; ++s) {
        QCOMPARE(deviceSlot(s).eq[11]->gain, 7.5);
        QCOMPARE(deviceSlotR(s).eq[11]->gain, 7.5);
    }

    // The second identity frame lists user, then factory presets.
    host->events.clear();
    feed(*session, burst, factoryEnd);
    QCOMPARE(
        host->announced(), QStringList({ "device_config_upload", "moren_device_config_upload" }));
    QVERIFY(!send_biaozhi);
    // A later identity frame lists nothing.
    host->events.clear();
    session->dispatch(frame(0x1203, int32_t(sim::kModelBIdentity)));
    QCOMPARE(host->announced().size(), 0);
}

void TestDispatchCore::leftRightHalfDecibelSteps()
{
    // Code 129: the same gain bytes in 0.5 dB steps, -15 and 30 dB, held to
    // the range of a band's gain.
    session->dispatch(frame(0x1204, 129));
    QVERIFY(!Gain_flag);
    feed(*session, sim::leftRightStream({ sim::liveRecord() }));
    QCOMPARE(deviceSlot(0).eq[1]->gain, -12.0);
    QCOMPARE(deviceSlotR(0).eq[1]->gain, 12.0);
    QVERIFY(Device_EQ_sign);

    // A later code of 192 or more converts the staged records again in 0.1 dB.
    host->events.clear();
    session->dispatch(frame(0x1204, 193));
    QVERIFY(Gain_flag);
    QVERIFY(!Device_EQ_sign);
    QCOMPARE(deviceSlot(0).eq[1]->gain, -3.0);
    QCOMPARE(deviceSlotR(0).eq[1]->gain, 6.0);
    QCOMPARE(deviceSlotR(0).eq[0]->gain, -3.0);
    QCOMPARE(
        host->events.mid(0, 2), QStringList({ "config_update_ui", "text7    DeviceEQ:ON   " }));

    // Without a stream or mask since, the refresh does not run again.
    deviceSlot(0).eq[1]->gain = 1.5;
    session->dispatch(frame(0x1204, 193));
    QCOMPARE(deviceSlot(0).eq[1]->gain, 1.5);
}

void TestDispatchCore::secondStreamIgnoredAfterUpload()
{
    session->dispatch(frame(0x1204, 193));
    feed(*session, sim::leftRightStream({ sim::liveRecord(), sim::vocalRecord() }));
    QCOMPARE(upload_sign, 1);
    QCOMPARE(biaozhi_i, 0);
    Device_EQ_sign = false;
    const int32_t before = device_data_words_lr[0];
    feed(*session, sim::leftRightStream({ sim::vocalRecord() }));
    QVERIFY(Device_EQ_sign);
    QCOMPARE(device_data_words_lr[0], before);
    QCOMPARE(deviceSlot(0).config_name, QStringLiteral("Live"));
    QCOMPARE(device_config_num, 2);
}

void TestDispatchCore::modelCAnnouncesFromStreams()
{
    const auto burst = sim::modelCBurst(true, true);
    const size_t factoryStart = firstIndexOf(burst, 0x1113);
    feed(*session, burst, 0, factoryStart);
    QCOMPARE(status_bar_value.device_model, QStringLiteral("Vantor 3"));
    QVERIFY(!execute_biaozhi);
    // The 0x1204 after the identity uploads the current preset.
    QVERIFY(host->events.contains("config_update_ui"));
    QCOMPARE(host->count("device_config_upload"), 1);
    QVERIFY(!send_biaozhi);

    host->events.clear();
    feed(*session, burst, factoryStart, factoryStart + 199);
    QCOMPARE(host->count("moren_device_config_upload"), 1);
    QVERIFY(!Vantor3_flag);
    QCOMPARE(deviceSlot(9).config_name, QStringLiteral("Dynamic"));

    host->events.clear();
    feed(*session, burst, factoryStart + 199);
    QCOMPARE(host->announced().size(), 0); // the identity lists nothing
    QCOMPARE(host->events.filter("update_ui"), QStringList({ "update_ui", "config_update_ui" }));

    // Factory presets are announced once per connection.
    upload_sign = 0;
    host->events.clear();
    feed(*session, sim::factoryStream(sim::factoryWords()));
    QCOMPARE(host->count("moren_device_config_upload"), 0);
}

void TestDispatchCore::unknownIdentity()
{
    feed(*session, sim::unknownBurst());
    QCOMPARE(status_bar_value.device_model, QStringLiteral("Device"));
    QCOMPARE(status_bar_value.connect_state, QStringLiteral("Disconnected"));
    QCOMPARE(host->labels[5], QStringLiteral("   Disconnected   "));
    QCOMPARE(hid_status, 1);

    sysSetValue.Language = 0;
    session->dispatch(frame(0x1203, 0x12345678));
    QCOMPARE(status_bar_value.connect_state, QStringLiteral("未连接"));
    session->dispatch(frame(0x1203, int32_t(sim::kModelAIdentity)));
    QCOMPARE(host->labels[5], QStringLiteral("   已连接   "));
}

void TestDispatchCore::versions_data()
{
    QTest::addColumn<int>("cmd");
    QTest::addColumn<int>("word");
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("firmware"); // tem_software after it (starts at 0.5)
    QTest::newRow("hw 1.00") << 0x1201 << 0x100 << "1.00" << 0.5;
    QTest::newRow("hw 0xA5") << 0x1201 << 0xA5 << "0.00" << 0.5;
    QTest::newRow("hw 2.05") << 0x1201 << 0x205 << "2.05" << 0.5;
    QTest::newRow("fw 1.12") << 0x1202 << 0x112 << "1.12" << 1.12;
    QTest::newRow("fw 10.00") << 0x1202 << 0x1000 << "10.00" << 10.0;
    QTest::newRow("fw 0xA5 keeps") << 0x1202 << 0xA5 << "0.00" << 0.5;
    QTest::newRow("fw -1 keeps") << 0x1202 << -1 << "0.00" << 0.5;
}

void TestDispatchCore::versions()
{
    QFETCH(int, cmd);
    QFETCH(int, word);
    QFETCH(QString, text);
    QFETCH(double, firmware);
    tem_software = 0.5;
    session->dispatch(frame(cmd, word));
    QCOMPARE(cmd == 0x1201 ? status_bar_value.hardware_version : status_bar_value.software_version,
        text);
    QCOMPARE(tem_software, firmware);
}

void TestDispatchCore::identityTable_data()
{
    QTest::addColumn<uint>("code");
    QTest::addColumn<int>("firmware"); // 0: none reported
    QTest::addColumn<bool>("pending");
    QTest::addColumn<QString>("model");
    QTest::addColumn<bool>("execute");
    QTest::addColumn<QStringList>("announced");
    QTest::addColumn<bool>("inactive");
    const QStringList user { "device_config_upload" };
    const QStringList both { "device_config_upload", "moren_device_config_upload" };
    QTest::newRow("Vantor 3") << 0x51562340u << 0x110 << true << "Vantor 3" << false
                              << QStringList() << false;
    QTest::newRow("Ostra 2") << 0x51562490u << 0x110 << true << "Ostra 2" << true << user << true;
    QTest::newRow("Vantor 9 1.12")
        << 0x51563350u << 0x112 << true << "Vantor 9" << false << both << false;
    QTest::newRow("Vantor 9 1.13")
        << 0x51563350u << 0x113 << true << "Vantor 9" << true << user << false;
    QTest::newRow("Orvanth 0.28") << 0x51565360u << 0x28 << true << "Orvanth" << false << both
                                  << false;
    QTest::newRow("Orvanth 0.29") << 0x51565360u << 0x29 << true << "Orvanth" << true << user
                                  << false;
    QTest::newRow("Mirel 1") << 0x51565460u << 0x100 << true << "Mirel 1" << true << user << true;
    QTest::newRow("Mirel 1 not pending")
        << 0x51565460u << 0x100 << false << "Mirel 1" << true << QStringList() << true;
    QTest::newRow("Mirel 9") << 0x51567370u << 0x150 << true << "Mirel 9" << true << user << false;
    QTest::newRow("Mirel 5 1.49") << 0x51567420u << 0x149 << true << "Mirel 5" << true << user
                                  << false;
    QTest::newRow("Mirel 5 1.48") << 0x51567420u << 0x148 << true << "Mirel 5" << false << both
                                  << false;
    QTest::newRow("Mirel 5 no firmware")
        << 0x51567420u << 0 << true << "Mirel 5" << false << QStringList() << false;
    QTest::newRow("Vantor 5") << 0x6E217330u << 0x300 << true << "Vantor 5" << false << both
                              << false;
    QTest::newRow("unknown") << 0x1u << 0x100 << true << "Device" << false << QStringList()
                             << false;
}

void TestDispatchCore::identityTable()
{
    QFETCH(uint, code);
    QFETCH(int, firmware);
    QFETCH(bool, pending);
    QFETCH(QString, model);
    QFETCH(bool, execute);
    QFETCH(QStringList, announced);
    QFETCH(bool, inactive);
    if (firmware)
        session->dispatch(frame(0x1202, firmware));
    send_biaozhi = pending;
    host->events.clear();
    session->dispatch(frame(0x1203, int32_t(code)));
    QCOMPARE(status_bar_value.device_model, model);
    QCOMPARE(execute_biaozhi, execute);
    QCOMPARE(host->announced(), announced);
    QCOMPARE(session->local_config_inactive(), inactive);
    const bool waits = model == "Mirel 5" && firmware == 0;
    QCOMPARE(send_biaozhi, pending && (waits || model == "Device"));
    QCOMPARE(Gain_flag, model == "Mirel 1" && pending);
    QCOMPARE(Mirel1_Sign, model == "Mirel 1" && pending);
    QCOMPARE(Ostra2_Sign, model == "Ostra 2" && pending);
    if (inactive) {
        QCOMPARE(host->labels[6],
            QStringLiteral("Local config is inactive. Right-click to import to User Config"));
        QVERIFY(host->events.contains("style6 color:red;"));
    }
}

void TestDispatchCore::eqStateCodes_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("layout");
    QTest::addColumn<bool>("gainFlag");
    QTest::addColumn<bool>("shown");
    QTest::newRow("0") << 0 << "   DeviceEQ:OFF   "
                       << "QAZWS" << false << false;
    QTest::newRow("1") << 1 << "   DeviceEQ:ON   "
                       << "QAZWS" << false << false;
    QTest::newRow("128") << 128 << "   DeviceEQ:OFF   "
                         << "ABCD" << false << true;
    QTest::newRow("129") << 129 << "   DeviceEQ:ON   "
                         << "ABCD" << false << true;
    QTest::newRow("192") << 192 << "   DeviceEQ:OFF   "
                         << "ABCD" << true << true;
    QTest::newRow("193") << 193 << "   DeviceEQ:ON   "
                         << "ABCD" << true << true;
    QTest::newRow("64") << 64 << "   DeviceEQ:ON   "
                        << "QAZWS" << false << false;
    QTest::newRow("65") << 65 << "   DeviceEQ:ON   "
                        << "QAZWS" << false << false;
    QTest::newRow("-1") << -1 << "   DeviceEQ:ON   "
                        << "QAZWS" << false << false;
}

void TestDispatchCore::eqStateCodes()
{
    QFETCH(int, code);
    QFETCH(QString, label);
    QFETCH(QString, layout);
    QFETCH(bool, gainFlag);
    QFETCH(bool, shown);
    Gain_flag = !gainFlag;
    session->dispatch(frame(0x1204, code));
    QCOMPARE(status_bar_value.device_eq_status, code);
    QCOMPARE(Gain_flag, gainFlag);
    QCOMPARE(host->labels[7], label);
    QCOMPARE(host->count("shifouzhichi " + layout), 1);
    QCOMPARE(host->count(QStringLiteral("peqVisible %1").arg(shown)), 1);
    QCOMPARE(host->count(QStringLiteral("peqLabel %1").arg(shown)), 1);
    // The combo box shows "L+R": the left/right switch stays hidden either way.
    QCOMPARE(host->count("switchVisible 0"), 1);

    sysSetValue.Language = 0;
    session->dispatch(frame(0x1204, code));
    QCOMPARE(host->labels[7],
        label.contains("ON") ? QStringLiteral("   设备EQ:开   ")
                             : QStringLiteral("   设备EQ:关   "));
}

void TestDispatchCore::unlistedStreamCodeIgnored()
{
    // Code 64: neither one set nor a listed left/right code, 0.5 dB steps.
    session->dispatch(frame(0x1204, 64));
    feed(*session, sim::leftRightStream({ sim::liveRecord() }));
    QCOMPARE(deviceSlot(0).config_name, QString());
    QCOMPARE(upload_sign, 0);
    QVERIFY(Device_EQ_sign);
}

void TestDispatchCore::sampleRates_data()
{
    QTest::addColumn<int>("hz");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("klass");
    QTest::addColumn<bool>("usable");
    const struct
    {
        int hz;
        const char* text;
        const char* klass;
        bool usable;
    } rows[] = {
        { 44100, "44.1kHz", "PCM", true },
        { 48000, "48kHz", "PCM", true },
        { 88200, "88.2kHz", "PCM", true },
        { 96000, "96kHz", "PCM", true },
        { 176400, "176.4kHz", "PCM", true },
        { 192000, "192kHz", "PCM", true },
        { 352800, "352.8kHz", "PCM", false },
        { 384000, "384kHz", "PCM", false },
        { 705600, "705.6kHz", "PCM", false },
        { 768000, "768kHz", "PCM", false },
        { 2822400, "2.82MHz", "DSD", false },
        { 5644800, "5.64MHz", "DSD", false },
        { 11289600, "11.28MHz", "DSD", false },
        { 22579200, "22.57MHz", "DSD", false },
        { 1000, "Sample", "PCM", true },
        { -5, "Sample", "PCM", true },
        { 192001, "Sample", "PCM", false },
        { 768001, "Sample", "DSD", false },
    };
    for (const auto& r : rows)
        QTest::addRow("%d", r.hz) << r.hz << r.text << r.klass << r.usable;
}

void TestDispatchCore::sampleRates()
{
    QFETCH(int, hz);
    QFETCH(QString, text);
    QFETCH(QString, klass);
    QFETCH(bool, usable);
    EQ[1]->status = 1; // shown and on
    EQ[3]->status = 1; // on but its row is hidden
    status_bar_value.eq_count = 7;
    session->dispatch(frame(0x1107, hz));
    QCOMPARE(status_bar_value.sample_rate, text);
    QCOMPARE(status_bar_value.audio_code, klass);
    QCOMPARE(status_bar_value.eq_max, usable ? 10 : 0);
    QCOMPARE(host->count(QStringLiteral("locked %1").arg(!usable)), 1);
    QCOMPARE(host->count(QStringLiteral("Is_Language %1").arg(usable)), klass == "DSD" ? 2 : 1);
    QCOMPARE(host->count("timer2"), usable ? 0 : 1);
    QCOMPARE(status_bar_value.eq_count, klass == "DSD" ? 0 : 1);
    QCOMPARE(host->labels[1], "   " + klass + "   ");
    QCOMPARE(host->labels[2], "   " + text + "   ");
    QCOMPARE(host->labels[6],
        usable ? QStringLiteral("   EQ Max NUM:10   ")
               : QStringLiteral("   PEQ does not support the current sampling rate   "));
    QCOMPARE(host->events.filter("update_EQ_NUM").size(), 1);
    QCOMPARE(host->events.last(), QStringLiteral("Updata_ALL"));
    QVERIFY(isEqUsableRateLabel(text) == (usable && text != "Sample"));

    // A model that applies no local presets keeps its hint in place of the
    // rate hint, and shows it again when the rate is usable.
    const QString before = host->labels[6];
    session->local_config_inactive() = true;
    sysSetValue.Language = 0;
    session->dispatch(frame(0x1107, hz));
    QCOMPARE(host->labels[6],
        usable ? QStringLiteral("   本地配置不生效，如需应用可右键导入至用户配置   ") : before);
}

void TestDispatchCore::standbyFreezesSampleRate()
{
    session->dispatch(frame(0x1107, 48000));
    session->dispatch(frame(0x1114, 1));
    QCOMPARE(standby_state, 1);
    host->events.clear();
    session->dispatch(frame(0x1107, 2822400));
    QCOMPARE(status_bar_value.sample_rate, QStringLiteral("48kHz"));
    QCOMPARE(host->events, QStringList({ "Updata_ALL" }));
    // Standby survives a disconnection.
    session->disconnected();
    QCOMPARE(standby_state, 1);
    session->dispatch(frame(0x1114, 0));
    session->dispatch(frame(0x1107, 2822400));
    QCOMPARE(status_bar_value.audio_code, QStringLiteral("DSD"));
}

void TestDispatchCore::factoryPresetKeepsLock()
{
    host->biaozhi = "yyyy";
    host->moren = "Warm";
    status_bar_value.eq_max = 0;
    session->dispatch(frame(0x1107, 48000));
    QCOMPARE(status_bar_value.eq_max, 10);
    QCOMPARE(host->events.filter("locked").size(), 0);
    QCOMPARE(host->events.filter("Is_Language").size(), 0);
    // Losing the device leaves that lock to the next preset chosen.
    session->disconnected();
    QCOMPARE(host->events.filter("locked").size(), 0);
    execute_biaozhi = true;
    session->dispatch(frame(0x1107, 48000));
    QCOMPARE(host->count("locked 0"), 1);
}

void TestDispatchCore::channelModeMask_data()
{
    QTest::addColumn<int>("slot"); // -1: no 0x1206 yet
    QTest::addColumn<int>("mask");
    QTest::addColumn<bool>("mirel1");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("slot 0 L/R") << 0 << 1 << false
                                << QStringList { "peqIndex 1", "switchVisible 1" };
    QTest::newRow("slot 0 L/R Mirel 1")
        << 0 << 1 << true << QStringList { "old_name assas", "peqIndex 1", "switchVisible 1" };
    QTest::newRow("slot 2 L+R") << 2 << 1 << false
                                << QStringList { "old_name glsuji", "peqIndex 0",
                                       "switchVisible 0" };
    QTest::newRow("no slot bit 31")
        << -1 << int(0x80000000) << false << QStringList { "peqIndex 1", "switchVisible 1" };
    QTest::newRow("no slot bit 0")
        << -1 << 1 << false << QStringList { "old_name glsuji", "peqIndex 0", "switchVisible 0" };
}

void TestDispatchCore::channelModeMask()
{
    QFETCH(int, slot);
    QFETCH(int, mask);
    QFETCH(bool, mirel1);
    QFETCH(QStringList, expected);
    MCU_Switch_Config_Index = slot;
    Mirel1_Sign = mirel1;
    session->dispatch(frame(0x1112, mask));
    expected << "Updata_ALL";
    QCOMPARE(host->events, expected);
    QCOMPARE(send_ui_biao, uint32_t(mask));
    QVERIFY(Device_EQ_sign);

    // Only the first mask of a connection moves the controls.
    host->events.clear();
    session->dispatch(frame(0x1112, ~mask));
    QCOMPARE(host->events, QStringList({ "Updata_ALL" }));
    QCOMPARE(tem_ui_biao, uint32_t(~mask));
    session->disconnected();
    QCOMPARE(ui_biao_count, 0);
    host->events.clear();
    session->dispatch(frame(0x1112, mask));
    QCOMPARE(host->events.size(), expected.size());
}

void TestDispatchCore::activeSlot_data()
{
    QTest::addColumn<int>("data");
    QTest::addColumn<int>("stored");
    QTest::addColumn<bool>("signalled");
    QTest::newRow("0") << 0 << 0 << true;
    QTest::newRow("9") << 9 << 9 << true;
    QTest::newRow("-1 none") << -1 << 0 << true;
    QTest::newRow("10 ignored") << 10 << 4 << false;
    QTest::newRow("-2 ignored") << -2 << 4 << false;
    QTest::newRow("huge ignored") << 0x7FFFFFFF << 4 << false;
}

void TestDispatchCore::activeSlot()
{
    QFETCH(int, data);
    QFETCH(int, stored);
    QFETCH(bool, signalled);
    MCU_Switch_Config_Index = 4;
    session->dispatch(frame(0x1206, data));
    QCOMPARE(MCU_Switch_Config_Index, stored);
    QCOMPARE(host->count(QStringLiteral("device_select_upload %1").arg(data)), signalled ? 1 : 0);
}

void TestDispatchCore::autoMute_data()
{
    QTest::addColumn<int>("data");
    QTest::addColumn<int>("signal");
    QTest::newRow("on") << 1 << 1;
    QTest::newRow("off") << 0 << 0;
    QTest::newRow("2") << 2 << -1;
}

void TestDispatchCore::autoMute()
{
    QFETCH(int, data);
    QFETCH(int, signal);
    session->dispatch(frame(0x1116, data));
    QCOMPARE(Silent_Sign, data);
    QCOMPARE(
        host->events, QStringList({ QStringLiteral("mute_biaozhi %1").arg(signal), "Updata_ALL" }));
}

void TestDispatchCore::presetCountClamped()
{
    // Twelve left/right records: ten stored, the stream still ends at twelve.
    session->dispatch(frame(0x1204, 193));
    std::vector<std::vector<int32_t>> records(12, sim::vocalRecord());
    records[9] = sim::liveRecord();
    feed(*session, sim::leftRightStream(records));
    QCOMPARE(device_config_num, 10);
    QCOMPARE(upload_sign, 1);
    QCOMPARE(biaozhi_i, 0);
    QVERIFY(send_biaozhi);
    QCOMPARE(deviceSlot(9).config_name, QStringLiteral("Live"));
    session->dispatch(frame(0x1204, 193)); // refresh from staging stays within ten

    // A one-set count word beyond the slots, and a negative one.
    for (int32_t count : { 50, -3 }) {
        upload_sign = 0;
        status_bar_value.device_eq_status = 1;
        std::vector<int32_t> words = sim::modelAUserWords();
        words[195] = count;
        feed(*session, sim::oneSetStream(words));
        QCOMPARE(device_config_num, count < 0 ? 0 : 10);
    }
    // A negative left/right header.
    upload_sign = 0;
    status_bar_value.device_eq_status = 129;
    session->dispatch(frame(0x1106, -1, 2, 0));
    QCOMPARE(device_config_num, 0);
}

void TestDispatchCore::recordEndBeforeStartIgnored()
{
    session->dispatch(frame(0x1204, 129));
    session->dispatch(frame(0x1106, 1, 2, 0));
    const auto words = sim::liveRecord();
    for (int k = 1; k < 78; ++k) // the record's start frame is lost
        session->dispatch(frame(0x1106, words[k], 78, uint8_t(k)));
    QCOMPARE(biaozhi_i, 0);
    QCOMPARE(deviceSlot(0).config_name, QString());
    QCOMPARE(upload_sign, 0);
    QCOMPARE(device_data_words_lr[0], 1); // the header's word, never overwritten here
}

void TestDispatchCore::wordIndexBeyondTable()
{
    status_bar_value.device_eq_status = 1;
    device_data_words[200] = 77;
    session->dispatch(frame(0x1106, 5, 201, 201));
    session->dispatch(frame(0x1106, 5, 255, 255));
    session->dispatch(frame(0x1113, 5, 255, 255));
    session->dispatch(frame(0x1105, 5, 1, 250));
    QCOMPARE(device_data_words[200], 77);
    QCOMPARE(upload_sign, 0);

    // 0x1105 stores by layout and never completes anything.
    session->dispatch(frame(0x1105, 42, 78, 7));
    QCOMPARE(device_data_words[7], 42);
    session->dispatch(frame(0x1105, 43, 7, 7)); // current == total: ignored
    QCOMPARE(device_data_words[7], 42);
    status_bar_value.device_eq_status = 128;
    session->dispatch(frame(0x1105, 44, 78, 250));
    QCOMPARE(device_data_words_lr[250], 44);
    QCOMPARE(host->announced().size(), 0);
}

void TestDispatchCore::interruptedStreamLoadsNextTime()
{
    // Model B stops half-way through its second record, then reconnects.
    auto burst = sim::modelBBurst(true);
    const size_t cut = firstIndexOf(burst, 0x1106) + 1 + 78 + 40;
    feed(*session, burst, 0, cut);
    QCOMPARE(deviceSlot(0).config_name, QStringLiteral("Live"));
    QCOMPARE(deviceSlot(1).config_name, QString());
    session->disconnected();
    QCOMPARE(upload_sign, 0);

    // An interrupted left/right stream of a one-set device after a reconnect.
    host->events.clear();
    feed(*session, burst);
    QCOMPARE(deviceSlot(1).config_name, QStringLiteral("Vocal"));
    QCOMPARE(
        host->announced(), QStringList({ "device_config_upload", "moren_device_config_upload" }));

    // A one-set stream cut short: the next connection's stream is complete.
    session->disconnected();
    host->events.clear();
    auto a = sim::modelABurst();
    feed(*session, a, 0, firstIndexOf(a, 0x1106) + 100);
    QCOMPARE(host->count("device_config_upload"), 0);
    session->disconnected();
    feed(*session, a);
    QCOMPARE(host->count("device_config_upload"), 1);
    QCOMPARE(deviceSlot(0).config_name, QStringLiteral("Rock"));
    QCOMPARE(device_config_num, 2);
}

void TestDispatchCore::connectHandshake_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<int>("previous"); // connections before; -1 none
    QTest::addColumn<int>("code"); // device_eq_status of the last connection
    QTest::addColumn<QString>("peqText");
    QTest::addColumn<QStringList>("expected"); // events before "text5"
    QTest::newRow("first, code 0")
        << 1 << 0 << 0 << "L+R"
        << QStringList { "visible7 1", "tem_flag", "switchChecked 0", "switchVisible 0" };
    QTest::newRow("first, code -1")
        << 1 << 0 << -1 << "L+R" << QStringList { "visible7 1", "tem_flag" };
    QTest::newRow("again, 129 L/R")
        << 1 << 1 << 129 << "L/R"
        << QStringList { "visible7 1", "text7    DeviceEQ:ON   ", "peqVisible 1", "switchVisible 1",
               "config_update_ui", "peqLabel 1" };
    QTest::newRow("again, 128 L+R, Chinese")
        << 0 << 1 << 128 << "L+R"
        << QStringList { "visible7 1", "text7    设备EQ:关   ", "peqVisible 1", "switchChecked 0",
               "switchVisible 0", "config_update_ui", "peqLabel 1" };
    QTest::newRow("again, 64") << 1 << 3 << 64 << "L/R"
                               << QStringList { "visible7 1", "text7    DeviceEQ:ON   ",
                                      "switchChecked 0", "switchVisible 0", "peqIndex 0",
                                      "peqVisible 0", "peqLabel 0" };
    // Bit 6 picks the gain unit only: 193 and 192 read as 129 and 128.
    QTest::newRow("again, 193 L/R")
        << 1 << 1 << 193 << "L/R"
        << QStringList { "visible7 1", "text7    DeviceEQ:ON   ", "peqVisible 1", "switchVisible 1",
               "config_update_ui", "peqLabel 1" };
    QTest::newRow("again, 192 L+R")
        << 1 << 2 << 192 << "L+R"
        << QStringList { "visible7 1", "text7    DeviceEQ:OFF   ", "peqVisible 1",
               "switchChecked 0", "switchVisible 0", "config_update_ui", "peqLabel 1" };
    QTest::newRow("language 2") << 2 << 0 << 129 << "L/R" << QStringList { "visible7 1" };
}

void TestDispatchCore::connectHandshake()
{
    QFETCH(int, language);
    QFETCH(int, previous);
    QFETCH(int, code);
    QFETCH(QString, peqText);
    QFETCH(QStringList, expected);
    sysSetValue.Language = language;
    lianjiebz1 = previous;
    status_bar_value.device_eq_status = code;
    status_bar_value.connect_state = "Disconnected";
    host->peqText = peqText;
    session->connected();
    expected << "text5    Disconnected   "
             << "receive"
             << "update_ui"
             << "send 0x1101 1 t1/c1 p0x20"
             << "send 0x1120 1 t1/c1 p0x20";
    QCOMPARE(host->events, expected);
    QCOMPARE(lianjiebz1, language == 2 ? previous : previous + 1);
}

void TestDispatchCore::disconnectReset_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<int>("selected");
    QTest::addColumn<QStringList>("texts"); // labels 1..6
    QTest::newRow("English, local preset")
        << 1 << 3
        << QStringList { "   Audio Code   ", "   Sample   ", "   EQ:2   ", "   Device   ",
               "   Disconnected   ", "   EQ Max NUM:10   " };
    QTest::newRow("Chinese, device preset")
        << 0 << 100
        << QStringList { "   音频编码   ", "   采样率   ", "   EQ:2   ", "   机型   ",
               "   未连接   ", "   EQ最大支持段数:10   " };
    QTest::newRow("language 2") << 2 << 3
                                << QStringList { "   PCM   ", "   96kHz   ", "   EQ:2   ",
                                       "   Vantor 9   ", "   已连接   ", QString() };
}

void TestDispatchCore::disconnectReset()
{
    QFETCH(int, language);
    QFETCH(int, selected);
    QFETCH(QStringList, texts);
    sysSetValue.Language = language;
    host->selected = selected;
    feed(*session, sim::modelBBurst(true));
    status_bar_value.eq_count = 2;
    QCOMPARE(upload_sign, 1);
    QCOMPARE(ui_biao_count, 1);
    EQ[0]->status = 1;
    EQ[0]->gain = -3.0;
    EQ[2]->gain = 5.0;
    EQ_R[2]->gain = 5.0;
    host->events.clear();
    for (int i = 1; i <= 6; ++i)
        host->labels[i].clear();

    session->local_config_inactive() = true;

    session->disconnected();
    QCOMPARE(hid_status, 0);
    QCOMPARE(config_connect_status, 0);
    QVERIFY(!session->local_config_inactive());
    QCOMPARE(upload_sign, 0);
    QCOMPARE(ui_biao_count, 0);
    QCOMPARE(status_bar_value.eq_max, 10);
    QCOMPARE(status_bar_value.hardware_version, QStringLiteral("x.xx"));
    QCOMPARE(status_bar_value.software_version, QStringLiteral("x.xx"));
    for (int i = 1; i <= 6; ++i)
        QCOMPARE(host->labels[i], texts[i - 1]);
    QCOMPARE(host->events.first(), QStringLiteral("style6 color: rgb(216, 216, 216);"));
    QCOMPARE(host->count("visible7 0"), 1);
    QCOMPARE(host->count("search"), 1);
    QCOMPARE(host->events.last(), QStringLiteral("device_config_clear"));
    // A stream lock goes with the device.
    QCOMPARE(host->count("locked 0"), 1);
    QCOMPARE(host->count("Is_Language 1"), 1);
    const bool cleared = selected >= 100;
    QCOMPARE(host->count("config_update_ui"), cleared ? 1 : 0);
    QCOMPARE(int(EQ[0]->status), cleared ? 0 : 1);
    QCOMPARE(EQ[0]->gain, cleared ? 0.0 : -3.0);
    QCOMPARE(EQ[2]->gain, cleared ? 0.0 : 5.0);
    QCOMPARE(EQ_R[2]->gain, 5.0);
    // Device facts that persist until the next device says otherwise.
    QVERIFY(Gain_flag);
    QCOMPARE(status_bar_value.device_eq_status, 193);
    EQ_R[2]->gain = 0.0;
}

void TestDispatchCore::router()
{
    session->route(frame(0x9D01, 12345, 7, 3));
    session->route(frame(0x9D02, 1));
    session->route(frame(0x2101, 1));
    session->route(frame(0x1104, -3));
    session->route(frame(0x1101, 0));
    QCOMPARE(host->sent(),
        QStringList({ "send 0x9d01 12345 t1/c1 p0x20", "send 0x1104 -3 t1/c1 p0x20",
            "send 0x1101 0 t1/c1 p0x20" }));
    QCOMPARE(hid_status, 0);
}

void TestDispatchCore::quit_data()
{
    QTest::addColumn<bool>("autoSave");
    QTest::addColumn<int>("selected");
    QTest::addColumn<int>("connected");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("local, connected")
        << true << 4 << 1
        << QStringList { "saveLocal 4", "send 0x1111 1 t1/c1 p0x20", "Config_update" };
    QTest::newRow("device, connected") << true << 102 << 1
                                       << QStringList { "close_device_save_config 102",
                                              "send 0x1111 1 t1/c1 p0x20", "Config_update" };
    QTest::newRow("no auto-save, no device") << false << 4 << 0 << QStringList { "Config_update" };
    QTest::newRow("local, no device")
        << true << 0 << 0 << QStringList { "saveLocal 0", "Config_update" };
}

void TestDispatchCore::quit()
{
    QFETCH(bool, autoSave);
    QFETCH(int, selected);
    QFETCH(int, connected);
    QFETCH(QStringList, expected);
    host->autoSaveOn = autoSave;
    host->selected = selected;
    hid_status = connected;
    session->aboutToQuit();
    QCOMPARE(host->events, expected);
}

void TestDispatchCore::ignoredFramesStillRefreshSettings()
{
    for (uint32_t cmd : { 0x1205u, 0x1207u, 0x1200u, 0x1117u, 0x1100u, 0x1300u, 0x1F01u })
        session->dispatch(frame(cmd, 1));
    QCOMPARE(host->events, QStringList(7, "Updata_ALL"));
}

void TestDispatchCore::modelsOnTheEngine()
{
    auto& engine = sim::Engine::instance();
    engine.reset();
    auto model = sim::makeModel("B");
    QVERIFY(model);
    QVERIFY(!sim::makeModel("Z"));
    engine.setModel(model);
    engine.plug();
    hid_device* h = hid_open(QV_VENDOR_ID, QV_PRODUCT_ID, nullptr);
    QVERIFY(h);
    const auto write = [&](uint32_t cmd, int32_t data) {
        Frame f;
        f.cmd = cmd;
        f.data = data;
        const OutputReport b = encodeFrame(f);
        QCOMPARE(hid_write(h, b.data(), b.size()), 16);
    };
    // Nothing before the hello; the whole burst after it, once per connection.
    QCOMPARE(engine.queuedReports(), size_t(0));
    write(0x1101, 1);
    write(0x1120, 1);
    QCOMPARE(engine.queuedReports(), model->burst().size());
    QCOMPARE(model->burst().size(), size_t(9 + 1 + 1 + 2 * 78 + 199 + 2));
    write(0x1101, 1);
    QCOMPARE(engine.queuedReports(), model->burst().size());
    write(0x1101, 0); // greeted again
    QCOMPARE(engine.queuedReports(), model->burst().size() + 1);
    model->tick(engine);
    model->tick(engine);
    std::vector<Frame> tail;
    unsigned char buf[16];
    while (engine.queuedReports()) {
        QCOMPARE(hid_read(h, buf, 16), 16);
        tail.push_back(*decodeInputReport(buf, 16));
    }
    QCOMPARE(tail[tail.size() - 3].cmd, 0x1101u);
    QCOMPARE(tail[tail.size() - 3].data, 1);
    QCOMPARE(tail[tail.size() - 2].cmd, 0x9D01u);
    QCOMPARE(tail[tail.size() - 1].data, 1);

    // A model stopped part-way queues only that much; a replug answers anew.
    model->setStopAfter(20);
    engine.unplug();
    engine.plug();
    h = hid_open(QV_VENDOR_ID, QV_PRODUCT_ID, nullptr);
    write(0x1101, 1);
    QCOMPARE(engine.queuedReports(), size_t(20));
    QCOMPARE(engine.writtenFrames().size(), size_t(5));
    engine.reset();
}

QTEST_GUILESS_MAIN(TestDispatchCore)
#include "test_dispatch_core.moc"
