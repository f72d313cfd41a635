#pragma once

// Where a window should be after one of its edges or corners was dragged.

#include <QPoint>
#include <QRect>

// `start` with the edges named by `side` moved outwards (a negative amount
// moves them in): x -1 the left edge and 1 the right one by dx, y -1 the top
// edge and 1 the bottom one by dy; 0 leaves that axis alone.
inline QRect edgesMovedOut(const QRect& start, QPoint side, int dx, int dy)
{
    QRect r = start;
    if (side.x() < 0)
        r.setLeft(start.left() - dx);
    if (side.x() > 0)
        r.setRight(start.right() + dx);
    if (side.y() < 0)
        r.setTop(start.top() - dy);
    if (side.y() > 0)
        r.setBottom(start.bottom() + dy);
    return r;
}
