#pragma once

// Every modal exec of the program passes through here: message boxes, context
// menus, name dialogs, the slot chooser and the file dialogs. The real program
// shows them; a test installs an Answerer that acts as the user, so no
// headless test can hang on a box nobody will click.

#include <QString>

class QAction;
class QDialog;
class QMenu;
class QPoint;
class QWidget;

namespace modal {

enum class FileKind { Open, Save, Directory };

class Answerer
{
public:
    virtual ~Answerer() = default;
    // Called inside the dialog's exec, with the dialog shown: the answer
    // clicks, types, accepts or rejects as a user would. A dialog still open
    // afterwards is rejected.
    virtual void answerDialog(QDialog& dialog) = 0;
    // The item the user picks, or null for a dismissed menu.
    virtual QAction* answerMenu(QMenu& menu) = 0;
    // The path the user picks, or an empty string for Cancel.
    virtual QString answerFile(
        FileKind kind, const QString& caption, const QString& dir, const QString& filter)
        = 0;
};

// Null (the default) shows the real dialogs.
void setAnswerer(Answerer* answerer);
Answerer* answerer();

// QDialog::exec (message boxes included: clickedButton() works as usual).
int exec(QDialog& dialog);
// QMenu::exec: the chosen action is triggered and returned, or null.
QAction* exec(QMenu& menu, const QPoint& globalPos);

QString getOpenFileName(
    QWidget* parent, const QString& caption, const QString& dir, const QString& filter);
// As on the platform the program was written for, the name that comes back
// carries the suffix of the chosen filter unless the typed name ends with it,
// and the question whether to replace a file is asked for that name. A start
// folder that does not exist opens the dialog in the home folder, with no
// name filled in.
QString getSaveFileName(
    QWidget* parent, const QString& caption, const QString& dir, const QString& filter);
QString getExistingDirectory(QWidget* parent, const QString& caption, const QString& dir);

// The suffix a file filter names first: "csv" for "CSV files (*.csv)", none
// for "(*)" or "(*.*)".
QString filterSuffix(const QString& filter);
// `path` with ".suffix" appended unless its file name already ends with it, in
// any letter case: "myeq" -> "myeq.txt", "hd600 v1.2" -> "hd600 v1.2.txt",
// "myeq." -> "myeq.txt"; "a.TXT" stays. An empty path (Cancel) and a folder
// stay as they are.
QString withSuffix(const QString& path, const QString& suffix);
// Where a save dialog opens: `dir` when it is a folder that exists (or empty:
// the current folder), else the home folder.
QString saveFolder(const QString& dir);

} // namespace modal
