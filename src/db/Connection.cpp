#include "db/Connection.h"

#include "base/Texts.h"
#include "db/DbError.h"
#include "db/Quote.h"
#include "db/TsqlTokenizer.h"

namespace db {

RowSet Connection::Execute(const QString& statement)
{
    if (observer_)
        observer_(statement);
    return DoExecute(statement);
}

RowSet Connection::ExecuteWith(const QString& statement, const QVariantList& values)
{
    if (observer_)
        observer_(WithValuesWritten(statement, values));
    return DoExecuteWith(statement, values);
}

RowSet Connection::DoExecuteWith(const QString& statement, const QVariantList& values)
{
    return DoExecute(WithValuesWritten(statement, values));
}

namespace {

QString ValueLiteral(const QVariant& value)
{
    if (IsNullValue(value))
        return QStringLiteral("null");
    switch (value.typeId()) {
    case QMetaType::QString:
        return Quote(value.toString());
    case QMetaType::Double:
    case QMetaType::Float:
        return base::PlainNumber(value.toDouble());
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    default:
        return QString::number(value.toLongLong());
    }
}

} // namespace

QString WithValuesWritten(const QString& statement, const QVariantList& values)
{
    return WithValueMarkersReplaced(statement, values.size(), [&](qsizetype k) { return ValueLiteral(values[k]); });
}

QString WithValueMarkersReplaced(const QString& statement, qsizetype count,
                                 const std::function<QString(qsizetype)>& replacement)
{
    QString written;
    written.reserve(statement.size() + 16 * count);
    qsizetype next = 0;
    int copied = 0;
    for (int i = 0; i < statement.size();) {
        const QChar c = statement[i];
        if (c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('[')) {
            i += QuotedLength(statement, i, c == QLatin1Char('[') ? QLatin1Char(']') : c);
        } else if (c == QLatin1Char('?')) {
            if (next >= count)
                throw DbError(QStringLiteral("The statement has more value markers than values: %1").arg(statement));
            written += QStringView(statement).mid(copied, i - copied);
            written += replacement(next++);
            copied = ++i;
        } else {
            ++i;
        }
    }
    if (next != count)
        throw DbError(QStringLiteral("The statement has fewer value markers than values: %1").arg(statement));
    written += QStringView(statement).mid(copied);
    return written;
}

std::unique_ptr<Cursor> Connection::OpenCursor(const QString& statement)
{
    if (observer_)
        observer_(statement);
    return DoOpenCursor(statement);
}

std::unique_ptr<Cursor> Connection::DoOpenCursor(const QString& statement)
{
    return std::make_unique<RowSetCursor>(DoExecute(statement));
}

TransactionGuard::~TransactionGuard()
{
    if (done_)
        return;
    try {
        connection_.Rollback();
    } catch (...) {
        // A failed rollback leaves nothing to undo here: the backend drops the
        // transaction with the failure that made us roll back.
    }
}

void TransactionGuard::Commit()
{
    connection_.Commit();
    done_ = true;
}

} // namespace db
