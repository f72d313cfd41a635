#pragma once

// The update check and installation without widgets or network: reading the
// manifest, comparing versions, the progress texts, the archive's name, where
// each archive entry may be written, and the install script.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <QtGlobal>

#include <optional>

class QIODevice;

// The platform entries of the manifest's "Vesk_Series" object. A member that
// is missing or not a string reads as the empty text.
struct Vesk_Series
{
    QString LatestVerison;
    QString Url;
    QString MacLatestVerison;
    QString MacUrl;
    QString UpdateTime;
    QString ReleaseNoteCh;
    QString ReleaseNoteEn;
    QString HardwareFirmwareVersion;
    QString FirmwareUrl;
    QString HardwareFirmwareVersion_Talvik_Pre;
    QString FirmwareUrl_Talvik_Pre;
};

namespace update_core {

enum class ManifestKind {
    InvalidJson, // the text does not parse
    NotObject, // valid JSON whose top level is not an object
    Object, // read; `series` holds the members found
};

struct Manifest
{
    ManifestKind kind = ManifestKind::InvalidJson;
    Vesk_Series series;
};

Manifest readManifest(const QString& text);

// Negative, zero or positive as `a` is older than, equal to or newer than `b`.
// Versions are read as one optional leading "v"/"V" and dot-separated
// integers, missing parts counting 0 ("V2.10" is newer than "V2.9"); when
// either side does not read that way the two texts are compared code unit by
// code unit.
int compareVersions(const QString& a, const QString& b);

// An update is offered for a newer platform version that names its archive.
bool offersUpdate(const Vesk_Series& series, const QString& runningVersion);

// Bytes per second received since the download started.
double averageSpeed(qint64 bytesReceived, qint64 elapsedMs);

// The progress bar takes ints: totals past its range are scaled down, an
// unknown total (0 or less) gives the busy bar (maximum 0).
struct BarProgress
{
    int value = 0;
    int maximum = 0;
};
BarProgress barProgress(qint64 bytesReceived, qint64 bytesTotal);

// Only these are fetched; anything else is refused before a request is made.
bool isFetchableUrl(const QUrl& url);

// The URL's file name, fully decoded; a name that could not be a file of its
// own in the download folder becomes "update.zip".
QString archiveNameFromUrl(const QUrl& url);

// The entry names of a zip archive exactly as its central directory stores
// them; nothing when the directory cannot be read. (Qt's zip reader trims
// leading dots and slashes from the names it reports, which would hide the
// very names that must be refused.)
std::optional<QStringList> zipEntryNames(QIODevice& archive);

// One entry of a zip archive as its directory lists it.
struct ZipEntry
{
    enum class Kind { File, Dir, SymLink };
    QString name;
    Kind kind = Kind::File;
};

struct ExtractionStep
{
    QString entryName;
    QString path; // absolute, cleaned, inside the target folder
    bool isDir = false;
};

// Where every entry goes, or a refusal of the whole archive: an absolute name,
// a symbolic link, a name that cleans to a path outside the target folder (or
// onto the folder itself for a file), or onto the archive being read.
struct ExtractionPlan
{
    bool ok = false;
    QString refusal; // why, when not ok
    QList<ExtractionStep> steps;
};
ExtractionPlan planExtraction(const QList<ZipEntry>& entries, const QString& targetDir,
    const QString& archivePath = QString());

// The install script, byte for byte. It takes the disk image as its first
// argument; no path is ever written into the text.
QByteArray installScriptText();

// The first disk-image tool the install script calls. Where it is not on PATH
// the script would stop there, after the program had quit, installing nothing.
inline constexpr char kInstallScriptTool[] = "hdiutil";

} // namespace update_core

// "1.50 KB/s" and the like: two decimals and a unit.
QString speed(double bytesPerSecond);
// "1.50 KB", "78.00 MB"; 0 or less reads "0.00 " (no unit).
QString formatSize(qint64 bytes);
