// A search read as the grid scrolls: on a server its cursor is fetched a
// screenful at a time, and every backend gives the rows the whole result
// has, in the order of the folded names; another statement, a failed
// fetch or the program's transaction leave the rows and the connection as
// they should be.
#include "db/Cursor.h"
#include "db/DbError.h"
#include "support/TempDatabase.h"

#include <QDateTime>
#include <algorithm>
#include <gtest/gtest.h>

using testing_support::Backend;
using testing_support::RowTexts;
using testing_support::TempDatabase;

namespace {

class ServerCursor : public ::testing::TestWithParam<Backend> {
protected:
    void SetUp() override { TESSARY_SKIP_UNLESS_AVAILABLE(GetParam()); }
    bool OnServer() const { return GetParam() != Backend::Embedded; }
};

// The product search over the whole item file, as the search dialog sends it.
const QString kSearch = QStringLiteral(
    "Select A.ItemID as Code, A.ItemName As [Product Name], A.ItemDesc As Description, B.SupplierName As Supplier "
    "From INVENTORY..tbInvMaster A Left Outer Join INVENTORY..tbInvSupplier B ON A.SupplierID = B.SupplierID "
    "Where ( A.ItemStatus = 0 or A.ItemStatus is Null ) and  A.ItemName Like ? Order by A.ItemName, A.ItemDesc");

struct Item {
    QString code;
    QString name;
    QString desc;
};

// Enough items for several fetches: names in both cases, some with trailing
// blanks or a letter beyond ASCII, so that the order is the folded names'.
std::vector<Item> SeedItems(TempDatabase& db, int count)
{
    const char* const words[] = {"Gauze", "GLOVES", "gamma", "SYRINGE", "GÉL"};
    std::vector<Item> items;
    for (int i = 0; i < count; ++i) {
        Item item{QStringLiteral("P%1").arg(i, 4, 10, QLatin1Char('0')),
                  QStringLiteral("%1 %2%3").arg(QString::fromUtf8(words[i % 5])).arg((i * 37) % count, 3, 10, QLatin1Char('0'))
                      .arg(i % 7 == 0 ? QStringLiteral("  ") : QString()),
                  QString::number(i % 3)};
        db.Insert("tbInvMaster", {{"ItemID", item.code}, {"ItemName", item.name}, {"ItemDesc", item.desc},
                                  {"ItemStatus", i % 11 == 0 ? 1 : 0}});
        if (i % 11 != 0)
            items.push_back(item);
    }
    return items;
}

// The codes of the items whose names start with `prefix` (folded), in the
// order of the folded name and description.
QStringList ExpectedCodes(std::vector<Item> items, const QString& prefix)
{
    const auto folded = [](const QString& text) { return text.toLower(); };
    items.erase(std::remove_if(items.begin(), items.end(),
                               [&](const Item& i) { return !folded(i.name).startsWith(folded(prefix)); }),
                items.end());
    std::sort(items.begin(), items.end(), [&](const Item& a, const Item& b) {
        const QString x = folded(a.name);
        const QString y = folded(b.name);
        return x != y ? x < y : folded(a.desc) < folded(b.desc);
    });
    QStringList codes;
    for (const Item& i : items)
        codes << i.code;
    return codes;
}

// What the server says the connection under test is doing: "idle", or
// "idle in transaction" while a cursor holds its read transaction.
class SessionState {
public:
    explicit SessionState(TempDatabase& db)
        : db_(db), pid_(db.Connection().Execute(QStringLiteral("Select pg_backend_pid()")).Field(0).toLongLong()) {}
    std::string operator()()
    {
        return db_.Native(QStringLiteral("SELECT state FROM pg_stat_activity WHERE pid = %1").arg(pid_))
            .Field(0).toString().toStdString();
    }

private:
    TempDatabase& db_;
    qlonglong pid_;
};

} // namespace

TEST_P(ServerCursor, ReadInScreenfulsGivesTheWholeResultInFoldedNameOrder)
{
    TempDatabase db(GetParam());
    const std::vector<Item> items = SeedItems(db, 700);
    db::Connection& connection = db.Connection();
    for (const QString& prefix : {QStringLiteral("G"), QStringLiteral("gam"), QString(), QStringLiteral("GÉ"),
                                  QStringLiteral("X")}) {
        const QVariantList values{prefix + QLatin1Char('%')};
        std::unique_ptr<db::Cursor> cursor = connection.OpenCursorWith(kSearch, values);
        EXPECT_EQ(cursor->Columns(), (QStringList{"Code", "Product Name", "Description", "Supplier"}));
        // As the search dialog and the grid read: one row, two, a screenful,
        // then on as the user scrolls.
        cursor->Reach(1);
        cursor->Reach(2);
        cursor->Reach(32);
        cursor->Fetch(100);
        const QStringList read = RowTexts(*cursor);
        EXPECT_EQ(read, RowTexts(connection.Execute(db::WithValuesWritten(kSearch, values)))) << prefix.toStdString();
        EXPECT_EQ(testing_support::ColumnTexts(*cursor), ExpectedCodes(items, prefix)) << prefix.toStdString();
    }
}

TEST_P(ServerCursor, AnotherStatementWhileACursorIsOpenLeavesItsRows)
{
    TempDatabase db(GetParam());
    const std::vector<Item> items = SeedItems(db, 300);
    db::Connection& connection = db.Connection();
    const QVariantList all{QStringLiteral("%")};
    const QStringList before = RowTexts(connection.Execute(db::WithValuesWritten(kSearch, all)));

    std::unique_ptr<db::Cursor> first = connection.OpenCursorWith(kSearch, all);
    ASSERT_TRUE(first->Reach(40));
    std::unique_ptr<db::Cursor> second = connection.OpenCursorWith(kSearch, {QStringLiteral("SYR%")});
    ASSERT_TRUE(second->Reach(5));
    // A write while both are open: it is stored at once, for everyone.
    connection.Execute("Insert INVENTORY..tbInvMaster (ItemID, ItemName, ItemStatus) Values ('N1', 'AAA', 0)");
    std::unique_ptr<db::Connection> other = db.OpenAnother();
    EXPECT_EQ(other->Execute("Select ItemName From INVENTORY..tbInvMaster Where ItemID = 'N1'").RecordCount(), 1);
    if (OnServer()) {
        EXPECT_EQ(RowTexts(*first), before) << "read as of its opening";
    }
    EXPECT_EQ(testing_support::ColumnTexts(*second), ExpectedCodes(items, QStringLiteral("SYR")));
    second.reset();
    first.reset();

    // A cursor opened in the program's transaction reads the transaction's rows.
    db::TransactionGuard transaction(connection);
    connection.Execute("Delete INVENTORY..tbInvMaster Where ItemID = 'N1'");
    std::unique_ptr<db::Cursor> inside = connection.OpenCursorWith(kSearch, all);
    EXPECT_EQ(RowTexts(*inside), before);
    transaction.Commit();
    EXPECT_FALSE(connection.InTransaction());
}

TEST_P(ServerCursor, AFailedFetchLeavesTheConnectionUsable)
{
    TempDatabase db(GetParam());
    for (int i = 0; i < 100; ++i)
        db.Insert("tbInvMaster", {{"ItemID", QStringLiteral("P%1").arg(i, 3, 10, QLatin1Char('0'))},
                                  {"ItemDesc", i == 90 ? QStringLiteral("X") : QString::number(i)}});
    db::Connection& connection = db.Connection();
    const QString statement = "Select Convert(Integer, ItemDesc) As N From INVENTORY..tbInvMaster Order By ItemID";
    std::string whole;
    try {
        connection.Execute(statement);
    } catch (const db::DbError& e) {
        whole = e.Description().toStdString();
    }
    ASSERT_FALSE(whole.empty());

    std::unique_ptr<db::Cursor> cursor;
    try {
        cursor = connection.OpenCursor(statement);
        EXPECT_TRUE(cursor->Reach(32));
        cursor->FetchAll();
        ADD_FAILURE() << "every row was read";
    } catch (const db::DbError& e) {
        EXPECT_EQ(e.Description().toStdString(), whole);
    }
    EXPECT_EQ(connection.Execute("Select count(*) From INVENTORY..tbInvMaster").Field(0).toInt(), 100);
    db::TransactionGuard transaction(connection);
    connection.Execute("Delete INVENTORY..tbInvMaster Where ItemID = 'P090'");
    transaction.Commit();
    EXPECT_EQ(RowTexts(*connection.OpenCursor(statement)).size(), 99);
}

// On the server a cursor keeps a read transaction open while it has rows to
// give, and no longer: read to its end, dropped, or settled by another
// statement. A cursor that outlives its connection keeps the rows it read.
TEST_P(ServerCursor, HoldsItsReadTransactionOnlyWhileItHasRowsToGive)
{
    if (!OnServer())
        GTEST_SKIP() << "the embedded file holds no transaction for a read";
    TempDatabase db(GetParam());
    const std::vector<Item> items = SeedItems(db, 200);
    db::Connection& connection = db.Connection();
    SessionState state(db);
    const QVariantList all{QStringLiteral("%")};

    std::unique_ptr<db::Cursor> cursor = connection.OpenCursorWith(kSearch, all);
    ASSERT_TRUE(cursor->Reach(32));
    EXPECT_EQ(state(), "idle in transaction");
    cursor.reset();
    EXPECT_EQ(state(), "idle");

    cursor = connection.OpenCursorWith(kSearch, all);
    cursor->FetchAll();
    EXPECT_EQ(state(), "idle");

    cursor = connection.OpenCursorWith(kSearch, {QStringLiteral("GAMMA 01%")});
    EXPECT_EQ(state(), "idle") << "a result of less than a screenful is read at once";

    cursor = connection.OpenCursorWith(kSearch, all);
    cursor->Reach(10);
    connection.Execute("Select count(*) From INVENTORY..tbInvMaster");
    EXPECT_EQ(state(), "idle");
    EXPECT_EQ(testing_support::ColumnTexts(*cursor).size(), items.size()) << "the rest was read before the statement ran";

    std::unique_ptr<db::Connection> other = db.OpenAnother();
    cursor = other->OpenCursorWith(kSearch, all);
    ASSERT_TRUE(cursor->Reach(5));
    other.reset();
    EXPECT_FALSE(cursor->Value(4, 0).toString().isEmpty());
    EXPECT_THROW(cursor->FetchAll(), db::DbError);
}

INSTANTIATE_TEST_SUITE_P(Backends, ServerCursor, testing::ValuesIn(testing_support::AllBackends()),
                         testing_support::BackendTestName());
