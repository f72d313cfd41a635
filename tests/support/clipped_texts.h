#pragma once

// Which texts of a shown window are wider than the room their widget gives
// them, measured with each widget's own font and style: a text that does not
// fit is drawn cut off.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QList>
#include <QPushButton>
#include <QRadioButton>
#include <QString>
#include <QStringList>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QToolButton>
#include <QWidget>

namespace testsupport {

// A text a widget draws and the room it gets; -1 room for widgets that draw no
// text of their own.
struct TextBox
{
    QString text;
    int room = -1;
};

inline int buttonContentsRoom(QAbstractButton* button, QStyle::SubElement contents)
{
    QStyleOptionButton opt;
    opt.initFrom(button);
    opt.text = button->text();
    return button->style()->subElementRect(contents, &opt, button).width();
}

inline QList<TextBox> textBoxes(QWidget* w)
{
    if (auto* label = qobject_cast<QLabel*>(w)) {
        // A wrapping label breaks its text into lines instead of cutting it.
        if (label->wordWrap())
            return {};
        const int indent = label->indent() > 0 ? label->indent() : 0;
        return { { label->text(), label->contentsRect().width() - 2 * label->margin() - indent } };
    }
    if (auto* box = qobject_cast<QCheckBox*>(w))
        return { { box->text(), buttonContentsRoom(box, QStyle::SE_CheckBoxContents) } };
    if (auto* radio = qobject_cast<QRadioButton*>(w))
        return { { radio->text(), buttonContentsRoom(radio, QStyle::SE_RadioButtonContents) } };
    if (auto* button = qobject_cast<QToolButton*>(w)) {
        // The hover frame takes 2 px on each side.
        return { { button->text(), button->contentsRect().width() - 4 } };
    }
    if (auto* button = qobject_cast<QPushButton*>(w))
        return { { button->text(), button->contentsRect().width() - 4 } };
    if (auto* combo = qobject_cast<QComboBox*>(w)) {
        QStyleOptionComboBox opt;
        opt.initFrom(combo);
        opt.editable = combo->isEditable();
        const int room
            = combo->style()
                  ->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, combo)
                  .width();
        QList<TextBox> items;
        for (int i = 0; i < combo->count(); ++i)
            items.append({ combo->itemText(i), room });
        return items;
    }
    return {};
}

// Every visible text of the window that is wider than its box.
inline QStringList clippedTexts(QWidget* window)
{
    QStringList out;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisible())
            continue;
        for (const TextBox& box : textBoxes(w)) {
            if (box.text.trimmed().isEmpty())
                continue;
            const int need = w->fontMetrics().horizontalAdvance(box.text);
            if (need > box.room)
                out << QStringLiteral("%1 \"%2\": %3 px in %4")
                           .arg(w->objectName(), box.text)
                           .arg(need)
                           .arg(box.room);
        }
    }
    return out;
}

} // namespace testsupport
