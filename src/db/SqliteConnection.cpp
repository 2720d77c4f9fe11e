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
    const Translation& translation = BoundTranslation(statement, values);
    const auto bound = std::count_if(values.cbegin(), values.cend(), [](const QVariant& v) { return !IsNullValue(v); });
    return statements_.Run(translation.sql, translation.dateTimeColumns, int(bound), [&](sqlite3_stmt* prepared) {
        ValueBinder binder(prepared, statement);
        int k = 0;
        for (const QVariant& value : values) {
            if (IsNullValue(value))
                continue;
            binder.BindValue(k + 1, value, translation.dateParameters.contains(k));
            ++k;
        }
    });
}

// Kept for the last statement (a copy, which later translations leave
// alone): an import runs one statement over and over.
const Translation& SqliteConnection::BoundTranslation(const QString& statement, const QVariantList& values)
{
    QVarLengthArray<char, 64> kinds(values.size());
    for (qsizetype k = 0; k < values.size(); ++k)
        kinds[k] = IsNullValue(values[k]) ? '0' : IsTextValue(values[k]) ? 'T' : 'N';
    const QByteArrayView kindsView(kinds.data(), kinds.size());
    if (kindsView != boundKinds_ || statement != boundStatement_) {
        int marker = 0;
        const QString shape = WithValueMarkersReplaced(statement, values.size(), [&](qsizetype k) {
            if (kinds[k] == '0')
                return QStringLiteral("null");
            return QStringLiteral("?%1%2").arg(QLatin1Char(kinds[k])).arg(++marker);
        });
        try {
            boundTranslation_ = dialect_.Translator().TranslateShape(shape);
        } catch (const DbError&) {
            dialect_.Translator().Translate(WithValuesWritten(statement, values));
            throw;
        }
        boundStatement_ = statement;
        boundKinds_ = kindsView.toByteArray();
    }
    return boundTranslation_;
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

const QString& SqliteConnection::CursorSql(const Translation& translation)
{
    if (translation.listCountSql.isEmpty())
        return translation.sql;
    // Counted once per list: the next keystroke's search asks about the same
    // locations. A list that grows past the bound later only costs speed;
    // both plans give the same rows.
    auto known = shortLists_.constFind(translation.listCountSql);
    if (known == shortLists_.cend()) {
        const RowSet count = ExecuteNative(translation.listCountSql);
        known = shortLists_.insert(translation.listCountSql,
                                   !count.IsEmpty() && count.Field(0).toInt() < kShortListRows);
    }
    return known.value() ? translation.shortListSql : translation.sql;
}

// The cursor's statement with its bound values written in, which SQLite
// plans as it plans the bound one.
QString SqliteConnection::PlannedCursorSql(const QString& statement)
{
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
