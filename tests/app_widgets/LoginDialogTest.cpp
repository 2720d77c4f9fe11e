// The log-in window: its refusal tells when the tries of an ID are slowed
// down, and the right password still gets in.
#include "app/CurrentUser.h"
#include "app/widgets/LoginDialog.h"
#include "cipher/CryptText.h"
#include "support/TempDatabase.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

TEST(LoginDialog, ARefusalSaysWhenTheNextTryIsSlowedDown)
{
    testing_support::TempDatabase db;
    db.Insert("tbPasswordMain",
              {{"EmployeeID", "ANA"}, {"departmentid", "4"}, {"Password", cipher::EncipherPassword("Secret1")}});
    app::CurrentUser user(nullptr, db.Settings());
    user.PasswordDeptCode = "4";
    QList<std::chrono::milliseconds> waits;
    user.WrongPasswords() = app::PasswordThrottle([] { return std::chrono::steady_clock::time_point{}; },
                                                  [&](std::chrono::milliseconds wait) { waits << wait; });

    app::LoginDialog dialog;
    QString refusal;
    int passwordLength = 0;
    QTimer::singleShot(0, &dialog, [&] {
        auto* id = dialog.findChild<QLineEdit*>("txtLoginUserID");
        auto* password = dialog.findChild<QLineEdit*>("txtLoginPassword");
        auto* logIn = dialog.findChild<QPushButton*>("cmdLogIn");
        auto* problem = dialog.findChild<QLabel*>("lblLoginProblem");
        if (id && password && logIn && problem) {
            passwordLength = password->maxLength();
            id->setText("ana");
            for (int i = 0; i < 4; ++i) {
                password->setText("wrong");
                logIn->click();
            }
            refusal = problem->text();
            password->setText("Secret1");
            logIn->click();
        }
        if (dialog.isVisible())
            dialog.done(QDialog::Rejected);
    });
    dialog.Run(user);

    EXPECT_EQ(passwordLength, app::kPasswordBoxLength);
    EXPECT_EQ(refusal, "The user ID or the password is not valid. Please try again. Too many wrong passwords for "
                       "this user ID: the next try is answered after 1 second.");
    EXPECT_EQ(waits, (QList<std::chrono::milliseconds>{std::chrono::seconds(1)}));
    EXPECT_TRUE(user.Connected());
}

// The window names the database it opens and the computer's settings it
// follows; a disabled user's right password is refused with the reason.
TEST(LoginDialog, NamesTheDatabaseAndRefusesADisabledUser)
{
    testing_support::TempDatabase db;
    db.Insert("tbPasswordMain", {{"EmployeeID", "ANA"}, {"departmentid", "4"}, {"isDisabledTessary", 1},
                                 {"Password", cipher::EncipherPassword("Secret1")}});
    app::ConnectionSettings settings = db.Settings();
    settings.source = QStringLiteral("/etc/xdg/Tessary/connection.ini");
    app::CurrentUser user(nullptr, settings);
    user.PasswordDeptCode = "4";

    app::LoginDialog dialog;
    QString database, refusal;
    QTimer::singleShot(0, &dialog, [&] {
        auto* id = dialog.findChild<QLineEdit*>("txtLoginUserID");
        auto* password = dialog.findChild<QLineEdit*>("txtLoginPassword");
        auto* logIn = dialog.findChild<QPushButton*>("cmdLogIn");
        if (id && password && logIn) {
            database = dialog.findChild<QLabel*>("lblLoginDatabase")->text();
            id->setText("ANA");
            password->setText("Secret1");
            logIn->click();
            refusal = dialog.findChild<QLabel*>("lblLoginProblem")->text();
        }
        if (dialog.isVisible())
            dialog.done(QDialog::Rejected);
    });
    dialog.Run(user);

    EXPECT_EQ(database, "Database: " + db.Path() + "\n(this computer's settings: /etc/xdg/Tessary/connection.ini)");
    EXPECT_EQ(refusal, "User ID ANA is disabled: ask the site's administrator to enable it.");
    EXPECT_FALSE(user.Connected());
}
