#pragma once

// Where the update check and download go, and how their requests are made.
// The maker's server is the default; QV_UPDATE_BASE_URL points the check at
// another server (a test's on 127.0.0.1), "off" stops the automatic check,
// and QV_UPDATE_CA_FILE adds that server's CA to the trusted ones.

#include <QNetworkRequest>
#include <QSslConfiguration>
#include <QString>
#include <QUrl>

namespace update_net {

inline constexpr char kDefaultBaseUrl[] = "https://download.quorvel.com";
inline constexpr char kManifestPath[] = "/um/VeskSoftware.json";
inline constexpr char kUserAgent[] = "RT-Thread ART";

QString baseUrl();
// True when QV_UPDATE_BASE_URL is "off": the automatic check sends nothing.
bool checkDisabled();
QUrl manifestUrl();

// The system's trusted CAs plus the one of QV_UPDATE_CA_FILE, if set.
// Certificate errors are never ignored anywhere.
QSslConfiguration tlsConfiguration();

// GET of the manifest with the agent header.
QNetworkRequest manifestRequest();
// GET of the update archive: no extra headers; aborted by Qt after the idle
// timeout without data.
QNetworkRequest downloadRequest(const QUrl& url);

// The whole manifest exchange must end within this (15 s).
int manifestTimeoutMs();
// A download with no data for this long fails (30 s).
int downloadIdleTimeoutMs();
// Tests shorten them so a silent server does not cost 15 s; 0 restores.
void setTimeoutsForTesting(int manifestMs, int downloadIdleMs);

} // namespace update_net
