#include "store/file_io.h"

#include <QDebug>
#include <QFile>
#include <QSaveFile>
#include <QSet>
#include <QThread>

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
        return false;  // the temporary is removed with `file`
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

}  // namespace

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

void keepBadCopyBeforeNextWrite(const QString& path)
{
    pendingBadCopies().insert(path);
}

}  // namespace store
