#pragma once

// Selection state owned by the preset workspace.

#include <cstdint>

// Selected preset: 0 to 99 a local preset, 100 + slot a device preset.
extern int32_t selectedRadioIndex;
