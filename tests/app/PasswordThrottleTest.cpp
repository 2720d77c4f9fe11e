#include "app/CurrentUser.h"
#include "app/PasswordThrottle.h"
#include "cipher/CryptText.h"
#include "support/TempDatabase.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace std::chrono_literals;
using app::PasswordThrottle;

namespace {

// A clock that only the test moves, and a waiter that notes each wait and
// lets that much time pass on the clock.
struct FakeTime {
    std::chrono::steady_clock::time_point now{};
    QList<std::chrono::milliseconds> waits;

    PasswordThrottle Throttle()
    {
        return PasswordThrottle([this] { return now; }, [this](std::chrono::milliseconds wait) {
            waits << wait;
            now += wait;
        });
    }
};

} // namespace

TEST(PasswordThrottle, TheDelayGrowsWithTheWrongPasswordsUpToAFewSeconds)
{
    const std::pair<int, std::chrono::seconds> cases[] = {
        {0, 0s}, {1, 0s}, {3, 0s}, {4, 1s}, {5, 2s}, {6, 4s}, {7, 5s}, {8, 5s}, {200, 5s}, {1'000'000, 5s},
    };
    for (const auto& [failures, delay] : cases)
        EXPECT_EQ(PasswordThrottle::DelayAfter(failures), delay) << failures;
}

TEST(PasswordThrottle, ATryWaitsWhatIsLeftOfTheDelayForItsIdOnly)
{
    FakeTime time;
    PasswordThrottle throttle = time.Throttle();
    for (int i = 0; i < 3; ++i)
        throttle.Refused("jdela");
    EXPECT_EQ(throttle.Owed("JDELA"), 0ms);
    EXPECT_EQ(throttle.Notice("JDELA"), "");

    throttle.Refused(" JDela ");  // the same ID, as the password table compares it
    EXPECT_EQ(throttle.Notice("JDELA"),
              "Too many wrong passwords for this user ID: the next try is answered after 1 second.");
    time.now += 400ms;  // the user took that long to type again
    EXPECT_EQ(throttle.Owed("jdela"), 600ms);
    EXPECT_EQ(throttle.Owed("MSANTOS"), 0ms);
    throttle.AwaitTurn("MSANTOS");
    throttle.AwaitTurn("jdela");
    EXPECT_EQ(time.waits, (QList<std::chrono::milliseconds>{600ms}));
    EXPECT_EQ(throttle.Owed("jdela"), 0ms);

    throttle.Refused("jdela");
    EXPECT_EQ(throttle.Notice("jdela"),
              "Too many wrong passwords for this user ID: the next try is answered after 2 seconds.");
    time.now += 10s;  // a try long after the last wrong one waits nothing
    throttle.AwaitTurn("jdela");
    EXPECT_EQ(time.waits.size(), 1);

    throttle.Accepted("JDELA");
    throttle.Refused("JDELA");
    EXPECT_EQ(throttle.Owed("JDELA"), 0ms);
    EXPECT_EQ(throttle.Notice("JDELA"), "");
}

// 200 wrong passwords in a row: from the fourth on each try waits, never
// more than the longest delay; the right one still gets in and starts the
// count afresh. Another ID is not slowed down meanwhile.
TEST(LogInThrottle, WrongPasswordsForOneIdAreAnsweredMoreSlowly)
{
    testing_support::TempDatabase db;
    for (const char* id : {"ANA", "BEN"})
        db.Insert("tbPasswordMain", {{"EmployeeID", id}, {"departmentid", "4"},
                                     {"Password", cipher::EncipherPassword("Secret1")}});
    FakeTime time;
    app::CurrentUser user(nullptr, db.Settings());
    user.PasswordDeptCode = "4";
    user.WrongPasswords() = time.Throttle();
    using R = app::CurrentUser::LogInResult;

    for (int i = 0; i < 200; ++i)
        ASSERT_EQ(user.LogIn("ANA", QStringLiteral("guess%1").arg(i)), R::Refused);
    ASSERT_EQ(time.waits.size(), 200 - PasswordThrottle::kFreeTries - 1);
    EXPECT_EQ(time.waits.mid(0, 4), (QList<std::chrono::milliseconds>{1s, 2s, 4s, 5s}));
    EXPECT_EQ(time.waits.last(), 5s);
    EXPECT_EQ(*std::max_element(time.waits.begin(), time.waits.end()), 5s);
    EXPECT_EQ(user.WrongPasswords().Notice("ANA"),
              "Too many wrong passwords for this user ID: the next try is answered after 5 seconds.");

    time.waits.clear();
    EXPECT_EQ(user.LogIn("BEN", "Secret1"), R::Accepted);
    EXPECT_TRUE(time.waits.isEmpty());
    EXPECT_EQ(user.LogIn("ANA", ""), R::Refused);  // no password tried: answered at once
    EXPECT_TRUE(time.waits.isEmpty());
    EXPECT_EQ(user.LogIn("ANA", "Secret1"), R::Accepted);
    EXPECT_EQ(time.waits, (QList<std::chrono::milliseconds>{5s}));
    EXPECT_EQ(user.LogIn("ANA", "wrong"), R::Refused);
    EXPECT_EQ(user.WrongPasswords().Notice("ANA"), "");
}
