// The demo database holds what a newcomer needs to try every feature.
#include "admin/Databases.h"
#include "admin/DemoData.h"
#include "admin/SqlCommand.h"
#include "app/CurrentUser.h"
#include "app/HospitalInfo.h"
#include "locations/LocationServices.h"
#include "requests/LevelFill.h"
#include "requests/RequestQueries.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QDate kToday(2026, 3, 15);

class DemoDatabase : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        dir_ = new QTemporaryDir;
        path_ = dir_->filePath("demo.db");
        admin::CreateDemoDatabase(path_, kToday);
    }
    static void TearDownTestSuite()
    {
        delete dir_;
        dir_ = nullptr;
    }
    void SetUp() override { connection_ = admin::OpenDatabaseFile(path_); }

    db::RowSet Run(const QString& statement) { return connection_->Execute(statement); }
    qlonglong Count(const QString& nativeQuery) { return connection_->ExecuteNative(nativeQuery).Field(0).toLongLong(); }
    QStringList Column(const db::RowSet& rows, int column)
    {
        QStringList values;
        for (const db::RowSet::Row& row : rows.Rows())
            values << row.value(column).toString();
        return values;
    }

    static QTemporaryDir* dir_;
    static QString path_;
    std::unique_ptr<db::SqliteConnection> connection_;
};

QTemporaryDir* DemoDatabase::dir_ = nullptr;
QString DemoDatabase::path_;

} // namespace

TEST_F(DemoDatabase, SiteRecordAndSwitchesAreSet)
{
    const db::RowSet hospital = Run("Select Company, Address1, ClientName, AllowWDZeroOnHand, "
                                    "isAutoWithdrawRequestNumber from Inventory..tbHospitalInfo");
    ASSERT_EQ(hospital.RecordCount(), 1);
    EXPECT_EQ(hospital.Field("ClientName").toString(), "DEMO");
    EXPECT_FALSE(hospital.Field("Company").toString().isEmpty());
    EXPECT_EQ(hospital.Field("AllowWDZeroOnHand").toInt(), 0);
    for (const char* key : {"2", "3", "4", "5"}) {
        const db::RowSet row = Run(QStringLiteral("Select KeyValue from Inventory..tbPharmaSwitch where idkey = '%1'").arg(key));
        ASSERT_EQ(row.RecordCount(), 1) << key;
        EXPECT_EQ(row.Field(0).toInt(), 0) << key;
    }
}

TEST_F(DemoDatabase, LocationListsShowEveryKind)
{
    const QStringList nonStore = Column(Run(locations::LocationListStatement({true, true, true, false, false}, "")), 1);
    EXPECT_TRUE(nonStore.contains("94"));
    EXPECT_FALSE(nonStore.contains("10"));   // the pharmacy is warehouse and dispensing area
    EXPECT_GE(nonStore.size(), 10);
    EXPECT_GE(Count("SELECT count(*) FROM tbInvLocation WHERE Status = 'I'"), 1);
    EXPECT_GE(Count("SELECT count(*) FROM tbInvLocation WHERE Status IS NULL"), 1);
    EXPECT_GE(Count("SELECT count(*) FROM tbInvLocation WHERE InventoryType IS NOT NULL"), 1);
    EXPECT_EQ(Count("SELECT count(DISTINCT AllowOrder) FROM tbInvLocation"), 2);
}

TEST_F(DemoDatabase, ItemsStockAndKits)
{
    const qlonglong items = Count("SELECT count(*) FROM tbInvMaster");
    EXPECT_GE(items, 280);
    EXPECT_LE(items, 350);
    // Barcodes are unique 13-digit numbers.
    EXPECT_GE(Count("SELECT count(*) FROM tbInvMaster WHERE BarCode IS NOT NULL"), 200);
    EXPECT_EQ(Count("SELECT count(*) FROM tbInvMaster WHERE length(BarCode) <> 13 OR BarCode GLOB '*[^0-9]*'"), 0);
    EXPECT_EQ(Count("SELECT count(DISTINCT BarCode) FROM tbInvMaster"),
              Count("SELECT count(BarCode) FROM tbInvMaster"));
    EXPECT_GE(Count("SELECT count(*) FROM tbInvMaster M JOIN tbInvClassification C "
                    "ON C.ItemClassificationID = M.ItemClassificationID "
                    "WHERE C.IsFixedAsset = 1 AND M.ItemName = 'INFUSION PUMP'"), 1);
    EXPECT_GE(Count("SELECT count(*) FROM tbInvMaster M JOIN tbforGeneric G ON G.GenericID = M.GenericID "
                    "JOIN tbforClassification N ON N.Node_Key = G.Node_Key WHERE N.Node_Key LIKE '%.%'"), 100);

    EXPECT_GE(Count("SELECT count(*) FROM tbInvent WHERE LocationID = '94'"), items * 9 / 10);
    EXPECT_GE(Count("SELECT count(DISTINCT LocationID) FROM tbInvent"), 5);
    EXPECT_GE(Count("SELECT count(*) FROM tbInvent WHERE OnHand = 0"), 1);
    EXPECT_GE(Count("SELECT count(*) FROM tbInvent WHERE IsADSStock = 1 AND ADSStock > 0"), 1);
    EXPECT_GE(Count("SELECT count(*) FROM tbInvent WHERE ItemStatus = 1"), 1);

    // Two kits recognised by the program's kit test and expanded by the
    // procedure, one inactive component left out; a retired kit whose only
    // kit row is inactive is a plain item.
    const db::RowSet kits =
        connection_->ExecuteNative("SELECT ItemID, KitID FROM tbInvMaster WHERE KitID IS NOT NULL ORDER BY ItemID");
    EXPECT_EQ(Column(kits, 0), (QStringList{"9001", "9002", "9003"}));
    for (const db::RowSet::Row& kit : kits.Rows()) {
        const QString code = kit.at(0).toString();
        const db::RowSet test = Run("Select B.ItemID as Code from Inventory..tbInvKit A Left Outer Join "
                                    "Inventory..tbInvMaster B On A.KitID = B.KitID "
                                    "Where not Active = 'I' and B.ItemID = '" + code + "'");
        const db::RowSet parts = Run("Inventory..sp_Inv_KitofItems " + code);
        EXPECT_EQ(parts.RecordCount(), Count(QStringLiteral("SELECT count(*) FROM tbInvKit WHERE KitID = '%1' AND "
                                                            "Active <> 'I'").arg(kit.at(1).toString())));
        if (code == "9003") {
            EXPECT_TRUE(test.IsEmpty());
            EXPECT_EQ(Count("SELECT count(*) FROM tbInvKit WHERE KitID = 'KSUT' AND Active = 'I'"), 1);
            continue;
        }
        EXPECT_FALSE(test.IsEmpty()) << code.toStdString();
        EXPECT_GE(parts.RecordCount(), 3) << code.toStdString();
        // The components are stocked where the request goes.
        for (const db::RowSet::Row& part : parts.Rows())
            EXPECT_EQ(Count(QStringLiteral("SELECT count(*) FROM tbInvent WHERE LocationID = '94' AND ItemID = '%1'")
                                .arg(part.at(0).toString())), 1);
    }
    EXPECT_EQ(Count("SELECT count(*) FROM tbInvKit WHERE Active = 'I'"), 2);
    EXPECT_EQ(Count("SELECT count(*) FROM tbInvKit WHERE Active IS NULL"), 0) << "the kit test skips a null Active";
}

TEST_F(DemoDatabase, EveryItemCodeIsAWholeNumberWithoutItsLettersP)
{
    EXPECT_EQ(Count("SELECT count(*) FROM tbInvMaster WHERE replace(ItemID, 'P', '') = '' "
                    "OR replace(ItemID, 'P', '') GLOB '*[^0-9]*'"), 0);
    // The record's next code is taken from them.
    const db::RowSet next = Run("Select Convert(VarChar(4),Max( Convert(Integer,Replace(itemid,'P','')) ) + 1)  "
                                "as MaxCode From INVENTORY..tbInvMaster");
    EXPECT_EQ(next.Field("MaxCode").toString(),
              QString::number(Count("SELECT max(CAST(replace(ItemID, 'P', '') AS INTEGER)) FROM tbInvMaster") + 1));
}

TEST_F(DemoDatabase, EveryRecordClassTakesItsNextCodeFromTheServer)
{
    struct Case { const char* statement; const char* column; const char* expected; };
    const Case cases[] = {
        {"Select Convert( VarChar(4),Max( Convert(Integer,SupplierID) ) + 1) As NewSupplierID From "
         "INVENTORY..tbInvSupplier ", "NewSupplierID", "10"},
        {"Select Convert( VarChar(4),Max( Convert(Integer,LocationID ) ) + 1 ) As NewLocationID From "
         "INVENTORY..tbInvLocation", "NewLocationID", "95"},
        {"Select Max( TermsID ) + 1 As NewCode From INVENTORY..tbInvTerms", "NewCode", "6"},
        {"Select Max( UnitOfMeasureID ) + 1 As NewCode From INVENTORY..tbInvUnitOfMeasure ", "NewCode", "22"},
        {"Select Max( ItemClassificationID ) As MaxCode From INVENTORY..tbInvClassification ", "MaxCode", "SUT"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Run(c.statement).Field(c.column).toString(), c.expected) << c.statement;
}

// What a newcomer tries on line entry, from every department a demo user
// requests for, to the central supply room: codes typed as they stand,
// barcodes, kits, an item with nothing on hand, an ADS item.
TEST_F(DemoDatabase, EveryRequestingDepartmentCanEnterTheSampleItems)
{
    // Stocked and active at both ends, as the product search asks.
    const QString bothEnds = QStringLiteral(
        "SELECT count(*) FROM tbInvMaster M JOIN tbInvent S ON S.ItemID = M.ItemID AND S.LocationID = '94' "
        "JOIN tbInvent D ON D.ItemID = M.ItemID AND D.LocationID = '%1' "
        "WHERE ifnull(M.ItemStatus, 0) = 0 AND ifnull(S.ItemStatus, 0) = 0 AND D.ItemStatus = 0 AND %2");
    const QStringList departments = Column(
        connection_->ExecuteNative("SELECT DISTINCT LocationID FROM tbInvUserLocation WHERE LocationID <> '94'"), 0);
    EXPECT_GE(departments.size(), 8);
    for (const QString& department : departments) {
        EXPECT_GE(Count(bothEnds.arg(department, "M.ItemID NOT GLOB '*[^0-9]*' AND M.KitID IS NULL")), 8)
            << department.toStdString();
        EXPECT_GE(Count(bothEnds.arg(department, "M.ItemID NOT GLOB '*[^0-9]*' AND M.BarCode IS NOT NULL")), 5)
            << department.toStdString();
        EXPECT_EQ(Count(bothEnds.arg(department, "M.KitID IS NOT NULL")), 3) << department.toStdString();
        EXPECT_EQ(Count(bothEnds.arg(department, "M.ItemID = '1006'")), 1) << department.toStdString();
        EXPECT_EQ(Count(bothEnds.arg(department, "M.ItemName = 'PARACETAMOL' AND M.ItemDesc = '500MG TABLET'")), 1)
            << department.toStdString();
    }
    EXPECT_EQ(Count("SELECT count(*) FROM tbInvent WHERE ItemID = '1006' AND LocationID = '94' AND OnHand = 0"), 1);
    EXPECT_EQ(Count("SELECT count(*) FROM tbInvent S JOIN tbInvMaster M ON M.ItemID = S.ItemID "
                    "WHERE S.LocationID = '94' AND M.ItemName = 'PARACETAMOL' AND M.ItemDesc = '500MG TABLET' "
                    "AND S.IsADSStock = 1 AND S.ADSStock > 0"), 1);
    // A barcode turns into a code that can be typed.
    const QString barcode = connection_->ExecuteNative("SELECT BarCode FROM tbInvMaster WHERE ItemID = '1001'")
                                .Field(0).toString();
    EXPECT_EQ(locations::GetItemIDByBarcode(*connection_, barcode), "1001");
}

TEST_F(DemoDatabase, SiteSwitchFiveIsOffAndCanBeSwitchedOn)
{
    EXPECT_FALSE(app::IsSwitchOn(*connection_, "5"));
    connection_->BeginTransaction();
    admin::RunStatement(*connection_, "Update INVENTORY..tbPharmaSwitch Set KeyValue = 1 Where idkey = '5'");
    EXPECT_TRUE(app::IsSwitchOn(*connection_, "5"));
    connection_->Rollback();
}

TEST_F(DemoDatabase, RequestsInEveryStateWithStockedLines)
{
    struct State { const char* name; const char* where; };
    const State states[] = {
        {"pending", "Status IS NULL AND VerifiedBy IS NULL"},
        {"verified", "Status IS NULL AND VerifiedBy IS NOT NULL"},
        {"processed", "Status = 'P' AND VerifiedBy IS NOT NULL"},
        {"cancelled", "Status = 'D'"},
    };
    for (const State& s : states)
        EXPECT_GE(Count(QStringLiteral("SELECT count(DISTINCT DocumentNumber) FROM tbInvWithdrawRequest WHERE %1")
                            .arg(s.where)), 2) << s.name;
    // Numbers 1..N, several lines each, every line's item stocked at the store.
    const qlonglong requests = Count("SELECT count(DISTINCT DocumentNumber) FROM tbInvWithdrawRequest");
    EXPECT_EQ(Count("SELECT max(CAST(DocumentNumber AS INTEGER)) FROM tbInvWithdrawRequest"), requests);
    EXPECT_EQ(Count("SELECT count(*) FROM (SELECT DocumentNumber FROM tbInvWithdrawRequest GROUP BY DocumentNumber "
                    "HAVING count(*) < 2)"), 0);
    EXPECT_EQ(Count("SELECT count(*) FROM tbInvWithdrawRequest R WHERE NOT EXISTS (SELECT 1 FROM tbInvent I "
                    "WHERE I.ItemID = R.ItemID AND I.LocationID = R.LocationID)"), 0);
    EXPECT_EQ(Count("SELECT count(*) FROM tbInvWithdrawRequest WHERE TransDate > '2026-03-15 23:59:59' "
                    "OR TransDate < '2026-02-01 00:00:00'"), 0);
}

TEST_F(DemoDatabase, EachUserLogsInAsPromisedAndSeesEveryListView)
{
    struct Case { const char* id; app::CurrentUser::LogInResult result; };
    const Case cases[] = {
        {"JDELA", app::CurrentUser::LogInResult::Accepted},
        {"MSANTOS", app::CurrentUser::LogInResult::Accepted},
        {"RLIM", app::CurrentUser::LogInResult::Accepted},
        {"AREYES", app::CurrentUser::LogInResult::Refused},   // another department
        {"LGARCIA", app::CurrentUser::LogInResult::Accepted},
    };
    for (const Case& c : cases) {
        app::CurrentUser user(nullptr, app::ConnectionSettings{});
        user.UseConnection(admin::OpenSiteDatabase(path_));
        user.PasswordDeptCode = QStringLiteral("4");
        QString password;
        for (const admin::DemoLogin& login : admin::kDemoLogins)
            if (QLatin1String(login.id) == QLatin1String(c.id))
                password = QString::fromLatin1(login.password);
        EXPECT_EQ(user.LogIn(c.id, password), c.result) << c.id;
        if (c.result != app::CurrentUser::LogInResult::Accepted)
            continue;
        // Pending, verified and processed: listed, and some of each opens for this user.
        for (const auto& [pendings, verified] : {std::pair{true, false}, {true, true}, {false, true}}) {
            const db::RowSet listed = Run(requests::RequestListStatement(c.id, pendings, verified));
            EXPECT_FALSE(listed.IsEmpty()) << c.id << " pendings " << pendings << " verified " << verified;
            // The store's clerk issues requests; the departments open theirs.
            if (QLatin1String(c.id) == QLatin1String("LGARCIA"))
                continue;
            bool opens = false;
            for (const db::RowSet::Row& row : listed.Rows())
                opens = opens || requests::IsUserLocation(*connection_, c.id, row.at(5).toString());
            EXPECT_TRUE(opens) << c.id << " pendings " << pendings << " verified " << verified;
        }
    }
    // The verify right: a settings row with 1, with 0, and none at all.
    EXPECT_EQ(Count("SELECT isVerifyTessary FROM tbInvUserSettings WHERE UserID = 'MSANTOS'"), 1);
    EXPECT_EQ(Count("SELECT count(*) FROM tbInvUserSettings WHERE UserID = 'JDELA' AND isVerifyTessary = 0"), 1);
    EXPECT_EQ(Count("SELECT count(*) FROM tbInvUserSettings WHERE UserID = 'RLIM'"), 0);
}

TEST_F(DemoDatabase, TheStoreClerkIssuesVerifiedRequestsAndWardsFillFromTheirLevels)
{
    // The central supply room's clerk may issue, and nobody else.
    EXPECT_EQ(Column(connection_->ExecuteNative("SELECT UserID FROM tbInvUserSettings WHERE isIssueTessary = 1"), 0),
              QStringList{"LGARCIA"});
    const db::RowSet verified = Run(requests::RequestListStatement("LGARCIA", true, true));
    EXPECT_GE(verified.RecordCount(), 3);
    // A ward of JDELA's keeps items below their minimum that the central
    // supply room has.
    EXPECT_GE(requests::ReadLevelLines(*connection_, "20", "94").size(), 5);
}

TEST_F(DemoDatabase, SameRowsEveryTime)
{
    QTemporaryDir dir;
    const QString again = dir.filePath("again.db");
    admin::CreateDemoDatabase(again, kToday);
    const auto other = admin::OpenDatabaseFile(again);
    for (const char* table : {"tbInvMaster", "tbInvent", "tbInvKit", "tbInvWithdrawRequest", "tbPasswordMain"}) {
        const QString dump = QStringLiteral("SELECT * FROM %1 ORDER BY rowid").arg(table);
        EXPECT_EQ(connection_->ExecuteNative(dump).Rows(), other->ExecuteNative(dump).Rows()) << table;
    }
}
