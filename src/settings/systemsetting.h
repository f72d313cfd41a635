#pragma once

// The settings window: edits the settings record field by field, shows the
// device's model and versions, and owns the update check and its window.

#include <QString>
#include <QWidget>

class CHECKUPDATA;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QNetworkAccessManager;
class QNetworkReply;
class QPushButton;
class QRadioButton;
class QShowEvent;

// The form, by object name.
struct SystemSettingUi
{
    QLabel* label_Head1 = nullptr;
    QLabel* label_language = nullptr;
    QComboBox* comboBox = nullptr;
    QLabel* label_dir = nullptr;
    QPushButton* UpdataSave = nullptr;
    QLabel* label_PATH = nullptr;
    QCheckBox* checkBox_firing = nullptr;
    QCheckBox* checkBox_Filrtered = nullptr;
    QLabel* followPreLabel = nullptr;
    QCheckBox* followEnablecheckBox = nullptr;
    QLabel* label_close = nullptr;
    QRadioButton* radioButton_close1 = nullptr;
    QRadioButton* radioButton_close2 = nullptr;
    QLabel* label_Head3 = nullptr;
    QLabel* label_dev_model = nullptr;
    QLabel* label_dev_softversion = nullptr;
    QLabel* label_dev_hardversion = nullptr;
    QLabel* label_Version = nullptr;
    QCheckBox* checkBox_mute = nullptr;
    QPushButton* pushButton_check = nullptr;
    QPushButton* pushButton_net = nullptr;
    QPushButton* pushButton_Reset = nullptr;
    QFrame* verticalRule = nullptr;
    QFrame* horizontalRule = nullptr;

    // Builds every control with its place, style and Chinese default text,
    // then binds the on_<object>_<signal> slots by name.
    void setupUi(QWidget* window);
};

class SystemSetting : public QWidget
{
    Q_OBJECT

public:
    explicit SystemSetting(QWidget* parent = nullptr);
    ~SystemSetting() override;

    void Update_SysSetting_Ui();
    void Updata_ALL();
    // -1 when the text is not JSON (after the box), else 0.
    int parse_UpdateJSON(QString str);

    SystemSettingUi* ui;

    QCheckBox* muteCheckBox() const;
    QComboBox* languageBox() const;
    QLabel* modelLabel() const;
    QLabel* softwareLabel() const;
    QLabel* hardwareLabel() const;
    CHECKUPDATA* updateWindow() const { return m_checkUpdate; }
    QString runningVersion() const { return m_runningVersion; }

signals:
    void language_changed();
    void sigFollowPreClicked(bool value);
    void auto_run_changed(bool checked);
    void update_Filtered_FR();
    void update_Mute(bool on);

public slots:
    void change_language(bool enabled);
    void recive_mute(int state);
    void Updata_version();
    void on_pushButton_check_clicked();
    void replyFinished(QNetworkReply* reply);

    void Language_Change(int value);
    void on_UpdataSave_clicked();
    void on_checkBox_firing_clicked(bool checked);
    void on_checkBox_Filrtered_clicked(bool checked);
    void onmuteClicked();
    void onClose1Clicked();
    void onClose2Clicked();
    void on_pushButton_net_clicked();
    void on_pushButton_Reset_clicked();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void sendManifestRequest();

    QNetworkAccessManager* m_manager = nullptr;
    CHECKUPDATA* m_checkUpdate = nullptr;
    QString m_runningVersion;
};

// The single settings window, made by the main window.
extern SystemSetting* systemset;

// Saving the preset being left when another is selected; always on.
extern bool auto_save_status;

// True while an update check the user asked for is waiting for its manifest.
extern bool hand_press_updata_button;

// The maker's web site, opened by "Official Web".
inline constexpr char kOfficialWebEnglish[] = "https://www.quorvel.com/";
inline constexpr char kOfficialWebChinese[] = "https://www.quorvel.com/zh/quorvel";
