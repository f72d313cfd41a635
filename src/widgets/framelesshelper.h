#pragma once
// Window handling for a window that draws its own title area: drag by the title
// band, resize from the edges with matching cursors, maximise and restore (by
// double-click on the title band, by a button, or by dragging the title to the
// top of the screen), and restore again when a maximised window is dragged down.
// The helper never changes a window's flags; it puts back the flags it found
// when it lets the window go.

#include <QHash>
#include <QObject>
#include <QPoint>
#include <QRect>

class QEvent;
class QHoverEvent;
class QMouseEvent;
class QRubberBand;
class QTimer;
class QWidget;

// Hit test of a point against a window rectangle.
class CursorPosCalculator
{
public:
    CursorPosCalculator() { reset(); }
    void reset();
    void recalculate(const QPoint& globalMousePos, const QRect& frameRect);

    bool onEdges : 1;
    bool onLeftEdge : 1;
    bool onRightEdge : 1;
    bool onTopEdge : 1;
    bool onBottomEdge : 1;
    bool onTopLeftEdge : 1;
    bool onBottomLeftEdge : 1;
    bool onTopRightEdge : 1;
    bool onBottomRightEdge : 1;

    static int m_nBorderWidth; // edge band inside the rectangle
    static int m_nOuterBorderWidth; // edge band outside it
    static int m_nTitleHeight; // title band, from the window's top
};

class WidgetData;

struct FramelessHelperPrivate
{
    enum Flag : quint8 { Movable = 1, Resizable = 2, RubberBandOnResize = 4, RubberBandOnMove = 8 };
    QHash<QWidget*, WidgetData*> m_widgets;
    quint8 m_flags = Movable | Resizable;

    bool has(Flag f) const { return m_flags & f; }
    void set(Flag f, bool on) { m_flags = on ? (m_flags | f) : (m_flags & ~f); }
};

// The state and event logic of one handled window.
class WidgetData : public QObject
{
    Q_OBJECT

public:
    WidgetData(FramelessHelperPrivate* helper, QWidget* widget, QObject* parent = nullptr);
    ~WidgetData() override;

    QWidget* widget() const { return m_pWidget; }
    void handleWidgetEvent(QEvent* event);
    void updateRubberBandStatus();
    void setMax(bool b);
    bool isMax() const { return m_bMax; }

signals:
    void sigMax(bool bMax);

private:
    void handleMousePressEvent(QMouseEvent* event);
    void handleMouseReleaseEvent(QMouseEvent* event);
    void handleMouseDblClickEvent(QMouseEvent* event);
    void handleMouseMoveEvent(QMouseEvent* event);
    void handleLeaveEvent(QEvent* event);
    void handleHoverMoveEvent(QHoverEvent* event);
    void updateCursorShape(const QPoint& gMousePos);
    void resizeWidget(const QPoint& gMousePos);
    void moveWidget(const QPoint& gMousePos);
    void deferredUpdateCursorShape();
    void unsetWindowCursor();

    FramelessHelperPrivate* m_pHelper;
    QRubberBand* m_pRubberBand = nullptr;
    QWidget* m_pWidget;
    QPoint m_ptDragPos;
    CursorPosCalculator m_pressedMousePos;
    CursorPosCalculator m_moveMousePos;
    bool m_bLeftButtonPressed = false;
    QPoint m_ptPressGlobal;
    QRect m_rcPressFrame; // the frame rectangle at the last left press
    QTimer* m_pCursorTimer;
    bool m_bCursorShapeChanged = false;
    bool m_bLeftButtonTitlePressed = false;
    bool m_bSnapMax = false;
    bool m_bMax = false;
    QRect m_rcNormal;
    Qt::WindowFlags m_windowFlags;
};

class FramelessHelper : public QObject
{
    Q_OBJECT

public:
    explicit FramelessHelper(QObject* parent = nullptr);
    ~FramelessHelper() override;

    void activateOn(QWidget* topLevelWidget);
    void removeFrom(QWidget* topLevelWidget);
    void setWidgetMovable(bool movable);
    void setWidgetResizable(bool resizable);
    void setRubberBandOnMove(bool movable);
    void setRubberBandOnResize(bool resizable);
    void setBorderWidth(uint width);
    void setTitleHeight(uint height);
    bool widgetMovable() const;
    bool widgetResizable() const;
    bool rubberBandOnMove() const;
    bool rubberBandOnResisze() const;
    uint borderWidth() const;
    uint titleHeight() const;
    void setMax(QWidget* widget, bool b);
    bool isMax(QWidget* widget) const;

signals:
    void sigMax(bool bMax);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    FramelessHelperPrivate* d;
};
