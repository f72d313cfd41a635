#include "dsp/response.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

// What every buffer holds before the first computation.
TransferFunction initialPrototype() { return value_deal::peq_tf(3000.0, 10.0, 12.0); }

template <typename T, typename Make> std::array<T, 17> makeRows(Make make)
{
    std::array<T, 17> rows {};
    for (std::size_t n = 1; n < rows.size(); ++n)
        rows[n] = make();
    return rows;
}

constexpr double kTenOverLn10 = 4.342944819032518;

// Natural logarithm of a positive normal double, written without branches
// or library calls so the level loop vectorises: the C library's log is the
// bulk of the cost of drawing every band's curve. x = 2^k * z with z in
// [sqrt(1/2), sqrt(2)); ln z = 2 atanh(t), t = (z - 1) / (z + 1), |t| < 0.172,
// summed until the remainder is below a few units in the last place.
inline double naturalLog(double x)
{
    constexpr uint64_t kOff = 0x3fe6a09e667f3bcdULL; // sqrt(1/2)
    const uint64_t bits = std::bit_cast<uint64_t>(x);
    const uint64_t tmp = bits - kOff;
    const uint64_t biasedK = (tmp + (uint64_t(1023) << 52)) >> 52; // k + 1023, no sign needed
    const double k
        = std::bit_cast<double>(biasedK | 0x4330000000000000ULL) - (4503599627370496.0 + 1023.0);
    const double z = std::bit_cast<double>(bits - (tmp & 0xfff0000000000000ULL));
    const double t = (z - 1.0) / (z + 1.0);
    const double t2 = t * t;
    // Estrin's scheme keeps the dependency chain short.
    const double t4 = t2 * t2;
    const double t8 = t4 * t4;
    const double p01 = 1.0 / 3.0 + t2 * (1.0 / 5.0);
    const double p23 = 1.0 / 7.0 + t2 * (1.0 / 9.0);
    const double p45 = 1.0 / 11.0 + t2 * (1.0 / 13.0);
    const double p67 = 1.0 / 15.0 + t2 * (1.0 / 17.0);
    const double p89 = 1.0 / 19.0 + t2 * (1.0 / 21.0);
    const double p = (p01 + t4 * p23) + t8 * ((p45 + t4 * p67) + t8 * p89);
    constexpr double kLn2 = 0.6931471805599453;
    return k * kLn2 + 2.0 * t + 2.0 * t * t2 * p;
}

} // namespace

std::array<TransferFunction, 17> filt_tf_rows = makeRows<TransferFunction>(initialPrototype);
std::array<FrequencyResponse, 17> filt_fr_rows
    = makeRows<FrequencyResponse>([] { return value_deal::peq_fr(initialPrototype()); });

TransferFunction &filt1_tf
    = filt_tf_rows[1],
    &filt2_tf = filt_tf_rows[2], &filt3_tf = filt_tf_rows[3], &filt4_tf = filt_tf_rows[4],
    &filt5_tf = filt_tf_rows[5], &filt6_tf = filt_tf_rows[6], &filt7_tf = filt_tf_rows[7],
    &filt8_tf = filt_tf_rows[8], &filt9_tf = filt_tf_rows[9], &filt10_tf = filt_tf_rows[10],
    &filt11_tf = filt_tf_rows[11], &filt12_tf = filt_tf_rows[12], &filt13_tf = filt_tf_rows[13],
    &filt14_tf = filt_tf_rows[14], &filt15_tf = filt_tf_rows[15], &filt16_tf = filt_tf_rows[16];
FrequencyResponse &filt1_fr
    = filt_fr_rows[1],
    &filt2_fr = filt_fr_rows[2], &filt3_fr = filt_fr_rows[3], &filt4_fr = filt_fr_rows[4],
    &filt5_fr = filt_fr_rows[5], &filt6_fr = filt_fr_rows[6], &filt7_fr = filt_fr_rows[7],
    &filt8_fr = filt_fr_rows[8], &filt9_fr = filt_fr_rows[9], &filt10_fr = filt_fr_rows[10],
    &filt11_fr = filt_fr_rows[11], &filt12_fr = filt_fr_rows[12], &filt13_fr = filt_fr_rows[13],
    &filt14_fr = filt_fr_rows[14], &filt15_fr = filt_fr_rows[15], &filt16_fr = filt_fr_rows[16];

FrequencyResponse filt_combined_fr;
FrequencyResponse filt_combined_fr1;
double gain_value = 0.0;

void computeSetResponses(EQ_data* const set[12])
{
    for (int n = 1; n <= 11; ++n)
        filt_tf_rows[n] = bandTransferFunction(*set[n]);

    // The reference filters never change, so their responses are built once.
    static bool referenceBuilt = false;
    if (!referenceBuilt) {
        filt13_tf = value_deal::peq_tf(1000.0, 12.0, 2.0);
        filt14_tf = value_deal::lp_tf(10000.0, 1.0);
        filt15_tf = value_deal::peq_tf(20.0, 12.0, 1.0);
        filt16_tf = value_deal::peq_tf(2000.0, -12.0, 1.0);
        for (int n = 13; n <= 16; ++n)
            value_deal::peq_fr(filt_tf_rows[n], filt_fr_rows[n]);
        filt12_fr.assign(kGridSize, { 1.0, 0.0 });
        referenceBuilt = true;
    }

    gain_value = set[0]->status != 0 ? set[0]->gain : 0.0;

    for (int n = 1; n <= 11; ++n) {
        if (set[n]->status != 0)
            value_deal::peq_fr(filt_tf_rows[n], filt_fr_rows[n]);
        else
            filt_fr_rows[n] = filt12_fr;
    }

    // Product in band order, on plain doubles so the loops vectorise.
    filt_combined_fr1 = filt1_fr;
    double* h = reinterpret_cast<double*>(filt_combined_fr1.data());
    for (int n = 2; n <= 11; ++n) {
        const double* f = reinterpret_cast<const double*>(filt_fr_rows[n].data());
        for (std::size_t k = 0; k < kGridSize; ++k) {
            const double re = h[2 * k] * f[2 * k] - h[2 * k + 1] * f[2 * k + 1];
            const double im = h[2 * k] * f[2 * k + 1] + h[2 * k + 1] * f[2 * k];
            h[2 * k] = re;
            h[2 * k + 1] = im;
        }
    }
}

void levelDb(const FrequencyResponse& h, double offset, std::vector<double>& out)
{
    const std::size_t n = h.size();
    out.resize(n);
    const double* v = reinterpret_cast<const double*>(h.data());
    double* o = out.data();
    // 10 log10 of the squared magnitude (no square root needed).
    uint64_t unusual = 0;
    for (std::size_t k = 0; k < n; ++k) {
        const double m = v[2 * k] * v[2 * k] + v[2 * k + 1] * v[2 * k + 1];
        // Sign and exponent field: 1..2046 for a positive normal number;
        // anything else sets a bit (kept in integers so the loop vectorises).
        const uint64_t e = std::bit_cast<uint64_t>(m) >> 52;
        unusual |= ((e + 1) >> 11) | ((e - 1) >> 63);
        o[k] = kTenOverLn10 * naturalLog(m) + offset;
    }
    // Zero, infinite, NaN or subnormal squares (also from a magnitude whose
    // square over- or underflows) take the library's path.
    if (unusual != 0) {
        for (std::size_t k = 0; k < n; ++k) {
            const double m = v[2 * k] * v[2 * k] + v[2 * k + 1] * v[2 * k + 1];
            if (!(m >= std::numeric_limits<double>::min()
                    && m <= std::numeric_limits<double>::max()))
                o[k] = 20.0 * std::log10(std::abs(h[k])) + offset;
        }
    }
}
