// The plot bar's Import, Export and Help menus, the status bar, the styles of
// the plot and enable boxes, and the settings button.

#include "app/mainwindow.h"

#include <QCheckBox>
#include <QDebug>
#include <QDesktopServices>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QScrollArea>
#include <QStatusBar>
#include <QToolButton>
#include <QUrl>

#include "app/help_links.h"
#include "app/mainwindow_style.h"
#include "app/mainwindow_ui.h"
#include "app/palette.h"
#include "app/status_labels.h"
#include "app/window_texts.h"
#include "device/device_state.h"
#include "editor/band_edit.h"
#include "settings/systemsetting.h"
#include "store/settings.h"
#include "widgets/customcontrols.h"
#include "widgets/shared_style.h"

QLabel* statusLabel1 = nullptr;
QLabel* statusLabel2 = nullptr;
QLabel* statusLabel3 = nullptr;
QLabel* statusLabel4 = nullptr;
QLabel* statusLabel5 = nullptr;
QLabel* statusLabel6 = nullptr;
QLabel* statusLabel7 = nullptr;
QLabel* statusLabel8 = nullptr;

namespace {

const char* const kPlotBoxSheet
    = "QCheckBox{spacing: 2px;color: %1;} QCheckBox::indicator {width: 40px;height: 30px;"
      "padding-top: 10px;padding-bottom: 5px;} QCheckBox::indicator:unchecked {"
      "image: url(:ThirdPartyResources/images/ic-checkbox-close_2_3.png);} "
      "QCheckBox::indicator:checked {image: "
      "url(:ThirdPartyResources/images/ic-checkbox-open_1.png);}";

const char* const kRawBoxSheet
    = "QCheckBox{color: " QV_WHITE ";} QCheckBox:checked{color: " QV_TEXT ";} "
      "QCheckBox:unchecked{color: " QV_TEXT ";} QCheckBox:hover{color: rgb(240, 240, 240);} "
      "QCheckBox::indicator {width: 0px;height: 0px;}";

const char* const kStatusBarSheet
    = "QStatusBar::item {border-right: 1px solid white;padding: 0 5px;}";

const char* const kStatusLabelSheet
    = " QStatusBar {    QWidget { border: none; }    background-color: " QV_BLACK
      ";    border: 2px solid " QV_DARK_GREY
      ";     QLabel{         font-size: 11px;         color: " QV_TEXT ";         "
      "background-color:  " QV_BLACK
      ";    }    QLabel#lineLabel {          none;                            "
      "background-color: #565656;         width: 1px;         margin: 0px 5px;    } }";

const char* const kToolButtonSheet
    = "QToolButton{    color: " QV_TEXT ";     border: 2px solid " QV_DARK_GREY_TIGHT
      ";     border-radius: 5px;"
      "     border:none; } QToolButton:hover{     border: 2px solid gray;     border-radius: 5px; "
      "} "
      "QToolButton::menu-indicator { image: none; }";

const char* const kMenuSheet
    = QV_MENU_SHEET("width: 100px;high: 50px; padding: 4px 24px 4px 24px;");

} // namespace

void MainWindow::qss_Setting()
{
    // The form usually has this sheet already (see MainWindowUi::setup); set
    // again, it would restyle the whole form.
    const QString scrollSheet = loadScrollBarSheet();
    for (QWidget* w :
        { static_cast<QWidget*>(ui->centralwidget), static_cast<QWidget*>(ui->scrollArea) })
        if (!scrollSheet.isEmpty() && w->styleSheet() != scrollSheet)
            w->setStyleSheet(scrollSheet);

    const std::pair<QCheckBox*, const char*> plotBoxes[] = {
        { ui->checkBox_EQ, QV_COMBINED_CURVE },
        { ui->checkBox_frequency, QV_SOURCE_CURVE_TIGHT },
        { ui->checkBox_target, QV_TEXT },
        { ui->checkBox_each, QV_FIRST_BAND_CURVE_TIGHT },
        { ui->checkBox_combined, QV_FILTERED_CURVE_TIGHT },
    };
    for (const auto& [box, colour] : plotBoxes)
        box->setStyleSheet(QString(kPlotBoxSheet).arg(colour));
    ui->checkBox_open->setStyleSheet(kRawBoxSheet);

    ui->checkBox->setStyleSheet(FormSheet::enableBox);
    for (const BandRowDescriptor& row : bandRowDescriptors())
        row.enable.of(*ui)->setStyleSheet(FormSheet::enableBox);

    statusLabel1 = new QLabel("   Audio_Code   ");
    statusLabel2 = new QLabel("   Sample   ");
    statusLabel3 = new QLabel("   EQ:0   ");
    statusLabel4 = new QLabel("   Device   ");
    statusLabel5 = new QLabel("   Disconnected   ");
    statusLabel6 = new QLabel("   EQ Max NUM:10   ");
    statusLabel7 = new QLabel("   DeviceEQ:ON   ");
    statusLabel8 = new QLabel("   T0.30   ");

    statusLabel1->setText(framed(status_bar_value.audio_code));
    statusLabel2->setText(framed(status_bar_value.sample_rate));
    statusLabel3->setText(eqCountText(status_bar_value.eq_count));
    statusLabel4->setText(framed(status_bar_value.device_model));
    statusLabel5->setText(framed(status_bar_value.connect_state));

    status_bar_value.eq_max = 10;
    const int language = sysSetValue.Language;
    const StatusTexts& status = statusTextsOrEnglish(language);
    statusLabel6->setText(eqMaxText(status, status_bar_value.eq_max));
    statusLabel7->setText(status.deviceEqOn);

    ui->statusbar->setStyleSheet(kStatusBarSheet);
    // Left to right: model, connection, audio code, sample rate, band limit, band count.
    for (QLabel* label : { statusLabel4, statusLabel5, statusLabel1, statusLabel2, statusLabel6,
             statusLabel3, statusLabel7 })
        ui->statusbar->addWidget(label, 0);
    statusLabel7->hide();
    for (QLabel* label : { statusLabel1, statusLabel2, statusLabel3, statusLabel4, statusLabel5,
             statusLabel6, statusLabel7 })
        label->setStyleSheet(kStatusLabelSheet);

    const MainWindowTexts& texts = mainWindowTexts(language);
    QToolButton* toolButtons[] = { ui->toolButton, ui->toolButton_2, ui->toolButton_3 };
    const QString tips[] = { texts.importTip, texts.exportTip, texts.helpTip };
    for (int i = 0; i < 3; ++i) {
        toolButtons[i]->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        if (language == 0 || language == 1)
            toolButtons[i]->setToolTip(tips[i]);
        toolButtons[i]->setPopupMode(QToolButton::InstantPopup);
        toolButtons[i]->setStyleSheet(kToolButtonSheet);
    }

    struct MenuEntry
    {
        QMenu*& menu;
        QToolButton* button;
        const QStringList& actions;
    };
    const MenuEntry menus[] = {
        { menu_Import, ui->toolButton, texts.importActions },
        { menu_Export, ui->toolButton_2, texts.exportActions },
        { menu_Help, ui->toolButton_3, texts.helpActions },
    };
    for (const MenuEntry& entry : menus) {
        entry.menu = new QMenu(this);
        entry.menu->setStyleSheet(kMenuSheet);
        entry.menu->clear();
        for (const QString& text : entry.actions)
            entry.menu->addAction(tr(text.toUtf8().constData()));
    }
    for (const MenuEntry& entry : menus) {
        entry.button->setMenu(entry.menu);
        clearHoverWhenMenuCloses(entry.button);
    }

    if (const StatusTexts* st = statusTexts(language))
        ui->PButton_Set_2->setToolTip(st->saveTip);
}

void MainWindow::deal_On_triggered_Help(QAction* action)
{
    const QString text = action->text();
    if (text == "Reference Guide" || text == "使用指南") {
        QDesktopServices::openUrl(QUrl(help_links::kUserGuide));
        qDebug() << "Using TutorialsUsing Tutorials";
    } else if (text == "Problem feedback" || text == "问题反馈") {
        qDebug() << "Problem feedbackProblem feedback";
        QDesktopServices::openUrl(QUrl(sysSetValue.Language != 0 ? help_links::kFeedbackEnglish
                                                                 : help_links::kFeedbackChinese));
    }
}

void MainWindow::on_PButton_Set_clicked()
{
    if (const StatusTexts* st = statusTexts(sysSetValue.Language))
        systemset->setWindowTitle(st->settingsTitle);
    systemset->Updata_ALL();
    systemset->show();
}
