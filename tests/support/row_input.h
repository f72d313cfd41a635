#pragma once

// A user's hands on a shown main window: wheel notches, typed values, items
// chosen from a combo box's list and clicks, each on a widget first scrolled
// into view, and delivered the way the window system delivers them.

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <qpa/qwindowsysteminterface.h>

#include "app/mainwindow.h"
#include "window_internals.h"
#include "app/mainwindow_ui.h"
#include "widgets/customcontrols.h"

namespace rowinput {

inline void bringIntoView(MainWindow& w, QWidget* widget)
{
    QCoreApplication::processEvents(); // rows shown or hidden get their places first
    internals(w).ui->scrollArea->ensureWidgetVisible(widget);
    QCoreApplication::processEvents();
}

// One notch (120) of the mouse wheel over the widget, delivered through the window.
inline void wheel(MainWindow& w, QWidget* target, int delta = 120)
{
    bringIntoView(w, target);
    const QPoint at = target->mapTo(&w, target->rect().center());
    QWindowSystemInterface::handleWheelEvent(
        w.windowHandle(), at, w.mapToGlobal(at), {}, { 0, delta });
    QWindowSystemInterface::flushWindowSystemEvents();
}

// Select all, type, Return.
inline void typeInto(MainWindow& w, QLineEdit* edit, const QString& text)
{
    bringIntoView(w, edit);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Return);
}

// Opens the box's list and clicks the item; false when the list never
// opened or never closed.
inline bool choose(MainWindow& w, QComboBox* combo, int index)
{
    bringIntoView(w, combo);
    combo->showPopup();
    QAbstractItemView* view = combo->view();
    if (!QTest::qWaitFor([view] { return view->isVisible(); }))
        return false;
    const QRect item = view->visualRect(view->model()->index(index, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, item.center());
    return QTest::qWaitFor([view] { return !view->isVisible(); });
}

// A click on the box's indicator, where the style takes it.
inline void click(MainWindow& w, QCheckBox* box)
{
    bringIntoView(w, box);
    QStyleOptionButton option;
    option.initFrom(box);
    const QRect hit = box->style()->subElementRect(QStyle::SE_CheckBoxClickRect, &option, box);
    QTest::mouseClick(box, Qt::LeftButton, {}, hit.center());
}

inline void click(MainWindow& w, QPushButton* button)
{
    bringIntoView(w, button);
    QTest::mouseClick(button, Qt::LeftButton);
}

} // namespace rowinput
