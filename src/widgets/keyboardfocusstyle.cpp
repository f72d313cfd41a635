#include "widgets/keyboardfocusstyle.h"

#include <QStyleOption>

KeyboardFocusStyle::KeyboardFocusStyle(QStyle* base)
    : QProxyStyle(base)
{
}

void KeyboardFocusStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
    QPainter* painter, const QWidget* widget) const
{
    // The toolkit marks a window once the focus moved in it by keyboard.
    if (element == PE_FrameFocusRect && option && !(option->state & State_KeyboardFocusChange))
        return;
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}
