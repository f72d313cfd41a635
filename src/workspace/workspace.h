#pragma once

// The preset panel beside the band editor: the "Local Config" list of the
// local presets and the "User Config" list of the device's slots (with its
// factory presets on the models that have them). It never calls the main
// window: it changes the shared globals and emits signals the main window
// connects. GUI thread only.

#include <QList>
#include <QPointer>
#include <QString>
#include <QWidget>

#include "device/preset_records.h"

class QAbstractButton;
class QGridLayout;
class QHBoxLayout;
class QLabel;
class QVBoxLayout;
class CustomDialog;
class CustomLineEdit;
class CustomPushButton;
class CustomRadioButton;
class CustomRadioButtonDevice;
class CustomScrollArea;
struct EQ_config_data;
struct EQ_data;

// The panel's form; the widgets belong to the panel's widget tree.
struct WorkspaceUi
{
    QVBoxLayout* verticalLayout_4 = nullptr;
    CustomScrollArea* scrollArea = nullptr;
    QWidget* scrollAreaWidgetContents = nullptr;
    QGridLayout* gridLayout_3 = nullptr;
    QVBoxLayout* verticalLayout = nullptr; // "Local Config": header row, then the buttons
    QHBoxLayout* horizontalLayout = nullptr;
    QLabel* label = nullptr;
    CustomPushButton* PButton_Add = nullptr;
    QVBoxLayout* verticalLayout_2 = nullptr; // "User Config": header row, factory presets, slots
    QHBoxLayout* horizontalLayout_2 = nullptr;
    QLabel* label_2 = nullptr;
    CustomPushButton* PButton_Add_2 = nullptr;
    QWidget* widget = nullptr;

    void setupUi(QWidget* Workspace);
};

class Workspace : public QWidget
{
    Q_OBJECT

public:
    explicit Workspace(QWidget* parent = nullptr);
    ~Workspace() override;

    WorkspaceUi* ui = nullptr;
    CustomDialog* dialog = nullptr; // the slot chooser, reused for the panel's life

    // The local button and the device button made last.
    QPointer<CustomRadioButton> current_radioButton;
    QPointer<CustomRadioButtonDevice> current_radioButton_Device;

    // ---- Lists ----
    void Radio_Init();
    // The button of local preset `index` named `name`; index 0 is checked.
    void Radio_Config_Add(int index, QString name);
    // Slot records and button of radio index `index` (100 + slot) from the edited sets.
    void Device_Radio_Config_Add(int index, QString name);
    // Slot records and button of a new slot from local preset `index`, then its record.
    void Radio_Config_Input(int index, QString name);

    // ---- Device records: built from the slot records into the layout's buffer ----
    // The record of the slot being created (slot device_config_count).
    void EQ_config_Send_Value_Init(QString name);
    // The record of existing slot `index` - 100 (an index below 100 is the slot).
    std::vector<int32_t> EQ_Device_Config_Save(int index);
    // Only the name field, store limit.
    void EQ_config_Rename_Value_Init(QString name);
    // The buffer of the current layout as store frames.
    void EQ_config_Send();

    // Name edits open in the lists (null when none).
    CustomLineEdit* localNameEdit() const;
    CustomLineEdit* deviceNameEdit() const;

signals:
    void radio_Change();
    void radio_Change2();
    void device_radio_Change(int index);
    void send_ui_biaozhi(int index, QString str);
    void send_radio_name(int index, QString str);
    void send_device_name(QString str);
    void send_remove_index(int index);
    void send_ui_biaozhi2(int index);
    void send_ui_biaozhi3(int index);
    void send_biaozhi_name(QString str);
    void send_radio_name2();
    void qiehuan_radio_Change(int index);
    void qiehuan_radio_Change2(int index);
    void send_device_name_2(QString str);
    void workspace_mute(int xxx);
    void workspace_finish();

public slots:
    void Device_Radio_Init();
    void moren_Device_Radio_Config();
    void Device_select_Init(int slot);
    void shifouzhichi2(QString tag);
    void Device_Radio_Clear();
    void Device_Config_Save(int index);
    void daorutianjia();
    void daorutianjia2();
    void Language_Change_WorkSpaceUi();
    void Receive_Toggle_Update(bool checked);
    void Receive_Toggle_Update2(bool checked);
    void EQ_config_Device_Update(int index);
    void qiehuan_EQ_config_Device_Update(int index);
    void Radio_Config_Change(int index);
    void Device_Radio_Config_Input(int index);
    void Device_Index_Change(int slot);
    void Device_Radio_Rename(int slot, QString name);
    void on_PButton_Add_clicked();
    void on_PButton_Add_2_clicked();

private slots:
    void onLocalPresetToggled(bool checked);
    void finishLocalPresetNameEdit();
    void finishImportPresetNameEdit();
    void finishStoreToDeviceNameEdit();
    void finishDevicePresetNameEdit();
    void finishImportDevicePresetNameEdit();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Which handler a device slot button runs when it is selected.
    enum class SlotToggle {
        Listed, // built from the device's list, plain style
        Added, // made by the add and import roads, plain style
        Stored, // made by the store road, plain style
        StoredFlagged, // made by the store road, numbered style
        Factory, // the factory presets
    };
    void onDevicePresetToggled(
        bool checked, SlotToggle variant, QAbstractButton* button, const QString& madeWith);
    void connectSlotButton(
        CustomRadioButtonDevice* button, SlotToggle variant, const QString& name);
    void numberedToggle(bool checked);

    // Selection bookkeeping. A device selection belongs to the connection it
    // was made in; one left from an earlier connection is never saved.
    void moveSelection(int index);
    void saveLeaving(int index);
    void pointSetsAt(EQ_config_data* left, EQ_config_data* right);
    void emitDeferred(void (Workspace::*signal)());

    // The lists.
    CustomRadioButtonDevice* makeSlotButton(int slot, const QString& name);
    CustomRadioButtonDevice* deviceButton(int slot) const;
    bool isListedUserSlot(int slot) const;
    void removeDeviceButtons(bool factory);
    bool factoryListed() const;

    // Name edits and the roads that open them.
    CustomLineEdit* makeNameEdit(const QString& text, const char* sheet);
    void openLocalNameEdit(const QString& prefix, void (Workspace::*finish)());
    void closeNameEdit(QPointer<CustomLineEdit>& edit);
    void finishLocalEdit(bool import);
    bool deviceRoadMayStart(int localIndex, bool enableAddAfterChooser);
    bool deviceRoadStillOpen();
    void overwriteSlot(int localIndex);
    void openDeviceNameEdit(const char* sheet, void (Workspace::*finish)());
    void finishDeviceEdit(bool import);
    QString distinctDeviceName(const QString& name) const;

    void remind(const char* english, const char* chinese);
    std::vector<int32_t> bufferWords() const;

    QPointer<CustomLineEdit> m_localEdit;
    QPointer<CustomLineEdit> m_deviceEdit;
    int m_storeLocalIndex = -1; // local preset of the open store edit
    QList<QPointer<QAbstractButton>> m_factoryButtons;
    int m_connection = 0; // counts device losses
    int m_selectedConnection = 0;
    int m_preselectedConnection = 0;
};
