#include "editor/editor_rules.h"

#include "device/device_tables.h"

bool holdsDefaultBandValues(const EQ_data& band)
{
    const EQ_data defaults;
    return band.type == defaults.type && band.center_frequency == defaults.center_frequency
        && band.gain == defaults.gain && band.Q == defaults.Q;
}

RowLayout scanBandRows(EQ_data* const* set)
{
    RowLayout layout;
    int last = 0;
    for (int b = 1; b <= 11; ++b) {
        if (!set[b])
            continue;
        const bool defaults = holdsDefaultBandValues(*set[b]);
        layout.captionEnabled[b] = set[b]->status != 1 && defaults;
        if (b >= 3 && b <= 10 && !defaults)
            last = b;
    }
    layout.shownRows = last < 2 ? 2 : last;
    return layout;
}

uint32_t maskWithoutSlot(uint32_t mask, int slot)
{
    const uint32_t removed = static_cast<uint32_t>(slot);
    uint32_t out = 0;
    for (uint32_t j = 0; j <= 8; ++j) {
        const uint32_t from = j < removed ? j : j + 1;
        out |= ((mask >> from) & 1u) << j;
    }
    return out;
}

QString localPresetKey(int index) { return QStringLiteral("local:") + QString::number(index); }

QString devicePresetKey(int slot) { return QStringLiteral("device:") + QString::number(slot); }

QString keyAfterLocalRemoval(const QString& key, int removed)
{
    const QLatin1String prefix("local:");
    if (!key.startsWith(prefix))
        return key;
    bool ok = false;
    const int index = key.mid(prefix.size()).toInt(&ok);
    if (!ok || index < removed)
        return key;
    if (index == removed)
        return QStringLiteral("deleted:") + QString::number(removed);
    return localPresetKey(index - 1);
}

bool isLinkedModeText(const QString& text) { return text == QLatin1String("L+R"); }

bool deviceHasLeftRightSets(const ChannelModeState& s)
{
    return eqStateView(s.deviceEqStatus).leftRightSets() || s.gainTenths;
}

SplitStep splitRoadStep(const ChannelModeState& s)
{
    if (!(deviceHasLeftRightSets(s) || s.hidStatus == 0))
        return SplitStep::None;
    return s.currentKey != s.oldKey ? SplitStep::SyncNames : SplitStep::CopyLeft;
}

bool sendsModeMask(const ChannelModeState& s)
{
    return s.hidStatus == 1 && s.selectionKind == QLatin1String("yyyy");
}

bool isSlotSwitch(const ChannelModeState& s) { return s.temFlag != s.uiFlag && s.hidStatus != 0; }

bool asksToDiscardRight(const ChannelModeState& s)
{
    const bool rightSetInUse = deviceHasLeftRightSets(s)
        || (s.oneBiaozhi != 0 && s.hidStatus == 0 && eqStateView(s.deviceEqStatus).eqOff);
    return rightSetInUse && s.currentKey == s.oldKey;
}

bool storesLocalMode(const ChannelModeState& s)
{
    return s.selectionKind == QLatin1String("xxxx") || s.hidStatus == 0;
}

int defaultLocalMode(const ChannelModeState& s, int lastComboIndex)
{
    const EqStateView view = eqStateView(s.deviceEqStatus);
    if (view.oneChannel || (s.hidStatus == 1 && view.eqOff))
        return 0;
    return lastComboIndex;
}

bool keepsStoredSplitMode(const ChannelModeState& s)
{
    return s.hidStatus == 0 || deviceHasLeftRightSets(s);
}
