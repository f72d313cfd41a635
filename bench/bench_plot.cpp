#include "dsp/band.h"
#include "dsp/response.h"
#include "plot/curves.h"
#include "plot/response_chart.h"

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QLogValueAxis>
#include <QValueAxis>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
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

// The main window at its smallest size with the chart where the form puts it.
struct Window
{
    QWidget window;
    QChartView* view = new QChartView(&window);
    QChart* chart = new QChart;
    QLogValueAxis* axisX = new QLogValueAxis(&window);
    QValueAxis* axisY = new QValueAxis(&window);
    Window()
    {
        window.resize(1114, 691);
        view->setGeometry(117, 150, 880, 420);
        ResponseChart::build(&window, view, chart, axisX, axisY, nullptr);
        window.show();
        QApplication::processEvents();
    }
};

double percentile(std::vector<double> v, double p)
{
    std::sort(v.begin(), v.end());
    return v[static_cast<std::size_t>(std::ceil(p * static_cast<double>(v.size()))) - 1];
}

// Every curve shown: recompute, hand every series its points, repaint the
// chart view once. everyCurveChanges moves every band, the source and the
// target too (a preset load), so all fifteen series are really replaced.
void redraw(benchmark::State& state, bool everyCurveChanges)
{
    TenBands set;
    Window w;
    const ResponseChart plot(w.view);
    CurveRows source = gridCurve(0.0);
    CurveRows target = gridCurve(1.0);
    FrequencyResponse combined_fr;
    double filtered_offset = 0.0;
    std::vector<double> times;
    times.reserve(100000);
    int step = 0;

    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const double gain = (step++ % 24) * 0.5 - 6.0; // a dragged gain dial
        set.records[3].gain = gain;
        if (everyCurveChanges) {
            for (int n = 1; n <= 10; ++n)
                set.records[n].gain = gain + n * 0.25;
            source = gridCurve(gain);
            target = gridCurve(gain + 1.0);
        }

        EQ_data* const* s = plottedSet("L+R", false);
        plot.setCurve(ResponseChart::kCombined, combinedCurve(s, true));
        combined_fr = filt_combined_fr1;
        filtered_offset = nextFilteredOffset(true, gain_value, filtered_offset);
        plot.setCurve(ResponseChart::kFiltered,
                      filteredCurve(combined_fr, filtered_offset, source, target, true, false));
        plot.setCurve(ResponseChart::kSource, measuredCurve(source, target, false));
        plot.setCurve(ResponseChart::kTarget, measuredCurve(target, target, false));
        plot.setBandCurves(eachBandCurves(s));
        w.view->viewport()->repaint();

        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        times.push_back(seconds);
        state.SetIterationTime(seconds);
    }
    state.counters["median_ms"] = percentile(times, 0.5) * 1e3;
    state.counters["p99_ms"] = percentile(times, 0.99) * 1e3;
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
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
