#pragma once

// Style sheets that several files of the preset panel share.

#include "app/palette.h"

namespace WorkspaceSheet {

// The field in which a new preset's name is typed; the field of the device's
// import road spells its colour rule its own way.
#define QV_NAME_EDIT_SHEET(colour)                                                                 \
    "QLineEdit {" colour " width: 160px; height: 40px; background-color: white; border: 2px "      \
    "solid " QV_DARK_GREY "; }"

inline constexpr char nameEdit[] = QV_NAME_EDIT_SHEET("color: gray;");
inline constexpr char importNameEdit[] = QV_NAME_EDIT_SHEET("color:gray;");

#undef QV_NAME_EDIT_SHEET

} // namespace WorkspaceSheet
