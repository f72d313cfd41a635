// The configuration store: settings, preset, channel-mode and curve-list files.
#include <QtTest>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <unistd.h>

#include <functional>

#include "editor/band_edit.h"
#include "store/channel_modes.h"
#include "store/curve_list.h"
#include "store/paths.h"
#include "store/presets.h"
#include "store/settings.h"
#include "store/shared_state.h"
#include "band_fixtures.h"
#include "file_size_limit.h"
#include "test_files.h"

// The filter model owns these; weak so this test links with or without it.
__attribute__((weak)) EQ_data* EQ[12];
__attribute__((weak)) R_EQ_data* EQ_R[12];

namespace {

QJsonDocument jsonOf(const QString& path) { return QJsonDocument::fromJson(fileBytes(path)); }

QJsonArray arrayOf(const QString& path) { return jsonOf(path).array(); }

QJsonArray listArray(const QList<QJsonObject>& list)
{
    QJsonArray a;
    for (const auto& o : list)
        a.append(o);
    return a;
}

// A preset object as the program writes it, with every band cleared.
QJsonObject presetObject(int index, const QString& name, const QString& firstBand = "1 1 20 3 0.2")
{
    QJsonObject o { { "index", index }, { "config_name", name }, { "eq_gain", "1 -3" },
        { "eq_1", firstBand } };
    for (int k = 2; k <= 11; ++k)
        o.insert(QStringLiteral("eq_%1").arg(k), "0 1 632 0 0.707");
    return o;
}

QByteArray presetFile(int n)
{
    QJsonArray a;
    for (int i = 0; i < n; ++i)
        a.append(presetObject(
            i, QStringLiteral("P%1").arg(i), QStringLiteral("1 1 %1 1 1").arg(100 + i)));
    return QJsonDocument(a).toJson();
}

QByteArray curveFile(int n)
{
    QJsonArray a;
    for (int i = 0; i < n; ++i)
        a.append(QJsonObject { { "index", i }, { "name", QStringLiteral("c%1").arg(i) },
            { "path", QStringLiteral("/x/c%1.csv").arg(i) }, { "type", "tar" } });
    return QJsonDocument(a).toJson();
}

} // namespace

class TestStore : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;

    QString path(const QString& rel) const { return dir_->filePath(rel); }

private slots:
    void init()
    {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
        QVERIFY(QDir(dir_->path()).mkdir("Workspace_Config"));
        setAppDataDirForTesting(dir_->path());
        sysSetValue = SysSetInfo {}; // as at process start
        test_strReset();
    }

    void cleanup() { setAppDataDirForTesting(QString()); }

    // ---- settings file ----

    void settingsFirstStart()
    {
        config_Init();
        QCOMPARE(sysSetValue.QuorvelVesk_version, QString("V1.06"));
        Config_stamp_running_version();

        const QJsonObject o = jsonOf(settingsFilePath()).object();
        const QJsonObject expected { { "Language", 1 },
            { "EQ_save_file_path",
                QStandardPaths::writableLocation(QStandardPaths::DesktopLocation) },
            { "Auto_run", true }, { "Auto_save", true }, { "CloseBehavior", false },
            { "Filtered_FR_alignment", false }, { "High_sampling_rate_mute", false },
            { "Target_Mark", false }, { "Source_Mark", false }, { "Each_Mark", false },
            { "Combined_Mark", true }, { "Filtered_Mark", false }, { "Raw_Mark", false },
            { "Pre_select_tar_index", -1 }, { "Pre_select_fre_index", -1 },
            { "QuorvelVesk_version", "V1.16" }, { "FollowPre", false } };
        QCOMPARE(o, expected);
        QVERIFY(o.value("Language").isDouble() && o.value("Auto_run").isBool());
        QVERIFY(!QFile::exists(settingsFilePath() + ".bad"));
    }

    void settingsMalformed_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("language");
        QTest::addColumn<bool>("combined");
        QTest::addColumn<int>("tarIndex");
        QTest::addColumn<QString>("savePath");
        QTest::addColumn<bool>("keptBad");

        QTest::newRow("older file without Combined_Mark")
            << QByteArray(R"({"Language":1,"Pre_select_tar_index":3,"EQ_save_file_path":"/d"})")
            << 1 << false << 3 << "/d" << false;
        QTest::newRow("language 2 kept") << QByteArray(R"({"Language":2,"Combined_Mark":true})")
                                         << 2 << true << 0 << "" << false;
        QTest::newRow("numbers and strings swapped") << QByteArray(
            R"({"Language":"1","EQ_save_file_path":5,"Combined_Mark":1,"Pre_select_tar_index":2.5})")
                                                     << 0 << false << 0 << "" << false;
        QTest::newRow("top-level array")
            << QByteArray(R"([{"Language":1}])") << 0 << false << 0 << "" << true;
        QTest::newRow("cut in half") << QByteArray(R"({"Language": 1, "Combined_Mark": tr)") << 0
                                     << false << 0 << "" << true;
        QTest::newRow("empty file") << QByteArray() << 0 << false << 0 << "" << true;
    }

    void settingsMalformed()
    {
        QFETCH(QByteArray, file);
        putFile(settingsFilePath(), file);
        config_Init();
        Config_stamp_running_version();

        QFETCH(int, language);
        QFETCH(bool, combined);
        QFETCH(int, tarIndex);
        QFETCH(QString, savePath);
        QFETCH(bool, keptBad);
        QCOMPARE(sysSetValue.Language, language);
        QCOMPARE(sysSetValue.Combined_Mark, combined);
        QCOMPARE(sysSetValue.Pre_select_tar_index, tarIndex);
        QCOMPARE(sysSetValue.EQ_save_file_path, savePath);

        // The rewrite is an object holding exactly what the record holds.
        const QJsonObject o = jsonOf(settingsFilePath()).object();
        QCOMPARE(o.size(), 17);
        QCOMPARE(o.value("Language").toInt(), sysSetValue.Language);
        QCOMPARE(o.value("Combined_Mark").toBool(true), combined);
        QCOMPARE(o.value("QuorvelVesk_version").toString(), QString("V1.16"));

        // A file the program could not understand survives as ".bad".
        QCOMPARE(QFile::exists(settingsFilePath() + ".bad"), keptBad);
        if (keptBad)
            QCOMPARE(fileBytes(settingsFilePath() + ".bad"), file);
    }

    void settingsBadCopyIsTheNewest()
    {
        putFile(settingsFilePath() + ".bad", "old damage");
        putFile(settingsFilePath(), "{broken");
        config_Init();
        Config_update();
        Config_update();
        QCOMPARE(fileBytes(settingsFilePath() + ".bad"), QByteArray("{broken"));
    }

    void settingsUnopenableGoesOnWithDefaults()
    {
        QVERIFY(QDir(dir_->path()).mkdir("EQ_systemsetting_file.QVconfig"));
        config_Init();
        QCOMPARE(sysSetValue.Language, 1);
        QVERIFY(sysSetValue.Combined_Mark);
        QCOMPARE(sysSetValue.Pre_select_fre_index, -1);
        Config_update(); // cannot replace a folder: only logged
        QVERIFY(QFileInfo(settingsFilePath()).isDir());
    }

    void settingsUpdateRewritesWhole()
    {
        config_Init();
        sysSetValue.Language = 0;
        sysSetValue.Pre_select_fre_index = 4;
        Config_update();
        const QByteArray first = fileBytes(settingsFilePath());
        Config_update();
        QCOMPARE(fileBytes(settingsFilePath()), first);
        QCOMPARE(jsonOf(settingsFilePath()).object().value("Pre_select_fre_index").toInt(), 4);
        QCOMPARE(Config_write(), first);
    }

    void writeGoesThroughTemporaryAndRename()
    {
        config_Init();
        const QByteArray before = fileBytes(settingsFilePath());
        const QString link = path("old-settings");
        QCOMPARE(::link(QFile::encodeName(settingsFilePath()).constData(),
                     QFile::encodeName(link).constData()),
            0);
        sysSetValue.Language = 0;
        Config_update();
        // In-place truncation would have changed the linked inode too.
        QCOMPARE(fileBytes(link), before);
        QCOMPARE(jsonOf(settingsFilePath()).object().value("Language").toInt(), 0);
    }

    void failedWriteKeepsOldContent()
    {
        config_Init();
        EQ_config_Init();
        loadConfig();
        const QByteArray settings = fileBytes(settingsFilePath());
        const QByteArray presets = fileBytes(presetFilePath());
        const QByteArray modes = fileBytes(channelModeFilePath());
        const QList<QJsonObject> list = config_jsonDataList;
        {
            FileSizeLimit full(4);
            sysSetValue.Language = 0;
            Config_update();
            CB_data[0]->eq[1]->gain = 9.0;
            QVERIFY(!EQ_config_Update(0));
            QVERIFY(!EQ_config_Rename(0, "Other"));
            addOrUpdateConfig(7, 0);
        }
        QCOMPARE(fileBytes(settingsFilePath()), settings);
        QCOMPARE(fileBytes(presetFilePath()), presets);
        QCOMPARE(fileBytes(channelModeFilePath()), modes);
        QCOMPARE(config_jsonDataList, list);
        QCOMPARE(getConfig(7), 0); // the map keeps the change for the next save
        QCOMPARE(QDir(path("Workspace_Config")).entryList(QDir::Files).size(),
            3); // no stray temporaries
    }

    // ---- preset files ----

    void presetsFirstStart()
    {
        EQ_config_Init();
        QJsonObject expected { { "index", 0 }, { "config_name", "Default" }, { "eq_gain", "1 -3" },
            { "eq_1", "1 1 20 3 0.2" } };
        for (int k = 2; k <= 11; ++k)
            expected.insert(QStringLiteral("eq_%1").arg(k), "0 1 632 0 0.707");
        QCOMPARE(arrayOf(presetFilePath()), QJsonArray { expected });
        QCOMPARE(arrayOf(presetFilePath_R()), QJsonArray { expected });
        QCOMPARE(config_count, 1);
        QCOMPARE(config_count_R, 1);
        for (EQ_config_data* rec : { CB_data[0], CB_data_R[0] }) {
            QCOMPARE(rec->config_name, QString("Default"));
            QCOMPARE(rec->eq[0]->status, uint8_t(1));
            QCOMPARE(rec->eq[0]->gain, -3.0);
            QCOMPARE(bandString(*rec->eq[1]), QString("1 1 20 3 0.2"));
            QCOMPARE(bandString(*rec->eq[11]), QString("0 1 632 0 0.707"));
        }
        // The filter sets start on the start-up set, not on a table record.
        QVERIFY(EQ[1] != CB_data[0]->eq[1]);
        QCOMPARE(bandString(*EQ_R[1]), QString("1 1 20 3 0.2"));
    }

    void presetReader_data()
    {
        QTest::addColumn<QByteArray>("left");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("listSize");
        QTest::addColumn<int>("band"); // record 0, band `band` is checked
        QTest::addColumn<QString>("expected");

        auto one = [](const QString& key, const QJsonValue& value) {
            QJsonObject o = presetObject(0, "A");
            o.insert(key, value);
            return QJsonDocument(QJsonArray { o }).toJson();
        };
        QTest::newRow("number element skipped")
            << QJsonDocument(QJsonArray { presetObject(0, "A"), 5 }).toJson() << 1 << 1 << 1
            << "1 1 20 3 0.2";
        // The fields shift: type empty, frequency 1, gain 632, Q 0, each
        // then held or defaulted by the rule of its field.
        QTest::newRow("two blanks after status")
            << one("eq_3", "0  1 632 0 0.707") << 1 << 1 << 3 << "0 1 632 12 0.707";
        QTest::newRow("fractional frequency")
            << one("eq_5", "1 1 1000.5 2 1") << 1 << 1 << 5 << "1 1 632 2 1";
        QTest::newRow("short band string")
            << one("eq_2", "1 2") << 1 << 1 << 2 << "1 2 632 0 0.707";
        QTest::newRow("status above 1 is on")
            << one("eq_4", "257 3 100 1 1") << 1 << 1 << 4 << "1 3 100 1 1";
        QTest::newRow("plus sign and exponent")
            << one("eq_7", "1 1 100 +2 1e-04") << 1 << 1 << 7 << "1 1 100 2 0.0001";
        QTest::newRow("Q below one device step")
            << one("eq_7", "1 1 100 +2 9e-05") << 1 << 1 << 7 << "1 1 100 2 0.707";
        QTest::newRow("nan gain reads 0")
            << one("eq_6", "1 1 100 nan inf") << 1 << 1 << 6 << "1 1 100 0 0.707";
        QTest::newRow("-nan and 1e999 read 0")
            << one("eq_6", "1 1 100 -nan 1e999") << 1 << 1 << 6 << "1 1 100 0 0.707";
        QTest::newRow("number where a string belongs")
            << one("eq_1", 5) << 1 << 1 << 1 << "0 1 632 0 0.707";
        QTest::newRow("twelfth band ignored")
            << one("eq_12", "1 1 1 1 1") << 1 << 1 << 11 << "0 1 632 0 0.707";
        QTest::newRow("cut in half")
            << presetFile(3).left(presetFile(3).size() / 2) << 0 << 0 << 1 << "";
        QTest::newRow("top-level object") << QByteArray(R"({"index":0})") << 0 << 0 << 1 << "";
        QTest::newRow("150 presets") << presetFile(150) << 100 << 150 << 1 << "1 1 100 1 1";
    }

    void presetReader()
    {
        QFETCH(QByteArray, left);
        QFETCH(int, count);
        QFETCH(int, listSize);
        QFETCH(int, band);
        QFETCH(QString, expected);
        putFile(presetFilePath(), left);
        putFile(presetFilePath_R(), presetFile(2));
        EQ_config_Init();

        QCOMPARE(config_count, count);
        QCOMPARE(config_jsonDataList.size(), listSize);
        QCOMPARE(config_count_R, 2); // the other channel loads normally
        if (count > 0)
            QCOMPARE(bandString(*CB_data[0]->eq[band]), expected);
        if (count == 100)
            QCOMPARE(CB_data[99]->config_name, QString("P99"));

        // A file that was not a JSON array is kept as ".bad" before it is replaced.
        const bool damaged = !QJsonDocument::fromJson(left).isArray();
        QVERIFY(EQ_config_file_Add(config_count, "New") || count == 100);
        QCOMPARE(QFile::exists(presetFilePath() + ".bad"), damaged);
        if (damaged)
            QCOMPARE(fileBytes(presetFilePath() + ".bad"), left);
    }

    void presetPreampFields_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("status");
        QTest::addColumn<double>("gain");
        QTest::newRow("status and gain") << "1 -3.5" << 1 << -3.5;
        QTest::newRow("no blank: both from the whole") << "1" << 1 << 1.0;
        QTest::newRow("extra field") << "0 -3 5" << 0 << 0.0;
        QTest::newRow("missing") << "" << 0 << 0.0;
        QTest::newRow("nan") << "1 nan" << 1 << 0.0;
        QTest::newRow("-1e999") << "1 -1e999" << 1 << 0.0;
        QTest::newRow("huge") << "1 1e308" << 1 << 12.0;
        QTest::newRow("below the limit, status below 0") << "-1 -12.5" << 0 << -12.0;
        QTest::newRow("status above 1") << "7 2.25" << 1 << 2.25;
    }

    void presetPreampFields()
    {
        QFETCH(QString, text);
        QJsonObject o = presetObject(0, "A");
        o.insert("eq_gain", text);
        EQ_config_value_Init();
        EQ_config_Read(QJsonDocument(QJsonArray { o }).toJson());
        QTEST(int(CB_data[0]->eq[0]->status), "status");
        QTEST(CB_data[0]->eq[0]->gain, "gain");
    }

    // A file and the keyboard never disagree: a number read from a preset
    // file takes the value the same number typed into its field gives.
    void presetFieldsReadAsTyped_data()
    {
        QTest::addColumn<int>("field"); // 2 frequency, 3 gain, 4 Q
        QTest::addColumn<QString>("text");
        for (const char* t : { "19", "20", "-1000", "0", "632", "22000", "22001", "99999" })
            QTest::addRow("frequency %s", t) << 2 << QString(t);
        for (const char* t : { "-13", "-12", "-11.95", "0", "3.25", "12", "12.5", "1e308" })
            QTest::addRow("gain %s", t) << 3 << QString(t);
        for (const char* t : { "-1", "0", "5e-05", "0.0001", "2.5", "15", "15.5", "1e300" })
            QTest::addRow("Q %s", t) << 4 << QString(t);
    }

    void presetFieldsReadAsTyped()
    {
        QFETCH(int, field);
        QFETCH(QString, text);
        QStringList band { "1", "1", "1000", "0", "1" };
        band[field] = text;
        QJsonObject o = presetObject(0, "A");
        o.insert("eq_2", band.join(' '));
        o.insert("eq_gain", "1 " + text);
        EQ_config_value_Init();
        EQ_config_Read(QJsonDocument(QJsonArray { o }).toJson());
        const EQ_data& read = *CB_data[0]->eq[2];
        if (field == 2)
            QCOMPARE(read.center_frequency, readFrequencyText(text));
        if (field == 3) {
            QCOMPARE(read.gain, readGainText(text).gain);
            QCOMPARE(CB_data[0]->eq[0]->gain, readGainText(text).gain); // the preamp too
        }
        if (field == 4)
            QCOMPARE(read.Q, readQText(text).q);
    }

    void presetSaveAfterFirstStart()
    {
        EQ_config_Init();
        const QJsonObject leftBefore = arrayOf(presetFilePath()).at(0).toObject();
        QVERIFY(EQ_config_Update(0));
        QVERIFY(EQ_config_Update_R(0));
        QJsonObject left = arrayOf(presetFilePath()).at(0).toObject();
        QCOMPARE(left.value("eq_gain").toString(), QString("1 -3.0"));
        QCOMPARE(arrayOf(presetFilePath_R()).at(0).toObject().value("eq_gain").toString(),
            QString("1 -3"));
        left.insert("eq_gain", "1 -3");
        QCOMPARE(left, leftBefore);
        QCOMPARE(listArray(config_jsonDataList), arrayOf(presetFilePath()));
    }

    // Band 11 is never shown, but an eleven-filter import fills it, and a save
    // must keep it like any other band.
    void presetSaveWritesEditedRecord_data()
    {
        QTest::addColumn<int>("band");
        QTest::addColumn<bool>("right");
        QTest::newRow("band 4, left") << 4 << false;
        QTest::newRow("band 11, left") << 11 << false;
        QTest::newRow("band 11, right") << 11 << true;
    }

    void presetSaveWritesEditedRecord()
    {
        QFETCH(int, band);
        QFETCH(bool, right);
        putFile(presetFilePath(), presetFile(3));
        putFile(presetFilePath_R(), presetFile(3));
        EQ_config_Init();
        EQ_config_data** table = right ? CB_data_R : CB_data;
        *table[2]->eq[band] = EQ_data { 1, 5, 8000, -1.25, 2.5 };
        table[2]->config_name = "ignored";
        QVERIFY(right ? EQ_config_Update_R(2) : EQ_config_Update(2));
        const QJsonArray a = arrayOf(right ? presetFilePath_R() : presetFilePath());
        QCOMPARE(a.at(2).toObject().value(QStringLiteral("eq_%1").arg(band)).toString(),
            QString("1 5 8000 -1.25 2.5"));
        QCOMPARE(a.at(2).toObject().value("config_name").toString(), QString("P2"));
        QCOMPARE(
            a.at(1).toObject(), QJsonDocument::fromJson(presetFile(3)).array().at(1).toObject());

        // The next start reads it back.
        EQ_config_Init();
        QCOMPARE(bandString(*table[2]->eq[band]), QString("1 5 8000 -1.25 2.5"));
    }

    void presetSaveOrRenameOfUnknownIndexChangesNothing_data()
    {
        QTest::addColumn<int>("index");
        QTest::newRow("absent") << 7;
        QTest::newRow("negative") << -1;
        QTest::newRow("past the table") << 120;
    }

    void presetSaveOrRenameOfUnknownIndexChangesNothing()
    {
        QFETCH(int, index);
        QJsonArray many = QJsonDocument::fromJson(presetFile(2)).array();
        many.append(presetObject(120, "far")); // an index no table entry has
        putFile(presetFilePath(), QJsonDocument(many).toJson());
        putFile(presetFilePath_R(), presetFile(2));
        EQ_config_Init();
        QVERIFY(EQ_config_Update(index));
        QVERIFY(EQ_config_Rename_R(index, "X"));
        QCOMPARE(arrayOf(presetFilePath()), many);
        QCOMPARE(arrayOf(presetFilePath_R()), QJsonDocument::fromJson(presetFile(2)).array());
    }

    void presetRename()
    {
        putFile(presetFilePath(), presetFile(3));
        putFile(presetFilePath_R(), presetFile(3));
        EQ_config_Init();
        QVERIFY(EQ_config_Rename(1, "Renamed"));
        QVERIFY(EQ_config_Rename_R(1, "Renamed"));
        for (const QString& p : { presetFilePath(), presetFilePath_R() }) {
            QJsonObject expected = presetObject(1, "Renamed", "1 1 101 1 1");
            QCOMPARE(arrayOf(p).at(1).toObject(), expected);
        }
        QCOMPARE(CB_data[1]->config_name, QString("P1")); // the caller renames the records
    }

    void presetAdd()
    {
        putFile(presetFilePath(), presetFile(3));
        putFile(presetFilePath_R(), presetFile(3));
        EQ_config_Init();
        *EQ[2] = EQ_data { 1, 4, 300, 2, 0.5 };
        QVERIFY(EQ_config_file_Add(config_count, "Config3"));
        QVERIFY(EQ_config_file_Add_R(config_count_R, "Config3"));
        QCOMPARE(config_count, 4);
        QCOMPARE(config_count_R, 4);
        const QJsonObject added = arrayOf(presetFilePath()).at(3).toObject();
        QCOMPARE(added.value("index").toInt(), 3);
        QCOMPARE(added.value("eq_2").toString(), QString("1 4 300 2 0.5"));
        QCOMPARE(added.value("eq_gain").toString(), QString("1 -3"));
        QCOMPARE(bandString(*CB_data[3]->eq[2]), QString("1 4 300 2 0.5"));
        QCOMPARE(listArray(config_jsonDataList_R), arrayOf(presetFilePath_R()));
    }

    void presetAddPastCapacityRefused()
    {
        putFile(presetFilePath(), presetFile(100));
        putFile(presetFilePath_R(), presetFile(150));
        EQ_config_Init();
        QVERIFY(!EQ_config_file_Add(config_count, "Extra"));
        QVERIFY(!EQ_config_file_Add_R(config_count_R, "Extra"));
        QCOMPARE(fileBytes(presetFilePath()), presetFile(100));
        QCOMPARE(fileBytes(presetFilePath_R()), presetFile(150));
        QCOMPARE(config_jsonDataList.size(), 100);
        // The presets past the table stay in the file across rewrites.
        QVERIFY(EQ_config_Update_R(0));
        QCOMPARE(arrayOf(presetFilePath_R()).size(), 150);
    }

    void presetRemoveAndRenumber()
    {
        putFile(presetFilePath(), presetFile(3));
        putFile(presetFilePath_R(), presetFile(3));
        EQ_config_Init();
        QVERIFY(EQ_config_removeAndReorder(1));
        QVERIFY(EQ_config_removeAndReorder_R(1));
        for (const QString& p : { presetFilePath(), presetFilePath_R() })
            QCOMPARE(arrayOf(p),
                (QJsonArray {
                    presetObject(0, "P0", "1 1 100 1 1"), presetObject(1, "P2", "1 1 102 1 1") }));
        QCOMPARE(config_count, 2);
        QCOMPARE(config_count_R, 2);
        QCOMPARE(CB_data[1]->config_name, QString("P2"));
        QCOMPARE(CB_data_R[1]->index, 1);
        QCOMPARE(listArray(config_jsonDataList), arrayOf(presetFilePath()));

        const QByteArray before = fileBytes(presetFilePath());
        EQ_config_removeDataByIndex(9);
        QCOMPARE(config_jsonDataList.size(), 2);
        QVERIFY(EQ_config_removeAndReorder(9));
        QCOMPARE(arrayOf(presetFilePath()), QJsonDocument::fromJson(before).array());
        QCOMPARE(config_count, 2);
    }

    void presetFailedRemoveKeepsListFileAndTableTogether()
    {
        putFile(presetFilePath(), presetFile(3));
        putFile(presetFilePath_R(), presetFile(3));
        EQ_config_Init();
        {
            FileSizeLimit full(4);
            QVERIFY(!EQ_config_removeAndReorder(0));
        }
        QCOMPARE(fileBytes(presetFilePath()), presetFile(3));
        QCOMPARE(listArray(config_jsonDataList), arrayOf(presetFilePath()));
        QCOMPARE(config_count, 3);
        // A later save of preset 1 lands on preset 1, not on its neighbour.
        CB_data[1]->eq[1]->gain = -7;
        QVERIFY(EQ_config_Update(1));
        const QJsonArray a = arrayOf(presetFilePath());
        QCOMPARE(a.at(1).toObject().value("config_name").toString(), QString("P1"));
        QCOMPARE(a.at(1).toObject().value("eq_1").toString(), QString("1 1 101 -7 1"));
        QCOMPARE(a.at(2).toObject().value("eq_1").toString(), QString("1 1 102 1 1"));
    }

    void presetFailedAddChangesNothing()
    {
        EQ_config_Init();
        {
            FileSizeLimit full(4);
            QVERIFY(!EQ_config_file_Add(config_count, "New"));
        }
        QCOMPARE(config_jsonDataList.size(), 1);
        QCOMPARE(config_count, 1);
        QCOMPARE(arrayOf(presetFilePath()).size(), 1);
    }

    void presetUnopenableFilesLoadTheDefault()
    {
        putFile(presetFilePath(), presetFile(3)); // the right file is missing
        EQ_config_Init();
        QCOMPARE(config_count, 3);
        QCOMPARE(config_count_R, 1);
        QCOMPARE(CB_data_R[0]->config_name, QString("Default"));
        QVERIFY(EQ_config_file_Add_R(config_count_R, "Next"));
        QCOMPARE(arrayOf(presetFilePath_R()).size(), 2);
    }

    // ---- channel-mode file ----

    void channelModesFirstStart()
    {
        loadConfig();
        QCOMPARE(fileBytes(channelModeFilePath()), QByteArray("0:1\n"));
        QCOMPARE(getConfig(0), 1);
    }

    void channelModesLoad_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QByteArray>("rewritten");
        QTest::newRow("last duplicate wins, keys sorted")
            << QByteArray("3:0\n1:1\n3:1") << QByteArray("1:1\n3:1\n");
        QTest::newRow("three parts") << QByteArray("2:1:7\n") << QByteArray("2:1\n");
        QTest::newRow("letters as key") << QByteArray("abc:1\n") << QByteArray("0:1\n");
        QTest::newRow("lines without colon skipped")
            << QByteArray("5\n\n2:1\n\n") << QByteArray("2:1\n");
        QTest::newRow("empty value") << QByteArray("4:\n-3:x\n") << QByteArray("-3:0\n4:0\n");
        QTest::newRow("carriage returns")
            << QByteArray("1:1\r\n2:0\r\n") << QByteArray("1:1\n2:0\n");
        QTest::newRow("empty file") << QByteArray() << QByteArray();
    }

    void channelModesLoad()
    {
        QFETCH(QByteArray, file);
        putFile(channelModeFilePath(), file);
        loadConfig();
        QTEST(fileBytes(channelModeFilePath()), "rewritten");
    }

    void channelModesLoadLogsEveryPair()
    {
        putFile(channelModeFilePath(), "2:1\n5:0\n");
        QTest::ignoreMessage(QtDebugMsg, "已经创建配置文件UI_EQ");
        for (const char* pair : { "keyValue[i].toInt()  2 1", "keyValue[i].toInt()  5 0" }) {
            QTest::ignoreMessage(QtDebugMsg, "本地更新本地更新");
            QTest::ignoreMessage(QtDebugMsg, pair);
        }
        loadConfig();
    }

    void channelModesChanges()
    {
        loadConfig();
        addOrUpdateConfig(3, 0);
        addOrUpdateConfig(0, 0);
        QCOMPARE(fileBytes(channelModeFilePath()), QByteArray("0:0\n3:0\n"));
        QCOMPARE(getConfig(5), -1);
        QCOMPARE(m_configMap.size(), 2);

        // Deleting an absent key does not touch the file.
        putFile(channelModeFilePath(), "sentinel");
        deleteConfig(5);
        QCOMPARE(fileBytes(channelModeFilePath()), QByteArray("sentinel"));
        deleteConfig(0);
        QCOMPARE(fileBytes(channelModeFilePath()), QByteArray("3:0\n"));
    }

    // ---- curve-list file ----

    void curveListFirstStart()
    {
        buffer_Init();
        const QJsonArray expected { QJsonObject { { "index", 0 }, { "name", "fre1" },
                                        { "path", dir_->path() + "/test.csv" }, { "type", "fre" } },
            QJsonObject { { "index", 1 }, { "name", "Harman OE" },
                { "path", dir_->path() + "/harman_over-ear_2018.csv" }, { "type", "tar" } } };
        QCOMPARE(arrayOf(curveListFilePath()), expected);
        QCOMPARE(buffer_count, 2);
        QCOMPARE(BD_value[1].name, QString("Harman OE"));
        QCOMPARE(listArray(jsonDataList), expected);
    }

    void curveListOperations()
    {
        buffer_Init();
        QVERIFY(removeAndReorder(0));
        QCOMPARE(arrayOf(curveListFilePath()),
            (QJsonArray { QJsonObject { { "index", 0 }, { "name", "Harman OE" },
                { "path", dir_->path() + "/harman_over-ear_2018.csv" }, { "type", "tar" } } }));
        QCOMPARE(buffer_count, 1);
        QCOMPARE(BD_value[0].type, QString("tar"));

        QVERIFY(file_Add("fre", buffer_count, "a", "/x/a.csv"));
        QVERIFY(file_Add("fre", buffer_count, "b", "/x/b.csv"));
        QVERIFY(file_Add("tar", buffer_count, "c", "/x/c.csv"));
        QCOMPARE(buffer_count, 4);
        QCOMPARE(BD_value[3].index, 3);
        QCOMPARE(BD_value[3].path, QString("/x/c.csv"));
        QCOMPARE(arrayOf(curveListFilePath()).at(3).toObject().value("index").toInt(), 3);
        QCOMPARE(listArray(jsonDataList), arrayOf(curveListFilePath()));

        QVERIFY(removeAndReorder(42)); // absent: only renumbered
        QCOMPARE(buffer_count, 4);
    }

    void curveListReader_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("listSize");
        QTest::addColumn<bool>("damaged");
        QTest::newRow("string element skipped")
            << QByteArray(R"(["x", {"index":0,"name":"n","path":"/p","type":"fre"}])") << 1 << 1
            << false;
        QTest::newRow("numbers where strings belong")
            << QByteArray(R"([{"index":"0","name":5,"path":true,"type":1}])") << 1 << 1 << false;
        QTest::newRow("index too large for an integer")
            << QByteArray(R"([{"index":1e308,"name":"n","path":"/p","type":"fre"}])") << 1 << 1
            << false;
        QTest::newRow("index too large for a double")
            << QByteArray(R"([{"index":1e999,"name":"n","path":"/p","type":"fre"}])") << 0 << 0
            << true;
        QTest::newRow("cut in half")
            << curveFile(4).left(curveFile(4).size() / 2) << 0 << 0 << true;
        QTest::newRow("top-level object") << QByteArray(R"({"index":0})") << 0 << 0 << true;
        QTest::newRow("150 entries") << curveFile(150) << 100 << 150 << false;
    }

    void curveListReader()
    {
        QFETCH(QByteArray, file);
        QFETCH(bool, damaged);
        putFile(curveListFilePath(), file);
        buffer_Init();
        QTEST(int(buffer_count), "count");
        QTEST(int(jsonDataList.size()), "listSize");
        if (buffer_count == 1) {
            QCOMPARE(BD_value[0].index, 0);
            QVERIFY(BD_value[0].type.isEmpty() || BD_value[0].type == "fre");
        }
        const bool full = jsonDataList.size() >= kCurveListCapacity;
        const bool added = file_Add("fre", buffer_count, "new", "/x/new.csv");
        QCOMPARE(added, !full);
        QCOMPARE(QFile::exists(curveListFilePath() + ".bad"), damaged);
        if (damaged)
            QCOMPARE(fileBytes(curveListFilePath() + ".bad"), file);
        if (!added)
            QCOMPARE(fileBytes(curveListFilePath()), file);
    }

    void curveListFailedRemoveFollowsTheFile()
    {
        putFile(curveListFilePath(), curveFile(3));
        buffer_Init();
        {
            FileSizeLimit full(4);
            QVERIFY(!removeAndReorder(0));
            QVERIFY(!file_Add("fre", buffer_count, "x", "/x"));
        }
        QCOMPARE(buffer_count, 3);
        QCOMPARE(listArray(jsonDataList), arrayOf(curveListFilePath()));
        QCOMPARE(fileBytes(curveListFilePath()), curveFile(3));
    }

    // ---- writes cut short ----

    // A start clears the temporaries a killed write left beside each store
    // file, and nothing else.
    void startClearsLeftoverTemporaries_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<std::function<void()>>("start");
        QTest::newRow("settings") << "EQ_systemsetting_file.QVconfig"
                                  << std::function<void()>(config_Init);
        QTest::newRow("presets") << "Workspace_Config/EQ_config.QVconfig"
                                 << std::function<void()>(EQ_config_Init);
        QTest::newRow("right presets")
            << "Workspace_Config/EQ_config_R.QVconfig" << std::function<void()>(EQ_config_Init);
        QTest::newRow("channel modes")
            << "Workspace_Config/ui_config.txt" << std::function<void()>(loadConfig);
        QTest::newRow("curve list")
            << "EQ_fre_tar_file.QVconfig" << std::function<void()>(buffer_Init);
    }

    void startClearsLeftoverTemporaries()
    {
        QFETCH(QString, fileName);
        QFETCH(std::function<void()>, start);
        const QString file = path(fileName);
        const QStringList leftovers = { file + ".Ab3xY9", file + ".zzzzzz" };
        const QStringList kept = { file + ".bad", file + ".Ab3xY", file + ".Ab3xY9z",
            file + ".Ab-xY9", path("other.txt.Ab3xY9") };
        for (const QString& p : leftovers + kept)
            putFile(p, "{");
        start();
        for (const QString& p : leftovers)
            QVERIFY2(!QFile::exists(p), qPrintable(p));
        for (const QString& p : kept)
            QVERIFY2(QFile::exists(p), qPrintable(p));
    }

    // ---- shipped curves ----

    void shippedCurvesBesideTheProgram_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("source") << "test.csv";
        QTest::newRow("target") << "harman_over-ear_2018.csv";
    }

    void shippedCurvesBesideTheProgram()
    {
        QFETCH(QString, name);
        const QString file = QFileInfo(QStringLiteral(PROGRAM_PATH)).dir().filePath(name);
        const QList<QByteArray> lines = fileBytes(file).split('\n');
        QCOMPARE(lines.size(), 185); // 184 lines, each ended by "\n"
        QCOMPARE(lines.at(0), QByteArray("Quorvel_csv_file"));
        QCOMPARE(lines.at(1), QByteArray("fre(Hz),raw(dB)"));
        QCOMPARE(lines.at(2).split(',').at(0), QByteArray("20"));
        QCOMPARE(lines.at(2 + 85), QByteArray("500,0"));
        QCOMPARE(lines.at(2 + 181).split(',').at(0), QByteArray("22000"));
        QVERIFY(lines.last().isEmpty());
    }

private:
    static void test_strReset() { test_str.clear(); }
};

QTEST_GUILESS_MAIN(TestStore)
#include "test_store.moc"
