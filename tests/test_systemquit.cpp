#include <QCoreApplication>
#include <QTest>

#include <csignal>
#include <unistd.h>

#include "app/system_quit.h"
#include "deadlines.h"

// Counts the quit events that reach the application object and swallows them,
// so the test's own event loop keeps running.
class QuitCounter : public QObject
{
public:
    int seen = 0;
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (watched == QCoreApplication::instance() && e->type() == QEvent::Quit) {
            ++seen;
            return true;
        }
        return false;
    }
};

class TestSystemQuit : public QObject
{
    Q_OBJECT

private slots:
    void sigtermBecomesQuitEvent()
    {
        QuitCounter counter;
        QCoreApplication::instance()->installEventFilter(&counter);
        QVERIFY(installSystemQuitOnSigterm());
        QVERIFY(installSystemQuitOnSigterm());  // a second call changes nothing

        QCOMPARE(::kill(::getpid(), SIGTERM), 0);  // would end the test without the handler
        QTRY_COMPARE(counter.seen, 1);

        // Every later request arrives as well.
        QCOMPARE(::kill(::getpid(), SIGTERM), 0);
        QTRY_COMPARE(counter.seen, 2);
        QTest::qWait(50);
        QCOMPARE(counter.seen, 2);
        QCoreApplication::instance()->removeEventFilter(&counter);
    }
};

QTEST_GUILESS_MAIN(TestSystemQuit)
#include "test_systemquit.moc"
