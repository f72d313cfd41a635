#pragma once

#include <cstdint>

// One equaliser band. The same layout serves the left (or linked) channel
// and the right channel; the two names keep the two sides apart in code.
struct EQ_data
{
    uint8_t status = 0;            // 1 = on
    int32_t type = 1;              // 1 PK, 2 LP, 3 HP, 4 LSC, 5 HSC; others are drawn as PK
    int32_t center_frequency = 632;
    double gain = 0.0;             // dB
    double Q = 0.707;
};
using R_EQ_data = EQ_data;

// The filter sets being edited: element 0 is the preamp, 1..11 the bands.
// They point into the selected preset record, so edits change it in place.
extern EQ_data* EQ[12];
extern R_EQ_data* EQ_R[12];
