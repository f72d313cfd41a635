#pragma once
// Thin subclasses of the standard controls that decide which mouse events stop
// at the control and which travel on to the window, where the frameless helper
// turns a left press into a window drag. Some also suppress context menus.

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollArea>
#include <QWidget>

class QListWidget;
class QToolButton;

// A button whose menu opens on press never gets its leave event while the
// menu holds the mouse, so it would keep its :hover look after the menu
// closes until hovered again. This drops the stale hover state of `button`
// whenever its menu closes with the pointer elsewhere.
void clearHoverWhenMenuCloses(QToolButton* button);

// Never tracks a drag, so dragging over the box does not move the window.
class CustomCheckBox : public QCheckBox
{
    Q_OBJECT
public:
    explicit CustomCheckBox(QWidget* parent = nullptr);

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
};

// Curve picker: no window drag from inside it, no context menus, and presses on
// its popup container (outside the list) are swallowed.
class CustomComboBox : public QComboBox
{
    Q_OBJECT
public:
    explicit CustomComboBox(QWidget* parent = nullptr);

    // Remembers the list that is about to become the popup view and, one event
    // loop turn later, filters the popup container it then sits in.
    void saveView(QListWidget* view);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QPointer<QListWidget> m_view;
};

// Opens no context menu.
class CustomLineEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit CustomLineEdit(QWidget* parent = nullptr);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
};

// A press works the button and also travels on, so a button in the title area
// can still start a window drag; moves and double-clicks stop here.
class CustomPushButton : public QPushButton
{
    Q_OBJECT
public:
    explicit CustomPushButton(QWidget* parent = nullptr);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};

// Keeps presses, drags and double-clicks from the window; no context menus.
class CustomScrollArea : public QScrollArea
{
    Q_OBJECT
public:
    explicit CustomScrollArea(QWidget* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};

// A left double-click toggles the system's maximised state.
class CustomWidget : public QWidget
{
    Q_OBJECT
public:
    explicit CustomWidget(QWidget* parent = nullptr);

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};

// A combo box the wheel never changes, whose popup opens offset when opened
// through showPopup().
class vComboBox : public QComboBox
{
    Q_OBJECT
public:
    explicit vComboBox(QWidget* parent = nullptr);

    void setPopupLocation(int x, int y);
    void showPopup() override;
    void hidePopup() override;

signals:
    void sigPopup();
    void sigHidePopup();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    int popupOffsetX = 0;
    int popupOffsetY = 12;
};
