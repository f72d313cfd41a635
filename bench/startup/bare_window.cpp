// The yardstick of the start-up benchmark: a bare Qt Widgets window of the
// main window's size holding one chart with a log frequency axis and a curve
// on the 182-point grid, and nothing else.
#include <QApplication>
#include <QMainWindow>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QLogValueAxis>
#include <QtCharts/QSplineSeries>
#include <QtCharts/QValueAxis>

#include <cmath>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.resize(1114, 691);

    auto* series = new QSplineSeries;
    const int points = 182;
    for (int i = 0; i < points; ++i) {
        const double f = 20.0 * std::pow(1100.0, double(i) / (points - 1));
        series->append(f, 3.0 * std::sin(i / 20.0));
    }
    auto* chart = new QChart;
    chart->addSeries(series);
    auto* axisX = new QLogValueAxis;
    axisX->setRange(20, 22000);
    auto* axisY = new QValueAxis;
    axisY->setRange(-24, 24);
    chart->addAxis(axisX, Qt::AlignBottom);
    chart->addAxis(axisY, Qt::AlignLeft);
    series->attachAxis(axisX);
    series->attachAxis(axisY);
    window.setCentralWidget(new QChartView(chart));
    window.show();
    return app.exec();
}
