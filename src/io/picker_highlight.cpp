#include "io/picker_highlight.h"

#include <QHoverEvent>
#include <QKeyEvent>
#include <QListWidget>

#include "io/curve_entries.h"

namespace {

bool isChoosingKey(const QKeyEvent* key)
{
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter
        || key->key() == Qt::Key_Space;
}

} // namespace

PickerHighlight::PickerHighlight(QListWidget* list, std::function<void()> chooseHighlighted)
    : QObject(list)
    , m_list(list)
    , m_choose(std::move(chooseHighlighted))
{
    // Installed after the combo box's and the window's filters on the list,
    // so it sees the keys first: the window's swallows the arrows.
    list->installEventFilter(this);
    // The row widgets take the mouse moves; the hover events still reach the
    // viewport beneath them.
    list->viewport()->setAttribute(Qt::WA_Hover);
    list->viewport()->installEventFilter(this);
}

bool PickerHighlight::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    // A move of the pointer, never its entering alone: a popup opening under
    // a resting pointer leaves the highlight on the chosen row.
    case QEvent::HoverMove:
        if (watched == m_list->viewport())
            follow(static_cast<QHoverEvent*>(event)->position().toPoint());
        return false;
    case QEvent::KeyPress:
    case QEvent::ShortcutOverride:
        return watched == m_list && key(static_cast<QKeyEvent*>(event));
    default:
        return false;
    }
}

bool PickerHighlight::key(QKeyEvent* event)
{
    if ((event->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    if (isChoosingKey(event)) {
        // Taken before the combo box's own filter chooses the row its way.
        if (event->type() == QEvent::ShortcutOverride)
            event->accept();
        else
            m_choose();
        return true;
    }
    if (event->type() != QEvent::KeyPress)
        return false;
    const int rowHeight
        = m_list->count() > 0 ? m_list->visualItemRect(m_list->item(0)).height() : 0;
    const int page = rowHeight > 0 ? m_list->viewport()->height() / rowHeight : 1;
    const std::optional<int> row
        = highlightAfterKey(event->key(), m_list->currentRow(), m_list->count(), page);
    if (!row)
        return false;
    if (*row >= 0)
        m_list->setCurrentRow(*row);
    return true;
}

void PickerHighlight::follow(const QPoint& at)
{
    const QModelIndex under = m_list->indexAt(at);
    if (under.isValid() && under != m_list->currentIndex())
        m_list->setCurrentIndex(under);
}
