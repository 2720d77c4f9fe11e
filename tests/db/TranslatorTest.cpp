#include "db/DbError.h"
#include "db/TsqlTranslator.h"
#include "support/TempDatabase.h"

#include <gtest/gtest.h>

using db::TsqlTranslator;
using testing_support::TempDatabase;

namespace {

struct TranslationCase {
    const char* tsql;
    const char* sqlite;
};

// A result value as text, "NULL" for null, so that typed and untyped nulls compare equal.
std::string Shown(const QVariant& value)
{
    return value.isNull() ? "NULL" : value.toString().toStdString();
}

QString Translated(const char* statement)
{
    TsqlTranslator translator;
    return translator.Translate(statement).sql;
}

} // namespace

TEST(Translator, RewritesTheServerDialect)
{
    const TranslationCase cases[] = {
        // database and owner qualifiers, any case; aliases stay
        {"Select A.ItemID From INVENTORY..tbInvMaster A", "Select A.ItemID From tbInvMaster A"},
        {"select * from password..tbpasswordmain", "select * from tbpasswordmain"},
        {"Select * From Inventory.dbo.tbInvKit Where KitID = 'K'", "Select * From tbInvKit Where KitID = 'K'"},
        {"Select * From dbo.tbInvKit", "Select * From tbInvKit"},
        // Delete and Insert without FROM / INTO
        {"Delete INVENTORY..tbInvKit Where KitID = 'K'", "Delete FROM tbInvKit Where KitID = 'K'"},
        {"Delete From INVENTORY..tbInvKit", "Delete From tbInvKit"},
        {"Insert INVENTORY..tbInvKit (KitID, ItemID) Values ('K','P')", "Insert INTO tbInvKit (KitID, ItemID) Values ('K','P')"},
        {"Insert Into INVENTORY..tbInvKit (KitID) Values ('K')", "Insert Into tbInvKit (KitID) Values ('K')"},
        // functions
        {"Update t Set ProcessDate = getdate()", "Update t Set ProcessDate = datetime('now','localtime')"},
        {"Select isnull(Status,'') From t", "Select ifnull(Status,'') From t"},
        {"Select SubString(s,1,PatIndex('%.%',s) -1) From t", "Select substr(s,1,tsql_patindex('%.%',s) -1) From t"},
        {"Select Replace(itemid,'P','') From t", "Select tsql_replace(itemid,'P','') From t"},
        {"Select (max(Cast(DocumentNumber as int)) + 1) as DocNum From t", "Select (tsql_int(max(tsql_int_key(DocumentNumber))) + 1) as DocNum From t"},
        {"Select Convert( VarChar(4),Max( Convert(Integer,LocationID ) ) + 1 ) As N From t",
         "Select tsql_varchar(tsql_int( max(tsql_int_key(LocationID)) ) + 1,4) As N From t"},
        {"Select Convert(Int, x), Cast(y as varchar(3)), Convert(varchar, z) From t",
         "Select tsql_int(x), tsql_varchar(y,3), tsql_varchar(z) From t"},
        {"Select Cast(x as float) From t", "Select CAST(x AS REAL) From t"},
        // TOP at the end of its own select, also inside a sub-select
        {"Select Top 1 ItemID From t Order By ItemID", "Select ItemID From t Order By ItemID LIMIT 1"},
        {"Select distinct top (5) ItemID From t;", "Select distinct ItemID From t LIMIT 5;"},
        {"Select A.X, (Select Top 1 LastName From p Where EmployeeID = A.UserID),A.Y From a A Order By A.X",
         "Select A.X, (Select LastName From p Where EmployeeID = A.UserID LIMIT 1),A.Y From a A Order By A.X"},
        // Unicode literal prefix
        {"Select * From t Where ItemName = N'X'", "Select * From t Where ItemName = 'X'"},
        // texts compared with no column take the collation of text columns
        {"Select * From t Where isnull(Status,'') = '' and 'a' <> N'b '",
         "Select * From t Where ifnull(Status,'') = '' COLLATE TSQL_CI and 'a' <> 'b ' COLLATE TSQL_CI"},
        {"Select * From t Where IsNull(C.IsFixedAsset,0) <> -1 and (Select Top 1 x From u) = 'X'",
         "Select * From t Where ifnull(C.IsFixedAsset,0) <> -1 COLLATE TSQL_CI and (Select x From u LIMIT 1) = 'X' COLLATE TSQL_CI"},
        // constructs SQLite reads as they are
        {"Select Location From t Where Not Status = 'I' or Status is Null  ORDER BY Location",
         "Select Location From t Where Not Status = 'I' or Status is Null  ORDER BY Location"},
        {"Select A.ItemName As [Product Name] From t A Where x <> 1 and y in ('4','00') and z Like 'AB%'",
         "Select A.ItemName As [Product Name] From t A Where x <> 1 and y in ('4','00') and z Like 'AB%'"},
        {"Select 'it''s' From t", "Select 'it''s' From t"},
        // a text column's LIKE gets the range its matches lie in, where that
        // range and it together mean what it means
        {"Select * From t A Where A.ItemName Like 'AB%' Order By 1",
         "Select * From t A Where (A.ItemName >= tsql_like_low('AB%') AND A.ItemName < tsql_like_high('AB%') AND "
         "(tsql_like_exact('AB%') OR A.ItemName Like 'AB%')) Order By 1"},
        {"Select * From t Where (Terms Like 'N%')", "Select * From t Where ((Terms >= tsql_like_low('N%') AND "
                                                    "Terms < tsql_like_high('N%') AND (tsql_like_exact('N%') OR Terms Like 'N%')))"},
        {"Select * From t Where Terms Not Like 'N%' or Terms Like 'N%' Escape '!' or 'x' + Terms Like 'xN%'",
         "Select * From t Where Terms Not Like 'N%' or Terms Like 'N%' Escape '!' or 'x' || Terms Like 'xN%'"},
        {"Select * From t Where Packing Like '1%' and Terms Like 'N%' + 'x' or x Between 1 and Terms Like 'N%'",
         "Select * From t Where Packing Like '1%' and Terms Like 'N%' || 'x' or x Between 1 and Terms Like 'N%'"},
    };
    for (const TranslationCase& c : cases)
        EXPECT_EQ(Translated(c.tsql).toStdString(), c.sqlite) << c.tsql;
}

// What would mean one thing to the server and another to SQLite is refused
// as the server refuses it, before anything runs.
TEST(Translator, RefusesWhatSQLiteWouldReadOtherwise)
{
    const struct {
        const char* tsql;
        const char* error;
    } cases[] = {
        {"Update t Set Remarks = 'CHECKED'2", "Incorrect syntax near '2'."},
        {"Update t Set Remarks = 'A' 2 Where x = 1", "Incorrect syntax near '2'."},
        {"Update t Set Remarks = 'FOR WARD 3 WHERE DocumentNumber = ''",
         "Unclosed quotation mark after the character string 'FOR WARD 3 WHERE DocumentNumber = '''."},
        {"Select [Product Name From t", "Unclosed quotation mark after the character string 'Product Name From t'."},
        {"Update t Set VerifiedBy = ? Where DocumentNumber = '7'", "Incorrect syntax near '?'."},
        {"Update t Set VerifiedBy = ?1 Where DocumentNumber = '7'", "Incorrect syntax near '?'."},
        {"Update t Set VerifiedBy = :who Where DocumentNumber = '7'", "Incorrect syntax near ':'."},
        {"Update t Set VerifiedBy = $who Where DocumentNumber = '7'", "Incorrect syntax near '$'."},
        {"Update t Set VerifiedBy = @who Where DocumentNumber = '7'", "Must declare the scalar variable \"@who\"."},
        {"Select * From #picked", "Invalid object name '#picked'."},
        {"Select a@b From t", "Invalid column name 'a@b'."},
        {"Select * From t Where isnull(Status,'') = ('P'", "Incorrect syntax near 'P'."},
        {"Select GetDate(", "Incorrect syntax near '('."},
        {"Select Convert(Int, x", "Incorrect syntax near 'x'."},
        {"Select x) From t", "Incorrect syntax near ')'."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tsql);
        TsqlTranslator translator;
        try {
            translator.Translate(c.tsql);
            ADD_FAILURE() << "translated";
        } catch (const db::DbError& e) {
            EXPECT_EQ(e.Description().toStdString(), c.error);
        }
    }
    // Quoted, the same characters are only text.
    EXPECT_EQ(Translated("Select * From t Where a = '? :x $x @x #x (' and b = 2").toStdString(),
              "Select * From t Where a = '? :x $x @x #x (' and b = 2");
}

TEST(Translator, PlusJoinsTextAndAddsNumbers)
{
    const TranslationCase cases[] = {
        {"Select LastName + ', ' + FirstName From p", "Select LastName || ', ' || FirstName From p"},
        {"Select A.ItemName + ' ' + A.ItemDesc From m A", "Select A.ItemName || ' ' || A.ItemDesc From m A"},
        {"Select Packing + 1, Max(Packing) + OnHand From m", "Select Packing + 1, Max(Packing) + OnHand From m"},
        {"Select Convert(VarChar(4), Packing) + Packing From m", "Select tsql_varchar(Packing,4) || Packing From m"},
        {"Select Cast(Packing as varchar(9)) + 'x' From m", "Select tsql_varchar(Packing,9) || 'x' From m"},
        {"Select isnull(ItemName,'') + SubString(ItemDesc,1,2) From m", "Select ifnull(ItemName,'') || substr(ItemDesc,1,2) From m"},
        {"Select Replace(ItemID,'P','') + 1 From m", "Select tsql_replace(ItemID,'P','') || 1 From m"},
        {"Select (Select Top 1 ItemName From m) + 'x' From m", "Select (Select ItemName From m LIMIT 1) || 'x' From m"},
        {"Select Case When VAT = 1 Then 'A' Else 'B' End + 'x' From m", "Select Case When VAT = 1 Then 'A' Else 'B' End || 'x' From m"},
        {"Select (Packing * 2) + 1, 1 + 2 + 3 From m", "Select (Packing * 2) + 1, 1 + 2 + 3 From m"},
        {"Select x From m Where Packing = +1", "Select x From m Where Packing = +1"},
    };
    for (const TranslationCase& c : cases)
        EXPECT_EQ(Translated(c.tsql).toStdString(), c.sqlite) << c.tsql;
}

TEST(Translator, DateTextIsStoredSortableOnlyForDateTimeColumns)
{
    const TranslationCase cases[] = {
        {"Insert INVENTORY..tbInvWithdrawRequest (DocumentNumber, TransDate, Remarks) Values ('1', '03/07/2026 02:05:09 PM', '03/07/2026 02:05:09 PM')",
         "Insert INTO tbInvWithdrawRequest (DocumentNumber, TransDate, Remarks) Values ('1', '2026-03-07 14:05:09', '03/07/2026 02:05:09 PM')"},
        {"Update t Set VerifiedDate = '12/31/2025 12:00:00 AM', Remarks = '12/31/2025 12:00:00 AM'",
         "Update t Set VerifiedDate = '2025-12-31 00:00:00', Remarks = '12/31/2025 12:00:00 AM'"},
        {"Select * From t A Where A.TransDate >= '01/02/2026 12:30:00 PM' and '01/02/2026 01:00:00 AM' < ProcessDate",
         "Select * From t A Where A.TransDate >= '2026-01-02 12:30:00' and '2026-01-02 01:00:00' < ProcessDate"},
        // a text that is no date goes to SQLite as it is
        {"Select * From t Where TransDate = 'tomorrow'", "Select * From t Where TransDate = 'tomorrow'"},
    };
    for (const TranslationCase& c : cases)
        EXPECT_EQ(Translated(c.tsql).toStdString(), c.sqlite) << c.tsql;
}

TEST(Translator, GetDateAliasIsADateTimeColumnAndCacheKeepsTranslation)
{
    TsqlTranslator translator;
    const QString statement = "Select *, GetDate() as CurDate From Inventory..tbHospitalInfo";
    const db::Translation& first = translator.Translate(statement);
    EXPECT_EQ(first.sql.toStdString(), "Select *, datetime('now','localtime') as CurDate From tbHospitalInfo");
    EXPECT_EQ(first.dateTimeColumns, QSet<QString>{"curdate"});
    EXPECT_EQ(&translator.Translate(statement), &first);
    EXPECT_TRUE(translator.Translate("Select getdate() Stamp From t").dateTimeColumns.contains("stamp"));
}

TEST(TsqlFunctions, IntConversionIsStrictLikeTheServer)
{
    TempDatabase db;
    struct Good { const char* expression; QVariant value; };
    const Good good[] = {
        {"Cast(' 12 ' as int)", 12}, {"Convert(Integer, '-7')", -7}, {"Cast('' as int)", 0},
        {"Convert(Int, 12.9)", 12}, {"Cast(NULL as int)", QVariant()},
    };
    for (const Good& g : good) {
        const db::RowSet rows = db.Connection().Execute(QStringLiteral("Select %1 as V").arg(g.expression));
        EXPECT_EQ(Shown(rows.Field("V")), Shown(g.value)) << g.expression;
    }
    struct Bad { const char* expression; const char* error; };
    const Bad bad[] = {
        {"Cast('A12' as int)", "Conversion failed when converting the varchar value 'A12' to data type int."},
        {"Convert(Integer, '12.5')", "Conversion failed when converting the varchar value '12.5' to data type int."},
        {"Cast('99999999999' as int)", "The conversion of the varchar value '99999999999' overflowed an int column."},
    };
    for (const Bad& b : bad) {
        try {
            db.Connection().Execute(QStringLiteral("Select %1 as V").arg(b.expression));
            ADD_FAILURE() << b.expression << " converted";
        } catch (const db::DbError& e) {
            EXPECT_EQ(e.Description().toStdString(), b.error);
        }
    }
}

TEST(TsqlFunctions, VarcharPatIndexAndReplace)
{
    TempDatabase db;
    struct Case { const char* expression; QVariant value; };
    const Case cases[] = {
        {"Convert(VarChar(4), 12 + 1)", "13"},
        {"Convert(VarChar(4), 10000)", "*"},
        {"Convert(VarChar(2), 'ABC')", "AB"},
        {"Convert(VarChar(4), 3.0)", "3"},
        {"Convert(VarChar(4), NULL)", QVariant()},
        {"PatIndex('%.%', '12.3')", 3},
        {"PatIndex('%.%', '123')", 0},
        {"PatIndex('%[0-9]%', 'ab7c')", 3},
        {"PatIndex('%[^a]%', 'AAb')", 3},
        {"PatIndex('%b_d%', 'abcd')", 2},
        {"PatIndex('ab%', 'ABc')", 1},
        {"PatIndex('b%', 'abc')", 0},
        {"PatIndex('%.%', NULL)", QVariant()},
        {"Replace('p01P', 'P', '')", "01"},
    };
    for (const Case& c : cases) {
        const db::RowSet rows = db.Connection().Execute(QStringLiteral("Select %1 as V").arg(c.expression));
        EXPECT_EQ(Shown(rows.Field("V")), Shown(c.value)) << c.expression;
    }
}

// Texts compare as on the server: every letter without regard to case,
// accents kept, trailing blanks left off; they order by their folded code
// points, a text before every longer one that starts with it.
TEST(TsqlFunctions, TextsCompareWithoutRegardToCase)
{
    TempDatabase db;
    const struct {
        const char* left;
        const char* right;
        int order;
    } cases[] = {
        {"PIÑA", "piña", 0}, {"CAFÉ", "café", 0}, {"1 ", "1", 0}, {"Ñ  ", "ñ", 0},
        {"CAFE", "CAFÉ", -1}, {"pinza", "PIÑA", -1}, {"A", "A\t", -1}, {"A\t", "A ", 1},
        {"Ê", "é", 1}, {"É", "ê", -1}, {"ÀB", "àc", -1}, {"", " ", 0},
    };
    for (const auto& c : cases) {
        const db::RowSet rows = db.Native(
            "SELECT CASE WHEN ?1 = ?2 COLLATE TSQL_CI THEN 0 WHEN ?1 < ?2 COLLATE TSQL_CI THEN -1 ELSE 1 END",
            {QString::fromUtf8(c.left), QString::fromUtf8(c.right)});
        EXPECT_EQ(rows.Field(0).toInt(), c.order) << c.left << " : " << c.right;
    }
}

// LIKE folds every letter's case and keeps accents; % and _ as SQLite has
// them, an ESCAPE character when one is named.
TEST(TsqlFunctions, LikeFoldsEveryLetter)
{
    TempDatabase db;
    const struct {
        const char* text;
        const char* pattern;
        const char* escape;
        int matches;
    } cases[] = {
        {"PIÑA COLADA", "piña%", nullptr, 1}, {"CAFÉ", "café", nullptr, 1}, {"CAFE", "café", nullptr, 0},
        {"ÉCLAIR", "_clair", nullptr, 1}, {"ab", "a_", nullptr, 1}, {"a", "a_", nullptr, 0},
        {"", "%", nullptr, 1}, {"x", "", nullptr, 0}, {"aXbYc", "a%b%c", nullptr, 1}, {"aXbY", "a%b%c", nullptr, 0},
        {"mississippi", "%iss%pi", nullptr, 1}, {"mississippi", "%iss%ip", nullptr, 0}, {"a[b]", "a[b]%", nullptr, 1},
        {"50%", "50!%", "!", 1}, {"500", "50!%", "!", 0}, {"a_b", "a!_%", "!", 1}, {"a!", "a!", "!", 0},
    };
    for (const auto& c : cases) {
        const QString escape = c.escape ? QStringLiteral(" ESCAPE '%1'").arg(QLatin1String(c.escape)) : QString();
        const db::RowSet rows = db.Native(QStringLiteral("SELECT ? LIKE ?%1").arg(escape),
                                          {QString::fromUtf8(c.text), QString::fromUtf8(c.pattern)});
        EXPECT_EQ(rows.Field(0).toInt(), c.matches) << c.text << " LIKE " << c.pattern;
    }
}
