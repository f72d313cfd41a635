#pragma once

// The test side of the modal seam: queue what the user does with the next
// boxes, menus, dialogs and file dialogs, in order. Each modal the program
// opens takes the next answer; one with no answer left, or whose answer does
// not fit it, fails the running test and is closed as cancelled.
//
//   ModalAnswers answers;                  // installed until it goes out of scope
//   answers.button("OK").file("/tmp/x.txt");
//   ...drive the window...
//   QCOMPARE(answers.pending(), 0);
//   QCOMPARE(answers.shown[0].text, "Machine not connected");

#include <QAbstractButton>
#include <QAction>
#include <QCoreApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QList>
#include <QMenu>
#include <QMessageBox>
#include <QQueue>
#include <QStringList>
#include <QtTest>

#include <functional>

#include "modal_guard.h"
#include "widgets/modal_seam.h"

class ModalAnswers : public modal::Answerer
{
public:
    enum class Kind { Dialog, Menu, File };

    // What the program showed, for the test to check.
    struct Shown
    {
        Kind kind;
        QString title; // window title, or file dialog caption
        QString text; // message box text; file dialog directory
        QStringList choices; // box buttons or menu items, '&' removed; file filter
        QString className; // the dialog's class
    };

    // Answers queued on an outer one (a fixture's) wait while this one is installed.
    ModalAnswers()
        : m_outer(modal::answerer())
    {
        modal::setAnswerer(this);
    }
    ~ModalAnswers() override
    {
        if (modal::answerer() == this)
            modal::setAnswerer(m_outer);
    }
    ModalAnswers(const ModalAnswers&) = delete;
    ModalAnswers& operator=(const ModalAnswers&) = delete;

    // Clicks the box button whose text (without '&') is `text`.
    ModalAnswers& button(const QString& text)
    {
        return dialog([text, this](QDialog& d) {
            for (QAbstractButton* b : d.findChildren<QAbstractButton*>()) {
                if (plain(b->text()) == text && b->isVisible()) {
                    b->click();
                    return;
                }
            }
            fail(QStringLiteral("no button \"%1\" in \"%2\"").arg(text, d.windowTitle()));
        });
    }
    // Closes the box or dialog as by its title bar (Escape for a message box).
    ModalAnswers& close()
    {
        return dialog([](QDialog& d) { d.close(); });
    }
    // Types `name` into the dialog's first line edit, then accepts it.
    ModalAnswers& typeAndAccept(const QString& name)
    {
        return dialog([name, this](QDialog& d) {
            auto* edit = d.findChild<QLineEdit*>();
            if (!edit) {
                fail(QStringLiteral("no line edit in \"%1\"").arg(d.windowTitle()));
                return;
            }
            edit->clear();
            typeText(edit, name);
            d.accept();
        });
    }
    ModalAnswers& accept()
    {
        return dialog([](QDialog& d) { d.accept(); });
    }
    ModalAnswers& reject()
    {
        return dialog([](QDialog& d) { d.reject(); });
    }
    // Anything else: `act` gets the shown dialog and must close it.
    ModalAnswers& dialog(std::function<void(QDialog&)> act)
    {
        m_queue.enqueue({ Kind::Dialog, std::move(act), {} });
        return *this;
    }
    // Picks the menu item whose text (without '&') is `text`; empty dismisses.
    ModalAnswers& menuItem(const QString& text)
    {
        m_queue.enqueue({ Kind::Menu, {}, text });
        return *this;
    }
    // The path a file dialog returns; empty is Cancel.
    ModalAnswers& file(const QString& path)
    {
        m_queue.enqueue({ Kind::File, {}, path });
        return *this;
    }

    int pending() const { return int(m_queue.size()); }
    void clear()
    {
        m_queue.clear();
        shown.clear();
        failures.clear();
    }

    QList<Shown> shown;
    QStringList failures;
    // Off for the seam's own tests of the failure road.
    bool failTest = true;

    static QString plain(QString text) { return text.remove(QLatin1Char('&')); }

    // Key presses carrying each character, so validators and length limits
    // see what a user types (QTest::keyClicks takes ASCII only).
    static void typeText(QWidget* widget, const QString& text)
    {
        for (qsizetype i = 0; i < text.size(); ++i) {
            const qsizetype n = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
            const QString ch = text.mid(i, n);
            i += n - 1;
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, ch);
            QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, ch);
            QCoreApplication::sendEvent(widget, &press);
            QCoreApplication::sendEvent(widget, &release);
        }
    }

    void answerDialog(QDialog& d) override
    {
        const modalguard::Answering answering(d);
        Shown s { Kind::Dialog, d.windowTitle(), {}, {},
            QString::fromLatin1(d.metaObject()->className()) };
        if (auto* box = qobject_cast<QMessageBox*>(&d)) {
            s.text = box->text();
            for (QAbstractButton* b : box->buttons())
                s.choices << plain(b->text());
        }
        shown << s;
        Answer a;
        if (!next(Kind::Dialog, s.className + " \"" + s.title + "\"", a)) {
            d.reject();
            return;
        }
        a.act(d);
    }

    QAction* answerMenu(QMenu& menu) override
    {
        Shown s { Kind::Menu, menu.title(), {}, {}, QStringLiteral("QMenu") };
        for (QAction* action : menu.actions())
            if (!action->isSeparator())
                s.choices << plain(action->text());
        shown << s;
        Answer a;
        if (!next(Kind::Menu, QStringLiteral("menu ") + s.choices.join('/'), a)
            || a.value.isEmpty())
            return nullptr;
        for (QAction* action : menu.actions())
            if (plain(action->text()) == a.value)
                return action->isEnabled() ? action : nullptr;
        fail(QStringLiteral("no menu item \"%1\" in %2").arg(a.value, s.choices.join('/')));
        return nullptr;
    }

    QString answerFile(
        modal::FileKind, const QString& caption, const QString& dir, const QString& filter) override
    {
        shown << Shown { Kind::File, caption, dir, { filter }, QStringLiteral("QFileDialog") };
        Answer a;
        if (!next(Kind::File, QStringLiteral("file dialog \"") + caption + "\"", a))
            return {};
        return a.value;
    }

private:
    struct Answer
    {
        Kind kind;
        std::function<void(QDialog&)> act;
        QString value;
    };

    bool next(Kind kind, const QString& what, Answer& out)
    {
        if (m_queue.isEmpty()) {
            fail(QStringLiteral("unanswered ") + what);
            return false;
        }
        out = m_queue.dequeue();
        if (out.kind != kind) {
            fail(QStringLiteral("the next answer does not fit ") + what);
            return false;
        }
        return true;
    }

    void fail(const QString& message)
    {
        failures << message;
        qWarning("modal answers: %s", qPrintable(message));
        if (failTest)
            QTest::qFail(qPrintable(message), __FILE__, __LINE__);
    }

    QQueue<Answer> m_queue;
    modal::Answerer* m_outer = nullptr;
};
