#include "widgets/globalfont.h"

#include <QDebug>
#include <QFontDatabase>

GlobalFont gFont;

bool GlobalFont::loadFont(const QString& path)
{
    const int id = QFontDatabase::addApplicationFont(path);
    if (id == -1)
        return false;
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    if (families.isEmpty())
        return false;
    m_family = families.first();
    for (QFont* f : { &m_font, &m_savedFont }) {
        f->setFamily(m_family);
        f->setPixelSize(20);
    }
    return true;
}

void GlobalFont::substituteMissing(const QStringList& families) const
{
    if (m_family.isEmpty())
        return;
    for (const QString& family : families)
        if (!QFontDatabase::hasFamily(family))
            QFont::insertSubstitution(family, m_family);
}

void GlobalFont::showSupported() const
{
    for (const QString& family : QFontDatabase::families()) {
        for (const QString& style : QFontDatabase::styles(family)) {
            QStringList sizes;
            for (int size : QFontDatabase::smoothSizes(family, style))
                sizes << QString::number(size);
            qDebug().noquote() << family + "\t" + style + "\t" + sizes.join(",");
        }
    }
}

void GlobalFont::showFamily() const { qDebug() << "global font family: " << m_family; }
