#include "plot/curve_switches.h"

const std::array<CurveSwitchRow, 6> curveSwitchRows = { {
    { CurveSwitch::Target, "checkBox_target", "Target_Mark", 2, 2 },
    { CurveSwitch::Source, "checkBox_frequency", "Source_Mark", 1, 1 },
    { CurveSwitch::Each, "checkBox_each", "Each_Mark", 4, 14 },
    { CurveSwitch::Combined, "checkBox_EQ", "Combined_Mark", 0, 0 },
    { CurveSwitch::Filtered, "checkBox_combined", "Filtered_Mark", 3, 3 },
    { CurveSwitch::Compensated, "checkBox_open", "Raw_Mark", 1, 3 },
} };

const CurveSwitchRow& curveSwitchRow(CurveSwitch id)
{
    return curveSwitchRows[static_cast<std::size_t>(id)];
}

QList<PlotStep> curveSwitchSteps(CurveSwitch id, bool checked, bool sourceShown, bool targetShown)
{
    using S = PlotStep;
    const int series = curveSwitchRow(id).firstSeries;
    switch (id) {
    case CurveSwitch::Target:
        return { { S::StartThread }, checked ? S { S::DrawTarget } : S { S::Clear, series } };
    case CurveSwitch::Source:
        return { { S::StartThread }, checked ? S { S::DrawSource } : S { S::Clear, series } };
    case CurveSwitch::Each:
        return { checked ? S { S::DrawEach } : S { S::ClearEach } };
    case CurveSwitch::Combined:
        // Hiding needs no recomputation; the filtered curve keeps its input.
        return { checked ? S { S::StartThread } : S { S::Clear, series } };
    case CurveSwitch::Filtered:
        if (checked)
            return { { S::StartThread } };
        return { { S::StartThread }, { S::Clear, series } };
    case CurveSwitch::Compensated: {
        QList<PlotStep> steps { { S::StartThread } };
        if (sourceShown)
            steps.append(S { S::DrawSource });
        if (targetShown)
            steps.append(S { S::DrawTarget });
        return steps;
    }
    }
    return {};
}

QString compensatedBoxText(bool checked, int language)
{
    if (language == 1)
        return checked ? QStringLiteral("Compensated") : QStringLiteral("Raw");
    return checked ? QStringLiteral("补偿") : QStringLiteral("原始");
}
