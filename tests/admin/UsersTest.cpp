// Creating site databases and looking after users: what the admin command
// stores is what the log-in and the supervisor check of the program accept.
#include "admin/AdminError.h"
#include "admin/Databases.h"
#include "admin/Import.h"
#include "admin/Users.h"
#include "app/CurrentUser.h"
#include "app/PasswordThrottle.h"
#include "dialogs/SupervisorPassword.h"
#include "support/ScriptedPrompts.h"
#include "cipher/CryptText.h"
#include "db/DbError.h"
#include "support/FaultyDisk.h"
#include "support/TempDatabase.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>

using testing_support::TempDatabase;

namespace {

QString Enciphered(const char* password)
{
    return cipher::CryptText("E", "QUENTAVIXLORM", QString::fromLatin1(password));
}

// The program's supervisor check for one ID and password.
bool Authorises(db::Connection& connection, const QString& id, const char* password)
{
    return !connection
                .Execute("Select EmployeeId, Password from password..tbpasswordmain where departmentid in ('4','00') "
                         "and Right_Code1 = 'A' and Right_Code2 = 'S' and Employeeid = '"
                         + id + "' and Password = '" + Enciphered(password) + "'")
                .IsEmpty();
}

QStringList UserLocations(TempDatabase& db, const char* id)
{
    QStringList ids;
    const db::RowSet rows = db.Native(
        "SELECT LocationID FROM tbInvUserLocation WHERE UserID = ? ORDER BY LocationID", {QString::fromLatin1(id)});
    for (const db::RowSet::Row& row : rows.Rows())
        ids << row.at(0).toString();
    return ids;
}

admin::NewUser User(const char* id, const char* password, QStringList locations = {})
{
    admin::NewUser user;
    user.id = QString::fromLatin1(id);
    user.lastName = QStringLiteral("SANTOS");
    user.firstName = QStringLiteral("MARIA");
    user.password = QString::fromLatin1(password);
    user.locations = std::move(locations);
    return user;
}

using testing_support::Backend;

// Users are added with the program's statements: on every backend.
class Users : public ::testing::TestWithParam<Backend> {
protected:
    void SetUp() override
    {
        TESSARY_SKIP_UNLESS_AVAILABLE(GetParam());
        for (const char* id : {"94", "20", "30"})
            db.Insert("tbInvLocation", {{"LocationID", id}, {"Location", QStringLiteral("LOCATION %1").arg(id)}});
    }
    TempDatabase db{GetParam()};
};

} // namespace

TEST(SiteDatabase, InitCreatesTheSchemaAndRefusesAnExistingPath)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("new/folder/site.db");   // folders made as needed
    admin::CreateSiteDatabase(path);
    EXPECT_TRUE(admin::OpenSiteDatabase(path)->Execute("Select * From INVENTORY..tbInvLocation").IsEmpty());
    EXPECT_THROW(admin::CreateSiteDatabase(path), db::DbError);

    // Any file at all is left alone.
    const QString other = dir.filePath("notes.txt");
    QFile file(other);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("keep me");
    file.close();
    EXPECT_THROW(admin::CreateSiteDatabase(other), db::DbError);
    EXPECT_THROW(admin::CreateDemoDatabase(other), db::DbError);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "keep me");
}

// A site that could not be made (a full disk while its schema or its rows
// go in) leaves nothing behind, so the same command works once there is room.
TEST(SiteDatabase, InitAndDemoOnAFullDiskLeaveNothingBehind)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("site.db");
    long long schema = 0;
    {
        testing_support::FaultyDisk disk;
        const auto made = admin::CreateSiteDatabase(path);
        schema = disk.Written();  // before the close writes the WAL back
    }
    db::SqliteFile::RemoveFiles(path);
    struct Case { const char* command; std::function<void()> make; };
    const Case cases[] = {
        {"init", [&] { admin::InitSite(path, {"SAN ROQUE MEDICAL CENTER", "", "", "SR"}); }},
        {"demo", [&] { admin::CreateDemoDatabase(path); }},
    };
    for (const Case& c : cases) {
        for (const long long room : {schema / 2, schema + 1}) {
            testing_support::FaultyDisk disk;
            disk.FillAfter(room);
            QString refusal;
            try {
                c.make();
            } catch (const db::DbError& e) {
                refusal = e.Description();
            }
            EXPECT_EQ(refusal, QStringLiteral("The disk of database \"%1\" is full: make room on it, then try again.")
                                   .arg(path)) << c.command << " " << room;
            EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList()) << c.command << " " << room;
        }
        EXPECT_NO_THROW(c.make()) << c.command;
        db::SqliteFile::RemoveFiles(path);
    }
}

TEST_P(Users, VerifierGetsTheRightsTheSettingsRowAndItsLocations)
{
    admin::NewUser user = User("MSANTOS", "Verify1", {"94", "20"});
    user.MakeVerifier();
    admin::AddUser(db.Connection(), user);

    const db::RowSet row = db.Native(
        "SELECT Password, departmentid, Right_Code1, Right_Code2, LastName, FirstName FROM tbPasswordMain "
        "WHERE EmployeeID = 'MSANTOS'");
    ASSERT_EQ(row.RecordCount(), 1);
    EXPECT_EQ(row.Field("Password").toString(), Enciphered("Verify1"));
    EXPECT_EQ(row.Field("departmentid").toString(), "4");
    EXPECT_EQ(row.Field("Right_Code1").toString(), "A");
    EXPECT_EQ(row.Field("Right_Code2").toString(), "S");
    EXPECT_EQ(row.Field("LastName").toString(), "SANTOS");
    EXPECT_EQ(db.Scalar("SELECT isVerifyTessary FROM tbInvUserSettings WHERE UserID = 'MSANTOS'"), 1);
    EXPECT_EQ(UserLocations(db, "MSANTOS"), QStringList({"20", "94"}));

    EXPECT_TRUE(Authorises(db.Connection(), "MSANTOS", "Verify1"));
    EXPECT_FALSE(Authorises(db.Connection(), "MSANTOS", "verify1"));   // case matters
}

TEST_P(Users, RequesterHasNoRightsAndAVerifyFlagOfZero)
{
    admin::NewUser user = User("JDELA", "request", {"30"});
    user.department = QStringLiteral("7");
    admin::AddUser(db.Connection(), user);

    const db::RowSet row = db.Native(
        "SELECT departmentid, Right_Code1, Right_Code2 FROM tbPasswordMain WHERE EmployeeID = 'JDELA'");
    EXPECT_EQ(row.Field("departmentid").toString(), "7");
    EXPECT_TRUE(row.Field("Right_Code1").isNull());
    EXPECT_TRUE(row.Field("Right_Code2").isNull());
    EXPECT_EQ(db.Scalar("SELECT count(*) FROM tbInvUserSettings WHERE UserID = 'JDELA' AND isVerifyTessary = 0"), 1);
    EXPECT_FALSE(Authorises(db.Connection(), "JDELA", "request"));
}

TEST_P(Users, AStoreClerkGetsTheRightToIssueBesideTheVerifyFlag)
{
    admin::NewUser clerk = User("LGARCIA", "issue", {"94"});
    clerk.issueTessary = true;
    admin::AddUser(db.Connection(), clerk);
    admin::NewUser both = User("MSANTOS", "verify", {"94"});
    both.MakeVerifier();
    both.issueTessary = true;
    admin::AddUser(db.Connection(), both);
    admin::AddUser(db.Connection(), User("JDELA", "request", {"30"}));
    const auto rights = [&](const char* id) {
        return db.Scalar(QStringLiteral("SELECT isVerifyTessary * 10 + coalesce(isIssueTessary, 0) FROM "
                                        "tbInvUserSettings WHERE UserID = '%1'").arg(id));
    };
    EXPECT_EQ(rights("LGARCIA"), 1);
    EXPECT_EQ(rights("MSANTOS"), 11);
    EXPECT_EQ(rights("JDELA"), 0);
}

TEST_P(Users, RefusedUserLeavesNothingBehind)
{
    admin::AddUser(db.Connection(), User("MSANTOS", "verify"));
    struct Case { const char* what; admin::NewUser user; };
    const Case cases[] = {
        {"existing ID in another case", User("msantos", "other")},
        {"unknown location after a known one", User("NEWUSER", "x", {"94", "99"})},
        {"empty ID", User("", "x")},
    };
    for (const Case& c : cases)
        EXPECT_THROW(admin::AddUser(db.Connection(), c.user), admin::AdminError) << c.what;

    EXPECT_EQ(db.Scalar("SELECT count(*) FROM tbPasswordMain"), 1);
    EXPECT_EQ(db.Scalar("SELECT count(*) FROM tbInvUserSettings"), 1);
    EXPECT_EQ(db.Scalar("SELECT count(*) FROM tbInvUserLocation"), 0);
    EXPECT_FALSE(db.Connection().InTransaction());
}

TEST_P(Users, PasswordChangeIsWhatTheLogInAccepts)
{
    admin::AddUser(db.Connection(), User("JDELA", "old"));
    admin::SetPassword(db.Connection(), "JDELA", "n3w pass");
    EXPECT_THROW(admin::SetPassword(db.Connection(), "NOBODY", "x"), admin::AdminError);

    app::CurrentUser user(nullptr, app::ConnectionSettings{});
    user.UseConnection(db.OpenAnother());
    user.PasswordDeptCode = QStringLiteral("4");
    EXPECT_EQ(user.LogIn("JDELA", "old"), app::CurrentUser::LogInResult::Refused);
    EXPECT_EQ(user.LogIn("JDELA", "n3w pass"), app::CurrentUser::LogInResult::Accepted);
}

// A password the cipher would store with "?" in place of some characters is
// refused wherever one is given, naming them; nothing is stored.
TEST_P(Users, APasswordThatCannotBeStoredAsTypedIsRefused)
{
    const QString expected = QString::fromUtf8(
        "Password has characters that cannot be stored: \"п\", \"а\", \"р\", \"о\", \"л\", \"ь\"; a password "
        "keeps Western European letters, digits and signs only.");
    const auto refusal = [](const std::function<void()>& action) {
        try {
            action();
        } catch (const admin::AdminError& e) {
            return e.Message();
        }
        return QStringLiteral("stored");
    };
    admin::NewUser user = User("JDELA", "");
    user.password = QString::fromUtf8("päss-пароль");
    EXPECT_EQ(refusal([&] { admin::AddUser(db.Connection(), user); }), expected);
    EXPECT_EQ(db.Scalar("SELECT count(*) FROM tbPasswordMain"), 0);

    admin::AddUser(db.Connection(), User("JDELA", "request"));
    EXPECT_EQ(refusal([&] { admin::SetPassword(db.Connection(), "JDELA", QString::fromUtf8("päss-пароль")); }),
              expected);
    EXPECT_TRUE(refusal([&] { admin::SetPassword(db.Connection(), "JDELA", QString::fromUtf8("naïve€")); }) == "stored");
    app::CurrentUser login(nullptr, app::ConnectionSettings{});
    login.UseConnection(db.OpenAnother());
    login.PasswordDeptCode = QStringLiteral("4");
    EXPECT_EQ(login.LogIn("JDELA", QString::fromUtf8("naïve€")), app::CurrentUser::LogInResult::Accepted);
}

// A disabled user's right password gets them neither in nor authorising,
// with the reason said; a wrong one is refused as before. A users import
// that updates them keeps the mark; enabling undoes it.
TEST_P(Users, ADisabledUserNeitherLogsInNorAuthorisesUntilEnabled)
{
    admin::NewUser boss = User("MSANTOS", "verify", {"94"});
    boss.MakeVerifier();
    admin::AddUser(db.Connection(), boss);
    admin::SetUserDisabled(db.Connection(), "msantos", true);
    EXPECT_THROW(admin::SetUserDisabled(db.Connection(), "NOBODY", true), admin::AdminError);

    app::CurrentUser user(nullptr, app::ConnectionSettings{});
    user.UseConnection(db.OpenAnother());
    user.PasswordDeptCode = app::kProgramDepartment;
    EXPECT_EQ(user.LogIn("MSANTOS", "verify"), app::CurrentUser::LogInResult::Disabled);
    EXPECT_FALSE(user.Connected());
    EXPECT_EQ(user.LogIn("MSANTOS", "wrong"), app::CurrentUser::LogInResult::Refused);

    testing_support::ScriptedPrompts prompts;
    app::PasswordThrottle wrongPasswords;
    dialogs::SupervisorPassword dialog(db.Connection(), prompts, wrongPasswords);
    const auto authorise = [&] {
        dialog.BeginRun();
        dialog.Activate();
        dialog.txtUserID.SetText("MSANTOS");
        dialog.txtPassword.SetText("verify");
        dialog.ClickEnter();
        return dialog.OKCharge();
    };
    prompts.Expect({"User ID MSANTOS is disabled: ask the site's administrator to enable it.", "Tessary",
                    forms::Icon::Information, forms::Buttons::Ok});
    EXPECT_FALSE(authorise());
    EXPECT_TRUE(dialog.IsOpen());

    admin::ImportRecords(db.Connection(), admin::ImportKind::Users,
                         admin::ReadCsv(u"id,last_name,first_name,supervisor\nMSANTOS,SANTOS,MARIA,1\n"),
                         {.update = true});
    EXPECT_EQ(user.LogIn("MSANTOS", "verify"), app::CurrentUser::LogInResult::Disabled);
    EXPECT_EQ(admin::ListUsers(db.Connection()).value(0).NoLogIn(), "disabled");

    admin::SetUserDisabled(db.Connection(), "MSANTOS", false);
    EXPECT_EQ(user.LogIn("MSANTOS", "verify"), app::CurrentUser::LogInResult::Accepted);
    dialog.Close(forms::DialogResult::Rejected);
    EXPECT_TRUE(authorise());
}

// The verify right is the supervisor's rights and the settings row's flag
// together; taking it from a user without a settings row makes one, since
// without it the request screen shows Verify/Save.
TEST_P(Users, TheVerifyRightGivesVerifySaveAndAuthorising)
{
    admin::AddUser(db.Connection(), User("JDELA", "request", {"94"}));
    db.Insert("tbPasswordMain", {{"EmployeeID", "RLIM"}, {"departmentid", "00"}, {"Right_Code1", "A"},
                                 {"Right_Code2", "S"}, {"Password", Enciphered("lim")}});
    const auto listed = [&](const char* id) {
        for (const admin::UserListing& user : admin::ListUsers(db.Connection()))
            if (user.id == QLatin1String(id))
                return std::pair{user.verifyButton, user.authorises};
        return std::pair{false, false};
    };
    EXPECT_EQ(listed("RLIM"), std::pair(true, true));
    EXPECT_EQ(listed("JDELA"), std::pair(false, false));

    admin::SetVerifyRight(db.Connection(), "jdela", true);
    admin::SetVerifyRight(db.Connection(), "RLIM", false);
    EXPECT_EQ(listed("JDELA"), std::pair(true, true));
    EXPECT_TRUE(Authorises(db.Connection(), "JDELA", "request"));
    EXPECT_EQ(listed("RLIM"), std::pair(false, false));
    EXPECT_FALSE(Authorises(db.Connection(), "RLIM", "lim"));
    EXPECT_EQ(db.Scalar("SELECT count(*) FROM tbInvUserSettings WHERE UserID = 'RLIM' AND isVerifyTessary = 0"), 1);
    EXPECT_THROW(admin::SetVerifyRight(db.Connection(), "NOBODY", true), admin::AdminError);
}

// The list says who cannot log in and why, as the log-in would refuse them.
TEST_P(Users, TheListSaysWhoCannotLogInAndWhy)
{
    admin::AddUser(db.Connection(), User("JDELA", "request", {"94", "20"}));
    admin::AddUser(db.Connection(), User("NOPASS", ""));
    admin::NewUser other = User("AREYES", "reyes");
    other.department = QStringLiteral("7");
    admin::AddUser(db.Connection(), other);
    admin::AddUser(db.Connection(), User("GONE", "gone"));
    admin::SetUserDisabled(db.Connection(), "GONE", true);

    QStringList reasons;
    for (const admin::UserListing& user : admin::ListUsers(db.Connection()))
        reasons << user.id + ": " + user.NoLogIn();
    EXPECT_EQ(reasons, (QStringList{"AREYES: department 7", "GONE: disabled", "JDELA: ", "NOPASS: no password"}));
    const QString table = admin::DescribeUsers(admin::ListUsers(db.Connection()));
    EXPECT_TRUE(table.contains(QRegularExpression("JDELA +SANTOS, MARIA +4 +yes +no +no +no +20 94\n")))
        << table.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Backends, Users, testing::ValuesIn(testing_support::AllBackends()), testing_support::BackendTestName());
