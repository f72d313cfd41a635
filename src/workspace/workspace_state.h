#pragma once

// Selection state owned by the preset workspace.

#include <cstdint>

// Selected preset: 0 to 99 a local preset, 100 + slot a device preset.
extern int32_t selectedRadioIndex;

// Points EQ and EQ_R at the records of local preset 0, so that edits change
// that preset in place. With no local preset loaded (config_count 0) the
// records reached are reset: preamp off at 0 dB, bands cleared. A table not
// made yet leaves the sets where they are.
void EQ_value_update();
