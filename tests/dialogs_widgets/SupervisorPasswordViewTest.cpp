#include "app/CurrentUser.h"
#include "app/PasswordThrottle.h"
#include "cipher/CryptText.h"
#include "dialogs/SupervisorPassword.h"
#include "dialogs/widgets/SupervisorPasswordView.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDatabase.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

TEST(SupervisorPasswordView, TypedIdAndPasswordWithEnterAccept)
{
    testing_support::TempDatabase db;
    db.Insert("tbPasswordMain", {{"EmployeeID", "BOSS"}, {"departmentid", "4"}, {"Right_Code1", "A"},
                                 {"Right_Code2", "S"}, {"Password", cipher::EncipherPassword("Chief1")}});
    testing_support::ScriptedPrompts prompts;
    app::PasswordThrottle wrongPasswords;
    dialogs::SupervisorPassword dialog(db.Connection(), prompts, wrongPasswords);
    auto view = dialogs::MakeSupervisorPasswordView(dialog, nullptr);
    dialog.BeginRun();
    view->show();
    QApplication::processEvents();
    auto* userId = view->findChild<QLineEdit*>("txtUserID");
    auto* password = view->findChild<QLineEdit*>("txtPassword");
    ASSERT_TRUE(userId && password);
    EXPECT_EQ(view->windowTitle(), "Password");
    EXPECT_EQ(password->echoMode(), QLineEdit::Password);
    EXPECT_EQ(password->maxLength(), app::kPasswordBoxLength);

    QTest::keyClicks(userId, "BOSS");
    QTest::keyClick(userId, Qt::Key_Return);
    EXPECT_EQ(dialog.focus.Current(), &dialog.txtPassword);
    QTest::keyClicks(password, "Chief1");
    QTest::keyClick(password, Qt::Key_Return);
    EXPECT_TRUE(dialog.OKCharge());
    EXPECT_EQ(dialog.VerifyID(), "BOSS");
}
