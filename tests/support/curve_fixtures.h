#pragma once

// Synthetic measured curves on the frequency grid, for the plot tests.

#include <cmath>

#include "dsp/grid.h"
#include "plot/curves.h"

inline CurveRows sourceRows()
{
    CurveRows rows;
    for (std::size_t k = 0; k < kGridSize; ++k)
        rows.append({ freqs1[k], 3.0 * std::sin(k / 10.0) });
    return rows;
}

inline CurveRows targetRows()
{
    CurveRows rows;
    for (std::size_t k = 0; k < kGridSize; ++k)
        rows.append({ freqs1[k], 0.02 * k - 2.0 });
    return rows;
}
