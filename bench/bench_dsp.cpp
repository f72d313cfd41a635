#include "dsp/band.h"
#include "dsp/response.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

// Preamp on and eleven enabled bands of every type, as a busy preset has.
struct FullSet
{
    EQ_data records[12];
    EQ_data* ptrs[12];
    FullSet()
    {
        records[0] = { 1, 1, 632, -4.5, 0.707 };
        const EQ_data bands[11] = {
            { 1, 1, 20, 3.0, 0.2 },
            { 1, 4, 105, 4.0, 0.707 },
            { 1, 1, 240, -2.5, 1.4 },
            { 1, 1, 632, 1.5, 2.0 },
            { 1, 2, 18665, 0.0, 0.707 },
            { 1, 3, 25, 0.0, 0.5 },
            { 1, 1, 2047, -6.0, 4.0 },
            { 1, 5, 8148, 2.0, 0.9 },
            { 1, 1, 3811, 5.0, 8.0 },
            { 1, 9, 12332, -1.0, 1.0 },
            { 1, 1, 1026, 0.5, 15.0 },
        };
        for (int i = 0; i < 11; ++i)
            records[i + 1] = bands[i];
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
