// The main window's Import and Export menus and the source and target curve
// pickers: choosing, adding and removing curves. The file formats and the
// rules that need no widget live beside this file in core.

#include "app/mainwindow.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDebug>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QScrollBar>

#include "app/mainwindow_style.h"
#include "app/mainwindow_ui.h"
#include "app/palette.h"
#include "app/window_texts.h"
#include "device/device_session.h"
#include "device/device_state.h"
#include "device/hid_device.h"
#include "dsp/grid.h"
#include "dsp/response.h"
#include "editor/editor_state.h"
#include "editor/set_upload.h"
#include "io/csv_files.h"
#include "io/curve_entries.h"
#include "io/curve_name_dialog.h"
#include "io/filter_text.h"
#include "io/io_state.h"
#include "io/io_texts.h"
#include "io/picker_highlight.h"
#include "plot/response_chart.h"
#include "store/curve_list.h"
#include "store/paths.h"
#include "store/settings.h"
#include "widgets/accountitem.h"
#include "widgets/customcontrols.h"
#include "widgets/message_box.h"
#include "widgets/modal_seam.h"

namespace {

// The selected row is the one highlight, moved by the keys and the mouse
// alike; a hover look of its own would draw a second one.
const char* const kCurveListSheet
    = "QListWidget{outline:0px; border-radius:20px;background: rgba(0,0,0,1);padding-top:10px;"
      "padding-bottom:10px;}QListWidget::item{margin-top:0px;margin-bottom:0px;height:40px;}"
      "QListWidget::item:selected{color: " QV_TEXT "; border-radius:8px; "
      "background-color:" QV_DARK_GREY ";}QListWidget::item QLabel { color: " QV_TEXT ";"
      "background-color: transparent; }";

constexpr int kMaxVisibleCurves = 5;

// The entry name a row was made for, kept on its list item: the row widget
// shows it with a trailing blank.
constexpr int kRowNameRole = Qt::UserRole + 1;

const QString kSourceType = QStringLiteral("fre");
const QString kTargetType = QStringLiteral("tar");

void setChosenLook(CustomComboBox* combo, bool chosen)
{
    combo->setStyleSheet(FormSheet::curvePicker(combo->objectName(), !chosen));
}

// The look the main window's question boxes share: no icon, the program's
// name for a title, the dark sheet.
void buildQuestionBox(QMessageBox& box, const QString& text, const QList<modal::BoxButton>& buttons,
    Qt::LayoutDirection direction = Qt::LayoutDirectionAuto)
{
    modal::buildMessageBox(box, QMessageBox::NoIcon, QStringLiteral("Quorvel"), text, buttons,
        QString::fromUtf8(FormSheet::questionBox), direction);
}

} // namespace

// Everything that differs between the source and the target picker, and the
// steps both take.
struct MainWindow::CurvePicker
{
    CustomComboBox* combo;
    QListWidget*& list;
    int& rows;
    QString& currentName;
    QList<QList<double>>& curve;
    int32_t& preselected;
    bool& shown;
    void (MainWindow::*show)(int, QString const&);

    void addRow(MainWindow& w, int index, const QString& name) const;
    // When a curve is chosen: remember it, point the picker at its row and
    // load its file.
    void choose(int index, const QString& name) const;
    void finishChoice(const QString& name) const;
    // What a click on the highlighted row does; closes an empty list.
    void chooseHighlighted(MainWindow& w) const;
    void empty() const;
    void showPlaceholder(const QString& text) const;
};

MainWindow::CurvePicker MainWindow::sourcePicker()
{
    return { ui->comboBox, sourceCurveList, sourceCurveRows, currentSourceName, fre_list,
        sysSetValue.Pre_select_fre_index, fre_show_sign, &MainWindow::fre_sltShowAccountInfo };
}

MainWindow::CurvePicker MainWindow::targetPicker()
{
    return { ui->comboBox_2, targetCurveList, targetCurveRows, currentTargetName, tar_list,
        sysSetValue.Pre_select_tar_index, tar_show_sign, &MainWindow::tar_sltShowAccountInfo };
}

void MainWindow::CurvePicker::addRow(MainWindow& w, int index, const QString& name) const
{
    auto* row = new AccountItem();
    userInfo info;
    info.name = name;
    row->setAccountInfo(index, info);
    QObject::connect(row, &AccountItem::signalShowAccountInfo, &w, show);
    QObject::connect(row, &AccountItem::signalRemoveAccount, &w, &MainWindow::sltRemoveAccount);

    auto* item = new QListWidgetItem(list);
    item->setData(kRowNameRole, name);
    list->setItemWidget(item, row);
    ++rows;
    // This is how the last choice comes back at start-up.
    if (preselected == index)
        (w.*show)(index, name);
}

void MainWindow::CurvePicker::choose(int index, const QString& name) const
{
    preselected = index;
    Config_update();
    shown = true;
    for (int r = 0; r < list->count(); ++r) {
        auto* row = qobject_cast<AccountItem*>(list->itemWidget(list->item(r)));
        if (row && row->getItemWidgetIndex() == index) {
            combo->setCurrentIndex(r);
            break;
        }
    }
    currentName = name;
    const bool valid = index >= 0 && index < buffer_count;
    curve = importFromCSV(valid ? BD_value[index].path : QString());
}

void MainWindow::CurvePicker::finishChoice(const QString& name) const
{
    setChosenLook(combo, true);
    combo->setCurrentText(name);
    combo->hidePopup();
}

void MainWindow::CurvePicker::chooseHighlighted(MainWindow& w) const
{
    QListWidgetItem* item = list->currentItem();
    const auto* row = item ? qobject_cast<AccountItem*>(list->itemWidget(item)) : nullptr;
    if (!row) {
        combo->hidePopup();
        return;
    }
    (w.*show)(row->getItemWidgetIndex(), item->data(kRowNameRole).toString());
}

void MainWindow::CurvePicker::empty() const
{
    combo->lineEdit()->clear();
    while (list->count() > 0) {
        if (QWidget* row = list->itemWidget(list->item(0)))
            row->deleteLater();
        delete list->takeItem(0);
    }
    rows = 0;
    combo->hidePopup();
}

void MainWindow::CurvePicker::showPlaceholder(const QString& text) const
{
    setChosenLook(combo, false);
    combo->setCurrentText(text);
}

void MainWindow::ComboBox_Init()
{
    const CurvePicker pickers[] = { sourcePicker(), targetPicker() };
    const char* const placeholders[] = { "Source FR", "Target" };
    for (int i = 0; i < 2; ++i) {
        const CurvePicker& p = pickers[i];
        p.combo->setEditable(true);
        p.combo->lineEdit()->setReadOnly(true);
        p.combo->lineEdit()->setPlaceholderText(QLatin1String(placeholders[i]));

        p.list = new QListWidget(this);
        // Context menus on the lists are swallowed by the window's filter.
        p.list->installEventFilter(this);
        p.list->verticalScrollBar()->installEventFilter(this);
        p.list->setStyleSheet(kCurveListSheet);
        p.list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

        // The model first: the list refuses to take another model.
        p.combo->saveView(p.list);
        p.combo->setModel(p.list->model());
        p.combo->setView(p.list);
        p.combo->setMaxVisibleItems(kMaxVisibleCurves);
        new PickerHighlight(p.list,
            [this, i] { (i == 0 ? sourcePicker() : targetPicker()).chooseHighlighted(*this); });

        QWidget* popup = p.combo->view()->window();
        popup->setWindowFlags(Qt::Popup | Qt::FramelessWindowHint | Qt::NoDropShadowWindowHint);
        popup->setAttribute(Qt::WA_TranslucentBackground);
    }
}

void MainWindow::fre_tar_ComboBox_Init()
{
    for (int i = 0; i < buffer_count; ++i) {
        if (BD_value[i].type == kSourceType)
            fre_accountitem_add(i, BD_value[i].name);
        else if (BD_value[i].type == kTargetType)
            tar_accountitem_add(i, BD_value[i].name);
    }
}

void MainWindow::fre_accountitem_add(int index, QString name)
{
    sourcePicker().addRow(*this, index, name);
}

void MainWindow::tar_accountitem_add(int index, QString name)
{
    targetPicker().addRow(*this, index, name);
}

void MainWindow::fre_sltShowAccountInfo(int index, QString const& name)
{
    const CurvePicker p = sourcePicker();
    p.choose(index, name);
    if (Source_show)
        fre_csv_draw(fre_list);
    if (Filtered_show)
        startThread();
    p.finishChoice(name);
}

void MainWindow::tar_sltShowAccountInfo(int index, QString const& name)
{
    const CurvePicker p = targetPicker();
    p.choose(index, name);
    if (Target_show)
        tar_csv_draw(tar_list);
    // The compensated source is drawn relative to the target.
    if (Source_show)
        fre_csv_draw(fre_list);
    startThread();
    p.finishChoice(name);
}

void MainWindow::tar_fre_sltRemoveAllAccounts()
{
    sourcePicker().empty();
    targetPicker().empty();
}

void MainWindow::sltRemoveAccount(int index)
{
    if (index < 0 || index >= buffer_count)
        return;
    const BD_data entry = BD_value[index];

    // The list first: while its file cannot be rewritten the entry stays,
    // and with it its curve file and every choice.
    tar_fre_sltRemoveAllAccounts();
    if (!removeAndReorder(index)) {
        qDebug() << "cannot remove curve entry" << index;
        fre_tar_ComboBox_Init();
        return;
    }

    // The entries above the removed one moved down: the remembered choices
    // follow them, so the same curves come back when the lists are refilled.
    sysSetValue.Pre_select_tar_index
        = selectionAfterRemoval(sysSetValue.Pre_select_tar_index, index);
    sysSetValue.Pre_select_fre_index
        = selectionAfterRemoval(sysSetValue.Pre_select_fre_index, index);
    Config_update();

    const ResponseChart plot(chartView);
    if (entry.type == kSourceType) {
        fre_show_sign = false;
        plot.clearCurve(ResponseChart::kSource);
        fre_list = flatCurveRows();
        if (Source_show)
            fre_csv_draw(fre_list);
    } else if (entry.type == kTargetType) {
        tar_show_sign = false;
        plot.clearCurve(ResponseChart::kTarget);
        tar_list = flatCurveRows();
        if (Target_show)
            tar_csv_draw(tar_list);
    }
    deleteFile(entry.path);

    fre_tar_ComboBox_Init();

    if (entry.type == kTargetType && sourceCurveList->count() > 0 && !currentSourceName.isEmpty())
        ui->comboBox->setCurrentText(currentSourceName);
    if (entry.type == kSourceType && targetCurveList->count() > 0 && !currentTargetName.isEmpty())
        ui->comboBox_2->setCurrentText(currentTargetName);
    currentSourceName.clear();
    currentTargetName.clear();

    // Placeholders: Chinese for 0, English for every other value.
    const MainWindowTexts& t = mainWindowTexts(sysSetValue.Language == 0 ? 0 : 1);
    if (!fre_show_sign)
        sourcePicker().showPlaceholder(t.sourcePlaceholder);
    if (!tar_show_sign)
        targetPicker().showPlaceholder(t.targetPlaceholder);
}

void MainWindow::receiveDialogInput_fre(QString const& name) { pendingCurveName = name; }

void MainWindow::receiveDialogInput_tar(QString const& name) { pendingCurveName = name; }

void MainWindow::openDialog_fre()
{
    MyDialog3 dialog(this);
    connect(&dialog, &MyDialog3::accepted3, this, &MainWindow::receiveDialogInput_fre);
    if (modal::exec(dialog) != QDialog::Accepted)
        pendingCurveName.clear();
}

void MainWindow::openDialog_tar()
{
    MyDialog dialog(this);
    connect(&dialog, &MyDialog::accepted, this, &MainWindow::receiveDialogInput_tar);
    if (modal::exec(dialog) != QDialog::Accepted)
        pendingCurveName.clear();
}

QString MainWindow::get_csv_file()
{
    return modal::getOpenFileName(this, QStringLiteral("选择文件"), QStringLiteral("C:/"),
        QStringLiteral("CSV 文件 (*.csv);;文本文件 (*.txt);;MIC 文件 (*.mic)"));
}

QString MainWindow::get_txt_file()
{
    return modal::getOpenFileName(
        nullptr, QStringLiteral("Open TXT File"), QString(), QStringLiteral("TXT Files (*.txt)"));
}

QString MainWindow::save_csv_file()
{
    return modal::getSaveFileName(
        this, QStringLiteral("保存文件"), sysSetValue.EQ_save_file_path, QStringLiteral("(*.csv)"));
}

QString MainWindow::save_txt_file()
{
    return modal::getSaveFileName(
        this, QStringLiteral("保存文件"), sysSetValue.EQ_save_file_path, QStringLiteral("(*.txt)"));
}

void MainWindow::showIoBox(int icon, const QString& title, const QString& text)
{
    QMessageBox box(this);
    modal::buildMessageBox(box, QMessageBox::Icon(icon), title, text, { QMessageBox::Ok });
    modal::exec(box);
}

void MainWindow::deal_On_triggered(QAction* action)
{
    const QString text = action->text();
    if (text == "Target" || text == "导入目标曲线")
        importCurve(kTargetType);
    else if (text == "SourceFR" || text == "导入源频响曲线")
        importCurve(kSourceType);
    else if (text == "Import Filters" || text == "导入滤波参数")
        importFilters();
}

void MainWindow::deal_On_triggered2(QAction* action)
{
    const QString text = action->text();
    if (text == "Export filter FR" || text == "导出频响曲线") {
        // The combined response as the chart draws it: with the preamp of
        // the plotted set while that preamp is on.
        exportToCSV(save_csv_file(), freqs1.data(), int(kGridSize), combined_fr, gain_value);
    } else if (text == "Export filters" || text == "导出滤波参数") {
        const QString path = save_txt_file();
        if (editedSet() == EQ_R)
            exportToTXT2(path, EQ_R);
        else
            exportToTXT(path, EQ);
    }
}

void MainWindow::importCurve(const QString& type)
{
    const IoBoxTexts& t = ioBoxTexts(sysSetValue.Language);
    if (buffer_count >= kCurveListCapacity || jsonDataList.size() >= kCurveListCapacity) {
        showIoBox(QMessageBox::Critical, t.errorTitle, t.listFull);
        return;
    }
    const QString path = get_csv_file();
    if (path.isEmpty())
        return;

    QList<QList<double>> rows;
    bool usable = false;
    if (isQuorvelCSV(path)) {
        // The plot reads one [frequency, level] row per grid point.
        rows = curvePairs(importFromCSV(path));
        usable = isCompleteCurve(rows);
    } else {
        rows = csv_deal::processArrays(freqs1.data(), int(kGridSize), csv_deal::parseCSV(path));
        usable = csv_data_determine;
    }
    if (!usable) {
        showIoBox(QMessageBox::Critical, t.errorTitle, t.dataError);
        return;
    }
    addCurve(type, rows);
}

void MainWindow::addCurve(const QString& type, const QList<QList<double>>& rows)
{
    if (type == kTargetType)
        openDialog_tar();
    else
        openDialog_fre();
    if (pendingCurveName.isEmpty())
        return;

    const IoBoxTexts& t = ioBoxTexts(sysSetValue.Language);
    const QString name = uniqueCurveName(pendingCurveName, type, BD_value, buffer_count);
    const QString folder
        = appFilePath(type == kTargetType ? QStringLiteral("Target") : QStringLiteral("Frequency"));
    QDir().mkpath(folder);
    const QString path = curveFilePath(folder, name, BD_value, buffer_count);
    if (path.isEmpty() || !exportToCSV(path, rows)) {
        showIoBox(QMessageBox::Critical, t.errorTitle, t.dataError);
        return;
    }
    // Stored before its row is added, so the row never names an entry that
    // does not exist yet.
    if (!file_Add(type, buffer_count, name, path)) {
        deleteFile(path);
        showIoBox(QMessageBox::Critical, t.errorTitle, t.dataError);
        return;
    }
    const int index = buffer_count - 1;
    if (type == kTargetType) {
        tar_accountitem_add(index, name);
        tar_sltShowAccountInfo(index, name);
    } else {
        fre_accountitem_add(index, name);
        fre_sltShowAccountInfo(index, name);
    }
}

void MainWindow::importFilters()
{
    const IoBoxTexts& t = ioBoxTexts(sysSetValue.Language);
    if (!execute_biaozhi && biaozhi_name == "yyyy" && isFactoryPresetName(morendevice_name)) {
        QMessageBox box(this);
        buildQuestionBox(box, t.refusal, { { t.refusalButton, QMessageBox::AcceptRole } });
        modal::exec(box);
        return;
    }
    const FilterTarget target = editedSet() == EQ_R ? FilterTarget::Right : FilterTarget::Left;

    Parameter_Path = get_txt_file();
    if (Parameter_Path.isEmpty())
        return;

    QMessageBox box(this);
    buildQuestionBox(box, t.question,
        { { QMessageBox::Yes, t.yes }, { QMessageBox::Ok, t.newConfiguration },
            { QMessageBox::Cancel, t.cancel } },
        Qt::RightToLeft);
    modal::exec(box);

    const QAbstractButton* clicked = box.clickedButton();
    if (clicked == box.button(QMessageBox::Yes)) {
        importFromTXT(Parameter_Path, target);
        config_update_ui();
    } else if (clicked == box.button(QMessageBox::Ok)) {
        if (biaozhi_name == "xxxx")
            emit send_tianjia();
        else if (biaozhi_name == "yyyy")
            emit send_tianjia2();
    }
}

void MainWindow::onWorkFinished()
{
    importFromTXT(Parameter_Path, FilterTarget::Both);
    config_update_ui();
    // Every field of every record, both channels from EQ: the new preset
    // holds the same set in both.
    sendSetUpload(clearedSetUploadFrames(
                      EditRoute::Linked, EQ, EQ, status_bar_value.device_eq_status, Gain_flag),
        false);
}

// Unbound: the form has no object of this name.
void MainWindow::on_PButton_Set_3_clicked() { }
