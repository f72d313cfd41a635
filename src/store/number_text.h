#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// Numbers in the program's text files: a point as decimal separator whatever
// the user's locale, white space around the number allowed, no grouping.
// "nan" and "inf" (and values too large for a double) are not numbers: no
// band or curve can use them.
std::optional<double> finiteNumber(QStringView text);

// True when the text is written as a number whose value is not finite: "nan",
// "-nan", "inf", or digits beyond the largest double ("1e999"). A text that
// is no number at all ("abc", "1.2.3") is not one of them.
bool isNonFiniteNumber(QStringView text);

// The g form of printf with six significant digits (2.5, -3, 0.707,
// 1.23457e+06), never "-0", as every writer of the program prints reals.
QString gText(double v);
