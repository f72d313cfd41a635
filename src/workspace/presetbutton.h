#pragma once

// What the local and the device preset buttons share: drags over them do
// nothing, and a button taken out of its list while its own menu (or a
// dialog that menu opened) is still running is deleted only once that menu
// has returned, so no handler below it runs on a deleted button.

#include <QRadioButton>

class QMenu;

class PresetButton : public QRadioButton
{
    Q_OBJECT

public:
    explicit PresetButton(QWidget* parent = nullptr) : QRadioButton(parent) {}

    // Hides the button and deletes it once no menu of it is running.
    void dispose();

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    // Runs `menu` modally (through the modal seam) at `globalPos`.
    void runMenu(QMenu& menu, const QPoint& globalPos);

private:
    bool m_menuRunning = false;
    bool m_disposed = false;
};
