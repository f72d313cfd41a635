// The preset panel: building it with 100 local presets and a device
// announcing ten slots; selecting a local preset until the editor has
// reloaded it; and saving a device slot, from its records to the frames
// handed to the sender.
#include "app/macapplication.h"
#include "app/mainwindow.h"
#include "window_internals.h"
#include "app/mainwindow_ui.h"
#include "app/startup.h"
#include "device/device_state.h"
#include "device/hid_device.h"
#include "device/preset_records.h"
#include "device/threads.h"
#include "store/paths.h"
#include "store/presets.h"
#include "settings/systemsetting.h"
#include "store/shared_state.h"
#include "widgets/resources.h"
#include "workspace/workspace.h"
#include "workspace/workspace_state.h"

#include "simhid.h"
#include "support/window_main.h"

#include <QApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLoggingCategory>
#include <QRadioButton>
#include <QVBoxLayout>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <memory>
#include <vector>

namespace {

// 100 local presets with every band in use, in both preset files.
void writeLocalPresets(const QString& base, int count)
{
    for (const bool right : { false, true }) {
        QJsonArray array;
        for (int i = 0; i < count; ++i) {
            QJsonObject o;
            o.insert("index", i);
            o.insert("config_name", QStringLiteral("Preset%1").arg(i));
            o.insert("eq_gain", "1 -3");
            for (int k = 1; k <= 11; ++k)
                o.insert(QStringLiteral("eq_%1").arg(k),
                    QStringLiteral("1 %1 %2 %3 0.707")
                        .arg(1 + k % 5)
                        .arg(100 * k + i)
                        .arg(right ? -1.5 : 2.5));
            array.append(o);
        }
        QFile f(base
            + (right ? "/Workspace_Config/EQ_config_R.QVconfig"
                     : "/Workspace_Config/EQ_config.QVconfig"));
        f.open(QIODevice::WriteOnly);
        f.write(QJsonDocument(array).toJson());
    }
}

struct ProgramDir
{
    QTemporaryDir dir;
    ProgramDir()
    {
        qputenv("HOME", dir.path().toLocal8Bit());
        setAppDataDirForTesting(dir.path());
        makeWorkingFolders(dir.path());
        writeLocalPresets(dir.path(), 100);
    }
};

// A device with ten left/right slots, as its stream leaves them.
void announceTenSlots()
{
    test_str = QStringLiteral("ABCD");
    execute_biaozhi = true;
    Gain_flag = true;
    device_config_num = 10;
    MCU_Switch_Config_Index = 0;
    for (int s = 0; s < 10; ++s) {
        deviceSlot(s).config_name = QStringLiteral("Slot%1").arg(s + 1);
        deviceSlotR(s).config_name = deviceSlot(s).config_name;
        for (int k = 1; k < 12; ++k) {
            *deviceSlot(s).eq[k] = EQ_data { 1, 1 + k % 5, 90 * k, -2.5, 1.4 };
            *deviceSlotR(s).eq[k] = EQ_data { 1, 1 + k % 5, 80 * k, 3.5, 0.9 };
        }
    }
    device_config_count = device_config_count_R = 0;
}

double percentile(std::vector<double> v, double p)
{
    std::sort(v.begin(), v.end());
    return v[static_cast<std::size_t>(std::ceil(p * static_cast<double>(v.size()))) - 1];
}

void reportTimes(benchmark::State& state, const std::vector<double>& times)
{
    state.counters["median_ms"] = percentile(times, 0.5) * 1e3;
    state.counters["p99_ms"] = percentile(times, 0.99) * 1e3;
}

// The panel made and laid out with its 100 local buttons (preset 0 selected
// and saved as at start-up), then the device's ten slots listed in the
// numbered style with the active one selected.
void BM_PanelWith100LocalAnd10Device(benchmark::State& state)
{
    ProgramDir dir;
    EQ_config_Init();
    std::vector<double> times;
    for (auto _ : state) {
        announceTenSlots();
        selectedRadioIndex = 0;
        const auto start = std::chrono::steady_clock::now();
        auto ws = std::make_unique<Workspace>();
        ws->Device_Radio_Init();
        ws->resize(213, 570);
        ws->show();
        QCoreApplication::sendPostedEvents();
        const double seconds
            = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        times.push_back(seconds);
        state.SetIterationTime(seconds);
        if (ws->ui->verticalLayout->count() != 101 || device_config_count != 10)
            state.SkipWithError("panel not built");
        ws.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    reportTimes(state, times);
}
BENCHMARK(BM_PanelWith100LocalAnd10Device)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);

// A click on another local preset until the editor has reloaded it: the
// save of the preset left, the notifications, the deferred reload and
// whatever the reload defers in turn.
void BM_SelectLocalPresetUntilReloaded(benchmark::State& state)
{
    ProgramDir dir;
    auto w = std::make_unique<MainWindow>();
    stopDeviceThreads(); // no device search polling beside the measurement
    w->show();
    QApplication::processEvents();
    Workspace* ws = internals(*w).ui->widget;
    std::vector<double> times;
    std::vector<double> roads; // the click alone: save, notifications, switch
    int step = 0;
    for (auto _ : state) {
        auto* button
            = ws->findChild<QRadioButton*>(QStringLiteral("RadioButton_%1").arg(1 + step++ % 2));
        bool reloaded = false;
        const auto start = std::chrono::steady_clock::now();
        button->click();
        roads.push_back(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        // Queued behind the deferred reload; what runs it queues behind what that defers.
        QMetaObject::invokeMethod(
            ws,
            [&] {
                QMetaObject::invokeMethod(
                    ws, [&] { reloaded = true; }, Qt::QueuedConnection);
            },
            Qt::QueuedConnection);
        while (!reloaded)
            QCoreApplication::processEvents();
        const double seconds
            = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        times.push_back(seconds);
        state.SetIterationTime(seconds);
    }
    reportTimes(state, times);
    state.counters["road_median_ms"] = percentile(roads, 0.5) * 1e3;
    w.reset();
    systemset = nullptr; // went with the window
}
BENCHMARK(BM_SelectLocalPresetUntilReloaded)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);

// Device_Config_Save of a listed left/right slot: the record built from the
// slot's records and 75 frames (0x110F, 74 x 0x1110) written to the
// simulated device.
void BM_DeviceSlotSaveToSender(benchmark::State& state)
{
    ProgramDir dir;
    EQ_config_Init();
    auto& engine = sim::Engine::instance();
    engine.reset();
    engine.plug();
    hid_device* handle = hid_open(QV_VENDOR_ID, QV_PRODUCT_ID, nullptr);
    scard_device = new qv_device(handle);
    announceTenSlots();
    auto ws = std::make_unique<Workspace>();
    ws->Device_Radio_Init();
    hid_status = 1;
    int slot = 0;
    std::size_t frames = 0;
    std::int64_t saves = 0;
    for (auto _ : state) {
        ws->Device_Config_Save(100 + 1 + slot++ % 9);
        state.PauseTiming();
        frames += engine.writes().size();
        ++saves;
        engine.clearWrites();
        state.ResumeTiming();
    }
    hid_status = 0;
    if (frames != 75 * std::size_t(saves))
        state.SkipWithError("a save did not write its 75 frames");
}
BENCHMARK(BM_DeviceSlotSaveToSender)->Unit(benchmark::kMicrosecond);

// The same record and frame list without the sender.
void BM_DeviceSlotRecordAndFrames(benchmark::State& state)
{
    EQ_data bands[2][12];
    EQ_config_data left, right;
    for (int k = 0; k < 12; ++k) {
        bands[0][k] = EQ_data { 1, 1 + k % 5, 90 * k + 20, -2.5, 1.4 };
        bands[1][k] = EQ_data { 1, 1 + k % 5, 80 * k + 20, 3.5, 0.9 };
        left.eq[k] = &bands[0][k];
        right.eq[k] = &bands[1][k];
    }
    for (auto _ : state) {
        const FrameList frames = saveSlotFrames(3,
            packDeviceRecord(RecordLayout::LeftRight, RecordBuilder::Save, QStringLiteral("Slot4"),
                left, right, true));
        benchmark::DoNotOptimize(frames.data());
    }
}
BENCHMARK(BM_DeviceSlotRecordAndFrames)->Unit(benchmark::kMicrosecond);

} // namespace

QV_WINDOW_BENCHMARK_MAIN()
