// Writes the seed inputs of fuzz/corpus/ from the fixtures the tests use:
// the simulated device models' bursts and streams, files the program's own
// writers make, the broken files of the store tests, the CSV fixtures, and
// manifests and archives like those of the update tests. Run it again after
// a fixture changes:  build-asan/fuzz/fuzz_make_seeds fuzz/corpus
// (it writes seed-* files only; minimised inputs kept from fuzzing stay).

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtGui/private/qzipwriter_p.h>

#include <cstdio>

#include "device/frame.h"
#include "dsp/band.h"
#include "io/csv_files.h"
#include "io/filter_text.h"
#include "plot/curves.h"
#include "sim_models.h"
#include "store/channel_modes.h"
#include "store/curve_list.h"
#include "store/paths.h"
#include "store/presets.h"
#include "store/settings.h"

namespace {

QString g_root;

void seed(const char* reader, const char* name, const QByteArray& bytes)
{
    const QString dir = g_root + QLatin1Char('/') + QLatin1String(reader);
    QDir().mkpath(dir);
    QFile f(dir + QStringLiteral("/seed-") + QLatin1String(name));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(f.fileName()));
        std::exit(1);
    }
}

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A file the program wrote, with its own folder and the desktop it names
// replaced by neutral ones: the seeds must not carry the building machine's.
QByteArray writtenFile(const QString& path)
{
    QByteArray bytes = fileBytes(path);
    bytes.replace(appDataDir().toUtf8(), "/opt/QuorvelVesk");
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    if (!desktop.isEmpty())
        bytes.replace(desktop.toUtf8(), "/Desktop");
    return bytes;
}

QByteArray reports(const std::vector<sim::Report>& burst, uint8_t setup)
{
    QByteArray out(1, char(setup));
    QByteArray connect(16, '\0');
    connect[0] = 'C';
    out += connect;
    for (const sim::Report& r : burst)
        out += QByteArray(reinterpret_cast<const char*>(r.data()), qsizetype(r.size()));
    return out;
}

void appendWord(QByteArray& out, int32_t w)
{
    for (int i = 0; i < 4; ++i)
        out += char(uint32_t(w) >> (8 * i));
}

// 7-byte stream frames of the device_records harness: kind, total, current, data.
QByteArray streamFrames(uint8_t road, const std::vector<sim::Report>& stream)
{
    QByteArray out(1, char(road));
    for (const sim::Report& r : stream) {
        const auto f = decodeInputReport(r.data(), int(r.size()));
        out += char(0);
        out += char(f->total);
        out += char(f->current);
        appendWord(out, f->data);
    }
    return out;
}

void deviceSeeds()
{
    seed("input_report", "model-a", reports(sim::modelABurst(), 0x01));
    seed("input_report", "model-b", reports(sim::modelBBurst(true), 0x13));
    seed("input_report", "model-c", reports(sim::modelCBurst(true, true), 0x07));
    seed("input_report", "unknown", reports(sim::unknownBurst(), 0x00));

    seed("device_records", "one-set", streamFrames(0, sim::oneSetStream(sim::modelAUserWords())));
    seed("device_records", "left-right",
        streamFrames(1 | 4 << 2, sim::leftRightStream({ sim::liveRecord(), sim::vocalRecord() })));
    seed("device_records", "factory", streamFrames(2, sim::factoryStream(sim::factoryWords())));
    QByteArray record(1, char(3 | 2 << 2));
    for (int32_t w : sim::liveRecord())
        appendWord(record, w);
    seed("device_records", "record", record);
}

void storeSeeds(const QString& dir)
{
    setAppDataDirForTesting(dir);
    QDir(dir).mkpath(QStringLiteral("Workspace_Config"));

    config_Init();
    seed("settings", "first-start", writtenFile(settingsFilePath()));
    seed("settings", "odd-types",
        R"({"Language":"1","EQ_save_file_path":5,"Combined_Mark":1,"Pre_select_tar_index":2.5})");
    seed("settings", "array", R"([{"Language":1}])");
    seed("settings", "cut", R"({"Language": 1, "Combined_Mark": tr)");

    EQ_config_Init();
    EQ[1]->gain = -4.5;
    EQ[2]->status = 1;
    EQ[2]->type = 5;
    EQ[2]->center_frequency = 8000;
    EQ[2]->Q = 1.41;
    EQ_config_file_Add(1, QStringLiteral("Rock \u4e2d"));
    EQ_config_file_Add(2, QStringLiteral("Vocal"));
    seed("presets", "three", writtenFile(presetFilePath()));
    seed("presets", "object", R"({"index":0})");
    seed("presets", "odd-fields",
        R"([{"index":"1","config_name":5,"eq_gain":"1","eq_1":"1 1 x 2.5e1 nan"},"x",)"
        R"({"index":9,"eq_gain":"0 -3.25","eq_11":"1 7 100000 -40 0"}])");

    loadConfig();
    seed("channel_modes", "first-start", writtenFile(channelModeFilePath()));
    seed("channel_modes", "mixed", "3:0\n1:1\n3:1\n2:1:7\nabc:1\n5\n\n4:\n-3:x\r\n");

    buffer_Init();
    seed("curve_list", "first-start", writtenFile(curveListFilePath()));
    seed("curve_list", "odd-fields",
        R"(["x", {"index":0,"name":"n","path":"/p","type":"fre"}, {"index":"0","name":5,"path":true,"type":1}])");
}

void ioSeeds(const QString& fixtures)
{
    EQ_data* set[12];
    makeStartupBandSet(set);
    seed("filter_text", "own", filterText(set));
    seed("filter_text", "own-odd",
        "Preamp: -6.25 dB\r\nFilter 1: ON LS Fc 99.5 Hz Gain +3 dB Q 1\nFilter 2: ON Fc 1 Hz Gain "
        "1 dB Q 1\n"
        "Filter 3: ON PK Fc 5 Hz Gain 15 dB Q 20\nFilter 7: On HSC Fc 30000 Hz Gain 1-2 dB Q "
        "0.15\n");
    QByteArray loose;
    for (int i = 0; i < 9; ++i)
        loose += "Header line " + QByteArray::number(i) + "\n";
    loose += "Filter  1: ON  PK       Fc    100.0 Hz  Gain  +3.50 dB  Q  1.410\n"
             "Filter  2: ON  LS       Fc     80   Hz  Gain  -1 dB\n"
             "Filter 3: OFF Modal Fc 40 Hz Gain -6 dB Q 5 T60 target 385 ms\n"
             "Filter 4:\tON\tHPQ\tFc\t100\tHz\tGain\t2\tdB\tQ\t3\r\n";
    seed("filter_text", "loose", loose);
    const QByteArray huge(400, '9');
    seed("filter_text", "too-large",
        "Preamp: " + huge + " dB\nFilter 1: ON PK Fc " + huge + " Hz Gain 1 dB Q 1\n"
            + "Filter 2: ON PK Fc 100 Hz Gain nan dB Q inf\nFilter 3: ON PK Fc 200 Hz Gain 2 dB "
              "Q 2\n");

    seed("csv", "own", curveFileText(flatCurveRows()));
    for (const QString& name : QDir(fixtures).entryList(QDir::Files, QDir::Name)) {
        if (name.endsWith(QLatin1String(".expected")) || name.endsWith(QLatin1String(".py")))
            continue;
        seed("csv", qPrintable(name), fileBytes(QDir(fixtures).filePath(name)));
    }
}

QByteArray zip(
    const QList<QPair<QString, QByteArray>>& files, const QStringList& dirs, const QString& link)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QZipWriter writer(&buffer);
    for (const auto& f : files)
        writer.addFile(f.first, f.second);
    for (const QString& d : dirs)
        writer.addDirectory(d);
    if (!link.isEmpty())
        writer.addSymLink(link, QStringLiteral("/etc"));
    writer.close();
    return buffer.data();
}

void updateSeeds()
{
    seed("update_manifest", "manifest",
        R"({"Vesk_Series": {"LatestVerison": "V1.17", "Url": "https://h/win.zip",)"
        R"( "MacLatestVerison": "V1.17", "MacUrl": "https://h/a%2F..%2Fb.zip", "ReleaseNoteCh": "修复",)"
        R"( "ReleaseNoteEn": "Fixes", "UpdateTime": "2024", "HardwareFirmwareVersion": "v2.10.1",)"
        R"( "FirmwareUrl": "ftp://x/..", "HardwareFirmwareVersion_Talvik_Pre": "V9",)"
        R"( "FirmwareUrl_Talvik_Pre": "http://h/%00"}})");
    seed("update_manifest", "odd",
        R"({"Vesk_Series": {"MacLatestVerison": 1.17, "MacUrl": ["x"]}})");
    seed("update_manifest", "array", R"([{"Vesk_Series": {}}])");

    seed("archive_plan", "plain",
        zip({ { QStringLiteral("a.dmg"), "DMG" }, { QStringLiteral("dir/b.txt"), "B" } },
            { QStringLiteral("dir") }, QString()));
    seed("archive_plan", "hostile",
        zip({ { QStringLiteral("../up.txt"), "UP" }, { QStringLiteral(".hidden"), "H" },
                { QString::fromUtf8("中文.dmg"), "X" } },
            { QStringLiteral("d") }, QStringLiteral("link")));
    seed("archive_plan", "names",
        "a.dmg\ndir/\ndir/b.txt\n./c\nx/../y\n..\\win\n./\na/../\n../UpdateProgram2/x\n"
        "a/..\n@link\nupdate.zip\n/etc/passwd\n");
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <corpus folder>\n", argv[0]);
        return 2;
    }
    g_root = QFile::decodeName(argv[1]);
    QTemporaryDir scratch;
    deviceSeeds();
    storeSeeds(scratch.path());
    ioSeeds(QStringLiteral(TEST_DATA_DIR "/io"));
    updateSeeds();
    return 0;
}
