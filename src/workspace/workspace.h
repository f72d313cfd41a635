#pragma once

#include <QString>
#include <QWidget>

// The preset panel fills this in later; for now it carries the signals and
// slots the main window wires to.
class Workspace : public QWidget
{
    Q_OBJECT

public:
    explicit Workspace(QWidget* parent = nullptr);

signals:
    void radio_Change();
    void radio_Change2();
    void device_radio_Change(int);
    void workspace_finish();
    void send_ui_biaozhi(int, QString);
    void send_ui_biaozhi2(int);
    void send_ui_biaozhi3(int);
    void send_radio_name(int, QString);
    void send_radio_name2();
    void send_device_name(QString);
    void send_device_name_2(QString);
    void send_remove_index(int);
    void send_biaozhi_name(QString);
    void workspace_mute(int);

public slots:
    void Device_Radio_Init();
    void moren_Device_Radio_Config();
    void Device_select_Init(int slot);
    void shifouzhichi2(QString tag);
    void Device_Radio_Clear();
    void Device_Config_Save(int index);
    void daorutianjia();
    void daorutianjia2();
};
