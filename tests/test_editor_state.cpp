// The editor state on a real, shown main window holding the simulated device
// itself: the fills and what they leave in the records, the reload's rows
// and its deferred fill, the clears, the channel-mode switch driven by keys on
// its combo box with the discard box answered, the reactions to the preset
// workspace's signals, and the input filter with its row menu.

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

#include <cmath>
#include <limits>
#include <memory>

#include "app/mainwindow.h"
#include "window_internals.h"
#include "app/mainwindow_ui.h"
#include "app/status_labels.h"
#include "device/device_session.h"
#include "device/device_state.h"
#include "device/hid_device.h"
#include "device/threads.h"
#include "dsp/band.h"
#include "editor/band_edit.h"
#include "editor/editor_state.h"
#include "editor/set_upload.h"
#include "modal_answers.h"
#include "held_device.h"
#include "simhid.h"
#include "store/channel_modes.h"
#include "store/presets.h"
#include "store/settings.h"
#include "widgets/balance.h"
#include "widgets/customcontrols.h"
#include "widgets/resources.h"
#include "warning_log.h"
#include "window_fixture.h"
#include "workspace/workspace.h"
#include "workspace/workspace_state.h"

namespace {

sim::Engine& engine() { return sim::Engine::instance(); }

// Editing frames written since the last clear: bands, preamp, upload bracket
// and the channel-mode mask, as "9e01 d1".
QStringList editFrames()
{
    QStringList out;
    for (const sim::Frame& f : engine().writtenFrames()) {
        if (((f.command >> 12) == 0x9 && f.command != 0x9D01) || f.command == 0x1112)
            out << QStringLiteral("%1 d%2").arg(f.command, 0, 16).arg(f.data);
    }
    return out;
}

QStringList texts(const FrameList& frames)
{
    QStringList out;
    for (const auto& f : frames)
        out << QStringLiteral("%1 d%2").arg(f.cmd, 0, 16).arg(f.data);
    return out;
}

int uploads() { return int(editFrames().count(QStringLiteral("9e01 d1"))); }

} // namespace

class TestEditorState : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<MainWindow> w;
    MainWindowInternals in() const { return internals(*w); }
    HeldDevice device; // the test holds the device itself

    MainWindowUi& ui() { return *in().ui; }
    Workspace* workspace() { return ui().widget; }
    const BandRowDescriptor& row(int band) { return bandRowDescriptors()[band - 1]; }

    // The deferred fills and uploads run.
    static void settle()
    {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }

    // The channel controls without running the channel-mode switch.
    void setMode(bool linked, bool right)
    {
        const QSignalBlocker quiet(in().comboBox_PEQMode);
        in().comboBox_PEQMode->setCurrentIndex(linked ? 0 : 1);
        in().checkBox_channel->setChecked(right);
        in().checkBox_channel->setVisible(!linked);
    }

    void connectDevice(int eqStatus)
    {
        status_bar_value.device_eq_status = eqStatus;
        Gain_flag = eqStatus >= 192;
        config_connect_status = 1;
        hid_status = 1;
    }

    // A key on the channel-mode box, as the user moves it.
    void chooseMode(bool linked)
    {
        in().comboBox_PEQMode->setFocus();
        QTest::keyClick(in().comboBox_PEQMode, linked ? Qt::Key_Up : Qt::Key_Down);
    }

    static void contextMenu(QWidget* target)
    {
        QContextMenuEvent event(
            QContextMenuEvent::Mouse, QPoint(5, 5), target->mapToGlobal(QPoint(5, 5)));
        QCoreApplication::sendEvent(target, &event);
    }

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void startUpEditsLocalPresetZero();
    void fillShowsTheRoutedSet_data();
    void fillShowsTheRoutedSet();
    void fillNetEffects();
    void fillHoldsWhatIsOutOfRange();
    void noFrameDuringFillsWhileConnected();
    void uploadsFollowTheirFills_data();
    void uploadsFollowTheirFills();
    void reloadRowsCaptionsAndRecord11();
    void reloadDefersOneFillPerCall();
    void reloadKeepsStatusesWithoutEqualiser();
    void deviceSlotDeletionReloadsWithUpload();
    void modeByKeys_data();
    void modeByKeys();
    void modeBoxLanguage_data();
    void modeBoxLanguage();
    void modeOfDevicePreset_data();
    void modeOfDevicePreset();
    void localPresetSelection();
    void samePresetNameIsAnotherPreset();
    void renumberedSlotIsAnotherPreset();
    void factoryPresetLock();
    void maskFrames();
    void firstConnectionSendsNoSelectionMask();
    void rowMenuClears_data();
    void rowMenuClears();
    void noRowMenuUnderFactoryLock();
    void clearAllKeepsVisibleRows();
    void filterSwallows();
    void autosaveRestartRule();
    void muteLine();
};

void TestEditorState::initTestCase()
{
    initResources();
    testsupport::installWarningLog();
    dir = freshWindowDir();
    QVERIFY(dir);
    engine().reset();
    w = std::make_unique<MainWindow>();
    QVERIFY(device.take());
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    settle();
}

void TestEditorState::cleanupTestCase()
{
    hid_status = 0;
    config_connect_status = 0;
    w.reset();
    device.release();
}

void TestEditorState::init()
{
    sysSetValue.Language = 1;
    hid_status = 0;
    config_connect_status = 0;
    Gain_flag = false;
    status_bar_value.device_eq_status = 0;
    status_bar_value.eq_max = 10;
    status_bar_value.audio_code = "PCM";
    status_bar_value.sample_rate = "48kHz";
    execute_biaozhi = false;
    biaozhi_name = "xxxx";
    morendevice_name.clear();
    current_name = old_name = "local:0";
    index_biaozhi = 0;
    ui_flag = tem_flag = 0;
    send_ui_biao = tem_ui_biao = 0;
    lianjiebz1 = 2;
    EQ_value_update();
    for (int k = 0; k < 12; ++k) {
        clearBand(*EQ[k]);
        clearBand(*EQ_R[k]);
    }
    setMode(false, false);
    w->config_update_ui();
    settle();
    engine().clearWrites();
}

void TestEditorState::startUpEditsLocalPresetZero()
{
    for (int k = 0; k < 12; ++k) {
        QCOMPARE(EQ[k], CB_data[0]->eq[k]);
        QCOMPARE(EQ_R[k], CB_data_R[0]->eq[k]);
    }
}

void TestEditorState::fillShowsTheRoutedSet_data()
{
    QTest::addColumn<bool>("linked");
    QTest::addColumn<bool>("right");
    QTest::addColumn<QString>("frequency");
    QTest::newRow("L+R, switch on") << true << true << "1000Hz";
    QTest::newRow("L/R, left") << false << false << "1000Hz";
    QTest::newRow("L/R, right") << false << true << "2000Hz";
}

void TestEditorState::fillShowsTheRoutedSet()
{
    QFETCH(bool, linked);
    QFETCH(bool, right);
    QFETCH(QString, frequency);
    EQ[1]->center_frequency = 1000;
    EQ_R[1]->center_frequency = 2000;
    EQ[0]->gain = -3.0;
    EQ_R[0]->gain = 6.0;
    setMode(linked, right);
    w->update_ui();
    QCOMPARE(ui().gbox2_lineEdit1->text(), frequency);
    QCOMPARE(ui().gbox1_lineEdit->text(), right && !linked ? QString("6.0dB") : QString("-3.0dB"));
    QCOMPARE(hid_status, 0); // no device: the flag is not touched
}

void TestEditorState::fillNetEffects()
{
    *EQ[0] = { 1, 1, 632, -3.0, 0.707 };
    *EQ[1] = { 1, 1, 1000, 1.23, 0.707 };
    *EQ[2] = { 1, 1, 632, 3.37, 2.0 };
    *EQ[3] = { 1, 2, 632, 4.0, 0.707 }; // low-pass: no gain
    *EQ[4] = { 1, 1, 632, 15.0, 0.707 };
    *EQ[5] = { 0, 1, 1234, -15.0, 1.23456 }; // off: filled all the same
    *EQ[7] = { 1, 3, 632, -6.0, 0.707 }; // high-pass, row hidden
    setMode(true, false);
    show_EQ_ui = 5;
    for (int b = 1; b <= 11; ++b)
        row(b).groupBox.of(ui())->setVisible(b <= 5);
    w->update_ui();

    QCOMPARE(ui().gbox1_BL1->getValue(), -6.0);
    QCOMPARE(ui().gbox1_lineEdit->text(), QString("-3.0dB"));
    const double gains[] = { 1.2, 3.4, 0.0, 12.0, -12.0, 0.0, 0.0 };
    for (int b = 1; b <= 7; ++b) {
        QCOMPARE(EQ[b]->gain, gains[b - 1]);
        QCOMPARE(row(b).gainText.of(ui())->text(), gainText(gains[b - 1]));
    }
    QCOMPARE(ui().gbox2_lineEdit1->text(), QString("1000Hz"));
    QCOMPARE(ui().gbox2_lineEdit3->text(), QString("0.7070"));
    QCOMPARE(row(5).freqText.of(ui())->text(), QString("1234Hz"));
    QCOMPARE(row(5).qText.of(ui())->text(), QString("1.2346"));
    QCOMPARE(EQ[5]->center_frequency, 1234); // stored values stay as they were
    QCOMPARE(EQ[5]->Q, 1.23456);
    QVERIFY(!row(5).enable.of(ui())->isChecked());
    QVERIFY(row(7).enable.of(ui())->isChecked());
    QCOMPARE(row(3).typeCombo.of(ui())->currentIndex(), 1);
    // Bands 1 to 4 on in the visible rows; band 7 is on but hidden.
    QCOMPARE(statusLabel3->text(), QString("   EQ:4   "));
    QCOMPARE(status_bar_value.eq_count, 4);
    QCOMPARE(in().each_EQ_num, 10);
}

void TestEditorState::fillHoldsWhatIsOutOfRange()
{
    setMode(true, false);
    EQ[1]->type = 9;
    EQ[1]->gain = 4.0;
    EQ[2]->Q = -1.0;
    EQ[3]->Q = std::numeric_limits<double>::quiet_NaN();
    EQ[4]->gain = std::numeric_limits<double>::infinity();
    EQ[0]->gain = std::numeric_limits<double>::quiet_NaN();
    EQ[5]->center_frequency = 90000;
    EQ[6]->status = 7;
    w->update_ui();
    QCOMPARE(EQ[1]->type, 1);
    QCOMPARE(EQ[1]->gain, 4.0);
    QCOMPARE(row(1).typeCombo.of(ui())->currentIndex(), 0);
    QCOMPARE(EQ[2]->Q, 0.707);
    QCOMPARE(EQ[3]->Q, 0.707);
    QCOMPARE(EQ[4]->gain, 12.0); // the limit, as a typed "inf" gives
    QCOMPARE(row(4).gainText.of(ui())->text(), QString("12.0dB"));
    QCOMPARE(EQ[0]->gain, 0.0);
    QCOMPARE(EQ[5]->center_frequency, 22000);
    QCOMPARE(row(5).freqText.of(ui())->text(), QString("22000Hz"));
    QCOMPARE(EQ[6]->status, uint8_t(1));
    // The held values reach the preset file with the next save.
    QVERIFY(EQ_config_Update(0));
    EQ_config_Init();
    EQ_value_update();
    QCOMPARE(EQ[2]->Q, 0.707);
    QCOMPARE(EQ[1]->type, 1);
}

void TestEditorState::noFrameDuringFillsWhileConnected()
{
    connectDevice(129);
    *EQ[1] = { 1, 2, 500, 5.0, 0.707 };
    *EQ[2] = { 1, 1, 632, 3.37, 0.707 };
    for (void (MainWindow::*fill)() : { &MainWindow::update_ui, &MainWindow::update_ui_filter2 }) {
        hid_status = 0; // the fill ends with 1 whatever it found
        (w.get()->*fill)();
        QCOMPARE(editFrames(), QStringList());
        QCOMPARE(hid_status, 1);
    }
}

void TestEditorState::uploadsFollowTheirFills_data()
{
    QTest::addColumn<bool>("linked");
    QTest::addColumn<bool>("right");
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("cleared");
    QTest::newRow("set, L+R") << true << false << 129 << false;
    QTest::newRow("set, L/R right, 193") << false << true << 193 << false;
    QTest::newRow("set, L/R left, 128") << false << false << 128 << false;
    QTest::newRow("cleared, L+R") << true << false << 1 << true;
    QTest::newRow("cleared, L/R left, 129") << false << false << 129 << true;
}

void TestEditorState::uploadsFollowTheirFills()
{
    QFETCH(bool, linked);
    QFETCH(bool, right);
    QFETCH(int, code);
    QFETCH(bool, cleared);
    setMode(linked, right);
    *EQ[0] = { 1, 1, 632, -3.0, 0.707 };
    *EQ[1] = { 1, 3, 500, 5.0, 0.707 }; // high-pass: sent with gain 0
    *EQ_R[2] = { 1, 1, 800, 3.37, 2.0 }; // sent as 3.4 dB
    EQ_R[3]->status = 2;
    connectDevice(code);
    if (cleared)
        w->qingkong_ui_filter();
    else
        w->update_ui_filter();
    if (right && !linked)
        QCOMPARE(EQ_R[2]->gain, 3.4);
    else
        QCOMPARE(EQ[1]->gain, 0.0);
    const EditRoute route = linked ? EditRoute::Linked : right ? EditRoute::Right : EditRoute::Left;
    const FrameList expected = cleared ? clearedSetUploadFrames(route, EQ, EQ_R, code, Gain_flag)
                                       : setUploadFrames(route, EQ, EQ_R, code, Gain_flag);
    QCOMPARE(editFrames(), texts(expected));

    // Without a device the controls are filled and nothing is sent.
    engine().clearWrites();
    config_connect_status = 0;
    hid_status = 0;
    w->update_ui_filter();
    w->qingkong_ui_filter();
    QCOMPARE(editFrames(), QStringList());
    QCOMPARE(hid_status, 0);
}

void TestEditorState::reloadRowsCaptionsAndRecord11()
{
    setMode(true, false);
    EQ[7]->center_frequency = 1000; // off, changed
    EQ[9]->status = 1; // on, default values
    *EQ[11] = { 1, 2, 5000, 0.0, 1.0 };
    ui().gbox3_lineEdit1_5->setText("old");
    w->config_update_ui();
    for (int b = 1; b <= 11; ++b)
        QCOMPARE(w->Is_Show_EQ_ui(b), b <= 7);
    QCOMPARE(show_EQ_ui, 7);
    QVERIFY(ui().PButton_AddEQ->isVisible());
    QVERIFY(!row(7).freqLabelCombo.of(ui())->isEnabled());
    QVERIFY(!row(9).freqLabelCombo.of(ui())->isEnabled());
    QVERIFY(row(8).freqLabelCombo.of(ui())->isEnabled());
    QVERIFY(row(11).freqLabelCombo.of(ui())->isEnabled());
    QCOMPARE(EQ[11]->status, uint8_t(0));
    QCOMPARE(EQ[11]->center_frequency, 632);
    QCOMPARE(EQ[11]->type, 1);
    // The values reach the controls only once the caller has returned.
    QCOMPARE(ui().gbox3_lineEdit1_5->text(), QString("old"));
    settle();
    QCOMPARE(ui().gbox3_lineEdit1_5->text(), QString("1000Hz"));

    // A tenth band with a filter: ten rows and the add box goes.
    EQ[10]->gain = 1.0;
    w->config_update_ui();
    QCOMPARE(show_EQ_ui, 10);
    QVERIFY(w->Is_Show_EQ_ui(10));
    QVERIFY(!ui().groupBox_23->isVisible());
}

void TestEditorState::reloadDefersOneFillPerCall()
{
    setMode(true, false);
    connectDevice(1);
    w->config_update_ui();
    w->config_update_ui();
    QCOMPARE(uploads(), 0);
    settle();
    QCOMPARE(uploads(), 2);
    // The twin without upload fills the controls as late and sends nothing.
    engine().clearWrites();
    EQ[1]->center_frequency = 777;
    w->config_update_ui2();
    QCOMPARE(ui().gbox2_lineEdit1->text(), QString("632Hz"));
    settle();
    QCOMPARE(ui().gbox2_lineEdit1->text(), QString("777Hz"));
    QCOMPARE(editFrames(), QStringList());
}

void TestEditorState::reloadKeepsStatusesWithoutEqualiser()
{
    setMode(true, false);
    for (int b = 1; b <= 11; ++b)
        EQ[b]->status = b % 2;
    status_bar_value.eq_max = 0;
    w->config_update_ui();
    settle();
    for (int b = 1; b <= 10; ++b) {
        QCOMPARE(int(EQ[b]->status), b % 2);
        QVERIFY(row(b).enable.of(ui())->styleSheet().contains("unchecked_56.png"));
    }

    // A blocked stream: the controls stay as the stream lock left them.
    status_bar_value.audio_code = "DSD";
    status_bar_value.sample_rate = "2.82MHz";
    w->lockBandControls();
    w->config_update_ui2();
    settle();
    for (int b = 1; b <= 10; ++b) {
        QCOMPARE(int(EQ[b]->status), b % 2);
        QVERIFY(!row(b).enable.of(ui())->isEnabled());
    }
    w->releaseBandControls();
}

void TestEditorState::deviceSlotDeletionReloadsWithUpload()
{
    setMode(true, false);
    connectDevice(1);
    emit workspace()->device_radio_Change(3);
    settle();
    QCOMPARE(uploads(), 1);
}

void TestEditorState::modeByKeys_data()
{
    QTest::addColumn<QString>("answer");
    QTest::newRow("OK") << "OK";
    QTest::newRow("Cancel") << "Cancel";
}

void TestEditorState::modeByKeys()
{
    QFETCH(QString, answer);
    const bool ok = answer == "OK";
    for (int k = 0; k < 12; ++k) {
        *EQ[k] = { 1, 1, 100 + k, 1.0, 1.0 };
        *EQ_R[k] = { 1, 4, 2000 + k, -2.0, 2.0 };
    }
    const EQ_data rightBefore = *EQ_R[5];
    QCOMPARE(in().comboBox_PEQMode->currentText(), QString("L/R"));
    ModalAnswers answers;
    answers.button(answer);
    chooseMode(true);
    QCOMPARE(answers.pending(), 0);
    QCOMPARE(answers.shown.size(), 1);
    QCOMPARE(answers.shown[0].title, QString("Quorvel"));
    QCOMPARE(
        answers.shown[0].text, QString("Filter parameters for RIGHT channel will be discarded"));
    QCOMPARE(in().comboBox_PEQMode->currentIndex(), ok ? 0 : 1);
    QCOMPARE(in().checkBox_channel->isHidden(), ok);
    QCOMPARE(EQ_R[5]->center_frequency, ok ? 105 : rightBefore.center_frequency);
    QCOMPARE(EQ_R[5]->type, ok ? 1 : rightBefore.type);
    QCOMPARE(EQ_R[0]->gain, ok ? 1.0 : -2.0);
    QCOMPARE(getConfig(0), ok ? 0 : 1);
    QFile file(channelModeFilePath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().contains(ok ? "0:0" : "0:1"));
    QCOMPARE(Ret, ok ? 456 : 123);
    QCOMPARE(ui_biaozhi, ok ? 0 : 1);
    // No device: no mask frame, and the reload's fill sends nothing.
    settle();
    QCOMPARE(editFrames(), QStringList());

    // Back to "L/R" on the same preset: the right channel starts as the left.
    if (ok) {
        EQ_R[5]->center_frequency = 9999;
        chooseMode(false);
        QCOMPARE(in().comboBox_PEQMode->currentIndex(), 1);
        QCOMPARE(EQ_R[5]->center_frequency, 105);
        QCOMPARE(getConfig(0), 1);
    }
}

void TestEditorState::modeBoxLanguage_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("ok");
    QTest::newRow("English") << 1 << "Filter parameters for RIGHT channel will be discarded"
                             << "OK";
    QTest::newRow("Chinese") << 0 << "右通道的滤波器设置会被丢弃"
                             << "好的";
    QTest::newRow("other value") << 7 << "右通道的滤波器设置会被丢弃"
                                 << "好的";
}

void TestEditorState::modeBoxLanguage()
{
    QFETCH(int, language);
    QFETCH(QString, text);
    QFETCH(QString, ok);
    sysSetValue.Language = language;
    ModalAnswers answers;
    answers.button(ok);
    chooseMode(true);
    QCOMPARE(answers.pending(), 0);
    QCOMPARE(answers.shown.value(0).text, text);
    QCOMPARE(answers.shown.value(0).choices.size(), 2);
    QCOMPARE(in().comboBox_PEQMode->currentIndex(), 0);
}

void TestEditorState::modeOfDevicePreset_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QStringList>("masks");
    QTest::newRow("OK") << "OK" << QStringList { "1112 d4" };
    QTest::newRow("Cancel") << "Cancel" << QStringList { "1112 d6", "1112 d6" };
}

void TestEditorState::modeOfDevicePreset()
{
    QFETCH(QString, answer);
    QFETCH(QStringList, masks);
    // Device slot 1 of a left/right device, edited as "L/R" (bits 1 and 2 set).
    connectDevice(129);
    send_ui_biao = tem_ui_biao = 6;
    emit workspace()->send_ui_biaozhi(1, "Live");
    emit workspace()->send_device_name("Live");
    emit workspace()->send_biaozhi_name("yyyy");
    QCOMPARE(in().comboBox_PEQMode->currentIndex(), 1);
    QCOMPARE(current_name, old_name);
    QCOMPARE(tem_flag, 1);
    engine().clearWrites();
    const int storedModes = int(m_configMap.size());

    ModalAnswers answers;
    answers.button(answer);
    chooseMode(true);
    QCOMPARE(answers.pending(), 0);
    QStringList maskFrames = editFrames().filter("1112");
    QCOMPARE(maskFrames, masks);
    QCOMPARE(send_ui_biao, tem_ui_biao);
    // A device preset's mode lives in the mask, not in the file.
    QCOMPARE(int(m_configMap.size()), storedModes);
    settle();
    QVERIFY(uploads() >= 1);
}

void TestEditorState::localPresetSelection()
{
    const auto select = [this](int index, const QString& name) {
        emit workspace()->send_radio_name(index, name);
        emit workspace()->send_radio_name2();
        emit workspace()->send_ui_biaozhi3(index);
        emit workspace()->send_biaozhi_name("xxxx");
    };
    deleteConfig(4);
    deleteConfig(5);
    // No mode stored: the last handled index, then the mode the combo shows.
    combox_index = 1;
    select(4, "Four");
    QCOMPARE(current_name, QString("local:4"));
    QCOMPARE(old_name, current_name);
    QCOMPARE(index_biaozhi, 4);
    QCOMPARE(biaozhi_name, QString("xxxx"));
    QCOMPARE(getConfig(4), 1);

    // Stored "L+R": the combo follows, and no box (a preset switch).
    addOrUpdateConfig(5, 0);
    ModalAnswers answers;
    select(5, "Five");
    QCOMPARE(in().comboBox_PEQMode->currentIndex(), 0);
    QVERIFY(in().checkBox_channel->isHidden());
    QCOMPARE(getConfig(5), 0);
    QCOMPARE(combox_index, 0);

    // Stored "L/R" with a connected device whose EQ is off: falls back to "L+R".
    connectDevice(0);
    select(4, "Four");
    QCOMPARE(in().comboBox_PEQMode->currentIndex(), 0);
    QCOMPARE(getConfig(4), 0);

    // A one-channel device and no stored mode: "L+R" stored.
    deleteConfig(5);
    connectDevice(1);
    combox_index = 1;
    emit workspace()->send_radio_name(5, "Five");
    QCOMPARE(getConfig(5), 0);
    QCOMPARE(answers.shown.size(), 0);
}

void TestEditorState::samePresetNameIsAnotherPreset()
{
    // Two local presets named alike: the second one's right channel is its own.
    addOrUpdateConfig(1, 0);
    addOrUpdateConfig(2, 1);
    ModalAnswers answers;
    emit workspace()->send_radio_name(1, "Same");
    QCOMPARE(in().comboBox_PEQMode->currentIndex(), 0);
    EQ[3]->gain = 1.0;
    EQ_R[3]->gain = 5.0;
    emit workspace()->send_radio_name(2, "Same");
    QCOMPARE(in().comboBox_PEQMode->currentIndex(), 1);
    QCOMPARE(EQ_R[3]->gain, 5.0);
    QCOMPARE(answers.shown.size(), 0);
}

void TestEditorState::renumberedSlotIsAnotherPreset()
{
    // Slot 1 selected in "L+R", then deleted; slot 2 moves to number 1 and
    // is selected in "L/R": nothing is copied over its right channel.
    connectDevice(129);
    send_ui_biao = tem_ui_biao = 0x4;
    emit workspace()->send_ui_biaozhi(1, "One");
    QCOMPARE(in().comboBox_PEQMode->currentIndex(), 0);
    emit workspace()->send_remove_index(1);
    QCOMPARE(send_ui_biao, 0x2u);
    EQ[2]->gain = 1.0;
    EQ_R[2]->gain = 5.0;
    ModalAnswers answers;
    emit workspace()->send_ui_biaozhi(1, "Two");
    QCOMPARE(in().comboBox_PEQMode->currentIndex(), 1);
    QCOMPARE(EQ_R[2]->gain, 5.0);
    QCOMPARE(answers.shown.size(), 0);
}

void TestEditorState::factoryPresetLock()
{
    EQ[0]->status = 1;
    EQ[1]->status = 1;
    EQ[2]->status = 0;
    status_bar_value.eq_max = 7;
    emit workspace()->send_device_name("Warm");
    QCOMPARE(biaozhi_name, QString("yyyy"));
    QCOMPARE(morendevice_name, QString("Warm"));
    QVERIFY(ui().checkBox->isChecked() && !ui().checkBox->isEnabled());
    QVERIFY(ui().checkBox_8->isChecked());
    QVERIFY(!ui().checkBox_10->isChecked());
    QVERIFY(!ui().gbox1_BL1->isEnabled());
    QVERIFY(!ui().comboBox_25->isEnabled());
    QVERIFY(!ui().gbox2_BL2->mouseInputEnabled());
    QVERIFY(!ui().PButton_AddEQ->isEnabled());
    for (int b = 1; b <= 11; ++b)
        QVERIFY(!row(b).removeButton.of(ui())->isEnabled());
    QVERIFY(ui().checkBox_8->styleSheet().contains("2-checked.png"));
    QCOMPARE(status_bar_value.eq_max, 7);

    // A local preset lifts it.
    emit workspace()->send_radio_name2();
    QVERIFY(ui().checkBox->isEnabled());
    QVERIFY(ui().gbox1_BL1->isEnabled());
    QVERIFY(ui().gbox2_BL2->mouseInputEnabled());
    QVERIFY(ui().PButton_AddEQ->isEnabled());
    QVERIFY(ui().PButton_RemoveEQ_3->isEnabled());
    QCOMPARE(ui().gbox2_lineEdit2->focusPolicy(), Qt::ClickFocus);
    QCOMPARE(status_bar_value.eq_max, 10);

    // A model whose factory presets are editable locks nothing.
    execute_biaozhi = true;
    emit workspace()->send_device_name("Warm");
    QVERIFY(ui().checkBox->isEnabled());
}

void TestEditorState::maskFrames()
{
    connectDevice(129);
    send_ui_biao = tem_ui_biao = 0x1;
    ui_biaozhi = 1;
    emit workspace()->send_ui_biaozhi2(3);
    QCOMPARE(send_ui_biao, 0x9u);
    ui_biaozhi = 0;
    emit workspace()->send_ui_biaozhi2(0);
    QCOMPARE(tem_ui_biao, 0x8u);
    send_ui_biao = tem_ui_biao = 0x203;
    emit workspace()->send_remove_index(0);
    QCOMPARE(send_ui_biao, 0x101u);
    QCOMPARE(tem_ui_biao, 0x101u);
    QCOMPARE(editFrames(), (QStringList { "1112 d9", "1112 d8", "1112 d257" }));

    // Not connected: the mask only changes in memory.
    engine().clearWrites();
    hid_status = 0;
    config_connect_status = 0;
    emit workspace()->send_ui_biaozhi2(5);
    QCOMPARE(editFrames(), QStringList());
}

void TestEditorState::firstConnectionSendsNoSelectionMask()
{
    connectDevice(129);
    send_ui_biao = tem_ui_biao = 0x1;
    setMode(true, false);
    lianjiebz1 = 1;
    ModalAnswers answers;
    emit workspace()->send_ui_biaozhi(0, "Live");
    // Only the "L/R" pass of the channel-mode switch sends it.
    QCOMPARE(editFrames().filter("1112"), QStringList { "1112 d1" });
    engine().clearWrites();
    lianjiebz1 = 2;
    emit workspace()->send_ui_biaozhi(0, "Live");
    QCOMPARE(editFrames().filter("1112"), QStringList { "1112 d1" });
    QCOMPARE(answers.shown.size(), 0);
}

void TestEditorState::rowMenuClears_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("item");
    QTest::addColumn<int>("band"); // row right-clicked: 0 preamp, 1 to 11
    QTest::addColumn<bool>("all");
    QTest::newRow("preamp, one") << 1 << "Clear seleted filter" << 0 << false;
    QTest::newRow("band 2, one") << 1 << "Clear seleted filter" << 2 << false;
    QTest::newRow("band 11, all") << 1 << "Clear all filters" << 11 << true;
    QTest::newRow("Chinese, one") << 0 << "清除选中滤波数据" << 3 << false;
    QTest::newRow("other value, all") << 4 << "清除全部滤波数据" << 1 << true;
}

void TestEditorState::rowMenuClears()
{
    QFETCH(int, language);
    QFETCH(QString, item);
    QFETCH(int, band);
    QFETCH(bool, all);
    sysSetValue.Language = language;
    setMode(true, false);
    for (int k = 0; k < 12; ++k)
        *EQ[k] = { 1, 4, 300 + k, -3.0, 2.0 };
    w->config_update_ui();
    settle();
    for (int b = 1; b <= 11; ++b)
        row(b).freqLabelCombo.of(ui())->setEnabled(false);
    connectDevice(1);
    ModalAnswers answers;
    answers.menuItem(item);
    contextMenu(band == 0 ? static_cast<QWidget*>(ui().groupBox_4) : row(band).groupBox.of(ui()));
    QCOMPARE(answers.pending(), 0);
    QCOMPARE(answers.shown[0].choices,
        language == 1 ? QStringList({ "Clear seleted filter", "Clear all filters" })
                      : QStringList({ "清除选中滤波数据", "清除全部滤波数据" }));
    for (int k = 0; k < 12; ++k) {
        const bool cleared = all || k == band || k == 11; // the reload clears record 11
        QCOMPARE(int(EQ[k]->status), cleared ? 0 : 1);
        QCOMPARE(EQ[k]->gain, cleared ? 0.0 : -3.0);
        if (k >= 1)
            QCOMPARE(row(k).freqLabelCombo.of(ui())->isEnabled(), all || k == band);
    }
    // The controls show it at once; the device gets the whole set afterwards.
    QCOMPARE(ui().gbox1_lineEdit->text(), band == 0 || all ? QString("0.0dB") : QString("-3.0dB"));
    QCOMPARE(uploads(), 0);
    settle();
    const FrameList expected = all ? clearedSetUploadFrames(EditRoute::Linked, EQ, EQ_R, 1, false)
                                   : setUploadFrames(EditRoute::Linked, EQ, EQ_R, 1, false);
    QCOMPARE(editFrames(), texts(expected));
    QCOMPARE(editFrames().size(), all ? 116 : band == 0 ? 106 : 100);
}

void TestEditorState::noRowMenuUnderFactoryLock()
{
    execute_biaozhi = false;
    biaozhi_name = "yyyy";
    morendevice_name = "Airy";
    ModalAnswers answers; // a menu would fail the test
    contextMenu(ui().groupBox_12);
    QCOMPARE(answers.shown.size(), 0);
    // A local preset always has the menu.
    biaozhi_name = "xxxx";
    answers.menuItem("");
    contextMenu(ui().groupBox_12);
    QCOMPARE(answers.shown.size(), 1);
}

void TestEditorState::clearAllKeepsVisibleRows()
{
    for (bool linked : { true, false }) {
        setMode(linked, false);
        for (int b = 1; b <= 6; ++b)
            EQ[b]->center_frequency = 100 * b;
        w->config_update_ui();
        settle();
        QCOMPARE(show_EQ_ui, 6);
        w->Refresh_all_data();
        QCOMPARE(show_EQ_ui, 6);
        for (int b = 1; b <= 11; ++b)
            QCOMPARE(w->Is_Show_EQ_ui(b), b <= 6);
        QVERIFY(ui().PButton_AddEQ->isVisible());
        QCOMPARE(statusLabel3->text(), QString("   EQ:0   "));
        settle();
    }
}

void TestEditorState::filterSwallows()
{
    QComboBox* type = ui().comboBox_25;
    type->setCurrentIndex(0);
    QTest::keyClick(type, Qt::Key_Down);
    QCOMPARE(type->currentIndex(), 0);
    QWheelEvent wheel(QPointF(3, 3), type->mapToGlobal(QPointF(3, 3)), QPoint(), QPoint(0, -120),
        Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(type, &wheel);
    QCOMPARE(type->currentIndex(), 0);

    // A disabled combo box keeps its hover mark; its events pass.
    type->setProperty("hasFocus", false);
    type->setEnabled(false);
    QEvent enter(QEvent::Enter);
    QCoreApplication::sendEvent(type, &enter);
    QCOMPARE(type->property("hasFocus").toBool(), false);
    type->setEnabled(true);
    QCoreApplication::sendEvent(type, &enter);
    QCOMPARE(type->property("hasFocus").toBool(), true);

    // The curve pickers take no double-click and no mouse menu, their lists
    // no menu at all: asked through the window's own filter.
    QObject* filter = w.get();
    for (QComboBox* curves :
        { static_cast<QComboBox*>(ui().comboBox), static_cast<QComboBox*>(ui().comboBox_2) }) {
        QMouseEvent doubleClick(QEvent::MouseButtonDblClick, QPointF(3, 3),
            curves->mapToGlobal(QPointF(3, 3)), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QVERIFY(filter->eventFilter(curves, &doubleClick));
        QContextMenuEvent mouseMenu(
            QContextMenuEvent::Mouse, QPoint(3, 3), curves->mapToGlobal(QPoint(3, 3)));
        QVERIFY(filter->eventFilter(curves, &mouseMenu));
        QVERIFY(filter->eventFilter(curves->view(), &mouseMenu));
        QContextMenuEvent keyMenu(
            QContextMenuEvent::Keyboard, QPoint(3, 3), curves->mapToGlobal(QPoint(3, 3)));
        QVERIFY(filter->eventFilter(curves->view(), &keyMenu));
    }
}

void TestEditorState::autosaveRestartRule()
{
    // A drag: moves without a button reach only widgets that track the mouse.
    QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), QPointF(2, 2), Qt::NoButton, Qt::LeftButton,
        Qt::NoModifier);
    in().autosave_done = 1;
    QCoreApplication::sendEvent(ui().comboBox, &move);
    QCOMPARE(in().autosave_done, 1);
    QCoreApplication::sendEvent(ui().groupBox_12, &move);
    QCOMPARE(in().autosave_done, 0);
    QVERIFY(in().autosave_timer->isActive());

    in().autosave_done = 1;
    QKeyEvent arrow(QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier);
    QCoreApplication::sendEvent(ui().groupBox_12, &arrow);
    QCOMPARE(in().autosave_done, 1);
    QKeyEvent letter(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
    QCoreApplication::sendEvent(ui().groupBox_12, &letter);
    QCOMPARE(in().autosave_done, 0);
}

void TestEditorState::muteLine()
{
    testsupport::passDebugLines() = true;
    QTest::ignoreMessage(QtDebugMsg, "recive_Mute true");
    w->recive_Mute(true);
    testsupport::passDebugLines() = false;
    QCOMPARE(editFrames(), QStringList());
}

QTEST_MAIN(TestEditorState)
#include "test_editor_state.moc"
