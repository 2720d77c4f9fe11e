#include "db/SqliteConnection.h"

#include "base/Texts.h"
#include "db/DbError.h"
#include "db/EmbeddedFormat.h"
#include "db/EmbeddedProcedures.h"
#include "db/FirstRowsPlan.h"
#include "db/ProcedureCall.h"
#include "db/StatementShape.h"
#include "db/TsqlFunctions.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QStorageInfo>
#include <QUrl>
#include <QVarLengthArray>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <list>
#include <optional>
#include <vector>
#include <sqlite3.h>

namespace db {

namespace {

constexpr int kBusyTimeoutMs = 15000;
// How often a backup step waits 50 ms for a writer before it gives up.
constexpr int kBackupWaits = 200;
// Prepared statements kept before the cache starts afresh.
constexpr int kPreparedLimit = 256;

QString NextConnectionName()
{
    static std::atomic<int> counter{0};
    return QStringLiteral("tessary-sqlite-%1").arg(++counter);
}

// Less room than this in a folder is none for a database: SQLite grows its
// WAL index 32 KiB at a time.
constexpr qint64 kNoRoomBytes = 64 * 1024;

// A write that found no room: SQLite says so of the database and its
// journals, but growing the shared-memory file beside a WAL database on a
// full disk fails as a mere I/O error, whose cause the system's error
// number tells (when nothing overwrote it since), or else the free space
// of the file's folder.
bool DiskIsFull(int code, sqlite3* handle, const QString& path)
{
    if ((code & 0xff) == SQLITE_FULL)
        return true;
    if ((code & 0xff) != SQLITE_IOERR)
        return false;
    const int cause = handle ? sqlite3_system_errno(handle) : 0;
    if (cause == ENOSPC || cause == EDQUOT)
        return true;
    const QStorageInfo storage(QFileInfo(path).absolutePath());
    return storage.isValid() && storage.bytesAvailable() < kNoRoomBytes;
}

// A failure's text; one about the file itself (no database, damaged,
// read-only, unreadable, full) names the file, so the user knows which.
QString FileFailure(const QString& text, int code, const QString& path, sqlite3* handle)
{
    if (code == SQLITE_CONSTRAINT_CHECK && text.endsWith(QLatin1String(": ") + Catalog::kTextLengthCheck))
        return QStringLiteral("String or binary data would be truncated.");
    if (DiskIsFull(code, handle, path))
        return QStringLiteral("The disk of database \"%1\" is full: make room on it, then try again.").arg(path);
    switch (code & 0xff) {
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
    case SQLITE_READONLY:
    case SQLITE_CANTOPEN:
    case SQLITE_IOERR:
    case SQLITE_FULL:
    case SQLITE_PERM:
        return QStringLiteral("%1 (database \"%2\")").arg(text, path);
    default:
        return text;
    }
}

QString ErrorText(const QSqlError& error)
{
    const QString text = error.databaseText();
    return text.isEmpty() ? error.text() : text;
}

// A stored date-time text as a date-time; a text that is none stays text.
QVariant TextValue(const char* utf8, int length, bool isDateTime)
{
    QString text = QString::fromUtf8(utf8, length);
    if (isDateTime) {
        if (const std::optional<QDateTime> value = base::ParseDateTime(text))
            return *value;
    }
    return text;
}

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
        return TextValue(reinterpret_cast<const char*>(sqlite3_column_text(statement, i)),
                         sqlite3_column_bytes(statement, i), isDateTime);
    case SQLITE_BLOB: {
        const auto* data = static_cast<const char*>(sqlite3_column_blob(statement, i));
        return QVariant(QByteArray(data, sqlite3_column_bytes(statement, i)));
    }
    default:
        return QVariant();
    }
}

// Which result columns hold date-times: those the translation names and the
// catalog's date-time columns.
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

// Whether a statement's parameters are all values the program binds. A
// statement whose text holds a parameter of its own (a marker written into
// it, which the translation's check cannot tell from one of a lifted
// literal) is refused, as the server refuses the marker.
bool TakesValues(int parameters, int values)
{
    return parameters >= 0 && parameters <= values;
}

} // namespace

// Cursor statements kept prepared between searches: a search typed anew at
// every keystroke runs the same shape with other values. A cursor takes its
// statement out while it reads and gives it back, reset, at the end of its
// result; statements left over when the connection closes are finalized.
class CursorStatementPool {
public:
    struct Entry {
        sqlite3_stmt* statement = nullptr;
        QStringList columns;
        QVector<bool> isDateTime;
        int parameters = 0;  // see NumberedParameters
    };

    ~CursorStatementPool() { Clear(); }

    std::optional<Entry> Take(const QString& sql)
    {
        const auto it = idle_.find(sql);
        if (it == idle_.end())
            return std::nullopt;
        Entry entry = std::move(it.value());
        idle_.erase(it);
        return entry;
    }

    void Give(const QString& sql, Entry entry)
    {
        if (idle_.size() >= kPreparedLimit)
            Clear();
        if (idle_.contains(sql))  // a second cursor of the same shape was open
            sqlite3_finalize(entry.statement);
        else
            idle_.insert(sql, std::move(entry));
    }

    void Clear()
    {
        for (const Entry& entry : std::as_const(idle_))
            sqlite3_finalize(entry.statement);
        idle_.clear();
    }

private:
    QHash<QString, Entry> idle_;
};

namespace {

// A statement's rows stepped one at a time through SQLite's own interface.
// Rows are kept packed (numbers in place, texts in one byte buffer) and
// turned into values only when asked for, so reading a long result costs
// little more than stepping it. The statement is finalized at the end of
// the result, which also ends its read of the database, and goes back to
// the pool it came from.
class SqliteCursor final : public Cursor {
public:
    SqliteCursor(sqlite3* handle, QString path, QString sql, CursorStatementPool::Entry entry,
                 std::weak_ptr<CursorStatementPool> pool)
        : Cursor(entry.columns), handle_(handle), path_(std::move(path)), sql_(std::move(sql)),
          statement_(entry.statement), isDateTime_(std::move(entry.isDateTime)), parameters_(entry.parameters),
          pool_(std::move(pool)) {}
    ~SqliteCursor() override { Release(); }

    sqlite3_stmt* Statement() const { return statement_; }

    QVariant Value(int row, int column) const override
    {
        const Cell& cell = cells_.at(std::size_t(row) * isDateTime_.size() + std::size_t(column));
        switch (cell.type) {
        case SQLITE_INTEGER:
            return QVariant(qlonglong(cell.integer));
        case SQLITE_FLOAT:
            return QVariant(cell.real);
        case SQLITE_TEXT:
            return TextValue(bytes_.data() + cell.bytes.offset, cell.bytes.length, isDateTime_[column]);
        case SQLITE_BLOB:
            return QVariant(QByteArray(bytes_.data() + cell.bytes.offset, cell.bytes.length));
        default:
            return QVariant();
        }
    }

protected:
    bool ReadRow() override
    {
        if (!statement_)
            return false;
        const int rc = sqlite3_step(statement_);
        if (rc != SQLITE_ROW) {
            const QString failure = rc == SQLITE_DONE ? QString() : QString::fromUtf8(sqlite3_errmsg(handle_));
            Release();
            if (rc == SQLITE_DONE)
                return false;
            throw DbError(FileFailure(failure, rc, path_, handle_));
        }
        for (int i = 0; i < isDateTime_.size(); ++i)
            cells_.push_back(ReadCell(i));
        return true;
    }

private:
    // Ends the statement's read and hands it back to the pool, or finalizes
    // it when the connection has closed meanwhile.
    void Release()
    {
        if (!statement_)
            return;
        sqlite3_stmt* statement = std::exchange(statement_, nullptr);
        sqlite3_reset(statement);
        sqlite3_clear_bindings(statement);
        if (const std::shared_ptr<CursorStatementPool> pool = pool_.lock())
            pool->Give(sql_, {statement, Columns(), isDateTime_, parameters_});
        else
            sqlite3_finalize(statement);
    }

    struct Cell {
        int type;
        union {
            sqlite3_int64 integer;
            double real;
            struct {
                quint32 offset;
                qint32 length;
            } bytes;
        };
    };

    Cell ReadCell(int i)
    {
        Cell cell;
        cell.type = sqlite3_column_type(statement_, i);
        switch (cell.type) {
        case SQLITE_INTEGER:
            cell.integer = sqlite3_column_int64(statement_, i);
            break;
        case SQLITE_FLOAT:
            cell.real = sqlite3_column_double(statement_, i);
            break;
        case SQLITE_TEXT:
        case SQLITE_BLOB: {
            const void* data = cell.type == SQLITE_TEXT ? static_cast<const void*>(sqlite3_column_text(statement_, i))
                                                        : sqlite3_column_blob(statement_, i);
            cell.bytes.length = sqlite3_column_bytes(statement_, i);
            cell.bytes.offset = quint32(bytes_.size());
            bytes_.insert(bytes_.end(), static_cast<const char*>(data), static_cast<const char*>(data) + cell.bytes.length);
            break;
        }
        default:
            cell.integer = 0;
        }
        return cell;
    }

    sqlite3* handle_;
    QString path_;
    QString sql_;
    sqlite3_stmt* statement_;
    QVector<bool> isDateTime_;
    int parameters_;
    std::weak_ptr<CursorStatementPool> pool_;
    std::vector<Cell> cells_;
    std::vector<char> bytes_;
};

void BindText(sqlite3_stmt* statement, int index, const QByteArray& utf8)
{
    sqlite3_bind_text(statement, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

// A value bound as the Qt driver would bind it: null values (a null text
// too) as NULL, whole numbers and flags as integers.
void BindValue(sqlite3_stmt* statement, int index, const QVariant& value)
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
        BindText(statement, index, StoredDateTime(value.toDateTime()));
        break;
    default:
        BindText(statement, index, value.toString().toUtf8());
    }
}

// A lifted literal bound with the value it has in the statement: a text
// unquoted (a date-time text in the stored form), a number as an integer
// when it is whole and fits, else as a real, as SQLite reads such literals.
// A text is bound as UTF-16 straight from the statement, which outlives the
// run (SQLITE_STATIC): no copy here, SQLite converts it once as it stores it.
class LiteralBinder {
public:
    // `keep` is SQLITE_STATIC when the values are bound for one run that
    // the text outlives, SQLITE_TRANSIENT when SQLite is to copy them.
    LiteralBinder(sqlite3_stmt* statement, const QString& text, sqlite3_destructor_type keep = SQLITE_STATIC)
        : statement_(statement), text_(text), keep_(keep) {}

    void Bind(int index, const LiftedLiteral& literal, bool isDateTime)
    {
        const QStringView written = QStringView(text_).mid(literal.begin, literal.length);
        if (literal.isText)
            BindText(index, written, isDateTime);
        else
            BindNumber(index, written);
    }

    // A value given apart from the statement; it outlives the run.
    void BindVariant(int index, const QVariant& value, bool isDateTime)
    {
        switch (value.typeId()) {
        case QMetaType::QString:
            BindValue(index, *static_cast<const QString*>(value.constData()), isDateTime);
            break;
        case QMetaType::Double:
        case QMetaType::Float:
            sqlite3_bind_double(statement_, index, value.toDouble());
            break;
        default:
            sqlite3_bind_int64(statement_, index, value.toLongLong());
        }
    }

private:
    void BindText(int index, QStringView literal, bool isDateTime)
    {
        const QStringView inner = literal.mid(1, literal.size() - 2);
        if (inner.contains(QLatin1Char('\''))) {
            unquoted_.push_back(StringValue(literal.toString()));
            BindValue(index, unquoted_.back(), isDateTime);
        } else {
            BindValue(index, inner, isDateTime);
        }
    }

    void BindValue(int index, QStringView value, bool isDateTime)
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
            sqlite3_bind_text16(statement_, index, value.utf16(), int(value.size() * 2), keep_);
    }

    void BindNumber(int index, QStringView literal)
    {
        const bool whole = !literal.contains(QLatin1Char('.')) && !literal.contains(QLatin1Char('e'), Qt::CaseInsensitive);
        bool fits = false;
        const qlonglong number = whole ? literal.toLongLong(&fits) : 0;
        if (fits)
            sqlite3_bind_int64(statement_, index, number);
        else
            sqlite3_bind_double(statement_, index, DecimalValue(literal));
    }

    // The stored form of a date text. The lines of a save all carry the
    // request's date: the last one converted is kept.
    static const QByteArray* StoredDateOf(QStringView value)
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

    // A number literal's value; the C library's conversion, which a
    // literal in the C locale's form takes without Qt's locale handling.
    static double DecimalValue(QStringView literal)
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

    sqlite3_stmt* statement_;
    const QString& text_;
    sqlite3_destructor_type keep_;
    // Texts with doubled quotes, unquoted; they live until the run ends
    // (a list, so that adding one moves none).
    std::list<QString> unquoted_;
};

} // namespace

SqliteConnection::SqliteConnection(QString path)
    : path_(std::move(path)), connectionName_(NextConnectionName()),
      cursorStatements_(std::make_shared<CursorStatementPool>()) {}

SqliteConnection::~SqliteConnection()
{
    FinalizeStatements();
    cursorStatements_.reset();
    if (inTransaction_) {
        try {
            RunControl(QStringLiteral("ROLLBACK"));
        } catch (const DbError&) {
        }
    }
    database_.close();
    database_ = QSqlDatabase();
    QSqlDatabase::removeDatabase(connectionName_);
}

namespace {

void RequireFile(const QString& path)
{
    const QFileInfo file(path);
    if (file.isDir())
        throw DbError(QStringLiteral("Cannot open database \"%1\": it is a folder, not a database file.").arg(path));
    if (!file.isFile())
        throw DbError(QStringLiteral("Cannot open database \"%1\": the file does not exist.").arg(path));
}

DbError ReadOnly(const QString& path)
{
    return DbError(QStringLiteral("Cannot open database \"%1\": the file is read-only, and the program stores "
                                  "requests in it. Make it writable for this user.")
                       .arg(path));
}

DbError NotOurs(const QString& path)
{
    return DbError(QStringLiteral("Cannot open \"%1\": it is not a Tessary database.").arg(path));
}

DbError Newer(const QString& path, int version)
{
    return DbError(QStringLiteral("Cannot open database \"%1\": it was made by a newer version of the program "
                                  "(layout %2; this one knows %3).")
                       .arg(path)
                       .arg(version)
                       .arg(SqliteConnection::kSchemaVersion));
}

} // namespace

// Opens a file of this program whose layout this version knows (older
// ones included), before anything is written to it; *version is its layout.
// A file this user may not write is refused before anything is read from
// it, unless it is opened for reading only.
std::unique_ptr<SqliteConnection> SqliteConnection::OpenKnownFile(const QString& path, int* version, Access access)
{
    RequireFile(path);
    std::unique_ptr<SqliteConnection> connection(new SqliteConnection(path));
    connection->OpenDatabase(Access::ReadWrite);
    if (connection->ReadOnlyFile()) {
        if (access == Access::ReadWrite)
            throw ReadOnly(path);
        // A normal read of a WAL database makes -wal and -shm files beside
        // it, which a connection that may not write the database cannot
        // take away when it closes. Read as unchanging, nothing is made;
        // unless a -wal file holds changes not yet in the database, which
        // only a normal read sees.
        if (QFileInfo(path + QStringLiteral("-wal")).size() == 0) {
            connection.reset(new SqliteConnection(path));
            connection->OpenDatabase(Access::ReadOnly);
        }
    }
    *version = connection->FileVersion();
    if (*version == 0)
        throw NotOurs(path);
    if (*version > kSchemaVersion)
        throw Newer(path, *version);
    return connection;
}

std::unique_ptr<SqliteConnection> SqliteConnection::Open(const QString& path, Access access)
{
    int version = 0;
    std::unique_ptr<SqliteConnection> connection = OpenKnownFile(path, &version, access);
    if (version < kSchemaVersion)
        throw DbError(QStringLiteral("Cannot open database \"%1\": it has the layout of an older version of the "
                                     "program. Run \"tessary-admin upgrade %1\" first.")
                          .arg(path));
    if (connection->ReadOnlyFile())
        connection->UseForReading();
    else
        connection->UseForWork();
    return connection;
}

int SqliteConnection::Upgrade(const QString& path)
{
    int version = 0;
    std::unique_ptr<SqliteConnection> connection = OpenKnownFile(path, &version, Access::ReadWrite);
    if (version == kSchemaVersion)
        return version;
    connection->UseForWork();
    TransactionGuard transaction(*connection);
    // Earlier layouts refused long texts by triggers, or not at all.
    const RowSet triggers = connection->ExecuteNative(QStringLiteral(
        "SELECT name FROM sqlite_schema WHERE type = 'trigger' AND name LIKE '%\\_TextLength%' ESCAPE '\\'"));
    for (const RowSet::Row& trigger : triggers.Rows())
        connection->ExecuteNative(QStringLiteral("DROP TRIGGER ") + trigger.value(0).toString());
    for (const TableDef& table : Catalog::Instance().Tables())
        connection->RebuildTable(table);
    for (const IndexDef& index : Catalog::Instance().Indexes())
        connection->ExecuteNative(QStringLiteral("DROP INDEX IF EXISTS ") + index.name);
    for (const QString& ddl : Catalog::Instance().SqliteIndexDdl())
        connection->ExecuteNative(ddl);
    connection->MarkCurrent();
    transaction.Commit();
    return version;
}

// A table whose definition differs from the catalog's (earlier layouts
// checked no lengths, or by triggers, and compared texts by another
// collation) is made anew, its rows copied over: SQLite changes neither a
// check nor a collation of a table that exists. Its indexes go with the old
// table; the upgrade makes them again. Rows the new table would refuse stop
// the upgrade, naming the columns: texts too long (a file of the first
// layout had no check), keys that are one key under the new comparison.
void SqliteConnection::RebuildTable(const TableDef& table)
{
    const QString ddl = Catalog::SqliteTableDdl(table, table.name);
    const QString schema =
        ExecuteNative(QStringLiteral("SELECT sql FROM sqlite_schema WHERE type = 'table' AND name = ?"), {table.name})
            .Field(0)
            .toString();
    // SQLite keeps the text that made a table, its name rewritten by a
    // rename: the columns and checks are what follows the name.
    if (schema.mid(schema.indexOf(QLatin1Char('('))) == ddl.mid(ddl.indexOf(QLatin1Char('('))))
        return;
    QStringList tooLong;
    for (const ColumnDef& c : table.columns) {
        if (c.type == ColumnType::Text && c.length > 0
            && !ExecuteNative(QStringLiteral("SELECT 1 FROM %1 WHERE length(%2) > %3 LIMIT 1").arg(table.name, c.name).arg(c.length))
                    .IsEmpty())
            tooLong << QStringLiteral("%1 (%2 characters)").arg(c.name).arg(c.length);
    }
    if (!tooLong.isEmpty())
        throw DbError(QStringLiteral("Cannot upgrade database \"%1\": the table %2 holds texts longer than their "
                                     "columns allow: %3. Shorten them with \"tessary-admin sql\" of the earlier "
                                     "version, then upgrade again.")
                          .arg(path_, table.name, tooLong.join(QStringLiteral(", "))));
    if (!table.primaryKey.isEmpty()) {
        QStringList keyParts;
        for (const QString& column : table.primaryKey)
            keyParts << column + QStringLiteral(" COLLATE ") + QLatin1String(tsql::kTextCollation);
        const RowSet same = ExecuteNative(QStringLiteral("SELECT %1 FROM %2 GROUP BY %3 HAVING count(*) > 1 LIMIT 1")
                                              .arg(table.primaryKey.join(QStringLiteral(" || ' ' || ")), table.name,
                                                   keyParts.join(QStringLiteral(", "))));
        if (!same.IsEmpty())
            throw DbError(QStringLiteral("Cannot upgrade database \"%1\": the table %2 holds keys (%3) that differ only "
                                         "in the case of their letters or in trailing blanks, such as \"%4\", which "
                                         "the program now takes for one. Change one of them with \"tessary-admin sql\" of the earlier "
                                         "version, then upgrade again.")
                              .arg(path_, table.name, table.primaryKey.join(QStringLiteral(", ")),
                                   same.Field(0).toString()));
    }
    QStringList kept;
    const RowSet columns = ExecuteNative(QStringLiteral("SELECT name FROM pragma_table_info(?)"), {table.name});
    for (const RowSet::Row& row : columns.Rows())
        if (table.FindColumn(row.value(0).toString()))
            kept << row.value(0).toString();
    const QString rebuilt = table.name + QStringLiteral("_rebuilt");
    ExecuteNative(Catalog::SqliteTableDdl(table, rebuilt));
    ExecuteNative(QStringLiteral("INSERT INTO %1 (%2) SELECT %2 FROM %3").arg(rebuilt, kept.join(QStringLiteral(", ")), table.name));
    ExecuteNative(QStringLiteral("DROP TABLE ") + table.name);
    ExecuteNative(QStringLiteral("ALTER TABLE %1 RENAME TO %2").arg(rebuilt, table.name));
}

std::unique_ptr<SqliteConnection> SqliteConnection::Create(const QString& path)
{
    if (QFileInfo(path).isDir())
        throw DbError(QStringLiteral("Cannot create database \"%1\": it is a folder; name the file to create.").arg(path));
    if (QFileInfo::exists(path))
        throw DbError(QStringLiteral("Cannot create database \"%1\": the path exists already.").arg(path));
    std::unique_ptr<SqliteConnection> connection(new SqliteConnection(path));
    try {
        connection->OpenDatabase(Access::ReadWrite);
        connection->UseForWork();
        connection->BeginTransaction();
        for (const QString& ddl : connection->dialect_.SchemaDdl())
            connection->ExecuteNative(ddl);
        connection->MarkCurrent();
        connection->Commit();
    } catch (...) {
        // A half-made file would stand in the way of the next try.
        connection.reset();
        RemoveFiles(path);
        throw;
    }
    return connection;
}

void SqliteConnection::RemoveFiles(const QString& path)
{
    for (const char* suffix : {"", "-wal", "-shm", "-journal"})
        QFile::remove(path + QLatin1String(suffix));
}

bool SqliteConnection::ReadOnlyFile() const
{
    return sqlite3_db_readonly(handle_, "main") == 1;
}

QString SqliteConnection::Failure(const QSqlError& error) const
{
    return FileFailure(ErrorText(error), error.nativeErrorCode().toInt(), path_, handle_);
}

QStringList SqliteConnection::IntegrityProblems()
{
    QStringList problems;
    const RowSet rows = ExecuteNative(QStringLiteral("PRAGMA integrity_check"));
    for (const RowSet::Row& row : rows.Rows())
        if (row.value(0).toString() != QLatin1String("ok"))
            problems << row.value(0).toString();
    return problems;
}

void SqliteConnection::BackupTo(const QString& destination)
{
    if (QFileInfo(destination).isDir())
        throw DbError(QStringLiteral("Cannot back up to \"%1\": it is a folder; name the file to write.").arg(destination));
    if (QFileInfo::exists(destination))
        throw DbError(QStringLiteral("Cannot back up to \"%1\": the path exists already.").arg(destination));
    // The copy takes the destination's name only when it is complete: a
    // backup stopped half-way (killed, the machine off) leaves no file that
    // could be taken for a backup.
    const QString partial = QStringLiteral("%1.partial-%2").arg(destination).arg(QCoreApplication::applicationPid());
    sqlite3* copy = nullptr;
    const auto fail = [&](const QString& why) {
        sqlite3_close(copy);
        RemoveFiles(partial);
        return DbError(QStringLiteral("Cannot back up to \"%1\": %2").arg(destination, why));
    };
    if (sqlite3_open_v2(partial.toUtf8().constData(), &copy, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr)
        != SQLITE_OK)
        throw fail(QString::fromUtf8(sqlite3_errmsg(copy)));
    sqlite3_backup* backup = sqlite3_backup_init(copy, "main", handle_, "main");
    if (!backup)
        throw fail(QString::fromUtf8(sqlite3_errmsg(copy)));
    // Pages are copied in steps; a writer that holds the file for a moment
    // only makes a step wait (the busy timeout of the program's
    // connection applies to the source).
    int rc = SQLITE_OK;
    int waits = 0;
    do {
        rc = sqlite3_backup_step(backup, 256);
        if ((rc == SQLITE_BUSY || rc == SQLITE_LOCKED) && ++waits <= kBackupWaits)
            sqlite3_sleep(50);
    } while (rc == SQLITE_OK || ((rc == SQLITE_BUSY || rc == SQLITE_LOCKED) && waits <= kBackupWaits));
    sqlite3_backup_finish(backup);
    if (rc != SQLITE_DONE)
        throw fail(DiskIsFull(rc, copy, destination) ? QStringLiteral("the disk is full.")
                                                     : QString::fromUtf8(sqlite3_errstr(rc)));
    const int closed = sqlite3_close(copy);
    copy = nullptr;
    if (closed != SQLITE_OK)
        throw fail(QString::fromUtf8(sqlite3_errstr(closed)));
    // No rename replaces a file: one that took the name meanwhile stays.
    if (!QFile::rename(partial, destination))
        throw fail(QStringLiteral("the finished copy \"%1\" could not take that name.").arg(partial));
}

void SqliteConnection::MarkCurrent()
{
    ExecuteNative(QStringLiteral("PRAGMA application_id=%1").arg(kApplicationId));
    ExecuteNative(QStringLiteral("PRAGMA user_version=%1").arg(kSchemaVersion));
}

int SqliteConnection::PragmaValue(const char* pragma)
{
    const RowSet rows = ExecuteNative(QStringLiteral("PRAGMA ") + QLatin1String(pragma));
    return rows.IsEmpty() ? 0 : rows.Field(0).toInt();
}

int SqliteConnection::FileVersion()
{
    const int mark = PragmaValue("application_id");
    if (mark == kApplicationId)
        return PragmaValue("user_version");
    if (mark != 0 || PragmaValue("user_version") != 0)
        return 0;
    // Files made before the mark are known by their tables.
    const RowSet tables = ExecuteNative(QStringLiteral(
        "SELECT count(*) FROM sqlite_master WHERE type = 'table' "
        "AND name IN ('tbInvWithdrawRequest', 'tbInvMaster', 'tbPasswordMain')"));
    return tables.Field(0).toInt() == 3 ? 1 : 0;
}

void SqliteConnection::OpenDatabase(Access access)
{
    database_ = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName_);
    QString options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs);
    if (access == Access::ReadOnly) {
        // Nobody writes the file (this connection may not): it is read as
        // it lies, without locks, WAL index or journal files.
        QUrl uri = QUrl::fromLocalFile(QFileInfo(path_).absoluteFilePath());
        uri.setQuery(QStringLiteral("immutable=1"));
        database_.setDatabaseName(uri.toString(QUrl::FullyEncoded));
        options += QStringLiteral(";QSQLITE_OPEN_URI;QSQLITE_OPEN_READONLY");
    } else {
        database_.setDatabaseName(path_);
    }
    database_.setConnectOptions(options);
    if (!database_.open())
        throw DbError(QStringLiteral("Cannot open database \"%1\": %2").arg(path_, ErrorText(database_.lastError())));

    const QVariant handle = database_.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        throw DbError(QStringLiteral("Cannot open database \"%1\": the SQLite driver gives no handle.").arg(path_));
    handle_ = *static_cast<sqlite3* const*>(handle.constData());
    RegisterSqliteFunctions(handle_);
}

// Settings for working on a file known to be ours: they write to it (WAL
// turns even an empty file into a database), so they wait until then.
void SqliteConnection::UseForWork()
{
    ExecuteNative(QStringLiteral("PRAGMA journal_mode=WAL"));
    UseForReading();
}

// The settings that write nothing, all a file that is only read takes.
void SqliteConnection::UseForReading()
{
    for (const QString& statement : dialect_.SessionStatements())
        ExecuteNative(statement);
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
    std::optional<LiteralBinder> binder;
    return Run(translation.sql, translation.dateTimeColumns, int(shape.literals.size()), [&](sqlite3_stmt* prepared) {
        binder.emplace(prepared, statement);
        for (int k = 0; k < shape.literals.size(); ++k)
            binder->Bind(k + 1, shape.literals[k], translation.dateParameters.contains(k));
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

// The values are bound to the statement's shape: texts and numbers become
// the markers a shape's lifted literals are, NULLs stay in the text.
RowSet SqliteConnection::DoExecuteWith(const QString& statement, const QVariantList& values)
{
    const Translation& translation = BoundTranslation(statement, values);
    const auto bound = std::count_if(values.cbegin(), values.cend(), [](const QVariant& v) { return !IsNullValue(v); });
    return Run(translation.sql, translation.dateTimeColumns, int(bound), [&](sqlite3_stmt* prepared) {
        LiteralBinder binder(prepared, statement);
        int k = 0;
        for (const QVariant& value : values) {
            if (IsNullValue(value))
                continue;
            binder.BindVariant(k + 1, value, translation.dateParameters.contains(k));
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
        kinds[k] = IsNullValue(values[k]) ? '0' : values[k].typeId() == QMetaType::QString ? 'T' : 'N';
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
        return OpenPooledCursor(CursorSql(translation), translation.dateTimeColumns, 0, [](sqlite3_stmt*) {});
    }
    return OpenPooledCursor(shaped.sql, shaped.dateTimeColumns, int(shape.literals.size()), [&](sqlite3_stmt* prepared) {
        LiteralBinder binder(prepared, statement, SQLITE_TRANSIENT);
        for (int k = 0; k < shape.literals.size(); ++k)
            binder.Bind(k + 1, shape.literals[k], shaped.dateParameters.contains(k));
    });
}

std::unique_ptr<Cursor> SqliteConnection::OpenPooledCursor(const QString& sql, const QSet<QString>& dateTimeColumns,
                                                           int values, const Binder& bind)
{
    std::optional<CursorStatementPool::Entry> entry = cursorStatements_->Take(sql);
    if (!entry) {
        entry.emplace();
        const QByteArray utf8 = sql.toUtf8();
        const int rc = sqlite3_prepare_v3(handle_, utf8.constData(), int(utf8.size()), SQLITE_PREPARE_PERSISTENT,
                                          &entry->statement, nullptr);
        if (rc != SQLITE_OK) {
            sqlite3_finalize(entry->statement);
            throw DbError(FileFailure(QString::fromUtf8(sqlite3_errmsg(handle_)), rc, path_, handle_));
        }
        for (int i = 0; i < sqlite3_column_count(entry->statement); ++i)
            entry->columns << QString::fromUtf8(sqlite3_column_name(entry->statement, i));
        entry->isDateTime = DateTimeFlags(entry->columns, dateTimeColumns);
        entry->parameters = NumberedParameters(entry->statement);
    }
    const bool foreign = !TakesValues(entry->parameters, values);
    // From here the cursor owns the statement and gives it back.
    auto cursor = std::make_unique<SqliteCursor>(handle_, path_, sql, std::move(*entry), cursorStatements_);
    if (foreign)
        throw DbError(IncorrectSyntaxNear(QStringLiteral("?")));
    bind(cursor->Statement());
    return cursor;
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
    return Run(sql, dateTimeColumns, -1, [&](sqlite3_stmt* prepared) {
        for (int i = 0; i < binds.size(); ++i)
            BindValue(prepared, i + 1, binds[i]);
    });
}

SqliteConnection::Prepared& SqliteConnection::PreparedFor(const QString& sql, const QSet<QString>& dateTimeColumns)
{
    auto it = prepared_.find(sql);
    if (it != prepared_.end())
        return it.value();
    if (prepared_.size() >= kPreparedLimit)
        FinalizeStatements();
    const QByteArray utf8 = sql.toUtf8();
    Prepared prepared;
    const char* tail = nullptr;
    const int rc = sqlite3_prepare_v3(handle_, utf8.constData(), int(utf8.size()) + 1, SQLITE_PREPARE_PERSISTENT,
                                      &prepared.statement, &tail);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(prepared.statement);
        throw DbError(FileFailure(QString::fromUtf8(sqlite3_errmsg(handle_)), rc, path_, handle_));
    }
    if (tail && !QByteArray(tail).trimmed().isEmpty()) {
        sqlite3_finalize(prepared.statement);
        throw DbError(QStringLiteral("Unable to execute multiple statements at a time"));
    }
    for (int i = 0; i < sqlite3_column_count(prepared.statement); ++i)
        prepared.columns << QString::fromUtf8(sqlite3_column_name(prepared.statement, i));
    prepared.isDateTime = DateTimeFlags(prepared.columns, dateTimeColumns);
    prepared.parameters = NumberedParameters(prepared.statement);
    return prepared_.insert(sql, std::move(prepared)).value();
}

RowSet SqliteConnection::Run(const QString& sql, const QSet<QString>& dateTimeColumns, int values, const Binder& bind)
{
    Prepared& prepared = PreparedFor(sql, dateTimeColumns);
    if (values >= 0 && !TakesValues(prepared.parameters, values))
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
        throw DbError(FileFailure(QString::fromUtf8(sqlite3_errmsg(handle_)), sqlite3_extended_errcode(handle_), path_,
                                  handle_));
    if (columns == 0)
        return {};
    return RowSet(prepared.columns, std::move(rows));
}

void SqliteConnection::FinalizeStatements()
{
    for (const Prepared& prepared : std::as_const(prepared_))
        sqlite3_finalize(prepared.statement);
    prepared_.clear();
}

void SqliteConnection::RunControl(const QString& sql)
{
    QSqlQuery query(database_);
    if (!query.exec(sql))
        throw DbError(Failure(query.lastError()));
}

void SqliteConnection::BeginTransaction()
{
    if (inTransaction_)
        throw DbError(QStringLiteral("A transaction is open already on this connection."));
    dialect_.TakeNumberingLock([this](const QString& sql) {
        RunControl(sql);
        return RowSet();
    });
    inTransaction_ = true;
}

void SqliteConnection::Commit()
{
    if (!inTransaction_)
        throw DbError(QStringLiteral("No transaction is open on this connection."));
    RunControl(QStringLiteral("COMMIT"));
    inTransaction_ = false;
}

void SqliteConnection::Rollback()
{
    if (!inTransaction_)
        return;
    inTransaction_ = false;
    RunControl(QStringLiteral("ROLLBACK"));
}

} // namespace db
