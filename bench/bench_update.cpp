// The update check and the download must not stall the window: while a local
// server trickles the manifest and then a large archive over TLS, a 1 ms
// timer on the GUI thread measures the longest the event loop was away.
// Unpacking runs on the GUI thread after the download and is timed apart.

#include "app/macapplication.h"
#include "settings/checkupdata.h"
#include "settings/process_launcher.h"
#include "settings/systemsetting.h"
#include "settings/update_core.h"
#include "settings/zip_reader.h"
#include "store/paths.h"
#include "store/settings.h"
#include "update_server.h"
#include "widgets/resources.h"
#include "zip_fixtures.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QLoggingCategory>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QRandomGenerator>
#include <QSemaphore>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <cmath>
#include <functional>
#include <memory>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr qsizetype kImageBytes = 64 * 1024 * 1024;
const QByteArray kManifestPath = "/um/VeskSoftware.json";
const QByteArray kArchivePath = "/dl/QUORVEL%20Vesk%20V1.17.zip";

// The server answers from its own thread, so only the program's work is on
// the measured loop.
class ServerThread : public QThread
{
public:
    std::function<void(testserver::UpdateServer&)> setup;
    QString baseUrl;
    QSemaphore ready;

protected:
    void run() override
    {
        testserver::UpdateServer server;
        setup(server);
        server.start(QStringLiteral(BENCH_DATA_DIR "/update-server.pem"),
            QStringLiteral(BENCH_DATA_DIR "/update-server.key"));
        baseUrl = server.baseUrl();
        ready.release();
        exec();
    }
};

// CPU time of the calling thread.
qint64 threadCpuNs()
{
    timespec t {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return qint64(t.tv_sec) * 1000000000 + t.tv_nsec;
}

// A 1 ms timer: every gap between two of its ticks is how long the event
// loop could not answer. On a machine shared with other work much of a long
// gap is time the thread was not given a CPU at all; the CPU time the thread
// used within the gap is what the program's own work held the loop for.
struct LoopProbe
{
    QTimer timer;
    Clock::time_point last;
    qint64 lastCpu = 0;
    std::vector<double> gapsMs;
    std::vector<double> ownMs;
    LoopProbe()
    {
        timer.setTimerType(Qt::PreciseTimer);
        timer.setInterval(1);
        QObject::connect(&timer, &QTimer::timeout, [this] { tick(); });
    }
    void tick()
    {
        const auto now = Clock::now();
        const qint64 cpu = threadCpuNs();
        gapsMs.push_back(std::chrono::duration<double, std::milli>(now - last).count());
        ownMs.push_back(double(cpu - lastCpu) / 1e6);
        last = now;
        lastCpu = cpu;
    }
    void start()
    {
        last = Clock::now();
        lastCpu = threadCpuNs();
        timer.start();
    }
    void stop()
    {
        timer.stop();
        tick();
    }
};

double percentile(std::vector<double> v, double p)
{
    if (v.empty())
        return 0.0;
    std::sort(v.begin(), v.end());
    return v[static_cast<std::size_t>(std::ceil(p * static_cast<double>(v.size()))) - 1];
}

QByteArray bigArchive()
{
    QByteArray image(kImageBytes, Qt::Uninitialized);
    QRandomGenerator rng(17);
    rng.fillRange(reinterpret_cast<quint32*>(image.data()), image.size() / 4);
    return makeZip({ { ZipItem::File, "readme.txt", "QUORVEL Vesk V1.17" },
        { ZipItem::File, "QUORVEL Vesk V1.17.dmg", image } });
}

struct Setup
{
    QTemporaryDir dir;
    ServerThread server;
    QByteArray archive = bigArchive();
    std::unique_ptr<SystemSetting> settings;

    Setup()
    {
        qputenv("HOME", dir.path().toLocal8Bit());
        qputenv("QV_UPDATE_CA_FILE", BENCH_DATA_DIR "/update-ca.pem");
        setAppDataDirForTesting(dir.path());
        config_Init();
        Config_stamp_running_version();
        process_launcher::setLauncherForTesting(
            [](const QString&, const QStringList&, QString*) { return true; });
        // "Update" fetches only where the install script's disk-image tool
        // is found: a stand-in that is never run.
        const QString tools = dir.path() + "/tools";
        QDir().mkpath(tools);
        QFile tool(tools + "/" + update_core::kInstallScriptTool);
        tool.open(QIODevice::WriteOnly);
        tool.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
        tool.close();
        qputenv("PATH", QFile::encodeName(tools) + ":" + qgetenv("PATH"));

        server.setup = [this](testserver::UpdateServer& s) {
            testserver::Route manifest;
            manifest.mode = testserver::Route::Mode::Trickle;
            manifest.chunk = 8;
            manifest.intervalMs = 2;
            manifest.body = R"({"Vesk_Series": {"MacLatestVerison": "V1.17", "MacUrl": "URL"}})";
            testserver::Route zip;
            zip.mode = testserver::Route::Mode::Trickle;
            zip.chunk = 64 * 1024;
            zip.intervalMs = 1;
            zip.body = archive;
            s.route(kArchivePath, zip);
            s.route(kManifestPath, manifest);
        };
        server.start();
        server.ready.acquire();
        qputenv("QV_UPDATE_BASE_URL", server.baseUrl.toUtf8());
        settings = std::make_unique<SystemSetting>();
        // The program has painted its main window long before any check:
        // fonts and style machinery are warm, as here after one showing.
        settings->show();
        QApplication::processEvents();
        settings->hide();
    }
    ~Setup()
    {
        server.quit();
        server.wait();
        process_launcher::setLauncherForTesting({});
    }
};

Setup* g_setup = nullptr; // made in main, after the application object

Setup& setup() { return *g_setup; }

struct Gaps
{
    std::vector<double> wall;
    std::vector<double> own;
    void add(const LoopProbe& p)
    {
        wall.insert(wall.end(), p.gapsMs.begin(), p.gapsMs.end());
        own.insert(own.end(), p.ownMs.begin(), p.ownMs.end());
    }
};

void report(benchmark::State& state, const Gaps& gaps)
{
    state.counters["worst_gap_ms"] = *std::max_element(gaps.wall.begin(), gaps.wall.end());
    state.counters["p99_gap_ms"] = percentile(gaps.wall, 0.99);
    state.counters["worst_cpu_ms"] = *std::max_element(gaps.own.begin(), gaps.own.end());
    state.counters["ticks"] = double(gaps.wall.size());
}

// The same probe with nothing else to do: what the machine itself costs.
void BM_IdleLoopLatency(benchmark::State& state)
{
    Gaps gaps;
    for (auto _ : state) {
        QEventLoop loop;
        QTimer::singleShot(1000, &loop, &QEventLoop::quit);
        LoopProbe probe;
        const auto start = Clock::now();
        probe.start();
        loop.exec();
        probe.stop();
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        gaps.add(probe);
    }
    report(state, gaps);
}
BENCHMARK(BM_IdleLoopLatency)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

// From "Check Update" to the update window offering V1.17, the manifest
// arriving 8 bytes every 2 ms.
void BM_CheckLoopLatency(benchmark::State& state)
{
    Setup& s = setup();
    CHECKUPDATA* window = s.settings->updateWindow();
    auto* manager
        = s.settings->findChild<QNetworkAccessManager*>(QString(), Qt::FindDirectChildrenOnly);
    Gaps gaps;
    for (auto _ : state) {
        window->hide();
        QEventLoop loop;
        QObject::connect(manager, &QNetworkAccessManager::finished, &loop, &QEventLoop::quit,
            Qt::QueuedConnection);
        LoopProbe probe;
        const auto start = Clock::now();
        probe.start();
        s.settings->Updata_version();
        loop.exec();
        probe.stop();
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        if (!window->isVisible())
            state.SkipWithError("no update offered");
        gaps.add(probe);
    }
    report(state, gaps);
}
BENCHMARK(BM_CheckLoopLatency)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

// "Update" to the end of the transfer: a 64 MiB archive, 64 KiB every 1 ms,
// written to UpdateProgram as it arrives, the progress shown.
void BM_DownloadLoopLatency(benchmark::State& state)
{
    Setup& s = setup();
    CHECKUPDATA* window = s.settings->updateWindow();
    const QString url = s.server.baseUrl + QString::fromLatin1(kArchivePath);
    Gaps gaps;
    for (auto _ : state) {
        // As after every start of the program: the folder of a previous
        // download is gone (unlinking a 64 MiB leftover alone takes ~10 ms).
        QDir(s.dir.path() + "/UpdateProgram").removeRecursively();
        QEventLoop loop;
        LoopProbe probe;
        const auto start = Clock::now();
        probe.start();
        window->slotUpdateNow(url);
        const QList<QNetworkReply*> replies = window->findChildren<QNetworkReply*>();
        if (std::none_of(
                replies.begin(), replies.end(), [](QNetworkReply* r) { return r->isRunning(); })) {
            state.SkipWithError("no download started");
            break;
        }
        // The completion (unpack and install) is measured on its own below.
        QObject::disconnect(
            window, &CHECKUPDATA::replyFinished_over, window, &CHECKUPDATA::onReplyFinished);
        auto* manager = window->findChild<QNetworkAccessManager*>();
        QObject::connect(manager, &QNetworkAccessManager::finished, &loop, &QEventLoop::quit,
            Qt::QueuedConnection);
        loop.exec();
        probe.stop();
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        if (QFileInfo(window->archivePath()).size() != s.archive.size())
            state.SkipWithError("archive incomplete");
        gaps.add(probe);
    }
    report(state, gaps);
    state.SetBytesProcessed(int64_t(state.iterations()) * s.archive.size());
}
BENCHMARK(BM_DownloadLoopLatency)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

// Unpacking the downloaded archive, which holds the GUI thread until done.
void BM_UnpackOnGuiThread(benchmark::State& state)
{
    Setup& s = setup();
    const QString folder = s.dir.path() + "/unpack";
    const QString archive = s.dir.path() + "/archive.zip";
    QFile f(archive);
    f.open(QIODevice::WriteOnly);
    f.write(s.archive);
    f.close();
    for (auto _ : state) {
        QDir(folder).removeRecursively();
        const auto start = Clock::now();
        const bool ok = zipReader(archive, folder);
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        if (!ok)
            state.SkipWithError("unpack failed");
    }
}
BENCHMARK(BM_UnpackOnGuiThread)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    MacApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));
    initResources();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    {
        Setup s;
        g_setup = &s;
        benchmark::RunSpecifiedBenchmarks();
        g_setup = nullptr;
    }
    benchmark::Shutdown();
    return 0;
}
