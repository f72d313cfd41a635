#pragma once

// Parts of style sheets that widgets of several subsystems share, built from
// the palette. Macros where a sheet fills them in, so that every sheet stays
// one literal made by the compiler.

#include "app/palette.h"

// The grey frame a flat button shows under the pointer.
#define QV_HOVER_FRAME(widget) widget ":hover{border: 2px solid gray;border-radius: 5px;}"

// A context or drop-down menu: black, framed and ruled in dark grey. Each menu
// sizes its items itself: `item` holds their width, height and padding rules.
#define QV_MENU_SHEET(item)                                                                        \
    "QMenu {background-color: " QV_BLACK ";color: " QV_TEXT_TIGHT                                  \
    ";border: 1px solid " QV_DARK_GREY ";border-radius: 3px; }"                                    \
    "QMenu::item {background-color: transparent;border-bottom: 1px solid " QV_DARK_GREY ";" item   \
    "margin:0px 0px; }"                                                                            \
    "QMenu::item:selected {background-color: " QV_DARK_GREY_TIGHT "; }"

namespace SharedSheet {

// The OK and Cancel buttons of the curve-name and preset-name dialogs.
inline constexpr char nameDialogButton[]
    = "QPushButton{ background-color: " QV_MID_GREY ";color: " QV_BUTTON_TEXT_TIGHT ";border:none;"
      "border-radius: 3px; font-size: 14px;}  QPushButton:hover{border: 2px solid gray; "
      "border-radius: 5px;}";

} // namespace SharedSheet
