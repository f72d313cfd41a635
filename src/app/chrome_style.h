#pragma once

#include "app/palette.h"

// Style sheets of the window chrome: the maximise/restore button in its four
// looks and the tray menu.
namespace ChromeSheet {

inline constexpr char maximiseHover[] =
    "QPushButton{image: url(:ThirdPartyResources/images/big.png);}"
    "QPushButton:hover{border: 2px solid gray;border-radius: 5px;}";
inline constexpr char restoreHover[] =
    "QPushButton{image: url(:ThirdPartyResources/images/small.png);}"
    "QPushButton:hover{border: 2px solid gray;border-radius: 5px;}";
inline constexpr char maximisePlain[] = "QPushButton{image: url(:ThirdPartyResources/images/big.png);}";
inline constexpr char restorePlain[] = "QPushButton{image: url(:ThirdPartyResources/images/small.png);}";

inline constexpr char trayMenu[]
    = "QMenu {background-color: " QV_BLACK ";color: " QV_TEXT_TIGHT
      ";border: 1px solid " QV_DARK_GREY ";"
      "border-radius: 3px; }"
      "QMenu::item {background-color: transparent;border-bottom: 1px solid " QV_DARK_GREY
      ";width: 40px;"
      "high: 50px;padding: 4px 24px 4px 24px;margin:0px 0px; }"
      "QMenu::item:selected {background-color: " QV_DARK_GREY_TIGHT "; }";

}  // namespace ChromeSheet
