#include "io/text_files.h"

#include <QDebug>

#include "store/file_io.h"

std::optional<QString> readTextFile(const QString& path)
{
    QByteArray bytes;
    if (path.isEmpty() || !store::readFile(path, &bytes))
        return std::nullopt;
    QString text = QString::fromUtf8(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return text;
}

QList<QStringView> textLines(const QString& text)
{
    QList<QStringView> lines = QStringView(text).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

bool writeExportFile(const QString& path, const QByteArray& bytes)
{
    if (path.isEmpty() || !store::writeFile(path, bytes)) {
        qDebug() << "FILE_ERR" << path;
        return false;
    }
    return true;
}
