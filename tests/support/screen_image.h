#pragma once

// What a window put on the screen, for checks of what the user sees, and
// what drawing it afresh shows, to compare with.

#include <QCoreApplication>
#include <QGraphicsItem>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QImage>
#include <QList>
#include <QScreen>
#include <QWidget>

#include <utility>

namespace testsupport {

// The widget's part of the image its window last put on the screen.
inline QImage shownImage(const QWidget* widget)
{
    QWidget* window = widget->window();
    const QPoint at = widget->mapTo(window, QPoint(0, 0));
    return window->screen()
        ->grabWindow(window->winId(), at.x(), at.y(), widget->width(), widget->height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

// The view painted anew with every item of its scene drawn straight, none
// from a cached image (grab() alone would draw the cached images again).
inline QImage drawnAfresh(QGraphicsView* view)
{
    QList<std::pair<QGraphicsItem*, QGraphicsItem::CacheMode>> modes;
    for (QGraphicsItem* item : view->scene()->items()) {
        modes.append({ item, item->cacheMode() });
        item->setCacheMode(QGraphicsItem::NoCache);
    }
    const QImage fresh = view->grab().toImage().convertToFormat(QImage::Format_RGB32);
    for (const auto& [item, mode] : modes)
        item->setCacheMode(mode);
    return fresh;
}

// Delivers posted events until a turn finds none: a scene's updates, the
// paints they ask for and whatever those post in turn (each turn delivers
// only what was posted before it). After it, the screen shows the state the
// program is in, so one look at it is the whole check and a wrong picture
// fails at once instead of at a deadline. False when the events never run out.
inline bool deliverPostedEvents()
{
    struct Counter : QObject
    {
        long delivered = 0;
        bool eventFilter(QObject*, QEvent*) override
        {
            ++delivered;
            return false;
        }
    } counter;
    QCoreApplication::instance()->installEventFilter(&counter);
    long before = -1;
    for (int turn = 0; turn < 1000 && before != counter.delivered; ++turn) {
        before = counter.delivered;
        QCoreApplication::sendPostedEvents();
    }
    QCoreApplication::instance()->removeEventFilter(&counter);
    return before == counter.delivered;
}

} // namespace testsupport
