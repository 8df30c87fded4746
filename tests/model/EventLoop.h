#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

#include <chrono>

namespace quillor::test {

// Runs the event loop (timers, results handed back from worker threads)
// until `done` holds or `timeout` has passed; tells which.
template <typename Predicate>
bool waitUntil(Predicate&& done, std::chrono::milliseconds timeout = std::chrono::seconds(5))
{
    const QDeadlineTimer deadline(timeout, Qt::PreciseTimer);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        QThread::msleep(1);
    }
    return true;
}

// Runs the event loop for the whole `duration`: for checking that something
// does not happen.
inline void spin(std::chrono::milliseconds duration)
{
    waitUntil([] { return false; }, duration);
}

} // namespace quillor::test
