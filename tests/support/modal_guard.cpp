#include "modal_guard.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QThread>
#include <QTimer>

namespace modalguard {

namespace {

int g_realModals = 0;
QList<QWidget*> g_answered;
Caught* g_caught = nullptr;

int loopLevel() { return QThread::currentThread()->loopLevel(); }

// The one modal that input goes to: a blocking one in its loop is on top.
bool onTop(QWidget& widget)
{
    if (qobject_cast<QMenu*>(&widget))
        return QApplication::activePopupWidget() == &widget;
    return QApplication::activeModalWidget() == &widget;
}

QString describe(QWidget& widget)
{
    QString out = QString::fromLatin1(widget.metaObject()->className());
    if (!widget.windowTitle().isEmpty())
        out += QStringLiteral(" \"%1\"").arg(widget.windowTitle());
    if (auto* box = qobject_cast<QMessageBox*>(&widget))
        out += QStringLiteral(": ") + box->text();
    if (auto* menu = qobject_cast<QMenu*>(&widget)) {
        QStringList items;
        for (QAction* action : menu->actions())
            if (!action->isSeparator())
                items << action->text();
        out += QStringLiteral(": ") + items.join(QLatin1Char('/'));
    }
    return out;
}

void closeUnanswered(QWidget& widget)
{
    const QString what = describe(widget);
    if (g_caught) {
        g_caught->modals << what;
    } else {
        const QString message = QStringLiteral("a modal nothing answers: %1 (open it through "
                                               "modal::exec, with an answer queued)")
                                    .arg(what);
        if (QTest::currentTestFunction())
            QTest::qFail(qPrintable(message), __FILE__, __LINE__);
        else
            qCritical("%s", qPrintable(message));
    }
    // Cancelled, as Escape would: the exec returns and the test goes on to
    // its end instead of waiting for its time limit.
    if (auto* dialog = qobject_cast<QDialog*>(&widget))
        dialog->reject();
    else
        widget.close();
}

// A dialog's exec shows it and then runs its loop; the seam's answer is
// queued before the show, so it comes first in that loop. A modal still
// shown, and on top, when the check queued at its show runs one loop deeper
// than the show has no answer coming. A check that runs deeper than that (an
// answer opening a box of its own), or finds another modal on top, looks
// again later, as one that meets an answer at work does; one that runs at
// the show's level means the window was shown without a loop of its own.
class Guard : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && g_realModals == 0 && watched->isWidgetType()) {
            auto* widget = static_cast<QWidget*>(watched);
            if (widget->isWindow()
                && (qobject_cast<QMenu*>(widget)
                    || (qobject_cast<QDialog*>(widget) && widget->isModal())))
                checkSoon(widget, loopLevel(), 0);
        }
        return false;
    }

private:
    void checkSoon(QWidget* widget, int shownAt, int delayMs)
    {
        QPointer<QWidget> shown(widget);
        QTimer::singleShot(delayMs, this, [this, shown, shownAt] {
            if (!shown || !shown->isVisible() || g_realModals != 0)
                return;
            const int level = loopLevel();
            if (level > shownAt + 1
                || (level == shownAt + 1 && (!onTop(*shown) || g_answered.contains(shown))))
                checkSoon(shown, shownAt, 10);
            else if (level == shownAt + 1)
                closeUnanswered(*shown);
        });
    }
};

void install()
{
    if (qobject_cast<QApplication*>(QCoreApplication::instance()))
        QCoreApplication::instance()->installEventFilter(new Guard(QCoreApplication::instance()));
}

} // namespace

RealModals::RealModals() { ++g_realModals; }
RealModals::~RealModals() { --g_realModals; }

Answering::Answering(QWidget& modal)
    : m_modal(&modal)
{
    g_answered.append(m_modal);
}
Answering::~Answering() { g_answered.removeOne(m_modal); }

Caught::Caught()
    : m_outer(g_caught)
{
    g_caught = this;
}
Caught::~Caught() { g_caught = m_outer; }

} // namespace modalguard

// Every widget test gets the guard with its application object.
static void installModalGuard() { modalguard::install(); }
Q_COREAPP_STARTUP_FUNCTION(installModalGuard)
