#include "store/file_io.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>
#include <QThread>

#include <algorithm>

namespace store {
namespace {

constexpr unsigned long kRetryPauseMs = 10;

QSet<QString>& pendingBadCopies()
{
    static QSet<QString> paths;
    return paths;
}

bool writeOnce(const QString& path, const QByteArray& data)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // commit() does not look at errors of its own final flush, so flush
    // first: a short write (full disk) must not replace the old file.
    if (file.write(data) != data.size() || !file.flush()) {
        file.cancelWriting();
        return false; // the temporary is removed with `file`
    }
    return file.commit();
}

void saveBadCopy(const QString& path)
{
    if (!pendingBadCopies().remove(path) || !QFile::exists(path))
        return;
    QFile old(path);
    if (!old.open(QIODevice::ReadOnly)) {
        qDebug() << "cannot keep a copy of the damaged file" << path;
        return;
    }
    const QByteArray bytes = old.readAll();
    old.close();
    if (writeOnce(path + QStringLiteral(".bad"), bytes))
        qDebug() << "damaged file kept as" << path + QStringLiteral(".bad");
    else
        qDebug() << "cannot keep a copy of the damaged file" << path;
}

} // namespace

bool readFile(const QString& path, QByteArray* data, int attempts)
{
    for (int i = 0; i < attempts; ++i) {
        if (i > 0)
            QThread::msleep(kRetryPauseMs);
        QFile file(path);
        if (file.open(QIODevice::ReadOnly | QIODevice::Text)) {
            *data = file.readAll();
            return true;
        }
    }
    return false;
}

bool writeFile(const QString& path, const QByteArray& data, int attempts)
{
    saveBadCopy(path);
    for (int i = 0; i < attempts; ++i) {
        if (i > 0)
            QThread::msleep(kRetryPauseMs);
        if (writeOnce(path, data))
            return true;
    }
    return false;
}

void keepBadCopyBeforeNextWrite(const QString& path) { pendingBadCopies().insert(path); }

void removeLeftoverTemporaries(const QString& path)
{
    // The temporaries' names: the file's name, a dot and six random letters
    // or digits.
    constexpr int kRandomChars = 6;
    const QFileInfo info(path);
    const QDir dir = info.dir();
    const QString prefix = info.fileName() + QLatin1Char('.');
    const QStringList candidates
        = dir.entryList({ prefix + QString(kRandomChars, QLatin1Char('?')) },
            QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : candidates) {
        const QStringView suffix = QStringView(name).mid(prefix.size());
        const bool random = std::all_of(suffix.begin(), suffix.end(),
            [](QChar c) { return c.unicode() < 128 && c.isLetterOrNumber(); });
        if (random && QFile::remove(dir.filePath(name)))
            qDebug() << "removed an unfinished write" << dir.filePath(name);
    }
}

} // namespace store
