#pragma once

// The busy preset the benchmarks measure: preamp on and eleven enabled bands
// of every type.

#include "dsp/band.h"

#include <array>

inline constexpr EQ_data kBusyPreamp { 1, 1, 632, -4.5, 0.707 };

inline constexpr std::array<EQ_data, 11> kBusyBands { {
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
} };
