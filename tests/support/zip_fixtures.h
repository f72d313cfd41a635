#pragma once

// Zip archives built in memory for the update tests, hostile names and links
// included (Qt's zip writer stores names exactly as given).

#include <QBuffer>
#include <QByteArray>
#include <QList>
#include <QString>
#include <QtGui/private/qzipwriter_p.h>

struct ZipItem
{
    enum Kind { File, Dir, Link };
    Kind kind = File;
    QString name;
    QByteArray data; // a link's target for Link
};

inline QByteArray makeZip(const QList<ZipItem>& items)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QZipWriter writer(&buffer);
    for (const ZipItem& item : items) {
        switch (item.kind) {
        case ZipItem::File:
            writer.addFile(item.name, item.data);
            break;
        case ZipItem::Dir:
            writer.addDirectory(item.name);
            break;
        case ZipItem::Link:
            writer.addSymLink(item.name, QString::fromUtf8(item.data));
            break;
        }
    }
    writer.close();
    return buffer.data();
}
