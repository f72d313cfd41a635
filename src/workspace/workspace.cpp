// The preset panel itself: its form, start-up, texts, the "User Config"
// list built from the device's announcements, the marking of the device's
// active slot, the numbered-style switch to a slot and the clearing when the
// device is lost.

#include "workspace/workspace.h"

#include <QDebug>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSpacerItem>
#include <QVBoxLayout>

#include "app/mainwindow.h"
#include "app/palette.h"
#include "device/commands.h"
#include "device/device_state.h"
#include "device/frame_road.h"
#include "dsp/band.h"
#include "editor/editor_state.h"
#include "settings/systemsetting.h"
#include "store/presets.h"
#include "store/settings.h"
#include "store/shared_state.h"
#include "widgets/customcontrols.h"
#include "widgets/message_box.h"
#include "widgets/modal_seam.h"
#include "workspace/customdialog.h"
#include "workspace/customradiobutton.h"
#include "workspace/customradiobuttondevice.h"
#include "workspace/preset_names.h"
#include "workspace/workspace_state.h"

namespace {

constexpr int kFirstFactorySlot = 5;

// The panel, its scroll area and their contents each carry the buttons' rule.
#define QV_PANEL_BUTTON_RULE                                                                       \
    "QPushButton { background-color: rgb(100, 100, 100); color: " QV_TEXT "; }"

const char* const kPanelSheet
    = QV_PANEL_BUTTON_RULE "\nQMessageBox { background-color: " QV_BLACK "; color: " QV_TEXT
                           ";border: 2px solid " QV_DARK_GREY
                           "; font-size: 14px; }\nQPushButton { color: " QV_TEXT_TIGHT "; }";
const char* const kScrollAreaSheet = "background-color: " QV_BLACK ";\n" QV_PANEL_BUTTON_RULE;
const char* const kContentsSheet = QV_PANEL_BUTTON_RULE;

#undef QV_PANEL_BUTTON_RULE
const char* const kHeaderSheet = "color: rgb(200, 200, 200);";
const char* const kRemindBoxSheet
    = "QMessageBox { background-color: " QV_BLACK "; border: 2px solid " QV_DARK_GREY "; } "
      "QLabel { color: " QV_TEXT "; background-color: " QV_BLACK "; font-size: 16px; }";
const char* const kRemindButtonSheet
    = "QPushButton { background-color: " QV_BUTTON_GREY "; color: " QV_BUTTON_TEXT_TIGHT
      "; border: none; border-radius: 3px; font-size: 14px; } "
      "QPushButton:hover { border: 2px solid gray; }";
const char* const kAddButtonSheet
    = "QPushButton\n{\n\tborder:none;\n\tbackground-color: " QV_BLACK ";\n\timage: "
      "url(:ThirdPartyResources/images/add1.png);\n}\nQPushButton:hover\n{\n\tborder: 2px solid "
      "gray;\n    border-radius: 5px;\n}";

CustomPushButton* makeAddButton(QWidget* parent, const char* name)
{
    auto* b = new CustomPushButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    b->setMinimumSize(18, 18);
    b->setMaximumSize(18, 18);
    b->setFlat(true);
    b->setStyleSheet(QString::fromLatin1(kAddButtonSheet));
    return b;
}

QLabel* makeHeader(QWidget* parent, const char* name, const QString& text)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    QFont f = l->font();
    f.setPointSize(12);
    l->setFont(f);
    l->setStyleSheet(QString::fromLatin1(kHeaderSheet));
    return l;
}

QHBoxLayout* makeHeaderRow(const char* name, QLabel* label, QPushButton* add, int top)
{
    auto* row = new QHBoxLayout;
    row->setObjectName(QLatin1String(name));
    row->setSpacing(2);
    row->setContentsMargins(9, top, 6, -1);
    row->addWidget(label);
    row->addItem(new QSpacerItem(40, 20, QSizePolicy::Expanding, QSizePolicy::Minimum));
    row->addItem(new QSpacerItem(40, 20, QSizePolicy::Expanding, QSizePolicy::Minimum));
    row->addWidget(add);
    return row;
}

bool isArrowKey(int key)
{
    return key == Qt::Key_Left || key == Qt::Key_Up || key == Qt::Key_Right || key == Qt::Key_Down;
}

} // namespace

void WorkspaceUi::setupUi(QWidget* Workspace)
{
    Workspace->setObjectName(QStringLiteral("Workspace"));
    Workspace->resize(172, 526);
    Workspace->setStyleSheet(QString::fromLatin1(kPanelSheet));
    Workspace->setWindowTitle(QStringLiteral("Form"));

    verticalLayout_4 = new QVBoxLayout(Workspace);
    verticalLayout_4->setObjectName(QStringLiteral("verticalLayout_4"));
    verticalLayout_4->setSpacing(0);
    verticalLayout_4->setContentsMargins(0, 0, 0, 0);
    scrollArea = new CustomScrollArea(Workspace);
    scrollArea->setObjectName(QStringLiteral("scrollArea"));
    scrollArea->setStyleSheet(QString::fromLatin1(kScrollAreaSheet));
    scrollArea->setWidgetResizable(true);
    scrollAreaWidgetContents = new QWidget();
    scrollAreaWidgetContents->setObjectName(QStringLiteral("scrollAreaWidgetContents"));
    scrollAreaWidgetContents->setGeometry(0, 0, 170, 524);
    scrollAreaWidgetContents->setStyleSheet(QString::fromLatin1(kContentsSheet));

    gridLayout_3 = new QGridLayout(scrollAreaWidgetContents);
    gridLayout_3->setObjectName(QStringLiteral("gridLayout_3"));
    gridLayout_3->setContentsMargins(0, 0, 0, -1);

    verticalLayout = new QVBoxLayout;
    verticalLayout->setObjectName(QStringLiteral("verticalLayout"));
    verticalLayout->setSpacing(10);
    label = makeHeader(scrollAreaWidgetContents, "label", QStringLiteral("本地配置"));
    PButton_Add = makeAddButton(scrollAreaWidgetContents, "PButton_Add");
    horizontalLayout = makeHeaderRow("horizontalLayout", label, PButton_Add, 8);
    verticalLayout->addLayout(horizontalLayout);
    gridLayout_3->addLayout(verticalLayout, 0, 0, 1, 1);

    verticalLayout_2 = new QVBoxLayout;
    verticalLayout_2->setObjectName(QStringLiteral("verticalLayout_2"));
    label_2 = makeHeader(scrollAreaWidgetContents, "label_2", QStringLiteral("用户配置"));
    PButton_Add_2 = makeAddButton(scrollAreaWidgetContents, "PButton_Add_2");
    horizontalLayout_2 = makeHeaderRow("horizontalLayout_2", label_2, PButton_Add_2, 0);
    verticalLayout_2->addLayout(horizontalLayout_2);
    gridLayout_3->addLayout(verticalLayout_2, 1, 0, 1, 1);

    gridLayout_3->addItem(
        new QSpacerItem(167, 288, QSizePolicy::Minimum, QSizePolicy::Expanding), 2, 0, 1, 1);
    widget = new QWidget(scrollAreaWidgetContents);
    widget->setObjectName(QStringLiteral("widget"));
    gridLayout_3->addWidget(widget, 4, 0, 1, 1);

    scrollArea->setWidget(scrollAreaWidgetContents);
    verticalLayout_4->addWidget(scrollArea);
}

Workspace::Workspace(QWidget* parent)
    : QWidget(parent)
    , ui(new WorkspaceUi)
{
    ui->setupUi(this);
    QMetaObject::connectSlotsByName(this);

    Radio_Init();
    EQ_value_update();
    Language_Change_WorkSpaceUi();

    dialog = new CustomDialog(this);
    dialog->setlanguage(sysSetValue.Language);

    if (systemset) {
        connect(systemset, &SystemSetting::language_changed, this,
            &Workspace::Language_Change_WorkSpaceUi);
        connect(this, &Workspace::workspace_mute, systemset, &SystemSetting::recive_mute);
    }
    connect(this, &Workspace::qiehuan_radio_Change, this, &Workspace::EQ_config_Device_Update);
    connect(
        this, &Workspace::qiehuan_radio_Change2, this, &Workspace::qiehuan_EQ_config_Device_Update);

    ui->scrollArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    for (QLabel* header : { ui->label, ui->label_2 }) {
        QFont f = header->font();
        f.setPointSizeF(adjustFontSize() * 18.0);
        header->setFont(f);
    }
    installEventFilter(this);
}

Workspace::~Workspace() { delete ui; }

void Workspace::Radio_Init()
{
    for (int s = 0; s < kDevicePresetSlots; ++s) {
        deviceSlot(s);
        deviceSlotR(s);
    }
    // Buttons follow the table positions, which are the files' positions.
    for (int i = 0; i < config_count && i < kLocalPresetCapacity; ++i)
        Radio_Config_Add(i, CB_data[i]->config_name);
}

void Workspace::Language_Change_WorkSpaceUi()
{
    const int language = sysSetValue.Language;
    if (language == 1) {
        ui->label->setText(QStringLiteral("Local Config"));
        ui->label_2->setText(QStringLiteral("User Config"));
        ui->PButton_Add_2->setToolTip(QStringLiteral("Input"));
    } else if (language == 0) {
        ui->label->setText(QStringLiteral("本地配置"));
        ui->label_2->setText(QStringLiteral("用户配置"));
        ui->PButton_Add_2->setToolTip(QStringLiteral("导入"));
    }
    if (dialog)
        dialog->setlanguage(language);
}

bool Workspace::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && isArrowKey(static_cast<QKeyEvent*>(event)->key()))
        return true;
    return QWidget::eventFilter(watched, event);
}

void Workspace::shifouzhichi2(QString tag) { test_str = tag; }

// ---- The "User Config" list ----

bool Workspace::factoryListed() const
{
    for (const QPointer<QAbstractButton>& b : m_factoryButtons)
        if (b)
            return true;
    return false;
}

CustomRadioButtonDevice* Workspace::makeSlotButton(int slot, const QString& name)
{
    auto* button = new CustomRadioButtonDevice(this);
    button->setStyleSheet(qss);
    button->setObjectName(radioObjectName(100 + slot));
    button->setSlotLabel(slot, name, execute_biaozhi);
    button->installEventFilter(this); // arrow keys switch no preset
    return button;
}

CustomRadioButtonDevice* Workspace::deviceButton(int slot) const
{
    const QString name = radioObjectName(100 + slot);
    for (int i = 0; i < ui->verticalLayout_2->count(); ++i) {
        auto* b = qobject_cast<CustomRadioButtonDevice*>(ui->verticalLayout_2->itemAt(i)->widget());
        if (b && b->objectName() == name)
            return b;
    }
    return nullptr;
}

bool Workspace::isListedUserSlot(int slot) const
{
    return slot >= 0 && slot < device_config_count && deviceButton(slot);
}

void Workspace::removeDeviceButtons(bool factory)
{
    for (int i = ui->verticalLayout_2->count() - 1; i > 0; --i) {
        auto* b = qobject_cast<PresetButton*>(ui->verticalLayout_2->itemAt(i)->widget());
        if (!b || m_factoryButtons.contains(b) != factory)
            continue;
        ui->verticalLayout_2->removeWidget(b);
        b->dispose();
    }
    if (factory)
        m_factoryButtons.clear();
}

// Menu signals of a user slot button, and its select handler: in the
// numbered style the listed and added slots switch through
// Receive_Toggle_Update(2); every other button runs its variant, with the
// name it was made with.
void Workspace::connectSlotButton(
    CustomRadioButtonDevice* button, SlotToggle variant, const QString& name)
{
    connect(button, &CustomRadioButtonDevice::radio_remove, this, &Workspace::Device_Index_Change);
    connect(button, &CustomRadioButtonDevice::device_radio_rename, this,
        &Workspace::Device_Radio_Rename);
    connect(button, &CustomRadioButtonDevice::Save_Index, this, &Workspace::Device_Config_Save);
    if (execute_biaozhi && (variant == SlotToggle::Listed || variant == SlotToggle::Added)) {
        connect(button, &QAbstractButton::toggled, this,
            variant == SlotToggle::Listed ? &Workspace::Receive_Toggle_Update
                                          : &Workspace::Receive_Toggle_Update2);
        return;
    }
    QPointer<CustomRadioButtonDevice> guarded(button);
    connect(button, &QAbstractButton::toggled, this, [this, variant, guarded, name](bool checked) {
        onDevicePresetToggled(checked, variant, guarded, name);
    });
}

void Workspace::Device_Radio_Init()
{
    const bool oneSet = test_str == QLatin1String("QAZWS");
    const bool leftRight = test_str == QLatin1String("ABCD");
    if (!oneSet && !leftRight) {
        qDebug() << "no record layout reported yet: the device list stays empty";
        return;
    }
    // A second announcement in one connection rebuilds the list.
    removeDeviceButtons(false);
    device_config_count = 0;
    device_config_count_R = 0;
    // One-set devices and plain-style devices (whose factory presets fill
    // slots 5-9) hold five user slots; the others ten.
    const int held = oneSet || !execute_biaozhi ? kFirstFactorySlot : kDevicePresetSlots;
    if (device_config_num > held)
        qDebug() << "device announced more user slots than it holds, listed:" << held;
    const int listed = std::clamp(int(device_config_num), 0, held);
    QStringList names;
    for (int s = 0; s < listed; ++s) {
        EQ_config_data& left = deviceSlot(s);
        if (names.contains(left.config_name)) {
            left.config_name += QLatin1String("(1)");
            if (leftRight)
                deviceSlotR(s).config_name = left.config_name;
        }
        CustomRadioButtonDevice* button = makeSlotButton(s, left.config_name);
        ui->verticalLayout_2->addWidget(button);
        connectSlotButton(button, SlotToggle::Listed, QString());
        device_config_count += 1;
        if (leftRight)
            device_config_count_R += 1;
        names << left.config_name;
        if (s == MCU_Switch_Config_Index)
            button->setChecked(true);
    }
}

void Workspace::moren_Device_Radio_Config()
{
    removeDeviceButtons(true);
    for (int k = kFirstFactorySlot; k < kDevicePresetSlots; ++k) {
        auto* button = new CustomRadioButtonDevice(this);
        button->setContextMenuPolicy(Qt::NoContextMenu);
        button->setText(doubledAmpersands(deviceSlot(k).config_name));
        button->setStyleSheet(qss);
        button->setObjectName(radioObjectName(100 + k));
        button->installEventFilter(this);
        // Right under the header, above the user slots, whichever list came first.
        ui->verticalLayout_2->insertWidget(std::min(k - 4, ui->verticalLayout_2->count()), button);
        m_factoryButtons << button;
        QPointer<CustomRadioButtonDevice> guarded(button);
        connect(button, &QAbstractButton::toggled, this, [this, guarded](bool checked) {
            onDevicePresetToggled(checked, SlotToggle::Factory, guarded, QString());
        });
        if (k == MCU_Switch_Config_Index)
            button->setChecked(true);
    }
}

void Workspace::Device_select_Init(int slot)
{
    // The device's "none" (-1) and anything outside the slots select nothing.
    if (!isDeviceSlot(slot))
        return;
    const QString name = radioObjectName(100 + slot);
    for (QRadioButton* b : findChildren<QRadioButton*>()) {
        if (b->objectName() == name) {
            b->toggle();
            return;
        }
    }
}

void Workspace::Device_Radio_Clear()
{
    removeDeviceButtons(false);
    removeDeviceButtons(true);
    closeNameEdit(m_deviceEdit);
    ui->PButton_Add_2->setEnabled(true);
    if (test_str == QLatin1String("QAZWS")) {
        device_config_count = 0;
    } else if (test_str == QLatin1String("ABCD")) {
        device_config_count = 0;
        device_config_count_R = 0;
    }
    test_str.clear();
    current_name = QStringLiteral("thesame");
    old_name = QStringLiteral("different");
    for (int s = 0; s < kDevicePresetSlots; ++s) {
        deviceSlot(s).config_name.clear();
        deviceSlotR(s).config_name.clear();
    }
    execute_biaozhi = false;
    Silent_Sign = -1;
    Vantor3_flag = true;
    send_ui_biao = 0;
    tem_ui_biao = 0;
    Device_EQ_sign = false;
    morendevice_name.clear();
    ++m_connection; // every device selection so far belongs to the lost device
    emit workspace_mute(Silent_Sign);
}

// ---- Switching the device to a slot ----

void Workspace::Receive_Toggle_Update(bool checked) { numberedToggle(checked); }

void Workspace::Receive_Toggle_Update2(bool checked) { numberedToggle(checked); }

// The numbered-style buttons. Those of the device's own list save the preset
// being left too, as every other selection does, so no edit of it is lost.
void Workspace::numberedToggle(bool checked)
{
    auto* button = qobject_cast<CustomRadioButtonDevice*>(sender());
    if (!checked || !button)
        return;
    const int index = radioIndexOf(button->objectName());
    if (!isDeviceSlot(index - 100))
        return;
    const int previous = selectedRadioIndex;
    moveSelection(index);
    if (auto_save_status && previous != index)
        saveEditedPreset(
            previous, [this](int radioIndex) { emit qiehuan_radio_Change(radioIndex); });
    emit qiehuan_radio_Change2(index);
}

void Workspace::EQ_config_Device_Update(int index) { Device_Config_Save(index); }

void Workspace::qiehuan_EQ_config_Device_Update(int index)
{
    const int slot = index - 100;
    if (!isDeviceSlot(slot))
        return;
    pointSetsAt(&deviceSlot(slot), &deviceSlotR(slot));
    frameRoad().send(command::Sa_switch_MCU_config, slot);
    if (test_str == QLatin1String("QAZWS")) {
        emit send_device_name_2(QStringLiteral("yyyy"));
    } else if (test_str == QLatin1String("ABCD")) {
        const QString name = deviceSlot(slot).config_name;
        emit send_device_name(name);
        emit send_ui_biaozhi(slot, name);
    }
    emitDeferred(&Workspace::radio_Change2);
}

// ---- Selection bookkeeping shared by every road ----

void Workspace::moveSelection(int index)
{
    preselectedRadioIndex = selectedRadioIndex;
    m_preselectedConnection = m_selectedConnection;
    selectedRadioIndex = index;
    m_selectedConnection = m_connection;
}

// Auto-save of the preset being left.
void Workspace::saveLeaving(int index)
{
    if (auto_save_status)
        saveEditedPreset(index, [this](int radioIndex) { Device_Config_Save(radioIndex); });
}

void Workspace::pointSetsAt(EQ_config_data* left, EQ_config_data* right)
{
    for (int k = 0; k < 12; ++k) {
        EQ[k] = left->eq[k];
        EQ_R[k] = right->eq[k];
    }
}

// Emitted once from the event loop, after the current handler and
// everything it calls have returned.
void Workspace::emitDeferred(void (Workspace::*signal)())
{
    QMetaObject::invokeMethod(
        this, [this, signal] { (this->*signal)(); }, Qt::QueuedConnection);
}

void Workspace::remind(const char* english, const char* chinese)
{
    const bool zh = sysSetValue.Language == 0;
    QMessageBox box(this);
    const modal::BoxButton ok(QStringLiteral("OK"), QMessageBox::ActionRole, QSize(80, 25),
        QString::fromLatin1(kRemindButtonSheet));
    modal::buildMessageBox(box, QMessageBox::Warning,
        zh ? QStringLiteral("提醒") : QStringLiteral("Remind"),
        QString::fromUtf8(zh ? chinese : english), { ok }, QString::fromLatin1(kRemindBoxSheet));
    modal::exec(box);
}
