#include "db/Connection.h"

#include "base/Texts.h"
#include "db/DbError.h"
#include "db/Quote.h"
#include "db/TsqlTokenizer.h"

#include <algorithm>

namespace db {

namespace {

// Whether ExecuteWith takes a value of this type (besides NULL of any type).
// Anything else would reach a backend as a text or number that says
// something else (a byte array as 0), so it is refused.
bool IsValueType(int type)
{
    switch (type) {
    case QMetaType::QString:
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::QDate:
    case QMetaType::QDateTime:
        return true;
    default:
        return false;
    }
}

// A number as a statement writes it: an optional minus, then one number
// token of the statement language.
bool IsPlainNumber(const QString& text)
{
    const int start = text.startsWith(QLatin1Char('-')) ? 1 : 0;
    const QStringView number = QStringView(text).mid(start);
    const auto isAsciiDigit = [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); };
    if (number.isEmpty() || std::any_of(number.begin(), number.end(), [](QChar c) { return c.unicode() >= 0x80; }))
        return false;
    if (!isAsciiDigit(number.front())
        && !(number.front() == QLatin1Char('.') && number.size() > 1 && isAsciiDigit(number[1])))
        return false;
    return NumberLength(text, start) == number.size();
}

void RequireValueType(const QVariant& value, qsizetype k)
{
    if (const NumberText* number = NumberTextOf(value)) {
        if (!IsPlainNumber(number->text))
            throw DbError(QStringLiteral("Value %1 of the statement is not a number: '%2'.").arg(k + 1).arg(number->text));
        return;
    }
    if (!IsValueType(value.typeId()) && !IsNullValue(value))
        throw DbError(QStringLiteral("Value %1 of the statement is of type %2, which a statement cannot take: give "
                                     "a text, a number, a truth value, a date, a date-time or NULL.")
                          .arg(k + 1)
                          .arg(QString::fromLatin1(value.metaType().name())));
}

QString ValueLiteral(const QVariant& value, qsizetype k)
{
    if (IsNullValue(value))
        return QStringLiteral("null");
    if (const NumberText* number = NumberTextOf(value))
        return number->text;
    switch (value.typeId()) {
    case QMetaType::QString:
        return Quote(value.toString());
    case QMetaType::Double:
    case QMetaType::Float:
        return base::PlainNumber(value.toDouble());
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    case QMetaType::QDate:
    case QMetaType::QDateTime:
        return Quote(base::FormatDateTime(DateTimeOfValue(value)));
    default:
        RequireValueType(value, k);
        return QString::number(value.toLongLong());
    }
}

} // namespace

RowSet Connection::Execute(const QString& statement)
{
    if (observer_)
        observer_(statement);
    return DoExecute(statement);
}

const NumberText* NumberTextOf(const QVariant& value)
{
    static const int numberText = QMetaType::fromType<NumberText>().id();
    return value.typeId() == numberText ? static_cast<const NumberText*>(value.constData()) : nullptr;
}

QDateTime DateTimeOfValue(const QVariant& value)
{
    return value.typeId() == QMetaType::QDate ? value.toDate().startOfDay() : value.toDateTime();
}

RowSet Connection::ExecuteWith(const QString& statement, const QVariantList& values)
{
    for (qsizetype k = 0; k < values.size(); ++k)
        RequireValueType(values[k], k);
    if (observer_)
        observer_(WithValuesWritten(statement, values));
    return DoExecuteWith(statement, values);
}

RowSet Connection::DoExecuteWith(const QString& statement, const QVariantList& values)
{
    return DoExecute(WithValuesWritten(statement, values));
}

RowSet Connection::ExecuteWithRows(const QString& statement, const QList<QVariantList>& rows)
{
    QStringList written;
    written.reserve(rows.size());
    for (const QVariantList& values : rows) {
        for (qsizetype k = 0; k < values.size(); ++k)
            RequireValueType(values[k], k);
        written << WithValuesWritten(statement, values);  // and the markers pair up with the values
    }
    if (observer_)
        for (const QString& text : written)
            observer_(text);
    return DoExecuteWithRows(statement, rows);
}

RowSet Connection::DoExecuteWithRows(const QString& statement, const QList<QVariantList>& rows)
{
    int affected = 0;
    for (const QVariantList& values : rows)
        affected += DoExecuteWith(statement, values).RowsAffected();
    RowSet written;
    written.SetRowsAffected(affected);
    return written;
}

QString WithValuesWritten(const QString& statement, const QVariantList& values)
{
    return WithValueMarkersReplaced(statement, values.size(), [&](qsizetype k) { return ValueLiteral(values[k], k); });
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

std::unique_ptr<Cursor> Connection::OpenCursorWith(const QString& statement, const QVariantList& values)
{
    for (qsizetype k = 0; k < values.size(); ++k)
        RequireValueType(values[k], k);
    if (observer_)
        observer_(WithValuesWritten(statement, values));
    return DoOpenCursorWith(statement, values);
}

std::unique_ptr<Cursor> Connection::DoOpenCursorWith(const QString& statement, const QVariantList& values)
{
    return DoOpenCursor(WithValuesWritten(statement, values));
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
