// The "User Config" list on a real main window with the simulated device
// models: the lists each model announces, every select variant, the add,
// import and store roads below and at the slot limit, the overwrite road,
// rename and delete, the refusals and a device lost in the middle of a road,
// checked through the frames written, the signals and the buttons.
#include <QtTest>

#include "deadlines.h"

#include <QCheckBox>
#include <QLabel>

#include "settings/systemsetting.h"
#include "warning_log.h"
#include "widgets/customcontrols.h"
#include "widgets/resources.h"
#include "workspace/customdialog.h"
#include "workspace/customradiobutton.h"
#include "workspace/customradiobuttondevice.h"
#include "workspace_fixture.h"

using namespace wsfix;

namespace {

QString nameOfWords(const std::vector<int32_t>& w)
{
    QByteArray bytes;
    for (int i = 0; i < 16 && i / 4 < int(w.size()); ++i) {
        const char c = char(uint32_t(w[size_t(i / 4)]) >> (8 * (i % 4)));
        if (c == 0)
            break;
        bytes.append(c);
    }
    return QString::fromUtf8(bytes);
}

QStringList tips(const QList<QRadioButton*>& buttons)
{
    QStringList out;
    for (QRadioButton* b : buttons)
        out << b->toolTip();
    return out;
}

} // namespace

class TestWorkspaceDevice : public QObject
{
    Q_OBJECT

    Window win;

    // The checked device button's menu takes the next answers.
    void deviceMenu(int radioIndex) { win.rightClick(win.button(radioIndex)); }

private slots:
    void initTestCase() { startWindowTests(); }
    void init()
    {
        auto_save_status = true;
        testsupport::warningLog().clear();
    }
    void cleanup()
    {
        win.unplug();
        win.w.reset();
    }
    void cleanupTestCase() { stopDeviceThreads(); }

    void lists_data();
    void lists();
    void factoryFirst();
    void hostileDeviceData();
    void activeSlotReport();
    void deviceLost();

    void selectSlot_data();
    void selectSlot();
    void twoQuickSelects();
    void staleSelectionIsNotSaved();

    void addSlot_data();
    void addSlot();
    void importAddSlot();
    void storeLocalPreset_data();
    void storeLocalPreset();
    void refusals_data();
    void refusals();
    void overwrite();
    void renameSlot();
    void deleteSlot_data();
    void deleteSlot();
    void deleteRefusals();
    void oneNameEditAtATime();
    void unplugDuringRoads();
};

void TestWorkspaceDevice::lists_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("tooltips");
    QTest::addColumn<int>("counts"); // left * 10 + right
    QTest::addColumn<QString>("tag");
    const QStringList factory { "Bass 1", "Bass 2", "Airy", "Warm", "Dynamic" };
    const QStringList factoryNames { "RadioButton_105", "RadioButton_106", "RadioButton_107",
        "RadioButton_108", "RadioButton_109" };
    QTest::newRow("one set, numbered") << "A" << QStringList { "EQ1:Rock", "EQ2:Pop" }
                                       << QStringList { "RadioButton_100", "RadioButton_101" }
                                       << QStringList { "Rock", "Pop" } << 20 << "QAZWS";
    QTest::newRow("left/right, plain, factory")
        << "B" << factory + QStringList { "Live", "Vocal" }
        << factoryNames + QStringList { "RadioButton_100", "RadioButton_101" }
        << QStringList(7, QString()) << 22 << "ABCD";
    QTest::newRow("one set, plain, factory (listed twice)")
        << "five" << factory + QStringList { "Rock", "Pop", "Jazz", "Club", "Talk" }
        << factoryNames
            + QStringList { "RadioButton_100", "RadioButton_101", "RadioButton_102",
                  "RadioButton_103", "RadioButton_104" }
        << QStringList(10, QString()) << 50 << "QAZWS";
    QTest::newRow("three slots, numbered")
        << "mirel1" << QStringList { "EQ1:Flat", "EQ2:Bright", "EQ3:Deep" }
        << QStringList { "RadioButton_100", "RadioButton_101", "RadioButton_102" }
        << QStringList { "Flat", "Bright", "Deep" } << 33 << "ABCD";
    QTest::newRow("ten slots, numbered")
        << "ten" << QStringList { "EQ1:Slot1", "EQ2:Slot2", "EQ3:Slot3" }
        << QStringList { "RadioButton_100", "RadioButton_101", "RadioButton_102" }
        << QStringList { "Slot1", "Slot2", "Slot3" } << 33 << "ABCD";
}

void TestWorkspaceDevice::lists()
{
    QFETCH(QString, model);
    QFETCH(QStringList, texts);
    QFETCH(QStringList, names);
    QFETCH(QStringList, tooltips);
    QFETCH(int, counts);
    QFETCH(QString, tag);
    QVERIFY(win.open({ "Default" }));
    win.plug(sheetNamed(model));
    QCOMPARE(test_str, tag);
    QCOMPARE(win.texts(true), texts);
    QCOMPARE(win.names(true), names);
    QCOMPARE(tips(win.buttons(true)), tooltips);
    QCOMPARE(device_config_count * 10 + device_config_count_R, counts);
    // The active slot (0) is selected, its records are the edited sets.
    QVERIFY(win.button(100)->isChecked());
    QCOMPARE(selectedRadioIndex, 100);
    QCOMPARE(EQ[1], Device_CB_data[0]->eq[1]);
    QVERIFY(!win.button(0)->isChecked());
    for (QRadioButton* b : win.buttons(true))
        QCOMPARE(b->styleSheet(), qss);
    QVERIFY2(testsupport::warningLog().isEmpty(), qPrintable(testsupport::warningLog().join('\n')));
}

// Whichever announcement comes first: header, factory presets, user slots.
void TestWorkspaceDevice::factoryFirst()
{
    QVERIFY(win.open({ "Default" }));
    win.plug(sim::modelBSheet());
    win.ws->Device_Radio_Clear();
    QCoreApplication::processEvents();
    QVERIFY(win.buttons(true).isEmpty());
    test_str = "ABCD";
    Device_CB_data[0]->config_name = "Live";
    Device_CB_data[1]->config_name = "Vocal";
    for (int k = 5; k < 10; ++k)
        Device_CB_data[k]->config_name = QStringLiteral("F%1").arg(k);
    win.ws->moren_Device_Radio_Config();
    win.ws->Device_Radio_Init();
    QCOMPARE(win.texts(true), QStringList({ "F5", "F6", "F7", "F8", "F9", "Live", "Vocal" }));
    // A second announcement rebuilds instead of adding buttons.
    win.ws->moren_Device_Radio_Config();
    win.ws->Device_Radio_Init();
    QCoreApplication::processEvents();
    QCOMPARE(win.texts(true), QStringList({ "F5", "F6", "F7", "F8", "F9", "Live", "Vocal" }));
    QCOMPARE(device_config_count, 2);
}

// Eleven slots, duplicates, "&", invalid UTF-8 and a name filling all 16 bytes.
void TestWorkspaceDevice::hostileDeviceData()
{
    QVERIFY(win.open({ "Default" }));
    sim::ModelSheet s = sim::tenSlotSheet(0);
    s.capacity = 11;
    for (const char* name : { "A&B", "Dup", "Dup", "Dup", "\xff\xfe\x41", "ABCDEFGHIJKLMNOP", "",
             "R&&B", "x", "y", "eleventh" })
        s.user.push_back(sim::slotRecord(name, 1, sim::kUnityPreamp, {}));
    win.plug(s);
    QCOMPARE(device_config_count, 10);
    const QStringList texts = win.texts(true);
    QCOMPARE(texts.size(), 10);
    QCOMPARE(texts[0], QStringLiteral("EQ1:A&&B"));
    QCOMPARE(win.button(100)->toolTip(), QStringLiteral("A&B"));
    QCOMPARE(Device_CB_data[0]->config_name, QStringLiteral("A&B")); // the device's own name
    QCOMPARE(texts.mid(1, 3), QStringList({ "EQ2:Dup", "EQ3:Dup(1)", "EQ4:Dup(1)" }));
    QCOMPARE(texts[7], QStringLiteral("EQ8:R&&&&B"));
    QCOMPARE(win.button(107)->toolTip(), QStringLiteral("R&&B"));
    // A plain-style device lists at most the five slots below its factory presets.
    win.unplug();
    win.plug(withUserSlots(sim::modelBSheet(), 10));
    QCOMPARE(device_config_num, 10);
    QCOMPARE(device_config_count, 5);
    QCOMPARE(win.buttons(true).size(), 10);
}

void TestWorkspaceDevice::activeSlotReport()
{
    QStringList hundred;
    for (int i = 0; i < 100; ++i)
        hundred << QStringLiteral("P%1").arg(i);
    QVERIFY(win.open(hundred));
    win.plug(sim::modelASheet());
    QCOMPARE(selectedRadioIndex, 100);
    // The device's "none" never reaches local preset 99 through 100 + slot.
    engine().queueFrame(0x1206, -1);
    win.drain();
    emit win.w->device_select_upload(-1);
    emit win.w->device_select_upload(10);
    QCOMPARE(selectedRadioIndex, 100);
    QVERIFY(!win.button(99)->isChecked());
    engine().queueFrame(0x1206, 1);
    win.drain();
    QCOMPARE(selectedRadioIndex, 101);
    QVERIFY(win.button(101)->isChecked());
}

void TestWorkspaceDevice::deviceLost()
{
    QVERIFY(win.open({ "Default", "Rock" }));
    win.plug(sim::modelBSheet());
    QVERIFY(systemset->muteCheckBox()->isVisibleTo(systemset));
    QSignalSpy mute(win.ws, &Workspace::workspace_mute);
    win.unplug();
    QTRY_VERIFY(win.buttons(true).isEmpty());
    QCOMPARE(win.ws->findChildren<CustomRadioButtonDevice*>().size(), 0);
    QCOMPARE(win.texts(false), QStringList({ "Default", "Rock" }));
    QCOMPARE(device_config_count, 0);
    QCOMPARE(device_config_count_R, 0);
    QVERIFY(test_str.isEmpty());
    for (int s = 0; s < 10; ++s)
        QVERIFY(
            Device_CB_data[s]->config_name.isEmpty() && Device_CB_data_R[s]->config_name.isEmpty());
    QVERIFY(!execute_biaozhi);
    QCOMPARE(Silent_Sign, -1);
    QCOMPARE(mute.size(), 1);
    QCOMPARE(mute.first().at(0).toInt(), -1);
    QVERIFY(!systemset->muteCheckBox()->isVisibleTo(systemset));
}

void TestWorkspaceDevice::selectSlot_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<int>("target");
    QTest::addColumn<QStringList>("frames"); // at the click
    QTest::addColumn<QStringList>("laterFrames"); // added by the deferred save
    QTest::addColumn<QStringList>("signalsSent");
    QTest::newRow("listed, plain, left/right")
        << "B" << 101 << QStringList { "110e d1" } << QStringList { "110f d0", "1110 x74" }
        << QStringList { "send_ui_biaozhi 1 Vocal", "send_device_name Vocal",
               "send_biaozhi_name yyyy", "radio_Change" };
    QTest::newRow("listed, numbered, one set")
        << "A" << 101 << QStringList { "110f d0", "1110 x39", "110e d1" } << QStringList()
        << QStringList { "send_device_name_2 yyyy", "radio_Change2" };
    QTest::newRow("listed, numbered, left/right")
        << "ten" << 102 << QStringList { "110f d0", "1110 x74", "110e d2" } << QStringList()
        << QStringList { "send_device_name Slot3", "send_ui_biaozhi 2 Slot3", "radio_Change2" };
    QTest::newRow("factory") << "B" << 107 << QStringList { "110f d0", "1110 x74", "110e d7" }
                             << QStringList()
                             << QStringList { "send_device_name Airy", "send_ui_biaozhi 7 Airy",
                                    "radio_Change" };
    QTest::newRow("listed, plain, one set")
        << "five" << 103 << QStringList { "110e d3" } << QStringList { "110f d0", "1110 x39" }
        << QStringList { "send_biaozhi_name yyyy", "radio_Change" };
}

void TestWorkspaceDevice::selectSlot()
{
    QFETCH(QString, model);
    QFETCH(int, target);
    QFETCH(QStringList, frames);
    QFETCH(QStringList, laterFrames);
    QFETCH(QStringList, signalsSent);
    QVERIFY(win.open({ "Default" }));
    win.plug(sheetNamed(model));
    QTRY_VERIFY(frameSummary().contains("110e d0"));
    engine().clearWrites();
    SignalLog log(win.ws);
    QTest::mouseClick(win.button(target), Qt::LeftButton);
    QCOMPARE(selectedRadioIndex, target);
    QCOMPARE(preselectedRadioIndex, 100);
    QCOMPARE(frameSummary(), frames);
    QTRY_COMPARE(log.events, signalsSent);
    QTRY_COMPARE(frameSummary(), frames + laterFrames);
    for (int k = 0; k < 12; ++k) {
        QCOMPARE(EQ[k], Device_CB_data[target - 100]->eq[k]);
        QCOMPARE(EQ_R[k], Device_CB_data_R[target - 100]->eq[k]);
    }
    // Toggling off the old button did nothing more.
    QCOMPARE(log.events.size(), signalsSent.size());
}

// From a local preset through slot 0 to slot 1 within 500 ms: the first
// timer saves the local preset, the second slot 0.
void TestWorkspaceDevice::twoQuickSelects()
{
    QVERIFY(win.open({ "Default", "Rock" }));
    win.plug(sim::modelBSheet());
    QTest::mouseClick(win.button(1), Qt::LeftButton);
    EQ[3]->gain = 5.5;
    engine().clearWrites();
    QTest::mouseClick(win.button(100), Qt::LeftButton);
    QTest::mouseClick(win.button(101), Qt::LeftButton);
    QCOMPARE(frameSummary(), QStringList({ "110e d0", "110e d1" }));
    QTRY_COMPARE(frameSummary(), QStringList({ "110e d0", "110e d1", "110f d0", "1110 x74" }));
    QVERIFY(readText(win.path("Workspace_Config/EQ_config.QVconfig"))
                .contains("\"0 1 632 5.5 0.707\""));
}

// A slot selected while an earlier device was connected is not written to
// the next one.
void TestWorkspaceDevice::staleSelectionIsNotSaved()
{
    QVERIFY(win.open({ "Default" }));
    win.plug(sim::modelBSheet());
    QTest::mouseClick(win.button(101), Qt::LeftButton);
    win.unplug();
    engine().clearWrites();
    win.w->timeoutSlot(); // the idle save of the lost selection
    win.plug(sim::tenSlotSheet());
    QCOMPARE(selectedRadioIndex, 100);
    QCOMPARE(preselectedRadioIndex, 101);
    QCOMPARE(frameSummary(), QStringList({ "110e d0" }));
    // Selections of this connection are saved as usual.
    engine().clearWrites();
    QTest::mouseClick(win.button(101), Qt::LeftButton);
    QCOMPARE(frameSummary(), QStringList({ "110f d0", "1110 x74", "110e d1" }));
}

void TestWorkspaceDevice::addSlot_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("text"); // button text
    QTest::addColumn<QString>("record"); // slot record name, also the one sent
    QTest::addColumn<QStringList>("frames");
    QTest::addColumn<QStringList>("signalsSent");
    QTest::newRow("numbered, one set")
        << "A"
        << "New"
        << "EQ3:New"
        << "New" << QStringList { "110f d0", "1110 x39", "110e d2", "110b x39" }
        << QStringList { "send_biaozhi_name yyyy", "send_device_name_2 yyyy", "radio_Change2" };
    QTest::newRow("numbered, one set, emptied")
        << "A"
        << ""
        << "EQ3:DevConfig3"
        << "DevConfig3" << QStringList { "110f d0", "1110 x39", "110e d2", "110b x39" }
        << QStringList { "send_biaozhi_name yyyy", "send_device_name_2 yyyy", "radio_Change2" };
    QTest::newRow("numbered, left/right, taken")
        << "ten"
        << "Slot2"
        << "EQ4:Slot2(1)"
        << "Slot2(1)" << QStringList { "110f d0", "1110 x74", "110e d3", "110b x74" }
        << QStringList { "send_ui_biaozhi2 3", "send_device_name Slot2(1)",
               "send_ui_biaozhi 3 Slot2(1)", "radio_Change2" };
    const QStringList plainSignals { "send_ui_biaozhi2 2", "send_ui_biaozhi 2 %1",
        "send_device_name %1", "send_biaozhi_name yyyy", "radio_Change" };
    QTest::newRow("plain, left/right")
        << "B"
        << "New"
        << "New"
        << "New" << QStringList { "110f d0", "1110 x74", "110e d2", "110b x74" }
        << QStringList(plainSignals).replaceInStrings("%1", "New");
    QTest::newRow("plain, factory name taken")
        << "B"
        << "Airy"
        << "Airy(1)"
        << "Airy(1)" << QStringList { "110f d0", "1110 x74", "110e d2", "110b x74" }
        << QStringList(plainSignals).replaceInStrings("%1", "Airy(1)");
    QTest::newRow("plain, ampersand")
        << "B"
        << "R&B"
        << "R&&B"
        << "R&B" << QStringList { "110f d0", "1110 x74", "110e d2", "110b x74" }
        << QStringList(plainSignals).replaceInStrings("%1", "R&B");
}

void TestWorkspaceDevice::addSlot()
{
    QFETCH(QString, model);
    QFETCH(QString, typed);
    QFETCH(QString, text);
    QFETCH(QString, record);
    QFETCH(QStringList, frames);
    QFETCH(QStringList, signalsSent);
    QVERIFY(win.open({ "Default" }));
    win.plug(sheetNamed(model));
    const int slot = device_config_count;
    EQ[2]->status = 1;
    EQ[2]->gain = -2.5; // the edited filters become the new slot
    engine().clearWrites();
    SignalLog log(win.ws);
    QTest::mouseClick(win.ws->ui->PButton_Add_2, Qt::LeftButton);
    CustomLineEdit* edit = win.ws->deviceNameEdit();
    QVERIFY(edit);
    QCOMPARE(edit->text(), QStringLiteral("DevConfig%1").arg(slot + 1));
    QVERIFY(!win.ws->ui->PButton_Add_2->isEnabled());
    win.finishEdit(edit, typed);
    QVERIFY(win.ws->ui->PButton_Add_2->isEnabled());
    QCOMPARE(win.texts(true).last(), text);
    QCOMPARE(win.names(true).last(), QStringLiteral("RadioButton_%1").arg(100 + slot));
    QCOMPARE(win.buttons(true).last()->toolTip(), execute_biaozhi ? record : QString());
    QVERIFY(win.buttons(true).last()->isChecked());
    QCOMPARE(selectedRadioIndex, 100 + slot);
    QCOMPARE(device_config_count, slot + 1);
    QCOMPARE(Device_CB_data[slot]->config_name, record);
    QCOMPARE(Device_CB_data[slot]->eq[2]->gain, -2.5);
    QCOMPARE(EQ[2], Device_CB_data[slot]->eq[2]);
    QCOMPARE(frameSummary(), frames);
    const std::vector<int32_t> words = recordWords(0x110B);
    QCOMPARE(nameOfWords(words), record);
    QTRY_COMPARE(log.events, signalsSent);
}

void TestWorkspaceDevice::importAddSlot()
{
    QVERIFY(win.open({ "Default" }));
    win.plug(sim::modelBSheet());
    SignalLog log(win.ws);
    emit win.w->send_tianjia2();
    CustomLineEdit* edit = win.ws->deviceNameEdit();
    QVERIFY(edit);
    QVERIFY(edit->styleSheet().startsWith("QLineEdit {color:gray;"));
    win.finishEdit(edit, "Imp");
    QCOMPARE(win.texts(true).last(), QStringLiteral("Imp"));
    QVERIFY(log.events.contains("workspace_finish"));
    QCOMPARE(log.events.first(), QStringLiteral("send_ui_biaozhi2 2"));
    QCOMPARE(log.events.mid(log.events.indexOf("workspace_finish")),
        QStringList({ "workspace_finish", "radio_Change" }));
}

void TestWorkspaceDevice::storeLocalPreset_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<QStringList>("frames");
    QTest::addColumn<QStringList>("signalsSent");
    QTest::addColumn<int>("leftGainByte");
    QTest::newRow("numbered, one set")
        << "A" << QStringList { "110b x39", "110f d0", "1110 x39", "110e d2" }
        << QStringList { "send_biaozhi_name yyyy", "send_device_name_2 yyyy", "radio_Change" }
        << 4; // +2 dB in 0.5 dB steps
    QTest::newRow("plain, left/right")
        << "B" << QStringList { "110b x74", "110f d0", "1110 x74", "110e d2" }
        << QStringList { "send_biaozhi_name yyyy", "send_ui_biaozhi2 2", "send_ui_biaozhi 2 Stored",
               "send_device_name Stored", "send_biaozhi_name yyyy", "radio_Change" }
        << 20; // +2 dB in 0.1 dB steps
}

void TestWorkspaceDevice::storeLocalPreset()
{
    QFETCH(QString, model);
    QFETCH(QStringList, frames);
    QFETCH(QStringList, signalsSent);
    QFETCH(int, leftGainByte);
    QVERIFY(win.open({ "Default", "Rock" })); // Rock: band 1 +2 dB left, -2 dB right, 200 Hz
    win.plug(sheetNamed(model));
    engine().clearWrites();
    SignalLog log(win.ws);
    ModalAnswers answers;
    answers.menuItem("Store to device");
    win.rightClick(win.button(1));
    CustomLineEdit* edit = win.ws->deviceNameEdit();
    QVERIFY(edit);
    QCOMPARE(log.events, QStringList({ "send_biaozhi_name yyyy" }));
    win.finishEdit(edit, "Stored");
    QCOMPARE(frameSummary(), frames);
    const std::vector<int32_t> words = recordWords(0x110B);
    QCOMPARE(nameOfWords(words), QStringLiteral("Stored"));
    const size_t band1 = model == "A" ? 6 : 8;
    QCOMPARE(int(int8_t(uint32_t(words[band1]) >> 16)), leftGainByte);
    QCOMPARE(words[band1 + 1], 200);
    QCOMPARE(Device_CB_data[2]->eq[1]->gain, 2.0);
    QCOMPARE(Device_CB_data_R[2]->eq[1]->gain, -2.0);
    QCOMPARE(selectedRadioIndex, 102);
    QCOMPARE(device_config_count, 3);
    QTRY_COMPARE(log.events, signalsSent);
    // An emptied name stores nothing.
    engine().clearWrites();
    answers.menuItem("Store to device");
    win.rightClick(win.button(0));
    win.finishEdit(win.ws->deviceNameEdit(), "");
    QCOMPARE(frameSummary(), QStringList());
    QCOMPARE(device_config_count, 3);
}

void TestWorkspaceDevice::refusals_data()
{
    QTest::addColumn<QString>("road"); // add, import, store
    QTest::addColumn<int>("device"); // -1 none, else user slots of the model below
    QTest::addColumn<QString>("model");
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    const QString notConnected = "Machine not connected";
    const QString maximum = "The maximum number of configurations has been reached";
    QTest::newRow("add, no device") << "add" << -1 << "" << 1 << "Remind" << notConnected;
    QTest::newRow("import, no device, Chinese") << "import" << -1 << "" << 0 << "提醒"
                                                << "设备未连接";
    QTest::newRow("store, no device, language 2")
        << "store" << -1 << "" << 2 << "Remind" << notConnected;
    QTest::newRow("one set at five") << "add" << 5 << "A" << 1 << "Remind" << maximum;
    QTest::newRow("one set, plain, at five") << "store" << 5 << "five" << 1 << "Remind" << maximum;
    QTest::newRow("plain left/right at five") << "import" << 5 << "B" << 0 << "提醒"
                                              << "目前已达机子最大支持配置数量";
    QTest::newRow("numbered left/right at ten") << "add" << 10 << "ten" << 1 << "Remind" << maximum;
}

void TestWorkspaceDevice::refusals()
{
    QFETCH(QString, road);
    QFETCH(int, device);
    QFETCH(QString, model);
    QFETCH(int, language);
    QFETCH(QString, title);
    QFETCH(QString, text);
    QVERIFY(win.open({ "Default" }, language));
    if (device >= 0) {
        sim::ModelSheet s = model == "A" ? withUserSlots(sim::modelASheet(), device)
            : model == "B"               ? withUserSlots(sim::modelBSheet(), device)
            : model == "ten"             ? sim::tenSlotSheet(device)
                                         : sim::fiveSlotSheet();
        win.plug(s);
        QCOMPARE(device_config_count, device);
    }
    engine().clearWrites();
    ModalAnswers answers;
    if (road == "store")
        answers.menuItem(language == 1 ? "Store to device" : "导入下位机");
    answers.button("OK");
    if (road == "add")
        QTest::mouseClick(win.ws->ui->PButton_Add_2, Qt::LeftButton);
    else if (road == "import")
        emit win.w->send_tianjia2();
    else
        win.rightClick(win.button(0));
    QCOMPARE(answers.pending(), 0);
    const ModalAnswers::Shown& box = answers.shown.last();
    QCOMPARE(box.title, title);
    QCOMPARE(box.text, text);
    QCOMPARE(box.choices, QStringList({ "OK" }));
    QVERIFY(!win.ws->deviceNameEdit());
    QCOMPARE(frameSummary(), QStringList());
    QCOMPARE(device_config_count, std::max(device, 0));
    QVERIFY(win.ws->ui->PButton_Add_2->isEnabled());
}

// A full three-slot model: the chooser picks the slot the edited filters
// (or, on the store road, the local preset) overwrite; its name stays.
void TestWorkspaceDevice::overwrite()
{
    QVERIFY(win.open({ "Default", "Rock" }));
    win.plug(sim::mirel1Sheet());
    QVERIFY(Mirel1_Sign);
    QCOMPARE(selectedRadioIndex, 100);
    EQ[4]->status = 1;
    EQ[4]->gain = 3.5;
    engine().clearWrites();
    SignalLog log(win.ws);
    ModalAnswers answers;
    answers.button("config 2");
    QTest::mouseClick(win.ws->ui->PButton_Add_2, Qt::LeftButton);
    QCOMPARE(answers.shown.last().title, QStringLiteral("Quorvel"));
    QCOMPARE(frameSummary(), QStringList({ "1119 d1" }));
    QCOMPARE(Device_CB_data[1]->eq[4]->gain, 3.5);
    QCOMPARE(Device_CB_data[1]->config_name, QStringLiteral("Bright"));
    QCOMPARE(win.button(101)->text(), QStringLiteral("EQ2:Bright"));
    QCOMPARE(EQ[4], Device_CB_data[1]->eq[4]);
    QCOMPARE(EQ_R[4], Device_CB_data_R[1]->eq[4]);
    QCOMPARE(selectedRadioIndex, 100);
    QVERIFY(win.button(100)->isChecked());
    QVERIFY(win.ws->ui->PButton_Add_2->isEnabled());
    QTRY_COMPARE(log.events, QStringList({ "radio_Change" }));

    // Cancel, and a window closed after an earlier answer: nothing is written.
    engine().clearWrites();
    answers.button("Cancel").close();
    QTest::mouseClick(win.ws->ui->PButton_Add_2, Qt::LeftButton);
    emit win.w->send_tianjia2();
    QCOMPARE(answers.pending(), 0);
    QCOMPARE(frameSummary(), QStringList());
    QCOMPARE(win.ws->dialog->selectedButton(), 3);

    // The store road writes the chosen local preset.
    answers.menuItem("Store to device").button("config 3");
    win.rightClick(win.button(1));
    QCOMPARE(frameSummary(), QStringList({ "1119 d2" }));
    QCOMPARE(Device_CB_data[2]->eq[1]->gain, 2.0);
    QCOMPARE(Device_CB_data_R[2]->eq[1]->gain, -2.0);
    QCOMPARE(Device_CB_data[2]->eq[1]->center_frequency, 200);
    QCOMPARE(Device_CB_data[2]->config_name, QStringLiteral("Deep"));
}

void TestWorkspaceDevice::renameSlot()
{
    QVERIFY(win.open({ "Default" }));
    win.plug(sim::modelASheet());
    ModalAnswers answers;
    answers.menuItem("Rename");
    typeAndOk(answers, "ABCDEFGHIJKLMNO");
    engine().clearWrites();
    deviceMenu(100);
    QCOMPARE(answers.shown[0].choices, QStringList({ "Rename", "Delete" }));
    QCOMPARE(slotFrames(),
        QStringList({ "110c d0 t1 c1", "110d d1145258561 t39 c0", "110d d1212630597 t39 c1",
            "110d d1280002633 t39 c2", "110d d5197389 t39 c3" }));
    // Too wide for the button: cut with an ellipsis to 185 pixels, whole in the tooltip.
    const QFontMetrics metrics(win.button(100)->font());
    QVERIFY(metrics.horizontalAdvance("EQ1:ABCDEFGHIJKLMNO") >= 186);
    QVERIFY(win.button(100)->text().startsWith("EQ1:ABCD"));
    QVERIFY(win.button(100)->text().endsWith(QChar(0x2026)));
    QVERIFY(metrics.horizontalAdvance(win.button(100)->text()) <= 185);
    QCOMPARE(win.button(100)->toolTip(), QStringLiteral("ABCDEFGHIJKLMNO"));
    QCOMPARE(Device_CB_data[0]->config_name, QStringLiteral("ABCDEFGHIJKLMNO"));
    // A taken name gets "(1)"; an unchecked slot opens no menu.
    answers.menuItem("Rename");
    typeAndOk(answers, "Pop");
    deviceMenu(100);
    QCOMPARE(Device_CB_data[0]->config_name, QStringLiteral("Pop(1)"));
    const int shown = int(answers.shown.size());
    deviceMenu(101);
    QCOMPARE(int(answers.shown.size()), shown);

    // Left/right, plain: both records, single "&" to the device, doubled on the button.
    win.unplug();
    win.plug(sim::modelBSheet());
    engine().clearWrites();
    answers.menuItem("Rename");
    typeAndOk(answers, "R&B");
    deviceMenu(100);
    QCOMPARE(win.button(100)->text(), QStringLiteral("R&&B"));
    QCOMPARE(Device_CB_data[0]->config_name, QStringLiteral("R&B"));
    QCOMPARE(Device_CB_data_R[0]->config_name, QStringLiteral("R&B"));
    QCOMPARE(nameOfWords(recordWords(0x110D)), QStringLiteral("R&B"));
    QCOMPARE(slotFrames().last(), QStringLiteral("110d d0 t74 c3"));
    // Chinese menu texts for every language but 1.
    sysSetValue.Language = 0;
    answers.menuItem("");
    deviceMenu(100);
    QCOMPARE(answers.shown.last().choices, QStringList({ "重命名", "删除" }));
    sysSetValue.Language = 1;

    // The three-slot models offer no "Delete".
    win.unplug();
    win.plug(sim::mirel1Sheet());
    answers.menuItem("");
    deviceMenu(100);
    QCOMPARE(answers.shown.last().choices, QStringList({ "Rename" }));
    QCOMPARE(answers.pending(), 0);
}

void TestWorkspaceDevice::deleteSlot_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<int>("selected");
    QTest::addColumn<int>("deleted");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<int>("selectedAfter");
    QTest::addColumn<QStringList>("frames");
    QTest::addColumn<QStringList>("signalsSent");
    QTest::newRow("numbered left/right, after the selection")
        << "ten" << 100 << 1 << QStringList { "EQ1:Slot1", "EQ2:Slot3" } << 100
        << QStringList { "110e d-1", "110a d1" } << QStringList { "send_remove_index 1" };
    QTest::newRow("numbered left/right, before the selection")
        << "ten" << 102 << 0 << QStringList { "EQ1:Slot2", "EQ2:Slot3" } << 101
        << QStringList { "110e d-1", "110a d0" } << QStringList { "send_remove_index 0" };
    QTest::newRow("numbered left/right, the selection")
        << "ten" << 101 << 1 << QStringList { "EQ1:Slot1", "EQ2:Slot3" } << 100
        << QStringList { "110e d-1", "110a d1", "110e d0" }
        << QStringList { "send_remove_index 1", "send_device_name Slot1", "send_ui_biaozhi 0 Slot1",
               "radio_Change2" };
    QTest::newRow("numbered one set relabels too")
        << "A" << 101 << 0 << QStringList { "EQ1:Pop" } << 100
        << QStringList { "110e d-1", "110a d0" } << QStringList();
    QTest::newRow("plain left/right, the selection")
        << "B" << 100 << 0 << QStringList { "Bass 1", "Bass 2", "Airy", "Warm", "Dynamic", "Vocal" }
        << 100 << QStringList { "110e d-1", "110a d0", "110e d0" }
        << QStringList { "send_remove_index 0", "send_ui_biaozhi 0 Vocal", "send_device_name Vocal",
               "send_biaozhi_name yyyy", "radio_Change" };
    QTest::newRow("the last slot of a one-set device")
        << "A1" << 100 << 0 << QStringList() << 100 << QStringList { "110e d-1", "110a d0" }
        << QStringList { "device_radio_Change 0" };
}

void TestWorkspaceDevice::deleteSlot()
{
    QFETCH(QString, model);
    QFETCH(int, selected);
    QFETCH(int, deleted);
    QFETCH(QStringList, texts);
    QFETCH(int, selectedAfter);
    QFETCH(QStringList, frames);
    QFETCH(QStringList, signalsSent);
    QVERIFY(win.open({ "Default" }));
    win.plug(model == "A1" ? withUserSlots(sim::modelASheet(), 1) : sheetNamed(model));
    const int count = device_config_count;
    if (selected != 100)
        QTest::mouseClick(win.button(selected), Qt::LeftButton);
    QCoreApplication::processEvents();
    const EQ_config_data* selectedRecord = Device_CB_data[selected - 100];
    EQ[2]->gain = 1.5;
    engine().clearWrites();
    SignalLog log(win.ws);
    if (deleted == selected - 100) {
        ModalAnswers answers;
        answers.menuItem("Delete");
        deviceMenu(selected);
        QCOMPARE(answers.pending(), 0);
    } else {
        auto* b = static_cast<CustomRadioButtonDevice*>(win.button(100 + deleted));
        emit b->radio_remove(deleted); // as its menu's "Delete"
    }
    QCOMPARE(frameSummary(), frames);
    QTRY_COMPARE(log.events, signalsSent);
    QTRY_COMPARE(win.texts(true), texts);
    QCOMPARE(device_config_count, count - 1);
    QCOMPARE(selectedRadioIndex, selectedAfter);
    QStringList names;
    for (int i = 0; i < count - 1; ++i)
        names << QStringLiteral("RadioButton_%1").arg(100 + i);
    QCOMPARE(win.names(true).mid(win.names(true).size() - (count - 1)), names);
    if (count == 1) {
        QCOMPARE(EQ[2]->gain, 0.0); // the edited set is cleared
        return;
    }
    QVERIFY(win.button(selectedAfter)->isChecked());
    if (deleted != selected - 100) {
        // The selection keeps its record and its unsaved edit.
        QCOMPARE(Device_CB_data[selectedAfter - 100], selectedRecord);
        QCOMPARE(EQ[2], selectedRecord->eq[2]);
        QCOMPARE(EQ[2]->gain, 1.5);
    }
}

void TestWorkspaceDevice::deleteRefusals()
{
    QVERIFY(win.open({ "Default" }));
    win.plug(sim::tenSlotSheet(1));
    engine().clearWrites();
    ModalAnswers answers;
    answers.menuItem("Delete");
    deviceMenu(100);
    // The last slot of a numbered left/right device stays.
    QCOMPARE(device_config_count, 1);
    QCOMPARE(device_config_count_R, 1);
    QCOMPARE(win.texts(true), QStringList({ "EQ1:Slot1" }));
    // Slots outside the listed user slots.
    for (int slot : { -100, -1, 1, 5, 9 })
        win.ws->Device_Index_Change(slot);
    QCOMPARE(device_config_count, 1);
    QCOMPARE(frameSummary(), QStringList());
}

void TestWorkspaceDevice::oneNameEditAtATime()
{
    QVERIFY(win.open({ "Default" }));
    win.plug(sim::modelBSheet());
    QTest::mouseClick(win.ws->ui->PButton_Add_2, Qt::LeftButton);
    QVERIFY(!win.ws->ui->PButton_Add_2->isEnabled());
    emit win.w->send_tianjia2();
    ModalAnswers answers;
    answers.menuItem("Store to device");
    win.rightClick(win.button(0));
    QCOMPARE(win.ws->findChildren<CustomLineEdit*>().size(), 1);
    win.finishEdit(win.ws->deviceNameEdit(), "One");
    QCOMPARE(device_config_count, 3);
    QTest::mouseClick(win.ws->ui->PButton_Add_2, Qt::LeftButton);
    win.finishEdit(win.ws->deviceNameEdit(), "Two");
    QCOMPARE(win.texts(true).mid(5), QStringList({ "Live", "Vocal", "One", "Two" }));
}

void TestWorkspaceDevice::unplugDuringRoads()
{
    QVERIFY(win.open({ "Default" }));
    ModalAnswers answers;

    // A name edit open when the device goes: it goes too.
    win.plug(sim::modelBSheet());
    QTest::mouseClick(win.ws->ui->PButton_Add_2, Qt::LeftButton);
    QVERIFY(win.ws->deviceNameEdit());
    win.unplug();
    QVERIFY(!win.ws->deviceNameEdit());
    QVERIFY(win.ws->ui->PButton_Add_2->isEnabled());

    // Lost while the name is typed: the finished edit only tells the user.
    win.plug(sim::modelBSheet());
    QTest::mouseClick(win.ws->ui->PButton_Add_2, Qt::LeftButton);
    CustomLineEdit* edit = win.ws->deviceNameEdit();
    hid_status = 0; // lost, not yet handled
    answers.button("OK");
    win.finishEdit(edit, "Late");
    QCOMPARE(answers.shown.last().text, QStringLiteral("Machine not connected"));
    QCOMPARE(device_config_count, 2);
    win.unplug();

    // Lost inside the chooser and inside the rename dialog.
    win.plug(sim::mirel1Sheet());
    engine().clearWrites();
    answers.dialog([this](QDialog& d) {
        engine().unplug();
        QTRY_VERIFY(test_str.isEmpty());
        for (QPushButton* b : d.findChildren<QPushButton*>())
            if (b->text() == "config 1")
                b->click();
    });
    QTest::mouseClick(win.ws->ui->PButton_Add_2, Qt::LeftButton);
    QCOMPARE(frameSummary(), QStringList());

    win.plug(sim::modelBSheet());
    engine().clearWrites();
    answers.menuItem("Rename");
    answers.dialog([](QDialog& d) {
        engine().unplug();
        QTRY_VERIFY(test_str.isEmpty());
        auto* e = d.findChild<QLineEdit*>();
        ModalAnswers::typeText(e, "Gone");
        for (QPushButton* b : d.findChildren<QPushButton*>())
            if (b->text() == "OK")
                b->click();
    });
    deviceMenu(100);
    QTRY_VERIFY(win.buttons(true).isEmpty());
    QCOMPARE(frameSummary(), QStringList());
    QVERIFY(Device_CB_data[0]->config_name.isEmpty());
    QCOMPARE(answers.pending(), 0);
}

QTEST_MAIN(TestWorkspaceDevice)
#include "test_workspace_device.moc"
