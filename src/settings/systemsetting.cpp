#include "settings/systemsetting.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QVBoxLayout>

#include "device/device_state.h"
#include "store/settings.h"

SystemSetting* systemset = nullptr;
bool auto_save_status = true;

SystemSetting::SystemSetting(QWidget* parent)
    : QWidget(parent),
      m_language(new QComboBox(this)),
      m_mute(new QCheckBox("High sampling rate mute", this)),
      m_model(new QLabel(this)),
      m_software(new QLabel(this)),
      m_hardware(new QLabel(this)),
      m_appVersion(new QLabel(this))
{
    auto* layout = new QVBoxLayout(this);
    m_language->addItems({"中文", "English"});
    for (QWidget* w : {static_cast<QWidget*>(m_language), static_cast<QWidget*>(m_mute),
                       static_cast<QWidget*>(m_model), static_cast<QWidget*>(m_software),
                       static_cast<QWidget*>(m_hardware), static_cast<QWidget*>(m_appVersion)})
        layout->addWidget(w);
    connect(m_mute, &QCheckBox::clicked, this, &SystemSetting::update_Mute);
}

// The settings work fills this in: the window's texts in the current language.
void SystemSetting::Update_SysSetting_Ui() {}

void SystemSetting::Updata_ALL()
{
    const int language = sysSetValue.Language;
    if (language != 0 && language != 1)
        return;
    const bool en = language == 1;
    const QString& model = status_bar_value.device_model;
    const bool placeholder = model == (en ? "Device" : "机型");
    m_model->setText((en ? "Device Model:  " : "设备型号:  ") + (placeholder ? QString("...") : model));
    m_software->setText((en ? "Device software version:  V" : "设备软件版本:  V")
                        + status_bar_value.software_version);
    m_hardware->setText((en ? "Device hardware version:  V" : "设备硬件版本:  V")
                        + status_bar_value.hardware_version);
    m_appVersion->setText((en ? "QUORVEL Vesk current version: " : "QUORVEL Vesk 当前版本: ")
                          + sysSetValue.QuorvelVesk_version);
}

void SystemSetting::change_language(bool enabled)
{
    m_language->setEnabled(enabled);
}

void SystemSetting::recive_mute(int state)
{
    m_mute->setEnabled(true);
    switch (state) {
    case -1:
        m_mute->hide();
        m_mute->setChecked(false);
        m_mute->setEnabled(false);
        break;
    case 1:
        m_mute->show();
        m_mute->setChecked(true);
        break;
    case 0:
        m_mute->show();
        m_mute->setChecked(false);
        break;
    default:
        break;
    }
}

// The update work fills this in: the automatic update check.
void SystemSetting::Updata_version() {}
