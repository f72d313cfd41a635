#include "widgets/textfit.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTextDocument>

namespace {

// The width of a label that its text cannot use: margins and indent.
int labelChrome(QLabel* label)
{
    const QMargins m = label->contentsMargins();
    const int indent = label->indent() > 0 ? label->indent() : 0;
    return m.left() + m.right() + 2 * label->margin() + indent;
}

// The width a label needs to draw its text on one line.
int labelNeed(QLabel* label)
{
    return label->fontMetrics().horizontalAdvance(label->text()) + labelChrome(label);
}

// Pixels a button's text lacks in the room its style gives it; the room of a
// push button is taken while the pointer is over it, as its hover frame takes
// some.
int buttonLack(QAbstractButton* button, QStyle::SubElement contents)
{
    QStyleOptionButton opt;
    opt.initFrom(button);
    opt.text = button->text();
    if (contents == QStyle::SE_PushButtonContents)
        opt.state |= QStyle::State_MouseOver;
    const int room = button->style()->subElementRect(contents, &opt, button).width();
    return button->fontMetrics().horizontalAdvance(button->text()) - room;
}

// Pixels the widget's text lacks; 0 or less when it fits or the widget draws
// no single-line text of its own.
int textLack(QWidget* w)
{
    if (auto* label = qobject_cast<QLabel*>(w))
        return label->wordWrap() || label->text().isEmpty() ? 0 : labelNeed(label) - w->width();
    auto* button = qobject_cast<QAbstractButton*>(w);
    if (!button || button->text().isEmpty())
        return 0;
    if (qobject_cast<QCheckBox*>(w))
        return buttonLack(button, QStyle::SE_CheckBoxContents);
    if (qobject_cast<QRadioButton*>(w))
        return buttonLack(button, QStyle::SE_RadioButtonContents);
    if (qobject_cast<QPushButton*>(w))
        return buttonLack(button, QStyle::SE_PushButtonContents);
    return 0;
}

} // namespace

void showElidedInMiddle(QLabel* label, const QString& text)
{
    label->setWordWrap(false);
    label->setTextFormat(Qt::PlainText);
    // A tooltip that looks like markup would be drawn as markup.
    label->setToolTip(Qt::mightBeRichText(text)
            ? QStringLiteral("<p style='white-space:pre'>%1</p>").arg(text.toHtmlEscaped())
            : text);
    label->ensurePolished(); // a style sheet may set the font
    const int room = label->width() - labelChrome(label);
    const QFontMetrics metrics = label->fontMetrics();
    // The shortening adds up letters one by one; the text drawn whole can
    // come out a pixel or two wider, so it is measured again.
    QString shown = metrics.elidedText(text, Qt::ElideMiddle, room);
    for (int width = room - 1; width > 0 && metrics.horizontalAdvance(shown) > room; --width)
        shown = metrics.elidedText(text, Qt::ElideMiddle, width);
    label->setText(shown);
}

void widenLabelsToText(QWidget* root)
{
    for (QLabel* label : root->findChildren<QLabel*>()) {
        if (label->maximumWidth() >= QWIDGETSIZE_MAX || label->text().isEmpty()
            || label->wordWrap())
            continue;
        label->ensurePolished(); // a style sheet may set the font
        const int need = labelNeed(label);
        if (need <= label->maximumWidth())
            continue;
        // A fixed width stays fixed, only wider.
        if (label->minimumWidth() == label->maximumWidth())
            label->setMinimumWidth(need);
        label->setMaximumWidth(need);
    }
}

void widenPlacedToText(QWidget* root)
{
    const QLayout* layout = root->layout();
    for (QWidget* w : root->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (w->isWindow() || (layout && layout->indexOf(w) >= 0))
            continue;
        w->ensurePolished(); // a style sheet may set the font
        const int lack = textLack(w);
        if (lack > 0)
            w->resize(w->width() + lack, w->height());
    }
}
