#include "device/device_tables.h"

#include "app/window_texts.h"

#include <array>

DeviceVersion decodeVersion(int32_t word)
{
    const QString hex = QString::number(static_cast<uint32_t>(word), 16);
    for (const QChar c : hex) {
        if (c >= QLatin1Char('a') && c <= QLatin1Char('f'))
            return { QStringLiteral("0.00"), std::nullopt };
    }
    // At most eight decimal digits: always fits.
    const double value = hex.toLongLong() / 100.0;
    return { QString::number(value, 'f', 2), value };
}

DeviceModel identifyModel(uint32_t code)
{
    using A = Announcement;
    using F = FactoryRule;
    switch (code) {
    case 0x51562340:
        return { true, kVantor3, F::ReadOnly, false, A::None };
    case 0x51562490:
        return { true, QStringLiteral("Ostra 2"), F::Editable, true, A::UserOnly, true, false };
    case 0x51563350:
        return { true, QStringLiteral("Vantor 9"), F::Above112, false,
            A::UserThenFactoryUnlessEditable };
    case 0x51565360:
        return { true, QStringLiteral("Orvanth"), F::Above028, false,
            A::UserThenFactoryUnlessEditable };
    case 0x51565460:
        return { true, QStringLiteral("Mirel 1"), F::Editable, true, A::UserOnly, false, true };
    case 0x51567370:
        return { true, QStringLiteral("Mirel 9"), F::Editable, false, A::UserOnly };
    case 0x51567420:
        return { true, QStringLiteral("Mirel 5"), F::From149, false,
            A::UserThenFactoryUnlessEditable };
    case 0x6E217330:
        return { true, QStringLiteral("Vantor 5"), F::ReadOnly, false, A::UserThenFactory };
    default:
        return { false, QStringLiteral("Device"), F::Unchanged, false, A::None };
    }
}

bool factoryPresetsEditable(FactoryRule rule, double firmware, bool current)
{
    switch (rule) {
    case FactoryRule::Editable:
        return true;
    case FactoryRule::ReadOnly:
        return false;
    case FactoryRule::Above112:
        return firmware > 1.12;
    case FactoryRule::Above028:
        return firmware > 0.28;
    case FactoryRule::From149:
        return firmware == 0.0 ? current : firmware >= 1.49;
    case FactoryRule::Unchanged:
        break;
    }
    return current;
}

namespace {
struct RateRow
{
    int32_t hz;
    const char* label;
    bool dsd;
    bool usable;
};
constexpr std::array<RateRow, 14> kRates { {
    { 44100, "44.1kHz", false, true },
    { 48000, "48kHz", false, true },
    { 88200, "88.2kHz", false, true },
    { 96000, "96kHz", false, true },
    { 176400, "176.4kHz", false, true },
    { 192000, "192kHz", false, true },
    { 352800, "352.8kHz", false, false },
    { 384000, "384kHz", false, false },
    { 705600, "705.6kHz", false, false },
    { 768000, "768kHz", false, false },
    { 2822400, "2.82MHz", true, false },
    { 5644800, "5.64MHz", true, false },
    { 11289600, "11.28MHz", true, false },
    { 22579200, "22.57MHz", true, false },
} };
} // namespace

StreamFormat streamFormat(int32_t hz)
{
    for (const RateRow& row : kRates) {
        if (row.hz == hz)
            return { QString::fromLatin1(row.label), row.dsd, row.usable };
    }
    return { QStringLiteral("Sample"), hz >= 768001, hz <= 192000 };
}

bool isEqUsableRateLabel(const QString& sampleRate)
{
    for (const RateRow& row : kRates) {
        if (row.usable && sampleRate == QLatin1String(row.label))
            return true;
    }
    return false;
}

bool isBlockedStream(const QString& audioCode, const QString& sampleRate)
{
    return audioCode == QLatin1String("DSD")
        || (!isEqUsableRateLabel(sampleRate) && !isSamplePlaceholder(sampleRate));
}

EqStateView eqStateView(int32_t code)
{
    EqStateView view;
    switch (code & ~0x40) {
    case 129:
        view.kind = EqStateKind::LeftRightOn;
        view.on = true;
        break;
    case 128:
        view.kind = EqStateKind::LeftRightOff;
        view.on = false;
        break;
    default:
        view.kind = EqStateKind::OneSet;
        view.on = code != 0;
        break;
    }
    view.layout = view.leftRightSets() ? QStringLiteral("ABCD") : QStringLiteral("QAZWS");
    view.gainTenths = code >= 192;
    view.eqOff = code == 0;
    view.oneChannel = code == 1;
    return view;
}
