#include "widgets/modal_seam.h"

#include <QAction>
#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QRegularExpression>
#include <QTimer>

#include "widgets/message_box.h"

namespace modal {

namespace {
Answerer* g_answerer = nullptr;

// Qt's save dialog adds its default suffix only to a name without a dot, and
// asks whether to replace the file of the name as typed. This one settles the
// name that will be written first (the suffix unless the name ends with it),
// asks about that file, and hands that name back.
class SaveDialog : public QFileDialog
{
public:
    SaveDialog(QWidget* parent, const QString& caption, const QString& dir, const QString& filter)
        : QFileDialog(parent, caption, dir, filter)
    {
        setAcceptMode(QFileDialog::AcceptSave);
        setFileMode(QFileDialog::AnyFile);
        setDefaultSuffix(filterSuffix(filter));
        connect(this, &QFileDialog::filterSelected, this,
            [this](const QString& chosen) { setDefaultSuffix(filterSuffix(chosen)); });
        // Qt's own dialog, whose accepting this class decides; a desktop's
        // dialog would ask about the name as typed.
        setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite);
    }

    QString written() const { return m_written; }

protected:
    void accept() override
    {
        const QStringList typed = selectedFiles();
        // A folder is opened, an empty name refused: Qt's own way.
        if (typed.size() != 1 || QFileInfo(typed.first()).isDir()) {
            QFileDialog::accept();
            return;
        }
        const QString name = withSuffix(typed.first(), defaultSuffix());
        const QFileInfo file(name);
        if (file.isDir()) {
            setDirectory(name);
            return;
        }
        if (file.exists() && !replaceConfirmed(file.fileName()))
            return;
        m_written = name;
        QFileDialog::accept();
    }

private:
    bool replaceConfirmed(const QString& fileName)
    {
        QMessageBox box(this);
        buildMessageBox(box, QMessageBox::Warning, windowTitle(),
            QCoreApplication::translate(
                "QFileDialog", "%1 already exists.\nDo you want to replace it?")
                .arg(fileName),
            { QMessageBox::Yes, QMessageBox::No });
        box.setDefaultButton(QMessageBox::No);
        return modal::exec(box) == QMessageBox::Yes;
    }

    QString m_written;
};

} // namespace

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

    SaveDialog dialog(parent, caption, folder, filter);
    return dialog.exec() == QDialog::Accepted ? dialog.written() : QString();
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
    const QString name = file.fileName();
    if (name.endsWith(QLatin1Char('.') + suffix, Qt::CaseInsensitive) || file.isDir())
        return path;
    // A name typed with a dot at its end gets no second one.
    return path + (name.endsWith(QLatin1Char('.')) ? QString() : QStringLiteral(".")) + suffix;
}

QString saveFolder(const QString& dir)
{
    if (dir.isEmpty() || QFileInfo(dir).isDir())
        return dir;
    return QDir::homePath();
}

} // namespace modal
