#include "widgets/modal_seam.h"

#include <QAction>
#include <QDialog>
#include <QFileDialog>
#include <QMenu>
#include <QPointer>
#include <QTimer>

namespace modal {

namespace {
Answerer* g_answerer = nullptr;
}

void setAnswerer(Answerer* answerer) { g_answerer = answerer; }

Answerer* answerer() { return g_answerer; }

int exec(QDialog& dialog)
{
    if (!g_answerer)
        return dialog.exec();
    // The answer runs once the dialog's own loop has started, so it meets the
    // dialog exactly as a user would: shown, modal, with its buttons live.
    Answerer* answering = g_answerer;
    QPointer<QDialog> shown(&dialog);
    QTimer::singleShot(0, &dialog, [answering, shown] {
        if (!shown)
            return;
        answering->answerDialog(*shown);
        if (shown && shown->isVisible())
            shown->reject();
    });
    return dialog.exec();
}

QAction* exec(QMenu& menu, const QPoint& globalPos)
{
    if (!g_answerer)
        return menu.exec(globalPos);
    QAction* action = g_answerer->answerMenu(menu);
    if (action) {
        // What QMenu::exec does for a picked item; the menu passes the
        // action's triggered signal on as its own.
        action->activate(QAction::Trigger);
    }
    return action;
}

QString getOpenFileName(
    QWidget* parent, const QString& caption, const QString& dir, const QString& filter)
{
    if (g_answerer)
        return g_answerer->answerFile(FileKind::Open, caption, dir, filter);
    return QFileDialog::getOpenFileName(parent, caption, dir, filter);
}

QString getSaveFileName(
    QWidget* parent, const QString& caption, const QString& dir, const QString& filter)
{
    if (g_answerer)
        return g_answerer->answerFile(FileKind::Save, caption, dir, filter);
    return QFileDialog::getSaveFileName(parent, caption, dir, filter);
}

QString getExistingDirectory(QWidget* parent, const QString& caption, const QString& dir)
{
    if (g_answerer)
        return g_answerer->answerFile(FileKind::Directory, caption, dir, QString());
    return QFileDialog::getExistingDirectory(parent, caption, dir);
}

} // namespace modal
