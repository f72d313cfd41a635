#pragma once

// Selection and slot-list state owned by the preset workspace, and the
// texts its buttons share. GUI thread only.

#include <QString>

#include <cstdint>
#include <functional>

// Selected preset: 0 to 99 a local preset, 100 + slot a device preset.
extern int32_t selectedRadioIndex;
// The preset selected before the last switch.
extern int32_t preselectedRadioIndex;

// Saves the edits of preset `index` where the preset lives, as every screen
// does with the preset being left (and the auto-save and the quit with the
// selected one): a local preset (up to 99) into both preset files, a device
// preset (100 + slot) through `saveDeviceSlot`. `saveLocal` stands in for the
// file save where a caller reaches the files through its own host.
void saveEditedPreset(int index, const std::function<void(int)>& saveDeviceSlot);
void saveEditedPreset(int index, const std::function<void(int)>& saveDeviceSlot,
    const std::function<void(int)>& saveLocal);

// User slot buttons in the "User Config" list (left and right count).
extern int32_t device_config_count;
extern int32_t device_config_count_R;

// Prefix of the numbered device button texts ("EQ3:Rock").
extern const QString EQ_str;
// Style sheet of every preset button: no indicator, the checked one on grey.
extern const QString qss;

// Points EQ and EQ_R at local preset 0; with no local preset its records are
// reset to the cleared values first (preamp off at 0 dB).
void EQ_value_update();
