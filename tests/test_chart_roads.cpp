// The chart follows the rows on every road a user takes: each kind of band
// edit in each channel setting, preset selections, a device connection, the
// channel and mode switches and the level zoom. After each road the curves
// computed from the values the rows show are the curves in the series, and
// they are also what the window put on the screen.

#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QGroupBox>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QValueAxis>
#include <QtCharts/QXYSeries>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <vector>

#include "app/macapplication.h"
#include "deadlines.h"
#include "device/device_session.h"
#include "dsp/band.h"
#include "editor/band_edit.h"
#include "editor/editor_state.h"
#include "plot/curves.h"
#include "plot/response_chart.h"
#include "row_input.h"
#include "screen_image.h"
#include "sim_models.h"
#include "widgets/balance.h"
#include "widgets/customcontrols.h"
#include "workspace_fixture.h"

using namespace wsfix;

namespace {

using Set = std::array<EQ_data, 12>;

// Preamp on at -3 dB; band 1 makes the curve's top and band 3 its bottom, so
// the edits of bands 2 and 4 leave the curve's height as it was. The right
// channel has its own values.
Set baseSet(bool right)
{
    Set s {};
    s[0] = { 1, 1, 632, -3.0, 0.707 };
    s[1] = { 1, 1, right ? 30 : 40, 9.0, 1.0 };
    s[2] = { 1, 1, right ? 2000 : 1000, 4.0, 2.0 };
    s[3] = { 1, 1, right ? 6000 : 8000, -9.0, 1.0 };
    s[4] = { 0, 1, right ? 200 : 300, 5.0, 4.0 };
    return s;
}

// The second local preset: band 2 elsewhere, the height the same.
Set otherSet(bool right)
{
    Set s = baseSet(right);
    s[2].center_frequency = right ? 4000 : 500;
    return s;
}

// As high and as deep as the left channel of the device's preset "Live" (a
// -3 dB dip at 1 kHz, preamp at 0 dB), which a switch to or from it keeps.
Set liveHeightSet()
{
    Set s {};
    s[0] = { 1, 1, 632, 0.0, 0.707 };
    s[1] = { 1, 1, 250, -3.0, 0.707 };
    return s;
}

enum class Road {
    FrequencyNotches,
    GainNotches,
    QNotches,
    TypedFrequency,
    TypedGain,
    TypedQ,
    LowShelfToHighShelf,
    HighShelfToLowShelf,
    LowPassToHighPass,
    PeakingToHighPass,
    BandOn,
    BandOff,
    Remove,
    ClearSelected,
    // Each in one channel setting only.
    LocalPreset,
    DeviceConnects,
    DevicePreset,
    LocalAfterDevicePreset,
    ChannelSwitch,
    ToLinked,
    ToSeparate,
    LevelZoom,
};

struct Curves
{
    CurvePoints combined;
    std::array<CurvePoints, 11> bands; // index 0 is band 1
};

double largestDifference(const CurvePoints& a, const CurvePoints& b)
{
    if (a.size() != b.size())
        return INFINITY;
    double most = 0.0;
    for (qsizetype k = 0; k < a.size(); ++k) {
        if (a[k].x() != b[k].x())
            return INFINITY;
        most = std::max(most, std::fabs(a[k].y() - b[k].y()));
    }
    return most;
}

double largestDifference(const Curves& a, const Curves& b)
{
    double most = largestDifference(a.combined, b.combined);
    for (std::size_t i = 0; i < a.bands.size(); ++i)
        most = std::max(most, largestDifference(a.bands[i], b.bands[i]));
    return most;
}

bool nearColour(QRgb pixel, const QColor& colour)
{
    return std::abs(qRed(pixel) - colour.red()) + std::abs(qGreen(pixel) - colour.green())
        + std::abs(qBlue(pixel) - colour.blue())
        <= 30;
}

// A curve as it must appear in a picture of the chart: its grid points in
// pixels, and for every pixel column the heights it passes within three
// columns either side.
struct ExpectedTrace
{
    QColor colour;
    QPolygonF points;
    std::vector<double> low, high;

    ExpectedTrace(const QColor& c, const QPolygonF& curve, int width)
        : colour(c)
        , points(curve)
        , low(size_t(width), INFINITY)
        , high(size_t(width), -INFINITY)
    {
        for (qsizetype k = 1; k < curve.size(); ++k) {
            const QPointF a = curve[k - 1];
            const QPointF b = curve[k];
            const int first = std::max(0, int(std::floor(std::min(a.x(), b.x()))) - 3);
            const int last = std::min(width - 1, int(std::ceil(std::max(a.x(), b.x()))) + 3);
            for (int x = first; x <= last; ++x) {
                double y1 = a.y();
                double y2 = b.y();
                if (a.x() != b.x()) {
                    // The part of the segment within three columns of x.
                    const auto at = [&](double px) {
                        return a.y() + (px - a.x()) / (b.x() - a.x()) * (b.y() - a.y());
                    };
                    y1 = at(std::max(std::min(a.x(), b.x()), x - 3.0));
                    y2 = at(std::min(std::max(a.x(), b.x()), x + 3.0));
                }
                low[size_t(x)] = std::min({ low[size_t(x)], y1, y2 });
                high[size_t(x)] = std::max({ high[size_t(x)], y1, y2 });
            }
        }
    }
};

// How a curve appears: of its grid points inside the plot, how many have its
// colour within two pixels above or below (or one to the side); and how many
// pixels of its colour lie more than three pixels from it (what is left of
// an old curve).
struct Trace
{
    int points = 0;
    int covered = 0;
    int coloured = 0;
    int strays = 0;
};

// Where curves cross or lie on each other their antialiased pens mix, and a
// dashed band curve drawn over another curve hides it in its dashes: a
// pixel near another curve may show either colour, or a mix.
std::vector<Trace> tracesOf(
    const QImage& image, const std::vector<ExpectedTrace>& curves, const QRectF& plot)
{
    const auto passes = [&](std::size_t j, int x, double y, double within) {
        return !curves[j].points.isEmpty() && y >= curves[j].low[std::size_t(x)] - within
            && y <= curves[j].high[std::size_t(x)] + within;
    };
    std::vector<Trace> traces(curves.size());
    const QRect inner = plot.adjusted(3, 3, -3, -3).toRect() & image.rect().adjusted(0, 2, 0, -2);
    for (std::size_t i = 0; i < curves.size(); ++i) {
        for (const QPointF& p : curves[i].points) {
            const QPoint at(int(std::lround(p.x())), int(std::lround(p.y())));
            if (!inner.contains(at))
                continue;
            ++traces[i].points;
            bool covered = false;
            for (int dx = -1; dx <= 1 && !covered; ++dx) {
                for (int dy = -2; dy <= 2 && !covered; ++dy) {
                    const QRgb pixel = image.pixel(at.x() + dx, at.y() + dy);
                    for (std::size_t j = 0; j < curves.size() && !covered; ++j)
                        covered = (j == i || passes(j, at.x(), p.y(), 1.5))
                            && nearColour(pixel, curves[j].colour);
                }
            }
            traces[i].covered += covered;
        }
    }
    for (int y = inner.top(); y <= inner.bottom(); ++y) {
        for (int x = inner.left(); x <= inner.right(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            for (std::size_t i = 0; i < curves.size(); ++i) {
                if (!nearColour(pixel, curves[i].colour))
                    continue;
                ++traces[i].coloured;
                bool nearSomeCurve = false;
                for (std::size_t j = 0; j < curves.size() && !nearSomeCurve; ++j)
                    nearSomeCurve = passes(j, x, y, 3.0);
                traces[i].strays += !nearSomeCurve;
                break;
            }
        }
    }
    return traces;
}

} // namespace

Q_DECLARE_METATYPE(Road)

class TestChartRoads : public QObject
{
    Q_OBJECT

    Window win;

    MainWindow& w() { return *win.w; }
    MainWindowInternals in() { return internals(w()); }
    MainWindowUi& ui() { return *in().ui; }
    const BandRowDescriptor& row(int band) { return bandRowDescriptors()[size_t(band - 1)]; }
    QXYSeries* series(int index) { return ResponseChart(in().chartView).series(index); }

    // A wait bounded in time: the QTRY macros count their steps rather than
    // the time, and a step here computes every curve.
    static bool waitFor(const std::function<bool()>& condition)
    {
        return QTest::qWaitFor(condition, testsupport::kDeadlineMs);
    }

    // The filter set as the rows show it, read back by the editor's own readers.
    Set shownSet()
    {
        Set s {};
        s[0].status = ui().checkBox->isChecked();
        s[0].gain = readGainText(ui().gbox1_lineEdit->text()).gain;
        for (int b = 1; b <= 11; ++b) {
            const BandRowDescriptor& r = row(b);
            EQ_data& band = s[size_t(b)];
            band.status = r.enable.of(ui())->isChecked();
            band.type = typeForIndex(r.typeCombo.of(ui())->currentIndex());
            band.center_frequency = readFrequencyText(r.freqText.of(ui())->text());
            band.gain = readGainText(r.gainText.of(ui())->text()).gain;
            band.Q = readQText(r.qText.of(ui())->text()).q;
        }
        return s;
    }

    // The curves the chart must show for the rows.
    Curves computed()
    {
        Set s = shownSet();
        EQ_data* set[12];
        for (std::size_t k = 0; k < 12; ++k)
            set[k] = &s[k];
        return { combinedCurve(set, true), eachBandCurves(set) };
    }

    Curves drawn()
    {
        Curves c { series(ResponseChart::kCombined)->points(), {} };
        for (int b = 1; b <= 11; ++b)
            c.bands[size_t(b - 1)] = series(ResponseChart::kFirstBand + b - 1)->points();
        return c;
    }

    // Rows and series agree to the rows' last shown digit.
    bool seriesShowRows(QString* why)
    {
        const Curves want = computed();
        const Curves have = drawn();
        if (largestDifference(want.combined, have.combined) > 0.06) {
            *why = "the combined series is not the rows' curve";
            return false;
        }
        for (int b = 1; b <= 11; ++b) {
            if (largestDifference(want.bands[size_t(b - 1)], have.bands[size_t(b - 1)]) > 0.06) {
                *why = QStringLiteral("band %1's series is not its row's curve").arg(b);
                return false;
            }
        }
        return true;
    }

    // The chart view's part of what the window last put on the screen.
    QImage shownChart() { return testsupport::shownImage(in().chartView); }

    // Chart coordinates (Hz, dB) to pixels of the chart view.
    QPointF toView(const QPointF& chartPoint)
    {
        QChart* chart = in().chart;
        return in().chartView->viewportTransform().map(chart->mapToScene(chartPoint));
    }
    QPolygonF onView(const CurvePoints& curve)
    {
        QPolygonF out;
        for (const QPointF& p : curve)
            out << toView(in().chart->mapToPosition(p, series(ResponseChart::kCombined)));
        return out;
    }
    QRectF plotOnView()
    {
        const QRectF plot = in().chart->plotArea();
        return QRectF(toView(plot.topLeft()), toView(plot.bottomRight()));
    }

    // The screen shows the curves: the combined curve along the rows' curve
    // (some of its points may lie under a band curve) and nothing of any
    // curve where it no longer is.
    bool screenShows(const Curves& want, QString* why)
    {
        const QImage image = shownChart();
        std::vector<ExpectedTrace> expected;
        expected.emplace_back(ResponseChart::seriesPen(ResponseChart::kCombined).color(),
            onView(want.combined), image.width());
        for (int b = 1; b <= 11; ++b) {
            const int index = ResponseChart::kFirstBand + b - 1;
            expected.emplace_back(ResponseChart::seriesPen(index).color(),
                onView(want.bands[size_t(b - 1)]), image.width());
        }
        const std::vector<Trace> traces = tracesOf(image, expected, plotOnView());
        const Trace& combined = traces[0];
        if (combined.points < 40 || combined.covered < combined.points * 9 / 10
            || combined.strays > 10) {
            *why = QStringLiteral(
                "combined curve: %1 of %2 points drawn, %3 of %4 pixels off the curve")
                       .arg(combined.covered)
                       .arg(combined.points)
                       .arg(combined.strays)
                       .arg(combined.coloured);
            return false;
        }
        for (int b = 1; b <= 11; ++b) {
            const Trace& t = traces[size_t(b)];
            if (t.strays > 10 || t.covered < t.points / 2) {
                *why = QStringLiteral(
                    "band %1: %2 of %3 points drawn, %4 of %5 pixels off its curve")
                           .arg(b)
                           .arg(t.covered)
                           .arg(t.points)
                           .arg(t.strays)
                           .arg(t.coloured);
                return false;
            }
        }
        return true;
    }

    // Once the series show the rows, every paint they ask for is delivered and
    // the screen is looked at once: a wrong picture fails the row at once.
    bool settledChartShowsRows(QString* why)
    {
        if (!waitFor([&] { return seriesShowRows(why); }))
            return false;
        if (!testsupport::deliverPostedEvents()) {
            *why = "the window never stops posting events";
            return false;
        }
        return seriesShowRows(why) && screenShows(computed(), why);
    }

    // Local preset 0 holding the given sets, nothing plugged, the channels
    // set as the rows read them, the level axis as built.
    void start(const QString& mode, bool right, const Set& leftSet, const Set& rightSet)
    {
        if (selectedRadioIndex != 0)
            select(0);
        in().axisY->setRange(-20.0, 20.0);
        for (std::size_t k = 0; k < 12; ++k) {
            *EQ[k] = leftSet[k];
            *EQ_R[k] = rightSet[k];
        }
        {
            const QSignalBlocker quiet(in().comboBox_PEQMode);
            in().comboBox_PEQMode->setCurrentIndex(mode == "L+R" ? 0 : 1);
        }
        in().checkBox_channel->setChecked(right);
        in().checkBox_channel->setVisible(mode != "L+R");
        old_name = current_name; // later mode changes count as changes of this preset
        w().config_update_ui();
    }

    void plugDeviceB() { win.plug(std::static_pointer_cast<sim::SlotModel>(sim::makeModel("B"))); }

    void select(int radioIndex)
    {
        QRadioButton* button = win.button(radioIndex);
        QVERIFY2(button, qPrintable(QStringLiteral("no preset button %1").arg(radioIndex)));
        QTest::mouseClick(button, Qt::LeftButton);
    }

    void rightClick(QWidget* widget)
    {
        rowinput::bringIntoView(w(), widget);
        QContextMenuEvent event(
            QContextMenuEvent::Mouse, QPoint(5, 5), widget->mapToGlobal(QPoint(5, 5)));
        QCoreApplication::sendEvent(widget, &event);
    }

    // What puts the window where the road starts.
    void prepare(Road road)
    {
        QComboBox* type = row(2).typeCombo.of(ui());
        switch (road) {
        case Road::LowShelfToHighShelf:
            QVERIFY(rowinput::choose(w(), type, 3));
            break;
        case Road::HighShelfToLowShelf:
            QVERIFY(rowinput::choose(w(), type, 4));
            break;
        case Road::LowPassToHighPass:
            QVERIFY(rowinput::choose(w(), type, 1));
            break;
        case Road::DevicePreset:
            plugDeviceB();
            break;
        case Road::LocalAfterDevicePreset:
            plugDeviceB();
            select(105); // "Bass 1"
            if (!QTest::currentTestFailed())
                select(100); // "Live"
            break;
        default:
            break;
        }
    }

    void take(Road road)
    {
        const BandRowDescriptor& band2 = row(2);
        QComboBox* type = band2.typeCombo.of(ui());
        switch (road) {
        case Road::FrequencyNotches:
            for (int i = 0; i < 5; ++i)
                rowinput::wheel(w(), band2.freqDial.of(ui()));
            break;
        case Road::GainNotches:
            for (int i = 0; i < 4; ++i)
                rowinput::wheel(w(), band2.gainDial.of(ui()));
            break;
        case Road::QNotches:
            for (int i = 0; i < 5; ++i)
                rowinput::wheel(w(), band2.qDial.of(ui()));
            break;
        case Road::TypedFrequency:
            rowinput::typeInto(w(), band2.freqText.of(ui()), "3000");
            break;
        case Road::TypedGain:
            rowinput::typeInto(w(), band2.gainText.of(ui()), "-4");
            break;
        case Road::TypedQ:
            rowinput::typeInto(w(), band2.qText.of(ui()), "4");
            break;
        case Road::LowShelfToHighShelf:
            QVERIFY(rowinput::choose(w(), type, 4));
            break;
        case Road::HighShelfToLowShelf:
            QVERIFY(rowinput::choose(w(), type, 3));
            break;
        case Road::LowPassToHighPass:
        case Road::PeakingToHighPass:
            QVERIFY(rowinput::choose(w(), type, 2));
            break;
        case Road::BandOn:
            rowinput::click(w(), row(4).enable.of(ui()));
            break;
        case Road::BandOff:
            rowinput::click(w(), band2.enable.of(ui()));
            break;
        case Road::Remove:
            rowinput::click(w(), band2.removeButton.of(ui()));
            break;
        case Road::ClearSelected: {
            ModalAnswers answers;
            answers.menuItem("Clear seleted filter");
            rightClick(band2.groupBox.of(ui()));
            QCOMPARE(answers.pending(), 0);
            break;
        }
        case Road::LocalPreset:
            select(1);
            break;
        case Road::DeviceConnects:
            plugDeviceB();
            break;
        case Road::DevicePreset:
            select(105); // "Bass 1"
            break;
        case Road::LocalAfterDevicePreset:
            select(0);
            break;
        case Road::ChannelSwitch:
            QTest::mouseClick(in().checkBox_channel, Qt::LeftButton, {}, QPoint(10, 10));
            break;
        case Road::ToLinked: {
            ModalAnswers answers;
            answers.button("OK");
            QVERIFY(rowinput::choose(w(), in().comboBox_PEQMode, 0));
            QCOMPARE(answers.pending(), 0);
            break;
        }
        case Road::ToSeparate:
            QVERIFY(rowinput::choose(w(), in().comboBox_PEQMode, 1));
            break;
        case Road::LevelZoom: {
            const QPoint at = in().chartView->mapTo(&w(), QPoint(300, 150));
            QWindowSystemInterface::handleWheelEvent(
                w().windowHandle(), at, w().mapToGlobal(at), {}, { 0, 120 });
            QWindowSystemInterface::flushWindowSystemEvents();
            QTRY_COMPARE(in().axisY->max(), 21.0);
            break;
        }
        }
    }

private slots:
    void initTestCase()
    {
        startWindowTests();
        win.dir = freshWindowDir();
        QVERIFY(win.dir);
        writeLocalPresetSets(win.dir->path(),
            { { "Default", baseSet(false), baseSet(true) },
                { "Config1", otherSet(false), otherSet(true) } });
        QVERIFY(win.reopen());
        QVERIFY(QTest::qWaitForWindowExposed(&w()));
        w().findChild<QCheckBox*>("checkBox_each")->click();
        QVERIFY(in().Each_show && in().Combined_show);
    }

    void cleanup()
    {
        // Each road that connects the device meets it as a program's first
        // device: what a replug does to the channel mode is not this test's.
        if (engine().plugged()) {
            win.unplug();
            clearDeviceState();
            lianjiebz1 = 0;
        }
    }

    void cleanupTestCase()
    {
        win.w.reset();
        stopDeviceThreads();
    }

    void roads_data()
    {
        QTest::addColumn<Road>("road");
        QTest::addColumn<QString>("mode");
        QTest::addColumn<bool>("right");
        const std::pair<Road, const char*> edits[] = {
            { Road::FrequencyNotches, "five frequency notches" },
            { Road::GainNotches, "four gain notches" },
            { Road::QNotches, "five Q notches" },
            { Road::TypedFrequency, "typed frequency" },
            { Road::TypedGain, "typed gain" },
            { Road::TypedQ, "typed Q" },
            { Road::LowShelfToHighShelf, "low shelf to high shelf" },
            { Road::HighShelfToLowShelf, "high shelf to low shelf" },
            { Road::LowPassToHighPass, "low-pass to high-pass" },
            { Road::PeakingToHighPass, "peaking to high-pass" },
            { Road::BandOn, "band switched on" },
            { Road::BandOff, "band switched off" },
            { Road::Remove, "band removed" },
            { Road::ClearSelected, "Clear seleted filter" },
        };
        for (const auto& [road, name] : edits) {
            QTest::addRow("%s, L+R", name) << road << "L+R" << false;
            QTest::addRow("%s, L/R left", name) << road << "L/R" << false;
            QTest::addRow("%s, L/R right", name) << road << "L/R" << true;
        }
        QTest::newRow("local preset selected") << Road::LocalPreset << "L/R" << false;
        QTest::newRow("device connects, its preset selected")
            << Road::DeviceConnects << "L/R" << false;
        QTest::newRow("device preset selected") << Road::DevicePreset << "L/R" << false;
        QTest::newRow("local preset after device presets")
            << Road::LocalAfterDevicePreset << "L/R" << false;
        QTest::newRow("left to right channel") << Road::ChannelSwitch << "L/R" << false;
        QTest::newRow("L/R right to L+R") << Road::ToLinked << "L/R" << true;
        QTest::newRow("L+R to L/R") << Road::ToSeparate << "L+R" << false;
        QTest::newRow("level zoom") << Road::LevelZoom << "L+R" << false;
    }

    void roads()
    {
        QFETCH(Road, road);
        QFETCH(QString, mode);
        QFETCH(bool, right);
        QString why;
        if (road == Road::DeviceConnects || road == Road::LocalAfterDevicePreset)
            start(mode, right, liveHeightSet(), liveHeightSet());
        else
            start(mode, right, baseSet(false), baseSet(true));
        prepare(road);
        if (QTest::currentTestFailed())
            return;
        QVERIFY2(settledChartShowsRows(&why), qPrintable("before the road: " + why));
        const Curves before = computed();
        const QImage beforeImage = shownChart();

        take(road);
        if (QTest::currentTestFailed())
            return;
        // Only the copy of the left channel into the right leaves the curve as
        // it was; every other road moves it once it has taken effect.
        const bool curveMoves = road != Road::ToSeparate;
        const auto taken = [&] {
            if (!seriesShowRows(&why))
                return false;
            if (curveMoves && road != Road::LevelZoom
                && largestDifference(before, computed()) <= 0.1) {
                why = "the rows and the curve are as before the road";
                return false;
            }
            return true;
        };
        if (!curveMoves)
            QCoreApplication::processEvents();
        QVERIFY2(waitFor(taken), qPrintable(why));
        QVERIFY2(settledChartShowsRows(&why), qPrintable(why));
        if (curveMoves)
            QVERIFY2(shownChart() != beforeImage,
                "the screen still shows the chart from before the road");
        if (road == Road::LevelZoom) {
            // The level labels left of the plot follow the new range.
            const QRect labels(0, 0, int(plotOnView().left()) - 1, beforeImage.height());
            QVERIFY(shownChart().copy(labels) != beforeImage.copy(labels));
        }
    }
};

int main(int argc, char* argv[])
{
    MacApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    TestChartRoads test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "test_chart_roads.moc"
