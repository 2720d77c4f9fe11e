#include "db/SqliteStatements.h"

#include "base/Texts.h"
#include "db/Catalog.h"
#include "db/Connection.h"
#include "db/DbError.h"
#include "db/EmbeddedFormat.h"
#include "db/SqliteFile.h"
#include "db/StatementShape.h"
#include "db/TsqlTokenizer.h"

#include <QDateTime>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <optional>
#include <sqlite3.h>

namespace db {

namespace {

// One column of the current row, as a value: numbers as qlonglong or
// double, texts as QString, NULL as a null QVariant.
QVariant ColumnValue(sqlite3_stmt* statement, int i, bool isDateTime)
{
    switch (sqlite3_column_type(statement, i)) {
    case SQLITE_INTEGER:
        return QVariant(qlonglong(sqlite3_column_int64(statement, i)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(statement, i));
    case SQLITE_TEXT:
        return StoredTextValue(reinterpret_cast<const char*>(sqlite3_column_text(statement, i)),
                               sqlite3_column_bytes(statement, i), isDateTime);
    case SQLITE_BLOB: {
        const auto* data = static_cast<const char*>(sqlite3_column_blob(statement, i));
        return QVariant(QByteArray(data, sqlite3_column_bytes(statement, i)));
    }
    default:
        return QVariant();
    }
}

QVector<bool> DateTimeFlags(const QStringList& columns, const QSet<QString>& dateTimeColumns)
{
    QVector<bool> flags;
    flags.reserve(columns.size());
    for (const QString& name : columns)
        flags << (dateTimeColumns.contains(name.toLower()) || Catalog::Instance().IsDateTimeColumn(name));
    return flags;
}

// How many parameters a translated statement takes when they are exactly
// SQLite's ?1 ... ?n, the markers of its lifted literals; -1 when it has any
// other (one that SQLite numbers itself, or names).
int NumberedParameters(sqlite3_stmt* statement)
{
    const int count = sqlite3_bind_parameter_count(statement);
    char expected[16];
    for (int i = 1; i <= count; ++i) {
        const char* name = sqlite3_bind_parameter_name(statement, i);
        std::snprintf(expected, sizeof expected, "?%d", i);
        if (!name || std::strcmp(name, expected) != 0)
            return -1;
    }
    return count;
}

void BindUtf8(sqlite3_stmt* statement, int index, const QByteArray& utf8)
{
    sqlite3_bind_text(statement, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

// A value of the program's own SQL bound by its type: null values (a null
// text too) as NULL, whole numbers and flags as integers, byte arrays as
// blobs, date-times in the stored form, anything else as its text.
void BindNative(sqlite3_stmt* statement, int index, const QVariant& value)
{
    if (value.isNull() || (value.typeId() == QMetaType::QString && value.toString().isNull())
        || (value.typeId() == QMetaType::QDateTime && value.toDateTime().isNull())) {
        sqlite3_bind_null(statement, index);
        return;
    }
    switch (value.typeId()) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        sqlite3_bind_int64(statement, index, value.toLongLong());
        break;
    case QMetaType::Double:
    case QMetaType::Float:
        sqlite3_bind_double(statement, index, value.toDouble());
        break;
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        sqlite3_bind_blob(statement, index, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT);
        break;
    }
    case QMetaType::QDateTime:
        BindUtf8(statement, index, StoredDateTime(value.toDateTime()));
        break;
    default:
        BindUtf8(statement, index, value.toString().toUtf8());
    }
}

// The stored form of a date text. The lines of a save all carry the
// request's date: the last one converted is kept.
const QByteArray* StoredDateOf(QStringView value)
{
    thread_local QString lastText;
    thread_local QByteArray lastStored;
    if (value != lastText || lastStored.isEmpty()) {
        const std::optional<QDateTime> date = base::ParseDateTime(value);
        if (!date)
            return nullptr;
        lastStored = StoredDateTime(*date);
        lastText = value.toString();
    }
    return &lastStored;
}

// A number literal's value; the C library's conversion, which a literal in
// the C locale's form takes without Qt's locale handling.
double DecimalValue(QStringView literal)
{
    char digits[64];
    if (literal.size() < qsizetype(sizeof digits)) {
        const qsizetype length = literal.size();
        bool ascii = true;
        for (qsizetype i = 0; i < length && ascii; ++i) {
            ascii = literal[i].unicode() < 0x80;
            digits[i] = char(literal[i].unicode());
        }
        double value = 0;
        const auto [end, error] = std::from_chars(digits, digits + length, value);
        if (ascii && error == std::errc() && end == digits + length)
            return value;
    }
    return literal.toDouble();
}

} // namespace

// A date column read row after row often holds one value (a list of one
// day's requests, a procedure's stand-in for no date): the last stored text
// and its date-time are kept, as reading one costs a local-time conversion.
QVariant StoredTextValue(const char* utf8, int length, bool isDateTime)
{
    if (!isDateTime)
        return QString::fromUtf8(utf8, length);
    thread_local QByteArray lastStored;
    thread_local QVariant lastValue;
    if (QByteArrayView(utf8, length) == lastStored && !lastValue.isNull())
        return lastValue;
    QString text = QString::fromUtf8(utf8, length);
    if (const std::optional<QDateTime> value = base::ParseDateTime(text)) {
        lastStored = QByteArray(utf8, length);
        lastValue = *value;
        return lastValue;
    }
    return text;
}

PreparedStatement PreparedStatement::Prepare(const SqliteFile& file, const QString& sql,
                                             const QSet<QString>& dateTimeColumns, Rest rest)
{
    const QByteArray utf8 = sql.toUtf8();
    PreparedStatement prepared;
    const char* tail = nullptr;
    // With the terminating NUL counted, SQLite need not copy the text.
    const int rc = sqlite3_prepare_v3(file.Handle(), utf8.constData(), int(utf8.size()) + 1,
                                      SQLITE_PREPARE_PERSISTENT, &prepared.statement, &tail);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(prepared.statement);
        throw DbError(file.Failure(rc));
    }
    if (rest == Rest::Refused && tail && !QByteArray(tail).trimmed().isEmpty()) {
        sqlite3_finalize(prepared.statement);
        throw DbError(QStringLiteral("Unable to execute multiple statements at a time"));
    }
    for (int i = 0; i < sqlite3_column_count(prepared.statement); ++i)
        prepared.columns << QString::fromUtf8(sqlite3_column_name(prepared.statement, i));
    prepared.isDateTime = DateTimeFlags(prepared.columns, dateTimeColumns);
    prepared.parameters = NumberedParameters(prepared.statement);
    return prepared;
}

void ValueBinder::BindLiteral(int index, const LiftedLiteral& literal, bool isDateTime)
{
    const QStringView written = QStringView(text_).mid(literal.begin, literal.length);
    if (literal.isText)
        BindQuoted(index, written, isDateTime);
    else
        BindNumber(index, written);
}

void ValueBinder::BindValue(int index, const QVariant& value, bool isDateTime)
{
    if (const NumberText* number = NumberTextOf(value))
        return BindNumber(index, number->text);
    switch (value.typeId()) {
    case QMetaType::QString:
        BindText(index, *static_cast<const QString*>(value.constData()), isDateTime);
        break;
    // A date-time by its type, wherever it stands: also where the
    // translation cannot tell that it meets a date-time column
    // (isnull(TransDate, ?)), it is in the form the file stores.
    case QMetaType::QDate:
    case QMetaType::QDateTime:
        BindUtf8(statement_, index, StoredDateTime(DateTimeOfValue(value)));
        break;
    case QMetaType::Double:
    case QMetaType::Float:
        sqlite3_bind_double(statement_, index, value.toDouble());
        break;
    default:
        sqlite3_bind_int64(statement_, index, value.toLongLong());
    }
}

void ValueBinder::BindQuoted(int index, QStringView literal, bool isDateTime)
{
    const QStringView inner = literal.mid(1, literal.size() - 2);
    if (inner.contains(QLatin1Char('\''))) {
        unquoted_.push_back(StringValue(literal.toString()));
        BindText(index, unquoted_.back(), isDateTime);
    } else {
        BindText(index, inner, isDateTime);
    }
}

void ValueBinder::BindText(int index, QStringView value, bool isDateTime)
{
    if (isDateTime) {
        if (const QByteArray* stored = StoredDateOf(value)) {
            sqlite3_bind_text(statement_, index, stored->constData(), int(stored->size()), SQLITE_TRANSIENT);
            return;
        }
    }
    if (value.isEmpty())  // an empty view may have no data pointer, which SQLite would take for NULL
        sqlite3_bind_text(statement_, index, "", 0, SQLITE_STATIC);
    else
        sqlite3_bind_text16(statement_, index, value.utf16(), int(value.size() * 2),
                            texts_ == Texts::InPlace ? SQLITE_STATIC : SQLITE_TRANSIENT);
}

void ValueBinder::BindNumber(int index, QStringView literal)
{
    const bool whole = !literal.contains(QLatin1Char('.')) && !literal.contains(QLatin1Char('e'), Qt::CaseInsensitive);
    bool fits = false;
    const qlonglong number = whole ? literal.toLongLong(&fits) : 0;
    if (fits)
        sqlite3_bind_int64(statement_, index, number);
    else
        sqlite3_bind_double(statement_, index, DecimalValue(literal));
}

SqliteStatements::~SqliteStatements()
{
    FinalizeAll();
}

RowSet SqliteStatements::RunNative(const QString& sql, const QVariantList& binds, const QSet<QString>& dateTimeColumns)
{
    return Run(sql, dateTimeColumns, -1, [&](sqlite3_stmt* prepared) {
        for (int i = 0; i < binds.size(); ++i)
            BindNative(prepared, i + 1, binds[i]);
    });
}

PreparedStatement& SqliteStatements::PreparedFor(const QString& sql, const QSet<QString>& dateTimeColumns)
{
    for (const Recent& recent : recent_)
        if (recent.prepared && recent.sql.constData() == sql.constData() && recent.sql.size() == sql.size())
            return *recent.prepared;
    auto it = prepared_.find(sql);
    if (it == prepared_.end()) {
        if (prepared_.size() >= kPreparedStatementsKept)
            FinalizeAll();
        PreparedStatement prepared = PreparedStatement::Prepare(file_, sql, dateTimeColumns, PreparedStatement::Rest::Refused);
        recent_.fill({});
        it = prepared_.insert(sql, prepared);
    }
    recent_[nextRecent_] = {sql, &it.value()};
    nextRecent_ = (nextRecent_ + 1) % kRecentKept;
    return it.value();
}

RowSet SqliteStatements::Run(const QString& sql, const QSet<QString>& dateTimeColumns, int values, const Binder& bind)
{
    PreparedStatement& prepared = PreparedFor(sql, dateTimeColumns);
    if (values >= 0 && !prepared.TakesValues(values))
        throw DbError(IncorrectSyntaxNear(QStringLiteral("?")));
    sqlite3_stmt* statement = prepared.statement;
    // Reset whatever happens: a statement left stepping would hold its read
    // of the database.
    struct Reset {
        sqlite3_stmt* statement;
        ~Reset()
        {
            if (statement) {
                sqlite3_reset(statement);
                sqlite3_clear_bindings(statement);
            }
        }
    } reset{statement};
    if (!prepared.statement)  // a blank statement
        return {};
    bind(statement);
    const int columns = int(prepared.columns.size());
    QVector<RowSet::Row> rows;
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
        RowSet::Row row;
        row.reserve(columns);
        for (int i = 0; i < columns; ++i)
            row << ColumnValue(statement, i, prepared.isDateTime[i]);
        rows << std::move(row);
    }
    if (rc != SQLITE_DONE)
        throw DbError(file_.Failure(sqlite3_extended_errcode(file_.Handle())));
    if (columns == 0) {
        RowSet written;
        if (!sqlite3_stmt_readonly(statement))
            written.SetRowsAffected(sqlite3_changes(file_.Handle()));
        return written;
    }
    return RowSet(prepared.columns, std::move(rows));
}

void SqliteStatements::FinalizeAll()
{
    recent_.fill({});
    for (const PreparedStatement& prepared : std::as_const(prepared_))
        sqlite3_finalize(prepared.statement);
    prepared_.clear();
}

} // namespace db
