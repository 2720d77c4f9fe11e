#include "db/DbError.h"
#include "db/Quote.h"
#include "support/TempDatabase.h"

#include <gtest/gtest.h>

using testing_support::TempDatabase;

TEST(RowSet, ReadsFieldsByNameWithoutCaseAndKeepsNull)
{
    TempDatabase db;
    db.Insert("tbInvLocation", {{"LocationID", "94"}, {"Location", "CENTRAL SUPPLY"}, {"Status", QVariant()}});
    db::RowSet rows = db.Connection().ExecuteNative("SELECT LocationID, Location, Status FROM tbInvLocation");
    ASSERT_EQ(rows.RecordCount(), 1);
    EXPECT_FALSE(rows.Eof());
    EXPECT_EQ(rows.Field("locationid").toString(), "94");
    EXPECT_EQ(rows.Field(1).toString(), "CENTRAL SUPPLY");
    EXPECT_TRUE(rows.Field("STATUS").isNull());
    EXPECT_THROW(rows.Field("Nope"), db::DbError);
    rows.MoveNext();
    EXPECT_TRUE(rows.Eof());
    EXPECT_THROW(rows.Field(0), db::DbError);
}

TEST(RowSet, EmptyResultIsAtBothEnds)
{
    TempDatabase db;
    const db::RowSet rows = db.Connection().ExecuteNative("SELECT * FROM tbInvLocation");
    EXPECT_EQ(rows.RecordCount(), 0);
    EXPECT_TRUE(rows.Eof());
    EXPECT_TRUE(rows.Bof());
    EXPECT_EQ(rows.ColumnCount(), 7);
}

TEST(Quote, DoublesQuotesSoNoValueEndsTheLiteral)
{
    EXPECT_EQ(db::Quote("ANNA"), "'ANNA'");
    EXPECT_EQ(db::Quote("O'NEIL"), "'O''NEIL'");
    TempDatabase db;
    db.Insert("tbInvLocation", {{"LocationID", "1"}, {"Location", "X"}});
    const QString hostile = "X' OR '1'='1";
    const db::RowSet rows = db.Connection().ExecuteNative(
        "SELECT * FROM tbInvLocation WHERE Location = " + db::Quote(hostile));
    EXPECT_EQ(rows.RecordCount(), 0);
}

TEST(Transaction, GuardRollsBackUnlessCommitted)
{
    TempDatabase db;
    {
        db::TransactionGuard guard(db.Connection());
        db.Insert("tbPharmaSwitch", {{"idkey", "2"}, {"KeyValue", 1}});
    }
    EXPECT_EQ(db.Scalar("SELECT COUNT(*) FROM tbPharmaSwitch"), 0);
    {
        db::TransactionGuard guard(db.Connection());
        db.Insert("tbPharmaSwitch", {{"idkey", "2"}, {"KeyValue", 1}});
        guard.Commit();
    }
    EXPECT_EQ(db.Scalar("SELECT COUNT(*) FROM tbPharmaSwitch"), 1);
}
