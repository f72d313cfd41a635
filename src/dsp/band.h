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

// The one rule of each band field, whatever the value comes from: typed, a
// preset file, a filter text or the device. A value in its field's range is
// kept exactly; one outside it is held to the limit or takes the field's
// default, as a typed value of that field always has. Readers of text map a
// text that is no number to the field's default before they get here.

// On/off: 0 off, 1 on; below 0 is off, above 1 on.
uint8_t heldStatus(long long v);
// 1 to 5; any other type is peaking (1), the type a missing one reads as.
int32_t heldType(long long v);
// 20 to 22000 Hz: above 22000 gives 22000, below 20 the default 632 Hz.
int32_t heldFrequency(long long hz);
// Band and preamp gain, -12 to 12 dB held at either end; not a number 0 dB.
double heldGain(double db);
// A Q the device can take: at least one step of 1/10000, at most 15. Above
// 15 gives 15; less than one step, 0 or below, or not a number 0.707.
double heldQ(double q);

// Every field of a band record (status, type, frequency, gain, Q), resp. of
// the preamp record (status and gain), through its rule.
void holdBandFields(EQ_data& band);
void holdPreampFields(EQ_data& preamp);

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
