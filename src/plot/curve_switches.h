#pragma once

#include <QList>
#include <QString>

#include <array>

// The six check boxes under the chart and what clicking each one does to the
// curves. The main window owns the flags and the settings fields; these
// tables tell it which flag, which field and which steps belong to a box.
enum class CurveSwitch { Target, Source, Each, Combined, Filtered, Compensated };

struct CurveSwitchRow
{
    CurveSwitch id;
    const char* checkBox; // object name of the box
    const char* settingsKey; // field of the settings record
    int firstSeries; // chart series the box shows or hides
    int lastSeries;
};

// In the order the settings keys are stored.
extern const std::array<CurveSwitchRow, 6> curveSwitchRows;

const CurveSwitchRow& curveSwitchRow(CurveSwitch id);

// What a click leads to, in order, once the flag and the settings field hold
// the new state.
struct PlotStep
{
    enum Kind {
        StartThread, // recompute: combined, filtered, deferred band curve
        DrawSource, // fre_csv_draw(fre_list)
        DrawTarget, // tar_csv_draw(tar_list)
        DrawEach, // draw_value_each()
        ClearEach, // clear_value_each()
        Clear, // empty one series
    };
    Kind kind;
    int series = -1; // for Clear

    bool operator==(const PlotStep&) const = default;
};

// Steps of a click on a box with its new checked state. sourceShown and
// targetShown are the source and target flags (read by "Compensated" only).
QList<PlotStep> curveSwitchSteps(CurveSwitch id, bool checked, bool sourceShown, bool targetShown);

// Order in which the stored settings are applied after a preset load: each
// box is clicked with its stored value.
inline constexpr std::array<CurveSwitch, 6> curveSwitchRestoreOrder = {
    CurveSwitch::Target,
    CurveSwitch::Each,
    CurveSwitch::Filtered,
    CurveSwitch::Compensated,
    CurveSwitch::Source,
    CurveSwitch::Combined,
};

// Text of the Raw/Compensated box; language 1 is English, anything else Chinese.
QString compensatedBoxText(bool checked, int language);
