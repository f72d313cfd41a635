#pragma once

// The one way the program builds a message box: icon, title, text, buttons,
// sheet and reading direction. A built box is shown with modal::exec like
// every other dialog, so a test can answer it.

#include <QList>
#include <QMessageBox>
#include <QSize>
#include <QString>

namespace modal {

struct BoxButton
{
    // A standard button, under its own caption where `text` is set.
    BoxButton(QMessageBox::StandardButton standard, const QString& text = QString());
    // A button of the box's own, of a fixed size where `fixedSize` is valid.
    BoxButton(const QString& text, QMessageBox::ButtonRole role, QSize fixedSize = QSize(),
        const QString& sheet = QString());

    QMessageBox::StandardButton standard = QMessageBox::NoButton;
    QString text;
    QMessageBox::ButtonRole role = QMessageBox::InvalidRole;
    QSize fixedSize;
    QString sheet;
};

// Puts icon, title, text, buttons (in this order), sheet and direction into a
// box just made with its parent. An empty sheet and Qt::LayoutDirectionAuto
// leave the box's own.
void buildMessageBox(QMessageBox& box, QMessageBox::Icon icon, const QString& title,
    const QString& text, const QList<BoxButton>& buttons, const QString& sheet = QString(),
    Qt::LayoutDirection direction = Qt::LayoutDirectionAuto);

} // namespace modal
