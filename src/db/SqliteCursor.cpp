#include "db/SqliteCursor.h"

#include "db/DbError.h"
#include "db/SqliteFile.h"
#include "db/TsqlTokenizer.h"

#include <sqlite3.h>
#include <vector>

namespace db {

namespace {

// A statement's rows stepped one at a time. Rows are kept packed (numbers
// in place, texts in one byte buffer) and turned into values only when
// asked for, so reading a long result costs little more than stepping it.
// The cursor keeps the file open while it holds its statement, which goes
// back to the pool it came from at the end of the result.
class SqliteCursor final : public Cursor {
public:
    SqliteCursor(std::shared_ptr<const SqliteFile> file, QString sql, PreparedStatement prepared,
                 std::weak_ptr<CursorStatementPool> pool)
        : Cursor(prepared.columns), file_(std::move(file)), sql_(std::move(sql)), statement_(prepared.statement),
          isDateTime_(std::move(prepared.isDateTime)), parameters_(prepared.parameters), pool_(std::move(pool)) {}
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
            return StoredTextValue(bytes_.data() + cell.bytes.offset, cell.bytes.length, isDateTime_[column]);
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
            const QString failure = rc == SQLITE_DONE ? QString() : file_->Failure(rc);
            Release();
            if (rc == SQLITE_DONE)
                return false;
            throw DbError(failure);
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

    std::shared_ptr<const SqliteFile> file_;
    QString sql_;
    sqlite3_stmt* statement_;
    QVector<bool> isDateTime_;
    int parameters_;
    std::weak_ptr<CursorStatementPool> pool_;
    std::vector<Cell> cells_;
    std::vector<char> bytes_;
};

} // namespace

std::unique_ptr<Cursor> CursorStatementPool::Open(const QString& sql, const QSet<QString>& dateTimeColumns, int values,
                                                  const SqliteStatements::Binder& bind)
{
    std::optional<PreparedStatement> prepared = Take(sql);
    // A cursor reads the first statement of its text.
    if (!prepared)
        prepared = PreparedStatement::Prepare(*file_, sql, dateTimeColumns, PreparedStatement::Rest::Ignored);
    const bool foreign = !prepared->TakesValues(values);
    // From here the cursor owns the statement and gives it back.
    auto cursor = std::make_unique<SqliteCursor>(file_, sql, std::move(*prepared), weak_from_this());
    if (foreign)
        throw DbError(IncorrectSyntaxNear(QStringLiteral("?")));
    bind(cursor->Statement());
    return cursor;
}

CursorStatementPool::~CursorStatementPool()
{
    if (last_)
        sqlite3_finalize(last_->statement.statement);
    Clear();
}

std::optional<PreparedStatement> CursorStatementPool::Take(const QString& sql)
{
    if (last_ && last_->sql == sql) {
        PreparedStatement prepared = std::move(last_->statement);
        last_.reset();
        return prepared;
    }
    const auto it = idle_.find(sql);
    if (it == idle_.end())
        return std::nullopt;
    PreparedStatement prepared = std::move(it.value());
    idle_.erase(it);
    return prepared;
}

void CursorStatementPool::Give(const QString& sql, PreparedStatement statement)
{
    if (last_)
        Keep(last_->sql, std::move(last_->statement));
    last_ = Idle{sql, std::move(statement)};
}

void CursorStatementPool::Keep(const QString& sql, PreparedStatement statement)
{
    if (idle_.size() >= kPreparedStatementsKept)
        Clear();
    PreparedStatement& idle = idle_[sql];
    if (idle.statement)  // a second cursor of the same shape was open
        sqlite3_finalize(statement.statement);
    else
        idle = std::move(statement);
}

void CursorStatementPool::Clear()
{
    for (const PreparedStatement& prepared : std::as_const(idle_))
        sqlite3_finalize(prepared.statement);
    idle_.clear();
}

} // namespace db
