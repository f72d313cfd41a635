#include "app/mainwindow_ui.h"

#include <QComboBox>
#include <QFile>
#include <QFont>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMainWindow>
#include <QMetaObject>
#include <QSpacerItem>
#include <QSplitter>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <type_traits>

#include "app/mainwindow_style.h"
#include "widgets/balance.h"
#include "widgets/customcontrols.h"
#include "workspace/workspace.h"

namespace {

constexpr int kUnbounded = QWIDGETSIZE_MAX;

#define QV_MEMBER(name)                                                                            \
    {                                                                                              \
        &MainWindowUi::name, #name                                                                 \
    }
#define QV_ROW(row, box, label, enable, type, freqLabel, fDial, fText, gLabel, gDial, gText,       \
    qLabel, qDial, qText, remove, labelPt, rightMargin, textSheet, boxSheet)                       \
    BandRowDescriptor                                                                              \
    {                                                                                              \
        row, row - 1, QV_MEMBER(box), QV_MEMBER(label), QV_MEMBER(enable), QV_MEMBER(type),        \
            QV_MEMBER(freqLabel), QV_MEMBER(fDial), QV_MEMBER(fText), QV_MEMBER(gLabel),           \
            QV_MEMBER(gDial), QV_MEMBER(gText), QV_MEMBER(qLabel), QV_MEMBER(qDial),               \
            QV_MEMBER(qText), QV_MEMBER(remove), labelPt, rightMargin, textSheet, boxSheet         \
    }

const std::array<BandRowDescriptor, 11> kBandRows { {
    QV_ROW(2, groupBox_12, label_6, checkBox_8, comboBox_25, comboBox_26, gbox2_BL1,
        gbox2_lineEdit1, label_9, gbox2_BL2, gbox2_lineEdit2, label, gbox2_BL3, gbox2_lineEdit3,
        PButton_RemoveEQ_1, 12, -1, "", ""),
    QV_ROW(3, groupBox_14, label_7, checkBox_10, comboBox_31, comboBox_32, gbox3_BL1,
        gbox3_lineEdit1, label_11, gbox3_BL2, gbox3_lineEdit2, label_28, gbox3_BL3, gbox3_lineEdit3,
        PButton_RemoveEQ_2, 12, -1, "", ""),
    QV_ROW(4, groupBox_13, label_8, checkBox_9, comboBox_28, comboBox_29, gbox4_BL1,
        gbox4_lineEdit1, label_10, gbox4_BL2, gbox4_lineEdit2, label_30, gbox4_BL3, gbox4_lineEdit3,
        PButton_RemoveEQ_3, 12, -1, FormSheet::caption, ""),
    QV_ROW(5, groupBox_15, label_20, checkBox_11, comboBox_34, comboBox_35, gbox3_BL1_2,
        gbox3_lineEdit1_2, label_12, gbox3_BL2_2, gbox3_lineEdit2_2, label_31, gbox3_BL3_2,
        gbox3_lineEdit3_2, PButton_RemoveEQ_4, 12, -1, "", ""),
    QV_ROW(6, groupBox_16, label_21, checkBox_12, comboBox_37, comboBox_38, gbox3_BL1_3,
        gbox3_lineEdit1_3, label_13, gbox3_BL2_3, gbox3_lineEdit2_3, label_32, gbox3_BL3_3,
        gbox3_lineEdit3_3, PButton_RemoveEQ_5, 12, -1, "", ""),
    QV_ROW(7, groupBox_17, label_22, checkBox_13, comboBox_40, comboBox_41, gbox3_BL1_4,
        gbox3_lineEdit1_4, label_14, gbox3_BL2_4, gbox3_lineEdit2_4, label_33, gbox3_BL3_4,
        gbox3_lineEdit3_4, PButton_RemoveEQ_6, 12, -1, "", ""),
    QV_ROW(8, groupBox_18, label_23, checkBox_14, comboBox_43, comboBox_44, gbox3_BL1_5,
        gbox3_lineEdit1_5, label_15, gbox3_BL2_5, gbox3_lineEdit2_5, label_34, gbox3_BL3_5,
        gbox3_lineEdit3_5, PButton_RemoveEQ_7, 12, -1, "", ""),
    QV_ROW(9, groupBox_19, label_24, checkBox_15, comboBox_46, comboBox_47, gbox3_BL1_6,
        gbox3_lineEdit1_6, label_16, gbox3_BL2_6, gbox3_lineEdit2_6, label_35, gbox3_BL3_6,
        gbox3_lineEdit3_6, PButton_RemoveEQ_8, 12, -1, "", ""),
    QV_ROW(10, groupBox_20, label_25, checkBox_16, comboBox_49, comboBox_50, gbox3_BL1_7,
        gbox3_lineEdit1_7, label_17, gbox3_BL2_7, gbox3_lineEdit2_7, label_36, gbox3_BL3_7,
        gbox3_lineEdit3_7, PButton_RemoveEQ_9, 9, 9, "", ""),
    QV_ROW(11, groupBox_21, label_26, checkBox_17, comboBox_52, comboBox_53, gbox3_BL1_8,
        gbox3_lineEdit1_8, label_18, gbox3_BL2_8, gbox3_lineEdit2_8, label_37, gbox3_BL3_8,
        gbox3_lineEdit3_8, PButton_RemoveEQ_10, 9, -1, "", ""),
    QV_ROW(12, groupBox_22, label_27, checkBox_18, comboBox_55, comboBox_56, gbox3_BL1_9,
        gbox3_lineEdit1_9, label_19, gbox3_BL2_9, gbox3_lineEdit2_9, label_38, gbox3_BL3_9,
        gbox3_lineEdit3_9, PButton_RemoveEQ_11, 9, -1, "", FormSheet::lastRowBox),
} };

#undef QV_ROW
#undef QV_MEMBER

QFont pointSize(int points)
{
    QFont font;
    font.setPointSize(points);
    return font;
}

QSpacerItem* hSpacer(int w, int h)
{
    return new QSpacerItem(w, h, QSizePolicy::Expanding, QSizePolicy::Minimum);
}

// Creates a widget of type T with its name, size limits and optional font
// and sheet; a zero font size leaves the inherited font alone.
template <class T>
T* make(QWidget* parent, const char* name, QSize min, QSize max, int font = 0,
    const char* sheet = nullptr)
{
    auto* w = new T(parent);
    w->setObjectName(QString::fromLatin1(name));
    if (min.isValid() && !min.isNull())
        w->setMinimumSize(min);
    if (max.isValid())
        w->setMaximumSize(max);
    // The sheet first: on a widget not yet polished it is only stored, while
    // a font change may polish it (a combo box builds its popup list), after
    // which a sheet restyles it and its children again.
    if (sheet && *sheet) {
        // A group box sizes its frame from the rules it has when built; only
        // a restyle, which a sheet gets on a polished widget, sizes it again.
        // Still empty, it is polished cheaply.
        if constexpr (std::is_base_of_v<QGroupBox, T>)
            w->ensurePolished();
        w->setStyleSheet(QString::fromUtf8(sheet));
    }
    if (font > 0)
        w->setFont(pointSize(font));
    return w;
}

const QSize kNone(-1, -1);

CustomPushButton* imageButton(
    QWidget* parent, const char* name, QSize min, QSize max, const char* sheet)
{
    auto* b = make<CustomPushButton>(parent, name, min, max, 0, sheet);
    b->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    b->setFlat(true);
    return b;
}

QToolButton* menuButton(QWidget* parent, const char* name)
{
    return make<QToolButton>(parent, name, QSize(60, 25), QSize(30, 25), 11, FormSheet::toolButton);
}

QLabel* rowLabel(QWidget* parent, const char* name, int font)
{
    auto* l = make<QLabel>(parent, name, QSize(25, 0), kNone, font, FormSheet::rowLabel);
    l->setAlignment(Qt::AlignCenter);
    return l;
}

QComboBox* rowCombo(QWidget* parent, const char* name, int minWidth, int items)
{
    auto* c = make<QComboBox>(
        parent, name, QSize(minWidth, 25), QSize(140, kUnbounded), 14, FormSheet::rowComboBox);
    for (int i = 0; i < items; ++i)
        c->addItem(QString());
    // The items are re-texted on every language switch; the width follows
    // them (within the limits above) instead of the first texts shown.
    c->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    return c;
}

// Rows of the editor column: 60 px high boxes with the same inner margins.
QGroupBox* rowBox(QWidget* parent, const char* name, int maxWidth, const char* sheet)
{
    return make<QGroupBox>(parent, name, QSize(0, 60), QSize(maxWidth, 60), 0, sheet);
}

QHBoxLayout* rowLayout(QGroupBox* box, int rightMargin)
{
    auto* l = new QHBoxLayout(box);
    l->setSpacing(8);
    l->setContentsMargins(1, 1, rightMargin, 2);
    return l;
}

QString rowNumber(int row) { return QStringLiteral(" %1 ").arg(row); }

} // namespace

const std::array<BandRowDescriptor, 11>& bandRowDescriptors() { return kBandRows; }

QString loadScrollBarSheet()
{
    QFile file(QStringLiteral(":/ThirdPartyResources/qss/whiteScrollbar.qss"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

void MainWindowUi::setup(QMainWindow* MainWindow, const QString& scrollSheet)
{
    if (MainWindow->objectName().isEmpty())
        MainWindow->setObjectName(QStringLiteral("MainWindow"));
    MainWindow->resize(1114, 691);
    MainWindow->setMinimumSize(QSize(1114, 691));
    MainWindow->setFont(pointSize(9));
    MainWindow->setStyleSheet(QString::fromUtf8(FormSheet::mainWindow));

    centralwidget
        = make<QWidget>(MainWindow, "centralwidget", kNone, kNone, 0, FormSheet::centralWidget);
    if (!scrollSheet.isEmpty())
        centralwidget->setStyleSheet(scrollSheet);
    gridLayout = new QGridLayout(centralwidget);
    gridLayout->setObjectName(QStringLiteral("gridLayout"));
    gridLayout->setSpacing(1);
    gridLayout->setContentsMargins(0, 0, 0, 0);

    label_29 = make<QLabel>(
        centralwidget, "label_29", QSize(213, 60), QSize(213, 60), 0, FormSheet::logo);
    label_29->setSizeIncrement(QSize(0, 0));
    gridLayout->addWidget(label_29, 0, 0, 1, 1);

    // Constructing the workspace builds the preset panel from the preset tables.
    widget = make<Workspace>(
        centralwidget, "widget", QSize(213, 570), QSize(213, kUnbounded), 0, FormSheet::workspace);
    gridLayout->addWidget(widget, 1, 0, 1, 1);

    splitter = make<QSplitter>(centralwidget, "splitter", kNone, kNone, 0, FormSheet::splitter);
    splitter->setFrameShape(QFrame::NoFrame);
    splitter->setFrameShadow(QFrame::Plain);
    splitter->setLineWidth(1);
    splitter->setOrientation(Qt::Vertical);
    splitter->setOpaqueResize(true);
    splitter->setHandleWidth(10);

    // Each pane joins the splitter while still empty: joining makes the
    // splitter measure it, which would polish a filled pane before its
    // sheets are final.
    groupBox
        = make<QGroupBox>(splitter, "groupBox", QSize(780, 410), kNone, 0, FormSheet::plotPanel);
    splitter->addWidget(groupBox);
    verticalLayout_3 = new QVBoxLayout(groupBox);
    verticalLayout_3->setObjectName(QStringLiteral("verticalLayout_3"));
    verticalLayout_3->setSpacing(1);
    verticalLayout_3->setContentsMargins(0, 0, 0, 0);
    setupToolBar();
    widget_3 = make<QWidget>(groupBox, "widget_3", kNone, kNone, 0, FormSheet::blackPanel);
    verticalLayout_3->addWidget(widget_3);
    setupCurveSwitches();

    scrollArea = make<CustomScrollArea>(
        splitter, "scrollArea", QSize(880, 200), kNone, 0, FormSheet::scrollArea);
    if (!scrollSheet.isEmpty())
        scrollArea->setStyleSheet(scrollSheet);
    scrollArea->setFocusPolicy(Qt::StrongFocus);
    scrollArea->setWidgetResizable(true);
    splitter->addWidget(scrollArea);
    // Built where setWidget puts it: moving a filled column under a new
    // parent would restyle every widget in it.
    scrollAreaWidgetContents = make<QWidget>(scrollArea->viewport(), "scrollAreaWidgetContents",
        kNone, kNone, 0, FormSheet::editorColumn);
    scrollAreaWidgetContents->setGeometry(QRect(0, 0, 892, 784));
    verticalLayout = new QVBoxLayout(scrollAreaWidgetContents);
    verticalLayout->setObjectName(QStringLiteral("verticalLayout"));
    verticalLayout->setSpacing(0);
    verticalLayout->setContentsMargins(0, 0, 0, 0);
    setupPreampRow();
    setupBandRow(0);
    setupBandRow(1);
    verticalLayout_2 = new QVBoxLayout();
    verticalLayout_2->setObjectName(QStringLiteral("verticalLayout_2"));
    verticalLayout_2->setSpacing(0);
    for (int i = 2; i < int(kBandRows.size()); ++i)
        setupBandRow(i);
    setupAddBox();
    verticalLayout->addLayout(verticalLayout_2);
    verticalSpacer = new QSpacerItem(20, 40, QSizePolicy::Minimum, QSizePolicy::Expanding);
    verticalLayout->addItem(verticalSpacer);
    scrollArea->setWidget(scrollAreaWidgetContents);

    gridLayout->addWidget(splitter, 0, 1, 2, 1);
    MainWindow->setCentralWidget(centralwidget);

    statusbar = make<QStatusBar>(MainWindow, "statusbar", kNone, kNone, 14);
    MainWindow->setStatusBar(statusbar);

    retranslate(MainWindow);

    QMetaObject::connectSlotsByName(MainWindow);
}

void MainWindowUi::setupToolBar()
{
    widget_2 = make<QWidget>(
        groupBox, "widget_2", QSize(0, 60), QSize(kUnbounded, 60), 0, FormSheet::blackPanel);
    horizontalLayout_5 = new QHBoxLayout(widget_2);
    horizontalLayout_5->setObjectName(QStringLiteral("horizontalLayout_5"));
    horizontalLayout_5->setContentsMargins(1, 0, 2, 0);

    label_4 = make<QLabel>(widget_2, "label_4", kNone, kNone, 11, FormSheet::toolBarLabel);
    horizontalLayout_5->addWidget(label_4);
    PButton_Set = imageButton(
        widget_2, "PButton_Set", QSize(25, 25), QSize(25, 25), FormSheet::settingsButton);
    horizontalLayout_5->addWidget(PButton_Set);
    horizontalSpacer = hSpacer(438, 20);
    horizontalLayout_5->addItem(horizontalSpacer);

    gridLayout_2 = new QGridLayout();
    gridLayout_2->setObjectName(QStringLiteral("gridLayout_2"));
    gridLayout_2->setSpacing(0);
    gridLayout_2->setContentsMargins(-1, -1, 4, -1);
    horizontalSpacer_2 = hSpacer(268, 20);
    gridLayout_2->addItem(horizontalSpacer_2, 0, 0, 1, 1);

    horizontalLayout_4 = new QHBoxLayout();
    horizontalLayout_4->setObjectName(QStringLiteral("horizontalLayout_4"));
    horizontalLayout_4->setSpacing(10);
    PButton_Set_4 = imageButton(
        widget_2, "PButton_Set_4", QSize(20, 20), QSize(20, 20), FormSheet::minimiseButton);
    horizontalLayout_4->addWidget(PButton_Set_4);
    PButton_Set_5 = imageButton(
        widget_2, "PButton_Set_5", QSize(20, 20), QSize(20, 20), FormSheet::maximiseButton);
    horizontalLayout_4->addWidget(PButton_Set_5);
    PButton_Set_6 = imageButton(
        widget_2, "PButton_Set_6", QSize(20, 20), QSize(20, 20), FormSheet::closeButton);
    horizontalLayout_4->addWidget(PButton_Set_6);
    gridLayout_2->addLayout(horizontalLayout_4, 0, 1, 1, 1);

    horizontalLayout = new QHBoxLayout();
    horizontalLayout->setObjectName(QStringLiteral("horizontalLayout"));
    horizontalLayout->setSpacing(6);
    horizontalLayout->setContentsMargins(-1, -1, -1, 3);
    horizontalSpacer_3 = hSpacer(40, 20);
    horizontalLayout->addItem(horizontalSpacer_3);
    PButton_Set_2 = imageButton(
        widget_2, "PButton_Set_2", QSize(25, 25), QSize(25, 25), FormSheet::saveButton);
    horizontalLayout->addWidget(PButton_Set_2);
    toolButton_3 = menuButton(widget_2, "toolButton_3");
    horizontalLayout->addWidget(toolButton_3);
    toolButton_2 = menuButton(widget_2, "toolButton_2");
    horizontalLayout->addWidget(toolButton_2);
    toolButton = menuButton(widget_2, "toolButton");
    horizontalLayout->addWidget(toolButton);
    label_39 = make<QLabel>(widget_2, "label_39", kNone, kNone);
    horizontalLayout->addWidget(label_39);
    label_40 = make<QLabel>(widget_2, "label_40", QSize(45, 0), kNone, 0, FormSheet::caption);
    horizontalLayout->addWidget(label_40);
    comboBox_2 = make<CustomComboBox>(widget_2, "comboBox_2", QSize(142, 30), QSize(140, 30));
    comboBox_2->setStyleSheet(FormSheet::curvePicker(comboBox_2->objectName()));
    horizontalLayout->addWidget(comboBox_2);
    label_41 = make<QLabel>(widget_2, "label_41", QSize(60, 0), kNone, 0, FormSheet::caption);
    horizontalLayout->addWidget(label_41);
    comboBox = make<CustomComboBox>(widget_2, "comboBox", QSize(142, 30), QSize(140, 30));
    comboBox->setStyleSheet(FormSheet::curvePicker(comboBox->objectName()));
    horizontalLayout->addWidget(comboBox);
    gridLayout_2->addLayout(horizontalLayout, 1, 0, 1, 2);

    horizontalLayout_5->addLayout(gridLayout_2);
    verticalLayout_3->addWidget(widget_2);
}

void MainWindowUi::setupCurveSwitches()
{
    widget_4 = make<QWidget>(
        groupBox, "widget_4", kNone, QSize(kUnbounded, 40), 0, FormSheet::blackPanel);
    horizontalLayout_2 = new QHBoxLayout(widget_4);
    horizontalLayout_2->setObjectName(QStringLiteral("horizontalLayout_2"));

    struct Switch
    {
        CustomCheckBox* MainWindowUi::*member;
        const char* name;
        int minWidth;
        int maxWidth;
        const char* sheet;
    };
    static constexpr Switch kSwitches[] = {
        { &MainWindowUi::checkBox_target, "checkBox_target", 120, 145, FormSheet::targetSwitch },
        { &MainWindowUi::checkBox_frequency, "checkBox_frequency", 145, 145,
            FormSheet::sourceSwitch },
        { &MainWindowUi::checkBox_each, "checkBox_each", 145, 145, FormSheet::eachSwitch },
        { &MainWindowUi::checkBox_EQ, "checkBox_EQ", 180, 145, FormSheet::combinedSwitch },
        { &MainWindowUi::checkBox_combined, "checkBox_combined", 145, 145,
            FormSheet::filteredSwitch },
        { &MainWindowUi::checkBox_open, "checkBox_open", 100, 100, FormSheet::rawSwitch },
    };
    for (const Switch& s : kSwitches) {
        this->*s.member = make<CustomCheckBox>(
            widget_4, s.name, QSize(s.minWidth, 0), QSize(s.maxWidth, kUnbounded), 0, s.sheet);
        horizontalLayout_2->addWidget(this->*s.member);
    }
    verticalLayout_3->addWidget(widget_4);
}

void MainWindowUi::setupPreampRow()
{
    QWidget* parent = scrollAreaWidgetContents;
    groupBox_4 = rowBox(parent, "groupBox_4", 200010, nullptr);
    horizontalLayout_8 = rowLayout(groupBox_4, -1);
    horizontalLayout_8->setObjectName(QStringLiteral("horizontalLayout_8"));

    label_5 = rowLabel(groupBox_4, "label_5", 12);
    horizontalLayout_8->addWidget(label_5);

    horizontalLayout_3 = new QHBoxLayout();
    horizontalLayout_3->setObjectName(QStringLiteral("horizontalLayout_3"));
    checkBox = make<CustomCheckBox>(groupBox_4, "checkBox", kNone, kNone);
    horizontalLayout_3->addWidget(checkBox);
    label_2 = make<QLabel>(groupBox_4, "label_2", kNone, kNone, 15, FormSheet::caption);
    horizontalLayout_3->addWidget(label_2);
    horizontalLayout_8->addLayout(horizontalLayout_3);

    horizontalSpacer_4 = hSpacer(30, 20);
    horizontalLayout_8->addItem(horizontalSpacer_4);

    horizontalLayout_7 = new QHBoxLayout();
    horizontalLayout_7->setObjectName(QStringLiteral("horizontalLayout_7"));
    label_3
        = make<QLabel>(groupBox_4, "label_3", QSize(40, 20), QSize(40, 20), 15, FormSheet::caption);
    horizontalLayout_7->addWidget(label_3);
    gbox1_BL1 = make<Balance1>(groupBox_4, "gbox1_BL1", QSize(40, 40), QSize(40, 40));
    horizontalLayout_7->addWidget(gbox1_BL1);
    gbox1_lineEdit = make<CustomLineEdit>(
        groupBox_4, "gbox1_lineEdit", QSize(60, 20), QSize(60, 20), 14, FormSheet::caption);
    horizontalLayout_7->addWidget(gbox1_lineEdit);
    horizontalLayout_8->addLayout(horizontalLayout_7);

    horizontalSpacer_5 = hSpacer(400, 20);
    horizontalLayout_8->addItem(horizontalSpacer_5);

    verticalLayout->addWidget(groupBox_4);
}

// Builds band row `index` (band index + 1) from its descriptor; rows 2 and 3
// go into the editor column, the others into verticalLayout_2.
void MainWindowUi::setupBandRow(int index)
{
    const BandRowDescriptor& d = kBandRows[index];
    BandRowLayout& l = bandRowLayouts[index];

    QGroupBox* box = rowBox(scrollAreaWidgetContents, d.groupBox.name, kUnbounded, d.boxSheet);
    this->*d.groupBox.member = box;
    l.row = rowLayout(box, d.rightMargin);

    this->*d.rowLabel.member = rowLabel(box, d.rowLabel.name, d.labelPointSize);
    l.row->addWidget(this->*d.rowLabel.member);

    l.enableBox = new QHBoxLayout();
    this->*d.enable.member = make<CustomCheckBox>(box, d.enable.name, kNone, kNone);
    l.enableBox->addWidget(this->*d.enable.member);
    this->*d.typeCombo.member = rowCombo(box, d.typeCombo.name, 120, 5);
    l.enableBox->addWidget(this->*d.typeCombo.member);
    l.row->addLayout(l.enableBox);

    l.spacers[0] = hSpacer(40, 20);
    l.row->addItem(l.spacers[0]);

    l.frequencyBox = new QHBoxLayout();
    this->*d.freqLabelCombo.member = rowCombo(box, d.freqLabelCombo.name, 130, 2);
    l.frequencyBox->addWidget(this->*d.freqLabelCombo.member);
    this->*d.freqDial.member = make<Balance2>(box, d.freqDial.name, QSize(40, 40), QSize(40, 40));
    l.frequencyBox->addWidget(this->*d.freqDial.member);
    this->*d.freqText.member
        = make<CustomLineEdit>(box, d.freqText.name, QSize(60, 0), QSize(65, 20), 14, d.textSheet);
    l.frequencyBox->addWidget(this->*d.freqText.member);
    l.row->addLayout(l.frequencyBox);

    l.spacers[1] = hSpacer(40, 20);
    l.row->addItem(l.spacers[1]);

    l.gainBox = new QHBoxLayout();
    QLabel* gainLabel
        = make<QLabel>(box, d.gainLabel.name, QSize(40, 20), QSize(40, 20), 15, FormSheet::caption);
    gainLabel->setAlignment(Qt::AlignRight | Qt::AlignTrailing | Qt::AlignVCenter);
    this->*d.gainLabel.member = gainLabel;
    l.gainBox->addWidget(gainLabel);
    this->*d.gainDial.member = make<Balance1>(box, d.gainDial.name, QSize(40, 40), QSize(40, 40));
    l.gainBox->addWidget(this->*d.gainDial.member);
    this->*d.gainText.member
        = make<CustomLineEdit>(box, d.gainText.name, QSize(60, 20), QSize(60, 20), 14, d.textSheet);
    l.gainBox->addWidget(this->*d.gainText.member);
    l.row->addLayout(l.gainBox);

    l.spacers[2] = hSpacer(40, 20);
    l.row->addItem(l.spacers[2]);

    l.qBox = new QHBoxLayout();
    QLabel* qLabel = make<QLabel>(
        box, d.qLabel.name, QSize(60, 0), QSize(60, kUnbounded), 15, FormSheet::caption);
    qLabel->setAlignment(Qt::AlignRight | Qt::AlignTrailing | Qt::AlignVCenter);
    this->*d.qLabel.member = qLabel;
    l.qBox->addWidget(qLabel);
    this->*d.qDial.member = make<Balance>(box, d.qDial.name, QSize(40, 40), QSize(40, 40));
    l.qBox->addWidget(this->*d.qDial.member);
    this->*d.qText.member
        = make<CustomLineEdit>(box, d.qText.name, QSize(65, 20), QSize(65, 20), 14, d.textSheet);
    l.qBox->addWidget(this->*d.qText.member);
    this->*d.removeButton.member = imageButton(
        box, d.removeButton.name, QSize(20, 20), QSize(25, 25), FormSheet::removeButton);
    l.qBox->addWidget(this->*d.removeButton.member);
    l.row->addLayout(l.qBox);

    // The spacers share the spare width; the controls keep their size.
    for (int item : { 2, 4, 6 })
        l.row->setStretch(item, 1);

    if (index < 2)
        verticalLayout->addWidget(box);
    else
        verticalLayout_2->addWidget(box);
}

void MainWindowUi::setupAddBox()
{
    horizontalLayout_13 = new QHBoxLayout();
    horizontalLayout_13->setObjectName(QStringLiteral("horizontalLayout_13"));
    horizontalLayout_13->setSpacing(0);
    horizontalLayout_13->setContentsMargins(-1, 0, -1, 0);

    groupBox_23 = make<QGroupBox>(scrollAreaWidgetContents, "groupBox_23", QSize(0, 60),
        QSize(kUnbounded, 60), 0, FormSheet::addBox);
    horizontalLayout_136 = rowLayout(groupBox_23, -1);
    horizontalLayout_136->setObjectName(QStringLiteral("horizontalLayout_136"));
    horizontalSpacer_6 = hSpacer(40, 20);
    horizontalLayout_136->addItem(horizontalSpacer_6);
    PButton_AddEQ = imageButton(
        groupBox_23, "PButton_AddEQ", QSize(25, 25), QSize(25, 25), FormSheet::addButton);
    horizontalLayout_136->addWidget(PButton_AddEQ);
    horizontalSpacer_7 = hSpacer(40, 20);
    horizontalLayout_136->addItem(horizontalSpacer_7);
    horizontalLayout_13->addWidget(groupBox_23);

    verticalLayout_2->addLayout(horizontalLayout_13);
}

void MainWindowUi::retranslate(QMainWindow* MainWindow)
{
    MainWindow->setWindowTitle(QStringLiteral("MainWindow"));
    toolButton_3->setText(QStringLiteral("Help"));
    toolButton_2->setText(QStringLiteral("Export"));
    toolButton->setText(QStringLiteral("Import"));
    label_40->setText(QStringLiteral("Target:"));
    label_41->setText(QStringLiteral("SourceFR:"));
    checkBox_target->setText(QStringLiteral("Target"));
    checkBox_frequency->setText(QStringLiteral("Source FR"));
    checkBox_each->setText(QStringLiteral("Each Filter"));
    checkBox_EQ->setText(QStringLiteral("Combined Filter"));
    checkBox_combined->setText(QStringLiteral("Filtered FR"));
    checkBox_open->setText(QStringLiteral("Raw"));

    label_5->setText(rowNumber(1));
    label_2->setText(QStringLiteral("Preamplification"));
    label_3->setText(QStringLiteral("Gain:"));
    gbox1_lineEdit->setText(QStringLiteral("0dB"));

    static const char* const kTypes[] = { "Peaking filter", "Low-pass filter", "High-pass filter",
        "Low-shelf filter", "High-shelf filter" };
    static const char* const kFreqLabels[] = { "Center frequency", "Corner frequency" };
    for (const BandRowDescriptor& d : kBandRows) {
        d.rowLabel.of(*this)->setText(rowNumber(d.row));
        QComboBox* type = d.typeCombo.of(*this);
        for (int i = 0; i < 5; ++i)
            type->setItemText(i, QString::fromLatin1(kTypes[i]));
        QComboBox* freqLabel = d.freqLabelCombo.of(*this);
        for (int i = 0; i < 2; ++i)
            freqLabel->setItemText(i, QString::fromLatin1(kFreqLabels[i]));
        d.freqText.of(*this)->setText(QStringLiteral("632Hz"));
        d.gainLabel.of(*this)->setText(QStringLiteral("Gain:"));
        d.gainText.of(*this)->setText(QStringLiteral("0dB"));
        d.qLabel.of(*this)->setText(QStringLiteral("Q factor:"));
        d.qText.of(*this)->setText(QStringLiteral("0.7070"));
    }

    statusbar->setStatusTip(QString());
}
