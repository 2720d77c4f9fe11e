// The admin command's work on a database server: a demo site made on an
// empty PostgreSQL database, the program logging in to it, saving a request
// and reading it back as the sql command does.
#include "admin/Databases.h"
#include "admin/DemoData.h"
#include "admin/SqlCommand.h"
#include "app/CurrentUser.h"
#include "db/DbError.h"
#include "db/ServerConnection.h"
#include "db/ServerSchema.h"
#include "requests/RequestStore.h"
#include "support/TempDatabase.h"

#include <QCoreApplication>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

// An empty database of its own on the test server, dropped at the end.
class EmptyServerDatabase {
public:
    EmptyServerDatabase()
    {
        admin_ = db::ServerConnection::Open(db::ServerLogin::FromUrl(qEnvironmentVariable("TESSARY_TEST_PG")));
        name_ = QStringLiteral("tessary_site_%1").arg(QCoreApplication::applicationPid());
        admin_->ExecuteNative(QStringLiteral("DROP DATABASE IF EXISTS %1").arg(name_));
        admin_->ExecuteNative(QStringLiteral("CREATE DATABASE %1").arg(name_));
    }
    ~EmptyServerDatabase() { admin_->ExecuteNative(QStringLiteral("DROP DATABASE %1 WITH (FORCE)").arg(name_)); }

    QString Url() const
    {
        QUrl url(qEnvironmentVariable("TESSARY_TEST_PG"));
        url.setPath(QLatin1Char('/') + name_);
        return url.toString();
    }

private:
    std::unique_ptr<db::ServerConnection> admin_;
    QString name_;
};

} // namespace

TEST(ServerSite, DemoOnPostgreSqlLogsInSavesAndReadsBack)
{
    TESSARY_SKIP_UNLESS_AVAILABLE(testing_support::Backend::PostgreSql);
    EmptyServerDatabase database;
    admin::CreateDemoDatabase(database.Url(), QDate(2026, 3, 15));
    EXPECT_THROW(admin::CreateSiteDatabase(database.Url()), db::DbError) << "a second init refuses the site";

    app::ConnectionSettings settings;
    settings.backend = app::ConnectionSettings::Backend::PostgreSql;
    settings.server = db::ServerLogin::FromUrl(database.Url());
    app::CurrentUser user(nullptr, settings);
    user.PasswordDeptCode = QStringLiteral("4");
    for (const admin::DemoLogin& login : admin::kDemoLogins) {
        if (QLatin1String(login.id) == QLatin1String("JDELA")) {
            ASSERT_EQ(user.LogIn("JDELA", QString::fromLatin1(login.password)), app::CurrentUser::LogInResult::Accepted);
        }
    }

    requests::RequestToSave request;
    request.documentNumber = QStringLiteral("NEW");
    request.transDate = QDateTime(QDate(2026, 3, 15), QTime(14, 5, 9));
    request.locationId = QStringLiteral("94");
    request.targetLocationId = QStringLiteral("20");
    request.userId = QStringLiteral("JDELA");
    request.remarks = QStringLiteral("FOR WARD USE");
    request.lines << requests::RequestLine{"1001", "5", "12.5", "Y", "N"};
    requests::StoredRequest saved;
    const QString number = requests::SaveRequest(user.sqlconnection(), request, &saved);
    requests::RecordVerification(user.sqlconnection(), saved, QStringLiteral("MSANTOS"));

    const auto reader = admin::OpenSiteDatabase(database.Url());
    EXPECT_EQ(admin::RunStatement(*reader, "Select ItemID, Quantity, TransDate, VerifiedBy From INVENTORY..tbInvWithdrawRequest "
                                           "Where DocumentNumber = '" + number + "'")
                  .toStdString(),
              "ItemID\tQuantity\tTransDate\tVerifiedBy\n1001\t5\t2026-03-15 14:05:09\tMSANTOS\n");
}

TEST(ServerSite, DemoIsRefusedOnSqlServerBeforeAnythingIsMade)
{
    // No server is reached: the refusal comes first.
    EXPECT_THROW(admin::CreateDemoDatabase("sqlserver://sa@127.0.0.1:1/INVENTORY?driver=FreeTDS"), db::DbError);
}

namespace {

// The schema as a version of the given earlier layout made it: layout 1
// lacks the whole upgrade, layout 2 what layout 3 added, and says which it is.
QStringList EarlierSchemaDdl(int layout)
{
    QStringList ddl = db::PgSchemaDdl();
    ddl.resize(ddl.size() - db::PgUpgradeDdl(layout).size());
    if (layout > 1)
        ddl << QStringLiteral("INSERT INTO tessary.layout VALUES (%1)").arg(layout);
    return ddl;
}

} // namespace

// Sites made by the versions before the indexes of the search, the lists
// and the numbering (layout 1), and before the stock index of the search
// (layout 2): the upgrade adds what each lacks in one go, answers the same,
// and a second upgrade finds nothing to do.
TEST(ServerSite, UpgradeBringsASiteOfAnEarlierLayoutUpToDate)
{
    TESSARY_SKIP_UNLESS_AVAILABLE(testing_support::Backend::PostgreSql);
    for (const int layout : {1, 2}) {
        SCOPED_TRACE(layout);
        EmptyServerDatabase database;
        {
            auto server = db::ServerConnection::Open(db::ServerLogin::FromUrl(database.Url()));
            db::TransactionGuard transaction(*server);
            for (const QString& statement : EarlierSchemaDdl(layout))
                server->ExecuteNative(statement);
            transaction.Commit();
            ASSERT_EQ(server->SchemaLayout(), layout);
        }
        EXPECT_THROW(admin::CreateSiteDatabase(database.Url()), db::DbError) << "the tables are there";
        const auto site = admin::OpenSiteDatabase(database.Url());
        for (const char* number : {"4", " 12 ", "7"})
            site->Execute(QStringLiteral("Insert INVENTORY..tbInvWithdrawRequest (DocumentNumber, ItemID, LocationID) "
                                         "Values ('%1', 'P1', '94')").arg(QLatin1String(number)));
        site->Execute("Insert INVENTORY..tbInvMaster (ItemID, ItemName, ItemDesc) Values ('P1', 'gauze', 'X')");
        EXPECT_EQ(requests::GetNewDocNumber(*site).toStdString(), "13");

        EXPECT_EQ(admin::UpgradeSiteDatabase(database.Url()).toStdString(),
                  QStringLiteral("The database \"%1\" was upgraded from layout %2 to %3: it has every table, column and "
                                 "index of this version.")
                      .arg(site->DatabaseName()).arg(layout).arg(db::kPgLayout).toStdString());
        auto upgraded = db::ServerConnection::Open(db::ServerLogin::FromUrl(database.Url()));
        EXPECT_EQ(upgraded->SchemaLayout(), db::kPgLayout);
        EXPECT_EQ(upgraded->ExecuteNative("SELECT count(*) FROM pg_indexes WHERE indexname IN "
                                          "('ixmasternamefolded', 'ixrequestnumbervalue', 'ixrequestopen', "
                                          "'ixinventstockread')").Field(0).toInt(), 4);
        EXPECT_EQ(requests::GetNewDocNumber(*upgraded).toStdString(), "13");
        EXPECT_EQ(upgraded->Execute("Select ItemID From INVENTORY..tbInvMaster A Where A.ItemName Like 'GAU%' "
                                    "Order by A.ItemName, A.ItemDesc").RecordCount(), 1);
        EXPECT_EQ(admin::UpgradeSiteDatabase(database.Url()).toStdString(),
                  QStringLiteral("The database \"%1\" is up to date (layout %2): it has every table, column and index "
                                 "of this version.")
                      .arg(site->DatabaseName()).arg(db::kPgLayout).toStdString());
    }
}
