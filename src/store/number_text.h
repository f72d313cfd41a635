#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// Numbers in the program's text files: a point as decimal separator whatever
// the user's locale, white space around the number allowed, no grouping.
// "nan" and "inf" (and values too large for a double) are not numbers: no
// band or curve can use them.
std::optional<double> finiteNumber(QStringView text);

// The g form of printf with six significant digits (2.5, -3, 0.707,
// 1.23457e+06), never "-0", as every writer of the program prints reals.
QString gText(double v);
