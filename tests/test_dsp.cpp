#include "band_fixtures.h"
#include "dsp/band.h"
#include "dsp/biquad.h"
#include "dsp/grid.h"
#include "dsp/response.h"
#include "dsp/value_deal.h"

#include <QtTest>

#include <climits>
#include <limits>
#include <cmath>

namespace {

// Reference tables computed independently (rule plus the device's stored entries).
const double kFrequencyTable[102] = {
    20,
    21,
    23,
    25,
    26,
    28,
    30,
    32,
    35,
    37,
    40,
    43,
    46,
    49,
    53,
    56,
    60,
    65,
    69,
    74,
    80,
    85,
    91,
    98,
    105,
    112,
    121,
    129,
    138,
    148,
    159,
    170,
    182,
    195,
    209,
    224,
    240,
    258,
    276,
    296,
    317,
    340,
    364,
    390,
    418,
    448,
    480,
    514,
    551,
    590,
    632,
    678,
    726,
    778,
    834,
    893,
    957,
    1026,
    1099,
    1178,
    1262,
    1352,
    1449,
    1552,
    1664,
    1783,
    1910,
    2047,
    2193,
    2350,
    2518,
    2698,
    2891,
    3098,
    3319,
    3557,
    3811,
    4083,
    4376,
    4688,
    5024,
    5383,
    5768,
    6181,
    6623,
    7096,
    7604,
    8148,
    8730,
    9355,
    10024,
    10741,
    11509,
    12332,
    13214,
    14159,
    15172,
    16257,
    17419,
    18665,
    20000,
    22000,
};

const uint32_t kPositiveGain[121] = {
    33554432,
    33942958,
    34335981,
    34733601,
    35135785,
    35542632,
    35954211,
    36370521,
    36791696,
    37217703,
    37648676,
    38084615,
    38525621,
    38971727,
    39423001,
    39879509,
    40341285,
    40808430,
    41280943,
    41758960,
    42242546,
    42731669,
    43226463,
    43726994,
    44233331,
    44802347,
    45263653,
    45787807,
    46318001,
    46854335,
    47396876,
    47945693,
    48500884,
    49062518,
    49630628,
    50075157,
    50786679,
    51374754,
    51969641,
    52571439,
    53180184,
    53795975,
    54418913,
    55049032,
    55686465,
    56331314,
    56983579,
    57643427,
    58310891,
    58986107,
    59669141,
    60360061,
    61058999,
    61766058,
    62481271,
    63204772,
    63936627,
    64676972,
    65425907,
    66183499,
    66949883,
    67725124,
    68509325,
    69302652,
    70105140,
    70916922,
    71738100,
    72568774,
    73409077,
    74259112,
    75119011,
    75988843,
    76868740,
    77758839,
    78659239,
    79570074,
    80491445,
    81423520,
    82366332,
    83320117,
    84284907,
    85260872,
    86248144,
    87246858,
    88257115,
    89279116,
    90312894,
    91358685,
    92416556,
    93486707,
    94569207,
    95664289,
    96772022,
    97892605,
    99026141,
    100172797,
    101332740,
    102506138,
    103693093,
    104893805,
    106108408,
    107337104,
    108579994,
    109837279,
    111109159,
    112395737,
    113697213,
    115013754,
    116345563,
    117692774,
    119055587,
    120434204,
    121828760,
    123239489,
    124666526,
    126110104,
    127570360,
    129047560,
    130541873,
    132053467,
    133582576,
};

const uint32_t kNegativeGain[121] = {
    33554432,
    33170334,
    32790632,
    32415259,
    32044214,
    31677397,
    31314807,
    30956345,
    30601977,
    30251702,
    29905387,
    29563065,
    29224668,
    28890131,
    28559452,
    28232531,
    27909335,
    27589863,
    27274048,
    26961858,
    26653224,
    26348114,
    26046527,
    25748362,
    25453620,
    25162267,
    24874235,
    24589493,
    24308004,
    24029771,
    23754692,
    23482767,
    23213962,
    22948245,
    22685547,
    22425869,
    22169178,
    21915406,
    21664553,
    21416552,
    21171403,
    20929040,
    20689494,
    20452634,
    20218524,
    19987100,
    19758292,
    19532135,
    19308528,
    19308528,
    18869032,
    18653042,
    18439502,
    18228445,
    18019770,
    17813511,
    17609600,
    17408039,
    17208759,
    17011761,
    16817045,
    16624543,
    16434222,
    16246116,
    16060157,
    15876313,
    15694582,
    15514931,
    15337328,
    15161737,
    14988194,
    14816630,
    14647012,
    14479374,
    14313616,
    14149769,
    13987802,
    13827680,
    13669404,
    13512940,
    13358254,
    13205346,
    13054183,
    12904732,
    12757025,
    12610997,
    12466645,
    12323938,
    12182876,
    12043390,
    11905548,
    11769250,
    11634529,
    11501351,
    11369717,
    11239560,
    11110912,
    10983707,
    10857979,
    10733693,
    10610817,
    10489350,
    10369292,
    10250610,
    10133270,
    10017273,
    9902583,
    9789237,
    9677198,
    9566402,
    9456914,
    9348667,
    9241628,
    9135865,
    9031276,
    8927894,
    8825688,
    8724655,
    8624797,
    8526080,
    8428470,
};

double levelAt(const FrequencyResponse& h, int k) { return 20.0 * std::log10(std::abs(h[k])); }

} // namespace

class TestDsp : public QObject
{
    Q_OBJECT

private slots:
    // Must run before anything recomputes the buffers.
    void buffersBeforeFirstComputation();

    void frequencyGrid();
    void clearedAndStartupBands();

    void dialTables();
    void frequencyDial_data();
    void frequencyDial();
    void qDial_data();
    void qDial();
    void nearestFrequency_data();
    void nearestFrequency();
    void nearestQ_data();
    void nearestQ();

    void deviceGainTables();
    void getModulus_data();
    void getModulus();
    void globalGainChange_data();
    void globalGainChange();
    void globalGainChangeLogsCut();

    void filterLevels_data();
    void filterLevels();
    void levelOfAnyMagnitude();
    void flatPeakingAndTermByTermAgree();
    void unusableBandIsFlat_data();
    void unusableBandIsFlat();

    void setResponsePreampAndDisabledBands();
    void setResponseProductOfBands();

    void biquad();
};

void TestDsp::buffersBeforeFirstComputation()
{
    // A 3000 Hz peak of +10 dB at Q 12 in every buffer. H(j 2 pi f) at some
    // grid points, computed independently from the prototype
    // (s^2 + A w0/Q s + w0^2) / (s^2 + w0/(A Q) s + w0^2), A = 10^(10/40).
    const struct
    {
        std::size_t point;
        std::complex<double> h;
    } expected[] = {
        { 0, { 1.0000002111, 0.0006755511 } }, // 20 Hz, 0.000004 dB
        { 85, { 1.0001395363, 0.0173694231 } }, // 500 Hz, 0.002522 dB
        { 121, { 1.0068161677, 0.1212105072 } }, // 2000 Hz, 0.121497 dB
        { 130, { 1.4187770583, 0.8544811602 } }, // 2860 Hz, 4.382363 dB
        { 131, { 2.9993347987, 0.5707690717 } }, // 2980 Hz, 9.694992 dB
        { 132, { 1.7307217666, -1.0227751716 } }, // 3100 Hz, 6.065390 dB
        { 181, { 1.0000916708, -0.0140786862 } }, // 22000 Hz, 0.001657 dB
    };
    const std::array<double, 3> num = { 1.0, 2793.3147653041, 355305758.43921685 };
    const std::array<double, 3> den = { 1.0, 883.3236880140, 355305758.43921685 };
    const auto near
        = [](double a, double b) { return std::fabs(a - b) <= 1e-9 * std::max(1.0, std::fabs(b)); };
    for (int n = 1; n <= 16; ++n) {
        QCOMPARE(filt_fr_rows[n].size(), kGridSize);
        for (const auto& [point, h] : expected) {
            const std::complex<double> got = filt_fr_rows[n][point];
            QVERIFY2(near(got.real(), h.real()) && near(got.imag(), h.imag()),
                qPrintable(QString("buffer %1, point %2: %3%4%5i")
                               .arg(n)
                               .arg(point)
                               .arg(got.real(), 0, 'g', 12)
                               .arg(got.imag() < 0 ? "" : "+")
                               .arg(got.imag(), 0, 'g', 12)));
        }
        for (int c = 0; c < 3; ++c) {
            QVERIFY(near(filt_tf_rows[n].num[c], num[c]));
            QVERIFY(near(filt_tf_rows[n].den[c], den[c]));
        }
    }
    QCOMPARE(&filt7_fr, &filt_fr_rows[7]);
    QVERIFY(filt_combined_fr1.empty());
    QVERIFY(filt_combined_fr.empty());
    QCOMPARE(gain_value, 0.0);
}

void TestDsp::frequencyGrid()
{
    QCOMPARE(freqs1.size(), std::size_t(182));
    QCOMPARE(freqs1[0], 20.0);
    QCOMPARE(freqs1[85], 500.0);
    QCOMPARE(freqs1[103], 1000.0);
    QCOMPARE(freqs1[162], 10000.0);
    QCOMPARE(freqs1[180], 20000.0);
    QCOMPARE(freqs1[181], 22000.0);
    for (std::size_t k = 1; k < freqs1.size(); ++k) {
        QVERIFY(freqs1[k] > freqs1[k - 1]);
        QCOMPARE(freqs1[k], std::floor(freqs1[k]));
    }
}

void TestDsp::clearedAndStartupBands()
{
    EQ_data band { 1, 3, 5000, 7.5, 4.0 };
    clearBand(band);
    QCOMPARE(band.status, uint8_t(0));
    QCOMPARE(band.type, 1);
    QCOMPARE(band.center_frequency, 632);
    QCOMPARE(band.gain, 0.0);
    QCOMPARE(band.Q, 0.707);

    EQ_data* set[12] = {};
    makeStartupBandSet(set);
    for (int i = 0; i < 12; ++i)
        QVERIFY(set[i] != nullptr);
    QCOMPARE(set[0]->status, uint8_t(1));
    QCOMPARE(set[0]->gain, -3.0);
    QCOMPARE(set[1]->status, uint8_t(1));
    QCOMPARE(set[1]->type, 1);
    QCOMPARE(set[1]->center_frequency, 20);
    QCOMPARE(set[1]->gain, 3.0);
    QCOMPARE(set[1]->Q, 0.2);
    for (int i = 2; i < 12; ++i) {
        QCOMPARE(set[i]->status, uint8_t(0));
        QCOMPARE(set[i]->center_frequency, 632);
        QCOMPARE(set[i]->Q, 0.707);
    }
    // Each call makes records of its own: the two channels never share one.
    EQ_data* other[12] = {};
    makeStartupBandSet(other);
    QVERIFY(other[1] != set[1]);
}

void TestDsp::dialTables()
{
    for (int k = 0; k < 102; ++k)
        QCOMPARE(fre_value_deal[k], kFrequencyTable[k]);
    QCOMPARE(Q_value_deal[23], 7070.0);
    QCOMPARE(Q_value_deal[46], 150000.0);
    QCOMPARE(Q_value_deal[47], 0.0);
}

void TestDsp::frequencyDial_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("hz");
    QTest::newRow("-1") << -1 << 20;
    QTest::newRow("0") << 0 << 21;
    QTest::newRow("1") << 1 << 23;
    QTest::newRow("49") << 49 << 632;
    QTest::newRow("56") << 56 << 1026;
    QTest::newRow("99") << 99 << 20000;
    QTest::newRow("100") << 100 << 22000;
    // Out-of-range positions are held at the dial's ends.
    QTest::newRow("101") << 101 << 22000;
    QTest::newRow("-2") << -2 << 20;
}

void TestDsp::frequencyDial()
{
    QFETCH(int, position);
    QFETCH(int, hz);
    QCOMPARE(value_deal::balance_value_deal(position), hz);
}

void TestDsp::qDial_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("q");
    QTest::newRow("-1") << -1 << 1000;
    QTest::newRow("0") << 0 << 1040;
    QTest::newRow("22") << 22 << 7070;
    QTest::newRow("45") << 45 << 150000;
    QTest::newRow("46 never reaches the padding") << 46 << 150000;
    QTest::newRow("-2") << -2 << 1000;
}

void TestDsp::qDial()
{
    QFETCH(int, position);
    QFETCH(int, q);
    QCOMPARE(value_deal::balance_Qvalue_deal(position), q);
}

void TestDsp::nearestFrequency_data()
{
    QTest::addColumn<int>("hz");
    QTest::addColumn<int>("position");
    QTest::newRow("632") << 632 << 49;
    QTest::newRow("20") << 20 << -1;
    QTest::newRow("21") << 21 << 0;
    QTest::newRow("22 tie goes low") << 22 << 0;
    QTest::newRow("20000") << 20000 << 99;
    QTest::newRow("21000 tie goes low") << 21000 << 99;
    QTest::newRow("22000") << 22000 << 100;
    QTest::newRow("30000") << 30000 << 100;
    QTest::newRow("60000 none closer") << 60000 << -1;
    QTest::newRow("0") << 0 << -1;
    QTest::newRow("1000") << 1000 << 56;
    QTest::newRow("most negative int") << std::numeric_limits<int>::min() << -1;
}

void TestDsp::nearestFrequency()
{
    QFETCH(int, hz);
    QFETCH(int, position);
    QCOMPARE(value_deal::line_fre_value_deal(hz), position);
}

void TestDsp::nearestQ_data()
{
    QTest::addColumn<int>("q");
    QTest::addColumn<int>("position");
    QTest::newRow("7070") << 7070 << 22;
    QTest::newRow("1000") << 1000 << -1;
    QTest::newRow("1020 tie goes low") << 1020 << -1;
    QTest::newRow("1021") << 1021 << 0;
    QTest::newRow("150000") << 150000 << 45;
    QTest::newRow("1 near the smallest") << 1 << -1;
    QTest::newRow("300000 none closer") << 300000 << -1;
    QTest::newRow("7000") << 7000 << 22;
    QTest::newRow("most negative int") << std::numeric_limits<int>::min() << -1;
}

void TestDsp::nearestQ()
{
    QFETCH(int, q);
    QFETCH(int, position);
    QCOMPARE(value_deal::line_Q_value_deal(q), position);
}

void TestDsp::deviceGainTables()
{
    for (int i = 0; i <= 120; ++i) {
        QCOMPARE(Positive_Gain[i], kPositiveGain[i]);
        QCOMPARE(Negative_Gain[i], kNegativeGain[i]);
    }
    QCOMPARE(logGain[0], 1000000);
    QCOMPARE(logGain[120], 3981071);
    QCOMPARE(logAttenuation[120], 251188);
}

void TestDsp::getModulus_data()
{
    QTest::addColumn<int>("tenths");
    QTest::addColumn<uint32_t>("word");
    QTest::newRow("0") << 0 << uint32_t(33554432);
    QTest::newRow("1") << 1 << uint32_t(33942958);
    QTest::newRow("20 stored") << 20 << uint32_t(42242546);
    QTest::newRow("25 stored") << 25 << uint32_t(44802347);
    QTest::newRow("35 stored") << 35 << uint32_t(50075157);
    QTest::newRow("-49 stored") << -49 << uint32_t(19308528);
    QTest::newRow("-48") << -48 << uint32_t(19308528);
    QTest::newRow("-30") << -30 << uint32_t(23754692);
    QTest::newRow("120") << 120 << uint32_t(133582576);
    QTest::newRow("150 held at +12") << 150 << uint32_t(133582576);
    QTest::newRow("-119") << -119 << uint32_t(8526080);
    QTest::newRow("-120") << -120 << uint32_t(8428470);
    QTest::newRow("-200 held at -12") << -200 << uint32_t(8428470);
    QTest::newRow("INT_MIN") << INT_MIN << uint32_t(8428470);
    QTest::newRow("INT_MAX") << INT_MAX << uint32_t(133582576);
}

void TestDsp::getModulus()
{
    QFETCH(int, tenths);
    QFETCH(uint32_t, word);
    QCOMPARE(value_deal::Get_Modulus(tenths), word);
}

void TestDsp::globalGainChange_data()
{
    QTest::addColumn<int32_t>("word");
    QTest::addColumn<int>("tenths");
    QTest::newRow("unity") << int32_t(33554432) << 0;
    QTest::newRow("+0.1") << int32_t(33942958) << 1;
    QTest::newRow("+2.0 stored") << int32_t(42242546) << 20;
    QTest::newRow("+2.0 by rule is unknown") << int32_t(42242513) << 0;
    QTest::newRow("+2.5 stored") << int32_t(44802347) << 25;
    QTest::newRow("+3.5 stored") << int32_t(50075157) << 35;
    QTest::newRow("+12") << int32_t(133582576) << 120;
    QTest::newRow("above +12") << int32_t(133582577) << 0;
    QTest::newRow("-4.9 stored reads as -4.8") << int32_t(19308528) << -48;
    QTest::newRow("-4.9 by rule is unknown") << int32_t(19087505) << 0;
    QTest::newRow("-3.0") << int32_t(23754692) << -30;
    QTest::newRow("device's -3.0 word") << int32_t(23754725) << 0;
    QTest::newRow("-12") << int32_t(8428470) << -120;
    QTest::newRow("zero") << int32_t(0) << 0;
    QTest::newRow("negative") << int32_t(INT_MIN) << 0;
}

void TestDsp::globalGainChange()
{
    QFETCH(int32_t, word);
    QFETCH(int, tenths);
    QCOMPARE(global_gain_change(word), tenths);
}

void TestDsp::globalGainChangeLogsCut()
{
    QTest::ignoreMessage(QtDebugMsg, "global_gain_change: 30 23754692");
    QTest::ignoreMessage(QtDebugMsg, "global_gain_change: -30 23754692");
    QCOMPARE(global_gain_change(23754692), -30);
    QTest::ignoreMessage(QtDebugMsg, "global_gain_change: 25 44802347");
    QCOMPARE(global_gain_change(44802347), 25);
    QTest::ignoreMessage(QtDebugMsg, "global_gain_change: 0 5");
    QCOMPARE(global_gain_change(5), 0);
}

void TestDsp::filterLevels_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("fc");
    QTest::addColumn<double>("gain");
    QTest::addColumn<double>("q");
    QTest::addColumn<QList<double>>("db"); // at grid points 0, 42, 85, 103, 121, 162, 181

    // Reference levels from the transfer functions, evaluated independently in numpy.
    const auto row = [](int type, int fc, double gain, double q, QList<double> db) {
        QTest::addRow("type %d %d Hz %g dB Q %g", type, fc, gain, q)
            << type << fc << gain << q << db;
    };
    row(1, 1000, 12.0, 2.0,
        { 0.001621, 0.041097, 1.471130, 12.000000, 1.471130, 0.041097, 0.008393 });
    row(1, 20, -6.5, 0.2,
        { -6.500000, -3.376747, -0.271854, -0.070386, -0.017756, -0.000712, -0.000147 });
    row(1, 3000, 10.0, 12.0,
        { 0.000004, 0.000096, 0.002522, 0.012050, 0.121497, 0.009317, 0.001657 });
    row(2, 10000, 0.0, 1.0,
        { 0.000017, 0.000434, 0.010844, 0.043209, 0.170055, 0.000000, -12.919369 });
    row(2, 10000, 0.0, 0.707,
        { -0.000000, -0.000000, -0.000034, -0.000461, -0.007048, -3.011612, -13.878972 });
    row(3, 100, 0.0, 0.707,
        { -27.965848, -3.011612, -0.007048, -0.000461, -0.000034, -0.000000, -0.000000 });
    row(3, 1000, 5.0, 4.0,
        { -67.955434, -39.915472, -9.661417, 12.041200, 2.379782, 0.084528, 0.017402 });
    row(4, 100, 6.0, 0.707,
        { 5.989565, 3.000000, 0.010435, 0.000667, 0.000045, 0.000000, 0.000000 });
    row(4, 2000, -9.0, 1.5,
        { -9.000732, -9.018307, -9.464407, -10.791833, -4.500000, 0.295868, 0.060624 });
    row(5, 100, 6.0, 0.707,
        { 0.010435, 3.000000, 5.989565, 5.999333, 5.999955, 6.000000, 6.000000 });
    row(5, 5000, -8.0, 1.0,
        { 0.000066, 0.001656, 0.040959, 0.157664, 0.498061, -8.568373, -8.200214 });
    row(7, 632, 4.0, 0.5, { 0.016555, 0.391111, 3.781875, 3.249984, 1.331192, 0.065554, 0.013648 });
    row(0, 8000, -3.0, 3.0,
        { -0.000002, -0.000053, -0.001338, -0.005472, -0.023977, -1.066823, -0.058495 });
}

void TestDsp::filterLevels()
{
    QFETCH(int, type);
    QFETCH(int, fc);
    QFETCH(double, gain);
    QFETCH(double, q);
    QFETCH(QList<double>, db);

    EQ_data band { 1, type, fc, gain, q };
    const FrequencyResponse h = value_deal::peq_fr(bandTransferFunction(band));
    QCOMPARE(h.size(), kGridSize);
    const int points[] = { 0, 42, 85, 103, 121, 162, 181 };
    for (int i = 0; i < 7; ++i) {
        const double got = levelAt(h, points[i]);
        if (std::fabs(got - db[i]) > 0.001)
            QFAIL(qPrintable(
                QString("point %1: %2 dB, expected %3").arg(points[i]).arg(got).arg(db[i])));
    }
    std::vector<double> levels;
    levelDb(h, 1.5, levels);
    QCOMPARE(levels.size(), kGridSize);
    QVERIFY(std::fabs(levels[103] - (db[3] + 1.5)) < 0.001);
}

void TestDsp::levelOfAnyMagnitude()
{
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    FrequencyResponse h;
    // Magnitudes across the whole double range, plus the unusual ones.
    for (double m = 1e-300; m < 1e300; m *= 7.31)
        h.push_back(std::polar(m, 0.3 * h.size()));
    const std::complex<double> odd[] = {
        { 1.0, 0.0 },
        { 0.0, -2.0 },
        { 0.5, 0.5 },
        { 0.0, 0.0 },
        { 1e-310, 0.0 },
        { 1e-160, 0.0 },
        { 1e200, 1e200 },
        { inf, 0.0 },
        { nan, 1.0 },
        { -3.0, 4.0 },
    };
    h.insert(h.end(), std::begin(odd), std::end(odd));
    std::vector<double> levels;
    levelDb(h, -1.25, levels);
    QCOMPARE(levels.size(), h.size());
    for (std::size_t k = 0; k < h.size(); ++k) {
        const double expected = 20.0 * std::log10(std::abs(h[k])) - 1.25;
        if (std::isfinite(expected)) {
            if (std::fabs(levels[k] - expected) > 1e-9 * std::max(1.0, std::fabs(expected)))
                QFAIL(qPrintable(QString("magnitude %1: %2 dB, expected %3")
                                     .arg(std::abs(h[k]))
                                     .arg(levels[k], 0, 'g', 17)
                                     .arg(expected, 0, 'g', 17)));
        } else if (std::isnan(expected)) {
            QVERIFY(std::isnan(levels[k]));
        } else {
            QCOMPARE(levels[k], expected);
        }
    }
}

void TestDsp::flatPeakingAndTermByTermAgree()
{
    for (const std::complex<double>& v :
        value_deal::peq_fr(value_deal::peq_tf(632.0, 0.0, 0.707))) {
        QVERIFY(std::fabs(v.real() - 1.0) < 1e-12);
        QVERIFY(std::fabs(v.imag()) < 1e-12);
    }
    // The term-by-term evaluation matches the closed form for every prototype.
    const TransferFunction tfs[] = {
        value_deal::peq_tf(1000.0, 12.0, 2.0),
        value_deal::lp_tf(10000.0, 0.707),
        value_deal::hp_tf(50.0, 0.5),
        value_deal::lsf_tf(100.0, 6.0, 0.707),
        value_deal::hsf_tf(8000.0, -4.0, 1.2),
    };
    for (const TransferFunction& tf : tfs) {
        const FrequencyResponse a = value_deal::peq_fr(tf);
        const FrequencyResponse b = computeFrequencyResponse(tf);
        QCOMPARE(b.size(), kGridSize);
        for (std::size_t k = 0; k < kGridSize; ++k)
            QVERIFY(std::abs(a[k] - b[k]) <= 1e-9 * std::max(1.0, std::abs(a[k])));
    }
}

void TestDsp::unusableBandIsFlat_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("fc");
    QTest::addColumn<double>("q");
    QTest::newRow("peaking Q 0") << 1 << 1000 << 0.0;
    QTest::newRow("low-pass Q 0") << 2 << 1000 << 0.0;
    QTest::newRow("low-pass 0 Hz") << 2 << 0 << 0.707;
    QTest::newRow("high-shelf negative Q") << 5 << 1000 << -1.0;
    QTest::newRow("peaking NaN Q") << 1 << 1000 << std::nan("");
}

void TestDsp::unusableBandIsFlat()
{
    QFETCH(int, type);
    QFETCH(int, fc);
    QFETCH(double, q);
    EQ_data band { 1, type, fc, 6.0, q };
    for (const std::complex<double>& v : value_deal::peq_fr(bandTransferFunction(band)))
        QCOMPARE(v, std::complex<double>(1.0, 0.0));
}

void TestDsp::setResponsePreampAndDisabledBands()
{
    BandSet set;
    set.records[0] = { 1, 1, 632, -3.0, 0.707 };
    set.records[4] = { 0, 2, 5000, 0.0, 1.0 }; // off, but its transfer function is still built
    computeSetResponses(set.ptrs);
    QCOMPARE(gain_value, -3.0);
    QCOMPARE(filt_combined_fr1.size(), kGridSize);
    for (const std::complex<double>& v : filt_combined_fr1)
        QCOMPARE(v, std::complex<double>(1.0, 0.0));
    QCOMPARE(filt4_tf.den, value_deal::lp_tf(5000.0, 1.0).den);
    QCOMPARE(filt4_fr, filt12_fr);
    QCOMPARE(filt12_fr, FrequencyResponse(kGridSize, { 1.0, 0.0 }));
    // The fixed reference filters.
    QCOMPARE(filt13_fr, value_deal::peq_fr(value_deal::peq_tf(1000.0, 12.0, 2.0)));
    QCOMPARE(filt14_fr, value_deal::peq_fr(value_deal::lp_tf(10000.0, 1.0)));
    QCOMPARE(filt15_fr, value_deal::peq_fr(value_deal::peq_tf(20.0, 12.0, 1.0)));
    QCOMPARE(filt16_fr, value_deal::peq_fr(value_deal::peq_tf(2000.0, -12.0, 1.0)));

    set.records[0].status = 0;
    computeSetResponses(set.ptrs);
    QCOMPARE(gain_value, 0.0);
}

void TestDsp::setResponseProductOfBands()
{
    BandSet set;
    set.records[0].status = 1;
    set.records[0].gain = 2.0;
    set.records[1] = { 1, 1, 1000, 12.0, 2.0 };
    set.records[5] = { 1, 2, 10000, 0.0, 1.0 };
    set.records[11] = { 1, 9, 632, 4.0, 0.5 };
    set.records[7] = { 0, 1, 100, 12.0, 1.0 };
    computeSetResponses(set.ptrs);
    QCOMPARE(gain_value, 2.0);
    std::vector<double> combined;
    levelDb(filt_combined_fr1, gain_value, combined);
    // Levels add up: 12.0 (peak) + 0.043209 (low-pass) + 3.249984 (type 9 as peaking) + 2 (preamp).
    QVERIFY(std::fabs(combined[103] - (12.0 + 0.043209 + 3.249984 + 2.0)) < 0.001);
    QCOMPARE(filt1_fr, value_deal::peq_fr(value_deal::peq_tf(1000.0, 12.0, 2.0)));
    QCOMPARE(filt7_fr, filt12_fr);
}

void TestDsp::biquad()
{
    Biquad def;
    QCOMPARE(def.type(), int(Biquad::lowpass));
    QCOMPARE(def.a0(), 1.0);
    QCOMPARE(def.a1(), 0.0);
    QCOMPARE(def.b2(), 0.0);

    // Gain of the section at DC (z = 1) and at Fc.
    const auto gainAt = [](const Biquad& b, double fc) {
        const std::complex<double> z = std::polar(1.0, 2.0 * M_PI * fc);
        const std::complex<double> zi = 1.0 / z;
        return std::abs(
            (b.a0() + b.a1() * zi + b.a2() * zi * zi) / (1.0 + b.b1() * zi + b.b2() * zi * zi));
    };
    Biquad lp(Biquad::lowpass, 0.1, 0.707, 0.0);
    QVERIFY(std::fabs(gainAt(lp, 0.0) - 1.0) < 1e-12);
    Biquad pk(Biquad::peak, 0.05, 2.0, 6.0);
    QVERIFY(std::fabs(20 * std::log10(gainAt(pk, 0.05)) - 6.0) < 1e-9);
    pk.setPeakGain(-6.0);
    QVERIFY(std::fabs(20 * std::log10(gainAt(pk, 0.05)) + 6.0) < 1e-9);
    Biquad hs(Biquad::highshelf, 0.1, 0.707, 6.0);
    QVERIFY(std::fabs(20 * std::log10(gainAt(hs, 0.5)) - 6.0) < 1e-9);

    // An unknown type keeps the coefficients it had.
    const double a0 = pk.a0();
    pk.setType(7);
    QCOMPARE(pk.a0(), a0);
}

QTEST_GUILESS_MAIN(TestDsp)
#include "test_dsp.moc"
