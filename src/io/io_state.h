#pragma once

// State of the source and target curve pickers.

// True while a source (target) curve is chosen in its picker.
extern bool fre_show_sign;
extern bool tar_show_sign;
