#include "dsp/band.h"
#include "dsp/grid.h"
#include "dsp/response.h"
#include "plot/curve_switches.h"
#include "plot/curves.h"
#include "plot/response_chart.h"
#include "curve_fixtures.h"

#include <QValueAxis>
#include <QtTest>

#include <cmath>
#include <limits>

Q_DECLARE_METATYPE(QList<EQ_data>)

namespace {

// Grid points at which the reference levels were evaluated.
const int kPoints[7] = { 0, 42, 85, 103, 121, 162, 181 };

// A preamp and eleven bands that EQ (or EQ_R) points at.
struct BandSet
{
    EQ_data records[12];
    EQ_data* ptrs[12];

    explicit BandSet(EQ_data preamp = {}, const QList<EQ_data>& bands = {})
    {
        records[0] = preamp;
        for (int i = 0; i < bands.size(); ++i)
            records[i + 1] = bands[i];
        for (int i = 0; i < 12; ++i)
            ptrs[i] = &records[i];
    }
    // The pointers stay on this object's own records.
    BandSet(const BandSet&) = delete;
    BandSet& operator=(const BandSet& other)
    {
        std::copy(std::begin(other.records), std::end(other.records), records);
        return *this;
    }
    void makeLeft()
    {
        for (int i = 0; i < 12; ++i)
            EQ[i] = ptrs[i];
    }
    void makeRight()
    {
        for (int i = 0; i < 12; ++i)
            EQ_R[i] = ptrs[i];
    }
};

// Preamp on at -2 dB; band 2 is off and band 5 has status 2, which counts
// in the combined curve but is not drawn on its own.
const EQ_data kMixedPreamp { 1, 1, 632, -2.0, 0.707 };
const QList<EQ_data> kMixedBands = {
    { 1, 1, 250, 4.0, 1.4 },
    { 0, 1, 1000, 12.0, 2.0 },
    { 1, 5, 6000, 3.0, 0.7 },
    { 1, 2, 15000, 0.0, 0.707 },
    { 2, 1, 60, -5.0, 1.0 },
};

QString compareAt(const CurvePoints& points, const QList<double>& expected)
{
    if (points.size() != qsizetype(kGridSize))
        return QString("%1 points").arg(points.size());
    for (int i = 0; i < 7; ++i) {
        const QPointF p = points[kPoints[i]];
        if (p.x() != freqs1[kPoints[i]] || std::fabs(p.y() - expected[i]) > 0.01)
            return QString("point %1: (%2, %3), expected %4")
                .arg(kPoints[i])
                .arg(p.x())
                .arg(p.y())
                .arg(expected[i]);
    }
    return {};
}

bool allFinite(const CurvePoints& points)
{
    for (const QPointF& p : points) {
        if (!std::isfinite(p.x()) || !std::isfinite(p.y()))
            return false;
    }
    return true;
}

} // namespace

class TestPlot : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void combinedCurve_data();
    void combinedCurve();
    void filteredCurve_data();
    void filteredCurve();
    void followPreOffset();
    void perBandCurves();
    void plottedSetFollowsChannel();
    void shortAndNonNumericCurves();
    void measuredCurves();
    void flatBands_data();
    void flatBands();
    void wheelZoom_data();
    void wheelZoom();
    void switchSteps();

private:
    BandSet m_left { kMixedPreamp, kMixedBands };
    BandSet m_right;
};

void TestPlot::init()
{
    m_left = BandSet(kMixedPreamp, kMixedBands);
    m_right = BandSet();
    m_left.makeLeft();
    m_right.makeRight();
}

void TestPlot::combinedCurve_data()
{
    QTest::addColumn<EQ_data>("preamp");
    QTest::addColumn<QList<EQ_data>>("bands");
    QTest::addColumn<QList<double>>("db");

    // Reference levels evaluated independently in numpy from the prototypes.
    const EQ_data off { 0, 1, 632, -3.0, 0.707 };
    QTest::newRow("peaking") << off << QList<EQ_data> { { 1, 1, 1000, 6.0, 2.0 } }
                             << QList<double> { 0.0006, 0.0165, 0.6343, 6.0000, 0.6343, 0.0165,
                                    0.0034 };
    QTest::newRow("low-pass") << off << QList<EQ_data> { { 1, 2, 5000, 5.0, 0.707 } }
                              << QList<double> { -0.0000, -0.0000, -0.0005, -0.0070, -0.1102,
                                     -12.3051, -25.7498 };
    QTest::newRow("high-pass") << off << QList<EQ_data> { { 1, 3, 80, 0.0, 0.5 } }
                               << QList<double> { -24.6090, -4.2969, -0.2196, -0.0554, -0.0139,
                                      -0.0006, -0.0001 };
    QTest::newRow("low-shelf") << off << QList<EQ_data> { { 1, 4, 100, 6.0, 0.707 } }
                               << QList<double> { 5.9896, 3.0000, 0.0104, 0.0007, 0.0000, 0.0000,
                                      0.0000 };
    QTest::newRow("high-shelf") << off << QList<EQ_data> { { 1, 5, 8000, -4.5, 0.9 } }
                                << QList<double> { 0.0000, 0.0003, 0.0068, 0.0264, 0.0947, -3.6508,
                                       -4.6618 };
    QTest::newRow("type 9 as peaking")
        << off << QList<EQ_data> { { 1, 9, 3000, -3.0, 1.5 } }
        << QList<double> { -0.0001, -0.0015, -0.0394, -0.1794, -1.1738, -0.1406, -0.0260 };
    const QList<EQ_data> firstStart { { 1, 1, 20, 3.0, 0.2 } };
    QTest::newRow("first start, preamp on")
        << EQ_data { 1, 1, 632, -3.0, 0.707 } << firstStart
        << QList<double> { 0.0000, -1.4394, -2.8822, -2.9697, -2.9924, -2.9997, -2.9999 };
    QTest::newRow("first start, preamp off")
        << off << firstStart
        << QList<double> { 3.0000, 1.5606, 0.1178, 0.0303, 0.0076, 0.0003, 0.0001 };
    QTest::newRow("mixed, off band left out")
        << kMixedPreamp << kMixedBands
        << QList<double> { -2.6252, -3.9180, -1.3237, -1.8706, -1.9286, -0.1463, -6.5251 };
    QTest::newRow("all off, preamp -3") << EQ_data { 1, 1, 632, -3.0, 0.707 } << QList<EQ_data> {}
                                        << QList<double> { -3, -3, -3, -3, -3, -3, -3 };
}

void TestPlot::combinedCurve()
{
    QFETCH(EQ_data, preamp);
    QFETCH(QList<EQ_data>, bands);
    QFETCH(QList<double>, db);

    BandSet set(preamp, bands);
    const QString mismatch = compareAt(::combinedCurve(set.ptrs, true), db);
    QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
    // Hidden: no points, yet the combined response is there for the filtered curve.
    QVERIFY(::combinedCurve(set.ptrs, false).isEmpty());
    QCOMPARE(filt_combined_fr1.size(), kGridSize);
}

void TestPlot::filteredCurve_data()
{
    QTest::addColumn<double>("offset");
    QTest::addColumn<bool>("alignment");
    QTest::addColumn<bool>("compensated");
    QTest::addColumn<QList<double>>("db");

    QTest::newRow("raw") << 0.0 << false << false
                         << QList<double> { -0.6252, -4.5327, 3.0718, -2.1736, -1.2775, 0.4364,
                                -6.5690 };
    QTest::newRow("aligned") << 0.0 << true << false
                             << QList<double> { -3.6969, -7.6045, 0.0000, -5.2454, -4.3493, -2.6353,
                                    -9.6408 };
    QTest::newRow("compensated") << 0.0 << false << true
                                 << QList<double> { 1.3748, -3.3727, 3.3718, -2.2336, -1.6975,
                                        -0.8036, -8.1890 };
    QTest::newRow("follow pre") << -2.0 << false << false
                                << QList<double> { -2.6252, -6.5327, 1.0718, -4.1736, -3.2775,
                                       -1.5636, -8.5690 };
    QTest::newRow("follow pre, aligned, compensated")
        << -2.0 << true << true
        << QList<double> { -3.6969, -8.4445, -1.7000, -7.3054, -6.7693, -5.8753, -13.2608 };
}

void TestPlot::filteredCurve()
{
    QFETCH(double, offset);
    QFETCH(bool, alignment);
    QFETCH(bool, compensated);
    QFETCH(QList<double>, db);

    ::combinedCurve(m_left.ptrs, false); // the filtered curve uses the whole response
    const CurvePoints points = ::filteredCurve(
        filt_combined_fr1, offset, sourceRows(), targetRows(), alignment, compensated);
    const QString mismatch = compareAt(points, db);
    QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
}

void TestPlot::followPreOffset()
{
    double offset = 0.0;
    offset = nextFilteredOffset(false, -6.0, offset);
    QCOMPARE(offset, 0.0);
    offset = nextFilteredOffset(true, -6.0, offset);
    QCOMPARE(offset, -6.0);
    offset = nextFilteredOffset(false, -2.0, offset); // "Follow Pre" cleared: keeps the last offset
    QCOMPARE(offset, -6.0);

    // The preamp off counts as 0 dB.
    BandSet set({ 0, 1, 632, -6.0, 0.707 }, {});
    ::combinedCurve(set.ptrs, true);
    QCOMPARE(nextFilteredOffset(true, gain_value, offset), 0.0);
}

void TestPlot::perBandCurves()
{
    const auto curves = eachBandCurves(m_left.ptrs);
    const QList<QList<double>> expected = {
        { 0.0137, 0.4252, 0.7527, 0.1445, 0.0338, 0.0013, 0.0003 },
        {},
        { 0.0000, 0.0000, 0.0006, 0.0041, 0.0438, 2.6364, 2.9787 },
        { -0.0000, -0.0000, -0.0000, -0.0001, -0.0014, -0.7838, -7.5040 },
    };
    for (int b = 0; b < 11; ++b) {
        if (b < expected.size() && !expected[b].isEmpty()) {
            const QString mismatch = compareAt(curves[b], expected[b]);
            QVERIFY2(
                mismatch.isEmpty(), qPrintable(QString("band %1: %2").arg(b + 1).arg(mismatch)));
        } else {
            // Off, status 2 (counts as on in the combined curve) and cleared bands.
            QVERIFY2(curves[b].isEmpty(), qPrintable(QString("band %1 drawn").arg(b + 1)));
        }
    }
    // A single band's curve ignores its status and the preamp.
    const QString mismatch = compareAt(
        bandCurve(*m_left.ptrs[2], 2), { 0.0016, 0.0411, 1.4711, 12.0000, 1.4711, 0.0411, 0.0084 });
    QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));

    QCOMPARE(bandToRedraw(m_left.ptrs, 1), 1);
    QCOMPARE(bandToRedraw(m_left.ptrs, 2), 0); // off
    QCOMPARE(bandToRedraw(m_left.ptrs, 5), 0); // status 2
    QCOMPARE(bandToRedraw(m_left.ptrs, 0), 0); // nothing edited yet
    QCOMPARE(bandToRedraw(m_left.ptrs, 12), 0);
}

void TestPlot::plottedSetFollowsChannel()
{
    QCOMPARE(plottedSet("L+R", true), EQ);
    QCOMPARE(plottedSet("L+R", false), EQ);
    QCOMPARE(plottedSet("L/R", true), EQ_R);
    QCOMPARE(plottedSet("L/R", false), EQ);
    QCOMPARE(plottedSet("l+r", true), EQ_R); // exact comparison
}

void TestPlot::shortAndNonNumericCurves()
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    BandSet flat; // every band off, preamp off: the filters add 0 dB
    ::combinedCurve(flat.ptrs, false);

    CurveRows source; // 100 rows at +5 dB, one of them not a number
    for (int k = 0; k < 100; ++k)
        source.append({ freqs1[k], k == 42 ? nan : 5.0 });
    CurveRows target
        = { { 20.0 }, { 21.0, std::numeric_limits<double>::infinity() }, {}, { 23.0, 1.0 } };

    const CurvePoints raw = ::filteredCurve(filt_combined_fr1, 0.0, source, target, false, false);
    QCOMPARE(raw.size(), qsizetype(kGridSize));
    QVERIFY(allFinite(raw));
    QCOMPARE(raw[0].y(), 5.0);
    QCOMPARE(raw[42].y(), 0.0);
    QCOMPARE(raw[99].y(), 5.0);
    QCOMPARE(raw[100].y(), 0.0);
    QCOMPARE(raw[181].y(), 0.0);

    const CurvePoints comp = ::filteredCurve(filt_combined_fr1, 0.0, source, target, true, true);
    QVERIFY(allFinite(comp));
    QCOMPARE(comp[3].y(), 0.0 - 5.0 - 1.0 + 5.0); // aligned at row 85 (+5 dB), target row 3
    QCOMPARE(comp[150].y(), -5.0); // past both lists

    // Empty lists and no response computed yet.
    const CurvePoints none = ::filteredCurve({}, 1.5, {}, {}, true, true);
    QVERIFY(allFinite(none));
    QCOMPARE(none[10].y(), 1.5);

    QCOMPARE(curveLevel(target, 0), 0.0);
    QCOMPARE(curveLevel(target, 1), 0.0);
    QCOMPARE(curveLevel(target, 3), 1.0);
    QCOMPARE(curveLevel(target, -1), 0.0);
    QCOMPARE(curveLevel(target, 4), 0.0);
}

void TestPlot::measuredCurves()
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const CurveRows target = { { 20, 1.0 }, { 30, -2.0 } };
    const CurveRows rows = { { 20, 3.0 }, { 30, 4.0 }, { 40, nan }, {}, { 0.0, 1.0 }, { nan, 1.0 },
        { 50 }, { 60, 7.0, 9.0 } };

    QCOMPARE(measuredCurve(rows, target, false),
        (CurvePoints { { 20, 3.0 }, { 30, 4.0 }, { 40, 0.0 }, { 50, 0.0 }, { 60, 7.0 } }));
    // Paired with the target by row, not by frequency; missing target rows are 0 dB.
    QCOMPARE(measuredCurve(rows, target, true),
        (CurvePoints { { 20, 2.0 }, { 30, 6.0 }, { 40, 0.0 }, { 50, 0.0 }, { 60, 7.0 } }));
    // The target drawn against itself is the 0 dB line.
    const CurvePoints self = measuredCurve(targetRows(), targetRows(), true);
    QCOMPARE(self.size(), qsizetype(kGridSize));
    for (const QPointF& p : self)
        QCOMPARE(p.y(), 0.0);
    QVERIFY(measuredCurve({}, target, true).isEmpty());
}

void TestPlot::flatBands_data()
{
    QTest::addColumn<EQ_data>("band");
    QTest::addColumn<QString>("message");
    QTest::newRow("Q 0") << EQ_data { 1, 1, 1000, 6.0, 0.0 }
                         << "band 1 drawn flat: Q 0, frequency 1000 Hz";
    QTest::newRow("negative Q") << EQ_data { 1, 4, 200, 6.0, -1.0 }
                                << "band 1 drawn flat: Q -1, frequency 200 Hz";
    QTest::newRow("frequency 0") << EQ_data { 1, 2, 0, 0.0, 0.707 }
                                 << "band 1 drawn flat: Q 0.707, frequency 0 Hz";
    QTest::newRow("Q not a number")
        << EQ_data { 1, 3, 100, 0.0, std::numeric_limits<double>::quiet_NaN() }
        << "band 1 drawn flat: Q nan, frequency 100 Hz";
}

void TestPlot::flatBands()
{
    QFETCH(EQ_data, band);
    QFETCH(QString, message);

    BandSet set({}, { band, { 1, 1, 1000, 6.0, 2.0 } });
    QTest::ignoreMessage(QtDebugMsg, qPrintable(message));
    const CurvePoints combined = ::combinedCurve(set.ptrs, true);
    QVERIFY(allFinite(combined));
    QCOMPARE(combined[103].y(), bandCurve(*set.ptrs[2], 2)[103].y()); // only band 2 counts

    QTest::ignoreMessage(QtDebugMsg, qPrintable(message));
    const CurvePoints own = bandCurve(band, 1);
    QVERIFY(allFinite(own));
    for (const QPointF& p : own)
        QCOMPARE(p.y(), 0.0);

    // A gain far outside any dial overflows the prototype: still no NaN or infinity.
    BandSet wild({}, { { 1, 1, 1000, 1e5, 1.0 } });
    QVERIFY(allFinite(::combinedCurve(wild.ptrs, true)));
}

void TestPlot::wheelZoom_data()
{
    QTest::addColumn<double>("min");
    QTest::addColumn<double>("max");
    QTest::addColumn<int>("delta");
    QTest::addColumn<double>("newMin");
    QTest::addColumn<double>("newMax");
    QTest::newRow("wider") << -20.0 << 20.0 << 120 << -21.0 << 21.0;
    QTest::newRow("narrower") << -20.0 << 20.0 << -120 << -19.0 << 19.0;
    QTest::newRow("no vertical delta narrows") << -20.0 << 20.0 << 0 << -19.0 << 19.0;
    QTest::newRow("narrowest") << -10.0 << 10.0 << -120 << -10.0 << 10.0;
    QTest::newRow("widest") << -98.0 << 98.0 << 120 << -98.0 << 98.0;
    QTest::newRow("lopsided") << -97.5 << 10.5 << 120 << -98.0 << 11.5;
}

void TestPlot::wheelZoom()
{
    QFETCH(double, min);
    QFETCH(double, max);
    QFETCH(int, delta);
    QFETCH(double, newMin);
    QFETCH(double, newMax);
    const LevelRange r = zoomLevelRange({ min, max }, delta);
    QCOMPARE(r.min, newMin);
    QCOMPARE(r.max, newMax);

    QValueAxis axis;
    axis.setRange(min, max);
    ResponseChart::zoomLevelAxis(&axis, delta);
    QCOMPARE(axis.min(), newMin);
    QCOMPARE(axis.max(), newMax);
}

void TestPlot::switchSteps()
{
    using S = PlotStep;
    using L = QList<PlotStep>;
    QCOMPARE(curveSwitchSteps(CurveSwitch::Target, true, false, false),
        (L { { S::StartThread }, { S::DrawTarget } }));
    QCOMPARE(curveSwitchSteps(CurveSwitch::Target, false, false, false),
        (L { { S::StartThread }, { S::Clear, 2 } }));
    QCOMPARE(curveSwitchSteps(CurveSwitch::Source, false, true, true),
        (L { { S::StartThread }, { S::Clear, 1 } }));
    QCOMPARE(curveSwitchSteps(CurveSwitch::Combined, false, false, false), (L { { S::Clear, 0 } }));
    QCOMPARE(curveSwitchSteps(CurveSwitch::Filtered, false, false, false),
        (L { { S::StartThread }, { S::Clear, 3 } }));
    QCOMPARE(curveSwitchSteps(CurveSwitch::Each, true, false, false), (L { { S::DrawEach } }));
    QCOMPARE(curveSwitchSteps(CurveSwitch::Compensated, false, true, true),
        (L { { S::StartThread }, { S::DrawSource }, { S::DrawTarget } }));
    QCOMPARE(curveSwitchSteps(CurveSwitch::Compensated, true, false, true),
        (L { { S::StartThread }, { S::DrawTarget } }));

    QCOMPARE(QString(curveSwitchRow(CurveSwitch::Compensated).settingsKey), QString("Raw_Mark"));
    QCOMPARE(QString(curveSwitchRow(CurveSwitch::Combined).checkBox), QString("checkBox_EQ"));
    QCOMPARE(QString(curveSwitchRow(CurveSwitch::Filtered).checkBox), QString("checkBox_combined"));
    QCOMPARE(compensatedBoxText(true, 1), QString("Compensated"));
    QCOMPARE(compensatedBoxText(false, 1), QString("Raw"));
    QCOMPARE(compensatedBoxText(true, 0), QString("补偿"));
    QCOMPARE(compensatedBoxText(false, 2), QString("原始"));
}

QTEST_MAIN(TestPlot)
#include "test_plot.moc"
