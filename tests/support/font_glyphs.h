#pragma once

// The embedded font is a subset: a character it lacks is drawn as a box, or
// by another font where one stands in. Tests of the program's texts check
// them against the application font (the embedded one once the program's
// start-up has installed it), with no other font standing in.

#include <QApplication>
#include <QFont>
#include <QFontMetrics>
#include <QString>

namespace testsupport {

// The characters of `text` the application font lacks, each once; line
// breaks, which are no glyphs, aside.
inline QString missingGlyphs(const QString& text)
{
    QFont exact = QApplication::font();
    exact.setStyleStrategy(QFont::NoFontMerging);
    const QFontMetrics metrics(exact);
    QString missing;
    for (QChar c : text)
        if (c != QLatin1Char('\n') && !metrics.inFont(c) && !missing.contains(c))
            missing += c;
    return missing;
}

} // namespace testsupport
