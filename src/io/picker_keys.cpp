#include "io/picker_keys.h"

#include <QKeyEvent>
#include <QListWidget>

PickerKeys::PickerKeys(QListWidget* list, std::function<void()> chooseHighlighted)
    : QObject(list)
    , m_choose(std::move(chooseHighlighted))
{
    // Installed after the combo box's own filter on its view, so it runs first.
    list->installEventFilter(this);
}

bool PickerKeys::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const auto* key = static_cast<const QKeyEvent*>(event);
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    const bool choosing = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter
        || key->key() == Qt::Key_Space;
    if (!choosing || modifiers != Qt::NoModifier)
        return QObject::eventFilter(watched, event);
    m_choose();
    return true;
}
