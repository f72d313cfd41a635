// The main window as built: construction order effects, the files of a first
// start, status bar, menus, Help, the settings button, the row slot tables,
// the band count, the timers and the mute frame.

#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <QWheelEvent>
#include <QtCharts/QChartView>
#include <QtCharts/QValueAxis>

#include <memory>

#include "app/help_links.h"
#include "app/macapplication.h"
#include "app/mainwindow.h"
#include "window_internals.h"
#include "app/mainwindow_ui.h"
#include "app/startup.h"
#include "app/status_labels.h"
#include "deadlines.h"
#include "device/device_state.h"
#include "device/hid_device.h"
#include "device/threads.h"
#include "dsp/band.h"
#include "dsp/grid.h"
#include "editor/editor_state.h"
#include "settings/systemsetting.h"
#include "opened_device.h"
#include "simhid.h"
#include "url_recorder.h"
#include "modal_answers.h"
#include "warning_log.h"
#include "window_fixture.h"
#include "store/channel_modes.h"
#include "store/paths.h"
#include "store/settings.h"
#include "widgets/balance.h"
#include "widgets/customcontrols.h"
#include "widgets/framelesshelper.h"
#include "widgets/resources.h"
#include "workspace/workspace_state.h"

namespace {

QString readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;

    std::unique_ptr<MainWindow> makeWindow()
    {
        testsupport::warningLog().clear();
        return std::make_unique<MainWindow>();
    }

    // Writes the settings file with this language before the window reads it.
    void presetLanguage(int language)
    {
        config_Init();
        sysSetValue.Language = language;
        Config_update();
    }

private slots:
    void initTestCase()
    {
        initResources();
        testsupport::installWarningLog(); // debug chatter of the stores is dropped
    }

    void init()
    {
        dir = freshWindowDir();
        QVERIFY(dir);
        show_EQ_ui = 2;
        Silent_Sign = -1;
    }

    void cleanupTestCase() { stopDeviceThreads(); }

    void firstStartInEmptyDirectory()
    {
        auto w = makeWindow();
        const MainWindowInternals in = internals(*w);
        const QString base = dir->path();
        for (const char* file : { "EQ_systemsetting_file.QVconfig", "EQ_fre_tar_file.QVconfig",
                 "Workspace_Config/EQ_config.QVconfig", "Workspace_Config/EQ_config_R.QVconfig",
                 "Workspace_Config/ui_config.txt" })
            QVERIFY2(QFile::exists(base + "/" + file), file);
        QVERIFY(readFile(base + "/EQ_systemsetting_file.QVconfig").contains("\"V1.16\""));
        QCOMPARE(sysSetValue.Language, 1);

        QCOMPARE(w->windowTitle(), QString("Quorvel Vesk"));
        QCOMPARE(one_biaozhi > 0, true);

        // Preamp row and band rows 1 and 2 only.
        MainWindowUi& ui = *in.ui;
        QVERIFY(!ui.groupBox_4->isHidden());
        for (const BandRowDescriptor& row : bandRowDescriptors())
            QCOMPARE(row.groupBox.of(ui)->isHidden(), row.band >= 3);

        QCOMPARE(in.saveButton, static_cast<QPushButton*>(ui.PButton_Set_2));
        QVERIFY(in.autosave_timer->isActive());
        QCOMPARE(in.autosave_timer->interval(), 20000);
        QVERIFY(!in.stream_check_timer->isActive());
        QCOMPARE(in.autosave_done, 0);

        QCOMPARE(in.fre_list.size(), qsizetype(kGridSize));
        QCOMPARE(in.tar_list.size(), qsizetype(kGridSize));
        QCOMPARE(in.fre_list.front(), (QList<double> { freqs1.front(), 0.0 }));
        QCOMPARE(in.tar_list.back(), (QList<double> { freqs1.back(), 0.0 }));
        QVERIFY(in.Combined_show && !in.Source_show && !in.Target_show && !in.Filtered_show
            && !in.Each_show && !in.Compensated_show);
        QVERIFY(ui.checkBox_EQ->isChecked());

        QCOMPARE(ui.gbox1_BL1->getMinValue(), -24.0);
        QCOMPARE(ui.gbox2_BL1->getMaxValue(), 100.0);
        QCOMPARE(ui.gbox3_BL3_9->getMaxValue(), 45.0);
        QCOMPARE(ui.gbox3_BL1_9->getValue(), -1.0);
        QCOMPARE(ui.gbox2_BL3->getValue(), 12.0);

        QVERIFY(systemset);
        QCOMPARE(systemset->parentWidget(), w.get());
        QVERIFY(systemset->isHidden());
        QVERIFY(systemset->windowFlags() & Qt::Dialog);
        QVERIFY(in.framelessHelper);
        QCOMPARE(in.framelessHelper->titleHeight(), 60u);
        // No mute state reported: the settings window hides its mute box.
        QVERIFY(systemset->muteCheckBox()->isHidden());
        QVERIFY(!systemset->muteCheckBox()->isEnabled());
    }

    void versionIsStampedOverAnOlderOne()
    {
        config_Init();
        sysSetValue.QuorvelVesk_version = "V1.00";
        Config_update();
        auto w = makeWindow();
        const QString text = readFile(settingsFilePath());
        QVERIFY(text.contains("\"V1.16\""));
        QVERIFY(!text.contains("V1.00"));
    }

    // A misspelt slot or object name shows up only as a warning at run time.
    void constructionBindsEverySlot()
    {
        auto w = makeWindow();
        for (const QString& warning : testsupport::warningLog()) {
            QVERIFY2(!warning.contains("No matching signal"), qPrintable(warning));
            QVERIFY2(!warning.contains("QObject::connect"), qPrintable(warning));
        }
    }

    void channelModeOfLocalPreset0_data()
    {
        QTest::addColumn<bool>("writeFile");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("switchHidden");
        QTest::newRow("first start") << false << QByteArray() << 1 << false;
        QTest::newRow("no entry for preset 0") << true << QByteArray("3:0\n") << -1 << false;
        QTest::newRow("L+R") << true << QByteArray("0:0\n") << 0 << true;
        QTest::newRow("L/R") << true << QByteArray("0:1\n") << 1 << false;
    }

    void channelModeOfLocalPreset0()
    {
        QFETCH(bool, writeFile);
        QFETCH(QByteArray, content);
        QFETCH(int, index);
        QFETCH(bool, switchHidden);
        if (writeFile) {
            QFile f(channelModeFilePath());
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(content);
        }
        ModalAnswers answers; // the restore at start-up asks nothing
        auto w = makeWindow();
        const MainWindowInternals in = internals(*w);
        QCOMPARE(answers.shown.size(), 0);
        QCOMPARE(in.comboBox_PEQMode->currentIndex(), index);
        QCOMPARE(in.comboBox_PEQMode->count(), 2);
        QCOMPARE(in.comboBox_PEQMode->itemText(0), QString("L+R"));
        QCOMPARE(in.checkBox_channel->isHidden(), switchHidden);
    }

    void statusBarMenusAndTooltips_data()
    {
        QTest::addColumn<int>("language");
        // Left to right, then the hidden device EQ label; the count is band 1
        // of the "Default" preset, which is on.
        QTest::addColumn<QStringList>("labels");
        QTest::addColumn<QStringList>("helpItems");
        QTest::addColumn<QStringList>("importItems");
        QTest::addColumn<QStringList>("tips"); // Import, Export, Help, save
        QTest::newRow("English") << 1
                                 << QStringList { "   Device   ", "   Disconnected   ",
                                        "   Audio Code   ", "   Sample   ", "   EQ Max NUM:10   ",
                                        "   EQ:1   ", "   DeviceEQ:ON   " }
                                 << QStringList { "Reference Guide", "Problem feedback" }
                                 << QStringList { "Target", "SourceFR", "Import Filters" }
                                 << QStringList { "Import", "Export", "Help",
                                        "Save curren config(Ctrl+S)" };
        QTest::newRow("Chinese") << 0
                                 << QStringList { "   机型   ", "   未连接   ", "   音频编码   ",
                                        "   采样率   ", "   EQ最大支持段数:10   ", "   EQ:1   ",
                                        "   设备EQ:开   " }
                                 << QStringList { "使用指南", "问题反馈" }
                                 << QStringList { "导入目标曲线", "导入源频响曲线", "导入滤波参数" }
                                 << QStringList { "导入", "导出", "帮助", "保存当前配置(Ctrl+S)" };
        QTest::newRow("other value")
            << 2
            << QStringList { "      ", "      ", "      ", "      ", "   EQ Max NUM:10   ",
                   "   EQ:1   ", "   DeviceEQ:ON   " }
            << QStringList { "使用指南", "问题反馈" }
            << QStringList { "导入目标曲线", "导入源频响曲线", "导入滤波参数" }
            << QStringList { "导入", "导出", "帮助", "" };
    }

    void statusBarMenusAndTooltips()
    {
        QFETCH(int, language);
        QFETCH(QStringList, labels);
        QFETCH(QStringList, helpItems);
        QFETCH(QStringList, importItems);
        QFETCH(QStringList, tips);
        presetLanguage(language);
        auto w = makeWindow();
        const MainWindowInternals in = internals(*w);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));

        const QList<QLabel*> order { statusLabel4, statusLabel5, statusLabel1, statusLabel2,
            statusLabel6, statusLabel3, statusLabel7 };
        for (int i = 0; i < order.size(); ++i)
            QCOMPARE(order[i]->text(), labels[i]);
        for (int i = 0; i + 1 < 6; ++i) {
            QCOMPARE(order[i]->parentWidget(), static_cast<QWidget*>(in.ui->statusbar));
            QVERIFY2(order[i]->x() < order[i + 1]->x(), qPrintable(order[i]->text()));
        }
        QVERIFY(statusLabel7->isHidden());
        QVERIFY(!statusLabel8->parentWidget());

        auto texts = [](QMenu* menu) {
            QStringList t;
            for (QAction* a : menu->actions())
                t << a->text();
            return t;
        };
        QCOMPARE(texts(in.menu_Help), helpItems);
        QCOMPARE(texts(in.menu_Import), importItems);
        QCOMPARE(texts(in.menu_Export).size(), 2);
        QCOMPARE(in.ui->toolButton->menu(), in.menu_Import);
        QCOMPARE(in.ui->toolButton_2->menu(), in.menu_Export);
        QCOMPARE(in.ui->toolButton_3->menu(), in.menu_Help);
        QCOMPARE(in.ui->toolButton_3->popupMode(), QToolButton::InstantPopup);
        QCOMPARE(in.ui->toolButton->toolTip(), tips[0]);
        QCOMPARE(in.ui->toolButton_2->toolTip(), tips[1]);
        QCOMPARE(in.ui->toolButton_3->toolTip(), tips[2]);
        QCOMPARE(in.ui->PButton_Set_2->toolTip(), tips[3]);
    }

    void helpMenuOpensTheBrowser_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("feedback");
        QTest::newRow("English") << 1 << QString(help_links::kFeedbackEnglish);
        QTest::newRow("Chinese") << 0 << QString(help_links::kFeedbackChinese);
    }

    void helpMenuOpensTheBrowser()
    {
        QFETCH(int, language);
        QFETCH(QString, feedback);
        presetLanguage(language);
        auto w = makeWindow();
        UrlRecorder recorder;
        QDesktopServices::setUrlHandler("https", &recorder, "open");
        const QList<QAction*> actions = internals(*w).menu_Help->actions();
        QCOMPARE(actions.size(), 2);
        actions[0]->trigger();
        actions[1]->trigger();
        QDesktopServices::unsetUrlHandler("https");
        QCOMPARE(recorder.urls.size(), 2);
        QCOMPARE(recorder.urls[0].toString(QUrl::FullyEncoded), QString(help_links::kUserGuide));
        QVERIFY(
            recorder.urls[0]
                .path(QUrl::FullyEncoded)
                .endsWith("/um/QUORVEL%20Vesk%E4%BD%BF%E7%94%A8%E6%8C%87%E5%8D%97%20v1.1%20.pdf"));
        QCOMPARE(recorder.urls[1].toString(), feedback);

        // Texts of no Help item open nothing.
        QAction stray("Export filters");
        w->deal_On_triggered_Help(&stray);
        QCOMPARE(recorder.urls.size(), 2);
    }

    void settingsButtonShowsFreshDeviceLabels()
    {
        auto w = makeWindow();
        const MainWindowInternals in = internals(*w);
        QTest::mouseClick(in.ui->PButton_Set, Qt::LeftButton);
        QVERIFY(systemset->isVisible() || !systemset->isHidden());
        QCOMPARE(systemset->windowTitle(), QString("SystemSetting"));
        QCOMPARE(systemset->modelLabel()->text(), QString("Device Model:  ..."));
        QCOMPARE(systemset->softwareLabel()->text(), QString("Device software version:  Vx.xx"));

        systemset->hide();
        status_bar_value.device_model = "Vantor 3";
        QTest::mouseClick(in.ui->PButton_Set, Qt::LeftButton);
        QVERIFY(!systemset->isHidden());
        QCOMPARE(systemset->modelLabel()->text(), QString("Device Model:  Vantor 3"));
    }

    void followPreSlotStoresTheSetting()
    {
        auto w = makeWindow();
        emit systemset->sigFollowPreClicked(true);
        QCOMPARE(sysSetValue.FollowPre, true);
        emit systemset->sigFollowPreClicked(false);
        QCOMPARE(sysSetValue.FollowPre, false);
    }

    void rowControlsReachTheirBand_data()
    {
        QTest::addColumn<int>("band");
        for (int band = 1; band <= 11; ++band)
            QTest::addRow("band %d", band) << band;
    }

    // Every control of band N lands in the slot numbered for band N.
    void rowControlsReachTheirBand()
    {
        QFETCH(int, band);
        static std::unique_ptr<MainWindow> w;
        if (!w)
            w = makeWindow();
        const BandRowDescriptor& row = bandRowDescriptors()[band - 1];
        const MainWindowInternals in = internals(*w);
        MainWindowUi& ui = *in.ui;

        const auto expectBand = [&](auto&& act, const char* what) {
            in.each_EQ_num = 0;
            act();
            QVERIFY2(in.each_EQ_num == band, what);
        };
        expectBand([&] { emit row.freqDial.of(ui)->valueChanged(3); }, "frequency dial");
        expectBand([&] { emit row.gainDial.of(ui)->valueChanged(3); }, "gain dial");
        expectBand([&] { emit row.qDial.of(ui)->valueChanged(3); }, "Q dial");
        expectBand([&] { emit row.freqText.of(ui)->editingFinished(); }, "frequency text");
        expectBand([&] { emit row.gainText.of(ui)->editingFinished(); }, "gain text");
        expectBand([&] { emit row.qText.of(ui)->editingFinished(); }, "Q text");
        expectBand(
            [&] {
                row.typeCombo.of(ui)->setCurrentIndex(
                    row.typeCombo.of(ui)->currentIndex() == 1 ? 2 : 1);
            },
            "type box");
        expectBand([&] { emit row.enable.of(ui)->clicked(true); }, "enable box");
        if (band == 11)
            w.reset();
    }

    void bandCountFollowsTheEditedSet()
    {
        auto w = makeWindow();
        const MainWindowInternals in = internals(*w);
        QVERIFY(!w->Is_Show_EQ_ui(0));
        QVERIFY(!w->Is_Show_EQ_ui(12));
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        QVERIFY(w->Is_Show_EQ_ui(1));
        QVERIFY(w->Is_Show_EQ_ui(2));
        QVERIFY(!w->Is_Show_EQ_ui(3));

        const uint8_t left[] = { 1, 0, 1, 1, 1 };
        for (int band = 1; band <= 5; ++band) {
            EQ[band]->status = left[band - 1];
            EQ_R[band]->status = 0;
        }
        show_EQ_ui = 4;
        w->update_EQ_NUM();
        QCOMPARE(status_bar_value.eq_count, 3);
        QCOMPARE(statusLabel3->text(), QString("   EQ:3   "));

        // "L/R" with the right channel chosen counts the right set.
        EQ_R[2]->status = 1;
        in.comboBox_PEQMode->setCurrentIndex(1);
        in.checkBox_channel->setChecked(true);
        w->update_EQ_NUM();
        QCOMPARE(statusLabel3->text(), QString("   EQ:1   "));
        // "L+R" always counts the left set. The mode moves without the channel-mode
        // switch, whose reload would lay the rows out anew.
        {
            const QSignalBlocker quiet(in.comboBox_PEQMode);
            in.comboBox_PEQMode->setCurrentIndex(0);
        }
        w->update_EQ_NUM();
        QCOMPARE(status_bar_value.eq_count, 3);

        show_EQ_ui = 0;
        w->update_EQ_NUM();
        QCOMPARE(statusLabel3->text(), QString("   EQ:0   "));
    }

    void streamCheck_data()
    {
        QTest::addColumn<int>("connected");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("rate");
        QTest::addColumn<bool>("released");
        QTest::addColumn<bool>("locked");
        QTest::newRow("usable PCM") << 1 << "PCM"
                                    << "48kHz" << true << false;
        QTest::newRow("192 kHz") << 1 << "PCM"
                                 << "192kHz" << true << false;
        QTest::newRow("high PCM rate") << 1 << "PCM"
                                       << "384kHz" << false << true;
        QTest::newRow("DSD") << 1 << "DSD"
                             << "5.64MHz" << false << true;
        QTest::newRow("placeholder") << 1 << "PCM"
                                     << "Sample" << false << false;
        QTest::newRow("Chinese placeholder") << 1 << "PCM"
                                             << "采样率" << false << false;
        QTest::newRow("device gone") << 0 << "Audio Code"
                                     << "Sample" << true << false;
        QTest::newRow("device gone, DSD left") << 0 << "DSD"
                                               << "2.82MHz" << true << true;
    }

    void streamCheck()
    {
        QFETCH(int, connected);
        QFETCH(QString, code);
        QFETCH(QString, rate);
        QFETCH(bool, released);
        QFETCH(bool, locked);
        auto w = makeWindow();
        const MainWindowInternals in = internals(*w);
        QSignalSpy release(w.get(), &MainWindow::Is_Language);
        hid_status = connected;
        status_bar_value.audio_code = code;
        status_bar_value.sample_rate = rate;
        in.stream_check_timer->start(3000);

        w->timeoutSlot2();
        QCOMPARE(release.size(), released ? 1 : 0);
        if (released)
            QCOMPARE(release.first().first().toBool(), true);
        QCOMPARE(in.stream_check_timer->isActive(), !released);
        QCOMPARE(status_bar_value.eq_max, locked ? 0 : 10);

        MainWindowUi& ui = *in.ui;
        QCOMPARE(ui.checkBox->isEnabled(), !locked);
        QCOMPARE(ui.gbox1_lineEdit->isEnabled(), !locked);
        QCOMPARE(ui.gbox1_BL1->isDialDisabled(), locked);
        const BandRowDescriptor& row = bandRowDescriptors()[10];
        QCOMPARE(row.enable.of(ui)->isEnabled(), !locked);
        QCOMPARE(row.typeCombo.of(ui)->isEnabled(), !locked);
        QCOMPARE(row.freqLabelCombo.of(ui)->isEnabled(), !locked);
        QCOMPARE(row.gainText.of(ui)->isEnabled(), !locked);
        QCOMPARE(row.qDial.of(ui)->mouseInputEnabled(), !locked);
        QCOMPARE(row.removeButton.of(ui)->isEnabled(), true);
        if (locked) {
            QCOMPARE(row.gainText.of(ui)->focusPolicy(), Qt::NoFocus);
            QVERIFY(row.enable.of(ui)->styleSheet().contains("2-checked.png"));
            // The boxes show the left set whatever the channel mode.
            QCOMPARE(ui.checkBox_8->isChecked(), EQ[1]->status != 0);
        }
    }

    void autosaveOnceAfterActivity_data()
    {
        QTest::addColumn<int>("selected");
        QTest::newRow("local preset") << 0;
        QTest::newRow("device preset") << 103;
    }

    void autosaveOnceAfterActivity()
    {
        QFETCH(int, selected);
        auto w = makeWindow();
        const MainWindowInternals in = internals(*w);
        QSignalSpy deviceSave(w.get(), &MainWindow::close_device_save_config);
        selectedRadioIndex = selected;
        const QString presetFile = dir->path() + "/Workspace_Config/EQ_config.QVconfig";
        QVERIFY(QFile::remove(presetFile));

        w->timeoutSlot();
        QCOMPARE(in.autosave_done, 1);
        QCOMPARE(QFile::exists(presetFile), selected <= 99);
        QCOMPARE(deviceSave.size(), selected <= 99 ? 0 : 1);
        if (selected > 99)
            QCOMPARE(deviceSave.first().first().toInt(), selected);

        // Nothing more until new activity.
        QFile::remove(presetFile);
        w->timeoutSlot();
        QVERIFY(!QFile::exists(presetFile));
        QCOMPARE(deviceSave.size(), selected <= 99 ? 0 : 1);

        in.autosave_timer->stop();
        // A drag: moves without a button reach only widgets that track the mouse.
        QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), QPointF(5, 5), Qt::NoButton,
            Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(in.ui->groupBox_4, &move);
        QCOMPARE(in.autosave_done, 0);
        QVERIFY(in.autosave_timer->isActive());
        QCOMPARE(in.autosave_timer->interval(), 20000);
    }

    void deferredStartupTaskRemovesUpdateFolder()
    {
        const QString update = dir->path() + "/UpdateProgram/inner";
        QVERIFY(QDir().mkpath(update));
        QFile(update + "/file").open(QIODevice::WriteOnly);
        auto w = makeWindow();
        QSignalSpy versionCheck(w.get(), &MainWindow::updata_version);
        QVERIFY(versionCheck.wait(testsupport::kDeadlineMs));
        QVERIFY(!QDir(dir->path() + "/UpdateProgram").exists());

        // A missing folder still leads to the update check.
        auto w2 = makeWindow();
        QSignalSpy again(w2.get(), &MainWindow::updata_version);
        QVERIFY(again.wait(testsupport::kDeadlineMs));
    }

    void comboFocusFrameAndChartZoom()
    {
        auto w = makeWindow();
        const MainWindowInternals in = internals(*w);
        // A type box: the caption box of band 1, which is on, is disabled by the reload.
        QComboBox* combo = in.ui->comboBox_25;
        QEvent enter(QEvent::Enter);
        QCoreApplication::sendEvent(combo, &enter);
        QCOMPARE(combo->property("hasFocus").toBool(), true);
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(combo, &leave);
        QCOMPARE(combo->property("hasFocus").toBool(), false);

        auto wheel = [&](int delta) {
            QWheelEvent e(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, delta), Qt::NoButton,
                Qt::NoModifier, Qt::NoScrollPhase, false);
            QCoreApplication::sendEvent(in.chartView, &e);
        };
        in.axisY->setRange(-30, 30);
        wheel(120);
        QCOMPARE(in.axisY->min(), -31.0);
        QCOMPARE(in.axisY->max(), 31.0);
        wheel(-120);
        wheel(-120);
        QCOMPARE(in.axisY->min(), -29.0);
        in.axisY->setRange(-10, 10);
        wheel(-120);
        QCOMPARE(in.axisY->min(), -10.0);
        QCOMPARE(in.axisY->max(), 10.0);
        in.axisY->setRange(-98, 98);
        wheel(120);
        QCOMPARE(in.axisY->min(), -98.0);
        QCOMPARE(in.axisY->max(), 98.0);
    }

    void muteFrameOnlyWhileConnected()
    {
        auto w = makeWindow();
        QVERIFY(stopDeviceThreads(testsupport::kDeadlineMs)); // the test opens the device itself
        OpenedDevice device;
        QVERIFY(device.isOpen());
        sim::Engine& engine = device.engine;

        emit systemset->update_Mute(true);
        QCOMPARE(engine.writes().size(), size_t(0));
        hid_status = 1;
        emit systemset->update_Mute(true);
        emit systemset->update_Mute(false);
        const auto writes = engine.writes();
        QCOMPARE(writes.size(), size_t(2));
        const sim::Frame on = sim::parseWrite(writes[0].bytes);
        const sim::Frame off = sim::parseWrite(writes[1].bytes);
        QVERIFY(on.ok && off.ok);
        QCOMPARE(on.command, 0x1116u);
        QCOMPARE(on.data, 1);
        QCOMPARE(off.data, 0);
    }

    void settingsWindowMuteBox_data()
    {
        QTest::addColumn<int>("state");
        QTest::addColumn<bool>("visible");
        QTest::addColumn<bool>("checked");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("no device") << -1 << false << false << false;
        QTest::newRow("on") << 1 << true << true << true;
        QTest::newRow("off") << 0 << true << false << true;
    }

    void settingsWindowMuteBox()
    {
        QFETCH(int, state);
        QFETCH(bool, visible);
        QFETCH(bool, checked);
        QFETCH(bool, enabled);
        SystemSetting s;
        s.recive_mute(state);
        QCOMPARE(!s.muteCheckBox()->isHidden(), visible);
        QCOMPARE(s.muteCheckBox()->isChecked(), checked);
        QCOMPARE(s.muteCheckBox()->isEnabled(), enabled);

        // Any other value only enables the box.
        s.recive_mute(7);
        QCOMPARE(!s.muteCheckBox()->isHidden(), visible);
        QCOMPARE(s.muteCheckBox()->isChecked(), checked);
        QVERIFY(s.muteCheckBox()->isEnabled());
    }

    // Last: a quit event ends any event loop started afterwards.
    void quitEventIsRemembered()
    {
        auto* app = qobject_cast<MacApplication*>(qApp);
        QVERIFY(app);
        QVERIFY(!app->isSystemQuitRequested());
        QEvent quit(QEvent::Quit);
        QCoreApplication::sendEvent(app, &quit);
        QVERIFY(app->isSystemQuitRequested());
    }
};

int main(int argc, char* argv[])
{
    MacApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    TestMainWindow test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "test_mainwindow.moc"
