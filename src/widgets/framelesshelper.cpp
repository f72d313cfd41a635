#include "widgets/framelesshelper.h"

#include <QCursor>
#include <QGuiApplication>
#include <QHoverEvent>
#include <QMouseEvent>
#include <QRubberBand>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <cmath>

int CursorPosCalculator::m_nBorderWidth = 5;
int CursorPosCalculator::m_nOuterBorderWidth = 5;
int CursorPosCalculator::m_nTitleHeight = 30;

namespace {

// Event positions are rounded, halves away from zero, before use.
QPoint rounded(const QPointF& p)
{
    return { static_cast<int>(std::lround(p.x())), static_cast<int>(std::lround(p.y())) };
}

// What a window manager's frame adds around the window on each side; none
// without a window manager. Hit tests and resizing work on the frame
// rectangle, while setGeometry takes the window's own rectangle: every frame
// rectangle must lose these margins before it is given to the window.
QMargins frameMargins(const QWidget* w)
{
    const QRect frame = w->frameGeometry();
    const QRect inner = w->geometry();
    return { inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
        frame.bottom() - inner.bottom() };
}

} // namespace

// --- CursorPosCalculator ---

void CursorPosCalculator::reset()
{
    onEdges = false;
    onLeftEdge = false;
    onRightEdge = false;
    onTopEdge = false;
    onBottomEdge = false;
    onTopLeftEdge = false;
    onBottomLeftEdge = false;
    onTopRightEdge = false;
    onBottomRightEdge = false;
}

void CursorPosCalculator::recalculate(const QPoint& p, const QRect& r)
{
    const int b = m_nBorderWidth;
    const int o = m_nOuterBorderWidth;
    // Each band is tested on its own axis only.
    onLeftEdge = p.x() >= r.left() - o && p.x() <= r.left() + b;
    onRightEdge = p.x() >= r.right() + 1 - b && p.x() <= r.right() + 1 + o;
    onTopEdge = p.y() >= r.top() - o && p.y() <= r.top() + b;
    onBottomEdge = p.y() >= r.bottom() + 1 - b && p.y() <= r.bottom() + 1 + o;
    onTopLeftEdge = onTopEdge && onLeftEdge;
    onBottomLeftEdge = onBottomEdge && onLeftEdge;
    onTopRightEdge = onTopEdge && onRightEdge;
    onBottomRightEdge = onBottomEdge && onRightEdge;
    onEdges = onLeftEdge || onRightEdge || onTopEdge || onBottomEdge;
}

// --- WidgetData ---

WidgetData::WidgetData(FramelessHelperPrivate* helper, QWidget* widget, QObject* parent)
    : QObject(parent)
    , m_pHelper(helper)
    , m_pWidget(widget)
{
    m_rcNormal = widget->geometry();
    m_windowFlags = widget->windowFlags();
    widget->setMouseTracking(true);
    widget->setAttribute(Qt::WA_Hover, true);
    updateRubberBandStatus();
    m_pCursorTimer = new QTimer(this);
    m_pCursorTimer->setSingleShot(true);
    connect(m_pCursorTimer, &QTimer::timeout, this, &WidgetData::deferredUpdateCursorShape);
}

WidgetData::~WidgetData()
{
    m_pWidget->setMouseTracking(false);
    m_pWidget->setAttribute(Qt::WA_Hover, false);
    // Setting flags re-creates (and hides) a window, so only when they differ.
    if (m_pWidget->windowFlags() != m_windowFlags)
        m_pWidget->setWindowFlags(m_windowFlags);
    delete m_pRubberBand;
}

void WidgetData::updateRubberBandStatus()
{
    const bool wanted = m_pHelper->has(FramelessHelperPrivate::RubberBandOnResize)
        || m_pHelper->has(FramelessHelperPrivate::RubberBandOnMove);
    if (wanted && !m_pRubberBand) {
        m_pRubberBand = new QRubberBand(QRubberBand::Rectangle);
    } else if (!wanted && m_pRubberBand) {
        delete m_pRubberBand;
        m_pRubberBand = nullptr;
    }
}

void WidgetData::handleWidgetEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        handleMousePressEvent(static_cast<QMouseEvent*>(event));
        break;
    case QEvent::MouseButtonRelease:
        handleMouseReleaseEvent(static_cast<QMouseEvent*>(event));
        break;
    case QEvent::MouseButtonDblClick:
        handleMouseDblClickEvent(static_cast<QMouseEvent*>(event));
        break;
    case QEvent::MouseMove:
        handleMouseMoveEvent(static_cast<QMouseEvent*>(event));
        break;
    case QEvent::Leave:
        handleLeaveEvent(event);
        break;
    case QEvent::HoverMove:
        handleHoverMoveEvent(static_cast<QHoverEvent*>(event));
        break;
    default:
        break;
    }
}

void WidgetData::handleMousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        m_bLeftButtonPressed = false;
        return;
    }
    m_bLeftButtonPressed = true;
    m_bLeftButtonTitlePressed
        = rounded(event->position()).y() < CursorPosCalculator::m_nTitleHeight;
    m_ptPressGlobal = rounded(event->globalPosition());
    const QRect frame = m_pWidget->frameGeometry();
    m_rcPressFrame = frame;
    m_pressedMousePos.recalculate(m_ptPressGlobal, frame);
    m_ptDragPos = m_ptPressGlobal - frame.topLeft();

    if (m_pRubberBand) {
        const bool onEdges = m_pressedMousePos.onEdges;
        if ((onEdges && m_pHelper->has(FramelessHelperPrivate::RubberBandOnResize))
            || (!onEdges && m_pHelper->has(FramelessHelperPrivate::RubberBandOnMove))) {
            m_pRubberBand->setGeometry(frame);
            m_pRubberBand->show();
        }
    }
}

void WidgetData::handleMouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_bLeftButtonPressed = false;
    m_bLeftButtonTitlePressed = false;
    m_pressedMousePos.reset();
    if (m_pRubberBand && m_pRubberBand->isVisible()) {
        m_pRubberBand->hide();
        // The band outlines the frame; the window takes its own rectangle.
        m_pWidget->setGeometry(m_pRubberBand->geometry().marginsRemoved(frameMargins(m_pWidget)));
    }
    if (m_bSnapMax) {
        setMax(!m_bMax);
        m_bSnapMax = false;
        unsetWindowCursor();
    }
}

void WidgetData::handleMouseDblClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton
        && rounded(event->position()).y() < CursorPosCalculator::m_nTitleHeight)
        setMax(!m_bMax);
}

void WidgetData::handleMouseMoveEvent(QMouseEvent* event)
{
    // One time of the previous move for all handled windows; -1 until the first.
    static qint64 previousMove = -1;

    const QPoint g = rounded(event->globalPosition());
    const qint64 t = static_cast<qint64>(event->timestamp());

    // A move with the left button up ends any drag, even when the release went
    // to a child that had grabbed the mouse; such a move never moves, resizes or
    // restores the window.
    if (!(event->buttons() & Qt::LeftButton)) {
        m_bLeftButtonPressed = false;
        m_bSnapMax = false;
    }

    if (m_bMax) {
        if (!m_bLeftButtonPressed || g.y() - m_ptPressGlobal.y() < 16)
            return;
        // Dragged down far enough: restore and carry on as a title drag.
        setMax(false);
        m_bLeftButtonPressed = true;
        m_pHelper->set(FramelessHelperPrivate::Movable, true);
        m_bLeftButtonTitlePressed = true;
        m_pressedMousePos.onEdges = false;
        m_ptDragPos = m_ptPressGlobal - m_pWidget->pos();
    }

    if (previousMove < 0)
        previousMove = t;

    // A drag whose moves pause for 500 ms or more skips one move.
    if (m_bLeftButtonPressed && t - previousMove <= 499) {
        if (m_pHelper->has(FramelessHelperPrivate::Resizable) && m_pressedMousePos.onEdges) {
            resizeWidget(g);
        } else if (m_pHelper->has(FramelessHelperPrivate::Movable) && m_bLeftButtonTitlePressed) {
            if (QScreen* screen = QGuiApplication::screenAt(g)) {
                if (g.y() > screen->geometry().top() + 5) {
                    m_bSnapMax = false;
                    moveWidget(g);
                    unsetWindowCursor();
                } else {
                    m_bSnapMax = true;
                }
            }
        }
    } else if (m_pHelper->has(FramelessHelperPrivate::Resizable)) {
        updateCursorShape(g);
    }
    previousMove = t;
}

void WidgetData::handleLeaveEvent(QEvent*)
{
    if (!m_bLeftButtonPressed)
        m_pWidget->unsetCursor();
}

void WidgetData::handleHoverMoveEvent(QHoverEvent* event)
{
    if (!m_bMax && m_pHelper->has(FramelessHelperPrivate::Resizable))
        updateCursorShape(m_pWidget->mapToGlobal(rounded(event->position())));
}

void WidgetData::updateCursorShape(const QPoint& gMousePos)
{
    if (m_pWidget->isFullScreen() || m_pWidget->isMaximized()) {
        if (m_bCursorShapeChanged)
            m_pWidget->unsetCursor();
        return;
    }
    m_moveMousePos.recalculate(gMousePos, m_pWidget->frameGeometry());
    Qt::CursorShape shape;
    if (m_moveMousePos.onTopLeftEdge || m_moveMousePos.onBottomRightEdge)
        shape = Qt::SizeFDiagCursor;
    else if (m_moveMousePos.onBottomLeftEdge || m_moveMousePos.onTopRightEdge)
        shape = Qt::SizeBDiagCursor;
    else if (m_moveMousePos.onLeftEdge || m_moveMousePos.onRightEdge)
        shape = Qt::SizeHorCursor;
    else if (m_moveMousePos.onTopEdge || m_moveMousePos.onBottomEdge)
        shape = Qt::SizeVerCursor;
    else {
        if (m_bCursorShapeChanged && !m_pCursorTimer->isActive())
            m_pCursorTimer->start(200);
        return;
    }
    m_pWidget->setCursor(shape);
    m_bCursorShapeChanged = true;
}

void WidgetData::deferredUpdateCursorShape() { unsetWindowCursor(); }

void WidgetData::unsetWindowCursor()
{
    m_pWidget->unsetCursor();
    m_bCursorShapeChanged = false;
}

void WidgetData::resizeWidget(const QPoint& g)
{
    const bool onBand = m_pRubberBand && m_pHelper->has(FramelessHelperPrivate::RubberBandOnResize);
    const QMargins margins = frameMargins(m_pWidget);
    const QRect orig = onBand ? m_pRubberBand->frameGeometry() : m_pWidget->frameGeometry();
    // The edges that were pressed follow the pointer's travel since the press,
    // so a press a few pixels inside the edge band does not make the edge jump
    // to the pointer.
    const QPoint travel = g - m_ptPressGlobal;
    const QRect start = m_rcPressFrame;
    bool left = false, right = false, top = false, bottom = false;
    const CursorPosCalculator& p = m_pressedMousePos;
    if (p.onTopLeftEdge)
        left = top = true;
    else if (p.onBottomLeftEdge)
        left = bottom = true;
    else if (p.onTopRightEdge)
        right = top = true;
    else if (p.onBottomRightEdge)
        right = bottom = true;
    else if (p.onLeftEdge)
        left = true;
    else if (p.onRightEdge)
        right = true;
    else if (p.onTopEdge)
        top = true;
    else if (p.onBottomEdge)
        bottom = true;
    QRect r = orig;
    if (left)
        r.setLeft(start.left() + travel.x());
    if (right)
        r.setRight(start.right() + travel.x());
    if (top)
        r.setTop(start.top() + travel.y());
    if (bottom)
        r.setBottom(start.bottom() + travel.y());
    if (r.left() > r.right() || r.top() > r.bottom())
        return;
    // Below the minimum, the edge that moved goes back to where it was. The
    // minimum is the window's own; the frame adds its margins to it.
    const QSize minimum = m_pWidget->minimumSize().grownBy(margins);
    if (r.width() < minimum.width()) {
        if (left)
            r.setLeft(orig.left());
        else
            r.setRight(orig.right());
    }
    if (r.height() < minimum.height()) {
        if (top)
            r.setTop(orig.top());
        else
            r.setBottom(orig.bottom());
    }
    if (onBand)
        m_pRubberBand->setGeometry(r);
    else
        m_pWidget->setGeometry(r.marginsRemoved(margins));
}

void WidgetData::moveWidget(const QPoint& g)
{
    if (m_pRubberBand && m_pHelper->has(FramelessHelperPrivate::RubberBandOnMove))
        m_pRubberBand->move(g - m_ptDragPos);
    else
        m_pWidget->move(g - m_ptDragPos);
}

void WidgetData::setMax(bool b)
{
    if (b == m_bMax)
        return;
    if (b) {
        m_rcNormal = m_pWidget->geometry();
        QScreen* screen = QGuiApplication::screenAt(QCursor::pos());
        if (!screen)
            screen = QGuiApplication::primaryScreen();
        // The frame, title bar included, fills the available area.
        m_pWidget->setGeometry(screen->availableGeometry().marginsRemoved(frameMargins(m_pWidget)));
    } else {
        if (m_rcNormal.topLeft() == QPoint(0, 0)) {
            const QSize s = QGuiApplication::primaryScreen()->size();
            m_rcNormal.moveTo(
                (s.width() - m_rcNormal.width()) / 2, (s.height() - m_rcNormal.height()) / 2);
        }
        m_pWidget->setGeometry(m_rcNormal);
    }
    m_bMax = b;
    emit sigMax(b);
}

// --- FramelessHelper ---

FramelessHelper::FramelessHelper(QObject* parent)
    : QObject(parent)
    , d(new FramelessHelperPrivate)
{
}

FramelessHelper::~FramelessHelper()
{
    qDeleteAll(d->m_widgets);
    delete d;
}

void FramelessHelper::activateOn(QWidget* topLevelWidget)
{
    if (!topLevelWidget || d->m_widgets.contains(topLevelWidget))
        return;
    auto* data = new WidgetData(d, topLevelWidget);
    d->m_widgets.insert(topLevelWidget, data);
    connect(data, &WidgetData::sigMax, this, &FramelessHelper::sigMax);
    topLevelWidget->installEventFilter(this);
}

void FramelessHelper::removeFrom(QWidget* topLevelWidget)
{
    WidgetData* data = d->m_widgets.take(topLevelWidget);
    if (!data)
        return;
    topLevelWidget->removeEventFilter(this);
    delete data;
}

void FramelessHelper::setWidgetMovable(bool movable)
{
    d->set(FramelessHelperPrivate::Movable, movable);
}

void FramelessHelper::setWidgetResizable(bool resizable)
{
    d->set(FramelessHelperPrivate::Resizable, resizable);
}

void FramelessHelper::setRubberBandOnMove(bool movable)
{
    d->set(FramelessHelperPrivate::RubberBandOnMove, movable);
    for (WidgetData* data : std::as_const(d->m_widgets))
        data->updateRubberBandStatus();
}

void FramelessHelper::setRubberBandOnResize(bool resizable)
{
    d->set(FramelessHelperPrivate::RubberBandOnResize, resizable);
    for (WidgetData* data : std::as_const(d->m_widgets))
        data->updateRubberBandStatus();
}

void FramelessHelper::setBorderWidth(uint width)
{
    if (width > 0)
        CursorPosCalculator::m_nBorderWidth = static_cast<int>(width);
}

void FramelessHelper::setTitleHeight(uint height)
{
    if (height > 0)
        CursorPosCalculator::m_nTitleHeight = static_cast<int>(height);
}

bool FramelessHelper::widgetMovable() const { return d->has(FramelessHelperPrivate::Movable); }

bool FramelessHelper::widgetResizable() const { return d->has(FramelessHelperPrivate::Resizable); }

bool FramelessHelper::rubberBandOnMove() const
{
    return d->has(FramelessHelperPrivate::RubberBandOnMove);
}

bool FramelessHelper::rubberBandOnResisze() const
{
    return d->has(FramelessHelperPrivate::RubberBandOnResize);
}

uint FramelessHelper::borderWidth() const
{
    return static_cast<uint>(CursorPosCalculator::m_nBorderWidth);
}

uint FramelessHelper::titleHeight() const
{
    return static_cast<uint>(CursorPosCalculator::m_nTitleHeight);
}

void FramelessHelper::setMax(QWidget* widget, bool b)
{
    if (WidgetData* data = d->m_widgets.value(widget))
        data->setMax(b);
}

bool FramelessHelper::isMax(QWidget* widget) const
{
    WidgetData* data = d->m_widgets.value(widget);
    return data && data->isMax();
}

bool FramelessHelper::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Leave:
    case QEvent::HoverMove:
        if (WidgetData* data = d->m_widgets.value(qobject_cast<QWidget*>(watched))) {
            data->handleWidgetEvent(event);
            return true;
        }
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
