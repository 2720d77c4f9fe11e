#include "records/Record.h"

#include "base/Errors.h"
#include "base/Texts.h"
#include "db/DbError.h"
#include "db/WholeNumbers.h"

#include <optional>

namespace records {

QString Describe(const std::exception& failure)
{
    if (const auto* error = dynamic_cast<const base::RecordError*>(&failure))
        return error->Description();
    if (const auto* error = dynamic_cast<const db::DbError*>(&failure))
        return error->Description();
    if (const auto* error = dynamic_cast<const ConversionError*>(&failure))
        return error->Description();
    return QString::fromStdString(failure.what());
}

Record::Record(RecordServices services, QString className)
    : services_(services), className_(std::move(className)) {}

db::Connection& Record::Connection() const
{
    if (!connection_)
        throw db::DbError(QStringLiteral("The record has no database connection."));
    return *connection_;
}

QString Record::ErrorSource(QStringView member, MemberKind kind) const
{
    const char* kindText = "";
    switch (kind) {
    case MemberKind::Method: kindText = "Method"; break;
    case MemberKind::PropertyLet: kindText = "Property Let"; break;
    case MemberKind::PropertyGet: kindText = "Property Get"; break;
    case MemberKind::PropertySet: kindText = "Property Set"; break;
    }
    return className_ + QLatin1Char(':') + member.toString() + QLatin1Char(' ') + QLatin1String(kindText);
}

void Record::Fail(QStringView member, MemberKind kind, const std::exception& failure, OnFailure onFailure) const
{
    const QString description = Describe(failure);
    QString source = ErrorSource(member, kind);
    switch (onFailure) {
    case OnFailure::Raise:
        break;
    case OnFailure::TellThenRaise:
        services_.notices.Tell(description);
        break;
    case OnFailure::RaiseWithDescription:
        source += QStringLiteral(" :") + description;
        break;
    case OnFailure::TellThenRaiseAfterDescription:
        services_.notices.Tell(description);
        source = description + source;
        break;
    }
    base::RaiseRecordError(base::kRecordErrorCode, source);
}

bool Record::IsBlankText(const QString& key)
{
    for (const QChar c : key)
        if (c != QLatin1Char(' '))
            return false;
    return true;
}

bool Record::LoadRow(const QString& select)
{
    const db::RowSet rows = LoadConnection().Execute(select);
    if (rows.IsEmpty()) {
        Reset();
        return false;
    }
    Fill(RowReader(rows));
    return true;
}

void Record::ReleaseSubRecords()
{
    for (detail::SubRecordSlot* slot : subRecords_)
        slot->Release();
}

bool Record::InsertOrUpdate(const Upsert& statements)
{
    db::Connection& connection = Connection();
    std::optional<db::TransactionGuard> transaction;
    if (!connection.InTransaction())
        transaction.emplace(connection);
    const QString statement = connection.Execute(statements.existing).IsEmpty()
                                  ? statements.insert(statements.newCode(connection))
                                  : statements.update();
    connection.Execute(statement);
    if (transaction)
        transaction->Commit();
    return true;
}

QString Record::NextWholeCode(db::Connection& connection, const WholeCodeQuery& query)
{
    try {
        const db::RowSet next = connection.Execute(query.highestPlusOne);
        const QVariant highest = next.IsEmpty() ? QVariant() : next.Field(query.column);
        if (highest.isNull())
            return QStringLiteral("1");
        const QString code = ToText(highest);
        if (db::WholeNumber(code))
            return code;
    } catch (const db::DbError&) {
        // A stored code the server cannot read as a whole number.
    }
    return QString::number(db::HighestWholeNumberPlusOne(connection.Execute(query.everyCode), query.ignoredLetter));
}

QString Record::NextInt16Code(db::Connection& connection, const QString& query)
{
    const db::RowSet next = connection.Execute(query);
    const QVariant highest = next.IsEmpty() ? QVariant() : next.Field(QStringLiteral("NewCode"));
    return base::StrForm(highest.isNull() ? 1 : ToInt16(highest));
}

qint16 Record::LeadingInt16(const QString& code)
{
    return ToInt16(base::Val(code));
}

bool Record::SearchWith(const std::function<QString()>& lookup, const std::function<bool(const QString&)>& load)
{
    const QString picked = lookup();
    return picked.isEmpty() ? false : load(picked);
}

} // namespace records
