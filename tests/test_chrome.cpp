// Window chrome, tray, close rules, login item at start and the language switch
// of a real main window on the offscreen platform.

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QProcess>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <csignal>
#include <functional>
#include <memory>
#include <unistd.h>

#include "app/login_item.h"
#include "app/macapplication.h"
#include "app/mainwindow.h"
#include "window_internals.h"
#include "app/mainwindow_ui.h"
#include "app/status_labels.h"
#include "device/device_state.h"
#include "io/io_state.h"
#include "app/system_quit.h"
#include "deadlines.h"
#include "settings/systemsetting.h"
#include "store/paths.h"
#include "store/settings.h"
#include "widgets/customcontrols.h"
#include "widgets/framelesshelper.h"
#include "widgets/resources.h"

namespace {

const QString kSentinel = QStringLiteral("untouched");

constexpr int kStillRunning = 42;

// Runs the application's own event loop around `action` and returns the code
// the loop ended with, or kStillRunning when it was still running `guardMs`
// after the action.
int runAppLoop(const std::function<void()>& action, int guardMs)
{
    // Owned here, so a guard left over never ends a later test's loop.
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(kStillRunning); });
    QTimer::singleShot(0, &guard, [&] {
        action();
        guard.start(guardMs);
    });
    return QCoreApplication::exec();
}

// Nothing should end the loop; a short look is enough to see it go on.
int loopAfter(const std::function<void()>& action) { return runAppLoop(action, 100); }

// The loop must end through the quit path with code 0. That path (self-pipe,
// close, quit hook, thread joins) takes its time in a sanitizer build on a
// busy machine, so the guard is a deadline, not a measure.
#define QVERIFY_LOOP_QUITS(...)                                                                    \
    do {                                                                                           \
        const int code = runAppLoop(__VA_ARGS__, testsupport::kDeadlineMs);                        \
        QVERIFY2(code != kStillRunning, "the event loop did not end");                             \
        QCOMPARE(code, 0);                                                                         \
    } while (false)

QStringList actionTexts(const QMenu* menu)
{
    QStringList out;
    for (const QAction* a : menu->actions())
        out << a->text();
    return out;
}

QString pickerSheet(const QString& name, const QString& colour)
{
    const QString id = "#" + name;
    return id + "{font-family: \"微软雅黑\";font-size: 14px;color: " + colour
        + ";border-radius: 14px;background: #000000;padding-left: 12px;padding-right: 12px;"
          "border: 2px solid rgb(56,56,56);}\n"
        + id + " QAbstractItemView{border: none;}\n" + id
        + "::drop-down{right: 6px;border: none;}\n" + id
        + "::down-arrow:on{width: 12px;height: 12px;"
          "border-image: url(:ThirdPartyResources/images/ArrowUpBold.png);}\n"
        + id
        + "::down-arrow{width: 12px;height: 12px;"
          "border-image: url(:ThirdPartyResources/images/ArrowDownBold.png);}";
}

const char* const kMaximiseHover = "QPushButton{image: url(:ThirdPartyResources/images/big.png);}"
                                   "QPushButton:hover{border: 2px solid gray;border-radius: 5px;}";
const char* const kRestoreHover = "QPushButton{image: url(:ThirdPartyResources/images/small.png);}"
                                  "QPushButton:hover{border: 2px solid gray;border-radius: 5px;}";
const char* const kMaximisePlain = "QPushButton{image: url(:ThirdPartyResources/images/big.png);}";
const char* const kRestorePlain = "QPushButton{image: url(:ThirdPartyResources/images/small.png);}";

// The frameless helper filters every mouse event of the window, so the
// window's own handlers are reached directly, past the event filters.
void sendMouse(
    QWidget* w, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons buttons, QPoint global)
{
    QMouseEvent e(
        type, QPointF(w->mapFromGlobal(global)), QPointF(global), button, buttons, Qt::NoModifier);
    static_cast<QObject*>(w)->event(&e);
}

} // namespace

class TestChrome : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    std::unique_ptr<MainWindow> w;
    MainWindowInternals in() const { return internals(*w); }

    MacApplication* app() const
    {
        return static_cast<MacApplication*>(QCoreApplication::instance());
    }

    // Step-2 texts of the window, in a fixed order.
    QStringList windowTexts() const
    {
        const MainWindowUi& u = *in().ui;
        QStringList t;
        t << actionTexts(in().menu_Import) << actionTexts(in().menu_Export)
          << actionTexts(in().menu_Help);
        for (const QToolButton* b : { u.toolButton, u.toolButton_2, u.toolButton_3 })
            t << b->toolTip() << b->text();
        t << u.label_40->text() << u.label_41->text();
        t << u.checkBox_target->text() << u.checkBox_frequency->text() << u.checkBox_each->text()
          << u.checkBox_EQ->text() << u.checkBox_combined->text() << u.checkBox_open->text();
        t << u.label_2->text() << u.label_3->text();
        t << u.comboBox->currentText() << u.comboBox_2->currentText();
        t << in().action_Show->text() << in().action_Exit->text();
        return t;
    }

    // Texts of every band row, one entry per row.
    QStringList rowTexts() const
    {
        QStringList rows;
        for (const BandRowDescriptor& row : bandRowDescriptors()) {
            QStringList r;
            const QComboBox* type = row.typeCombo.of(*in().ui);
            for (int i = 0; i < type->count(); ++i)
                r << type->itemText(i);
            const QComboBox* caption = row.freqLabelCombo.of(*in().ui);
            for (int i = 0; i < caption->count(); ++i)
                r << caption->itemText(i);
            r << row.gainLabel.of(*in().ui)->text() << row.qLabel.of(*in().ui)->text();
            rows << r.join('|');
        }
        return rows;
    }

    void setRecord(const QStringList& v) // audio code, sample rate, model, connection
    {
        status_bar_value.audio_code = v[0];
        status_bar_value.sample_rate = v[1];
        status_bar_value.device_model = v[2];
        status_bar_value.connect_state = v[3];
    }

    void markUntouched()
    {
        for (QLabel* l :
            { statusLabel1, statusLabel2, statusLabel4, statusLabel5, statusLabel6, statusLabel7 })
            l->setText(kSentinel);
        systemset->setWindowTitle(kSentinel);
        in().ui->PButton_Set_2->setToolTip(kSentinel);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        setAppDataDirForTesting(dir.path());
        initResources();
        w = std::make_unique<MainWindow>();
        // The pickers take free text (their setup makes them editable); make
        // sure of it so the placeholder texts can be read back.
        in().ui->comboBox->setEditable(true);
        in().ui->comboBox_2->setEditable(true);
        if (!in().label_PEQMode)
            in().label_PEQMode = new QLabel(QStringLiteral("PEQ Mode:"), w.get());
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    }

    void cleanupTestCase()
    {
        w.reset();
        setAppDataDirForTesting(QString());
    }

    void init()
    {
        sysSetValue.CloseBehavior = false;
        app()->setSystemQuitRequested(false);
        fre_show_sign = false;
        tar_show_sign = false;
        in().Compensated_show = false;
        in().local_config_inactive = false;
        status_bar_value.eq_max = 10;
        status_bar_value.device_eq_status = 193;
        w->showNormal();
    }

    // ---- Login item at start ----

    void startWritesLoginItem()
    {
        // The stored setting is on by default: construction wrote the agent file
        // and, beside it, the desktop's autostart entry.
        const QString program = QCoreApplication::applicationDirPath() + "/QuorvelVesk";
        const QString file = QDir::homePath() + "/Library/LaunchAgents/com.QuorvelVesk.plist";
        const QString entry = login_item::autostartEntryPath(
            QDir::homePath(), qEnvironmentVariable("XDG_CONFIG_HOME"));
        const auto readAll = [](const QString& path) {
            QFile f(path);
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        };
        const QByteArray plist = login_item::agentFileText(program, login_item::loginUserName());
        QCOMPARE(readAll(file), plist);
        QCOMPARE(readAll(entry), login_item::autostartEntryText(program));

        w->AutomaticStartup(false);
        QVERIFY(!QFile::exists(file));
        QVERIFY(!QFile::exists(entry));
        w->AutomaticStartup(true);
        QCOMPARE(readAll(file), plist);
        QCOMPARE(readAll(entry), login_item::autostartEntryText(program));
    }

    // ---- Language switch ----

    void texts_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<bool>("connected");
        QTest::addColumn<QStringList>("record"); // before the switch
        QTest::addColumn<QStringList>("recordAfter");
        // statusLabel1, 2, 4, 5, 6, 7, settings title, save-button tooltip
        QTest::addColumn<QStringList>("status");

        const QStringList offEn { "Audio Code", "Sample", "Device", "Disconnected" };
        const QStringList offZh { "音频编码", "采样率", "机型", "未连接" };
        const QString u = kSentinel;
        QTest::newRow("English, disconnected")
            << 1 << false << offZh << offEn
            << QStringList { "   Audio Code   ", "   Sample   ", "   Device   ",
                   "   Disconnected   ", "   EQ Max NUM:10   ", u, "SystemSetting",
                   "Save curren config(Ctrl+S)" };
        QTest::newRow("Chinese, disconnected")
            << 0 << false << offEn << offZh
            << QStringList { "   音频编码   ", "   采样率   ", "   机型   ", "   未连接   ",
                   "   EQ最大支持段数:10   ", u, "系统设置", "保存当前配置(Ctrl+S)" };
        QTest::newRow("other value, disconnected")
            << 2 << false << offZh << offZh
            << QStringList { "   音频编码   ", "   采样率   ", "   机型   ", "   未连接   ", u, u,
                   u, u };

        // Connected: the device's rate and format stay in the record.
        QTest::newRow("English, connected")
            << 1 << true << QStringList { "PCM", "96kHz", "X1", "已连接" }
            << QStringList { "PCM", "96kHz", "X1", "Connected" }
            << QStringList { u, u, u, "   Connected   ", "   EQ Max NUM:10   ", "   DeviceEQ:ON   ",
                   "SystemSetting", "Save curren config(Ctrl+S)" };
        QTest::newRow("Chinese, connected")
            << 0 << true << QStringList { "DSD", "DSD64", "X1", "Connected" }
            << QStringList { "DSD", "DSD64", "X1", "已连接" }
            << QStringList { u, u, u, "   已连接   ", "   EQ最大支持段数:10   ", "   设备EQ:开   ",
                   "系统设置", "保存当前配置(Ctrl+S)" };
        QTest::newRow("other value, connected")
            << 2 << true << QStringList { "PCM", "48kHz", "X1", "Connected" }
            << QStringList { "PCM", "48kHz", "X1", "Connected" }
            << QStringList { u, u, u, "   Connected   ", u, u, u, u };
    }
    void texts()
    {
        QFETCH(int, language);
        QFETCH(QStringList, record);
        QFETCH(QStringList, recordAfter);
        QFETCH(QStringList, status);

        setRecord(record);
        markUntouched();
        sysSetValue.Language = language;
        w->Language_Change_UI();

        const QStringList en { "Target", "SourceFR", "Import Filters", "Export filter FR",
            "Export filters", "Reference Guide", "Problem feedback", "Import", "Import", "Export",
            "Export", "Help", "Help", "Target:", "SourceFR:", "Target", "Source FR", "Each Filter",
            "Combined Filter", "Filtered FR", "Raw", "Preamplification", "Gain:", "Source FR",
            "Target", "Show", "Exit" };
        const QStringList zh { "导入目标曲线", "导入源频响曲线", "导入滤波参数", "导出频响曲线",
            "导出滤波参数", "使用指南", "问题反馈", "导入", "    导入    ", "导出", "    导出    ",
            "帮助", "    帮助    ", "     目标:", "      源频响:", "目标", "源频响", "每个滤波",
            "合并滤波", "滤波后频响", "原始", "前级", "增益:", "源频响", "目标", "显示", "退出" };
        QCOMPARE(windowTexts(), language == 1 ? en : zh);

        const QString enRow
            = "Peaking filter|Low-pass filter|High-pass filter|Low-shelf filter|High-shelf filter|"
              "Center frequency|Corner frequency|Gain:|Q factor:";
        const QString zhRow
            = "峰值滤波|低通滤波|高通滤波|低滤搁架|高滤搁架|中心频率|拐点频率|增益:|Q值:";
        QCOMPARE(rowTexts(), QStringList(11, language == 1 ? enRow : zhRow));

        QCOMPARE((QStringList { status_bar_value.audio_code, status_bar_value.sample_rate,
                     status_bar_value.device_model, status_bar_value.connect_state }),
            recordAfter);
        QCOMPARE((QStringList { statusLabel1->text(), statusLabel2->text(), statusLabel4->text(),
                     statusLabel5->text(), statusLabel6->text(), statusLabel7->text(),
                     systemset->windowTitle(), in().ui->PButton_Set_2->toolTip() }),
            status);
    }

    void switchingBackAndForth()
    {
        setRecord({ "Audio Code", "Sample", "Device", "Disconnected" });
        QMenu* trayMenu = w->findChild<QSystemTrayIcon*>()->contextMenu();
        for (int i = 0; i < 8; ++i) {
            sysSetValue.Language = i % 2;
            w->Language_Change_UI();
        }
        // Ends on English; every menu holds exactly its one set of actions.
        QCOMPARE(actionTexts(in().menu_Import),
            (QStringList { "Target", "SourceFR", "Import Filters" }));
        QCOMPARE(
            actionTexts(in().menu_Export), (QStringList { "Export filter FR", "Export filters" }));
        QCOMPARE(
            actionTexts(in().menu_Help), (QStringList { "Reference Guide", "Problem feedback" }));
        // The old actions are gone, not just taken out (the menu's own action aside).
        for (QMenu* m : { in().menu_Import, in().menu_Export, in().menu_Help }) {
            QList<QAction*> owned = m->findChildren<QAction*>(Qt::FindDirectChildrenOnly);
            owned.removeOne(m->menuAction());
            QCOMPARE(owned, m->actions());
        }
        QCOMPARE(actionTexts(trayMenu), (QStringList { "Show", "Exit" }));
        QCOMPARE(statusLabel5->text(), QString("   Disconnected   "));

        // The import menu's handler still recognises what the menu now holds.
        sysSetValue.Language = 0;
        w->Language_Change_UI();
        QCOMPARE(actionTexts(in().menu_Import),
            (QStringList { "导入目标曲线", "导入源频响曲线", "导入滤波参数" }));
        QCOMPARE(actionTexts(trayMenu), (QStringList { "显示", "退出" }));
    }

    void localConfigHint_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("hint");
        QTest::newRow("0") << 0 << "   本地配置不生效，如需应用可右键导入至用户配置   ";
        QTest::newRow("1") << 1 << "Local config is inactive. Right-click to import to User Config";
        QTest::newRow("2") << 2 << "Local config is inactive. Right-click to import to User Config";
    }
    void localConfigHint()
    {
        QFETCH(int, language);
        QFETCH(QString, hint);
        for (const char* state : { "Disconnected", "Connected" }) {
            setRecord({ "PCM", "48kHz", "X1", state });
            in().local_config_inactive = true;
            sysSetValue.Language = language;
            w->Language_Change_UI();
            QCOMPARE(statusLabel6->text(), hint);
        }
    }

    void curveSwitchAndPickers_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<bool>("compensated");
        QTest::addColumn<QString>("switchText");
        QTest::newRow("en raw") << 1 << false << "Raw";
        QTest::newRow("en compensated") << 1 << true << "Compensated";
        QTest::newRow("zh raw") << 0 << false << "原始";
        QTest::newRow("zh compensated") << 0 << true << "补偿";
    }
    void curveSwitchAndPickers()
    {
        QFETCH(int, language);
        QFETCH(bool, compensated);
        QFETCH(QString, switchText);
        setRecord({ "Audio Code", "Sample", "Device", "Disconnected" });
        sysSetValue.Language = language;
        in().Compensated_show = compensated;

        // No curve chosen: grey placeholder sheet and the language's text.
        w->Language_Change_UI();
        QCOMPARE(in().ui->checkBox_open->text(), switchText);
        QCOMPARE(in().ui->comboBox->styleSheet(), pickerSheet("comboBox", "#808080"));
        QCOMPARE(in().ui->comboBox_2->styleSheet(), pickerSheet("comboBox_2", "#808080"));

        // A chosen curve keeps its text and sheet.
        fre_show_sign = tar_show_sign = true;
        const QString chosen = pickerSheet("comboBox", "#FFFFFF");
        in().ui->comboBox->setStyleSheet(chosen);
        in().ui->comboBox->setCurrentText("curve.csv");
        in().ui->comboBox_2->setCurrentText("target.csv");
        w->Language_Change_UI();
        QCOMPARE(in().ui->comboBox->styleSheet(), chosen);
        QCOMPARE(in().ui->comboBox->currentText(), QString("curve.csv"));
        QCOMPARE(in().ui->comboBox_2->currentText(), QString("target.csv"));
    }

    void deviceEqStep_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("text");
        // shown after the switch: mode box, channel switch, caption; channel switch checked
        QTest::addColumn<QList<bool>>("shown");
        QTest::newRow("0") << 1 << 0 << "L/R"
                           << "   DeviceEQ:OFF   " << QList<bool> { false, false, false, true };
        QTest::newRow("128 L/R") << 1 << 128 << "L/R"
                                 << "    DeviceEQ:OFF   " << QList<bool> { true, true, true, true };
        QTest::newRow("128 L+R") << 1 << 128 << "L+R"
                                 << "    DeviceEQ:OFF   "
                                 << QList<bool> { true, false, true, false };
        QTest::newRow("129 L/R") << 1 << 129 << "L/R"
                                 << "   DeviceEQ:ON   " << QList<bool> { true, true, true, true };
        QTest::newRow("129 L+R zh")
            << 0 << 129 << "L+R"
            << "   设备EQ:开   " << QList<bool> { true, false, true, false };
        QTest::newRow("128 zh") << 0 << 128 << "L/R"
                                << "   设备EQ:关   " << QList<bool> { true, true, true, true };
        // Bit 6 picks the gain unit only: 193 and 192 are left/right devices too.
        const QList<bool> leftRight { true, true, true, true };
        const QList<bool> linked { true, false, true, false };
        QTest::newRow("193 L/R") << 1 << 193 << "L/R"
                                 << "   DeviceEQ:ON   " << leftRight;
        QTest::newRow("193 L+R") << 1 << 193 << "L+R"
                                 << "   DeviceEQ:ON   " << linked;
        QTest::newRow("193 L/R zh") << 0 << 193 << "L/R"
                                    << "   设备EQ:开   " << leftRight;
        QTest::newRow("193 L+R zh") << 0 << 193 << "L+R"
                                    << "   设备EQ:开   " << linked;
        QTest::newRow("192 L/R") << 1 << 192 << "L/R"
                                 << "    DeviceEQ:OFF   " << leftRight;
        QTest::newRow("192 L+R") << 1 << 192 << "L+R"
                                 << "    DeviceEQ:OFF   " << linked;
        QTest::newRow("192 L/R zh") << 0 << 192 << "L/R"
                                    << "   设备EQ:关   " << leftRight;
        QTest::newRow("192 L+R zh") << 0 << 192 << "L+R"
                                    << "   设备EQ:关   " << linked;
        // Any other code, 64 included (only the full 0 is OFF): ON, switch and
        // caption hidden, the mode box left as it was (shown).
        QTest::newRow("64") << 1 << 64 << "L/R"
                            << "   DeviceEQ:ON   " << QList<bool> { true, false, false, true };
        QTest::newRow("1") << 1 << 1 << "L/R"
                           << "   DeviceEQ:ON   " << QList<bool> { true, false, false, true };
    }
    void deviceEqStep()
    {
        QFETCH(int, language);
        QFETCH(int, code);
        QFETCH(QString, mode);
        QFETCH(QString, text);
        QFETCH(QList<bool>, shown);

        {
            const QSignalBlocker block(in().comboBox_PEQMode);
            in().comboBox_PEQMode->setCurrentText(mode);
        }
        in().comboBox_PEQMode->show();
        in().checkBox_channel->show();
        in().checkBox_channel->setChecked(true);
        in().label_PEQMode->show();
        setRecord({ "PCM", "48kHz", "X1", "Connected" });
        status_bar_value.device_eq_status = code;
        sysSetValue.Language = language;
        w->Language_Change_UI();

        QCOMPARE(statusLabel7->text(), text);
        QCOMPARE(
            (QList<bool> { !in().comboBox_PEQMode->isHidden(), !in().checkBox_channel->isHidden(),
                !in().label_PEQMode->isHidden(), in().checkBox_channel->isChecked() }),
            shown);

        // Another language value runs no device-EQ step at all.
        statusLabel7->setText(kSentinel);
        sysSetValue.Language = 2;
        w->Language_Change_UI();
        QCOMPARE(statusLabel7->text(), kSentinel);
    }

    // ---- Chrome ----

    void maximiseButtonSheets()
    {
        QPushButton* max = in().ui->PButton_Set_5;
        w->MaxUI_Updata(true);
        QCOMPARE(max->styleSheet(), QString(kRestoreHover));
        w->MaxUI_Updata(false);
        QCOMPARE(max->styleSheet(), QString(kMaximiseHover));

        // The button goes through the frameless helper, which reports back.
        QTest::mouseClick(max, Qt::LeftButton);
        QCOMPARE(max->styleSheet(), QString(kRestoreHover));
        QTest::mouseClick(max, Qt::LeftButton);
        QCOMPARE(max->styleSheet(), QString(kMaximiseHover));
    }

    // Maximised and restored by the window manager: the button shows it and
    // restores such a window; a minimise leaves the button alone.
    void maximiseButtonFollowsWindowManager()
    {
        QPushButton* max = in().ui->PButton_Set_5;
        w->setWindowState(Qt::WindowMaximized);
        QTRY_VERIFY(w->isMaximized());
        QCOMPARE(max->styleSheet(), QString(kRestoreHover));
        w->setWindowState(Qt::WindowMaximized | Qt::WindowMinimized);
        QCOMPARE(max->styleSheet(), QString(kRestoreHover));
        w->setWindowState(Qt::WindowMaximized);

        QTest::mouseClick(max, Qt::LeftButton);
        QTRY_VERIFY(!w->isMaximized());
        QVERIFY(!in().framelessHelper->isMax(w.get()));
        QCOMPARE(max->styleSheet(), QString(kMaximiseHover));
    }

    void minimiseButton()
    {
        QTest::mouseClick(in().ui->PButton_Set_4, Qt::LeftButton);
        QVERIFY(w->isMinimized());
    }

    void dragMovesNormalWindowOnly()
    {
        w->move(100, 100);
        const QPoint start = w->frameGeometry().topLeft();
        in().autosave_done = 1;
        sendMouse(w.get(), QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton,
            start + QPoint(30, 20));
        QCOMPARE(in().autosave_done, 0); // input counts as activity
        QCOMPARE(in().dragPosition, QPoint(30, 20));
        sendMouse(w.get(), QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, start + QPoint(80, 90));
        QCOMPARE(w->pos(), QPoint(150, 170));

        // Without the left button held nothing moves.
        sendMouse(
            w.get(), QEvent::MouseMove, Qt::NoButton, Qt::RightButton, start + QPoint(300, 300));
        QCOMPARE(w->pos(), QPoint(150, 170));

        w->showMaximized();
        const QPoint maxPos = w->pos();
        const QPoint before = in().dragPosition;
        sendMouse(w.get(), QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton,
            maxPos + QPoint(5, 5));
        QCOMPARE(in().dragPosition, before);
        sendMouse(
            w.get(), QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, maxPos + QPoint(200, 200));
        QCOMPARE(w->pos(), maxPos);
    }

    void doubleClickTogglesMaximised()
    {
        QPushButton* max = in().ui->PButton_Set_5;
        max->setStyleSheet(kSentinel);
        const QPoint at = w->mapToGlobal(QPoint(10, 10));
        sendMouse(w.get(), QEvent::MouseButtonDblClick, Qt::RightButton, Qt::RightButton, at);
        QVERIFY(!w->isMaximized());
        QCOMPARE(max->styleSheet(), kSentinel);

        sendMouse(w.get(), QEvent::MouseButtonDblClick, Qt::LeftButton, Qt::LeftButton, at);
        QVERIFY(w->isMaximized());
        QCOMPARE(max->styleSheet(), QString(kRestorePlain));

        sendMouse(w.get(), QEvent::MouseButtonDblClick, Qt::LeftButton, Qt::LeftButton, at);
        QVERIFY(!w->isMaximized());
        QCOMPARE(max->styleSheet(), QString(kMaximisePlain));
        QCOMPARE(in().dragPosition.y(), -300);
    }

    void ctrlS_data()
    {
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("clicks");
        QTest::newRow("Ctrl+S") << int(Qt::ControlModifier) << int(Qt::Key_S) << 1;
        QTest::newRow("Ctrl+Shift+S")
            << int(Qt::ControlModifier | Qt::ShiftModifier) << int(Qt::Key_S) << 0;
        QTest::newRow("S") << int(Qt::NoModifier) << int(Qt::Key_S) << 0;
        QTest::newRow("Ctrl+D") << int(Qt::ControlModifier) << int(Qt::Key_D) << 0;
    }
    void ctrlS()
    {
        QFETCH(int, modifiers);
        QFETCH(int, key);
        QFETCH(int, clicks);
        QVERIFY(in().saveButton);
        QSignalSpy spy(in().saveButton, &QPushButton::clicked);
        QTest::keyClick(w.get(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(spy.size(), clicks);
        // A held key repeats: every press clicks again.
        QKeyEvent repeat(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers), QString(), true);
        QCoreApplication::sendEvent(w.get(), &repeat);
        QCOMPARE(spy.size(), 2 * clicks);
    }

    // ---- Close rules and the tray ----

    void close_data()
    {
        QTest::addColumn<bool>("closeBehavior");
        QTest::addColumn<bool>("systemQuit");
        QTest::addColumn<bool>("quits");
        QTest::newRow("minimise") << false << false << false;
        QTest::newRow("setting quits") << true << false << true;
        QTest::newRow("after a system quit request") << false << true << true;
    }
    void close()
    {
        QFETCH(bool, closeBehavior);
        QFETCH(bool, systemQuit);
        QFETCH(bool, quits);
        sysSetValue.CloseBehavior = closeBehavior;
        app()->setSystemQuitRequested(systemQuit);

        const auto click = [this] { QTest::mouseClick(in().ui->PButton_Set_6, Qt::LeftButton); };
        if (quits) {
            QVERIFY_LOOP_QUITS(click);
        } else {
            QCOMPARE(loopAfter(click), kStillRunning);
            QVERIFY(w->isVisible());
            QVERIFY(w->isMinimized());
        }
    }

    void systemQuitEvent()
    {
        // A quit event from the system closes the window, which then quits.
        QVERIFY_LOOP_QUITS([] {
            QCoreApplication::postEvent(QCoreApplication::instance(), new QEvent(QEvent::Quit));
        });
        QVERIFY(app()->isSystemQuitRequested());
        QVERIFY(!w->isVisible());
    }

    void sigtermIsSystemQuit()
    {
        QVERIFY(installSystemQuitOnSigterm());
        QVERIFY_LOOP_QUITS([] { ::kill(::getpid(), SIGTERM); });
        QVERIFY(app()->isSystemQuitRequested());
    }

    void trayMenu()
    {
        auto* tray = w->findChild<QSystemTrayIcon*>();
        QVERIFY(tray);
        QCOMPARE(tray->toolTip(), QString("Quorvel Vesk"));
        QVERIFY(!tray->icon().isNull());
        // Shown although this session has no tray: one that comes up later takes it.
        QVERIFY(!QSystemTrayIcon::isSystemTrayAvailable());
        QVERIFY(tray->isVisible());
        QMenu* menu = tray->contextMenu();
        QVERIFY(menu);
        QCOMPARE(menu->actions(), (QList<QAction*> { in().action_Show, in().action_Exit }));
        QCOMPARE(menu->styleSheet(),
            QString("QMenu {background-color: rgb(0, 0, 0);color: rgb(216,216,216);border: 1px "
                    "solid rgb(56, "
                    "56, 56);border-radius: 3px; }QMenu::item {background-color: "
                    "transparent;border-bottom: "
                    "1px solid rgb(56, 56, 56);width: 40px;high: 50px;padding: 4px 24px 4px "
                    "24px;margin:0px "
                    "0px; }QMenu::item:selected {background-color: rgb(56,56,56); }"));
    }

    void trayActivation_data()
    {
        QTest::addColumn<int>("reason");
        QTest::addColumn<bool>("restored");
        QTest::newRow("single click") << int(QSystemTrayIcon::Trigger) << true;
        QTest::newRow("double click") << int(QSystemTrayIcon::DoubleClick) << false;
        QTest::newRow("context") << int(QSystemTrayIcon::Context) << false;
        QTest::newRow("middle") << int(QSystemTrayIcon::MiddleClick) << false;
    }
    void trayActivation()
    {
        QFETCH(int, reason);
        QFETCH(bool, restored);
        w->showMinimized();
        auto* tray = w->findChild<QSystemTrayIcon*>();
        emit tray->activated(QSystemTrayIcon::ActivationReason(reason));
        QCOMPARE(!w->isMinimized(), restored);
    }

    void trayActions()
    {
        w->showMinimized();
        in().action_Show->trigger();
        QVERIFY(!w->isMinimized());
        QVERIFY(w->isVisible());

        QVERIFY_LOOP_QUITS([this] { in().action_Exit->trigger(); });
    }

    // ---- The built program ----

    void programQuitsOnSigterm()
    {
        // A copy beside its own files; HOME comes from the test's environment.
        QTemporaryDir runDir;
        QVERIFY(runDir.isValid());
        const QString program = runDir.path() + "/QuorvelVesk";
        QVERIFY(QFile::copy(PROGRAM_PATH, program));

        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("LD_PRELOAD", SIMHID_PRELOAD_PATH);
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("ASAN_OPTIONS", "detect_leaks=0:verify_asan_link_order=0");
        p.setProcessEnvironment(env);
        p.setProcessChannelMode(QProcess::MergedChannels);
        // The login item names this copy once the window is built.
        const QString agent = QDir::homePath() + "/Library/LaunchAgents/com.QuorvelVesk.plist";
        QFile::remove(agent);
        p.start(program, {});
        QVERIFY(p.waitForStarted(testsupport::kProgramDeadlineMs));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(agent), testsupport::kProgramDeadlineMs);
        QFile f(agent);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(f.readAll().contains(("<string>" + program + "</string>").toUtf8()));

        p.terminate(); // SIGTERM
        QVERIFY(p.waitForFinished(testsupport::kProgramDeadlineMs));
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QCOMPARE(p.exitCode(), 0);
    }
};

int main(int argc, char** argv)
{
    MacApplication app(argc, argv);
    TestChrome test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_chrome.moc"
