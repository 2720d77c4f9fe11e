// What a site sets without SQL: its hospital record and switches, as the
// program then reads them; where the workstations find the site; and the
// upgrade that brings an earlier site up to this version.
#include "admin/AdminError.h"
#include "admin/Databases.h"
#include "admin/Site.h"
#include "admin/Users.h"
#include "admin/Workstation.h"
#include "app/CurrentUser.h"
#include "app/HospitalInfo.h"
#include "app/SessionContext.h"
#include "cipher/CryptText.h"
#include "db/Catalog.h"
#include "db/DbError.h"
#include "db/SqliteFile.h"
#include "db/TsqlFunctions.h"
#include "support/ConfigFolders.h"
#include "support/TempDatabase.h"

#include <QFile>
#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>
#include <sqlite3.h>

using testing_support::Backend;
using testing_support::TempDatabase;

namespace {

class Site : public ::testing::TestWithParam<Backend> {
protected:
    void SetUp() override { TESSARY_SKIP_UNLESS_AVAILABLE(GetParam()); }
    TempDatabase db{GetParam()};
};

admin::SiteChange Options(const QStringList& options)
{
    return admin::SiteChange::FromOptions(options);
}

app::CurrentUser::LogInResult LogIn(const TempDatabase& db, const QString& id, const QString& password)
{
    app::CurrentUser user(nullptr, app::ConnectionSettings{});
    user.UseConnection(db.OpenAnother());
    user.PasswordDeptCode = app::kProgramDepartment;
    return user.LogIn(id, password);
}

} // namespace

// A site without a hospital record or switch rows gets them from the
// command, and the program reads what was set: by switch name or number.
TEST_P(Site, SettingsSetByNameAndNumberAreWhatTheProgramReads)
{
    db::Connection& c = db.Connection();
    const admin::SiteSettings empty = admin::ReadSiteSettings(c);
    EXPECT_EQ(empty.hospitalRecords, 0);
    EXPECT_TRUE(admin::DescribeSiteSettings(empty).contains("No hospital record"));
    for (const admin::SiteSettings::Switch& s : empty.switches)
        EXPECT_FALSE(s.stored || s.on) << s.what.name.toStdString();

    admin::ChangeSiteSettings(c, Options({"--hospital", "SAN ROQUE MEDICAL CENTER", "--switch", "stock-limit=on",
                                          "--switch", "2=on", "--typed-numbers", "on"}));
    app::SessionContext session;
    ASSERT_TRUE(app::LoadHospitalInfo(session, c)) << "a record the program starts with: no NULL site code";
    EXPECT_EQ(session.HospitalCompany, "SAN ROQUE MEDICAL CENTER");
    EXPECT_EQ(session.ClientCode, "");
    EXPECT_TRUE(session.TypedRequestNumber);
    EXPECT_FALSE(session.RefuseZeroOnHand);
    EXPECT_TRUE(app::IsSwitchOn(c, "5"));
    EXPECT_FALSE(app::IsSwitchOn(c, "3"));

    // Of two records the program reads the first: both are set alike.
    db.Insert("tbHospitalInfo", {{"Company", "OLD NAME"}, {"ClientName", "X"}, {"AllowWDZeroOnHand", 0}});
    admin::ChangeSiteSettings(c, Options({"--code", "QX", "--refuse-zero-on-hand", "yes", "--switch", "STOCK-LIMIT=off"}));
    EXPECT_EQ(db.Scalar("SELECT count(*) FROM tbHospitalInfo WHERE ClientName = 'QX' AND AllowWDZeroOnHand = 1"), 2);
    EXPECT_EQ(db.Scalar("SELECT count(*) FROM tbHospitalInfo WHERE Company = 'SAN ROQUE MEDICAL CENTER'"), 1);
    EXPECT_FALSE(app::IsSwitchOn(c, "5"));
    EXPECT_EQ(db.Scalar("SELECT count(*) FROM tbPharmaSwitch"), 2) << "rows made for the switches set only";

    const QString shown = admin::DescribeSiteSettings(admin::ReadSiteSettings(c));
    for (const char* part : {"2 hospital records", "site code              QX", "refuse zero on hand    on",
                             "3 consumption-only    off (no row)", "5 stock-limit         off"})
        EXPECT_TRUE(shown.contains(QLatin1String(part))) << part << " in\n" << shown.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Backends, Site, testing::ValuesIn(testing_support::AllBackends()),
                         testing_support::BackendTestName());

TEST(SiteOptions, WhatCannotBeReadIsNamed)
{
    const QStringList cases[] = {
        {"--switch", "9=on"}, {"--switch", "stock-limit"}, {"--switch", "stock-limit=maybe"},
        {"--typed-numbers", "maybe"}, {"--code"}, {"--colour", "red"},
    };
    for (const QStringList& options : cases)
        EXPECT_THROW(Options(options), admin::AdminError) << options.join(' ').toStdString();
    EXPECT_TRUE(Options({}).IsEmpty());
    EXPECT_EQ(Options({"--switch", " Fixed-Request-To = off"}).switches.size(), 1);
}

// A site made without a site code (init without --code) is one the program
// starts on: the code is stored empty, not NULL ("Invalid use of Null").
TEST(NewSite, WithoutACodeTheProgramStartsOnIt)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("site.db");
    admin::Hospital hospital;
    hospital.name = QStringLiteral("SAN ROQUE MEDICAL CENTER");
    admin::InitSite(path, hospital);
    app::SessionContext session;
    EXPECT_TRUE(app::LoadHospitalInfo(session, *admin::OpenSiteDatabase(path)));
    EXPECT_EQ(session.ClientCode, "");
}

// `connect --system` points every user of the computer without settings of
// their own at the site; what does not open is refused and nothing written.
TEST(Connect, TheComputersSettingsLeadEveryUserWithoutTheirOwnToTheSite)
{
    testing_support::ConfigFolders folders;
    using Scope = app::ConnectionSettings::Scope;
    TempDatabase site;
    site.Insert("tbPasswordMain", {{"EmployeeID", "ANA"}, {"departmentid", "4"},
                                   {"Password", cipher::EncipherPassword("Secret1")}});
    QFile foreign(folders.Path("notes.db"));
    ASSERT_TRUE(foreign.open(QIODevice::WriteOnly));
    foreign.write("not a database");
    foreign.close();
    for (const QString& bad : {folders.Path("none.db"), folders.Path("notes.db")}) {
        EXPECT_THROW(admin::ConnectProgram(bad, Scope::Computer), admin::AdminError) << bad.toStdString();
        EXPECT_FALSE(QFile::exists(app::ConnectionSettings::SystemSettingsFilePath()));
    }

    EXPECT_TRUE(admin::ConnectProgram(site.Path(), Scope::Computer).startsWith("Every user of this computer"));
    const app::ConnectionSettings loaded = app::ConnectionSettings::Load();
    EXPECT_EQ(loaded.source, app::ConnectionSettings::SystemSettingsFilePath());
    app::CurrentUser user(nullptr, loaded);
    user.PasswordDeptCode = app::kProgramDepartment;
    EXPECT_EQ(user.LogIn("ANA", "Secret1"), app::CurrentUser::LogInResult::Accepted);
    EXPECT_TRUE(admin::DescribeConnection().contains(site.Path()));

    EXPECT_TRUE(admin::ConnectProgram(site.Path(), Scope::User).startsWith("You now open"));
    EXPECT_EQ(app::ConnectionSettings::Load().source, app::ConnectionSettings::SettingsFilePath());
}

// A server is kept without its password; a server database that holds no
// site is refused.
TEST(Connect, AServerIsKeptWithoutItsPassword)
{
    TESSARY_SKIP_UNLESS_AVAILABLE(Backend::PostgreSql);
    testing_support::ConfigFolders folders;
    using Scope = app::ConnectionSettings::Scope;
    TempDatabase site(Backend::PostgreSql);
    const QString url = site.Settings().ServerLogin().ToUrl();
    EXPECT_THROW(admin::ConnectProgram(qEnvironmentVariable("TESSARY_TEST_PG"), Scope::Computer), admin::AdminError);

    QUrl withPassword(url);
    withPassword.setPassword(QStringLiteral("pw-in-url"));
    admin::ConnectProgram(withPassword.toString(), Scope::Computer);
    QFile file(app::ConnectionSettings::SystemSettingsFilePath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_FALSE(file.readAll().contains("pw-in-url"));
    EXPECT_EQ(app::ConnectionSettings::Load().Target(), url);
}

namespace {

// A file of layout 6: no mark of a disabled user; one user in it.
QString LayoutSixFile(const QTemporaryDir& dir)
{
    const QString path = dir.filePath(QStringLiteral("six.db"));
    db::TableDef passwords = *db::Catalog::Instance().FindTable(QStringLiteral("tbPasswordMain"));
    passwords.columns.removeIf([](const db::ColumnDef& c) { return c.name == QLatin1String("isDisabledTessary"); });
    QStringList ddl;
    for (const db::TableDef& table : db::Catalog::Instance().Tables())
        ddl << db::Catalog::SqliteTableDdl(table.name == passwords.name ? passwords : table, table.name);
    sqlite3* handle = nullptr;
    EXPECT_EQ(sqlite3_open(path.toUtf8().constData(), &handle), SQLITE_OK);
    db::RegisterSqliteFunctions(handle);
    const QByteArray sql =
        (ddl.join(QStringLiteral(";\n"))
         + QStringLiteral(";\nINSERT INTO tbPasswordMain (EmployeeID, Password, departmentid) VALUES ('ANA', '%1', '4');"
                          "PRAGMA application_id=%2; PRAGMA user_version=6")
               .arg(cipher::EncipherPassword(QStringLiteral("Secret1")))
               .arg(db::SqliteFile::kApplicationId))
            .toUtf8();
    EXPECT_EQ(sqlite3_exec(handle, sql.constData(), nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(handle);
    sqlite3_close(handle);
    return path;
}

} // namespace

TEST(Upgrade, ALayoutSixFileGetsTheMarkOfADisabledUserAndKeepsItsUsers)
{
    QTemporaryDir dir;
    const QString six = LayoutSixFile(dir);
    EXPECT_THROW(admin::OpenSiteDatabase(six), db::DbError);
    EXPECT_EQ(admin::UpgradeSiteDatabase(six),
              QStringLiteral("The database \"%1\" was upgraded from layout 6 to 7.").arg(six));
    const auto c = admin::OpenSiteDatabase(six);
    app::CurrentUser user(nullptr, app::ConnectionSettings::ForTarget(six));
    user.PasswordDeptCode = app::kProgramDepartment;
    EXPECT_EQ(user.LogIn("ANA", "Secret1"), app::CurrentUser::LogInResult::Accepted);
    admin::SetUserDisabled(*c, "ANA", true);
    EXPECT_EQ(user.LogIn("ANA", "Secret1"), app::CurrentUser::LogInResult::Disabled);
}

// A PostgreSQL site made before the stock movements and the mark of a
// disabled user: everything else works there, disabling is refused until
// the upgrade adds what is missing, rows kept.
TEST(Upgrade, APostgreSqlSiteGetsWhatThisVersionAdded)
{
    TESSARY_SKIP_UNLESS_AVAILABLE(Backend::PostgreSql);
    TempDatabase db(Backend::PostgreSql);
    db.DiscardAfterUse();
    db.Insert("tbPasswordMain", {{"EmployeeID", "ANA"}, {"departmentid", "4"},
                                 {"Password", cipher::EncipherPassword("Secret1")}});
    db.Native("ALTER TABLE tbPasswordMain DROP COLUMN isDisabledTessary");
    db.Native("ALTER TABLE tbInvUserSettings DROP COLUMN isIssueTessary");
    db.Native("DROP TABLE tbInvStockMovement");

    EXPECT_EQ(LogIn(db, "ANA", "Secret1"), app::CurrentUser::LogInResult::Accepted);
    EXPECT_THROW(admin::SetUserDisabled(db.Connection(), "ANA", true), admin::AdminError);
    const QString url = db.Settings().ServerLogin().ToUrl();
    EXPECT_TRUE(admin::UpgradeSiteDatabase(url).contains("has every table, column and index"));
    EXPECT_NO_THROW(admin::UpgradeSiteDatabase(url)) << "a second upgrade finds nothing to add";

    admin::SetUserDisabled(db.Connection(), "ANA", true);
    EXPECT_EQ(LogIn(db, "ANA", "Secret1"), app::CurrentUser::LogInResult::Disabled);
    EXPECT_EQ(db.Scalar("SELECT count(*) FROM tbInvStockMovement"), 0);
    EXPECT_EQ(db.Scalar("SELECT count(*) FROM tbInvUserSettings WHERE isIssueTessary IS NULL"), 0);
}
