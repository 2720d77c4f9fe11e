#include "requests/IssueStore.h"

#include "base/Texts.h"
#include "db/Connection.h"
#include "db/Quote.h"
#include "requests/RequestStore.h"

#include <algorithm>
#include <cmath>

namespace requests {

namespace {

constexpr int kRemarksLength = 255;

QString TextOf(const QVariant& value)
{
    return value.isNull() ? QString() : value.toString();
}

double NumberOf(const QVariant& value)
{
    return value.isNull() ? 0.0 : value.toDouble();
}

// A quantity as a statement takes it: plain digits, never an exponent.
QString Figure(double value)
{
    return base::PlainNumber(value);
}

// The store's stock of one item now, for telling a clerk how much is left.
double OnHandNow(db::Connection& connection, const QString& itemId, const QString& locationId)
{
    const db::RowSet rows = connection.Execute("Select OnHand From INVENTORY..tbInvent Where ItemID = "
                                               + db::Quote(itemId) + " And LocationID = " + db::Quote(locationId));
    return rows.IsEmpty() ? 0.0 : NumberOf(rows.Field(0));
}

// The request must still be as the clerk opened it and verified: an issue
// never ships what another workstation cancelled, processed or changed.
void RefuseChanged(const StoredRequest& opened, const StoredRequest& now)
{
    std::optional<Conflict> conflict = SaveConflict(opened, now);
    if (!conflict && !now.IsVerified())
        conflict = Conflict{Conflict::Kind::Changed, now.number, now.userId, QDateTime()};
    if (conflict)
        throw ConflictError(*conflict, ConflictText(*conflict, kSinceOpened));
}

// Takes the line's quantity out of the store: only where at least that much
// is on hand, so two clerks issuing the same item at once can never take
// the stock below zero, whatever each of them read before.
void TakeFromStore(db::Connection& connection, const IssueLine& line, const QString& store)
{
    const db::RowSet taken = connection.Execute(
        "Update INVENTORY..tbInvent Set OnHand = OnHand - " + Figure(line.issue) + " Where ItemID = "
        + db::Quote(line.itemId) + " And LocationID = " + db::Quote(store) + " And OnHand >= " + Figure(line.issue));
    if (taken.RowsAffected() < 1)
        throw ShortStockError(line, OnHandNow(connection, line.itemId, store));
}

// The department's stock goes up where it keeps the item; a department that
// does not stock it receives it all the same, without a stock row.
void DeliverToDepartment(db::Connection& connection, const IssueLine& line, const QString& department)
{
    connection.Execute("Update INVENTORY..tbInvent Set OnHand = isnull(OnHand, 0) + " + Figure(line.issue)
                       + ", LastDeliveryDate = GetDate(), LastDeliveryQty = " + Figure(line.issue)
                       + " Where ItemID = " + db::Quote(line.itemId) + " And LocationID = " + db::Quote(department));
}

void RecordMovement(db::Connection& connection, const IssueOrder& order, const IssueLine& line)
{
    connection.Execute(
        "Insert INVENTORY..tbInvStockMovement (DocumentNumber, LineNumber, ItemID, FromLocationID, ToLocationID, "
        "RequestedQty, Quantity, UnitCost, UserID, MovementDate) Values ("
        + db::Quote(order.opened.number) + ", " + QString::number(line.lineNo) + ", " + db::Quote(line.itemId)
        + ", " + db::Quote(order.opened.locationId) + ", " + db::Quote(order.opened.targetLocationId) + ", "
        + Figure(line.requested) + ", " + Figure(line.issue) + ", " + Figure(line.unitCost) + ", "
        + db::Quote(order.userId) + ", GetDate())");
}

// What was not issued, as a pending request of its own from the same
// department to the same store, numbered as a new request is.
QString RequestTheRest(db::Connection& connection, const IssueOrder& order)
{
    const QString number = GetNewDocNumber(connection);
    const QString head = "Insert INVENTORY..tbInvWithdrawRequest (DocumentNumber, ItemID, Quantity, UnitCost, "
                         "ForRetail, isADS, LocationID, TargetLocationID, TransDate, UserID, Remarks) Values ("
                         + db::Quote(number) + ", ";
    const QString tail = ", " + db::Quote(order.opened.locationId) + ", " + db::Quote(order.opened.targetLocationId)
                         + ", GetDate(), " + db::Quote(order.opened.userId) + ", "
                         + db::Quote(RemainderRemarks(order.opened.number, order.remarks)) + ")";
    for (const IssueLine& line : order.lines) {
        if (line.Short() <= 0)
            continue;
        connection.Execute(head + db::Quote(line.itemId) + ", " + Figure(line.Short()) + ", " + Figure(line.unitCost)
                           + ", " + db::Quote(line.retail) + (line.ads ? QStringLiteral(", 1") : QStringLiteral(", 0")) + tail);
    }
    return number;
}

} // namespace

ShortStockError::ShortStockError(const IssueLine& line, double onHandNow)
    : db::DbError(QStringLiteral("Only %1 of %2 (%3) is on hand at the store now, not %4: nothing was issued.")
                      .arg(base::PlainNumber(std::max(onHandNow, 0.0)), line.name.trimmed(), line.itemId,
                           base::PlainNumber(line.issue))),
      itemId_(line.itemId)
{
}

QString RemainderRemarks(const QString& number, const QString& remarks)
{
    QString text = QStringLiteral("Remainder of request %1").arg(number.trimmed());
    if (!remarks.trimmed().isEmpty())
        text += QStringLiteral(": ") + remarks.trimmed();
    return text.left(kRemarksLength);
}

IssueDraft ReadIssue(db::Connection& connection, const QString& number)
{
    IssueDraft draft;
    draft.stored = StoredRequest::Read(connection, number);
    const db::RowSet rows = connection.Execute(
        "Select R.ItemID, isnull(M.ItemName, '') + ' ' + isnull(M.ItemDesc, '') As ItemName, R.Quantity, "
        "R.UnitCost, R.ForRetail, R.isADS, R.Remarks, S.OnHand, F.Location As FromName, T.Location As ToName "
        "From INVENTORY..tbInvWithdrawRequest R "
        "Left Outer Join INVENTORY..tbInvMaster M On M.ItemID = R.ItemID "
        "Left Outer Join INVENTORY..tbInvent S On S.ItemID = R.ItemID And S.LocationID = R.LocationID "
        "Left Outer Join INVENTORY..tbInvLocation F On F.LocationID = R.TargetLocationID "
        "Left Outer Join INVENTORY..tbInvLocation T On T.LocationID = R.LocationID "
        "Where R.DocumentNumber = " + db::Quote(draft.stored.number) + " Order By M.ItemName, R.ItemID");
    for (int r = 0; r < rows.RecordCount(); ++r) {
        const db::RowSet::Row& row = rows.RowAt(r);
        IssueLine line;
        line.lineNo = r + 1;
        line.itemId = TextOf(row.value(0));
        line.name = TextOf(row.value(1)).trimmed();
        line.requested = NumberOf(row.value(2));
        line.unitCost = NumberOf(row.value(3));
        line.retail = TextOf(row.value(4));
        line.ads = NumberOf(row.value(5)) != 0;
        line.onHand = NumberOf(row.value(7));
        line.issue = std::max(0.0, std::min(line.requested, line.onHand));
        draft.lines << line;
        if (r == 0) {
            draft.remarks = TextOf(row.value(6));
            draft.fromName = TextOf(row.value(8));
            draft.toName = TextOf(row.value(9));
        }
    }
    return draft;
}

QString IssueRequest(db::Connection& connection, const IssueOrder& order)
{
    db::TransactionGuard transaction(connection);
    // Under the transaction's write lock nobody else writes until commit.
    RefuseChanged(order.opened, StoredRequest::Read(connection, order.opened.number));
    for (const IssueLine& line : order.lines) {
        if (line.issue > 0) {
            TakeFromStore(connection, line, order.opened.locationId);
            DeliverToDepartment(connection, line, order.opened.targetLocationId);
        }
        RecordMovement(connection, order, line);
    }
    const bool anyShort = std::any_of(order.lines.cbegin(), order.lines.cend(),
                                      [](const IssueLine& line) { return line.Short() > 0; });
    const QString remainder = order.remainderAsRequest && anyShort ? RequestTheRest(connection, order) : QString();
    connection.Execute("Update INVENTORY..tbInvWithdrawRequest Set Status = 'P', ProcessDate = GetDate(), ProcessBy = "
                       + db::Quote(order.userId) + " Where DocumentNumber = " + db::Quote(order.opened.number));
    transaction.Commit();
    return remainder;
}

} // namespace requests
