#include "workspace/presetbutton.h"

#include <QMouseEvent>

#include "widgets/modal_seam.h"

void PresetButton::dispose()
{
    hide();
    m_disposed = true;
    if (!m_menuRunning)
        deleteLater();
}

void PresetButton::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
}

void PresetButton::runMenu(QMenu& menu, const QPoint& globalPos)
{
    m_menuRunning = true;
    modal::exec(menu, globalPos);
    m_menuRunning = false;
    if (m_disposed)
        deleteLater();
}
