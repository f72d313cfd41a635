#include "widgets/message_box.h"

#include <QAbstractButton>
#include <QPushButton>

namespace modal {

BoxButton::BoxButton(QMessageBox::StandardButton standard, const QString& text)
    : standard(standard)
    , text(text)
{
}

BoxButton::BoxButton(
    const QString& text, QMessageBox::ButtonRole role, QSize fixedSize, const QString& sheet)
    : text(text)
    , role(role)
    , fixedSize(fixedSize)
    , sheet(sheet)
{
}

void buildMessageBox(QMessageBox& box, QMessageBox::Icon icon, const QString& title,
    const QString& text, const QList<BoxButton>& buttons, const QString& sheet,
    Qt::LayoutDirection direction)
{
    box.setIcon(icon);
    box.setWindowTitle(title);
    box.setText(text);
    QMessageBox::StandardButtons standard;
    for (const BoxButton& b : buttons)
        standard |= b.standard;
    if (standard != QMessageBox::NoButton)
        box.setStandardButtons(standard);
    for (const BoxButton& b : buttons) {
        QAbstractButton* button = nullptr;
        if (b.standard == QMessageBox::NoButton) {
            button = box.addButton(b.text, b.role);
        } else {
            button = box.button(b.standard);
            if (!b.text.isEmpty())
                button->setText(b.text);
        }
        if (b.fixedSize.isValid())
            button->setFixedSize(b.fixedSize);
        if (!b.sheet.isEmpty())
            button->setStyleSheet(b.sheet);
    }
    if (direction != Qt::LayoutDirectionAuto)
        box.setLayoutDirection(direction);
    if (!sheet.isEmpty())
        box.setStyleSheet(sheet);
}

} // namespace modal
