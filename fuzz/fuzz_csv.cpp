// CSV import: the input is the file's content, taken as the curve import
// takes it: the program's own format when the first line carries its
// marker, otherwise a measurement file resampled onto the frequency grid.
// Every number a reader keeps is one a curve can hold (finite, and small
// enough to be drawn); a curve the import accepts has one such [frequency,
// level] row per grid point, draws as finite points even against a target as
// far off as itself, and the file the program writes of it reads back to the
// same file.

#include <cmath>

#include "dsp/grid.h"
#include "support.h"
#include "io/csv_files.h"
#include "store/paths.h"

namespace {

// The second number of a row is its level.
void checkRows(const CurveRows& rows)
{
    for (const QList<double>& row : rows)
        for (qsizetype i = 0; i < row.size(); ++i)
            FUZZ_CHECK(
                std::isfinite(row[i]) && (i == 1 ? isCurveLevel(row[i]) : isCurveValue(row[i])));
}

void checkDrawn(const CurveRows& rows)
{
    CurveRows opposite = rows;
    for (QList<double>& row : opposite)
        row[1] = -row[1];
    for (const QPointF& p : measuredCurve(rows, opposite, true))
        FUZZ_CHECK(std::isfinite(p.x()) && std::isfinite(p.y()));
}

// The own file of `rows`, written and read back, must be written the same.
void checkWrittenReadsBack(const CurveRows& rows)
{
    const QString path = appFilePath(QStringLiteral("written.csv"));
    FUZZ_CHECK(exportToCSV(path, rows));
    const QByteArray written = fuzz::fileBytes(path);
    FUZZ_CHECK(written == curveFileText(rows));
    FUZZ_CHECK(isQuorvelCSV(path));
    const CurveRows back = curvePairs(importFromCSV(path));
    FUZZ_CHECK(curveFileText(back) == written);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = appFilePath(QStringLiteral("curve.csv"));
    fuzz::putFile(path, fuzz::bytes(data, size));

    CurveRows rows;
    bool usable = false;
    if (isQuorvelCSV(path)) {
        const CurveRows own = importFromCSV(path);
        checkRows(own);
        rows = curvePairs(own);
        usable = isCompleteCurve(rows);
    } else {
        const CurveRows parsed = csv_deal::parseCSV(path);
        checkRows(parsed);
        for (const QList<double>& row : parsed)
            FUZZ_CHECK(!row.isEmpty());
        rows = csv_deal::processArrays(freqs1.data(), int(kGridSize), parsed);
        usable = csv_data_determine;
        // Rows follow the grid, as far as they were made.
        FUZZ_CHECK(rows.size() <= qsizetype(kGridSize));
        for (qsizetype k = 0; k < rows.size(); ++k)
            FUZZ_CHECK(rows[k].size() == 2 && rows[k][0] == freqs1[size_t(k)]);
        if (usable)
            FUZZ_CHECK(rows[85][1] == 0.0); // normalised at 500 Hz
    }
    if (!usable)
        return 0;
    FUZZ_CHECK(isCompleteCurve(rows));
    checkRows(rows);
    checkDrawn(rows);
    checkWrittenReadsBack(rows);
    return 0;
}
