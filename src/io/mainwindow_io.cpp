// The main window's import and export menus and the source and target curve
// pickers.

#include "app/mainwindow.h"

// The import/export work fills this in: makes the two curve pickers.
void MainWindow::ComboBox_Init() {}

// The import/export work fills this in: fills the pickers from the curve list.
void MainWindow::fre_tar_ComboBox_Init() {}

// The import/export work fills this in: the Import menu.
void MainWindow::deal_On_triggered(QAction*) {}

// The import/export work fills this in: the Export menu.
void MainWindow::deal_On_triggered2(QAction*) {}

// The import/export work fills this in: applies imported filters to the new preset.
void MainWindow::onWorkFinished() {}

// The import/export work fills this in: a source curve was picked.
void MainWindow::fre_sltShowAccountInfo(int, QString const&) {}

// The import/export work fills this in: a target curve was picked.
void MainWindow::tar_sltShowAccountInfo(int, QString const&) {}

// The import/export work fills this in: a curve-list entry was removed.
void MainWindow::sltRemoveAccount(int) {}

// Unbound: the form has no object of this name.
void MainWindow::on_PButton_Set_3_clicked() {}
