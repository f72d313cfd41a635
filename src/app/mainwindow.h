#pragma once

// The main window. One class, because its slots are bound by object name and
// called from many places, but its member functions live in the folder of the
// subsystem they belong to; this header groups them the same way.

#include <QList>
#include <QMainWindow>
#include <QPoint>
#include <QString>
#include <QSystemTrayIcon>

#include <complex>
#include <vector>

#include "device/frame.h"

class QAction;
class QCheckBox;
class QCloseEvent;
class QKeyEvent;
class QLabel;
class QListWidget;
class QMenu;
class QMouseEvent;
class QPushButton;
class QTimer;
struct EQ_data;
struct ChannelModeState;
class QChart;
enum class CurveSwitch;
class QChartView;
class QLogValueAxis;
class QValueAxis;

class CustomComboBox;
class FramelessHelper;
class MainWindowDeviceHost;
class MainWindowUi;
struct StatusTexts;

// The program's main window flags (0xE001). main() gives them at
// construction: set on the finished window they would re-parent it and
// restyle the whole form.
inline constexpr Qt::WindowFlags kMainWindowFlags = Qt::Window | Qt::WindowSystemMenuHint
    | Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint;

class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget* parent = nullptr, Qt::WindowFlags flags = {});
    ~MainWindow() override;

    // ---- Application shell: construction, menus, status bar (src/app) ----
signals:
    void updata_version(); // deferred start-up task: start the update check
    void mute_biaozhi(int state); // auto-mute state for the settings window
    // Band controls usable (true) or locked by the stream format (false).
    void Is_Language(bool enabled);

public slots:
    void slotFollowPreClicked(bool value);
    void deal_On_triggered_Help(QAction* action);
    void on_PButton_Set_clicked();

private:
    void value_Init();
    void Connect_Init();
    void install_Event_Filter();
    void qss_Setting();
    void runDeferredStartupTask();

    MainWindowUi* ui = nullptr;
    CustomComboBox* comboBox_PEQMode = nullptr; // channel mode "L+R" / "L/R"
    QCheckBox* checkBox_channel = nullptr; // edits the left or the right set
    FramelessHelper* framelessHelper = nullptr;
    QPushButton* saveButton = nullptr; // the form's "PButton_Set_2", null when absent
    QPoint dragPosition;
    QMenu* menu_Import = nullptr;
    QMenu* menu_Export = nullptr;
    QMenu* menu_Help = nullptr;

    // ---- Window chrome, tray, login item, language switch (src/app) ----
public slots:
    void on_PButton_Set_4_clicked();
    void on_PButton_Set_5_clicked();
    void on_PButton_Set_6_clicked();
    void MaxUI_Updata(bool max);
    void onTrayIconActivated(QSystemTrayIcon::ActivationReason reason);
    void AutomaticStartup(bool on);
    void Language_Change_UI();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // A maximise or restore by the window manager swaps the button image too.
    void changeEvent(QEvent* event) override;

private:
    void CreateSystemTrayIcon();
    bool createFolderLaunchAgents();
    void macAutomaticStartup(bool on);
    bool createPlistFilePath(QString programPath);
    bool deleteplistFilePath();
    // Wrappers of the two above; nothing calls them.
    bool enableAutoStart(QString programPath);
    bool disableAutoStart();
    // Steps of the language switch while a device is connected.
    void applyDeviceEqStatus(const StatusTexts& texts);
    void applyChannelModeControls();

    QAction* action_Show = nullptr;
    QAction* action_Exit = nullptr;

    // ---- Device link: handshakes, frame routing, dispatcher (src/device) ----
public:
    // Re-enables every preamp and band control once the stream allows EQ.
    void releaseBandControls();

private:
    // The widget-free part of the link, made on first use (a child object).
    class DeviceSession& deviceSession();
    // The window's side of the session's requests (src/device).
    friend class MainWindowDeviceHost;
    MainWindowDeviceHost* m_deviceHost = nullptr;
    bool m_deniedBoxShown = false; // the denied-device box is shown once per run
    bool local_config_inactive = false; // the model ignores local presets

signals:
    void device_config_upload();
    void moren_device_config_upload();
    void device_config_clear();
    void close_device_save_config(int index);
    void device_select_upload(int index);
    void shifouzhichi(QString str);

public slots:
    void deal_HidDeviceConnected();
    void deal_HidDeviceDisconnected();
    void deal_qv_hid_new_recv_update(qv_hid_new::CustomHidFrameInfo chfi);
    void onAboutToQuit();
    void do_cmd_S(qv_hid_new::CustomHidFrameInfo chfi);

private slots:
    // The connect thread found no device: reset the connection state and text.
    void deal_DeviceAbsent();
    // The connect thread found the device but may not open its node.
    void deal_DeviceDenied(const QString& node);

    // ---- Band editor: the per-row slots (src/editor) ----
public:
    bool Is_Show_EQ_ui(int n) const;
    bool is_Show_checkbox(int n) const;
    void update_EQ_NUM();
    // Reveal row n (1 to 11) for the reload road and count it.
    void Add_Show_EQ_ui(int n);
    // The set being edited and plotted: EQ_R in mode "L/R" with the right
    // channel chosen, else EQ.
    EQ_data* const* editedSet() const;

public slots:
    void setgb1_l1_Value(int value);
    void setgb2_l1_Value(int value);
    void setgb2_l2_Value(int value);
    void setgb2_l3_Value(int value);
    void setgb3_l1_Value(int value);
    void setgb3_l2_Value(int value);
    void setgb3_l3_Value(int value);
    void setgb4_l1_Value(int value);
    void setgb4_l2_Value(int value);
    void setgb4_l3_Value(int value);
    void setgb5_l1_Value(int value);
    void setgb5_l2_Value(int value);
    void setgb5_l3_Value(int value);
    void setgb6_l1_Value(int value);
    void setgb6_l2_Value(int value);
    void setgb6_l3_Value(int value);
    void setgb7_l1_Value(int value);
    void setgb7_l2_Value(int value);
    void setgb7_l3_Value(int value);
    void setgb8_l1_Value(int value);
    void setgb8_l2_Value(int value);
    void setgb8_l3_Value(int value);
    void setgb9_l1_Value(int value);
    void setgb9_l2_Value(int value);
    void setgb9_l3_Value(int value);
    void setgb10_l1_Value(int value);
    void setgb10_l2_Value(int value);
    void setgb10_l3_Value(int value);
    void setgb11_l1_Value(int value);
    void setgb11_l2_Value(int value);
    void setgb11_l3_Value(int value);
    void setgb12_l1_Value(int value);
    void setgb12_l2_Value(int value);
    void setgb12_l3_Value(int value);

    void setgb1_bl1_Value();
    void setgb2_bl1_Value();
    void setgb2_bl2_Value();
    void setgb2_bl3_Value();
    void setgb3_bl1_Value();
    void setgb3_bl2_Value();
    void setgb3_bl3_Value();
    void setgb4_bl1_Value();
    void setgb4_bl2_Value();
    void setgb4_bl3_Value();
    void setgb5_bl1_Value();
    void setgb5_bl2_Value();
    void setgb5_bl3_Value();
    void setgb6_bl1_Value();
    void setgb6_bl2_Value();
    void setgb6_bl3_Value();
    void setgb7_bl1_Value();
    void setgb7_bl2_Value();
    void setgb7_bl3_Value();
    void setgb8_bl1_Value();
    void setgb8_bl2_Value();
    void setgb8_bl3_Value();
    void setgb9_bl1_Value();
    void setgb9_bl2_Value();
    void setgb9_bl3_Value();
    void setgb10_bl1_Value();
    void setgb10_bl2_Value();
    void setgb10_bl3_Value();
    void setgb11_bl1_Value();
    void setgb11_bl2_Value();
    void setgb11_bl3_Value();
    void setgb12_bl1_Value();
    void setgb12_bl2_Value();
    void setgb12_bl3_Value();

    void set_cb1_type(int index);
    void set_cb2_type(int index);
    void set_cb3_type(int index);
    void set_cb4_type(int index);
    void set_cb5_type(int index);
    void set_cb6_type(int index);
    void set_cb7_type(int index);
    void set_cb8_type(int index);
    void set_cb9_type(int index);
    void set_cb10_type(int index);
    void set_cb11_type(int index);

    void on_checkBox_clicked(bool checked);
    void on_checkBox_stateChanged(int);
    void on_checkBox_8_clicked(bool checked);
    void on_checkBox_10_clicked(bool checked);
    void on_checkBox_9_clicked(bool checked);
    void on_checkBox_11_clicked(bool checked);
    void on_checkBox_12_clicked(bool checked);
    void on_checkBox_13_clicked(bool checked);
    void on_checkBox_14_clicked(bool checked);
    void on_checkBox_15_clicked(bool checked);
    void on_checkBox_16_clicked(bool checked);
    void on_checkBox_17_clicked(bool checked);
    void on_checkBox_18_clicked(bool checked);

    void on_PButton_AddEQ_clicked();
    void on_PButton_RemoveEQ_1_clicked();
    void on_PButton_RemoveEQ_2_clicked();
    void on_PButton_RemoveEQ_3_clicked();
    void on_PButton_RemoveEQ_4_clicked();
    void on_PButton_RemoveEQ_5_clicked();
    void on_PButton_RemoveEQ_6_clicked();
    void on_PButton_RemoveEQ_7_clicked();
    void on_PButton_RemoveEQ_8_clicked();
    void on_PButton_RemoveEQ_9_clicked();
    void on_PButton_RemoveEQ_10_clicked();
    void on_PButton_RemoveEQ_11_clicked();

    void checkclicked();
    void on_toolButton_2_clicked();
    void on_toolButton_2_clicked(bool);

private:
    // Reveal row n (1 to 11) for the add road and count it.
    void button_Add_Show_EQ_ui(int n);
    // Deletes band cur_remove_EQ_ui from the edited set and refreshes the rows.
    void Remove_EQ_updata();
    // Never bound: the form has no object of these names.
    void on_checkBox_2_clicked(bool);
    void on_PButton_Set_3_clicked();
    // The row-indexed routines behind the slot families above. `band` is 0
    // for the preamp and 1 to 11 for the bands; `dial` 1 frequency, 2 gain,
    // 3 Q (the preamp has only 1, its gain).
    void bandDialChanged(int band, int dial, int value);
    void bandTextEdited(int band, int field);
    void bandTypeChanged(int band, int index);
    void bandEnableClicked(int band, bool checked);
    void removeBandRow(int band);
    // Greys or frees the gain controls of a band row for a type-box index (0 to 4).
    void fitBandRowToType(int band, int index);
    // Shows eq_count in the status bar.
    void showEqCount();

    int each_EQ_num = 0; // band (1 to 11) edited last

    // ---- Editor state: refreshes, preset selection, channel mode, timers (src/editor) ----
public:
    void update_ui();
    void config_update_ui();
    void qingkong_update_ui();
    // The row menu's two actions: clear record k (0 preamp, 1 to 11 bands) or
    // every record of the edited set; both upload the set deferred.
    void Refresh_selected_data(int k);
    void Refresh_all_data();
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Locks every preamp and band control while the stream forbids the equaliser.
    void lockBandControls();
    void setBandControlsUsable(bool usable);

public slots:
    void config_update_ui2();
    void update_ui_filter();
    void update_ui_filter2();
    void qingkong_ui_filter();
    void device_delete_config(int slot);
    void onComboxSelect(int index);
    void recive_ui_biaozhi(int slot, QString name);
    void recive_ui_biaozhi2(int slot);
    void recive_ui_biaozhi3(int index);
    void recive_radio_name(int index, QString name);
    void recive_radio_name2();
    void recive_device_name(QString name);
    void recive_device_name_2(QString s);
    void recive_remove_index(int slot);
    void recive_biaozhi_name(QString s);
    void timeoutSlot();
    void timeoutSlot2();
    void resetTimer();
    void recive_Mute(bool on);

private:
    // The one fill behind update_ui, update_ui_filter, update_ui_filter2 and
    // qingkong_ui_filter: the edited set into every band control, with
    // hid_status held at 0 meanwhile. update_ui adds its plot and count steps.
    void fillBandControls(bool withPlotAndCount);
    // The one reload behind config_update_ui and config_update_ui2: rows,
    // captions and curves at once, then `fill` deferred.
    void reloadEditor(void (MainWindow::*fill)());
    // Runs `call` once on the GUI thread after the current handler returned.
    void deferToEventLoop(void (MainWindow::*call)());
    // The own curves of the bands that are on; the others cleared.
    void redrawBandCurves(EQ_data* const* set);
    // The whole-set upload that follows a fill, when connected.
    void uploadEditedSet(bool clearedSet);
    // The channel-mode switch's globals, for its decisions.
    ChannelModeState channelModeState() const;
    void copyLeftToRight();
    void sendModeMask(uint32_t mask);
    void finishModeChange(int index);
    // The discard box; QMessageBox::Yes for OK, QMessageBox::No otherwise.
    int askDiscardRight();
    // Closing step of a preset selection.
    void settleSelectedMode();
    // The factory-preset lock of the editable surface, remove and add buttons included.
    void setFactoryPresetLock(bool locked);
    void showRowMenu(int record, const QPoint& globalPos);

    QTimer* autosave_timer = nullptr; // saves the preset 20 s after the last activity
    int autosave_done = 0; // 0: activity since the last auto-save
    QTimer* stream_check_timer = nullptr; // re-locks the band controls while the stream forbids EQ

    // ---- Preset workspace (src/workspace) ----
public slots:
    void on_PButton_Set_2_clicked();

    // ---- Import and export, curve pickers (src/io) ----
signals:
    void send_tianjia(); // name a new local preset for imported filters
    void send_tianjia2(); // the same for a device preset

public:
    void openDialog_fre();
    void openDialog_tar();

public slots:
    void deal_On_triggered(QAction* action);
    void deal_On_triggered2(QAction* action);
    void onWorkFinished();
    void fre_sltShowAccountInfo(int index, QString const& name);
    void tar_sltShowAccountInfo(int index, QString const& name);
    void sltRemoveAccount(int index);
    void receiveDialogInput_fre(QString const& name);
    void receiveDialogInput_tar(QString const& name);

private:
    void ComboBox_Init();
    void fre_tar_ComboBox_Init();
    void fre_accountitem_add(int index, QString name);
    void tar_accountitem_add(int index, QString name);
    void tar_fre_sltRemoveAllAccounts();
    // The four file dialogs; each returns the chosen path, empty for Cancel.
    QString get_csv_file();
    QString get_txt_file();
    QString save_csv_file();
    QString save_txt_file();
    // The roads of the two menus.
    void importCurve(const QString& type);
    void importFilters();
    void addCurve(const QString& type, const QList<QList<double>>& rows);
    void showIoBox(int icon, const QString& title, const QString& text);
    // What differs between the source and the target picker.
    struct CurvePicker;
    CurvePicker sourcePicker();
    CurvePicker targetPicker();

    // Popups of the source picker `comboBox` and the target picker `comboBox_2`.
    QListWidget* sourceCurveList = nullptr;
    QListWidget* targetCurveList = nullptr;
    int sourceCurveRows = 0;
    int targetCurveRows = 0;
    QString currentSourceName; // curve last shown in each picker
    QString currentTargetName;
    QString pendingCurveName; // delivered by the curve-name dialogs

    // ---- Response plot: chart, series, curve switches (src/plot) ----
public:
    void update_value();
    void update_value_super();
    void update_value_each(int band);
    void clear_value_each();
    void draw_value_each();
    void CheckBox_Change_UI();
    void fre_csv_draw(QList<QList<double>> rows);
    void tar_csv_draw(QList<QList<double>> rows);

public slots:
    void startThread();
    void handleThreadStarted();
    void handleThreadStarted_sup();
    void handleThreadStarted_each();
    void on_checkBox_target_clicked(bool checked);
    void on_checkBox_frequency_clicked(bool checked);
    void on_checkBox_each_clicked(bool checked);
    void on_checkBox_EQ_clicked(bool checked);
    void on_checkBox_combined_clicked(bool checked);
    void on_checkBox_open_clicked(bool checked);

private:
    void View_Init();
    // The routine behind the six switches: flag, settings field, curves.
    void curveSwitchClicked(CurveSwitch id, bool checked);
    // What a switch moves: its box, its display flag and its settings field.
    struct CurveSwitchMembers;
    static const CurveSwitchMembers& switchMembers(CurveSwitch id);

    QChartView* chartView = nullptr;
    QChart* chart = nullptr;
    QLogValueAxis* axisX = nullptr;
    QValueAxis* axisY = nullptr;
    QLabel* label_PEQMode = nullptr; // "PEQ Mode:" beside the channel-mode box
    QList<QList<double>> fre_list; // source curve rows [Hz, dB]
    QList<QList<double>> tar_list; // target curve rows [Hz, dB]
    bool Combined_show = true;
    bool Source_show = false;
    bool Target_show = false;
    bool Filtered_show = false;
    bool Each_show = false;
    bool Compensated_show = false;
    std::vector<std::complex<double>> combined_fr;
    double filtered_offset = 0.0;

    // Tests and benchmarks set states up and check them here (tests/support).
    friend struct MainWindowInternals;
};

// Primary screen's logical dots per inch over 72: the factor by which widgets
// scale their point sizes.
double adjustFontSize();

// 0 while the main window is being built, 1 afterwards.
extern int one_biaozhi;

// Spins a local event loop until `ms` milliseconds have passed.
void delay(int ms);
