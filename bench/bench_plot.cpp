#include "dsp/band.h"
#include "dsp/response.h"
#include "plot/curves.h"
#include "plot/response_chart.h"

#include "app/macapplication.h"
#include "app/mainwindow.h"
#include "app/startup.h"
#include "device/threads.h"
#include "plot/curve_switches.h"
#include "store/paths.h"
#include "store/settings.h"
#include "widgets/resources.h"

#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QChartView>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <memory>
#include <vector>

namespace {

// Preamp on and ten enabled bands of every type, as a busy preset has.
struct TenBands
{
    EQ_data records[12];
    TenBands()
    {
        records[0] = {1, 1, 632, -4.5, 0.707};
        const EQ_data bands[10] = {
            {1, 1, 20, 3.0, 0.2},    {1, 4, 105, 4.0, 0.707},   {1, 1, 240, -2.5, 1.4},
            {1, 1, 632, 1.5, 2.0},   {1, 2, 18665, 0.0, 0.707}, {1, 3, 25, 0.0, 0.5},
            {1, 1, 2047, -6.0, 4.0}, {1, 5, 8148, 2.0, 0.9},    {1, 1, 3811, 5.0, 8.0},
            {1, 9, 12332, -1.0, 1.0},
        };
        for (int i = 0; i < 10; ++i)
            records[i + 1] = bands[i];
        use();
    }
    // Makes these records the edited sets (a window being built points them elsewhere).
    void use()
    {
        for (int i = 0; i < 12; ++i)
            EQ[i] = EQ_R[i] = &records[i];
    }
};

CurveRows gridCurve(double shift)
{
    CurveRows rows;
    for (std::size_t k = 0; k < kGridSize; ++k)
        rows.append({freqs1[k], 3.0 * std::sin(k / 10.0 + shift)});
    return rows;
}

// The real main window at its size, shown, every curve switched on: the
// redraw measured is the one the user waits for while dragging a dial.
struct Window
{
    QTemporaryDir dir;
    std::unique_ptr<MainWindow> w;
    Window()
    {
        // The window writes its login item under HOME: keep it in the temporary directory.
        qputenv("HOME", dir.path().toLocal8Bit());
        setAppDataDirForTesting(dir.path());
        makeWorkingFolders(dir.path());
        w = std::make_unique<MainWindow>();
        stopDeviceThreads(); // no device search polling beside the measurement
        w->show();
        QApplication::processEvents();
    }
    void showEveryCurve(const CurveRows& source, const CurveRows& target)
    {
        w->fre_list = source;
        w->tar_list = target;
        for (const CurveSwitchRow& row : curveSwitchRows) {
            auto* box = w->findChild<QCheckBox*>(row.checkBox);
            const bool on = row.id != CurveSwitch::Compensated;
            if (box->isChecked() != on)
                box->click();
        }
        QApplication::processEvents();
    }
    // What the event loop does once the edit's slot has returned: the
    // deferred band redraw, then the one paint of what changed on the view.
    void finish() { QCoreApplication::sendPostedEvents(); }
};

// Counts the paints of the chart view, to show each redraw really painted.
struct PaintCounter : QObject
{
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

double percentile(std::vector<double> v, double p)
{
    std::sort(v.begin(), v.end());
    return v[static_cast<std::size_t>(std::ceil(p * static_cast<double>(v.size()))) - 1];
}

// Every curve shown on the real window: recompute, hand every changed series
// its points, let the event loop redraw the band curve and paint the view. everyCurveChanges moves every band, the source and the
// target too (a preset load), so all fifteen series are really replaced.
void redraw(benchmark::State& state, bool everyCurveChanges)
{
    TenBands set;
    Window win;
    set.use();
    MainWindow& w = *win.w;
    win.showEveryCurve(gridCurve(0.0), gridCurve(1.0));
    sysSetValue.FollowPre = true;
    sysSetValue.Filtered_FR_alignment = true;
    PaintCounter counter;
    w.chartView->viewport()->installEventFilter(&counter);
    std::vector<double> times;
    times.reserve(100000);
    int step = 0;

    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const double gain = (step++ % 24) * 0.5 - 6.0; // a dragged gain dial
        set.records[3].gain = gain;
        w.each_EQ_num = 3;
        if (everyCurveChanges) {
            for (int n = 1; n <= 10; ++n)
                set.records[n].gain = gain + n * 0.25;
            w.fre_list = gridCurve(gain);
            w.tar_list = gridCurve(gain + 1.0);
            w.startThread();
            w.fre_csv_draw(w.fre_list);
            w.tar_csv_draw(w.tar_list);
            w.draw_value_each();
        } else {
            w.startThread();
        }
        win.finish();

        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        times.push_back(seconds);
        state.SetIterationTime(seconds);
    }
    state.counters["median_ms"] = percentile(times, 0.5) * 1e3;
    state.counters["p99_ms"] = percentile(times, 0.99) * 1e3;
    state.counters["paints_per_redraw"] = double(counter.paints) / double(times.size());
}

void BM_RedrawAfterBandEdit(benchmark::State& state)
{
    redraw(state, false);
}
BENCHMARK(BM_RedrawAfterBandEdit)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(3.0);

void BM_RedrawAllCurvesChanged(benchmark::State& state)
{
    redraw(state, true);
}
BENCHMARK(BM_RedrawAllCurvesChanged)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(3.0);

// The computation alone, without the chart.
void BM_CurvesAfterBandEdit(benchmark::State& state)
{
    TenBands set;
    const CurveRows source = gridCurve(0.0);
    const CurveRows target = gridCurve(1.0);
    int step = 0;
    for (auto _ : state) {
        set.records[3].gain = (step++ % 24) * 0.5 - 6.0;
        EQ_data* const* s = plottedSet("L+R", false);
        CurvePoints c = combinedCurve(s, true);
        CurvePoints f = filteredCurve(filt_combined_fr1, gain_value, source, target, true, false);
        auto bands = eachBandCurves(s);
        benchmark::DoNotOptimize(c.data());
        benchmark::DoNotOptimize(f.data());
        benchmark::DoNotOptimize(bands[9].data());
    }
}
BENCHMARK(BM_CurvesAfterBandEdit)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    MacApplication app(argc, argv);
    initResources();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
