// The response plot on a real main window: the chart in the form, the curve
// switches and their settings, the start-up restore, the deferred per-band
// curve, the filtered-curve settings, the wheel zoom and the drawn chart.

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGraphicsItem>
#include <QGraphicsScene>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLayout>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QLegend>
#include <QtCharts/QLogValueAxis>
#include <QtCharts/QSplineSeries>
#include <QtCharts/QValueAxis>
#include <qpa/qwindowsysteminterface.h>

#include <cmath>
#include <memory>

#include "app/macapplication.h"
#include "app/mainwindow.h"
#include "window_internals.h"
#include "app/mainwindow_ui.h"
#include "device/threads.h"
#include "dsp/band.h"
#include "dsp/grid.h"
#include "dsp/response.h"
#include "plot/curve_switches.h"
#include "plot/curves.h"
#include "plot/response_chart.h"
#include "settings/systemsetting.h"
#include "store/settings.h"
#include "widgets/customcontrols.h"
#include "widgets/resources.h"
#include "curve_fixtures.h"
#include "deadlines.h"
#include "screen_image.h"
#include "warning_log.h"
#include "window_fixture.h"

namespace {

const int kGrid = int(kGridSize);

QJsonObject settingsFile()
{
    QFile f(settingsFilePath());
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(f.readAll()).object();
}

bool sameCurve(const QList<QPointF>& a, const CurvePoints& b, double tolerance = 1e-9)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype k = 0; k < a.size(); ++k) {
        if (a[k].x() != b[k].x() || std::fabs(a[k].y() - b[k].y()) > tolerance)
            return false;
    }
    return true;
}

} // namespace

class TestPlotWindow : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<MainWindow> w;

    // Writes the six switch fields (in CurveSwitch order) before the window reads them.
    void storeMarks(const QList<bool>& marks, int language = 1)
    {
        config_Init();
        sysSetValue.Language = language;
        sysSetValue.Target_Mark = marks[0];
        sysSetValue.Source_Mark = marks[1];
        sysSetValue.Each_Mark = marks[2];
        sysSetValue.Combined_Mark = marks[3];
        sysSetValue.Filtered_Mark = marks[4];
        sysSetValue.Raw_Mark = marks[5];
        Config_update();
    }

    MainWindow& window()
    {
        if (!w) {
            w = std::make_unique<MainWindow>();
            // The start-up fill of the controls runs deferred; let it pass.
            QCoreApplication::processEvents();
        }
        return *w;
    }
    ResponseChart plot() { return ResponseChart(internals(window()).chartView); }
    int points(int series) { return int(plot().series(series)->count()); }
    QCheckBox* box(CurveSwitch id)
    {
        return window().findChild<QCheckBox*>(curveSwitchRow(id).checkBox);
    }
    // A click as the user makes it; the slot is reached through its by-name binding.
    void click(CurveSwitch id) { box(id)->click(); }

private slots:
    void initTestCase()
    {
        initResources();
        testsupport::installWarningLog();
    }

    void init()
    {
        testsupport::warningLog().clear();
        dir = freshWindowDir();
        QVERIFY(dir);
    }

    void cleanup()
    {
        w.reset();
        for (const QString& warning : testsupport::warningLog())
            QVERIFY2(!warning.contains("No matching signal"), qPrintable(warning));
    }

    void cleanupTestCase() { stopDeviceThreads(); }

    void chartBuilt()
    {
        MainWindow& mw = window();
        const MainWindowInternals in = internals(mw);
        const QList<QAbstractSeries*> series = in.chart->series();
        QCOMPARE(series.size(), 15);
        const QStringList names = { "spline", "spline1", "spline2", "spline3" };
        for (int i = 0; i < 15; ++i) {
            QVERIFY(qobject_cast<QSplineSeries*>(series[i]));
            QCOMPARE(series[i]->name(), i < 4 ? names[i] : QString());
            QCOMPARE(series[i]->attachedAxes(), (QList<QAbstractAxis*> { in.axisX, in.axisY }));
        }
        QVERIFY(!in.chart->legend()->isVisible());
        QCOMPARE(in.chartView->chart(), in.chart);
        QVERIFY(in.chartView->renderHints().testFlag(QPainter::Antialiasing));
        QCOMPARE(in.axisX->min(), 20.0);
        QCOMPARE(in.axisX->max(), 22000.0);
        QCOMPARE(in.axisX->base(), 10.0);
        QCOMPARE(in.axisX->minorTickCount(), 8);
        QCOMPARE(in.axisX->alignment(), Qt::AlignBottom);
        QCOMPARE(in.axisY->alignment(), Qt::AlignLeft);
        QCOMPARE(in.axisY->min(), -20.0);
        QCOMPARE(in.axisY->max(), 20.0);
        QCOMPARE(in.chart->theme(), QChart::ChartThemeDark);
        QCOMPARE(in.chart->backgroundBrush().color(), QColor(0, 0, 0));
        QCOMPARE(in.chart->margins(), QMargins(0, 0, 0, 0));

        // First start: only the combined curve, with its pen.
        QCOMPARE(points(0), kGrid);
        for (int i = 1; i < 15; ++i)
            QCOMPARE(points(i), 0);
        const QPen combined = plot().series(0)->pen();
        QCOMPARE(combined.color(), QColor(255, 85, 0));
        QCOMPARE(combined.width(), 3);
        QVERIFY(plot().series(-1) == nullptr && plot().series(15) == nullptr);
    }

    // The first-start preset (preamp on at -3 dB, band 1 a 20 Hz peak) as the
    // library computes it and as computed independently.
    void combinedCurveOfFirstStart()
    {
        MainWindow& mw = window();
        const QList<QPointF> drawn = plot().series(0)->points();
        QVERIFY(sameCurve(drawn, combinedCurve(EQ, true)));
        const int at[7] = { 0, 42, 85, 103, 121, 162, 181 };
        const double db[7] = { 0.0000, -1.4394, -2.8822, -2.9697, -2.9924, -2.9997, -2.9999 };
        for (int i = 0; i < 7; ++i)
            QVERIFY2(
                std::fabs(drawn[at[i]].y() - db[i]) < 0.01, qPrintable(QString::number(at[i])));
        QCOMPARE(internals(mw).combined_fr.size(), kGridSize);
    }

    // The "PEQ Mode:" row above the chart, inside the black container.
    void chartInItsContainer()
    {
        MainWindow& mw = window();
        const MainWindowInternals in = internals(mw);
        QWidget* widget_3 = in.ui->widget_3;
        QVERIFY(in.label_PEQMode);
        QCOMPARE(in.label_PEQMode->text(), QString("PEQ Mode:"));
        QCOMPARE(in.label_PEQMode->objectName(), QString("label_PEQMode"));
        QCOMPARE(in.label_PEQMode->indent(), 25);
        for (QWidget* child : std::initializer_list<QWidget*> {
                 in.label_PEQMode, in.comboBox_PEQMode, in.checkBox_channel, in.chartView })
            QCOMPARE(child->parentWidget(), widget_3);
        auto* box = qobject_cast<QVBoxLayout*>(widget_3->layout());
        QVERIFY(box);
        QCOMPARE(box->contentsMargins(), QMargins(0, 0, 0, 0));
        QLayout* header = box->itemAt(0)->layout();
        QCOMPARE(header->itemAt(0)->layout()->contentsMargins(), QMargins(0, 25, 0, 0));
        QCOMPARE(header->itemAt(0)->layout()->itemAt(0)->widget(), in.label_PEQMode);
        QCOMPARE(header->itemAt(0)->layout()->itemAt(1)->widget(),
            static_cast<QWidget*>(in.comboBox_PEQMode));
        QCOMPARE(header->itemAt(1)->layout()->itemAt(2)->widget(),
            static_cast<QWidget*>(in.checkBox_channel));
        QCOMPARE(
            box->itemAt(1)->layout()->itemAt(0)->widget(), static_cast<QWidget*>(in.chartView));
        QVERIFY(in.comboBox_PEQMode->styleSheet().contains("combobox-popup: 0"));

        // Laid out: the header row sits above the chart, not over the logo.
        mw.show();
        QVERIFY(QTest::qWaitForWindowExposed(&mw));
        const QRect combo = in.comboBox_PEQMode->geometry();
        QVERIFY(combo.top() >= 25);
        QVERIFY(combo.bottom() < in.chartView->geometry().top());
        QVERIFY(in.chartView->height() > widget_3->height() / 2);
    }

    void switchShowsAndHides_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QList<int>>("drawn"); // series with points while shown
        QTest::addColumn<bool>("startsShown");
        QTest::newRow("Target") << int(CurveSwitch::Target) << "Target_Mark" << QList<int> { 2 }
                                << false;
        QTest::newRow("Source FR")
            << int(CurveSwitch::Source) << "Source_Mark" << QList<int> { 1 } << false;
        // Bands 1 and 3 on, band 2 off.
        QTest::newRow("Each Filter")
            << int(CurveSwitch::Each) << "Each_Mark" << QList<int> { 4, 6 } << false;
        QTest::newRow("Combined Filter")
            << int(CurveSwitch::Combined) << "Combined_Mark" << QList<int> { 0 } << true;
        QTest::newRow("Filtered FR")
            << int(CurveSwitch::Filtered) << "Filtered_Mark" << QList<int> { 3 } << false;
    }

    void switchShowsAndHides()
    {
        QFETCH(int, id);
        QFETCH(QString, key);
        QFETCH(QList<int>, drawn);
        QFETCH(bool, startsShown);
        const auto sw = CurveSwitch(id);
        MainWindow& mw = window();
        const MainWindowInternals in = internals(mw);
        in.fre_list = sourceRows();
        in.tar_list = targetRows();
        *EQ[3] = { 1, 4, 200, 5.0, 0.7 };
        mw.startThread();

        auto shownNow = [&] {
            QList<int> shown;
            for (int i = 0; i < 15; ++i)
                if (points(i) > 0)
                    shown << i;
            return shown;
        };
        const QList<int> others = startsShown ? QList<int> {} : QList<int> { 0 };
        QCOMPARE(box(sw)->isChecked(), startsShown);

        for (bool on : { !startsShown, startsShown }) {
            click(sw);
            QCOMPARE(box(sw)->isChecked(), on);
            QCOMPARE(shownNow(), on ? (others + drawn) : others);
            // Only the record changes; the file follows at the record's next save.
            QCOMPARE(settingsFile().value(key).toBool(), startsShown);
            const SysSetInfo& s = sysSetValue;
            const bool marks[] = { s.Target_Mark, s.Source_Mark, s.Each_Mark, s.Combined_Mark,
                s.Filtered_Mark, s.Raw_Mark };
            const bool flags[] = { in.Target_show, in.Source_show, in.Each_show, in.Combined_show,
                in.Filtered_show, in.Compensated_show };
            QCOMPARE(marks[id], on);
            QCOMPARE(flags[id], on);
        }
        click(sw);
        Config_update(); // the record's next save carries the new choice
        QCOMPARE(settingsFile().value(key).toBool(), !startsShown);
    }

    void shownCurvesAndPens()
    {
        MainWindow& mw = window();
        const MainWindowInternals in = internals(mw);
        in.fre_list = sourceRows();
        in.tar_list = targetRows();
        for (CurveSwitch id :
            { CurveSwitch::Source, CurveSwitch::Target, CurveSwitch::Filtered, CurveSwitch::Each })
            click(id);
        QVERIFY(sameCurve(
            plot().series(1)->points(), measuredCurve(sourceRows(), targetRows(), false)));
        QVERIFY(sameCurve(
            plot().series(2)->points(), measuredCurve(targetRows(), targetRows(), false)));
        QVERIFY(sameCurve(plot().series(3)->points(),
            filteredCurve(filt_combined_fr1, 0.0, sourceRows(), targetRows(), false, false)));
        QVERIFY(sameCurve(plot().series(4)->points(), bandCurve(*EQ[1], 1)));

        for (int i = 1; i < 15; ++i) {
            const QPen pen = plot().series(i)->pen();
            QCOMPARE(pen, ResponseChart::seriesPen(i));
        }
        QCOMPARE(plot().series(1)->pen().color(), QColor(255, 0, 0));
        QCOMPARE(plot().series(2)->pen().color(), QColor(216, 216, 216));
        QCOMPARE(plot().series(3)->pen().color(), QColor(0, 255, 255));
        QCOMPARE(plot().series(4)->pen().color(), QColor(0, 200, 0));
        QCOMPARE(plot().series(4)->pen().style(), Qt::DashLine);
        QCOMPARE(plot().series(14)->pen().color(), QColor(132, 214, 185));

        // Hiding the combined curve recomputes nothing; the filtered curve keeps its input.
        click(CurveSwitch::Combined);
        QCOMPARE(points(0), 0);
        mw.startThread();
        QCOMPARE(points(0), 0);
        QCOMPARE(points(3), kGrid);
    }

    void compensatedView_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("on");
        QTest::addColumn<QString>("off");
        QTest::newRow("English") << 1 << "Compensated"
                                 << "Raw";
        QTest::newRow("Chinese") << 0 << "补偿"
                                 << "原始";
    }

    void compensatedView()
    {
        QFETCH(int, language);
        QFETCH(QString, on);
        QFETCH(QString, off);
        storeMarks({ true, true, false, true, true, false }, language);
        MainWindow& mw = window();
        const MainWindowInternals in = internals(mw);
        in.fre_list = sourceRows();
        in.tar_list = targetRows();

        click(CurveSwitch::Compensated);
        QVERIFY(in.Compensated_show && sysSetValue.Raw_Mark);
        QCOMPARE(box(CurveSwitch::Compensated)->text(), on);
        QVERIFY(
            sameCurve(plot().series(1)->points(), measuredCurve(sourceRows(), targetRows(), true)));
        for (const QPointF& p : plot().series(2)->points())
            QCOMPARE(p.y(), 0.0); // the target against itself
        QVERIFY(sameCurve(plot().series(3)->points(),
            filteredCurve(filt_combined_fr1, 0.0, sourceRows(), targetRows(), false, true)));

        click(CurveSwitch::Compensated);
        QVERIFY(!in.Compensated_show && !sysSetValue.Raw_Mark);
        QCOMPARE(box(CurveSwitch::Compensated)->text(), off);
        QVERIFY(sameCurve(
            plot().series(1)->points(), measuredCurve(sourceRows(), targetRows(), false)));
        QCOMPARE(plot().series(2)->at(100).y(), targetRows()[100][1]);
    }

    void restoredAtStartup_data()
    {
        // Target, Source, Each, Combined, Filtered, Raw
        QTest::addColumn<QList<bool>>("marks");
        QTest::addColumn<QList<int>>("drawn");
        QTest::newRow("first start")
            << QList<bool> { false, false, false, true, false, false } << QList<int> { 0 };
        QTest::newRow("target, each, compensated")
            << QList<bool> { true, false, true, false, false, true } << QList<int> { 2, 4 };
        QTest::newRow("all") << QList<bool> { true, true, true, true, true, true }
                             << QList<int> { 0, 1, 2, 3, 4 };
        QTest::newRow("none") << QList<bool> { false, false, false, false, false, false }
                              << QList<int> {};
    }

    void restoredAtStartup()
    {
        QFETCH(QList<bool>, marks);
        QFETCH(QList<int>, drawn);
        storeMarks(marks);
        MainWindow& mw = window();
        const MainWindowInternals in = internals(mw);

        const bool flags[] = { in.Target_show, in.Source_show, in.Each_show, in.Combined_show,
            in.Filtered_show, in.Compensated_show };
        for (const CurveSwitchRow& row : curveSwitchRows) {
            const int i = int(row.id);
            QVERIFY2(box(row.id)->isChecked() == marks[i], row.checkBox);
            QVERIFY2(flags[i] == marks[i], row.settingsKey);
        }
        QList<int> shown;
        for (int i = 0; i < 15; ++i)
            if (points(i) > 0)
                shown << i;
        QCOMPARE(shown, drawn);
        QCOMPARE(box(CurveSwitch::Compensated)->text(),
            marks[5] ? QString("Compensated") : QString("Raw"));
        // The restore leaves the stored choice in the file.
        const QJsonObject after = settingsFile();
        for (const CurveSwitchRow& row : curveSwitchRows)
            QCOMPARE(after.value(row.settingsKey).toBool(), marks[int(row.id)]);
    }

    // A band edit: the band curve follows after the slot has returned.
    void perBandCurveFollowsEdits()
    {
        MainWindow& mw = window();
        const MainWindowInternals in = internals(mw);
        click(CurveSwitch::Each);
        QCOMPARE(points(4), kGrid);

        *EQ[1] = { 1, 1, 250, 9.0, 1.4 };
        in.each_EQ_num = 1;
        mw.startThread();
        QVERIFY(plot().series(4)->at(66).y() < 4.0); // not yet
        QTRY_VERIFY(plot().series(4)->at(66).y() > 8.0);
        QVERIFY(sameCurve(plot().series(4)->points(), bandCurve(*EQ[1], 1)));
        QVERIFY(sameCurve(plot().series(0)->points(), combinedCurve(EQ, true)));

        // Two starts within one slot: each redraws the band edited last when it runs.
        *EQ[4] = { 1, 1, 2000, -6.0, 1.0 };
        in.each_EQ_num = 3; // off: nothing to draw
        mw.startThread();
        in.each_EQ_num = 4;
        mw.startThread();
        QCOMPARE(points(7), 0);
        QTRY_COMPARE(points(7), kGrid);
        QVERIFY(plot().series(7)->at(121).y() < -5.0);

        // Nothing edited yet, or an edited band that is off: no band curve.
        mw.clear_value_each();
        for (int band : { 0, 2 }) {
            in.each_EQ_num = band;
            mw.startThread();
            QCoreApplication::sendPostedEvents(); // the deferred redraws have run
            for (int i = 4; i < 15; ++i)
                QCOMPARE(points(i), 0);
        }

        // A band with Q 0 (from a device report, say) is drawn flat, never as NaN.
        *EQ[2] = { 1, 1, 1000, 6.0, 0.0 };
        in.each_EQ_num = 2;
        mw.startThread();
        QTRY_COMPARE(points(5), kGrid);
        for (int i : { 0, 5 })
            for (const QPointF& p : plot().series(i)->points())
                QVERIFY(std::isfinite(p.y()));
        QCOMPARE(plot().series(5)->at(103).y(), 0.0);

        // "L/R" with the right channel chosen plots the right set.
        *EQ_R[1] = { 1, 1, 100, -12.0, 1.0 };
        in.comboBox_PEQMode->setCurrentIndex(1);
        in.checkBox_channel->setChecked(true);
        in.each_EQ_num = 1;
        mw.startThread();
        QTRY_VERIFY(plot().series(4)->at(42).y() < -11.0);
        QVERIFY(sameCurve(plot().series(0)->points(), combinedCurve(EQ_R, true)));
        {
            // "L+R": the left set whatever the switch says. Moved without the
            // channel-mode switch, which would ask about the right channel.
            const QSignalBlocker quiet(in.comboBox_PEQMode);
            in.comboBox_PEQMode->setCurrentIndex(0);
        }
        mw.startThread();
        QTRY_VERIFY(plot().series(4)->at(42).y() > -1.0);
    }

    // "Follow Pre" and the 500 Hz alignment are read at every recomputation.
    void filteredCurveFollowsSettings()
    {
        MainWindow& mw = window();
        const MainWindowInternals in = internals(mw);
        in.fre_list = sourceRows();
        click(CurveSwitch::Filtered);
        QCOMPARE(in.filtered_offset, 0.0);

        sysSetValue.FollowPre = true;
        EQ[0]->gain = -6.0;
        emit systemset->update_Filtered_FR();
        QCOMPARE(in.filtered_offset, -6.0);
        QVERIFY(sameCurve(plot().series(3)->points(),
            filteredCurve(filt_combined_fr1, -6.0, sourceRows(), in.tar_list, false, false)));

        sysSetValue.Filtered_FR_alignment = true;
        emit systemset->update_Filtered_FR();
        QVERIFY(std::fabs(plot().series(3)->at(85).y() + 6.0) < 1e-9);

        // "Follow Pre" cleared: the curve keeps the last offset.
        sysSetValue.FollowPre = false;
        EQ[0]->gain = -2.0;
        mw.startThread();
        QCOMPARE(in.filtered_offset, -6.0);
        QVERIFY(std::fabs(plot().series(3)->at(85).y() + 6.0) < 1e-9);
    }

    // Every recomputation counts as activity for the idle auto-save.
    void recomputationRestartsIdleTimer()
    {
        MainWindow& mw = window();
        const MainWindowInternals in = internals(mw);
        in.autosave_done = 1;
        in.autosave_timer->stop();
        mw.startThread();
        QCOMPARE(in.autosave_done, 0);
        QVERIFY(in.autosave_timer->isActive());
        QCOMPARE(in.autosave_timer->interval(), 20000);
    }

    // The wheel lands on the view's viewport first and must still reach the
    // window's filter on the view; the frequency axis never moves.
    void wheelZoomsLevelAxis()
    {
        MainWindow& mw = window();
        const MainWindowInternals in = internals(mw);
        mw.show();
        QVERIFY(QTest::qWaitForWindowExposed(&mw));
        auto wheel = [&](int delta) {
            const QPoint at = in.chartView->mapTo(&mw, QPoint(300, 150));
            QWindowSystemInterface::handleWheelEvent(
                mw.windowHandle(), at, mw.mapToGlobal(at), {}, { 0, delta });
            QWindowSystemInterface::flushWindowSystemEvents();
        };
        wheel(120);
        QTRY_COMPARE(in.axisY->min(), -21.0);
        QCOMPARE(in.axisY->max(), 21.0);
        wheel(-120);
        wheel(-120);
        QTRY_COMPARE(in.axisY->min(), -19.0);
        QCOMPARE(in.axisY->max(), 19.0);
        QCOMPARE(in.axisX->min(), 20.0);
        QCOMPARE(in.axisX->max(), 22000.0);
    }

    // What the window puts on the screen: the curves over the black
    // background, and after a curve changed what drawing the chart without
    // any cached image shows. Each curve keeps a cached image (what keeps a
    // dial notch fast); a high-pass band reaches far below the view, the case
    // where an image that is only updated keeps its old curve beside the new.
    void renderedChart()
    {
        MainWindow& mw = window();
        const MainWindowInternals in = internals(mw);
        in.fre_list = sourceRows();
        in.tar_list = targetRows();
        for (CurveSwitch id :
            { CurveSwitch::Source, CurveSwitch::Target, CurveSwitch::Filtered, CurveSwitch::Each })
            click(id);
        mw.show();
        QVERIFY(QTest::qWaitForWindowExposed(&mw));
        QVERIFY(testsupport::deliverPostedEvents());
        const QImage image = testsupport::shownImage(in.chartView);
        if (const QByteArray path = qgetenv("PLOT_GRAB_PNG"); !path.isEmpty())
            image.save(QString::fromLocal8Bit(path));
        // The background stays black under the dark theme (the chart's
        // corners are rounded and inset, so look inside), and the curves are drawn.
        QCOMPARE(image.pixelColor(image.width() - 30, 30), QColor(0, 0, 0));
        int orange = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                orange += image.pixelColor(x, y) == QColor(255, 85, 0);
        QVERIFY(orange > 100);

        int curvesCached = 0;
        for (QGraphicsItem* item : in.chartView->scene()->items())
            curvesCached += item->cacheMode() == QGraphicsItem::DeviceCoordinateCache;
        QCOMPARE(curvesCached, 15);
        *EQ[1] = { 1, 3, 1000, 0.0, 0.707 };
        in.each_EQ_num = 1;
        mw.startThread();
        QTRY_VERIFY(plot().series(4)->at(0).y() < -40.0);
        QVERIFY(testsupport::deliverPostedEvents());
        const QImage shown = testsupport::shownImage(in.chartView);
        QVERIFY(shown != image);
        const QImage fresh = testsupport::drawnAfresh(in.chartView);
        QCOMPARE(fresh.size(), shown.size());
        int differing = 0;
        for (int y = 0; y < fresh.height(); ++y)
            for (int x = 0; x < fresh.width(); ++x)
                differing += shown.pixel(x, y) != fresh.pixel(x, y);
        QVERIFY2(differing == 0, qPrintable(QString("%1 pixels differ").arg(differing)));
    }
};

int main(int argc, char* argv[])
{
    MacApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    TestPlotWindow test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "test_plot_window.moc"
