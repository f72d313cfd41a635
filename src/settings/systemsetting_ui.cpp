// The settings window's form: every control at its place with its style and
// the Chinese text the language setter later replaces.

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QMetaObject>
#include <QPushButton>
#include <QRadioButton>

#include "settings/settings_style.h"
#include "settings/systemsetting.h"

namespace {

template <typename W>
W* make(QWidget* parent, const char* name, const QRect& place, const QString& text = QString())
{
    auto* w = new W(parent);
    w->setObjectName(QLatin1String(name));
    if (place.isValid())
        w->setGeometry(place);
    if constexpr (requires { w->setText(text); })
        w->setText(text);
    return w;
}

QFrame* rule(QWidget* parent, const char* name, const QRect& place)
{
    auto* f = make<QFrame>(parent, name, place);
    f->setStyleSheet(QLatin1String(SettingsSheet::rule));
    return f;
}

} // namespace

void SystemSettingUi::setupUi(QWidget* window)
{
    window->setObjectName(QStringLiteral("SystemSetting"));
    window->setFixedSize(710, 430);
    window->setStyleSheet(QLatin1String(SettingsSheet::window));

    verticalRule = rule(window, "line", QRect(370, 12, 2, 344));
    horizontalRule = rule(window, "line_2", QRect(0, 360, 710, 2));

    label_Head1
        = make<QLabel>(window, "label_Head1", { 10, 8, 141, 31 }, QStringLiteral("系统设置"));
    label_language
        = make<QLabel>(window, "label_language", { 30, 50, 150, 30 }, QStringLiteral("语言选择:"));
    comboBox = make<QComboBox>(window, "comboBox", { 200, 50, 120, 30 });
    comboBox->addItem(QStringLiteral("简体中文"));
    comboBox->addItem(QStringLiteral("English"));
    comboBox->setStyleSheet(QLatin1String(SettingsSheet::languageCombo));
    label_dir = make<QLabel>(
        window, "label_dir", { 30, 100, 211, 30 }, QStringLiteral("EQ导出文件存储目录:"));
    UpdataSave
        = make<QPushButton>(window, "UpdataSave", { 260, 100, 80, 30 }, QStringLiteral("更改目录"));
    // One line, shortened in the middle to fit (the window sets its text).
    label_PATH = make<QLabel>(window, "label_PATH", { 30, 130, 311, 51 });
    checkBox_firing = make<QCheckBox>(
        window, "checkBox_firing", { 30, 180, 151, 30 }, QStringLiteral("开机自动运行"));
    checkBox_Filrtered = make<QCheckBox>(
        window, "checkBox_Filrtered", { 190, 180, 171, 30 }, QStringLiteral("Filtered FR 对齐"));
    followPreLabel = make<QLabel>(
        window, "followPreLabel", { 30, 220, 150, 30 }, QStringLiteral("跟随前级："));
    followEnablecheckBox = make<QCheckBox>(
        window, "followEnablecheckBox", { 190, 220, 171, 30 }, QStringLiteral("启用"));
    label_close
        = make<QLabel>(window, "label_close", { 30, 260, 150, 30 }, QStringLiteral("关闭主面板:"));
    radioButton_close1 = make<QRadioButton>(window, "radioButton_close1", { 50, 290, 281, 21 },
        QStringLiteral("最小化到托盘, 不退出程序"));
    radioButton_close2 = make<QRadioButton>(
        window, "radioButton_close2", { 50, 320, 141, 31 }, QStringLiteral("退出程序"));

    label_Head3
        = make<QLabel>(window, "label_Head3", { 390, 8, 181, 31 }, QStringLiteral("版本信息"));
    auto* grid = make<QWidget>(window, "gridLayoutWidget", { 400, 50, 321, 104 });
    auto* gridLayout = new QGridLayout(grid);
    gridLayout->setObjectName(QStringLiteral("gridLayout"));
    gridLayout->setContentsMargins(0, 0, 0, 0);
    label_dev_model = make<QLabel>(grid, "label_dev_model", {}, QStringLiteral("设备型号:  ..."));
    label_dev_softversion
        = make<QLabel>(grid, "label_dev_softversion", {}, QStringLiteral("设备软件版本:  Vx.xx"));
    label_dev_hardversion
        = make<QLabel>(grid, "label_dev_hardversion", {}, QStringLiteral("设备硬件版本:  Vx.xx"));
    gridLayout->addWidget(label_dev_model, 0, 0);
    gridLayout->addWidget(label_dev_softversion, 1, 0);
    gridLayout->addWidget(label_dev_hardversion, 2, 0);
    label_Version = make<QLabel>(
        window, "label_Version", { 400, 160, 321, 30 }, QStringLiteral("QUORVEL Vesk 当前版本: "));
    checkBox_mute = make<QCheckBox>(
        window, "checkBox_mute", { 450, 320, 171, 30 }, QStringLiteral("高采样率静音"));

    pushButton_check = make<QPushButton>(
        window, "pushButton_check", { 20, 380, 141, 31 }, QStringLiteral("检查更新"));
    pushButton_net = make<QPushButton>(
        window, "pushButton_net", { 170, 380, 141, 31 }, QStringLiteral("官网"));
    pushButton_Reset = make<QPushButton>(
        window, "pushButton_Reset", { 550, 380, 141, 31 }, QStringLiteral("保存设置"));
    for (QPushButton* b : { UpdataSave, pushButton_check, pushButton_net, pushButton_Reset })
        b->setStyleSheet(QLatin1String(SettingsSheet::pushButton));

    QMetaObject::connectSlotsByName(window);
}
