// The response plot of the main window: the chart's place in the form, the
// recomputation after every edit, the curve switches and their settings.
// The curves themselves are computed by plot/curves.h; these members only
// pick the inputs and hand each finished curve to its series.

#include "app/mainwindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDebug>
#include <QStyle>
#include <QStyleFactory>

#include "app/mainwindow_ui.h"
#include "dsp/response.h"
#include "plot/curve_switches.h"
#include "plot/curves.h"
#include "plot/response_chart.h"
#include "store/settings.h"
#include "widgets/customcontrols.h"

namespace {

// The Raw/Compensated box asks for the "macOS" widget style; the style is
// made once and owned by the box. Where the platform has no such style the
// box keeps the application style.
void applyMacStyle(QWidget* box)
{
    if (box->findChild<QStyle*>(QString(), Qt::FindDirectChildrenOnly))
        return;
    if (QStyle* mac = QStyleFactory::create(QStringLiteral("macOS"))) {
        mac->setParent(box);
        box->setStyle(mac);
    }
}

} // namespace

struct MainWindow::CurveSwitchMembers
{
    CustomCheckBox* MainWindowUi::*box;
    bool MainWindow::*flag;
    bool SysSetInfo::*mark;
};

// In CurveSwitch order.
const MainWindow::CurveSwitchMembers& MainWindow::switchMembers(CurveSwitch id)
{
    static constexpr CurveSwitchMembers kMembers[] = {
        { &MainWindowUi::checkBox_target, &MainWindow::Target_show, &SysSetInfo::Target_Mark },
        { &MainWindowUi::checkBox_frequency, &MainWindow::Source_show, &SysSetInfo::Source_Mark },
        { &MainWindowUi::checkBox_each, &MainWindow::Each_show, &SysSetInfo::Each_Mark },
        { &MainWindowUi::checkBox_EQ, &MainWindow::Combined_show, &SysSetInfo::Combined_Mark },
        { &MainWindowUi::checkBox_combined, &MainWindow::Filtered_show,
            &SysSetInfo::Filtered_Mark },
        { &MainWindowUi::checkBox_open, &MainWindow::Compensated_show, &SysSetInfo::Raw_Mark },
    };
    return kMembers[static_cast<int>(id)];
}

void MainWindow::View_Init()
{
    ResponseChart::build(this, chartView, chart, axisX, axisY, this);
    label_PEQMode = ResponseChart::buildContainer(
        this, ui->widget_3, comboBox_PEQMode, checkBox_channel, chartView);
    update_value();
}

void MainWindow::startThread()
{
    update_value();
    if (Filtered_show)
        update_value_super();
    // The edited band's own curve follows once the current slot has returned.
    if (Each_show)
        deferBandRedraw(this, [this] { handleThreadStarted_each(); });
}

void MainWindow::update_value()
{
    resetTimer(); // every recomputation counts as activity for the auto-save
    ResponseChart(chartView).setCurve(
        ResponseChart::kCombined, combinedCurve(editedSet(), Combined_show));
    combined_fr = filt_combined_fr1;
}

void MainWindow::update_value_super()
{
    // Read at every call: the settings window changes them without telling us.
    filtered_offset = nextFilteredOffset(sysSetValue.FollowPre, gain_value, filtered_offset);
    ResponseChart(chartView).setCurve(ResponseChart::kFiltered,
        filteredCurve(combined_fr, filtered_offset, fre_list, tar_list,
            sysSetValue.Filtered_FR_alignment, Compensated_show));
}

void MainWindow::update_value_each(int band)
{
    if (band < 1 || band > 11)
        return;
    ResponseChart(chartView).setCurve(
        ResponseChart::kFirstBand + band - 1, bandCurve(*editedSet()[band], band));
}

void MainWindow::clear_value_each() { ResponseChart(chartView).clearBandCurves(); }

void MainWindow::draw_value_each()
{
    ResponseChart(chartView).setBandCurves(eachBandCurves(editedSet()));
}

void MainWindow::fre_csv_draw(QList<QList<double>> rows)
{
    ResponseChart(chartView).setCurve(
        ResponseChart::kSource, measuredCurve(rows, tar_list, Compensated_show));
}

void MainWindow::tar_csv_draw(QList<QList<double>> rows)
{
    ResponseChart(chartView).setCurve(
        ResponseChart::kTarget, measuredCurve(rows, tar_list, Compensated_show));
}

void MainWindow::handleThreadStarted() { update_value(); }

void MainWindow::handleThreadStarted_sup() { update_value_super(); }

void MainWindow::handleThreadStarted_each()
{
    // The set and the band as they are now, not when the redraw was asked for.
    EQ_data* const* set = editedSet();
    if (set == EQ_R)
        qDebug() << "each_EQ_num:" << each_EQ_num;
    if (const int band = bandToRedraw(set, each_EQ_num))
        update_value_each(band);
}

void MainWindow::curveSwitchClicked(CurveSwitch id, bool checked)
{
    const CurveSwitchMembers& m = switchMembers(id);
    if (id == CurveSwitch::Compensated) {
        applyMacStyle(ui->checkBox_open);
        ui->checkBox_open->setText(compensatedBoxText(checked, sysSetValue.Language));
    }
    this->*m.flag = checked;
    // The record reaches the settings file with its next save (at the latest at quit).
    sysSetValue.*m.mark = checked;

    const ResponseChart plot(chartView);
    for (const PlotStep& step : curveSwitchSteps(id, checked, Source_show, Target_show)) {
        switch (step.kind) {
        case PlotStep::StartThread:
            startThread();
            break;
        case PlotStep::DrawSource:
            fre_csv_draw(fre_list);
            break;
        case PlotStep::DrawTarget:
            tar_csv_draw(tar_list);
            break;
        case PlotStep::DrawEach:
            draw_value_each();
            break;
        case PlotStep::ClearEach:
            clear_value_each();
            break;
        case PlotStep::Clear:
            plot.clearCurve(step.series);
            break;
        }
    }
}

void MainWindow::CheckBox_Change_UI()
{
    // The boxes first, silently (clicked is not emitted), in the stored order.
    for (auto it = curveSwitchRows.rbegin(); it != curveSwitchRows.rend(); ++it) {
        const CurveSwitchMembers& m = switchMembers(it->id);
        (ui->*m.box)->setChecked(sysSetValue.*m.mark);
    }
    // Then every switch applied as if clicked with its stored value; the
    // values come from the file, so there is nothing to write back.
    for (CurveSwitch id : curveSwitchRestoreOrder)
        curveSwitchClicked(id, sysSetValue.*switchMembers(id).mark);
}

void MainWindow::on_checkBox_target_clicked(bool checked)
{
    curveSwitchClicked(CurveSwitch::Target, checked);
}
void MainWindow::on_checkBox_frequency_clicked(bool checked)
{
    curveSwitchClicked(CurveSwitch::Source, checked);
}
void MainWindow::on_checkBox_each_clicked(bool checked)
{
    curveSwitchClicked(CurveSwitch::Each, checked);
}
void MainWindow::on_checkBox_EQ_clicked(bool checked)
{
    curveSwitchClicked(CurveSwitch::Combined, checked);
}
void MainWindow::on_checkBox_combined_clicked(bool checked)
{
    curveSwitchClicked(CurveSwitch::Filtered, checked);
}
void MainWindow::on_checkBox_open_clicked(bool checked)
{
    curveSwitchClicked(CurveSwitch::Compensated, checked);
}
