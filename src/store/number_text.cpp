#include "store/number_text.h"

#include <charconv>
#include <cmath>

namespace {

// from_chars is several times faster than QString::toDouble and covers the
// plain forms nearly every file holds; anything else goes the slow way.
bool fastDouble(QStringView text, double* v)
{
    char ascii[48];
    const qsizetype n = text.size();
    if (n == 0 || n >= qsizetype(sizeof ascii))
        return false;
    for (qsizetype i = 0; i < n; ++i) {
        if (text[i].unicode() >= 0x80)
            return false;
        ascii[i] = char(text[i].unicode());
    }
    const auto [end, ec] = std::from_chars(ascii, ascii + n, *v);
    return ec == std::errc() && end == ascii + n;
}

// The value the text is written as, and whether it is written as a number
// at all. Digits beyond the largest double read as an infinity that is not
// ok; digits too small for one as 0 that is not ok.
double readNumber(QStringView text, bool* ok)
{
    double v = 0.0;
    *ok = fastDouble(text, &v);
    if (!*ok)
        v = text.toDouble(ok);
    return v;
}

} // namespace

std::optional<double> finiteNumber(QStringView text)
{
    bool ok = false;
    const double v = readNumber(text, &ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

bool isNonFiniteNumber(QStringView text)
{
    bool ok = false;
    const double v = readNumber(text, &ok);
    return ok ? !std::isfinite(v) : std::isinf(v);
}

QString gText(double v) { return QString::number(v, 'g', 6); }
