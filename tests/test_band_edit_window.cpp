// The band editor on a real, shown main window with the simulated device
// open: dials turned, double-clicked and dragged, values typed, types chosen
// from the combo boxes, switches clicked, rows added and removed; checked
// through the records, the rows, the status bar, the chart and every frame
// written to the device.

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTemporaryDir>
#include <QTest>
#include <QtCharts/QChartView>
#include <QtCharts/QXYSeries>
#include <qpa/qwindowsysteminterface.h>

#include <memory>

#include "deadlines.h"
#include "app/macapplication.h"
#include "app/mainwindow.h"
#include "window_internals.h"
#include "app/mainwindow_style.h"
#include "app/mainwindow_ui.h"
#include "app/status_labels.h"
#include "device/device_state.h"
#include "device/hid_device.h"
#include "device/threads.h"
#include "dsp/band.h"
#include "dsp/value_deal.h"
#include "editor/band_edit.h"
#include "editor/editor_state.h"
#include "plot/response_chart.h"
#include "held_device.h"
#include "row_input.h"
#include "simhid.h"
#include "store/presets.h"
#include "widgets/balance.h"
#include "widgets/customcontrols.h"
#include "widgets/resources.h"
#include "warning_log.h"
#include "window_fixture.h"
#include "workspace/workspace_state.h"

namespace {

// Every band on, peaking, Q 0.707; the two sets told apart by frequency.
constexpr EQ_data kLeftBand { 1, 1, 1000, 0.0, 0.707 };
constexpr EQ_data kRightBand { 1, 1, 2000, 0.0, 0.707 };

QString modulus(int tenths)
{
    return QString::number(static_cast<int32_t>(value_deal::Get_Modulus(tenths)));
}

} // namespace

class TestBandEditWindow : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<MainWindow> w;
    MainWindowInternals in() const { return internals(*w); }
    HeldDevice device; // the test holds the device itself
    EQ_data left[12];
    EQ_data right[12];

    sim::Engine& engine() { return sim::Engine::instance(); }
    MainWindowUi& ui() { return *in().ui; }
    const BandRowDescriptor& row(int band) { return bandRowDescriptors()[band - 1]; }

    // The frames written since the last clear, as "9103:3"; a frame with the
    // wrong fixed fields shows as "bad".
    QStringList written()
    {
        QStringList out;
        for (const sim::Frame& f : engine().writtenFrames()) {
            if (!f.ok || f.total != 1 || f.current != 1 || f.protocol != 0x20)
                out << "bad";
            else
                out << QString::number(f.command, 16) + ":" + QString::number(f.data);
        }
        return out;
    }

    // The channel controls as the routing reads them; the channel-mode
    // switch itself is not run.
    void setMode(const QString& mode, bool right)
    {
        const QSignalBlocker quiet(in().comboBox_PEQMode);
        in().comboBox_PEQMode->setCurrentIndex(mode == "L+R" ? 0 : 1);
        in().checkBox_channel->setChecked(right);
    }

    // The set an edit writes: the right one only in "L/R" with the switch on.
    static EQ_data* const* editedBy(const QString& mode, bool right)
    {
        return mode != "L+R" && right ? EQ_R : EQ;
    }

    // Rows 1..n shown, the others hidden, as the add and remove roads keep them.
    void showRows(int n)
    {
        show_EQ_ui = n;
        for (int band = 1; band <= 11; ++band)
            row(band).groupBox.of(ui())->setVisible(band <= n);
        ui().groupBox_23->setVisible(n < 10);
    }

    // Puts the edited set into the rows the way a fill does, without frames.
    void fillRows()
    {
        const int status = hid_status;
        hid_status = 0;
        EQ_data* const* set = w->editedSet();
        ui().checkBox->setChecked(set[0]->status != 0);
        ui().gbox1_BL1->Line_setValue(truncSaturated(set[0]->gain * 2));
        ui().gbox1_lineEdit->setText(gainText(set[0]->gain));
        for (int band = 1; band <= 11; ++band) {
            const EQ_data saved = *set[band];
            const BandRowDescriptor& r = row(band);
            r.typeCombo.of(ui())->setCurrentIndex(saved.type - 1);
            QMetaObject::invokeMethod(w.get(), qPrintable(QString("set_cb%1_type").arg(band)),
                Q_ARG(int, saved.type - 1));
            *set[band] = saved; // the fitting may have zeroed a gain
            r.enable.of(ui())->setChecked(saved.status != 0);
            r.freqDial.of(ui())->Line_setValue(
                value_deal::line_fre_value_deal(saved.center_frequency));
            r.freqText.of(ui())->setText(frequencyText(saved.center_frequency));
            r.gainDial.of(ui())->Line_setValue(truncSaturated(saved.gain * 2));
            r.gainText.of(ui())->setText(gainText(saved.gain));
            r.qDial.of(ui())->Q_setValue(value_deal::line_Q_value_deal(bandQCode(saved.Q)));
            r.qText.of(ui())->setText(qText(saved.Q));
        }
        hid_status = status;
        QCoreApplication::processEvents();
    }

    // The sets point into the first local preset, selected: an edit is what
    // the next save writes.
    bool editFirstPreset()
    {
        if (!CB_data[0] || !CB_data_R[0])
            return false;
        for (int k = 0; k < 12; ++k) {
            EQ[k] = CB_data[0]->eq[k];
            EQ_R[k] = CB_data_R[0]->eq[k];
        }
        selectedRadioIndex = 0;
        return true;
    }

    // The first preset's field `key` as the left preset file holds it.
    QString savedField(const QString& key)
    {
        QFile file(presetFilePath());
        if (!file.open(QIODevice::ReadOnly))
            return QString();
        const QJsonArray presets = QJsonDocument::fromJson(file.readAll()).array();
        return presets.at(0).toObject().value(key).toString();
    }

    void bringIntoView(QWidget* widget) { rowinput::bringIntoView(*w, widget); }
    void wheel(QWidget* target, int delta = 120) { rowinput::wheel(*w, target, delta); }
    void typeInto(QLineEdit* edit, const QString& text) { rowinput::typeInto(*w, edit, text); }
    bool choose(QComboBox* combo, int index) { return rowinput::choose(*w, combo, index); }
    void click(QCheckBox* box) { rowinput::click(*w, box); }
    void click(QPushButton* button) { rowinput::click(*w, button); }

    QList<QPointF> series(int index)
    {
        return ResponseChart(in().chartView).series(index)->points();
    }

private slots:
    void initTestCase()
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
        for (const QString& warning : testsupport::warningLog())
            QVERIFY2(!warning.contains("No matching signal"), qPrintable(warning));
    }

    void cleanupTestCase()
    {
        hid_status = 0;
        w.reset();
        device.release();
    }

    void init()
    {
        testsupport::warningLog().clear();
        for (int k = 0; k < 12; ++k) {
            EQ[k] = &left[k];
            EQ_R[k] = &right[k];
            left[k] = kLeftBand;
            right[k] = kRightBand;
        }
        left[0] = { 1, 1, 632, -3.0, 0.707 };
        right[0] = { 1, 1, 632, -3.0, 0.707 };
        Gain_flag = false;
        execute_biaozhi = true;
        biaozhi_name = "xxxx";
        morendevice_name.clear();
        status_bar_value.device_eq_status = 0;
        status_bar_value.eq_count = 0;
        setMode("L+R", false);
        showRows(4);
        fillRows();
        hid_status = 1;
        engine().clearWrites();
    }

    void cleanup()
    {
        for (const QString& warning : testsupport::warningLog())
            QVERIFY2(!warning.contains("No matching signal"), qPrintable(warning));
    }

    void gainDialWheel_data()
    {
        QTest::addColumn<int>("band");
        QTest::addColumn<QString>("mode");
        QTest::addColumn<bool>("right");
        QTest::addColumn<bool>("tenths");
        QTest::addColumn<bool>("connected");
        QTest::addColumn<QStringList>("frames");
        QTest::newRow("band 1, L+R")
            << 1 << "L+R" << false << false << true
            << QStringList { "9103:3", "9101:1", "9105:1", "9108:3", "9106:1", "910a:1" };
        QTest::newRow("band 1, L+R, tenths")
            << 1 << "L+R" << true << true << true
            << QStringList { "9103:15", "9101:1", "9105:1", "9108:15", "9106:1", "910a:1" };
        QTest::newRow("band 2, L+R, switch ignored")
            << 2 << "L+R" << true << false << true
            << QStringList { "9201:1", "9203:3", "9205:1", "9206:1", "9208:3", "920a:1" };
        QTest::newRow("band 2, left")
            << 2 << "L/R" << false << false << true << QStringList { "9201:1", "9203:3", "9205:1" };
        QTest::newRow("band 2, right, tenths")
            << 2 << "L/R" << true << true << true << QStringList { "9206:1", "9208:15", "920a:1" };
        QTest::newRow("band 3, not connected")
            << 3 << "L+R" << false << false << false << QStringList {};
    }

    void gainDialWheel()
    {
        QFETCH(int, band);
        QFETCH(QString, mode);
        QFETCH(bool, right);
        QFETCH(bool, tenths);
        QFETCH(bool, connected);
        QFETCH(QStringList, frames);
        setMode(mode, right);
        EQ_data* const* edited = editedBy(mode, right);
        EQ_data* const* other = edited == EQ ? EQ_R : EQ;
        edited[band]->gain = 1.0;
        fillRows();
        const QList<QPointF> before = series(ResponseChart::kCombined);
        Gain_flag = tenths;
        hid_status = connected ? 1 : 0;
        engine().clearWrites();

        wheel(row(band).gainDial.of(ui()));
        QTRY_COMPARE(edited[band]->gain, 1.5);
        QCOMPARE(written(), frames);
        QCOMPARE(other[band]->gain, 0.0);
        QCOMPARE(row(band).gainText.of(ui())->text(), QString("1.5dB"));
        QCOMPARE(row(band).gainDial.of(ui())->getValue(), 3.0);
        QCOMPARE(in().each_EQ_num, band);
        QVERIFY(series(ResponseChart::kCombined) != before);
    }

    void dialDoubleClickAndDrag()
    {
        // Double-click: the frequency dial of band 2 to its 632 Hz rest, value first.
        Balance2* freq2 = row(2).freqDial.of(ui());
        freq2->Line_setValue(10);
        bringIntoView(freq2);
        QTest::mouseDClick(freq2, Qt::LeftButton);
        QCOMPARE(EQ[2]->center_frequency, 632);
        QCOMPARE(row(2).freqText.of(ui())->text(), QString("632Hz"));
        QCOMPARE(written(),
            QStringList({ "9202:632", "9201:1", "9205:1", "9207:632", "9206:1", "920a:1" }));

        // Drag: band 3's frequency dial ten positions up, left channel only.
        setMode("L/R", false);
        engine().clearWrites();
        Balance2* freq3 = row(3).freqDial.of(ui());
        freq3->Line_setValue(40);
        bringIntoView(freq3);
        const QPoint centre = freq3->rect().center();
        QTest::mousePress(freq3, Qt::LeftButton, {}, centre);
        QTest::mouseMove(freq3, centre - QPoint(0, 30));
        QTest::mouseRelease(freq3, Qt::LeftButton, {}, centre - QPoint(0, 30));
        const int hz = value_deal::balance_value_deal(50);
        QCOMPARE(freq3->getValue(), 50.0);
        QCOMPARE(EQ[3]->center_frequency, hz);
        QCOMPARE(EQ_R[3]->center_frequency, 2000);
        QCOMPARE(row(3).freqText.of(ui())->text(), QString::number(hz) + "Hz");
        QCOMPARE(written().mid(written().size() - 3),
            QStringList({ "9301:1", "9302:" + QString::number(hz), "9305:1" }));

        // Double-click on band 4's gain dial in the right channel: back to 0 dB.
        setMode("L/R", true);
        EQ_R[4]->gain = 3.0;
        fillRows();
        engine().clearWrites();
        Balance1* gain4 = row(4).gainDial.of(ui());
        bringIntoView(gain4);
        QTest::mouseDClick(gain4, Qt::LeftButton);
        QCOMPARE(EQ_R[4]->gain, 0.0);
        QCOMPARE(row(4).gainText.of(ui())->text(), QString("0.0dB"));
        QCOMPARE(written(), QStringList({ "9406:1", "9408:0", "940a:1" }));

        // Double-click on band 1's Q dial: Q 0.707, Q frame first.
        setMode("L/R", false);
        engine().clearWrites();
        Balance* q1 = row(1).qDial.of(ui());
        q1->Q_setValue(30);
        bringIntoView(q1);
        QTest::mouseDClick(q1, Qt::LeftButton);
        QCOMPARE(EQ[1]->Q, 0.707);
        QCOMPARE(row(1).qText.of(ui())->text(), QString("0.7070"));
        QCOMPARE(written(), QStringList({ "9104:7070", "9101:1", "9105:1" }));
    }

    // The Q dial sends its table's integer; the same Q coded from the stored
    // double by a type change comes out one lower.
    void qDialThenTypeChange()
    {
        row(1).qDial.of(ui())->Q_setValue(23);
        wheel(row(1).qDial.of(ui()));
        QTRY_COMPARE(EQ[1]->Q, 1.1642);
        QCOMPARE(row(1).qText.of(ui())->text(), QString("1.1642"));
        QCOMPARE(written(),
            QStringList({ "9104:11642", "9101:1", "9105:1", "9109:11642", "9106:1", "910a:1" }));

        engine().clearWrites();
        QVERIFY(choose(row(1).typeCombo.of(ui()), 3));
        QCOMPARE(EQ[1]->type, 4);
        QCOMPARE(written(),
            QStringList({ "9101:4", "9102:1000", "9103:0", "9104:11641", "9105:1", "9106:4",
                "9107:1000", "9108:0", "9109:11641", "910a:1" }));
        QCOMPARE(row(1).freqLabelCombo.of(ui())->currentIndex(), 1);
    }

    void frequencyEntry_data()
    {
        QTest::addColumn<int>("band");
        QTest::addColumn<QString>("mode");
        QTest::addColumn<bool>("right");
        QTest::addColumn<bool>("connected");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("hz");
        QTest::addColumn<QStringList>("frames");
        QTest::newRow("L+R, unit in lower case")
            << 1 << "L+R" << false << true << "1000hz" << 1000
            << QStringList { "9101:1", "9102:1000", "9105:1", "9106:1", "9107:1000", "910a:1" };
        QTest::newRow("band 2 keeps type first") << 2 << "L/R" << false << true << "440" << 440
                                                 << QStringList { "9201:1", "9202:440", "9205:1" };
        QTest::newRow("right, below 20") << 2 << "L/R" << true << true << "19" << 632
                                         << QStringList { "9206:1", "9207:632", "920a:1" };
        QTest::newRow("seven digits, not connected")
            << 3 << "L+R" << false << false << "1234567" << 22000 << QStringList {};
    }

    void frequencyEntry()
    {
        QFETCH(int, band);
        QFETCH(QString, mode);
        QFETCH(bool, right);
        QFETCH(bool, connected);
        QFETCH(QString, typed);
        QFETCH(int, hz);
        QFETCH(QStringList, frames);
        setMode(mode, right);
        fillRows();
        hid_status = connected ? 1 : 0;
        engine().clearWrites();
        EQ_data* const* edited = editedBy(mode, right);

        typeInto(row(band).freqText.of(ui()), typed);
        QCOMPARE(edited[band]->center_frequency, hz);
        QCOMPARE(row(band).freqText.of(ui())->text(), QString::number(hz) + "Hz");
        QCOMPARE(
            row(band).freqDial.of(ui())->getValue(), double(value_deal::line_fre_value_deal(hz)));
        QCOMPARE(in().each_EQ_num, band);
        QCOMPARE(written(), frames);
    }

    void gainEntry_data()
    {
        QTest::addColumn<int>("band");
        QTest::addColumn<QString>("mode");
        QTest::addColumn<bool>("right");
        QTest::addColumn<bool>("tenths");
        QTest::addColumn<bool>("connected");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<double>("gain");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("position");
        QTest::addColumn<QStringList>("frames");
        // Two groups: the dial handler's (its band order), then the entry's (gain first).
        QTest::newRow("L+R, stored unrounded")
            << 2 << "L+R" << false << false << true << "3.14" << 3.14 << "3.1dB" << 6
            << QStringList { "9201:1", "9203:6", "9205:1", "9206:1", "9208:6", "920a:1", "9203:6",
                   "9201:1", "9205:1", "9208:6", "9206:1", "920a:1" };
        QTest::newRow("L+R, tenths")
            << 2 << "L+R" << false << true << true << "3.14" << 3.14 << "3.1dB" << 6
            << QStringList { "9201:1", "9203:31", "9205:1", "9206:1", "9208:31", "920a:1",
                   "9203:31", "9201:1", "9205:1", "9208:31", "9206:1", "920a:1" };
        QTest::newRow("left, band 1, unit in capitals")
            << 1 << "L/R" << false << false << true << "-5DB" << -5.0 << "-5.0dB" << -10
            << QStringList { "9103:-10", "9101:1", "9105:1", "9103:-10", "9101:1", "9105:1" };
        QTest::newRow("right, overlong cut stays a cut")
            << 2 << "L/R" << true << false << true << "-123456789" << -12.0 << "-12.0dB" << -24
            << QStringList { "9206:1", "9208:-24", "920a:1", "9208:-24", "9206:1", "920a:1" };
        QTest::newRow("not a number, not connected")
            << 3 << "L+R" << false << false << false << "abc" << 0.0 << "0.0dB" << 0
            << QStringList {};
    }

    void gainEntry()
    {
        QFETCH(int, band);
        QFETCH(QString, mode);
        QFETCH(bool, right);
        QFETCH(bool, tenths);
        QFETCH(bool, connected);
        QFETCH(QString, typed);
        QFETCH(double, gain);
        QFETCH(QString, text);
        QFETCH(int, position);
        QFETCH(QStringList, frames);
        setMode(mode, right);
        EQ_data* const* edited = editedBy(mode, right);
        edited[band]->gain = 2.0;
        fillRows();
        Gain_flag = tenths;
        hid_status = connected ? 1 : 0;
        engine().clearWrites();

        typeInto(row(band).gainText.of(ui()), typed);
        QCOMPARE(edited[band]->gain, gain);
        QCOMPARE(row(band).gainText.of(ui())->text(), text);
        QCOMPARE(row(band).gainDial.of(ui())->getValue(), double(position));
        QCOMPARE(written(), frames);
    }

    void qEntry_data()
    {
        QTest::addColumn<int>("band");
        QTest::addColumn<QString>("mode");
        QTest::addColumn<bool>("right");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<double>("q");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("frames");
        QTest::newRow("L+R, falls a step")
            << 1 << "L+R" << false << "0.57" << 0.5699 << "0.5699"
            << QStringList { "9101:1", "9104:5699", "9105:1", "9106:1", "9109:5699", "910a:1" };
        QTest::newRow("left, above the limit") << 2 << "L/R" << false << "20" << 15.0 << "15.0000"
                                               << QStringList { "9201:1", "9204:150000", "9205:1" };
        QTest::newRow("right, NaN") << 3 << "L/R" << true << "nan" << 0.707 << "0.7070"
                                    << QStringList { "9306:1", "9309:7070", "930a:1" };
    }

    void qEntry()
    {
        QFETCH(int, band);
        QFETCH(QString, mode);
        QFETCH(bool, right);
        QFETCH(QString, typed);
        QFETCH(double, q);
        QFETCH(QString, text);
        QFETCH(QStringList, frames);
        setMode(mode, right);
        EQ_data* const* edited = editedBy(mode, right);
        edited[band]->Q = 2.0;
        fillRows();
        engine().clearWrites();

        typeInto(row(band).qText.of(ui()), typed);
        QCOMPARE(edited[band]->Q, q);
        QCOMPARE(row(band).qText.of(ui())->text(), text);
        QCOMPARE(row(band).qDial.of(ui())->getValue(),
            double(value_deal::line_Q_value_deal(bandQCode(q))));
        QCOMPARE(in().each_EQ_num, band);
        QCOMPARE(written(), frames);
    }

    void preampDial_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<bool>("right");
        QTest::addColumn<int>("deviceState");
        QTest::addColumn<QStringList>("frames");
        // Left preamp on at +2.0 dB, right preamp off at -3.0 dB; the edit moves one to -2.5 dB.
        QTest::newRow("L+R") << "L+R" << false << 0
                             << QStringList { "9c01:" + modulus(-25), "9c02:1",
                                    "9c03:" + modulus(-25), "9c04:1" };
        QTest::newRow("right, 0xC1")
            << "L/R" << true << 0xC1
            << QStringList { "9c01:" + modulus(20), "9c02:1", "9c03:" + modulus(-25), "9c04:0" };
        QTest::newRow("right, 0x80")
            << "L/R" << true << 0x80 << QStringList { "9c03:" + modulus(-25), "9c04:0" };
        QTest::newRow("left, 0x81")
            << "L/R" << false << 0x81
            << QStringList { "9c01:" + modulus(-25), "9c02:1", "9c03:" + modulus(-30), "9c04:0" };
    }

    void preampDial()
    {
        QFETCH(QString, mode);
        QFETCH(bool, right);
        QFETCH(int, deviceState);
        QFETCH(QStringList, frames);
        setMode(mode, right);
        const bool rightSet = mode != "L+R" && right;
        *EQ[0] = { 1, 1, 632, rightSet ? 2.0 : -3.0, 0.707 };
        *EQ_R[0] = { 0, 1, 632, -3.0, 0.707 };
        fillRows();
        status_bar_value.device_eq_status = deviceState;
        engine().clearWrites();

        wheel(ui().gbox1_BL1);
        QTRY_COMPARE((rightSet ? EQ_R : EQ)[0]->gain, -2.5);
        QCOMPARE(ui().gbox1_lineEdit->text(), QString("-2.5dB"));
        QCOMPARE(written(), frames);
    }

    void preampEntry_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<bool>("right");
        QTest::addColumn<int>("leftStatus");
        QTest::addColumn<int>("deviceState");
        QTest::addColumn<QStringList>("frames");
        const QString g = "9c01:" + modulus(24);
        const QString r = "9c03:" + modulus(24);
        const QString otherRight = "9c03:" + modulus(-30);
        QTest::newRow("L+R, two groups")
            << "L+R" << false << 1 << 0
            << QStringList { g, "9c02:1", "9c03:" + modulus(24), "9c04:1", g, "9c02:1",
                   "9c03:" + modulus(24), "9c04:1" };
        // The left preamp off: only the dial handler's frames go out.
        QTest::newRow("left, left preamp off, 0x81")
            << "L/R" << false << 0 << 0x81 << QStringList { g, "9c02:0", otherRight, "9c04:1" };
        QTest::newRow("left, left preamp off")
            << "L/R" << false << 0 << 0 << QStringList { g, "9c02:0" };
        QTest::newRow("left, left preamp on, 0xC1")
            << "L/R" << false << 1 << 0xC1
            << QStringList { g, "9c02:1", otherRight, "9c04:1", g, "9c02:1", otherRight, "9c04:1" };
        QTest::newRow("right, left preamp off, 0x81")
            << "L/R" << true << 0 << 0x81
            << QStringList { "9c01:" + modulus(-30), "9c02:0", r, "9c04:1", "9c01:" + modulus(-30),
                   "9c02:0", r, "9c04:1" };
    }

    void preampEntry()
    {
        QFETCH(QString, mode);
        QFETCH(bool, right);
        QFETCH(int, leftStatus);
        QFETCH(int, deviceState);
        QFETCH(QStringList, frames);
        setMode(mode, right);
        const bool rightSet = mode != "L+R" && right;
        *EQ[0] = { static_cast<uint8_t>(leftStatus), 1, 632, -3.0, 0.707 };
        *EQ_R[0] = { 1, 1, 632, -3.0, 0.707 };
        fillRows();
        status_bar_value.device_eq_status = deviceState;
        engine().clearWrites();

        typeInto(ui().gbox1_lineEdit, "2.36dB");
        QCOMPARE((rightSet ? EQ_R : EQ)[0]->gain, 2.4);
        QCOMPARE(ui().gbox1_lineEdit->text(), QString("2.4dB"));
        QCOMPARE(ui().gbox1_BL1->getValue(), 4.0);
        QCOMPARE(written(), frames);
    }

    void lowPassThroughTheCombo_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QStringList>("frames");
        QTest::newRow("L+R") << "L+R"
                             << QStringList { "9103:0", "9101:2", "9105:1", "9108:0", "9106:2",
                                    "910a:1", "9101:2", "9102:1000", "9103:0", "9104:7070",
                                    "9105:1", "9106:2", "9107:1000", "9108:0", "9109:7070",
                                    "910a:1" };
        QTest::newRow("left") << "L/R"
                              << QStringList { "9103:0", "9101:2", "9105:1", "9101:2", "9102:1000",
                                     "9103:0", "9104:7070", "9105:1" };
    }

    // Low-pass greys the gain and brings it to 0 dB through the dial, whose
    // frames come first; back to peaking frees it again at 0 dB.
    void lowPassThroughTheCombo()
    {
        QFETCH(QString, mode);
        QFETCH(QStringList, frames);
        setMode(mode, false);
        EQ[1]->gain = 4.0;
        fillRows();
        engine().clearWrites();
        const BandRowDescriptor& r = row(1);

        QVERIFY(choose(r.typeCombo.of(ui()), 1));
        QCOMPARE(written(), frames);
        QCOMPARE(EQ[1]->type, 2);
        QCOMPARE(EQ[1]->gain, 0.0);
        QCOMPARE(EQ_R[1]->type, 1);
        QCOMPARE(r.gainText.of(ui())->text(), QString("0.0dB"));
        QCOMPARE(r.freqLabelCombo.of(ui())->currentIndex(), 1);
        QVERIFY(!r.gainDial.of(ui())->isEnabled());
        QVERIFY(r.gainDial.of(ui())->isDialDisabled());
        QVERIFY(!r.gainText.of(ui())->isEnabled());
        QCOMPARE(r.gainDial.of(ui())->getPercentColor(), QColor(100, 100, 100));
        QCOMPARE(r.gainLabel.of(ui())->styleSheet(), QString(FormSheet::greyedGain));
        QCOMPARE(r.gainText.of(ui())->styleSheet(), QString(FormSheet::greyedGain));
        QCOMPARE(in().each_EQ_num, 1);

        engine().clearWrites();
        QVERIFY(choose(r.typeCombo.of(ui()), 0));
        QCOMPARE(EQ[1]->type, 1);
        QCOMPARE(EQ[1]->gain, 0.0);
        QCOMPARE(written().first(), QString("9101:1"));
        QCOMPARE(written().size(), mode == "L+R" ? 10 : 5);
        QCOMPARE(r.freqLabelCombo.of(ui())->currentIndex(), 0);
        QVERIFY(r.gainDial.of(ui())->isEnabled());
        QVERIFY(r.gainText.of(ui())->isEnabled());
        QCOMPARE(r.gainDial.of(ui())->getPercentColor(), QColor(216, 216, 216));
        QCOMPARE(r.gainLabel.of(ui())->styleSheet(), QString(FormSheet::liveGain));
        QCOMPARE(r.gainText.of(ui())->styleSheet(), QString(FormSheet::liveGain));

        // Choosing the item already shown changes nothing and sends nothing.
        engine().clearWrites();
        QVERIFY(choose(r.typeCombo.of(ui()), 0));
        QCOMPARE(written(), QStringList());
    }

    void typeRules()
    {
        // Right channel: only EQ_R, only the right fields.
        setMode("L/R", true);
        fillRows();
        engine().clearWrites();
        QVERIFY(choose(row(2).typeCombo.of(ui()), 4));
        QCOMPARE(EQ_R[2]->type, 5);
        QCOMPARE(EQ[2]->type, 1);
        QCOMPARE(
            written(), QStringList({ "9206:5", "9207:2000", "9208:0", "9209:7070", "920a:1" }));
        QCOMPARE(row(2).freqLabelCombo.of(ui())->currentIndex(), 1);

        // The factory-preset lock keeps the gain text closed for the live types.
        setMode("L+R", false);
        execute_biaozhi = false;
        biaozhi_name = "yyyy";
        morendevice_name = "Warm";
        QVERIFY(choose(row(3).typeCombo.of(ui()), 3));
        QVERIFY(row(3).gainDial.of(ui())->isEnabled());
        QVERIFY(!row(3).gainText.of(ui())->isEnabled());
        QVERIFY(choose(row(3).typeCombo.of(ui()), 0));
        QVERIFY(!row(3).gainText.of(ui())->isEnabled());
        execute_biaozhi = true;
        QVERIFY(choose(row(3).typeCombo.of(ui()), 4));
        QVERIFY(row(3).gainText.of(ui())->isEnabled());

        // A type the box does not offer (a corrupt preset) is taken as peaking.
        EQ[4]->type = 9;
        EQ[4]->gain = 5.0;
        engine().clearWrites();
        w->set_cb4_type(8);
        QCOMPARE(EQ[4]->type, 1);
        QCOMPARE(EQ[4]->gain, 5.0);
        QCOMPARE(row(4).typeCombo.of(ui())->currentIndex(), 0);
        QCOMPARE(row(4).freqLabelCombo.of(ui())->currentIndex(), 0);
        QVERIFY(row(4).gainText.of(ui())->isEnabled());
        QCOMPARE(written().mid(0, 1), QStringList({ "9401:1" }));
        QCOMPARE(written().size(), 10);

        // Band 11 (never shown) fits its row like the others.
        EQ[11]->gain = 6.0;
        engine().clearWrites();
        w->set_cb11_type(2);
        QCOMPARE(EQ[11]->type, 3);
        QCOMPARE(EQ[11]->gain, 0.0);
        QVERIFY(!row(11).gainDial.of(ui())->isEnabled());
        QCOMPARE(row(11).freqLabelCombo.of(ui())->currentIndex(), 1);
        QCOMPARE(written().mid(6, 5),
            QStringList({ "9b01:3", "9b02:1000", "9b03:0", "9b04:7070", "9b05:1" }));

        // Not connected: the record and the row follow, nothing is sent.
        hid_status = 0;
        engine().clearWrites();
        QVERIFY(choose(row(1).typeCombo.of(ui()), 2));
        QCOMPARE(EQ[1]->type, 3);
        QCOMPARE(written(), QStringList());
    }

    void bandSwitch_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<bool>("right");
        QTest::addColumn<bool>("tenths");
        QTest::addColumn<QStringList>("on");
        QTest::addColumn<QStringList>("off");
        QTest::newRow("L+R") << "L+R" << false << false
                             << QStringList { "9301:4", "9302:1000", "9303:5", "9304:7070",
                                    "9305:1", "9306:4", "9307:1000", "9308:5", "9309:7070",
                                    "930a:1" }
                             << QStringList { "9305:0", "930a:0" };
        QTest::newRow("L+R, tenths")
            << "L+R" << false << true
            << QStringList { "9301:4", "9302:1000", "9303:27", "9304:7070", "9305:1", "9306:4",
                   "9307:1000", "9308:27", "9309:7070", "930a:1" }
            << QStringList { "9305:0", "930a:0" };
        QTest::newRow("left") << "L/R" << false << false
                              << QStringList { "9301:4", "9302:1000", "9303:5", "9304:7070",
                                     "9305:1" }
                              << QStringList { "9305:0" };
        QTest::newRow("right") << "L/R" << true << false
                               << QStringList { "9306:4", "9307:2000", "9308:5", "9309:7070",
                                      "930a:1" }
                               << QStringList { "930a:0" };
    }

    // Band 3 clicked on and off again: status, type from its box, caption,
    // count, curve and frames.
    void bandSwitch()
    {
        QFETCH(QString, mode);
        QFETCH(bool, right);
        QFETCH(bool, tenths);
        QFETCH(QStringList, on);
        QFETCH(QStringList, off);
        setMode(mode, right);
        EQ_data* const* edited = editedBy(mode, right);
        EQ_data* const* other = edited == EQ ? EQ_R : EQ;
        edited[3]->status = 0;
        edited[3]->gain = 2.75;
        fillRows();
        {
            // The box shows low-shelf while the record still says peaking.
            const QSignalBlocker quiet(row(3).typeCombo.of(ui()));
            row(3).typeCombo.of(ui())->setCurrentIndex(3);
        }
        if (!in().Each_show)
            ui().checkBox_each->click();
        status_bar_value.eq_count = 2;
        Gain_flag = tenths;
        engine().clearWrites();

        click(row(3).enable.of(ui()));
        QCOMPARE(edited[3]->status, uint8_t(1));
        QCOMPARE(edited[3]->type, 4);
        QCOMPARE(other[3]->type, 1);
        QCOMPARE(row(3).freqLabelCombo.of(ui())->currentIndex(), 1);
        QVERIFY(!row(3).freqLabelCombo.of(ui())->isEnabled());
        QCOMPARE(statusLabel3->text(), QString("   EQ:3   "));
        QCOMPARE(written(), on);
        QCOMPARE(in().each_EQ_num, 3);
        QTRY_VERIFY(!series(ResponseChart::kFirstBand + 2).isEmpty());

        engine().clearWrites();
        click(row(3).enable.of(ui()));
        QCOMPARE(edited[3]->status, uint8_t(0));
        QVERIFY(row(3).freqLabelCombo.of(ui())->isEnabled());
        QCOMPARE(statusLabel3->text(), QString("   EQ:2   "));
        QCOMPARE(written(), off);
        QVERIFY(series(ResponseChart::kFirstBand + 2).isEmpty());
        QCOMPARE(other[3]->status, uint8_t(1));
    }

    void switchRules()
    {
        // The preamp: its pair(s) without the 0x81 test, and the count stays.
        *EQ[0] = { 0, 1, 632, -3.0, 0.707 };
        fillRows();
        status_bar_value.eq_count = 4;
        status_bar_value.device_eq_status = 0x81;
        engine().clearWrites();
        click(ui().checkBox);
        QCOMPARE(EQ[0]->status, uint8_t(1));
        QCOMPARE(written(),
            QStringList({ "9c01:" + modulus(-30), "9c02:1", "9c03:" + modulus(-30), "9c04:1" }));
        QCOMPARE(status_bar_value.eq_count, 4);
        engine().clearWrites();
        click(ui().checkBox);
        QCOMPARE(written(), QStringList({ "9c02:0", "9c04:0" }));
        setMode("L/R", false);
        engine().clearWrites();
        click(ui().checkBox);
        QCOMPARE(written(), QStringList({ "9c01:" + modulus(-30), "9c02:1" }));

        // No current type item: the stored type stays and is sent.
        setMode("L+R", false);
        EQ[2]->status = 0;
        EQ[2]->type = 5;
        fillRows();
        {
            const QSignalBlocker quiet(row(2).typeCombo.of(ui()));
            row(2).typeCombo.of(ui())->setCurrentIndex(-1);
        }
        engine().clearWrites();
        click(row(2).enable.of(ui()));
        QCOMPARE(EQ[2]->type, 5);
        QCOMPARE(written().first(), QString("9201:5"));

        // Not connected: the model and the count follow, nothing is sent.
        hid_status = 0;
        status_bar_value.eq_count = 1;
        engine().clearWrites();
        click(row(1).enable.of(ui()));
        QCOMPARE(EQ[1]->status, uint8_t(0));
        QCOMPARE(statusLabel3->text(), QString("   EQ:0   "));
        QCOMPARE(written(), QStringList());
    }

    void addUpToTenRows()
    {
        showRows(2);
        const uint8_t on[] = { 1, 1, 0, 1, 0, 1, 1, 1, 0, 1, 1 };
        for (int band = 1; band <= 11; ++band)
            EQ[band]->status = on[band - 1];
        fillRows();
        status_bar_value.eq_count = 2;
        int count = 2;
        for (int n = 3; n <= 10; ++n) {
            QVERIFY(ui().PButton_AddEQ->isVisible());
            click(ui().PButton_AddEQ);
            QCOMPARE(show_EQ_ui, n);
            QVERIFY(w->Is_Show_EQ_ui(n));
            count += on[n - 1];
            QCOMPARE(statusLabel3->text(), eqCountText(count));
        }
        QVERIFY(!ui().groupBox_23->isVisible());
        QVERIFY(!w->Is_Show_EQ_ui(11));
        // The button is out of reach now; its slot called anyway does nothing.
        w->on_PButton_AddEQ_clicked();
        QCOMPARE(show_EQ_ui, 10);
        QVERIFY(!w->Is_Show_EQ_ui(11));
        QCOMPARE(status_bar_value.eq_count, count);
        QCOMPARE(written(), QStringList());

        QVERIFY(!w->is_Show_checkbox(0));
        QVERIFY(!w->is_Show_checkbox(12));
        QVERIFY(w->is_Show_checkbox(11));
        QVERIFY(!w->Is_Show_EQ_ui(0));
        QVERIFY(!w->Is_Show_EQ_ui(12));
    }

    void reloadReveal()
    {
        // Rows revealed one by one while a reload counts the switched-on ones.
        showRows(0);
        EQ[2]->status = 0;
        fillRows();
        tem = 0;
        status_bar_value.eq_count = 0;
        w->Add_Show_EQ_ui(1);
        w->Add_Show_EQ_ui(2);
        QCOMPARE(tem, 1);
        QCOMPARE(statusLabel3->text(), QString("   EQ:1   "));
        // A count already above the running one is kept.
        status_bar_value.eq_count = 5;
        w->Add_Show_EQ_ui(3);
        QCOMPARE(tem, 2);
        QCOMPARE(statusLabel3->text(), QString("   EQ:5   "));
        w->Add_Show_EQ_ui(10);
        QVERIFY(!ui().groupBox_23->isVisible());
        w->Add_Show_EQ_ui(12); // no such row: only the add box comes back
        QVERIFY(ui().groupBox_23->isVisible());
    }

    void removeMiddleRow()
    {
        showRows(5);
        for (int band = 1; band <= 5; ++band)
            *EQ[band] = { uint8_t(band % 2), band, 100 * band, double(band), 0.5 * band };
        fillRows();
        EQ_data rightBefore[12];
        for (int k = 0; k < 12; ++k)
            rightBefore[k] = *EQ_R[k];
        EQ_data* const pointers[12] = { EQ[0], EQ[1], EQ[2], EQ[3], EQ[4], EQ[5], EQ[6], EQ[7],
            EQ[8], EQ[9], EQ[10], EQ[11] };

        click(row(3).removeButton.of(ui()));
        QCOMPARE(cur_remove_EQ_ui, 3);
        QCOMPARE(show_EQ_ui, 4);
        QCOMPARE(EQ[3]->center_frequency, 400);
        QCOMPARE(EQ[3]->status, uint8_t(0));
        QCOMPARE(EQ[4]->center_frequency, 500);
        QCOMPARE(EQ[4]->type, 5);
        QCOMPARE(EQ[4]->Q, 2.5);
        const EQ_data& freed = *EQ[5];
        QCOMPARE(freed.status, uint8_t(1));
        QCOMPARE(freed.type, 1);
        QCOMPARE(freed.center_frequency, 632);
        QCOMPARE(freed.gain, 0.0);
        QCOMPARE(freed.Q, 0.707);
        QCOMPARE(EQ[2]->center_frequency, 200);
        for (int k = 0; k < 12; ++k) {
            QCOMPARE(EQ[k], pointers[k]); // contents moved, not pointers
            QCOMPARE(EQ_R[k]->center_frequency, rightBefore[k].center_frequency);
        }
        QVERIFY(!w->Is_Show_EQ_ui(5));
        QVERIFY(w->Is_Show_EQ_ui(4));
        QVERIFY(ui().groupBox_23->isVisible());

        // Rows 1 to 4 now hold bands on, off, off, on: the refresh recounts them.
        QCOMPARE(statusLabel3->text(), QString("   EQ:2   "));
    }

    void removeLastThenAdd()
    {
        showRows(3);
        EQ[3]->status = 0;
        fillRows();
        status_bar_value.eq_count = 2;
        click(row(3).removeButton.of(ui()));
        QCOMPARE(show_EQ_ui, 2);
        QCOMPARE(EQ[2]->center_frequency, 1000);
        QCOMPARE(EQ[3]->status, uint8_t(1));
        QCOMPARE(EQ[3]->center_frequency, 632);
        QVERIFY(!w->Is_Show_EQ_ui(3));

        click(ui().PButton_AddEQ);
        QCOMPARE(show_EQ_ui, 3);
        QVERIFY(w->Is_Show_EQ_ui(3));
        // The freed record is on, so its row comes back checked and counted.
        QVERIFY(w->is_Show_checkbox(3));
        QCOMPARE(statusLabel3->text(), QString("   EQ:3   "));
    }

    void removeOnlyRowThenAdd()
    {
        showRows(1);
        EQ[1]->center_frequency = 50;
        fillRows();
        click(row(1).removeButton.of(ui()));
        QCOMPARE(show_EQ_ui, 0);
        QVERIFY(!w->Is_Show_EQ_ui(1));
        QVERIFY(ui().groupBox_23->isVisible());
        QCOMPARE(EQ[1]->center_frequency, 632);
        click(ui().PButton_AddEQ);
        QCOMPARE(show_EQ_ui, 1);
        QVERIFY(w->Is_Show_EQ_ui(1));
    }

    void removeFromTenRows()
    {
        showRows(10);
        QVERIFY(!ui().groupBox_23->isVisible());
        click(row(4).removeButton.of(ui()));
        QCOMPARE(show_EQ_ui, 9);
        QVERIFY(!w->Is_Show_EQ_ui(10));
        QVERIFY(ui().groupBox_23->isVisible());
    }

    void removeRightChannel()
    {
        setMode("L/R", true);
        for (int band = 1; band <= 4; ++band)
            EQ_R[band]->center_frequency = 3000 + band;
        fillRows();
        click(row(2).removeButton.of(ui()));
        QCOMPARE(EQ_R[2]->center_frequency, 3003);
        QCOMPARE(EQ_R[3]->center_frequency, 3004);
        QCOMPARE(EQ_R[4]->center_frequency, 632);
        for (int band = 1; band <= 11; ++band) {
            QCOMPARE(EQ[band]->center_frequency, 1000);
            QCOMPARE(EQ[band]->status, uint8_t(1));
        }
        QCOMPARE(show_EQ_ui, 3);
    }

    void removeOutsideTheShownRowsIsIgnored_data()
    {
        QTest::addColumn<int>("shown");
        QTest::addColumn<int>("band");
        QTest::newRow("row below the shown ones") << 3 << 5;
        QTest::newRow("no row shown") << 0 << 1;
        QTest::newRow("eleven rows counted") << 11 << 11;
        QTest::newRow("negative count") << -2 << 1;
    }

    void removeOutsideTheShownRowsIsIgnored()
    {
        QFETCH(int, shown);
        QFETCH(int, band);
        EQ_data before[12];
        for (int k = 0; k < 12; ++k) {
            EQ[k]->center_frequency = 100 + k;
            before[k] = *EQ[k];
        }
        show_EQ_ui = shown;
        cur_remove_EQ_ui = 0;
        QMetaObject::invokeMethod(
            w.get(), qPrintable(QString("on_PButton_RemoveEQ_%1_clicked").arg(band)));
        QCOMPARE(show_EQ_ui, shown);
        QCOMPARE(cur_remove_EQ_ui, 0);
        for (int k = 0; k < 12; ++k) {
            QCOMPARE(EQ[k]->center_frequency, before[k].center_frequency);
            QCOMPARE(EQ[k]->status, before[k].status);
        }
    }

    // The left/right switch reloads the editor from the other set and recounts.
    void channelSwitch()
    {
        setMode("L/R", false);
        for (int band = 1; band <= 4; ++band) {
            EQ[band]->status = band <= 3;
            EQ_R[band]->status = band == 1;
        }
        // The reload lays the rows out from the set: only bands 1 to 4 hold filters.
        for (int band = 5; band <= 11; ++band) {
            clearBand(*EQ[band]);
            clearBand(*EQ_R[band]);
        }
        fillRows();
        in().checkBox_channel->show();
        testsupport::passDebugLines() = true;
        QTest::ignoreMessage(QtDebugMsg, "Checkbox is now checked.");
        QTest::ignoreMessage(
            QtDebugMsg, QRegularExpression("^status_bar_value.device_eq_status 0$"));
        click(in().checkBox_channel);
        QCOMPARE(statusLabel3->text(), QString("   EQ:1   "));
        QTest::ignoreMessage(QtDebugMsg, "Checkbox is now unchecked.");
        click(in().checkBox_channel);
        testsupport::passDebugLines() = false;
        QCOMPARE(statusLabel3->text(), QString("   EQ:3   "));
        QCOMPARE(w->editedSet(), EQ);
    }

    // The sets point into the selected preset, so an edit is what the next save writes.
    void editLandsInThePreset()
    {
        QVERIFY(editFirstPreset());
        *EQ[1] = { 1, 1, 1000, 1.0, 0.707 };
        fillRows();
        wheel(row(1).gainDial.of(ui()));
        QTRY_COMPARE(CB_data[0]->eq[1]->gain, 1.5);
        QCOMPARE(in().autosave_done, 0);
        w->timeoutSlot();

        QCOMPARE(savedField("eq_1").split(' ').value(3), QString("1.5"));
    }

    // A value typed but not yet confirmed (no Return, the caret still in the
    // field) is saved and sent by Ctrl+S exactly as by a click on the Save icon.
    void savePendingEntry_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<bool>("byKey");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("key"); // of the preset file
        QTest::addColumn<QString>("saved");
        QTest::addColumn<QStringList>("frames");
        const QStringList freq { "9101:1", "9102:500", "9105:1", "9106:1", "9107:500", "910a:1" };
        // Two groups: the gain dial's, then the entry's.
        const QStringList gain { "9103:10", "9101:1", "9105:1", "9108:10", "9106:1", "910a:1",
            "9103:10", "9101:1", "9105:1", "9108:10", "9106:1", "910a:1" };
        const QStringList q { "9101:1", "9104:20000", "9105:1", "9106:1", "9109:20000", "910a:1" };
        const QString m = modulus(-60);
        const QStringList preamp { "9c01:" + m, "9c02:1", "9c03:" + m, "9c04:1", "9c01:" + m,
            "9c02:1", "9c03:" + m, "9c04:1" };
        for (const bool byKey : { true, false }) {
            const char* how = byKey ? "Ctrl+S" : "Save icon";
            QTest::addRow("frequency, %s", how) << "frequency" << byKey << "500"
                                                << "eq_1"
                                                << "1 1 500 0 0.707" << freq;
            QTest::addRow("gain, %s", how) << "gain" << byKey << "5"
                                           << "eq_1"
                                           << "1 1 1000 5 0.707" << gain;
            QTest::addRow("Q, %s", how) << "Q" << byKey << "2"
                                        << "eq_1"
                                        << "1 1 1000 0 2" << q;
            QTest::addRow("preamp, %s", how) << "preamp" << byKey << "-6"
                                             << "eq_gain"
                                             << "1 -6.0" << preamp;
        }
    }

    void savePendingEntry()
    {
        QFETCH(QString, field);
        QFETCH(bool, byKey);
        QFETCH(QString, typed);
        QFETCH(QString, key);
        QFETCH(QString, saved);
        QFETCH(QStringList, frames);
        // The caret needs the active window; a combo box's list may have been last.
        w->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), w.get());
        ui().PButton_Set_2->setFocus(); // where the window starts; no field holds the caret
        QVERIFY(editFirstPreset());
        *EQ[0] = { 1, 1, 632, -3.0, 0.707 };
        *EQ[1] = kLeftBand;
        fillRows();
        engine().clearWrites();

        QLineEdit* edit = field == "frequency" ? row(1).freqText.of(ui())
            : field == "gain"                  ? row(1).gainText.of(ui())
            : field == "Q"                     ? row(1).qText.of(ui())
                                               : ui().gbox1_lineEdit;
        bringIntoView(edit);
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, typed);
        QVERIFY(edit->hasFocus());
        QVERIFY(written().isEmpty());

        if (byKey)
            QTest::keyClick(edit, Qt::Key_S, Qt::ControlModifier);
        else
            click(ui().PButton_Set_2);

        QCOMPARE(written(), frames);
        QCOMPARE(savedField(key), saved);
    }
};

int main(int argc, char* argv[])
{
    MacApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    TestBandEditWindow test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "test_band_edit_window.moc"
