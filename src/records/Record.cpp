#include "records/Record.h"

#include "app/Errors.h"
#include "app/SessionContext.h"
#include "db/DbError.h"
#include "forms/Prompts.h"

namespace records {

QString Describe(const std::exception& failure)
{
    if (const auto* error = dynamic_cast<const app::RecordError*>(&failure))
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
    if (onFailure == OnFailure::TellThenRaise)
        services_.prompts.Tell(Describe(failure));
    app::RaiseRecordError(app::kRecordErrorCode, ErrorSource(member, kind));
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
    QString statement;
    if (!connection.Execute(statements.existing).IsEmpty()) {
        statement = statements.update();
    } else {
        const db::RowSet next = connection.Execute(statements.nextCode);
        const QVariant highest = next.IsEmpty() ? QVariant() : next.Field(statements.nextCodeColumn);
        statement = statements.insert(highest.isNull() ? QStringLiteral("1") : ToText(highest));
    }
    connection.Execute(statement);
    return true;
}

bool Record::SearchWith(const std::function<void()>& lookup, const std::function<bool(const QString&)>& load)
{
    lookup();
    const QString picked = services_.session.SelectedLookupCode;
    return picked.isEmpty() ? false : load(picked);
}

} // namespace records
