#include "dsp/band.h"
#include "dsp/response.h"
#include "support/busy_preset.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

// The busy preset, all eleven bands.
struct FullSet
{
    EQ_data records[12];
    EQ_data* ptrs[12];
    FullSet()
    {
        records[0] = kBusyPreamp;
        for (int i = 0; i < 11; ++i)
            records[i + 1] = kBusyBands[std::size_t(i)];
        for (int i = 0; i < 12; ++i)
            ptrs[i] = &records[i];
    }
};

// Everything one edit of a full set costs: every band's response, the
// combined product, the combined level with the preamp and every band's level.
void BM_FullSetResponse(benchmark::State& state)
{
    FullSet set;
    std::vector<double> combined;
    std::vector<std::vector<double>> perBand(12);
    for (auto _ : state) {
        computeSetResponses(set.ptrs);
        levelDb(filt_combined_fr1, gain_value, combined);
        for (int n = 1; n <= 11; ++n)
            levelDb(filt_fr_rows[n], 0.0, perBand[n]);
        benchmark::DoNotOptimize(combined.data());
        benchmark::DoNotOptimize(perBand[11].data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FullSetResponse)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
