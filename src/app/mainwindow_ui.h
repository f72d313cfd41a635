#pragma once

#include <array>

#include <QString>

class QComboBox;
class QGridLayout;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QMainWindow;
class QSpacerItem;
class QSplitter;
class QStatusBar;
class QToolButton;
class QVBoxLayout;
class QWidget;

class Balance;
class Balance1;
class Balance2;
class CustomCheckBox;
class CustomComboBox;
class CustomLineEdit;
class CustomPushButton;
class CustomScrollArea;
class Workspace;

// The main window's widget tree. A plain record: one pointer per object,
// named after its objectName and declared in creation order. The widgets
// belong to the window through Qt parenting; the record only refers to them.
class MainWindowUi
{
public:
    // Layouts and spacers of one band row; they have no names of their own.
    struct BandRowLayout
    {
        QHBoxLayout* row = nullptr;
        QHBoxLayout* enableBox = nullptr;
        QHBoxLayout* frequencyBox = nullptr;
        QHBoxLayout* gainBox = nullptr;
        QHBoxLayout* qBox = nullptr;
        std::array<QSpacerItem*, 3> spacers {};
    };

    QWidget* centralwidget = nullptr;
    QGridLayout* gridLayout = nullptr;
    QLabel* label_29 = nullptr;
    Workspace* widget = nullptr;
    QSplitter* splitter = nullptr;

    // Plot panel and its tool bar.
    QGroupBox* groupBox = nullptr;
    QVBoxLayout* verticalLayout_3 = nullptr;
    QWidget* widget_2 = nullptr;
    QHBoxLayout* horizontalLayout_5 = nullptr;
    QLabel* label_4 = nullptr;
    CustomPushButton* PButton_Set = nullptr;
    QSpacerItem* horizontalSpacer = nullptr;
    QGridLayout* gridLayout_2 = nullptr;
    QSpacerItem* horizontalSpacer_2 = nullptr;
    QHBoxLayout* horizontalLayout_4 = nullptr;
    CustomPushButton* PButton_Set_4 = nullptr;
    CustomPushButton* PButton_Set_5 = nullptr;
    CustomPushButton* PButton_Set_6 = nullptr;
    QHBoxLayout* horizontalLayout = nullptr;
    QSpacerItem* horizontalSpacer_3 = nullptr;
    CustomPushButton* PButton_Set_2 = nullptr;
    QToolButton* toolButton_3 = nullptr;
    QToolButton* toolButton_2 = nullptr;
    QToolButton* toolButton = nullptr;
    QLabel* label_39 = nullptr;
    QLabel* label_40 = nullptr;
    CustomComboBox* comboBox_2 = nullptr;
    QLabel* label_41 = nullptr;
    CustomComboBox* comboBox = nullptr;
    QWidget* widget_3 = nullptr;
    QWidget* widget_4 = nullptr;
    QHBoxLayout* horizontalLayout_2 = nullptr;
    CustomCheckBox* checkBox_target = nullptr;
    CustomCheckBox* checkBox_frequency = nullptr;
    CustomCheckBox* checkBox_each = nullptr;
    CustomCheckBox* checkBox_EQ = nullptr;
    CustomCheckBox* checkBox_combined = nullptr;
    CustomCheckBox* checkBox_open = nullptr;

    // Editor column.
    CustomScrollArea* scrollArea = nullptr;
    QWidget* scrollAreaWidgetContents = nullptr;
    QVBoxLayout* verticalLayout = nullptr;

    // Preamp row.
    QGroupBox* groupBox_4 = nullptr;
    QHBoxLayout* horizontalLayout_8 = nullptr;
    QLabel* label_5 = nullptr;
    QHBoxLayout* horizontalLayout_3 = nullptr;
    CustomCheckBox* checkBox = nullptr;
    QLabel* label_2 = nullptr;
    QSpacerItem* horizontalSpacer_4 = nullptr;
    QHBoxLayout* horizontalLayout_7 = nullptr;
    QLabel* label_3 = nullptr;
    Balance1* gbox1_BL1 = nullptr;
    CustomLineEdit* gbox1_lineEdit = nullptr;
    QSpacerItem* horizontalSpacer_5 = nullptr;

    // Band rows 2 to 12 (bands 1 to 11), built from bandRowDescriptors():
    // box, label, enable, type, frequency label, then frequency, gain and Q
    // controls and the remove button. Rows 4 to 12 sit in verticalLayout_2.
    std::array<BandRowLayout, 11> bandRowLayouts {};
    QGroupBox* groupBox_12 = nullptr;
    QLabel* label_6 = nullptr;
    CustomCheckBox* checkBox_8 = nullptr;
    QComboBox* comboBox_25 = nullptr;
    QComboBox* comboBox_26 = nullptr;
    Balance2* gbox2_BL1 = nullptr;
    CustomLineEdit* gbox2_lineEdit1 = nullptr;
    QLabel* label_9 = nullptr;
    Balance1* gbox2_BL2 = nullptr;
    CustomLineEdit* gbox2_lineEdit2 = nullptr;
    QLabel* label = nullptr;
    Balance* gbox2_BL3 = nullptr;
    CustomLineEdit* gbox2_lineEdit3 = nullptr;
    CustomPushButton* PButton_RemoveEQ_1 = nullptr;

    QGroupBox* groupBox_14 = nullptr;
    QLabel* label_7 = nullptr;
    CustomCheckBox* checkBox_10 = nullptr;
    QComboBox* comboBox_31 = nullptr;
    QComboBox* comboBox_32 = nullptr;
    Balance2* gbox3_BL1 = nullptr;
    CustomLineEdit* gbox3_lineEdit1 = nullptr;
    QLabel* label_11 = nullptr;
    Balance1* gbox3_BL2 = nullptr;
    CustomLineEdit* gbox3_lineEdit2 = nullptr;
    QLabel* label_28 = nullptr;
    Balance* gbox3_BL3 = nullptr;
    CustomLineEdit* gbox3_lineEdit3 = nullptr;
    CustomPushButton* PButton_RemoveEQ_2 = nullptr;

    QVBoxLayout* verticalLayout_2 = nullptr;

    QGroupBox* groupBox_13 = nullptr;
    QLabel* label_8 = nullptr;
    CustomCheckBox* checkBox_9 = nullptr;
    QComboBox* comboBox_28 = nullptr;
    QComboBox* comboBox_29 = nullptr;
    Balance2* gbox4_BL1 = nullptr;
    CustomLineEdit* gbox4_lineEdit1 = nullptr;
    QLabel* label_10 = nullptr;
    Balance1* gbox4_BL2 = nullptr;
    CustomLineEdit* gbox4_lineEdit2 = nullptr;
    QLabel* label_30 = nullptr;
    Balance* gbox4_BL3 = nullptr;
    CustomLineEdit* gbox4_lineEdit3 = nullptr;
    CustomPushButton* PButton_RemoveEQ_3 = nullptr;

    QGroupBox* groupBox_15 = nullptr;
    QLabel* label_20 = nullptr;
    CustomCheckBox* checkBox_11 = nullptr;
    QComboBox* comboBox_34 = nullptr;
    QComboBox* comboBox_35 = nullptr;
    Balance2* gbox3_BL1_2 = nullptr;
    CustomLineEdit* gbox3_lineEdit1_2 = nullptr;
    QLabel* label_12 = nullptr;
    Balance1* gbox3_BL2_2 = nullptr;
    CustomLineEdit* gbox3_lineEdit2_2 = nullptr;
    QLabel* label_31 = nullptr;
    Balance* gbox3_BL3_2 = nullptr;
    CustomLineEdit* gbox3_lineEdit3_2 = nullptr;
    CustomPushButton* PButton_RemoveEQ_4 = nullptr;

    QGroupBox* groupBox_16 = nullptr;
    QLabel* label_21 = nullptr;
    CustomCheckBox* checkBox_12 = nullptr;
    QComboBox* comboBox_37 = nullptr;
    QComboBox* comboBox_38 = nullptr;
    Balance2* gbox3_BL1_3 = nullptr;
    CustomLineEdit* gbox3_lineEdit1_3 = nullptr;
    QLabel* label_13 = nullptr;
    Balance1* gbox3_BL2_3 = nullptr;
    CustomLineEdit* gbox3_lineEdit2_3 = nullptr;
    QLabel* label_32 = nullptr;
    Balance* gbox3_BL3_3 = nullptr;
    CustomLineEdit* gbox3_lineEdit3_3 = nullptr;
    CustomPushButton* PButton_RemoveEQ_5 = nullptr;

    QGroupBox* groupBox_17 = nullptr;
    QLabel* label_22 = nullptr;
    CustomCheckBox* checkBox_13 = nullptr;
    QComboBox* comboBox_40 = nullptr;
    QComboBox* comboBox_41 = nullptr;
    Balance2* gbox3_BL1_4 = nullptr;
    CustomLineEdit* gbox3_lineEdit1_4 = nullptr;
    QLabel* label_14 = nullptr;
    Balance1* gbox3_BL2_4 = nullptr;
    CustomLineEdit* gbox3_lineEdit2_4 = nullptr;
    QLabel* label_33 = nullptr;
    Balance* gbox3_BL3_4 = nullptr;
    CustomLineEdit* gbox3_lineEdit3_4 = nullptr;
    CustomPushButton* PButton_RemoveEQ_6 = nullptr;

    QGroupBox* groupBox_18 = nullptr;
    QLabel* label_23 = nullptr;
    CustomCheckBox* checkBox_14 = nullptr;
    QComboBox* comboBox_43 = nullptr;
    QComboBox* comboBox_44 = nullptr;
    Balance2* gbox3_BL1_5 = nullptr;
    CustomLineEdit* gbox3_lineEdit1_5 = nullptr;
    QLabel* label_15 = nullptr;
    Balance1* gbox3_BL2_5 = nullptr;
    CustomLineEdit* gbox3_lineEdit2_5 = nullptr;
    QLabel* label_34 = nullptr;
    Balance* gbox3_BL3_5 = nullptr;
    CustomLineEdit* gbox3_lineEdit3_5 = nullptr;
    CustomPushButton* PButton_RemoveEQ_7 = nullptr;

    QGroupBox* groupBox_19 = nullptr;
    QLabel* label_24 = nullptr;
    CustomCheckBox* checkBox_15 = nullptr;
    QComboBox* comboBox_46 = nullptr;
    QComboBox* comboBox_47 = nullptr;
    Balance2* gbox3_BL1_6 = nullptr;
    CustomLineEdit* gbox3_lineEdit1_6 = nullptr;
    QLabel* label_16 = nullptr;
    Balance1* gbox3_BL2_6 = nullptr;
    CustomLineEdit* gbox3_lineEdit2_6 = nullptr;
    QLabel* label_35 = nullptr;
    Balance* gbox3_BL3_6 = nullptr;
    CustomLineEdit* gbox3_lineEdit3_6 = nullptr;
    CustomPushButton* PButton_RemoveEQ_8 = nullptr;

    QGroupBox* groupBox_20 = nullptr;
    QLabel* label_25 = nullptr;
    CustomCheckBox* checkBox_16 = nullptr;
    QComboBox* comboBox_49 = nullptr;
    QComboBox* comboBox_50 = nullptr;
    Balance2* gbox3_BL1_7 = nullptr;
    CustomLineEdit* gbox3_lineEdit1_7 = nullptr;
    QLabel* label_17 = nullptr;
    Balance1* gbox3_BL2_7 = nullptr;
    CustomLineEdit* gbox3_lineEdit2_7 = nullptr;
    QLabel* label_36 = nullptr;
    Balance* gbox3_BL3_7 = nullptr;
    CustomLineEdit* gbox3_lineEdit3_7 = nullptr;
    CustomPushButton* PButton_RemoveEQ_9 = nullptr;

    QGroupBox* groupBox_21 = nullptr;
    QLabel* label_26 = nullptr;
    CustomCheckBox* checkBox_17 = nullptr;
    QComboBox* comboBox_52 = nullptr;
    QComboBox* comboBox_53 = nullptr;
    Balance2* gbox3_BL1_8 = nullptr;
    CustomLineEdit* gbox3_lineEdit1_8 = nullptr;
    QLabel* label_18 = nullptr;
    Balance1* gbox3_BL2_8 = nullptr;
    CustomLineEdit* gbox3_lineEdit2_8 = nullptr;
    QLabel* label_37 = nullptr;
    Balance* gbox3_BL3_8 = nullptr;
    CustomLineEdit* gbox3_lineEdit3_8 = nullptr;
    CustomPushButton* PButton_RemoveEQ_10 = nullptr;

    QGroupBox* groupBox_22 = nullptr;
    QLabel* label_27 = nullptr;
    CustomCheckBox* checkBox_18 = nullptr;
    QComboBox* comboBox_55 = nullptr;
    QComboBox* comboBox_56 = nullptr;
    Balance2* gbox3_BL1_9 = nullptr;
    CustomLineEdit* gbox3_lineEdit1_9 = nullptr;
    QLabel* label_19 = nullptr;
    Balance1* gbox3_BL2_9 = nullptr;
    CustomLineEdit* gbox3_lineEdit2_9 = nullptr;
    QLabel* label_38 = nullptr;
    Balance* gbox3_BL3_9 = nullptr;
    CustomLineEdit* gbox3_lineEdit3_9 = nullptr;
    CustomPushButton* PButton_RemoveEQ_11 = nullptr;

    // Add box.
    QHBoxLayout* horizontalLayout_13 = nullptr;
    QGroupBox* groupBox_23 = nullptr;
    QHBoxLayout* horizontalLayout_136 = nullptr;
    QSpacerItem* horizontalSpacer_6 = nullptr;
    CustomPushButton* PButton_AddEQ = nullptr;
    QSpacerItem* horizontalSpacer_7 = nullptr;
    QSpacerItem* verticalSpacer = nullptr;

    QStatusBar* statusbar = nullptr;

    // Builds the tree on the window, writes the initial texts and binds the
    // window's on_<object>_<signal> slots by name. A non-empty scrollSheet is
    // the sheet the window's style step puts on centralwidget and scrollArea
    // later: given here it is theirs from the start, so the finished form is
    // not restyled as a whole.
    void setup(QMainWindow* MainWindow, const QString& scrollSheet = QString());
    // Writes the initial (English) texts.
    void retranslate(QMainWindow* MainWindow);

private:
    void setupToolBar();
    void setupCurveSwitches();
    void setupPreampRow();
    void setupBandRow(int index);
    void setupAddBox();
};

// The scroll-bar sheet of the resource tree; empty when it cannot be read.
QString loadScrollBarSheet();

// A member of the form record together with the objectName it must carry.
template <class T> struct FormMember
{
    T* MainWindowUi::*member;
    const char* name;

    T* of(const MainWindowUi& ui) const { return ui.*member; }
};

// One band row of the editor column: its object names, where the record keeps
// them, and the few ways in which rows differ.
struct BandRowDescriptor
{
    int row; // 2 to 12 in the editor column (row 1 is the preamp)
    int band; // 1 to 11
    FormMember<QGroupBox> groupBox;
    FormMember<QLabel> rowLabel;
    FormMember<CustomCheckBox> enable;
    FormMember<QComboBox> typeCombo;
    FormMember<QComboBox> freqLabelCombo;
    FormMember<Balance2> freqDial;
    FormMember<CustomLineEdit> freqText;
    FormMember<QLabel> gainLabel;
    FormMember<Balance1> gainDial;
    FormMember<CustomLineEdit> gainText;
    FormMember<QLabel> qLabel;
    FormMember<Balance> qDial;
    FormMember<CustomLineEdit> qText;
    FormMember<CustomPushButton> removeButton;
    int labelPointSize; // 12, or 9 for the two-digit labels
    int rightMargin; // -1 is the style's default
    const char* textSheet; // sheet of the three line edits
    const char* boxSheet; // sheet of the row's group box
};

// The eleven band rows in row order (index = band - 1).
const std::array<BandRowDescriptor, 11>& bandRowDescriptors();
