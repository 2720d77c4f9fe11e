#pragma once

#include "db/Connection.h"
#include "db/TsqlTranslator.h"

#include <QHash>
#include <QSet>
#include <QSqlDatabase>
#include <QVariantList>
#include <memory>

namespace db {

// The embedded backend: one SQLite file holding both databases (INVENTORY
// and Password), in WAL mode with a busy timeout. Statements are translated
// from T-SQL; stored-procedure calls run the embedded procedures.
class SqliteConnection final : public Connection {
public:
    // Opens an existing database file; throws DbError when it is missing or
    // cannot be opened.
    static std::unique_ptr<SqliteConnection> Open(const QString& path);
    // Creates a new database file with the whole schema; refuses a path that
    // exists already.
    static std::unique_ptr<SqliteConnection> Create(const QString& path);

    ~SqliteConnection() override;

    void BeginTransaction() override;
    void Commit() override;
    void Rollback() override;
    bool InTransaction() const override { return inTransaction_; }
    Backend Kind() const override { return Backend::Embedded; }
    QString DatabaseName() const override { return QStringLiteral("INVENTORY"); }

    const QString& Path() const { return path_; }

    // Runs one SQLite statement as written, with positional bind values.
    // Text values of the named result columns (lower-case), and of the
    // catalog's date-time columns, come back as date-times.
    RowSet ExecuteNative(const QString& sql, const QVariantList& binds = {},
                         const QSet<QString>& dateTimeColumns = {});

    // The SQLite statement a cursor on this program statement runs now: its
    // translation planned for the first rows, the plan chosen by the data
    // where it depends on them.
    QString PlannedCursorSql(const QString& statement);

protected:
    RowSet DoExecute(const QString& statement) override;
    // Read on demand through SQLite's own interface, planned for the first
    // rows.
    std::unique_ptr<Cursor> DoOpenCursor(const QString& statement) override;

private:
    explicit SqliteConnection(QString path);
    void OpenDatabase();
    void RunControl(const QString& sql);
    const QString& CursorSql(const Translation& translation);

    QString path_;
    QString connectionName_;
    QSqlDatabase database_;
    sqlite3* handle_ = nullptr;
    TsqlTranslator translator_;
    // Whether a membership list of a first-rows plan is short, by the query
    // that counts it.
    QHash<QString, bool> shortLists_;
    bool inTransaction_ = false;
};

} // namespace db
