#include "db/Cursor.h"
#include "db/StatementShape.h"
#include "db/TsqlTranslator.h"
#include "support/TempDatabase.h"

#include <gtest/gtest.h>

namespace {

// The shape and the literals lifted out of it, as texts.
struct ShapeCase {
    const char* statement;
    const char* shape;
    QStringList literals;
};

QStringList LiteralTexts(const QString& statement, const db::StatementShape& shape)
{
    QStringList texts;
    for (const db::LiftedLiteral& literal : shape.literals)
        texts << statement.mid(literal.begin, literal.length);
    return texts;
}

} // namespace

TEST(StatementShape, LiftsTheValuesThatStandAlone)
{
    const ShapeCase cases[] = {
        // compared values, either side, LIKE patterns
        {"Select * From t Where a = 'x' and b <> 12 and 'y' = c and d Like N'AB%'",
         "Select * From t Where a = ?T1 and b <> ?N2 and ?T3 = c and d Like ?T4", {"'x'", "12", "'y'", "'AB%'"}},
        // VALUES and IN lists, quotes doubled inside a text
        {"Insert t (a, b, c) Values ('it''s', 2.5, 'x' + 'y')",
         "Insert t (a, b, c) Values (?T1, ?N2, ?T3 + 'y')", {"'it''s'", "2.5", "'x'"}},
        {"Select * From t Where a in ('4','00')", "Select * From t Where a in (?T1,?T2)", {"'4'", "'00'"}},
        // function arguments, TOP, type lengths, names and aliases stay
        {"Select Top 1 isnull(a,'') As [x = 'y'], Convert(varchar(4), b) From t2 Where isnull(c,'') = ''",
         "Select Top 1 isnull(a,'') As [x = 'y'], Convert(varchar(4), b) From t2 Where isnull(c,'') = ?T1", {"''"}},
        {"Select a1 From t Where x=-1", "Select a1 From t Where x=-1", {}},
        {"Select a From t Where b = 'unclosed", "Select a From t Where b = 'unclosed", {}},
        // statements other than the four are their own shape
        {"PRAGMA cache_size = 100", "PRAGMA cache_size = 100", {}},
    };
    for (const ShapeCase& c : cases) {
        const QString statement = QString::fromLatin1(c.statement);
        const db::StatementShape shape = db::ShapeOf(statement);
        EXPECT_EQ(shape.text.toStdString(), c.shape) << c.statement;
        EXPECT_EQ(LiteralTexts(statement, shape), c.literals) << c.statement;
    }
}

TEST(StatementShape, DateTextsOfAShapeAreBoundInTheStoredForm)
{
    testing_support::TempDatabase db;
    const auto insert = [&](const char* number, const char* date) {
        db.Connection().Execute(QStringLiteral("Insert INVENTORY..tbInvWithdrawRequest (DocumentNumber, TransDate) "
                                               "Values ('%1', '%2')").arg(QLatin1String(number), QLatin1String(date)));
    };
    insert("1", "12/30/2025 08:00:00 PM");
    insert("2", "3/7/2026 9:05:00 AM");
    EXPECT_EQ(testing_support::ColumnTexts(db.Native(
                  "SELECT TransDate || '' AS Stored FROM tbInvWithdrawRequest ORDER BY TransDate")),
              (QStringList{"2025-12-30 20:00:00", "2026-03-07 09:05:00"}));
    const db::RowSet later = db.Connection().Execute(
        "Select DocumentNumber From INVENTORY..tbInvWithdrawRequest Where TransDate > '01/01/2026 12:00:00 AM'");
    EXPECT_EQ(testing_support::ColumnTexts(later), QStringList{"2"});
}

// Neither the request list nor numbering may read the whole request history.
TEST(StatementShape, RequestListAndNumberingUseTheirIndexes)
{
    testing_support::TempDatabase db;
    db::TsqlTranslator translator;
    const auto plan = [&](const char* statement) {
        const QString sql = translator.TranslateShape(db::ShapeOf(QString::fromLatin1(statement)).text).sql;
        return testing_support::ColumnTexts(db.Native("EXPLAIN QUERY PLAN " + sql), 3).join('\n').toStdString();
    };
    const std::string list = plan(
        "Select distinct A.DocumentNumber, A.TransDate from INVENTORY..tbinvwithdrawrequest A "
        "Left Outer Join INVENTORY..tbinvUserLocation D On A.LocationID = D.LocationID "
        "Where D.UserID = 'ANNA' and isnull(A.Status,'') = '' and isnull(verifiedby,'') = '' Order By Transdate");
    EXPECT_NE(list.find("USING COVERING INDEX ixRequestOpen"), std::string::npos) << list;
    const std::string numbering =
        plan("Select (max(Cast(DocumentNumber as int)) + 1) as DocNum From INVENTORY..tbInvWithdrawRequest");
    // SEARCH: the last entry of the index, no scan.
    EXPECT_EQ(numbering.rfind("SEARCH tbInvWithdrawRequest USING", 0), 0u) << numbering;
    EXPECT_NE(numbering.find("INDEX ixRequestNumberValue"), std::string::npos) << numbering;
}

// A cursor's shape is translated once; its values go back into the SQL as
// the literals they were (a date-time in the stored form), never mistaking a
// '?' inside a text for a marker.
TEST(StatementShape, ValuesAreWrittenBackIntoTheTranslatedShape)
{
    const QString statement = QStringLiteral(
        "Select ItemID From INVENTORY..tbInvWithdrawRequest Where Remarks = '?1' and "
        "TransDate > '01/02/2026 12:00:00 AM' and ItemID Like N'it''s%'");
    const db::StatementShape shape = db::ShapeOf(statement);
    db::TsqlTranslator translator;
    const db::Translation& translation = translator.TranslateShape(shape.text, db::Plan::FirstRows);
    EXPECT_EQ(db::WithLiteralsWritten(translation.sql, statement, shape, translation.dateParameters).toStdString(),
              "Select ItemID From tbInvWithdrawRequest Where Remarks = '?1' and "
              "TransDate > '2026-01-02 00:00:00' and ItemID Like 'it''s%'");
}

// A search's values written back into its translated shape: the cursor
// reads what the whole result holds, whatever blanks, case or quotes.
TEST(StatementShape, ACursorReadsWhatTheWholeResultHolds)
{
    testing_support::TempDatabase db;
    db.Insert("tbInvMaster", {{"ItemID", "P0001"}, {"ItemName", "AMOXICILLIN"}, {"ItemStatus", 0}});
    db.Insert("tbInvMaster", {{"ItemID", "P0002"}, {"ItemName", "IT'S A KIT"}, {"ItemStatus", 0}});
    for (const char* condition : {"ItemID = 'p0001 '", "ItemName Like 'amox%'", "ItemName = N'it''s a kit'",
                                  "ItemStatus = 0 and ItemName Like 'I%'"}) {
        const QString statement =
            QStringLiteral("Select ItemID From INVENTORY..tbInvMaster Where %1 Order By ItemName").arg(QLatin1String(condition));
        const std::unique_ptr<db::Cursor> cursor = db.Connection().OpenCursor(statement);
        cursor->Fetch(100);
        QStringList read;
        for (int row = 0; row < cursor->RowsRead(); ++row)
            read << cursor->Value(row, 0).toString();
        EXPECT_EQ(read, testing_support::ColumnTexts(db.Connection().Execute(statement))) << condition;
        EXPECT_EQ(read.size(), 1) << condition;
    }
}
