#pragma once

#include "widgets/shared_style.h"

// Style sheets of the window chrome: the maximise/restore button in its four
// looks and the tray menu.
namespace ChromeSheet {

#define QV_CHROME_IMAGE(file) "QPushButton{image: url(:ThirdPartyResources/images/" file ");}"

inline constexpr char maximisePlain[] = QV_CHROME_IMAGE("big.png");
inline constexpr char restorePlain[] = QV_CHROME_IMAGE("small.png");
inline constexpr char maximiseHover[] = QV_CHROME_IMAGE("big.png") QV_HOVER_FRAME("QPushButton");
inline constexpr char restoreHover[] = QV_CHROME_IMAGE("small.png") QV_HOVER_FRAME("QPushButton");

#undef QV_CHROME_IMAGE

inline constexpr char trayMenu[]
    = QV_MENU_SHEET("width: 40px;high: 50px;padding: 4px 24px 4px 24px;");

} // namespace ChromeSheet
