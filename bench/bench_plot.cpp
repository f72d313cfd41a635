#include "dsp/band.h"
#include "dsp/response.h"
#include "plot/curves.h"
#include "plot/response_chart.h"

#include "app/macapplication.h"
#include "app/mainwindow.h"
#include "window_internals.h"
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

#include "support/plot_window.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <memory>
#include <vector>

namespace {

// Every curve shown on the real window: recompute, hand every changed series
// its points, let the event loop redraw the band curve and paint the view.
// everyCurveChanges moves every band, the source and the target too (a
// preset load), so all fifteen series are really replaced. Counters: the
// paints per redraw, the share of redraws after which the chart's pixels on
// the screen changed, and screen_fresh, 1 when the screen shows at the end
// what drawing the chart afresh shows. A run without a paint, with a redraw
// that changed no pixel or with a stale screen at the end fails.
void redraw(benchmark::State& state, bool everyCurveChanges)
{
    TenBands set;
    Window win;
    set.use();
    MainWindow& w = *win.w;
    const MainWindowInternals in = internals(w);
    win.showEveryCurve(gridCurve(0.0), gridCurve(1.0));
    sysSetValue.FollowPre = true;
    sysSetValue.Filtered_FR_alignment = true;
    IterationTimes times;
    ScreenChanges screen;
    const int paintsBefore = win.chartPaints.paints;
    int step = 0;

    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const double gain = (step++ % 24) * 0.5 - 6.0; // a dragged gain dial
        set.records[3].gain = gain;
        in.each_EQ_num = 3;
        if (everyCurveChanges) {
            for (int n = 1; n <= 10; ++n)
                set.records[n].gain = gain + n * 0.25;
            in.fre_list = gridCurve(gain);
            in.tar_list = gridCurve(gain + 1.0);
            w.startThread();
            w.fre_csv_draw(in.fre_list);
            w.tar_csv_draw(in.tar_list);
            w.draw_value_each();
        } else {
            w.startThread();
        }
        win.finish();
        times.add(state, start);
        screen.note(win);
    }
    times.report(state);
    const int paints = win.chartPaints.paints - paintsBefore;
    state.counters["paints_per_redraw"] = double(paints) / times.count();
    screen.report(state, win, times.count(), true);
    if (paints == 0)
        state.SkipWithError("the chart was never painted");
}

void BM_RedrawAfterBandEdit(benchmark::State& state) { redraw(state, false); }
BENCHMARK(BM_RedrawAfterBandEdit)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(3.0);

void BM_RedrawAllCurvesChanged(benchmark::State& state) { redraw(state, true); }
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

QV_WINDOW_BENCHMARK_MAIN()
