// The modal seam: answers queued by a test reach the boxes, menus, dialogs
// and file dialogs in order, and a modal nobody answered fails instead of
// hanging the run.
#include <QtTest>

#include <QDialog>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QVBoxLayout>

#include <functional>

#include "deadlines.h"
#include "modal_answers.h"
#include "modal_guard.h"
#include "test_files.h"
#include "widgets/message_box.h"
#include "widgets/modal_seam.h"

namespace {

// A name dialog like the program's: a line edit, OK accepts.
class NameDialog : public QDialog
{
public:
    NameDialog()
    {
        auto* layout = new QVBoxLayout(this);
        edit = new QLineEdit(this);
        auto* ok = new QPushButton(QStringLiteral("OK"), this);
        layout->addWidget(edit);
        layout->addWidget(ok);
        connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    }
    QLineEdit* edit;
};

// Runs `act` on the modal widget of type T once it is shown, from inside the
// loop that shows it; a modal that never comes fails the test and closes
// whatever else is open.
template <typename T> void whenShown(std::function<void(T*)> act)
{
    auto* timer = new QTimer;
    timer->setInterval(10);
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    QObject::connect(timer, &QTimer::timeout, [timer, clock, act] {
        auto* shown = qobject_cast<T*>(QApplication::activeModalWidget());
        const bool late = clock->elapsed() > testsupport::kDeadlineMs;
        if (!(shown && shown->isVisible()) && !late)
            return;
        timer->stop();
        timer->deleteLater();
        if (shown && shown->isVisible()) {
            act(shown);
        } else {
            if (QWidget* other = QApplication::activeModalWidget())
                other->close();
            QFAIL("the awaited modal was never shown");
        }
    });
    timer->start();
}

// While it lives, clicks `button` in every message box shown and keeps the
// boxes' texts, so a box a test did not expect is answered, not waited on.
class BoxClicker
{
public:
    explicit BoxClicker(QMessageBox::StandardButton button)
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this, button] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box && box->isVisible() && box->button(button)) {
                texts << box->text();
                box->button(button)->click();
            }
        });
        m_timer.start(10);
    }

    QStringList texts;

private:
    QTimer m_timer;
};

QLineEdit* fileNameEdit(QFileDialog* dialog)
{
    return dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
}

} // namespace

class TestModal : public QObject
{
    Q_OBJECT

private slots:
    void boxButtonByText_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("clicked"); // index into the added buttons, -1 none
        QTest::newRow("Yes") << "Yes" << 0;
        QTest::newRow("middle") << "New Configuration" << 1;
        QTest::newRow("Cancel") << "Cancel" << 2;
    }
    void boxButtonByText()
    {
        QFETCH(QString, answer);
        QFETCH(int, clicked);
        ModalAnswers answers;
        answers.button(answer);
        QMessageBox box;
        box.setWindowTitle("Quorvel");
        box.setText("Import?");
        QList<QAbstractButton*> buttons { box.addButton("&Yes", QMessageBox::YesRole),
            box.addButton("New Configuration", QMessageBox::ActionRole),
            box.addButton("Cancel", QMessageBox::RejectRole) };
        modal::exec(box);
        QCOMPARE(box.clickedButton(), buttons.value(clicked));
        QCOMPARE(answers.pending(), 0);
        QCOMPARE(answers.shown.size(), 1);
        QCOMPARE(answers.shown[0].title, QString("Quorvel"));
        QCOMPARE(answers.shown[0].text, QString("Import?"));
        QCOMPARE(answers.shown[0].choices.size(), 3);
        QVERIFY(answers.shown[0].choices.contains("Yes"));
    }

    // The one box builder: renamed standard buttons answer as their captions
    // say; a button of the box's own keeps its role, size and sheet and stands
    // alone; the reading direction is set only where asked.
    void builtBoxes()
    {
        ModalAnswers answers;
        answers.button(QString::fromUtf8("取消")).button("OK");
        QWidget parent;

        QMessageBox question(&parent);
        modal::buildMessageBox(question, QMessageBox::Warning, "Quorvel", "Sure?",
            { { QMessageBox::Yes, QString::fromUtf8("好的") },
                { QMessageBox::No, QString::fromUtf8("取消") } },
            "QLabel{color: red;}", Qt::RightToLeft);
        QCOMPARE(modal::exec(question), int(QMessageBox::No));
        QCOMPARE(question.button(QMessageBox::Yes)->text(), QString::fromUtf8("好的"));
        QCOMPARE(question.icon(), QMessageBox::Warning);
        QCOMPARE(question.styleSheet(), QString("QLabel{color: red;}"));
        QVERIFY(question.testAttribute(Qt::WA_SetLayoutDirection));

        QMessageBox remind(&parent);
        modal::buildMessageBox(remind, QMessageBox::NoIcon, "Remind", "Full",
            { { "OK", QMessageBox::ActionRole, QSize(80, 25), "QPushButton{color: red;}" } });
        modal::exec(remind);
        QCOMPARE(remind.buttons().size(), 1);
        QAbstractButton* ok = remind.clickedButton();
        QVERIFY(ok);
        QCOMPARE(remind.buttonRole(ok), QMessageBox::ActionRole);
        QCOMPARE(ok->minimumSize(), QSize(80, 25));
        QCOMPARE(ok->maximumSize(), QSize(80, 25));
        QCOMPARE(ok->styleSheet(), QString("QPushButton{color: red;}"));
        QVERIFY(!remind.testAttribute(Qt::WA_SetLayoutDirection));
        QCOMPARE(answers.pending(), 0);
    }

    void typedNameIsAccepted()
    {
        ModalAnswers answers;
        answers.typeAndAccept(QString::fromUtf8("我的 preset"));
        NameDialog dialog;
        QCOMPARE(modal::exec(dialog), int(QDialog::Accepted));
        QCOMPARE(dialog.edit->text(), QString::fromUtf8("我的 preset"));
    }

    // An answer that opens a second box from inside the first: answers are
    // taken in order, the inner one first.
    void nestedModalsTakeAnswersInOrder()
    {
        ModalAnswers answers;
        int inner = -1;
        answers.dialog([&inner](QDialog& outer) {
            QMessageBox box(QMessageBox::Warning, "Remind", "Name exists", QMessageBox::Ok);
            inner = modal::exec(box);
            outer.accept();
        });
        answers.button("OK");
        QDialog outer;
        QCOMPARE(modal::exec(outer), int(QDialog::Accepted));
        QCOMPARE(inner, int(QMessageBox::Ok));
        QCOMPARE(answers.pending(), 0);
    }

    void menuItemIsTriggered()
    {
        ModalAnswers answers;
        answers.menuItem("Rename").menuItem("");
        QMenu menu;
        menu.addAction("Store to device");
        QAction* rename = menu.addAction("&Rename");
        QSignalSpy actionSpy(rename, &QAction::triggered);
        QSignalSpy menuSpy(&menu, &QMenu::triggered);
        QCOMPARE(modal::exec(menu, QPoint(10, 10)), rename);
        QCOMPARE(actionSpy.count(), 1);
        QCOMPARE(menuSpy.count(), 1);
        QCOMPARE(modal::exec(menu, QPoint(10, 10)), nullptr); // dismissed
        QCOMPARE(actionSpy.count(), 1);
        QCOMPARE(answers.shown[0].choices, QStringList({ "Store to device", "Rename" }));
    }

    void fileDialogs()
    {
        ModalAnswers answers;
        answers.file("/tmp/a.txt").file("").file("/tmp/dir");
        QCOMPARE(
            modal::getOpenFileName(nullptr, "Import", "/home", "*.txt"), QString("/tmp/a.txt"));
        QCOMPARE(modal::getSaveFileName(nullptr, "Export", "/home", "*.csv"), QString());
        QCOMPARE(modal::getExistingDirectory(nullptr, "Export to", "/home"), QString("/tmp/dir"));
        QCOMPARE(answers.shown[1].title, QString("Export"));
        QCOMPARE(answers.shown[1].choices, QStringList("*.csv"));
    }

    // A save dialog hands back the name that will be written: the typed name
    // with its filter's suffix when it has none.
    void saveNameTakesTheFilterSuffix_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("written");
        QTest::newRow("no suffix") << "myeq"
                                   << "(*.txt)"
                                   << "myeq.txt";
        QTest::newRow("csv") << "myfr"
                             << "(*.csv)"
                             << "myfr.csv";
        QTest::newRow("named filter") << "myeq"
                                      << "TXT Files (*.txt)"
                                      << "myeq.txt";
        QTest::newRow("first of several") << "c"
                                          << "CSV 文件 (*.csv);;文本文件 (*.txt)"
                                          << "c.csv";
        QTest::newRow("already the suffix") << "myeq.txt"
                                            << "(*.txt)"
                                            << "myeq.txt";
        QTest::newRow("a dot in the name") << "hd600 v1.2"
                                           << "(*.txt)"
                                           << "hd600 v1.2.txt";
        QTest::newRow("a suffix of its own") << "a.b"
                                             << "(*.txt)"
                                             << "a.b.txt";
        QTest::newRow("the suffix in capitals") << "a.TXT"
                                                << "(*.txt)"
                                                << "a.TXT";
        QTest::newRow("the suffix in mixed case") << "curve.Csv"
                                                  << "(*.csv)"
                                                  << "curve.Csv";
        QTest::newRow("the suffix inside the name") << "a.txt.bak"
                                                    << "(*.txt)"
                                                    << "a.txt.bak.txt";
        QTest::newRow("the suffix without its dot") << "mytxt"
                                                    << "(*.txt)"
                                                    << "mytxt.txt";
        QTest::newRow("a dot at the end") << "myeq."
                                          << "(*.txt)"
                                          << "myeq.txt";
        QTest::newRow("dot in a folder name only") << "v1.2/myeq"
                                                   << "(*.txt)"
                                                   << "v1.2/myeq.txt";
        QTest::newRow("filter of any file") << "myeq"
                                            << "(*)"
                                            << "myeq";
        QTest::newRow("filter of any suffix") << "myeq"
                                              << "(*.*)"
                                              << "myeq";
        QTest::newRow("cancelled") << ""
                                   << "(*.txt)"
                                   << "";
    }

    void saveNameTakesTheFilterSuffix()
    {
        QFETCH(QString, typed);
        QFETCH(QString, filter);
        QFETCH(QString, written);
        QTemporaryDir dir;
        const auto in
            = [&dir](const QString& name) { return name.isEmpty() ? name : dir.filePath(name); };
        ModalAnswers answers;
        answers.file(in(typed));
        QCOMPARE(modal::getSaveFileName(nullptr, "保存文件", dir.path(), filter), in(written));
        QCOMPARE(answers.shown[0].text, dir.path());
        QCOMPARE(answers.shown[0].choices, QStringList { filter });
    }

    // The start folder a save dialog is given opens only when it is a folder
    // that exists; otherwise the home folder opens.
    void saveDialogStartFolder_data()
    {
        QTest::addColumn<QString>("given"); // below a fresh folder; "-" for none at all
        QTest::addColumn<bool>("home");
        QTest::newRow("existing folder") << "Desktop" << false;
        QTest::newRow("missing folder") << "gone/Desktop" << true;
        QTest::newRow("a file where the folder was") << "Desktop/file" << true;
        QTest::newRow("none: the current folder") << "-" << false;
    }

    void saveDialogStartFolder()
    {
        QFETCH(QString, given);
        QFETCH(bool, home);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("Desktop"));
        putFile(dir.filePath("Desktop/file"), "x");
        const QString start = given == "-" ? QString() : dir.filePath(given);
        ModalAnswers answers;
        answers.file("");
        modal::getSaveFileName(nullptr, "保存文件", start, "(*.txt)");
        QCOMPARE(answers.shown[0].text, home ? QDir::homePath() : start);
    }

    // The real dialog, shown: it opens in the folder with no name filled in,
    // settles the name that will be written, asks whether to replace the file
    // of that name and of no other, and stays open on No.
    void shownSaveDialogAsksForTheWrittenName_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("existing");
        QTest::addColumn<bool>("replace"); // the answer to the question
        QTest::addColumn<QString>("asked"); // the file asked about; empty for none
        QTest::addColumn<QString>("written"); // empty: the dialog stays open
        QTest::newRow("no suffix, its file there")
            << "myeq" << QStringList { "myeq.txt" } << true << "myeq.txt"
            << "myeq.txt";
        QTest::newRow("a dot, its file there")
            << "hd600 v1.2" << QStringList { "hd600 v1.2.txt" } << true << "hd600 v1.2.txt"
            << "hd600 v1.2.txt";
        QTest::newRow("a dot, only the typed name there")
            << "hd600 v1.2" << QStringList { "hd600 v1.2" } << true << ""
            << "hd600 v1.2.txt";
        QTest::newRow("the suffix in capitals")
            << "a.TXT" << QStringList { "a.TXT" } << true << "a.TXT"
            << "a.TXT";
        QTest::newRow("not replaced")
            << "hd600 v1.2" << QStringList { "hd600 v1.2.txt" } << false << "hd600 v1.2.txt"
            << "";
    }

    void shownSaveDialogAsksForTheWrittenName()
    {
        QFETCH(QString, typed);
        QFETCH(QStringList, existing);
        QFETCH(bool, replace);
        QFETCH(QString, asked);
        QFETCH(QString, written);
        QTemporaryDir dir;
        for (const QString& name : existing)
            putFile(dir.filePath(name), "old\n");
        QString folderShown = "-";
        QString nameShown = "-";
        bool leftOpen = false;
        const modalguard::RealModals realModals;
        BoxClicker answer(replace ? QMessageBox::Yes : QMessageBox::No);
        whenShown<QFileDialog>([&](QFileDialog* dialog) {
            folderShown = dialog->directory().absolutePath();
            QLineEdit* edit = fileNameEdit(dialog);
            QVERIFY(edit);
            nameShown = edit->text();
            QTest::keyClicks(edit, typed);
            QTest::keyClick(edit, Qt::Key_Return);
            leftOpen = dialog->isVisible();
            if (leftOpen)
                dialog->reject();
        });
        const QString chosen = modal::getSaveFileName(nullptr, "保存文件", dir.path(), "(*.txt)");
        QCOMPARE(chosen, written.isEmpty() ? QString() : dir.filePath(written));
        QCOMPARE(leftOpen, written.isEmpty());
        QCOMPARE(answer.texts.size(), asked.isEmpty() ? 0 : 1);
        if (!asked.isEmpty())
            QVERIFY2(
                answer.texts[0].startsWith(asked + " already exists"), qPrintable(answer.texts[0]));
        QCOMPARE(folderShown, QDir(dir.path()).absolutePath());
        QCOMPARE(nameShown, QString());
    }

    void shownSaveDialogOfAMissingFolderOpensHome()
    {
        QTemporaryDir dir;
        QString folderShown;
        QString nameShown = "-";
        const modalguard::RealModals realModals;
        whenShown<QFileDialog>([&](QFileDialog* dialog) {
            folderShown = dialog->directory().absolutePath();
            nameShown = fileNameEdit(dialog) ? fileNameEdit(dialog)->text() : "-";
            dialog->reject();
        });
        QCOMPARE(modal::getSaveFileName(nullptr, "保存文件", dir.filePath("Desktop"), "(*.txt)"),
            QString());
        QCOMPARE(folderShown, QDir(QDir::homePath()).absolutePath());
        QCOMPARE(nameShown, QString());
    }

    // Without an answer, or with one of the wrong kind, the modal is closed as
    // cancelled and the failure recorded (here without failing this test).
    void unansweredIsCancelledAndReported()
    {
        ModalAnswers answers;
        answers.failTest = false;
        QMessageBox box(
            QMessageBox::Question, "Quorvel", "Sure?", QMessageBox::Yes | QMessageBox::No);
        box.setEscapeButton(QMessageBox::No);
        const int result = modal::exec(box);
        QVERIFY(result != QMessageBox::Yes);
        QCOMPARE(answers.failures.size(), 1);
        QVERIFY(answers.failures[0].contains("unanswered"));

        answers.file("/tmp/x");
        QMenu menu;
        menu.addAction("Delete");
        QCOMPARE(modal::exec(menu, QPoint()), nullptr);
        QCOMPARE(answers.failures.size(), 2);
        QVERIFY(answers.failures[1].contains("does not fit"));

        answers.button("Maybe");
        QCOMPARE(modal::exec(box), int(QDialog::Rejected));
        QCOMPARE(answers.failures.size(), 3);
    }

    void leftOpenIsRejected()
    {
        ModalAnswers answers;
        answers.dialog([](QDialog&) {});
        NameDialog dialog;
        QCOMPARE(modal::exec(dialog), int(QDialog::Rejected));
        QVERIFY(!dialog.isVisible());
    }

    // A modal that blocks in its own loop with nothing to answer it is closed
    // at once and named (here without failing this test): offscreen, nobody
    // would ever click it.
    void unansweredRealModalIsClosedAndNamed_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("named");
        const QString box = QStringLiteral("QMessageBox \"Quorvel\": Sure?");
        QTest::newRow("box outside the seam") << "box" << box;
        QTest::newRow("box outside the seam, an answer queued") << "box, answer queued" << box;
        QTest::newRow("box through the seam, no answerer") << "seam" << box;
        QTest::newRow("menu outside the seam") << "menu"
                                               << "QMenu: Delete/Rename";
        QTest::newRow("file dialog outside the seam") << "file"
                                                      << "QFileDialog \"Open\"";
    }
    void unansweredRealModalIsClosedAndNamed()
    {
        QFETCH(QString, how);
        QFETCH(QString, named);
        modalguard::Caught caught;
        QMessageBox box(
            QMessageBox::Question, "Quorvel", "Sure?", QMessageBox::Yes | QMessageBox::No);
        if (how == "box") {
            QVERIFY(box.exec() != QMessageBox::Yes);
        } else if (how == "box, answer queued") {
            ModalAnswers answers;
            answers.button("Yes");
            QVERIFY(box.exec() != QMessageBox::Yes);
            QCOMPARE(answers.pending(), 1);
        } else if (how == "seam") {
            QVERIFY(modal::exec(box) != QMessageBox::Yes);
        } else if (how == "menu") {
            QMenu menu;
            menu.addAction("Delete");
            menu.addSeparator();
            menu.addAction("Rename");
            QCOMPARE(menu.exec(QPoint(10, 10)), nullptr);
        } else {
            QCOMPARE(QFileDialog::getOpenFileName(nullptr, "Open", QDir::tempPath()), QString());
        }
        QCOMPARE(caught.modals, QStringList { named });
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
    }

    // A modal window shown without a loop of its own, a popup menu and a
    // dialog whose answer waits for something first are no business of the
    // guard.
    void answeredAndLooplessModalsAreLeftAlone()
    {
        modalguard::Caught caught;
        QMenu popup;
        popup.addAction("Delete");
        popup.popup(QPoint(10, 10));
        QCoreApplication::processEvents();
        popup.close();
        // No event handled before the dialog's loop: that loop meets this one first.
        QDialog window;
        window.setModal(true);
        window.show();
        ModalAnswers answers;
        bool ready = false;
        answers.dialog([&ready](QDialog& dialog) {
            QTimer::singleShot(10, [&ready] { ready = true; });
            QTRY_VERIFY(ready);
            dialog.accept();
        });
        NameDialog dialog;
        QCOMPARE(modal::exec(dialog), int(QDialog::Accepted));
        QVERIFY(window.isVisible());
        QCOMPARE(caught.modals, QStringList());
    }

    void noAnswererAfterScope()
    {
        {
            ModalAnswers answers;
            QCOMPARE(modal::answerer(), &answers);
        }
        QCOMPARE(modal::answerer(), nullptr);
    }
};

QTEST_MAIN(TestModal)
#include "test_modal.moc"
