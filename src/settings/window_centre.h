#pragma once

#include <QPoint>
#include <QRect>
#include <QTimer>
#include <QWidget>

// Top-left corner that puts a window of geometry `own` centred on `parent`;
// halves are cut towards zero.
inline QPoint centredOn(const QRect& parent, const QRect& own)
{
    return { (parent.left() + parent.right()) / 2 - (own.right() - own.left()) / 2,
        (parent.top() + parent.bottom()) / 2 - (own.bottom() - own.top()) / 2 };
}

// From a show handler: once the showing is done, centre `window` on its parent.
inline void centreOnParentLater(QWidget* window)
{
    if (!window->parentWidget())
        return;
    QTimer::singleShot(0, window, [window] {
        if (QWidget* parent = window->parentWidget())
            window->move(centredOn(parent->geometry(), window->geometry()));
    });
}
