// The editor state end to end: the program's own link threads, a simulated
// left/right device that has gone through its whole handshake, and the
// exact whole-set frames each road writes to it.
#include <QtTest>

#include "deadlines.h"

#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFile>
#include <QGroupBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPushButton>
#include <QTemporaryDir>

#include "app/mainwindow.h"
#include "window_internals.h"
#include "app/mainwindow_ui.h"
#include "device/device_state.h"
#include "device/hid_device.h"
#include "device/threads.h"
#include "dsp/band.h"
#include "editor/editor_state.h"
#include "modal_answers.h"
#include "sim_models.h"
#include "store/presets.h"
#include "store/settings.h"
#include "widgets/customcontrols.h"
#include "widgets/resources.h"
#include "window_fixture.h"
#include "workspace/workspace_state.h"

namespace {

sim::Engine& engine() { return sim::Engine::instance(); }

bool wrote(uint32_t command, int32_t data)
{
    for (const sim::Frame& f : engine().writtenFrames()) {
        if (f.command == command && f.data == data)
            return true;
    }
    return false;
}

// Editing frames written since the last clear, as "9e01 d1".
QStringList editFrames()
{
    QStringList out;
    for (const sim::Frame& f : engine().writtenFrames()) {
        if (((f.command >> 12) == 0x9 && f.command != 0x9D01) || f.command == 0x1112)
            out << QStringLiteral("%1 d%2").arg(f.command, 0, 16).arg(f.data);
    }
    return out;
}

QString fr(uint32_t cmd, int32_t data)
{
    return QStringLiteral("%1 d%2").arg(cmd, 0, 16).arg(data);
}

int uploadsEnded() { return int(editFrames().count(QStringLiteral("9e01 d0"))); }

// Gains of -3.0 dB: the preamp's fixed-point word, and band gains in the
// tenths the model takes (state 193).
constexpr int32_t kMinus3dB = 23754692;
constexpr int32_t kUnity = 33554432;

// Left: preamp on at -3 dB, band 1 a 1 kHz peak at -3 dB, Q 1. Right: preamp
// off, band 2 a 100 Hz low shelf at +6 dB.
void loadPreset()
{
    for (int k = 0; k < 12; ++k) {
        clearBand(*EQ[k]);
        clearBand(*EQ_R[k]);
    }
    *EQ[0] = { 1, 1, 632, -3.0, 0.707 };
    *EQ[1] = { 1, 1, 1000, -3.0, 1.0 };
    *EQ_R[2] = { 1, 4, 100, 6.0, 0.707 };
}

QStringList offBands(int from, bool bothChannels = true)
{
    QStringList out;
    for (int b = from; b <= 11; ++b) {
        out << fr(0x9005 + (b << 8), 0);
        if (bothChannels)
            out << fr(0x900A + (b << 8), 0);
    }
    return out;
}

// One "L/R" upload of loadPreset() on a state-193 device: every record's left
// frames, then its right frames.
QStringList splitUpload()
{
    return QStringList { fr(0x9E01, 1), fr(0x9C01, kMinus3dB), fr(0x9C02, 1), fr(0x9C04, 0),
        fr(0x9101, 1), fr(0x9102, 1000), fr(0x9103, -30), fr(0x9104, 10000), fr(0x9105, 1),
        fr(0x910A, 0), fr(0x9205, 0), fr(0x9206, 4), fr(0x9207, 100), fr(0x9208, 60),
        fr(0x9209, 7070), fr(0x920A, 1) }
    + offBands(3) + QStringList { fr(0x9E01, 0) };
}

} // namespace

class TestEditorE2e : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;
    MainWindow* w = nullptr;
    MainWindowInternals in() const { return internals(*w); }
    std::shared_ptr<sim::ScriptedModel> model;

    MainWindowUi& ui() { return *in().ui; }

    void drain()
    {
        const int32_t n = model->tick(engine());
        QTRY_VERIFY(wrote(0x9D01, n));
    }

    void setMode(bool linked, bool right)
    {
        const QSignalBlocker quiet(in().comboBox_PEQMode);
        in().comboBox_PEQMode->setCurrentIndex(linked ? 0 : 1);
        in().checkBox_channel->setChecked(right);
        in().checkBox_channel->setVisible(!linked);
    }

    void rightClick(QWidget* box)
    {
        QContextMenuEvent event(
            QContextMenuEvent::Mouse, QPoint(4, 4), box->mapToGlobal(QPoint(4, 4)));
        QCoreApplication::sendEvent(box, &event);
    }

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void linkedWithOk();
    void linkedWithCancel();
    void clearOne();
    void clearAll();
    void rowRemoval();
    void leftRightSwitch();
    void blockedStreamKeepsStatusesInTheFile();
};

void TestEditorE2e::initTestCase()
{
    dir = freshWindowDir();
    QVERIFY(dir);
    initResources();
    engine().reset();
    engine().setIds(QV_VENDOR_ID, QV_PRODUCT_ID);
    w = new MainWindow;
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    // Handshake with the left/right model (state 193: band gains in tenths).
    model = sim::makeModel("B");
    engine().setModel(model);
    engine().plug();
    QTRY_COMPARE(hid_status, 1);
    QTRY_COMPARE(engine().queuedReports(), size_t(0));
    drain();
    QCOMPARE(status_bar_value.device_eq_status, 193);
    QVERIFY(Gain_flag);
}

void TestEditorE2e::cleanupTestCase()
{
    engine().unplug();
    stopDeviceThreads();
    delete w;
    engine().reset();
}

void TestEditorE2e::init()
{
    sysSetValue.Language = 1;
    biaozhi_name = "xxxx";
    current_name = old_name = "local:0";
    selectedRadioIndex = 0;
    index_biaozhi = 0;
    // The preset panel selected the device's active slot at the connection;
    // these tests edit local preset 0.
    EQ_value_update();
    setMode(false, false);
    loadPreset();
    w->config_update_ui2();
    QCoreApplication::processEvents();
    drain();
    engine().clearWrites();
}

void TestEditorE2e::linkedWithOk()
{
    ModalAnswers answers;
    answers.button("OK");
    QTest::keyClick(in().comboBox_PEQMode, Qt::Key_Up);
    QCOMPARE(answers.pending(), 0);
    QTRY_COMPARE(uploadsEnded(), 1);
    drain();
    // Both channels from the left set; no mask frame for a local preset.
    QCOMPARE(editFrames(),
        QStringList({ fr(0x9E01, 1), fr(0x9C01, kMinus3dB), fr(0x9C02, 1), fr(0x9C03, kMinus3dB),
            fr(0x9C04, 1), fr(0x9101, 1), fr(0x9102, 1000), fr(0x9103, -30), fr(0x9104, 10000),
            fr(0x9105, 1), fr(0x9106, 1), fr(0x9107, 1000), fr(0x9108, -30), fr(0x9109, 10000),
            fr(0x910A, 1) })
            + offBands(2) + QStringList { fr(0x9E01, 0) });
    QCOMPARE(EQ_R[2]->status, uint8_t(0)); // the right set is now a copy of the left
}

void TestEditorE2e::linkedWithCancel()
{
    ModalAnswers answers;
    answers.button("Cancel");
    QTest::keyClick(in().comboBox_PEQMode, Qt::Key_Up);
    QCOMPARE(answers.pending(), 0);
    QCOMPARE(in().comboBox_PEQMode->currentText(), QString("L/R"));
    // The inner "L/R" pass and the Cancel road each reload with an upload.
    QTRY_COMPARE(uploadsEnded(), 2);
    drain();
    QCOMPARE(editFrames(), splitUpload() + splitUpload());
}

void TestEditorE2e::clearOne()
{
    setMode(true, false);
    ModalAnswers answers;
    answers.menuItem("Clear seleted filter");
    rightClick(ui().groupBox_12);
    QCOMPARE(answers.pending(), 0);
    QCOMPARE(editFrames(), QStringList()); // the refresh of the controls sends nothing
    QTRY_COMPARE(uploadsEnded(), 1);
    drain();
    QCOMPARE(editFrames(),
        QStringList({ fr(0x9E01, 1), fr(0x9C01, kMinus3dB), fr(0x9C02, 1), fr(0x9C03, kMinus3dB),
            fr(0x9C04, 1) })
            + offBands(1) + QStringList { fr(0x9E01, 0) });
}

void TestEditorE2e::clearAll()
{
    setMode(true, false);
    ModalAnswers answers;
    answers.menuItem("Clear all filters");
    rightClick(ui().groupBox_4);
    QTRY_COMPARE(uploadsEnded(), 1);
    drain();
    QStringList expected { fr(0x9E01, 1), fr(0x9C01, kUnity), fr(0x9C02, 0), fr(0x9C03, kUnity),
        fr(0x9C04, 0) };
    for (uint32_t b = 1; b <= 11; ++b) {
        for (uint32_t right : { 0u, 5u })
            expected << fr(0x9001 + (b << 8) + right, 1) << fr(0x9002 + (b << 8) + right, 632)
                     << fr(0x9003 + (b << 8) + right, 0) << fr(0x9004 + (b << 8) + right, 7070)
                     << fr(0x9005 + (b << 8) + right, 0);
    }
    expected << fr(0x9E01, 0);
    QCOMPARE(editFrames(), expected);
}

void TestEditorE2e::rowRemoval()
{
    setMode(true, false);
    *EQ[2] = { 1, 5, 8000, 4.5, 0.5 };
    *EQ[3] = { 0, 2, 200, 0.0, 0.707 };
    w->config_update_ui2();
    QCoreApplication::processEvents();
    QCOMPARE(show_EQ_ui, 3);
    engine().clearWrites();
    QTest::mouseClick(ui().PButton_RemoveEQ_1, Qt::LeftButton);
    // Written before the slot returns: band 2 moved up, band 3 moved up, the
    // freed band 3 on at the defaults.
    QCOMPARE(editFrames(),
        QStringList({ fr(0x9E01, 1), fr(0x9C01, kMinus3dB), fr(0x9C02, 1), fr(0x9C03, kMinus3dB),
            fr(0x9C04, 1), fr(0x9101, 5), fr(0x9102, 8000), fr(0x9103, 45), fr(0x9104, 5000),
            fr(0x9105, 1), fr(0x9106, 5), fr(0x9107, 8000), fr(0x9108, 45), fr(0x9109, 5000),
            fr(0x910A, 1), fr(0x9205, 0), fr(0x920A, 0), fr(0x9301, 1), fr(0x9302, 632),
            fr(0x9303, 0), fr(0x9304, 7070), fr(0x9305, 1), fr(0x9306, 1), fr(0x9307, 632),
            fr(0x9308, 0), fr(0x9309, 7070), fr(0x930A, 1) })
            + offBands(4) + QStringList { fr(0x9E01, 0) });
    QCOMPARE(show_EQ_ui, 2);
}

void TestEditorE2e::leftRightSwitch()
{
    // The right channel is edited from now on; the device keeps both in step.
    QTest::mouseClick(in().checkBox_channel, Qt::LeftButton, {}, QPoint(10, 10));
    QVERIFY(in().checkBox_channel->isChecked());
    QTRY_COMPARE(uploadsEnded(), 1);
    drain();
    QCOMPARE(editFrames(), splitUpload());
    QCOMPARE(ui().gbox3_lineEdit1->text(), QString("100Hz"));
}

void TestEditorE2e::blockedStreamKeepsStatusesInTheFile()
{
    for (int b = 1; b <= 10; ++b)
        EQ[b]->status = b % 3 == 0;
    engine().queueFrame(0x1107, 2822400); // DSD: the equaliser is locked
    drain();
    QCOMPARE(status_bar_value.eq_max, 0);
    // A reload while the stream stays blocked, then the pause that saves.
    w->config_update_ui();
    QTRY_COMPARE(uploadsEnded(), 1);
    in().autosave_done = 0;
    w->timeoutSlot();
    QFile file(presetFilePath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QJsonObject preset = QJsonDocument::fromJson(file.readAll()).array().at(0).toObject();
    for (int b = 1; b <= 10; ++b) {
        const QString band = preset.value(QStringLiteral("eq_%1").arg(b)).toString();
        QCOMPARE(band.section(' ', 0, 0), QString::number(b % 3 == 0 ? 1 : 0));
    }
    engine().queueFrame(0x1107, 96000);
    drain();
}

QTEST_MAIN(TestEditorE2e)
#include "test_editor_e2e.moc"
