#include "widgets/modal_seam.h"

#include <QAction>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QPointer>
#include <QRegularExpression>
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
    const QString folder = saveFolder(dir);
    if (g_answerer)
        return withSuffix(
            g_answerer->answerFile(FileKind::Save, caption, folder, filter), filterSuffix(filter));

    QFileDialog dialog(parent, caption, folder, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(filterSuffix(filter));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
        [&dialog](const QString& chosen) { dialog.setDefaultSuffix(filterSuffix(chosen)); });
    // Qt's own dialog adds the suffix before it asks whether to replace the
    // file; a desktop's dialog may ask about the name as typed.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    const QStringList chosen = dialog.selectedFiles();
    return chosen.isEmpty() ? QString() : withSuffix(chosen.first(), dialog.defaultSuffix());
}

QString getExistingDirectory(QWidget* parent, const QString& caption, const QString& dir)
{
    if (g_answerer)
        return g_answerer->answerFile(FileKind::Directory, caption, dir, QString());
    return QFileDialog::getExistingDirectory(parent, caption, dir);
}

QString filterSuffix(const QString& filter)
{
    // The first filter's patterns stand in brackets after its name, or alone.
    QString patterns = filter.section(QStringLiteral(";;"), 0, 0).trimmed();
    const qsizetype open = patterns.lastIndexOf(QLatin1Char('('));
    if (open >= 0 && patterns.endsWith(QLatin1Char(')')))
        patterns = patterns.mid(open + 1, patterns.size() - open - 2);
    const QString first = patterns.section(QLatin1Char(' '), 0, 0, QString::SectionSkipEmpty);
    if (!first.startsWith(QLatin1String("*.")))
        return {};
    const QString suffix = first.mid(2);
    static const QRegularExpression wildcard(QStringLiteral(R"([*?\[])"));
    return suffix.contains(wildcard) ? QString() : suffix;
}

QString withSuffix(const QString& path, const QString& suffix)
{
    if (path.isEmpty() || suffix.isEmpty())
        return path;
    const QFileInfo file(path);
    if (file.fileName().contains(QLatin1Char('.')) || file.isDir())
        return path;
    return path + QLatin1Char('.') + suffix;
}

QString saveFolder(const QString& dir)
{
    if (dir.isEmpty() || QFileInfo(dir).isDir())
        return dir;
    return QDir::homePath();
}

} // namespace modal
