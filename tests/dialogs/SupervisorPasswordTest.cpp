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
    dialogs::SupervisorPassword dialog(db.Connection(), prompts);
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

INSTANTIATE_TEST_SUITE_P(Backends, GetPassword, testing::ValuesIn(testing_support::AllBackends()),
                         testing_support::BackendTestName());
