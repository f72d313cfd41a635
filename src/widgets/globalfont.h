#pragma once
// The one font of the application. Widgets that need the same family at another
// size borrow it: save(), setPixelSize(n), take font(), restore().

#include <QFont>
#include <QString>
#include <QStringList>

class GlobalFont
{
public:
    // Registers a font file; on success both fonts take its first family at 20 px.
    bool loadFont(const QString& path);

    QFont font() const { return m_font; }
    QString family() const { return m_family; }
    void save() { m_savedFont = m_font; }
    void restore() { m_font = m_savedFont; }
    void setPixelSize(int size) { m_font.setPixelSize(size); }
    void setPointSize(int size) { m_font.setPointSize(size); }

    // Each of these families that this machine lacks is drawn in the loaded
    // font instead of whatever the system would fall back to.
    void substituteMissing(const QStringList& families) const;

    // Diagnostics for the debug log.
    void showSupported() const;
    void showFamily() const;

private:
    QFont m_savedFont;
    QFont m_font;
    QString m_family;
};

extern GlobalFont gFont;
