#include "requests/RequestStore.h"

#include "db/Connection.h"
#include "db/DbError.h"
#include "db/Quote.h"
#include "db/WholeNumbers.h"

#include <optional>

namespace requests {

namespace {

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

// One line's insert: the header's values are the same on every row, the
// line's own go beside them. Quantity and unit cost are written as the grid
// shows them, unquoted.
class LineInserts {
public:
    LineInserts(const RequestToSave& request, const QString& number)
        : values_{number.trimmed(), {}, {}, {}, {}, {}, request.locationId, request.targetLocationId,
                  request.transDate, request.userId, request.remarks}
    {
    }

    const QString& Statement() const
    {
        static const QString statement =
            QStringLiteral("Insert INVENTORY..tbInvWithdrawRequest (DocumentNumber, ItemID, Quantity, UnitCost, "
                           "ForRetail, isADS, LocationID, TargetLocationID, TransDate, UserID, Remarks) Values "
                           "(?,?,?,?,?, ?, ?, ?, ?, ?, ?)");
        return statement;
    }

    const QVariantList& For(const RequestLine& line)
    {
        values_[1] = line.itemId;
        values_[2] = QVariant::fromValue(db::NumberText{line.quantity});
        values_[3] = QVariant::fromValue(db::NumberText{line.unitCost});
        values_[4] = line.retail;
        values_[5] = line.ads.trimmed() == QLatin1String("Y") ? QStringLiteral("1") : QStringLiteral("0");
        return values_;
    }

private:
    QVariantList values_;
};

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

NumberTakenError::NumberTakenError()
    : db::DbError(QStringLiteral("Document Number already exists. Please assign a new number.")) {}

namespace {

void RefuseConflict(const std::optional<Conflict>& conflict)
{
    if (conflict)
        throw ConflictError(*conflict, ConflictText(*conflict, kSinceOpened));
}

} // namespace

QString SaveRequest(db::Connection& connection, const RequestToSave& request, StoredRequest* saved)
{
    db::TransactionGuard transaction(connection);
    const bool generated = request.documentNumber == kNewNumber;
    const QString number = generated ? NewNumber(connection) : request.documentNumber;
    // Under the transaction's write lock nobody else writes until commit:
    // what is read now stays so until this save is stored.
    if (request.opened)
        RefuseConflict(SaveConflict(*request.opened, StoredRequest::Read(connection, number)));
    else if (!generated && DocumentNumberExists(connection, number))
        throw NumberTakenError();
    // The lines are stored under the trimmed number, so the lines to replace
    // are those of the trimmed number too, whatever blanks it was typed with.
    connection.Execute("Delete INVENTORY..tbInvWithdrawRequest Where DocumentNumber = " + db::Quote(number.trimmed()));
    // The lines go in together: a failed one fails the save, so a server
    // may send them as one statement.
    LineInserts inserts(request, number);
    QList<QVariantList> lines;
    for (const RequestLine& line : request.lines)
        if (!line.itemId.trimmed().isEmpty())
            lines << inserts.For(line);
    if (!lines.isEmpty())
        connection.ExecuteWithRows(inserts.Statement(), lines);
    if (saved)
        *saved = StoredRequest::Read(connection, number);
    transaction.Commit();
    return number;
}

void RecordVerification(db::Connection& connection, const StoredRequest& saved, const QString& verifierId)
{
    db::TransactionGuard transaction(connection);
    RefuseConflict(SaveConflict(saved, StoredRequest::Read(connection, saved.number)));
    connection.Execute("Update Inventory..tbInvWithdrawRequest set Verifiedby = " + db::Quote(verifierId)
                       + ", verifiedDate = GetDate() where DocumentNumber = " + db::Quote(saved.number.trimmed()));
    transaction.Commit();
}

void VerifySaved(db::Connection& connection, const QString& documentNumber, const QString& verifierId)
{
    connection.Execute("Update INVENTORY..tbInvWithdrawRequest Set VerifiedBy = " + db::Quote(verifierId)
                       + ", VerifiedDate = getdate() Where DocumentNumber = " + db::Quote(documentNumber));
}

void CancelRequest(db::Connection& connection, const ListedRequest& listed, const QString& userId)
{
    db::TransactionGuard transaction(connection);
    if (const std::optional<Conflict> conflict =
            CancelConflict(listed, StoredRequest::Read(connection, listed.number)))
        throw ConflictError(*conflict, ConflictText(*conflict, kSinceListed));
    connection.Execute("Update INVENTORY..tbInvWithDrawRequest set Status = 'D', ProcessDate = getdate(), ProcessBy = "
                       + db::Quote(userId) + "  where DocumentNumber = " + db::Quote(listed.number));
    transaction.Commit();
}

} // namespace requests
