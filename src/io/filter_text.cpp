#include "io/filter_text.h"

#include <QDebug>
#include <QRegularExpression>

#include <cmath>

#include "io/text_files.h"
#include "store/number_text.h"

namespace {

// Written type words by type - 1, each with its trailing blank.
const char* const kTypeWords[] = { "PK ", "LP ", "HP ", "LSC ", "HSC " };

// Read type words, tested in this order.
struct TypeWord
{
    const char* word;
    int32_t type;
};
constexpr TypeWord kReadTypeWords[] = {
    { "LSC", 4 },
    { "LS", 4 },
    { "PK", 1 },
    { "Modal", 1 },
    { "HSC", 5 },
    { "HS", 5 },
    { "LP", 2 },
    { "LPQ", 2 },
    { "HP", 3 },
    { "HPQ", 3 },
};

constexpr int kLooseHeaderLines = 9;
constexpr double kDefaultQ = 0.707;
constexpr double kT60PerQ = 38.5; // ms of T60 target per unit of Q

const QRegularExpression& preampPattern()
{
    static const QRegularExpression re(QStringLiteral(R"(Preamp: ([\d.-]+) dB)"));
    return re;
}

const QRegularExpression& ownPattern()
{
    static const QRegularExpression re(
        QStringLiteral(R"(Filter \d+: (\w+) (\w+) Fc ([\d.]+) Hz Gain ([\d.-]+) dB Q ([\d.]+))"));
    return re;
}

const QRegularExpression& loosePattern()
{
    static const QRegularExpression re(QStringLiteral(
        R"((ON|OFF)\s+(\w+)\s+Fc\s+(\d+(?:\.\d+)?)\s*(?:Hz)?\s*(?:Gain\s+([+-]?\d+(?:\.\d+)?)\s*dB)?)"
        R"(\s*(?:Q\s+(\d+(?:\.\d+)?))?\s*(?:T60 target\s+(\d+)\s*ms)?)"));
    return re;
}

// A field that is not a number counts as 0, before any limit.
double numberOrZero(QStringView text) { return finiteNumber(text).value_or(0.0); }

// A line holding a number too large for a double does not fit its pattern:
// no limit could make a value of it. Groups 1 and 2 are words.
bool holdsNonFiniteNumber(const QRegularExpressionMatch& m)
{
    for (int group = 3; group <= m.lastCapturedIndex(); ++group)
        if (isNonFiniteNumber(m.capturedView(group)))
            return true;
    return false;
}

double limited(double v, double low, double high)
{
    if (v >= high)
        return high;
    if (v <= low)
        return low;
    return v;
}

// Halves away from zero. Values this large have no fraction left to round,
// and scaling them could overflow.
double roundedToTenth(double v) { return std::fabs(v) < 1e15 ? std::round(v * 10.0) / 10.0 : v; }

std::optional<int32_t> typeOfWord(QStringView word)
{
    for (const TypeWord& t : kReadTypeWords)
        if (word == QLatin1String(t.word))
            return t.type;
    return std::nullopt;
}

ImportedBand bandOfMatch(const QRegularExpressionMatch& m, bool loose)
{
    ImportedBand band;
    const QString t60 = loose ? m.captured(6) : QString();
    band.status = m.capturedView(1) == QLatin1String("ON") ? 1 : 0;
    band.type = typeOfWord(m.capturedView(2));
    band.center_frequency
        = int32_t(limited(std::round(numberOrZero(m.capturedView(3))), kBandMinHz, kBandMaxHz));

    const QStringView gain = m.capturedView(4);
    band.gain
        = gain.isEmpty() ? 0.0 : limited(numberOrZero(gain), -kBandGainLimitDb, kBandGainLimitDb);

    const QStringView q = m.capturedView(5);
    if (q.isEmpty())
        band.Q = kDefaultQ;
    else if (!t60.isEmpty())
        // Reverberation-style entries give their width as a decay time. An
        // unlimited quotient would reach the device as an absurd Q, so it
        // keeps the limits of a written Q.
        band.Q = limited(numberOrZero(t60) / kT60PerQ, kBandMinQ, kBandMaxQ);
    else
        band.Q = limited(numberOrZero(q), kBandMinQ, kBandMaxQ);
    return band;
}

// The rest of `text` after its first `lines` lines; empty when it has no more.
QStringView afterLines(const QString& text, int lines)
{
    qsizetype pos = 0;
    for (int i = 0; i < lines; ++i) {
        const qsizetype nl = text.indexOf(QLatin1Char('\n'), pos);
        if (nl < 0)
            return {};
        pos = nl + 1;
    }
    return QStringView(text).mid(pos);
}

QByteArray setText(EQ_data* const set[12])
{
    QByteArray out;
    out += "Preamp: " + gText(set[0]->gain).toLatin1() + " dB\n";
    for (int n = 1; n <= 10; ++n) {
        const EQ_data& b = *set[n];
        out += "Filter " + QByteArray::number(n) + ": ";
        out += b.status != 0 ? "ON " : "OFF ";
        if (b.type >= 1 && b.type <= 5)
            out += kTypeWords[b.type - 1];
        out += "Fc " + QByteArray::number(b.center_frequency) + " Hz ";
        out += "Gain " + gText(b.gain).toLatin1() + " dB ";
        out += "Q " + gText(b.Q).toLatin1() + "\n";
    }
    return out;
}

} // namespace

QByteArray filterText(EQ_data* const set[12]) { return setText(set); }

bool exportToTXT(const QString& path, EQ_data* const set[12])
{
    return writeExportFile(path, setText(set));
}

bool exportToTXT2(const QString& path, R_EQ_data* const set[12])
{
    return writeExportFile(path, setText(set));
}

FilterImport parseFilterText(const QString& text)
{
    FilterImport result;
    const qsizetype firstEnd = text.indexOf(QLatin1Char('\n'));
    const QStringView line1 = QStringView(text).left(firstEnd < 0 ? text.size() : firstEnd);
    const bool own = line1.contains(QLatin1String("Preamp"));

    QStringView body;
    if (own) {
        const QRegularExpressionMatch m = preampPattern().match(line1);
        const bool fits = m.hasMatch() && !isNonFiniteNumber(m.capturedView(1));
        // The preamp takes the range of the editor and the device, like a
        // band's gain: a larger value could not be shown, sent or exported
        // so that it reads back.
        result.preamp = limited(roundedToTenth(fits ? numberOrZero(m.capturedView(1)) : 0.0),
            -kBandGainLimitDb, kBandGainLimitDb);
        body = afterLines(text, 1);
    } else {
        body = afterLines(text, kLooseHeaderLines);
    }

    const QRegularExpression& pattern = own ? ownPattern() : loosePattern();
    QRegularExpressionMatchIterator it = pattern.globalMatch(body);
    while (it.hasNext() && result.bands.size() < kMaxImportedBands) {
        const QRegularExpressionMatch m = it.next();
        if (!holdsNonFiniteNumber(m))
            result.bands.append(bandOfMatch(m, !own));
    }
    return result;
}

void applyFilterImport(const FilterImport& import, EQ_data* const set[12])
{
    // The lines' own limits already put every value in its field's range;
    // the fields' rules (dsp/band.h) still have the last word, as for every
    // other source of a band value.
    if (import.preamp) {
        set[0]->gain = *import.preamp;
        set[0]->status = 1;
        holdPreampFields(*set[0]);
    }
    for (qsizetype i = 0; i < import.bands.size() && i < kMaxImportedBands; ++i) {
        const ImportedBand& in = import.bands[i];
        EQ_data& b = *set[i + 1];
        b.status = in.status;
        if (in.type)
            b.type = *in.type;
        b.center_frequency = in.center_frequency;
        b.gain = in.gain;
        b.Q = in.Q;
        holdBandFields(b);
    }
}

void importFilterText(const QString& text, FilterTarget target)
{
    const FilterImport import = parseFilterText(text);
    if (target != FilterTarget::Right)
        applyFilterImport(import, EQ);
    if (target != FilterTarget::Left)
        applyFilterImport(import, EQ_R);
}

bool importFromTXT(const QString& path, FilterTarget target)
{
    const std::optional<QString> text = readTextFile(path);
    if (!text) {
        qDebug() << "cannot open the filter file" << path;
        return false;
    }
    importFilterText(*text, target);
    return true;
}
