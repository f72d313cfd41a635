// "Import Filters" end to end with the real preset panel and the simulated
// devices: "New Configuration" makes a local preset or a device slot, the
// new preset receives the file in both sets, and a connected device gets the
// whole set in 116 frames; a read-only factory preset refuses the import.
#include <QtTest>

#include "band_fixtures.h"
#include "deadlines.h"

#include "dsp/value_deal.h"
#include "editor/editor_state.h"
#include "io/io_state.h"
#include "widgets/customcontrols.h"
#include "test_files.h"
#include "workspace_fixture.h"

using namespace wsfix;

namespace {

constexpr int kUploadFrames = 116;

const QByteArray kFilterFile = "Preamp: -4.44 dB\n"
                               "Filter 1: ON LSC Fc 105 Hz Gain 5.5 dB Q 0.71\n"
                               "Filter 2: ON PK Fc 1000 Hz Gain -3 dB Q 2\n";

// The frames written from the first whole-set upload on.
std::vector<sim::Frame> fromFirstUpload()
{
    const std::vector<sim::Frame> all = engine().writtenFrames();
    for (std::size_t i = 0; i < all.size(); ++i)
        if (all[i].command == 0x9E01 && all[i].data == 1)
            return { all.begin() + std::ptrdiff_t(i), all.end() };
    return {};
}

} // namespace

class TestIoE2e : public QObject
{
    Q_OBJECT

    Window win;

    // Import Filters answered "New Configuration"; the panel then shows its
    // name edit.
    void importAsNewConfiguration(const QString& file)
    {
        ModalAnswers answers;
        answers.file(file).button("New Configuration");
        for (QAction* a : internals(*win.w).menu_Import->actions())
            if (a->text() == "Import Filters")
                a->trigger();
        QCOMPARE(answers.pending(), 0);
    }

    // The new preset holds the file in both sets, and a connected device
    // received it: both channels from EQ, every field of every record.
    void checkNewPreset(bool connected, bool tenths)
    {
        for (EQ_data* const* set : { EQ, EQ_R }) {
            QCOMPARE(bandOf(set, 0).section(' ', 0, 0), QString("1"));
            QCOMPARE(set[0]->gain, -4.4);
            QCOMPARE(bandOf(set, 1), QString("1 4 105 5.5 0.71"));
            QCOMPARE(bandOf(set, 2), QString("1 1 1000 -3 2"));
        }
        const std::vector<sim::Frame> frames = fromFirstUpload();
        if (!connected) {
            QVERIFY(frames.empty());
            return;
        }
        QVERIFY(frames.size() >= std::size_t(kUploadFrames));
        QList<uint32_t> commands { 0x9E01, 0x9C01, 0x9C02, 0x9C03, 0x9C04 };
        for (uint32_t b = 1; b <= 11; ++b)
            for (uint32_t field = 1; field <= 10; ++field)
                commands << ((0x90 + b) << 8 | field);
        commands << 0x9E01;
        for (int i = 0; i < kUploadFrames; ++i) {
            QCOMPARE(frames[i].command, commands[i]);
            QCOMPARE(frames[i].total, uint8_t(1));
            QCOMPARE(frames[i].current, uint8_t(1));
        }
        const int32_t preamp = int32_t(value_deal::Get_Modulus(-44));
        const int32_t gain1 = tenths ? 55 : 11;
        const int32_t gain2 = tenths ? -30 : -6;
        const QList<int32_t> head { 1, preamp, 1, preamp, 1, 4, 105, gain1, 7100, 1, 4, 105, gain1,
            7100, 1, 1, 1000, gain2, 20000, 1, 1, 1000, gain2, 20000, 1 };
        for (int i = 0; i < head.size(); ++i)
            QCOMPARE(frames[i].data, head[i]);
        QCOMPARE(frames[kUploadFrames - 1].data, 0);
    }

private slots:
    void initTestCase() { startWindowTests(); }
    void cleanup()
    {
        win.unplug();
        win.w.reset();
    }
    void cleanupTestCase() { stopDeviceThreads(); }

    void newLocalPreset_data()
    {
        QTest::addColumn<QString>("model"); // empty: no device
        QTest::newRow("no device") << "";
        QTest::newRow("one set, 0.5 dB") << "A";
        QTest::newRow("left/right, 0.1 dB") << "B";
    }

    void newLocalPreset()
    {
        QFETCH(QString, model);
        QVERIFY(win.open({ "Default" }));
        if (!model.isEmpty()) {
            win.plug(sheetNamed(model));
            // The device's active slot took the selection: back to the local preset.
            QTest::mouseClick(win.button(0), Qt::LeftButton);
        }
        QTRY_COMPARE(biaozhi_name, QString("xxxx"));
        QCOMPARE(selectedRadioIndex, 0);
        const QString file = win.path("filters.txt");
        putFile(file, kFilterFile);
        const QString before = bandOf(EQ, 1);

        importAsNewConfiguration(file);
        QVERIFY(win.ws->localNameEdit());
        QCOMPARE(bandOf(EQ, 1), before); // nothing arrives before the preset is named
        engine().clearWrites();
        win.finishEdit(win.ws->localNameEdit(), "Imp");

        QCOMPARE(win.texts(false), (QStringList { "Default", "Imp" }));
        QCOMPARE(selectedRadioIndex, 1);
        QCOMPARE(EQ[1], CB_data[1]->eq[1]);
        QCOMPARE(EQ_R[1], CB_data_R[1]->eq[1]);
        checkNewPreset(!model.isEmpty(), Gain_flag);
        QCOMPARE(bandOf(CB_data[0]->eq, 1), before); // the preset left keeps its bands
    }

    void newDeviceSlot_data()
    {
        QTest::addColumn<QString>("model");
        QTest::newRow("one set, numbered") << "A";
        QTest::newRow("left/right, plain") << "B";
    }

    void newDeviceSlot()
    {
        QFETCH(QString, model);
        QVERIFY(win.open({ "Default" }));
        win.plug(sheetNamed(model));
        QTest::mouseClick(win.button(100), Qt::LeftButton);
        QTRY_COMPARE(biaozhi_name, QString("yyyy"));
        const int usedSlots = device_config_count;
        const QString file = win.path("filters.txt");
        putFile(file, kFilterFile);

        importAsNewConfiguration(file);
        QVERIFY(win.ws->deviceNameEdit());
        engine().clearWrites();
        win.finishEdit(win.ws->deviceNameEdit(), "DevImp");

        QCOMPARE(device_config_count, usedSlots + 1);
        QCOMPARE(selectedRadioIndex, 100 + usedSlots);
        QCOMPARE(Device_CB_data[usedSlots]->config_name, QString("DevImp"));
        QCOMPARE(EQ[1], Device_CB_data[usedSlots]->eq[1]);
        checkNewPreset(true, Gain_flag);
    }

    // A factory preset of a device whose factory presets are read-only
    // refuses the import before any file dialog.
    void factoryPresetRefuses()
    {
        QVERIFY(win.open({ "Default" }));
        win.plug(sheetNamed("B"));
        QVERIFY(!execute_biaozhi);
        QTest::mouseClick(win.button(108), Qt::LeftButton);
        QTRY_COMPARE(morendevice_name, QString("Warm"));
        QCOMPARE(biaozhi_name, QString("yyyy"));
        const QString before = bandOf(EQ, 1);
        ModalAnswers answers;
        answers.button("OK");
        for (QAction* a : internals(*win.w).menu_Import->actions())
            if (a->text() == "Import Filters")
                a->trigger();
        QCOMPARE(answers.pending(), 0);
        QCOMPARE(answers.shown.size(), 1);
        QCOMPARE(answers.shown[0].kind, ModalAnswers::Kind::Dialog);
        QVERIFY(answers.shown[0].text.startsWith("The preset configuration cannot be modified"));
        QCOMPARE(bandOf(EQ, 1), before);
    }
};

QTEST_MAIN(TestIoE2e)
#include "test_io_e2e.moc"
