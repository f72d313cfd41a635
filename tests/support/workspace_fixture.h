#pragma once

// A real main window in a fresh program directory, the simulated device and
// its slot models, for the preset panel's window and end-to-end tests:
// local preset files written before the window reads them, a model plugged
// in and drained, the slot frames the program wrote, and answers to the
// name dialogs.

#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <QtTest>

#include <array>
#include <memory>

#include "app/mainwindow.h"
#include "window_internals.h"
#include "app/mainwindow_ui.h"
#include "device/device_state.h"
#include "device/hid_device.h"
#include "device/threads.h"
#include "deadlines.h"
#include "modal_answers.h"
#include "settings/systemsetting.h"
#include "sim_slot_model.h"
#include "store/paths.h"
#include "store/presets.h"
#include "store/settings.h"
#include "store/shared_state.h"
#include "warning_log.h"
#include "widgets/resources.h"
#include "window_fixture.h"
#include "workspace/workspace.h"
#include "workspace/workspace_state.h"

namespace wsfix {

inline sim::Engine& engine() { return sim::Engine::instance(); }

// Once per test program: resources, the warning log and a fresh device.
inline void startWindowTests()
{
    initResources();
    testsupport::installWarningLog();
    engine().reset();
    engine().setIds(QV_VENDOR_ID, QV_PRODUCT_ID);
    auto_save_status = true;
}

// The slot models by the names the tests use.
inline sim::ModelSheet sheetNamed(const QString& name)
{
    if (name == "A")
        return sim::modelASheet();
    if (name == "B")
        return sim::modelBSheet();
    if (name == "mirel1")
        return sim::mirel1Sheet();
    if (name == "five")
        return sim::fiveSlotSheet();
    return sim::tenSlotSheet();
}

// A model with `n` user slots, more added as "U2", "U3", ...
inline sim::ModelSheet withUserSlots(sim::ModelSheet s, int n)
{
    while (int(s.user.size()) < n)
        s.user.push_back(
            sim::slotRecord("U" + std::to_string(s.user.size()), 1, sim::kUnityPreamp, {}));
    s.user.resize(size_t(n));
    return s;
}

// Every signal the panel sends the main window, in order, as "name args".
class SignalLog : public QObject
{
public:
    QStringList events;
    explicit SignalLog(Workspace* ws)
    {
        const auto note = [this](const QString& e) { events << e; };
        connect(ws, &Workspace::radio_Change, this, [note] { note("radio_Change"); });
        connect(ws, &Workspace::radio_Change2, this, [note] { note("radio_Change2"); });
        connect(ws, &Workspace::device_radio_Change, this,
            [note](int i) { note(QStringLiteral("device_radio_Change %1").arg(i)); });
        connect(ws, &Workspace::send_ui_biaozhi, this, [note](int i, QString s) {
            note(QStringLiteral("send_ui_biaozhi %1 %2").arg(i).arg(s));
        });
        connect(ws, &Workspace::send_radio_name, this, [note](int i, QString s) {
            note(QStringLiteral("send_radio_name %1 %2").arg(i).arg(s));
        });
        connect(ws, &Workspace::send_device_name, this,
            [note](QString s) { note("send_device_name " + s); });
        connect(ws, &Workspace::send_remove_index, this,
            [note](int i) { note(QStringLiteral("send_remove_index %1").arg(i)); });
        connect(ws, &Workspace::send_ui_biaozhi2, this,
            [note](int i) { note(QStringLiteral("send_ui_biaozhi2 %1").arg(i)); });
        connect(ws, &Workspace::send_ui_biaozhi3, this,
            [note](int i) { note(QStringLiteral("send_ui_biaozhi3 %1").arg(i)); });
        connect(ws, &Workspace::send_biaozhi_name, this,
            [note](QString s) { note("send_biaozhi_name " + s); });
        connect(ws, &Workspace::send_radio_name2, this, [note] { note("send_radio_name2"); });
        connect(ws, &Workspace::send_device_name_2, this,
            [note](QString s) { note("send_device_name_2 " + s); });
        connect(ws, &Workspace::workspace_finish, this, [note] { note("workspace_finish"); });
    }
};

// One local preset as its two files hold it; record 0 is the preamp.
struct LocalPreset
{
    QString name;
    std::array<EQ_data, 12> left;
    std::array<EQ_data, 12> right;
};

inline void writeLocalPresetSets(const QString& base, const QList<LocalPreset>& presets)
{
    for (const bool right : { false, true }) {
        QJsonArray array;
        for (int i = 0; i < presets.size(); ++i) {
            const std::array<EQ_data, 12>& set = right ? presets[i].right : presets[i].left;
            QJsonObject o;
            o.insert("index", i);
            o.insert("config_name", presets[i].name);
            o.insert("eq_gain", QStringLiteral("%1 %2").arg(int(set[0].status)).arg(set[0].gain));
            for (int k = 1; k <= 11; ++k) {
                const EQ_data& b = set[size_t(k)];
                o.insert(QStringLiteral("eq_%1").arg(k),
                    QStringLiteral("%1 %2 %3 %4 %5")
                        .arg(int(b.status))
                        .arg(b.type)
                        .arg(b.center_frequency)
                        .arg(b.gain)
                        .arg(b.Q));
            }
            array.append(o);
        }
        QFile f(base
            + (right ? "/Workspace_Config/EQ_config_R.QVconfig"
                     : "/Workspace_Config/EQ_config.QVconfig"));
        f.open(QIODevice::WriteOnly);
        f.write(QJsonDocument(array).toJson());
    }
}

// Local presets named `names`: preset i has band 1 on at 100 (i + 1) Hz with
// gain i + 1 dB on the left and -(i + 1) dB on the right.
inline void writeLocalPresets(const QString& base, const QStringList& names)
{
    QList<LocalPreset> presets;
    for (int i = 0; i < names.size(); ++i) {
        LocalPreset p { names[i], {}, {} };
        p.left[0] = p.right[0] = { 1, 1, 632, -3.0, 0.707 };
        p.left[1] = { 1, 1, 100 * (i + 1), double(i + 1), 0.707 };
        p.right[1] = { 1, 1, 100 * (i + 1), -double(i + 1), 0.707 };
        presets << p;
    }
    writeLocalPresetSets(base, presets);
}

inline QString readText(const QString& path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return QString::fromUtf8(f.readAll());
}

inline QStringList fileNames(const QString& path)
{
    QStringList names;
    for (const QJsonValue& v : QJsonDocument::fromJson(readText(path).toUtf8()).array())
        names << v.toObject().value("config_name").toString();
    return names;
}

// Device state the workspace and the link keep between connections.
inline void clearDeviceState()
{
    execute_biaozhi = false;
    Gain_flag = false;
    Ostra2_Sign = Mirel1_Sign = false;
    Silent_Sign = -1;
    Vantor3_flag = true;
    send_ui_biao = tem_ui_biao = 0;
    Device_EQ_sign = false;
    send_biaozhi = false;
    upload_sign = 0;
    MCU_Switch_Config_Index = -1;
    device_config_num = 0;
    device_config_count = device_config_count_R = 0;
    status_bar_value.device_eq_status = 0;
    test_str.clear();
}

// The slot frames the workspace writes, as "110e d2 t1 c1"; keep-alives,
// the hello, the channel-mode mask and band uploads are left out.
inline QStringList slotFrames()
{
    static const QList<uint32_t> kept { 0x110A, 0x110B, 0x110C, 0x110D, 0x110E, 0x110F, 0x1110,
        0x1119 };
    QStringList out;
    for (const sim::Frame& f : engine().writtenFrames())
        if (kept.contains(f.command))
            out << QStringLiteral("%1 d%2 t%3 c%4")
                       .arg(f.command, 0, 16)
                       .arg(f.data)
                       .arg(f.total)
                       .arg(f.current);
    return out;
}

// "cmd dD" of single frames (total 1, current 1); a run of record frames
// as "cmd xN" when they carry total N and current 0..N-1 in order, else as
// "cmd xN out of order".
inline QStringList frameSummary()
{
    QStringList out;
    const QStringList frames = slotFrames();
    for (int i = 0; i < frames.size(); ++i) {
        const QStringList f = frames[i].split(' ');
        if (f[2] == "t1" && f[3] == "c1") {
            out << f[0] + " " + f[1];
            continue;
        }
        int n = 0;
        while (i + n < frames.size() && frames[i + n].section(' ', 0, 0) == f[0]
            && frames[i + n].section(' ', 2, 2) != "t1")
            ++n;
        bool ordered = true;
        for (int k = 0; k < n; ++k) {
            const QStringList g = frames[i + k].split(' ');
            // A rename carries four words under the whole record's total.
            const int total = f[0] == "110d" ? g[2].mid(1).toInt() : n;
            ordered = ordered && g[2] == QStringLiteral("t%1").arg(total)
                && g[3] == QStringLiteral("c%1").arg(k);
        }
        out << QStringLiteral("%1 x%2%3").arg(f[0]).arg(n).arg(ordered ? "" : " out of order");
        i += n - 1;
    }
    return out;
}

inline std::vector<int32_t> recordWords(uint32_t command)
{
    std::vector<int32_t> words;
    for (const sim::Frame& f : engine().writtenFrames())
        if (f.command == command)
            words.push_back(f.data);
    return words;
}

// Types into the dialog's edit and clicks its OK button, as a user does.
inline void typeAndOk(ModalAnswers& answers, const QString& name)
{
    answers.dialog([name](QDialog& d) {
        auto* edit = d.findChild<QLineEdit*>();
        QVERIFY(edit);
        edit->clear();
        ModalAnswers::typeText(edit, name);
        for (QPushButton* b : d.findChildren<QPushButton*>())
            if (b->text() == "OK" || b->text() == "确认" || b->text() == "确定") {
                b->click();
                return;
            }
    });
}

class Window
{
public:
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<MainWindow> w;
    Workspace* ws = nullptr;
    std::shared_ptr<sim::SlotModel> model;
    // Fails a test on any box, menu or dialog it did not answer itself,
    // rather than leave it open.
    std::unique_ptr<ModalAnswers> unanswered;

    // A fresh directory with these local presets (none written: first start).
    bool open(const QStringList& locals = {}, int language = 1)
    {
        dir = freshWindowDir();
        if (!dir)
            return false;
        if (!locals.isEmpty())
            writeLocalPresets(dir->path(), locals);
        return reopen(language);
    }

    // A new window on the same directory, as after a restart.
    bool reopen(int language = 1)
    {
        w.reset();
        if (!unanswered)
            unanswered = std::make_unique<ModalAnswers>();
        clearDeviceState();
        selectedRadioIndex = preselectedRadioIndex = 0;
        config_Init();
        sysSetValue.Language = language;
        Config_update();
        // A window's destructor stops the search for good; the next one searches again.
        if (connect_thread) {
            connect_thread->wait(5000);
            connect_thread->running = true;
        }
        w = std::make_unique<MainWindow>();
        w->show();
        ws = internals(*w).ui->widget;
        QCoreApplication::processEvents(); // the deferred reload of preset 0
        return ws != nullptr;
    }

    QString path(const QString& relative) const { return dir->path() + "/" + relative; }

    void plug(std::shared_ptr<sim::SlotModel> m)
    {
        model = std::move(m);
        engine().setModel(model);
        engine().clearWrites();
        engine().plug();
        QTRY_COMPARE_WITH_TIMEOUT(hid_status, 1, 20000);
        QTRY_COMPARE_WITH_TIMEOUT(engine().queuedReports(), size_t(0), 20000);
        drain();
    }
    void plug(const sim::ModelSheet& sheet) { plug(std::make_shared<sim::SlotModel>(sheet)); }

    // Everything queued so far has been handled once a keep-alive behind it is echoed.
    void drain()
    {
        const int32_t n = model->tick(engine());
        QTRY_VERIFY_WITH_TIMEOUT(
            [n] {
                for (const sim::Frame& f : engine().writtenFrames())
                    if (f.command == 0x9D01 && f.data == n)
                        return true;
                return false;
            }(),
            20000);
        QCoreApplication::processEvents();
    }

    void unplug()
    {
        if (!engine().plugged())
            return;
        engine().unplug();
        QTRY_COMPARE_WITH_TIMEOUT(hid_status, 0, 20000);
        QTRY_VERIFY_WITH_TIMEOUT(test_str.isEmpty(), 20000);
        QCoreApplication::processEvents();
    }

    // Buttons of a list in layout order (header row left out).
    QList<QRadioButton*> buttons(bool device) const
    {
        QVBoxLayout* list = device ? ws->ui->verticalLayout_2 : ws->ui->verticalLayout;
        QList<QRadioButton*> out;
        for (int i = 1; i < list->count(); ++i)
            if (auto* b = qobject_cast<QRadioButton*>(list->itemAt(i)->widget()))
                out << b;
        return out;
    }
    QStringList texts(bool device) const
    {
        QStringList out;
        for (QRadioButton* b : buttons(device))
            out << b->text();
        return out;
    }
    QStringList names(bool device) const
    {
        QStringList out;
        for (QRadioButton* b : buttons(device))
            out << b->objectName();
        return out;
    }
    QRadioButton* button(int radioIndex) const
    {
        for (bool device : { false, true })
            for (QRadioButton* b : buttons(device))
                if (b->objectName() == QStringLiteral("RadioButton_%1").arg(radioIndex))
                    return b;
        return nullptr;
    }

    // Right-click on a preset button: its menu takes the next answer.
    void rightClick(QRadioButton* b)
    {
        QContextMenuEvent e(QContextMenuEvent::Mouse, QPoint(5, 5), b->mapToGlobal(QPoint(5, 5)));
        QCoreApplication::sendEvent(b, &e);
    }

    // Types into the open name edit of a list and presses Return.
    void finishEdit(QLineEdit* edit, const QString& text)
    {
        QVERIFY(edit);
        edit->selectAll();
        edit->del();
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Return);
        QCoreApplication::processEvents();
    }

    ~Window()
    {
        if (engine().plugged())
            unplug();
        w.reset();
    }
};

} // namespace wsfix
