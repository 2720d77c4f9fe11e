#pragma once

#include "db/Connection.h"
#include "db/EmbeddedDialect.h"

#include <QHash>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QVariantList>
#include <functional>
#include <memory>

struct sqlite3_stmt;

namespace db {

struct StatementShape;
class CursorStatementPool;
struct TableDef;

// The embedded backend: one SQLite file holding both databases (INVENTORY
// and Password), in WAL mode with a busy timeout. Statements are translated
// from T-SQL; stored-procedure calls run the embedded procedures.
class SqliteConnection final : public Connection {
public:
    // The mark a database file of this program carries (SQLite's
    // application_id), and the version of its layout (user_version).
    // Version 2 changed two indexes and refuses texts too long for their
    // columns; version 3 indexes request numbers and open requests, and
    // compares texts without regard to trailing blanks; version 4 refuses
    // long texts by a check of each table instead of triggers; version 5
    // declares text columns with the program's own collation, which folds
    // every letter's case, not only ASCII ones (tsql::kTextCollation); version
    // 1 files were made before the mark and are known by their tables.
    static constexpr int kApplicationId = 0x54737279;  // "Tsry"
    static constexpr int kSchemaVersion = 5;

    // What a connection is for: working (the program, and every command
    // that may write), or reading alone (a check, a backup).
    enum class Access { ReadWrite, ReadOnly };

    // Opens an existing database file of the current layout; throws DbError,
    // naming the file, when it is missing or a folder, cannot be opened, is
    // no database of this program, or has another layout version. For
    // ReadWrite, also when this user may not write the file: said at once,
    // not at the first save. A file opened ReadOnly that this user may not
    // write is read without making -wal and -shm files beside it.
    static std::unique_ptr<SqliteConnection> Open(const QString& path, Access access = Access::ReadWrite);
    // Creates a new database file with the whole schema and the mark;
    // refuses a path that exists already. When making it fails (a full
    // disk), nothing of it is left behind.
    static std::unique_ptr<SqliteConnection> Create(const QString& path);
    // Removes a database file and the journal files SQLite keeps beside it.
    static void RemoveFiles(const QString& path);
    // Brings a database file of an older layout to the current one (its
    // indexes rebuilt as the catalog has them) and gives back the version it
    // had; a current file is left as it is. Refuses a file that is no
    // database of this program or was made by a newer version.
    static int Upgrade(const QString& path);

    ~SqliteConnection() override;

    void BeginTransaction() override;
    void Commit() override;
    void Rollback() override;
    bool InTransaction() const override { return inTransaction_; }
    Backend Kind() const override { return dialect_.Kind(); }
    QString DatabaseName() const override { return QStringLiteral("INVENTORY"); }

    const QString& Path() const { return path_; }
    // SQLite's own handle of the connection, for tools that watch or
    // measure what it runs.
    sqlite3* NativeHandle() const { return handle_; }

    // The database's own consistency check: empty when the file is sound,
    // else the problems it found.
    QStringList IntegrityProblems();
    // Writes a consistent copy of the database to a new file while other
    // connections go on working (SQLite's online backup). Refuses a
    // destination that exists; the copy is written beside it under another
    // name and takes the destination's name when complete, so that no
    // partial copy ever bears it.
    void BackupTo(const QString& destination);

    // Whether this connection may not write the file (SQLite opened it
    // read-only).
    bool ReadOnlyFile() const;

    // Runs one SQLite statement as written, with positional bind values.
    // Text values of the named result columns (lower-case), and of the
    // catalog's date-time columns, come back as date-times. The statement is
    // prepared once and kept for the next call with the same text.
    RowSet ExecuteNative(const QString& sql, const QVariantList& binds = {},
                         const QSet<QString>& dateTimeColumns = {});

    // The SQLite statement a cursor on this program statement runs now: its
    // translation planned for the first rows, the plan chosen by the data
    // where it depends on them.
    QString PlannedCursorSql(const QString& statement);

protected:
    RowSet DoExecute(const QString& statement) override;
    RowSet DoExecuteWith(const QString& statement, const QVariantList& values) override;
    // Read on demand through SQLite's own interface, planned for the first
    // rows.
    std::unique_ptr<Cursor> DoOpenCursor(const QString& statement) override;

private:
    explicit SqliteConnection(QString path);
    static std::unique_ptr<SqliteConnection> OpenKnownFile(const QString& path, int* version, Access access);
    void OpenDatabase(Access access);
    void UseForWork();
    void UseForReading();
    void MarkCurrent();
    void RebuildTable(const TableDef& table);
    const Translation& BoundTranslation(const QString& statement, const QVariantList& values);
    const Translation& ShapeTranslation(const QString& shape, const QString& statement, Plan plan);
    // The layout version of the open file; 0 when it is no database of this
    // program.
    int FileVersion();
    int PragmaValue(const char* pragma);
    // A failure's text; those about the file itself name it.
    QString Failure(const QSqlError& error) const;
    void RunControl(const QString& sql);
    const QString& CursorSql(const Translation& translation);

    // A statement prepared once and run again with new values.
    struct Prepared {
        sqlite3_stmt* statement = nullptr;
        QStringList columns;
        QVector<bool> isDateTime;
        // ?1 ... ?n: n; -1 for parameters of any other kind.
        int parameters = 0;
    };
    using Binder = std::function<void(sqlite3_stmt*)>;
    Prepared& PreparedFor(const QString& sql, const QSet<QString>& dateTimeColumns);
    // `values`: how many values `bind` binds to a translated statement, whose
    // parameters must be theirs; -1 for SQL of the program's own (native).
    RowSet Run(const QString& sql, const QSet<QString>& dateTimeColumns, int values, const Binder& bind);
    void FinalizeStatements();
    std::unique_ptr<Cursor> OpenPooledCursor(const QString& sql, const QSet<QString>& dateTimeColumns, int values,
                                             const Binder& bind);

    QString path_;
    QString connectionName_;
    QSqlDatabase database_;
    sqlite3* handle_ = nullptr;
    EmbeddedDialect dialect_;
    // Whether a membership list of a first-rows plan is short, by the query
    // that counts it.
    QHash<QString, bool> shortLists_;
    QHash<QString, Prepared> prepared_;
    std::shared_ptr<CursorStatementPool> cursorStatements_;
    // The translation of the last statement run with values apart, by the
    // kinds of its values.
    QString boundStatement_;
    QByteArray boundKinds_;
    Translation boundTranslation_;
    bool inTransaction_ = false;
};

} // namespace db
