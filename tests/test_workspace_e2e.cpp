// End to end through the simulated device: the program stores, renames,
// saves and deletes device slots, the device is unplugged and plugged in
// again, and the slots it then streams are the ones the program sent.
#include <QtTest>

#include "deadlines.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>

#include "device/device_session.h"
#include "settings/systemsetting.h"
#include "warning_log.h"
#include "widgets/customcontrols.h"
#include "widgets/resources.h"
#include "workspace/customradiobuttondevice.h"
#include "workspace_fixture.h"

using namespace wsfix;

namespace {

// Name, preamps and bands 1-10 of the listed user slots (band 11 travels
// but no stream reads it back).
QStringList userSlots(bool leftRight)
{
    QStringList out;
    for (int s = 0; s < device_config_count; ++s) {
        QString line = Device_CB_data[s]->config_name;
        for (int side = 0; side < (leftRight ? 2 : 1); ++side) {
            const EQ_config_data& p = side ? *Device_CB_data_R[s] : *Device_CB_data[s];
            line += QStringLiteral(" | %1 %2").arg(p.eq[0]->status).arg(p.eq[0]->gain);
            for (int k = 1; k <= 10; ++k) {
                const EQ_data& b = *p.eq[k];
                line += QStringLiteral(" / %1 %2 %3 %4 %5")
                            .arg(b.status)
                            .arg(b.type)
                            .arg(b.center_frequency)
                            .arg(b.gain)
                            .arg(b.Q);
            }
        }
        out << line;
    }
    return out;
}

// What the editor shows: the preamp and the shown band rows of the channel
// the switch selects.
QStringList shownRows(MainWindow& w)
{
    MainWindowUi& ui = *internals(w).ui;
    QStringList out {
        QStringLiteral("preamp %1 %2").arg(ui.checkBox->isChecked()).arg(ui.gbox1_lineEdit->text())
    };
    for (const BandRowDescriptor& row : bandRowDescriptors()) {
        if (!row.groupBox.of(ui)->isVisibleTo(&w))
            continue;
        out << QStringLiteral("%1: %2 %3 %4 %5 %6")
                   .arg(row.band)
                   .arg(row.enable.of(ui)->isChecked())
                   .arg(row.typeCombo.of(ui)->currentIndex())
                   .arg(row.freqText.of(ui)->text(), row.gainText.of(ui)->text(),
                       row.qText.of(ui)->text());
    }
    return out;
}

struct LocalView
{
    QString mode;
    QStringList left;
    QStringList right;
};

// The mode box and both channels' rows, read as a user does: the switch
// shows the right channel.
LocalView localView(MainWindow& w)
{
    const MainWindowInternals in = internals(w);
    LocalView v { in.comboBox_PEQMode->currentText(), shownRows(w), {} };
    if (in.checkBox_channel->isVisible()) {
        in.checkBox_channel->click();
        QCoreApplication::processEvents();
        v.right = shownRows(w);
        in.checkBox_channel->click();
        QCoreApplication::processEvents();
    }
    return v;
}

} // namespace

class TestWorkspaceE2e : public QObject
{
    Q_OBJECT

    Window win;

    void renameSelected(const QString& name)
    {
        ModalAnswers answers;
        answers.menuItem("Rename");
        typeAndOk(answers, name);
        win.rightClick(win.button(selectedRadioIndex));
        QCOMPARE(answers.pending(), 0);
    }

private slots:
    void initTestCase() { startWindowTests(); }
    void cleanup()
    {
        win.unplug();
        win.w.reset();
    }
    void cleanupTestCase() { stopDeviceThreads(); }

    void nextStreamListsWhatWasSent_data();
    void nextStreamListsWhatWasSent();
    void oneSetSaveUnderGainFlag();
    void overwriteFollowsAsUpload();
    void replugKeepsLocalLeftRight();
};

void TestWorkspaceE2e::nextStreamListsWhatWasSent_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<bool>("leftRight");
    QTest::addColumn<bool>("gainFlag"); // after the listing
    QTest::newRow("one set, numbered") << "A" << false << false;
    QTest::newRow("one set, plain, full") << "five" << false << false;
    QTest::newRow("left/right, plain, 0.1 dB") << "B" << true << true;
    QTest::newRow("left/right, numbered, 0.5 dB") << "ten" << true << false;
    QTest::newRow("three slots, switched to 0.1 dB") << "mirel1" << true << true;
}

void TestWorkspaceE2e::nextStreamListsWhatWasSent()
{
    QFETCH(QString, model);
    QFETCH(bool, leftRight);
    QFETCH(bool, gainFlag);
    QVERIFY(win.open({ "Default", "Local1" }));
    win.plug(sheetNamed(model));
    QCOMPARE(Gain_flag, gainFlag);
    const int full = device_config_count;

    // Delete a slot (the full one-set device needs the room).
    if (model != "mirel1") {
        auto* second = static_cast<CustomRadioButtonDevice*>(win.button(101));
        emit second->radio_remove(1);
        QCOMPARE(device_config_count, full - 1);
    }
    // Store local preset 1 into a new slot; it becomes the selection.
    if (model != "mirel1") {
        ModalAnswers answers;
        answers.menuItem("Store to device");
        win.rightClick(win.button(1));
        win.finishEdit(win.ws->deviceNameEdit(), "Stored");
        QCOMPARE(device_config_count, full);
        QCOMPARE(selectedRadioIndex, 100 + full - 1);
    }
    // Rename it, edit it and save it as the idle save and the quit do.
    renameSelected("Renamed");
    EQ[0]->gain = -4.5;
    EQ[3]->status = 1;
    EQ[3]->type = 4;
    EQ[3]->center_frequency = 150;
    EQ[3]->gain = -2.5;
    EQ[3]->Q = 1.25;
    EQ_R[3]->status = 1;
    EQ_R[3]->gain = 1.5;
    emit win.w->close_device_save_config(selectedRadioIndex);
    QCoreApplication::processEvents();

    const QStringList sent = userSlots(leftRight);
    QCOMPARE(int(win.model->userSlots().size()), device_config_count);
    QVERIFY(sent.join('\n').contains("Renamed | 1 -4.5"));

    win.unplug();
    auto same = win.model;
    win.plug(same);
    QCOMPARE(userSlots(leftRight), sent);
    QVERIFY2(testsupport::warningLog().isEmpty(), qPrintable(testsupport::warningLog().join('\n')));
}

// A one-set record saved while band gains are taken in 0.1 dB goes out x 10
// (as the record table says); a one-set device reads its gain bytes in
// 0.5 dB steps, and the program reads one-set streams x 0.5 too, so the
// gain comes back five times larger.
void TestWorkspaceE2e::oneSetSaveUnderGainFlag()
{
    QVERIFY(win.open({ "Default" }));
    win.plug(sim::modelASheet());
    Gain_flag = true;
    EQ[1]->gain = 1.5;
    emit win.w->close_device_save_config(100);
    QCOMPARE(win.model->userSlots()[0].left.bands[0].gainTenths, 75); // byte 15 read as 7.5 dB
    win.unplug();
    auto same = win.model;
    win.plug(same);
    QCOMPARE(Gain_flag, false);
    QCOMPARE(Device_CB_data[0]->eq[1]->gain, 7.5);
}

// The three-slot model at its limit: the chosen slot is overwritten by the
// whole-set upload that follows 0x1119, and keeps its name. The device
// links both channels ("L+R"), so the upload carries the one set for both.
void TestWorkspaceE2e::overwriteFollowsAsUpload()
{
    QVERIFY(win.open({ "Default" }));
    win.plug(sim::mirel1Sheet());
    QTRY_VERIFY(frameSummary().contains("110e d0"));
    QCoreApplication::processEvents();
    QCOMPARE(internals(*win.w).comboBox_PEQMode->currentText(), QStringLiteral("L+R"));
    EQ[0]->status = 1;
    EQ[0]->gain = -1.5;
    // Types with a gain (low- and high-pass bands have none).
    const int types[3] = { 1, 4, 5 };
    for (int k = 1; k <= 10; ++k)
        *EQ[k] = EQ_data { 1, types[k % 3], 100 * k, 0.5 * k - 3.0, 1.0 + 0.5 * k };
    engine().clearWrites();
    ModalAnswers answers;
    answers.button("config 2");
    QTest::mouseClick(win.ws->ui->PButton_Add_2, Qt::LeftButton);
    QCOMPARE(frameSummary(), QStringList({ "1119 d1" }));
    // The upload brackets the set with 0x9E01 1 ... 0x9E01 0.
    QTRY_VERIFY([] {
        const auto frames = engine().writtenFrames();
        return !frames.empty() && frames.back().command == 0x9E01 && frames.back().data == 0;
    }());
    QString expected = QStringLiteral("Bright");
    for (int side = 0; side < 2; ++side) {
        expected += QStringLiteral(" | 1 -1.5");
        for (int k = 1; k <= 10; ++k)
            expected += QStringLiteral(" / 1 %1 %2 %3 %4")
                            .arg(types[k % 3])
                            .arg(100 * k)
                            .arg(0.5 * k - 3.0)
                            .arg(1.0 + 0.5 * k);
    }
    win.unplug();
    auto same = win.model;
    win.plug(same);
    QCOMPARE(userSlots(true)[1], expected);
    QVERIFY(userSlots(true)[0].startsWith("Flat | 1 0 / 0 1 632 0 0.707 / 0 1 632 0"));
}

// A device with separate left and right sets in tenths of a dB (EQ state
// 193) unplugged and plugged in again: the local preset edited "L/R", whose
// channels differ, keeps its mode, both sets and its files.
void TestWorkspaceE2e::replugKeepsLocalLeftRight()
{
    testsupport::warningLog().clear();
    QVERIFY(win.open({ "Default", "Local1" }));
    {
        QFile modes(win.path("Workspace_Config/ui_config.txt"));
        QVERIFY(modes.open(QIODevice::WriteOnly));
        modes.write("0:1\n");
    }
    QVERIFY(win.reopen());
    lianjiebz1 = 0; // no connection yet, as at program start
    win.w->timeoutSlot(); // the idle save: the files as the program writes them
    const LocalView before = localView(*win.w);
    QCOMPARE(before.mode, QStringLiteral("L/R"));
    QVERIFY(before.right != before.left);
    const QStringList files { "Workspace_Config/ui_config.txt",
        "Workspace_Config/EQ_config.QVconfig", "Workspace_Config/EQ_config_R.QVconfig" };
    QStringList texts;
    for (const QString& f : files)
        texts << readText(win.path(f));

    win.plug(sim::modelBSheet()); // lists its presets and selects slot 0
    QCOMPARE(selectedRadioIndex, 100);
    win.unplug();
    win.plug(win.model);
    QCOMPARE(selectedRadioIndex, 100);
    QCOMPARE(readText(win.path(files[0])), texts[0]);
    QTest::mouseClick(win.button(0), Qt::LeftButton);
    QCOMPARE(selectedRadioIndex, 0);

    // The editor is filled a turn of the event loop after the selection.
    QTRY_COMPARE(shownRows(*win.w), before.left);

    const LocalView after = localView(*win.w);
    QCOMPARE(after.mode, before.mode);
    QCOMPARE(after.left, before.left);
    QCOMPARE(after.right, before.right);
    for (int k = 0; k < files.size(); ++k)
        QCOMPARE(readText(win.path(files[k])), texts[k]);
    QVERIFY2(testsupport::warningLog().isEmpty(), qPrintable(testsupport::warningLog().join('\n')));
}

QTEST_MAIN(TestWorkspaceE2e)
#include "test_workspace_e2e.moc"
