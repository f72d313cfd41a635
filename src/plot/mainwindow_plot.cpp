// The response plot: chart set-up, curve computation and the curve switches.

#include "app/mainwindow.h"

// The plot work fills this in: axes, series and the chart's place in the form.
void MainWindow::View_Init() {}

// The plot work fills this in: the entry point after any change.
void MainWindow::startThread() {}

// The plot work fills this in: all band responses and the combined curve.
void MainWindow::update_value() {}

// The plot work fills this in: the filtered curve.
void MainWindow::update_value_super() {}

// The plot work fills this in: one band's own curve.
void MainWindow::update_value_each(int) {}

// The plot work fills this in: empties the per-band curves.
void MainWindow::clear_value_each() {}

// The plot work fills this in: draws every enabled band's curve.
void MainWindow::draw_value_each() {}

// The plot work fills this in: the curve switches from the settings.
void MainWindow::CheckBox_Change_UI() {}

// The plot work fills this in: draws the source curve.
void MainWindow::fre_csv_draw(QList<QList<double>>) {}

// The plot work fills this in: draws the target curve.
void MainWindow::tar_csv_draw(QList<QList<double>>) {}

// The plot work fills in the deferred-start slots below.
void MainWindow::handleThreadStarted() {}
void MainWindow::handleThreadStarted_sup() {}
void MainWindow::handleThreadStarted_each() {}

// The plot work fills in the curve switches below.
void MainWindow::on_checkBox_target_clicked(bool) {}
void MainWindow::on_checkBox_frequency_clicked(bool) {}
void MainWindow::on_checkBox_each_clicked(bool) {}
void MainWindow::on_checkBox_EQ_clicked(bool) {}
void MainWindow::on_checkBox_combined_clicked(bool) {}
void MainWindow::on_checkBox_open_clicked(bool) {}
