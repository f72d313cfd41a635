#include "app/mainwindow.h"

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent)
{
    resize(1200, 800);
}

MainWindow::~MainWindow() = default;
