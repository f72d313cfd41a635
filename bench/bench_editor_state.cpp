// The editor state's speed: a preset change on the real window (the reload,
// its deferred fill of every control and the paint that follows, every
// curve shown, ten bands on), and the 116-frame whole-set upload into the
// simulated device.

#include "support/plot_window.h"

#include "device/device_state.h"
#include "editor/set_upload.h"
#include "held_device.h"
#include "widgets/customcontrols.h"

#include <QComboBox>
#include <QSignalBlocker>
#include <QtCharts/QChart>
#include <QtCharts/QXYSeries>

#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

// A second busy preset: every band moved and its gain changed, so a switch
// between the two changes every band curve, the combined and the filtered one.
struct OtherTenBands : TenBands
{
    OtherTenBands()
    {
        for (int b = 1; b <= 10; ++b) {
            records[b].center_frequency = records[b].center_frequency * 13 / 10;
            records[b].gain += 1.0;
        }
    }
};

// Alternates between the two presets: the reload, the deferred fill (with the
// band curves its slots ask for) and the paint. Counters: the median of each
// of the three, the series replaced per switch (only changed ones are), the
// share of switches after which the chart's pixels on the screen changed, and
// screen_fresh, 1 when the screen shows at the end what drawing the chart
// afresh shows. A switch between the two presets that leaves the screen as it
// was, or a stale screen at the end, fails the run.
void presetChange(benchmark::State& state, bool presetsDiffer)
{
    TenBands first;
    OtherTenBands second;
    Window win;
    MainWindow& w = *win.w;
    const MainWindowInternals in = internals(w);
    win.showEveryCurve(gridCurve(0.0), gridCurve(1.0));
    {
        const QSignalBlocker quiet(in.comboBox_PEQMode);
        in.comboBox_PEQMode->setCurrentIndex(0); // "L+R"
    }
    int replaced = 0;
    for (QAbstractSeries* series : in.chart->series())
        QObject::connect(static_cast<QXYSeries*>(series), &QXYSeries::pointsReplaced,
            [&replaced] { ++replaced; });

    IterationTimes times;
    ScreenChanges screen;
    std::vector<double> reload, fill, paint;
    bool useFirst = false;
    for (auto _ : state) {
        useFirst = !useFirst || !presetsDiffer;
        (useFirst ? static_cast<TenBands&>(first) : second).use();
        const auto t0 = std::chrono::steady_clock::now();
        w.config_update_ui();
        const auto t1 = std::chrono::steady_clock::now();
        QCoreApplication::sendPostedEvents(
            &w, QEvent::MetaCall); // the fill and band curves, not the paint
        const auto t2 = std::chrono::steady_clock::now();
        win.finish();
        times.add(state, t0);
        const auto t3 = std::chrono::steady_clock::now();
        screen.note(win);
        reload.push_back(std::chrono::duration<double>(t1 - t0).count());
        fill.push_back(std::chrono::duration<double>(t2 - t1).count());
        paint.push_back(std::chrono::duration<double>(t3 - t2).count());
    }
    times.report(state);
    state.counters["reload_ms"] = percentile(reload, 0.5) * 1e3;
    state.counters["fill_ms"] = percentile(fill, 0.5) * 1e3;
    state.counters["paint_ms"] = percentile(paint, 0.5) * 1e3;
    state.counters["series_replaced"] = double(replaced) / times.count();
    screen.report(state, win, times.count(), presetsDiffer);
}

void BM_PresetChangeReload(benchmark::State& state) { presetChange(state, true); }
BENCHMARK(BM_PresetChangeReload)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(3.0);

// The same preset reloaded: no curve changes, so none is replaced or painted.
void BM_SamePresetReload(benchmark::State& state) { presetChange(state, false); }
BENCHMARK(BM_SamePresetReload)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(3.0);

// Standard output goes nowhere while it lives: the linked upload prints its
// time on every run.
struct QuietStdout
{
    int saved = -1;
    QuietStdout()
    {
        std::fflush(stdout);
        saved = dup(STDOUT_FILENO);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        close(null);
    }
    ~QuietStdout()
    {
        std::fflush(stdout);
        dup2(saved, STDOUT_FILENO);
        close(saved);
    }
};

// Every record on, "L+R", the device taking tenths: 116 frames built and written.
void BM_Upload116Frames(benchmark::State& state)
{
    sim::Engine::instance().reset();
    HeldDevice device;
    if (!device.take()) {
        state.SkipWithError("no simulated device");
        return;
    }
    TenBands set;
    for (EQ_data& r : set.records) {
        r.status = 1;
        r.type = 1;
    }
    sim::Engine& engine = sim::Engine::instance();
    IterationTimes times;
    std::size_t frames = 0;
    hid_status = 1; // an upload goes out only to a device that answered the hello
    {
        const QuietStdout quiet;
        for (auto _ : state) {
            const auto start = std::chrono::steady_clock::now();
            sendSetUpload(setUploadFrames(EditRoute::Linked, EQ, EQ_R, 193, true), true);
            times.add(state, start);
            frames += engine.writes().size();
            engine.clearWrites();
        }
    }
    hid_status = 0;
    device.release();
    times.report(state);
    state.counters["frames"] = double(frames) / times.count();
    if (frames != 116 * times.seconds.size())
        state.SkipWithError("an upload did not write its 116 frames");
}
BENCHMARK(BM_Upload116Frames)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

QV_WINDOW_BENCHMARK_MAIN()
