#pragma once

// The editor state's decisions without widgets: which band rows a reload
// shows, the channel-mode mask after a device slot is deleted, and the roads
// of the channel-mode switch. The main window reads its widgets and globals
// into these records and acts on the answers.

#include <QString>

#include <array>
#include <cstdint>

#include "dsp/band.h"

// ---- Band rows after a reload ----

// Type, frequency, gain and Q at the default band values (exact compares);
// the status plays no part.
bool holdsDefaultBandValues(const EQ_data& band);

struct RowLayout
{
    int shownRows = 2; // rows 1 .. shownRows visible, 2 to 10
    // Entry b (1 to 11): the frequency-label box of band b is enabled; entry 0
    // is unused.
    std::array<bool, 12> captionEnabled {};
};

// The rows a reload reveals for a set whose record 11 the caller has just
// cleared: the last band from 3 to 10 whose values differ from the defaults
// (on or off alike), at least 2. A band's caption box is enabled when the
// band is off and holds the default values.
RowLayout scanBandRows(EQ_data* const* set);

// ---- Channel-mode mask ----

// Bit of device slot `slot` in the channel-mode mask; any slot number maps
// onto one of the 32 bits.
constexpr uint32_t slotBit(int slot) { return 1u << (static_cast<uint32_t>(slot) & 31u); }

// The mask after device slot `slot` was deleted: slots above it move down
// one, bits 9 and up are cleared. A slot of 9 or more (or a negative one)
// keeps bits 0 to 8.
uint32_t maskWithoutSlot(uint32_t mask, int slot);

// ---- Preset keys ----

// What current_name and old_name hold: the preset's identity, not its name,
// so two presets that share a name are still told apart.
QString localPresetKey(int index);
QString devicePresetKey(int slot);
// A key after local preset `removed` was deleted and those above it moved
// down one place: theirs follow them, the deleted one's matches no preset.
QString keyAfterLocalRemoval(const QString& key, int removed);

// ---- Channel-mode switch ----

// The globals the switch decides on, read at the moment of the decision.
struct ChannelModeState
{
    int32_t hidStatus = 0;
    int32_t deviceEqStatus = 0;
    bool gainTenths = false; // Gain_flag
    QString currentKey; // current_name
    QString oldKey; // old_name
    QString selectionKind; // biaozhi_name: "xxxx" local, "yyyy" device
    int32_t uiFlag = 0; // ui_flag
    int32_t temFlag = 0; // tem_flag
    int32_t oneBiaozhi = 0; // 0 while the main window is being built
};

// Only the exact text "L+R" takes the linked road.
bool isLinkedModeText(const QString& text);

// The device keeps separate left and right sets (its EQ state code says so,
// or it takes tenths of a dB).
bool deviceHasLeftRightSets(const ChannelModeState& s);

// What the "L/R" road does with the right set.
enum class SplitStep {
    None, // a one-set device while connected: nothing
    SyncNames, // a preset switch: old_name := current_name, nothing copied
    CopyLeft, // the same preset: the right set starts as a copy of the left
};
SplitStep splitRoadStep(const ChannelModeState& s);

// The mask goes to the device: a connected device preset.
bool sendsModeMask(const ChannelModeState& s);

// The "L+R" road is a device slot switch: nothing asked, copied or sent.
bool isSlotSwitch(const ChannelModeState& s);

// The "L+R" road asks before the right set is discarded (the slot switch
// test comes first).
bool asksToDiscardRight(const ChannelModeState& s);

// The end steps store the mode for the local preset index.
bool storesLocalMode(const ChannelModeState& s);

// The mode a local preset without a stored mode is given when it is chosen:
// "L+R" (0) for a one-channel device or a connected device with its EQ off,
// otherwise the index the switch handled last.
int defaultLocalMode(const ChannelModeState& s, int lastComboIndex);

// A stored "L/R" mode stays when there is no device or the device keeps
// separate sets; otherwise the preset falls back to "L+R".
bool keepsStoredSplitMode(const ChannelModeState& s);
