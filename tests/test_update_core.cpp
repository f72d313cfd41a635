// The update logic without widgets or network: versions, manifests, the
// progress texts, archive names, where archive entries may go, the script.
#include <QtTest>

#include "deadlines.h"

#include <QBuffer>
#include <QProcess>
#include <QTemporaryDir>

#include "settings/update_core.h"
#include "zip_fixtures.h"

using namespace update_core;

class TestUpdateCore : public QObject
{
    Q_OBJECT

private slots:
    void versions_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<int>("order"); // sign of compareVersions(a, b)
        QTest::newRow("next minor") << "V1.17"
                                    << "V1.16" << 1;
        QTest::newRow("numeric, not text") << "V1.9"
                                           << "V1.16" << -1;
        QTest::newRow("three digits") << "V1.100"
                                      << "V1.16" << 1;
        QTest::newRow("V2.10 after V2.9") << "V2.10"
                                          << "V2.9" << 1;
        QTest::newRow("lower-case v") << "v1.17"
                                      << "V1.16" << 1;
        QTest::newRow("v equals V") << "v1.16"
                                    << "V1.16" << 0;
        QTest::newRow("no letter") << "1.16"
                                   << "V1.16" << 0;
        QTest::newRow("missing part is 0") << "V1.16.0"
                                           << "V1.16" << 0;
        QTest::newRow("extra part") << "V1.16.1"
                                    << "V1.16" << 1;
        QTest::newRow("leading zeros") << "V01.016"
                                       << "V1.16" << 0;
        QTest::newRow("major wins") << "V2"
                                    << "V1.99.99" << 1;
        // When a side does not read as a version, the texts decide.
        QTest::newRow("suffix: text, prefix smaller") << "V1.16b"
                                                      << "V1.16" << 1;
        QTest::newRow("empty: text") << ""
                                     << "V1.16" << -1;
        QTest::newRow("empty part: text") << "V1..2"
                                          << "V1.16" << -1;
        QTest::newRow("two letters: text") << "vv1.0"
                                           << "V1.16" << 1;
        QTest::newRow("letter only: text") << "V"
                                           << "V1.16" << -1;
        QTest::newRow("space: text") << "V1.17 "
                                     << "V1.16" << 1;
        QTest::newRow("19 digits: text") << "V1.1234567890123456789"
                                         << "V1.16" << -1;
        QTest::newRow("non-ASCII digit: text") << QString::fromUtf8("V1.١٧") << "V1.16" << 1;
    }
    void versions()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(int, order);
        const auto sign = [](int v) { return (v > 0) - (v < 0); };
        QCOMPARE(sign(compareVersions(a, b)), order);
        QCOMPARE(sign(compareVersions(b, a)), -order);
    }

    void updateNeedsNewerVersionAndArchive()
    {
        Vesk_Series s;
        s.MacLatestVerison = "V1.17";
        QVERIFY(!offersUpdate(s, "V1.16")); // nothing to download
        s.MacUrl = "https://example.invalid/a.zip";
        QVERIFY(offersUpdate(s, "V1.16"));
        QVERIFY(!offersUpdate(s, "V1.17"));
        QVERIFY(!offersUpdate(s, "V1.18"));
        s.MacLatestVerison = "V1.9";
        QVERIFY(!offersUpdate(s, "V1.16"));
    }

    void manifests_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("macVersion");
        QTest::addColumn<QString>("macUrl");
        const int invalid = int(ManifestKind::InvalidJson);
        const int notObject = int(ManifestKind::NotObject);
        const int object = int(ManifestKind::Object);
        QTest::newRow("empty") << "" << invalid << ""
                               << "";
        QTest::newRow("cut") << R"({"Vesk_Series": {"MacLatestVerison": "V1.17")" << invalid << ""
                             << "";
        QTest::newRow("html") << "<html>502</html>" << invalid << ""
                              << "";
        QTest::newRow("array") << R"([{"Vesk_Series": {}}])" << notObject << ""
                               << "";
        QTest::newRow("no series") << R"({"Other": {"MacLatestVerison": "V9"}})" << object << ""
                                   << "";
        QTest::newRow("series not object") << R"({"Vesk_Series": "V9"})" << object << ""
                                           << "";
        QTest::newRow("non-string values")
            << R"({"Vesk_Series": {"MacLatestVerison": 1.17, "MacUrl": ["x"]}})" << object << ""
            << "";
        QTest::newRow("Chinese notes") << QString::fromUtf8(
            R"({"Vesk_Series": {"MacLatestVerison": "V1.17", "MacUrl": "https://h/a.zip",)"
            R"( "ReleaseNoteCh": "修复", "LatestVerison": "V1.20"}})")
                                       << object << "V1.17"
                                       << "https://h/a.zip";
    }
    void manifests()
    {
        QFETCH(QString, text);
        QFETCH(int, kind);
        QFETCH(QString, macVersion);
        QFETCH(QString, macUrl);
        const Manifest m = readManifest(text);
        QCOMPARE(int(m.kind), kind);
        QCOMPARE(m.series.MacLatestVerison, macVersion);
        QCOMPARE(m.series.MacUrl, macUrl);
    }

    void everyManifestKeyIsRead()
    {
        const Manifest m = readManifest(R"({"Vesk_Series": {
            "LatestVerison": "a", "Url": "b", "MacLatestVerison": "c", "MacUrl": "d",
            "UpdateTime": "e", "ReleaseNoteCh": "f", "ReleaseNoteEn": "g",
            "HardwareFirmwareVersion": "h", "FirmwareUrl": "i",
            "HardwareFirmwareVersion_Talvik_Pre": "j", "FirmwareUrl_Talvik_Pre": "k"}})");
        const Vesk_Series& s = m.series;
        QCOMPARE((QStringList { s.LatestVerison, s.Url, s.MacLatestVerison, s.MacUrl, s.UpdateTime,
                     s.ReleaseNoteCh, s.ReleaseNoteEn, s.HardwareFirmwareVersion, s.FirmwareUrl,
                     s.HardwareFirmwareVersion_Talvik_Pre, s.FirmwareUrl_Talvik_Pre }),
            (QStringList { "a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k" }));
    }

    void sizes_data()
    {
        QTest::addColumn<qint64>("bytes");
        QTest::addColumn<QString>("size");
        QTest::addColumn<QString>("perSecond");
        QTest::newRow("negative") << qint64(-5) << "0.00 "
                                  << "0.00 Bytes/s";
        QTest::newRow("zero") << qint64(0) << "0.00 "
                              << "0.00 Bytes/s";
        QTest::newRow("one") << qint64(1) << "1.00 Bytes"
                             << "1.00 Bytes/s";
        QTest::newRow("1023") << qint64(1023) << "1023.00 Bytes"
                              << "1023.00 Bytes/s";
        QTest::newRow("1024") << qint64(1024) << "1.00 KB"
                              << "1.00 KB/s";
        QTest::newRow("1536") << qint64(1536) << "1.50 KB"
                              << "1.50 KB/s";
        QTest::newRow("just below MB") << qint64(1048575) << "1024.00 KB"
                                       << "1024.00 KB/s";
        QTest::newRow("1 MB") << qint64(1048576) << "1.00 MB"
                              << "1.00 MB/s";
        QTest::newRow("78 MB") << qint64(78) * 1048576 << "78.00 MB"
                               << "78.00 MB/s";
        QTest::newRow("just below GB") << qint64(1073741823) << "1024.00 MB"
                                       << "1024.00 MB/s";
        QTest::newRow("1 GB") << qint64(1073741824) << "1.00 GB"
                              << "1.00 GB/s";
        QTest::newRow("5.5 GB") << qint64(5905580032) << "5.50 GB"
                                << "5.50 GB/s";
    }
    void sizes()
    {
        QFETCH(qint64, bytes);
        QFETCH(QString, size);
        QFETCH(QString, perSecond);
        QCOMPARE(formatSize(bytes), size);
        QCOMPARE(speed(double(bytes)), perSecond);
    }

    void speedOfNothingMeasured()
    {
        QCOMPARE(speed(std::numeric_limits<double>::quiet_NaN()), QString("0.00 Bytes/s"));
        QCOMPARE(speed(std::numeric_limits<double>::infinity()), QString("0.00 Bytes/s"));
        QCOMPARE(speed(0.5), QString("0.50 Bytes/s"));
        // No time measured yet counts as one millisecond, never a division by zero.
        QCOMPARE(averageSpeed(1536, 0), 1536000.0);
        QCOMPARE(averageSpeed(1536, 1000), 1536.0);
    }

    void progressFitsTheBar_data()
    {
        QTest::addColumn<qint64>("received");
        QTest::addColumn<qint64>("total");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("maximum");
        const qint64 gib = 1073741824;
        QTest::newRow("bytes as they are")
            << qint64(1536) << qint64(80) * 1048576 << 1536 << 83886080;
        QTest::newRow("unknown total: busy bar") << qint64(5000) << qint64(-1) << 0 << 0;
        QTest::newRow("empty total: busy bar") << qint64(0) << qint64(0) << 0 << 0;
        QTest::newRow("int max fits") << qint64(7) << qint64(INT_MAX) << 7 << INT_MAX;
        QTest::newRow("3 of 6 GiB halves twice")
            << 3 * gib << 6 * gib << int(3 * gib / 4) << int(6 * gib / 4);
        QTest::newRow("all of 2 GiB") << 2 * gib << 2 * gib << int(gib) << int(gib);
        QTest::newRow("more than announced") << qint64(900) << qint64(800) << 800 << 800;
        QTest::newRow("negative received") << qint64(-3) << qint64(800) << 0 << 800;
    }
    void progressFitsTheBar()
    {
        QFETCH(qint64, received);
        QFETCH(qint64, total);
        QFETCH(int, value);
        QFETCH(int, maximum);
        const BarProgress bar = barProgress(received, total);
        QCOMPARE(bar.value, value);
        QCOMPARE(bar.maximum, maximum);
    }

    void archiveNames_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("name");
        QTest::newRow("encoded blank") << "https://h/dl/QUORVEL%20Vesk%20V1.17.zip"
                                       << "QUORVEL Vesk V1.17.zip";
        QTest::newRow("encoded Chinese")
            << "https://h/dl/%E6%9B%B4%E6%96%B0.zip" << QString::fromUtf8("更新.zip");
        QTest::newRow("query and fragment") << "https://h/dl/a.zip?sig=1#x"
                                            << "a.zip";
        QTest::newRow("encoded slash keeps the last part") << "https://h/dl/x%2Fy.zip"
                                                           << "y.zip";
        QTest::newRow("no path") << "https://h"
                                 << "update.zip";
        QTest::newRow("folder") << "https://h/dl/"
                                << "update.zip";
        QTest::newRow("dot dot") << "https://h/dl/%2E%2E"
                                 << "update.zip";
        QTest::newRow("dot") << "https://h/dl/."
                             << "update.zip";
        QTest::newRow("NUL") << "https://h/dl/a%00.zip"
                             << "update.zip";
    }
    void archiveNames()
    {
        QFETCH(QString, url);
        QFETCH(QString, name);
        QCOMPARE(archiveNameFromUrl(QUrl(url)), name);
    }

    void onlyWebAddressesAreFetched_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<bool>("fetched");
        QTest::newRow("https") << "https://h/a.zip" << true;
        QTest::newRow("http") << "http://127.0.0.1:8080/a.zip" << true;
        QTest::newRow("upper-case scheme") << "HTTPS://h/a.zip" << true;
        QTest::newRow("file") << "file:///etc/passwd" << false;
        QTest::newRow("ftp") << "ftp://h/a.zip" << false;
        QTest::newRow("no host") << "https:///a.zip" << false;
        QTest::newRow("relative") << "a.zip" << false;
        QTest::newRow("empty") << "" << false;
    }
    void onlyWebAddressesAreFetched()
    {
        QFETCH(QString, url);
        QFETCH(bool, fetched);
        QCOMPARE(isFetchableUrl(QUrl(url)), fetched);
    }

    void extractionPlans_data()
    {
        QTest::addColumn<QStringList>("names"); // "name" file, "name/" folder, "@name" link
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QStringList>("paths"); // relative to the target folder
        QTest::newRow("plain") << QStringList {
            "a.dmg", "dir/", "dir/b.txt", "./c", "x/../y", ".hidden", "..\\win"
        } << true << QStringList { "a.dmg", "dir", "dir/b.txt", "c", "y", ".hidden", "..\\win" };
        QTest::newRow("the folder itself")
            << QStringList { "./", "a/../" } << true << QStringList {};
        QTest::newRow("parent") << QStringList { "a.dmg", "../evil" } << false << QStringList {};
        QTest::newRow("parent after a folder")
            << QStringList { "a/../../evil" } << false << QStringList {};
        QTest::newRow("sibling with the same prefix")
            << QStringList { "../UpdateProgram2/x" } << false << QStringList {};
        QTest::newRow("absolute") << QStringList { "/etc/passwd" } << false << QStringList {};
        QTest::newRow("file onto the folder") << QStringList { "a/.." } << false << QStringList {};
        QTest::newRow("link") << QStringList { "a.dmg", "@link" } << false << QStringList {};
        QTest::newRow("empty name") << QStringList { "" } << false << QStringList {};
        QTest::newRow("onto the archive")
            << QStringList { "update.zip" } << false << QStringList {};
    }
    void extractionPlans()
    {
        QFETCH(QStringList, names);
        QFETCH(bool, ok);
        QFETCH(QStringList, paths);
        const QString target = "/base/UpdateProgram";
        QList<ZipEntry> entries;
        for (QString n : names) {
            ZipEntry e;
            if (n.startsWith('@')) {
                e.kind = ZipEntry::Kind::SymLink;
                n.remove(0, 1);
            } else if (n.endsWith('/')) {
                e.kind = ZipEntry::Kind::Dir;
            }
            e.name = n;
            entries << e;
        }
        const ExtractionPlan plan = planExtraction(entries, target, target + "/update.zip");
        QCOMPARE(plan.ok, ok);
        QCOMPARE(plan.refusal.isEmpty(), ok);
        QStringList got;
        for (const ExtractionStep& s : plan.steps)
            got << s.path.mid(target.size() + 1);
        QCOMPARE(got, paths);
    }

    void zipDirectoryNames()
    {
        const QByteArray zip
            = makeZip({ { ZipItem::File, "../up.txt", "UP" }, { ZipItem::File, ".hidden", "H" },
                { ZipItem::Dir, "d", {} }, { ZipItem::Link, "link", "/etc" },
                { ZipItem::File, QString::fromUtf8("中文.dmg"), "X" } });
        QBuffer buffer;
        buffer.setData(zip);
        buffer.open(QIODevice::ReadOnly);
        const auto names = zipEntryNames(buffer);
        QVERIFY(names);
        // Names as stored, leading dots and all (Qt's reader reports "up.txt").
        QCOMPARE(*names,
            (QStringList { "../up.txt", ".hidden", "d/", "link", QString::fromUtf8("中文.dmg") }));

        for (const QByteArray& broken : { QByteArray(), QByteArray("PK\x05\x06", 4),
                 zip.left(zip.size() / 2), QByteArray(300, 'x') }) {
            QBuffer b;
            b.setData(broken);
            b.open(QIODevice::ReadOnly);
            QVERIFY(!zipEntryNames(b));
        }
    }

    void installScriptBytes()
    {
        const QByteArray script = installScriptText();
        const QList<QByteArray> lines = script.split('\n');
        QCOMPARE(lines.size(), 50);
        QCOMPARE(script.count('\n'), 49);
        QVERIFY(lines[0].isEmpty());
        QCOMPARE(lines[1], QByteArray("        #!/bin/bash"));
        QCOMPARE(lines[2], QByteArray("        set -e"));
        QCOMPARE(lines[4], QByteArray("        LOG=\"/tmp/testlog.txt\""));
        QCOMPARE(lines[12],
            QByteArray("        VOLUME_NAME=$(hdiutil attach \"$DMG_PATH\" -nobrowse | grep "
                       "\"/Volumes/\" | awk -F'/Volumes/' '{print $2}' | xargs)"));
        QCOMPARE(
            lines[14], QByteArray("            echo \"Error: Failed to mount DMG\" >> \"$LOG\""));
        QCOMPARE(lines[21],
            QByteArray("        APP_PATH=$(find \"$MOUNT_PATH\" -maxdepth 2 -type d -name "
                       "\"*.app\" 2>/dev/null | head -n 1)"));
        QCOMPARE(lines[39], QByteArray("        ditto \"$APP_PATH\" \"$DEST_PATH\""));
        QCOMPARE(lines[48], QByteArray("        exit 0"));
        QCOMPARE(lines[49], QByteArray("    ")); // the text ends in four spaces, no line feed
        const QList<int> blank { 0, 3, 8, 11, 17, 20, 27, 32, 37, 40, 43 };
        const QList<int> deeper { 14, 15, 23, 24, 25, 34, 35 };
        for (int i = 0; i < 49; ++i) {
            if (blank.contains(i))
                QVERIFY2(lines[i].isEmpty(), qPrintable(QString::number(i + 1)));
            else
                QVERIFY2(lines[i].startsWith(QByteArray(deeper.contains(i) ? 12 : 8, ' '))
                        && lines[i].at(deeper.contains(i) ? 12 : 8) != ' ',
                    qPrintable(QString::number(i + 1)));
        }
        // Pure ASCII; the disk image is only ever the first argument.
        for (char c : script)
            QVERIFY(uchar(c) < 0x80);
        QVERIFY(script.contains("DMG_PATH=\"$1\""));
    }

    void installScriptIsValidBash()
    {
        QTemporaryDir dir;
        QFile f(dir.filePath("update.sh"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(installScriptText());
        f.close();
        QProcess bash;
        bash.start("/bin/bash", { "-n", f.fileName() });
        QVERIFY(bash.waitForFinished(testsupport::kDeadlineMs));
        QCOMPARE(bash.exitCode(), 0);
        QCOMPARE(bash.readAllStandardError(), QByteArray());
    }
};

QTEST_GUILESS_MAIN(TestUpdateCore)
#include "test_update_core.moc"
