#include "app/macapplication.h"

#include <QDebug>
#include <QEvent>

MacApplication::MacApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool MacApplication::event(QEvent* e)
{
    if (e->type() == QEvent::Quit) {
        qDebug() << "system quit requested";
        systemQuitRequested = true;
    }
    return QApplication::event(e);
}
