#pragma once

// What the local and the device preset buttons share: drags over them do
// nothing; each has a right-click menu whose entries are translated at every
// opening and whose sheet is set at the first; the rename entry asks for the
// name in the button's own name dialog; and a button taken out of its list
// while its own menu (or a dialog that menu opened) is still running is
// deleted only once that menu has returned, so no handler below it runs on a
// deleted button.

#include <QRadioButton>
#include <QString>
#include <QVarLengthArray>

class QAction;
class QMenu;
class PresetNameDialog;

class PresetButton : public QRadioButton
{
    Q_OBJECT

public:
    explicit PresetButton(QWidget* parent = nullptr);

    // Hides the button and deletes it once no menu of it is running.
    void dispose();

protected:
    void mouseMoveEvent(QMouseEvent* event) override;

    // An action of the menu: a child of the button, made with its English
    // text; each opening gives it the text of the current language (English
    // for Language 1, else Chinese). Made in the order the menu lists them.
    QAction* makeMenuAction(const QString& english, const QString& chinese);
    QMenu* menu() const { return m_menu; }
    // Translates the actions, gives the menu `sheet` at its first opening (a
    // list of a hundred buttons builds noticeably faster without a hundred
    // menu style sheets) and runs it modally (through the modal seam) at
    // `globalPos`.
    void openMenu(const QPoint& globalPos, const char* sheet);
    // Runs the button's name dialog: the name accepted, empty when none was.
    QString askName();

private slots:
    void openDialog();
    void receiveDialogInput(QString const& name);

private:
    // The button's name dialog, the button its parent.
    virtual PresetNameDialog* makeNameDialog() = 0;

    struct MenuText
    {
        QAction* action;
        QString english;
        QString chinese;
    };

    QMenu* m_menu;
    QVarLengthArray<MenuText, 3> m_menuTexts;
    QString m_pendingName;
    bool m_menuRunning = false;
    bool m_disposed = false;
};
