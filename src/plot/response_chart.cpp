#include "plot/response_chart.h"

#include <QBoxLayout>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QGraphicsItem>
#include <QGraphicsObject>
#include <QLabel>
#include <QLegend>
#include <QLogValueAxis>
#include <QSet>
#include <QSplineSeries>
#include <QValueAxis>

#include "app/palette.h"

namespace {

struct SeriesLook
{
    QColor colour;
    int width;
    Qt::PenStyle style;
};

const std::array<SeriesLook, ResponseChart::kSeriesCount> kLooks = { {
    { QColor(QV_COMBINED_CURVE_RGB), 3, Qt::SolidLine }, // combined filter
    { QColor(QV_SOURCE_CURVE_RGB), 2, Qt::SolidLine }, // source
    { QColor(QV_TEXT_RGB), 2, Qt::SolidLine }, // target
    { QColor(QV_FILTERED_CURVE_RGB), 2, Qt::SolidLine }, // filtered
    { QColor(QV_FIRST_BAND_CURVE_RGB), 2, Qt::DashLine }, // bands 1..11
    { QColor(38, 73, 155), 2, Qt::DashLine },
    { QColor(140, 28, 140), 2, Qt::DashLine },
    { QColor(146, 51, 57), 2, Qt::DashLine },
    { QColor(58, 43, 166), 2, Qt::DashLine },
    { QColor(29, 102, 83), 2, Qt::DashLine },
    { QColor(61, 82, 96), 2, Qt::DashLine },
    { QColor(174, 201, 93), 2, Qt::DashLine },
    { QColor(135, 192, 215), 2, Qt::DashLine },
    { QColor(211, 135, 135), 2, Qt::DashLine },
    { QColor(132, 214, 185), 2, Qt::DashLine },
} };

const char* const kSeriesNames[] = { "spline", "spline1", "spline2", "spline3" };

const char* const kModeComboSheet
    = "QComboBox { combobox-popup: 0; background: #000000; color: white; font-family: \"微软雅黑\";"
      " border: 2px solid " QV_DARK_GREY "; border-radius: 10px;"
      " padding: 1px 2px; padding-left: 10px; }"
      "QComboBox::drop-down { subcontrol-origin: padding; subcontrol-position: top right; width: "
      "10px;"
      " border-top-right-radius: 3px; border-bottom-right-radius: 3px; }"
      "QComboBox::down-arrow { image: url(:ThirdPartyResources/images/ArrowDownBold.png);"
      " width: 10px; height: 10px; }"
      "QComboBox::down-arrow:on { image: url(:ThirdPartyResources/images/ArrowUpBold.png);"
      " width: 12px; height: 12px; }"
      "QComboBox QAbstractItemView { background: black; color: white;"
      " selection-background-color: rgb(0, 0, 200); }"
      "QComboBox QAbstractItemView::item { height: 30px; background: black; color: white; }"
      "QComboBox QAbstractItemView::item:hover { background: rgb(98, 0, 255); }"
      "QComboBox QAbstractItemView::item:selected { background: rgb(0, 85, 200); }";

// Every item below root.
QSet<QGraphicsItem*> itemsBelow(QGraphicsItem* root)
{
    QSet<QGraphicsItem*> items;
    QList<QGraphicsItem*> pending = root->childItems();
    while (!pending.isEmpty()) {
        QGraphicsItem* item = pending.takeLast();
        items.insert(item);
        pending += item->childItems();
    }
    return items;
}

// Adds the series and returns the item the chart made to draw it: the one
// new item outside the legend (its own children left aside). Null when
// there is not exactly one.
QGraphicsObject* addSeriesWithItem(QChart* chart, QXYSeries* series)
{
    const QSet<QGraphicsItem*> before = itemsBelow(chart);
    chart->addSeries(series);
    QGraphicsItem* legend = chart->legend();
    QList<QGraphicsItem*> added;
    for (QGraphicsItem* item : itemsBelow(chart)) {
        QGraphicsItem* parent = item->parentItem();
        const bool childOfNew = parent != chart && !before.contains(parent);
        if (!before.contains(item) && !childOfNew && item != legend && !legend->isAncestorOf(item))
            added.append(item);
    }
    return added.size() == 1 ? added.front()->toGraphicsObject() : nullptr;
}

// A curve's item draws into a cached image, drawn again only when the image
// is thrown away: a dial notch then draws only the two or three curves it
// moves, not all fifteen antialiased splines. The chart moves a curve's path
// without touching the image, so every change of the points, of an axis
// range or of the plot area throws it away here. Setting the cache mode
// again does that; update() alone would not: for a curve that reaches past
// the view, the item keeps the old image and shifts it. A curve whose item
// was not found is drawn without a cache. The images live in QPixmapCache,
// whose limit bounds the memory.
void cacheCurveImage(QGraphicsObject* item, QXYSeries* series, QChart* chart, QLogValueAxis* axisX,
    QValueAxis* axisY)
{
    const auto drawAfresh = [item] {
        item->setCacheMode(QGraphicsItem::DeviceCoordinateCache);
        item->update();
    };
    drawAfresh();
    QObject::connect(series, &QXYSeries::pointsReplaced, item, drawAfresh);
    QObject::connect(series, &QXYSeries::pointsRemoved, item, drawAfresh);
    QObject::connect(series, &QXYSeries::pointRemoved, item, drawAfresh);
    QObject::connect(series, &QXYSeries::pointAdded, item, drawAfresh);
    QObject::connect(series, &QXYSeries::pointReplaced, item, drawAfresh);
    QObject::connect(axisX, &QLogValueAxis::rangeChanged, item, drawAfresh);
    QObject::connect(axisY, &QValueAxis::rangeChanged, item, drawAfresh);
    QObject::connect(chart, &QChart::plotAreaChanged, item, drawAfresh);
}

} // namespace

void ResponseChart::build(QObject* seriesParent, QChartView* view, QChart* chart,
    QLogValueAxis* axisX, QValueAxis* axisY, QObject* wheelFilter)
{
    QList<QSplineSeries*> series;
    for (int i = 0; i < kSeriesCount; ++i) {
        auto* s = new QSplineSeries(seriesParent);
        if (i < 4)
            s->setName(QString::fromLatin1(kSeriesNames[i]));
        series.append(s);
    }
    chart->legend()->hide();
    QList<QGraphicsObject*> curveItems;
    for (QSplineSeries* s : series)
        curveItems.append(addSeriesWithItem(chart, s));
    view->setChart(chart);
    view->setRenderHint(QPainter::Antialiasing);

    chart->addAxis(axisX, Qt::AlignBottom);
    chart->addAxis(axisY, Qt::AlignLeft);
    axisX->setRange(20.0, 22000.0);
    axisX->setBase(10.0);
    axisY->setRange(-20.0, 20.0);
    if (wheelFilter)
        view->installEventFilter(wheelFilter);
    axisX->setMinorTickCount(8);
    for (QSplineSeries* s : series) {
        s->attachAxis(axisX);
        s->attachAxis(axisY);
    }

    chart->setMargins(QMargins(0, 0, 0, 0));
    chart->setTheme(QChart::ChartThemeDark);
    view->setStyleSheet(QStringLiteral("border: 0px solid grey;"));
    // After the theme, which would otherwise paint its own background.
    chart->setBackgroundBrush(QBrush(QColor(0, 0, 0)));

    for (int i = 0; i < kSeriesCount; ++i) {
        if (QGraphicsObject* item = curveItems[i])
            cacheCurveImage(item, series[i], chart, axisX, axisY);
    }
}

QLabel* ResponseChart::buildContainer(QWidget* labelParent, QWidget* widget_3,
    QComboBox* comboBox_PEQMode, QCheckBox* checkBox_channel, QChartView* view)
{
    auto* label = new QLabel(QStringLiteral("PEQ Mode:"), labelParent);
    label->setObjectName(QStringLiteral("label_PEQMode"));
    label->setIndent(25);
    label->setStyleSheet(QStringLiteral("background: #000000; width: 5px;"));
    comboBox_PEQMode->setStyleSheet(QString::fromUtf8(kModeComboSheet));

    auto* left = new QHBoxLayout;
    left->setContentsMargins(0, 25, 0, 0);
    left->setSpacing(1);
    left->addWidget(label);
    left->addWidget(comboBox_PEQMode);
    left->addSpacing(60);
    left->addWidget(new QLabel(labelParent));
    left->addWidget(new QLabel(labelParent));

    auto* right = new QHBoxLayout;
    right->setContentsMargins(0, 25, 0, 0);
    right->addWidget(new QLabel(labelParent));
    right->addSpacing(100);
    right->addWidget(checkBox_channel);

    auto* header = new QHBoxLayout;
    header->addLayout(left);
    header->addLayout(right);

    auto* chartRow = new QVBoxLayout;
    chartRow->addWidget(view);

    auto* box = new QVBoxLayout(widget_3);
    box->setContentsMargins(0, 0, 0, 0);
    box->addLayout(header);
    box->addLayout(chartRow);
    return label;
}

QPen ResponseChart::seriesPen(int index)
{
    const SeriesLook& look = kLooks[static_cast<std::size_t>(qBound(0, index, kSeriesCount - 1))];
    QPen pen(look.colour);
    pen.setWidth(look.width);
    pen.setStyle(look.style);
    return pen;
}

QPen ResponseChart::csvDrawPen()
{
    QPen pen(QColor(0, 255, 127));
    pen.setWidth(2);
    return pen;
}

QXYSeries* ResponseChart::series(int index) const
{
    const QList<QAbstractSeries*> all = m_view->chart()->series();
    if (index < 0 || index >= all.size())
        return nullptr;
    return static_cast<QXYSeries*>(all[index]);
}

void ResponseChart::setCurve(int index, const CurvePoints& points) const
{
    setCurve(index, points, seriesPen(index));
}

void ResponseChart::setCurve(int index, const CurvePoints& points, const QPen& pen) const
{
    if (QXYSeries* s = series(index)) {
        s->setPen(pen);
        // An unchanged curve keeps its geometry and its cached image: most
        // edits change only the combined, filtered and edited band curves.
        if (s->points() != points)
            s->replace(points);
    }
}

void ResponseChart::clearCurve(int index) const
{
    if (QXYSeries* s = series(index))
        s->clear();
}

void ResponseChart::setBandCurves(const std::array<CurvePoints, 11>& curves) const
{
    for (int b = 0; b < 11; ++b)
        setCurve(kFirstBand + b, curves[static_cast<std::size_t>(b)]);
}

void ResponseChart::clearBandCurves() const
{
    for (int i = kFirstBand; i < kSeriesCount; ++i)
        clearCurve(i);
}

void ResponseChart::zoomLevelAxis(QValueAxis* axisY, int wheelDeltaY)
{
    const LevelRange r = zoomLevelRange({ axisY->min(), axisY->max() }, wheelDeltaY);
    axisY->setRange(r.min, r.max);
}
