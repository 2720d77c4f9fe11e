#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <functional>

namespace testing_support {

// Handles the thread's events (results that another thread posts to it)
// until `done` holds; false if it never did. The deadline only ends a test
// that would otherwise hang: nothing here waits for a time to pass.
inline bool EventsUntil(const std::function<bool()>& done)
{
    const QDeadlineTimer deadline(30000);
    while (!done() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    return done();
}

} // namespace testing_support
