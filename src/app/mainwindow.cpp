// Construction of the main window: the order in which the window and the
// system around it are built, and every connection made on the way.

#include "app/mainwindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDebug>
#include <QDir>
#include <QGroupBox>
#include <QGuiApplication>
#include <QIcon>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QToolButton>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QLogValueAxis>
#include <QtCharts/QValueAxis>

#include "app/mainwindow_ui.h"
#include "app/status_labels.h"
#include "app/window_texts.h"
#include "device/device_state.h"
#include "device/threads.h"
#include "plot/curves.h"
#include "settings/systemsetting.h"
#include "store/channel_modes.h"
#include "store/curve_list.h"
#include "store/paths.h"
#include "store/presets.h"
#include "store/settings.h"
#include "widgets/balance.h"
#include "widgets/customcontrols.h"
#include "widgets/framelesshelper.h"
#include "workspace/workspace.h"

int one_biaozhi = 0;

namespace {

constexpr int kAutosaveIntervalMs = 20000;
constexpr int kStartupTaskDelayMs = 500;

const char* const kChannelSwitchSheet
    = "QCheckBox{  color: rgb(0,200,0);} QCheckBox::indicator {  width: 80px;   height: 20px;} "
      "QCheckBox::indicator:unchecked {    image: url(:ThirdPartyResources/images/zuo4.png);  }  "
      "QCheckBox::indicator:checked {    image: url(:ThirdPartyResources/images/you4.png);  }";

} // namespace

double adjustFontSize()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInch() / 72.0 : 1.0;
}

MainWindow::MainWindow(QWidget* parent, Qt::WindowFlags flags)
    : QMainWindow(parent, flags)
{
    // Settings first: everything below reads them.
    config_Init();
    Config_stamp_running_version();
    loadConfig();

    comboBox_PEQMode = new CustomComboBox(this);
    checkBox_channel = new QCheckBox(this);
    checkBox_channel->setStyleSheet(kChannelSwitchSheet);
    comboBox_PEQMode->addItem("L+R");
    comboBox_PEQMode->addItem("L/R");
    comboBox_PEQMode->setCurrentIndex(1);
    connect(comboBox_PEQMode, SIGNAL(currentIndexChanged(int)), this, SLOT(onComboxSelect(int)));
    connect(checkBox_channel, SIGNAL(clicked()), this, SLOT(checkclicked()));

    systemset = new SystemSetting(this);
    systemset->hide();
    connect(systemset, &SystemSetting::language_changed, this, &MainWindow::Language_Change_UI);
    connect(
        systemset, &SystemSetting::sigFollowPreClicked, this, &MainWindow::slotFollowPreClicked);
    connect(this, &MainWindow::Is_Language, systemset, &SystemSetting::change_language);
    connect(this, &MainWindow::updata_version, systemset, &SystemSetting::Updata_version);
    connect(this, &MainWindow::mute_biaozhi, systemset, &SystemSetting::recive_mute);

    // The form builds the preset panel, which reads the preset tables.
    EQ_config_Init();
    ui = new MainWindowUi;
    ui->setup(this, loadScrollBarSheet());
    systemset->Update_SysSetting_Ui();

    Workspace* ws = ui->widget;
    connect(this, &MainWindow::device_config_upload, ws, &Workspace::Device_Radio_Init);
    connect(
        this, &MainWindow::moren_device_config_upload, ws, &Workspace::moren_Device_Radio_Config);
    connect(this, &MainWindow::device_config_clear, ws, &Workspace::Device_Radio_Clear);
    connect(this, &MainWindow::close_device_save_config, ws, &Workspace::Device_Config_Save);
    connect(this, &MainWindow::shifouzhichi, ws, &Workspace::shifouzhichi2);
    connect(this, &MainWindow::send_tianjia, ws, &Workspace::daorutianjia);
    connect(this, &MainWindow::send_tianjia2, ws, &Workspace::daorutianjia2);
    connect(ws, &Workspace::workspace_finish, this, &MainWindow::onWorkFinished);
    connect(ws, &Workspace::send_ui_biaozhi, this, &MainWindow::recive_ui_biaozhi);
    connect(ws, &Workspace::send_ui_biaozhi2, this, &MainWindow::recive_ui_biaozhi2);
    connect(ws, &Workspace::send_ui_biaozhi3, this, &MainWindow::recive_ui_biaozhi3);
    connect(ws, &Workspace::send_radio_name, this, &MainWindow::recive_radio_name);
    connect(ws, &Workspace::send_radio_name2, this, &MainWindow::recive_radio_name2);
    connect(ws, &Workspace::send_device_name, this, &MainWindow::recive_device_name);
    connect(ws, &Workspace::send_device_name_2, this, &MainWindow::recive_device_name_2);
    connect(ws, &Workspace::send_remove_index, this, &MainWindow::recive_remove_index);
    connect(ws, &Workspace::send_biaozhi_name, this, &MainWindow::recive_biaozhi_name);
    connect(this, &MainWindow::device_select_upload, ws, &Workspace::Device_select_Init);

    ComboBox_Init();
    value_Init();
    View_Init();
    buffer_Init();
    fre_tar_ComboBox_Init();
    qss_Setting();

    // Only the preamp row and band rows 1 and 2 show until a preset says more.
    for (const BandRowDescriptor& row : bandRowDescriptors())
        if (row.band >= 3)
            row.groupBox.of(*ui)->hide();

    config_update_ui();
    Connect_Init();

    // The device signals are wired above; only now may the search begin.
    startDeviceSearch();

    saveButton = findChild<QPushButton*>("PButton_Set_2");
    if (saveButton)
        saveButton->setFocus(Qt::OtherFocusReason);

    systemset->setWindowFlags(systemset->windowFlags() | Qt::Dialog);
    systemset->hide();

    CreateSystemTrayIcon();
    createFolderLaunchAgents();
    macAutomaticStartup(sysSetValue.Auto_run);

    connect(systemset, &SystemSetting::auto_run_changed, this, &MainWindow::AutomaticStartup);
    connect(systemset, &SystemSetting::update_Filtered_FR, this, &MainWindow::startThread);
    connect(systemset, &SystemSetting::update_Mute, this, &MainWindow::recive_Mute);

    Language_Change_UI();

    framelessHelper = new FramelessHelper(this);
    framelessHelper->activateOn(this);
    framelessHelper->setTitleHeight(60);
    framelessHelper->setWidgetMovable(true);
    framelessHelper->setWidgetResizable(true);
    framelessHelper->setMax(this, false);
    connect(framelessHelper, SIGNAL(sigMax(bool)), this, SLOT(MaxUI_Updata(bool)));

    setWindowTitle("Quorvel Vesk");
    setWindowIcon(QIcon(QStringLiteral(":ThirdPartyResources/images/QV.png")));
    install_Event_Filter();

    // Channel mode of local preset 0; -1 (nothing stored) leaves no item chosen.
    const int mode = getConfig(0);
    comboBox_PEQMode->setCurrentIndex(mode);
    if (mode == 0)
        checkBox_channel->hide();

    ++one_biaozhi;

    // Context: a window closed within the delay must not be reached.
    QTimer::singleShot(kStartupTaskDelayMs, this, &MainWindow::runDeferredStartupTask);

    QFont toolFont = ui->toolButton_3->font();
    toolFont.setPointSizeF(adjustFontSize() * 13.0);
    for (QWidget* w : std::initializer_list<QWidget*> {
             ui->toolButton, ui->toolButton_2, ui->toolButton_3, comboBox_PEQMode })
        w->setFont(toolFont);

    emit mute_biaozhi(Silent_Sign);
}

MainWindow::~MainWindow()
{
    delete ui;
    if (connect_thread && connect_thread->isRunning())
        connect_thread->stop();
}

void MainWindow::runDeferredStartupTask()
{
    const QString updateDir = appDataDir() + "/" + "UpdateProgram";
    if (QDir(updateDir).removeRecursively())
        qDebug() << "删除成功";
    else
        qDebug() << "删除失败";
    emit updata_version();
}

void MainWindow::value_Init()
{
    autosave_timer = new QTimer(this);
    stream_check_timer = new QTimer(this);
    connect(autosave_timer, &QTimer::timeout, this, &MainWindow::timeoutSlot);
    connect(stream_check_timer, &QTimer::timeout, this, &MainWindow::timeoutSlot2);
    autosave_timer->start(kAutosaveIntervalMs);

    createDeviceThreads(); // registers the frame meta type before the queued connection
    connect(recv_thread, SIGNAL(qv_hid_new_recv_update(qv_hid_new::CustomHidFrameInfo)), this,
        SLOT(deal_qv_hid_new_recv_update(qv_hid_new::CustomHidFrameInfo)));
    connect(connect_thread, &ConnectThread::deviceAbsent, this, &MainWindow::deal_DeviceAbsent);
    connect(connect_thread, &ConnectThread::deviceDenied, this, &MainWindow::deal_DeviceDenied);

    chartView = new QChartView(this);
    chart = new QChart();
    axisX = new QLogValueAxis(this);
    axisY = new QValueAxis(this);

    fre_list = flatCurveRows();
    tar_list = flatCurveRows();

    status_bar_value.eq_count = 0;
    status_bar_value.eq_max = 10;
    if (const StatusTexts* t = statusTexts(sysSetValue.Language))
        setDisconnectedTexts(status_bar_value, *t);
    status_bar_value.hardware_version = "x.xx";
    status_bar_value.software_version = "x.xx";

    const bool rightChannel
        = comboBox_PEQMode->currentText() != "L+R" && checkBox_channel->isChecked();
    if (rightChannel)
        qDebug() << "xyxyxyxyxyxy";
    const EQ_config_data* preset = rightChannel ? CB_data_R[0] : CB_data[0];
    const double preampGain = preset && preset->eq[0] ? preset->eq[0]->gain : 0.0;

    ui->checkBox_EQ->setChecked(false);
    ui->gbox1_BL1->setRange(-24, 24);
    for (const BandRowDescriptor& row : bandRowDescriptors()) {
        row.freqDial.of(*ui)->setRange(-1, 100);
        row.gainDial.of(*ui)->setRange(-24, 24);
        row.qDial.of(*ui)->setRange(-1, 45);
    }
    ui->gbox1_BL1->setValue(preampGain);
    for (const BandRowDescriptor& row : bandRowDescriptors()) {
        row.freqDial.of(*ui)->setValue(-1);
        row.gainDial.of(*ui)->setValue(10);
        row.qDial.of(*ui)->setValue(12);
    }
    ui->checkBox_EQ->setChecked(true);
}

namespace {

using DialSlot = void (MainWindow::*)(int);

// Dial slots in band order: frequency, gain, Q of band 1, then band 2, ...
constexpr DialSlot kBandDialSlots[] = {
    &MainWindow::setgb2_l1_Value,
    &MainWindow::setgb2_l2_Value,
    &MainWindow::setgb2_l3_Value,
    &MainWindow::setgb3_l1_Value,
    &MainWindow::setgb3_l2_Value,
    &MainWindow::setgb3_l3_Value,
    &MainWindow::setgb4_l1_Value,
    &MainWindow::setgb4_l2_Value,
    &MainWindow::setgb4_l3_Value,
    &MainWindow::setgb5_l1_Value,
    &MainWindow::setgb5_l2_Value,
    &MainWindow::setgb5_l3_Value,
    &MainWindow::setgb6_l1_Value,
    &MainWindow::setgb6_l2_Value,
    &MainWindow::setgb6_l3_Value,
    &MainWindow::setgb7_l1_Value,
    &MainWindow::setgb7_l2_Value,
    &MainWindow::setgb7_l3_Value,
    &MainWindow::setgb8_l1_Value,
    &MainWindow::setgb8_l2_Value,
    &MainWindow::setgb8_l3_Value,
    &MainWindow::setgb9_l1_Value,
    &MainWindow::setgb9_l2_Value,
    &MainWindow::setgb9_l3_Value,
    &MainWindow::setgb10_l1_Value,
    &MainWindow::setgb10_l2_Value,
    &MainWindow::setgb10_l3_Value,
    &MainWindow::setgb11_l1_Value,
    &MainWindow::setgb11_l2_Value,
    &MainWindow::setgb11_l3_Value,
    &MainWindow::setgb12_l1_Value,
    &MainWindow::setgb12_l2_Value,
    &MainWindow::setgb12_l3_Value,
};

// SLOT() text of a slot name, as the string form of connect expects it.
QByteArray slotText(const QString& signature) { return "1" + signature.toLatin1(); }

} // namespace

void MainWindow::Connect_Init()
{
    connect(ui->gbox1_BL1, &BalanceBase::valueChanged, this, &MainWindow::setgb1_l1_Value);
    for (const BandRowDescriptor& row : bandRowDescriptors()) {
        const int first = (row.band - 1) * 3;
        connect(row.freqDial.of(*ui), &BalanceBase::valueChanged, this, kBandDialSlots[first]);
        connect(row.gainDial.of(*ui), &BalanceBase::valueChanged, this, kBandDialSlots[first + 1]);
        connect(row.qDial.of(*ui), &BalanceBase::valueChanged, this, kBandDialSlots[first + 2]);
    }

    connect(ui->gbox1_lineEdit, SIGNAL(editingFinished()), this, SLOT(setgb1_bl1_Value()));
    for (const BandRowDescriptor& row : bandRowDescriptors()) {
        const QLineEdit* texts[]
            = { row.freqText.of(*ui), row.gainText.of(*ui), row.qText.of(*ui) };
        for (int field = 1; field <= 3; ++field)
            connect(texts[field - 1], SIGNAL(editingFinished()), this,
                slotText(QString("setgb%1_bl%2_Value()").arg(row.band + 1).arg(field)).constData());
    }
    for (const BandRowDescriptor& row : bandRowDescriptors())
        connect(row.typeCombo.of(*ui), SIGNAL(currentIndexChanged(int)), this,
            slotText(QString("set_cb%1_type(int)").arg(row.band)).constData());

    connect(menu_Import, SIGNAL(triggered(QAction*)), this, SLOT(deal_On_triggered(QAction*)));
    connect(menu_Export, SIGNAL(triggered(QAction*)), this, SLOT(deal_On_triggered2(QAction*)));
    connect(menu_Help, SIGNAL(triggered(QAction*)), this, SLOT(deal_On_triggered_Help(QAction*)));

    Workspace* ws = ui->widget;
    connect(ws, &Workspace::radio_Change, this, &MainWindow::config_update_ui);
    connect(ws, &Workspace::radio_Change2, this, &MainWindow::config_update_ui2);
    connect(ws, &Workspace::device_radio_Change, this, &MainWindow::device_delete_config);

    connect(connect_thread, SIGNAL(Connected_Success()), this, SLOT(deal_HidDeviceConnected()));
    connect(recv_thread, SIGNAL(HidDeviceDisconnected()), this, SLOT(deal_HidDeviceDisconnected()));
}

void MainWindow::install_Event_Filter()
{
    QWidget* boxes[] = { ui->groupBox_4, ui->groupBox_12, ui->groupBox_14, ui->groupBox_13,
        ui->groupBox_15, ui->groupBox_16, ui->groupBox_17, ui->groupBox_18, ui->groupBox_19,
        ui->groupBox_20, ui->groupBox_21, ui->groupBox_22 };
    for (QWidget* box : boxes)
        box->installEventFilter(this);
    ui->comboBox->installEventFilter(this);
    ui->comboBox_2->installEventFilter(this);
    for (const BandRowDescriptor& row : bandRowDescriptors()) {
        row.typeCombo.of(*ui)->installEventFilter(this);
        row.freqLabelCombo.of(*ui)->installEventFilter(this);
    }
    installEventFilter(this);
}

void MainWindow::slotFollowPreClicked(bool value) { sysSetValue.FollowPre = value; }
