#include "widgets/customcontrols.h"

#include <QCursor>
#include <QDebug>
#include <QFrame>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>
#include <QToolButton>

#include <cmath>

void clearHoverWhenMenuCloses(QToolButton* button)
{
    QMenu* menu = button->menu();
    if (!menu)
        return;
    QObject::connect(menu, &QMenu::aboutToHide, button, [button] {
        // After the menu is gone: the toolkit may still re-enter the button then.
        QTimer::singleShot(0, button, [button] {
            if (button->underMouse()
                && !button->rect().contains(button->mapFromGlobal(QCursor::pos()))) {
                button->setAttribute(Qt::WA_UnderMouse, false);
                button->update();
            }
        });
    });
}

// --- CustomCheckBox ---

CustomCheckBox::CustomCheckBox(QWidget* parent)
    : QCheckBox(parent)
{
}

void CustomCheckBox::mouseMoveEvent(QMouseEvent* event)
{
    // Hover tracking only (the :hover look of a style sheet); never a drag.
    if (!(event->buttons() & Qt::LeftButton))
        QCheckBox::mouseMoveEvent(event);
    event->accept();
}

// --- CustomComboBox ---

CustomComboBox::CustomComboBox(QWidget* parent)
    : QComboBox(parent)
{
    installEventFilter(this);
}

void CustomComboBox::saveView(QListWidget* view)
{
    m_view = view;
    QTimer::singleShot(0, this, [this] {
        if (!m_view)
            return;
        QWidget* container = m_view->parentWidget();
        if (container)
            container->installEventFilter(this);
        qDebug() << "timeshot view address:" << m_view.data() << container;
    });
}

bool CustomComboBox::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        auto* me = static_cast<QMouseEvent*>(event);
        const QPoint pos(std::lround(me->position().x()), std::lround(me->position().y()));
        if (watched == this && lineEdit() && lineEdit()->geometry().contains(pos))
            qDebug() << "QLineEdit clicked";
        if (qobject_cast<QLineEdit*>(watched)) {
            if (me->button() == Qt::LeftButton)
                qDebug() << "Left mouse button clicked on QLineEdit";
            else if (me->button() == Qt::RightButton)
                qDebug() << "Right mouse button clicked on QLineEdit";
        }
    }
    if (event->type() == QEvent::ContextMenu)
        return true;
    if (event->type() == QEvent::MouseButtonPress && m_view && watched == m_view->parentWidget())
        return true;
    return QComboBox::eventFilter(watched, event);
}

void CustomComboBox::mouseMoveEvent(QMouseEvent* event)
{
    if (event->buttons() & Qt::LeftButton) {
        event->accept();
        return;
    }
    QWidget::mouseMoveEvent(event);
}

void CustomComboBox::mouseDoubleClickEvent(QMouseEvent* event) { event->accept(); }

// --- CustomLineEdit ---

CustomLineEdit::CustomLineEdit(QWidget* parent)
    : QLineEdit(parent)
{
}

void CustomLineEdit::contextMenuEvent(QContextMenuEvent*) { }

// --- CustomPushButton ---

CustomPushButton::CustomPushButton(QWidget* parent)
    : QPushButton(parent)
{
}

void CustomPushButton::mousePressEvent(QMouseEvent* event)
{
    QPushButton::mousePressEvent(event);
    event->ignore();
}

void CustomPushButton::mouseMoveEvent(QMouseEvent* event)
{
    // A button with a style sheet shows its :hover look only after its own move
    // handling has seen the pointer over it; the press tracking of a drag stays
    // out, so a drag that started here goes on as before.
    if (!(event->buttons() & Qt::LeftButton))
        QPushButton::mouseMoveEvent(event);
    event->accept();
}

void CustomPushButton::mouseDoubleClickEvent(QMouseEvent* event) { event->accept(); }

// --- CustomScrollArea ---

CustomScrollArea::CustomScrollArea(QWidget* parent)
    : QScrollArea(parent)
{
    installEventFilter(this);
}

bool CustomScrollArea::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ContextMenu)
        return true;
    return QScrollArea::eventFilter(watched, event);
}

void CustomScrollArea::mousePressEvent(QMouseEvent* event)
{
    // Other buttons stay as delivered (accepted) too.
    if (event->button() == Qt::LeftButton)
        event->accept();
}

void CustomScrollArea::mouseMoveEvent(QMouseEvent* event) { event->accept(); }

void CustomScrollArea::mouseDoubleClickEvent(QMouseEvent* event) { event->accept(); }

// --- CustomWidget ---

CustomWidget::CustomWidget(QWidget* parent)
    : QWidget(parent)
{
}

void CustomWidget::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    if (windowState() & Qt::WindowMaximized)
        showNormal();
    else
        showMaximized();
}

// --- vComboBox ---

vComboBox::vComboBox(QWidget* parent)
    : QComboBox(parent)
{
    installEventFilter(this);
}

void vComboBox::setPopupLocation(int x, int y)
{
    popupOffsetX = x;
    popupOffsetY = y;
}

void vComboBox::showPopup()
{
    emit sigPopup();
    QComboBox::showPopup();
    if (auto* frame = findChild<QFrame*>())
        frame->move(frame->x() + popupOffsetX, frame->y() + popupOffsetY);
}

void vComboBox::hidePopup()
{
    emit sigHidePopup();
    QComboBox::hidePopup();
}

bool vComboBox::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == this && event->type() == QEvent::Wheel)
        return true;
    return QComboBox::eventFilter(watched, event);
}

void vComboBox::mousePressEvent(QMouseEvent* event)
{
    // The base popup, not the override: no offset and no sigPopup.
    QComboBox::showPopup();
    event->ignore();
}

void vComboBox::mouseMoveEvent(QMouseEvent* event)
{
    if (event->buttons() & Qt::LeftButton) {
        event->accept();
        return;
    }
    QWidget::mouseMoveEvent(event);
}
