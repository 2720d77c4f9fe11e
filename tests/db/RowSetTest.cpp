#include "db/DbError.h"
#include "db/Quote.h"
#include "support/TempDatabase.h"

#include <gtest/gtest.h>

using testing_support::TempDatabase;

TEST(RowSet, ReadsFieldsByNameWithoutCaseAndKeepsNull)
{
    TempDatabase db;
    db.Insert("tbInvLocation", {{"LocationID", "94"}, {"Location", "CENTRAL SUPPLY"}, {"Status", QVariant()}});
    db::RowSet rows = db.Native("SELECT LocationID, Location, Status FROM tbInvLocation");
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
    const db::RowSet rows = db.Native("SELECT * FROM tbInvLocation");
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
    const db::RowSet rows = db.Native(
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

TEST(NativeStatement, BoundDateTimesAreStoredSortableAndReadBack)
{
    TempDatabase db;
    const QDateTime late(QDate(2026, 3, 7), QTime(14, 5, 9));
    const QDateTime early(QDate(2026, 3, 7), QTime(9, 0, 0));
    for (const QDateTime& when : {late, early})
        db.Insert("tbInvWithdrawRequest", {{"DocumentNumber", "1"}, {"TransDate", when}});
    const db::RowSet rows =
        db.Native("SELECT TransDate FROM tbInvWithdrawRequest ORDER BY TransDate");
    ASSERT_EQ(rows.RecordCount(), 2);
    EXPECT_EQ(rows.RowAt(0).at(0).toDateTime(), early);
    EXPECT_EQ(rows.RowAt(1).at(0).toDateTime(), late);
}
