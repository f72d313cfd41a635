#pragma once

// The real main window for benchmarks: a busy ten-band preset, measured
// curves on the grid, the window shown at its size with every curve on.

#include "app/macapplication.h"
#include "app/mainwindow.h"
#include "window_internals.h"
#include "app/startup.h"
#include "device/threads.h"
#include "dsp/band.h"
#include "dsp/grid.h"
#include "plot/curve_switches.h"
#include "plot/curves.h"
#include "store/paths.h"
#include "widgets/resources.h"

#include "screen_image.h"
#include "support/busy_preset.h"
#include "window_main.h"

#include <QApplication>
#include <QCheckBox>
#include <QChartView>
#include <QGraphicsItem>
#include <QGraphicsScene>
#include <QLoggingCategory>
#include <QScreen>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <memory>
#include <vector>

namespace {

// The busy preset with its first ten bands.
struct TenBands
{
    EQ_data records[12];
    TenBands()
    {
        records[0] = kBusyPreamp;
        for (int i = 0; i < 10; ++i)
            records[i + 1] = kBusyBands[std::size_t(i)];
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
        rows.append({ freqs1[k], 3.0 * std::sin(k / 10.0 + shift) });
    return rows;
}

// Counts the paints of a widget.
struct PaintCounter : QObject
{
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

// The real main window at its size, shown, every curve switched on: the
// redraw measured is the one the user waits for while dragging a dial.
struct Window
{
    QTemporaryDir dir;
    std::unique_ptr<MainWindow> w;
    MainWindowInternals in() const { return internals(*w); }
    PaintCounter chartPaints;
    Window()
    {
        // The window writes its login item under HOME: keep it in the temporary directory.
        qputenv("HOME", dir.path().toLocal8Bit());
        setAppDataDirForTesting(dir.path());
        makeWorkingFolders(dir.path());
        w = std::make_unique<MainWindow>();
        stopDeviceThreads(); // no device search polling beside the measurement
        in().chartView->viewport()->installEventFilter(&chartPaints);
        w->show();
        QApplication::processEvents();
    }
    void showEveryCurve(const CurveRows& source, const CurveRows& target)
    {
        in().fre_list = source;
        in().tar_list = target;
        for (const CurveSwitchRow& row : curveSwitchRows) {
            auto* box = w->findChild<QCheckBox*>(row.checkBox);
            const bool on = row.id != CurveSwitch::Compensated;
            if (box->isChecked() != on)
                box->click();
        }
        QApplication::processEvents();
    }
    // What the event loop does once the edit's slot has returned: the
    // deferred band redraw, the scene's changed areas and the paints that
    // show them. Each turn delivers only what was posted before it, and that
    // chain takes up to four; a turn with nothing posted costs next to nothing.
    void finish()
    {
        for (int turn = 0; turn < 6; ++turn)
            QCoreApplication::sendPostedEvents();
    }
    // The chart view's part of what the window last put on the screen.
    QImage shownChart() const { return testsupport::shownImage(in().chartView); }
    // After a measurement: the chart on the screen is the chart drawn afresh
    // without any cached image, so the last paint showed no image out of date.
    bool screenShowsFreshChart() const
    {
        return testsupport::drawnAfresh(in().chartView) == shownChart();
    }
};

// The iterations after which the chart's pixels on the screen differ from
// those after the iteration before: a paint that only showed old images
// again changes nothing.
struct ScreenChanges
{
    QImage last;
    int changed = 0;
    void note(const Window& win)
    {
        QImage now = win.shownChart();
        changed += !last.isNull() && now != last;
        last = std::move(now);
    }
    // The counters screen_changed (the share of iterations after which the
    // pixels changed) and screen_fresh (1 when the screen shows at the end
    // what drawing the chart afresh shows); and a failed run where the work
    // measured did not reach the screen: a picture out of date at the end or,
    // where every iteration moves a curve, an iteration that left the pixels
    // as they were.
    void report(benchmark::State& state, const Window& win, double iterations,
        bool everyIterationChanges) const
    {
        const double share = double(changed) / std::max(1.0, iterations - 1);
        const bool fresh = win.screenShowsFreshChart();
        state.counters["screen_changed"] = share;
        state.counters["screen_fresh"] = fresh;
        if (!fresh)
            state.SkipWithError("the screen shows a chart out of date");
        else if (everyIterationChanges && changed < int(iterations) - 1)
            state.SkipWithError("an iteration left the chart on the screen as it was");
    }
};

double percentile(std::vector<double> v, double p)
{
    std::sort(v.begin(), v.end());
    return v[static_cast<std::size_t>(std::ceil(p * static_cast<double>(v.size()))) - 1];
}

// The times of a manual-time benchmark's iterations, with their median and
// 99th percentile as counters.
struct IterationTimes
{
    std::vector<double> seconds;
    IterationTimes() { seconds.reserve(100000); }
    void add(benchmark::State& state, std::chrono::steady_clock::time_point start)
    {
        const double s
            = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        seconds.push_back(s);
        state.SetIterationTime(s);
    }
    double count() const { return double(seconds.size()); }
    void report(benchmark::State& state) const
    {
        state.counters["median_ms"] = percentile(seconds, 0.5) * 1e3;
        state.counters["p99_ms"] = percentile(seconds, 0.99) * 1e3;
    }
};

} // namespace
