// Importing the files users bring: a 10-band filter text into a filter set,
// and a 1000-row measurement CSV read, resampled onto the grid and
// normalised. Both from real files, as the import roads read them.
#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>

#include <cmath>

#include "dsp/band.h"
#include "dsp/grid.h"
#include "io/csv_files.h"
#include "io/filter_text.h"
#include "support/quiet_core_main.h"

namespace {

QString writeFile(const QTemporaryDir& dir, const char* name, const QByteArray& bytes)
{
    const QString path = dir.filePath(QLatin1String(name));
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
    return path;
}

QByteArray tenBandText()
{
    QByteArray text = "Preamp: -6.5 dB\n";
    const char* const types[] = { "LSC", "PK", "PK", "PK", "PK", "PK", "PK", "PK", "PK", "HSC" };
    for (int n = 1; n <= 10; ++n)
        text += "Filter " + QByteArray::number(n) + ": ON " + types[n - 1] + " Fc "
            + QByteArray::number(30 * n * n) + " Hz Gain " + QByteArray::number(-5.5 + n, 'f', 1)
            + " dB Q " + QByteArray::number(0.5 + 0.13 * n, 'f', 2) + "\n";
    return text;
}

QByteArray measurementCsv(int rows)
{
    QByteArray text = "* Measurement data\n* 48 kHz sweep\nFrequency(Hz),SPL(dB),Phase(degrees)\n";
    for (int i = 0; i < rows; ++i) {
        const double f = 10.0 * std::pow(2400.0, double(i) / (rows - 1));
        text += QByteArray::number(f, 'f', 3) + ","
            + QByteArray::number(75 + 6 * std::sin(f / 900), 'f', 3) + ","
            + QByteArray::number(-std::atan(f / 2000) * 57.3, 'f', 2) + "\n";
    }
    return text;
}

void BM_ImportFilterText(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = writeFile(dir, "filters.txt", tenBandText());
    EQ_data* set[12];
    makeStartupBandSet(set);
    std::copy(std::begin(set), std::end(set), EQ);
    bool imported = true;
    for (auto _ : state) {
        imported = importFromTXT(path, FilterTarget::Left) && imported;
        benchmark::DoNotOptimize(EQ[10]->gain);
    }
    // Band 10 of the text: a high shelf of +4.5 dB.
    if (!imported || EQ[10]->type != 5 || EQ[10]->gain != 4.5)
        state.SkipWithError("the filter text was not imported");
}
BENCHMARK(BM_ImportFilterText)->Unit(benchmark::kMicrosecond);

void BM_ImportForeignCsv(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = writeFile(dir, "measurement.csv", measurementCsv(int(state.range(0))));
    for (auto _ : state) {
        const CurveRows curve
            = csv_deal::processArrays(freqs1.data(), int(kGridSize), csv_deal::parseCSV(path));
        benchmark::DoNotOptimize(curve.size());
    }
    if (!csv_data_determine)
        state.SkipWithError("the measurement did not resample");
}
BENCHMARK(BM_ImportForeignCsv)->Arg(1000)->Unit(benchmark::kMicrosecond);

} // namespace

QV_QUIET_CORE_BENCHMARK_MAIN();
