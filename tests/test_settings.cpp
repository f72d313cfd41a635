// The settings window with real widgets: its form, texts, what each control
// changes in the settings record and the file, the signals it sends, the
// device lines, the mute box, the directory chooser, the web site and where
// the window opens.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTest>
#include <QUrl>

#include <functional>
#include <memory>

#include "deadlines.h"
#include "font_glyphs.h"
#include "app/macapplication.h"
#include "app/mainwindow.h"
#include "window_internals.h"
#include "app/mainwindow_ui.h"
#include "app/startup.h"
#include "clipped_texts.h"
#include "device/device_state.h"
#include "device/threads.h"
#include "modal_answers.h"
#include "settings/checkupdata.h"
#include "settings/settings_style.h"
#include "settings/systemsetting.h"
#include "store/settings.h"
#include "url_recorder.h"
#include "warning_log.h"
#include "widgets/customcontrols.h"
#include "widgets/keyboardfocusstyle.h"
#include "widgets/resources.h"
#include "widgets/textfit.h"
#include "window_fixture.h"

namespace {

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
}

// Stands in the settings file so a test sees whether it was rewritten.
constexpr char kUntouched[] = "untouched";

// An export folder of 200 characters, with spaces, dots and Chinese in its
// names, ending in `last`.
QString longFolder(const QString& last)
{
    QString path = QString::fromUtf8(
        "/home/user/Documents/Audio exports/Headphone measurements 2026/导出 v1.2/");
    while (path.size() + last.size() < 200)
        path += QStringLiteral("deeper folder.%1/").arg(path.size() % 10);
    path = path.left(200 - last.size()) + last;
    return path;
}

// The characters of the window's visible texts that the application's own
// font lacks, drawn as boxes or by another font.
QString missingGlyphs(QWidget* window)
{
    QString texts;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisible())
            continue;
        for (const testsupport::TextBox& box : testsupport::textBoxes(w))
            texts += box.text;
    }
    return testsupport::missingGlyphs(texts);
}

} // namespace

class TestSettings : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;

    // The record as a first start leaves it, with the running version.
    void freshRecord(int language)
    {
        config_Init();
        Config_stamp_running_version();
        sysSetValue.Language = language;
        Config_update();
    }

    std::unique_ptr<SystemSetting> makeWindow()
    {
        testsupport::warningLog().clear();
        return std::make_unique<SystemSetting>();
    }

    // The export folder on one line inside its place: the start and the end
    // of `path` with an ellipsis between them, the whole of it as the tooltip.
    void expectFolderShown(SystemSetting& s, const QString& path)
    {
        QLabel* label = s.ui->label_PATH;
        QCOMPARE(label->geometry(), QRect(30, 130, 311, 51));
        QVERIFY(!label->wordWrap());
        QCOMPARE(label->toolTip(), path);
        const QString shown = label->text();
        const qsizetype cut = shown.indexOf(QChar(0x2026));
        QVERIFY2(cut > 10 && cut < shown.size() - 10, qPrintable(shown));
        QVERIFY2(path.startsWith(shown.left(cut)) && path.endsWith(shown.mid(cut + 1)),
            qPrintable(shown));
        const QStringList clipped = testsupport::clippedTexts(&s).filter("label_PATH");
        QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join("\n")));
    }

    QString text(SystemSetting& s, const char* name)
    {
        QWidget* w = s.findChild<QWidget*>(name);
        return w ? w->property("text").toString() : QStringLiteral("<missing %1>").arg(name);
    }

private slots:
    void initTestCase()
    {
        initResources();
        testsupport::installWarningLog();
        // The windows as the program draws them: its font and its style.
        QVERIFY(installApplicationFont());
        QApplication::setStyle(new KeyboardFocusStyle(QStyleFactory::create("Windows")));
        // However the test is started, no window here asks a server.
        qputenv("QV_UPDATE_BASE_URL", "off");
    }

    void init()
    {
        dir = freshWindowDir();
        QVERIFY(dir);
        freshRecord(1);
        hand_press_updata_button = false;
    }

    void cleanupTestCase() { stopDeviceThreads(); }

    void formPlaces_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("className");
        QTest::addColumn<QRect>("place");
        QTest::newRow("label_Head1") << "label_Head1"
                                     << "QLabel" << QRect(10, 8, 141, 31);
        QTest::newRow("label_language") << "label_language"
                                        << "QLabel" << QRect(30, 50, 150, 30);
        QTest::newRow("comboBox") << "comboBox"
                                  << "QComboBox" << QRect(200, 50, 120, 30);
        QTest::newRow("label_dir") << "label_dir"
                                   << "QLabel" << QRect(30, 100, 211, 30);
        QTest::newRow("UpdataSave") << "UpdataSave"
                                    << "QPushButton" << QRect(260, 100, 80, 30);
        QTest::newRow("label_PATH") << "label_PATH"
                                    << "QLabel" << QRect(30, 130, 311, 51);
        QTest::newRow("checkBox_firing") << "checkBox_firing"
                                         << "QCheckBox" << QRect(30, 180, 151, 30);
        QTest::newRow("checkBox_Filrtered") << "checkBox_Filrtered"
                                            << "QCheckBox" << QRect(190, 180, 171, 30);
        QTest::newRow("followPreLabel") << "followPreLabel"
                                        << "QLabel" << QRect(30, 220, 150, 30);
        QTest::newRow("followEnablecheckBox") << "followEnablecheckBox"
                                              << "QCheckBox" << QRect(190, 220, 171, 30);
        QTest::newRow("label_close") << "label_close"
                                     << "QLabel" << QRect(30, 260, 150, 30);
        QTest::newRow("radioButton_close1") << "radioButton_close1"
                                            << "QRadioButton" << QRect(50, 290, 281, 21);
        QTest::newRow("radioButton_close2") << "radioButton_close2"
                                            << "QRadioButton" << QRect(50, 320, 141, 31);
        QTest::newRow("label_Head3") << "label_Head3"
                                     << "QLabel" << QRect(390, 8, 181, 31);
        QTest::newRow("device grid") << "gridLayoutWidget"
                                     << "QWidget" << QRect(400, 50, 321, 104);
        QTest::newRow("label_Version") << "label_Version"
                                       << "QLabel" << QRect(400, 160, 321, 30);
        QTest::newRow("checkBox_mute") << "checkBox_mute"
                                       << "QCheckBox" << QRect(450, 320, 171, 30);
        QTest::newRow("pushButton_check") << "pushButton_check"
                                          << "QPushButton" << QRect(20, 380, 141, 31);
        QTest::newRow("pushButton_net") << "pushButton_net"
                                        << "QPushButton" << QRect(170, 380, 141, 31);
        QTest::newRow("pushButton_Reset") << "pushButton_Reset"
                                          << "QPushButton" << QRect(550, 380, 141, 31);
        QTest::newRow("column rule") << "line"
                                     << "QFrame" << QRect(370, 12, 2, 344);
        QTest::newRow("button-row rule") << "line_2"
                                         << "QFrame" << QRect(0, 360, 710, 2);
    }
    void formPlaces()
    {
        QFETCH(QString, name);
        QFETCH(QString, className);
        QFETCH(QRect, place);
        auto s = makeWindow();
        QWidget* w = s->findChild<QWidget*>(name);
        QVERIFY(w);
        QCOMPARE(QString(w->metaObject()->className()), className);
        // The English mute text is wider than its place in the program's font
        // (textsFitTheirBoxes): that box grows to the right.
        if (name == "checkBox_mute") {
            QCOMPARE(w->pos(), place.topLeft());
            QCOMPARE(w->height(), place.height());
            QVERIFY(w->width() > place.width());
        } else {
            QCOMPARE(w->geometry(), place);
        }
        QCOMPARE(s->minimumSize(), QSize(710, 430));
        QCOMPARE(s->maximumSize(), QSize(710, 430));
    }

    void formWiringAndLook()
    {
        auto s = makeWindow();
        // Every on_<object>_<signal> slot found its signal.
        QCOMPARE(testsupport::warningLog().filter("No matching signal"), QStringList());
        QCOMPARE(s->windowModality(), Qt::ApplicationModal);
        QVERIFY(!(s->windowFlags() & Qt::WindowMinimizeButtonHint));
        const QStringList items { s->ui->comboBox->itemText(0), s->ui->comboBox->itemText(1) };
        QCOMPARE(items, (QStringList { QString::fromUtf8("简体中文"), "English" }));
        QCOMPARE(s->ui->comboBox->count(), 2);
        QCOMPARE(s->ui->comboBox->styleSheet(), QString(SettingsSheet::languageCombo));
        QCOMPARE(s->ui->pushButton_check->styleSheet(), QString(SettingsSheet::pushButton));
        QCOMPARE(s->styleSheet(), QString(SettingsSheet::window));
        QCOMPARE(s->ui->comboBox->font().pointSizeF(), 12.0 * adjustFontSize());
        // The update window belongs to this one.
        CHECKUPDATA* update = s->updateWindow();
        QVERIFY(update);
        QCOMPARE(update->parentWidget(), s.get());
        QVERIFY(update->windowFlags() & Qt::Dialog);
        QVERIFY(!(
            update->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        QCOMPARE(update->windowModality(), Qt::ApplicationModal);
        QVERIFY(update->isHidden());
        // The stand-in's accessors still reach the same controls.
        QCOMPARE(s->muteCheckBox(), s->ui->checkBox_mute);
        QCOMPARE(s->languageBox(), s->ui->comboBox);
        QCOMPARE(s->modelLabel(), s->ui->label_dev_model);
        QCOMPARE(s->softwareLabel(), s->ui->label_dev_softversion);
        QCOMPARE(s->hardwareLabel(), s->ui->label_dev_hardversion);
    }

    // Every text of both windows is drawn whole and in the application's font,
    // in the language the window was built in and after a switch to the
    // other; boxes whose text fits keep their place (formPlaces). A long
    // export folder is shortened in its middle to its place, also after
    // another is chosen, with the whole path as its tooltip.
    void textsFitTheirBoxes_data()
    {
        QTest::addColumn<int>("language");
        QTest::newRow("English, then Chinese") << 1;
        QTest::newRow("Chinese, then English") << 0;
        QTest::newRow("both at 1.5x") << -1;
    }
    void textsFitTheirBoxes()
    {
        QFETCH(int, language);
        if (language < 0) {
            // The rows above again, in a copy of this test drawn 1.5 times as large.
            QProcess copy;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert("QT_SCALE_FACTOR", "1.5");
            copy.setProcessEnvironment(env);
            copy.setProcessChannelMode(QProcess::MergedChannels);
            copy.start(QCoreApplication::applicationFilePath(),
                { "textsFitTheirBoxes:English, then Chinese",
                    "textsFitTheirBoxes:Chinese, then English" });
            QVERIFY(copy.waitForFinished(testsupport::kProgramDeadlineMs));
            const QByteArray output = copy.readAll();
            QVERIFY2(copy.exitStatus() == QProcess::NormalExit && copy.exitCode() == 0,
                output.constData());
            return;
        }
        sysSetValue.Language = language;
        sysSetValue.EQ_save_file_path = longFolder("first");
        status_bar_value.software_version = status_bar_value.hardware_version = "10.10";
        auto s = makeWindow();
        s->recive_mute(1);
        s->show();
        QVERIFY(QTest::qWaitForWindowExposed(s.get()));
        QCOMPARE(s->devicePixelRatioF(), qEnvironmentVariable("QT_SCALE_FACTOR", "1").toDouble());
        CHECKUPDATA* u = s->updateWindow();
        u->show();
        QVERIFY(QTest::qWaitForWindowExposed(u));
        for (int pass = 0; pass < 2; ++pass) {
            expectFolderShown(*s, sysSetValue.EQ_save_file_path);
            if (QTest::currentTestFailed())
                return;
            QStringList clipped;
            // Every length of folder, of wide and narrow letters: the
            // shortened text is measured whole, not letter by letter.
            if (pass == 0) {
                const QString chosen = sysSetValue.EQ_save_file_path;
                for (const QString& folder : { chosen, QString(200, 'W'), QString(200, 'i'),
                         QString::fromUtf8("/导出/Wi.fj/") + QString(190, 'A') }) {
                    for (int length = 1; length <= folder.size(); ++length) {
                        showElidedInMiddle(s->ui->label_PATH, folder.left(length));
                        clipped << testsupport::clippedTexts(s.get()).filter("label_PATH");
                    }
                }
                showElidedInMiddle(s->ui->label_PATH, chosen);
            }
            clipped << testsupport::clippedTexts(s.get());
            QString missing = missingGlyphs(s.get());
            const std::function<void()> states[] = {
                [u] { u->ConnectFailedUI("V1.16"); },
                [u] { u->NoupdateUI("V1.16"); },
                [u] { u->installUnavailableUI("V1.16"); },
                [u] { u->updateUI("V1.16", "V10.100", QString(), QString()); },
                // The widest progress line: every figure at its longest.
                [u] { u->onDownloadProgress(1073741823, 1073741823); },
            };
            for (const auto& state : states) {
                state();
                clipped << testsupport::clippedTexts(u);
                missing += missingGlyphs(u);
                // Widened to its text, a status line still ends inside the window.
                for (QLabel* line : { u->label_Version, u->label_UpVersion })
                    if (!u->rect().contains(line->geometry()))
                        clipped << line->text() + " leaves the window";
            }
            QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join("\n")));
            QVERIFY2(missing.isEmpty(), qPrintable("not in the font: " + missing));

            ModalAnswers answers;
            answers.file(longFolder(QStringLiteral("chosen %1").arg(pass)));
            QTest::mouseClick(s->ui->UpdataSave, Qt::LeftButton);
            QCOMPARE(answers.pending(), 0);
            expectFolderShown(*s, longFolder(QStringLiteral("chosen %1").arg(pass)));
            if (QTest::currentTestFailed())
                return;
            s->ui->comboBox->setCurrentIndex(1 - s->ui->comboBox->currentIndex());
        }
        QCOMPARE(sysSetValue.Language, language);
    }

    void texts_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QStringList>("expected"); // in the order of `names` below
        QTest::newRow("English")
            << 1
            << QStringList { "System Setting",
                   "Language selection:", "EQ Export File Directory:", "Change", "Power-up AutoRun",
                   "Filtered FR alignment", "Follow Pre:", "Enable",
                   "Close the main panel:", "Minimize to tray without exiting", "Exit program",
                   "Version Information", "High sampling rate mute", "Check Update", "Official Web",
                   "Save Changes", "Device Model:  ...", "Device software version:  Vx.xx",
                   "Device hardware version:  Vx.xx", "QUORVEL Vesk current version: V1.16" };
        const QStringList chinese { "系统设置", "语言选择:", "EQ导出文件存储目录:", "更改目录",
            "开机自动运行", "Filtered FR 对齐", "跟随前级：", "启用",
            "关闭主面板:", "最小化到托盘, 不退出程序", "退出程序", "版本信息", "高采样率静音",
            "检查更新", "官网", "保存设置", "设备型号:  ...", "设备软件版本:  Vx.xx",
            "设备硬件版本:  Vx.xx", "QUORVEL Vesk 当前版本: V1.16" };
        QTest::newRow("Chinese") << 0 << chinese;
        // Other values leave the texts the form was built with.
        QStringList untouched = chinese;
        untouched.last() = "QUORVEL Vesk 当前版本: ";
        QTest::newRow("Language 2") << 2 << untouched;
    }
    void texts()
    {
        QFETCH(int, language);
        QFETCH(QStringList, expected);
        sysSetValue.Language = language;
        status_bar_value.device_model = language == 1 ? "Device" : QString::fromUtf8("机型");
        status_bar_value.software_version = status_bar_value.hardware_version = "x.xx";
        auto s = makeWindow();
        const char* names[] = { "label_Head1", "label_language", "label_dir", "UpdataSave",
            "checkBox_firing", "checkBox_Filrtered", "followPreLabel", "followEnablecheckBox",
            "label_close", "radioButton_close1", "radioButton_close2", "label_Head3",
            "checkBox_mute", "pushButton_check", "pushButton_net", "pushButton_Reset",
            "label_dev_model", "label_dev_softversion", "label_dev_hardversion", "label_Version" };
        QStringList got;
        for (const char* n : names)
            got << text(*s, n);
        QCOMPARE(got, expected);
        QCOMPARE(s->ui->comboBox->itemText(0), QString::fromUtf8("简体中文"));
    }

    void deviceLines_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("model");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("English, device")
            << 1 << "Vantor 3"
            << QStringList { "Device Model:  Vantor 3", "Device software version:  V1.25",
                   "Device hardware version:  V2.00" };
        QTest::newRow("Chinese, device") << 0 << "Vantor 3"
                                         << QStringList { "设备型号:  Vantor 3",
                                                "设备软件版本:  V1.25", "设备硬件版本:  V2.00" };
        // The placeholder of the other language is a model name like any other.
        QTest::newRow("English, Chinese placeholder")
            << 1 << "机型"
            << QStringList { "Device Model:  机型", "Device software version:  V1.25",
                   "Device hardware version:  V2.00" };
        QTest::newRow("Chinese placeholder")
            << 0 << "机型"
            << QStringList { "设备型号:  ...", "设备软件版本:  V1.25", "设备硬件版本:  V2.00" };
    }
    void deviceLines()
    {
        QFETCH(int, language);
        QFETCH(QString, model);
        QFETCH(QStringList, lines);
        sysSetValue.Language = language;
        auto s = makeWindow();
        status_bar_value.device_model = model;
        status_bar_value.software_version = "1.25";
        status_bar_value.hardware_version = "2.00";
        s->Updata_ALL();
        QCOMPARE((QStringList { s->modelLabel()->text(), s->softwareLabel()->text(),
                     s->hardwareLabel()->text() }),
            lines);

        // Language 2 leaves every line as it was.
        sysSetValue.Language = 2;
        status_bar_value.device_model = "Other";
        s->Updata_ALL();
        QCOMPARE(s->modelLabel()->text(), lines[0]);
    }

    // What each control writes, whether the file is rewritten at once, and the
    // signal it sends.
    void controls_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<bool>("rewritesFile");
        QTest::newRow("Power-up AutoRun") << "checkBox_firing" << true;
        QTest::newRow("Filtered FR alignment") << "checkBox_Filrtered" << true;
        QTest::newRow("High sampling rate mute") << "checkBox_mute" << false;
        QTest::newRow("Follow Pre") << "followEnablecheckBox" << false;
        QTest::newRow("Exit program") << "radioButton_close2" << true;
        QTest::newRow("Minimize to tray") << "radioButton_close1" << true;
    }
    void controls()
    {
        QFETCH(QString, control);
        QFETCH(bool, rewritesFile);
        sysSetValue.Auto_run = false;
        sysSetValue.CloseBehavior = control == "radioButton_close1";
        Config_update();
        auto s = makeWindow();
        s->recive_mute(0); // the device offers the mute option
        s->show();
        QSignalSpy autoRun(s.get(), &SystemSetting::auto_run_changed);
        QSignalSpy filtered(s.get(), &SystemSetting::update_Filtered_FR);
        QSignalSpy mute(s.get(), &SystemSetting::update_Mute);
        QSignalSpy follow(s.get(), &SystemSetting::sigFollowPreClicked);
        QSignalSpy language(s.get(), &SystemSetting::language_changed);
        const SysSetInfo before = sysSetValue;
        writeFile(settingsFilePath(), kUntouched);

        auto* button = s->findChild<QAbstractButton*>(control);
        QVERIFY(button);
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));

        const SysSetInfo& now = sysSetValue;
        QCOMPARE(now.Auto_run, control == "checkBox_firing" ? true : before.Auto_run);
        QCOMPARE(now.Filtered_FR_alignment,
            control == "checkBox_Filrtered" ? !before.Filtered_FR_alignment
                                            : before.Filtered_FR_alignment);
        QCOMPARE(now.High_sampling_rate_mute, control == "checkBox_mute");
        QCOMPARE(now.CloseBehavior, control == "radioButton_close2");
        // Follow Pre is only announced; the main window stores it.
        QCOMPARE(now.FollowPre, before.FollowPre);

        QCOMPARE(autoRun.size(), control == "checkBox_firing" ? 1 : 0);
        if (!autoRun.isEmpty())
            QCOMPARE(autoRun[0][0].toBool(), true);
        QCOMPARE(filtered.size(), control == "checkBox_Filrtered" ? 1 : 0);
        QCOMPARE(mute.size(), control == "checkBox_mute" ? 1 : 0);
        if (!mute.isEmpty())
            QCOMPARE(mute[0][0].toBool(), true);
        QCOMPARE(follow.size(), control == "followEnablecheckBox" ? 1 : 0);
        if (!follow.isEmpty())
            QCOMPARE(follow[0][0].toBool(), !before.FollowPre);
        QCOMPARE(language.size(), 0);

        const QByteArray file = readFile(settingsFilePath());
        if (rewritesFile)
            QCOMPARE(file, Config_write());
        else
            QCOMPARE(file, QByteArray(kUntouched));
    }

    void languageComboSwitchesAndStores()
    {
        sysSetValue.Language = 0;
        Config_update();
        auto s = makeWindow();
        QCOMPARE(s->ui->comboBox->currentIndex(), 0);
        QSignalSpy changed(s.get(), &SystemSetting::language_changed);
        s->ui->comboBox->setCurrentIndex(1);
        QCOMPARE(changed.size(), 1);
        QCOMPARE(sysSetValue.Language, 1);
        QVERIFY(readFile(settingsFilePath()).contains("\"Language\": 1"));
        QCOMPARE(s->ui->pushButton_Reset->text(), QString("Save Changes"));
        QCOMPARE(s->ui->label_Version->text(), QString("QUORVEL Vesk current version: V1.16"));
        s->ui->comboBox->setCurrentIndex(0);
        QCOMPARE(changed.size(), 2);
        QCOMPARE(s->ui->pushButton_Reset->text(), QString::fromUtf8("保存设置"));
    }

    // Building the window stores nothing, whatever the file holds; a language
    // the list does not offer is kept (the list would have stored -1).
    void constructionKeepsTheFile_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<int>("index");
        QTest::newRow("Chinese") << 0 << 0;
        QTest::newRow("English") << 1 << 1;
        QTest::newRow("Language 2") << 2 << 0;
        QTest::newRow("Language -1") << -1 << 0;
    }
    void constructionKeepsTheFile()
    {
        QFETCH(int, language);
        QFETCH(int, index);
        sysSetValue.Language = language;
        writeFile(settingsFilePath(), kUntouched);
        auto s = makeWindow();
        QCOMPARE(readFile(settingsFilePath()), QByteArray(kUntouched));
        QCOMPARE(sysSetValue.Language, language);
        QCOMPARE(s->ui->comboBox->currentIndex(), index);
    }

    void boxesFollowTheRecord()
    {
        sysSetValue.Auto_run = false;
        sysSetValue.Filtered_FR_alignment = true;
        sysSetValue.High_sampling_rate_mute = true;
        sysSetValue.FollowPre = true;
        sysSetValue.CloseBehavior = true;
        sysSetValue.EQ_save_file_path = "/data/eq exports";
        auto s = makeWindow();
        QVERIFY(!s->ui->checkBox_firing->isChecked());
        QVERIFY(s->ui->checkBox_Filrtered->isChecked());
        QVERIFY(s->ui->checkBox_mute->isChecked());
        QVERIFY(s->ui->followEnablecheckBox->isChecked());
        QVERIFY(s->ui->radioButton_close2->isChecked());
        QVERIFY(!s->ui->radioButton_close1->isChecked());
        QCOMPARE(s->ui->label_PATH->text(), QString("/data/eq exports"));
        QCOMPARE(s->runningVersion(), QString("V1.16"));
    }

    void directoryChooser()
    {
        auto s = makeWindow();
        const QString old = sysSetValue.EQ_save_file_path;
        ModalAnswers answers;
        answers.file(""); // Cancel
        writeFile(settingsFilePath(), kUntouched);
        QTest::mouseClick(s->ui->UpdataSave, Qt::LeftButton);
        QCOMPARE(answers.pending(), 0);
        QCOMPARE(answers.shown.size(), 1);
        QCOMPARE(answers.shown[0].title, QString::fromUtf8("选择目录"));
        QCOMPARE(answers.shown[0].text, QDir::homePath());
        QCOMPARE(sysSetValue.EQ_save_file_path, old);
        QCOMPARE(readFile(settingsFilePath()), QByteArray(kUntouched));

        const QString chosen = dir->path() + QString::fromUtf8("/导出 files");
        answers.file(chosen);
        QTest::mouseClick(s->ui->UpdataSave, Qt::LeftButton);
        QCOMPARE(answers.pending(), 0);
        QCOMPARE(sysSetValue.EQ_save_file_path, chosen);
        QCOMPARE(s->ui->label_PATH->toolTip(), chosen);
        QCOMPARE(readFile(settingsFilePath()), Config_write());
    }

    // A folder whose name looks like markup is shown as it is named, in the
    // label and in its tooltip.
    void folderNamedLikeMarkup()
    {
        const QString path = "/home/u/<b>bold</b>  &amp; <i>co</i>";
        sysSetValue.EQ_save_file_path = path;
        auto s = makeWindow();
        QLabel* label = s->ui->label_PATH;
        QCOMPARE(label->text(), path);
        QCOMPARE(label->textFormat(), Qt::PlainText);
        // The tooltip is drawn as markup exactly when it looks like markup.
        QString tip = label->toolTip();
        if (Qt::mightBeRichText(tip)) {
            QTextDocument drawn;
            drawn.setHtml(tip);
            tip = drawn.toPlainText();
        }
        QCOMPARE(tip, path);
    }

    void languageLock()
    {
        auto s = makeWindow();
        QComboBox* combo = s->ui->comboBox;
        const QString rule = SettingsSheet::languageComboDisabled;
        s->change_language(false);
        s->change_language(false);
        QVERIFY(!combo->isEnabled());
        QCOMPARE(combo->styleSheet().count(rule), 1);
        QCOMPARE(combo->styleSheet(), QString(SettingsSheet::languageCombo) + rule);
        // Greyed means no change by the user.
        s->show();
        QTest::keyClick(combo, Qt::Key_Up);
        QCOMPARE(combo->currentIndex(), 1);
        s->change_language(true);
        QVERIFY(combo->isEnabled());
        QCOMPARE(combo->styleSheet().count(rule), 1);
    }

    void muteBoxFromTheDevice()
    {
        auto s = makeWindow();
        QSignalSpy mute(s.get(), &SystemSetting::update_Mute);
        writeFile(settingsFilePath(), kUntouched);
        s->recive_mute(1);
        QVERIFY(!s->muteCheckBox()->isHidden());
        QVERIFY(s->muteCheckBox()->isChecked());
        s->recive_mute(-1); // unplugged
        QVERIFY(s->muteCheckBox()->isHidden());
        QVERIFY(!s->muteCheckBox()->isChecked());
        QCOMPARE(mute.size(), 0);
        QCOMPARE(sysSetValue.High_sampling_rate_mute, false);
        QCOMPARE(readFile(settingsFilePath()), QByteArray(kUntouched));
    }

    void officialWeb_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("url"); // empty: nothing opened
        QTest::newRow("English") << 1 << QString(kOfficialWebEnglish);
        QTest::newRow("Chinese") << 0 << QString(kOfficialWebChinese);
        QTest::newRow("Language 2") << 2 << QString();
    }
    void officialWeb()
    {
        QFETCH(int, language);
        QFETCH(QString, url);
        UrlRecorder recorder;
        QDesktopServices::setUrlHandler("https", &recorder, "open");
        sysSetValue.Language = language;
        auto s = makeWindow();
        QTest::mouseClick(s->ui->pushButton_net, Qt::LeftButton);
        QDesktopServices::unsetUrlHandler("https");
        QCOMPARE(recorder.urls.size(), url.isEmpty() ? 0 : 1);
        if (!url.isEmpty()) {
            QCOMPARE(recorder.urls[0], QUrl(url));
            if (language == 0)
                QCOMPARE(recorder.urls[0].path(), QString("/zh/quorvel"));
        }
    }

    void saveChangesOnlyCloses()
    {
        auto s = makeWindow();
        s->show();
        QTest::mouseClick(s->ui->checkBox_Filrtered, Qt::LeftButton, {}, QPoint(8, 15));
        const QByteArray afterChange = readFile(settingsFilePath());
        QTest::mouseClick(s->ui->pushButton_Reset, Qt::LeftButton);
        QVERIFY(!s->isVisible());
        QCOMPARE(readFile(settingsFilePath()), afterChange);
        QVERIFY(afterChange.contains("\"Filtered_FR_alignment\": true"));
    }

    // Both windows open centred on their parent: the settings window at every
    // showing, the update window from its second showing on.
    void centredOnParent()
    {
        QWidget parent;
        parent.setGeometry(200, 100, 1001, 701);
        parent.show();
        auto* s = new SystemSetting(&parent);
        s->setWindowFlags(s->windowFlags() | Qt::Dialog);
        const QRect p = parent.geometry();
        auto centred = [&p](const QWidget* w) {
            return QPoint((p.left() + p.right()) / 2 - (w->width() - 1) / 2,
                (p.top() + p.bottom()) / 2 - (w->height() - 1) / 2);
        };
        s->show();
        QTRY_COMPARE(s->pos(), centred(s));
        s->hide();
        s->move(0, 0);
        s->show();
        QTRY_COMPARE(s->pos(), centred(s));

        CHECKUPDATA* u = s->updateWindow();
        u->move(7, 9);
        u->show();
        for (int i = 0; i < 5; ++i)
            QCoreApplication::processEvents();
        QCOMPARE(u->pos(), QPoint(7, 9)); // the first showing is left to the window system
        u->hide();
        u->show();
        QTRY_COMPARE(u->pos(),
            QPoint((s->geometry().left() + s->geometry().right()) / 2 - (u->width() - 1) / 2,
                (s->geometry().top() + s->geometry().bottom()) / 2 - (u->height() - 1) / 2));
        // Closing the update window only hides it.
        QVERIFY(u->close() == false);
        QVERIFY(u->isHidden());
        QVERIFY(!s->findChildren<CHECKUPDATA*>().isEmpty());
    }

    // In the program: the language combo switches the main window too, the
    // mute box starts hidden until the device reports, and a long export
    // folder fits its place.
    void mainWindowFollowsTheLanguage()
    {
        sysSetValue.Language = 0;
        sysSetValue.EQ_save_file_path = longFolder("main");
        Config_update();
        auto w = std::make_unique<MainWindow>();
        QCOMPARE(
            internals(*w).ui->PButton_Set_2->toolTip(), QString::fromUtf8("保存当前配置(Ctrl+S)"));
        QVERIFY(systemset->muteCheckBox()->isHidden());
        systemset->ui->comboBox->setCurrentIndex(1);
        QCOMPARE(internals(*w).ui->PButton_Set_2->toolTip(), QString("Save curren config(Ctrl+S)"));
        QCOMPARE(systemset->ui->label_Head1->text(), QString("System Setting"));
        QVERIFY(readFile(settingsFilePath()).contains("\"Language\": 1"));

        // The settings button titles the window and refreshes its lines.
        w->on_PButton_Set_clicked();
        QCOMPARE(systemset->windowTitle(), QString("SystemSetting"));
        QVERIFY(systemset->isVisible());
        // Styled by the main window too, the folder still fits its place.
        expectFolderShown(*systemset, longFolder("main"));
        QTest::mouseClick(systemset->ui->followEnablecheckBox, Qt::LeftButton, {}, QPoint(8, 15));
        QCOMPARE(sysSetValue.FollowPre, true);
        systemset->hide();
    }
};

int main(int argc, char* argv[])
{
    // As the program starts: a point is one pixel.
    qputenv("QT_FONT_DPI", "72");
    MacApplication app(argc, argv);
    TestSettings test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "test_settings.moc"
