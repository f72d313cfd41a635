#include "editor/band_edit.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "app/window_texts.h"
#include "device/commands.h"
#include "device/device_tables.h"
#include "dsp/value_deal.h"

namespace {

constexpr int kGainLimitPosition = 24;
constexpr int kMaxGainTextLength = 9;
constexpr int kMaxFrequencyTextLength = 6;
constexpr int kMaxQTextLength = 7;
constexpr int32_t kMaxQCode = 150000;
constexpr int32_t kDefaultQCode = 7070;

// A number as QString reads it, an overflow as the infinity of its sign;
// anything else it cannot read, and not-a-number, counts as 0.
double numberOrZero(const QString& text)
{
    bool ok = false;
    const double v = text.toDouble(&ok);
    if (std::isnan(v) || (!ok && !std::isinf(v)))
        return 0.0;
    return v;
}

// Value edits send three fields per channel: usually type, value, status;
// some handlers send the value first, for one band or for every band.
constexpr int kNoBand = 0;
constexpr int kEveryBand = -1;
struct ValueEditOrder
{
    BandEdit edit;
    BandField value;
    int valueFirstBand;
};
constexpr ValueEditOrder kValueEditOrders[] = {
    { BandEdit::FrequencyDial, BandField::Frequency, 2 },
    { BandEdit::GainDial, BandField::Gain, 1 },
    { BandEdit::QDial, BandField::Q, 1 },
    { BandEdit::FrequencyText, BandField::Frequency, kNoBand },
    { BandEdit::GainText, BandField::Gain, kEveryBand },
    { BandEdit::QText, BandField::Q, kNoBand },
};

} // namespace

EditRoute editRoute(const QString& peqModeText, bool rightChannelChecked)
{
    if (peqModeText == QLatin1String("L+R"))
        return EditRoute::Linked;
    return rightChannelChecked ? EditRoute::Right : EditRoute::Left;
}

EQ_data* const* routedSet(EditRoute route) { return route == EditRoute::Right ? EQ_R : EQ; }

int32_t truncSaturated(double v)
{
    if (std::isnan(v))
        return 0;
    if (v >= static_cast<double>(std::numeric_limits<int32_t>::max()))
        return std::numeric_limits<int32_t>::max();
    if (v <= static_cast<double>(std::numeric_limits<int32_t>::min()))
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(v);
}

int32_t bandTypeCode(int32_t type) { return heldType(type); }

int32_t typeForIndex(int index) { return heldType(static_cast<long long>(index) + 1); }

int32_t bandGainCode(double gainDb, bool tenths)
{
    return truncSaturated(gainDb * (tenths ? 10.0 : 2.0));
}

int32_t bandQCode(double q) { return truncSaturated(q * 10000.0); }

int32_t statusCode(uint8_t status) { return static_cast<int8_t>(status); }

int32_t preampGainCode(double gainDb)
{
    return static_cast<int32_t>(value_deal::Get_Modulus(truncSaturated(gainDb * 10.0)));
}

int32_t gainDialTenths(double gainDb) { return truncSaturated(gainDb * 20.0); }

double gainOfDialTenths(int tenths) { return roundedToTenth(0.5 * (tenths / 10.0)); }

int32_t dialGainCode(int tenths, double storedGainDb, bool tenthsOfDb)
{
    return tenthsOfDb ? bandGainCode(storedGainDb, true) : truncSaturated(tenths / 10.0);
}

bool preampsLinkedOnDevice(int32_t deviceEqStatus)
{
    return eqStateView(deviceEqStatus).preampsLinked();
}

QString frequencyText(int hz) { return QString::number(hz) + QStringLiteral("Hz"); }

QString gainText(double gainDb) { return QString::number(gainDb, 'f', 1) + QStringLiteral("dB"); }

QString qText(double q) { return QString::number(q, 'f', 4); }

QString eqCountText(int count) { return framed(QStringLiteral("EQ:") + QString::number(count)); }

double roundedToTenth(double gainDb) { return QString::number(gainDb, 'f', 1).toDouble(); }

GainEntry readGainText(const QString& text)
{
    if (text.size() > kMaxGainTextLength) {
        // A long typed cut stays a cut: only its sign decides the limit.
        const auto first
            = std::find_if(text.cbegin(), text.cend(), [](QChar c) { return !c.isSpace(); });
        if (first != text.cend() && *first == QLatin1Char('-'))
            return { -kBandGainLimitDb, -kGainLimitPosition };
        return { kBandGainLimitDb, kGainLimitPosition };
    }
    const double g
        = heldGain(numberOrZero(QString(text).remove(QStringLiteral("dB"), Qt::CaseInsensitive)));
    return { g, truncSaturated(g * 2.0) };
}

int readFrequencyText(const QString& text)
{
    const QString rest = QString(text).remove(QStringLiteral("Hz"), Qt::CaseInsensitive);
    if (rest.size() > kMaxFrequencyTextLength)
        return kBandMaxHz;
    bool ok = false;
    const int n = rest.toInt(&ok, 10);
    // No number: the field's default, as every other source of it gives.
    return ok ? heldFrequency(n) : EQ_data {}.center_frequency;
}

QEntry readQText(const QString& text)
{
    if (text.size() > kMaxQTextLength)
        return { kBandMaxQ, kMaxQCode };
    // Saturated: a huge number ends above the limit, a hugely negative one at or below 0.
    const int32_t t = truncSaturated(numberOrZero(text) * 10000.0);
    const double typed = t / 10000.0;
    const double q = heldQ(typed);
    if (q == typed)
        return { q, t };
    return { q, q == kBandMaxQ ? kMaxQCode : kDefaultQCode };
}

uint32_t bandCommand(int band, BandField field, bool right)
{
    return command::kBandBase + (static_cast<uint32_t>(band) << 8) + static_cast<uint32_t>(field)
        + (right ? 5u : 0u);
}

int32_t BandCodes::of(BandField field) const
{
    switch (field) {
    case BandField::Type:
        return type;
    case BandField::Frequency:
        return frequency;
    case BandField::Gain:
        return gain;
    case BandField::Q:
        return q;
    case BandField::Status:
        return status;
    }
    return 0;
}

BandCodes bandCodes(const EQ_data& record, bool gainTenths)
{
    return { bandTypeCode(record.type), record.center_frequency,
        bandGainCode(record.gain, gainTenths), bandQCode(record.Q), statusCode(record.status) };
}

QList<BandField> bandFieldOrder(BandEdit edit, int band)
{
    switch (edit) {
    case BandEdit::Type:
    case BandEdit::SwitchOn:
        return { BandField::Type, BandField::Frequency, BandField::Gain, BandField::Q,
            BandField::Status };
    case BandEdit::SwitchOff:
        return { BandField::Status };
    default:
        break;
    }
    for (const ValueEditOrder& o : kValueEditOrders) {
        if (o.edit != edit)
            continue;
        if (o.valueFirstBand == kEveryBand || o.valueFirstBand == band)
            return { o.value, BandField::Type, BandField::Status };
        return { BandField::Type, o.value, BandField::Status };
    }
    return {};
}

FrameList bandEditFrames(BandEdit edit, int band, EditRoute route, const BandCodes& codes)
{
    const QList<BandField> order = bandFieldOrder(edit, band);
    FrameList out;
    for (bool right : { false, true }) {
        if ((right && route == EditRoute::Left) || (!right && route == EditRoute::Right))
            continue;
        for (BandField field : order)
            out << makeFrame(bandCommand(band, field, right), codes.of(field));
    }
    return out;
}

void appendPreampFrames(FrameList& out, bool right, const EQ_data& record, bool withGain)
{
    if (withGain)
        out << makeFrame(right ? command::kPreampRightGain : command::kPreampLeftGain,
            preampGainCode(record.gain));
    out << makeFrame(right ? command::kPreampRightStatus : command::kPreampLeftStatus,
        statusCode(record.status));
}

FrameList preampEditFrames(PreampEdit edit, EditRoute route, const EQ_data& left,
    const EQ_data& right, int32_t deviceEqStatus)
{
    FrameList out;
    const auto pair = [&out](bool rightPair, const EQ_data& record, bool withGain) {
        appendPreampFrames(out, rightPair, record, withGain);
    };
    const EQ_data& rightRecord = route == EditRoute::Linked ? left : right;

    if (edit == PreampEdit::SwitchOn || edit == PreampEdit::SwitchOff) {
        // Only the edited channel's pair (both in linked mode); off sends the status alone.
        const bool on = edit == PreampEdit::SwitchOn;
        if (route != EditRoute::Right)
            pair(false, left, on);
        if (route != EditRoute::Left)
            pair(true, rightRecord, on);
        return out;
    }

    const bool mirrored = preampsLinkedOnDevice(deviceEqStatus);
    switch (route) {
    case EditRoute::Linked:
        pair(false, left, true);
        pair(true, left, true);
        break;
    case EditRoute::Left:
        // A typed left preamp reaches the device only while that preamp is on.
        if (edit == PreampEdit::Text && left.status != 1)
            break;
        pair(false, left, true);
        if (mirrored)
            pair(true, right, true);
        break;
    case EditRoute::Right:
        if (mirrored)
            pair(false, left, true);
        pair(true, right, true);
        break;
    }
    return out;
}
