#pragma once

// State of the import roads and the source and target curve pickers.

#include <QString>

// True while a source (target) curve is chosen in its picker.
extern bool fre_show_sign;
extern bool tar_show_sign;

// The filter text file chosen for "Import Filters"; read again when a new
// preset has been made for it.
extern QString Parameter_Path;
