// The preset panel on a real main window: the local and device lists, every
// selection, add, import, store, save, rename, delete and overwrite road
// with the simulated device models, checked through the frames written,
// the signals, the preset files and the buttons.
#include <QtTest>

#include "deadlines.h"

#include <QCheckBox>
#include <QLabel>
#include <QMessageBox>

#include "settings/systemsetting.h"
#include "store/channel_modes.h"
#include "warning_log.h"
#include "widgets/resources.h"
#include "widgets/customcontrols.h"
#include "workspace/customdialog.h"
#include "workspace/customradiobutton.h"
#include "workspace/mydialog.h"
#include "workspace/customradiobuttondevice.h"
#include "workspace/preset_names.h"
#include "workspace_fixture.h"

using namespace wsfix;

namespace {

QStringList bandValues(const EQ_config_data& p)
{
    QStringList out;
    for (int k = 0; k < 12; ++k) {
        const EQ_data& b = *p.eq[k];
        out << QStringLiteral("%1 %2 %3 %4 %5")
                   .arg(b.status)
                   .arg(b.type)
                   .arg(b.center_frequency)
                   .arg(b.gain)
                   .arg(b.Q);
    }
    return out;
}

} // namespace

class TestWorkspace : public QObject
{
    Q_OBJECT

    Window win;

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

    void panelAndLocalList();
    void texts_data();
    void texts();
    void noLocalPreset();
    void arrowKeysSwitchNothing();

    void selectLocal_data();
    void selectLocal();
    void addLocal_data();
    void addLocal();
    void importAddLocal();
    void localLimit();
    void deleteLocal_data();
    void deleteLocal();
    void deleteKeepsRightChannels_data();
    void deleteKeepsRightChannels();
    void renameLocal();
    void saveButton();
    void nameDialogs_data();
    void nameDialogs();
    void slotChooser();
};

void TestWorkspace::panelAndLocalList()
{
    QVERIFY(win.open({ "Default", "R&&B", "Vocal" }));
    Workspace& ws = *win.ws;
    QCOMPARE(ws.ui->PButton_Add->size(), QSize(18, 18));
    QCOMPARE(ws.ui->PButton_Add_2->toolTip(), QStringLiteral("Input"));
    QCOMPARE(ws.ui->label->text(), QStringLiteral("Local Config"));
    QCOMPARE(ws.ui->label_2->text(), QStringLiteral("User Config"));
    QCOMPARE(win.names(false), QStringList({ "RadioButton_0", "RadioButton_1", "RadioButton_2" }));
    // The files keep "&" doubled, which the button shows single.
    QCOMPARE(win.texts(false), QStringList({ "Default", "R&&B", "Vocal" }));
    QVERIFY(win.button(0)->isChecked());
    QCOMPARE(win.button(1)->styleSheet(), qss);
    QCOMPARE(qss,
        QStringLiteral("QRadioButton{ width: 154px; height: 40px; font-size: "
                       "16px;outline:none;}QRadioButton:unchecked {    "
                       "color: rgb(56,56,56);}QRadioButton:checked {    color: rgb(216,216,216);   "
                       " background-color: "
                       "rgb(56,56,56);}QRadioButton::indicator {    width: 0px;    height: 0px;    "
                       "padding-left: 12px;    "
                       "padding-right: 6px;    padding-top: 10px;    padding-bottom: "
                       "10px;}QRadioButton::indicator:unchecked "
                       "{image:none;}QRadioButton::indicator:checked {image:none;}"));
    QCOMPARE(selectedRadioIndex, 0);
    for (int k = 0; k < 12; ++k) {
        QCOMPARE(EQ[k], CB_data[0]->eq[k]);
        QCOMPARE(EQ_R[k], CB_data_R[0]->eq[k]);
    }
    QVERIFY(win.buttons(true).isEmpty());
    QVERIFY2(testsupport::warningLog().isEmpty(), qPrintable(testsupport::warningLog().join('\n')));
}

void TestWorkspace::texts_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<QStringList>("headers"); // label, label_2, add tooltip
    QTest::addColumn<QString>("chooserFirst");
    QTest::newRow("English") << 1 << QStringList { "Local Config", "User Config", "Input" }
                             << "config 1";
    QTest::newRow("Chinese") << 0 << QStringList { "本地配置", "用户配置", "导入" } << "配置1";
    // Any other value keeps the form's Chinese texts and an empty tooltip.
    QTest::newRow("other") << 2 << QStringList { "本地配置", "用户配置", "" } << "配置1";
}

void TestWorkspace::texts()
{
    QFETCH(int, language);
    QFETCH(QStringList, headers);
    QFETCH(QString, chooserFirst);
    QVERIFY(win.open({ "Default" }, language));
    Workspace& ws = *win.ws;
    QCOMPARE(QStringList(
                 { ws.ui->label->text(), ws.ui->label_2->text(), ws.ui->PButton_Add_2->toolTip() }),
        headers);
    QStringList chooser;
    for (QPushButton* b : ws.dialog->findChildren<QPushButton*>())
        chooser << b->text();
    QVERIFY(chooser.contains(chooserFirst));
    // A language switch applies the texts of the new value.
    sysSetValue.Language = 1;
    emit systemset->language_changed();
    QCOMPARE(ws.ui->label->text(), QStringLiteral("Local Config"));
    chooser.clear();
    for (QPushButton* b : ws.dialog->findChildren<QPushButton*>())
        chooser << b->text();
    QVERIFY(chooser.contains("config 1"));
}

void TestWorkspace::noLocalPreset()
{
    QVERIFY(win.open({ "Default" }));
    win.w.reset();
    writeLocalPresets(win.dir->path(), {});
    QFile::remove(win.path("Workspace_Config/EQ_config.QVconfig"));
    QFile f(win.path("Workspace_Config/EQ_config.QVconfig"));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("[]");
    f.close();
    CB_data[0]->eq[3]->gain = 7.0; // stale values the reset must clear
    QVERIFY(win.reopen());
    QVERIFY(win.buttons(false).isEmpty());
    QCOMPARE(config_count, 0);
    for (EQ_data* const* set : { EQ, EQ_R }) {
        QCOMPARE(set[0], (set == EQ ? CB_data : CB_data_R)[0]->eq[0]);
        QCOMPARE(int(set[0]->status), 0);
        QCOMPARE(set[0]->gain, 0.0);
        for (int k = 1; k < 12; ++k) {
            QCOMPARE(int(set[k]->status), 0);
            QCOMPARE(set[k]->type, 1);
            QCOMPARE(set[k]->center_frequency, 632);
            QCOMPARE(set[k]->gain, 0.0);
            QCOMPARE(set[k]->Q, 0.707);
        }
    }
}

void TestWorkspace::arrowKeysSwitchNothing()
{
    QVERIFY(win.open({ "A", "B", "C" }));
    QRadioButton* first = win.button(0);
    first->setFocus();
    for (Qt::Key key : { Qt::Key_Down, Qt::Key_Right, Qt::Key_Up, Qt::Key_Left }) {
        QTest::keyClick(first, key);
        QTest::keyClick(win.ws, key);
    }
    QVERIFY(first->isChecked());
    QCOMPARE(selectedRadioIndex, 0);
}

void TestWorkspace::selectLocal_data()
{
    QTest::addColumn<QString>("model"); // "" not connected
    QTest::addColumn<QStringList>("frames");
    QTest::addColumn<QStringList>("signalsSent");
    const QStringList four { "send_radio_name 2 Vocal", "send_radio_name2", "send_ui_biaozhi3 2",
        "send_biaozhi_name xxxx" };
    QTest::newRow("not connected") << "" << QStringList() << four;
    // The device list selected slot 0 at connection: that slot is saved first.
    QTest::newRow("one set") << "A" << QStringList { "110f d0", "1110 x39", "110e d-1" }
                             << QStringList { "send_biaozhi_name xxxx" };
    QTest::newRow("left/right") << "B" << QStringList { "110f d0", "1110 x74", "110e d-1" } << four;
}

void TestWorkspace::selectLocal()
{
    QFETCH(QString, model);
    QFETCH(QStringList, frames);
    QFETCH(QStringList, signalsSent);
    QVERIFY(win.open({ "Default", "Rock", "Vocal" }));
    if (!model.isEmpty()) {
        win.plug(std::make_shared<sim::SlotModel>(
            model == "A" ? sim::modelASheet() : sim::modelBSheet()));
        QCOMPARE(selectedRadioIndex, 100);
    }
    QFile::remove(win.path("Workspace_Config/ui_config.txt"));
    m_configMap.clear();
    EQ[2]->gain = 4.5; // an edit of the preset being left
    engine().clearWrites();
    SignalLog log(win.ws);
    QTest::mouseClick(win.button(2), Qt::LeftButton);
    QCOMPARE(selectedRadioIndex, 2);
    QCOMPARE(preselectedRadioIndex, model.isEmpty() ? 0 : 100);
    QCOMPARE(frameSummary(), frames);
    QCOMPARE(log.events, signalsSent); // the reload comes later
    QTRY_COMPARE(log.events.last(), QStringLiteral("radio_Change"));
    QCOMPARE(log.events.count("radio_Change"), 1);
    for (int k = 0; k < 12; ++k)
        QCOMPARE(EQ[k], CB_data[2]->eq[k]);
    if (model.isEmpty()) {
        // The local preset left behind was saved into both files.
        QVERIFY(readText(win.path("Workspace_Config/EQ_config.QVconfig"))
                    .contains("\"0 1 632 4.5 0.707\""));
    } else {
        QCOMPARE(recordWords(0x1110).size(), size_t(model == "A" ? 39 : 74));
    }
    // A one-set device remembers "L+R" for a preset without a mode.
    if (model == "A")
        QCOMPARE(readText(win.path("Workspace_Config/ui_config.txt")), QString("2:0\n"));
}

void TestWorkspace::addLocal_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("name"); // as the files and the button text keep it
    QTest::newRow("accepted proposal") << "*"
                                       << "Config3";
    QTest::newRow("emptied") << ""
                             << "Config3";
    QTest::newRow("taken twice") << "A"
                                 << "A(1)(1)";
    QTest::newRow("ampersand") << "R&B"
                               << "R&&B";
}

void TestWorkspace::addLocal()
{
    QFETCH(QString, typed);
    QFETCH(QString, name);
    QVERIFY(win.open({ "A", "A(1)", "Vocal" }));
    SignalLog log(win.ws);
    QTest::mouseClick(win.ws->ui->PButton_Add, Qt::LeftButton);
    CustomLineEdit* edit = win.ws->localNameEdit();
    QVERIFY(edit);
    QCOMPARE(edit->text(), QStringLiteral("Config3"));
    QVERIFY(!win.ws->ui->PButton_Add->isEnabled());
    QCOMPARE(edit->maxLength(), 15);
    if (typed == "*")
        QTest::keyClick(edit, Qt::Key_Return);
    else
        win.finishEdit(edit, typed);
    QVERIFY(win.ws->ui->PButton_Add->isEnabled());
    QVERIFY(!win.ws->localNameEdit());
    QCOMPARE(win.texts(false), QStringList({ "A", "A(1)", "Vocal", name }));
    QCOMPARE(win.names(false).last(), QStringLiteral("RadioButton_3"));
    QVERIFY(win.button(3)->isChecked());
    QCOMPARE(selectedRadioIndex, 3);
    QCOMPARE(config_count, 4);
    QCOMPARE(fileNames(win.path("Workspace_Config/EQ_config.QVconfig")),
        QStringList({ "A", "A(1)", "Vocal", name }));
    QCOMPARE(fileNames(win.path("Workspace_Config/EQ_config_R.QVconfig")).last(), name);
    // A copy of the filters being edited (preset 0's).
    QCOMPARE(bandValues(*CB_data[3]), bandValues(*CB_data[0]));
    QCOMPARE(CB_data_R[3]->eq[1]->gain, -1.0);
    QTRY_VERIFY(log.events.contains("radio_Change"));
    QVERIFY(!log.events.contains("workspace_finish"));
}

void TestWorkspace::importAddLocal()
{
    QVERIFY(win.open({ "Default" }));
    SignalLog log(win.ws);
    emit win.w->send_tianjia();
    QCOMPARE(win.ws->localNameEdit()->text(), QStringLiteral("Imported1"));
    emit win.w->send_tianjia(); // one name edit at a time
    QCOMPARE(win.ws->findChildren<CustomLineEdit*>().size(), 1);
    win.finishEdit(win.ws->localNameEdit(), "Imp");
    QCOMPARE(win.texts(false), QStringList({ "Default", "Imp" }));
    // The main window reads the file into the new preset before the deferred reload.
    QCOMPARE(log.events.mid(log.events.indexOf("workspace_finish")),
        QStringList({ "workspace_finish", "radio_Change" }));

    // An emptied import edit adds nothing.
    log.events.clear();
    emit win.w->send_tianjia();
    win.finishEdit(win.ws->localNameEdit(), "");
    QCOMPARE(config_count, 2);
    QVERIFY(win.ws->ui->PButton_Add->isEnabled());
    QVERIFY(!log.events.contains("workspace_finish"));
}

void TestWorkspace::localLimit()
{
    QStringList hundred;
    for (int i = 0; i < 100; ++i)
        hundred << QStringLiteral("P%1").arg(i);
    QVERIFY(win.open(hundred));
    QCOMPARE(config_count, 100);
    ModalAnswers answers;
    answers.button("OK").button("OK");
    QTest::mouseClick(win.ws->ui->PButton_Add, Qt::LeftButton);
    emit win.w->send_tianjia();
    QCOMPARE(answers.pending(), 0);
    QCOMPARE(answers.shown[0].text,
        QStringLiteral("The maximum number of configurations has been reached"));
    QCOMPARE(answers.shown[0].title, QStringLiteral("Remind"));
    QVERIFY(!win.ws->localNameEdit());
    QCOMPARE(config_count, 100);
    QCOMPARE(win.buttons(false).size(), 100);
}

void TestWorkspace::deleteLocal_data()
{
    QTest::addColumn<int>("selected");
    QTest::addColumn<int>("deleted");
    QTest::addColumn<int>("selectedAfter");
    QTest::addColumn<QString>("reload"); // signal that follows, "" none
    QTest::newRow("after the selection") << 1 << 2 << 1 << "";
    QTest::newRow("before the selection") << 2 << 0 << 1 << "radio_Change2";
    QTest::newRow("the selection") << 2 << 2 << 0 << "radio_Change";
    QTest::newRow("outside") << 1 << 4 << 1 << "";
}

void TestWorkspace::deleteLocal()
{
    QFETCH(int, selected);
    QFETCH(int, deleted);
    QFETCH(int, selectedAfter);
    QFETCH(QString, reload);
    QVERIFY(win.open({ "P0", "P1", "P2", "P3" }));
    // Modes that move down with their presets; the presets selected here
    // keep "L/R", so no channel-mode question comes up.
    for (int k = 0; k < 4; ++k)
        addOrUpdateConfig(k, k == 3 ? 0 : 1);
    QTest::mouseClick(win.button(selected), Qt::LeftButton);
    QCoreApplication::processEvents();
    EQ[3]->gain = 2.5; // unsaved edit of the selected preset
    const QString selectedName = CB_data[selected]->config_name;
    SignalLog log(win.ws);
    emit static_cast<CustomRadioButton*>(win.button(0))->radio_remove(deleted);
    QCoreApplication::processEvents();
    if (deleted >= 4) {
        QCOMPARE(win.buttons(false).size(), 4);
        QVERIFY(log.events.isEmpty());
        return;
    }
    QStringList remaining { "P0", "P1", "P2", "P3" };
    remaining.removeAt(deleted);
    QCOMPARE(win.texts(false), remaining);
    QCOMPARE(win.names(false), QStringList({ "RadioButton_0", "RadioButton_1", "RadioButton_2" }));
    QCOMPARE(fileNames(win.path("Workspace_Config/EQ_config.QVconfig")), remaining);
    QCOMPARE(fileNames(win.path("Workspace_Config/EQ_config_R.QVconfig")), remaining);
    // Channel modes move down with their presets; the last key goes.
    QStringList modes;
    for (int k = 0; k < 4; ++k)
        if (k != deleted)
            modes << QString::number(k == 3 ? 0 : 1);
    QCOMPARE(readText(win.path("Workspace_Config/ui_config.txt")),
        QStringLiteral("0:%1\n1:%2\n2:%3\n").arg(modes[0], modes[1], modes[2]));
    QCOMPARE(selectedRadioIndex, selectedAfter);
    QVERIFY(win.button(selectedAfter)->isChecked());
    for (int k = 0; k < 12; ++k)
        QCOMPARE(EQ[k], CB_data[selectedAfter]->eq[k]);
    if (deleted != selected) {
        // The selection keeps its preset and its unsaved edit.
        QCOMPARE(CB_data[selectedAfter]->config_name, selectedName);
        QCOMPARE(EQ[3]->gain, 2.5);
    }
    if (reload.isEmpty()) {
        QCoreApplication::processEvents();
        QVERIFY(!log.events.contains("radio_Change") && !log.events.contains("radio_Change2"));
    } else {
        QTRY_VERIFY(log.events.contains(reload));
    }
}

void TestWorkspace::deleteKeepsRightChannels_data()
{
    QTest::addColumn<int>("selected");
    QTest::addColumn<int>("deleted");
    QTest::addColumn<int>("clickAfter"); // -1: the preset the delete itself selects
    QTest::newRow("the selected first preset") << 0 << 0 << -1;
    QTest::newRow("below the selection") << 2 << 0 << 2;
}

// A delete renumbers the presets above it. The channel-mode switch must still
// tell the preset selected next from the one selected before; taken for the
// same preset, a left/right preset gets its left channel copied over its right.
void TestWorkspace::deleteKeepsRightChannels()
{
    QFETCH(int, selected);
    QFETCH(int, deleted);
    QFETCH(int, clickAfter);
    QVERIFY(win.open({ "P0", "P1", "P2", "P3" }));
    for (int k = 0; k < 4; ++k) {
        addOrUpdateConfig(k, k % 2); // "L+R", "L/R", "L+R", "L/R"
        CB_data[k]->eq[1]->gain = k;
        CB_data_R[k]->eq[1]->gain = 5 + k;
        EQ_config_Update(k);
        EQ_config_Update_R(k);
    }
    // Selected by a click, from another preset, as a user would.
    QTest::mouseClick(win.button((selected + 1) % 4), Qt::LeftButton);
    QCoreApplication::processEvents();
    QTest::mouseClick(win.button(selected), Qt::LeftButton);
    QCoreApplication::processEvents();
    emit static_cast<CustomRadioButton*>(win.button(0))->radio_remove(deleted);
    QCoreApplication::processEvents();
    if (clickAfter >= 0) {
        QTest::mouseClick(win.button(clickAfter), Qt::LeftButton);
        QCoreApplication::processEvents();
    }
    const int now = clickAfter >= 0 ? clickAfter : 0;
    QTRY_COMPARE(selectedRadioIndex, now);
    QCOMPARE(internals(*win.w).comboBox_PEQMode->currentText(), QStringLiteral("L/R"));
    const int original = now >= deleted ? now + 1 : now;
    QCOMPARE(CB_data[now]->eq[1]->gain, double(original));
    QCOMPARE(CB_data_R[now]->eq[1]->gain, double(5 + original));
}

void TestWorkspace::renameLocal()
{
    QVERIFY(win.open({ "Default", "Rock", "Vocal" }));
    ModalAnswers answers;
    const auto rename = [&](int index, const QString& typed) {
        answers.menuItem("Rename");
        typeAndOk(answers, typed);
        win.rightClick(win.button(index));
        QCOMPARE(answers.pending(), 0);
    };
    rename(1, "Rock"); // its own name: kept
    QCOMPARE(win.button(1)->text(), QStringLiteral("Rock"));
    rename(1, "Vocal");
    QCOMPARE(win.button(1)->text(), QStringLiteral("Vocal(1)"));
    rename(2, "R&B");
    QCOMPARE(win.button(2)->text(), QStringLiteral("R&&B"));
    rename(2, "X&Y&Z");
    QCOMPARE(win.button(2)->text(), QStringLiteral("X&&Y&&Z"));
    QCOMPARE(fileNames(win.path("Workspace_Config/EQ_config.QVconfig")),
        QStringList({ "Default", "Vocal(1)", "X&&Y&&Z" }));
    QCOMPARE(fileNames(win.path("Workspace_Config/EQ_config_R.QVconfig")),
        QStringList({ "Default", "Vocal(1)", "X&&Y&&Z" }));
    QCOMPARE(answers.shown[0].choices, QStringList({ "Store to device", "Rename", "Delete" }));
    // The dialog refuses a space and a sixteenth character; Cancel changes nothing.
    answers.menuItem("Rename");
    answers.dialog([](QDialog& d) {
        auto* edit = d.findChild<QLineEdit*>();
        ModalAnswers::typeText(edit, "a b");
        QCOMPARE(edit->text(), QStringLiteral("ab"));
        ModalAnswers::typeText(edit, "cdefghijklmnopqrs");
        QCOMPARE(edit->text().size(), 15);
        QCOMPARE(d.windowTitle(), QStringLiteral("Quorvel"));
        QCOMPARE(d.size(), QSize(180, 100));
        d.reject();
    });
    win.rightClick(win.button(0));
    QCOMPARE(win.button(0)->text(), QStringLiteral("Default"));
    // After a restart the buttons show what was typed.
    QVERIFY(win.reopen());
    QCOMPARE(win.texts(false), QStringList({ "Default", "Vocal(1)", "X&&Y&&Z" }));
    // Chinese menu texts for every value but 1.
    sysSetValue.Language = 2;
    answers.menuItem("");
    win.rightClick(win.button(0));
    QCOMPARE(answers.shown.last().choices, QStringList({ "导入下位机", "重命名", "删除" }));
}

void TestWorkspace::saveButton()
{
    QVERIFY(win.open({ "Default", "Rock" }));
    SignalLog log(win.ws);
    QTest::mouseClick(win.button(1), Qt::LeftButton);
    QTRY_VERIFY(log.events.contains("radio_Change"));
    QCoreApplication::processEvents(); // the reload's deferred fill
    EQ[4]->gain = -6.5;
    EQ_R[4]->gain = 1.5;
    QTest::mouseClick(internals(*win.w).ui->PButton_Set_2, Qt::LeftButton);
    QVERIFY(readText(win.path("Workspace_Config/EQ_config.QVconfig"))
                .contains("\"0 1 632 -6.5 0.707\""));
    QVERIFY(readText(win.path("Workspace_Config/EQ_config_R.QVconfig"))
                .contains("\"0 1 632 1.5 0.707\""));
}

void TestWorkspace::nameDialogs_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<QStringList>("texts"); // label, OK, Cancel
    QTest::newRow("English") << 1 << QStringList { "Enter your name:", "OK", "Cancel" };
    QTest::newRow("Chinese") << 0 << QStringList { "请输入名字：", "确认", "取消" };
    QTest::newRow("other") << 2 << QStringList { "请输入名字：", "确定", "取消" };
}

// Both name dialogs alike: texts, OK emits the typed name, Cancel and
// closing emit nothing.
void TestWorkspace::nameDialogs()
{
    QFETCH(int, language);
    QFETCH(QStringList, texts);
    sysSetValue.Language = language;
    MyDialog1 one;
    MyDialog2 two;
    for (PresetNameDialog* d :
        { static_cast<PresetNameDialog*>(&one), static_cast<PresetNameDialog*>(&two) }) {
        QStringList shown { d->findChild<QLabel*>()->text() };
        for (QPushButton* b : d->findChildren<QPushButton*>())
            shown << b->text();
        QCOMPARE(shown, texts);
        QVERIFY(!(d->windowFlags() & Qt::WindowContextHelpButtonHint));
        QSignalSpy accepted(d, qOverload<QString const&>(&PresetNameDialog::accepted));
        ModalAnswers answers;
        typeAndOk(answers, "Rock");
        answers.reject().close();
        QCOMPARE(modal::exec(*d), int(QDialog::Accepted));
        QCOMPARE(accepted.size(), 1);
        QCOMPARE(accepted.first().at(0).toString(), QStringLiteral("Rock"));
        QCOMPARE(modal::exec(*d), int(QDialog::Rejected));
        QCOMPARE(modal::exec(*d), int(QDialog::Rejected));
        QCOMPARE(accepted.size(), 1);
    }
    sysSetValue.Language = 1;
}

// Each use of the chooser starts as Cancel: closing it never repeats an
// earlier answer.
void TestWorkspace::slotChooser()
{
    CustomDialog chooser;
    ModalAnswers answers;
    answers.close().button("配置2").close().button("取消");
    modal::exec(chooser);
    QCOMPARE(chooser.selectedButton(), 3);
    QSignalSpy second(&chooser, &CustomDialog::button2Clicked);
    QCOMPARE(modal::exec(chooser), int(QDialog::Accepted));
    QCOMPARE(chooser.selectedButton(), 1);
    QCOMPARE(second.size(), 1);
    modal::exec(chooser);
    QCOMPARE(chooser.selectedButton(), 3);
    QSignalSpy cancel(&chooser, &CustomDialog::cancelClicked);
    QCOMPARE(modal::exec(chooser), int(QDialog::Rejected));
    QCOMPARE(cancel.size(), 1);
    // Language 2 keeps the texts; the cancel button wears the sheet's rules.
    chooser.setlanguage(2);
    QCOMPARE(chooser.findChild<QLabel*>()->text(), QStringLiteral("请选择导入哪一个用户配置"));
    chooser.setlanguage(1);
    QCOMPARE(chooser.findChild<QLabel*>()->text(),
        QStringLiteral("Please select which user configuration to import"));
    QVERIFY(chooser.styleSheet().contains("QPushButton#cancelButton { background-color: #4285f4;"));
    QCOMPARE(chooser.minimumWidth(), 300);
}

QTEST_MAIN(TestWorkspace)
#include "test_workspace.moc"
