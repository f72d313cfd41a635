#pragma once

// Keys in the open popup of a curve picker. Enter, Return and Space choose the
// highlighted row as a click on it does. The combo box would otherwise take
// the row's own text as its label, which is empty (the row is a widget), and
// show its placeholder while the chosen curve stays drawn. Escape is left to
// the combo box, which closes the popup and changes nothing.

#include <QObject>

#include <functional>

class QListWidget;

class PickerKeys : public QObject
{
public:
    // Filters the keys of `list` (the picker's popup view) for as long as the
    // list lives; `chooseHighlighted` runs for each choosing key.
    PickerKeys(QListWidget* list, std::function<void()> chooseHighlighted);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void()> m_choose;
};
