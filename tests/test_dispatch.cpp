// The device dispatcher on a real main window: the simulated device models
// connect through the connect and receive threads, and the test checks the
// frames the program writes, the status bar, the flags and the records.
#include <QtTest>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLocalSocket>
#include <QProcess>
#include <QRadioButton>
#include <QScrollArea>
#include <QTemporaryDir>

#include "app/mainwindow.h"
#include "app/single_instance.h"
#include "window_internals.h"
#include "app/mainwindow_ui.h"
#include "app/startup.h"
#include "app/status_labels.h"
#include "deadlines.h"
#include "device/device_session.h"
#include "device/device_state.h"
#include "device/hid_device.h"
#include "device/preset_records.h"
#include "device/threads.h"
#include "dsp/band.h"
#include "editor/editor_state.h"
#include "preloaded_program.h"
#include "settings/systemsetting.h"
#include "sim_models.h"
#include "sim_slot_model.h"
#include "store/paths.h"
#include "store/presets.h"
#include "store/settings.h"
#include "widgets/balance.h"
#include "widgets/customcontrols.h"
#include "widgets/resources.h"
#include "workspace/workspace.h"
#include "workspace/workspace_state.h"

namespace {

sim::Engine& engine() { return sim::Engine::instance(); }

// Frames of the handshake and the echoes, in the order written.
QStringList linkFrames()
{
    QStringList out;
    for (const sim::Frame& f : engine().writtenFrames()) {
        if (f.command == 0x1101 || f.command == 0x1120 || f.command == 0x9D01 || f.command == 0x1104
            || f.command == 0x1111)
            out << QStringLiteral("%1 d%2").arg(f.command, 0, 16).arg(f.data);
    }
    return out;
}

bool wrote(uint32_t command, int32_t data)
{
    for (const sim::Frame& f : engine().writtenFrames()) {
        if (f.command == command && f.data == data)
            return true;
    }
    return false;
}

// Device state the workspace resets when the device list is cleared.
void clearDeviceFlags()
{
    execute_biaozhi = false;
    Silent_Sign = -1;
    Vantor3_flag = true;
    send_ui_biao = tem_ui_biao = 0;
    Device_EQ_sign = false;
    send_biaozhi = false;
    // Names that match no preset: the next channel-mode pass is a preset switch
    // and asks nothing.
    current_name = QStringLiteral("thesame");
    old_name = QStringLiteral("different");
}

} // namespace

class TestDispatch : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    MainWindow* w = nullptr;
    MainWindowInternals in() const { return internals(*w); }
    std::shared_ptr<sim::ScriptedModel> model;

    // Plugs `m` in and waits until the program has handled its whole burst:
    // a keep-alive queued behind it is echoed only after everything before it.
    void connectModel(std::shared_ptr<sim::ScriptedModel> m);
    void drain();
    void unplug();

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void connectFrames_data();
    void connectFrames();
    void statusAndLabels_data();
    void statusAndLabels();
    void modelBRecordsAndControls();
    void sampleRateLocksAndReleases();
    void streamLockOnConnection_data();
    void streamLockOnConnection();
    void unplugReleasesBandControls_data();
    void unplugReleasesBandControls();
    void lossClearsDevicePreset();
    void inactiveHintGoesWithDevice_data();
    void inactiveHintGoesWithDevice();
    void unplugAtEveryStage();
    void preloadedModelEndToEnd();
    void quitWithoutDevice();
    void quitWhileConnected();
};

void TestDispatch::initTestCase()
{
    // Every frame leaves debug lines; warnings still reach Qt Test.
    static QtMessageHandler previous = nullptr;
    previous = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext& context, const QString& text) {
            if (type != QtDebugMsg)
                previous(type, context, text);
        });
    QVERIFY(dir.isValid());
    setAppDataDirForTesting(dir.path());
    makeWorkingFolders(dir.path());
    initResources();
    engine().reset();
    engine().setIds(QV_VENDOR_ID, QV_PRODUCT_ID);
    w = new MainWindow;
    w->show();
}

void TestDispatch::cleanupTestCase()
{
    engine().unplug();
    stopDeviceThreads();
    delete w;
    engine().reset();
}

void TestDispatch::init()
{
    unplug();
    sysSetValue.Language = 1;
    selectedRadioIndex = 0;
    standby_state = 0;
    clearDeviceFlags();
}

void TestDispatch::unplug()
{
    if (!engine().plugged())
        return;
    engine().unplug();
    QTRY_COMPARE(hid_status, 0);
    QTRY_VERIFY(connect_thread->isRunning());
}

void TestDispatch::drain()
{
    const int32_t n = model->tick(engine());
    QTRY_VERIFY(wrote(0x9D01, n));
}

void TestDispatch::connectModel(std::shared_ptr<sim::ScriptedModel> m)
{
    model = std::move(m);
    engine().setModel(model);
    engine().clearWrites();
    engine().plug();
    QTRY_COMPARE(hid_status, 1);
    QTRY_COMPARE(engine().queuedReports(), size_t(0));
    drain();
}

void TestDispatch::connectFrames_data()
{
    QTest::addColumn<QString>("name");
    for (const char* name : { "A", "B", "C", "unknown" })
        QTest::newRow(name) << QString(name);
}

void TestDispatch::connectFrames()
{
    QFETCH(QString, name);
    connectModel(sim::makeModel(name.toStdString()));
    // The hello pair, byte for byte, comes first.
    const auto writes = engine().writes();
    QVERIFY(writes.size() >= 2);
    QCOMPARE(writes[0].bytes,
        std::vector<uint8_t>({ 0x00, 0x22, 0x33, 0x20, 0x01, 0x01, 0x11, 0x01, 0x00, 0x00, 0x00,
            0x01, 0x00, 0x00, 0x66, 0x77 }));
    QCOMPARE(writes[1].bytes,
        std::vector<uint8_t>({ 0x00, 0x22, 0x33, 0x20, 0x01, 0x01, 0x11, 0x20, 0x00, 0x00, 0x00,
            0x01, 0x00, 0x00, 0x66, 0x77 }));
    // Echoes of keep-alives and 0x1104; a greeting with 0 is answered with 0.
    model->tick(engine());
    engine().queueFrame(0x1104, -7);
    engine().queueFrame(0x1101, 0);
    drain();
    drain();
    QCOMPARE(linkFrames(),
        QStringList({ "1101 d1", "1120 d1", "9d01 d0", "9d01 d1", "1104 d-7", "1101 d0", "9d01 d2",
            "9d01 d3" }));
    QCOMPARE(hid_status, 1);
    // Every written frame is a well-formed one.
    for (const sim::Frame& f : engine().writtenFrames()) {
        QVERIFY(f.ok);
        QCOMPARE(f.protocol, uint8_t(0x20));
    }
}

void TestDispatch::statusAndLabels_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("connection");
    QTest::addColumn<QString>("rate");
    QTest::addColumn<QString>("eqState");
    QTest::addColumn<bool>("leftRight");
    QTest::newRow("A English") << "A" << 1 << "   Mirel 9   "
                               << "   Connected   "
                               << "   44.1kHz   "
                               << "   DeviceEQ:ON   " << false;
    QTest::newRow("A Chinese") << "A" << 0 << "   Mirel 9   "
                               << "   已连接   "
                               << "   44.1kHz   "
                               << "   设备EQ:开   " << false;
    QTest::newRow("B English") << "B" << 1 << "   Vantor 9   "
                               << "   Connected   "
                               << "   96kHz   "
                               << "   DeviceEQ:ON   " << true;
    QTest::newRow("C Chinese") << "C" << 0 << "   Vantor 3   "
                               << "   已连接   "
                               << "   96kHz   "
                               << "   设备EQ:开   " << true;
    QTest::newRow("unknown English") << "unknown" << 1 << "   Device   "
                                     << "   Disconnected   "
                                     << "   44.1kHz   "
                                     << "   DeviceEQ:ON   " << false;
    QTest::newRow("unknown Chinese") << "unknown" << 0 << "   Device   "
                                     << "   未连接   "
                                     << "   44.1kHz   "
                                     << "   设备EQ:开   " << false;
}

void TestDispatch::statusAndLabels()
{
    QFETCH(QString, name);
    QFETCH(int, language);
    QFETCH(QString, model);
    QFETCH(QString, connection);
    QFETCH(QString, rate);
    QFETCH(QString, eqState);
    QFETCH(bool, leftRight);
    sysSetValue.Language = language;
    QSignalSpy layout(w, &MainWindow::shifouzhichi);
    connectModel(sim::makeModel(name.toStdString()));
    QCOMPARE(statusLabel4->text(), model);
    QCOMPARE(statusLabel5->text(), connection);
    QCOMPARE(statusLabel1->text(), QStringLiteral("   PCM   "));
    QCOMPARE(statusLabel2->text(), rate);
    QCOMPARE(statusLabel7->text(), eqState);
    QVERIFY(statusLabel7->isVisible());
    QCOMPARE(statusLabel6->text(),
        language == 0 ? QStringLiteral("   EQ最大支持段数:10   ")
                      : QStringLiteral("   EQ Max NUM:10   "));
    QCOMPARE(layout.last().at(0).toString(),
        leftRight ? QStringLiteral("ABCD") : QStringLiteral("QAZWS"));
    QCOMPARE(in().comboBox_PEQMode->isVisible(), leftRight);
    QCOMPARE(Gain_flag, leftRight);
    QCOMPARE(upload_sign, 1);
    QCOMPARE(Silent_Sign, leftRight ? 1 : 0);
    QCOMPARE(status_bar_value.eq_max, 10);
    QCOMPARE(status_bar_value.hardware_version,
        leftRight ? QStringLiteral("2.00") : QStringLiteral("1.00"));

    unplug();
    QCOMPARE(statusLabel5->text(),
        language == 0 ? QStringLiteral("   未连接   ") : QStringLiteral("   Disconnected   "));
    QCOMPARE(statusLabel4->text(),
        language == 0 ? QStringLiteral("   机型   ") : QStringLiteral("   Device   "));
    QCOMPARE(statusLabel2->text(),
        language == 0 ? QStringLiteral("   采样率   ") : QStringLiteral("   Sample   "));
    QVERIFY(!statusLabel7->isVisible());
    QCOMPARE(upload_sign, 0);
}

void TestDispatch::modelBRecordsAndControls()
{
    QSignalSpy user(w, &MainWindow::device_config_upload);
    QSignalSpy factory(w, &MainWindow::moren_device_config_upload);
    QSignalSpy slot(w, &MainWindow::device_select_upload);
    QSignalSpy mute(w, &MainWindow::mute_biaozhi);
    connectModel(sim::makeModel("B"));
    QCOMPARE(user.size(), 1);
    QCOMPARE(factory.size(), 1);
    QCOMPARE(slot.size(), 1);
    QCOMPARE(slot.first().at(0).toInt(), 0);
    QCOMPARE(mute.last().at(0).toInt(), 1);
    QVERIFY(!execute_biaozhi);
    QCOMPARE(device_config_num, 2);
    QCOMPARE(Device_CB_data[0]->config_name, QStringLiteral("Live"));
    QCOMPARE(Device_CB_data[0]->eq[1]->gain, -3.0);
    QCOMPARE(Device_CB_data_R[0]->eq[1]->gain, 6.0);
    QCOMPARE(Device_CB_data_R[0]->eq[0]->gain, -3.0);
    QCOMPARE(Device_CB_data[1]->config_name, QStringLiteral("Vocal"));
    QCOMPARE(Device_CB_data[5]->config_name, QStringLiteral("Bass 1"));
    QCOMPARE(Device_CB_data_R[9]->config_name, QStringLiteral("Dynamic"));
    // Mask bit 0 at slot 0: the channel mode is "L/R" and its switch is shown.
    QCOMPARE(in().comboBox_PEQMode->currentText(), QStringLiteral("L/R"));
    QVERIFY(in().checkBox_channel->isVisible());
    if (in().label_PEQMode)
        QVERIFY(in().label_PEQMode->isVisible());

    // A second stream in the same connection is ignored.
    engine().queueReport(sim::makeReport(0x1106, 1, 2, 0));
    for (const auto& r : sim::leftRightStream({ sim::vocalRecord() }))
        engine().queueReport(r);
    drain();
    QCOMPARE(Device_CB_data[0]->config_name, QStringLiteral("Live"));
}

void TestDispatch::sampleRateLocksAndReleases()
{
    connectModel(sim::makeModel("A"));
    MainWindowUi& ui = *in().ui;
    QVERIFY(ui.checkBox_8->isEnabled());
    QVERIFY(ui.gbox1_BL1->isEnabled());

    engine().queueFrame(0x1107, 352800);
    drain();
    QCOMPARE(statusLabel2->text(), QStringLiteral("   352.8kHz   "));
    QCOMPARE(statusLabel6->text(),
        QStringLiteral("   PEQ does not support the current sampling rate   "));
    QVERIFY(!ui.checkBox_8->isEnabled());
    QVERIFY(!ui.gbox1_BL1->isEnabled());
    QVERIFY(!ui.comboBox_25->isEnabled());
    QVERIFY(ui.checkBox_8->styleSheet().contains("2-unchecked.png"));
    QVERIFY(in().stream_check_timer->isActive());
    QCOMPARE(status_bar_value.eq_max, 0);

    engine().queueFrame(0x1107, 48000);
    drain();
    QVERIFY(ui.checkBox_8->isEnabled());
    QVERIFY(ui.gbox1_BL1->isEnabled());
    QVERIFY(ui.comboBox_25->isEnabled());
    QVERIFY(ui.gbox2_lineEdit2->isEnabled());
    QCOMPARE(ui.gbox2_lineEdit2->focusPolicy(), Qt::ClickFocus);
    QVERIFY(ui.checkBox_8->styleSheet().contains("1-unchecked.png"));
    QCOMPARE(statusLabel6->text(), QStringLiteral("   EQ Max NUM:10   "));
    QCOMPARE(statusLabel6->styleSheet(), statusLabel1->styleSheet());

    // Standby freezes the format display and the controls.
    engine().queueFrame(0x1114, 1);
    engine().queueFrame(0x1107, 2822400);
    drain();
    QCOMPARE(statusLabel2->text(), QStringLiteral("   48kHz   "));
    QVERIFY(ui.checkBox_8->isEnabled());
    engine().queueFrame(0x1114, 0);
    engine().queueFrame(0x1107, 2822400);
    drain();
    QCOMPARE(statusLabel1->text(), QStringLiteral("   DSD   "));
    QVERIFY(!ui.checkBox_8->isEnabled());
    engine().queueFrame(0x1107, 44100);
    drain();
}

void TestDispatch::streamLockOnConnection_data()
{
    QTest::addColumn<int>("rate");
    QTest::addColumn<QString>("audio");
    QTest::addColumn<QString>("rateText");
    QTest::addColumn<bool>("locked");
    QTest::newRow("DSD1024, not in the table") << 45158400 << "DSD"
                                               << "Sample" << true;
    QTest::newRow("DSD128 of the 48 kHz family, not in the table") << 6144000 << "DSD"
                                                                   << "Sample" << true;
    QTest::newRow("DSD64") << 2822400 << "DSD"
                           << "2.82MHz" << true;
    QTest::newRow("PCM 32 kHz, not in the table") << 32000 << "PCM"
                                                  << "Sample" << false;
    QTest::newRow("PCM 48 kHz") << 48000 << "PCM"
                                << "48kHz" << false;
}

// The stream a device reports as it connects decides the band controls, on
// the first connection and on every later one: the preset the connection
// selects releases them, and the stream check locks them again while the
// stream is one the equaliser cannot serve.
void TestDispatch::streamLockOnConnection()
{
    QFETCH(int, rate);
    QFETCH(QString, audio);
    QFETCH(QString, rateText);
    QFETCH(bool, locked);
    sim::ModelSheet sheet = sim::modelASheet();
    sheet.rate = rate;
    MainWindowUi& ui = *in().ui;
    for (const char* when : { "connected", "connected again" }) {
        unplug();
        connectModel(std::make_shared<sim::SlotModel>(sheet));
        w->timeoutSlot2(); // the stream check's next tick
        if (locked)
            QVERIFY2(in().stream_check_timer->isActive(), when);
        QCOMPARE(statusLabel1->text(), "   " + audio + "   ");
        QCOMPARE(statusLabel2->text(), "   " + rateText + "   ");
        QCOMPARE(status_bar_value.eq_max, locked ? 0 : 10);
        QVERIFY2(ui.checkBox_8->isEnabled() != locked, when);
        QVERIFY2(ui.gbox1_BL1->isEnabled() != locked, when);
        QVERIFY2(ui.gbox2_lineEdit1->isEnabled() != locked, when);
        QVERIFY2(
            ui.checkBox_8->styleSheet().contains(locked ? "2-unchecked" : "1-unchecked"), when);
        QCOMPARE(statusLabel6->text(),
            locked ? QStringLiteral("   PEQ does not support the current sampling rate   ")
                   : QStringLiteral("   EQ Max NUM:10   "));
    }
}

void TestDispatch::unplugReleasesBandControls_data()
{
    QTest::addColumn<int>("rate");
    QTest::newRow("DSD") << 2822400;
    QTest::newRow("above 192 kHz") << 384000;
}

// A stream without EQ locks the band controls; the device gone, the local
// preset can be edited again.
void TestDispatch::unplugReleasesBandControls()
{
    QFETCH(int, rate);
    connectModel(sim::makeModel("A"));
    auto* local = in().ui->widget->findChild<QRadioButton*>("RadioButton_0");
    QVERIFY(local);
    QTest::mouseClick(local, Qt::LeftButton);
    QCOMPARE(selectedRadioIndex, 0);
    engine().queueFrame(0x1107, rate);
    drain();
    MainWindowUi& ui = *in().ui;
    QLineEdit* frequency = ui.gbox2_lineEdit1;
    QVERIFY(!frequency->isEnabled());

    unplug();
    w->timeoutSlot2(); // the stream check's next tick
    QVERIFY(!in().stream_check_timer->isActive());
    QVERIFY(ui.checkBox_8->isEnabled());
    QVERIFY(ui.checkBox_8->styleSheet().contains("1-unchecked.png"));
    QVERIFY(ui.gbox1_BL1->isEnabled());
    QVERIFY(ui.comboBox_25->isEnabled());
    QVERIFY(frequency->isEnabled());

    // A typed frequency on band 1 reaches the local preset.
    ui.scrollArea->ensureWidgetVisible(frequency);
    frequency->setFocus();
    frequency->selectAll();
    QTest::keyClick(frequency, Qt::Key_Backspace);
    QTest::keyClicks(frequency, "1234");
    QTest::keyClick(frequency, Qt::Key_Return);
    QCOMPARE(EQ[1], CB_data[0]->eq[1]);
    QCOMPARE(EQ[1]->center_frequency, 1234);
    QCOMPARE(frequency->text(), QStringLiteral("1234Hz"));
}

void TestDispatch::lossClearsDevicePreset()
{
    connectModel(sim::makeModel("A"));
    EQ[2]->gain = 4.5;
    selectedRadioIndex = 100;
    QSignalSpy cleared(w, &MainWindow::device_config_clear);
    unplug();
    QCOMPARE(cleared.size(), 1);
    QCOMPARE(EQ[2]->gain, 0.0);

    connectModel(sim::makeModel("A"));
    EQ[2]->gain = 4.5;
    selectedRadioIndex = 0;
    unplug();
    QCOMPARE(EQ[2]->gain, 4.5);
    EQ[2]->gain = 0.0;
}

void TestDispatch::inactiveHintGoesWithDevice_data()
{
    QTest::addColumn<uint32_t>("identity");
    QTest::newRow("Ostra 2") << 0x51562490u;
    QTest::newRow("Mirel 1") << 0x51565460u;
}

// The models that apply no local presets say so while they are attached,
// and no longer once they are gone, whatever the language.
void TestDispatch::inactiveHintGoesWithDevice()
{
    QFETCH(uint32_t, identity);
    sim::ModelSheet sheet = sim::mirel1Sheet();
    sheet.identity = identity;
    connectModel(std::make_shared<sim::SlotModel>(sheet));
    QCOMPARE(statusLabel6->text(),
        QStringLiteral("Local config is inactive. Right-click to import to User Config"));

    unplug();
    QComboBox* language = systemset->languageBox();
    language->setCurrentIndex(1); // where an earlier row may have left it
    language->setCurrentIndex(0);
    QCOMPARE(sysSetValue.Language, 0);
    QCOMPARE(statusLabel6->text(), QStringLiteral("   EQ最大支持段数:10   "));
    language->setCurrentIndex(1);
    QCOMPARE(statusLabel6->text(), QStringLiteral("   EQ Max NUM:10   "));
}

void TestDispatch::unplugAtEveryStage()
{
    QSignalSpy cleared(w, &MainWindow::device_config_clear);
    QSignalSpy user(w, &MainWindow::device_config_upload);
    for (int cycle = 0; cycle < 20; ++cycle) {
        auto m = sim::makeModel(cycle % 2 ? "B" : "A");
        const size_t streamAt
            = size_t(std::find_if(m->burst().begin(), m->burst().end(), [](const sim::Report& r) {
                  return r[5] == 0x11 && r[6] == 0x06;
              }) - m->burst().begin());
        const int stage = cycle % 3; // before the hello answer, mid-stream, after the announcement
        if (stage == 0)
            m->setStopAfter(0);
        else if (stage == 1)
            m->setStopAfter(streamAt + 120);
        model = m;
        engine().setModel(m);
        engine().clearWrites();
        Device_EQ_sign = false;
        const int opens = engine().openCalls();
        const int announced = int(user.size());
        engine().plug();
        QTRY_VERIFY(engine().writes().size() >= 2);
        if (stage == 1)
            QTRY_VERIFY(Device_EQ_sign);
        if (stage == 2)
            QTRY_VERIFY(user.size() > announced
                || (cycle % 2 && send_biaozhi == false && upload_sign == 1));
        QCOMPARE(engine().openCalls(), opens + 1);
        const int before = int(cleared.size());
        engine().unplug();
        QTRY_COMPARE(cleared.size(), before + 1);
        QTRY_VERIFY(engine().openAttempts() > 0 && connect_thread->isRunning());
        QCOMPARE(hid_status, 0);
        QCOMPARE(upload_sign, 0);
        clearDeviceFlags();
    }
    // The next plug-in loads everything.
    const int announced = int(user.size());
    connectModel(sim::makeModel("A"));
    QCOMPARE(int(user.size()), announced + 1);
    QCOMPARE(Device_CB_data[0]->config_name, QStringLiteral("Rock"));
    QCOMPARE(Device_CB_data[0]->eq[0]->gain, 3.0);
    QCOMPARE(device_config_num, 2);
    QCOMPARE(cleared.size(), 20);
}

void TestDispatch::quitWithoutDevice()
{
    auto_save_status = false;
    engine().clearWrites();
    w->onAboutToQuit();
    QCOMPARE(linkFrames(), QStringList());
    QVERIFY(QFile::exists(settingsFilePath()));
    // The quit hook ends the link threads; the next test searches again.
    connect_thread->running = true;
    startDeviceSearch();
}

void TestDispatch::quitWhileConnected()
{
    connectModel(sim::makeModel("A"));
    auto_save_status = true;
    selectedRadioIndex = 101;
    size_t writesAtSave = 0;
    auto c = connect(w, &MainWindow::close_device_save_config, this, [&](int index) {
        QCOMPARE(index, 101);
        writesAtSave = engine().writes().size() + 1;
    });
    QFile::remove(settingsFilePath());
    w->onAboutToQuit();
    disconnect(c);
    QVERIFY(writesAtSave > 0);
    const auto frames = engine().writtenFrames();
    QCOMPARE(frames.back().command, 0x1111u);
    QCOMPARE(frames.back().data, 1);
    QCOMPARE(frames.back().total, uint8_t(1));
    QVERIFY(frames.size() >= writesAtSave);
    QVERIFY(QFile::exists(settingsFilePath()));
    connect_thread->running = true;
}

void TestDispatch::preloadedModelEndToEnd()
{
    // The built program with the simulated device preloaded and model B
    // plugged in; it keeps its files beside its executable.
    QTemporaryDir run;
    QVERIFY(run.isValid());
    const QString program = copyOfProgram(run);
    QVERIFY(!program.isEmpty());
    // Declared before the process: its destructor may still deliver output.
    QByteArray out;
    QProcess p;
    QProcessEnvironment env = preloadedProgramEnvironment();
    env.insert("SIMHID_PLUGGED", "1");
    env.insert("SIMHID_MODEL", "B");
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::MergedChannels);
    connect(&p, &QProcess::readyRead, this, [&] { out += p.readAll(); });
    p.start(program, {});
    QVERIFY(p.waitForStarted(testsupport::kProgramDeadlineMs));
    // The keep-alives tick by the clock, so under load the first echo can
    // come before the end of the burst: wait for each on its own.
    QTRY_VERIFY_WITH_TIMEOUT(out.contains("do_cmd_Sdo_cmd_S:0x1113 data:0 total:199 current:198"),
        testsupport::kProgramDeadlineMs);
    QTRY_VERIFY_WITH_TIMEOUT(
        out.contains("send cmd:0x9D01 data:"), testsupport::kProgramDeadlineMs);
    QVERIFY(out.contains("send cmd:0x1101 data:1 total:1 current:1 protocl:0x20"));

    QLocalSocket client;
    client.connectToServer(single_instance::serverNameFor(run.path()));
    QVERIFY(client.waitForConnected(5000));
    client.write("exit");
    QVERIFY(client.waitForBytesWritten(5000));
    QTRY_VERIFY_WITH_TIMEOUT(p.state() == QProcess::NotRunning, testsupport::kProgramDeadlineMs);
    out += p.readAll();
    const int quitFrame = out.lastIndexOf("send cmd:0x1111 data:1");
    QVERIFY(quitFrame > 0);
    QCOMPARE(out.indexOf("send cmd:", quitFrame + 1), -1); // the last frame written
}

QTEST_MAIN(TestDispatch)
#include "test_dispatch.moc"
