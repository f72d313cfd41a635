#pragma once

// Linked into every widget test: a modal dialog or menu that blocks in its own
// loop with nothing to answer it (an exec outside the modal seam, or through
// the seam with no answer queued) fails the running test at once, naming the
// dialog, and is closed as cancelled. Under the offscreen platform nobody
// would ever click it, and the test would hang until its time limit.

#include <QStringList>

class QWidget;

namespace modalguard {

// While one lives, real modals are left alone: for a test that shows them on
// purpose and answers them itself. A member of the test object covers every
// function of the program.
class RealModals
{
public:
    RealModals();
    ~RealModals();
    RealModals(const RealModals&) = delete;
    RealModals& operator=(const RealModals&) = delete;
};

// While one lives, an answer is at work on `modal` (it may wait for
// something first): the guard looks at it again once it is done.
class Answering
{
public:
    explicit Answering(QWidget& modal);
    ~Answering();
    Answering(const Answering&) = delete;
    Answering& operator=(const Answering&) = delete;

private:
    QWidget* m_modal;
};

// While one lives, the modals the guard closes are listed here instead of
// failing the test: for the guard's own tests.
class Caught
{
public:
    Caught();
    ~Caught();
    Caught(const Caught&) = delete;
    Caught& operator=(const Caught&) = delete;

    QStringList modals; // one line per modal closed, as the failure would name it
private:
    Caught* m_outer;
};

} // namespace modalguard
