#pragma once

// The update window: the result of a check, and the download, unpacking and
// hand-over to the install script when the user presses "Update".

#include <QElapsedTimer>
#include <QFile>
#include <QString>
#include <QUrl>
#include <QWidget>

class QCloseEvent;
class QLabel;
class QNetworkAccessManager;
class QNetworkReply;
class QProgressBar;
class QPushButton;
class QShowEvent;

class CHECKUPDATA : public QWidget
{
    Q_OBJECT

public:
    explicit CHECKUPDATA(QWidget* parent = nullptr);

    // Result states; each is given the running version.
    void ConnectFailedUI(QString current);
    void NoupdateUI(QString current);
    // After "Update" where this system cannot run the install script.
    void installUnavailableUI(QString current);
    void updateUI(QString current, QString latest, QString noteCh, QString noteEn);

    void setUrl(QString url);
    QString url() const { return m_url; }

    // Writes the install script and starts it on `dmgPath`; false (logged)
    // when any step fails.
    bool installOnMacOS(const QString& dmgPath);

    // The download folder and the archive in it, for the last download.
    QString downloadDir() const { return m_downloadDir; }
    QString archivePath() const { return m_archivePath; }

    QLabel* label_Head1 = nullptr;
    QLabel* label_Version = nullptr;
    QLabel* label_UpVersion = nullptr;
    QPushButton* pushButton_Update = nullptr;
    QProgressBar* progressBar = nullptr;
    QLabel* label_Progress = nullptr;

signals:
    void replyFinished_over(int statusCode);

public slots:
    void on_pushButton_Update_clicked();
    void slotUpdateNow(QString m_strUrl);
    void readyRead();
    void onDownloadProgress(qint64 bytesReceived, qint64 bytesTotal);
    void replyFinished_zip(QNetworkReply* reply);
    void onReplyFinished(int statusCode);

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void setTitles();
    void setStatusLines(const QString& current, const QString& second);
    void setUpdateEnabled(bool enabled);
    // Any failure after "Update", no progress shown: the connection-failed
    // line, or where this system cannot install at all, a line saying so.
    void downloadFailed(bool installable = true);

    QString m_url;
    QString m_current; // the running version last shown
    int m_showings = 0;

    QNetworkAccessManager* m_NetManagerDown = nullptr;
    QNetworkReply* m_reply = nullptr;
    QUrl m_qUrl;
    QString m_strFileName;
    QElapsedTimer m_timer;
    QFile m_file;
    QString m_downloadDir;
    QString m_archivePath;
    qint64 m_written = 0;
    bool m_writeFailed = false;
    bool m_downloadOk = false; // every byte arrived and was written
    bool m_failed = false; // the failure look is up
};
