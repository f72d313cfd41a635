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

} // namespace

std::optional<double> finiteNumber(QStringView text)
{
    double v = 0.0;
    if (!fastDouble(text, &v)) {
        bool ok = false;
        v = text.toDouble(&ok);
        if (!ok)
            return std::nullopt;
    }
    if (!std::isfinite(v))
        return std::nullopt;
    return v;
}

QString gText(double v) { return QString::number(v, 'g', 6); }
