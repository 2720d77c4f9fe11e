#pragma once

#include "db/Cursor.h"
#include "db/SqliteStatements.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <memory>
#include <optional>

namespace db {

class SqliteFile;

// Opens cursors on a database file, which step their statement through
// SQLite's own interface as rows are wanted, and keeps their statements
// prepared between searches: a search typed anew at every keystroke runs
// the same shape with other values. A cursor takes its statement out while
// it reads and gives it back, reset, at the end of its result (the end of
// its read of the database); statements left over when the pool goes with
// its connection are finalized, and a cursor that outlives the pool
// finalizes its own.
class CursorStatementPool : public std::enable_shared_from_this<CursorStatementPool> {
public:
    explicit CursorStatementPool(std::shared_ptr<const SqliteFile> file) : file_(std::move(file)) {}
    ~CursorStatementPool();
    CursorStatementPool(const CursorStatementPool&) = delete;
    CursorStatementPool& operator=(const CursorStatementPool&) = delete;

    // A cursor on one SQLite statement; `dateTimeColumns`, `values` and
    // `bind` as for SqliteStatements::Run. The values are bound for as long
    // as the cursor reads: `bind` has SQLite copy texts
    // (ValueBinder::Texts::Copied).
    std::unique_ptr<Cursor> Open(const QString& sql, const QSet<QString>& dateTimeColumns, int values,
                                 const SqliteStatements::Binder& bind);

    // Takes back the statement of a cursor that read to its end.
    void Give(const QString& sql, PreparedStatement statement);

private:
    struct Idle {
        QString sql;
        PreparedStatement statement;
    };

    std::optional<PreparedStatement> Take(const QString& sql);
    void Keep(const QString& sql, PreparedStatement statement);
    void Clear();

    std::shared_ptr<const SqliteFile> file_;
    // The statement given back last stays out of the hash: a keystroke's
    // search takes back the one the last keystroke's gave, and its long
    // text is then compared, not hashed twice.
    std::optional<Idle> last_;
    QHash<QString, PreparedStatement> idle_;
};

} // namespace db
