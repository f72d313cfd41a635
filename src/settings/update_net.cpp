#include "settings/update_net.h"

#include <QDebug>
#include <QSslCertificate>
#include <QtGlobal>

namespace update_net {

namespace {

constexpr int kManifestTimeoutMs = 15000;
constexpr int kDownloadIdleTimeoutMs = 30000;

int g_manifestTimeoutMs = 0; // 0: the real value
int g_downloadIdleTimeoutMs = 0;

} // namespace

QString baseUrl()
{
    const QString env = qEnvironmentVariable("QV_UPDATE_BASE_URL");
    return env.isEmpty() ? QString::fromLatin1(kDefaultBaseUrl) : env;
}

bool checkDisabled() { return qEnvironmentVariable("QV_UPDATE_BASE_URL") == QLatin1String("off"); }

QUrl manifestUrl()
{
    QString base = baseUrl();
    while (base.endsWith(QLatin1Char('/')))
        base.chop(1);
    return QUrl(base + QLatin1String(kManifestPath));
}

QSslConfiguration tlsConfiguration()
{
    QSslConfiguration conf = QSslConfiguration::defaultConfiguration();
    const QString caFile = qEnvironmentVariable("QV_UPDATE_CA_FILE");
    if (!caFile.isEmpty()) {
        const QList<QSslCertificate> certs = QSslCertificate::fromPath(caFile, QSsl::Pem);
        if (certs.isEmpty())
            qWarning() << "No CA certificate read from" << caFile;
        conf.addCaCertificates(certs);
    }
    return conf;
}

QNetworkRequest manifestRequest()
{
    QNetworkRequest request(manifestUrl());
    request.setHeader(QNetworkRequest::UserAgentHeader, QString::fromLatin1(kUserAgent));
    request.setSslConfiguration(tlsConfiguration());
    return request;
}

QNetworkRequest downloadRequest(const QUrl& url)
{
    QNetworkRequest request(url);
    request.setSslConfiguration(tlsConfiguration());
    request.setTransferTimeout(downloadIdleTimeoutMs());
    return request;
}

int manifestTimeoutMs()
{
    return g_manifestTimeoutMs > 0 ? g_manifestTimeoutMs : kManifestTimeoutMs;
}

int downloadIdleTimeoutMs()
{
    return g_downloadIdleTimeoutMs > 0 ? g_downloadIdleTimeoutMs : kDownloadIdleTimeoutMs;
}

void setTimeoutsForTesting(int manifestMs, int downloadIdleMs)
{
    g_manifestTimeoutMs = manifestMs;
    g_downloadIdleTimeoutMs = downloadIdleMs;
}

} // namespace update_net
