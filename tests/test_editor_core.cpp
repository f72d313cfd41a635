// The editor state without widgets: the start-up pointing of the filter sets,
// the rows a reload shows, the channel-mode mask after a slot deletion and
// the roads of the channel-mode switch.
#include <QtTest>

#include <QTemporaryDir>

#include "dsp/band.h"
#include "editor/editor_rules.h"
#include "editor/set_upload.h"
#include "store/paths.h"
#include "store/presets.h"
#include "workspace/workspace_state.h"

namespace {

// Twelve records to point a set at.
struct Set
{
    EQ_data records[12];
    EQ_data* ptr[12];
    Set()
    {
        for (int k = 0; k < 12; ++k)
            ptr[k] = &records[k];
    }
};

ChannelModeState state(int hid, int code, bool tenths, const QString& current, const QString& old,
    const QString& kind = QStringLiteral("xxxx"), int uiFlag = 0, int temFlag = 0, int one = 1)
{
    ChannelModeState s;
    s.hidStatus = hid;
    s.deviceEqStatus = code;
    s.gainTenths = tenths;
    s.currentKey = current;
    s.oldKey = old;
    s.selectionKind = kind;
    s.uiFlag = uiFlag;
    s.temFlag = temFlag;
    s.oneBiaozhi = one;
    return s;
}

// "9c01 d33554432" per frame; every frame must be a single-value frame.
QStringList texts(const FrameList& frames)
{
    QStringList out;
    for (const auto& f : frames) {
        if (f.total != 1 || f.current != 1 || f.protocol != 0x20)
            out << QStringLiteral("bad frame");
        out << QStringLiteral("%1 d%2").arg(f.cmd, 0, 16).arg(f.data);
    }
    return out;
}

QString fr(uint32_t cmd, int32_t data)
{
    return QStringLiteral("%1 d%2").arg(cmd, 0, 16).arg(data);
}

// One channel's group of a band: all five fields, or its status alone.
QStringList bandGroup(int band, bool right, const QList<int32_t>& fields)
{
    QStringList out;
    const uint32_t base = 0x9000u + (uint32_t(band) << 8) + (right ? 5u : 0u);
    if (fields.size() == 1)
        return { fr(base + 5, fields[0]) };
    for (int i = 0; i < 5; ++i)
        out << fr(base + 1 + uint32_t(i), fields[i]);
    return out;
}

constexpr int32_t kUnity = 33554432;
constexpr int32_t kMinus3dB = 23754692;

} // namespace

class TestEditorCore : public QObject
{
    Q_OBJECT

private slots:
    void setsPointAtLocalPresetZero();
    void rowScan_data();
    void rowScan();
    void rowScanCaptions();
    void maskDeletion_data();
    void maskDeletion();
    void slotBits();
    void keysAfterLocalRemoval();
    void editedPresetSavedWhereItLives_data();
    void editedPresetSavedWhereItLives();
    void splitRoad_data();
    void splitRoad();
    void linkedRoad_data();
    void linkedRoad();
    void localModes();
    void linkedUpload();
    void everyRecordOnIs116Frames();
    void splitUpload_data();
    void splitUpload();
    void clearedUploadLinked();
    void clearedUploadSplit_data();
    void clearedUploadSplit();
};

void TestEditorCore::setsPointAtLocalPresetZero()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    setAppDataDirForTesting(dir.path());
    QDir(dir.path()).mkpath("Workspace_Config");
    EQ_config_Init();
    QCOMPARE(config_count, 1);
    EQ_value_update();
    for (int k = 0; k < 12; ++k) {
        QCOMPARE(EQ[k], CB_data[0]->eq[k]);
        QCOMPARE(EQ_R[k], CB_data_R[0]->eq[k]);
    }
    // The start-up values of the "Default" preset are kept.
    QCOMPARE(EQ[0]->gain, -3.0);
    QCOMPARE(EQ[1]->center_frequency, 20);
    // An edit through the set is a change of the preset, and a save stores it.
    EQ[2]->gain = 4.5;
    QVERIFY(EQ_config_Update(0));
    EQ_config_Init();
    QCOMPARE(CB_data[0]->eq[2]->gain, 4.5);

    // No local preset: the records reached are reset, both channels.
    EQ_value_update();
    config_count = 0;
    EQ_value_update();
    QCOMPARE(int(EQ[0]->status), 0);
    QCOMPARE(EQ[0]->gain, 0.0);
    QCOMPARE(int(EQ[1]->status), 0);
    QCOMPARE(EQ[1]->center_frequency, 632);
    QCOMPARE(EQ_R[0]->gain, 0.0);
    QCOMPARE(EQ[2]->gain, 0.0);
}

void TestEditorCore::rowScan_data()
{
    QTest::addColumn<QList<int>>("changedOff"); // bands given 1000 Hz, off
    QTest::addColumn<QList<int>>("defaultOn"); // bands on with the default values
    QTest::addColumn<int>("rows");
    QTest::newRow("all default") << QList<int> {} << QList<int> { 3, 4, 10 } << 2;
    QTest::newRow("band 7 off, changed") << QList<int> { 7 } << QList<int> { 9 } << 7;
    QTest::newRow("band 1 only") << QList<int> { 1, 2 } << QList<int> {} << 2;
    QTest::newRow("band 10") << QList<int> { 10 } << QList<int> {} << 10;
    QTest::newRow("highest wins") << QList<int> { 5, 3 } << QList<int> {} << 5;
    QTest::newRow("band 11 never counts") << QList<int> { 11 } << QList<int> {} << 2;
}

void TestEditorCore::rowScan()
{
    QFETCH(QList<int>, changedOff);
    QFETCH(QList<int>, defaultOn);
    QFETCH(int, rows);
    Set s;
    for (int b : changedOff)
        s.records[b].center_frequency = 1000;
    for (int b : defaultOn)
        s.records[b].status = 1;
    QCOMPARE(scanBandRows(s.ptr).shownRows, rows);
}

void TestEditorCore::rowScanCaptions()
{
    Set s;
    s.records[7].center_frequency = 1000; // off, changed
    s.records[9].status = 1; // on, default values
    s.records[4].status = 2; // not on, default values
    s.records[5].gain = -0.0; // -0.0 == 0.0: still default
    s.records[6].Q = 0.7070001; // exact compare: changed
    const RowLayout layout = scanBandRows(s.ptr);
    QCOMPARE(layout.shownRows, 7);
    QVERIFY(!layout.captionEnabled[7]);
    QVERIFY(!layout.captionEnabled[9]);
    QVERIFY(layout.captionEnabled[4]);
    QVERIFY(layout.captionEnabled[5]);
    QVERIFY(!layout.captionEnabled[6]);
    QVERIFY(layout.captionEnabled[11]);
}

void TestEditorCore::maskDeletion_data()
{
    QTest::addColumn<uint>("mask");
    QTest::addColumn<int>("slot");
    QTest::addColumn<uint>("expected");
    QTest::newRow("slot 0 of 0,1,9") << 0x203u << 0 << 0x101u;
    QTest::newRow("slot 9 of 0,1,9") << 0x203u << 9 << 0x003u;
    QTest::newRow("slot 3 of all ten") << 0x3FFu << 3 << 0x1FFu;
    QTest::newRow("slot 2 moves 3 down") << 0x008u << 2 << 0x004u;
    QTest::newRow("slot 2 drops its bit") << 0x004u << 2 << 0x000u;
    QTest::newRow("high bits cleared") << 0xFFFFFC00u << 0 << 0x000u;
    QTest::newRow("slot 40 keeps 0..8") << 0x3FFu << 40 << 0x1FFu;
    QTest::newRow("slot -1 keeps 0..8") << 0x2AAu << -1 << 0x0AAu;
}

void TestEditorCore::maskDeletion()
{
    QFETCH(uint, mask);
    QFETCH(int, slot);
    QFETCH(uint, expected);
    QCOMPARE(maskWithoutSlot(mask, slot), expected);
}

void TestEditorCore::slotBits()
{
    QCOMPARE(slotBit(0), 1u);
    QCOMPARE(slotBit(9), 0x200u);
    QCOMPARE(slotBit(31), 0x80000000u);
    QCOMPARE(slotBit(32), 1u);
    QCOMPARE(slotBit(-1), 0x80000000u);
    QCOMPARE(localPresetKey(3), QStringLiteral("local:3"));
    QCOMPARE(devicePresetKey(3), QStringLiteral("device:3"));
    QVERIFY(localPresetKey(0) != devicePresetKey(0));
}

void TestEditorCore::keysAfterLocalRemoval()
{
    QCOMPARE(keyAfterLocalRemoval("local:1", 2), QStringLiteral("local:1"));
    QCOMPARE(keyAfterLocalRemoval("local:3", 2), QStringLiteral("local:2"));
    const QString gone = keyAfterLocalRemoval("local:2", 2);
    QVERIFY(!gone.startsWith("local:"));
    QVERIFY(gone != keyAfterLocalRemoval("local:3", 2));
    QCOMPARE(keyAfterLocalRemoval("device:4", 0), QStringLiteral("device:4"));
    QCOMPARE(keyAfterLocalRemoval("thesame", 0), QStringLiteral("thesame"));
}

void TestEditorCore::editedPresetSavedWhereItLives_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("saved");
    QTest::newRow("first local") << 0 << "local 0";
    QTest::newRow("last local") << 99 << "local 99";
    QTest::newRow("first device slot") << 100 << "device 100";
    QTest::newRow("last device slot") << 109 << "device 109";
}

void TestEditorCore::editedPresetSavedWhereItLives()
{
    QFETCH(int, index);
    QFETCH(QString, saved);
    QStringList calls;
    saveEditedPreset(
        index, [&calls](int i) { calls << QStringLiteral("device %1").arg(i); },
        [&calls](int i) { calls << QStringLiteral("local %1").arg(i); });
    QCOMPARE(calls, QStringList { saved });
}

void TestEditorCore::splitRoad_data()
{
    QTest::addColumn<int>("hid");
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("tenths");
    QTest::addColumn<bool>("samePreset");
    QTest::addColumn<int>("step");
    QTest::newRow("no device, same preset") << 0 << 0 << false << true << int(SplitStep::CopyLeft);
    QTest::newRow("no device, switch") << 0 << 0 << false << false << int(SplitStep::SyncNames);
    QTest::newRow("129, same") << 1 << 129 << false << true << int(SplitStep::CopyLeft);
    QTest::newRow("128, switch") << 1 << 128 << false << false << int(SplitStep::SyncNames);
    QTest::newRow("193 by its gain unit") << 1 << 193 << true << true << int(SplitStep::CopyLeft);
    QTest::newRow("one-set device") << 1 << 1 << false << true << int(SplitStep::None);
    QTest::newRow("device EQ off") << 1 << 0 << false << false << int(SplitStep::None);
}

void TestEditorCore::splitRoad()
{
    QFETCH(int, hid);
    QFETCH(int, code);
    QFETCH(bool, tenths);
    QFETCH(bool, samePreset);
    QFETCH(int, step);
    const auto s = state(hid, code, tenths, "local:1", samePreset ? "local:1" : "local:2");
    QCOMPARE(int(splitRoadStep(s)), step);
}

void TestEditorCore::linkedRoad_data()
{
    QTest::addColumn<int>("hid");
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("tenths");
    QTest::addColumn<bool>("samePreset");
    QTest::addColumn<int>("uiFlag");
    QTest::addColumn<int>("temFlag");
    QTest::addColumn<int>("one");
    QTest::addColumn<bool>("slotSwitch");
    QTest::addColumn<bool>("asks");
    QTest::newRow("no device, same preset")
        << 0 << 0 << false << true << 0 << 0 << 1 << false << true;
    QTest::newRow("no device, start-up")
        << 0 << 0 << false << true << 0 << 0 << 0 << false << false;
    QTest::newRow("no device, switch") << 0 << 0 << false << false << 0 << 0 << 1 << false << false;
    QTest::newRow("no device, stale slot")
        << 0 << 0 << false << true << 2 << 1 << 1 << false << true;
    QTest::newRow("129 same") << 1 << 129 << false << true << 0 << 0 << 1 << false << true;
    QTest::newRow("129 slot switch") << 1 << 129 << false << true << 2 << 1 << 1 << true << true;
    QTest::newRow("192 same") << 1 << 192 << true << true << 0 << 0 << 1 << false << true;
    QTest::newRow("one-set device") << 1 << 1 << false << true << 0 << 0 << 1 << false << false;
    QTest::newRow("connected EQ off") << 1 << 0 << false << true << 0 << 0 << 1 << false << false;
}

void TestEditorCore::linkedRoad()
{
    QFETCH(int, hid);
    QFETCH(int, code);
    QFETCH(bool, tenths);
    QFETCH(bool, samePreset);
    QFETCH(int, uiFlag);
    QFETCH(int, temFlag);
    QFETCH(int, one);
    QFETCH(bool, slotSwitch);
    QFETCH(bool, asks);
    const auto s = state(hid, code, tenths, "device:1", samePreset ? "device:1" : "device:2",
        "yyyy", uiFlag, temFlag, one);
    QCOMPARE(isSlotSwitch(s), slotSwitch);
    QCOMPARE(asksToDiscardRight(s), asks);
    QCOMPARE(sendsModeMask(s), hid == 1);
    QCOMPARE(storesLocalMode(s), hid == 0);
}

void TestEditorCore::localModes()
{
    QVERIFY(isLinkedModeText("L+R"));
    QVERIFY(!isLinkedModeText("l+r"));
    QVERIFY(!isLinkedModeText(""));
    QCOMPARE(defaultLocalMode(state(0, 0, false, "", ""), 1), 1);
    QCOMPARE(defaultLocalMode(state(0, 1, false, "", ""), 1), 0);
    QCOMPARE(defaultLocalMode(state(1, 0, false, "", ""), 1), 0);
    QCOMPARE(defaultLocalMode(state(1, 129, false, "", ""), 1), 1);
    QCOMPARE(defaultLocalMode(state(1, 129, false, "", ""), -1), -1);
    QVERIFY(keepsStoredSplitMode(state(0, 0, false, "", "")));
    QVERIFY(keepsStoredSplitMode(state(1, 128, false, "", "")));
    QVERIFY(keepsStoredSplitMode(state(1, 0, true, "", "")));
    QVERIFY(!keepsStoredSplitMode(state(1, 0, false, "", "")));
    QVERIFY(!keepsStoredSplitMode(state(1, 1, false, "", "")));
    QVERIFY(storesLocalMode(state(1, 129, false, "", "", "xxxx")));
    QVERIFY(!storesLocalMode(state(1, 129, false, "", "", "yyyy")));
}

void TestEditorCore::linkedUpload()
{
    // Preamp on at -3 dB, band 1 a 20 Hz peak at +3 dB, Q 0.2, the rest off.
    Set left;
    left.records[0] = EQ_data { 1, 1, 632, -3.0, 0.707 };
    left.records[1] = EQ_data { 1, 1, 20, 3.0, 0.2 };
    Set right;
    right.records[1].status = 1; // never read when linked
    for (bool tenths : { false, true }) {
        QStringList expected { fr(0x9E01, 1), fr(0x9C01, kMinus3dB), fr(0x9C02, 1),
            fr(0x9C03, kMinus3dB), fr(0x9C04, 1) };
        expected << bandGroup(1, false, { 1, 20, tenths ? 30 : 6, 2000, 1 })
                 << bandGroup(1, true, { 1, 20, tenths ? 30 : 6, 2000, 1 });
        for (int b = 2; b <= 11; ++b)
            expected << bandGroup(b, false, { 0 }) << bandGroup(b, true, { 0 });
        expected << fr(0x9E01, 0);
        const QStringList got
            = texts(setUploadFrames(EditRoute::Linked, left.ptr, right.ptr, 129, tenths));
        QCOMPARE(got.size(), 36);
        QCOMPARE(got, expected);
    }
    // Preamp off: its two status frames alone.
    left.records[0].status = 0;
    const QStringList got
        = texts(setUploadFrames(EditRoute::Linked, left.ptr, right.ptr, 0, false));
    QCOMPARE(got.mid(1, 2), (QStringList { fr(0x9C02, 0), fr(0x9C04, 0) }));
}

void TestEditorCore::everyRecordOnIs116Frames()
{
    Set left;
    for (auto& r : left.records)
        r.status = 1;
    QCOMPARE(setUploadFrames(EditRoute::Linked, left.ptr, left.ptr, 0, false).size(), 116);
    // Status 2 counts as off and is sent as it stands.
    left.records[4].status = 2;
    const QStringList got = texts(setUploadFrames(EditRoute::Linked, left.ptr, left.ptr, 0, false));
    QCOMPARE(got.size(), 108);
    QVERIFY(got.contains(fr(0x9405, 2)) && got.contains(fr(0x940A, 2)));
}

void TestEditorCore::splitUpload_data()
{
    QTest::addColumn<bool>("rightEdited");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("frames"); // "command dvalue", in the order written
    // Bands 4 to 11 are off in both channels: their status alone.
    const QString leftOff
        = "9405 d0, 9505 d0, 9605 d0, 9705 d0, 9805 d0, 9905 d0, 9a05 d0, 9b05 d0";
    const QString rightOff
        = "940a d0, 950a d0, 960a d0, 970a d0, 980a d0, 990a d0, 9a0a d0, 9b0a d0";
    const QString bothOff
        = "9405 d0, 940a d0, 9505 d0, 950a d0, 9605 d0, 960a d0, 9705 d0, 970a d0, "
          "9805 d0, 980a d0, 9905 d0, 990a d0, 9a05 d0, 9a0a d0, 9b05 d0, 9b0a d0";
    // The right channel alone; gains in half decibels, or in tenths from 192 on.
    QTest::newRow("right, 128")
        << true << 128
        << "9e01 d1, 9c04 d0, 910a d0, 9206 d5, 9207 d8000, 9208 d-9, 9209 d5000, 920a d1, "
           "930a d2, "
            + rightOff + ", 9e01 d0";
    QTest::newRow("right, 192")
        << true << 192
        << "9e01 d1, 9c04 d0, 910a d0, 9206 d5, 9207 d8000, 9208 d-45, 9209 d5000, 920a d1, "
           "930a d2, "
            + rightOff + ", 9e01 d0";
    // Preamps linked on the device: the other channel too, left before right
    // per record, its records with status 2 left out.
    QTest::newRow("right, 129")
        << true << 129
        << "9e01 d1, 9c01 d23754692, 9c02 d1, 9c04 d0, 9101 d2, 9102 d1000, 9103 d9, 9104 d10000, "
           "9105 d1, 910a d0, 9205 d0, 9206 d5, 9207 d8000, 9208 d-9, 9209 d5000, 920a d1, "
           "930a d2, "
            + bothOff + ", 9e01 d0";
    QTest::newRow("right, 193")
        << true << 193
        << "9e01 d1, 9c01 d23754692, 9c02 d1, 9c04 d0, 9101 d2, 9102 d1000, 9103 d45, 9104 d10000, "
           "9105 d1, 910a d0, 9205 d0, 9206 d5, 9207 d8000, 9208 d-45, 9209 d5000, 920a d1, "
           "930a d2, "
            + bothOff + ", 9e01 d0";
    QTest::newRow("left, 129")
        << false << 129
        << "9e01 d1, 9c01 d23754692, 9c02 d1, 9c04 d0, 9101 d2, 9102 d1000, 9103 d9, 9104 d10000, "
           "9105 d1, 910a d0, 9205 d0, 9206 d5, 9207 d8000, 9208 d-9, 9209 d5000, 920a d1, "
           "9305 d2, "
            + bothOff + ", 9e01 d0";
    QTest::newRow("left, 0")
        << false << 0
        << "9e01 d1, 9c01 d23754692, 9c02 d1, 9101 d2, 9102 d1000, 9103 d9, 9104 d10000, 9105 d1, "
           "9205 d0, 9305 d2, "
            + leftOff + ", 9e01 d0";
}

void TestEditorCore::splitUpload()
{
    QFETCH(bool, rightEdited);
    QFETCH(int, code);
    QFETCH(QString, frames);
    // Left: preamp on at -3 dB, band 1 a low-pass on, band 2 off, band 3 with status 2.
    Set left;
    left.records[0] = EQ_data { 1, 1, 632, -3.0, 0.707 };
    left.records[1] = EQ_data { 1, 2, 1000, 4.5, 1.0 };
    left.records[3].status = 2;
    // Right: preamp off, band 2 a high shelf on, band 3 with status 2.
    Set right;
    right.records[2] = EQ_data { 1, 5, 8000, -4.5, 0.5 };
    right.records[3].status = 2;
    const EditRoute route = rightEdited ? EditRoute::Right : EditRoute::Left;
    QCOMPARE(texts(setUploadFrames(route, left.ptr, right.ptr, code, code >= 192)),
        frames.split(QStringLiteral(", ")));
}

void TestEditorCore::clearedUploadLinked()
{
    Set cleared;
    QStringList expected { fr(0x9E01, 1), fr(0x9C01, kUnity), fr(0x9C02, 0), fr(0x9C03, kUnity),
        fr(0x9C04, 0) };
    for (int b = 1; b <= 11; ++b)
        expected << bandGroup(b, false, { 1, 632, 0, 7070, 0 })
                 << bandGroup(b, true, { 1, 632, 0, 7070, 0 });
    expected << fr(0x9E01, 0);
    const QStringList got
        = texts(clearedSetUploadFrames(EditRoute::Linked, cleared.ptr, nullptr, 0, false));
    QCOMPARE(got.size(), 116);
    QCOMPARE(got, expected);
}

void TestEditorCore::clearedUploadSplit_data()
{
    QTest::addColumn<bool>("rightEdited");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("frames");
    QTest::newRow("left, 0") << false << 0 << 59;
    QTest::newRow("left, 128") << false << 128 << 59;
    QTest::newRow("right, 192") << true << 192 << 59;
    QTest::newRow("left, 129") << false << 129 << 59 + 2 + 5 + 5 + 8;
    QTest::newRow("right, 193") << true << 193 << 59 + 2 + 5 + 5 + 8;
}

void TestEditorCore::clearedUploadSplit()
{
    QFETCH(bool, rightEdited);
    QFETCH(int, code);
    QFETCH(int, frames);
    const bool tenths = code >= 192;
    Set edited; // cleared
    Set other; // preamp on at -3 dB, band 1 on at +4.5 dB, band 2 at -4.5 dB, band 3 status 2
    other.records[0] = EQ_data { 1, 1, 632, -3.0, 0.707 };
    other.records[1] = EQ_data { 1, 1, 632, 4.5, 0.707 };
    other.records[2] = EQ_data { 1, 1, 632, -4.5, 0.707 };
    other.records[3].status = 2;
    EQ_data* const* left = rightEdited ? other.ptr : edited.ptr;
    EQ_data* const* right = rightEdited ? edited.ptr : other.ptr;
    const EditRoute route = rightEdited ? EditRoute::Right : EditRoute::Left;
    const QStringList got = texts(clearedSetUploadFrames(route, left, right, code, tenths));
    QCOMPARE(got.size(), frames);
    // The edited channel's groups are whole, left before right per record.
    const bool otherSent = frames > 59;
    QStringList expected { fr(0x9E01, 1) };
    const QStringList editedPreamp = rightEdited
        ? QStringList { fr(0x9C03, kUnity), fr(0x9C04, 0) }
        : QStringList { fr(0x9C01, kUnity), fr(0x9C02, 0) };
    const QStringList otherPreamp = rightEdited
        ? QStringList { fr(0x9C01, kMinus3dB), fr(0x9C02, 1) }
        : QStringList { fr(0x9C03, kMinus3dB), fr(0x9C04, 1) };
    if (otherSent && rightEdited)
        expected << otherPreamp << editedPreamp;
    else if (otherSent)
        expected << editedPreamp << otherPreamp;
    else
        expected << editedPreamp;
    for (int b = 1; b <= 11; ++b) {
        const QStringList mine = bandGroup(b, rightEdited, { 1, 632, 0, 7070, 0 });
        QStringList theirs;
        if (otherSent && b == 1)
            theirs = bandGroup(b, !rightEdited, { 1, 632, tenths ? 45 : 9, 7070, 1 });
        else if (otherSent && b == 2)
            theirs = bandGroup(b, !rightEdited, { 1, 632, tenths ? -45 : -9, 7070, 1 });
        else if (otherSent && b != 3)
            theirs = bandGroup(b, !rightEdited, { 0 });
        expected << (rightEdited ? theirs + mine : mine + theirs);
    }
    expected << fr(0x9E01, 0);
    QCOMPARE(got, expected);
}

QTEST_GUILESS_MAIN(TestEditorCore)
#include "test_editor_core.moc"
