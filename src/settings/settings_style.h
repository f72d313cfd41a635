#pragma once

#include "app/palette.h"

// Style sheets of the settings window and the update window, kept in one
// place so the windows and their tests use the very same text.
namespace SettingsSheet {

inline constexpr char window[]
    = "QWidget#SystemSetting, QWidget#gridLayoutWidget{background-color: " QV_BLACK ";}\n"
      "QLabel{color: " QV_TEXT ";font-size: 14px;background-color: " QV_BLACK ";}\n"
      "QCheckBox, QRadioButton{color: " QV_TEXT ";font-size: 14px;"
      "background-color: " QV_BLACK ";}\n"
      "QCheckBox::indicator{width: 16px;height: 16px;}\n"
      "QCheckBox::indicator:checked{background-color: rgb(0, 161, 214);"
      "image: url(:ThirdPartyResources/images/OK.png);}\n"
      "QCheckBox::indicator:unchecked{background-color: " QV_TEXT ";}\n"
      "QMessageBox{background-color: " QV_BLACK ";border: 2px solid " QV_DARK_GREY ";}\n"
      "QMessageBox QLabel{color: " QV_TEXT ";}\n"
      "QMessageBox QPushButton{background-color: " QV_DARK_GREY ";color: " QV_TEXT ";}";

// The two rules between the columns and above the button row.
inline constexpr char rule[] = "background-color: " QV_DARK_GREY ";";

// The settings window's buttons and the update window's "Update" button
// differ in their background only.
#define QV_SETTINGS_BUTTON_SHEET(background)                                                       \
    "QPushButton{background-color: " background ";color: " QV_BUTTON_TEXT ";border: none;"         \
    "border-radius: 3px;font-size: 14px;}\n"                                                       \
    "QPushButton:hover{border: 2px solid grey;}"

inline constexpr char pushButton[] = QV_SETTINGS_BUTTON_SHEET(QV_BUTTON_GREY);

inline constexpr char languageCombo[]
    = "QComboBox{border: 2px solid " QV_LIGHT_GREY ";border-radius: 5px;"
      "color: " QV_TEXT ";background-color: " QV_BLACK ";padding-left: 6px;}\n"
      "QComboBox::drop-down{border: none;}\n"
      "QComboBox::down-arrow{image: url(:ThirdPartyResources/images/down_arrow.png);width: 10px;}\n"
      "QComboBox QAbstractItemView{outline: 0px;color: " QV_TEXT ";"
      "background-color: " QV_BLACK ";selection-background-color: " QV_SELECTION ";}\n"
      "QComboBox QAbstractItemView::item{height: 25px;}\n"
      "QComboBox QAbstractItemView::item:hover{background-color: " QV_SELECTION ";}\n"
      "QComboBox QAbstractItemView::item:selected{background-color: " QV_SELECTION ";}";

// Appended to the combo's sheet whenever the language may not be changed.
inline constexpr char languageComboDisabled[]
    = "QComboBox:disabled{border: 2px solid  rgb(128,128,128);color: #808080;}";

inline constexpr char updateWindow[]
    = "QWidget#CHECKUPDATA{background-color: rgb(31, 31, 31);}\n"
      "QLabel{color: " QV_TEXT ";font-size: 14px;background-color: transparent;}";

inline constexpr char updateHeading[] = "font-size: 18px;";

inline constexpr char updateStatusLine[] = "color: rgb(153, 153, 148);";

inline constexpr char updateButton[] = QV_SETTINGS_BUTTON_SHEET(QV_MID_GREY);

#undef QV_SETTINGS_BUTTON_SHEET

// "Update" while there is nothing to update.
inline constexpr char updateButtonDisabled[]
    = " QPushButton{   background-color: " QV_MID_GREY ";   color: rgb(61,61,61);   border:none;"
      "   border-radius: 3px;     font-size: 14px;} ";

inline constexpr char progressBar[]
    = "QProgressBar{background-color: #2e2e2e;border: none;border-radius: 5px;}\n"
      "QProgressBar::chunk{background-color: #009641;border-radius: 5px;}";

} // namespace SettingsSheet
