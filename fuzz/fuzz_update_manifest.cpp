// The update manifest: the input is the server's answer. It reads as
// invalid, not an object, or an object whose members are texts; versions
// compare as an order; only web addresses are fetched; and the archive name
// taken from the address always names a file inside the download folder.

#include <QDir>
#include <QJsonDocument>
#include <QUrl>

#include "support.h"
#include "settings/update_core.h"

namespace {

int sign(int v) { return (v > 0) - (v < 0); }

void checkVersions(const QString& a, const QString& b)
{
    FUZZ_CHECK(update_core::compareVersions(a, a) == 0);
    FUZZ_CHECK(
        sign(update_core::compareVersions(a, b)) == -sign(update_core::compareVersions(b, a)));
}

void checkAddress(const QString& address)
{
    const QUrl url(address);
    if (update_core::isFetchableUrl(url))
        FUZZ_CHECK(url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https"));
    const QString name = update_core::archiveNameFromUrl(url);
    FUZZ_CHECK(!name.isEmpty() && !name.contains(QLatin1Char('/')) && !name.contains(QChar(0)));
    const QString folder = QStringLiteral("/app/UpdateProgram");
    const QString archive = QDir::cleanPath(folder + QLatin1Char('/') + name);
    FUZZ_CHECK(archive.startsWith(folder + QLatin1Char('/')) && archive.size() > folder.size() + 1);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(fuzz::bytes(data, size));
    const update_core::Manifest m = update_core::readManifest(text);

    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(text.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError)
        FUZZ_CHECK(m.kind == update_core::ManifestKind::InvalidJson);
    else if (!doc.isObject())
        FUZZ_CHECK(m.kind == update_core::ManifestKind::NotObject);
    else
        FUZZ_CHECK(m.kind == update_core::ManifestKind::Object);

    const Vesk_Series& s = m.series;
    const QString running = QStringLiteral("V1.16");
    checkVersions(s.MacLatestVerison, running);
    checkVersions(s.LatestVerison, s.MacLatestVerison);
    checkVersions(s.HardwareFirmwareVersion, s.HardwareFirmwareVersion_Talvik_Pre);
    if (update_core::offersUpdate(s, running))
        FUZZ_CHECK(
            !s.MacUrl.isEmpty() && update_core::compareVersions(s.MacLatestVerison, running) > 0);
    for (const QString& address : { s.Url, s.MacUrl, s.FirmwareUrl, s.FirmwareUrl_Talvik_Pre })
        checkAddress(address);
    return 0;
}
