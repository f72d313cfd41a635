// The records, frames and name rules of the preset panel without widgets:
// device records packed from presets and read back by the stream parser,
// the frame lists of the store, save and rename roads, the numbered slot
// label, the distinct-name rule and the slot limit.
#include <QtTest>

#include <cmath>
#include <limits>

#include "device/preset_records.h"
#include "dsp/band.h"
#include "dsp/value_deal.h"
#include "band_fixtures.h"
#include "sim_models.h"
#include "store/presets.h"
#include "workspace/preset_names.h"

using Words = std::vector<int32_t>;
Q_DECLARE_METATYPE(Words)
Q_DECLARE_METATYPE(RecordLayout)
Q_DECLARE_METATYPE(RecordBuilder)

namespace {

// A preset with its own band records: preamp and band 1 as given, bands
// 2-11 cleared (off, PK, 632 Hz, 0 dB, Q 0.707).
struct Preset
{
    EQ_data bands[12];
    EQ_config_data record;
    Preset(EQ_data preamp = { 0, 1, 632, 0.0, 0.707 }, EQ_data band1 = {})
    {
        bands[0] = preamp;
        bands[1] = band1;
        for (int k = 0; k < 12; ++k)
            record.eq[k] = &bands[k];
    }
};

// A record as the device streams it, without the four unread words.
Words leftRightImage(const std::string& name, int32_t lStatus, int32_t lWord, int32_t rStatus,
    int32_t rWord, const sim::Band& l1, const sim::Band& r1)
{
    Words w = sim::leftRightRecord(name, lStatus, lWord, rStatus, rWord, l1, r1);
    w.resize(kLeftRightRecordWords);
    return w;
}

constexpr int32_t kPlus3 = 47396876; // +3.0 dB
constexpr int32_t kMinus3 = 23754692; // -3.0 dB, the program's own word
constexpr int32_t kUnity = 33554432;

int fixedWidth(const QString& text)
{
    return int(text.size()) * 10; // ten pixels a character
}

} // namespace

class TestPresetRecords : public QObject
{
    Q_OBJECT

private slots:
    void packedImages_data();
    void packedImages();
    void bandFieldsHeldToTheEditorRanges_data();
    void bandFieldsHeldToTheEditorRanges();
    void receivedBandsTakeTheFieldRules_data();
    void receivedBandsTakeTheFieldRules();
    void namesAreCutAtWholeCharacters_data();
    void namesAreCutAtWholeCharacters();
    void parserReadsEveryPackedRecordBack_data();
    void parserReadsEveryPackedRecordBack();
    void leftRightGainsAreTenthsExactly();
    void frameLists();
    void numberedLabel_data();
    void numberedLabel();
    void distinctNames_data();
    void distinctNames();
    void slotLimit_data();
    void slotLimit();
    void radioIndexes();
    void namePattern_data();
    void namePattern();
};

void TestPresetRecords::packedImages_data()
{
    QTest::addColumn<RecordLayout>("layout");
    QTest::addColumn<RecordBuilder>("builder");
    QTest::addColumn<bool>("gainFlag");
    QTest::addColumn<QString>("name");
    QTest::addColumn<double>("preampGain");
    QTest::addColumn<double>("rightPreampGain");
    QTest::addColumn<double>("band1Gain");
    QTest::addColumn<double>("rightBand1Gain");
    QTest::addColumn<Words>("expected");

    using L = RecordLayout;
    using B = RecordBuilder;
    const sim::Band rock { 1, 1, -6, 1000, 7070 };
    const sim::Band rockTenths { 1, 1, -30, 1000, 7070 };
    // "Rock" of model A: preamp on +3.0 dB, band 1 on PK -3.0 dB 1000 Hz Q 0.707.
    const Words modelARock = sim::oneSetRecord("Rock", 1, kPlus3, &rock);
    QTest::newRow("one-set store")
        << L::OneSet << B::Store << false << "Rock" << 3.0 << 0.0 << -3.0 << 0.0 << modelARock;
    QTest::newRow("one-set store keeps 0.5 dB under Gain_flag")
        << L::OneSet << B::Store << true << "Rock" << 3.0 << 0.0 << -3.0 << 0.0 << modelARock;
    QTest::newRow("one-set save") << L::OneSet << B::Save << false << "Rock" << 3.0 << 0.0 << -3.0
                                  << 0.0 << modelARock;
    QTest::newRow("one-set save under Gain_flag: x 10")
        << L::OneSet << B::Save << true << "Rock" << 3.0 << 0.0 << -3.0 << 0.0
        << sim::oneSetRecord("Rock", 1, kPlus3, &rockTenths);
    // "Live" of model B: left on 0 dB, right on -3.0 dB, left band -3.0 dB,
    // right band LSC +6.0 dB 100 Hz.
    const sim::Band liveRight { 1, 4, 60, 100, 7070 };
    const sim::Band liveRightHalf { 1, 4, 12, 100, 7070 };
    QTest::newRow("left/right store, Gain_flag")
        << L::LeftRight << B::Store << true << "Live" << 0.0 << -3.0 << -3.0 << 6.0
        << leftRightImage("Live", 1, kUnity, 1, kMinus3, rockTenths, liveRight);
    QTest::newRow("left/right store, 0.5 dB")
        << L::LeftRight << B::Store << false << "Live" << 0.0 << -3.0 << -3.0 << 6.0
        << leftRightImage("Live", 1, kUnity, 1, kMinus3, rock, liveRightHalf);
    QTest::newRow("left/right save, Gain_flag")
        << L::LeftRight << B::Save << true << "Live" << 0.0 << -3.0 << -3.0 << 6.0
        << leftRightImage("Live", 1, kUnity, 1, kMinus3, rockTenths, liveRight);
    QTest::newRow("left/right save, 0.5 dB")
        << L::LeftRight << B::Save << false << "Live" << 0.0 << -3.0 << -3.0 << 6.0
        << leftRightImage("Live", 1, kUnity, 1, kMinus3, rock, liveRightHalf);
    // Truncation toward zero: -0.75 dB x 2 is -1 (0xFF), not -2.
    const sim::Band quarter { 1, 1, -1, 1000, 7070 };
    QTest::newRow("-0.75 dB") << L::OneSet << B::Store << false << "" << 0.0 << 0.0 << -0.75 << 0.0
                              << sim::oneSetRecord("", 1, kUnity, &quarter);
    // Outside the editor's range: held to +-12 dB, preamp too.
    const sim::Band twelve { 1, 1, 120, 1000, 7070 };
    QTest::newRow("gain held to +12 dB")
        << L::OneSet << B::Save << true << "" << 30.0 << 0.0 << 40.0 << 0.0
        << sim::oneSetRecord("", 1, 133582576, &twelve);
    const sim::Band minusTwelve { 1, 1, -120, 1000, 7070 };
    QTest::newRow("gain held to -12 dB")
        << L::OneSet << B::Save << true << "" << -30.0 << 0.0 << -99.0 << 0.0
        << sim::oneSetRecord("", 1, 8428470, &minusTwelve);
    const sim::Band nanBand { 1, 1, 0, 1000, 7070 };
    QTest::newRow("not a number reads 0 dB")
        << L::OneSet << B::Save << true << "" << std::nan("") << 0.0 << std::nan("") << 0.0
        << sim::oneSetRecord("", 1, kUnity, &nanBand);
}

void TestPresetRecords::packedImages()
{
    QFETCH(RecordLayout, layout);
    QFETCH(RecordBuilder, builder);
    QFETCH(bool, gainFlag);
    QFETCH(QString, name);
    QFETCH(double, preampGain);
    QFETCH(double, rightPreampGain);
    QFETCH(double, band1Gain);
    QFETCH(double, rightBand1Gain);
    QFETCH(Words, expected);
    const Preset left({ 1, 1, 632, preampGain, 0.707 }, { 1, 1, 1000, band1Gain, 0.707 });
    const Preset right({ 1, 1, 632, rightPreampGain, 0.707 }, { 1, 4, 100, rightBand1Gain, 0.707 });
    const Words words
        = packDeviceRecord(layout, builder, name, left.record, right.record, gainFlag);
    QCOMPARE(words, expected);
}

// A frequency or Q the editor could not show never reaches the device.
void TestPresetRecords::bandFieldsHeldToTheEditorRanges_data()
{
    QTest::addColumn<int>("frequency");
    QTest::addColumn<double>("q");
    QTest::addColumn<int>("sentFrequency");
    QTest::addColumn<int>("sentQ");
    QTest::newRow("Q below 0.1") << 1000 << 0.01 << 1000 << 1000;
    QTest::newRow("Q above 15") << 1000 << 40.0 << 1000 << 150000;
    QTest::newRow("Q -inf") << 1000 << -std::numeric_limits<double>::infinity() << 1000 << 1000;
    QTest::newRow("Fc below 20 Hz") << 5 << 0.707 << 20 << 7070;
    QTest::newRow("Fc above 22 kHz") << 50000 << 0.707 << 22000 << 7070;
    QTest::newRow("Fc most negative") << std::numeric_limits<int>::min() << 0.707 << 20 << 7070;
}

void TestPresetRecords::bandFieldsHeldToTheEditorRanges()
{
    QFETCH(int, frequency);
    QFETCH(double, q);
    QFETCH(int, sentFrequency);
    QFETCH(int, sentQ);
    const Preset p({ 1, 1, 632, 0.0, 0.707 }, { 1, 1, frequency, 0.0, q });
    const sim::Band sent { 1, 1, 0, sentFrequency, sentQ };
    for (RecordBuilder builder : { RecordBuilder::Store, RecordBuilder::Save })
        QCOMPARE(packDeviceRecord(RecordLayout::OneSet, builder, "", p.record, p.record, false),
            sim::oneSetRecord("", 1, kUnity, &sent));
}

// A band the device reports goes through the rule of each field, as a typed
// or a stored one: in range it is kept, out of range held or defaulted.
void TestPresetRecords::receivedBandsTakeTheFieldRules_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("gainSteps"); // 0.5 dB steps in a one-set record
    QTest::addColumn<int>("frequency");
    QTest::addColumn<int>("qCode");
    QTest::addColumn<QString>("stored");
    QTest::newRow("in range kept") << 1 << 4 << -7 << 1234 << 12345 << "1 4 1234 -3.5 1.2345";
    QTest::newRow("limits kept") << 0 << 5 << 24 << 22000 << 1 << "0 5 22000 12 0.0001";
    QTest::newRow("an empty slot") << 0 << 0 << 0 << 0 << 0 << "0 1 632 0 0.707";
    QTest::newRow("above every range") << 2 << 9 << 127 << 99999999 << 999999 << "1 1 22000 12 15";
    QTest::newRow("below every range") << 0 << -1 << -128 << -1000 << -5 << "0 1 632 -12 0.707";
    QTest::newRow("just outside") << 255 << 6 << 25 << 19 << 150001 << "1 1 632 12 15";
}

void TestPresetRecords::receivedBandsTakeTheFieldRules()
{
    QFETCH(int, status);
    QFETCH(int, type);
    QFETCH(int, gainSteps);
    QFETCH(int, frequency);
    QFETCH(int, qCode);
    QFETCH(QString, stored);
    const sim::Band band { uint8_t(status), int8_t(type), int8_t(gainSteps), frequency, qCode };
    Preset oneSet;
    storeOneSetRecord(
        oneSet.record, parseOneSetRecord(sim::oneSetRecord("x", 1, kUnity, &band).data()), false);
    QCOMPARE(bandString(oneSet.bands[1]), stored);
    // The left/right road alike.
    Preset left, right;
    const Words image = leftRightImage("x", 1, kUnity, 1, kUnity, band, band);
    storeLeftRightRecord(left.record, right.record, parseLeftRightRecord(image.data()), 2.0);
    QCOMPARE(bandString(right.bands[1]), stored);
}

void TestPresetRecords::namesAreCutAtWholeCharacters_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<RecordBuilder>("builder");
    QTest::addColumn<QByteArray>("bytes"); // the 16 name bytes
    const QByteArray zero(1, '\0');
    QTest::newRow("15 characters stored")
        << "ABCDEFGHIJKLMNO" << RecordBuilder::Store << QByteArray("ABCDEFGHIJKLMNO") + zero;
    QTest::newRow("15 characters saved: 14")
        << "ABCDEFGHIJKLMNO" << RecordBuilder::Save << QByteArray("ABCDEFGHIJKLMN") + zero + zero;
    QTest::newRow("empty") << "" << RecordBuilder::Store << QByteArray(16, '\0');
    // Six three-byte characters: five fit in 15 bytes, four in 14.
    const QString music = QString::fromUtf8("音乐音乐音乐");
    QTest::newRow("three-byte stored")
        << music << RecordBuilder::Store << QString::fromUtf8("音乐音乐音").toUtf8() + zero;
    QTest::newRow("three-byte saved")
        << music << RecordBuilder::Save
        << QString::fromUtf8("音乐音乐").toUtf8() + QByteArray(4, '\0');
    // A four-byte character straddling byte 15 is left out whole.
    const QString emoji = QStringLiteral("ABCDEFGHIJKL") + QString::fromUtf8("😀");
    QTest::newRow("four-byte at the end")
        << emoji << RecordBuilder::Store << QByteArray("ABCDEFGHIJKL") + QByteArray(4, '\0');
    QTest::newRow("ampersand travels single")
        << "R&B" << RecordBuilder::Store << QByteArray("R&B") + QByteArray(13, '\0');
}

void TestPresetRecords::namesAreCutAtWholeCharacters()
{
    QFETCH(QString, name);
    QFETCH(RecordBuilder, builder);
    QFETCH(QByteArray, bytes);
    const Preset p;
    const Words words
        = packDeviceRecord(RecordLayout::OneSet, builder, name, p.record, p.record, false);
    QByteArray image;
    for (int i = 0; i < 16; ++i)
        image.append(char(recordByte(words.data(), i)));
    QCOMPARE(image, bytes);
    // The parser reads back a whole-character name.
    QVERIFY(name.startsWith(parseOneSetRecord(words.data()).name));
    if (builder == RecordBuilder::Store) {
        int32_t nameOnly[4] = { -1, -1, -1, -1 };
        packRecordName(nameOnly, name);
        QCOMPARE(Words(nameOnly, nameOnly + 4), Words(words.begin(), words.begin() + 4));
    }
}

void TestPresetRecords::parserReadsEveryPackedRecordBack_data()
{
    QTest::addColumn<RecordLayout>("layout");
    QTest::addColumn<RecordBuilder>("builder");
    QTest::addColumn<bool>("gainFlag");
    for (const RecordLayout l : { RecordLayout::OneSet, RecordLayout::LeftRight })
        for (const RecordBuilder b : { RecordBuilder::Store, RecordBuilder::Save })
            for (const bool flag : { false, true })
                QTest::addRow("%s %s %s", l == RecordLayout::OneSet ? "one-set" : "left/right",
                    b == RecordBuilder::Store ? "store" : "save", flag ? "0.1 dB" : "0.5 dB")
                    << l << b << flag;
}

void TestPresetRecords::parserReadsEveryPackedRecordBack()
{
    QFETCH(RecordLayout, layout);
    QFETCH(RecordBuilder, builder);
    QFETCH(bool, gainFlag);
    // Ten bands of every type, gains on the 0.5 dB grid so both units hold them.
    Preset left({ 1, 1, 632, -4.5, 0.707 }), right({ 0, 1, 632, 2.0, 0.707 });
    for (int k = 1; k <= 10; ++k) {
        left.bands[k] = { uint8_t(k % 2), 1 + k % 5, 20 + 2000 * k, -5.0 + k, 0.5 + 0.25 * k };
        right.bands[k]
            = { uint8_t(1 - k % 2), 1 + (k + 2) % 5, 30 + 1500 * k, 5.5 - k, 1.0 + 0.5 * k };
    }
    const Words words
        = packDeviceRecord(layout, builder, "Ten bands", left.record, right.record, gainFlag);
    const int factor = bandGainFactor(builder, layout, gainFlag);
    Preset readL, readR;
    if (layout == RecordLayout::OneSet) {
        QCOMPARE(int(words.size()), kOneSetRecordWords);
        QCOMPARE(factor, builder == RecordBuilder::Store || !gainFlag ? 2 : 10);
        storeOneSetRecord(readL.record, parseOneSetRecord(words.data()), false);
    } else {
        QCOMPARE(int(words.size()), kLeftRightRecordWords);
        QCOMPARE(factor, gainFlag ? 10 : 2);
        storeLeftRightRecord(
            readL.record, readR.record, parseLeftRightRecord(words.data()), factor);
    }
    QCOMPARE(readL.record.config_name, QStringLiteral("Ten bands"));
    QCOMPARE(readL.bands[0].status, left.bands[0].status);
    QCOMPARE(readL.bands[0].gain, left.bands[0].gain);
    if (layout == RecordLayout::LeftRight)
        QCOMPARE(readR.bands[0].gain, right.bands[0].gain);
    QList<std::pair<const Preset*, const Preset*>> sides { { &left, &readL } };
    if (layout == RecordLayout::LeftRight)
        sides.append(std::pair<const Preset*, const Preset*>(&right, &readR));
    for (int k = 1; k <= 10; ++k) {
        for (const auto& [wrote, read] : sides) {
            const EQ_data& a = wrote->bands[k];
            const EQ_data& b = read->bands[k];
            QCOMPARE(b.status, a.status);
            QCOMPARE(b.type, a.type);
            QCOMPARE(b.center_frequency, a.center_frequency);
            // The one-set stream reads half-dB steps: a x 10 save reads back
            // x 5, held to the range of a band's gain.
            const double readFactor = layout == RecordLayout::OneSet ? 2.0 : factor;
            QCOMPARE(b.gain,
                layout == RecordLayout::OneSet ? heldGain(a.gain * factor / readFactor) : a.gain);
            QCOMPARE(b.Q, a.Q);
        }
    }
}

// Tenths divide exactly: -6 steps of 0.1 dB are -0.6 dB, not -0.6000000000000001.
void TestPresetRecords::leftRightGainsAreTenthsExactly()
{
    Preset left({}, { 1, 1, 1000, -0.6, 0.707 }), right({}, { 1, 1, 1000, 0.7, 0.707 });
    const Words words = packDeviceRecord(
        RecordLayout::LeftRight, RecordBuilder::Save, "x", left.record, right.record, true);
    Preset readL, readR;
    storeLeftRightRecord(readL.record, readR.record, parseLeftRightRecord(words.data()), 10.0);
    QCOMPARE(readL.bands[1].gain, -0.6);
    QCOMPARE(readR.bands[1].gain, 0.7);
}

void TestPresetRecords::frameLists()
{
    const Preset p({}, { 0, 1, 632, 0.0, 0.707 });
    const auto check
        = [](const FrameList& frames, int at, uint32_t cmd, int32_t data, int total, int current) {
              const auto& f = frames.at(size_t(at));
              return f.cmd == cmd && f.data == data && f.total == total && f.current == current
                  && f.protocol == 0x20;
          };
    for (const RecordLayout l : { RecordLayout::OneSet, RecordLayout::LeftRight }) {
        const int n = recordWordCount(l);
        const Words words
            = packDeviceRecord(l, RecordBuilder::Store, "Rock", p.record, p.record, false);
        const FrameList store = storeRecordFrames(words);
        QCOMPARE(int(store.size()), n);
        for (int k = 0; k < n; ++k)
            QVERIFY(check(store, k, 0x110B, words[size_t(k)], n, k));
        // An off band still occupies its block: (256, 632, 7070) at band 1.
        const size_t band1 = l == RecordLayout::OneSet ? 6 : 8;
        QCOMPARE(store[band1].data, 256);
        QCOMPARE(store[band1 + 1].data, 632);
        QCOMPARE(store[band1 + 2].data, 7070);

        const FrameList save = saveSlotFrames(2, words);
        QCOMPARE(int(save.size()), n + 1);
        QVERIFY(check(save, 0, 0x110F, 2, 1, 1));
        for (int k = 0; k < n; ++k)
            QVERIFY(check(save, k + 1, 0x1110, words[size_t(k)], n, k));

        const FrameList rename = renameSlotFrames(0, l, words.data());
        QCOMPARE(int(rename.size()), 5);
        QVERIFY(check(rename, 0, 0x110C, 0, 1, 1));
        for (int k = 0; k < 4; ++k)
            QVERIFY(
                check(rename, k + 1, 0x110D, words[size_t(k)], n, k)); // total of the whole record
    }
    // No layout yet: nothing is built, only the opening frames remain.
    QVERIFY(packDeviceRecord(RecordLayout::None, RecordBuilder::Save, "x", p.record, p.record, true)
                .empty());
    QVERIFY(storeRecordFrames({}).empty());
    QCOMPARE(int(saveSlotFrames(3, {}).size()), 1);
    const int32_t name[4] = {};
    QCOMPARE(int(renameSlotFrames(3, RecordLayout::None, name).size()), 1);
    QCOMPARE(recordLayoutOf("QAZWS"), RecordLayout::OneSet);
    QCOMPARE(recordLayoutOf("ABCD"), RecordLayout::LeftRight);
    QCOMPARE(recordLayoutOf(""), RecordLayout::None);
}

void TestPresetRecords::numberedLabel_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("text");
    // Ten pixels a character: 18 characters (180 px) whole, 19 (190) cut to 185.
    QTest::newRow("short") << 3 << "Rock"
                           << "EQ3:Rock"
                           << "EQ3:Rock";
    QTest::newRow("185 px whole") << 10 << "ABCDEFGHIJKLM"
                                  << "EQ10:ABCDEFGHIJKLM"
                                  << "EQ10:ABCDEFGHIJKLM";
    QTest::newRow("190 px elided") << 10 << "ABCDEFGHIJKLMN"
                                   << "EQ10:ABCDEFGHIJKL\u2026"
                                   << "EQ10:ABCDEFGHIJKL\u2026";
    QTest::newRow("ampersand shown single") << 1 << "R&B"
                                            << "EQ1:R&B"
                                            << "EQ1:R&&B";
    QTest::newRow("elided with ampersand") << 2 << "A&B&C&D&E&F&G&H"
                                           << "EQ2:A&B&C&D&E&F&G\u2026"
                                           << "EQ2:A&&B&&C&&D&&E&&F&&G\u2026";
}

void TestPresetRecords::numberedLabel()
{
    QFETCH(int, number);
    QFETCH(QString, name);
    QFETCH(QString, label);
    QFETCH(QString, text);
    QCOMPARE(numberedSlotLabel(number, name, fixedWidth), label);
    QCOMPARE(numberedSlotText(number, name, fixedWidth), text);
    QVERIFY(fixedWidth(numberedSlotLabel(number, name, fixedWidth)) <= 185);
}

void TestPresetRecords::distinctNames_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QString>("candidate");
    QTest::addColumn<QString>("result");
    QTest::newRow("free") << QStringList { "A", "A(1)" } << "B"
                          << "B";
    QTest::newRow("taken twice") << QStringList { "A", "A(1)" } << "A"
                                 << "A(1)(1)";
    QTest::newRow("one pass only") << QStringList { "A(1)(1)", "A(1)", "A" } << "A"
                                   << "A(1)(1)";
    QTest::newRow("case matters") << QStringList { "rock" } << "Rock"
                                  << "Rock";
    QTest::newRow("doubled ampersands compare as stored") << QStringList { "R&&B" } << "R&&B"
                                                          << "R&&B(1)";
}

void TestPresetRecords::distinctNames()
{
    QFETCH(QStringList, names);
    QFETCH(QString, candidate);
    QFETCH(QString, result);
    QCOMPARE(distinctName(candidate, names), result);
}

void TestPresetRecords::slotLimit_data()
{
    QTest::addColumn<bool>("numbered");
    QTest::addColumn<int>("userSlots");
    QTest::addColumn<QString>("tag");
    QTest::addColumn<QString>("model");
    QTest::addColumn<bool>("factory");
    QTest::addColumn<bool>("reached");
    QTest::addColumn<bool>("overwrite");
    QTest::newRow("Mirel 1 at three") << true << 3 << "QAZWS"
                                      << "Mirel 1" << false << true << true;
    QTest::newRow("other model at three") << true << 3 << "QAZWS"
                                          << "Mirel 9" << false << false << false;
    QTest::newRow("Ostra 2 above three") << true << 4 << "ABCD"
                                         << "Ostra 2" << false << true << true;
    QTest::newRow("plain ABCD at five") << false << 5 << "ABCD"
                                        << "Vantor 9" << true << true << false;
    QTest::newRow("plain ABCD at five, Ostra 2") << false << 5 << "ABCD"
                                                 << "Ostra 2" << true << true << true;
    QTest::newRow("numbered ABCD at five") << true << 5 << "ABCD"
                                           << "Vantor 9" << false << false << false;
    QTest::newRow("numbered ABCD at ten") << true << 10 << "ABCD"
                                          << "Vantor 9" << false << true << false;
    QTest::newRow("one-set at five, numbered") << true << 5 << "QAZWS"
                                               << "Mirel 9" << false << true << false;
    QTest::newRow("one-set at five, plain") << false << 5 << "QAZWS"
                                            << "Vantor 5" << true << true << false;
    QTest::newRow("one-set above five") << true << 7 << "QAZWS"
                                        << "Mirel 9" << false << true << false;
    QTest::newRow("factory fill 5-9") << true << 5 << "ABCD"
                                      << "Vantor 9" << true << true << false;
    QTest::newRow("below") << false << 4 << "ABCD"
                           << "Vantor 9" << true << false << false;
}

void TestPresetRecords::slotLimit()
{
    QFETCH(bool, numbered);
    QFETCH(int, userSlots);
    QFETCH(QString, tag);
    QFETCH(QString, model);
    QFETCH(bool, factory);
    QFETCH(bool, reached);
    QFETCH(bool, overwrite);
    const SlotLimit limit = ::slotLimit(numbered, userSlots, tag, model, factory);
    QCOMPARE(limit.reached, reached);
    QCOMPARE(limit.overwrite, overwrite);
}

void TestPresetRecords::radioIndexes()
{
    QCOMPARE(radioObjectName(105), QStringLiteral("RadioButton_105"));
    QCOMPARE(radioIndexOf("RadioButton_105"), 105);
    QCOMPARE(radioIndexOf("RadioButton_"), 0);
    QCOMPARE(radioIndexOf("RadioButton_x"), 0);
    QCOMPARE(radioIndexOf("RadioButton_99999999999"), 0);
}

void TestPresetRecords::namePattern_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("valid");
    QTest::newRow("letters and digits") << "Rock2" << true;
    QTest::newRow("punctuation") << "a-b_c(1)[x]{y}" << true;
    QTest::newRow("full-width") << QString::fromUtf8("A！——￥") << true;
    QTest::newRow("space") << "a b" << false;
    QTest::newRow("letters outside a-z") << QString::fromUtf8("é") << false;
    QTest::newRow("CJK") << QString::fromUtf8("音乐") << false;
}

void TestPresetRecords::namePattern()
{
    QFETCH(QString, name);
    QFETCH(bool, valid);
    const QString pattern = presetNamePattern();
    QCOMPARE(pattern.size(), 49);
    QCOMPARE(pattern.toUtf8().size(), 57);
    const QRegularExpression re(QRegularExpression::anchoredPattern(pattern));
    QVERIFY(re.isValid());
    QCOMPARE(re.match(name).hasMatch(), valid);
}

QTEST_GUILESS_MAIN(TestPresetRecords)
#include "test_preset_records.moc"
