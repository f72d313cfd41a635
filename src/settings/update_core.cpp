#include "settings/update_core.h"

#include <QDir>
#include <QIODevice>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

#include <cmath>
#include <limits>
#include <optional>

namespace update_core {

Manifest readManifest(const QString& text)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(text.toUtf8(), &error);
    Manifest m;
    if (error.error != QJsonParseError::NoError) {
        m.kind = ManifestKind::InvalidJson;
        return m;
    }
    if (!doc.isObject()) {
        m.kind = ManifestKind::NotObject;
        return m;
    }
    m.kind = ManifestKind::Object;
    const QJsonObject o = doc.object().value(QStringLiteral("Vesk_Series")).toObject();
    Vesk_Series& s = m.series;
    // toString() gives the empty text for a missing or non-string member.
    s.LatestVerison = o.value(QStringLiteral("LatestVerison")).toString();
    s.Url = o.value(QStringLiteral("Url")).toString();
    s.MacLatestVerison = o.value(QStringLiteral("MacLatestVerison")).toString();
    s.MacUrl = o.value(QStringLiteral("MacUrl")).toString();
    s.UpdateTime = o.value(QStringLiteral("UpdateTime")).toString();
    s.ReleaseNoteCh = o.value(QStringLiteral("ReleaseNoteCh")).toString();
    s.ReleaseNoteEn = o.value(QStringLiteral("ReleaseNoteEn")).toString();
    s.HardwareFirmwareVersion = o.value(QStringLiteral("HardwareFirmwareVersion")).toString();
    s.FirmwareUrl = o.value(QStringLiteral("FirmwareUrl")).toString();
    s.HardwareFirmwareVersion_Talvik_Pre
        = o.value(QStringLiteral("HardwareFirmwareVersion_Talvik_Pre")).toString();
    s.FirmwareUrl_Talvik_Pre = o.value(QStringLiteral("FirmwareUrl_Talvik_Pre")).toString();
    return m;
}

namespace {

// "V1.16" -> {1, 16}; nothing when the text is not a version of that form.
std::optional<QList<qulonglong>> versionParts(const QString& text)
{
    QStringView rest(text);
    if (rest.startsWith(u'v') || rest.startsWith(u'V'))
        rest = rest.mid(1);
    if (rest.isEmpty())
        return std::nullopt;
    QList<qulonglong> parts;
    for (QStringView part : rest.split(u'.')) {
        // Up to 18 digits always fit; a longer run is not a version number.
        if (part.isEmpty() || part.size() > 18)
            return std::nullopt;
        for (QChar c : part)
            if (c < u'0' || c > u'9')
                return std::nullopt;
        parts << part.toULongLong();
    }
    return parts;
}

} // namespace

int compareVersions(const QString& a, const QString& b)
{
    const auto pa = versionParts(a);
    const auto pb = versionParts(b);
    if (!pa || !pb)
        return a.compare(b, Qt::CaseSensitive);
    const qsizetype n = qMax(pa->size(), pb->size());
    for (qsizetype i = 0; i < n; ++i) {
        const qulonglong x = pa->value(i, 0);
        const qulonglong y = pb->value(i, 0);
        if (x != y)
            return x < y ? -1 : 1;
    }
    return 0;
}

bool offersUpdate(const Vesk_Series& series, const QString& runningVersion)
{
    return !series.MacUrl.isEmpty() && compareVersions(series.MacLatestVerison, runningVersion) > 0;
}

double averageSpeed(qint64 bytesReceived, qint64 elapsedMs)
{
    return double(bytesReceived) * 1000.0 / double(qMax<qint64>(elapsedMs, 1));
}

BarProgress barProgress(qint64 bytesReceived, qint64 bytesTotal)
{
    if (bytesTotal <= 0)
        return { 0, 0 };
    int shift = 0;
    while ((bytesTotal >> shift) > std::numeric_limits<int>::max())
        ++shift;
    const qint64 received = qBound<qint64>(0, bytesReceived, bytesTotal);
    return { int(received >> shift), int(bytesTotal >> shift) };
}

bool isFetchableUrl(const QUrl& url)
{
    const QString scheme = url.scheme();
    return url.isValid() && !url.host().isEmpty()
        && (scheme == QLatin1String("http") || scheme == QLatin1String("https"));
}

QString archiveNameFromUrl(const QUrl& url)
{
    const QString name = url.fileName(QUrl::FullyDecoded);
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..")
        || name.contains(QChar(0)))
        return QStringLiteral("update.zip");
    return name;
}

namespace {

quint32 le(const QByteArray& b, qsizetype at, int bytes)
{
    quint32 v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | quint8(b.at(at + i));
    return v;
}

} // namespace

std::optional<QStringList> zipEntryNames(QIODevice& archive)
{
    constexpr qsizetype kEndRecord = 22;
    constexpr qsizetype kMaxComment = 65535;
    constexpr qsizetype kDirHeader = 46;
    const qint64 size = archive.size();
    if (size < kEndRecord)
        return std::nullopt;
    const qint64 tailStart = qMax<qint64>(0, size - kEndRecord - kMaxComment);
    if (!archive.seek(tailStart))
        return std::nullopt;
    const QByteArray tail = archive.read(size - tailStart);
    qsizetype end = -1;
    for (qsizetype i = tail.size() - kEndRecord; i >= 0; --i) {
        if (le(tail, i, 4) == 0x06054b50u) {
            end = i;
            break;
        }
    }
    if (end < 0)
        return std::nullopt;
    const quint32 count = le(tail, end + 10, 2);
    const quint32 dirSize = le(tail, end + 12, 4);
    const quint32 dirOffset = le(tail, end + 16, 4);
    if (qint64(dirOffset) + dirSize > tailStart + end || !archive.seek(dirOffset))
        return std::nullopt;
    const QByteArray dir = archive.read(dirSize);
    if (dir.size() != qsizetype(dirSize))
        return std::nullopt;
    QStringList names;
    qsizetype at = 0;
    for (quint32 n = 0; n < count; ++n) {
        if (at + kDirHeader > dir.size() || le(dir, at, 4) != 0x02014b50u)
            return std::nullopt;
        const qsizetype nameLength = le(dir, at + 28, 2);
        const qsizetype next
            = at + kDirHeader + nameLength + le(dir, at + 30, 2) + le(dir, at + 32, 2);
        if (next > dir.size())
            return std::nullopt;
        // Decoded as Qt's zip reader decodes them, so each name finds its data.
        names << QString::fromLocal8Bit(dir.mid(at + kDirHeader, nameLength));
        at = next;
    }
    return names;
}

ExtractionPlan planExtraction(
    const QList<ZipEntry>& entries, const QString& targetDir, const QString& archivePath)
{
    ExtractionPlan plan;
    const QString root = QDir::cleanPath(targetDir);
    const QString inside = root + QLatin1Char('/');
    const QString archive = archivePath.isEmpty() ? QString() : QDir::cleanPath(archivePath);
    auto refuse = [&plan](const QString& why) {
        plan.ok = false;
        plan.refusal = why;
        plan.steps.clear();
        return plan;
    };
    for (const ZipEntry& e : entries) {
        if (e.kind == ZipEntry::Kind::SymLink)
            return refuse(QStringLiteral("symbolic link: ") + e.name);
        if (e.name.isEmpty() || e.name.contains(QChar(0)))
            return refuse(QStringLiteral("entry without a usable name"));
        if (e.name.startsWith(QLatin1Char('/')))
            return refuse(QStringLiteral("absolute entry: ") + e.name);
        const QString path = QDir::cleanPath(inside + e.name);
        const bool isDir = e.kind == ZipEntry::Kind::Dir;
        if (path == root && isDir)
            continue; // "./" and the like name the folder itself
        if (!path.startsWith(inside))
            return refuse(QStringLiteral("entry outside the folder: ") + e.name);
        if (!archive.isEmpty() && path == archive)
            return refuse(QStringLiteral("entry over the archive: ") + e.name);
        plan.steps << ExtractionStep { e.name, path, isDir };
    }
    plan.ok = true;
    return plan;
}

QByteArray installScriptText()
{
    // Kept exactly as installed copies have always received it, indentation
    // and the four trailing spaces included.
    static const char kScript[] = R"SCRIPT(
        #!/bin/bash
        set -e

        LOG="/tmp/testlog.txt"
        echo "" > "$LOG"
        echo "========== Script Started at $(date) ==========" >> "$LOG"
        echo "Args: $@" >> "$LOG"

        DMG_PATH="$1"
        echo "Mounting DMG: $DMG_PATH" >> "$LOG"

        VOLUME_NAME=$(hdiutil attach "$DMG_PATH" -nobrowse | grep "/Volumes/" | awk -F'/Volumes/' '{print $2}' | xargs)
        if [ -z "$VOLUME_NAME" ]; then
            echo "Error: Failed to mount DMG" >> "$LOG"
            exit 1
        fi

        MOUNT_PATH="/Volumes/$VOLUME_NAME"
        echo "DMG mounted at: $MOUNT_PATH" >> "$LOG"

        APP_PATH=$(find "$MOUNT_PATH" -maxdepth 2 -type d -name "*.app" 2>/dev/null | head -n 1)
        if [ -z "$APP_PATH" ]; then
            echo "Error: No .app found in DMG" >> "$LOG"
            hdiutil detach "$MOUNT_PATH" -quiet
            exit 1
        fi

        DEST_DIR="/Applications"
        APP_NAME=$(basename "${APP_PATH}")
        DEST_PATH="${DEST_DIR}/${APP_NAME}"
        echo "Installing to: $DEST_PATH" >> "$LOG"

        if [ -d "$DEST_PATH" ]; then
            echo "Removing existing installation..." >> "$LOG"
            rm -rf "$DEST_PATH"
        fi

        echo "Copying new version..." >> "$LOG"
        ditto "$APP_PATH" "$DEST_PATH"

        echo "Cleaning up..." >> "$LOG"
        hdiutil detach "$MOUNT_PATH" -quiet

        echo "Installation completed successfully" >> "$LOG"
        open "$DEST_PATH"
        DATE=$(date)
        echo "Script finished at ${DATE}" >> "$LOG"
        exit 0
    )SCRIPT";
    return QByteArray(kScript, sizeof(kScript) - 1);
}

} // namespace update_core

namespace {

// "%1 %2": the value divided by the largest step it reaches, two decimals.
QString scaled(double value, const char* const units[4])
{
    constexpr double kStep[] = { 1.0, 1024.0, 1048576.0, 1073741824.0 };
    int i = 0;
    while (i < 3 && value >= kStep[i + 1])
        ++i;
    return QStringLiteral("%1 %2").arg(value / kStep[i], 0, 'f', 2).arg(QLatin1String(units[i]));
}

} // namespace

QString speed(double bytesPerSecond)
{
    static const char* const kUnits[4] = { "Bytes/s", "KB/s", "MB/s", "GB/s" };
    if (!(bytesPerSecond > 0) || !std::isfinite(bytesPerSecond))
        return QStringLiteral("0.00 Bytes/s");
    return scaled(bytesPerSecond, kUnits);
}

QString formatSize(qint64 bytes)
{
    static const char* const kUnits[4] = { "Bytes", "KB", "MB", "GB" };
    if (bytes <= 0)
        return QStringLiteral("0.00 ");
    return scaled(double(bytes), kUnits);
}
