#include "plot/curves.h"

#include "dsp/grid.h"
#include "dsp/response.h"
#include "editor/band_edit.h"

#include <QDebug>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// bandTransferFunction draws such a band as flat (H = 1); the plot says so,
// since the values can only come from a device report or an edited file.
bool drawnFlat(const EQ_data& band) { return !(band.Q > 0.0) || !(band.center_frequency > 0); }

void logFlatBand(const EQ_data& band, int bandNumber)
{
    if (drawnFlat(band))
        qDebug(
            "band %d drawn flat: Q %g, frequency %d Hz", bandNumber, band.Q, band.center_frequency);
}

// Grid points from levels. A level that is still not finite (a gain far
// outside any dial, say) would break the spline and the axis: 0 dB instead.
CurvePoints gridPoints(const std::vector<double>& levels)
{
    CurvePoints points;
    points.reserve(static_cast<qsizetype>(kGridSize));
    for (std::size_t k = 0; k < kGridSize; ++k) {
        const double y = k < levels.size() && std::isfinite(levels[k]) ? levels[k] : 0.0;
        points.append(QPointF(freqs1[k], y));
    }
    return points;
}

// Scratch levels; the plot runs on the GUI thread only.
std::vector<double>& scratchLevels()
{
    static std::vector<double> levels;
    return levels;
}

} // namespace

EQ_data* const* plottedSet(const QString& peqModeText, bool rightChannelChecked)
{
    return routedSet(editRoute(peqModeText, rightChannelChecked));
}

CurveRows flatCurveRows()
{
    CurveRows rows;
    rows.reserve(static_cast<qsizetype>(kGridSize));
    for (double f : freqs1)
        rows.append({ f, 0.0 });
    return rows;
}

double curveLevel(const CurveRows& rows, qsizetype k)
{
    if (k < 0 || k >= rows.size() || rows[k].size() < 2)
        return 0.0;
    const double level = rows[k][1];
    return std::isfinite(level) ? level : 0.0;
}

CurvePoints combinedCurve(EQ_data* const set[12], bool show)
{
    computeSetResponses(set);
    for (int n = 1; n <= 11; ++n) {
        if (set[n]->status != 0)
            logFlatBand(*set[n], n);
    }
    if (!show)
        return {};
    std::vector<double>& levels = scratchLevels();
    levelDb(filt_combined_fr1, gain_value, levels);
    return gridPoints(levels);
}

double nextFilteredOffset(bool followPre, double preampDb, double currentOffset)
{
    return followPre ? preampDb : currentOffset;
}

CurvePoints filteredCurve(const FrequencyResponse& combined, double offset, const CurveRows& source,
    const CurveRows& target, bool alignment, bool compensated)
{
    std::vector<double>& levels = scratchLevels();
    if (combined.size() == kGridSize)
        levelDb(combined, 0.0, levels);
    else
        levels.assign(kGridSize, 0.0); // nothing computed yet: the filters count as flat
    auto filterLevel = [&](std::size_t k) { return std::isfinite(levels[k]) ? levels[k] : 0.0; };

    const double alignBy = alignment
        ? curveLevel(source, static_cast<qsizetype>(kAlignIndex)) + filterLevel(kAlignIndex)
        : 0.0;
    for (std::size_t k = 0; k < kGridSize; ++k) {
        const auto row = static_cast<qsizetype>(k);
        double y = curveLevel(source, row) + filterLevel(k) + offset - alignBy;
        if (compensated)
            y -= curveLevel(target, row);
        levels[k] = y;
    }
    return gridPoints(levels);
}

CurvePoints bandCurve(const EQ_data& band, int bandNumber)
{
    logFlatBand(band, bandNumber);
    value_deal::peq_fr(bandTransferFunction(band), filt_combined_fr);
    std::vector<double>& levels = scratchLevels();
    levelDb(filt_combined_fr, 0.0, levels);
    return gridPoints(levels);
}

std::array<CurvePoints, 11> eachBandCurves(EQ_data* const set[12])
{
    std::array<CurvePoints, 11> curves;
    for (int n = 1; n <= 11; ++n) {
        if (set[n]->status == 1)
            curves[n - 1] = bandCurve(*set[n], n);
    }
    return curves;
}

int bandToRedraw(EQ_data* const set[12], int each_EQ_num)
{
    if (each_EQ_num < 1 || each_EQ_num > 11)
        return 0;
    return set[each_EQ_num]->status == 1 ? each_EQ_num : 0;
}

CurvePoints measuredCurve(const CurveRows& rows, const CurveRows& target, bool compensated)
{
    CurvePoints points;
    points.reserve(rows.size());
    for (qsizetype k = 0; k < rows.size(); ++k) {
        if (rows[k].isEmpty())
            continue;
        const double f = rows[k][0];
        if (!(f > 0.0) || !std::isfinite(f))
            continue;
        double y = curveLevel(rows, k);
        if (compensated)
            y -= curveLevel(target, k);
        points.append(QPointF(f, y));
    }
    return points;
}

LevelRange zoomLevelRange(LevelRange current, int wheelDeltaY)
{
    const double step = wheelDeltaY > 0 ? 1.0 : -1.0;
    return { std::clamp(current.min - step, -98.0, -10.0),
        std::clamp(current.max + step, 10.0, 98.0) };
}
