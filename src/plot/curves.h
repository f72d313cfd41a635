#pragma once

#include "dsp/band.h"
#include "dsp/value_deal.h"

#include <QList>
#include <QPointF>
#include <QString>

#include <array>

// A measured curve (source or target): rows [frequency in Hz, level in dB].
using CurveRows = QList<QList<double>>;
// A finished curve, ready to be handed to a chart series in one go.
using CurvePoints = QList<QPointF>;

// The filter set the chart shows: the right set only in "L/R" mode with the
// right channel chosen, the left (or linked) set otherwise.
EQ_data* const* plottedSet(const QString& peqModeText, bool rightChannelChecked);

// The flat 0 dB line on the grid: 182 rows [freqs1[k], 0.0].
CurveRows flatCurveRows();

// Level of row k of a measured curve. Curve files come from outside, so a row
// past the end, a row without a level and a level that is not a number all
// count as 0 dB.
double curveLevel(const CurveRows& rows, qsizetype k);

// Recomputes every band response of `set` (filt*_fr, filt_combined_fr1 and
// gain_value, see dsp/response.h) and returns the combined curve with the
// preamp, or no points when the curve is hidden. Enabled bands that must be
// drawn flat because of a zero Q or frequency are logged.
CurvePoints combinedCurve(EQ_data* const set[12], bool show);

// Offset of the filtered curve: the preamp gain while "Follow Pre" is set,
// otherwise the offset it already has.
double nextFilteredOffset(bool followPre, double preampDb, double currentOffset);

// The source seen through the filters: source + combined response + offset,
// optionally aligned at 500 Hz and drawn relative to the target.
CurvePoints filteredCurve(const FrequencyResponse& combined, double offset, const CurveRows& source,
    const CurveRows& target, bool alignment, bool compensated);

// The own response of one band (1..11), without preamp and whatever its
// status; a band drawn flat for a zero Q or frequency is logged.
CurvePoints bandCurve(const EQ_data& band, int bandNumber);

// Every band curve of a set, index 0 for band 1; bands whose status is not
// exactly 1 get no points.
std::array<CurvePoints, 11> eachBandCurves(EQ_data* const set[12]);

// The band whose curve a deferred redraw draws: each_EQ_num when it names a
// band of the set whose status is exactly 1, else 0 (draw nothing).
int bandToRedraw(EQ_data* const set[12], int each_EQ_num);

// A measured curve as drawn: rows in list order, levels relative to the
// target row of the same index in the compensated view. Rows without a
// positive frequency cannot sit on the log axis and are left out.
CurvePoints measuredCurve(const CurveRows& rows, const CurveRows& target, bool compensated);

// Level-axis range after one wheel turn: one dB wider at each end for a
// positive vertical delta, one dB narrower otherwise, the minimum held within
// -98..-10 dB and the maximum within 10..98 dB.
struct LevelRange
{
    double min;
    double max;
};
LevelRange zoomLevelRange(LevelRange current, int wheelDeltaY);
