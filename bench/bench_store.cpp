// Loading and saving the preset files with 100 presets per channel.
#include <benchmark/benchmark.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QTemporaryDir>

#include "store/paths.h"
#include "store/presets.h"

// The filter model owns these; weak so this file links with or without it.
__attribute__((weak)) EQ_data* EQ[12];
__attribute__((weak)) R_EQ_data* EQ_R[12];

namespace {

// The store logs every preset it reads; the lines are built but not printed.
void quiet(QtMsgType, const QMessageLogContext&, const QString&) { }

void writePresets(const QString& path)
{
    QJsonArray presets;
    for (int i = 0; i < 100; ++i) {
        QJsonObject o { { "index", i }, { "config_name", QStringLiteral("Config%1").arg(i) },
            { "eq_gain", "1 -3.5" } };
        for (int k = 1; k <= 11; ++k)
            o.insert(QStringLiteral("eq_%1").arg(k),
                QStringLiteral("1 1 %1 -2.5 0.707").arg(20 + 100 * k + i));
        presets.append(o);
    }
    QSaveFile f(path);
    if (f.open(QIODevice::WriteOnly)) {
        f.write(QJsonDocument(presets).toJson());
        f.commit();
    }
}

struct PresetDir
{
    QTemporaryDir dir;
    PresetDir()
    {
        qInstallMessageHandler(quiet);
        QDir(dir.path()).mkdir("Workspace_Config");
        setAppDataDirForTesting(dir.path());
        writePresets(presetFilePath());
        writePresets(presetFilePath_R());
    }
    ~PresetDir() { setAppDataDirForTesting(QString()); }
};

void BM_LoadPresets(benchmark::State& state)
{
    PresetDir files;
    for (auto _ : state) {
        EQ_config_Init();
        benchmark::DoNotOptimize(config_count + config_count_R);
    }
    if (config_count != 100 || config_count_R != 100)
        state.SkipWithError("the presets were not loaded");
}
BENCHMARK(BM_LoadPresets)->Unit(benchmark::kMillisecond);

void BM_SavePresets(benchmark::State& state)
{
    PresetDir files;
    EQ_config_Init();
    int i = 0;
    for (auto _ : state) {
        CB_data[i]->eq[3]->gain += 0.5;
        if (!EQ_config_Update(i) || !EQ_config_Update_R(i)) {
            state.SkipWithError("a save was refused");
            break;
        }
        i = (i + 1) % 100;
    }
    // What the last save wrote is what a load reads.
    const double saved = CB_data[(i + 99) % 100]->eq[3]->gain;
    EQ_config_Init();
    if (config_count != 100 || CB_data[(i + 99) % 100]->eq[3]->gain != saved)
        state.SkipWithError("the saved presets do not read back");
}
BENCHMARK(BM_SavePresets)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
