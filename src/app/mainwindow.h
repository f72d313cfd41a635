#pragma once

#include <QMainWindow>

// The main window. Its members are spread over the subsystem folders; this
// header groups them by subsystem.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;
};
