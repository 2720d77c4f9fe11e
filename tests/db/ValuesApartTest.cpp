// Statements run with their values given apart from the text: each backend
// stores and reads what the statement with the values written in gives.
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

INSTANTIATE_TEST_SUITE_P(Backends, ValuesApart, testing::ValuesIn(testing_support::AllBackends()),
                         testing_support::BackendTestName());
