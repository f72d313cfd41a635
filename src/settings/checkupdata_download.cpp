// "Update": download the archive into UpdateProgram beside the executable,
// unpack it, hand the disk image to the install script and quit; where the
// script's disk-image tool is missing, say so at once and fetch nothing.

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QLabel>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QProgressBar>
#include <QPushButton>
#include <QStandardPaths>
#include <QTimer>

#include "settings/checkupdata.h"
#include "settings/process_launcher.h"
#include "settings/update_core.h"
#include "settings/update_net.h"
#include "settings/zip_reader.h"
#include "store/paths.h"
#include "store/settings.h"
#include "widgets/textfit.h"

namespace {

constexpr int kCompletionDelayMs = 100;
constexpr int kQuitDelayMs = 300;
// Data waiting for the window is bounded, so a late turn of the event loop
// never has megabytes to copy and write at once.
constexpr qint64 kReadBufferBytes = 64 * 1024;

// The Content-Length a reply announced for its body as it arrives here, or
// -1 when there is none or Qt decompressed the body.
qint64 announcedLength(QNetworkReply* reply)
{
    const QByteArray encoding = reply->rawHeader("Content-Encoding").trimmed().toLower();
    if (!encoding.isEmpty() && encoding != "identity")
        return -1;
    const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
    return length.isValid() ? length.toLongLong() : -1;
}

// Where the install script's disk-image tool is missing, the script would stop
// there after the program had quit, installing nothing. False then, with one
// line on stderr saying what was not done and why.
bool installToolFound(const QString& notDone)
{
    const QString tool = QLatin1String(update_core::kInstallScriptTool);
    if (!QStandardPaths::findExecutable(tool).isEmpty())
        return true;
    qWarning().noquote() << QStringLiteral(
        "Update %1: the install script needs %2, which is not on PATH")
                                .arg(notDone, tool);
    return false;
}

} // namespace

void CHECKUPDATA::on_pushButton_Update_clicked() { slotUpdateNow(m_url); }

void CHECKUPDATA::slotUpdateNow(QString m_strUrl)
{
    if (!m_NetManagerDown) {
        qDebug() << "m_NetManagerDown == NULL";
        m_NetManagerDown = new QNetworkAccessManager(this);
        m_NetManagerDown->setProxy(QNetworkProxy(QNetworkProxy::NoProxy));
        connect(this, &CHECKUPDATA::replyFinished_over, this, &CHECKUPDATA::onReplyFinished,
            Qt::QueuedConnection);
        connect(m_NetManagerDown, &QNetworkAccessManager::finished, this,
            &CHECKUPDATA::replyFinished_zip);
        qDebug() << "connect(m_NetManagerDown) ";
    }
    if (m_reply) {
        // A download still running is dropped; only the new one reports.
        QNetworkReply* old = m_reply;
        m_reply = nullptr;
        old->abort();
    }
    m_failed = false;
    m_downloadOk = false;
    m_writeFailed = false;
    m_written = 0;

    // Nothing is fetched that could not be installed.
    if (!installToolFound(QStringLiteral("not downloaded"))) {
        pushButton_Update->hide();
        downloadFailed(false);
        return;
    }

    m_qUrl = QUrl(m_strUrl);
    m_strFileName = update_core::archiveNameFromUrl(m_qUrl);
    qDebug() << "m_strFileName = " << m_strFileName;

    m_downloadDir = appDataDir() + "/" + "UpdateProgram";
    QDir dir(m_downloadDir);
    if (dir.exists()) {
        qDebug() << "已经创建  ";
        // Hidden files and sub-folders stay.
        for (const QString& name : dir.entryList(QDir::Files)) {
            qDebug() << "递归删除 " << name;
            dir.remove(name);
        }
    } else {
        qDebug() << " 未创建 ";
        QDir().mkpath(m_downloadDir);
    }

    m_archivePath = m_downloadDir + "/" + m_strFileName;
    if (QFileInfo(m_archivePath).isSymLink() || QFile::exists(m_archivePath))
        QFile::remove(m_archivePath);
    m_file.close();
    m_file.setFileName(m_archivePath);
    const bool opened = m_file.open(QIODevice::WriteOnly | QIODevice::NewOnly);
    if (!opened)
        qDebug() << "无法创建下载文件" << m_archivePath << m_file.errorString();

    if (sysSetValue.Language == 0) {
        label_Version->setText(QStringLiteral("更新中"));
        label_UpVersion->setText(QStringLiteral("请勿关闭软件"));
    } else {
        label_Version->setText(QStringLiteral("Downloading"));
        label_UpVersion->setText(QStringLiteral("Do not close the software"));
    }
    widenPlacedToText(this);
    pushButton_Update->hide();

    // Nothing is fetched that could not be kept, nor from anywhere but the web.
    if (!opened || !update_core::isFetchableUrl(m_qUrl)) {
        if (opened)
            qDebug() << "not an http or https address:" << m_strUrl;
        m_file.close();
        downloadFailed();
        return;
    }
    m_reply = m_NetManagerDown->get(update_net::downloadRequest(m_qUrl));
    m_reply->setReadBufferSize(kReadBufferBytes);
    connect(m_reply, &QNetworkReply::downloadProgress, this, &CHECKUPDATA::onDownloadProgress,
        Qt::QueuedConnection);
    connect(m_reply, &QNetworkReply::readyRead, this, &CHECKUPDATA::readyRead);
    m_timer.start();
}

void CHECKUPDATA::readyRead()
{
    if (!m_reply || m_writeFailed)
        return;
    const QByteArray data = m_reply->readAll();
    if (m_file.write(data) != data.size()) {
        qDebug() << "写入下载文件失败" << m_file.errorString();
        m_writeFailed = true;
        // Not from inside the reply's own signal.
        QTimer::singleShot(0, m_reply, &QNetworkReply::abort);
        return;
    }
    m_written += data.size();
}

void CHECKUPDATA::onDownloadProgress(qint64 bytesReceived, qint64 bytesTotal)
{
    if (m_failed)
        return; // a late report must not make a failed download look alive
    progressBar->show();
    label_Progress->show();
    const update_core::BarProgress bar = update_core::barProgress(bytesReceived, bytesTotal);
    progressBar->setRange(0, bar.maximum);
    progressBar->setValue(bar.value);
    const qint64 elapsed = m_timer.isValid() ? m_timer.elapsed() : 0;
    const double bytesPerSecond = update_core::averageSpeed(bytesReceived, elapsed);
    const QString speedText = speed(bytesPerSecond);
    label_Progress->setText(QStringLiteral("%1 - %2/%3")
                                .arg(speedText, formatSize(bytesReceived), formatSize(bytesTotal)));
    qDebug() << "dSpeed        = " << bytesPerSecond;
    qDebug() << "speed         = " << speedText;
}

void CHECKUPDATA::replyFinished_zip(QNetworkReply* reply)
{
    reply->deleteLater();
    if (reply != m_reply)
        return; // a download replaced by a newer one
    if (reply->bytesAvailable() > 0)
        readyRead();
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    const int statusCode = status.isValid() ? status.toInt() : 0;
    const bool noError = reply->error() == QNetworkReply::NoError;
    if (!noError)
        qDebug() << "Error:" << reply->errorString();
    const qint64 length = announcedLength(reply);
    m_file.close();
    // Unpack only a whole archive: no error, 200, every announced byte written.
    m_downloadOk = noError && statusCode == 200 && !m_writeFailed
        && m_file.error() == QFileDevice::NoError && (length < 0 || length == m_written);
    m_reply = nullptr;
    QTimer::singleShot(
        kCompletionDelayMs, this, [this, statusCode] { emit replyFinished_over(statusCode); });
}

void CHECKUPDATA::onReplyFinished(int statusCode)
{
    if (statusCode != 200 || !m_downloadOk) {
        downloadFailed();
        return;
    }
    qDebug() << "成功打开";
    if (!zipReader(m_archivePath, m_downloadDir)) {
        downloadFailed();
        return;
    }
    qDebug() << "dir path:" << m_downloadDir;
    const QStringList images
        = QDir(m_downloadDir)
              .entryList({ QStringLiteral("*.dmg") }, QDir::Files | QDir::Readable, QDir::Name);
    if (images.isEmpty()) {
        downloadFailed();
        return;
    }
    const QString image = m_downloadDir + "/" + images.first();
    qDebug() << "tagDir:" << image;
    // The tool was there when Update was pressed; gone since, the program
    // stays rather than quit for a script that installs nothing.
    if (!installToolFound(QStringLiteral("not installed"))) {
        downloadFailed(false);
        return;
    }
    if (!installOnMacOS(image)) {
        downloadFailed();
        return;
    }
    // The ordinary quit: the preset and settings are saved and the device
    // hears the goodbye frame before the script replaces the program.
    QTimer::singleShot(kQuitDelayMs, this, [] { QCoreApplication::exit(0); });
}

bool CHECKUPDATA::installOnMacOS(const QString& dmgPath)
{
    const QString scriptPath = QDir::tempPath() + "/update.sh";
    // A file or link left under that name is replaced, never written through.
    if (QFileInfo(scriptPath).isSymLink() || QFile::exists(scriptPath))
        QFile::remove(scriptPath);
    QFile script(scriptPath);
    const QByteArray text = update_core::installScriptText();
    if (!script.open(QIODevice::WriteOnly | QIODevice::NewOnly) || script.write(text) != text.size()
        || !script.flush()) {
        qWarning() << "Failed to create temporary installation script:" << script.errorString();
        script.remove();
        return false;
    }
    script.close();
    if (!script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner)) {
        qWarning() << "Failed to set script permissions";
        script.remove();
        return false;
    }
    // The paths travel as arguments only; the script text never holds one.
    QString error;
    if (!process_launcher::startDetached(
            QStringLiteral("/bin/bash"), { scriptPath, dmgPath }, &error)) {
        qWarning() << "Failed to start installation script:" << error;
        return false;
    }
    return true;
}

void CHECKUPDATA::downloadFailed(bool installable)
{
    m_failed = true;
    if (installable)
        ConnectFailedUI(m_current);
    else
        installUnavailableUI(m_current);
    progressBar->hide();
    label_Progress->hide();
}
