#include "db/Cursor.h"
#include "db/DbError.h"
#include "db/FirstRowsPlan.h"
#include "db/TsqlTranslator.h"
#include "support/TempDatabase.h"

#include <QDateTime>
#include <gtest/gtest.h>

using testing_support::RowTexts;
using testing_support::TempDatabase;

namespace {

QString FirstRows(const char* statement)
{
    return db::JoinTokens(db::PlanForFirstRows(db::Tokenize(QString::fromLatin1(statement))).byOrder);
}

// A small stock file: items stocked at some of three locations, one item
// inactive at the store, one with no supplier, one a fixed asset.
struct StockFixture {
    TempDatabase db;
    StockFixture()
    {
        db.Insert("tbInvSupplier", {{"SupplierID", "S1"}, {"SupplierName", "MEDSUPPLY"}});
        db.Insert("tbInvClassification", {{"ItemClassificationID", "C1"}, {"IsFixedAsset", 0}});
        db.Insert("tbInvClassification", {{"ItemClassificationID", "FA"}, {"IsFixedAsset", 1}});
        const struct { const char* id; const char* name; const char* supplier; const char* cls; } items[] = {
            {"1", "GAUZE", "S1", "C1"}, {"2", "GLOVES", nullptr, nullptr}, {"3", "BED", "S1", "FA"},
            {"4", "GAUZE", "S1", "C1"}, {"5", "SYRINGE", "S1", "C1"}};
        for (const auto& item : items)
            db.Insert("tbInvMaster", {{"ItemID", item.id}, {"ItemName", item.name}, {"ItemDesc", item.id},
                                      {"SupplierID", item.supplier ? QVariant(item.supplier) : QVariant()},
                                      {"ItemClassificationID", item.cls ? QVariant(item.cls) : QVariant()}});
        const struct { const char* item; const char* location; QVariant status; } stock[] = {
            {"1", "94", 0}, {"2", "94", QVariant()}, {"3", "94", 0}, {"4", "94", 1}, {"5", "94", 0},
            {"1", "10", 0}, {"2", "10", 0}, {"4", "10", 0}, {"5", "10", 1}, {"1", "20", 0}};
        for (const auto& s : stock)
            db.Insert("tbInvent", {{"ItemID", s.item}, {"LocationID", s.location}, {"ItemStatus", s.status},
                                   {"LastDeliveryDate", "2026-03-07 14:05:09"}});
    }
};

const char* const kLocationSearch =
    "Select A.ItemID as Code, A.ItemName As [Product Name], B.SupplierName As Supplier, D.ItemStatus "
    "From INVENTORY..tbInvMaster A "
    "Left Outer Join INVENTORY..tbInvent D ON A.ItemID = D.ItemID "
    "Left Outer Join INVENTORY..tbInvSupplier B ON A.SupplierID = B.SupplierID "
    "Left Outer join INVENTORY..tbInvClassification C ON A.ItemClassificationID = C.ItemClassificationID "
    "Where D.LocationID = '94' and D.ItemID in (Select itemID from INVENTORY..tbinvent where locationid = '10' "
    "and itemStatus = 0) and  ( D.ItemStatus = 0 or D.ItemStatus is Null ) and IsNull(C.IsFixedAsset,0) <> 1 "
    "and  A.ItemName Like '%' Order by A.ItemName, A.ItemDesc";

// The same search with its values apart: the locations and the pattern.
const char* const kBoundLocationSearch =
    "Select A.ItemID as Code, A.ItemName As [Product Name], B.SupplierName As Supplier, D.ItemStatus "
    "From INVENTORY..tbInvMaster A "
    "Left Outer Join INVENTORY..tbInvent D ON A.ItemID = D.ItemID "
    "Left Outer Join INVENTORY..tbInvSupplier B ON A.SupplierID = B.SupplierID "
    "Left Outer join INVENTORY..tbInvClassification C ON A.ItemClassificationID = C.ItemClassificationID "
    "Where D.LocationID = ? and D.ItemID in (Select itemID from INVENTORY..tbinvent where locationid = ? "
    "and itemStatus = 0) and  ( D.ItemStatus = 0 or D.ItemStatus is Null ) and IsNull(C.IsFixedAsset,0) <> 1 "
    "and  A.ItemName Like ? Order by A.ItemName, A.ItemDesc";
const QVariantList kBoundLocations{"94", "10", "%"};

} // namespace

TEST(Cursor, ReadsRowsOnDemandWithTheValuesARowSetHas)
{
    StockFixture f;
    QStringList sent;
    f.db.Connection().SetStatementObserver([&](const QString& s) { sent << s; });
    const QString statement = "Select ItemID, LocationID, ItemStatus, LastDeliveryDate From INVENTORY..tbInvent "
                              "Order By LocationID, ItemID";
    const std::unique_ptr<db::Cursor> cursor = f.db.Connection().OpenCursor(statement);
    EXPECT_EQ(sent, QStringList{statement});
    EXPECT_EQ(cursor->Columns(), (QStringList{"ItemID", "LocationID", "ItemStatus", "LastDeliveryDate"}));
    EXPECT_EQ(cursor->ColumnIndex("itemstatus"), 2);
    EXPECT_EQ(cursor->RowsRead(), 0);

    EXPECT_EQ(cursor->Fetch(2), 2);
    EXPECT_FALSE(cursor->AtEnd());
    EXPECT_TRUE(cursor->Reach(2));
    EXPECT_EQ(cursor->RowsRead(), 2);
    EXPECT_FALSE(cursor->Reach(11));
    EXPECT_TRUE(cursor->AtEnd());
    EXPECT_EQ(cursor->RowsRead(), 10);
    EXPECT_EQ(cursor->Fetch(5), 0);

    // Same values and nulls as the whole-result read; date-times as date-times.
    EXPECT_EQ(RowTexts(*cursor), RowTexts(f.db.Connection().Execute(statement)));
    EXPECT_EQ(cursor->Value(6, 0).toString(), "2");
    EXPECT_TRUE(cursor->Value(6, 2).isNull());
    EXPECT_EQ(cursor->Value(0, 2).typeId(), QMetaType::LongLong);
    EXPECT_EQ(cursor->Value(0, 3).toDateTime(), QDateTime(QDate(2026, 3, 7), QTime(14, 5, 9)));
}

// Searches of one shape share a prepared statement: each reads its own
// values, two open at once do not disturb each other, and a cursor left open
// may outlive the connection that made it.
TEST(Cursor, SearchesOfOneShapeReadTheirOwnValues)
{
    StockFixture f;
    const auto search = [](const char* prefix) {
        return QStringLiteral("Select ItemID From INVENTORY..tbInvMaster Where ItemName Like '%1%' Order By ItemID")
            .arg(QLatin1String(prefix));
    };
    db::Connection& connection = f.db.Connection();
    const std::unique_ptr<db::Cursor> first = connection.OpenCursor(search("G"));
    EXPECT_TRUE(first->Reach(1));
    EXPECT_EQ(RowTexts(*connection.OpenCursor(search("S"))), QStringList{"5"});
    EXPECT_EQ(RowTexts(*first), (QStringList{"1", "2", "4"}));
    EXPECT_EQ(RowTexts(*connection.OpenCursor(search("B"))), QStringList{"3"});
    EXPECT_EQ(RowTexts(*connection.OpenCursor(search("g"))), (QStringList{"1", "2", "4"}));

    std::unique_ptr<db::Connection> other = f.db.OpenAnother();
    const std::unique_ptr<db::Cursor> left = other->OpenCursor(search("G"));
    EXPECT_TRUE(left->Reach(1));
    other.reset();
}

// A search whose values are given apart reads what the statement with them
// written in reads, which is also what the observer sees; its texts are
// bound for as long as the cursor reads, wherever the caller's went.
TEST(Cursor, ValuesGivenApartReadWhatTheWrittenStatementReads)
{
    StockFixture f;
    db::Connection& connection = f.db.Connection();
    QStringList sent;
    connection.SetStatementObserver([&](const QString& s) { sent << s; });
    const QString search = "Select ItemID From INVENTORY..tbInvMaster Where ItemName Like ? And ItemID <> ? "
                           "Order By ItemID";
    std::unique_ptr<db::Cursor> first;
    {
        const QVariantList values{QStringLiteral("G%"), QStringLiteral("O'2")};
        first = connection.OpenCursorWith(search, values);
    }
    EXPECT_EQ(sent.value(0).toStdString(),
              "Select ItemID From INVENTORY..tbInvMaster Where ItemName Like 'G%' And ItemID <> 'O''2' Order By ItemID");
    EXPECT_EQ(RowTexts(*connection.OpenCursorWith(search, {"S%", "5"})), QStringList());
    EXPECT_EQ(RowTexts(*first), (QStringList{"1", "2", "4"}));
    EXPECT_EQ(RowTexts(*connection.OpenCursorWith(search, {"g%", 4})), (QStringList{"1", "2"}));
    EXPECT_THROW(connection.OpenCursorWith(search, {"G%"}), db::DbError);
}

TEST(Cursor, RefusedStatementsAndProcedureCalls)
{
    StockFixture f;
    EXPECT_THROW(f.db.Connection().OpenCursor("Select Nope From INVENTORY..tbInvent"), db::DbError);
    // A procedure's rows come through a cursor too.
    const std::unique_ptr<db::Cursor> rows =
        f.db.Connection().OpenCursor("Inventory..sp_Inv_SearchItem_In_Invent '1','94'");
    EXPECT_TRUE(rows->Reach(1));
    EXPECT_FALSE(rows->Reach(2));
    EXPECT_EQ(rows->Value(0, rows->ColumnIndex("ItemID")).toString(), "1");
}

TEST(FirstRowsPlan, KeepsTheWrittenJoinOrderWhereTheResultStaysTheSame)
{
    const struct { const char* statement; const char* planned; } cases[] = {
        // an outer join that the WHERE clause requires is an inner join
        {"select a.x from t a left outer join u b on a.k = b.k where b.y = 'v' order by a.x",
         "select a.x from t a CROSS JOIN u b on a.k = b.k where b.y = 'v' order by a.x"},
        {"select a.x from t a left join u b on a.k = b.k where 5 < b.y",
         "select a.x from t a CROSS JOIN u b on a.k = b.k where 5 < b.y"},
        {"select a.x from t a inner join u b on a.k = b.k join w c on c.k = a.k",
         "select a.x from t a CROSS JOIN u b on a.k = b.k CROSS JOIN w c on c.k = a.k"},
        // outer joins that may give null rows stay
        {"select a.x from t a left join u b on a.k = b.k where ifnull(b.y, 0) <> 1",
         "select a.x from t a left join u b on a.k = b.k where ifnull(b.y, 0) <> 1"},
        {"select a.x from t a left join u b on a.k = b.k where b.y = 'v' or a.x = 1",
         "select a.x from t a left join u b on a.k = b.k where b.y = 'v' or a.x = 1"},
        {"select a.x from t a left join u b on a.k = b.k where b.y is not null and b.y = 1",
         "select a.x from t a left join u b on a.k = b.k where b.y is not null and b.y = 1"},
        // a membership test becomes a lookup per row, its own condition kept whole
        {"select a.x from t a where a.k in (select k from u where y = 1 or y = 2) and a.x = 3",
         "select a.x from t a where EXISTS (select 1 from u where ( y = 1 or y = 2) AND k = a.k) and a.x = 3"},
        {"select a.x from t a where a.k in (select k from u)",
         "select a.x from t a where EXISTS (select 1 from u WHERE k = a.k)"},
        // NOT IN, sub-selects that group or name the outer alias, and
        // grouped or distinct statements are left alone
        {"select a.x from t a where a.k not in (select k from u)",
         "select a.x from t a where a.k not in (select k from u)"},
        {"select a.x from t a where a.k in (select max(k) from u group by y)",
         "select a.x from t a where a.k in (select max(k) from u group by y)"},
        {"select a.x from t a where a.k in (select k from u a)",
         "select a.x from t a where a.k in (select k from u a)"},
        {"select distinct a.x from t a join u b on a.k = b.k",
         "select distinct a.x from t a join u b on a.k = b.k"},
        {"update t set x = 1 where k in (select k from u)", "update t set x = 1 where k in (select k from u)"},
        // an AND inside CASE is no filter; combined selects and sub-selects
        // keep their plan; a join that is a CROSS JOIN already stays one
        {"select a.x from t a left join u b on a.k = b.k where case when a.p = 1 and b.y = 'v' then 1 else 0 end = 0",
         "select a.x from t a left join u b on a.k = b.k where case when a.p = 1 and b.y = 'v' then 1 else 0 end = 0"},
        {"select a.x from t a left join u b on a.k = b.k except select a.x from t a join u b on a.k = b.k where b.y = 'v'",
         "select a.x from t a left join u b on a.k = b.k except select a.x from t a join u b on a.k = b.k where b.y = 'v'"},
        {"select a.x from t a where a.k in (select k from u except select k from w)",
         "select a.x from t a where a.k in (select k from u except select k from w)"},
        {"select a.x from t a cross join u b where b.y = 1", "select a.x from t a cross join u b where b.y = 1"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FirstRows(c.statement).toStdString(), c.planned);
}

TEST(FirstRowsPlan, AMembershipListGetsAPlanOfItsOwnForWhenItIsShort)
{
    const db::FirstRowsPlans plans = db::PlanForFirstRows(db::Tokenize(
        "select a.x from t a left join u b on a.k = b.k where b.y = 1 and b.k in (select k from w where z = 2)"));
    EXPECT_EQ(db::JoinTokens(plans.byOrder).toStdString(),
              "select a.x from t a CROSS JOIN u b on a.k = b.k where b.y = 1 and EXISTS (select 1 from w where ( z = 2) "
              "AND k = b.k)");
    EXPECT_EQ(db::JoinTokens(plans.byShortList).toStdString(),
              "select a.x from t a CROSS JOIN u b on a.k = b.k where b.y = 1 and b.k in (select k from w where z = 2)");
    EXPECT_EQ(plans.listCount.toStdString(), "SELECT count(*) FROM (select k from w where z = 2 LIMIT 2000)");
    EXPECT_TRUE(db::PlanForFirstRows(db::Tokenize("select a.x from t a where a.y = 1")).byShortList.isEmpty());
    // A list that names a column of another table cannot be counted alone.
    EXPECT_TRUE(db::PlanForFirstRows(db::Tokenize("select a.x from t a join u b on a.k = b.k where a.k in "
                                                  "(select k from w where w.z = b.z)"))
                    .byShortList.isEmpty());
}

TEST(FirstRowsPlan, SameRowsAsTheWholeResultWhicheverPlanTheListSizeChooses)
{
    StockFixture f;
    const auto plan = [](db::SqliteConnection& connection) {
        const QString sql = connection.PlannedCursorSql(kLocationSearch);
        return testing_support::ColumnTexts(connection.ExecuteNative("EXPLAIN QUERY PLAN " + sql), 3)
            .join('\n')
            .toStdString();
    };
    const QStringList expected = {"1|GAUZE|MEDSUPPLY|0", "2|GLOVES|NULL|NULL"};

    const auto boundPlan = [](db::SqliteConnection& connection) {
        const QString sql = connection.PlannedCursorSql(kBoundLocationSearch, kBoundLocations);
        return testing_support::ColumnTexts(connection.ExecuteNative("EXPLAIN QUERY PLAN " + sql), 3)
            .join('\n')
            .toStdString();
    };

    // A short list at the department-from location drives the search, its
    // values written or bound.
    EXPECT_NE(plan(f.db.Sqlite()).find("LIST SUBQUERY"), std::string::npos) << plan(f.db.Sqlite());
    EXPECT_EQ(RowTexts(*f.db.Connection().OpenCursor(kLocationSearch)), expected);
    EXPECT_EQ(boundPlan(f.db.Sqlite()), plan(f.db.Sqlite()));
    EXPECT_EQ(RowTexts(*f.db.Connection().OpenCursorWith(kBoundLocationSearch, kBoundLocations)), expected);

    // A long one is looked up row by row, in the order of the name index,
    // without a sort. (A connection counts a list once.)
    for (int i = 0; i < db::kShortListRows; ++i)
        f.db.Insert("tbInvent", {{"ItemID", QStringLiteral("X%1").arg(i)}, {"LocationID", "10"}, {"ItemStatus", 0}});
    EXPECT_NE(plan(f.db.Sqlite()).find("LIST SUBQUERY"), std::string::npos);
    const std::unique_ptr<db::SqliteConnection> fresh = f.db.OpenAnotherSqlite();
    EXPECT_NE(plan(*fresh).find("A USING INDEX ixMasterName"), std::string::npos) << plan(*fresh);
    EXPECT_EQ(plan(*fresh).find("TEMP B-TREE"), std::string::npos) << plan(*fresh);
    EXPECT_EQ(RowTexts(*fresh->OpenCursor(kLocationSearch)).join('\n').toStdString(), expected.join('\n').toStdString());
    EXPECT_EQ(RowTexts(fresh->Execute(kLocationSearch)), expected);
    EXPECT_EQ(boundPlan(*fresh), plan(*fresh));
    EXPECT_EQ(RowTexts(*fresh->OpenCursorWith(kBoundLocationSearch, kBoundLocations)), expected);
    // Another department's list is counted for itself: at 20 it is short.
    EXPECT_NE(fresh->PlannedCursorSql(kBoundLocationSearch, {"94", "20", "%"}), fresh->PlannedCursorSql(kBoundLocationSearch, kBoundLocations));
    EXPECT_EQ(RowTexts(*fresh->OpenCursorWith(kBoundLocationSearch, {"94", "20", "%"})), QStringList{"1|GAUZE|MEDSUPPLY|0"});
}
