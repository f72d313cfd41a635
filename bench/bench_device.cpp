// Device link speed: decoding input reports, and the delay from a report
// leaving hid_read to its frame arriving in a slot on the GUI thread.
#include <benchmark/benchmark.h>

#include "support/quiet_core_main.h"
#include "support/sim_link.h"

#include "device/frame.h"
#include "device/hid_device.h"
#include "device/threads.h"
#include "simhid.h"

#include <QCoreApplication>
#include <QLoggingCategory>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace {

void BM_DecodeInputReport(benchmark::State& state)
{
    // A realistic mix: stream words, state frames and a few rejects.
    std::vector<sim::Report> reports;
    for (int k = 0; k < 256; ++k)
        reports.push_back(sim::makeReport(k % 7 ? 0x1106 : 0x9D01, k * 2654435761u, 0xC9, k));
    reports[17][14] = 0; // bad tail
    reports[99][5] = reports[99][6] = 0; // command 0
    size_t i = 0;
    int64_t accepted = 0;
    for (auto _ : state) {
        const auto f = decodeInputReport(reports[i].data(), kFrameReportSize);
        accepted += f.has_value();
        benchmark::DoNotOptimize(f);
        i = (i + 1) & 255;
    }
    benchmark::DoNotOptimize(accepted);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DecodeInputReport);

void BM_EncodeFrame(benchmark::State& state)
{
    qv_hid_new::CustomHidFrameInfo f;
    f.cmd = 0x9101;
    for (auto _ : state) {
        ++f.data;
        benchmark::DoNotOptimize(encodeFrame(f));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_EncodeFrame);

class Sink : public QObject
{
public:
    bool arrived = false;
    std::chrono::steady_clock::time_point at;
    void onFrame(qv_hid_new::CustomHidFrameInfo)
    {
        at = std::chrono::steady_clock::now();
        arrived = true;
    }
};

void BM_ReadToGuiSlot(benchmark::State& state)
{
    connectSimulatedLink();
    auto& engine = sim::Engine::instance();
    Sink sink;
    QObject::connect(recv_thread, &qv_hid_new_recv::qv_hid_new_recv_update, &sink, &Sink::onFrame);

    std::vector<double> latencies;
    int32_t n = 0;
    for (auto _ : state) {
        sink.arrived = false;
        engine.queueFrame(0x9D01, ++n);
        while (!sink.arrived)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        const std::chrono::duration<double> d = sink.at - engine.lastReportRead();
        latencies.push_back(d.count());
        state.SetIterationTime(d.count());
    }
    stopDeviceThreads();
    QObject::disconnect(recv_thread, nullptr, &sink, nullptr);
    QCoreApplication::sendPostedEvents();
    connect_thread->running = true;

    std::sort(latencies.begin(), latencies.end());
    if (!latencies.empty()) {
        state.counters["p50_us"] = latencies[latencies.size() / 2] * 1e6;
        state.counters["p99_us"] = latencies[latencies.size() * 99 / 100] * 1e6;
    }
}
BENCHMARK(BM_ReadToGuiSlot)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(20000);

// From a device's plug-in (its node announced) to the search holding the
// opened handle, while the search waits with no timed attempt due.
void BM_PlugToOpened(benchmark::State& state)
{
    auto& engine = sim::Engine::instance();
    engine.reset();
    std::vector<double> latencies;
    for (auto _ : state) {
        ConnectThread search;
        search.fallbackIntervalMs = -1;
        std::atomic<bool> opened { false };
        std::chrono::steady_clock::time_point at;
        QObject::connect(
            &search, &ConnectThread::Connected_Success, &search,
            [&] {
                at = std::chrono::steady_clock::now();
                opened = true;
            },
            Qt::DirectConnection);
        const int attempts = engine.openAttempts();
        search.start();
        while (engine.openAttempts() == attempts) // the first attempt found nothing
            std::this_thread::yield();
        const auto plugged = std::chrono::steady_clock::now();
        engine.plug();
        while (!opened)
            std::this_thread::yield();
        const std::chrono::duration<double> d = at - plugged;
        latencies.push_back(d.count());
        state.SetIterationTime(d.count());
        search.wait();
        hid_close(scard_device->handle);
        delete scard_device;
        scard_device = nullptr;
        engine.unplug();
    }
    QCoreApplication::sendPostedEvents();
    std::sort(latencies.begin(), latencies.end());
    if (!latencies.empty()) {
        state.counters["p50_us"] = latencies[latencies.size() / 2] * 1e6;
        state.counters["p99_us"] = latencies[latencies.size() * 99 / 100] * 1e6;
    }
}
BENCHMARK(BM_PlugToOpened)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(500);

} // namespace

QV_QUIET_CORE_BENCHMARK_MAIN()
