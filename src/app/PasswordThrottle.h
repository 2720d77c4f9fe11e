#pragma once

#include <QHash>
#include <QString>
#include <chrono>
#include <functional>

namespace app {

// Makes guessing passwords slow: after a few wrong passwords in a row for
// one user ID, the next try for that ID is answered only once a delay has
// passed since the last wrong one. The delay doubles with each further
// wrong password up to a few seconds; the right password forgets the ID's
// failures. IDs count without regard to case or blanks around, as the
// password table compares them.
class PasswordThrottle {
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;
    // Waits the given time; the real one keeps the windows painting.
    using Waiter = std::function<void(std::chrono::milliseconds)>;

    // Wrong passwords in a row that are answered at once.
    static constexpr int kFreeTries = 3;
    static constexpr std::chrono::seconds kLongestDelay{5};

    // The steady clock, and a wait that runs the event loop without taking
    // the user's input meanwhile.
    PasswordThrottle();
    PasswordThrottle(Clock clock, Waiter waiter);

    // The delay owed after this many wrong passwords in a row.
    static std::chrono::seconds DelayAfter(int failures);

    // What a try for this ID has still to wait now.
    std::chrono::milliseconds Owed(const QString& id) const;
    // Waits what the next try for this ID owes, if anything.
    void AwaitTurn(const QString& id);

    void Refused(const QString& id);
    void Accepted(const QString& id);

    // The sentence a refusal ends with while the ID's tries are slowed
    // down; empty before that.
    QString Notice(const QString& id) const;

private:
    struct Failures {
        int count = 0;
        std::chrono::steady_clock::time_point last;
    };
    static QString Key(const QString& id);

    Clock clock_;
    Waiter waiter_;
    QHash<QString, Failures> failures_;
};

} // namespace app
