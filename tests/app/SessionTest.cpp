#include "app/CurrentUser.h"
#include "base/Errors.h"
#include "app/HospitalInfo.h"
#include "app/SessionContext.h"
#include "app/Startup.h"
#include "base/Texts.h"
#include "cipher/CryptText.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDatabase.h"

#include <gtest/gtest.h>

using testing_support::ScriptedPrompts;
using testing_support::TempDatabase;

namespace {

// A log-in dialog that types one ID and password, or closes at once.
struct TypingLogin : app::LoginView {
    QString id;
    QString password;
    bool close = false;
    app::CurrentUser::LogInResult result = app::CurrentUser::LogInResult::Refused;
    void Run(app::CurrentUser& user) override
    {
        if (!close)
            result = user.LogIn(id, password);
    }
};

app::ConnectionSettings EmbeddedAt(const QString& path)
{
    app::ConnectionSettings settings;
    settings.databasePath = path;
    return settings;
}

void AddUser(TempDatabase& db, const char* id, const char* dept, const QString& password)
{
    db.Insert("tbPasswordMain", {{"EmployeeID", id}, {"departmentid", dept}, {"LastName", "CRUZ"},
                                 {"FirstName", "ANA"},
                                 {"Password", cipher::CryptText("E", "QUENTAVIXLORM", password)}});
}

} // namespace

TEST(RecordError, NumberSourceAndDescription)
{
    try {
        base::RaiseRecordError(9999, "clsItem:OnHand Property Get");
        FAIL();
    } catch (const base::RecordError& e) {
        EXPECT_EQ(e.Number(), -2147211505);
        EXPECT_EQ(e.Source(), "clsItem:OnHand Property Get");
        EXPECT_EQ(e.Description(), "An unknown error has occurred!");
    }
    EXPECT_THROW(base::RaiseRecordError(-262144, "x"), base::RecordError);
    EXPECT_THROW(base::RaiseRecordError(-262145, "x"), std::overflow_error);
}

TEST(NullToDefault, OnlyNullTakesTheDefault)
{
    EXPECT_EQ(base::NullToDefault(QVariant(), 7).toInt(), 7);
    EXPECT_EQ(base::NullToDefault(QVariant(QMetaType(QMetaType::QString)), "x").toString(), "x");
    EXPECT_EQ(base::NullToDefault(0, 7).toInt(), 0);
    EXPECT_EQ(base::NullToDefault(QString(""), "x").toString(), "");
}

TEST(SiteSwitch, OnOnlyWhenTheRowSaysTrue)
{
    TempDatabase db;
    db.Insert("tbPharmaSwitch", {{"idkey", "3"}, {"KeyValue", 1}});
    db.Insert("tbPharmaSwitch", {{"idkey", "4"}, {"KeyValue", 0}});
    EXPECT_TRUE(app::IsSwitchOn(db.Connection(), "3"));
    EXPECT_FALSE(app::IsSwitchOn(db.Connection(), "4"));
    EXPECT_FALSE(app::IsSwitchOn(db.Connection(), "9"));
}

TEST(HospitalInfo, FirstRowFillsTheSession)
{
    TempDatabase db;
    db.Insert("tbHospitalInfo", {{"Company", "ST. LUKE"}, {"Address1", QVariant()}, {"ClientName", "KRV"},
                                 {"AllowWDZeroOnHand", 1}, {"isAutoWithdrawRequestNumber", 1}});
    db.Insert("tbHospitalInfo", {{"Company", "SECOND"}, {"ClientName", "QX"}, {"AllowWDZeroOnHand", 0}});
    app::SessionContext session;
    EXPECT_TRUE(app::LoadHospitalInfo(session, db.Connection()));
    EXPECT_EQ(session.HospitalCompany, "ST. LUKE");
    EXPECT_EQ(session.HospitalAddress, "");
    EXPECT_EQ(session.ClientCode, "KRV");
    EXPECT_TRUE(session.RefuseZeroOnHand);
    EXPECT_FALSE(session.TypedRequestNumber) << "switch 2 is off";
    EXPECT_TRUE(base::ParseDateTime(session.ServerDate).has_value()) << session.ServerDate.toStdString();
}

TEST(HospitalInfo, TypedNumbersFollowTheRecordOnlyWithSwitchTwo)
{
    struct Case { QVariant stored; bool expected; };
    for (const Case& c : {Case{1, true}, Case{0, false}, Case{QVariant(), false}}) {
        TempDatabase db;
        db.Insert("tbPharmaSwitch", {{"idkey", "2"}, {"KeyValue", 1}});
        db.Insert("tbHospitalInfo", {{"ClientName", "X"}, {"AllowWDZeroOnHand", 0},
                                     {"isAutoWithdrawRequestNumber", c.stored}});
        app::SessionContext session;
        app::LoadHospitalInfo(session, db.Connection());
        EXPECT_EQ(session.TypedRequestNumber, c.expected) << c.stored.toString().toStdString();
    }
}

class LogIn : public testing::TestWithParam<testing_support::Backend> {};

TEST_P(LogIn, AdmitsTheDepartmentOrZeroZeroWithTheEncipheredPassword)
{
    TESSARY_SKIP_UNLESS_AVAILABLE(GetParam());
    TempDatabase db(GetParam());
    AddUser(db, "ANA", "4", "Secret1");
    AddUser(db, "BEN", "00", "pw");
    AddUser(db, "CID", "7", "pw");
    app::CurrentUser user(nullptr, db.Settings());
    user.PasswordDeptCode = "4";
    using R = app::CurrentUser::LogInResult;
    EXPECT_EQ(user.LogIn("ANA", "secret1"), R::Refused) << "passwords are case-sensitive";
    EXPECT_EQ(user.LogIn("CID", "pw"), R::Refused) << "another department";
    EXPECT_EQ(user.LogIn("O'HARA", "pw"), R::Refused) << "a quote in the ID is only a wrong ID";
    EXPECT_FALSE(user.Connected());
    EXPECT_EQ(user.LogIn("BEN", "pw"), R::Accepted);
    EXPECT_EQ(user.LogIn("ANA", "Secret1"), R::Accepted);
    EXPECT_TRUE(user.Connected());
    EXPECT_EQ(user.EmployeeCode(), "ANA");
}

INSTANTIATE_TEST_SUITE_P(Backends, LogIn, testing::Values(testing_support::Backend::Embedded, testing_support::Backend::PostgreSql),
                         testing_support::BackendTestName());

TEST(LogInFailure, MissingDatabaseIsReportedNotFatal)
{
    app::CurrentUser user(nullptr, EmbeddedAt("/nonexistent/folder/x.db"));
    QString error;
    EXPECT_EQ(user.LogIn("ANA", "x", &error), app::CurrentUser::LogInResult::Unreachable);
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(user.Connected());
}

TEST(LogInFailure, ServerThatCannotBeReachedOrLacksTheTablesIsReported)
{
    app::ConnectionSettings nowhere;
    nowhere.backend = app::ConnectionSettings::Backend::PostgreSql;
    nowhere.server = db::ServerLogin::FromUrl(QStringLiteral("postgresql://nobody@127.0.0.1:1/tessary"));
    app::CurrentUser unreachable(nullptr, nowhere);
    QString error;
    EXPECT_EQ(unreachable.LogIn("ANA", "x", &error), app::CurrentUser::LogInResult::Unreachable);
    EXPECT_TRUE(error.startsWith("Cannot connect to the server: ")) << error.toStdString();

    TESSARY_SKIP_UNLESS_AVAILABLE(testing_support::Backend::PostgreSql);
    app::ConnectionSettings empty;
    empty.backend = app::ConnectionSettings::Backend::PostgreSql;
    empty.server = db::ServerLogin::FromUrl(qEnvironmentVariable("TESSARY_TEST_PG"));  // a database without our tables
    app::CurrentUser withoutTables(nullptr, empty);
    EXPECT_EQ(withoutTables.LogIn("ANA", "x", &error), app::CurrentUser::LogInResult::Unreachable);
    EXPECT_EQ(error.toStdString(), "relation \"password.tbpasswordmain\" does not exist");
    EXPECT_FALSE(withoutTables.Connected());
}

TEST(Startup, ClosedLogInOpensNothingAndReadsNothing)
{
    TempDatabase db;
    TypingLogin login;
    login.close = true;
    app::CurrentUser user(&login, EmbeddedAt(db.Path()));
    app::SessionContext session;
    ScriptedPrompts prompts; // a read of the empty hospital table would show a message
    bool opened = false;
    EXPECT_FALSE(app::RunStartup(session, user, prompts, [&] { opened = true; }));
    EXPECT_FALSE(opened);
    EXPECT_EQ(user.PasswordDeptCode, "4");
    EXPECT_EQ(session.DefaultLocationID, "");
}

// A user who logs in at once, on a database without a hospital record.
struct StartupFixture {
    TempDatabase db;
    TypingLogin login;
    app::SessionContext session;
    ScriptedPrompts prompts;

    StartupFixture()
    {
        AddUser(db, "ANA", "4", "pw");
        login.id = "ANA";
        login.password = "pw";
    }
};

TEST(Startup, LogsInLoadsTheHospitalAndOpensTheScreen)
{
    StartupFixture f;
    f.db.Insert("tbHospitalInfo", {{"Company", "ST. LUKE"}, {"ClientName", "QX"}, {"AllowWDZeroOnHand", 0}});
    app::CurrentUser user(&f.login, EmbeddedAt(f.db.Path()));
    QString companyWhenOpened;
    EXPECT_TRUE(app::RunStartup(f.session, user, f.prompts, [&] { companyWhenOpened = f.session.HospitalCompany; }));
    EXPECT_EQ(companyWhenOpened, "ST. LUKE");
    EXPECT_EQ(f.session.DefaultLocationID, "94");
    EXPECT_EQ(f.session.RightCode, "A");
    EXPECT_EQ(f.session.ClientCode, "QX");
    EXPECT_EQ(f.session.currentUser, &user);
}

TEST(Startup, WithoutAHospitalRecordSaysSoOnceAndOpensTheScreen)
{
    StartupFixture f;
    app::CurrentUser user(&f.login, EmbeddedAt(f.db.Path()));
    f.prompts.Expect({"No Hospital information was found", "MESSAGE", forms::Icon::Information, forms::Buttons::Ok});
    bool opened = false;
    EXPECT_TRUE(app::RunStartup(f.session, user, f.prompts, [&] { opened = true; }));
    EXPECT_TRUE(opened);
    EXPECT_EQ(f.session.ClientCode, "");
    EXPECT_FALSE(f.session.RefuseZeroOnHand);
}
