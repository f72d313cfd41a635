#include "workspace/preset_names.h"

#include "store/presets.h"
#include "workspace/workspace_state.h"

namespace {
constexpr int kSlotLabelWholeBelow = 186;
const QString kEllipsis = QStringLiteral("\u2026");
} // namespace

QString radioObjectName(int radioIndex)
{
    return QStringLiteral("RadioButton_") + QString::number(radioIndex);
}

int radioIndexOf(const QString& objectName)
{
    bool ok = false;
    const int index = objectName.section(QLatin1Char('_'), -1).toInt(&ok, 10);
    return ok ? index : 0;
}

QString doubledAmpersands(const QString& text)
{
    QString out = text;
    return out.replace(QLatin1Char('&'), QLatin1String("&&"));
}

QString singleAmpersands(const QString& text)
{
    QString out = text;
    return out.replace(QLatin1String("&&"), QLatin1String("&"));
}

QString distinctName(QString candidate, const QStringList& names)
{
    for (const QString& name : names) {
        if (candidate != name)
            continue;
        candidate += QLatin1String("(1)");
        for (const QString& other : names) {
            if (candidate == other)
                candidate += QLatin1String("(1)");
        }
    }
    return candidate;
}

QString numberedSlotLabel(int number, const QString& name, const TextWidth& width)
{
    const QString label = EQ_str + QString::number(number) + QLatin1Char(':') + name;
    if (width(label) < kSlotLabelWholeBelow)
        return label;
    for (qsizetype n = label.size() - 1; n > 0; --n) {
        if (label.at(n - 1).isHighSurrogate())
            continue; // never split a character
        const QString cut = label.left(n) + kEllipsis;
        if (width(cut) <= kSlotLabelElideWidth)
            return cut;
    }
    return kEllipsis;
}

QString numberedSlotText(int number, const QString& name, const TextWidth& width)
{
    return doubledAmpersands(numberedSlotLabel(number, name, width));
}

QString presetNamePattern()
{
    return QStringLiteral(
        "[a-zA-Z0-9`~!@#$%^&\uFF01\u2014\u2014\uFFE5*()-_=+\\[\\]{}|;:'\",.<>?/]*");
}

bool isThreeSlotModel(const QString& model)
{
    return model == QLatin1String("Ostra 2") || model == QLatin1String("Mirel 1");
}

SlotLimit slotLimit(
    bool numbered, int userSlots, const QString& tag, const QString& model, bool factoryListed)
{
    const bool leftRight = tag == QLatin1String("ABCD");
    const bool oneSet = tag == QLatin1String("QAZWS");
    // The rows as the device models count them, "at or above" so that a device
    // that announced more never gets one more; then the table's end and the
    // factory presets, which no user slot may overwrite.
    const int freeSlots = factoryListed ? 5 : kDevicePresetSlots;
    const bool reached = (numbered && userSlots >= 3 && isThreeSlotModel(model))
        || (!numbered && userSlots >= 5 && leftRight) || (numbered && userSlots >= 10 && leftRight)
        || (userSlots >= 5 && oneSet) || userSlots >= freeSlots;
    return { reached, reached && isThreeSlotModel(model) };
}
