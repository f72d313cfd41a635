// End to end through the simulated device: the program stores, renames,
// saves and deletes device slots, the device is unplugged and plugged in
// again, and the slots it then streams are the ones the program sent.
#include <QtTest>

#include "deadlines.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QtCharts/QXYSeries>

#include <cmath>

#include "device/device_session.h"
#include "dsp/band.h"
#include "editor/band_edit.h"
#include "io/csv_files.h"
#include "plot/response_chart.h"
#include "store/number_text.h"
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

// Local preset 1 of both files with `entries` (key, text) written over its
// own, as a hand-edited or damaged file holds them.
void patchLocalPreset(const QString& base, const QList<QPair<QString, QString>>& entries)
{
    for (const char* name : { "EQ_config.QVconfig", "EQ_config_R.QVconfig" }) {
        QFile f(base + "/Workspace_Config/" + name);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QJsonArray presets = QJsonDocument::fromJson(f.readAll()).array();
        f.close();
        QJsonObject preset = presets.at(1).toObject();
        for (const auto& [key, text] : entries)
            preset.insert(key, text);
        presets.replace(1, preset);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(QJsonDocument(presets).toJson());
    }
}

QJsonObject localPresetObject(const QString& path, int index)
{
    return QJsonDocument::fromJson(readText(path).toUtf8()).array().at(index).toObject();
}

bool allFinite(const QList<QPointF>& points)
{
    for (const QPointF& p : points)
        if (!std::isfinite(p.x()) || !std::isfinite(p.y()))
            return false;
    return true;
}

// The band whose one field a row of the value table tries, the others at
// these values: on, peaking, 1000 Hz, +3 dB, Q 1.
enum PresetField { StatusField, TypeField, FrequencyField, GainField, QField, kPresetFields };
constexpr int kFieldBand[kPresetFields] = { 2, 3, 4, 5, 6 };

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
    void presetValuesTakeTheirFieldRules_data();
    void presetValuesTakeTheirFieldRules();
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

// A local preset whose file holds values no field can take: what the device
// receives, the fields show, the chart draws and Ctrl+S writes back is the
// value a typed entry of that field would give. In range, nothing changes.
void TestWorkspaceE2e::presetValuesTakeTheirFieldRules_data()
{
    // One text per field (status, type, frequency, gain, Q) and the preamp's
    // gain; then the held band and the held preamp gain.
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QStringList>("held"); // the band strings the save writes
    QTest::addColumn<double>("preamp");
    const auto row = [](const char* name, const QStringList& texts, const QStringList& held,
                         double preamp) { QTest::newRow(name) << texts << held << preamp; };
    const QString big = "99999999999999"; // beyond 32 bits
    row("huge", { big, big, big, "1e308", "1e308", "1e308" },
        { "1 1 1000 3 1", "1 1 1000 3 1", "1 1 22000 3 1", "1 1 1000 12 1", "1 1 1000 3 15" },
        12.0);
    row("hugely negative", { "-" + big, "-" + big, "-" + big, "-1e308", "-1e308", "-1e308" },
        { "0 1 1000 3 1", "1 1 1000 3 1", "1 1 632 3 1", "1 1 1000 -12 1", "1 1 1000 3 0.707" },
        -12.0);
    // Texts that are no number take the field's default, as a missing field.
    const QStringList defaults { "0 1 1000 3 1", "1 1 1000 3 1", "1 1 632 3 1", "1 1 1000 0 1",
        "1 1 1000 3 0.707" };
    for (const char* text : { "nan", "inf", "-inf", "1e999" })
        row(text, QStringList(6, QString::fromLatin1(text)), defaults, 0.0);
    row("below the minimum", { "-1", "0", "19", "-12.5", "0.00009", "-12.5" },
        { "0 1 1000 3 1", "1 1 1000 3 1", "1 1 632 3 1", "1 1 1000 -12 1", "1 1 1000 3 0.707" },
        -12.0);
    row("above the maximum", { "2", "6", "22001", "12.5", "15.0001", "12.5" },
        { "1 1 1000 3 1", "1 1 1000 3 1", "1 1 22000 3 1", "1 1 1000 12 1", "1 1 1000 3 15" },
        12.0);
    row("in range, at the limits", { "0", "5", "20", "-12", "0.0001", "-11.9" },
        { "0 1 1000 3 1", "1 5 1000 3 1", "1 1 20 3 1", "1 1 1000 -12 1", "1 1 1000 3 0.0001" },
        -11.9);
}

void TestWorkspaceE2e::presetValuesTakeTheirFieldRules()
{
    QFETCH(QStringList, texts);
    QFETCH(QStringList, held);
    QFETCH(double, preamp);
    QVERIFY(win.open({ "Default", "Odd" }));
    const QString base = "1 1 1000 3 1";
    QList<QPair<QString, QString>> entries { { "eq_gain", "1 " + texts[5] } };
    for (int f = 0; f < kPresetFields; ++f) {
        QStringList fields = base.split(' ');
        fields[f] = texts[f];
        entries.append({ QStringLiteral("eq_%1").arg(kFieldBand[f]), fields.join(' ') });
    }
    patchLocalPreset(win.dir->path(), entries);
    QVERIFY(win.reopen());
    win.plug(sim::modelASheet());
    QTest::mouseClick(win.button(0), Qt::LeftButton); // back from the device's slot
    QTRY_COMPARE(selectedRadioIndex, 0);
    win.drain(); // its upload is out
    engine().clearWrites();
    QTest::mouseClick(win.button(1), Qt::LeftButton);
    QTRY_VERIFY([] {
        for (const sim::Frame& f : engine().writtenFrames())
            if (f.command == 0x9E01 && f.data == 0)
                return true;
        return false;
    }());

    EQ_data expected[12];
    expected[0] = { 1, 1, 632, preamp, 0.707 };
    for (int f = 0; f < kPresetFields; ++f) {
        const QStringList v = held[f].split(' ');
        expected[kFieldBand[f]] = { uint8_t(v[0].toInt()), v[1].toInt(), v[2].toInt(),
            v[3].toDouble(), v[4].toDouble() };
    }
    // The device: every frame of the tried bands and of the preamp.
    int bandFrames = 0;
    for (const sim::Frame& frame : engine().writtenFrames()) {
        const int group = int(frame.command >> 8);
        const int field = int(frame.command & 0xFF);
        if (group == 0x9C && (field == 1 || field == 3))
            QCOMPARE(frame.data, preampGainCode(preamp));
        for (int f = 0; f < kPresetFields; ++f) {
            if (group != 0x90 + kFieldBand[f] || field < 1 || field > 10)
                continue;
            const BandCodes codes = bandCodes(expected[kFieldBand[f]], Gain_flag);
            QVERIFY2(frame.data == codes.of(BandField((field - 1) % 5 + 1)),
                qPrintable(QStringLiteral("%1: %2").arg(frame.command, 0, 16).arg(frame.data)));
            ++bandFrames;
        }
    }
    QVERIFY(bandFrames >= kPresetFields);

    // The fields.
    MainWindowUi& ui = *internals(*win.w).ui;
    QCOMPARE(ui.gbox1_lineEdit->text(), gainText(preamp));
    for (int f = 0; f < kPresetFields; ++f) {
        const EQ_data& band = expected[kFieldBand[f]];
        const BandRowDescriptor& r = bandRowDescriptors()[size_t(kFieldBand[f] - 1)];
        QVERIFY(r.groupBox.of(ui)->isVisibleTo(win.w.get()));
        QCOMPARE(r.enable.of(ui)->isChecked(), band.status == 1);
        QCOMPARE(r.typeCombo.of(ui)->currentIndex(), band.type - 1);
        QCOMPARE(r.freqText.of(ui)->text(), frequencyText(band.center_frequency));
        QCOMPARE(r.gainText.of(ui)->text(), gainText(band.gain));
        QCOMPARE(r.qText.of(ui)->text(), qText(band.Q));
    }

    // The chart: every curve of a band that is on, and the combined one.
    if (!ui.checkBox_each->isChecked())
        QTest::mouseClick(ui.checkBox_each, Qt::LeftButton);
    QVERIFY(ui.checkBox_each->isChecked());
    const ResponseChart chart(internals(*win.w).chartView);
    for (int f = 0; f < kPresetFields; ++f) {
        const QList<QPointF> curve
            = chart.series(ResponseChart::kFirstBand + kFieldBand[f] - 1)->points();
        QCOMPARE(curve.isEmpty(), expected[kFieldBand[f]].status != 1);
        QVERIFY(allFinite(curve));
    }
    const QList<QPointF> combined = chart.series(ResponseChart::kCombined)->points();
    QVERIFY(!combined.isEmpty());
    QVERIFY(allFinite(combined));

    // The file after Ctrl+S: the held values; in range, the text as read.
    const QJsonObject before
        = localPresetObject(win.path("Workspace_Config/EQ_config.QVconfig"), 1);
    QTest::keyClick(win.w.get(), Qt::Key_S, Qt::ControlModifier);
    const QJsonObject saved = localPresetObject(win.path("Workspace_Config/EQ_config.QVconfig"), 1);
    QCOMPARE(saved.value("eq_gain").toString(), "1 " + QString::number(preamp, 'f', 1));
    for (int f = 0; f < kPresetFields; ++f)
        QCOMPARE(saved.value(QStringLiteral("eq_%1").arg(kFieldBand[f])).toString(), held[f]);
    for (const char* key : { "index", "config_name", "eq_1", "eq_7", "eq_11" })
        QCOMPARE(saved.value(key), before.value(key));
    if (QString(QTest::currentDataTag()).startsWith("in range"))
        QCOMPARE(saved, before);

    // The exports: the response reads back as a curve (no nan), the filter
    // text carries the held values.
    const auto exportTo = [&](const QString& action, const QString& file) {
        ModalAnswers answers;
        answers.file(file);
        for (QAction* a : internals(*win.w).menu_Export->actions())
            if (a->text() == action)
                a->trigger();
        QCOMPARE(answers.pending(), 0);
    };
    exportTo("Export filter FR", win.path("response.csv"));
    QVERIFY(isCompleteCurve(curvePairs(importFromCSV(win.path("response.csv")))));
    exportTo("Export filters", win.path("filters.txt"));
    const QStringList lines = readText(win.path("filters.txt")).split('\n');
    QCOMPARE(lines.value(0), "Preamp: " + gText(preamp) + " dB");
    for (int f = 0; f < kPresetFields; ++f) {
        const EQ_data& band = expected[kFieldBand[f]];
        QVERIFY2(lines.value(kFieldBand[f])
                     .endsWith(QStringLiteral("Fc %1 Hz Gain %2 dB Q %3")
                                   .arg(band.center_frequency)
                                   .arg(gText(band.gain), gText(band.Q))),
            qPrintable(lines.value(kFieldBand[f])));
    }
}

QTEST_MAIN(TestWorkspaceE2e)
#include "test_workspace_e2e.moc"
