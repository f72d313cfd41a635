#pragma once

#include <cstdint>

// One equaliser band. The same layout serves the left (or linked) channel
// and the right channel; the two names keep the two sides apart in code.
struct EQ_data
{
    uint8_t status = 0; // 1 = on
    int32_t type = 1; // 1 PK, 2 LP, 3 HP, 4 LSC, 5 HSC; others are drawn as PK
    int32_t center_frequency = 632;
    double gain = 0.0; // dB
    double Q = 0.707;
};
using R_EQ_data = EQ_data;

// The ranges the editor lets a band take; whatever leaves for the device is
// held to them.
inline constexpr double kBandGainLimitDb = 12.0;
inline constexpr double kBandMinQ = 0.1;
inline constexpr double kBandMaxQ = 15.0;
inline constexpr int kBandMinHz = 20;
inline constexpr int kBandMaxHz = 22000;

// The filter sets being edited: element 0 is the preamp, 1..11 the bands.
// They point into the selected preset record, so edits change it in place.
extern EQ_data* EQ[12];
extern R_EQ_data* EQ_R[12];

// Resets a band to the cleared values: off, peaking, 632 Hz, 0 dB, Q 0.707.
void clearBand(EQ_data& band);

// Allocates twelve band records with the values used before any preset is
// loaded (preamp on at -3 dB, band 1 on at 20 Hz +3 dB Q 0.2, the rest
// cleared) and stores their addresses in `set`. The records are never freed.
// Writes the start-up values (preamp on at -3 dB, band 1 a 20 Hz peak, the
// rest cleared) into an existing set of twelve records.
void setStartupBandValues(EQ_data* const set[12]);
void makeStartupBandSet(EQ_data* set[12]);
