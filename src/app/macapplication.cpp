#include "app/macapplication.h"

#include <QDebug>
#include <QEvent>
#include <QWidget>

MacApplication::MacApplication(int& argc, char** argv)
    : QApplication(argc, argv)
{
}

bool MacApplication::event(QEvent* e)
{
    if (e->type() == QEvent::Quit) {
        qDebug() << "system quit requested";
        systemQuitRequested = true;
    }
    return QApplication::event(e);
}

bool MacApplication::notify(QObject* receiver, QEvent* e)
{
    const bool handled = QApplication::notify(receiver, e);
    // Qt closes every window before it quits, the open boxes first, and drops
    // the quit when one of them stays open: the update window, which only
    // hides on a close, would refuse the system's quit and leave the loop
    // running. No window refuses it; a box closes as its Cancel/No, so what it
    // asked about stays as it was, and the main window's close ends the loops,
    // modal ones included.
    if (systemQuitRequested && e->type() == QEvent::Close && receiver->isWidgetType()
        && static_cast<QWidget*>(receiver)->isWindow())
        e->accept();
    return handled;
}
