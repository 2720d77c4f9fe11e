#include "db/SqliteConnection.h"

#include "db/DbError.h"
#include "db/EmbeddedProcedures.h"
#include "db/FirstRowsPlan.h"
#include "db/ProcedureCall.h"
#include "db/SqliteCursor.h"
#include "db/StatementShape.h"

#include <QVarLengthArray>
#include <algorithm>
#include <optional>

namespace db {

namespace {

// A value that a statement's text would hold as a quoted text.
bool IsTextValue(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::QString:
    case QMetaType::QDate:
    case QMetaType::QDateTime:
        return true;
    default:
        return false;
    }
}

// The statement with its values as the markers a shape's lifted literals
// are: texts (dates and date-times too) and numbers become markers, NULLs
// stay in the text.
QString BoundShape(const QString& statement, const QVariantList& values)
{
    int marker = 0;
    return WithValueMarkersReplaced(statement, values.size(), [&](qsizetype k) {
        if (IsNullValue(values[k]))
            return QStringLiteral("null");
        return QStringLiteral("?%1%2").arg(QLatin1Char(IsTextValue(values[k]) ? 'T' : 'N')).arg(++marker);
    });
}

int BoundCount(const QVariantList& values)
{
    return int(std::count_if(values.cbegin(), values.cend(), [](const QVariant& v) { return !IsNullValue(v); }));
}

// Binds the values that are not NULL to ?1, ?2, ...
void BindValues(ValueBinder& binder, const QVariantList& values, const QSet<int>& dateParameters)
{
    int k = 0;
    for (const QVariant& value : values) {
        if (IsNullValue(value))
            continue;
        binder.BindValue(k + 1, value, dateParameters.contains(k));
        ++k;
    }
}

} // namespace

SqliteConnection::SqliteConnection(std::shared_ptr<SqliteFile> file)
    : file_(std::move(file)), statements_(*file_), cursors_(std::make_shared<CursorStatementPool>(file_))
{
    for (const QString& statement : dialect_.SessionStatements())
        ExecuteNative(statement);
}

SqliteConnection::~SqliteConnection()
{
    if (inTransaction_) {
        try {
            ExecuteNative(QStringLiteral("ROLLBACK"));
        } catch (const DbError&) {
        }
    }
}

std::unique_ptr<SqliteConnection> SqliteConnection::Open(const QString& path, Access access)
{
    return std::unique_ptr<SqliteConnection>(new SqliteConnection(SqliteFile::Open(path, access)));
}

std::unique_ptr<SqliteConnection> SqliteConnection::Create(const QString& path)
{
    std::unique_ptr<SqliteFile> file = SqliteFile::Create(path);
    std::unique_ptr<SqliteConnection> connection;
    try {
        connection.reset(new SqliteConnection(std::move(file)));
        TransactionGuard transaction(*connection);
        for (const QString& ddl : connection->dialect_.SchemaDdl())
            connection->ExecuteNative(ddl);
        connection->file_->MarkCurrent();
        transaction.Commit();
    } catch (...) {
        // A half-made file would stand in the way of the next try.
        connection.reset();
        file.reset();
        SqliteFile::RemoveFiles(path);
        throw;
    }
    return connection;
}

int SqliteConnection::Upgrade(const QString& path)
{
    std::unique_ptr<SqliteFile> file = SqliteFile::OpenToUpgrade(path);
    const int version = file->Version();
    if (version == SqliteFile::kSchemaVersion)
        return version;
    SqliteConnection connection(std::move(file));
    TransactionGuard transaction(connection);
    connection.file_->UpgradeLayout();
    transaction.Commit();
    return version;
}

RowSet SqliteConnection::DoExecute(const QString& statement)
{
    if (const auto call = ParseProcedureCall(statement)) {
        const EmbeddedProcedure* procedure = FindEmbeddedProcedure(call->name);
        if (!procedure)
            throw DbError(QStringLiteral("Could not find stored procedure '%1'.").arg(call->name));
        return (*procedure)(*this, call->arguments);
    }
    // Statements that differ only in their values share one translation and
    // one prepared statement; the values are bound.
    const StatementShape shape = LiftLiterals(statement);
    const Translation& translation = ShapeTranslation(shape.text, statement, Plan::AllRows);
    // The binder lives until the run ends: texts it unquoted stay bound.
    std::optional<ValueBinder> binder;
    return statements_.Run(translation.sql, translation.dateTimeColumns, int(shape.literals.size()),
                           [&](sqlite3_stmt* prepared) {
                               binder.emplace(prepared, statement);
                               for (int k = 0; k < shape.literals.size(); ++k)
                                   binder->BindLiteral(k + 1, shape.literals[k], translation.dateParameters.contains(k));
                           });
}

// A shape holds markers where its statement has values; a refusal of it is
// told in the words the statement itself gets.
const Translation& SqliteConnection::ShapeTranslation(const QString& shape, const QString& statement, Plan plan)
{
    try {
        return dialect_.Translator().TranslateShape(shape, plan);
    } catch (const DbError&) {
        dialect_.Translator().Translate(statement, plan);
        throw;
    }
}

// The values are bound to the statement's shape: texts (dates and
// date-times too) and numbers become the markers a shape's lifted literals
// are, NULLs stay in the text.
RowSet SqliteConnection::DoExecuteWith(const QString& statement, const QVariantList& values)
{
    const Translation& translation = BoundTranslation(statement, values, Plan::AllRows);
    return statements_.Run(translation.sql, translation.dateTimeColumns, BoundCount(values), [&](sqlite3_stmt* prepared) {
        ValueBinder binder(prepared, statement);
        BindValues(binder, values, translation.dateParameters);
    });
}

// Kept for the last statement of each plan (a copy, which later
// translations leave alone): an import runs one statement over and over, a
// search one at every keystroke.
const Translation& SqliteConnection::BoundTranslation(const QString& statement, const QVariantList& values, Plan plan)
{
    QVarLengthArray<char, 64> kinds(values.size());
    for (qsizetype k = 0; k < values.size(); ++k)
        kinds[k] = IsNullValue(values[k]) ? '0' : IsTextValue(values[k]) ? 'T' : 'N';
    const QByteArrayView kindsView(kinds.data(), kinds.size());
    LastBound& last = plan == Plan::FirstRows ? lastCursor_ : lastRun_;
    if (kindsView != last.kinds || statement != last.statement) {
        last.translation = BoundShapeTranslation(statement, values, plan);
        last.statement = statement;
        last.kinds = kindsView.toByteArray();
    }
    return last.translation;
}

// A refusal of a bound shape is told in the words the statement with its
// values written in gets.
const Translation& SqliteConnection::BoundShapeTranslation(const QString& statement, const QVariantList& values,
                                                           Plan plan)
{
    try {
        return dialect_.Translator().TranslateShape(BoundShape(statement, values), plan);
    } catch (const DbError&) {
        dialect_.Translator().Translate(WithValuesWritten(statement, values), plan);
        throw;
    }
}

std::unique_ptr<Cursor> SqliteConnection::DoOpenCursor(const QString& statement)
{
    if (ParseProcedureCall(statement))
        return std::make_unique<RowSetCursor>(DoExecute(statement));
    // A search typed anew at every keystroke differs from the last one only
    // in its values: its shape is translated and prepared once, and the
    // values are bound. A LIKE's range in the name index is worked out from
    // the bound pattern when the statement runs, so nothing of these
    // statements is planned by value.
    // A plan that chooses between a short and a long membership list depends
    // on the values, though: such a statement is translated as it stands.
    const StatementShape shape = LiftLiterals(statement);
    const Translation& shaped = ShapeTranslation(shape.text, statement, Plan::FirstRows);
    if (!shaped.listCountSql.isEmpty()) {
        const Translation& translation = dialect_.Translator().Translate(statement, Plan::FirstRows);
        return cursors_->Open(CursorSql(translation), translation.dateTimeColumns, 0, [](sqlite3_stmt*) {});
    }
    return cursors_->Open(shaped.sql, shaped.dateTimeColumns, int(shape.literals.size()), [&](sqlite3_stmt* prepared) {
        ValueBinder binder(prepared, statement, ValueBinder::Texts::Copied);
        for (int k = 0; k < shape.literals.size(); ++k)
            binder.BindLiteral(k + 1, shape.literals[k], shaped.dateParameters.contains(k));
    });
}

std::unique_ptr<Cursor> SqliteConnection::DoOpenCursorWith(const QString& statement, const QVariantList& values)
{
    if (ParseProcedureCall(statement))
        return DoOpenCursor(WithValuesWritten(statement, values));
    const Translation& translation = BoundTranslation(statement, values, Plan::FirstRows);
    return cursors_->Open(CursorSql(translation, values), translation.dateTimeColumns, BoundCount(values),
                          [&](sqlite3_stmt* prepared) {
                              ValueBinder binder(prepared, statement, ValueBinder::Texts::Copied);
                              BindValues(binder, values, translation.dateParameters);
                          });
}

// Of a first-rows translation with a membership list, the plan for a short
// list or for a long one, as the list now is; `values` are those bound to
// the translation, if any.
const QString& SqliteConnection::CursorSql(const Translation& translation, const QVariantList& values)
{
    if (translation.listCountSql.isEmpty())
        return translation.sql;
    // Counted once per list and its values: the next keystroke's search asks
    // about the same locations. A list that grows past the bound later only
    // costs speed; both plans give the same rows.
    const ListCount count = ListCountOf(translation, values);
    QString list = count.sql;
    for (const QVariant& value : count.values)
        list += QChar(0x1f) + WithValuesWritten(QStringLiteral("?"), {value});
    auto known = shortLists_.constFind(list);
    if (known == shortLists_.cend()) {
        const RowSet rows = statements_.Run(count.sql, {}, int(count.values.size()), [&](sqlite3_stmt* prepared) {
            ValueBinder binder(prepared, count.sql);
            for (int i = 0; i < count.values.size(); ++i)
                binder.BindValue(i + 1, count.values[i], count.dateParameters.contains(i));
        });
        known = shortLists_.insert(list, !rows.IsEmpty() && rows.Field(0).toInt() < kShortListRows);
    }
    return known.value() ? translation.shortListSql : translation.sql;
}

// The query counting a translation's membership list with the values it
// holds. The list is a part of the statement: of the values bound to the
// whole, it holds some, which SQLite wants numbered from ?1 again.
SqliteConnection::ListCount SqliteConnection::ListCountOf(const Translation& translation, const QVariantList& values)
{
    QVariantList bound;
    for (const QVariant& value : values)
        if (!IsNullValue(value))
            bound << value;
    ListCount count;
    count.sql = WithParametersReplaced(translation.listCountSql, [&](int k) -> std::optional<QString> {
        if (k < 0 || k >= bound.size())
            return std::nullopt;
        if (translation.dateParameters.contains(k))
            count.dateParameters.insert(int(count.values.size()));
        count.values << bound[k];
        return QStringLiteral("?%1").arg(count.values.size());
    });
    return count;
}

// The cursor's statement with its bound values written in, which SQLite
// plans as it plans the bound one.
QString SqliteConnection::PlannedCursorSql(const QString& statement, const QVariantList& values)
{
    if (!values.isEmpty())
        return CursorSql(BoundShapeTranslation(statement, values, Plan::FirstRows), values);
    const StatementShape shape = LiftLiterals(statement);
    const Translation& shaped = ShapeTranslation(shape.text, statement, Plan::FirstRows);
    if (shaped.listCountSql.isEmpty())
        return WithLiteralsWritten(shaped.sql, statement, shape, shaped.dateParameters);
    return CursorSql(dialect_.Translator().Translate(statement, Plan::FirstRows));
}

RowSet SqliteConnection::ExecuteNative(const QString& sql, const QVariantList& binds,
                                       const QSet<QString>& dateTimeColumns)
{
    return statements_.RunNative(sql, binds, dateTimeColumns);
}

void SqliteConnection::BeginTransaction()
{
    if (inTransaction_)
        throw DbError(QStringLiteral("A transaction is open already on this connection."));
    dialect_.TakeNumberingLock([this](const QString& sql) { return ExecuteNative(sql); });
    inTransaction_ = true;
}

void SqliteConnection::Commit()
{
    if (!inTransaction_)
        throw DbError(QStringLiteral("No transaction is open on this connection."));
    ExecuteNative(QStringLiteral("COMMIT"));
    inTransaction_ = false;
}

void SqliteConnection::Rollback()
{
    if (!inTransaction_)
        return;
    inTransaction_ = false;
    ExecuteNative(QStringLiteral("ROLLBACK"));
}

} // namespace db
