#pragma once

// Selection and slot-list state owned by the preset workspace, and the
// texts its buttons share. GUI thread only.

#include <QString>

#include <cstdint>

// Selected preset: 0 to 99 a local preset, 100 + slot a device preset.
extern int32_t selectedRadioIndex;
// The preset selected before the last switch.
extern int32_t preselectedRadioIndex;

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
