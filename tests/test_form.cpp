// The main window form: object names, classes, sizes, fonts, texts, sheets,
// what it draws (readable texts, the images of its buttons) and the binding
// of on_<object>_<signal> slots by name.
#include <QAbstractButton>
#include <QComboBox>
#include <QHash>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QScrollArea>
#include <QSplitter>
#include <QStatusBar>
#include <QTest>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <functional>

#include "app/mainwindow_style.h"
#include "app/mainwindow_ui.h"
#include "widgets/balance.h"
#include "widgets/customcontrols.h"
#include "widgets/resources.h"
#include "workspace/workspace.h"
#include "warning_log.h"

// Stands in for the main window: every slot the form binds by name, each
// recording that it ran.
class FormHost : public QMainWindow
{
    Q_OBJECT

public:
    QStringList hits;

#define QV_HIT0(name)                                                                              \
    void name() { hits << QStringLiteral(#name "()"); }
#define QV_HIT_BOOL(name)                                                                          \
    void name(bool) { hits << QStringLiteral(#name "(bool)"); }

public slots:
    void on_checkBox_clicked(bool) { hits << QStringLiteral("on_checkBox_clicked(bool)"); }
    void on_checkBox_stateChanged(int) { hits << QStringLiteral("on_checkBox_stateChanged(int)"); }
    QV_HIT_BOOL(on_checkBox_8_clicked)
    QV_HIT_BOOL(on_checkBox_10_clicked)
    QV_HIT_BOOL(on_checkBox_9_clicked)
    QV_HIT_BOOL(on_checkBox_11_clicked)
    QV_HIT_BOOL(on_checkBox_12_clicked)
    QV_HIT_BOOL(on_checkBox_13_clicked)
    QV_HIT_BOOL(on_checkBox_14_clicked)
    QV_HIT_BOOL(on_checkBox_15_clicked)
    QV_HIT_BOOL(on_checkBox_16_clicked)
    QV_HIT_BOOL(on_checkBox_17_clicked)
    QV_HIT_BOOL(on_checkBox_18_clicked)
    QV_HIT0(on_PButton_AddEQ_clicked)
    QV_HIT0(on_PButton_RemoveEQ_1_clicked)
    QV_HIT0(on_PButton_RemoveEQ_2_clicked)
    QV_HIT0(on_PButton_RemoveEQ_3_clicked)
    QV_HIT0(on_PButton_RemoveEQ_4_clicked)
    QV_HIT0(on_PButton_RemoveEQ_5_clicked)
    QV_HIT0(on_PButton_RemoveEQ_6_clicked)
    QV_HIT0(on_PButton_RemoveEQ_7_clicked)
    QV_HIT0(on_PButton_RemoveEQ_8_clicked)
    QV_HIT0(on_PButton_RemoveEQ_9_clicked)
    QV_HIT0(on_PButton_RemoveEQ_10_clicked)
    QV_HIT0(on_PButton_RemoveEQ_11_clicked)
    QV_HIT_BOOL(on_checkBox_target_clicked)
    QV_HIT_BOOL(on_checkBox_frequency_clicked)
    QV_HIT_BOOL(on_checkBox_each_clicked)
    QV_HIT_BOOL(on_checkBox_EQ_clicked)
    QV_HIT_BOOL(on_checkBox_combined_clicked)
    QV_HIT_BOOL(on_checkBox_open_clicked)
    QV_HIT0(on_PButton_Set_clicked)
    QV_HIT0(on_PButton_Set_2_clicked)
    QV_HIT0(on_PButton_Set_4_clicked)
    QV_HIT0(on_PButton_Set_5_clicked)
    QV_HIT0(on_PButton_Set_6_clicked)
    QV_HIT0(on_toolButton_2_clicked)
    QV_HIT_BOOL(on_toolButton_2_clicked)

#undef QV_HIT0
#undef QV_HIT_BOOL
};

class TestForm : public QObject
{
    Q_OBJECT

private:
    FormHost* window = nullptr;
    MainWindowUi ui;

    // The preset panel has a form of its own whose names ("label_2",
    // "scrollArea", ...) repeat the window's; those are not the window's.
    static bool insidePanel(const QObject* o)
    {
        for (const QObject* p = o->parent(); p; p = p->parent())
            if (qobject_cast<const Workspace*>(p))
                return true;
        return false;
    }

    template <class T = QWidget> T* find(const QString& name)
    {
        QList<QObject*> all = window->findChildren<QObject*>(name);
        all.removeIf(insidePanel);
        if (all.size() != 1)
            qWarning("%d objects named %s", int(all.size()), qPrintable(name));
        return all.isEmpty() ? nullptr : qobject_cast<T*>(all.first());
    }

private slots:
    void initTestCase();
    void cleanupTestCase();
    void setupBindsWithoutWarnings();
    void descriptorTableMatchesRows();
    void descriptorMembersAreTheNamedObjects();
    void classes_data();
    void classes();
    void sizesAndFonts_data();
    void sizesAndFonts();
    void rowSizes();
    void minimumWinsOverSmallerMaximum_data();
    void minimumWinsOverSmallerMaximum();
    void layoutTree();
    void initialTexts_data();
    void initialTexts();
    void bandRowTexts();
    void styleSheets_data();
    void styleSheets();
    void bandRowSheets();
    void textsReadable_data();
    void textsReadable();
    void imagesShown_data();
    void imagesShown();
    void nothingHiddenOrDisabled();
    void slotsBoundByName_data();
    void slotsBoundByName();
};

// The band rows as the form must name them: box, label, enable, type combo,
// frequency-label combo, frequency dial and text, gain label, dial and text,
// Q label, dial and text, remove button.
static const char* const kRows[11][14] = {
    { "groupBox_12", "label_6", "checkBox_8", "comboBox_25", "comboBox_26", "gbox2_BL1",
        "gbox2_lineEdit1", "label_9", "gbox2_BL2", "gbox2_lineEdit2", "label", "gbox2_BL3",
        "gbox2_lineEdit3", "PButton_RemoveEQ_1" },
    { "groupBox_14", "label_7", "checkBox_10", "comboBox_31", "comboBox_32", "gbox3_BL1",
        "gbox3_lineEdit1", "label_11", "gbox3_BL2", "gbox3_lineEdit2", "label_28", "gbox3_BL3",
        "gbox3_lineEdit3", "PButton_RemoveEQ_2" },
    { "groupBox_13", "label_8", "checkBox_9", "comboBox_28", "comboBox_29", "gbox4_BL1",
        "gbox4_lineEdit1", "label_10", "gbox4_BL2", "gbox4_lineEdit2", "label_30", "gbox4_BL3",
        "gbox4_lineEdit3", "PButton_RemoveEQ_3" },
    { "groupBox_15", "label_20", "checkBox_11", "comboBox_34", "comboBox_35", "gbox3_BL1_2",
        "gbox3_lineEdit1_2", "label_12", "gbox3_BL2_2", "gbox3_lineEdit2_2", "label_31",
        "gbox3_BL3_2", "gbox3_lineEdit3_2", "PButton_RemoveEQ_4" },
    { "groupBox_16", "label_21", "checkBox_12", "comboBox_37", "comboBox_38", "gbox3_BL1_3",
        "gbox3_lineEdit1_3", "label_13", "gbox3_BL2_3", "gbox3_lineEdit2_3", "label_32",
        "gbox3_BL3_3", "gbox3_lineEdit3_3", "PButton_RemoveEQ_5" },
    { "groupBox_17", "label_22", "checkBox_13", "comboBox_40", "comboBox_41", "gbox3_BL1_4",
        "gbox3_lineEdit1_4", "label_14", "gbox3_BL2_4", "gbox3_lineEdit2_4", "label_33",
        "gbox3_BL3_4", "gbox3_lineEdit3_4", "PButton_RemoveEQ_6" },
    { "groupBox_18", "label_23", "checkBox_14", "comboBox_43", "comboBox_44", "gbox3_BL1_5",
        "gbox3_lineEdit1_5", "label_15", "gbox3_BL2_5", "gbox3_lineEdit2_5", "label_34",
        "gbox3_BL3_5", "gbox3_lineEdit3_5", "PButton_RemoveEQ_7" },
    { "groupBox_19", "label_24", "checkBox_15", "comboBox_46", "comboBox_47", "gbox3_BL1_6",
        "gbox3_lineEdit1_6", "label_16", "gbox3_BL2_6", "gbox3_lineEdit2_6", "label_35",
        "gbox3_BL3_6", "gbox3_lineEdit3_6", "PButton_RemoveEQ_8" },
    { "groupBox_20", "label_25", "checkBox_16", "comboBox_49", "comboBox_50", "gbox3_BL1_7",
        "gbox3_lineEdit1_7", "label_17", "gbox3_BL2_7", "gbox3_lineEdit2_7", "label_36",
        "gbox3_BL3_7", "gbox3_lineEdit3_7", "PButton_RemoveEQ_9" },
    { "groupBox_21", "label_26", "checkBox_17", "comboBox_52", "comboBox_53", "gbox3_BL1_8",
        "gbox3_lineEdit1_8", "label_18", "gbox3_BL2_8", "gbox3_lineEdit2_8", "label_37",
        "gbox3_BL3_8", "gbox3_lineEdit3_8", "PButton_RemoveEQ_10" },
    { "groupBox_22", "label_27", "checkBox_18", "comboBox_55", "comboBox_56", "gbox3_BL1_9",
        "gbox3_lineEdit1_9", "label_19", "gbox3_BL2_9", "gbox3_lineEdit2_9", "label_38",
        "gbox3_BL3_9", "gbox3_lineEdit3_9", "PButton_RemoveEQ_11" },
};

// Class of each member column of kRows.
static const char* const kRowClasses[14] = { "QGroupBox", "QLabel", "CustomCheckBox", "QComboBox",
    "QComboBox", "Balance2", "CustomLineEdit", "QLabel", "Balance1", "CustomLineEdit", "QLabel",
    "Balance", "CustomLineEdit", "CustomPushButton" };

static QStringList descriptorNames(const BandRowDescriptor& d)
{
    return { d.groupBox.name, d.rowLabel.name, d.enable.name, d.typeCombo.name,
        d.freqLabelCombo.name, d.freqDial.name, d.freqText.name, d.gainLabel.name, d.gainDial.name,
        d.gainText.name, d.qLabel.name, d.qDial.name, d.qText.name, d.removeButton.name };
}

static QList<QObject*> descriptorObjects(const BandRowDescriptor& d, const MainWindowUi& ui)
{
    return { d.groupBox.of(ui), d.rowLabel.of(ui), d.enable.of(ui), d.typeCombo.of(ui),
        d.freqLabelCombo.of(ui), d.freqDial.of(ui), d.freqText.of(ui), d.gainLabel.of(ui),
        d.gainDial.of(ui), d.gainText.of(ui), d.qLabel.of(ui), d.qDial.of(ui), d.qText.of(ui),
        d.removeButton.of(ui) };
}

void TestForm::initTestCase()
{
    initResources();
    testsupport::installWarningLog(true);
    window = new FormHost;
    ui.setup(window);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
}

void TestForm::cleanupTestCase()
{
    delete window;
    testsupport::removeWarningLog();
}

void TestForm::setupBindsWithoutWarnings()
{
    // A misspelt object name shows up as "No matching signal for on_...".
    QVERIFY2(testsupport::warningLog().isEmpty(),
        qPrintable(testsupport::warningLog().join(QLatin1Char('\n'))));
    QCOMPARE(window->objectName(), QStringLiteral("MainWindow"));

    // A window that already has a name keeps it.
    QMainWindow named;
    named.setObjectName(QStringLiteral("Other"));
    MainWindowUi other;
    other.setup(&named);
    QCOMPARE(named.objectName(), QStringLiteral("Other"));
}

void TestForm::descriptorTableMatchesRows()
{
    const auto& rows = bandRowDescriptors();
    QCOMPARE(int(rows.size()), 11);
    for (int i = 0; i < 11; ++i) {
        const BandRowDescriptor& d = rows[i];
        QCOMPARE(d.row, i + 2);
        QCOMPARE(d.band, i + 1);
        QStringList expected;
        for (const char* name : kRows[i])
            expected << QString::fromLatin1(name);
        QCOMPARE(descriptorNames(d), expected);
        QCOMPARE(d.labelPointSize, d.row >= 10 ? 9 : 12);
    }
}

void TestForm::descriptorMembersAreTheNamedObjects()
{
    for (const BandRowDescriptor& d : bandRowDescriptors()) {
        const QStringList names = descriptorNames(d);
        const QList<QObject*> objects = descriptorObjects(d, ui);
        for (int c = 0; c < names.size(); ++c) {
            QVERIFY2(objects[c], qPrintable(names[c]));
            QCOMPARE(objects[c]->objectName(), names[c]);
            QCOMPARE(find<QObject>(names[c]), objects[c]);
        }
    }
}

void TestForm::classes_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("className");
    const char* const fixed[][2] = {
        { "centralwidget", "QWidget" },
        { "label_29", "QLabel" },
        { "widget", "Workspace" },
        { "splitter", "QSplitter" },
        { "groupBox", "QGroupBox" },
        { "widget_2", "QWidget" },
        { "label_4", "QLabel" },
        { "PButton_Set", "CustomPushButton" },
        { "PButton_Set_2", "CustomPushButton" },
        { "toolButton_3", "QToolButton" },
        { "toolButton_2", "QToolButton" },
        { "toolButton", "QToolButton" },
        { "label_39", "QLabel" },
        { "label_40", "QLabel" },
        { "comboBox_2", "CustomComboBox" },
        { "label_41", "QLabel" },
        { "comboBox", "CustomComboBox" },
        { "PButton_Set_4", "CustomPushButton" },
        { "PButton_Set_5", "CustomPushButton" },
        { "PButton_Set_6", "CustomPushButton" },
        { "widget_3", "QWidget" },
        { "widget_4", "QWidget" },
        { "checkBox_target", "CustomCheckBox" },
        { "checkBox_frequency", "CustomCheckBox" },
        { "checkBox_each", "CustomCheckBox" },
        { "checkBox_EQ", "CustomCheckBox" },
        { "checkBox_combined", "CustomCheckBox" },
        { "checkBox_open", "CustomCheckBox" },
        { "scrollArea", "CustomScrollArea" },
        { "scrollAreaWidgetContents", "QWidget" },
        { "groupBox_4", "QGroupBox" },
        { "label_5", "QLabel" },
        { "checkBox", "CustomCheckBox" },
        { "label_2", "QLabel" },
        { "label_3", "QLabel" },
        { "gbox1_BL1", "Balance1" },
        { "gbox1_lineEdit", "CustomLineEdit" },
        { "groupBox_23", "QGroupBox" },
        { "PButton_AddEQ", "CustomPushButton" },
        { "statusbar", "QStatusBar" },
    };
    for (const auto& row : fixed)
        QTest::newRow(row[0]) << QString::fromLatin1(row[0]) << QString::fromLatin1(row[1]);
    for (const auto& row : kRows)
        for (int c = 0; c < 14; ++c)
            QTest::newRow(row[c]) << QString::fromLatin1(row[c])
                                  << QString::fromLatin1(kRowClasses[c]);
}

void TestForm::classes()
{
    QFETCH(QString, name);
    QFETCH(QString, className);
    QObject* o = find<QObject>(name);
    QVERIFY(o);
    QCOMPARE(QString::fromLatin1(o->metaObject()->className()), className);
}

void TestForm::sizesAndFonts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("minSize");
    QTest::addColumn<QSize>("maxSize");
    // 0: the inherited 9-pt window font; negative: pixels set by a style sheet
    // (or, for the dials, by the dial itself)
    QTest::addColumn<int>("points");

    const int U = QWIDGETSIZE_MAX;
    auto row = [](const char* n, QSize min, QSize max, int pt) {
        QTest::newRow(n) << QString::fromLatin1(n) << min << max << pt;
    };
    row("label_29", { 213, 60 }, { 213, 60 }, 0);
    row("widget", { 213, 570 }, { 213, U }, 0);
    row("groupBox", { 780, 410 }, { U, U }, 0);
    row("widget_2", { 0, 60 }, { U, 60 }, 0);
    row("label_4", { 0, 0 }, { U, U }, 11);
    row("PButton_Set", { 25, 25 }, { 25, 25 }, 0);
    row("PButton_Set_4", { 20, 20 }, { 20, 20 }, 0);
    row("toolButton", { 60, 25 }, { 30, 25 }, 11);
    row("label_40", { 45, 0 }, { U, U }, 0);
    row("label_41", { 60, 0 }, { U, U }, 0);
    row("comboBox_2", { 142, 30 }, { 140, 30 }, -14);
    row("widget_4", { 0, 0 }, { U, 40 }, 0);
    row("checkBox_target", { 120, 0 }, { 145, U }, 0);
    row("checkBox_EQ", { 180, 0 }, { 145, U }, 0);
    row("checkBox_open", { 100, 0 }, { 100, U }, 0);
    row("scrollArea", { 880, 200 }, { U, U }, 0);
    row("groupBox_4", { 0, 60 }, { 200010, 60 }, 0);
    row("label_5", { 25, 0 }, { U, U }, 12);
    row("label_2", { 0, 0 }, { U, U }, 15);
    row("label_3", { 40, 20 }, { 40, 20 }, 15);
    row("gbox1_BL1", { 40, 40 }, { 40, 40 }, -20);
    row("gbox1_lineEdit", { 60, 20 }, { 60, 20 }, 14);
    row("groupBox_23", { 0, 60 }, { U, 60 }, 0);
    row("PButton_AddEQ", { 25, 25 }, { 25, 25 }, 0);
    row("statusbar", { 0, 0 }, { U, U }, 14);
    // Band row members, first and last row and a two-digit label.
    row("groupBox_12", { 0, 60 }, { U, 60 }, 0);
    row("label_6", { 25, 0 }, { U, U }, 12);
    row("label_24", { 25, 0 }, { U, U }, 12);
    row("label_25", { 25, 0 }, { U, U }, 9);
    row("label_27", { 25, 0 }, { U, U }, 9);
    row("comboBox_25", { 120, 25 }, { 140, U }, 14);
    row("comboBox_56", { 130, 25 }, { 140, U }, 14);
    row("gbox3_BL1_9", { 40, 40 }, { 40, 40 }, -20);
    row("gbox3_lineEdit1_9", { 60, 0 }, { 65, 20 }, 14);
    row("label_38", { 60, 0 }, { 60, U }, 15);
    row("label_9", { 40, 20 }, { 40, 20 }, 15);
    row("gbox2_BL2", { 40, 40 }, { 40, 40 }, -20);
    row("gbox2_lineEdit2", { 60, 20 }, { 60, 20 }, 14);
    row("gbox2_BL3", { 40, 40 }, { 40, 40 }, -20);
    row("gbox2_lineEdit3", { 65, 20 }, { 65, 20 }, 14);
    row("PButton_RemoveEQ_11", { 20, 20 }, { 25, 25 }, 0);
}

void TestForm::sizesAndFonts()
{
    QFETCH(QString, name);
    QFETCH(QSize, minSize);
    QFETCH(QSize, maxSize);
    QFETCH(int, points);
    QWidget* w = find(name);
    QVERIFY(w);
    QCOMPARE(w->minimumSize(), minSize);
    QCOMPARE(w->maximumSize(), maxSize);
    if (points < 0) {
        QCOMPARE(w->font().pixelSize(), -points);
        return;
    }
    QCOMPARE(w->font().pointSize(), points ? points : 9);
    // Only the size is set; the family follows the application font.
    QCOMPARE(w->font().family(), QApplication::font().family());
}

void TestForm::rowSizes()
{
    QCOMPARE(window->size(), QSize(1114, 691));
    QCOMPARE(window->minimumSize(), QSize(1114, 691));
    QCOMPARE(window->font().pointSize(), 9);
    for (const BandRowDescriptor& d : bandRowDescriptors()) {
        QCOMPARE(d.groupBox.of(ui)->height(), 60);
        for (QWidget* dial : { static_cast<QWidget*>(d.freqDial.of(ui)),
                 static_cast<QWidget*>(d.gainDial.of(ui)), static_cast<QWidget*>(d.qDial.of(ui)) })
            QCOMPARE(dial->size(), QSize(40, 40));
        QCOMPARE(d.typeCombo.of(ui)->count(), 5);
        QCOMPARE(d.freqLabelCombo.of(ui)->count(), 2);
        auto* button = d.removeButton.of(ui);
        QVERIFY(button->isFlat());
        QCOMPARE(button->sizePolicy().horizontalPolicy(), QSizePolicy::Fixed);
    }
    QCOMPARE(ui.groupBox_4->height(), 60);
    QCOMPARE(ui.gbox1_BL1->size(), QSize(40, 40));
}

void TestForm::minimumWinsOverSmallerMaximum_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("width");
    for (const char* n : { "toolButton", "toolButton_2", "toolButton_3" })
        QTest::newRow(n) << QString::fromLatin1(n) << 60;
    for (const char* n : { "comboBox", "comboBox_2" })
        QTest::newRow(n) << QString::fromLatin1(n) << 142;
    QTest::newRow("checkBox_EQ") << QStringLiteral("checkBox_EQ") << 180;
}

void TestForm::minimumWinsOverSmallerMaximum()
{
    QFETCH(QString, name);
    QFETCH(int, width);
    QCOMPARE(find(name)->width(), width);
}

void TestForm::layoutTree()
{
    QCOMPARE(window->centralWidget(), ui.centralwidget);
    QCOMPARE(window->statusBar(), ui.statusbar);
    int row, column, rowSpan, columnSpan;
    const QList<std::pair<QWidget*, std::array<int, 4>>> cells = { { ui.label_29, { 0, 0, 1, 1 } },
        { ui.widget, { 1, 0, 1, 1 } }, { ui.splitter, { 0, 1, 2, 1 } } };
    for (const auto& [w, cell] : cells) {
        ui.gridLayout->getItemPosition(
            ui.gridLayout->indexOf(w), &row, &column, &rowSpan, &columnSpan);
        QCOMPARE((std::array<int, 4> { row, column, rowSpan, columnSpan }), cell);
    }
    QCOMPARE(ui.widget->parentWidget(), ui.centralwidget);
    QCOMPARE(ui.splitter->orientation(), Qt::Vertical);
    QCOMPARE(ui.splitter->handleWidth(), 10);
    QCOMPARE(ui.splitter->widget(0), ui.groupBox);
    QCOMPARE(ui.splitter->widget(1), ui.scrollArea);
    QCOMPARE(ui.scrollArea->widget(), ui.scrollAreaWidgetContents);
    QVERIFY(ui.scrollArea->widgetResizable());
    QCOMPARE(ui.scrollArea->focusPolicy(), Qt::StrongFocus);

    // Editor column: preamp, rows 2 and 3, then rows 4 to 12 and the add box.
    QCOMPARE(ui.verticalLayout->indexOf(ui.groupBox_4), 0);
    QCOMPARE(ui.verticalLayout->indexOf(ui.groupBox_12), 1);
    QCOMPARE(ui.verticalLayout->indexOf(ui.groupBox_14), 2);
    QCOMPARE(ui.verticalLayout->itemAt(3)->layout(), ui.verticalLayout_2);
    QCOMPARE(ui.verticalLayout->itemAt(4)->spacerItem(), ui.verticalSpacer);
    const auto& rows = bandRowDescriptors();
    for (int i = 2; i < 11; ++i)
        QCOMPARE(ui.verticalLayout_2->indexOf(rows[i].groupBox.of(ui)), i - 2);
    QCOMPARE(ui.verticalLayout_2->itemAt(9)->layout(), ui.horizontalLayout_13);
    QCOMPARE(ui.horizontalLayout_13->indexOf(ui.groupBox_23), 0);

    // A band row: label, four inner boxes between stretching spacers.
    for (int i = 0; i < 11; ++i) {
        const auto& l = ui.bandRowLayouts[i];
        QCOMPARE(l.row->count(), 8);
        QCOMPARE(l.row->spacing(), 8);
        int left, top, right, bottom;
        l.row->getContentsMargins(&left, &top, &right, &bottom);
        QCOMPARE(left, 1);
        QCOMPARE(top, 1);
        QCOMPARE(bottom, 2);
        if (rows[i].row == 10)
            QCOMPARE(right, 9);
        for (int item = 0; item < 8; ++item)
            QCOMPARE(l.row->stretch(item), (item == 2 || item == 4 || item == 6) ? 1 : 0);
        QCOMPARE(l.qBox->indexOf(rows[i].removeButton.of(ui)), 3);
        QCOMPARE(l.frequencyBox->indexOf(rows[i].freqDial.of(ui)), 1);
    }
}

void TestForm::initialTexts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    const char* const texts[][2] = {
        { "toolButton_3", "Help" },
        { "toolButton_2", "Export" },
        { "toolButton", "Import" },
        { "label_40", "Target:" },
        { "label_41", "SourceFR:" },
        { "checkBox_target", "Target" },
        { "checkBox_frequency", "Source FR" },
        { "checkBox_each", "Each Filter" },
        { "checkBox_EQ", "Combined Filter" },
        { "checkBox_combined", "Filtered FR" },
        { "checkBox_open", "Raw" },
        { "label_5", " 1 " },
        { "label_2", "Preamplification" },
        { "label_3", "Gain:" },
        { "gbox1_lineEdit", "0dB" },
        { "label_4", "" },
        { "label_39", "" },
        { "label_29", "" },
        { "checkBox", "" },
        { "checkBox_8", "" },
        { "PButton_Set", "" },
        { "PButton_AddEQ", "" },
        { "PButton_RemoveEQ_1", "" },
        { "groupBox", "" },
        { "groupBox_4", "" },
        { "groupBox_22", "" },
    };
    for (const auto& row : texts)
        QTest::newRow(row[0]) << QString::fromLatin1(row[0]) << QString::fromUtf8(row[1]);
}

void TestForm::initialTexts()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QObject* o = find<QObject>(name);
    QVERIFY(o);
    const char* property = qobject_cast<QGroupBox*>(o) ? "title" : "text";
    QCOMPARE(o->property(property).toString(), text);
}

void TestForm::bandRowTexts()
{
    QCOMPARE(window->windowTitle(), QStringLiteral("MainWindow"));
    QVERIFY(ui.statusbar->statusTip().isEmpty());
    const QStringList types = { "Peaking filter", "Low-pass filter", "High-pass filter",
        "Low-shelf filter", "High-shelf filter" };
    const QStringList freqLabels = { "Center frequency", "Corner frequency" };
    for (const BandRowDescriptor& d : bandRowDescriptors()) {
        QCOMPARE(d.rowLabel.of(ui)->text(), QStringLiteral(" %1 ").arg(d.row));
        QCOMPARE(d.rowLabel.of(ui)->alignment(), Qt::AlignCenter);
        QStringList items;
        for (int i = 0; i < d.typeCombo.of(ui)->count(); ++i)
            items << d.typeCombo.of(ui)->itemText(i);
        QCOMPARE(items, types);
        items.clear();
        for (int i = 0; i < d.freqLabelCombo.of(ui)->count(); ++i)
            items << d.freqLabelCombo.of(ui)->itemText(i);
        QCOMPARE(items, freqLabels);
        QCOMPARE(d.freqText.of(ui)->text(), QStringLiteral("632Hz"));
        QCOMPARE(d.gainText.of(ui)->text(), QStringLiteral("0dB"));
        QCOMPARE(d.qText.of(ui)->text(), QStringLiteral("0.7070"));
        QCOMPARE(d.gainLabel.of(ui)->text(), QStringLiteral("Gain:"));
        QCOMPARE(d.qLabel.of(ui)->text(), QStringLiteral("Q factor:"));
        QVERIFY(d.gainLabel.of(ui)->alignment() & Qt::AlignRight);
        QVERIFY(d.enable.of(ui)->text().isEmpty());
    }
}

void TestForm::styleSheets_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("sheet");
    // Spelled out here once more, so a slip in the shared constants shows.
    QTest::newRow("PButton_RemoveEQ_7")
        << QStringLiteral("PButton_RemoveEQ_7")
        << QStringLiteral(
               "QPushButton{border: none;image: url(:ThirdPartyResources/images/close1.png);}\n"
               "QPushButton:hover{border: 2px solid rgb(56,56,56);border-radius: 5px;}");
    QTest::newRow("PButton_Set_2")
        << QStringLiteral("PButton_Set_2")
        << QStringLiteral(
               "QPushButton{border: none;image: url(:ThirdPartyResources/images/ws_save.png);}\n"
               "QPushButton:hover{border: 2px solid gray;border-radius: 5px;}");
    QTest::newRow("label_29") << QStringLiteral("label_29")
                              << QStringLiteral(
                                     "image: url(:ThirdPartyResources/images/quorvel-090.png);\n"
                                     "background-color: rgb(0, 0, 0);");
    QTest::newRow("groupBox_23")
        << QStringLiteral("groupBox_23")
        << QStringLiteral("QGroupBox{border: 0px solid rgb(56,56,56);border-right-color: black;"
                          "border-left-color: black;border-top-color: black;}");
    QTest::newRow("comboBox_2")
        << QStringLiteral("comboBox_2")
        << QStringLiteral("#comboBox_2{font-family: \"微软雅黑\";font-size: 14px;color: #FFFFFF;"
                          "border-radius: 14px;background: #000000;padding-left: 12px;"
                          "padding-right: 12px;border: 2px solid rgb(56,56,56);}\n"
                          "#comboBox_2 QAbstractItemView{border: none;}\n"
                          "#comboBox_2::drop-down{right: 6px;border: none;}\n"
                          "#comboBox_2::down-arrow:on{width: 12px;height: 12px;"
                          "border-image: url(:ThirdPartyResources/images/ArrowUpBold.png);}\n"
                          "#comboBox_2::down-arrow{width: 12px;height: 12px;"
                          "border-image: url(:ThirdPartyResources/images/ArrowDownBold.png);}");
    QTest::newRow("label_27")
        << QStringLiteral("label_27")
        << QStringLiteral("QLabel{color: rgb(216, 216, 216);border-color: rgb(255, 255, 255);"
                          "background-color: rgb(56, 56, 56);}");
    QTest::newRow("gbox4_lineEdit2")
        << QStringLiteral("gbox4_lineEdit2") << QStringLiteral("color: rgb(216, 216, 216);");
    QTest::newRow("gbox3_lineEdit2") << QStringLiteral("gbox3_lineEdit2") << QString();
    QTest::newRow("groupBox_21") << QStringLiteral("groupBox_21") << QString();
    QTest::newRow("groupBox_4") << QStringLiteral("groupBox_4") << QString();
    QTest::newRow("checkBox") << QStringLiteral("checkBox") << QString();
}

void TestForm::styleSheets()
{
    QFETCH(QString, name);
    QFETCH(QString, sheet);
    QWidget* w = find(name);
    QVERIFY(w);
    QCOMPARE(w->styleSheet(), sheet);
}

// How the band rows' sheets relate: each row's two combo boxes share one
// sheet whose focus frame is spelled out, the curve pickers' greyed variant
// differs only in its text colour, and only the last row box carries a sheet.
void TestForm::bandRowSheets()
{
    const QString grey = FormSheet::curvePicker(QStringLiteral("comboBox"), true);
    QVERIFY(grey.contains(QStringLiteral("color: #808080;")));
    QCOMPARE(QString(grey).replace(QStringLiteral("#808080"), QStringLiteral("#FFFFFF")),
        ui.comboBox->styleSheet());

    const QString combo = ui.comboBox_25->styleSheet();
    QVERIFY(combo.contains(QStringLiteral(
        "QComboBox[hasFocus=\"true\"]{color: rgb(216,216,216);border: 2px solid rgb(172,172,172);"
        "border-radius: 5px;}")));
    for (const BandRowDescriptor& d : bandRowDescriptors()) {
        QCOMPARE(d.typeCombo.of(ui)->styleSheet(), combo);
        QCOMPARE(d.freqLabelCombo.of(ui)->styleSheet(), combo);
        QVERIFY(d.enable.of(ui)->styleSheet().isEmpty());
        QCOMPARE(d.groupBox.of(ui)->styleSheet().isEmpty(), d.row != 12);
    }
}

// WCAG's relative luminance of an sRGB colour, and the contrast of two.
static double luminance(QRgb c)
{
    const auto channel = [](int v) {
        const double x = v / 255.0;
        return x <= 0.04045 ? x / 12.92 : std::pow((x + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(qRed(c)) + 0.7152 * channel(qGreen(c)) + 0.0722 * channel(qBlue(c));
}

static double contrast(QRgb a, QRgb b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The text a widget shows and a way to set it; false for a widget without text.
static bool textOf(QWidget* w, QString* text, std::function<void(const QString&)>* set)
{
    if (auto* l = qobject_cast<QLabel*>(w)) {
        *text = l->text();
        *set = [l](const QString& t) { l->setText(t); };
    } else if (auto* e = qobject_cast<QLineEdit*>(w)) {
        *text = e->text();
        *set = [e](const QString& t) { e->setText(t); };
    } else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
        *text = b->text();
        *set = [b](const QString& t) { b->setText(t); };
    } else if (auto* c = qobject_cast<QComboBox*>(w)) {
        *text = c->currentText();
        const int index = c->currentIndex();
        *set = [c, index](const QString& t) { c->setItemText(index, t); };
    } else {
        return false;
    }
    return !text->trimmed().isEmpty();
}

// The widget as the window draws it, with whatever lies behind it: the
// editor column as a whole (the scroll area shows only part of it), anything
// else as part of the window.
static QImage rendered(QWidget* w, QWidget* column)
{
    QWidget* canvas = column->isAncestorOf(w) ? column : w->window();
    const QRect area(w->mapTo(canvas, QPoint(0, 0)), w->size());
    return canvas->grab(area).toImage().convertToFormat(QImage::Format_RGB32);
}

// Every text of the form can be read: drawn with and without its text, the
// widget's pixels that differ are the text's, and the text's colour stands
// out from what is behind it by at least WCAG's 3:1 for large text.
void TestForm::textsReadable_data()
{
    QTest::addColumn<QString>("name");
    QList<QWidget*> widgets = window->findChildren<QWidget*>();
    widgets.removeIf(insidePanel);
    for (QWidget* w : widgets) {
        QString text;
        std::function<void(const QString&)> set;
        if (w->isVisibleTo(window) && textOf(w, &text, &set))
            QTest::newRow(qPrintable(w->objectName())) << w->objectName();
    }
}

void TestForm::textsReadable()
{
    QFETCH(QString, name);
    QWidget* w = find(name);
    QVERIFY(w);
    QString text;
    std::function<void(const QString&)> set;
    QVERIFY(textOf(w, &text, &set));
    const QImage withText = rendered(w, ui.scrollAreaWidgetContents);
    set(QString());
    const QImage without = rendered(w, ui.scrollAreaWidgetContents);
    set(text);
    QCOMPARE(withText.size(), without.size());
    int textPixels = 0;
    double best = 1.0;
    for (int y = 0; y < withText.height(); ++y) {
        for (int x = 0; x < withText.width(); ++x) {
            const QRgb a = withText.pixel(x, y);
            const QRgb b = without.pixel(x, y);
            if (a == b)
                continue;
            ++textPixels;
            best = std::max(best, contrast(a, b));
        }
    }
    QVERIFY2(textPixels >= 10, qPrintable(QStringLiteral("\"%1\" is not drawn").arg(text)));
    QVERIFY2(best >= 3.0,
        qPrintable(
            QStringLiteral("\"%1\" stands out by %2:1 only").arg(text).arg(best, 0, 'f', 2)));
}

// The buttons and the logo that are images alone show them: drawn, they are
// not one flat colour.
void TestForm::imagesShown_data()
{
    QTest::addColumn<QString>("name");
    for (const char* n : { "label_29", "PButton_Set", "PButton_Set_2", "PButton_Set_4",
             "PButton_Set_5", "PButton_Set_6", "PButton_AddEQ" })
        QTest::newRow(n) << QString::fromLatin1(n);
    for (const auto& row : kRows)
        QTest::newRow(row[13]) << QString::fromLatin1(row[13]);
}

void TestForm::imagesShown()
{
    QFETCH(QString, name);
    QWidget* w = find(name);
    QVERIFY(w);
    const QImage image = rendered(w, ui.scrollAreaWidgetContents);
    QHash<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ++counts[image.pixel(x, y)];
    const QRgb background = std::max_element(
        counts.keyValueBegin(), counts.keyValueEnd(), [](const auto& a, const auto& b) {
            return a.second < b.second;
        })->first;
    int drawn = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            drawn += contrast(image.pixel(x, y), background) >= 1.5;
    QVERIFY2(drawn >= 20, qPrintable(QStringLiteral("%1 pixels of an image").arg(drawn)));
}

void TestForm::nothingHiddenOrDisabled()
{
    for (const BandRowDescriptor& d : bandRowDescriptors()) {
        QVERIFY(d.groupBox.of(ui)->isVisible());
        for (QObject* o : descriptorObjects(d, ui))
            QVERIFY(static_cast<QWidget*>(o)->isEnabled());
    }
    QVERIFY(ui.groupBox_23->isVisible());
    QVERIFY(ui.PButton_AddEQ->isEnabled());
}

void TestForm::slotsBoundByName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("slotNames");
    auto row = [](const QString& n, const QStringList& hits) {
        QTest::newRow(qPrintable(n)) << n << hits;
    };
    row(QStringLiteral("checkBox"),
        { "on_checkBox_stateChanged(int)", "on_checkBox_clicked(bool)" });
    for (const auto& r : kRows) {
        const QString enable = QString::fromLatin1(r[2]);
        row(enable, { QStringLiteral("on_%1_clicked(bool)").arg(enable) });
        const QString remove = QString::fromLatin1(r[13]);
        row(remove, { QStringLiteral("on_%1_clicked()").arg(remove) });
    }
    for (const char* n : { "checkBox_target", "checkBox_frequency", "checkBox_each", "checkBox_EQ",
             "checkBox_combined", "checkBox_open" })
        row(QString::fromLatin1(n),
            { QStringLiteral("on_%1_clicked(bool)").arg(QLatin1String(n)) });
    for (const char* n : { "PButton_AddEQ", "PButton_Set", "PButton_Set_2", "PButton_Set_4",
             "PButton_Set_5", "PButton_Set_6" })
        row(QString::fromLatin1(n), { QStringLiteral("on_%1_clicked()").arg(QLatin1String(n)) });
    row(QStringLiteral("toolButton_2"),
        { "on_toolButton_2_clicked(bool)", "on_toolButton_2_clicked()" });
    row(QStringLiteral("toolButton"), {});
}

void TestForm::slotsBoundByName()
{
    QFETCH(QString, name);
    QFETCH(QStringList, slotNames);
    auto* button = find<QAbstractButton>(name);
    QVERIFY(button);
    window->hits.clear();
    button->click();
    QStringList hits = window->hits;
    hits.sort();
    slotNames.sort();
    QCOMPARE(hits, slotNames);
}

QTEST_MAIN(TestForm)
#include "test_form.moc"
