#include "io/curve_entries.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

#include "store/curve_list.h"

namespace {

bool nameTaken(const QString& name, const QString& type, const BD_data* entries, int count)
{
    for (int i = 0; i < count; ++i)
        if (entries[i].type == type && entries[i].name == name)
            return true;
    return false;
}

bool pathTaken(const QString& path, const BD_data* entries, int count)
{
    const QString clean = QDir::cleanPath(path);
    for (int i = 0; i < count; ++i)
        if (QDir::cleanPath(entries[i].path) == clean)
            return true;
    return false;
}

QString safeFileName(const QString& name)
{
    QString out;
    for (QChar c : name) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.category() == QChar::Other_Control)
            continue;
        out.append(c);
    }
    qsizetype dots = 0;
    while (dots < out.size() && out[dots] == QLatin1Char('.'))
        ++dots;
    out.remove(0, dots);
    return out.isEmpty() ? QStringLiteral("curve") : out;
}

} // namespace

QString uniqueCurveName(const QString& name, const QString& type, const BD_data* entries, int count)
{
    QString unique = name;
    while (nameTaken(unique, type, entries, count))
        unique += QStringLiteral("(1)");
    return unique;
}

QString curveFilePath(const QString& folder, const QString& name, const BD_data* entries, int count)
{
    QString base = safeFileName(name);
    QString path = folder + QLatin1Char('/') + base + QStringLiteral(".csv");
    while (pathTaken(path, entries, count)) {
        base += QStringLiteral("(1)");
        path = folder + QLatin1Char('/') + base + QStringLiteral(".csv");
    }
    // The name is the user's text: make sure nothing in it leads elsewhere,
    // nor a link already lying in the folder.
    const QFileInfo file(path);
    if (QDir::cleanPath(file.absolutePath())
            != QDir::cleanPath(QFileInfo(folder).absoluteFilePath())
        || file.isSymLink())
        return {};
    return path;
}

int selectionAfterRemoval(int selected, int removed)
{
    if (selected == removed)
        return -1;
    return selected > removed ? selected - 1 : selected;
}

std::optional<int> highlightAfterKey(int key, int current, int count, int page)
{
    int step = 0;
    switch (key) {
    case Qt::Key_Up:
        step = -1;
        break;
    case Qt::Key_Down:
        step = 1;
        break;
    case Qt::Key_PageUp:
        step = -std::max(page, 1);
        break;
    case Qt::Key_PageDown:
        step = std::max(page, 1);
        break;
    case Qt::Key_Home:
        step = -count;
        break;
    case Qt::Key_End:
        step = count;
        break;
    default:
        return std::nullopt;
    }
    if (count <= 0)
        return -1;
    if (current < 0 || current >= count) {
        if (key == Qt::Key_Home || key == Qt::Key_End)
            return key == Qt::Key_Home ? 0 : count - 1;
        return step > 0 ? 0 : count - 1;
    }
    return std::clamp(current + step, 0, count - 1);
}
