#pragma once

#include "dsp/band.h"
#include "dsp/grid.h"

#include <array>
#include <complex>
#include <cstdint>
#include <vector>

// Analog second-order transfer function, highest power of s first:
// H(s) = (num[0] s^2 + num[1] s + num[2]) / (den[0] s^2 + den[1] s + den[2]).
struct TransferFunction
{
    std::array<double, 3> num {};
    std::array<double, 3> den {};
};

// H(j 2 pi f) for every f of freqs1, in grid order.
using FrequencyResponse = std::vector<std::complex<double>>;

// Dial tables. A dial position p (starting at -1) means entry p + 1.
extern const std::array<double, 102> fre_value_deal; // Hz, log scale 20..20000, then 22000
extern const std::array<double, 48> Q_value_deal; // Q x 10000; entry 47 is padding
// Device preamp words (2^25 = unity) for 0..+12 dB and 0..-12 dB in 0.1 dB steps.
extern const std::array<uint32_t, 121> Positive_Gain;
extern const std::array<uint32_t, 121> Negative_Gain;
// 10^6 x linear gain for the same steps; kept for reference.
extern const std::array<int32_t, 121> logGain;
extern const std::array<int32_t, 121> logAttenuation;

class value_deal
{
public:
    value_deal() = default;

    // Prototypes: Fc in Hz, gain in dB.
    static TransferFunction peq_tf(double Fc, double gain, double Q);
    static TransferFunction lp_tf(double Fc, double Q);
    static TransferFunction hp_tf(double Fc, double Q);
    static TransferFunction lsf_tf(double Fc, double gain, double Q);
    static TransferFunction hsf_tf(double Fc, double gain, double Q);

    static FrequencyResponse peq_fr(const TransferFunction& tf);
    // Same, into an existing buffer (no allocation once it holds the grid).
    static void peq_fr(const TransferFunction& tf, FrequencyResponse& out);

    static int balance_value_deal(int position); // frequency dial -> Hz
    static int balance_Qvalue_deal(int position); // Q dial -> Q x 10000
    static int line_fre_value_deal(int hz); // Hz -> nearest frequency-dial position
    static int line_Q_value_deal(int q10000); // Q x 10000 -> nearest Q-dial position
    static uint32_t Get_Modulus(int tenthsDb); // preamp (0.1 dB) -> device word
};

// Device word -> preamp in 0.1 dB; 0 when the word is in neither table.
int global_gain_change(int32_t word);

// Term-by-term evaluation of the same response as value_deal::peq_fr.
FrequencyResponse computeFrequencyResponse(const TransferFunction& tf);

// The prototype of a band by its type (1 PK, 2 LP, 3 HP, 4 LSC, 5 HSC; any
// other type is peaking). A band whose Q or frequency is not positive (only
// possible from a device report or an imported file) is flat instead of
// producing NaN or zero values that would spoil the combined curve.
TransferFunction bandTransferFunction(const EQ_data& band);
