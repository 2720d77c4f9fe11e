#include "db/Cursor.h"
#include "db/DbError.h"
#include "db/StatementShape.h"
#include "db/TsqlTranslator.h"
#include "support/TempDatabase.h"

#include <gtest/gtest.h>

#include <functional>

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
        // the shape keeps what the translation must refuse as the statement
        // would be refused: an unclosed text (also one ending in a doubled
        // quote), a literal run into a digit
        {"Update t Set a = 'x' Where b = 'y''", "Update t Set a = ?T1 Where b = 'y''", {"'x'"}},
        {"Update t Set a = 'x'2 Where b = 12", "Update t Set a = 'x'2 Where b = ?N1", {"12"}},
        // statements other than the four are their own shape
        {"PRAGMA cache_size = 100", "PRAGMA cache_size = 100", {}},
    };
    for (const ShapeCase& c : cases) {
        const QString statement = QString::fromLatin1(c.statement);
        const db::StatementShape shape = db::LiftLiterals(statement);
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
        const QString sql = translator.TranslateShape(db::LiftLiterals(QString::fromLatin1(statement)).text).sql;
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
    const db::StatementShape shape = db::LiftLiterals(statement);
    db::TsqlTranslator translator;
    const db::Translation& translation = translator.TranslateShape(shape.text, db::Plan::FirstRows);
    EXPECT_EQ(db::WithLiteralsWritten(translation.sql, statement, shape, translation.dateParameters).toStdString(),
              "Select ItemID From tbInvWithdrawRequest Where Remarks = '?1' and "
              "TransDate > '2026-01-02 00:00:00' and (ItemID >= tsql_like_low('it''s%') AND "
              "ItemID < tsql_like_high('it''s%') AND (tsql_like_exact('it''s%') OR ItemID Like 'it''s%'))");
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

namespace {

void SeedForComparison(testing_support::TempDatabase& db)
{
    db.Insert("tbInvMaster", {{"ItemID", "P1"}, {"ItemName", QString::fromUtf8("PIÑA COLADA MIX")}, {"Packing", 1}});
    db.Insert("tbInvMaster", {{"ItemID", "P2"}, {"ItemName", QString::fromUtf8("café con leche")}, {"Packing", 2}});
    db.Insert("tbInvMaster", {{"ItemID", "P3"}, {"ItemName", "PINE OIL"}, {"Packing", 3}});
    for (const char* number : {"1", "2", "7"})
        db.Insert("tbInvWithdrawRequest", {{"DocumentNumber", number}, {"ItemID", "P1"}, {"VerifiedBy", "BOSS"},
                                           {"Remarks", "FOR WARD USE"}, {"TransDate", "2026-01-02 09:00:00"}});
}

// What a statement gave (its rows, or its refusal) and what the database
// holds afterwards, as texts.
QStringList Outcome(testing_support::TempDatabase& db, const std::function<db::RowSet()>& run)
{
    QStringList seen;
    try {
        const db::RowSet rows = run();
        for (const db::RowSet::Row& row : rows.Rows()) {
            QStringList cells;
            for (const QVariant& value : row)
                cells << (value.isNull() ? QStringLiteral("NULL") : value.toString());
            seen << cells.join(QLatin1Char('|'));
        }
    } catch (const db::DbError& e) {
        seen << QStringLiteral("refused: ") + e.Description();
    }
    seen << QStringLiteral("--");
    for (const char* table : {"SELECT DocumentNumber, ItemID, Remarks, VerifiedBy, TransDate || '' FROM "
                              "tbInvWithdrawRequest ORDER BY rowid",
                              "SELECT ItemID, ItemName, Packing FROM tbInvMaster ORDER BY rowid"}) {
        const db::RowSet stored = db.Native(QString::fromLatin1(table));
        for (const db::RowSet::Row& row : stored.Rows())
            seen << row.value(0).toString() + '|' + row.value(1).toString() + '|' + row.value(2).toString() + '|'
                        + row.value(3).toString() + '|' + row.value(4).toString();
    }
    return seen;
}

} // namespace

// A statement run through its shape (its literals lifted, the shape
// prepared, the values bound) does what its own text, translated as it
// stands, does: the same rows and the same rows stored afterwards, or the
// same refusal in the same words.
TEST(StatementShape, AShapeRunsAsTheStatementWrittenOutRuns)
{
    const char* const statements[] = {
        // ordinary ones
        "Select DocumentNumber From INVENTORY..tbInvWithdrawRequest Where VerifiedBy = 'boss ' and ItemID in ('P1', 'p2')",
        "Select ItemID From INVENTORY..tbInvMaster Where ItemName Like 'piña%' or ItemName = N'CAFÉ CON LECHE' Order By ItemID",
        "Select ItemID, 'x'As Mark From INVENTORY..tbInvMaster Where Packing > -1 and Packing <= 2.5 and ItemName <> 'CAFE CON LECHE'",
        "Update INVENTORY..tbInvWithdrawRequest Set Remarks = 'it''s ?1 :x', VerifiedDate = '03/07/2026 02:05:09 PM' "
        "Where DocumentNumber = '2'",
        "Insert INVENTORY..tbInvWithdrawRequest (DocumentNumber, ItemID, Quantity, TransDate) "
        "Values ('9', 'P3', 2.5, '01/02/2026 09:00:00 AM')",
        "Delete INVENTORY..tbInvWithdrawRequest Where DocumentNumber = '1' and TransDate < '01/03/2026 12:00:00 AM'",
        // refused ones, also markers of the shapes' own form written in
        "Update INVENTORY..tbInvWithdrawRequest Set Remarks = 'CHECKED'2",
        "Update INVENTORY..tbInvWithdrawRequest Set Remarks = 'A' 2 = Remarks",
        "Update INVENTORY..tbInvWithdrawRequest Set Remarks = 'FOR WARD 3 WHERE DocumentNumber = ''",
        "Update INVENTORY..tbInvWithdrawRequest Set VerifiedBy = ? Where DocumentNumber = '7'",
        "Update INVENTORY..tbInvWithdrawRequest Set VerifiedBy = ?1 Where DocumentNumber = '7'",
        "Update INVENTORY..tbInvWithdrawRequest Set VerifiedBy = ?T1 Where DocumentNumber = '7'",
        "Update INVENTORY..tbInvWithdrawRequest Set Remarks = 'X', VerifiedBy = ?T2",
        "Update INVENTORY..tbInvWithdrawRequest Set VerifiedBy = ?N1",
        "Update INVENTORY..tbInvWithdrawRequest Set VerifiedBy = @who, Remarks = :x Where DocumentNumber = '7'",
        "Update INVENTORY..tbInvWithdrawRequest Set VerifiedBy = $who Where DocumentNumber = '7'",
        "Update INVENTORY..tbInvWithdrawRequest Set VerifiedBy = 'X' Where isnull(Remarks,'') = ('FOR WARD USE'",
        "Select ItemID From INVENTORY..tbInvMaster Where ItemID in ('P1', 'P2'",
        "Select ItemID From INVENTORY..tbInvMaster Where ItemID = 'P1')",
    };
    for (const char* text : statements) {
        const QString statement = QString::fromUtf8(text);
        SCOPED_TRACE(text);
        testing_support::TempDatabase shaped;
        testing_support::TempDatabase written;
        SeedForComparison(shaped);
        SeedForComparison(written);
        db::TsqlTranslator translator;
        const QStringList byShape = Outcome(shaped, [&] { return shaped.Connection().Execute(statement); });
        const QStringList byText = Outcome(written, [&] { return written.Native(translator.Translate(statement).sql); });
        EXPECT_EQ(byShape.join('\n').toStdString(), byText.join('\n').toStdString());
        // A cursor on a read runs its shape as well.
        if (statement.startsWith(QLatin1String("Select"))) {
            QStringList read;
            try {
                const std::unique_ptr<db::Cursor> cursor = shaped.Connection().OpenCursor(statement);
                cursor->Fetch(100);
                for (int row = 0; row < cursor->RowsRead(); ++row) {
                    QStringList cells;
                    for (int column = 0; column < cursor->ColumnCount(); ++column)
                        cells << cursor->Value(row, column).toString();
                    read << cells.join(QLatin1Char('|'));
                }
            } catch (const db::DbError& e) {
                read << QStringLiteral("refused: ") + e.Description();
            }
            EXPECT_EQ(read.join('\n').toStdString(), byText.mid(0, byText.indexOf(QStringLiteral("--"))).join('\n').toStdString());
        }
    }
}

// The product search by the start of a name reads a range of the name
// index in the name's order, whatever letters the start holds, and finds
// the names that start so in any case.
TEST(StatementShape, ASearchByTheStartOfANameReadsARangeOfTheNameIndex)
{
    testing_support::TempDatabase db;
    SeedForComparison(db);
    db.Insert("tbInvMaster", {{"ItemID", "P4"}, {"ItemName", QString::fromUtf8("piña juice")}, {"Packing", 1}});
    // A character below the blank after the start: in the range all the same.
    db.Insert("tbInvMaster", {{"ItemID", "P5"}, {"ItemName", "PI\tTAB"}, {"Packing", 1}});
    for (const char* start : {"PIÑA", "PI", "CAFÉ"}) {
        const QString statement = QStringLiteral(
            "Select A.ItemID as Code, A.ItemName As [Product Name], B.SupplierName As Supplier "
            "From INVENTORY..tbInvMaster A Left Outer Join INVENTORY..tbInvSupplier B ON A.SupplierID = B.SupplierID "
            "Where ( A.ItemStatus = 0 or A.ItemStatus is Null ) and A.ItemName Like '%1%' Order by A.ItemName, A.ItemDesc")
                                      .arg(QString::fromUtf8(start));
        SCOPED_TRACE(start);
        const std::string plan = testing_support::ColumnTexts(
            db.Native("EXPLAIN QUERY PLAN " + db.Sqlite().PlannedCursorSql(statement)), 3).join('\n').toStdString();
        EXPECT_NE(plan.find("SEARCH A USING INDEX ixMasterName (ItemName>? AND ItemName<?)"), std::string::npos) << plan;
        EXPECT_EQ(plan.find("TEMP B-TREE"), std::string::npos) << plan;
    }
    const auto found = [&](const char* start) {
        const QString statement =
            QStringLiteral("Select A.ItemID From INVENTORY..tbInvMaster A Where A.ItemName Like '%1%' Order by A.ItemName")
                .arg(QString::fromUtf8(start));
        const std::unique_ptr<db::Cursor> cursor = db.Connection().OpenCursor(statement);
        cursor->Fetch(100);
        QStringList codes;
        for (int row = 0; row < cursor->RowsRead(); ++row)
            codes << cursor->Value(row, 0).toString();
        return codes;
    };
    EXPECT_EQ(found("PIÑA"), (QStringList{"P1", "P4"}));
    EXPECT_EQ(found("piñ"), (QStringList{"P1", "P4"}));
    EXPECT_EQ(found("CAFÉ C"), QStringList{"P2"});
    EXPECT_EQ(found("CAFE"), QStringList{});
    EXPECT_EQ(found("PI"), (QStringList{"P5", "P3", "P1", "P4"}));  // ñ after every ASCII letter
    EXPECT_EQ(found(""), (QStringList{"P2", "P5", "P3", "P1", "P4"}));
    // The range of a start that ends in a blank, or of one with a _ after
    // it, holds more than the matches: the LIKE sorts them out.
    EXPECT_EQ(found("PI "), QStringList{});
    EXPECT_EQ(found("P_N"), QStringList{"P3"});
}
