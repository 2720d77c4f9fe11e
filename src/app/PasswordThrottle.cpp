#include "app/PasswordThrottle.h"

#include <QEventLoop>
#include <QTimer>

#include <algorithm>

namespace app {

namespace {

// User input that arrives meanwhile waits for the loop that comes after:
// a second click cannot start a second try inside the first.
void WaitPainting(std::chrono::milliseconds wait)
{
    QEventLoop loop;
    QTimer::singleShot(wait, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

} // namespace

PasswordThrottle::PasswordThrottle()
    : PasswordThrottle([] { return std::chrono::steady_clock::now(); }, &WaitPainting) {}

PasswordThrottle::PasswordThrottle(Clock clock, Waiter waiter) : clock_(std::move(clock)), waiter_(std::move(waiter)) {}

std::chrono::seconds PasswordThrottle::DelayAfter(int failures)
{
    if (failures <= kFreeTries)
        return std::chrono::seconds(0);
    // Doubling from one second; the shift stops long before it could overflow.
    const int doublings = std::min(failures - kFreeTries - 1, 16);
    return std::min(std::chrono::seconds(1LL << doublings), kLongestDelay);
}

QString PasswordThrottle::Key(const QString& id)
{
    return id.trimmed().toUpper();
}

std::chrono::milliseconds PasswordThrottle::Owed(const QString& id) const
{
    const auto found = failures_.constFind(Key(id));
    if (found == failures_.cend())
        return std::chrono::milliseconds(0);
    const auto due = found->last + DelayAfter(found->count);
    const auto now = clock_();
    if (now >= due)
        return std::chrono::milliseconds(0);
    return std::chrono::ceil<std::chrono::milliseconds>(due - now);
}

void PasswordThrottle::AwaitTurn(const QString& id)
{
    const std::chrono::milliseconds owed = Owed(id);
    if (owed.count() > 0)
        waiter_(owed);
}

void PasswordThrottle::Refused(const QString& id)
{
    Failures& failures = failures_[Key(id)];
    ++failures.count;
    failures.last = clock_();
}

void PasswordThrottle::Accepted(const QString& id)
{
    failures_.remove(Key(id));
}

QString PasswordThrottle::Notice(const QString& id) const
{
    const auto found = failures_.constFind(Key(id));
    if (found == failures_.cend())
        return QString();
    const qint64 seconds = DelayAfter(found->count).count();
    if (seconds == 0)
        return QString();
    return QStringLiteral("Too many wrong passwords for this user ID: the next try is answered after %1 %2.")
        .arg(seconds)
        .arg(seconds == 1 ? QStringLiteral("second") : QStringLiteral("seconds"));
}

} // namespace app
