// Import and export formats: the filter text, the own CSV curve files, the
// foreign measurement files with their resampling, the curve-list rules and
// No widget and, where the formats allow,
// no file: the readers are fed text.
#include <QtTest>

#include <QLoggingCategory>
#include <QTemporaryDir>

#include <cmath>

#include "dsp/band.h"
#include "dsp/grid.h"
#include "io/csv_files.h"
#include "io/curve_entries.h"
#include "io/filter_text.h"
#include "store/curve_list.h"
#include "store/number_text.h"
#include "band_fixtures.h"
#include "file_size_limit.h"
#include "test_files.h"

namespace {

// Values no import writes, so a band an import did not touch shows.
BandSet sentinelSet()
{
    BandSet s;
    for (EQ_data& r : s.records)
        r = EQ_data { 0, 3, 777, 7.5, 7.0 };
    return s;
}

const QString kUntouched = bandString(EQ_data { 0, 3, 777, 7.5, 7.0 });

// Nine lines that a loose file starts with and that are never read.
QString looseHeader()
{
    return QStringLiteral(
        "Filter Settings file\n\nRoom EQ V5.20\nDated: 2024\n\nNotes:\n\nEqualiser: Generic\n"
        "Filter 1: ON PK Fc 50 Hz Gain 5 dB Q 2\n");
}

CurveRows gridCurve(double (*level)(double))
{
    CurveRows rows;
    for (double f : freqs1)
        rows.append({ f, level(f) });
    return rows;
}

// Rows of a .expected file, or nullopt for "fail".
std::optional<CurveRows> expectedCurve(const QString& path)
{
    const QByteArray text = fileBytes(path);
    if (text.trimmed() == "fail")
        return std::nullopt;
    CurveRows rows;
    for (const QByteArray& line : text.split('\n')) {
        if (line.isEmpty())
            continue;
        const QList<QByteArray> parts = line.split(',');
        rows.append({ parts[0].toDouble(), parts[1].toDouble() });
    }
    return rows;
}

} // namespace

class TestIo : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        // The readers log every field they drop; the large inputs below
        // would drown the output.
        QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));
    }

    // ---- filter text: writer ----

    void filterTextByteExact()
    {
        BandSet s;
        setStartupBandValues(s.ptrs);
        s.records[3] = EQ_data { 1, 4, 105, -2.25, 0.70710678 };
        s.records[4] = EQ_data { 0, 5, 9000, 1234567.0, 12.5 };
        s.records[5] = EQ_data { 1, 0, 632, -0.0, 0.707 }; // no type word for type 0
        s.records[6] = EQ_data { 1, 6, 20, 2.5, 1.0 }; // nor for 6
        s.records[7] = EQ_data { 0, 2, 22000, 0.0001, 0.1 };
        s.records[11] = EQ_data { 1, 1, 5000, 9.0, 9.0 }; // band 11 is never written
        const QByteArray expected = "Preamp: -3 dB\n"
                                    "Filter 1: ON PK Fc 20 Hz Gain 3 dB Q 0.2\n"
                                    "Filter 2: OFF PK Fc 632 Hz Gain 0 dB Q 0.707\n"
                                    "Filter 3: ON LSC Fc 105 Hz Gain -2.25 dB Q 0.707107\n"
                                    "Filter 4: OFF HSC Fc 9000 Hz Gain 1.23457e+06 dB Q 12.5\n"
                                    "Filter 5: ON Fc 632 Hz Gain 0 dB Q 0.707\n"
                                    "Filter 6: ON Fc 20 Hz Gain 2.5 dB Q 1\n"
                                    "Filter 7: OFF LP Fc 22000 Hz Gain 0.0001 dB Q 0.1\n"
                                    "Filter 8: OFF PK Fc 632 Hz Gain 0 dB Q 0.707\n"
                                    "Filter 9: OFF PK Fc 632 Hz Gain 0 dB Q 0.707\n"
                                    "Filter 10: OFF PK Fc 632 Hz Gain 0 dB Q 0.707\n";
        QCOMPARE(filterText(s.ptrs), expected);

        const QString left = dir.filePath("left.txt");
        const QString right = dir.filePath("right.txt");
        QVERIFY(exportToTXT(left, s.ptrs));
        QVERIFY(exportToTXT2(right, s.ptrs));
        QCOMPARE(fileBytes(left), expected);
        QCOMPARE(fileBytes(right), expected);
    }

    void filterExportFailureKeepsOldFile()
    {
        BandSet s;
        setStartupBandValues(s.ptrs);
        QVERIFY(!exportToTXT(QString(), s.ptrs)); // a cancelled dialog
        QVERIFY(!exportToTXT(dir.filePath("missing/dir/x.txt"), s.ptrs));

        const QString path = dir.filePath("kept.txt");
        putFile(path, "old contents\n");
        {
            FileSizeLimit full(4);
            QVERIFY(!exportToTXT(path, s.ptrs));
            QVERIFY(!exportToCSV(path, gridCurve([](double) { return 1.0; })));
        }
        QCOMPARE(fileBytes(path), QByteArray("old contents\n"));
    }

    // ---- filter text: own syntax ----

    void ownSyntax_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("preamp"); // record 0 afterwards
        QTest::addColumn<QStringList>("bands"); // bands 1..n afterwards; the rest untouched

        const QString p = QStringLiteral("Preamp: -6 dB\n");
        QTest::newRow("common text")
            << p
                + "Filter 1: ON PK Fc 100 Hz Gain -2.5 dB Q 1.41\n"
                  "Filter 2: ON LSC Fc 105 Hz Gain 6.5 dB Q 0.70\n"
                  "Filter 3: OFF HSC Fc 10000 Hz Gain -1.2 dB Q 0.7\n"
            << "1 1 632 -6 0.707"
            << QStringList { "1 1 100 -2.5 1.41", "1 4 105 6.5 0.7", "0 5 10000 -1.2 0.7" };
        QTest::newRow("other type words")
            << p
                + "Filter 1: ON LS Fc 100 Hz Gain 1 dB Q 1\nFilter 2: ON HS Fc 100 Hz Gain 1 dB Q "
                  "1\n"
                  "Filter 3: ON LPQ Fc 100 Hz Gain 1 dB Q 1\nFilter 4: ON HPQ Fc 100 Hz Gain 1 dB "
                  "Q 1\n"
                  "Filter 5: ON Modal Fc 100 Hz Gain 1 dB Q 1\nFilter 6: ON LP Fc 100 Hz Gain 1 dB "
                  "Q 1\n"
                  "Filter 7: ON HP Fc 100 Hz Gain 1 dB Q 1\nFilter 8: ON XX Fc 100 Hz Gain 1 dB Q "
                  "1\n"
            << "1 1 632 -6 0.707"
            << QStringList { "1 4 100 1 1", "1 5 100 1 1", "1 2 100 1 1", "1 3 100 1 1",
                   "1 1 100 1 1", "1 2 100 1 1", "1 3 100 1 1", "1 3 100 1 1" };
        QTest::newRow("line without type word is skipped")
            << p + "Filter 1: ON Fc 100 Hz Gain 1 dB Q 1\nFilter 2: ON PK Fc 200 Hz Gain 2 dB Q 2\n"
            << "1 1 632 -6 0.707" << QStringList { "1 1 200 2 2" };
        QTest::newRow("plus sign does not fit")
            << p
                + "Filter 1: ON PK Fc 100 Hz Gain +3 dB Q 1\nFilter 2: ON PK Fc 200 Hz Gain 2 dB Q "
                  "2\n"
            << "1 1 632 -6 0.707" << QStringList { "1 1 200 2 2" };
        QTest::newRow("decimal Fc rounds half away")
            << p + "Filter 1: ON PK Fc 99.5 Hz Gain 1 dB Q 1\n"
            << "1 1 632 -6 0.707" << QStringList { "1 1 100 1 1" };
        QTest::newRow("CRLF")
            << "Preamp: -6 dB\r\nFilter 1: ON PK Fc 100 Hz Gain -2.5 dB Q 1.41\r\n"
            << "1 1 632 -6 0.707" << QStringList { "1 1 100 -2.5 1.41" };
        QTest::newRow("byte-order mark")
            << QChar(0xFEFF) + p + "Filter 1: ON PK Fc 100 Hz Gain 1 dB Q 1\n"
            << "1 1 632 -6 0.707" << QStringList { "1 1 100 1 1" };
        QTest::newRow("tabs do not fit") << p
                + "Filter 1:\tON PK Fc 100 Hz Gain 1 dB Q 1\nFilter 2: ON\tPK Fc 100 Hz Gain 1 dB "
                  "Q 1\n"
                                         << "1 1 632 -6 0.707" << QStringList {};
        QTest::newRow("only ON turns a band on")
            << p + "Filter 1: On PK Fc 100 Hz Gain 1 dB Q 1\n"
            << "1 1 632 -6 0.707" << QStringList { "0 1 100 1 1" };
        QTest::newRow("number 7 fills band 1")
            << p + "Filter 7: ON PK Fc 100 Hz Gain 1 dB Q 1\n"
            << "1 1 632 -6 0.707" << QStringList { "1 1 100 1 1" };
        QTest::newRow("limits") << p
                + "Filter 1: ON PK Fc 5 Hz Gain 15 dB Q 20\nFilter 2: ON PK Fc 30000 Hz Gain -20 "
                  "dB Q 0\n"
                  "Filter 3: ON PK Fc 1.2.3 Hz Gain 12 dB Q 0.1\nFilter 4: ON PK Fc 20.4 Hz Gain "
                  "-12 dB Q 15\n"
                  "Filter 5: ON PK Fc 21999.5 Hz Gain 1-2 dB Q 0.15\n"
                                << "1 1 632 -6 0.707"
                                << QStringList { "1 1 20 12 15", "1 1 22000 -12 0.1",
                                       "1 1 20 12 0.1", "1 1 20 -12 15", "1 1 22000 0 0.15" };
        // Digits beyond the largest double: the preamp line does not fit
        // (0 dB, on), and a filter line with such a field is skipped.
        const QString huge(400, '9');
        QTest::newRow("numbers too large for a double")
            << "Preamp: " + huge + " dB\nFilter 1: ON PK Fc " + huge + " Hz Gain -" + huge
                + " dB Q " + huge + "\nFilter 2: ON PK Fc 100 Hz Gain 1 dB Q " + huge
                + "\nFilter 3: ON PK Fc 200 Hz Gain 2 dB Q 2\n"
            << "1 1 632 0 0.707" << QStringList { "1 1 200 2 2" };
        QTest::newRow("nan and inf fields do not fit")
            << p
                + "Filter 1: ON PK Fc 100 Hz Gain nan dB Q 1\nFilter 2: ON PK Fc inf Hz Gain 1 dB "
                  "Q 1\nFilter 3: ON PK Fc 200 Hz Gain 2 dB Q 2\n"
            << "1 1 632 -6 0.707" << QStringList { "1 1 200 2 2" };
        QTest::newRow("preamp limited like a gain") << "Preamp: -" + QString(110, '6') + "3 dB\n"
                                                    << "1 1 632 -12 0.707" << QStringList {};
        QTest::newRow("preamp 12.04") << "Preamp: 12.04 dB"
                                      << "1 1 632 12 0.707" << QStringList {};
        QTest::newRow("preamp rounded to 0.1 dB and on") << "Preamp: -6.25 dB\n"
                                                         << "1 1 632 -6.3 0.707" << QStringList {};
        QTest::newRow("preamp 6.24") << "Preamp: 6.24 dB"
                                     << "1 1 632 6.2 0.707" << QStringList {};
        QTest::newRow("preamp line that does not fit")
            << "Preamp:-6dB\nFilter 1: ON PK Fc 100 Hz Gain 1 dB Q 1\n"
            << "1 1 632 0 0.707" << QStringList { "1 1 100 1 1" };
        QTest::newRow("preamp word anywhere in line 1") << "# Preamp: -4.5 dB from a tool\n"
                                                        << "1 1 632 -4.5 0.707" << QStringList {};
    }

    void ownSyntax()
    {
        QFETCH(QString, text);
        QFETCH(QString, preamp);
        QFETCH(QStringList, bands);
        BandSet s;
        for (EQ_data& r : s.records)
            r = EQ_data { 0, 3, 777, 7.5, 7.0 };
        s.records[0] = EQ_data { 0, 1, 632, 1.0, 0.707 };
        applyFilterImport(parseFilterText(text), s.ptrs);
        QCOMPARE(bandString(s.records[0]), preamp);
        for (int b = 1; b <= 11; ++b)
            QCOMPARE(bandString(s.records[b]), b <= bands.size() ? bands[b - 1] : kUntouched);
    }

    // ---- filter text: loose syntax ----

    void looseSyntax_data()
    {
        QTest::addColumn<QString>("body"); // after the nine header lines
        QTest::addColumn<QStringList>("bands"); // bands 1..n afterwards

        QTest::newRow("shelf") << "Filter 1: ON HS Fc 8000 Hz Gain -2.5 dB Q 0.7\n"
                               << QStringList { "1 5 8000 -2.5 0.7" };
        QTest::newRow("gain and Q absent") << "Filter 1: ON PK Fc 100 Hz\n"
                                           << QStringList { "1 1 100 0 0.707" };
        QTest::newRow("T60 target")
            << "Filter 1: OFF Modal Fc 40 Hz Gain -6 dB Q 5 T60 target 385 ms\n"
            << QStringList { "0 1 40 -6 10" };
        QTest::newRow("T60 without Q") << "Filter 1: ON PK Fc 40 Hz Gain 1 dB T60 target 385 ms\n"
                                       << QStringList { "1 1 40 1 0.707" };
        QTest::newRow("T60-derived Q limited")
            << "Filter 1: ON Modal Fc 40 Hz Gain 1 dB Q 5 T60 target 99999 ms\n"
               "Filter 2: ON Modal Fc 40 Hz Gain 1 dB Q 5 T60 target 1 ms\n"
            << QStringList { "1 1 40 1 15", "1 1 40 1 0.1" };
        QTest::newRow("lower-case on does not match") << "Filter 1: on PK Fc 100 Hz Gain 1 dB Q 1\n"
                                                      << QStringList {};
        QTest::newRow("plus sign and padded columns")
            << "Filter  1: ON  PK       Fc    100.0 Hz  Gain  +3.50 dB  Q  1.410\n"
               "Filter  2: ON  LS       Fc     80   Hz  Gain  -1 dB\n"
            << QStringList { "1 1 100 3.5 1.41", "1 4 80 -1 0.707" };
        QTest::newRow("tabs and CRLF") << "Filter 1:\tON\tPK\tFc\t100\tHz\tGain\t2\tdB\tQ\t3\r\n"
                                       << QStringList { "1 1 100 2 3" };
        QTest::newRow("limits")
            << "ON PK Fc 5 Hz Gain 15 dB Q 20\nON PK Fc 30000 Hz Gain -20 dB Q 0\n"
            << QStringList { "1 1 20 12 15", "1 1 22000 -12 0.1" };
        QTest::newRow("numbers too large for a double")
            << "ON PK Fc 100 Hz Gain 1 dB Q 5 T60 target " + QString(400, '9') + " ms\nON PK Fc 1"
                + QString(400, '0') + " Hz\nON PK Fc 200 Hz\n"
            << QStringList { "1 1 200 0 0.707" };
    }

    void looseSyntax()
    {
        QFETCH(QString, body);
        QFETCH(QStringList, bands);
        BandSet s = sentinelSet();
        const FilterImport import = parseFilterText(looseHeader() + body);
        QVERIFY(!import.preamp);
        applyFilterImport(import, s.ptrs);
        QCOMPARE(bandString(s.records[0]), kUntouched); // the loose syntax has no preamp
        for (int b = 1; b <= 11; ++b)
            QCOMPARE(bandString(s.records[b]), b <= bands.size() ? bands[b - 1] : kUntouched);
    }

    void looseSkipsNineLines()
    {
        // Own lines without their preamp line are read loosely from the tenth.
        QString text;
        for (int n = 1; n <= 11; ++n)
            text += QStringLiteral("Filter %1: ON PK Fc %2 Hz Gain 1 dB Q 1\n").arg(n).arg(100 * n);
        BandSet s = sentinelSet();
        applyFilterImport(parseFilterText(text), s.ptrs);
        QCOMPARE(bandString(s.records[1]), QString("1 1 1000 1 1"));
        QCOMPARE(bandString(s.records[2]), QString("1 1 1100 1 1"));
        QCOMPARE(bandString(s.records[3]), kUntouched);

        // Nine lines or fewer change nothing.
        const QString nine = looseHeader();
        QCOMPARE(nine.count('\n'), 9);
        QVERIFY(parseFilterText(nine).bands.isEmpty());
        QVERIFY(parseFilterText(QString()).bands.isEmpty());
    }

    void atMostElevenBands()
    {
        QString text = QStringLiteral("Preamp: 1 dB\n");
        for (int n = 1; n <= 14; ++n)
            text += QStringLiteral("Filter %1: ON PK Fc %2 Hz Gain 1 dB Q 1\n").arg(n).arg(100 * n);
        const FilterImport import = parseFilterText(text);
        QCOMPARE(import.bands.size(), kMaxImportedBands);
        BandSet s = sentinelSet();
        applyFilterImport(import, s.ptrs);
        QCOMPARE(bandString(s.records[11]), QString("1 1 1100 1 1"));
    }

    void importTargets_data()
    {
        QTest::addColumn<int>("target");
        QTest::addColumn<bool>("left");
        QTest::addColumn<bool>("right");
        QTest::newRow("left") << int(FilterTarget::Left) << true << false;
        QTest::newRow("right") << int(FilterTarget::Right) << false << true;
        QTest::newRow("both") << int(FilterTarget::Both) << true << true;
    }

    void importTargets()
    {
        QFETCH(int, target);
        QFETCH(bool, left);
        QFETCH(bool, right);
        BandSet l = sentinelSet();
        BandSet r = sentinelSet();
        std::copy(std::begin(l.ptrs), std::end(l.ptrs), EQ);
        std::copy(std::begin(r.ptrs), std::end(r.ptrs), EQ_R);
        const QString path = dir.filePath("targets.txt");
        putFile(path, "Preamp: -2 dB\nFilter 1: ON PK Fc 100 Hz Gain 1 dB Q 1\n");
        QVERIFY(importFromTXT(path, FilterTarget(target)));
        QCOMPARE(bandString(l.records[1]), left ? QString("1 1 100 1 1") : kUntouched);
        QCOMPARE(bandString(r.records[1]), right ? QString("1 1 100 1 1") : kUntouched);
        QCOMPARE(bandString(l.records[0]), left ? QString("1 3 777 -2 7") : kUntouched);
        QCOMPARE(bandString(r.records[0]), right ? QString("1 3 777 -2 7") : kUntouched);

        QVERIFY(!importFromTXT(dir.filePath("missing.txt"), FilterTarget(target)));
        QVERIFY(!importFromTXT(QString(), FilterTarget(target)));
        std::fill(std::begin(EQ), std::end(EQ), nullptr);
        std::fill(std::begin(EQ_R), std::end(EQ_R), nullptr);
    }

    void filterRoundTrip()
    {
        BandSet s;
        s.records[0] = EQ_data { 0, 1, 632, -6.27, 0.707 };
        const int types[] = { 1, 2, 3, 4, 5 };
        for (int b = 1; b <= 11; ++b)
            s.records[b] = EQ_data { uint8_t(b % 2), types[b % 5], 20 + 1999 * b,
                -11.5 + 2.123456789 * b, 0.1 + 1.3333333 * b };
        const QString path = dir.filePath("roundtrip.txt");
        QVERIFY(exportToTXT(path, s.ptrs));

        BandSet back = sentinelSet();
        std::copy(std::begin(back.ptrs), std::end(back.ptrs), EQ);
        QVERIFY(importFromTXT(path, FilterTarget::Left));
        std::fill(std::begin(EQ), std::end(EQ), nullptr);

        QCOMPARE(back.records[0].status, uint8_t(1));
        QCOMPARE(back.records[0].gain, -6.3);
        for (int b = 1; b <= 10; ++b) {
            const EQ_data& in = s.records[b];
            const EQ_data& out = back.records[b];
            QCOMPARE(out.status, in.status);
            QCOMPARE(out.type, in.type);
            QCOMPARE(out.center_frequency, in.center_frequency);
            QCOMPARE(
                out.gain, QString::number(std::clamp(in.gain, -12.0, 12.0), 'g', 6).toDouble());
            QCOMPARE(out.Q, QString::number(std::clamp(in.Q, 0.1, 15.0), 'g', 6).toDouble());
        }
        QCOMPARE(bandString(back.records[11]), kUntouched);
    }

    // ---- own CSV format ----

    void csvWriterByteExact()
    {
        const QString path = dir.filePath("rows.csv");
        QVERIFY(exportToCSV(path,
            CurveRows { { 20, -1.5 }, { 1000, 0 }, { 20000, 3.25 }, { 5, 6, 7 }, {},
                { 1234567, -3.14159265 } }));
        QCOMPARE(fileBytes(path),
            QByteArray("Quorvel_csv_file\nfre(Hz),raw(dB)\n20,-1.5\n1000,0\n"
                       "20000,3.25\n1.23457e+06,-3.14159\n"));
    }

    void responseWriter()
    {
        const double freqs[] = { 20, 500, 22000 };
        const FrequencyResponse h = { { 1, 0 }, { 0, 10 }, { 3, 4 } };
        const QString path = dir.filePath("response.csv");
        QVERIFY(exportToCSV(path, freqs, 3, h, -1.5));
        QCOMPARE(fileBytes(path),
            QByteArray("Quorvel_csv_file\nfre(Hz),raw(dB)\n20,-1.5\n500,18.5\n"
                       "22000,12.4794\n"));
        QVERIFY(exportToCSV(path, freqs, 2, h, 0.0)); // wrong length: header lines only
        QCOMPARE(fileBytes(path), QByteArray("Quorvel_csv_file\nfre(Hz),raw(dB)\n"));
    }

    void ownReader_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<CurveRows>("rows");
        QTest::newRow("own file")
            << "Quorvel_csv_file\nfre(Hz),raw(dB)\n20,-1.5\n1000,0\n20000,3.25\n"
            << CurveRows { { 20, -1.5 }, { 1000, 0 }, { 20000, 3.25 } };
        QTest::newRow("no header line") << "Quorvel_csv_file\n20,-1.5\n1000,0\n" << CurveRows {};
        QTest::newRow("lines before the header, empty lines, a second header")
            << "x\n1,2\nfre(Hz),raw(dB) and more\n\n20,1\nfre(Hz),raw(dB)\n30,2\n"
            << CurveRows { { 20, 1 }, { 30, 2 } };
        QTest::newRow("rows as they stand") << "fre(Hz),raw(dB)\n20,abc\n,\n20,1,2\n 30 , 4 \n"
                                            << CurveRows { { 20 }, {}, { 20, 1, 2 }, { 30, 4 } };
        QTest::newRow("CRLF and byte-order mark")
            << QChar(0xFEFF) + QStringLiteral("Quorvel_csv_file\r\nfre(Hz),raw(dB)\r\n20,1\r\n")
            << CurveRows { { 20, 1 } };
    }

    void ownReader()
    {
        QFETCH(QString, text);
        QFETCH(CurveRows, rows);
        QCOMPARE(ownCurveRows(text), rows);
        const QString path = dir.filePath("own.csv");
        putFile(path, text.toUtf8());
        QCOMPARE(importFromCSV(path), rows);
    }

    void ownMarker_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("own");
        QTest::newRow("marker") << QByteArray("Quorvel_csv_file\nfre(Hz),raw(dB)\n") << true;
        QTest::newRow("marker inside the line") << QByteArray("## Quorvel_csv_file v2\n") << true;
        QTest::newRow("lower case") << QByteArray("quorvel_csv_file\n") << false;
        QTest::newRow("marker on line 2") << QByteArray("Hz,dB\nQuorvel_csv_file\n") << false;
        QTest::newRow("empty") << QByteArray() << false;
    }

    void ownMarker()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, own);
        const QString path = dir.filePath("marker.csv");
        putFile(path, bytes);
        QCOMPARE(isQuorvelCSV(path), own);
        QVERIFY(!isQuorvelCSV(dir.filePath("missing.csv")));
    }

    void ownRoundTrip()
    {
        const CurveRows rows
            = gridCurve([](double f) { return std::round(100.0 * std::sin(f / 700.0)) / 100.0; });
        const QString path = dir.filePath("roundtrip.csv");
        QVERIFY(exportToCSV(path, rows));
        QVERIFY(isQuorvelCSV(path));
        const CurveRows back = importFromCSV(path);
        QCOMPARE(back, rows);
        QVERIFY(isCompleteCurve(back));
        QVERIFY(!isCompleteCurve(back.mid(1)));
        CurveRows shortRow = back;
        shortRow[90] = { 500.0 };
        QVERIFY(!isCompleteCurve(shortRow));
        QCOMPARE(
            curvePairs(CurveRows { { 1, 2, 3 }, { 4 }, {} }), (CurveRows { { 1, 2 }, { 4 }, {} }));
    }

    // A number no curve can hold makes the whole file unreadable, in the own
    // format and in a measurement file alike; the same file without it reads.
    void unreadableCurves_data()
    {
        QTest::addColumn<QString>("value"); // put in the place of one level
        QTest::addColumn<bool>("readable");
        QTest::newRow("ordinary") << "-2.5" << true;
        QTest::newRow("the largest level") << "100000" << true;
        QTest::newRow("the largest level, below") << "-1e+05" << true;
        QTest::newRow("the next level up") << "100001" << false;
        QTest::newRow("the next level down") << "-1.00001e+05" << false;
        QTest::newRow("1e299") << "1e299" << false;
        QTest::newRow("-1e+300") << "-1e+300" << false;
        QTest::newRow("nan") << "nan" << false;
        QTest::newRow("-nan") << "-nan" << false;
        QTest::newRow("NaN") << "NaN" << false;
        QTest::newRow("inf") << "inf" << false;
        QTest::newRow("-infinity") << "-infinity" << false;
        QTest::newRow("1e999") << "1e999" << false;
        QTest::newRow("1e308") << "1e308" << false;
        QTest::newRow("-1.5e301") << "-1.5e301" << false;
    }

    void unreadableCurves()
    {
        QFETCH(QString, value);
        QFETCH(bool, readable);

        CurveRows rows = gridCurve([](double f) { return f < 500.0 ? 1.0 : 0.0; });
        QString own = QStringLiteral("Quorvel_csv_file\nfre(Hz),raw(dB)\n");
        for (qsizetype k = 0; k < rows.size(); ++k)
            own += gText(rows[k][0]) + ',' + (k == 120 ? value : gText(rows[k][1])) + '\n';
        const CurveRows read = ownCurveRows(own);
        QCOMPARE(isCompleteCurve(read), readable);
        if (readable) {
            rows[120][1] = value.toDouble();
            QCOMPARE(read, rows);
        } else {
            QVERIFY(read.isEmpty());
        }

        // A measurement with the value among ordinary rows, as a CSV file and
        // as a text file with blanks.
        for (const QString& sep : { QStringLiteral(","), QStringLiteral(" ") }) {
            const QString foreign = "Frequency(Hz),SPL(dB)\n20" + sep + "1\n100" + sep + "1\n1000"
                + sep + value + "\n5000" + sep + "0\n20000" + sep + "0\n";
            const CurveRows parsed = csv_deal::parseCSVText(foreign);
            QCOMPARE(parsed.size(), readable ? 5 : 0);
            const CurveRows curve = csv_deal::processArrays(freqs1.data(), int(kGridSize), parsed);
            QCOMPARE(csv_data_determine, readable);
            if (readable)
                QVERIFY(isCompleteCurve(curve));
        }
    }

    void levelsThatOverflowOnTheGridFail()
    {
        // Each level can be held, but brought to 0 dB at 500 Hz the lowest
        // one would be twice the largest: the file would be stored and drawn as that.
        const double l = kLargestCurveLevel;
        const CurveRows rows { { 20, -l }, { 30, -l }, { 490, l }, { 510, l } };
        csv_deal::processArrays(freqs1.data(), int(kGridSize), rows);
        QVERIFY(!csv_data_determine);
        const CurveRows halved { { 20, -l / 2 }, { 30, -l / 2 }, { 490, l / 2 }, { 510, l / 2 } };
        const CurveRows curve = csv_deal::processArrays(freqs1.data(), int(kGridSize), halved);
        QVERIFY(csv_data_determine);
        QCOMPARE(curve[0][1], -l);
    }

    // ---- foreign files ----

    void headerKeywords_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("header");
        QTest::newRow("Hz,dB") << "Hz,dB" << true;
        QTest::newRow("Frequency,Raw") << "Frequency,Raw" << true;
        QTest::newRow("fre raw") << "fre raw" << true;
        QTest::newRow("freq;level") << "freq;level" << false;
        QTest::newRow("HZ,DB") << "HZ,DB" << false;
        QTest::newRow("only dB") << "\"Sens Factor =-1.23dB\"" << false;
    }

    void headerKeywords()
    {
        QFETCH(QString, line);
        QFETCH(bool, header);
        QCOMPARE(containsKeywords(line), header);
    }

    void foreignLines_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<CurveRows>("rows");
        QTest::newRow("thousands comma with semicolons")
            << "1,000.5;-2.0" << CurveRows { { 1000.5, -2 } };
        QTest::newRow("thousands comma with blanks")
            << "12,345.6 7" << CurveRows { { 12345.6, 7 } };
        QTest::newRow("two grouped numbers")
            << "1,000.5;1,234.5" << CurveRows { { 1000.5, 1234.5 } };
        QTest::newRow("comma-only line stands") << "20,-13.5" << CurveRows { { 20, -13.5 } };
        QTest::newRow("phase column stands")
            << "1000,100.5,-45.0" << CurveRows { { 1000, 100.5, -45 } };
        // Only the second number is a level; an unwrapped phase may be large.
        QTest::newRow("large third column")
            << "1000;-3;-360000" << CurveRows { { 1000, -3, -360000 } };
        QTest::newRow("comma and blank stand")
            << "100, 100.5, 3.2" << CurveRows { { 100, 100.5, 3.2 } };
        QTest::newRow("no join before a sign") << "20;-13.5" << CurveRows { { 20, -13.5 } };
        QTest::newRow("no join leaving three numbers")
            << "1,000.5;2;3" << CurveRows { { 1, 0.5, 2, 3 } };
        QTest::newRow("leading blanks") << "   20 1.5" << CurveRows { { 20, 1.5 } };
        QTest::newRow("separator runs") << "20 ;; \t-1," << CurveRows { { 20, -1 } };
        QTest::newRow("one number") << "1234.5" << CurveRows { { 1234.5 } };
        QTest::newRow("not numbers") << "nan inf -inf 0x10 1e999" << CurveRows {};
        QTest::newRow("exponent and plus") << "2e3;+1.5e-1" << CurveRows { { 2000, 0.15 } };
    }

    void foreignLines()
    {
        QFETCH(QString, line);
        QFETCH(CurveRows, rows);
        QCOMPARE(csv_deal::parseCSVText("# comment\nHz,dB\n" + line + "\n"), rows);
    }

    void foreignSkipsHeaders()
    {
        // Everything up to the first header, and every later header, is skipped.
        QCOMPARE(csv_deal::parseCSVText("20,1\nFrequency (Hz), SPL (dB)\n30,2\nHz,dB\n40,3"),
            (CurveRows { { 30, 2 }, { 40, 3 } }));
        QCOMPARE(csv_deal::parseCSVText("20,1\n30,2\n"), CurveRows {});
    }

    // The expected curves were computed by tests/data/io/make-fixtures.py
    // from the reading rules, independently of this code.
    void foreignFiles_data()
    {
        QTest::addColumn<QString>("name");
        for (const char* name : { "commas_phase.csv", "semicolon_thousands.csv", "tabs_bom.txt",
                 "blanks.mic", "two_rows.csv", "signs.csv", "one_row.csv", "no_header.csv",
                 "nan_levels.csv", "later_header.csv" })
            QTest::newRow(name) << QString::fromLatin1(name);
    }

    void foreignFiles()
    {
        QFETCH(QString, name);
        const QString path = QStringLiteral(TEST_DATA_DIR "/io/") + name;
        QVERIFY(QFile::exists(path));
        QVERIFY(!isQuorvelCSV(path));
        const CurveRows curve
            = csv_deal::processArrays(freqs1.data(), int(kGridSize), csv_deal::parseCSV(path));
        const std::optional<CurveRows> expected = expectedCurve(path + ".expected");
        QCOMPARE(csv_data_determine, expected.has_value());
        if (!expected) {
            QVERIFY(curve.isEmpty());
            return;
        }
        QCOMPARE(curve.size(), qsizetype(kGridSize));
        for (qsizetype k = 0; k < curve.size(); ++k) {
            QCOMPARE(curve[k][0], (*expected)[k][0]);
            QVERIFY2(std::fabs(curve[k][1] - (*expected)[k][1]) < 1e-9,
                qPrintable(QStringLiteral("%1 Hz: %2, expected %3")
                               .arg(curve[k][0])
                               .arg(curve[k][1])
                               .arg((*expected)[k][1])));
        }
        QCOMPARE(curve[kAlignIndex][1], 0.0);
    }

    void resampling_data()
    {
        QTest::addColumn<QList<double>>("grid");
        QTest::addColumn<CurveRows>("rows");
        QTest::addColumn<bool>("complete");
        QTest::addColumn<CurveRows>("curve");
        const QList<double> g { 20.0, 1000.0 };
        QTest::newRow("two rows averaged everywhere")
            << g << CurveRows { { 1000, 0 }, { 1010, 1 } } << true
            << CurveRows { { 20, 0.5 }, { 1000, 0.5 } };
        QTest::newRow("the earlier row wins a tie")
            << QList<double> { 20.0 } << CurveRows { { 19, 1 }, { 21, 5 }, { 19, 7 }, { 21, 9 } }
            << true << CurveRows { { 20, 3 } };
        QTest::newRow("rows without a level are not used")
            << QList<double> { 1000.0 } << CurveRows { { 1000, 0 }, { 1001 }, { 1010, 1 } } << true
            << CurveRows { { 1000, 0.5 } };
        QTest::newRow("a frequency that is not a number never qualifies")
            << QList<double> { 20.0 } << CurveRows { { std::nan(""), 50 }, { 20, 1 }, { 30, 3 } }
            << true << CurveRows { { 20, 2 } };
        QTest::newRow("normalised at 500 Hz")
            << QList<double> { 20.0, 500.0 }
            << CurveRows { { 20, 10 }, { 30, 10 }, { 490, 5 }, { 510, 7 } } << true
            << CurveRows { { 20, 4 }, { 500, 0 } };
        QTest::newRow("one row fails") << g << CurveRows { { 1000, 3 } } << false << CurveRows {};
        QTest::newRow("no rows fail") << g << CurveRows {} << false << CurveRows {};
    }

    void resampling()
    {
        QFETCH(QList<double>, grid);
        QFETCH(CurveRows, rows);
        QFETCH(bool, complete);
        QFETCH(CurveRows, curve);
        QCOMPARE(csv_deal::processArrays(grid.data(), int(grid.size()), rows), curve);
        QCOMPARE(csv_data_determine, complete);
    }

    void subtract()
    {
        QCOMPARE(subtractArray({ { 20, 1 }, { 499.9, 2 } }, 500.0),
            (CurveRows { { 20, 1 }, { 499.9, 2 } }));
        QCOMPARE(subtractArray({ { 20, 1 }, { 500, 2 }, { 500, 5 } }, 500.0),
            (CurveRows { { 20, -1 }, { 500, 0 }, { 500, 3 } }));
    }

    void deleting()
    {
        const QString path = dir.filePath("gone.csv");
        putFile(path, "x");
        deleteFile(path);
        QVERIFY(!QFile::exists(path));
        deleteFile(path); // already gone: only logged
    }

    // Empty, binary, very long and NaN-laden inputs must give nothing worse
    // than no data (run under the sanitizers).
    void hostileInputs_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty") << QByteArray();
        QByteArray binary;
        for (int i = 0; i < 70000; ++i)
            binary.append(char((i * 7919) % 256));
        QTest::newRow("binary") << binary;
        QByteArray many = "Quorvel_csv_file\nfre(Hz),raw(dB)\nPreamp: 1 dB\n";
        for (int i = 0; i < 100000; ++i)
            many += QByteArray::number(20 + i % 20000) + ",-" + QByteArray::number(i % 7) + "\n";
        QTest::newRow("100k lines") << many;
        QTest::newRow("NaN and inf")
            << QByteArray("Preamp: nan dB\nHz,dB\nnan,nan\ninf,-inf\n1e400,1\n"
                          "Filter 1: ON PK Fc inf Hz Gain nan dB Q inf\n");
        QTest::newRow("path-like text") << QByteArray("../../etc/passwd\n/dev/zero,\\\\?\\C:\n");
    }

    void hostileInputs()
    {
        QFETCH(QByteArray, bytes);
        const QString path = dir.filePath("hostile.dat");
        putFile(path, bytes);

        const CurveRows own = importFromCSV(path);
        for (const QList<double>& row : own)
            for (double v : row)
                QVERIFY(std::isfinite(v));
        const CurveRows curve
            = csv_deal::processArrays(freqs1.data(), int(kGridSize), csv_deal::parseCSV(path));
        QVERIFY(curve.size() == qsizetype(kGridSize) || !csv_data_determine);
        for (const QList<double>& row : curve)
            QVERIFY(std::isfinite(row[1]));

        BandSet s = sentinelSet();
        std::copy(std::begin(s.ptrs), std::end(s.ptrs), EQ);
        importFromTXT(path, FilterTarget::Left);
        std::fill(std::begin(EQ), std::end(EQ), nullptr);
        for (const EQ_data& b : s.records) {
            QVERIFY(std::isfinite(b.gain) && std::isfinite(b.Q));
            QVERIFY((b.center_frequency >= 20 && b.center_frequency <= 22000)
                || b.center_frequency == 777);
        }
    }

    // ---- curve-list rules ----

    void curveNames()
    {
        BD_data entries[3];
        entries[0] = { "tar", 0, "A", "/t/A.csv" };
        entries[1] = { "tar", 1, "A(1)", "/t/A(1).csv" };
        entries[2] = { "fre", 2, "B", "/f/B.csv" };
        QCOMPARE(uniqueCurveName("A", "tar", entries, 3), QString("A(1)(1)"));
        QCOMPARE(uniqueCurveName("A", "fre", entries, 3), QString("A"));
        QCOMPARE(uniqueCurveName("B", "tar", entries, 3), QString("B"));
        QCOMPARE(uniqueCurveName("a", "tar", entries, 3), QString("a"));
        QCOMPARE(uniqueCurveName("A", "tar", entries, 1), QString("A(1)"));
    }

    void curveFiles_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("file");
        QTest::newRow("plain") << "B"
                               << "B.csv";
        QTest::newRow("slashes") << "a/b\\c"
                                 << "abc.csv";
        QTest::newRow("parent") << "../x"
                                << "x.csv";
        QTest::newRow("dots only") << ".."
                                   << "curve.csv";
        QTest::newRow("control characters") << QString("a\x01\nb") << "ab.csv";
        QTest::newRow("inner dots stay") << "v1.2"
                                         << "v1.2.csv";
        QTest::newRow("taken by another entry") << "T"
                                                << "T(1).csv";
        QTest::newRow("same file by another name") << "T/"
                                                   << "T(1).csv";
    }

    void curveFiles()
    {
        QFETCH(QString, name);
        QFETCH(QString, file);
        const QString folder = dir.filePath("Target");
        QVERIFY(QDir().mkpath(folder));
        BD_data entries[1];
        entries[0] = { "tar", 0, "T", folder + "/T.csv" };
        QCOMPARE(curveFilePath(folder, name, entries, 1), folder + "/" + file);
    }

    void curveFileLinkRefused()
    {
        const QString folder = dir.filePath("Frequency");
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(QFile::link(dir.filePath("outside.csv"), folder + "/L.csv"));
        QCOMPARE(curveFilePath(folder, "L", nullptr, 0), QString());
    }

    void selectionAfterRemoval_data()
    {
        QTest::addColumn<int>("selected");
        QTest::addColumn<int>("removed");
        QTest::addColumn<int>("after");
        QTest::newRow("below") << 1 << 3 << 1;
        QTest::newRow("the removed one") << 3 << 3 << -1;
        QTest::newRow("above") << 5 << 3 << 4;
        QTest::newRow("none") << -1 << 0 << -1;
    }

    void selectionAfterRemoval()
    {
        QFETCH(int, selected);
        QFETCH(int, removed);
        QFETCH(int, after);
        QCOMPARE(::selectionAfterRemoval(selected, removed), after);
    }

    // The highlight of an open picker: one row per arrow, a page per Page
    // key, stopping at the ends; from no highlight, downward keys start at
    // the top and upward ones at the bottom.
    void highlightAfterKey_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("current");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("after"); // -2: not a moving key
        QTest::newRow("down") << int(Qt::Key_Down) << 1 << 8 << 2;
        QTest::newRow("down at the end") << int(Qt::Key_Down) << 7 << 8 << 7;
        QTest::newRow("up at the top") << int(Qt::Key_Up) << 0 << 8 << 0;
        QTest::newRow("page down") << int(Qt::Key_PageDown) << 1 << 8 << 6;
        QTest::newRow("page down near the end") << int(Qt::Key_PageDown) << 4 << 8 << 7;
        QTest::newRow("page up near the top") << int(Qt::Key_PageUp) << 3 << 8 << 0;
        QTest::newRow("home") << int(Qt::Key_Home) << 5 << 8 << 0;
        QTest::newRow("end") << int(Qt::Key_End) << 2 << 8 << 7;
        QTest::newRow("down from none") << int(Qt::Key_Down) << -1 << 8 << 0;
        QTest::newRow("up from none") << int(Qt::Key_Up) << -1 << 8 << 7;
        QTest::newRow("page up from none") << int(Qt::Key_PageUp) << -1 << 8 << 7;
        QTest::newRow("home from none") << int(Qt::Key_Home) << -1 << 8 << 0;
        QTest::newRow("empty list") << int(Qt::Key_Down) << -1 << 0 << -1;
        QTest::newRow("not a moving key") << int(Qt::Key_Left) << 1 << 8 << -2;
    }

    void highlightAfterKey()
    {
        QFETCH(int, key);
        QFETCH(int, current);
        QFETCH(int, count);
        QFETCH(int, after);
        QCOMPARE(::highlightAfterKey(key, current, count, 5).value_or(-2), after);
    }
};

QTEST_GUILESS_MAIN(TestIo)
#include "test_io.moc"
