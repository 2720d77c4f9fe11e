// The stored procedures of each backend, called with the statement texts the
// program sends, on a small seeded database.
#include "db/DbError.h"
#include "support/TempDatabase.h"

#include <QDateTime>
#include <gtest/gtest.h>

using db::RowSet;
using testing_support::TempDatabase;

namespace {

QDateTime At(const char* storage) { return QDateTime::fromString(QString::fromLatin1(storage), "yyyy-MM-dd HH:mm:ss"); }

QStringList Column(const RowSet& rows, const char* name)
{
    QStringList values;
    const int index = rows.ColumnIndex(QString::fromLatin1(name));
    for (const RowSet::Row& row : rows.Rows())
        values << row.value(index).toString();
    return values;
}

// The value of a column of the first row, looked up by its exact name.
QVariant First(const RowSet& rows, const char* name)
{
    const int index = rows.Columns().indexOf(QString::fromLatin1(name));
    EXPECT_GE(index, 0) << "no column named exactly " << name;
    return rows.IsEmpty() || index < 0 ? QVariant() : rows.RowAt(0).value(index);
}

using testing_support::Backend;

class Procedures : public ::testing::TestWithParam<Backend> {
protected:
    void SetUp() override
    {
        TESSARY_SKIP_UNLESS_AVAILABLE(GetParam());
        database = std::make_unique<TempDatabase>(GetParam());
        struct L { const char* id; const char* name; QVariant status; };
        const L locations[] = {
            {"94", "CENTRAL SUPPLY", "A"}, {"20", "WARD 2", QVariant()}, {"40", "OLD WARD", "I"}, {"30", "ANNEX", "A"}};
        for (const L& l : locations)
            Db().Insert("tbInvLocation", {{"LocationID", l.id}, {"Location", l.name}, {"Status", l.status}});
        for (const char* location : {"94", "20", "40", "30"})
            Db().Insert("tbInvUserLocation", {{"UserID", "JDELA"}, {"LocationID", location}});
        Db().Insert("tbInvUserLocation", {{"UserID", "OTHER"}, {"LocationID", "94"}});

        Db().Insert("tbInvUnitOfMeasure", {{"UnitOfMeasureID", 2}, {"UnitOfMeasure", "CAPSULE"}});
        Db().Insert("tbInvMaster", {{"ItemID", "P0001"}, {"ItemName", "AMOXICILLIN"}, {"ItemDesc", "500MG CAP"},
                                  {"ListCost", 2.5}, {"UnitOfMeasureID", 2}, {"Packing", 100}});
        Db().Insert("tbInvMaster", {{"ItemID", "P0002"}, {"ItemName", "GAUZE"}, {"ItemDesc", "4X4 STERILE"}, {"Packing", 10}});
        Db().Insert("tbInvMaster", {{"ItemID", "P0003"}, {"ItemName", "COTTON"}});
        Db().Insert("tbInvMaster", {{"ItemID", "K1"}, {"ItemName", "DRESSING KIT"}, {"KitID", "KIT-A"}});

        Db().Insert("tbInvent", {{"ItemID", "P0001"}, {"LocationID", "94"}, {"OnHand", 120}, {"MinStockLevel", 10},
                               {"MaxStock", 300}, {"AverageCost", 2.25}, {"StartDate", "01/01/2026"},
                               {"LastDeliveryDate", "2026-02-03 10:00:00"}, {"LastDeliveryQty", 50},
                               {"ExpiryDate", "2027-06-30 00:00:00"}, {"IsADSStock", 1}, {"ADSStock", 12}});
        Db().Insert("tbInvent", {{"ItemID", "P0003"}, {"LocationID", "94"}});

        // Request 7 saved with its lines out of item order, so insertion order shows.
        RequestLine("7", "P0002", "20", "2026-03-01 09:00:00");
        RequestLine("7", "P0001", "20", "2026-03-01 09:00:00");
        RequestLine("8", "P0001", "30", "2026-03-02 10:00:00");

        Db().Insert("tbInvKit", {{"KitID", "KIT-A"}, {"ItemID", "P0002"}, {"Qty", 3}, {"UnitCost", 1.5},
                               {"RetailType", "Y"}, {"Active", QVariant()}});
        Db().Insert("tbInvKit", {{"KitID", "KIT-A"}, {"ItemID", "P0001"}, {"Qty", 2}, {"UnitCost", 2.5},
                               {"RetailType", "N"}, {"Active", "A"}});
        Db().Insert("tbInvKit", {{"KitID", "KIT-A"}, {"ItemID", "P0003"}, {"Qty", 1}, {"UnitCost", 9},
                               {"RetailType", "N"}, {"Active", "I"}});
    }

    void RequestLine(const char* number, const char* item, const char* from, const char* date)
    {
        Db().Insert("tbInvWithdrawRequest",
                  {{"DocumentNumber", number}, {"ItemID", item}, {"Quantity", 4}, {"UnitCost", 2.5}, {"ForRetail", "N"},
                   {"isADS", 0}, {"LocationID", "94"}, {"TargetLocationID", from}, {"TransDate", date},
                   {"UserID", "JDELA"}, {"Remarks", "FOR WARD USE"}});
    }

    RowSet Run(const char* statement) { return Db().Connection().Execute(QString::fromLatin1(statement)); }

    TempDatabase& Db() { return *database; }

    std::unique_ptr<TempDatabase> database;
};

} // namespace

TEST_P(Procedures, UserLocationListsTheUsersActiveLocationsByName)
{
    const RowSet rows = Run("INVENTORY..sp_Inv_UserLocation 'JDELA'");
    EXPECT_EQ(rows.Columns(), QStringList({"Location", "LocationID"}));
    EXPECT_EQ(Column(rows, "Location"), QStringList({"ANNEX", "CENTRAL SUPPLY", "WARD 2"}));
    EXPECT_EQ(Column(rows, "LocationID"), QStringList({"30", "94", "20"}));

    EXPECT_EQ(Run("inventory..SP_INV_USERLOCATION 'JDELA'").RecordCount(), 3);
    EXPECT_TRUE(Run("INVENTORY..sp_Inv_UserLocation 'NOBODY'").IsEmpty());
}

TEST_P(Procedures, SearchItemGivesEveryStockColumnWithUnsetValuesFilledIn)
{
    const RowSet full = Run("Inventory..sp_Inv_SearchItem_In_Invent 'P0001','94'");
    ASSERT_EQ(full.RecordCount(), 1);
    for (const char* name : {"LocationID", "ItemID", "Markup_In", "Markup_Out", "NetAmount", "OnHand", "OnOrder",
                             "SellingPriceIn", "SellingPriceOut", "ItemStatus", "AverageCost", "MinStockLevel",
                             "AveConsumption", "LastInventoryCount", "ExpiryDate", "NewGLCode", "POMonthsToDeliver",
                             "MinimumOrAverage", "StartDate", "EndDate", "ListCost", "UnitOfMeasureID", "UnitOfMeasure",
                             "Last DDate", "Last Qty", "Packing", "IsFloor", "IsCeiling", "Floor", "Ceiling",
                             "IsADSStock", "ADSStock", "MaxStock"})
        EXPECT_TRUE(full.Columns().contains(QString::fromLatin1(name))) << name;
    EXPECT_EQ(First(full, "OnHand").toDouble(), 120);
    EXPECT_EQ(First(full, "MaxStock").toDouble(), 300);
    EXPECT_EQ(First(full, "ListCost").toDouble(), 2.5);
    EXPECT_EQ(First(full, "UnitOfMeasure").toString(), "CAPSULE");
    EXPECT_EQ(First(full, "Packing").toInt(), 100);
    EXPECT_EQ(First(full, "Last DDate").toDateTime(), At("2026-02-03 10:00:00"));
    EXPECT_EQ(First(full, "ExpiryDate").toDateTime(), At("2027-06-30 00:00:00"));
    EXPECT_EQ(First(full, "ADSStock").toDouble(), 12);

    // A stock row with nothing but its keys.
    const RowSet bare = Run("Inventory..sp_Inv_SearchItem_In_Invent 'P0003','94'");
    ASSERT_EQ(bare.RecordCount(), 1);
    for (const char* name : {"StartDate", "EndDate", "UnitOfMeasure"}) {
        EXPECT_FALSE(First(bare, name).isNull()) << name;
        EXPECT_EQ(First(bare, name).toString(), "") << name;
    }
    for (const char* name : {"ListCost", "UnitOfMeasureID", "Last Qty", "Packing", "IsFloor", "IsCeiling", "Floor",
                             "Ceiling", "IsADSStock", "ADSStock", "MinimumOrAverage"}) {
        EXPECT_FALSE(First(bare, name).isNull()) << name;
        EXPECT_EQ(First(bare, name).toDouble(), 0) << name;
    }
    EXPECT_EQ(First(bare, "Last DDate").toDateTime(), At("1899-12-30 00:00:00"));
    EXPECT_TRUE(First(bare, "OnHand").isNull());   // read with a default, left null

    EXPECT_TRUE(Run("Inventory..sp_Inv_SearchItem_In_Invent 'P0001','20'").IsEmpty());
    EXPECT_TRUE(Run("Inventory..sp_Inv_SearchItem_In_Invent 'P9999','94'").IsEmpty());
}

TEST_P(Procedures, LoadWithdrawalRequestGivesTheLinesInSavedOrder)
{
    const QStringList columns{"DocumentNumber", "ItemID", "Description", "Quantity", "UnitCost", "ForRetail", "isADS",
                              "LocationID", "Location", "TargetLocationID", "TLocation", "TransDate", "UserID",
                              "Remarks", "VerifiedBy", "VerifiedDate", "Status"};
    const RowSet rows = Run("Inventory..sp_Inv_LoadWithdrawalRequest '7'");
    EXPECT_EQ(rows.Columns(), columns);
    EXPECT_EQ(Column(rows, "ItemID"), QStringList({"P0002", "P0001"}));
    EXPECT_EQ(Column(rows, "Description"), QStringList({"GAUZE 4X4 STERILE", "AMOXICILLIN 500MG CAP"}));
    EXPECT_EQ(First(rows, "Location").toString(), "CENTRAL SUPPLY");
    EXPECT_EQ(First(rows, "TLocation").toString(), "WARD 2");
    EXPECT_EQ(First(rows, "TransDate").toDateTime(), At("2026-03-01 09:00:00"));
    EXPECT_TRUE(First(rows, "VerifiedBy").isNull());

    for (const char* statement : {"Inventory..sp_Inv_LoadWithdrawalRequest 'NEW'",
                                  "Inventory..sp_Inv_LoadWithdrawalRequest '99'"}) {
        const RowSet none = Run(statement);
        EXPECT_TRUE(none.IsEmpty()) << statement;
        EXPECT_EQ(none.Columns(), columns) << statement;
    }
}

TEST_P(Procedures, KitOfItemsListsTheActiveComponentsInPickerOrder)
{
    for (const char* statement : {"Inventory..sp_Inv_KitofItems 'K1'", "Inventory..sp_Inv_KitofItems K1"}) {
        const RowSet rows = Run(statement);
        EXPECT_EQ(rows.Columns(), QStringList({"ItemID", "ItemName", "Qty", "UnitCost", "Packing", "RetailType", "Amount"}))
            << statement;
        EXPECT_EQ(Column(rows, "ItemID"), QStringList({"P0001", "P0002"})) << statement;
        EXPECT_EQ(Column(rows, "ItemName"), QStringList({"AMOXICILLIN", "GAUZE"})) << statement;
        EXPECT_EQ(Column(rows, "Amount"), QStringList({"5", "4.5"})) << statement;
        EXPECT_EQ(Column(rows, "RetailType"), QStringList({"N", "Y"})) << statement;
    }
    EXPECT_TRUE(Run("Inventory..sp_Inv_KitofItems P0001").IsEmpty());
}

TEST_P(Procedures, KitOfItemsPerItemGivesOnlyThatActiveComponent)
{
    // Codes that cannot stand bare come quoted, a quote inside doubled.
    Db().Insert("tbInvMaster", {{"ItemID", "K'-9"}, {"ItemName", "FIRST AID KIT"}, {"KitID", "KIT-A"}});
    for (const char* statement : {"Inventory..sp_Inv_KitofItems_PerItem K1,P0002",
                                  "Inventory..sp_Inv_KitofItems_PerItem 'K1','P0002'",
                                  "Inventory..sp_Inv_KitofItems_PerItem 'K''-9',P0002"}) {
        const RowSet one = Run(statement);
        EXPECT_EQ(one.ColumnCount(), 7) << statement;
        EXPECT_EQ(Column(one, "ItemID"), QStringList({"P0002"})) << statement;
        EXPECT_EQ(Column(one, "Qty"), QStringList({"3"})) << statement;
    }

    EXPECT_TRUE(Run("Inventory..sp_Inv_KitofItems_PerItem K1,P0003").IsEmpty());   // inactive component
    EXPECT_TRUE(Run("Inventory..sp_Inv_KitofItems_PerItem K1,K1").IsEmpty());      // picker closed without a pick
}

TEST_P(Procedures, WrongNumberOfArgumentsIsRefusedAsTheServerWouldBe)
{
    struct Case { const char* statement; const char* message; };
    const Case cases[] = {
        {"INVENTORY..sp_Inv_UserLocation",
         "Procedure or function 'sp_Inv_UserLocation' expects parameter '@UserID', which was not supplied."},
        {"Inventory..sp_Inv_SearchItem_In_Invent 'P0001'",
         "Procedure or function 'sp_Inv_SearchItem_In_Invent' expects parameter '@LocationID', which was not supplied."},
        {"Inventory..sp_Inv_KitofItems_PerItem K1",
         "Procedure or function 'sp_Inv_KitofItems_PerItem' expects parameter '@ComponentID', which was not supplied."},
        {"Inventory..sp_Inv_LoadWithdrawalRequest '7','8'",
         "Procedure or function sp_Inv_LoadWithdrawalRequest has too many arguments specified."},
    };
    for (const Case& c : cases) {
        try {
            Run(c.statement);
            ADD_FAILURE() << "accepted: " << c.statement;
        } catch (const db::DbError& e) {
            EXPECT_EQ(e.Description(), QString::fromLatin1(c.message));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Backends, Procedures, testing::ValuesIn(testing_support::AllBackends()),
                         testing_support::BackendTestName());
