#include "widgets/textfit.h"

#include <QLabel>

void widenLabelsToText(QWidget* root)
{
    for (QLabel* label : root->findChildren<QLabel*>()) {
        if (label->maximumWidth() >= QWIDGETSIZE_MAX || label->text().isEmpty()
            || label->wordWrap())
            continue;
        label->ensurePolished(); // a style sheet may set the font
        const QMargins m = label->contentsMargins();
        const int indent = label->indent() > 0 ? label->indent() : 0;
        const int need = label->fontMetrics().horizontalAdvance(label->text()) + m.left()
            + m.right() + 2 * label->margin() + indent;
        if (need <= label->maximumWidth())
            continue;
        // A fixed width stays fixed, only wider.
        if (label->minimumWidth() == label->maximumWidth())
            label->setMinimumWidth(need);
        label->setMaximumWidth(need);
    }
}
