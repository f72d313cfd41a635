// The Import and Export menus and the curve pickers on a real main window:
// every road in both languages, answered through the modal seam, checked
// through the files written, the curve list, the settings file, the pickers,
// the chart series and the frames sent.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QtCharts/QChartView>
#include <QtCharts/QXYSeries>

#include <cmath>
#include <memory>

#include "band_fixtures.h"
#include "deadlines.h"
#include "app/macapplication.h"
#include "app/mainwindow.h"
#include "window_internals.h"
#include "app/mainwindow_style.h"
#include "app/mainwindow_ui.h"
#include "device/device_state.h"
#include "device/hid_device.h"
#include "device/threads.h"
#include "dsp/band.h"
#include "dsp/grid.h"
#include "dsp/response.h"
#include "editor/editor_state.h"
#include "io/csv_files.h"
#include "io/curve_name_dialog.h"
#include "io/filter_text.h"
#include "io/io_state.h"
#include "plot/response_chart.h"
#include "store/channel_modes.h"
#include "store/curve_list.h"
#include "store/number_text.h"
#include "store/paths.h"
#include "store/settings.h"
#include "widgets/accountitem.h"
#include "widgets/customcontrols.h"
#include "widgets/resources.h"
#include "modal_answers.h"
#include "opened_device.h"
#include "screen_image.h"
#include "test_files.h"
#include "warning_log.h"
#include "window_fixture.h"

namespace {

QJsonArray curveListFile()
{
    return QJsonDocument::fromJson(fileBytes(curveListFilePath())).array();
}

QJsonObject settingsFile()
{
    return QJsonDocument::fromJson(fileBytes(settingsFilePath())).object();
}

// Frames of a whole-set upload: begin, four preamp values, ten per band, end.
constexpr int kUploadFrames = 116;

// A foreign measurement: header, three rows around the grid.
const QByteArray kForeignCsv = "* a measurement\nFrequency(Hz),SPL(dB)\n20,1\n500,3\n22000,5\n";

// An own curve file on the grid: level = k / 10 + shift.
QByteArray ownCurve(double shift = 0.0)
{
    CurveRows rows;
    for (std::size_t k = 0; k < kGridSize; ++k)
        rows.append({ freqs1[k], double(k) / 10.0 + shift });
    return curveFileText(rows);
}

// The same with the level of the last row written as `level`.
QByteArray ownCurveEndingIn(const QByteArray& level)
{
    QByteArray file = ownCurve();
    file.truncate(file.lastIndexOf(',', file.size() - 2) + 1);
    return file + level + '\n';
}

const QString kFilterText = QStringLiteral("Preamp: -4.44 dB\n"
                                           "Filter 1: ON LSC Fc 105 Hz Gain 5.5 dB Q 0.71\n"
                                           "Filter 2: ON PK Fc 1000 Hz Gain -3 dB Q 2\n");

QString menuText(int language, const char* english, const char* chinese)
{
    return language == 1 ? QString::fromUtf8(english) : QString::fromUtf8(chinese);
}

} // namespace

class TestIoWindow : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<MainWindow> w;

    QString path(const QString& rel) const { return dir->filePath(rel); }

    // Settings the window reads when it is built.
    void presetSettings(int language, bool targetShown = true, bool sourceShown = true)
    {
        config_Init();
        sysSetValue.Language = language;
        sysSetValue.Target_Mark = targetShown;
        sysSetValue.Source_Mark = sourceShown;
        sysSetValue.EQ_save_file_path = dir->path();
        Config_update();
    }

    // The channel mode of local preset 0, which the window starts in
    // (0 "L+R", 1 "L/R", the first-start mode).
    void presetChannelMode(int mode)
    {
        if (mode == 0)
            putFile(channelModeFilePath(), "0:0\n");
    }

    MainWindow& window()
    {
        if (!w)
            w = std::make_unique<MainWindow>();
        return *w;
    }

    void trigger(QMenu* menu, const QString& text)
    {
        for (QAction* a : menu->actions()) {
            if (a->text() == text) {
                a->trigger();
                return;
            }
        }
        QFAIL(qPrintable("no menu action " + text));
    }

    int seriesPoints(int series)
    {
        return int(ResponseChart(internals(window()).chartView).series(series)->count());
    }

    // The rows shown in a picker's list, by name.
    QStringList rowNames(QListWidget* list)
    {
        QStringList names;
        for (int r = 0; r < list->count(); ++r)
            names << static_cast<AccountItem*>(list->itemWidget(list->item(r)))
                         ->getAccountName()
                         .trimmed();
        return names;
    }

    AccountItem* row(QListWidget* list, int r)
    {
        return static_cast<AccountItem*>(list->itemWidget(list->item(r)));
    }

    // The window, shown, in English, with the files of its two first-start
    // curve entries in place.
    MainWindow& shownWithCurveFiles()
    {
        putFile(path("test.csv"), ownCurve());
        putFile(path("harman_over-ear_2018.csv"), ownCurve());
        presetSettings(1);
        window().show();
        return window();
    }

    // Imports a curve file through the menu, naming it `name` when asked.
    void importCurve(const QString& action, const QString& file, const QString& name)
    {
        ModalAnswers answers;
        answers.file(file).typeAndAccept(name);
        trigger(internals(window()).menu_Import, action);
        QCOMPARE(answers.pending(), 0);
    }

private slots:
    void initTestCase()
    {
        initResources();
        testsupport::installWarningLog();
    }

    void init()
    {
        testsupport::warningLog().clear();
        dir = freshWindowDir();
        QVERIFY(dir);
        fre_show_sign = false;
        tar_show_sign = false;
        Parameter_Path.clear();
        biaozhi_name = QStringLiteral("xxxx");
        morendevice_name.clear();
        execute_biaozhi = false;
        Gain_flag = false;
    }

    void cleanup()
    {
        w.reset();
        for (const QString& warning : testsupport::warningLog())
            QVERIFY2(!warning.contains("No matching signal"), qPrintable(warning));
    }

    void cleanupTestCase() { stopDeviceThreads(); }

    // ---- the pickers ----

    void pickersBuilt()
    {
        presetSettings(1);
        MainWindow& mw = window();
        const MainWindowInternals in = internals(mw);
        const std::pair<CustomComboBox*, QListWidget*> pickers[]
            = { { in.ui->comboBox, in.sourceCurveList },
                  { in.ui->comboBox_2, in.targetCurveList } };
        for (const auto& [combo, list] : pickers) {
            QVERIFY(combo->isEditable());
            QVERIFY(combo->lineEdit()->isReadOnly());
            QCOMPARE(combo->view(), list);
            QCOMPARE(combo->model(), list->model());
            QCOMPARE(combo->maxVisibleItems(), 5);
            QCOMPARE(list->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
            QVERIFY(list->styleSheet().startsWith("QListWidget{outline:0px; border-radius:20px;"));
            const Qt::WindowFlags flags = list->window()->windowFlags();
            QVERIFY(flags.testFlag(Qt::FramelessWindowHint)
                && flags.testFlag(Qt::NoDropShadowWindowHint));
            QVERIFY(list->window()->testAttribute(Qt::WA_TranslucentBackground));
        }
        QCOMPARE(in.ui->comboBox->lineEdit()->placeholderText(), QString("Source FR"));
        QCOMPARE(in.ui->comboBox_2->lineEdit()->placeholderText(), QString("Target"));
        // The first-start list: one source and one target entry, none chosen.
        QCOMPARE(rowNames(in.sourceCurveList), QStringList { "fre1" });
        QCOMPARE(rowNames(in.targetCurveList), QStringList { "Harman OE" });
        QCOMPARE(in.sourceCurveRows, 1);
        QCOMPARE(in.targetCurveRows, 1);
        QCOMPARE(in.ui->comboBox_2->currentText(), QString("Target"));
        QVERIFY(!tar_show_sign);
    }

    void startupChoosesTheRememberedCurves()
    {
        putFile(path("harman_over-ear_2018.csv"), ownCurve());
        presetSettings(1);
        sysSetValue.Pre_select_tar_index = 1;
        Config_update();
        MainWindow& mw = window();
        const MainWindowInternals in = internals(mw);
        QVERIFY(tar_show_sign);
        QVERIFY(!fre_show_sign);
        QCOMPARE(in.tar_list.size(), qsizetype(kGridSize));
        QCOMPARE(in.tar_list[10], (QList<double> { freqs1[10], 1.0 }));
        QCOMPARE(in.ui->comboBox_2->currentText(), QString("Harman OE"));
        QCOMPARE(in.currentTargetName, QString("Harman OE"));
        QCOMPARE(seriesPoints(ResponseChart::kTarget), int(kGridSize));
        QCOMPARE(in.ui->comboBox_2->styleSheet(), FormSheet::curvePicker("comboBox_2"));
        // The source entry names a file that is not there: an empty curve, no crash.
        mw.fre_sltShowAccountInfo(0, "fre1");
        QVERIFY(in.fre_list.isEmpty());
        QCOMPARE(in.ui->comboBox->currentText(), QString("fre1"));
        QCOMPARE(settingsFile().value("Pre_select_fre_index").toInt(), 0);
    }

    void rowClickChoosesTheCurve()
    {
        putFile(path("test.csv"), ownCurve());
        presetSettings(0);
        MainWindow& mw = window();
        const MainWindowInternals in = internals(mw);
        mw.show();
        QVERIFY(QTest::qWaitForWindowExposed(&mw));
        in.ui->comboBox->showPopup();
        AccountItem* item = row(in.sourceCurveList, 0);
        QTRY_VERIFY(item->isVisible());
        QTest::mouseClick(item, Qt::LeftButton);
        QVERIFY(fre_show_sign);
        QCOMPARE(in.fre_list.size(), qsizetype(kGridSize));
        QCOMPARE(sysSetValue.Pre_select_fre_index, 0);
        QCOMPARE(settingsFile().value("Pre_select_fre_index").toInt(), 0);
        QCOMPARE(seriesPoints(ResponseChart::kSource), int(kGridSize));
        QCOMPARE(in.ui->comboBox->currentText(), QString("fre1"));
        QTRY_VERIFY(!in.sourceCurveList->isVisible());
    }

    // Keys in an open picker whose highlighted row is not the chosen one:
    // Enter, Return and Space choose it as a click does, Escape changes
    // nothing. Either way the label and the drawn curve agree.
    void pickerKeys_data()
    {
        QTest::addColumn<bool>("target");
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("chooses");
        for (const bool target : { true, false }) {
            const char* picker = target ? "target" : "source";
            QTest::addRow("%s, Return", picker) << target << int(Qt::Key_Return) << true;
            QTest::addRow("%s, Enter", picker) << target << int(Qt::Key_Enter) << true;
            QTest::addRow("%s, Space", picker) << target << int(Qt::Key_Space) << true;
            QTest::addRow("%s, Escape", picker) << target << int(Qt::Key_Escape) << false;
        }
    }

    void pickerKeys()
    {
        QFETCH(bool, target);
        QFETCH(int, key);
        QFETCH(bool, chooses);
        MainWindow& mw = shownWithCurveFiles();
        QVERIFY(QTest::qWaitForWindowExposed(&mw));
        const MainWindowInternals in = internals(mw);
        // Each picker gets a second curve, which is then the chosen one.
        putFile(path("m.csv"), kForeignCsv);
        importCurve("Target", path("m.csv"), "B"); // entry 2
        importCurve("SourceFR", path("m.csv"), "S"); // entry 3

        CustomComboBox* combo = target ? in.ui->comboBox_2 : in.ui->comboBox;
        QListWidget* list = target ? in.targetCurveList : in.sourceCurveList;
        const CurveRows& curve = target ? in.tar_list : in.fre_list;
        const int32_t& remembered
            = target ? sysSetValue.Pre_select_tar_index : sysSetValue.Pre_select_fre_index;
        const int series = target ? ResponseChart::kTarget : ResponseChart::kSource;
        const QString first = target ? "Harman OE" : "fre1";
        const QString chosen = target ? "B" : "S";
        const CurveRows chosenCurve = curve;
        const auto* drawn = ResponseChart(in.chartView).series(series);
        const QPointF chosenPoint = drawn->at(10);

        combo->showPopup();
        QTRY_VERIFY(row(list, 0)->isVisible());
        list->setCurrentRow(0);
        QTest::keyClick(list, Qt::Key(key));
        QTRY_VERIFY(!list->isVisible());

        const CurveRows firstCurve
            = importFromCSV(path(target ? "harman_over-ear_2018.csv" : "test.csv"));
        QCOMPARE(combo->currentText(), chooses ? first : chosen);
        QCOMPARE(combo->styleSheet(), FormSheet::curvePicker(combo->objectName()));
        QCOMPARE(remembered, chooses ? row(list, 0)->getItemWidgetIndex() : (target ? 2 : 3));
        QCOMPARE(curve, chooses ? firstCurve : chosenCurve);
        QCOMPARE(drawn->count(), int(kGridSize));
        QCOMPARE(drawn->at(10), chooses ? QPointF(freqs1[10], 1.0) : chosenPoint);
    }

    // One highlight in an open picker, moved by the keys and by the mouse;
    // Enter, Return and Space choose the highlighted row as a click does,
    // Escape leaves everything as it was. The keys go where a keyboard's go:
    // to the focus widget of the open popup. Seven rows, five in view, so
    // the keys scroll the list beneath a resting pointer.
    void pickerHighlight_data()
    {
        QTest::addColumn<bool>("target");
        QTest::newRow("target") << true;
        QTest::newRow("source") << false;
    }

    void pickerHighlight()
    {
        QFETCH(bool, target);
        MainWindow& mw = shownWithCurveFiles();
        QVERIFY(QTest::qWaitForWindowExposed(&mw));
        const MainWindowInternals in = internals(mw);
        // Row r draws its curve r dB up; the last one imported is chosen.
        const QString action = target ? "Target" : "SourceFR";
        for (int r = 1; r <= 6; ++r) {
            putFile(path("own.csv"), ownCurve(r));
            importCurve(action, path("own.csv"), QString("C%1").arg(r));
        }

        CustomComboBox* combo = target ? in.ui->comboBox_2 : in.ui->comboBox;
        QListWidget* list = target ? in.targetCurveList : in.sourceCurveList;
        QCOMPARE(list->count(), 7);
        const int32_t& remembered
            = target ? sysSetValue.Pre_select_tar_index : sysSetValue.Pre_select_fre_index;
        const auto* drawn = ResponseChart(in.chartView)
                                .series(target ? ResponseChart::kTarget : ResponseChart::kSource);
        const auto chosenRow = [&] {
            for (int r = 0; r < list->count(); ++r)
                if (row(list, r)->getItemWidgetIndex() == remembered)
                    return r;
            return -1;
        };
        // The rows in view drawn in the highlight colour.
        const auto highlighted = [&] {
            const QImage shot = list->viewport()->grab().toImage();
            QList<int> rows;
            for (int r = 0; r < list->count(); ++r) {
                const QRect box = list->visualItemRect(list->item(r));
                const QPoint at(box.left() + 3, box.center().y());
                if (list->viewport()->rect().contains(at)
                    && shot.pixelColor(at * shot.devicePixelRatio()) == QColor(56, 56, 56))
                    rows << r;
            }
            return rows;
        };
        const auto open = [&] {
            combo->showPopup();
            QTRY_VERIFY(list->isVisible() && QApplication::activePopupWidget());
        };
        const auto press = [&](Qt::Key key) {
            QWidget* popup = QApplication::activePopupWidget();
            QVERIFY(popup);
            QTest::keyClick(popup->focusWidget() ? popup->focusWidget() : popup, key);
        };
        const auto chosen = [&](int r) {
            // The popup closes at once, inside the key's handling.
            QVERIFY(!list->isVisible());
            QCOMPARE(chosenRow(), r);
            QCOMPARE(combo->currentText(), rowNames(list).at(r));
            QCOMPARE(combo->styleSheet(), FormSheet::curvePicker(combo->objectName()));
            QCOMPARE(drawn->count(), int(kGridSize));
            QCOMPARE(drawn->at(10), QPointF(freqs1[10], 1.0 + r));
        };
        using Rows = QList<int>;

        // A pointer resting in the middle of the popup when it opens moves
        // nothing: the highlight starts on the chosen row.
        open();
        const QPoint middle = list->viewport()->mapToGlobal(list->viewport()->rect().center());
        press(Qt::Key_Escape);
        QVERIFY(!list->isVisible());
        QTest::mouseMove(&mw, mw.mapFromGlobal(middle));
        open();
        QTRY_VERIFY(list->viewport()->underMouse());
        QCOMPARE(highlighted(), Rows { 6 });

        // Each key, then the one row highlighted after it.
        const auto walk = [&](std::initializer_list<std::pair<Qt::Key, int>> steps) {
            for (const auto& [key, after] : steps) {
                press(key);
                QCOMPARE(highlighted(), Rows { after });
            }
        };

        // End, Up, Enter: the row above the last.
        walk({ { Qt::Key_End, 6 }, { Qt::Key_Up, 5 } });
        press(Qt::Key_Enter);
        chosen(5);
        if (QTest::currentTestFailed())
            return;

        // Down from the chosen row, then Return: the next one.
        open();
        QCOMPARE(highlighted(), Rows { 5 });
        walk({ { Qt::Key_Down, 6 } });
        press(Qt::Key_Return);
        chosen(6);
        if (QTest::currentTestFailed())
            return;

        // A page is the five rows in view; the highlight stops at either end
        // and stays in view; Escape changes nothing.
        open();
        walk({ { Qt::Key_PageUp, 1 }, { Qt::Key_Up, 0 }, { Qt::Key_Up, 0 }, { Qt::Key_PageDown, 5 },
            { Qt::Key_Down, 6 }, { Qt::Key_Down, 6 }, { Qt::Key_Home, 0 }, { Qt::Key_End, 6 },
            { Qt::Key_PageUp, 1 }, { Qt::Key_Home, 0 } });
        press(Qt::Key_Escape);
        chosen(6);
        QCOMPARE(
            settingsFile().value(target ? "Pre_select_tar_index" : "Pre_select_fre_index").toInt(),
            remembered);
        if (QTest::currentTestFailed())
            return;

        // The mouse moves the same highlight, and the keys move it on from
        // there, leaving no second one under the mouse. The moves go to the
        // popup's window, which takes each at once; each goes somewhere new,
        // as a move to where the pointer already is is none.
        open();
        QCOMPARE(highlighted(), Rows { 6 });
        for (int r : { 2, 3 }) {
            QWidget* popup = QApplication::activePopupWidget();
            QVERIFY(popup);
            const AccountItem* over = row(list, r);
            QTest::mouseMove(
                popup->windowHandle(), popup->mapFromGlobal(over->mapToGlobal(QPoint(20, 20))));
            QCOMPARE(highlighted(), Rows { r });
        }
        walk({ { Qt::Key_Down, 4 }, { Qt::Key_Up, 3 } });
        press(Qt::Key_Space);
        chosen(3);
    }

    // ---- importing a curve ----

    void importCurve_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("folder");
        QTest::newRow("target, English") << 1 << "tar"
                                         << "Target"
                                         << "Target";
        QTest::newRow("target, Chinese") << 0 << "tar"
                                         << "导入目标曲线"
                                         << "Target";
        QTest::newRow("source, English") << 1 << "fre"
                                         << "SourceFR"
                                         << "Frequency";
        QTest::newRow("source, Chinese") << 0 << "fre"
                                         << "导入源频响曲线"
                                         << "Frequency";
        QTest::newRow("source, language 2") << 2 << "fre"
                                            << "导入源频响曲线"
                                            << "Frequency";
    }

    void importCurve()
    {
        QFETCH(int, language);
        QFETCH(QString, type);
        QFETCH(QString, action);
        QFETCH(QString, folder);
        presetSettings(language);
        MainWindow& mw = window();
        const MainWindowInternals in = internals(mw);
        const QString file = path("measured.csv");
        putFile(file, kForeignCsv);

        ModalAnswers answers;
        answers.file(file).typeAndAccept("B");
        trigger(in.menu_Import, action);
        QCOMPARE(answers.pending(), 0);
        QCOMPARE(answers.shown[0].title, QString("选择文件"));
        QCOMPARE(answers.shown[0].text, QString("C:/"));
        QCOMPARE(answers.shown[0].choices,
            QStringList { "CSV 文件 (*.csv);;文本文件 (*.txt);;MIC 文件 (*.mic)" });
        QCOMPARE(answers.shown[1].className, QString(type == "tar" ? "MyDialog" : "MyDialog3"));

        // The file: the resampled, normalised curve in the own format.
        const QString stored = path(folder + "/B.csv");
        const CurveRows expected = csv_deal::processArrays(
            freqs1.data(), int(kGridSize), csv_deal::parseCSVText(kForeignCsv));
        QCOMPARE(fileBytes(stored), curveFileText(expected));
        QCOMPARE(expected[kAlignIndex][1], 0.0);

        // The entry, the remembered choice and the picker.
        QCOMPARE(buffer_count, 3);
        const QJsonObject entry = curveListFile().at(2).toObject();
        QCOMPARE(entry.value("type").toString(), type);
        QCOMPARE(entry.value("index").toInt(), 2);
        QCOMPARE(entry.value("name").toString(), QString("B"));
        QCOMPARE(entry.value("path").toString(), stored);
        const bool target = type == "tar";
        QCOMPARE(
            settingsFile().value(target ? "Pre_select_tar_index" : "Pre_select_fre_index").toInt(),
            2);
        QListWidget* list = target ? in.targetCurveList : in.sourceCurveList;
        QCOMPARE(rowNames(list).last(), QString("B"));
        QCOMPARE(row(list, list->count() - 1)->getItemWidgetIndex(), 2);
        QCOMPARE((target ? in.ui->comboBox_2 : in.ui->comboBox)->currentText(), QString("B"));
        QCOMPARE(target ? in.tar_list : in.fre_list, expected);
        QVERIFY(target ? tar_show_sign : fre_show_sign);
        QCOMPARE(
            seriesPoints(target ? ResponseChart::kTarget : ResponseChart::kSource), int(kGridSize));
    }

    void importOwnCurve()
    {
        presetSettings(1);
        MainWindow& mw = window();
        putFile(path("own.csv"), ownCurve());
        importCurve("Target", path("own.csv"), "Own");
        QCOMPARE(fileBytes(path("Target/Own.csv")), ownCurve());
        QCOMPARE(internals(mw).tar_list, ownCurveRows(QString::fromUtf8(ownCurve())));
    }

    void curveNames_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("file");
        QTest::newRow("empty OK gives the default") << ""
                                                    << "target"
                                                    << "target.csv";
        QTest::newRow("six characters at most") << "abcdefgh"
                                                << "abcdef"
                                                << "abcdef.csv";
        QTest::newRow("not allowed characters are not typed") << "a b é"
                                                              << "ab"
                                                              << "ab.csv";
        QTest::newRow("path-like name") << "../x"
                                        << "../x"
                                        << "x.csv";
        QTest::newRow("slashes") << "a/\\b"
                                 << "a/\\b"
                                 << "ab.csv";
    }

    void curveNames()
    {
        QFETCH(QString, typed);
        QFETCH(QString, name);
        QFETCH(QString, file);
        presetSettings(1);
        MainWindow& mw = window();
        putFile(path("m.csv"), kForeignCsv);
        importCurve("Target", path("m.csv"), typed);
        QCOMPARE(internals(mw).currentTargetName, name);
        QCOMPARE(BD_value[2].name, name);
        QCOMPARE(BD_value[2].path, path("Target/" + file));
        QVERIFY(QFile::exists(path("Target/" + file)));
        QCOMPARE(QDir(path("Target")).entryList(QDir::Files), QStringList { file });
    }

    void sameNamesBecomeUnique()
    {
        presetSettings(1);
        MainWindow& mw = window();
        const MainWindowInternals in = internals(mw);
        putFile(path("m.csv"), kForeignCsv);
        importCurve("Target", path("m.csv"), "");
        importCurve("Target", path("m.csv"), "");
        importCurve("SourceFR", path("m.csv"), "target");
        QCOMPARE(
            rowNames(in.targetCurveList), (QStringList { "Harman OE", "target", "target(1)" }));
        QCOMPARE(rowNames(in.sourceCurveList), (QStringList { "fre1", "target" }));
        QVERIFY(QFile::exists(path("Target/target.csv")));
        QVERIFY(QFile::exists(path("Target/target(1).csv")));
        QVERIFY(QFile::exists(path("Frequency/target.csv")));
    }

    void nameDialogLooks_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QStringList>("texts"); // label, OK, Cancel
        QTest::newRow("English") << 1 << "SourceFR"
                                 << QStringList { "Enter your name:", "OK", "Cancel" };
        QTest::newRow("Chinese") << 0 << "导入源频响曲线"
                                 << QStringList { "请输入名字：", "确认", "取消" };
        QTest::newRow("language 2")
            << 2 << "导入源频响曲线" << QStringList { "请输入名字：", "确定", "取消" };
    }

    void nameDialogLooks()
    {
        QFETCH(int, language);
        QFETCH(QString, action);
        QFETCH(QStringList, texts);
        presetSettings(language);
        MainWindow& mw = window();
        putFile(path("m.csv"), kForeignCsv);
        ModalAnswers answers;
        answers.file(path("m.csv")).dialog([&](QDialog& d) {
            QCOMPARE(d.windowTitle(), QString("Quorvel"));
            QCOMPARE(d.size(), QSize(180, 100));
            QVERIFY(d.isModal());
            QCOMPARE(d.parentWidget(), &mw);
            QVERIFY(!d.windowFlags().testFlag(Qt::WindowContextHelpButtonHint));
            QCOMPARE(d.findChild<QLabel*>()->text(), texts[0]);
            QCOMPARE(d.findChild<QLineEdit*>()->maxLength(), 6);
            QStringList buttons;
            for (QPushButton* b : d.findChildren<QPushButton*>())
                buttons << b->text();
            QCOMPARE(buttons, texts.mid(1));
            ModalAnswers::typeText(d.findChild<QLineEdit*>(), "Q1");
            for (QPushButton* b : d.findChildren<QPushButton*>())
                if (b->text() == texts[1])
                    b->click();
        });
        trigger(internals(mw).menu_Import, action);
        QCOMPARE(answers.pending(), 0);
        QCOMPARE(BD_value[2].name, QString("Q1"));
    }

    void nameDialogDismissed_data()
    {
        QTest::addColumn<int>("how"); // 0 Cancel button, 1 Escape / close
        QTest::newRow("Cancel") << 0;
        QTest::newRow("closed") << 1;
    }

    void nameDialogDismissed()
    {
        QFETCH(int, how);
        presetSettings(1);
        MainWindow& mw = window();
        const MainWindowInternals in = internals(mw);
        putFile(path("m.csv"), kForeignCsv);
        importCurve("Target", path("m.csv"), "A"); // a name is pending from this one
        const QByteArray list = fileBytes(curveListFilePath());
        const QByteArray settings = fileBytes(settingsFilePath());
        {
            ModalAnswers answers;
            answers.file(path("m.csv"));
            if (how == 0)
                answers.button("Cancel");
            else
                answers.close();
            trigger(in.menu_Import, "Target");
            QCOMPARE(answers.pending(), 0);
        }
        QVERIFY(in.pendingCurveName.isEmpty());
        QCOMPARE(fileBytes(curveListFilePath()), list);
        QCOMPARE(fileBytes(settingsFilePath()), settings);
        QCOMPARE(rowNames(in.targetCurveList), (QStringList { "Harman OE", "A" }));
        QCOMPARE(QDir(path("Target")).entryList(QDir::Files), QStringList { "A.csv" });
    }

    void unusableCurveIsRefused_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("text");
        QTest::newRow("one data row, English") << 1 << QByteArray("Hz,dB\n1000,3\n") << "Error"
                                               << "Input file data error";
        QTest::newRow("no header, Chinese") << 0 << QByteArray("20,1\n30,2\n") << "错误"
                                            << "输入文件数据有误";
        QTest::newRow("binary, language 2") << 2 << QByteArray("\x00\x01\xff\xfe", 4) << "错误"
                                            << "输入文件数据有误";
        QTest::newRow("short own file")
            << 1 << QByteArray("Quorvel_csv_file\nfre(Hz),raw(dB)\n20,1\n1000,2\n20000,3\n")
            << "Error"
            << "Input file data error";
        QTest::newRow("own file with a row of one value")
            << 1 << ownCurve().replace("\n1000,", "\n1000\n#,") << "Error"
            << "Input file data error";
        // Levels that are no finite number, or that would overflow on the
        // grid, beside ordinary rows.
        QTest::newRow("nan, inf and 1e308 levels, English")
            << 1 << kForeignCsv + "1000,nan\n2000,inf\n4000,1e308\n8000,1e308\n"
            << "Error"
            << "Input file data error";
        QTest::newRow("nan level, Chinese") << 0 << kForeignCsv + "1000,nan\n"
                                            << "错误"
                                            << "输入文件数据有误";
        QCOMPARE(ownCurveEndingIn("18.1"), ownCurve()); // the fixture alters only that level
        QTest::newRow("own file with a 1e308 level") << 1 << ownCurveEndingIn("1e308") << "Error"
                                                     << "Input file data error";
    }

    void unusableCurveIsRefused()
    {
        QFETCH(int, language);
        QFETCH(QByteArray, content);
        QFETCH(QString, title);
        QFETCH(QString, text);
        presetSettings(language);
        MainWindow& mw = window();
        const MainWindowInternals in = internals(mw);
        putFile(path("bad.csv"), content);
        const QByteArray list = fileBytes(curveListFilePath());
        const QByteArray settings = fileBytes(settingsFilePath());

        ModalAnswers answers;
        answers.file(path("bad.csv")).button("OK");
        trigger(in.menu_Import, language == 1 ? "Target" : "导入目标曲线");
        QCOMPARE(answers.pending(), 0);
        QCOMPARE(answers.shown.size(), 2); // no name dialog
        QCOMPARE(answers.shown[1].title, title);
        QCOMPARE(answers.shown[1].text, text);
        QCOMPARE(answers.shown[1].choices, QStringList { "OK" });
        QCOMPARE(fileBytes(curveListFilePath()), list);
        QCOMPARE(fileBytes(settingsFilePath()), settings);
        QCOMPARE(in.targetCurveList->count(), 1);
        QVERIFY(QDir(path("Target")).entryList(QDir::Files).isEmpty());
    }

    // The largest level a curve may hold is drawn, the next step up is
    // unreadable: imported in the own and in a foreign format (the foreign
    // rows lie twice on each grid point, so the curve keeps their levels), or
    // stored and chosen at the start.
    void largestLevelDrawnNextRefused_data()
    {
        QTest::addColumn<QString>("road");
        QTest::addColumn<QString>("level");
        QTest::addColumn<bool>("drawn");
        for (const char* road : { "own", "foreign", "stored" }) {
            QTest::addRow("%s, the largest", road) << road << "100000" << true;
            QTest::addRow("%s, the largest below", road) << road << "-100000" << true;
            QTest::addRow("%s, the next up", road) << road << "100001" << false;
            QTest::addRow("%s, the next below", road) << road << "-100001" << false;
        }
        QTest::newRow("stored, 1e299") << "stored"
                                       << "1e299" << false;
    }

    void largestLevelDrawnNextRefused()
    {
        QFETCH(QString, road);
        QFETCH(QString, level);
        QFETCH(bool, drawn);
        constexpr int kAt = 120; // the grid point that holds the level
        QByteArray file;
        if (road == "foreign") {
            file = "Frequency(Hz),SPL(dB)\n";
            for (std::size_t k = 0; k < kGridSize; ++k)
                for (int twice = 0; twice < 2; ++twice)
                    file += gText(freqs1[k]).toLatin1() + ','
                        + (k == kAt ? level.toLatin1() : QByteArray("0")) + '\n';
        } else {
            CurveRows rows;
            for (std::size_t k = 0; k < kGridSize; ++k)
                rows.append({ freqs1[k], double(k) / 10.0 });
            file = curveFileText(rows).replace(
                ',' + gText(kAt / 10.0).toLatin1() + '\n', ',' + level.toLatin1() + '\n');
            QVERIFY(file.contains(',' + level.toLatin1() + '\n'));
        }
        // Stored: the first-start source entry names test.csv beside the program.
        putFile(path(road == "stored" ? "test.csv" : "curve.csv"), file);
        config_Init();
        sysSetValue.Language = 1;
        sysSetValue.Source_Mark = true;
        sysSetValue.Filtered_Mark = true;
        sysSetValue.Pre_select_fre_index = road == "stored" ? 0 : -1;
        Config_update();
        MainWindow& mw = window();
        const MainWindowInternals in = internals(mw);

        if (road != "stored") {
            const QByteArray list = fileBytes(curveListFilePath());
            ModalAnswers answers;
            if (drawn)
                answers.file(path("curve.csv")).typeAndAccept("Big");
            else
                answers.file(path("curve.csv")).button("OK");
            trigger(in.menu_Import, "SourceFR");
            QCOMPARE(answers.pending(), 0);
            if (!drawn) {
                QCOMPARE(answers.shown.size(), 2);
                QCOMPARE(answers.shown[1].text, QString("Input file data error"));
                QCOMPARE(fileBytes(curveListFilePath()), list);
                QVERIFY(QDir(path("Frequency")).entryList(QDir::Files).isEmpty());
            }
        }
        const double value = level.toDouble();
        const QList<QPointF> source
            = ResponseChart(in.chartView).series(ResponseChart::kSource)->points();
        QCOMPARE(source.size(), drawn || road != "stored" ? int(kGridSize) : 0);
        QCOMPARE(source.value(kAt).y() == value, drawn);

        // On the screen: the source and the filtered curve, raw and
        // compensated (their sums with the target).
        mw.show();
        QVERIFY(QTest::qWaitForWindowExposed(&mw));
        for (const bool compensated : { false, true }) {
            if (compensated)
                in.ui->checkBox_open->click();
            QVERIFY(testsupport::deliverPostedEvents());
            const QImage image = testsupport::shownImage(in.chartView);
            int sourcePixels = 0;
            int filteredPixels = 0;
            for (int y = 0; y < image.height(); ++y) {
                for (int x = 0; x < image.width(); ++x) {
                    const QColor c = image.pixelColor(x, y);
                    sourcePixels += c == QColor(QV_SOURCE_CURVE_RGB);
                    filteredPixels += c == QColor(QV_FILTERED_CURVE_RGB);
                }
            }
            const QString seen = QStringLiteral("%1 source, %2 filtered pixels, compensated %3")
                                     .arg(sourcePixels)
                                     .arg(filteredPixels)
                                     .arg(compensated);
            // Unread, a stored curve leaves the source empty; the chart is not blank.
            QVERIFY2(filteredPixels > 100, qPrintable(seen));
            if (drawn)
                QVERIFY2(sourcePixels > 50, qPrintable(seen));
        }
    }

    void cancelledFileDialogEndsTheRoad()
    {
        presetSettings(1);
        MainWindow& mw = window();
        const MainWindowInternals in = internals(mw);
        ModalAnswers answers;
        answers.file("").file("");
        trigger(in.menu_Import, "SourceFR");
        trigger(in.menu_Import, "Import Filters");
        QCOMPARE(answers.pending(), 0);
        QCOMPARE(answers.shown.size(), 2);
        QCOMPARE(buffer_count, 2);
    }

    void fullListIsRefused()
    {
        presetSettings(1);
        MainWindow& mw = window();
        putFile(path("m.csv"), kForeignCsv);
        while (buffer_count < kCurveListCapacity)
            QVERIFY(file_Add("tar", buffer_count, QString("c%1").arg(buffer_count), path("x.csv")));
        const QByteArray list = fileBytes(curveListFilePath());
        ModalAnswers answers;
        answers.button("OK");
        trigger(internals(mw).menu_Import, "Target");
        QCOMPARE(answers.pending(), 0);
        QCOMPARE(answers.shown[0].title, QString("Error"));
        QVERIFY(answers.shown[0].text.contains("full"));
        QCOMPARE(fileBytes(curveListFilePath()), list);
    }

    void failedCurveWriteAddsNothing()
    {
        presetSettings(1);
        MainWindow& mw = window();
        const MainWindowInternals in = internals(mw);
        putFile(path("m.csv"), kForeignCsv);
        // A directory where the curve file would go: it cannot be written.
        QVERIFY(QDir().mkpath(path("Target/B.csv")));
        const QByteArray list = fileBytes(curveListFilePath());
        ModalAnswers answers;
        answers.file(path("m.csv")).typeAndAccept("B").button("OK");
        trigger(in.menu_Import, "Target");
        QCOMPARE(answers.pending(), 0);
        QCOMPARE(answers.shown[2].text, QString("Input file data error"));
        QCOMPARE(fileBytes(curveListFilePath()), list);
        QCOMPARE(in.targetCurveList->count(), 1);
    }

    // ---- removing a curve ----

    void removeCurveKeepsTheChoices()
    {
        putFile(path("test.csv"), ownCurve());
        putFile(path("harman_over-ear_2018.csv"), ownCurve());
        presetSettings(1);
        MainWindow& mw = window();
        const MainWindowInternals in = internals(mw);
        putFile(path("m.csv"), kForeignCsv);
        importCurve("Target", path("m.csv"), "B"); // entry 2, chosen
        importCurve("SourceFR", path("m.csv"), "S"); // entry 3, chosen
        const CurveRows target = in.tar_list;
        QCOMPARE(sysSetValue.Pre_select_tar_index, 2);
        QCOMPARE(sysSetValue.Pre_select_fre_index, 3);

        // Entry 1 ("Harman OE") goes: its file with it, the others move down
        // and stay chosen.
        QTest::mouseClick(row(in.targetCurveList, 0)->findChild<QToolButton*>(), Qt::LeftButton);
        QVERIFY(!QFile::exists(path("harman_over-ear_2018.csv")));
        QCOMPARE(buffer_count, 3);
        QCOMPARE(curveListFile().size(), 3);
        QCOMPARE(curveListFile().at(1).toObject().value("name").toString(), QString("B"));
        QCOMPARE(curveListFile().at(1).toObject().value("index").toInt(), 1);
        QCOMPARE(settingsFile().value("Pre_select_tar_index").toInt(), 1);
        QCOMPARE(settingsFile().value("Pre_select_fre_index").toInt(), 2);
        QCOMPARE(rowNames(in.targetCurveList), QStringList { "B" });
        QCOMPARE(rowNames(in.sourceCurveList), (QStringList { "fre1", "S" }));
        QCOMPARE(row(in.targetCurveList, 0)->getItemWidgetIndex(), 1);
        QVERIFY(tar_show_sign && fre_show_sign);
        QCOMPARE(in.ui->comboBox_2->currentText(), QString("B"));
        QCOMPARE(in.ui->comboBox->currentText(), QString("S"));
        QCOMPARE(in.tar_list, target);
        QCOMPARE(seriesPoints(ResponseChart::kTarget), int(kGridSize));

        // The chosen source goes: nothing chosen, a flat 0 dB line, the placeholder.
        QTest::mouseClick(row(in.sourceCurveList, 1)->findChild<QToolButton*>(), Qt::LeftButton);
        QVERIFY(!QFile::exists(path("Frequency/S.csv")));
        QCOMPARE(settingsFile().value("Pre_select_fre_index").toInt(), -1);
        QCOMPARE(settingsFile().value("Pre_select_tar_index").toInt(), 1);
        QVERIFY(!fre_show_sign);
        QVERIFY(tar_show_sign);
        QCOMPARE(in.fre_list, flatCurveRows());
        QCOMPARE(in.ui->comboBox->currentText(), QString("Source FR"));
        QCOMPARE(in.ui->comboBox->styleSheet(), FormSheet::curvePicker("comboBox", true));
        QCOMPARE(in.ui->comboBox_2->currentText(), QString("B"));
        const auto* source = ResponseChart(in.chartView).series(ResponseChart::kSource);
        QCOMPARE(source->count(), int(kGridSize));
        for (int k = 0; k < source->count(); ++k)
            QCOMPARE(source->at(k).y(), 0.0);
        QTRY_COMPARE(mw.findChildren<AccountItem*>().size(), 2); // removed rows are deleted
    }

    void removeCurvePlaceholders_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("placeholder");
        QTest::newRow("Chinese") << 0 << "目标";
        QTest::newRow("English") << 1 << "Target";
        QTest::newRow("language 2") << 2 << "Target";
    }

    void removeCurvePlaceholders()
    {
        QFETCH(int, language);
        QFETCH(QString, placeholder);
        putFile(path("harman_over-ear_2018.csv"), ownCurve());
        presetSettings(language, false);
        sysSetValue.Pre_select_tar_index = 1;
        Config_update();
        MainWindow& mw = window();
        const MainWindowInternals in = internals(mw);
        QVERIFY(tar_show_sign);
        mw.sltRemoveAccount(1);
        QCOMPARE(in.ui->comboBox_2->currentText(), placeholder);
        QCOMPARE(seriesPoints(ResponseChart::kTarget), 0); // the Target option is off
        QCOMPARE(in.tar_list, flatCurveRows());
        QCOMPARE(settingsFile().value("Pre_select_tar_index").toInt(), -1);
    }

    // ---- exports ----

    void exportResponse_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<bool>("preampOn");
        QTest::newRow("English, preamp on") << 1 << true;
        QTest::newRow("Chinese, preamp off") << 0 << false;
    }

    void exportResponse()
    {
        QFETCH(int, language);
        QFETCH(bool, preampOn);
        presetSettings(language);
        MainWindow& mw = window();
        const MainWindowInternals in = internals(mw);
        EQ_data* const* set = mw.editedSet();
        set[0]->gain = -4.5;
        set[0]->status = preampOn ? 1 : 0;
        set[1]->status = 1;
        set[1]->gain = 6.0;
        mw.startThread();
        const QString file = path("response.csv");

        ModalAnswers answers;
        answers.file(file);
        trigger(in.menu_Export, menuText(language, "Export filter FR", "导出频响曲线"));
        QCOMPARE(answers.shown[0].title, QString("保存文件"));
        QCOMPARE(answers.shown[0].text, dir->path());
        QCOMPARE(answers.shown[0].choices, QStringList { "(*.csv)" });
        // What the chart's combined curve shows, preamp included only while on.
        QCOMPARE(fileBytes(file),
            responseFileText(
                freqs1.data(), int(kGridSize), filt_combined_fr1, preampOn ? -4.5 : 0.0));
        const CurveRows rows = importFromCSV(file);
        const auto* combined = ResponseChart(in.chartView).series(ResponseChart::kCombined);
        for (int k : { 0, 50, 103, 181 })
            QVERIFY(std::fabs(rows[k][1] - combined->at(k).y()) < 1e-3);
    }

    void cancelledExportWritesNothing()
    {
        presetSettings(1);
        MainWindow& mw = window();
        const MainWindowInternals in = internals(mw);
        ModalAnswers answers;
        answers.file("").file("");
        trigger(in.menu_Export, "Export filter FR");
        trigger(in.menu_Export, "Export filters");
        QCOMPARE(answers.pending(), 0);
        QVERIFY(QDir(dir->path()).entryList({ "*.csv", "*.txt" }, QDir::Files).isEmpty());
    }

    void exportFilters_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<int>("mode"); // comboBox_PEQMode index: 0 "L+R", 1 "L/R"
        QTest::addColumn<bool>("right");
        QTest::addColumn<bool>("expectRight");
        QTest::newRow("L+R with the switch on") << 1 << 0 << true << false;
        QTest::newRow("L/R left") << 0 << 1 << false << false;
        QTest::newRow("L/R right") << 1 << 1 << true << true;
    }

    void exportFilters()
    {
        QFETCH(int, language);
        QFETCH(int, mode);
        QFETCH(bool, right);
        QFETCH(bool, expectRight);
        presetSettings(language);
        presetChannelMode(mode);
        MainWindow& mw = window();
        const MainWindowInternals in = internals(mw);
        QCOMPARE(in.comboBox_PEQMode->currentIndex(), mode);
        in.checkBox_channel->setChecked(right);
        EQ[1]->gain = 1.5;
        EQ_R[1]->gain = -2.5;
        const QString file = path("filters.txt");
        ModalAnswers answers;
        answers.file(file);
        trigger(in.menu_Export, menuText(language, "Export filters", "导出滤波参数"));
        QCOMPARE(answers.shown[0].choices, QStringList { "(*.txt)" });
        QCOMPARE(fileBytes(file), filterText(expectRight ? EQ_R : EQ));
        QVERIFY(fileBytes(file).contains(expectRight ? "Gain -2.5 dB" : "Gain 1.5 dB"));
    }

    // A typed name is written with the suffix of the dialog's filter unless
    // it ends with it, in any letter case, so the import's file dialogs list
    // the file.
    void exportsCarryTheirSuffix_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("written");
        for (const bool filters : { true, false }) {
            const char* action = filters ? "Export filters" : "Export filter FR";
            const QString suffix = filters ? "txt" : "csv";
            QTest::addRow("%s, no suffix", action) << action << "myeq"
                                                   << "myeq." + suffix;
            QTest::addRow("%s, a dot and a space", action) << action << "hd600 v1.2"
                                                           << "hd600 v1.2." + suffix;
            QTest::addRow("%s, another suffix", action) << action << "a.b"
                                                        << "a.b." + suffix;
            QTest::addRow("%s, the suffix in capitals", action)
                << action << "a." + suffix.toUpper() << "a." + suffix.toUpper();
        }
    }

    void exportsCarryTheirSuffix()
    {
        QFETCH(QString, action);
        QFETCH(QString, typed);
        QFETCH(QString, written);
        presetSettings(1);
        MainWindow& mw = window();
        QVERIFY(QDir(dir->path()).mkdir("out"));
        ModalAnswers answers;
        answers.file(path("out/" + typed));
        trigger(internals(mw).menu_Export, action);
        QCOMPARE(answers.pending(), 0);
        QCOMPARE(QDir(path("out")).entryList(QDir::Files), QStringList { written });
        QVERIFY(fileBytes(path("out/" + written))
                    .startsWith(action == "Export filters" ? "Preamp: " : "Quorvel_csv_file"));
    }

    // A stored export folder that is gone opens the dialogs in the home
    // folder; the setting keeps what the user chose.
    void missingExportFolderOpensHome()
    {
        presetSettings(1);
        sysSetValue.EQ_save_file_path = path("gone/Desktop");
        Config_update();
        MainWindow& mw = window();
        ModalAnswers answers;
        answers.file("").file(QDir::home().filePath("myeq"));
        trigger(internals(mw).menu_Export, "Export filter FR");
        trigger(internals(mw).menu_Export, "Export filters");
        QCOMPARE(answers.pending(), 0);
        QCOMPARE(answers.shown[0].text, QDir::homePath());
        QCOMPARE(answers.shown[1].text, QDir::homePath());
        QVERIFY(QFile::exists(QDir::home().filePath("myeq.txt")));
        QVERIFY(QFile::remove(QDir::home().filePath("myeq.txt")));
        QCOMPARE(sysSetValue.EQ_save_file_path, path("gone/Desktop"));
        QCOMPARE(settingsFile().value("EQ_save_file_path").toString(), path("gone/Desktop"));
    }

    // ---- importing filters ----

    void factoryPresetRefusal_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("button");
        QTest::newRow("English")
            << 1
            << "The preset configuration cannot be modified. Please switch to another "
               "local configuration or machine configuration"
            << "OK";
        QTest::newRow("Chinese") << 0 << "预设配置无法修改，请切换到其他本地配置或者机子配置"
                                 << "好的";
        QTest::newRow("language 2") << 2 << "预设配置无法修改，请切换到其他本地配置或者机子配置"
                                    << "好的";
    }

    void factoryPresetRefusal()
    {
        QFETCH(int, language);
        QFETCH(QString, text);
        QFETCH(QString, button);
        presetSettings(language);
        MainWindow& mw = window();
        biaozhi_name = "yyyy";
        morendevice_name = "Warm";
        const QString before = bandOf(EQ, 1);
        ModalAnswers answers;
        answers.button(button);
        trigger(internals(mw).menu_Import, menuText(language, "Import Filters", "导入滤波参数"));
        QCOMPARE(answers.pending(), 0);
        QCOMPARE(answers.shown.size(), 1); // before any file dialog
        QCOMPARE(answers.shown[0].title, QString("Quorvel"));
        QCOMPARE(answers.shown[0].text, text);
        QCOMPARE(answers.shown[0].choices, QStringList { button });
        QCOMPARE(bandOf(EQ, 1), before);
    }

    void factoryNamesElsewhereGoOn_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("editable");
        QTest::newRow("local preset named Warm") << "xxxx" << false;
        QTest::newRow("editable factory presets") << "yyyy" << true;
    }

    void factoryNamesElsewhereGoOn()
    {
        QFETCH(QString, kind);
        QFETCH(bool, editable);
        presetSettings(1);
        MainWindow& mw = window();
        biaozhi_name = kind;
        morendevice_name = "Warm";
        execute_biaozhi = editable;
        ModalAnswers answers;
        answers.file("");
        trigger(internals(mw).menu_Import, "Import Filters");
        QCOMPARE(answers.pending(), 0);
        QCOMPARE(answers.shown[0].kind, ModalAnswers::Kind::File);
        QCOMPARE(answers.shown[0].title, QString("Open TXT File"));
        QCOMPARE(answers.shown[0].text, QString());
        QCOMPARE(answers.shown[0].choices, QStringList { "TXT Files (*.txt)" });
    }

    void importQuestion_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("buttons"); // Yes, New Configuration, Cancel
        QTest::newRow("English") << 1 << "Do you want to import the current configuration"
                                 << QStringList { "Yes", "New Configuration", "Cancel" };
        QTest::newRow("Chinese") << 0 << "是否导入当前配置"
                                 << QStringList { "是的", "新建配置", "取消" };
        QTest::newRow("language 2")
            << 2 << "是否导入当前配置" << QStringList { "是的", "新建配置", "取消" };
    }

    void importQuestion()
    {
        QFETCH(int, language);
        QFETCH(QString, text);
        QFETCH(QStringList, buttons);
        presetSettings(language);
        MainWindow& mw = window();
        putFile(path("f.txt"), kFilterText.toUtf8());
        const QString before = bandOf(EQ, 1);
        ModalAnswers answers;
        answers.file(path("f.txt")).dialog([&](QDialog& d) {
            auto& box = static_cast<QMessageBox&>(d);
            QCOMPARE(box.icon(), QMessageBox::NoIcon);
            QCOMPARE(box.layoutDirection(), Qt::RightToLeft);
            QCOMPARE(box.parentWidget(), &mw);
            QVERIFY(box.styleSheet().contains("background-color: rgb(56, 56, 56)"));
            QCOMPARE(box.button(QMessageBox::Yes)->text(), buttons[0]);
            QCOMPARE(box.button(QMessageBox::Ok)->text(), buttons[1]);
            QCOMPARE(box.button(QMessageBox::Cancel)->text(), buttons[2]);
            box.button(QMessageBox::Cancel)->click();
        });
        trigger(internals(mw).menu_Import, menuText(language, "Import Filters", "导入滤波参数"));
        QCOMPARE(answers.pending(), 0);
        QCOMPARE(answers.shown[1].title, QString("Quorvel"));
        QCOMPARE(answers.shown[1].text, text);
        QCOMPARE(Parameter_Path, path("f.txt"));
        QCOMPARE(bandOf(EQ, 1), before); // Cancel changes nothing
    }

    void importYes_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("right");
        QTest::addColumn<bool>("intoLeft");
        QTest::addColumn<bool>("intoRight");
        QTest::newRow("L+R") << 0 << true << true << false;
        QTest::newRow("L/R left") << 1 << false << true << false;
        QTest::newRow("L/R right") << 1 << true << false << true;
    }

    void importYes()
    {
        QFETCH(int, mode);
        QFETCH(bool, right);
        QFETCH(bool, intoLeft);
        QFETCH(bool, intoRight);
        presetSettings(1);
        presetChannelMode(mode);
        MainWindow& mw = window();
        const MainWindowInternals in = internals(mw);
        QCOMPARE(in.comboBox_PEQMode->currentIndex(), mode);
        in.checkBox_channel->setChecked(right);
        putFile(path("f.txt"), kFilterText.toUtf8());
        const QString left1 = bandOf(EQ, 1);
        const QString right1 = bandOf(EQ_R, 1);
        QSignalSpy tianjia(&mw, &MainWindow::send_tianjia);
        ModalAnswers answers;
        answers.file(path("f.txt")).button("Yes");
        trigger(in.menu_Import, "Import Filters");
        QCOMPARE(answers.pending(), 0);
        QCOMPARE(bandOf(EQ, 1), intoLeft ? QString("1 4 105 5.5 0.71") : left1);
        QCOMPARE(bandOf(EQ_R, 1), intoRight ? QString("1 4 105 5.5 0.71") : right1);
        QCOMPARE(bandOf(intoLeft ? EQ : EQ_R, 0).section(' ', 3, 3), QString("-4.4"));
        QCOMPARE(tianjia.count(), 0);
    }

    void importNewConfiguration_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("local");
        QTest::addColumn<int>("device");
        QTest::newRow("local preset") << "xxxx" << 1 << 0;
        QTest::newRow("device preset") << "yyyy" << 0 << 1;
        QTest::newRow("neither") << "" << 0 << 0;
    }

    void importNewConfiguration()
    {
        QFETCH(QString, kind);
        QFETCH(int, local);
        QFETCH(int, device);
        presetSettings(1);
        MainWindow& mw = window();
        biaozhi_name = kind;
        putFile(path("f.txt"), kFilterText.toUtf8());
        const QString left1 = bandOf(EQ, 1);
        QSignalSpy tianjia(&mw, &MainWindow::send_tianjia);
        QSignalSpy tianjia2(&mw, &MainWindow::send_tianjia2);
        ModalAnswers answers;
        answers.file(path("f.txt")).button("New Configuration");
        if (device)
            answers.button("OK"); // the panel: no device to make a slot in
        trigger(internals(mw).menu_Import, "Import Filters");
        QCOMPARE(answers.pending(), 0);
        if (device)
            QCOMPARE(answers.shown.last().title, QString("Remind"));
        QCOMPARE(tianjia.count(), local);
        QCOMPARE(tianjia2.count(), device);
        QCOMPARE(Parameter_Path, path("f.txt"));
        QCOMPARE(bandOf(EQ, 1), left1); // the values arrive once the new preset is made
    }

    // The new preset receives the file in both sets; a connected device gets
    // the whole set, both channels from EQ, in 116 frames.
    void workFinishedUploads_data()
    {
        QTest::addColumn<int>("connected");
        QTest::addColumn<bool>("tenths");
        QTest::newRow("connected, tenths") << 1 << true;
        QTest::newRow("connected, halves") << 1 << false;
        QTest::newRow("not connected") << 0 << true;
    }

    void workFinishedUploads()
    {
        QFETCH(int, connected);
        QFETCH(bool, tenths);
        presetSettings(1);
        MainWindow& mw = window();
        QVERIFY(stopDeviceThreads()); // the test opens the device itself
        OpenedDevice device;
        QVERIFY(device.isOpen());
        sim::Engine& engine = device.engine;
        hid_status = connected;
        config_connect_status = connected;
        Gain_flag = tenths;
        EQ_R[3]->gain = 9.0; // the right set differs from the file and from EQ
        putFile(path("f.txt"), kFilterText.toUtf8());
        Parameter_Path = path("f.txt");

        engine.clearWrites();
        mw.onWorkFinished();
        QCOMPARE(bandOf(EQ, 2), QString("1 1 1000 -3 2"));
        QCOMPARE(bandOf(EQ_R, 2), QString("1 1 1000 -3 2"));
        QCOMPARE(EQ_R[0]->gain, -4.4);
        QCOMPARE(EQ_R[0]->status, uint8_t(1));

        const std::vector<sim::Frame> frames = engine.writtenFrames();
        if (connected) {
            // The order of a whole-set upload, every field of every record.
            QList<uint32_t> commands { 0x9E01, 0x9C01, 0x9C02, 0x9C03, 0x9C04 };
            for (uint32_t b = 1; b <= 11; ++b)
                for (uint32_t field = 1; field <= 10; ++field)
                    commands << ((0x90 + b) << 8 | field);
            commands << 0x9E01;
            QVERIFY(frames.size() >= std::size_t(kUploadFrames));
            for (int i = 0; i < kUploadFrames; ++i) {
                QCOMPARE(frames[i].command, commands[i]);
                QCOMPARE(frames[i].total, uint8_t(1));
                QCOMPARE(frames[i].current, uint8_t(1));
                QCOMPARE(frames[i].protocol, uint8_t(0x20));
            }
            const int32_t preamp = int32_t(value_deal::Get_Modulus(-44));
            const QList<int32_t> head { 1, preamp, 1, preamp, 1, 4, 105, tenths ? 55 : 11, 7100, 1,
                4, 105, tenths ? 55 : 11, 7100, 1, 1, 1000, tenths ? -30 : -6, 20000, 1, 1, 1000,
                tenths ? -30 : -6, 20000, 1 };
            for (int i = 0; i < head.size(); ++i)
                QCOMPARE(frames[i].data, head[i]);
            // Band 3 of the right channel comes from EQ too.
            QCOMPARE(frames[5 + 2 * 10 + 7].data,
                tenths ? int32_t(EQ[3]->gain * 10) : int32_t(EQ[3]->gain * 2));
            QCOMPARE(frames[kUploadFrames - 1].data, 0);
        } else {
            QCOMPARE(frames.size(), std::size_t(0));
        }

        hid_status = 0;
        config_connect_status = 0;
    }

    void unreadableFilterFileStillRefreshes()
    {
        presetSettings(1);
        MainWindow& mw = window();
        const QString left1 = bandOf(EQ, 1);
        Parameter_Path = path("missing.txt");
        mw.onWorkFinished();
        QCOMPARE(bandOf(EQ, 1), left1);
    }
};

int main(int argc, char* argv[])
{
    MacApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    TestIoWindow test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "test_io_window.moc"
