// The update check, download and installation against a server this test
// starts on 127.0.0.1 (plain HTTP, or TLS with the test CA): every result
// state, the failures that must end as a failed connection, the unpacking of
// hostile archives, the install script handed to a recorder, and the quit.

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMap>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

#include <unistd.h>

#include "deadlines.h"
#include "app/macapplication.h"
#include "app/mainwindow.h"
#include "device/threads.h"
#include "modal_answers.h"
#include "settings/checkupdata.h"
#include "settings/process_launcher.h"
#include "settings/systemsetting.h"
#include "settings/update_core.h"
#include "settings/update_net.h"
#include "settings/zip_reader.h"
#include "store/settings.h"
#include "update_server.h"
#include "warning_log.h"
#include "widgets/resources.h"
#include "window_fixture.h"
#include "zip_fixtures.h"

using testserver::Route;
using testserver::UpdateServer;

namespace {

const QString kFailed = "Connection failed, please try again or manually update";
const QByteArray kManifestPath = "/um/VeskSoftware.json";
const QByteArray kArchivePath = "/dl/QUORVEL%20Vesk%20V1.17.zip";
constexpr int kWaitMs = testsupport::kDeadlineMs;

QByteArray manifest(const QString& macVersion, const QString& macUrl)
{
    return QStringLiteral(
        R"({"Vesk_Series": {"LatestVerison": "V1.17", "Url": "https://h/win.zip",)"
        R"( "MacLatestVerison": "%1", "MacUrl": "%2", "ReleaseNoteCh": "修复",)"
        R"( "ReleaseNoteEn": "Fixes"}})")
        .arg(macVersion, macUrl)
        .toUtf8();
}

Route whole(const QByteArray& body, int status = 200)
{
    Route r;
    r.status = status;
    r.body = body;
    return r;
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString scriptPath() { return QDir::tempPath() + "/update.sh"; }

// Every entry under `root` with a file's bytes, a link's target or "folder",
// so a test sees any change made there. Links are not followed.
QMap<QString, QByteArray> tree(const QString& root)
{
    QMap<QString, QByteArray> entries;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
        QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info = it.fileInfo();
        entries[path.mid(root.size())] = info.isSymLink()
            ? "link to " + QFile::encodeName(info.symLinkTarget())
            : info.isDir() ? QByteArray("folder")
                           : readFile(path);
    }
    return entries;
}

constexpr int kLoopNeverEnded = 99;

// Runs the application's event loop the way main() does, from `start` until
// the program quits; kLoopNeverEnded when it has not by the deadline.
int runUntilQuit(const std::function<void()>& start)
{
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(kLoopNeverEnded); });
    guard.start(kWaitMs);
    QTimer::singleShot(0, &guard, start);
    return QCoreApplication::exec();
}

} // namespace

class TestUpdate : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;
    QTemporaryDir toolDirs; // "with" holds a stand-in disk-image tool, "without" nothing
    QByteArray savedPath;
    QStringList launched; // program, then its arguments, for every start
    int launches = 0;
    bool launchSucceeds = true;

    QNetworkAccessManager* checkManager(SystemSetting& s)
    {
        return s.findChild<QNetworkAccessManager*>(QString(), Qt::FindDirectChildrenOnly);
    }

    // Sends the check and waits until its answer has been handled.
    bool check(SystemSetting& s, bool manual)
    {
        QSignalSpy done(checkManager(s), &QNetworkAccessManager::finished);
        if (manual)
            QTest::mouseClick(s.ui->pushButton_check, Qt::LeftButton);
        else
            s.Updata_version();
        return QTest::qWaitFor([&done] { return !done.isEmpty(); }, kWaitMs);
    }

    void useServer(const UpdateServer& server)
    {
        qputenv("QV_UPDATE_BASE_URL", server.baseUrl().toUtf8());
    }

    void useTestCa() { qputenv("QV_UPDATE_CA_FILE", TEST_DATA_DIR "/update-ca.pem"); }

    // A settings window whose update window offers `url`.
    std::unique_ptr<SystemSetting> offering(const QString& url)
    {
        auto s = std::make_unique<SystemSetting>();
        CHECKUPDATA* u = s->updateWindow();
        u->updateUI("V1.16", "V1.17", QString(), QString());
        u->setUrl(url);
        u->show();
        return s;
    }

    // PATH with a stand-in for the install script's disk-image tool, or with
    // nothing on it at all.
    void setInstallToolOnPath(bool present)
    {
        qputenv("PATH",
            present ? QFile::encodeName(toolDirs.path() + "/with") + ":" + savedPath
                    : QFile::encodeName(toolDirs.path() + "/without"));
    }

    // The failed look with `line` (the failed connection unless given) and
    // the running version line in the window's language.
    void expectFailedDownload(CHECKUPDATA* u, const QString& line = kFailed)
    {
        QTRY_COMPARE_WITH_TIMEOUT(u->label_UpVersion->text(), line, kWaitMs);
        QCOMPARE(u->label_Version->text(),
            sysSetValue.Language == 0 ? QString::fromUtf8("当前版本：V1.16")
                                      : QString("Current version：V1.16"));
        QVERIFY(u->pushButton_Update->isHidden());
        QVERIFY(u->progressBar->isHidden());
        QVERIFY(u->label_Progress->isHidden());
        QVERIFY(u->isVisible());
        QCOMPARE(launches, 0);
        QVERIFY(!QFileInfo::exists(scriptPath()));
    }

private slots:
    void initTestCase()
    {
        initResources();
        testsupport::installWarningLog();
        savedPath = qgetenv("PATH");
        QVERIFY(toolDirs.isValid());
        QVERIFY(QDir().mkpath(toolDirs.path() + "/with"));
        QVERIFY(QDir().mkpath(toolDirs.path() + "/without"));
        QFile tool(toolDirs.path() + "/with/" + update_core::kInstallScriptTool);
        QVERIFY(tool.open(QIODevice::WriteOnly));
        tool.write("#!/bin/sh\nexit 1\n");
        tool.close();
        QVERIFY(tool.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        process_launcher::setLauncherForTesting(
            [this](const QString& program, const QStringList& args, QString* error) {
                ++launches;
                launched = QStringList { program } + args;
                if (!launchSucceeds && error)
                    *error = "refused by the test";
                return launchSucceeds;
            });
    }

    void init()
    {
        dir = freshWindowDir();
        QVERIFY(dir);
        config_Init();
        Config_stamp_running_version();
        sysSetValue.Language = 1;
        Config_update();
        hand_press_updata_button = false;
        launched.clear();
        launches = 0;
        launchSucceeds = true;
        qunsetenv("QV_UPDATE_CA_FILE");
        qputenv("QV_UPDATE_BASE_URL", "off");
        QFile::remove(scriptPath());
        update_net::setTimeoutsForTesting(0, 0);
    }

    void cleanup()
    {
        update_net::setTimeoutsForTesting(0, 0);
        QFile::remove(scriptPath());
        qputenv("PATH", savedPath);
    }

    void cleanupTestCase()
    {
        process_launcher::setLauncherForTesting({});
        stopDeviceThreads();
    }

    void checkResults_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("manual");
        QTest::addColumn<bool>("shown");
        QTest::addColumn<QString>("secondLine");
        QTest::addColumn<bool>("canUpdate");
        QTest::addColumn<bool>("pending"); // a manual check still waits for a manifest
        const QString url = "https://h/dl/a.zip";
        const QString latest = "Currently the latest version";
        QTest::newRow("newer, automatic") << manifest("V1.17", url) << 200 << false << true
                                          << "Updatable version:V1.17" << true << false;
        QTest::newRow("newer, manual") << manifest("V1.17", url) << 200 << true << true
                                       << "Updatable version:V1.17" << true << false;
        QTest::newRow("V2.10 over V1.16") << manifest("V2.10", url) << 200 << false << true
                                          << "Updatable version:V2.10" << true << false;
        QTest::newRow("equal, automatic")
            << manifest("V1.16", url) << 200 << false << false << latest << false << false;
        QTest::newRow("equal, manual")
            << manifest("V1.16", url) << 200 << true << true << latest << false << false;
        QTest::newRow("V1.9 is older")
            << manifest("V1.9", url) << 200 << true << true << latest << false << false;
        QTest::newRow("newer without archive")
            << manifest("V1.17", "") << 200 << true << true << latest << false << false;
        QTest::newRow("no series")
            << QByteArray(R"({"Other": 1})") << 200 << true << true << latest << false << false;
        QTest::newRow("array") << QByteArray("[1, 2]") << 200 << true << false << QString() << true
                               << true;
        QTest::newRow("404, automatic")
            << QByteArray("gone") << 404 << false << true << kFailed << false << false;
        QTest::newRow("500, manual")
            << QByteArray("oops") << 500 << true << true << kFailed << false << true;
    }
    void checkResults()
    {
        QFETCH(QByteArray, body);
        QFETCH(int, status);
        QFETCH(bool, manual);
        QFETCH(bool, shown);
        QFETCH(QString, secondLine);
        QFETCH(bool, canUpdate);
        QFETCH(bool, pending);
        UpdateServer server;
        QVERIFY(server.start());
        server.route(kManifestPath, whole(body, status));
        useServer(server);
        SystemSetting s;
        CHECKUPDATA* u = s.updateWindow();
        QVERIFY(check(s, manual));

        QCOMPARE(u->isVisible(), shown);
        QCOMPARE(u->label_UpVersion->text(), secondLine);
        QCOMPARE(u->pushButton_Update->isEnabled(), canUpdate);
        QCOMPARE(hand_press_updata_button, pending);
        if (!secondLine.isEmpty()) {
            QCOMPARE(u->windowTitle(), QString("Check for updates"));
            QCOMPARE(u->label_Head1->text(), QString("Software update"));
            QCOMPARE(u->label_Version->text(), QString("Current version：V1.16"));
            QCOMPARE(u->pushButton_Update->text(), QString("Update"));
        }
        if (secondLine.startsWith("Updatable"))
            QCOMPARE(u->url(), QString("https://h/dl/a.zip"));
        const QList<testserver::Request> requests = server.requests();
        QCOMPARE(requests.size(), 1);
        QCOMPARE(requests[0].method, QByteArray("GET"));
        QCOMPARE(requests[0].path, kManifestPath);
        QCOMPARE(requests[0].headers.value("user-agent"), QByteArray("RT-Thread ART"));
    }

    void chineseTexts()
    {
        sysSetValue.Language = 0;
        UpdateServer server;
        QVERIFY(server.start());
        server.route(kManifestPath, whole(manifest("V1.17", "https://h/a.zip")));
        useServer(server);
        SystemSetting s;
        CHECKUPDATA* u = s.updateWindow();
        QVERIFY(check(s, false));
        QCOMPARE(u->windowTitle(), QString::fromUtf8("检查更新"));
        QCOMPARE(u->label_Head1->text(), QString::fromUtf8("软件更新"));
        QCOMPARE(u->label_Version->text(), QString::fromUtf8("当前版本：V1.16"));
        QCOMPARE(u->label_UpVersion->text(), QString::fromUtf8("可更新版本:V1.17"));
        QCOMPARE(u->pushButton_Update->text(), QString::fromUtf8("更新"));
        u->NoupdateUI("V1.16");
        QCOMPARE(u->label_UpVersion->text(), QString::fromUtf8("当前为最新版本"));
        u->ConnectFailedUI("V1.16");
        QCOMPARE(u->label_UpVersion->text(), QString::fromUtf8("连接失败，请重试或者手动更新"));
        // Any other language value is English in this window.
        sysSetValue.Language = 5;
        u->NoupdateUI("V1.16");
        QCOMPARE(u->label_UpVersion->text(), QString("Currently the latest version"));
    }

    void invalidJsonBoxThenPendingResult()
    {
        UpdateServer server;
        QVERIFY(server.start());
        server.route(kManifestPath, whole("{\"Vesk_Series\": "));
        useServer(server);
        SystemSetting s;
        CHECKUPDATA* u = s.updateWindow();
        ModalAnswers answers;
        answers.button("OK");
        QVERIFY(check(s, true));
        QCOMPARE(answers.pending(), 0);
        QCOMPARE(answers.shown.size(), 1);
        QCOMPARE(answers.shown[0].title, QString::fromUtf8("检查失败"));
        QCOMPARE(answers.shown[0].text, QString::fromUtf8("服务器地址错误或JSON格式错误!"));
        QCOMPARE(answers.shown[0].choices, QStringList { "OK" });
        QVERIFY(!u->isVisible());
        QVERIFY(hand_press_updata_button);

        // The manual check still pending shows the next result, automatic or not.
        server.route(kManifestPath, whole(manifest("V1.16", "https://h/a.zip")));
        QVERIFY(check(s, false));
        QVERIFY(u->isVisible());
        QCOMPARE(u->label_UpVersion->text(), QString("Currently the latest version"));
        QVERIFY(!hand_press_updata_button);
    }

    void checkOverTls()
    {
        UpdateServer server;
        QVERIFY(
            server.start(TEST_DATA_DIR "/update-server.pem", TEST_DATA_DIR "/update-server.key"));
        server.route(kManifestPath, whole(manifest("V1.17", "https://h/a.zip")));
        useServer(server);
        useTestCa();
        QVERIFY(server.baseUrl().startsWith("https://"));
        SystemSetting s;
        QVERIFY(check(s, false));
        QCOMPARE(s.updateWindow()->label_UpVersion->text(), QString("Updatable version:V1.17"));
        QCOMPARE(
            server.requests().value(0).headers.value("user-agent"), QByteArray("RT-Thread ART"));
    }

    // Whatever keeps the manifest away, the user sees the failed connection,
    // within the bound, and the program goes on.
    void checkConnectionFailures_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("untrusted certificate") << "untrusted";
        QTest::newRow("closed port") << "closed";
        QTest::newRow("silent server") << "silent";
        QTest::newRow("trickling past the bound") << "trickle";
        QTest::newRow("body cut short") << "cut";
    }
    void checkConnectionFailures()
    {
        QFETCH(QString, kind);
        UpdateServer server;
        const QByteArray body = manifest("V1.17", "https://h/a.zip");
        Route r = whole(body);
        if (kind == "untrusted") {
            QVERIFY(server.start(
                TEST_DATA_DIR "/update-server.pem", TEST_DATA_DIR "/update-server.key"));
        } else {
            QVERIFY(server.start());
        }
        if (kind == "silent") {
            r.mode = Route::Mode::Silent;
        } else if (kind == "trickle") {
            r.mode = Route::Mode::Trickle;
            r.intervalMs = 200;
        } else if (kind == "cut") {
            r.mode = Route::Mode::Cut;
            r.cutAfter = body.size() / 2;
        }
        server.route(kManifestPath, r);
        useServer(server);
        if (kind == "closed") {
            const quint16 port = server.serverPort();
            server.close();
            qputenv(
                "QV_UPDATE_BASE_URL", QByteArray("http://127.0.0.1:") + QByteArray::number(port));
        }
        update_net::setTimeoutsForTesting(1000, 1000);
        SystemSetting s;
        CHECKUPDATA* u = s.updateWindow();
        QVERIFY(check(s, false));
        QVERIFY(u->isVisible());
        QCOMPARE(u->label_UpVersion->text(), kFailed);
        QVERIFY(!u->pushButton_Update->isEnabled());
        QCOMPARE(u->pushButton_Update->styleSheet(),
            QString(" QPushButton{   background-color: rgb(80, 80, 80);   color: rgb(61,61,61);"
                    "   border:none;   border-radius: 3px;     font-size: 14px;} "));
    }

    void defaultBounds()
    {
        QCOMPARE(update_net::manifestTimeoutMs(), 15000);
        QCOMPARE(update_net::downloadIdleTimeoutMs(), 30000);
        qunsetenv("QV_UPDATE_BASE_URL");
        QCOMPARE(
            update_net::manifestUrl(), QUrl("https://download.quorvel.com/um/VeskSoftware.json"));
        QVERIFY(!update_net::checkDisabled());
    }

    void offSendsNothing()
    {
        qputenv("QV_UPDATE_BASE_URL", "off");
        SystemSetting s;
        s.Updata_version();
        QVERIFY(checkManager(s)->findChildren<QNetworkReply*>().isEmpty());
        QVERIFY(s.updateWindow()->isHidden());
        // A user who asks still gets an answer.
        QTest::mouseClick(s.ui->pushButton_check, Qt::LeftButton);
        QVERIFY(checkManager(s)->findChildren<QNetworkReply*>().isEmpty());
        QVERIFY(s.updateWindow()->isVisible());
        QCOMPARE(s.updateWindow()->label_UpVersion->text(), kFailed);
    }

    // 500 ms after start-up the main window checks by itself.
    void startupCheck()
    {
        UpdateServer server;
        QVERIFY(server.start());
        server.route(kManifestPath, whole(manifest("V1.17", "https://h/a.zip")));
        useServer(server);
        auto w = std::make_unique<MainWindow>();
        QTRY_VERIFY_WITH_TIMEOUT(systemset->updateWindow()->isVisible(), kWaitMs);
        QCOMPARE(
            systemset->updateWindow()->label_UpVersion->text(), QString("Updatable version:V1.17"));
        QCOMPARE(server.requestCount(), 1);
    }

    void progressDisplay()
    {
        CHECKUPDATA u;
        u.onDownloadProgress(1536, qint64(80) * 1048576);
        QVERIFY(!u.progressBar->isHidden());
        QVERIFY(!u.label_Progress->isHidden());
        QVERIFY2(u.label_Progress->text().endsWith(" - 1.50 KB/80.00 MB"),
            qPrintable(u.label_Progress->text()));
        QCOMPARE(u.progressBar->maximum(), 83886080);
        QCOMPARE(u.progressBar->value(), 1536);
        u.onDownloadProgress(5000, -1); // no length announced
        QCOMPARE(u.progressBar->maximum(), 0);
        QVERIFY(u.label_Progress->text().endsWith(" - 4.88 KB/0.00 "));
        const qint64 gib = 1073741824;
        u.onDownloadProgress(3 * gib, 6 * gib);
        QCOMPARE(u.progressBar->maximum(), int(6 * gib / 4));
        QCOMPARE(u.progressBar->value(), int(3 * gib / 4));
        QVERIFY(u.label_Progress->text().endsWith(" - 3.00 GB/6.00 GB"));
    }

    // The whole road over TLS: the check at start-up offers V1.17, "Update"
    // fetches the archive with progress, unpacks it, writes the script, hands
    // [script, first disk image] to the launcher and leaves through the
    // ordinary quit.
    void downloadInstallAndQuit()
    {
        const QByteArray zip = makeZip({ { ZipItem::File, "b-image.dmg", "B" },
            { ZipItem::File, "a-image.dmg", QByteArray(200000, 'a') },
            { ZipItem::Dir, "notes", {} }, { ZipItem::File, "notes/readme.txt", "read me" },
            { ZipItem::File, ".hidden", "H" } });
        UpdateServer server;
        QVERIFY(
            server.start(TEST_DATA_DIR "/update-server.pem", TEST_DATA_DIR "/update-server.key"));
        Route archive = whole(zip);
        archive.mode = Route::Mode::Trickle;
        archive.chunk = 16384;
        server.route(kArchivePath, archive);
        server.route(kManifestPath, whole(manifest("V1.17", server.baseUrl() + kArchivePath)));
        useServer(server);
        useTestCa();
        setInstallToolOnPath(true);

        auto w = std::make_unique<MainWindow>();
        CHECKUPDATA* u = systemset->updateWindow();
        QTRY_VERIFY_WITH_TIMEOUT(u->isVisible() && u->pushButton_Update->isEnabled(), kWaitMs);
        QMetaObject::Connection quit
            = connect(qApp, &QCoreApplication::aboutToQuit, w.get(), &MainWindow::onAboutToQuit);
        sysSetValue.High_sampling_rate_mute = true; // only the quit writes this
        int progressShown = 0;
        QMetaObject::Connection progress = connect(u->progressBar, &QProgressBar::valueChanged,
            this, [&] { progressShown += u->progressBar->isVisible(); });

        const int code
            = runUntilQuit([u] { QTest::mouseClick(u->pushButton_Update, Qt::LeftButton); });
        disconnect(quit);
        disconnect(progress);

        QVERIFY2(code != kLoopNeverEnded,
            qPrintable("no quit after Update; the window says " + u->label_UpVersion->text()));
        QCOMPARE(code, 0);
        const QString folder = dir->path() + "/UpdateProgram";
        QCOMPARE(launches, 1);
        QCOMPARE(launched, (QStringList { "/bin/bash", scriptPath(), folder + "/a-image.dmg" }));
        QCOMPARE(readFile(scriptPath()), update_core::installScriptText());
        QCOMPARE(QFileInfo(scriptPath()).permissions() & 0x7777,
            QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadUser
                | QFile::WriteUser | QFile::ExeUser);
        QCOMPARE(readFile(folder + "/QUORVEL Vesk V1.17.zip"), zip);
        QCOMPARE(readFile(folder + "/a-image.dmg"), QByteArray(200000, 'a'));
        QCOMPARE(readFile(folder + "/notes/readme.txt"), QByteArray("read me"));
        QCOMPARE(readFile(folder + "/.hidden"), QByteArray("H"));
        QVERIFY(progressShown > 0);
        QCOMPARE(u->progressBar->value(), u->progressBar->maximum());
        QVERIFY(u->label_Progress->text().endsWith("/" + formatSize(zip.size())));
        QCOMPARE(u->label_UpVersion->text(), QString("Do not close the software"));
        QVERIFY(u->pushButton_Update->isHidden());
        // The ordinary quit ran: the settings file holds what only it writes.
        QVERIFY(readFile(settingsFilePath()).contains("\"High_sampling_rate_mute\": true"));
        QCOMPARE(server.requests().value(1).path, kArchivePath);
    }

    // Every failure after "Update" ends in the failed-connection look, with no
    // script, nothing outside UpdateProgram, and the program running on.
    void downloadFailures_data()
    {
        QTest::addColumn<QString>("kind");
        for (const char* kind :
            { "404", "cut mid-way", "silent", "escaping entry", "escaping after a folder",
                "absolute entry", "symbolic link", "no disk image", "not a zip",
                "not a web address", "download folder blocked", "script not started" })
            QTest::newRow(kind) << kind;
    }
    void downloadFailures()
    {
        QFETCH(QString, kind);
        const QString outside = dir->path() + "/evil.dmg";
        QList<ZipItem> items { { ZipItem::File, "a.dmg", "A" } };
        if (kind == "escaping entry")
            items << ZipItem { ZipItem::File, "../evil.dmg", "E" };
        else if (kind == "escaping after a folder")
            items << ZipItem { ZipItem::File, "sub/../../evil.dmg", "E" };
        else if (kind == "absolute entry")
            items << ZipItem { ZipItem::File, outside, "E" };
        else if (kind == "symbolic link")
            items << ZipItem { ZipItem::Link, "link", dir->path().toUtf8() }
                  << ZipItem { ZipItem::File, "link/evil.dmg", "E" };
        else if (kind == "no disk image")
            items = { { ZipItem::File, "readme.txt", "R" } };
        const QByteArray zip = makeZip(items);

        UpdateServer server;
        QVERIFY(server.start());
        Route r = whole(kind == "not a zip" ? QByteArray("<html>not a zip</html>") : zip);
        if (kind == "404")
            r.status = 404;
        else if (kind == "cut mid-way") {
            r.mode = Route::Mode::Cut;
            r.cutAfter = zip.size() / 2;
        } else if (kind == "silent") {
            r.mode = Route::Mode::Silent;
            update_net::setTimeoutsForTesting(0, 1000);
        }
        server.route(kArchivePath, r);
        if (kind == "download folder blocked") {
            QFile blocker(dir->path() + "/UpdateProgram");
            QVERIFY(blocker.open(QIODevice::WriteOnly));
        }
        launchSucceeds = kind != "script not started";
        setInstallToolOnPath(true);

        const QString url = kind == "not a web address" ? QString("file://" + outside)
                                                        : server.baseUrl() + kArchivePath;
        auto s = offering(url);
        CHECKUPDATA* u = s->updateWindow();
        QTest::mouseClick(u->pushButton_Update, Qt::LeftButton);
        if (kind == "silent") {
            // An offer while the download runs does not bring the button back.
            u->updateUI("V1.16", "V1.17", QString(), QString());
            QVERIFY(u->pushButton_Update->isHidden());
        }
        if (kind == "script not started") {
            QTRY_COMPARE_WITH_TIMEOUT(u->label_UpVersion->text(), kFailed, kWaitMs);
            QCOMPARE(launches, 1);
            QVERIFY(testsupport::warningLog().filter("Failed to start installation script:").size()
                > 0);
            return;
        }
        expectFailedDownload(u);
        if (QTest::currentTestFailed())
            return;
        QVERIFY(!QFileInfo::exists(outside));
        const bool fetched = kind != "not a web address" && kind != "download folder blocked";
        QCOMPARE(server.requestCount(), fetched ? 1 : 0);
        if (kind.contains("entry") || kind == "symbolic link")
            QVERIFY(!QFileInfo::exists(dir->path() + "/UpdateProgram/a.dmg")); // refused whole
        // A late progress report does not bring the running look back.
        u->onDownloadProgress(10, 20);
        QVERIFY(u->progressBar->isHidden());
        // The next check that offers the update lets the user try again.
        u->updateUI("V1.16", "V1.17", QString(), QString());
        QVERIFY(u->pushButton_Update->isVisible());
        QVERIFY(u->pushButton_Update->isEnabled());
    }

    // Without the script's disk-image tool nothing could be installed, and
    // the window says so in a line of its own, not as a failed connection.
    // Found missing when Update is pressed: the line shows at once, one
    // stderr line says why, and nothing is fetched or written, however often
    // the user tries. Gone by the end of a download: the script is not
    // started and the program does not quit.
    void installToolMissing_data()
    {
        QTest::addColumn<bool>("missingAtPress");
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("line");
        const QString english = "No automatic install on this system, update manually";
        const QString chinese = QString::fromUtf8("本系统不支持自动更新，请手动更新");
        QTest::newRow("missing when Update is pressed") << true << 1 << english;
        QTest::newRow("missing when Update is pressed, Chinese") << true << 0 << chinese;
        QTest::newRow("gone before the download ends") << false << 1 << english;
        QTest::newRow("gone before the download ends, Chinese") << false << 0 << chinese;
    }
    void installToolMissing()
    {
        QFETCH(bool, missingAtPress);
        QFETCH(int, language);
        QFETCH(QString, line);
        sysSetValue.Language = language;
        const QByteArray zip = makeZip({ { ZipItem::File, "a.dmg", "A" } });
        UpdateServer server;
        QVERIFY(server.start());
        server.route(kArchivePath, whole(zip));
        auto s = offering(server.baseUrl() + kArchivePath);
        CHECKUPDATA* u = s->updateWindow();
        const QString folder = dir->path() + "/UpdateProgram";
        const qsizetype warningsBefore = testsupport::warningLog().size();
        auto reasons = [warningsBefore] {
            return testsupport::warningLog()
                .mid(warningsBefore)
                .filter(update_core::kInstallScriptTool);
        };

        if (missingAtPress) {
            setInstallToolOnPath(false);
            for (int attempt = 1; attempt <= 2; ++attempt) {
                QTest::mouseClick(u->pushButton_Update, Qt::LeftButton);
                QCOMPARE(u->label_UpVersion->text(), line);
                expectFailedDownload(u, line);
                QCOMPARE(reasons().size(), attempt);
                QVERIFY2(reasons().last().contains("not downloaded"), qPrintable(reasons().last()));
                // The next offer lets the user try again.
                u->updateUI("V1.16", "V1.17", QString(), QString());
            }
            QVERIFY(u->findChildren<QNetworkReply*>().isEmpty());
            QCOMPARE(server.requestCount(), 0);
            QVERIFY(!QFileInfo::exists(folder));
            return;
        }

        // Leaves the event loop with 5 once the failed line is up; a quit of
        // the program before it ends the loop with 0.
        QTimer watch;
        connect(&watch, &QTimer::timeout, u, [u, line] {
            if (u->label_UpVersion->text() == line)
                QCoreApplication::exit(5);
        });
        setInstallToolOnPath(true);
        const int code = runUntilQuit([&] {
            watch.start(10);
            QTest::mouseClick(u->pushButton_Update, Qt::LeftButton);
            setInstallToolOnPath(false);
        });
        watch.stop();
        QVERIFY2(code != kLoopNeverEnded,
            qPrintable(
                "no failed line after Update; the window says " + u->label_UpVersion->text()));
        QCOMPARE(code, 5);
        expectFailedDownload(u, line);
        QCOMPARE(server.requestCount(), 1);
        QCOMPARE(readFile(folder + "/a.dmg"), QByteArray("A"));
        QCOMPARE(reasons().size(), 1);
        QVERIFY2(reasons().first().contains("not installed"), qPrintable(reasons().first()));
    }

    // Files left in UpdateProgram go before a download; hidden ones and
    // folders stay; the archive is saved under its decoded name.
    void leftoversBeforeDownload()
    {
        const QString folder = dir->path() + "/UpdateProgram";
        QVERIFY(QDir().mkpath(folder + "/sub"));
        for (const QString& f : { folder + "/old.bin", folder + "/.keep", folder + "/sub/x" }) {
            QFile file(f);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        setInstallToolOnPath(true);
        UpdateServer server;
        QVERIFY(server.start());
        server.route(kArchivePath, whole(makeZip({ { ZipItem::File, "readme.txt", "R" } })));
        auto s = offering(server.baseUrl() + kArchivePath);
        s->updateWindow()->slotUpdateNow(server.baseUrl() + kArchivePath);
        QCOMPARE(s->updateWindow()->archivePath(), folder + "/QUORVEL Vesk V1.17.zip");
        QVERIFY(!QFileInfo::exists(folder + "/old.bin"));
        QVERIFY(QFileInfo::exists(folder + "/.keep"));
        QVERIFY(QFileInfo::exists(folder + "/sub/x"));
        QTRY_COMPARE_WITH_TIMEOUT(s->updateWindow()->label_UpVersion->text(), kFailed, kWaitMs);
        QVERIFY(QFileInfo::exists(folder + "/QUORVEL Vesk V1.17.zip"));
        QVERIFY(QFileInfo::exists(folder + "/readme.txt"));
    }

    // Hidden files and folders survive the clean-up before a download, so the
    // unpacking meets them under the archive's names: a link to a folder
    // outside is never entered (the archive is refused and nothing is made
    // there), and a file or a link to a file is replaced, never written
    // through.
    void unpackOverLeftovers_data()
    {
        QTest::addColumn<QString>("leftover"); // what UpdateProgram/.left is
        QTest::addColumn<QString>("entry"); // the archive's entry over it
        QTest::addColumn<bool>("unpacks");
        QTest::newRow("link to a folder outside") << "folder link"
                                                  << ".left/evil.dmg" << false;
        QTest::newRow("link to a folder outside, entry below it") << "folder link"
                                                                  << ".left/sub/evil.dmg" << false;
        QTest::newRow("link to a file outside") << "file link"
                                                << ".left" << true;
        QTest::newRow("file left there, a second name of a file outside") << "hard link"
                                                                          << ".left" << true;
    }
    void unpackOverLeftovers()
    {
        QFETCH(QString, leftover);
        QFETCH(QString, entry);
        QFETCH(bool, unpacks);
        const QString outside = dir->path() + "/outside";
        const QString folder = dir->path() + "/UpdateProgram";
        QVERIFY(QDir().mkpath(outside));
        QVERIFY(QDir().mkpath(folder));
        QFile victim(outside + "/victim.txt");
        QVERIFY(victim.open(QIODevice::WriteOnly));
        victim.write("the user's own");
        victim.close();
        const QString left = folder + "/.left";
        if (leftover == "folder link")
            QVERIFY(QFile::link(outside, left));
        else if (leftover == "file link")
            QVERIFY(QFile::link(victim.fileName(), left));
        else
            QCOMPARE(::link(QFile::encodeName(victim.fileName()), QFile::encodeName(left)), 0);
        const QMap<QString, QByteArray> before = tree(outside);

        const QString archive = folder + "/update.zip";
        QFile zip(archive);
        QVERIFY(zip.open(QIODevice::WriteOnly));
        zip.write(makeZip({ { ZipItem::File, "a.dmg", "A" }, { ZipItem::File, entry, "NEW" } }));
        zip.close();

        QCOMPARE(zipReader(archive, folder), unpacks);
        QCOMPARE(tree(outside), before);
        if (unpacks) {
            QVERIFY(!QFileInfo(left).isSymLink());
            QCOMPARE(readFile(left), QByteArray("NEW"));
            QCOMPARE(readFile(folder + "/a.dmg"), QByteArray("A"));
        }
    }

    void scriptIsWrittenAfresh()
    {
        // A link left under the script's name is replaced, not written through.
        const QString victim = dir->path() + "/victim";
        QFile v(victim);
        QVERIFY(v.open(QIODevice::WriteOnly));
        v.write("keep");
        v.close();
        QVERIFY(QFile::link(victim, scriptPath()));
        CHECKUPDATA u;
        const QString image = dir->path() + "/with \"quote\" $(x).dmg";
        QVERIFY(u.installOnMacOS(image));
        QCOMPARE(readFile(victim), QByteArray("keep"));
        QVERIFY(!QFileInfo(scriptPath()).isSymLink());
        QCOMPARE(readFile(scriptPath()), update_core::installScriptText());
        QCOMPARE(launched, (QStringList { "/bin/bash", scriptPath(), image }));

        launchSucceeds = false;
        QVERIFY(!u.installOnMacOS(image));
    }

    // The real script on this system: it logs its start and stops where the
    // disk-image tool is missing, with status 1. So that tool is the one the
    // program looks for before it starts the script.
    void realScriptStopsWithoutDiskImageTool()
    {
        if (!QStandardPaths::findExecutable(update_core::kInstallScriptTool).isEmpty())
            QSKIP("this system has the disk-image tool");
        const QFileInfo log("/tmp/testlog.txt");
        if (log.exists() && !log.isWritable())
            QSKIP("/tmp/testlog.txt belongs to someone else");
        const QString script = dir->path() + "/update.sh";
        QFile f(script);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(update_core::installScriptText());
        f.close();
        QProcess bash;
        bash.start("/bin/bash", { script, dir->path() + "/QUORVEL Vesk.dmg" });
        QVERIFY(bash.waitForFinished(kWaitMs));
        QCOMPARE(bash.exitStatus(), QProcess::NormalExit);
        QCOMPARE(bash.exitCode(), 1);
        QVERIFY2(bash.readAllStandardError().contains(update_core::kInstallScriptTool),
            "stopped elsewhere");
    }
};

int main(int argc, char* argv[])
{
    MacApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    TestUpdate test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "test_update.moc"
