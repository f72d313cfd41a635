// One wheel notch on a band's gain dial of a busy ten-band preset, every
// curve shown, the device connected ("L+R": six frames per notch): from the
// wheel event the window system hands over to the frames written and the
// deferred band curve drawn. A second run also takes the chart's paint that
// follows. screen_changed is the share of notches after which the chart's
// pixels on the screen changed, screen_fresh 1 when the screen shows at the
// end what drawing the chart afresh shows. A run fails where a notch wrote
// other than six frames, left the screen as it was, or left it out of date.

#include "support/plot_window.h"

#include "app/mainwindow_ui.h"
#include "device/device_state.h"
#include "device/hid_device.h"
#include "editor/band_edit.h"
#include "editor/editor_state.h"
#include "plot/response_chart.h"
#include "simhid.h"
#include "widgets/balance.h"
#include "widgets/customcontrols.h"

#include <QComboBox>
#include <QGroupBox>
#include <QSignalBlocker>
#include <QtCharts/QXYSeries>
#include <qpa/qwindowsysteminterface.h>

#include <chrono>

namespace {

constexpr int kEditedBand = 3;

// The window with the simulated device open and greeted.
struct ConnectedWindow : Window
{
    hid_device* handle = nullptr;
    ConnectedWindow()
    {
        sim::Engine::instance().reset();
        sim::Engine::instance().plug();
        handle = hid_open(QV_VENDOR_ID, QV_PRODUCT_ID, nullptr);
        scard_device = new qv_device(handle);
        hid_status = 1;
    }
    ~ConnectedWindow()
    {
        hid_status = 0;
        hid_close(handle);
        delete scard_device;
        scard_device = nullptr;
    }
};

void wheelNotch(benchmark::State& state, bool withPaint)
{
    TenBands set;
    ConnectedWindow win;
    set.use();
    MainWindow& w = *win.w;
    const MainWindowInternals in = internals(w);
    win.showEveryCurve(gridCurve(0.0), gridCurve(1.0));
    {
        const QSignalBlocker quiet(in.comboBox_PEQMode);
        in.comboBox_PEQMode->setCurrentIndex(0); // "L+R"
    }
    for (const BandRowDescriptor& row : bandRowDescriptors())
        row.groupBox.of(*in.ui)->setVisible(row.band <= 10);
    show_EQ_ui = 10;
    in.ui->groupBox_23->hide();

    Balance1* dial = bandRowDescriptors()[kEditedBand - 1].gainDial.of(*in.ui);
    dial->Line_setValue(truncSaturated(set.records[kEditedBand].gain * 2.0));
    QApplication::processEvents();
    in.ui->scrollArea->ensureWidgetVisible(dial);
    QApplication::processEvents();
    QWindow* window = w.windowHandle();
    const QPoint at = dial->mapTo(&w, dial->rect().center());
    const QPoint global = w.mapToGlobal(at);

    sim::Engine& engine = sim::Engine::instance();
    engine.clearWrites();
    IterationTimes times;
    ScreenChanges screen;
    std::size_t frames = 0;
    int delta = 120;

    for (auto _ : state) {
        delta = -delta; // back and forth, never against the dial's end
        const auto start = std::chrono::steady_clock::now();
        QWindowSystemInterface::handleWheelEvent(window, at, global, {}, { 0, delta });
        QWindowSystemInterface::flushWindowSystemEvents();
        if (withPaint)
            win.finish();
        else
            QCoreApplication::sendPostedEvents(&w, QEvent::MetaCall); // the deferred band curve
        times.add(state, start);

        frames += engine.writes().size();
        engine.clearWrites();
        if (!withPaint)
            win.finish(); // the paint, outside the measurement
        screen.note(win);
    }
    times.report(state);
    const auto bandCurvePoints = std::size_t(
        ResponseChart(in.chartView).series(ResponseChart::kFirstBand + kEditedBand - 1)->count());
    state.counters["frames_per_notch"] = double(frames) / times.count();
    state.counters["band_curve_points"] = double(bandCurvePoints);
    screen.report(state, win, times.count(), true);
    if (frames != 6 * times.seconds.size())
        state.SkipWithError("a notch did not write its six frames");
    else if (bandCurvePoints != kGridSize)
        state.SkipWithError("the band curve was not drawn");
}

void BM_GainDialNotch(benchmark::State& state) { wheelNotch(state, false); }
BENCHMARK(BM_GainDialNotch)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(3.0);

void BM_GainDialNotchWithPaint(benchmark::State& state) { wheelNotch(state, true); }
BENCHMARK(BM_GainDialNotchWithPaint)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(3.0);

} // namespace

QV_WINDOW_BENCHMARK_MAIN()
