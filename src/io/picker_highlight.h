#pragma once

// The one highlight in the open popup of a curve picker. Up, Down, Page Up,
// Page Down, Home and End move it, and so does the mouse over the rows; the
// list draws it as its selected row. Enter, Return and Space choose the
// highlighted row as a click on it does: the combo box would otherwise take
// the row's own text as its label, which is empty (the row is a widget), and
// show its placeholder while the chosen curve stays drawn. Escape is left to
// the combo box, which closes the popup and changes nothing.

#include <QObject>

#include <functional>

class QKeyEvent;
class QListWidget;
class QPoint;

class PickerHighlight : public QObject
{
public:
    // Watches `list` (the picker's popup view) for as long as it lives;
    // `chooseHighlighted` runs for each choosing key.
    PickerHighlight(QListWidget* list, std::function<void()> chooseHighlighted);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool key(QKeyEvent* event);
    void follow(const QPoint& at);

    QListWidget* m_list;
    std::function<void()> m_choose;
};
