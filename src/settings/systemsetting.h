#pragma once

// The settings window. This is the part the main window talks to: the
// signals it connects, the slots it calls and the mute box and device labels
// those slots drive. The settings and update work fills in the window itself.

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;

class SystemSetting : public QWidget
{
    Q_OBJECT

public:
    explicit SystemSetting(QWidget* parent = nullptr);

    void Update_SysSetting_Ui();
    void Updata_ALL();

    QCheckBox* muteCheckBox() const { return m_mute; }
    QComboBox* languageBox() const { return m_language; }
    QLabel* modelLabel() const { return m_model; }
    QLabel* softwareLabel() const { return m_software; }
    QLabel* hardwareLabel() const { return m_hardware; }

signals:
    void language_changed();
    void sigFollowPreClicked(bool value);
    void auto_run_changed(bool on);
    void update_Filtered_FR();
    void update_Mute(bool on);

public slots:
    void change_language(bool enabled);
    void recive_mute(int state);
    void Updata_version();

private:
    QComboBox* m_language;
    QCheckBox* m_mute;
    QLabel* m_model;
    QLabel* m_software;
    QLabel* m_hardware;
    QLabel* m_appVersion;
};

// The single settings window, made by the main window.
extern SystemSetting* systemset;

// The auto-save switch as the settings window last set it.
extern bool auto_save_status;
