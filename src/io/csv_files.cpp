#include "io/csv_files.h"

#include <QDebug>
#include <QFile>

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "io/text_files.h"
#include "store/number_text.h"

bool csv_data_determine = false;

csv_deal::csv_deal() = default;

namespace {

constexpr double kNormaliseAtHz = 500.0;
constexpr double kNoRowFrequency = 2147483647.0;

QByteArray rowLine(double frequency, double level)
{
    return gText(frequency).toLatin1() + ',' + gText(level).toLatin1() + '\n';
}

QByteArray fileHead() { return QByteArray(kOwnCsvMarker) + '\n' + kOwnCsvHeader + '\n'; }

// The separators of a foreign data line: commas, semicolons and ASCII white
// space, any number of them in a row.
bool isSeparator(QChar c)
{
    switch (c.unicode()) {
    case ',':
    case ';':
    case ' ':
    case '\t':
    case '\n':
    case '\v':
    case '\f':
    case '\r':
        return true;
    default:
        return false;
    }
}

struct SplitLine
{
    QList<QStringView> fields; // a leading or trailing separator gives an empty field
    QList<QStringView> separators; // separators[i] stands between fields i and i + 1
};

SplitLine splitForeignLine(QStringView line)
{
    SplitLine out;
    qsizetype i = 0;
    const qsizetype n = line.size();
    for (;;) {
        const qsizetype start = i;
        while (i < n && !isSeparator(line[i]))
            ++i;
        out.fields.append(line.mid(start, i - start));
        if (i == n)
            return out;
        const qsizetype sepStart = i;
        while (i < n && isSeparator(line[i]))
            ++i;
        out.separators.append(line.mid(sepStart, i - sepStart));
    }
}

bool startsWithSign(QStringView field)
{
    return !field.isEmpty() && (field[0] == QLatin1Char('-') || field[0] == QLatin1Char('+'));
}

// A number written with a thousands comma ("1,000.5") splits into "1" and
// "000.5". They are joined back only where that reading is safe: the comma
// stands alone between them, the line separates its columns with something
// else too (as files with decimal-comma locales do), the second part carries
// no sign, and the joined line holds exactly a frequency and a level. So
// "1000,100.5,-45.0" (a phase column) and "20,-13.5" read as they stand.
QList<QString> joinedFields(const SplitLine& line)
{
    QList<QString> joined;
    for (qsizetype i = 0; i < line.fields.size(); ++i) {
        QString field = line.fields[i].toString();
        if (i + 1 < line.fields.size() && line.separators[i] == QLatin1String(",")
            && !field.contains(QLatin1Char('.'))
            && line.fields[i + 1].indexOf(QLatin1Char('.')) == 3
            && !startsWithSign(line.fields[i + 1])) {
            field += line.fields[i + 1];
            ++i;
        }
        joined.append(field);
    }
    return joined;
}

bool usesOtherSeparator(const SplitLine& line)
{
    for (QStringView sep : line.separators)
        for (QChar c : sep)
            if (c != QLatin1Char(','))
                return true;
    return false;
}

int numberCount(const QList<QString>& fields)
{
    int count = 0;
    for (const QString& f : fields)
        count += finiteNumber(f) ? 1 : 0;
    return count;
}

enum class CurveField { Number, NotNumber, Unreadable };

// A field of a curve file. "abc" is no number and is left out; "nan", "inf",
// "1e999" or "1e308" are numbers no curve can hold, nor is a level beyond
// kLargestCurveLevel, and the file that holds one cannot be read. The second
// number of a row is its level.
CurveField curveField(QStringView text, bool level, double* v)
{
    if (const std::optional<double> n = finiteNumber(text)) {
        *v = *n;
        const bool held = level ? isCurveLevel(*n) : isCurveValue(*n);
        return held ? CurveField::Number : CurveField::Unreadable;
    }
    return isNonFiniteNumber(text) ? CurveField::Unreadable : CurveField::NotNumber;
}

// Appends the field's number to `row`, or logs the field with `notNumberLog`
// and leaves it out; false when it makes the file unreadable.
bool takeField(QStringView field, QList<double>& row, const char* notNumberLog)
{
    double v = 0.0;
    switch (curveField(field, row.size() == 1, &v)) {
    case CurveField::Number:
        row.append(v);
        return true;
    case CurveField::NotNumber:
        qDebug() << notNumberLog << field;
        return true;
    case CurveField::Unreadable:
        break;
    }
    qDebug() << "unreadable curve file: no curve can hold" << field;
    return false;
}

// The numbers of a foreign data line; none when the file is unreadable.
std::optional<QList<double>> foreignRow(QStringView line)
{
    const char* const notNumber = "无法转换为数值:";
    const SplitLine split = splitForeignLine(line);
    QList<double> row;
    if (usesOtherSeparator(split)) {
        const QList<QString> joined = joinedFields(split);
        if (joined.size() < split.fields.size() && numberCount(joined) == 2) {
            for (const QString& f : joined)
                if (!takeField(f, row, notNumber))
                    return std::nullopt;
            return row;
        }
    }
    for (QStringView f : split.fields)
        if (!takeField(f, row, notNumber))
            return std::nullopt;
    return row;
}

} // namespace

bool isCurveValue(double v) { return std::fabs(v) <= kLargestCurveValue; }

bool isCurveLevel(double v) { return std::fabs(v) <= kLargestCurveLevel; }

QByteArray curveFileText(const CurveRows& rows)
{
    QByteArray out = fileHead();
    for (const QList<double>& row : rows) {
        if (row.size() != 2) {
            qDebug() << "DATA_ERR";
            continue;
        }
        out += rowLine(row[0], row[1]);
    }
    return out;
}

QByteArray responseFileText(
    const double* freqs, int count, const FrequencyResponse& response, double offsetDb)
{
    QByteArray out = fileHead();
    if (count < 0 || response.size() != std::size_t(count)) {
        qDebug() << "DATA_ERR";
        return out;
    }
    for (int i = 0; i < count; ++i) {
        const double level = 20.0 * std::log10(std::hypot(response[i].real(), response[i].imag()));
        out += rowLine(freqs[i], level + offsetDb);
    }
    return out;
}

bool exportToCSV(const QString& path, const CurveRows& rows)
{
    return writeExportFile(path, curveFileText(rows));
}

bool exportToCSV(const QString& path, const double* freqs, int count,
    const FrequencyResponse& response, double offsetDb)
{
    return writeExportFile(path, responseFileText(freqs, count, response, offsetDb));
}

bool isQuorvelCSV(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    return QString::fromUtf8(file.readLine()).contains(QLatin1String(kOwnCsvMarker));
}

CurveRows ownCurveRows(const QString& text)
{
    CurveRows rows;
    bool started = false;
    for (QStringView line : textLines(text)) {
        if (line.startsWith(QLatin1String(kOwnCsvHeader))) {
            started = true;
            continue;
        }
        if (!started || line.isEmpty())
            continue;
        QList<double> row;
        for (QStringView field : line.split(QLatin1Char(',')))
            if (!takeField(field, row, "无法转换为数字:"))
                return {};
        rows.append(row);
    }
    return rows;
}

CurveRows importFromCSV(const QString& path)
{
    const std::optional<QString> text = readTextFile(path);
    if (!text) {
        qDebug() << "无法打开文件" << path;
        return {};
    }
    return ownCurveRows(*text);
}

bool isCompleteCurve(const CurveRows& rows)
{
    if (rows.size() != qsizetype(kGridSize))
        return false;
    for (const QList<double>& row : rows)
        if (row.size() < 2 || !isCurveValue(row[0]) || !isCurveLevel(row[1]))
            return false;
    return true;
}

CurveRows curvePairs(const CurveRows& rows)
{
    CurveRows out;
    out.reserve(rows.size());
    for (const QList<double>& row : rows)
        out.append(row.first(std::min<qsizetype>(row.size(), 2)));
    return out;
}

bool containsKeywords(QStringView line)
{
    if (line.contains(QLatin1String("Hz")) && line.contains(QLatin1String("dB")))
        return true;
    const bool fre = line.contains(QLatin1String("Fre")) || line.contains(QLatin1String("fre"));
    const bool raw = line.contains(QLatin1String("Raw")) || line.contains(QLatin1String("raw"));
    return fre && raw;
}

CurveRows csv_deal::parseCSVText(const QString& text)
{
    CurveRows rows;
    bool header = false;
    for (QStringView line : textLines(text)) {
        const bool isHeader = containsKeywords(line);
        if (!header || isHeader) {
            header = header || isHeader;
            continue;
        }
        std::optional<QList<double>> row = foreignRow(line);
        if (!row)
            return {};
        if (!row->isEmpty())
            rows.append(std::move(*row));
    }
    return rows;
}

CurveRows csv_deal::parseCSV(const QString& path)
{
    const std::optional<QString> text = readTextFile(path);
    if (!text) {
        qDebug() << "无法打开文件" << path;
        return {};
    }
    return parseCSVText(*text);
}

CurveRows csv_deal::processArrays(const double* grid, int n, const CurveRows& rows)
{
    csv_data_determine = true;
    // Flat copies for the inner loop; a row without a level cannot be
    // averaged and is not used.
    std::vector<double> frequencies;
    std::vector<double> levels;
    frequencies.reserve(std::size_t(rows.size()));
    levels.reserve(std::size_t(rows.size()));
    for (const QList<double>& row : rows) {
        if (row.size() >= 2) {
            frequencies.push_back(row[0]);
            levels.push_back(row[1]);
        }
    }

    CurveRows result;
    result.reserve(n);
    for (int k = 0; k < n; ++k) {
        const double f = grid[k];
        std::ptrdiff_t best = -1;
        std::ptrdiff_t second = -1;
        double bestDistance = std::fabs(f - kNoRowFrequency);
        double secondDistance = bestDistance;
        for (std::size_t j = 0; j < frequencies.size(); ++j) {
            const double d = std::fabs(f - frequencies[j]);
            // Strict: on equal distances the earlier row keeps its place, and
            // a frequency that is not a number never qualifies.
            if (bestDistance > d) {
                second = best;
                secondDistance = bestDistance;
                best = std::ptrdiff_t(j);
                bestDistance = d;
            } else if (secondDistance > d) {
                second = std::ptrdiff_t(j);
                secondDistance = d;
            }
        }
        if (best < 0 || second < 0) {
            qDebug() << "找不到符合条件的数据";
            csv_data_determine = false;
            break;
        }
        result.append({ f, (levels[std::size_t(best)] + levels[std::size_t(second)]) * 0.5 });
    }
    result = subtractArray(result, kNormaliseAtHz);
    // The curve is stored and drawn as it stands: a level that left the
    // range of a curve on the way fails it like a missing grid point.
    for (qsizetype k = 0; csv_data_determine && k < result.size(); ++k) {
        if (!isCurveLevel(result.at(k).at(1))) {
            qDebug() << "no curve can hold the level" << result.at(k).at(1) << "at"
                     << result.at(k).at(0) << "Hz";
            csv_data_determine = false;
        }
    }
    return result;
}

CurveRows subtractArray(const CurveRows& rows, double x)
{
    double reference = 0.0;
    for (const QList<double>& row : rows) {
        if (row.size() >= 2 && row[0] == x) {
            reference = row[1];
            break;
        }
    }
    CurveRows out;
    out.reserve(rows.size());
    for (const QList<double>& row : rows)
        out.append(row.size() >= 2 ? QList<double> { row[0], row[1] - reference } : row);
    return out;
}

void deleteFile(const QString& path)
{
    if (!QFile::exists(path)) {
        qDebug() << "文件不存在:" << path;
        return;
    }
    if (QFile::remove(path))
        qDebug() << "文件删除成功:" << path;
    else
        qDebug() << "无法删除文件:" << path;
}
