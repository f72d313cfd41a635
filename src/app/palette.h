#pragma once

// The colours of the program's style sheets, each one named once by its
// components. A sheet is a string literal that Qt receives exactly as written,
// and the sheets spell a colour with blanks after the commas or without; so
// every colour comes in both spellings, built from the components:
//   "color: " QV_TEXT ";"        is  "color: rgb(216, 216, 216);"
//   "color:" QV_TEXT_TIGHT ";"   is  "color:rgb(216,216,216);"
// and the components alone fit QColor: QColor(QV_SOURCE_CURVE_RGB).
// Macros, not constants, so that a sheet stays one literal made by the compiler.

#define QV_BLACK_RGB 0, 0, 0
#define QV_WHITE_RGB 255, 255, 255
#define QV_TEXT_RGB 216, 216, 216 // texts on black
#define QV_DARK_GREY_RGB 56, 56, 56 // frames, separators, hovered and chosen items, greyed texts
#define QV_SELECTION_RGB 66, 66, 66 // chosen and hovered items of drop-down lists
#define QV_BUTTON_GREY_RGB 60, 60, 60 // settings and reminder buttons
#define QV_MID_GREY_RGB 80, 80, 80 // name-dialog and update buttons, the band editor's fields
#define QV_BUTTON_TEXT_RGB 161, 161, 161
#define QV_LIGHT_GREY_RGB 172, 172, 172 // frames of drop-downs

// The chart's curves, shared by the switches that show and hide them (the
// target curve is QV_TEXT; the each-filter switch takes the first band's colour).
#define QV_COMBINED_CURVE_RGB 255, 85, 0
#define QV_SOURCE_CURVE_RGB 255, 0, 0
#define QV_FILTERED_CURVE_RGB 0, 255, 255
#define QV_FIRST_BAND_CURVE_RGB 0, 200, 0

#define QV_SPELL_RGB(comma, colour) QV_SPELL_COMPONENTS(comma, colour)
#define QV_SPELL_COMPONENTS(comma, r, g, b) "rgb(" #r comma #g comma #b ")"

#define QV_BLACK QV_SPELL_RGB(", ", QV_BLACK_RGB)
#define QV_BLACK_TIGHT QV_SPELL_RGB(",", QV_BLACK_RGB)
#define QV_WHITE QV_SPELL_RGB(", ", QV_WHITE_RGB)
#define QV_WHITE_TIGHT QV_SPELL_RGB(",", QV_WHITE_RGB)
#define QV_TEXT QV_SPELL_RGB(", ", QV_TEXT_RGB)
#define QV_TEXT_TIGHT QV_SPELL_RGB(",", QV_TEXT_RGB)
#define QV_DARK_GREY QV_SPELL_RGB(", ", QV_DARK_GREY_RGB)
#define QV_DARK_GREY_TIGHT QV_SPELL_RGB(",", QV_DARK_GREY_RGB)
#define QV_SELECTION QV_SPELL_RGB(", ", QV_SELECTION_RGB)
#define QV_SELECTION_TIGHT QV_SPELL_RGB(",", QV_SELECTION_RGB)
#define QV_BUTTON_GREY QV_SPELL_RGB(", ", QV_BUTTON_GREY_RGB)
#define QV_BUTTON_GREY_TIGHT QV_SPELL_RGB(",", QV_BUTTON_GREY_RGB)
#define QV_MID_GREY QV_SPELL_RGB(", ", QV_MID_GREY_RGB)
#define QV_MID_GREY_TIGHT QV_SPELL_RGB(",", QV_MID_GREY_RGB)
#define QV_BUTTON_TEXT QV_SPELL_RGB(", ", QV_BUTTON_TEXT_RGB)
#define QV_BUTTON_TEXT_TIGHT QV_SPELL_RGB(",", QV_BUTTON_TEXT_RGB)
#define QV_LIGHT_GREY QV_SPELL_RGB(", ", QV_LIGHT_GREY_RGB)
#define QV_LIGHT_GREY_TIGHT QV_SPELL_RGB(",", QV_LIGHT_GREY_RGB)
#define QV_COMBINED_CURVE QV_SPELL_RGB(", ", QV_COMBINED_CURVE_RGB)
#define QV_COMBINED_CURVE_TIGHT QV_SPELL_RGB(",", QV_COMBINED_CURVE_RGB)
#define QV_SOURCE_CURVE QV_SPELL_RGB(", ", QV_SOURCE_CURVE_RGB)
#define QV_SOURCE_CURVE_TIGHT QV_SPELL_RGB(",", QV_SOURCE_CURVE_RGB)
#define QV_FILTERED_CURVE QV_SPELL_RGB(", ", QV_FILTERED_CURVE_RGB)
#define QV_FILTERED_CURVE_TIGHT QV_SPELL_RGB(",", QV_FILTERED_CURVE_RGB)
#define QV_FIRST_BAND_CURVE QV_SPELL_RGB(", ", QV_FIRST_BAND_CURVE_RGB)
#define QV_FIRST_BAND_CURVE_TIGHT QV_SPELL_RGB(",", QV_FIRST_BAND_CURVE_RGB)
