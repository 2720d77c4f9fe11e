#include "requests/RequestState.h"

#include "db/Connection.h"
#include "db/Quote.h"

#include <QDate>

namespace requests {

namespace {

// The columns every row is compared by, then the requester's name as the
// list shows it (derived from UserID, so not compared twice).
const QString kStateColumns = QStringLiteral(
    "Select ItemID, Quantity, UnitCost, ForRetail, isADS, LocationID, TargetLocationID, TransDate, UserID, Remarks, "
    "VerifiedBy, VerifiedDate, Status, ProcessDate, ProcessBy, "
    "(Select Top 1 LastName + ', ' + FirstName From Password..tbPasswordMain Where EmployeeID = A.UserID) "
    "as RequestedBy From INVENTORY..tbInvWithdrawRequest A Where A.DocumentNumber = ");
constexpr int kComparedColumns = 15;

// One value as text for comparing, NULL apart from every text and date-times
// to the millisecond (two verifications in one second still differ).
QString CompareText(const QVariant& value)
{
    if (value.isNull())
        return QStringLiteral("\u2205");
    if (value.typeId() == QMetaType::QDateTime)
        return value.toDateTime().toString(Qt::ISODateWithMs);
    if (value.typeId() == QMetaType::Double)
        return QString::number(value.toDouble(), 'g', 17);
    return value.toString();
}

QString Text(const db::RowSet& rows, const char* column)
{
    const QVariant value = rows.Field(QLatin1String(column));
    return value.isNull() ? QString() : value.toString();
}

QDateTime Date(const db::RowSet& rows, const char* column)
{
    const QVariant value = rows.Field(QLatin1String(column));
    return value.isNull() ? QDateTime() : value.toDateTime();
}

bool SameText(const QString& a, const QString& b)
{
    return a.trimmed().compare(b.trimmed(), Qt::CaseInsensitive) == 0;
}

Conflict Ended(const StoredRequest& now, Conflict::Kind kind, bool sinceRead)
{
    return {kind, now.number, now.processBy, now.processDate, sinceRead};
}

Conflict VerifiedOrChanged(const StoredRequest& now)
{
    if (now.IsVerified())
        return {Conflict::Kind::Verified, now.number, now.verifiedBy, now.verifiedDate};
    return {Conflict::Kind::Changed, now.number, now.userId, QDateTime()};
}

QString KindText(Conflict::Kind kind)
{
    switch (kind) {
    case Conflict::Kind::Cancelled: return QStringLiteral("cancelled");
    case Conflict::Kind::Processed: return QStringLiteral("processed");
    case Conflict::Kind::Verified: return QStringLiteral("verified");
    case Conflict::Kind::Changed: return QStringLiteral("changed");
    case Conflict::Kind::Removed: return QStringLiteral("removed");
    }
    return QString();
}

// "at 10:42" today, "at 10:42 on 03/07/2026" on another day.
QString WhenText(const QDateTime& at)
{
    QString text = QStringLiteral(" at ") + at.toString(QStringLiteral("HH:mm"));
    if (at.date() != QDate::currentDate())
        text += QStringLiteral(" on ") + at.toString(QStringLiteral("MM/dd/yyyy"));
    return text;
}

} // namespace

bool StoredRequest::IsCancelled() const
{
    return status.trimmed().compare(QLatin1String("D"), Qt::CaseInsensitive) == 0;
}

bool StoredRequest::IsProcessed() const
{
    return status.trimmed().compare(QLatin1String("P"), Qt::CaseInsensitive) == 0;
}

StoredRequest StoredRequest::Read(db::Connection& connection, const QString& number)
{
    StoredRequest request;
    request.number = number.trimmed();
    db::RowSet rows = connection.Execute(kStateColumns + db::Quote(request.number));
    if (rows.IsEmpty())
        return request;
    for (const db::RowSet::Row& row : rows.Rows()) {
        QStringList values;
        for (int c = 0; c < kComparedColumns; ++c)
            values << CompareText(row.value(c));
        request.rows << values.join(QChar(0x1f));
    }
    request.rows.sort();
    rows.MoveFirst();
    request.status = Text(rows, "Status");
    request.verifiedBy = Text(rows, "VerifiedBy");
    request.verifiedDate = Date(rows, "VerifiedDate");
    request.processBy = Text(rows, "ProcessBy");
    request.processDate = Date(rows, "ProcessDate");
    request.userId = Text(rows, "UserID");
    request.requestedBy = Text(rows, "RequestedBy");
    request.transDate = Date(rows, "TransDate");
    request.locationId = Text(rows, "LocationID");
    request.targetLocationId = Text(rows, "TargetLocationID");
    return request;
}

std::optional<Conflict> SaveConflict(const StoredRequest& opened, const StoredRequest& now)
{
    if (now.IsCancelled())
        return Ended(now, Conflict::Kind::Cancelled, !opened.IsCancelled());
    if (now.IsProcessed())
        return Ended(now, Conflict::Kind::Processed, !opened.IsProcessed());
    if (now.rows == opened.rows)
        return std::nullopt;
    if (!now.Exists())
        return Conflict{Conflict::Kind::Removed, opened.number, QString(), QDateTime()};
    if (now.IsVerified() && (now.verifiedBy != opened.verifiedBy || now.verifiedDate != opened.verifiedDate))
        return VerifiedOrChanged(now);
    return Conflict{Conflict::Kind::Changed, now.number, now.userId, QDateTime()};
}

std::optional<Conflict> CancelConflict(const ListedRequest& listed, const StoredRequest& now)
{
    if (!now.Exists())
        return Conflict{Conflict::Kind::Removed, listed.number.trimmed(), QString(), QDateTime()};
    if (now.IsCancelled())
        return Ended(now, Conflict::Kind::Cancelled, true);
    // Processed stock has left the store: cancelling would disown it.
    if (now.IsProcessed())
        return Ended(now, Conflict::Kind::Processed, !listed.processed);
    if (now.IsVerified() != listed.verified)
        return VerifiedOrChanged(now);
    if (now.transDate != listed.transDate || !SameText(now.targetLocationId, listed.targetLocationId)
        || now.requestedBy != listed.requestedBy)
        return Conflict{Conflict::Kind::Changed, now.number, now.userId, QDateTime()};
    return std::nullopt;
}

QString ConflictText(const Conflict& conflict, const QString& since)
{
    QString text = QStringLiteral("Request %1 was %2").arg(conflict.number, KindText(conflict.kind));
    if (!conflict.by.trimmed().isEmpty())
        text += QStringLiteral(" by ") + conflict.by.trimmed();
    if (conflict.at.isValid())
        text += WhenText(conflict.at);
    if (conflict.sinceRead)
        text += QLatin1Char(' ') + since;
    return text + QLatin1Char('.');
}

} // namespace requests
