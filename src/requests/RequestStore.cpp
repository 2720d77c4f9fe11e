#include "requests/RequestStore.h"

#include "app/Texts.h"
#include "db/Connection.h"
#include "db/DbError.h"
#include "db/Quote.h"
#include "db/WholeNumbers.h"

#include <optional>

namespace requests {

namespace {

const QString kNewNumber = QStringLiteral("NEW");

// The server's own number query; it fails when a stored number is not a
// whole number.
std::optional<qlonglong> HighestPlusOne(db::Connection& connection)
{
    try {
        const db::RowSet rows = connection.Execute(QStringLiteral(
            "Select (max(Cast(DocumentNumber as int)) + 1) as DocNum From INVENTORY..tbInvWithdrawRequest"));
        if (rows.IsEmpty() || rows.Field(QStringLiteral("DocNum")).isNull())
            return 1;
        return rows.Field(QStringLiteral("DocNum")).toLongLong();
    } catch (const db::DbError&) {
        return std::nullopt;
    }
}

// The highest whole number among the stored ones, plus one, counted here
// when the server cannot.
qlonglong HighestWholeNumberPlusOne(db::Connection& connection)
{
    return db::HighestWholeNumberPlusOne(connection.Execute(
        QStringLiteral("Select distinct DocumentNumber From INVENTORY..tbInvWithdrawRequest")));
}

QString InsertStatement(const RequestToSave& request, const QString& number, const QString& datePiece,
                        const RequestLine& line)
{
    return QStringLiteral("Insert INVENTORY..tbInvWithdrawRequest (DocumentNumber, ItemID, Quantity, UnitCost, "
                          "ForRetail, isADS, LocationID, TargetLocationID, TransDate, UserID, Remarks) ")
           + QStringLiteral("Values (") + db::Quote(number.trimmed()) + QStringLiteral(",")
           + db::Quote(line.itemId) + QStringLiteral(",") + line.quantity + QStringLiteral(",") + line.unitCost
           + QStringLiteral(",") + db::Quote(line.retail) + QStringLiteral(", ")
           + db::Quote(line.ads.trimmed() == QLatin1String("Y") ? QStringLiteral("1") : QStringLiteral("0"))
           + QStringLiteral(", ") + db::Quote(request.locationId) + QStringLiteral(", ")
           + db::Quote(request.targetLocationId) + QStringLiteral(", ") + datePiece + QStringLiteral(", ")
           + db::Quote(request.userId) + QStringLiteral(", ") + db::Quote(request.remarks) + QStringLiteral(")");
}

} // namespace

QString GetNewDocNumber(db::Connection& connection)
{
    qlonglong candidate = HighestPlusOne(connection).value_or(0);
    if (candidate <= 0)
        candidate = HighestWholeNumberPlusOne(connection);
    // Stored numbers are free text: "13" may be taken by a typed " 13" or
    // "013" that the numeric maximum did not see as 13's equal.
    while (DocumentNumberExists(connection, QString::number(candidate)))
        ++candidate;
    return QString::number(candidate);
}

bool DocumentNumberExists(db::Connection& connection, const QString& documentNumber)
{
    const db::RowSet rows = connection.Execute(
        "Select DocumentNumber from Inventory..tbinvWithdrawRequest where DocumentNumber = "
        + db::Quote(documentNumber.trimmed()));
    return rows.RecordCount() > 0;
}

namespace {

QString NewNumber(db::Connection& connection)
{
    try {
        return GetNewDocNumber(connection);
    } catch (const db::DbError& e) {
        throw NumberingError(e.Description());
    }
}

} // namespace

QString SaveRequest(db::Connection& connection, const RequestToSave& request)
{
    db::TransactionGuard transaction(connection);
    const QString number = request.documentNumber == kNewNumber ? NewNumber(connection) : request.documentNumber;
    const QString datePiece = db::Quote(app::FormatDateTime(request.transDate));
    // The lines are stored under the trimmed number, so the lines to replace
    // are those of the trimmed number too, whatever blanks it was typed with.
    connection.Execute("Delete INVENTORY..tbInvWithdrawRequest Where DocumentNumber = " + db::Quote(number.trimmed()));
    for (const RequestLine& line : request.lines) {
        if (line.itemId.trimmed().isEmpty())
            continue;
        connection.Execute(InsertStatement(request, number, datePiece, line));
    }
    transaction.Commit();
    return number;
}

void RecordVerification(db::Connection& connection, const QString& documentNumber, const QString& verifierId)
{
    connection.Execute("Update Inventory..tbInvWithdrawRequest set Verifiedby = " + db::Quote(verifierId)
                       + ", verifiedDate = GetDate() where DocumentNumber = " + db::Quote(documentNumber.trimmed()));
}

void VerifySaved(db::Connection& connection, const QString& documentNumber, const QString& verifierId)
{
    connection.Execute("Update INVENTORY..tbInvWithdrawRequest Set VerifiedBy = " + db::Quote(verifierId)
                       + ", VerifiedDate = getdate() Where DocumentNumber = " + db::Quote(documentNumber));
}

void CancelRequest(db::Connection& connection, const QString& documentNumber, const QString& userId)
{
    connection.Execute("Update INVENTORY..tbInvWithDrawRequest set Status = 'D', ProcessDate = getdate(), ProcessBy = "
                       + db::Quote(userId) + "  where DocumentNumber = " + db::Quote(documentNumber));
}

} // namespace requests
