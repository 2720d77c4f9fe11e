// What the PostgreSQL schema and translation give the program's hot
// statements: the numbering query answers as the server's int conversion
// of every number would, and the search, the list and the numbering read the
// indexes made for them.
#include "db/DbError.h"
#include "db/PgTranslator.h"
#include "requests/RequestQueries.h"
#include "support/TempDatabase.h"

#include <gtest/gtest.h>

using testing_support::Backend;
using testing_support::TempDatabase;

namespace {

class ServerPlans : public ::testing::TestWithParam<Backend> {
protected:
    void SetUp() override { TESSARY_SKIP_UNLESS_AVAILABLE(GetParam()); }
};

const QString kNumbering =
    QStringLiteral("Select (max(Cast(DocumentNumber as int)) + 1) as DocNum From INVENTORY..tbInvWithdrawRequest");

// The value of a query's first field, or its failure.
std::string Answer(const std::function<db::RowSet()>& run)
{
    try {
        const QVariant value = run().Field(0);
        return value.isNull() ? "NULL" : value.toString().toStdString();
    } catch (const db::DbError& e) {
        return "refused: " + e.Description().toStdString();
    }
}

// The plan of a program statement as the server makes it with sequential
// scans, bitmaps and sorts set aside, so that even the few rows of a test
// show which index can serve it.
std::string Plan(TempDatabase& db, const QString& statement)
{
    for (const char* setting : {"enable_seqscan", "enable_bitmapscan", "enable_sort"})
        db.Native(QStringLiteral("SET %1 = off").arg(QLatin1String(setting)));
    return testing_support::ColumnTexts(
               db.Native(QStringLiteral("EXPLAIN (COSTS OFF) ") + db::PgTranslator::TranslateUncached(statement)))
        .join(QLatin1Char('\n'))
        .toStdString();
}

} // namespace

TEST_P(ServerPlans, TheNewNumberIsTheServersIntConversionOfEveryNumber)
{
    const QStringList cases[] = {
        {},
        {"1", "2", "3"},
        {" 12 ", "3"},
        {"-5", "-7"},
        {"", "  "},
        {"0007", "12", "+8"},
        {"2147483646", "-99999999"},
        {"2147483647"},
        {"A12", "5"},
        {"9999999999", "3"},
        {"12.5", "3"},
    };
    TempDatabase db(GetParam());
    for (const QStringList& stored : cases) {
        db.Native(QStringLiteral("DELETE FROM tbInvWithdrawRequest"));
        for (const QString& number : stored)
            db.Insert("tbInvWithdrawRequest", {{"DocumentNumber", number}, {"ItemID", "P1"}});
        const std::string byEveryNumber = Answer([&] {
            return db.Native(QStringLiteral("SELECT max(tessary.tsql_int(DocumentNumber)) + 1 FROM tbInvWithdrawRequest"));
        });
        EXPECT_EQ(Answer([&] { return db.Connection().Execute(kNumbering); }), byEveryNumber) << stored.join(',').toStdString();
    }
}

TEST_P(ServerPlans, SearchListAndNumberingReadTheirIndexes)
{
    TempDatabase db(GetParam());
    const QString search = QStringLiteral(
        "Select A.ItemID as Code, A.ItemName As [Product Name] From INVENTORY..tbInvMaster A "
        "Left Outer Join INVENTORY..tbInvSupplier B ON A.SupplierID = B.SupplierID "
        "Where ( A.ItemStatus = 0 or A.ItemStatus is Null ) and  A.ItemName Like '%1' Order by A.ItemName, A.ItemDesc");
    for (const char* pattern : {"GAU%", "%"}) {
        const std::string plan = Plan(db, search.arg(QLatin1String(pattern)));
        EXPECT_NE(plan.find("ixmasternamefolded"), std::string::npos) << plan;
        EXPECT_EQ(plan.find("Sort"), std::string::npos) << plan;
    }
    const std::string range = Plan(db, search.arg("GAU%"));
    EXPECT_NE(range.find(">= 'gau'::text"), std::string::npos) << "the prefix bounds the index's range\n" << range;

    const std::string number = Plan(db, kNumbering);
    EXPECT_NE(number.find("Backward using ixrequestnumbervalue"), std::string::npos) << number;

    for (const bool verified : {false, true}) {
        const std::string list = Plan(db, requests::RequestListStatement(QStringLiteral("JDELA"), true, verified));
        EXPECT_NE(list.find("ixrequestopen"), std::string::npos) << list;
    }
}

INSTANTIATE_TEST_SUITE_P(Servers, ServerPlans, testing::Values(Backend::PostgreSql), testing_support::BackendTestName());
