#pragma once

#include "dsp/band.h"
#include "dsp/value_deal.h"

#include <array>
#include <vector>

// Response buffers of the plotted filter set, indexed by filter number:
// 1..11 the bands, 12 the flat response of a band that is off, 13..16 four
// fixed reference filters. Entry 0 is unused. The filtN_ names below refer
// to the same objects.
extern std::array<TransferFunction, 17> filt_tf_rows;
extern std::array<FrequencyResponse, 17> filt_fr_rows;

extern TransferFunction &filt1_tf, &filt2_tf, &filt3_tf, &filt4_tf, &filt5_tf, &filt6_tf, &filt7_tf,
    &filt8_tf, &filt9_tf, &filt10_tf, &filt11_tf, &filt12_tf, &filt13_tf, &filt14_tf, &filt15_tf,
    &filt16_tf;
extern FrequencyResponse &filt1_fr, &filt2_fr, &filt3_fr, &filt4_fr, &filt5_fr, &filt6_fr,
    &filt7_fr, &filt8_fr, &filt9_fr, &filt10_fr, &filt11_fr, &filt12_fr, &filt13_fr, &filt14_fr,
    &filt15_fr, &filt16_fr;

extern FrequencyResponse filt_combined_fr; // scratch: single-band curve, chart set-up
extern FrequencyResponse filt_combined_fr1; // product of bands 1..11, preamp excluded
extern double gain_value; // preamp in dB, 0 while the preamp is off

// Recomputes the responses of a filter set (element 0 preamp, 1..11 bands):
// the transfer functions of every band whatever its status, their responses
// (a band that is off gets the flat response), the fixed reference filters,
// gain_value and filt_combined_fr1. Allocates nothing once the buffers hold
// the grid.
void computeSetResponses(EQ_data* const set[12]);

// 20 log10 |h[k]| + offset for every grid point, into `out`.
void levelDb(const FrequencyResponse& h, double offset, std::vector<double>& out);
