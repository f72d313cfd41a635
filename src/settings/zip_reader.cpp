#include "settings/zip_reader.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtGui/private/qzipreader_p.h>

#include "settings/update_core.h"

namespace {

using update_core::ZipEntry;

ZipEntry::Kind entryKind(const QZipReader::FileInfo& info)
{
    if (info.isSymLink)
        return ZipEntry::Kind::SymLink;
    return info.isDir ? ZipEntry::Kind::Dir : ZipEntry::Kind::File;
}

// A folder already on disk may itself be a link; the file goes in only when
// its real folder is still inside the target.
bool realFolderInside(const QString& folder, const QString& realRoot)
{
    const QString real = QFileInfo(folder).canonicalFilePath();
    return !real.isEmpty() && (real == realRoot || real.startsWith(realRoot + QLatin1Char('/')));
}

// Makes `folder` (cleaned, under `root`) one level at a time, each level
// checked to be really inside before anything is made in it: mkpath would
// follow a link left in the folder and make the rest of the path outside.
bool makeFolderInside(const QString& folder, const QString& root, const QString& realRoot)
{
    QString at = root;
    for (const QString& part :
        folder.mid(root.size()).split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        at += QLatin1Char('/') + part;
        const QFileInfo info(at);
        if (!info.exists() && !info.isSymLink() && !QDir().mkdir(at))
            return false;
        if (!realFolderInside(at, realRoot))
            return false;
    }
    return true;
}

bool writeEntry(const QString& path, const QByteArray& data, QFile::Permissions permissions)
{
    // A file or link left there is replaced, never written through.
    if (QFileInfo(path).isSymLink() || QFileInfo::exists(path))
        QFile::remove(path);
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        qDebug() << "解压写入失败" << path << out.errorString();
        return false;
    }
    const bool written = out.write(data) == data.size();
    out.close();
    if (!written || out.error() != QFileDevice::NoError) {
        qDebug() << "解压写入失败" << path << out.errorString();
        return false;
    }
    if (permissions)
        out.setPermissions(permissions | QFile::ReadOwner | QFile::WriteOwner);
    return true;
}

} // namespace

bool zipReader(QString fileName, QString dirPath)
{
    if (!QDir().mkpath(dirPath))
        return false;
    const QString realRoot = QFileInfo(dirPath).canonicalFilePath();
    QFile archive(fileName);
    if (realRoot.isEmpty() || !archive.open(QIODevice::ReadOnly))
        return false;
    const std::optional<QStringList> names = update_core::zipEntryNames(archive);
    archive.seek(0); // Qt's reader starts where the device stands
    QZipReader reader(&archive);
    if (!names || !reader.isReadable() || reader.count() != names->size()) {
        qDebug() << "无法读取压缩包" << fileName;
        return false;
    }
    QList<ZipEntry> entries;
    for (int i = 0; i < reader.count(); ++i)
        entries << ZipEntry { names->at(i), entryKind(reader.entryInfoAt(i)) };
    const update_core::ExtractionPlan plan
        = update_core::planExtraction(entries, dirPath, fileName);
    if (!plan.ok) {
        qDebug() << "拒绝解压" << plan.refusal;
        return false;
    }
    const QString root = QDir::cleanPath(dirPath);
    for (int i = 0; i < plan.steps.size(); ++i) {
        const update_core::ExtractionStep& step = plan.steps.at(i);
        if (step.isDir) {
            if (!makeFolderInside(step.path, root, realRoot))
                return false;
            continue;
        }
        if (!makeFolderInside(QFileInfo(step.path).path(), root, realRoot))
            return false;
        const QZipReader::FileInfo info = reader.entryInfoAt(names->indexOf(step.entryName));
        const QByteArray data = reader.fileData(step.entryName);
        if (data.size() != info.size) {
            qDebug() << "压缩包数据不完整" << step.entryName;
            return false;
        }
        if (!writeEntry(step.path, data, info.permissions))
            return false;
    }
    return true;
}
