// Statements run with their values given apart from the text: each backend
// stores and reads what the statement with the values written in gives. A
// date or a date-time is one to every backend; a value of a type that no
// statement can hold is refused.
#include "db/DbError.h"
#include "support/TempDatabase.h"

#include <QDateTime>
#include <gtest/gtest.h>

using testing_support::Backend;
using testing_support::TempDatabase;

namespace {

class ValuesApart : public ::testing::TestWithParam<Backend> {
protected:
    void SetUp() override { TESSARY_SKIP_UNLESS_AVAILABLE(GetParam()); }
};

const QString kInsert = QStringLiteral(
    "Insert INVENTORY..tbInvWithdrawRequest (DocumentNumber, ItemID, Quantity, UnitCost, Remarks, TransDate, "
    "VerifiedBy, Status) Values (?, ?, ?, ?, ?, ?, ?, 'P')");

QStringList Stored(db::Connection& connection, const char* number)
{
    const db::RowSet rows = connection.Execute(
        QStringLiteral("Select ItemID, Quantity, UnitCost, Remarks, TransDate, VerifiedBy, Status From "
                       "INVENTORY..tbInvWithdrawRequest Where DocumentNumber = '%1'").arg(QLatin1String(number)));
    QStringList values;
    for (const QVariant& value : rows.RowAt(0))
        values << (value.isNull() ? QStringLiteral("NULL") : value.toString());
    return values;
}

} // namespace

TEST_P(ValuesApart, StoreWhatTheStatementWithTheValuesWrittenInStores)
{
    TempDatabase db(GetParam());
    db::Connection& connection = db.Connection();
    QStringList seen;
    connection.SetStatementObserver([&](const QString& statement) { seen << statement; });

    const QVariantList values{"7", "P'1 ?", 3, 2.5, QString(""), "03/07/2026 02:05:09 PM", QVariant()};
    connection.ExecuteWith(kInsert, values);
    EXPECT_EQ(seen.value(0).toStdString(),
              "Insert INVENTORY..tbInvWithdrawRequest (DocumentNumber, ItemID, Quantity, UnitCost, Remarks, TransDate, "
              "VerifiedBy, Status) Values ('7', 'P''1 ?', 3, 2.5, '', '03/07/2026 02:05:09 PM', null, 'P')");
    QVariantList written = values;
    written[0] = "8";
    connection.Execute(db::WithValuesWritten(kInsert, written));
    EXPECT_EQ(Stored(connection, "7"), Stored(connection, "8"));
    EXPECT_EQ(Stored(connection, "7").value(4), QVariant(QDateTime(QDate(2026, 3, 7), QTime(14, 5, 9))).toString());

    // Another value NULL, another shape; then the first again.
    connection.ExecuteWith(kInsert, {"9", QVariant(), 1, QVariant(), "X", QVariant(), "MSANTOS"});
    EXPECT_EQ(Stored(connection, "9"),
              (QStringList{"NULL", "1", "NULL", "X", "NULL", "MSANTOS", "P"}));
    connection.ExecuteWith(kInsert, {"10", "P'1 ?", 3, 2.5, QString(""), "03/07/2026 02:05:09 PM", QVariant()});
    EXPECT_EQ(Stored(connection, "10"), Stored(connection, "7"));

    EXPECT_THROW(connection.ExecuteWith(kInsert, {"11"}), db::DbError);
    EXPECT_THROW(connection.ExecuteWith("Delete INVENTORY..tbInvWithdrawRequest", {"11"}), db::DbError);
}

// Rows of one statement given together: each row's statement is observed
// and stored as ExecuteWith stores it, in the order given; one that fails
// fails them all, with the failure ExecuteWith gives for it alone.
TEST_P(ValuesApart, RowsGivenTogetherStoreWhatEachStatementStores)
{
    TempDatabase db(GetParam());
    db::Connection& connection = db.Connection();
    QStringList seen;
    connection.SetStatementObserver([&](const QString& statement) { seen << statement; });
    const QList<QVariantList> rows{{"7", "P'1 ?", 3, 2.5, QString(""), "03/07/2026 02:05:09 PM", QVariant()},
                                   {"7", QVariant(), 1, QVariant(), "X", QVariant(), "MSANTOS"},
                                   {"7", "Z", QVariant::fromValue(db::NumberText{"21.3400"}), -1, "Y", QDate(2026, 1, 2), "A"}};
    {
        db::TransactionGuard transaction(connection);
        EXPECT_EQ(connection.ExecuteWithRows(kInsert, rows).RowsAffected(), 3);
        transaction.Commit();
    }
    ASSERT_EQ(seen.size(), 3);
    for (int r = 0; r < rows.size(); ++r) {
        EXPECT_EQ(seen[r], db::WithValuesWritten(kInsert, rows[r]));
        QVariantList one = rows[r];
        one[0] = QString::number(10 + r);
        connection.ExecuteWith(kInsert, one);
    }
    const auto stored = [&](const char* numbers) {
        return testing_support::ColumnTexts(
                   db.Native(QStringLiteral("SELECT coalesce(ItemID, 'NULL') || '|' || Quantity || '|' || coalesce(Remarks, 'NULL') || '|' "
                                            "|| coalesce(VerifiedBy, 'NULL') FROM tbInvWithdrawRequest WHERE DocumentNumber "
                                            "IN (%1) ORDER BY %2")
                                 .arg(QLatin1String(numbers), db.InsertionOrder())))
            .join(QLatin1Char(','))
            .toStdString();
    };
    EXPECT_EQ(stored("'7'"), stored("'10','11','12'"));
    EXPECT_EQ(Stored(connection, "12"), (QStringList{"Z", "21.34", "-1", "Y", QVariant(QDateTime(QDate(2026, 1, 2), QTime(0, 0))).toString(), "A", "P"}));

    // A remark longer than its column: the whole save fails, nothing is kept.
    QList<QVariantList> failing = rows;
    for (QVariantList& row : failing)
        row[0] = "8";
    failing[1][4] = QString(256, QLatin1Char('R'));
    std::string alone;
    try {
        connection.ExecuteWith(kInsert, failing[1]);
    } catch (const db::DbError& e) {
        alone = e.Description().toStdString();
    }
    ASSERT_FALSE(alone.empty());
    try {
        db::TransactionGuard transaction(connection);
        connection.ExecuteWithRows(kInsert, failing);
        ADD_FAILURE() << "the rows were stored";
    } catch (const db::DbError& e) {
        EXPECT_EQ(e.Description().toStdString(), alone);
    }
    EXPECT_EQ(db.Scalar("SELECT count(*) FROM tbInvWithdrawRequest WHERE DocumentNumber = '8'"), 0);
    EXPECT_THROW(connection.ExecuteWithRows(kInsert, {rows[0], {"9"}}), db::DbError);
    EXPECT_EQ(db.Scalar("SELECT count(*) FROM tbInvWithdrawRequest WHERE DocumentNumber = '7'"), 3);
}

namespace {

// The numbers of the requests found, joined by commas.
std::string Numbers(db::Connection& connection, const char* condition, const QVariantList& values)
{
    return testing_support::ColumnTexts(
               connection.ExecuteWith(QStringLiteral("Select DocumentNumber From INVENTORY..tbInvWithdrawRequest "
                                                     "Where %1 Order By DocumentNumber")
                                          .arg(QLatin1String(condition)),
                                      values))
        .join(QLatin1Char(','))
        .toStdString();
}

} // namespace

// Two requests whose dates order otherwise as the program's month-first
// texts than in time: a date bound as such a text would find the wrong one.
TEST_P(ValuesApart, DatesAndDateTimesAreStoredAndComparedAsTheDateTimeColumnsHoldThem)
{
    TempDatabase db(GetParam());
    db::Connection& connection = db.Connection();
    QStringList seen;
    connection.SetStatementObserver([&](const QString& statement) { seen << statement; });
    const QDateTime afternoon(QDate(2026, 3, 7), QTime(14, 5, 9, 750));
    const QString insert = QStringLiteral(
        "Insert INVENTORY..tbInvWithdrawRequest (DocumentNumber, TransDate, VerifiedDate, isADS) Values (?, ?, ?, ?)");
    connection.ExecuteWith(insert, {"1", afternoon, QDate(2026, 3, 8), true});
    connection.ExecuteWith(insert, {"2", QDateTime(QDate(2025, 12, 30), QTime(8, 0)), QDateTime(), false});
    EXPECT_EQ(seen.value(0).toStdString(),
              "Insert INVENTORY..tbInvWithdrawRequest (DocumentNumber, TransDate, VerifiedDate, isADS) Values "
              "('1', '03/07/2026 02:05:09 PM', '03/08/2026 12:00:00 AM', 1)");

    const db::RowSet stored = connection.Execute(
        "Select TransDate, VerifiedDate, isADS From INVENTORY..tbInvWithdrawRequest Order By DocumentNumber");
    EXPECT_EQ(stored.RowAt(0).value(0).toDateTime(), QDateTime(QDate(2026, 3, 7), QTime(14, 5, 9)));
    EXPECT_EQ(stored.RowAt(0).value(1).toDateTime(), QDateTime(QDate(2026, 3, 8), QTime(0, 0)));
    EXPECT_EQ(stored.RowAt(0).value(2).toInt(), 1);
    EXPECT_TRUE(stored.RowAt(1).value(1).isNull()) << "a date-time that is none is NULL";
    EXPECT_EQ(stored.RowAt(1).value(2).toInt(), 0);

    const struct {
        const char* condition;
        QVariantList values;
        const char* numbers;
    } cases[] = {
        {"TransDate = ?", {afternoon}, "1"},
        {"TransDate > ?", {QDate(2025, 12, 31)}, "1"},
        {"TransDate < ?", {QDateTime(QDate(2026, 1, 1), QTime(0, 0))}, "2"},
        {"TransDate >= ? And TransDate < ?", {QDate(2026, 3, 7), QDate(2026, 3, 8)}, "1"},
        {"VerifiedDate = ?", {QDate(2026, 3, 8)}, "1"},
        {"isnull(VerifiedDate, ?) < ?", {QDate(2025, 1, 1), QDate(2026, 1, 1)}, "2"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Numbers(connection, c.condition, c.values), c.numbers) << c.condition;
}

TEST_P(ValuesApart, AValueOfAnotherTypeIsRefusedByItsTypeBeforeAnythingRuns)
{
    TempDatabase db(GetParam());
    db::Connection& connection = db.Connection();
    const struct {
        QVariant value;
        const char* type;
    } cases[] = {
        {QByteArray("P1"), "QByteArray"},
        {QTime(14, 5), "QTime"},
        {QStringList{"P1"}, "QStringList"},
        {QVariant::fromValue(QChar('P')), "QChar"},
    };
    for (const auto& c : cases) {
        try {
            connection.ExecuteWith(kInsert, {"1", c.value, 1, 1.5, "", QVariant(), QVariant()});
            ADD_FAILURE() << c.type << " was taken";
        } catch (const db::DbError& e) {
            EXPECT_EQ(e.Description().toStdString(),
                      std::string("Value 2 of the statement is of type ") + c.type
                          + ", which a statement cannot take: give a text, a number, a truth value, a date, a "
                            "date-time or NULL.");
        }
    }
    EXPECT_EQ(connection.Execute("Select count(*) From INVENTORY..tbInvWithdrawRequest").Field(0).toInt(), 0);
}

// A number given as the text that writes it goes into the statement as
// written (a unit cost as the grid shows it) and is stored as that literal
// is; a text that is no plain number is refused before anything runs.
TEST_P(ValuesApart, ANumberTextStandsAsWrittenAndIsStoredAsItsLiteral)
{
    TempDatabase db(GetParam());
    db::Connection& connection = db.Connection();
    QStringList seen;
    connection.SetStatementObserver([&](const QString& statement) { seen << statement; });
    const auto number = [](const char* text) { return QVariant::fromValue(db::NumberText{QString::fromUtf8(text)}); };

    const struct {
        const char* number;
        const char* quantity;
        const char* unitCost;
    } stored[] = {{"1", "5", "21.3400"}, {"2", "-2", ".5"}, {"3", "12", "1.5e2"}};
    for (const auto& row : stored) {
        const QVariantList values{row.number, "P1", number(row.quantity), number(row.unitCost), "", QVariant(),
                                  QVariant()};
        connection.ExecuteWith(kInsert, values);
        QVariantList written = values;
        written[0] = QString::fromLatin1(row.number) + "W";
        connection.Execute(db::WithValuesWritten(kInsert, written));
        EXPECT_EQ(Stored(connection, row.number), Stored(connection, (std::string(row.number) + "W").c_str()));
    }
    EXPECT_EQ(seen.value(0).toStdString(),
              "Insert INVENTORY..tbInvWithdrawRequest (DocumentNumber, ItemID, Quantity, UnitCost, Remarks, TransDate, "
              "VerifiedBy, Status) Values ('1', 'P1', 5, 21.3400, '', null, null, 'P')");
    EXPECT_EQ(Stored(connection, "1").value(2).toDouble(), 21.34);

    for (const char* notANumber : {"1,000", "", " 5", "5 ", "1.2.3", "--5", "+5", "0x10", "1e", "\u0665", "5;"}) {
        try {
            connection.ExecuteWith(kInsert, {"9", "P1", 1, number(notANumber), "", QVariant(), QVariant()});
            ADD_FAILURE() << notANumber << " was taken";
        } catch (const db::DbError& e) {
            EXPECT_EQ(e.Description().toStdString(),
                      std::string("Value 4 of the statement is not a number: '") + notANumber + "'.");
        }
    }
    EXPECT_EQ(connection.Execute("Select count(*) From INVENTORY..tbInvWithdrawRequest Where DocumentNumber = '9'")
                  .Field(0)
                  .toInt(),
              0);
}

INSTANTIATE_TEST_SUITE_P(Backends, ValuesApart, testing::ValuesIn(testing_support::AllBackends()),
                         testing_support::BackendTestName());
