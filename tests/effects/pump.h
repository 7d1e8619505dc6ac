#pragma once
// Runs the event loop until a condition holds. The limit only keeps a broken
// timer from hanging the test; nothing is asserted about how long it took.

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

namespace carmanual::testing {

template <typename Condition> bool PumpUntil(Condition condition, int limitMs = 20000) {
    QDeadlineTimer deadline(limitMs);
    while (!condition()) {
        if (deadline.hasExpired()) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
    return true;
}

// Lets the event loop run a while, for checks that something does NOT
// happen any more.
inline void PumpFor(int ms) {
    QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
}

} // namespace carmanual::testing
