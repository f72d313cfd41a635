#pragma once

// CSV response files: the program's own curve format, which it writes and
// reads back unchanged, and the measurement files of other tools, read
// tolerantly, resampled onto the frequency grid and normalised to 0 dB at
// 500 Hz. Failures are debug lines only; callers judge the results.

#include <QByteArray>
#include <QString>

#include "dsp/value_deal.h"
#include "plot/curves.h"

// True when the last resampling found a value for every grid point.
extern bool csv_data_determine;

// The own format: a marker line, a header line, then "frequency,level"
// rows, numbers in the six-digit g form.
inline constexpr char kOwnCsvMarker[] = "Quorvel_csv_file";
inline constexpr char kOwnCsvHeader[] = "fre(Hz),raw(dB)";

// The largest size a number in a curve file may have (a frequency, or a
// column beside the level): every sum and scaling of it stays finite.
inline constexpr double kLargestCurveValue = 1e300;

// The largest size of a level, in dB. The chart draws in 32-bit device
// pixels: a curve with a point some 2e9 px off the plot is not drawn at all
// (a level of 2e8 dB at its closest zoom, 20 dB over 195 px). What it draws
// is a level or a sum of two (filtered: source and filters, compensated:
// source less target, either aligned at 500 Hz), up to twice a level. At
// 1e5 dB that stays below 1e9 px up to 5000 px per dB, more than any screen
// gives, and still lies far beyond any measurement (a few hundred dB).
inline constexpr double kLargestCurveLevel = 1e5;

// A number a curve can hold: finite and no larger than kLargestCurveValue.
bool isCurveValue(double v);
// A level a curve can hold: finite and no larger than kLargestCurveLevel.
bool isCurveLevel(double v);

// The own file of curve rows. A row that is not a [frequency, level] pair is
// logged "DATA_ERR" and left out.
QByteArray curveFileText(const CurveRows& rows);
// The own file of a filter response: 20 log10 |h| + offsetDb at each
// frequency. A response of another length than `count` gives the two header
// lines only ("DATA_ERR").
QByteArray responseFileText(
    const double* freqs, int count, const FrequencyResponse& response, double offsetDb);

// Write those files; false, with "FILE_ERR" logged, when the path cannot be
// written (an older file then stays as it was).
bool exportToCSV(const QString& path, const CurveRows& rows);
bool exportToCSV(const QString& path, const double* freqs, int count,
    const FrequencyResponse& response, double offsetDb);

// True when the file's first line contains the marker.
bool isQuorvelCSV(const QString& path);

// The rows of an own file as they stand: every line after a header line,
// split at its commas; fields that are not numbers are logged and left out.
// A file that cannot be opened gives no rows, and so does a file holding a
// number no curve can hold ("nan", "inf", "1e999", "1e308", or a level, the
// second number of a row, beyond kLargestCurveLevel): it is unreadable as a
// whole, at an import and when a stored curve is read.
CurveRows importFromCSV(const QString& path);
CurveRows ownCurveRows(const QString& text);

// What the plot needs of a curve: one row per grid point, each with a
// frequency and a level that a curve can hold. Own files are accepted only
// in this shape.
bool isCompleteCurve(const CurveRows& rows);
// Each row cut to its first two values, the frequency and the level.
CurveRows curvePairs(const CurveRows& rows);

// Header test for foreign files: "Hz" and "dB", or "Fre"/"fre" and "Raw"/"raw".
bool containsKeywords(QStringView line);

// Groups the foreign-file reader and the resampler; holds nothing.
class csv_deal
{
public:
    csv_deal();

    // The numbers of the data lines after the first header line; a line of
    // no number gives no row. Like an own file, a file holding a number no
    // curve can hold gives no rows at all.
    static CurveRows parseCSV(const QString& path);
    static CurveRows parseCSVText(const QString& text);

    // One row per grid point: the mean level of the two rows nearest to it
    // (rows of fewer than two values are not used), then normalised at
    // 500 Hz. Sets csv_data_determine; on failure the rows made so far. A
    // level no curve can hold after that (normalising can double a level)
    // fails it too.
    static CurveRows processArrays(const double* grid, int n, const CurveRows& rows);
};

// Every level minus the level of the first row at exactly `x` Hz (0 when
// there is none).
CurveRows subtractArray(const CurveRows& rows, double x);

// Deletes the file when it exists; the outcome is only logged.
void deleteFile(const QString& path);
