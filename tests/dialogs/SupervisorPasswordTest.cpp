#include "app/CurrentUser.h"
#include "app/PasswordThrottle.h"
#include "cipher/CryptText.h"
#include "dialogs/SupervisorPassword.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDatabase.h"

#include <gtest/gtest.h>

using testing_support::ScriptedPrompts;
using testing_support::TempDatabase;

namespace {

void AddUser(TempDatabase& db, const char* id, const char* dept, const char* right2, const char* password)
{
    db.Insert("tbPasswordMain", {{"EmployeeID", id}, {"departmentid", dept}, {"Right_Code1", "A"},
                                 {"Right_Code2", right2}, {"Password", cipher::EncipherPassword(password)}});
}

} // namespace

class GetPassword : public testing::TestWithParam<testing_support::Backend> {};

TEST_P(GetPassword, OnlyAuthorisingUsersWithTheirPassword)
{
    TESSARY_SKIP_UNLESS_AVAILABLE(GetParam());
    TempDatabase db(GetParam());
    AddUser(db, "BOSS", "00", "S", "Chief1");
    AddUser(db, "HEAD", "4", "S", "pw");
    AddUser(db, "CLERK", "4", "U", "pw");
    AddUser(db, "OTHER", "7", "S", "pw");
    struct Case { const char* id; const char* password; bool accepted; };
    const Case cases[] = {
        {"BOSS", "Chief1", true}, {"BOSS", "chief1", false}, {"HEAD", "pw", true},
        {"CLERK", "pw", false}, {"OTHER", "pw", false}, {"NOBODY", "pw", false}, {"O'HARA", "pw", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(dialogs::GetPassword(db.Connection(), c.id, c.password), c.accepted) << c.id << "/" << c.password;
}

TEST(SupervisorPassword, WrongThenRightWithBlanksAround)
{
    TempDatabase db;
    AddUser(db, "BOSS", "00", "S", "Chief1");
    ScriptedPrompts prompts;
    app::PasswordThrottle wrongPasswords;
    dialogs::SupervisorPassword dialog(db.Connection(), prompts, wrongPasswords);
    dialog.BeginRun();
    dialog.Activate();
    EXPECT_EQ(dialog.focus.Current(), &dialog.txtUserID);
    dialog.txtUserID.SetText("  BOSS ");
    dialog.EnterInUserID();
    EXPECT_EQ(dialog.focus.Current(), &dialog.txtPassword);

    dialog.txtPassword.SetText("wrong");
    prompts.Expect({"Password not valid!", "Tessary", forms::Icon::Information, forms::Buttons::Ok});
    dialog.EnterInPassword();
    EXPECT_TRUE(dialog.IsOpen());
    EXPECT_FALSE(dialog.OKCharge());
    EXPECT_EQ(dialog.focus.Current(), &dialog.txtPassword);
    EXPECT_EQ(dialog.txtUserID.Text(), "  BOSS ") << "both boxes keep their text";

    dialog.txtPassword.SetText("Chief1");
    dialog.cmdEnter.Click();
    EXPECT_FALSE(dialog.IsOpen());
    EXPECT_TRUE(dialog.OKCharge());
    EXPECT_EQ(dialog.VerifyID(), "BOSS");

    // A new showing starts afresh, and Esc leaves nothing accepted.
    dialog.BeginRun();
    dialog.Activate();
    EXPECT_FALSE(dialog.OKCharge());
    EXPECT_EQ(dialog.VerifyID(), "");
    dialog.Escape();
    EXPECT_FALSE(dialog.IsOpen());
    EXPECT_EQ(dialog.Result(), forms::DialogResult::Rejected);
    EXPECT_FALSE(dialog.OKCharge());
}

namespace {

// The dialog on a database with one supervisor, its throttle on a clock that
// only the waits move.
struct ThrottledDialog {
    TempDatabase db;
    ScriptedPrompts prompts;
    std::chrono::steady_clock::time_point now{};
    QList<std::chrono::milliseconds> waits;
    app::PasswordThrottle wrongPasswords{[this] { return now; }, [this](std::chrono::milliseconds wait) {
                                             waits << wait;
                                             now += wait;
                                         }};
    dialogs::SupervisorPassword dialog{db.Connection(), prompts, wrongPasswords};

    ThrottledDialog()
    {
        AddUser(db, "BOSS", "00", "S", "Chief1");
        dialog.BeginRun();
        dialog.Activate();
        dialog.txtUserID.SetText("BOSS");
    }

    void Try(const QString& password)
    {
        dialog.txtPassword.SetText(password);
        dialog.ClickEnter();
    }
};

} // namespace

TEST(SupervisorPassword, TheBoxTakesWhatTheLogInTakesAndACipherRefusalLeavesTheDialogUsable)
{
    ThrottledDialog f;
    f.dialog.txtPassword.SetText(QString(40000, QLatin1Char('x')));
    EXPECT_EQ(f.dialog.txtPassword.Text().size(), app::kPasswordBoxLength);

    // Were the box ever longer, the cipher's refusal is told, not fatal.
    f.dialog.txtPassword.SetMaxLength(0);
    f.prompts.Expect({"CryptText: text or key too long", "Tessary", forms::Icon::Critical, forms::Buttons::Ok});
    f.Try(QString(40000, QLatin1Char('x')));
    EXPECT_TRUE(f.dialog.IsOpen());
    EXPECT_EQ(f.dialog.focus.Current(), &f.dialog.txtPassword);
    f.Try("Chief1");
    EXPECT_TRUE(f.dialog.OKCharge());
    EXPECT_TRUE(f.prompts.AllAnswered());
}

TEST(SupervisorPassword, RepeatedWrongPasswordsAreAnsweredMoreSlowlyAndSaySo)
{
    ThrottledDialog f;
    const QString refused = "Password not valid!";
    const QString slowed = " Too many wrong passwords for this user ID: the next try is answered after %1.";
    for (const QString& text : {refused, refused, refused, refused + QString(slowed).arg("1 second"),
                                refused + QString(slowed).arg("2 seconds")})
        f.prompts.Expect({text, "Tessary", forms::Icon::Information, forms::Buttons::Ok});
    for (int i = 0; i < 5; ++i)
        f.Try(QStringLiteral("guess%1").arg(i));
    EXPECT_EQ(f.waits, (QList<std::chrono::milliseconds>{std::chrono::seconds(1)}));

    // An empty password is no guess; the right one waits its turn, gets in
    // and forgets the wrong ones.
    f.prompts.Expect({refused, "Tessary", forms::Icon::Information, forms::Buttons::Ok});
    f.Try("");
    f.Try("Chief1");
    EXPECT_EQ(f.waits, (QList<std::chrono::milliseconds>{std::chrono::seconds(1), std::chrono::seconds(2)}));
    EXPECT_TRUE(f.dialog.OKCharge());
    EXPECT_EQ(f.wrongPasswords.Owed("BOSS").count(), 0);
    EXPECT_EQ(f.wrongPasswords.Notice("BOSS"), "");
    EXPECT_TRUE(f.prompts.AllAnswered());
}

INSTANTIATE_TEST_SUITE_P(Backends, GetPassword, testing::ValuesIn(testing_support::AllBackends()),
                         testing_support::BackendTestName());
