// The band editor's widget-free rules: routing, value codings, the frame
// groups of every kind of edit, the texts and the readers of typed values.

#include <QtTest>

#include <cmath>
#include <limits>

#include "device/device_session.h"
#include "dsp/band.h"
#include "dsp/value_deal.h"
#include "editor/band_edit.h"

Q_DECLARE_METATYPE(EditRoute)
Q_DECLARE_METATYPE(BandEdit)
Q_DECLARE_METATYPE(PreampEdit)

namespace {

constexpr int32_t kIntMax = std::numeric_limits<int32_t>::max();
constexpr int32_t kIntMin = std::numeric_limits<int32_t>::min();
const double kInf = std::numeric_limits<double>::infinity();
const double kNaN = std::numeric_limits<double>::quiet_NaN();

QString frameText(uint32_t cmd, int32_t data)
{
    return QString::number(cmd, 16) + ":" + QString::number(data);
}

// A frame list as "9c01:33554432" entries; also checks the fixed fields.
QStringList frameTexts(const FrameList& frames)
{
    QStringList out;
    for (const qv_hid_new::CustomHidFrameInfo& f : frames) {
        if (f.total != 1 || f.current != 1 || f.protocol != 0x20)
            out << "bad header";
        out << frameText(f.cmd, f.data);
    }
    return out;
}

int32_t modulus(int tenths) { return static_cast<int32_t>(value_deal::Get_Modulus(tenths)); }

} // namespace

class TestBandEdit : public QObject
{
    Q_OBJECT

private slots:
    void routing_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<bool>("right");
        QTest::addColumn<EditRoute>("route");
        QTest::addColumn<bool>("writesRightSet");
        QTest::newRow("L+R left") << "L+R" << false << EditRoute::Linked << false;
        QTest::newRow("L+R with the switch on") << "L+R" << true << EditRoute::Linked << false;
        QTest::newRow("L/R left") << "L/R" << false << EditRoute::Left << false;
        QTest::newRow("L/R right") << "L/R" << true << EditRoute::Right << true;
        QTest::newRow("other case is L/R") << "l+r" << true << EditRoute::Right << true;
        QTest::newRow("trailing blank is L/R") << "L+R " << false << EditRoute::Left << false;
        QTest::newRow("no item is L/R") << "" << true << EditRoute::Right << true;
    }

    void routing()
    {
        QFETCH(QString, mode);
        QFETCH(bool, right);
        QFETCH(EditRoute, route);
        QFETCH(bool, writesRightSet);
        QCOMPARE(editRoute(mode, right), route);
        QCOMPARE(routedSet(route), writesRightSet ? EQ_R : EQ);
    }

    void gainCodes_data()
    {
        QTest::addColumn<double>("gain");
        QTest::addColumn<bool>("tenths");
        QTest::addColumn<int>("code");
        QTest::newRow("1.5 tenths") << 1.5 << true << 15;
        QTest::newRow("1.5 halves") << 1.5 << false << 3;
        QTest::newRow("-0.3 tenths") << -0.3 << true << -3;
        QTest::newRow("-0.3 halves") << -0.3 << false << 0;
        QTest::newRow("2.75 halves") << 2.75 << false << 5;
        QTest::newRow("2.75 tenths") << 2.75 << true << 27;
        QTest::newRow("-2.75 halves") << -2.75 << false << -5;
        QTest::newRow("-2.75 tenths") << -2.75 << true << -27;
        QTest::newRow("huge saturates") << 1e300 << true << kIntMax;
        QTest::newRow("hugely negative saturates") << -1e300 << false << kIntMin;
        QTest::newRow("infinity saturates") << kInf << false << kIntMax;
        QTest::newRow("not a number is 0") << kNaN << true << 0;
    }

    void gainCodes()
    {
        QFETCH(double, gain);
        QFETCH(bool, tenths);
        QFETCH(int, code);
        QCOMPARE(bandGainCode(gain, tenths), code);
    }

    void otherCodes()
    {
        // Q: the product of the stored double, truncated; 1.1642 lands below 11642.
        QCOMPARE(bandQCode(0.707), 7070);
        QCOMPARE(bandQCode(1.1642), 11641);
        QCOMPARE(bandQCode(15.0), 150000);
        QCOMPARE(bandQCode(1e10), kIntMax);
        QCOMPARE(bandQCode(-kInf), kIntMin);
        // Status: the byte read as signed.
        QCOMPARE(statusCode(1), 1);
        QCOMPARE(statusCode(0), 0);
        QCOMPARE(statusCode(255), -1);
        // Preamp: tenths of a dB through the device tables, both signs.
        QCOMPARE(preampGainCode(-3.0), modulus(-30));
        QCOMPARE(preampGainCode(2.36), modulus(23));
        QCOMPARE(preampGainCode(-0.05), 33554432);
        QCOMPARE(preampGainCode(12.0), static_cast<int32_t>(Positive_Gain[120]));
        QCOMPARE(preampGainCode(1e300), static_cast<int32_t>(Positive_Gain[120]));
        QCOMPARE(preampGainCode(-1e300), static_cast<int32_t>(Negative_Gain[120]));
        // Gain dial argument (gain x 20) and back.
        QCOMPARE(gainDialTenths(3.14), 62);
        QCOMPARE(gainDialTenths(-12.0), -240);
        QCOMPARE(gainDialTenths(1e300), kIntMax);
        QCOMPARE(gainOfDialTenths(240), 12.0);
        QCOMPARE(gainOfDialTenths(-240), -12.0);
        QCOMPARE(gainOfDialTenths(30), 1.5);
        QCOMPARE(gainOfDialTenths(15), 0.8);
        QCOMPARE(gainOfDialTenths(-15), -0.8);
        QCOMPARE(gainOfDialTenths(0), 0.0);
        // What a gain dial sends: tenths from the stored gain, or whole steps of the dial.
        QCOMPARE(dialGainCode(30, 1.5, false), 3);
        QCOMPARE(dialGainCode(30, 1.5, true), 15);
        QCOMPARE(dialGainCode(15, 0.8, false), 1);
        QCOMPARE(dialGainCode(15, 0.8, true), 8);
        QCOMPARE(dialGainCode(-240, -12.0, false), -24);
        QCOMPARE(dialGainCode(-240, -12.0, true), -120);
        // Both preamps follow a left edit only on devices reporting 0x81 or 0xC1.
        QVERIFY(preampsLinkedOnDevice(0x81));
        QVERIFY(preampsLinkedOnDevice(0xC1));
        for (int status : { 0, 1, 0x80, 0xC0, 0x181, 0x01 })
            QVERIFY(!preampsLinkedOnDevice(status));
    }

    void types()
    {
        const int indexes[] = { -1, 0, 1, 4, 5, 8 };
        const int stored[] = { 1, 1, 2, 5, 1, 1 };
        for (int i = 0; i < 6; ++i)
            QCOMPARE(typeForIndex(indexes[i]), stored[i]);
        const int types[] = { -2, 0, 1, 3, 5, 6, 9 };
        const int sent[] = { 1, 1, 1, 3, 5, 1, 1 };
        for (int i = 0; i < 7; ++i)
            QCOMPARE(bandTypeCode(types[i]), sent[i]);
    }

    void texts()
    {
        QCOMPARE(frequencyText(632), QString("632Hz"));
        QCOMPARE(frequencyText(22000), QString("22000Hz"));
        QCOMPARE(gainText(-3.5), QString("-3.5dB"));
        QCOMPARE(gainText(0.0), QString("0.0dB"));
        QCOMPARE(gainText(3.14), QString("3.1dB"));
        QCOMPARE(qText(0.707), QString("0.7070"));
        QCOMPARE(qText(15.0), QString("15.0000"));
        QCOMPARE(eqCountText(3), QString("   EQ:3   "));
        QCOMPARE(roundedToTenth(2.36), 2.4);
        QCOMPARE(roundedToTenth(-2.36), -2.4);
    }

    void factoryLock()
    {
        QVERIFY(factoryPresetLocked(false, "yyyy", "Warm"));
        QVERIFY(factoryPresetLocked(false, "yyyy", "Bass 1"));
        QVERIFY(!factoryPresetLocked(true, "yyyy", "Warm"));
        QVERIFY(!factoryPresetLocked(false, "xxxx", "Warm"));
        QVERIFY(!factoryPresetLocked(false, "yyyy", "warm"));
        QVERIFY(!factoryPresetLocked(false, "yyyy", "Rock"));
    }

    void readGain_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("gain");
        QTest::addColumn<int>("position");
        QTest::newRow("unrounded") << "3.14" << 3.14 << 6;
        QTest::newRow("below the limit") << "-20" << -12.0 << -24;
        QTest::newRow("upper case unit") << "-5DB" << -5.0 << -10;
        QTest::newRow("lower case unit") << "2.5db" << 2.5 << 5;
        QTest::newRow("mixed case unit") << "-0.3Db" << -0.3 << 0;
        QTest::newRow("unit twice") << "3dBdB" << 3.0 << 6;
        QTest::newRow("plus sign") << "+5" << 5.0 << 10;
        QTest::newRow("blanks around") << " 4.5 " << 4.5 << 9;
        QTest::newRow("at the limit, 9 characters") << "-12.000dB" << -12.0 << -24;
        QTest::newRow("not a number") << "abc" << 0.0 << 0;
        QTest::newRow("empty") << "" << 0.0 << 0;
        QTest::newRow("only the unit") << "dB" << 0.0 << 0;
        QTest::newRow("NaN") << "nan" << 0.0 << 0;
        QTest::newRow("infinite") << "inf" << 12.0 << 24;
        QTest::newRow("minus infinite") << "-inf" << -12.0 << -24;
        QTest::newRow("overflowing") << "1e400" << 12.0 << 24;
        QTest::newRow("overflowing negative") << "-1e400" << -12.0 << -24;
        QTest::newRow("overlong positive") << "1234567890" << 12.0 << 24;
        QTest::newRow("overlong negative") << "-123456789" << -12.0 << -24;
        QTest::newRow("overlong negative after blanks")
            << "   -1.5dB" + QString(" ") << -12.0 << -24;
        QTest::newRow("overlong text") << "not a gain" << 12.0 << 24;
    }

    void readGain()
    {
        QFETCH(QString, text);
        QFETCH(double, gain);
        QFETCH(int, position);
        const GainEntry e = readGainText(text);
        QCOMPARE(e.gain, gain);
        QCOMPARE(e.position, position);
    }

    void readFrequency_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("hz");
        QTest::newRow("lower case unit") << "1000hz" << 1000;
        QTest::newRow("upper case unit") << "632HZ" << 632;
        QTest::newRow("unit twice") << "12345HzHz" << 12345;
        QTest::newRow("lowest") << "20" << 20;
        QTest::newRow("below 20") << "19" << 632;
        QTest::newRow("negative") << "-50" << 632;
        QTest::newRow("empty") << "" << 632;
        QTest::newRow("not a number") << "abc" << 632;
        QTest::newRow("decimal point") << "1000.5" << 632;
        QTest::newRow("above the limit") << "99999" << 22000;
        QTest::newRow("seven digits") << "1234567" << 22000;
        QTest::newRow("seven characters of letters") << "abcdefg" << 22000;
        QTest::newRow("blanks around") << " 440 " << 440;
        QTest::newRow("the limit") << "22000Hz" << 22000;
    }

    void readFrequency()
    {
        QFETCH(QString, text);
        QFETCH(int, hz);
        QCOMPARE(readFrequencyText(text), hz);
    }

    void readQ_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("q");
        QTest::addColumn<int>("code");
        QTest::newRow("default") << "0.707" << 0.707 << 7070;
        QTest::newRow("cut, not rounded") << "1.23456" << 1.2345 << 12345;
        QTest::newRow("0.57 falls a step") << "0.57" << 0.5699 << 5699;
        QTest::newRow("table entry falls a step") << "1.1642" << 1.1641 << 11641;
        QTest::newRow("below 1/10000") << "0.00001" << 0.707 << 7070;
        QTest::newRow("negative") << "-1" << 0.707 << 7070;
        QTest::newRow("zero") << "0" << 0.707 << 7070;
        QTest::newRow("limit") << "15" << 15.0 << 150000;
        QTest::newRow("just above the limit") << "15.0001" << 15.0 << 150000;
        QTest::newRow("above the limit") << "20" << 15.0 << 150000;
        QTest::newRow("far above the limit") << "300000" << 15.0 << 150000;
        QTest::newRow("eight characters") << "12.34567" << 15.0 << 150000;
        QTest::newRow("not a number") << "abc" << 0.707 << 7070;
        QTest::newRow("empty") << "" << 0.707 << 7070;
        QTest::newRow("NaN") << "nan" << 0.707 << 7070;
        QTest::newRow("huge") << "1e300" << 15.0 << 150000;
        QTest::newRow("overflowing") << "1e400" << 15.0 << 150000;
        QTest::newRow("infinite") << "inf" << 15.0 << 150000;
        QTest::newRow("hugely negative") << "-1e300" << 0.707 << 7070;
        QTest::newRow("minus infinite") << "-inf" << 0.707 << 7070;
        QTest::newRow("blanks around") << " 2 " << 2.0 << 20000;
    }

    void readQ()
    {
        QFETCH(QString, text);
        QFETCH(double, q);
        QFETCH(int, code);
        const QEntry e = readQText(text);
        QCOMPARE(e.q, q);
        QCOMPARE(e.code, code);
    }

    void bandFrames_data()
    {
        QTest::addColumn<BandEdit>("edit");
        QTest::addColumn<int>("band");
        QTest::addColumn<EditRoute>("route");
        QTest::addColumn<QString>("commands");
        using E = BandEdit;
        using R = EditRoute;
        QTest::newRow("frequency dial, band 1")
            << E::FrequencyDial << 1 << R::Linked << "9101 9102 9105 9106 9107 910a";
        QTest::newRow("frequency dial, band 2")
            << E::FrequencyDial << 2 << R::Linked << "9202 9201 9205 9207 9206 920a";
        QTest::newRow("frequency dial, band 3 right")
            << E::FrequencyDial << 3 << R::Right << "9306 9307 930a";
        QTest::newRow("gain dial, band 1")
            << E::GainDial << 1 << R::Linked << "9103 9101 9105 9108 9106 910a";
        QTest::newRow("gain dial, band 2")
            << E::GainDial << 2 << R::Linked << "9201 9203 9205 9206 9208 920a";
        QTest::newRow("gain dial, band 1 left") << E::GainDial << 1 << R::Left << "9103 9101 9105";
        QTest::newRow("gain dial, band 3 right")
            << E::GainDial << 3 << R::Right << "9306 9308 930a";
        QTest::newRow("Q dial, band 1") << E::QDial << 1 << R::Right << "9109 9106 910a";
        QTest::newRow("Q dial, band 2") << E::QDial << 2 << R::Left << "9201 9204 9205";
        QTest::newRow("Q dial, band 7")
            << E::QDial << 7 << R::Linked << "9701 9704 9705 9706 9709 970a";
        QTest::newRow("frequency text, band 2")
            << E::FrequencyText << 2 << R::Linked << "9201 9202 9205 9206 9207 920a";
        QTest::newRow("gain text, band 1") << E::GainText << 1 << R::Left << "9103 9101 9105";
        QTest::newRow("gain text, band 3")
            << E::GainText << 3 << R::Linked << "9303 9301 9305 9308 9306 930a";
        QTest::newRow("gain text, band 11 right")
            << E::GainText << 11 << R::Right << "9b08 9b06 9b0a";
        QTest::newRow("Q text, band 1")
            << E::QText << 1 << R::Linked << "9101 9104 9105 9106 9109 910a";
        QTest::newRow("type, band 1")
            << E::Type << 1 << R::Linked << "9101 9102 9103 9104 9105 9106 9107 9108 9109 910a";
        QTest::newRow("type, band 11 right")
            << E::Type << 11 << R::Right << "9b06 9b07 9b08 9b09 9b0a";
        QTest::newRow("on, band 3 left")
            << E::SwitchOn << 3 << R::Left << "9301 9302 9303 9304 9305";
        QTest::newRow("off, band 3") << E::SwitchOff << 3 << R::Linked << "9305 930a";
        QTest::newRow("off, band 3 right") << E::SwitchOff << 3 << R::Right << "930a";
        QTest::newRow("off, band 10 left") << E::SwitchOff << 10 << R::Left << "9a05";
    }

    void bandFrames()
    {
        QFETCH(BandEdit, edit);
        QFETCH(int, band);
        QFETCH(EditRoute, route);
        QFETCH(QString, commands);
        // Distinct values, so a frame carrying the wrong field shows.
        const BandCodes codes { 3, 1000, -5, 7070, 1 };
        const int32_t byField[]
            = { 0, codes.type, codes.frequency, codes.gain, codes.q, codes.status };
        QStringList expected;
        for (const QString& c : commands.split(' ')) {
            const uint32_t cmd = c.toUInt(nullptr, 16);
            const uint32_t field = (cmd & 0xFF) > 5 ? (cmd & 0xFF) - 5 : (cmd & 0xFF);
            expected << frameText(cmd, byField[field]);
        }
        QCOMPARE(frameTexts(bandEditFrames(edit, band, route, codes)), expected);
    }

    // A band switched on in "L+R": all five fields of the record, both channels.
    void switchOnCodesTheRecord()
    {
        const EQ_data record { 1, 1, 1000, 2.75, 0.707 };
        const QStringList halves = frameTexts(
            bandEditFrames(BandEdit::SwitchOn, 3, EditRoute::Linked, bandCodes(record, false)));
        QCOMPARE(halves,
            QStringList({ "9301:1", "9302:1000", "9303:5", "9304:7070", "9305:1", "9306:1",
                "9307:1000", "9308:5", "9309:7070", "930a:1" }));
        const QStringList tenths = frameTexts(
            bandEditFrames(BandEdit::SwitchOn, 3, EditRoute::Linked, bandCodes(record, true)));
        QCOMPARE(tenths[2], QString("9303:27"));
        QCOMPARE(tenths[7], QString("9308:27"));
        // A type the device does not know goes out as peaking.
        EQ_data corrupt = record;
        corrupt.type = 9;
        QCOMPARE(bandCodes(corrupt, false).type, 1);
    }

    void preampFrames_data()
    {
        QTest::addColumn<PreampEdit>("edit");
        QTest::addColumn<EditRoute>("route");
        QTest::addColumn<int>("leftStatus");
        QTest::addColumn<int>("deviceState");
        QTest::addColumn<QStringList>("frames");
        using P = PreampEdit;
        using R = EditRoute;
        // Left preamp +2.0 dB, right preamp -3.0 dB and off.
        const QString l1 = frameText(0x9C01, modulus(20));
        const QString r3 = frameText(0x9C03, modulus(-30));
        const QString l3linked = frameText(0x9C03, modulus(20));
        const QString on2 = "9c02:1";
        const QString off2 = "9c02:0";
        const QString off4 = "9c04:0";
        QTest::newRow("dial linked")
            << P::Dial << R::Linked << 1 << 0 << QStringList { l1, on2, l3linked, "9c04:1" };
        QTest::newRow("dial left") << P::Dial << R::Left << 1 << 0x80 << QStringList { l1, on2 };
        QTest::newRow("dial left, 0x81")
            << P::Dial << R::Left << 1 << 0x81 << QStringList { l1, on2, r3, off4 };
        QTest::newRow("dial right, 0xC1")
            << P::Dial << R::Right << 1 << 0xC1 << QStringList { l1, on2, r3, off4 };
        QTest::newRow("dial right, 0x80")
            << P::Dial << R::Right << 1 << 0x80 << QStringList { r3, off4 };
        QTest::newRow("dial left, left off")
            << P::Dial << R::Left << 0 << 0 << QStringList { l1, off2 };
        QTest::newRow("text linked, left off")
            << P::Text << R::Linked << 0 << 0 << QStringList { l1, off2, l3linked, off4 };
        QTest::newRow("text left, left off") << P::Text << R::Left << 0 << 0x81 << QStringList {};
        QTest::newRow("text left, 0xC1")
            << P::Text << R::Left << 1 << 0xC1 << QStringList { l1, on2, r3, off4 };
        QTest::newRow("text right, left off, 0x81")
            << P::Text << R::Right << 0 << 0x81 << QStringList { l1, off2, r3, off4 };
        QTest::newRow("on linked")
            << P::SwitchOn << R::Linked << 1 << 0x81 << QStringList { l1, on2, l3linked, "9c04:1" };
        QTest::newRow("off linked")
            << P::SwitchOff << R::Linked << 0 << 0 << QStringList { off2, off4 };
        QTest::newRow("on left, 0x81 not asked")
            << P::SwitchOn << R::Left << 1 << 0x81 << QStringList { l1, on2 };
        QTest::newRow("off left") << P::SwitchOff << R::Left << 0 << 0x81 << QStringList { off2 };
        QTest::newRow("on right") << P::SwitchOn << R::Right << 1 << 0x81
                                  << QStringList { r3, off4 };
        QTest::newRow("off right") << P::SwitchOff << R::Right << 1 << 0 << QStringList { off4 };
    }

    void preampFrames()
    {
        QFETCH(PreampEdit, edit);
        QFETCH(EditRoute, route);
        QFETCH(int, leftStatus);
        QFETCH(int, deviceState);
        QFETCH(QStringList, frames);
        const EQ_data left { static_cast<uint8_t>(leftStatus), 1, 632, 2.0, 0.707 };
        const EQ_data right { 0, 1, 632, -3.0, 0.707 };
        QCOMPARE(frameTexts(preampEditFrames(edit, route, left, right, deviceState)), frames);
    }
};

QTEST_GUILESS_MAIN(TestBandEdit)
#include "test_band_edit.moc"
