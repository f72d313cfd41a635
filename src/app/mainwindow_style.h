#pragma once

#include <QString>

#include "app/palette.h"
#include "widgets/shared_style.h"

// Style sheets of the main window form, kept in one place so that the form,
// the language switch and the tests use the very same text.
namespace FormSheet {

inline constexpr char mainWindow[]
    = "QWidget{background-color: rgb(46, 46, 46);}\n"
      "QStatusBar{background-color: " QV_BLACK ";}\n"
      "QStatusBar::separator{background: red;}\n"
      "QLabel{background-color: " QV_BLACK ";color: " QV_TEXT ";}\n"
      "QMessageBox{background-color: " QV_BLACK ";color: " QV_TEXT ";"
      "border: 2px solid " QV_DARK_GREY ";font-size: 14px;}\n"
      "QPushButton{color: " QV_TEXT_TIGHT ";}";

inline constexpr char logo[] = "image: url(:ThirdPartyResources/images/quorvel-090.png);\n"
                               "background-color: " QV_BLACK ";";

// The workspace panel: only its bottom line shows.
inline constexpr char workspace[]
    = "QWidget{background-color: " QV_BLACK ";border: 0px solid gray;}\n"
      "#widget{background-color: " QV_BLACK ";border: 1px solid " QV_DARK_GREY_TIGHT ";"
      "border-right-color: black;border-left-color: black;border-top-color: black;}";

inline constexpr char splitter[]
    = "QSplitter::handle{border: 1px solid " QV_DARK_GREY_TIGHT ";background-color: " QV_BLACK_TIGHT
      ";"
      "border-left-color: black;border-right-color: black;}\n"
      "QScrollArea{background-color: " QV_BLACK ";border: 2px solid " QV_DARK_GREY_TIGHT ";"
      "border-right-color: black;border-left-color: black;border-top-color: black;}";

inline constexpr char plotPanel[] = "QGroupBox{border: 0px solid grey;}";

// widget_2, widget_3 and widget_4
inline constexpr char blackPanel[] = "background-color: " QV_BLACK ";";

inline constexpr char toolBarLabel[] = "color: " QV_WHITE ";";

#define QV_IMAGE_BUTTON_SHEET(file)                                                                \
    "QPushButton{border: none;image: url(:ThirdPartyResources/images/" file                        \
    ");}\n" QV_HOVER_FRAME("QPushButton")

inline constexpr char settingsButton[] = QV_IMAGE_BUTTON_SHEET("setting.png");
inline constexpr char saveButton[] = QV_IMAGE_BUTTON_SHEET("ws_save.png");
inline constexpr char minimiseButton[] = QV_IMAGE_BUTTON_SHEET("reduce.png");
inline constexpr char maximiseButton[] = QV_IMAGE_BUTTON_SHEET("big.png");
inline constexpr char closeButton[] = QV_IMAGE_BUTTON_SHEET("close.png");
inline constexpr char addButton[] = QV_IMAGE_BUTTON_SHEET("add2.png");

#undef QV_IMAGE_BUTTON_SHEET

inline constexpr char removeButton[]
    = "QPushButton{border: none;image: url(:ThirdPartyResources/images/close1.png);}\n"
      "QPushButton:hover{border: 2px solid " QV_DARK_GREY_TIGHT ";border-radius: 5px;}";

// Replaced by the menu setup right after the form is built.
inline constexpr char toolButton[]
    = "QToolButton{color: " QV_TEXT ";border: none;}\n" QV_HOVER_FRAME("QToolButton");

// Captions, "Gain:" / "Q factor:" labels, the preamp text and the texts of row 4.
inline constexpr char caption[] = "color: " QV_TEXT ";";

// A band row's gain label and gain text: usable (peaking, shelves) or greyed
// (low-pass, high-pass); set by the filter-type choice.
inline constexpr char liveGain[] = "color:" QV_TEXT_TIGHT ";";
inline constexpr char greyedGain[] = "color:" QV_DARK_GREY_TIGHT ";";

// The preamp's and the bands' enable boxes: usable, locked (a stream or a
// factory preset the editor may not change), and while the device offers no
// equaliser.
#define QV_ENABLE_BOX_SHEET(unchecked, checked)                                                    \
    " QCheckBox::indicator {  width: 22px;   height: 22px;padding-top: 2px; padding-bottom: "      \
    "2px;} "                                                                                       \
    "QCheckBox::indicator:unchecked {    image: url(:ThirdPartyResources/images/" unchecked        \
    ");  }  "                                                                                      \
    "QCheckBox::indicator:checked {    image: url(:ThirdPartyResources/images/" checked ");  }"

inline constexpr char enableBox[] = QV_ENABLE_BOX_SHEET("1-unchecked.png", "1-checked.png");
inline constexpr char lockedEnableBox[] = QV_ENABLE_BOX_SHEET("2-unchecked.png", "2-checked.png");
inline constexpr char noEqEnableBox[] = QV_ENABLE_BOX_SHEET("unchecked_56.png", "1-checked.png");

#undef QV_ENABLE_BOX_SHEET

// The window's question boxes (import filters, the refusal to import, the
// discard of the right channel); the Chinese discard box spells it its own way.
inline constexpr char questionBox[]
    = "background-color: " QV_DARK_GREY "; outline: none;color: " QV_TEXT ";font-family: 微软雅黑;";
inline constexpr char discardBoxChinese[]
    = "background-color: " QV_DARK_GREY "; outline:none;color: " QV_TEXT ";font-family: 微软雅黑;";

// Curve switches; replaced by the menu setup right after the form is built.
inline constexpr char targetSwitch[] = "QCheckBox{color: " QV_TEXT ";}";
inline constexpr char sourceSwitch[]
    = "QCheckBox{color: " QV_SOURCE_CURVE_TIGHT ";}\n"
      "QCheckBox::indicator{width: 100px;height: 30px;}\n"
      "QCheckBox::indicator:unchecked{image: "
      "url(:ThirdPartyResources/images/ic-checkbox-close_2.png);}\n"
      "QCheckBox::indicator:checked{image: "
      "url(:ThirdPartyResources/images/ic-checkbox-open_1-1.png);}";
inline constexpr char eachSwitch[] = "QCheckBox{color: rgb(0, 221, 0);}";
inline constexpr char combinedSwitch[] = "QCheckBox{color: " QV_COMBINED_CURVE ";}";
inline constexpr char filteredSwitch[] = "QCheckBox{color: " QV_FILTERED_CURVE ";}";
inline constexpr char rawSwitch[] = "QCheckBox{color: " QV_TEXT ";}";

// Thin translucent scroll bars; replaced by the menu setup.
#define QV_SCROLL_BAR_SHEET(bar, thickness, length)                                                \
    "QScrollBar:" bar "{" thickness ": 8px;background: rgba(255,255,255,0%);margin: 0px;}\n"       \
    "QScrollBar::handle:" bar "{" thickness ": 8px;background: rgba(255,255,255,40%);"             \
    "border-radius: 4px;min-" length ": 40px;}\n"                                                  \
    "QScrollBar::handle:" bar ":hover{background: rgba(255,255,255,60%);}\n"                       \
    "QScrollBar::add-line:" bar ", QScrollBar::sub-line:" bar "{height: 0px;width: 0px;}\n"        \
    "QScrollBar::add-page:" bar ", QScrollBar::sub-page:" bar                                      \
    "{background: rgba(255,255,255,0%);border-radius: 4px;}\n"

// clang-format off
inline constexpr char centralWidget[] =
    QV_SCROLL_BAR_SHEET("vertical", "width", "height")
    QV_SCROLL_BAR_SHEET("horizontal", "height", "width")
    "QScrollArea{background-color: " QV_BLACK ";}";
// clang-format on

#undef QV_SCROLL_BAR_SHEET

// Replaced by the menu setup.
inline constexpr char scrollArea[]
    = "QScrollArea{background-color: " QV_BLACK ";border: 2px solid " QV_DARK_GREY_TIGHT ";}\n"
      "QWidget{border: 0px solid grey;}";

// The editor column: every row box shows only a 2-px bottom line.
inline constexpr char editorColumn[]
    = "QWidget{background-color: " QV_BLACK ";border: 0px solid grey;}\n"
      "QLineEdit{background-color: " QV_BLACK ";border: 1px solid " QV_MID_GREY_TIGHT ";"
      "color: " QV_TEXT_TIGHT ";}\n"
      "QGroupBox{border: 2px solid " QV_DARK_GREY_TIGHT ";"
      "border-right-color: black;border-left-color: black;border-top-color: black;}";

inline constexpr char rowLabel[] = "QLabel{color: " QV_TEXT ";border-color: " QV_WHITE ";"
                                   "background-color: " QV_DARK_GREY ";}";

// The last row box carries its own copy of the row-box rule.
inline constexpr char lastRowBox[]
    = "QGroupBox{border: 2px solid " QV_DARK_GREY_TIGHT ";"
      "border-right-color: black;border-left-color: black;border-top-color: black;"
      "border-bottom-color: 0px solid " QV_DARK_GREY_TIGHT ";}";

inline constexpr char addBox[]
    = "QGroupBox{border: 0px solid " QV_DARK_GREY_TIGHT ";"
      "border-right-color: black;border-left-color: black;border-top-color: black;}";

// Type and frequency-label combo boxes of the band rows. The focus frame
// follows the dynamic property "hasFocus" that the window's event filter sets.
inline constexpr char rowComboBox[]
    = "QComboBox{border: none;color: " QV_TEXT_TIGHT ";}\n"
      "QComboBox[hasFocus=\"false\"]{border: none;color: " QV_TEXT_TIGHT ";}\n"
      "QComboBox[hasFocus=\"true\"]{color: " QV_TEXT_TIGHT ";border: 2px solid " QV_LIGHT_GREY_TIGHT
      ";"
      "border-radius: 5px;}\n"
      "QComboBox::drop-down{border: none;}\n"
      "QComboBox::down-arrow{image: url(:ThirdPartyResources/images/down_arrow.png);width: 10px;}\n"
      "QComboBox QAbstractItemView{outline: 0px solid gray;border: 1px solid " QV_LIGHT_GREY_TIGHT
      ";"
      "color: " QV_TEXT_TIGHT ";background-color: " QV_BLACK_TIGHT ";"
      "selection-background-color: " QV_SELECTION_TIGHT ";}\n"
      "QComboBox QAbstractItemView::item{height: 25px;padding-top: 2px;padding-bottom: 2px;}\n"
      "QComboBox QAbstractItemView::item:hover{color: " QV_TEXT_TIGHT ";"
      "background-color: " QV_SELECTION_TIGHT ";}\n"
      "QComboBox QAbstractItemView::item:selected{color: " QV_TEXT_TIGHT ";"
      "background-color: " QV_SELECTION_TIGHT ";}";

// Sheet of a curve picker (`comboBox` or `comboBox_2`), selected by its
// object name. The placeholder variant greys the text while no curve is chosen.
inline QString curvePicker(const QString& objectName, bool placeholder = false)
{
    const QString id = QLatin1Char('#') + objectName;
    const QString colour = placeholder ? QStringLiteral("#808080") : QStringLiteral("#FFFFFF");
    return id + QStringLiteral("{font-family: \"微软雅黑\";font-size: 14px;color: ") + colour
        + QStringLiteral(";border-radius: 14px;background: #000000;padding-left: 12px;"
                         "padding-right: 12px;border: 2px solid " QV_DARK_GREY_TIGHT ";}\n")
        + id + QStringLiteral(" QAbstractItemView{border: none;}\n") + id
        + QStringLiteral("::drop-down{right: 6px;border: none;}\n") + id
        + QStringLiteral("::down-arrow:on{width: 12px;height: 12px;"
                         "border-image: url(:ThirdPartyResources/images/ArrowUpBold.png);}\n")
        + id
        + QStringLiteral("::down-arrow{width: 12px;height: 12px;"
                         "border-image: url(:ThirdPartyResources/images/ArrowDownBold.png);}");
}

} // namespace FormSheet
