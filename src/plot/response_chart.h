#pragma once

#include "plot/curves.h"

#include <QMetaObject>
#include <QPen>

#include <array>
#include <utility>

class QChart;
class QChartView;
class QCheckBox;
class QComboBox;
class QLabel;
class QLogValueAxis;
class QValueAxis;
class QWidget;
class QXYSeries;

// The response chart: fifteen series found by their index in the chart of
// the view (0 combined filter, 1 source, 2 target, 3 filtered, 4..14 bands
// 1..11). It keeps no series pointers; a ResponseChart is a cheap handle on
// the view and may be made wherever a curve is drawn.
class ResponseChart
{
public:
    static constexpr int kSeriesCount = 15;
    static constexpr int kCombined = 0;
    static constexpr int kSource = 1;
    static constexpr int kTarget = 2;
    static constexpr int kFiltered = 3;
    static constexpr int kFirstBand = 4; // band b is series b + 3

    explicit ResponseChart(QChartView* view)
        : m_view(view)
    {
    }

    // Creates the fifteen series (QObject parent seriesParent), adds them to
    // the chart, sets up the axes, theme, margins and background and installs
    // wheelFilter on the view for the level zoom. All series stay empty.
    static void build(QObject* seriesParent, QChartView* view, QChart* chart, QLogValueAxis* axisX,
        QValueAxis* axisY, QObject* wheelFilter);

    // Lays out widget_3: the channel-mode header row above the chart.
    // Returns the "PEQ Mode:" label it creates (parent labelParent).
    static QLabel* buildContainer(QWidget* labelParent, QWidget* widget_3,
        QComboBox* comboBox_PEQMode, QCheckBox* checkBox_channel, QChartView* view);

    // The pen a series is drawn with (set each time it is drawn).
    static QPen seriesPen(int index);
    // Pen of the spare target drawing routine (csv_draw).
    static QPen csvDrawPen();

    QXYSeries* series(int index) const;

    // Sets the series' pen and replaces its points in one go.
    void setCurve(int index, const CurvePoints& points) const;
    void setCurve(int index, const CurvePoints& points, const QPen& pen) const;
    void clearCurve(int index) const;
    // All eleven band curves (index 0 is band 1), each with its pen.
    void setBandCurves(const std::array<CurvePoints, 11>& curves) const;
    void clearBandCurves() const;

    // Wheel zoom of the level axis; the frequency axis never changes.
    static void zoomLevelAxis(QValueAxis* axisY, int wheelDeltaY);

private:
    QChartView* m_view;
};

// Runs redraw on the GUI thread after the current handler has returned to
// the event loop (the per-band curve after an edit). Each call is served once.
template <typename Redraw> void deferBandRedraw(QObject* context, Redraw&& redraw)
{
    QMetaObject::invokeMethod(context, std::forward<Redraw>(redraw), Qt::QueuedConnection);
}
