// Device preset streams: a left/right stream of ten records (about 800
// frames) followed by the identity frame that announces it, from the first
// frame read to the announcement; once through the receive thread and the
// GUI event loop, once into the dispatcher alone.
#include <benchmark/benchmark.h>

#include "support/quiet_core_main.h"
#include "support/sim_link.h"

#include "device/device_session.h"
#include "device/device_state.h"
#include "device/threads.h"
#include "null_device_host.h"
#include "sim_models.h"

#include <QCoreApplication>
#include <QLoggingCategory>

#include <chrono>
#include <vector>

namespace {

using Frame = qv_hid_new::CustomHidFrameInfo;

// Watches for the announcement only.
class NullHost : public NullDeviceHost
{
public:
    bool announced = false;
    std::chrono::steady_clock::time_point at;

    void deviceConfigUpload() override
    {
        at = std::chrono::steady_clock::now();
        announced = true;
    }
};

std::vector<sim::Report> tenRecordStream()
{
    std::vector<std::vector<int32_t>> records;
    for (int k = 0; k < 10; ++k)
        records.push_back(k % 2 ? sim::vocalRecord() : sim::liveRecord());
    std::vector<sim::Report> reports = sim::leftRightStream(records);
    reports.push_back(sim::makeReport(0x1203, static_cast<int32_t>(sim::kModelBIdentity)));
    return reports;
}

void prepareLeftRightDevice()
{
    status_bar_value.device_eq_status = 193;
    status_bar_value.device_model = QStringLiteral("Vantor 9");
    Gain_flag = true;
    upload_sign = 0;
    send_biaozhi = false;
    tem_software = 1.10;
}

void BM_LeftRightStreamIntoDispatcher(benchmark::State& state)
{
    const std::vector<sim::Report> reports = tenRecordStream();
    std::vector<Frame> frames;
    for (const auto& r : reports)
        frames.push_back(*decodeInputReport(r.data(), int(r.size())));
    NullHost host;
    DeviceSession session(host, host);
    for (auto _ : state) {
        prepareLeftRightDevice();
        host.announced = false;
        for (const Frame& f : frames)
            session.route(f);
        if (!host.announced)
            state.SkipWithError("no announcement");
    }
    state.SetItemsProcessed(state.iterations() * int64_t(frames.size()));
}
BENCHMARK(BM_LeftRightStreamIntoDispatcher)->Unit(benchmark::kMillisecond);

class Router : public QObject
{
public:
    explicit Router(DeviceSession& s)
        : session(s)
    {
    }
    DeviceSession& session;
    void onFrame(qv_hid_new::CustomHidFrameInfo f) { session.route(f); }
};

void BM_LeftRightStreamThroughLink(benchmark::State& state)
{
    const std::vector<sim::Report> reports = tenRecordStream();
    connectSimulatedLink();
    auto& engine = sim::Engine::instance();
    NullHost host;
    DeviceSession session(host, host);
    Router router(session);
    QObject::connect(
        recv_thread, &qv_hid_new_recv::qv_hid_new_recv_update, &router, &Router::onFrame);

    for (auto _ : state) {
        prepareLeftRightDevice();
        host.announced = false;
        const auto start = std::chrono::steady_clock::now();
        for (const auto& r : reports)
            engine.queueReport(r);
        while (!host.announced)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        const std::chrono::duration<double> d = host.at - start;
        state.SetIterationTime(d.count());
    }
    stopDeviceThreads();
    QObject::disconnect(recv_thread, nullptr, &router, nullptr);
    QCoreApplication::sendPostedEvents();
    connect_thread->running = true;
}
BENCHMARK(BM_LeftRightStreamThroughLink)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(200);

} // namespace

QV_QUIET_CORE_BENCHMARK_MAIN()
