#pragma once

#include <QApplication>

#include <atomic>

// The application object. It remembers whether the system asked the program
// to quit, so the close handler can tell a system quit from a user's close.
class MacApplication : public QApplication
{
    Q_OBJECT

public:
    MacApplication(int& argc, char** argv);

    bool isSystemQuitRequested() const { return systemQuitRequested.load(); }
    void setSystemQuitRequested(bool requested) { systemQuitRequested = requested; }

    // Once the system asked to quit, every window's close is accepted.
    bool notify(QObject* receiver, QEvent* e) override;

protected:
    bool event(QEvent* e) override;

private:
    // Set on the GUI thread, read in notify(), which Qt also calls for objects
    // of worker threads (the update download).
    std::atomic<bool> systemQuitRequested = false;
};
