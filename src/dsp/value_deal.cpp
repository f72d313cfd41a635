#include "dsp/value_deal.h"

#include <QDebug>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr uint32_t kUnity = 33554432; // 2^25

// Angular frequency of every grid point, computed once at compile time.
constexpr std::array<double, kGridSize> kOmega = [] {
    std::array<double, kGridSize> w {};
    for (std::size_t k = 0; k < kGridSize; ++k)
        w[k] = kTwoPi * freqs1[k];
    return w;
}();

std::array<double, 102> makeFrequencyTable()
{
    std::array<double, 102> t {};
    for (int k = 0; k <= 100; ++k)
        t[k] = std::round(20.0 * std::pow(10.0, 3.0 * k / 100.0));
    t[101] = 22000.0;
    return t;
}

// Linear gain of i tenths of a dB (sign = +1 boost, -1 cut), cut to six decimals, x 10^6.
int32_t linearMicros(int i, int sign)
{
    return static_cast<int32_t>(std::floor(1e6 * std::pow(10.0, sign * i / 200.0)));
}

template <typename T> std::array<T, 121> makeTable(T (*entry)(int, int), int sign)
{
    std::array<T, 121> t {};
    for (int i = 0; i <= 120; ++i)
        t[i] = entry(i, sign);
    return t;
}

uint32_t deviceWord(int i, int sign)
{
    return static_cast<uint32_t>(
        std::floor(kUnity * static_cast<double>(linearMicros(i, sign)) / 1e6));
}

std::array<uint32_t, 121> makeDeviceTable(int sign)
{
    auto t = makeTable<uint32_t>(deviceWord, sign);
    // The device firmware was built with these entries; they are sent and
    // recognised as they are, not as the rule would give them.
    if (sign > 0) {
        t[20] = 42242546;
        t[25] = 44802347;
        t[35] = 50075157;
    } else {
        t[49] = 19308528;
    }
    return t;
}

// Index of the entry nearest to x, minus one (a dial position). Distances are
// cut to integers and only a strictly smaller one wins, so ties go low.
template <std::size_t N>
int nearestPosition(
    const std::array<double, N>& table, std::size_t used, double x, int startDistance)
{
    // 64 bits: an argument near INT_MIN is still a valid (far) distance.
    int64_t best = startDistance;
    int bestIndex = 0;
    for (std::size_t i = 0; i < used; ++i) {
        const auto d = static_cast<int64_t>(std::fabs(x - table[i]));
        if (d < best) {
            best = d;
            bestIndex = static_cast<int>(i);
        }
    }
    return bestIndex - 1;
}

} // namespace

const std::array<double, 102> fre_value_deal = makeFrequencyTable();

const std::array<double, 48> Q_value_deal = {
    1000,
    1040,
    1120,
    1190,
    1250,
    1350,
    1405,
    1563,
    1953,
    2000,
    2168,
    2293,
    2441,
    2679,
    3052,
    3433,
    3815,
    4239,
    4421,
    4768,
    5395,
    5960,
    6800,
    7070,
    9030,
    11642,
    13206,
    14552,
    18190,
    20213,
    22737,
    24120,
    25623,
    28422,
    31452,
    35527,
    38477,
    44409,
    49865,
    55511,
    60724,
    69389,
    77348,
    86736,
    108420,
    135525,
    150000,
    0,
};

const std::array<uint32_t, 121> Positive_Gain = makeDeviceTable(+1);
const std::array<uint32_t, 121> Negative_Gain = makeDeviceTable(-1);
const std::array<int32_t, 121> logGain = makeTable<int32_t>(linearMicros, +1);
const std::array<int32_t, 121> logAttenuation = makeTable<int32_t>(linearMicros, -1);

TransferFunction value_deal::peq_tf(double Fc, double gain, double Q)
{
    const double w0 = kTwoPi * Fc;
    const double A = std::sqrt(std::pow(10.0, gain / 20.0));
    return { { 1.0, A * w0 / Q, w0 * w0 }, { 1.0, w0 / (A * Q), w0 * w0 } };
}

TransferFunction value_deal::lp_tf(double Fc, double Q)
{
    const double w0 = kTwoPi * Fc;
    return { { 0.0, 0.0, w0 * w0 }, { 1.0, w0 / Q, w0 * w0 } };
}

TransferFunction value_deal::hp_tf(double Fc, double Q)
{
    const double w0 = kTwoPi * Fc;
    return { { 1.0, 0.0, 0.0 }, { 1.0, w0 / Q, w0 * w0 } };
}

TransferFunction value_deal::lsf_tf(double Fc, double gain, double Q)
{
    const double w0 = kTwoPi * Fc;
    const double A = std::sqrt(std::pow(10.0, gain / 20.0));
    const double sA = std::sqrt(A);
    return { { 1.0, sA * w0 / Q, A * w0 * w0 }, { 1.0, w0 / (sA * Q), w0 * w0 / A } };
}

TransferFunction value_deal::hsf_tf(double Fc, double gain, double Q)
{
    const double w0 = kTwoPi * Fc;
    const double A = std::sqrt(std::pow(10.0, gain / 20.0));
    const double sA = std::sqrt(A);
    return { { A, sA * w0 / Q, w0 * w0 }, { 1.0 / A, w0 / (sA * Q), w0 * w0 } };
}

FrequencyResponse value_deal::peq_fr(const TransferFunction& tf)
{
    FrequencyResponse out;
    peq_fr(tf, out);
    return out;
}

void value_deal::peq_fr(const TransferFunction& tf, FrequencyResponse& out)
{
    out.resize(kGridSize);
    // s = jw, so s^2 = -w^2: numerator and denominator reduce to real and
    // imaginary parts, and the quotient is num * conj(den) / |den|^2. Written
    // out on plain doubles so the loop vectorises instead of calling the
    // library's complex division.
    const auto [n0, n1, n2] = tf.num;
    const auto [d0, d1, d2] = tf.den;
    double* o = reinterpret_cast<double*>(out.data());
    for (std::size_t k = 0; k < kGridSize; ++k) {
        const double w = kOmega[k];
        const double w2 = w * w;
        const double nr = n2 - n0 * w2;
        const double ni = n1 * w;
        const double dr = d2 - d0 * w2;
        const double di = d1 * w;
        const double inv = 1.0 / (dr * dr + di * di);
        o[2 * k] = (nr * dr + ni * di) * inv;
        o[2 * k + 1] = (ni * dr - nr * di) * inv;
    }
}

// Positions outside the dial's range are held at its ends rather than read
// past the table (the Q table's padding entry would give Q = 0).
int value_deal::balance_value_deal(int position)
{
    return static_cast<int>(fre_value_deal[std::clamp(position, -1, 100) + 1]);
}

int value_deal::balance_Qvalue_deal(int position)
{
    return static_cast<int>(Q_value_deal[std::clamp(position, -1, 45) + 1]);
}

int value_deal::line_fre_value_deal(int hz)
{
    return nearestPosition(fre_value_deal, 102, hz, 22000);
}

int value_deal::line_Q_value_deal(int q10000)
{
    return nearestPosition(Q_value_deal, 47, q10000, 150000);
}

uint32_t value_deal::Get_Modulus(int tenthsDb)
{
    if (tenthsDb >= 1)
        return Positive_Gain[tenthsDb > 120 ? 120 : tenthsDb];
    if (tenthsDb < -119)
        return Negative_Gain[120];
    return Negative_Gain[-tenthsDb];
}

int global_gain_change(int32_t word)
{
    if (word >= static_cast<int32_t>(kUnity)) {
        for (int i = 0; i <= 120; ++i) {
            if (static_cast<int32_t>(Positive_Gain[i]) == word) {
                qDebug() << "global_gain_change:" << i << word;
                return i;
            }
        }
    } else {
        for (int i = 1; i <= 120; ++i) {
            if (static_cast<int32_t>(Negative_Gain[i]) == word) {
                qDebug() << "global_gain_change:" << i << word;
                qDebug() << "global_gain_change:" << -i << word;
                return -i;
            }
        }
    }
    qDebug() << "global_gain_change:" << 0 << word;
    return 0;
}

FrequencyResponse computeFrequencyResponse(const TransferFunction& tf)
{
    FrequencyResponse out;
    out.reserve(kGridSize);
    for (std::size_t k = 0; k < kGridSize; ++k) {
        const std::complex<double> s(0.0, kOmega[k]);
        std::complex<double> num = 0.0;
        std::complex<double> den = 0.0;
        for (int power = 2; power >= 0; --power) {
            const std::complex<double> sp = std::pow(s, power);
            num += tf.num[2 - power] * sp;
            den += tf.den[2 - power] * sp;
        }
        out.push_back(num / den);
    }
    return out;
}

TransferFunction bandTransferFunction(const EQ_data& band)
{
    const double fc = band.center_frequency;
    if (!(band.Q > 0.0) || !(fc > 0.0))
        return { { 0.0, 0.0, 1.0 }, { 0.0, 0.0, 1.0 } }; // H(s) = 1
    switch (band.type) {
    case 2:
        return value_deal::lp_tf(fc, band.Q);
    case 3:
        return value_deal::hp_tf(fc, band.Q);
    case 4:
        return value_deal::lsf_tf(fc, band.gain, band.Q);
    case 5:
        return value_deal::hsf_tf(fc, band.gain, band.Q);
    default:
        return value_deal::peq_tf(fc, band.gain, band.Q);
    }
}
