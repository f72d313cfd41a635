#pragma once
// The application's style: a base style that draws focus frames only once the
// keyboard has moved the focus (Tab), as the desktop the form was drawn for
// does. A click on a button or switch, or the focus the window gives its save
// button at start, then shows no dotted frame.

#include <QProxyStyle>

class KeyboardFocusStyle : public QProxyStyle
{
    Q_OBJECT
public:
    // Takes ownership of base; a null base stands for the default style.
    explicit KeyboardFocusStyle(QStyle* base = nullptr);

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
        const QWidget* widget = nullptr) const override;
};
