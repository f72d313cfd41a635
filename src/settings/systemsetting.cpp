#include "settings/systemsetting.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDebug>
#include <QDesktopServices>
#include <QDir>
#include <QLabel>
#include <QMessageBox>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QStyle>
#include <QStyleFactory>
#include <QTimer>
#include <QUrl>

#include "app/mainwindow.h"
#include "app/window_texts.h"
#include "device/device_state.h"
#include "settings/checkupdata.h"
#include "settings/settings_style.h"
#include "settings/update_core.h"
#include "settings/update_net.h"
#include "settings/window_centre.h"
#include "store/settings.h"
#include "widgets/message_box.h"
#include "widgets/modal_seam.h"
#include "widgets/textfit.h"

SystemSetting* systemset = nullptr;
bool auto_save_status = true;
bool hand_press_updata_button = false;

SystemSetting::SystemSetting(QWidget* parent)
    : QWidget(parent)
    , ui(new SystemSettingUi)
{
    ui->setupUi(this);
    connect(ui->comboBox, &QComboBox::currentIndexChanged, this, &SystemSetting::Language_Change);

    ui->checkBox_firing->setChecked(sysSetValue.Auto_run);
    ui->checkBox_Filrtered->setChecked(sysSetValue.Filtered_FR_alignment);
    ui->checkBox_mute->setChecked(sysSetValue.High_sampling_rate_mute);
    // Setting the index must not store it: a Language the list does not
    // offer would come back as -1, and the file is already current.
    if (sysSetValue.Language == 0 || sysSetValue.Language == 1) {
        const QSignalBlocker quiet(ui->comboBox);
        ui->comboBox->setCurrentIndex(sysSetValue.Language);
    }
    showElidedInMiddle(ui->label_PATH, sysSetValue.EQ_save_file_path);
    {
        const QSignalBlocker quiet(ui->followEnablecheckBox);
        ui->followEnablecheckBox->setChecked(sysSetValue.FollowPre);
    }

    // Where the platform has no "macOS" style the buttons keep the application's.
    if (QStyle* mac = QStyleFactory::create(QStringLiteral("macOS"))) {
        mac->setParent(this);
        ui->radioButton_close1->setStyle(mac);
        ui->radioButton_close2->setStyle(mac);
    }
    QFont comboFont = ui->comboBox->font();
    comboFont.setPointSizeF(12.0 * adjustFontSize());
    ui->comboBox->setFont(comboFont);

    connect(ui->radioButton_close1, &QRadioButton::clicked, this, &SystemSetting::onClose1Clicked);
    connect(ui->radioButton_close2, &QRadioButton::clicked, this, &SystemSetting::onClose2Clicked);
    connect(ui->checkBox_mute, &QCheckBox::clicked, this, &SystemSetting::onmuteClicked);
    connect(
        ui->followEnablecheckBox, &QCheckBox::toggled, this, &SystemSetting::sigFollowPreClicked);

    if (sysSetValue.CloseBehavior)
        ui->radioButton_close2->setChecked(true);
    else
        ui->radioButton_close1->setChecked(true);

    m_manager = new QNetworkAccessManager(this);
    connect(m_manager, &QNetworkAccessManager::finished, this, &SystemSetting::replyFinished);

    m_checkUpdate = new CHECKUPDATA(this);
    m_checkUpdate->setWindowFlags(m_checkUpdate->windowFlags() | Qt::Dialog);
    m_checkUpdate->setWindowModality(Qt::ApplicationModal);

    m_runningVersion = sysSetValue.QuorvelVesk_version;

    // Spelt out: without the customise hint a window system adds its own set.
    setWindowFlags((windowFlags() | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                       | Qt::WindowCloseButtonHint | Qt::WindowMaximizeButtonHint)
        & ~Qt::WindowMinimizeButtonHint);
    setWindowModality(Qt::ApplicationModal);

    // With the index set quietly, the texts follow the stored language here.
    Update_SysSetting_Ui();
}

SystemSetting::~SystemSetting() { delete ui; }

QCheckBox* SystemSetting::muteCheckBox() const { return ui->checkBox_mute; }
QComboBox* SystemSetting::languageBox() const { return ui->comboBox; }
QLabel* SystemSetting::modelLabel() const { return ui->label_dev_model; }
QLabel* SystemSetting::softwareLabel() const { return ui->label_dev_softversion; }
QLabel* SystemSetting::hardwareLabel() const { return ui->label_dev_hardversion; }

void SystemSetting::Update_SysSetting_Ui()
{
    const int language = sysSetValue.Language;
    if (language != 0 && language != 1)
        return;
    struct Text
    {
        QWidget* widget;
        const char* english;
        const char* chinese;
    };
    const Text texts[] = {
        { ui->label_Head1, "System Setting", "系统设置" },
        { ui->label_language, "Language selection:", "语言选择:" },
        { ui->label_dir, "EQ Export File Directory:", "EQ导出文件存储目录:" },
        { ui->UpdataSave, "Change", "更改目录" },
        { ui->checkBox_firing, "Power-up AutoRun", "开机自动运行" },
        { ui->checkBox_Filrtered, "Filtered FR alignment", "Filtered FR 对齐" },
        { ui->label_close, "Close the main panel:", "关闭主面板:" },
        { ui->radioButton_close1, "Minimize to tray without exiting", "最小化到托盘, 不退出程序" },
        { ui->radioButton_close2, "Exit program", "退出程序" },
        { ui->label_Head3, "Version Information", "版本信息" },
        { ui->checkBox_mute, "High sampling rate mute", "高采样率静音" },
        { ui->pushButton_check, "Check Update", "检查更新" },
        { ui->pushButton_net, "Official Web", "官网" },
        { ui->pushButton_Reset, "Save Changes", "保存设置" },
    };
    for (const Text& t : texts)
        t.widget->setProperty("text", QString::fromUtf8(language == 1 ? t.english : t.chinese));
    Updata_ALL();
}

void SystemSetting::Updata_ALL()
{
    const int language = sysSetValue.Language;
    if (language != 0 && language != 1)
        return;
    const bool en = language == 1;
    const QString& model = status_bar_value.device_model;
    const bool placeholder = model == statusTexts(language)->device;
    ui->label_dev_model->setText(
        (en ? QStringLiteral("Device Model:  ") : QStringLiteral("设备型号:  "))
        + (placeholder ? QStringLiteral("...") : model));
    ui->label_dev_softversion->setText(
        (en ? QStringLiteral("Device software version:  V") : QStringLiteral("设备软件版本:  V"))
        + status_bar_value.software_version);
    ui->label_dev_hardversion->setText(
        (en ? QStringLiteral("Device hardware version:  V") : QStringLiteral("设备硬件版本:  V"))
        + status_bar_value.hardware_version);
    ui->label_Version->setText((en ? QStringLiteral("QUORVEL Vesk current version: ")
                                   : QStringLiteral("QUORVEL Vesk 当前版本: "))
        + sysSetValue.QuorvelVesk_version);
    ui->followPreLabel->setText(en ? QStringLiteral("Follow Pre:") : QStringLiteral("跟随前级："));
    ui->followEnablecheckBox->setText(en ? QStringLiteral("Enable") : QStringLiteral("启用"));
    // The last texts of a language switch land here too.
    widenPlacedToText(this);
}

void SystemSetting::change_language(bool enabled)
{
    ui->comboBox->setEnabled(enabled);
    if (enabled)
        return;
    // Once is enough: the sheet must not grow with every stream-format check.
    const QString sheet = ui->comboBox->styleSheet();
    if (!sheet.contains(QLatin1String(SettingsSheet::languageComboDisabled)))
        ui->comboBox->setStyleSheet(sheet + QLatin1String(SettingsSheet::languageComboDisabled));
}

void SystemSetting::recive_mute(int state)
{
    QCheckBox* box = ui->checkBox_mute;
    box->setEnabled(true);
    switch (state) {
    case -1:
        box->hide();
        box->setChecked(false);
        box->setEnabled(false);
        break;
    case 1:
        box->show();
        box->setChecked(true);
        break;
    case 0:
        box->show();
        box->setChecked(false);
        break;
    default:
        break;
    }
}

void SystemSetting::Language_Change(int value)
{
    if (value < 0)
        return; // the list was emptied; there is no language to store
    sysSetValue.Language = value;
    Config_update();
    emit language_changed();
    Update_SysSetting_Ui();
}

void SystemSetting::on_UpdataSave_clicked()
{
    const QString dir
        = modal::getExistingDirectory(this, QStringLiteral("选择目录"), QDir::homePath());
    if (dir.isEmpty())
        return;
    sysSetValue.EQ_save_file_path = dir;
    showElidedInMiddle(ui->label_PATH, dir);
    Config_update();
}

void SystemSetting::on_checkBox_firing_clicked(bool checked)
{
    sysSetValue.Auto_run = checked;
    emit auto_run_changed(checked);
    Config_update();
}

void SystemSetting::on_checkBox_Filrtered_clicked(bool checked)
{
    sysSetValue.Filtered_FR_alignment = checked;
    Config_update();
    emit update_Filtered_FR();
}

void SystemSetting::onmuteClicked()
{
    const bool state = ui->checkBox_mute->isChecked();
    sysSetValue.High_sampling_rate_mute = state;
    emit update_Mute(state);
}

void SystemSetting::onClose1Clicked()
{
    sysSetValue.CloseBehavior = false;
    Config_update();
}

void SystemSetting::onClose2Clicked()
{
    sysSetValue.CloseBehavior = true;
    Config_update();
}

void SystemSetting::on_pushButton_net_clicked()
{
    if (sysSetValue.Language == 1)
        QDesktopServices::openUrl(QUrl(QString::fromLatin1(kOfficialWebEnglish)));
    else if (sysSetValue.Language == 0)
        QDesktopServices::openUrl(QUrl(QString::fromLatin1(kOfficialWebChinese)));
}

void SystemSetting::on_pushButton_Reset_clicked() { close(); }

void SystemSetting::showEvent(QShowEvent* event)
{
    centreOnParentLater(this);
    QWidget::showEvent(event);
}

// ---- Update check ----

void SystemSetting::Updata_version()
{
    if (update_net::checkDisabled()) {
        qDebug() << "update check off";
        return;
    }
    sendManifestRequest();
}

void SystemSetting::on_pushButton_check_clicked()
{
    hand_press_updata_button = true;
    if (update_net::checkDisabled()) {
        // No server to ask: say so rather than leave the button without answer.
        m_checkUpdate->ConnectFailedUI(m_runningVersion);
        m_checkUpdate->show();
        return;
    }
    sendManifestRequest();
}

void SystemSetting::sendManifestRequest()
{
    qDebug() << "发送get网络请求";
    QNetworkReply* reply = m_manager->get(update_net::manifestRequest());
    // The whole exchange is bounded: a silent or trickling server ends as a
    // failed connection instead of a check that never answers.
    QTimer::singleShot(update_net::manifestTimeoutMs(), reply, [reply] {
        if (reply->isRunning())
            reply->abort();
    });
}

void SystemSetting::replyFinished(QNetworkReply* reply)
{
    reply->deleteLater();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    // A body cut short or timed out is a failed connection, not a bad manifest.
    if (status == 200 && reply->error() == QNetworkReply::NoError) {
        const QString text = QString::fromUtf8(reply->readAll());
        qDebug() << "replyFinished:" << text;
        parse_UpdateJSON(text);
        return;
    }
    qDebug() << "replyFinished  失败" << reply->errorString();
    m_checkUpdate->ConnectFailedUI(m_runningVersion);
    m_checkUpdate->show();
}

int SystemSetting::parse_UpdateJSON(QString str)
{
    const update_core::Manifest manifest = update_core::readManifest(str);
    if (manifest.kind == update_core::ManifestKind::InvalidJson) {
        QMessageBox box(this);
        modal::buildMessageBox(box, QMessageBox::Critical, QStringLiteral("检查失败"),
            QStringLiteral("服务器地址错误或JSON格式错误!"), { QMessageBox::Ok });
        modal::exec(box);
        return -1;
    }
    if (manifest.kind == update_core::ManifestKind::NotObject)
        return 0;
    const Vesk_Series& s = manifest.series;
    qDebug() << "Url:" << s.Url;
    qDebug() << "Verison" << s.LatestVerison;
    qDebug() << "CurVerison" << m_runningVersion;
    if (update_core::offersUpdate(s, m_runningVersion)) {
        qDebug() << "MacVerison" << s.MacLatestVerison;
        qDebug() << "CurVerison" << m_runningVersion;
        qDebug() << "MacUrl:" << s.MacUrl;
        m_checkUpdate->updateUI(
            m_runningVersion, s.MacLatestVerison, s.ReleaseNoteCh, s.ReleaseNoteEn);
        m_checkUpdate->setUrl(s.MacUrl);
        m_checkUpdate->show();
    } else {
        m_checkUpdate->NoupdateUI(m_runningVersion);
    }
    if (hand_press_updata_button) {
        m_checkUpdate->show();
        hand_press_updata_button = false;
    }
    return 0;
}
