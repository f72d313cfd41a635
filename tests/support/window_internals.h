#pragma once

// The main window's own members, for tests and benchmarks that set a state
// up or check it directly. The window lets this one type in; the program
// itself reaches none of them from outside the window.

#include "app/mainwindow.h"

struct MainWindowInternals
{
    explicit MainWindowInternals(MainWindow& w)
        : ui(w.ui)
        , comboBox_PEQMode(w.comboBox_PEQMode)
        , checkBox_channel(w.checkBox_channel)
        , framelessHelper(w.framelessHelper)
        , saveButton(w.saveButton)
        , dragPosition(w.dragPosition)
        , menu_Import(w.menu_Import)
        , menu_Export(w.menu_Export)
        , menu_Help(w.menu_Help)
        , action_Show(w.action_Show)
        , action_Exit(w.action_Exit)
        , local_config_inactive(w.local_config_inactive)
        , each_EQ_num(w.each_EQ_num)
        , autosave_timer(w.autosave_timer)
        , autosave_done(w.autosave_done)
        , stream_check_timer(w.stream_check_timer)
        , sourceCurveList(w.sourceCurveList)
        , targetCurveList(w.targetCurveList)
        , sourceCurveRows(w.sourceCurveRows)
        , targetCurveRows(w.targetCurveRows)
        , currentTargetName(w.currentTargetName)
        , pendingCurveName(w.pendingCurveName)
        , chartView(w.chartView)
        , chart(w.chart)
        , axisX(w.axisX)
        , axisY(w.axisY)
        , label_PEQMode(w.label_PEQMode)
        , fre_list(w.fre_list)
        , tar_list(w.tar_list)
        , Combined_show(w.Combined_show)
        , Source_show(w.Source_show)
        , Target_show(w.Target_show)
        , Filtered_show(w.Filtered_show)
        , Each_show(w.Each_show)
        , Compensated_show(w.Compensated_show)
        , combined_fr(w.combined_fr)
        , filtered_offset(w.filtered_offset)
    {
    }

    MainWindowUi* const& ui;
    CustomComboBox* const& comboBox_PEQMode;
    QCheckBox* const& checkBox_channel;
    FramelessHelper* const& framelessHelper;
    QPushButton* const& saveButton;
    const QPoint& dragPosition;
    QMenu* const& menu_Import;
    QMenu* const& menu_Export;
    QMenu* const& menu_Help;
    QAction* const& action_Show;
    QAction* const& action_Exit;
    bool& local_config_inactive;
    int& each_EQ_num;
    QTimer* const& autosave_timer;
    int& autosave_done;
    QTimer* const& stream_check_timer;
    QListWidget* const& sourceCurveList;
    QListWidget* const& targetCurveList;
    const int& sourceCurveRows;
    const int& targetCurveRows;
    const QString& currentTargetName;
    QString& pendingCurveName;
    QChartView* const& chartView;
    QChart* const& chart;
    QLogValueAxis* const& axisX;
    QValueAxis* const& axisY;
    QLabel*& label_PEQMode;
    QList<QList<double>>& fre_list;
    QList<QList<double>>& tar_list;
    const bool& Combined_show;
    const bool& Source_show;
    const bool& Target_show;
    const bool& Filtered_show;
    const bool& Each_show;
    bool& Compensated_show;
    const std::vector<std::complex<double>>& combined_fr;
    const double& filtered_offset;
};

inline MainWindowInternals internals(MainWindow& w) { return MainWindowInternals(w); }
