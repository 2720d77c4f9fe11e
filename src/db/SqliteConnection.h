#pragma once

#include "db/Connection.h"
#include "db/EmbeddedDialect.h"
#include "db/SqliteFile.h"
#include "db/SqliteStatements.h"

#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QVariantList>
#include <memory>

namespace db {

class CursorStatementPool;

// The embedded backend: the program's statements translated from T-SQL
// (EmbeddedDialect) and run on the database file (SqliteFile) through its
// prepared statements (SqliteStatements) or, read on demand, through a
// cursor (CursorStatementPool); stored-procedure calls run the embedded
// procedures. Statements that differ only in their values share one
// translation and one prepared statement, their values bound.
class SqliteConnection final : public Connection {
public:
    using Access = SqliteFile::Access;

    // A connection on an existing database file of the current layout (see
    // SqliteFile::Open).
    static std::unique_ptr<SqliteConnection> Open(const QString& path, Access access = Access::ReadWrite);
    // Creates a new database file with the whole schema and the mark;
    // refuses a path that exists already. When making it fails (a full
    // disk), nothing of it is left behind.
    static std::unique_ptr<SqliteConnection> Create(const QString& path);
    // Brings a database file of an older layout to the current one and gives
    // back the version it had; a current file is left as it is. Refuses a
    // file that is no database of this program or was made by a newer
    // version.
    static int Upgrade(const QString& path);

    ~SqliteConnection() override;

    void BeginTransaction() override;
    void Commit() override;
    void Rollback() override;
    bool InTransaction() const override { return inTransaction_; }
    Backend Kind() const override { return dialect_.Kind(); }
    QString DatabaseName() const override { return QStringLiteral("INVENTORY"); }

    // The file the connection works on: its checks, its backup, its handle.
    SqliteFile& File() { return *file_; }

    // Runs one SQLite statement as written, with positional bind values.
    // Text values of the named result columns (lower-case), and of the
    // catalog's date-time columns, come back as date-times. The statement is
    // prepared once and kept for the next call with the same text.
    RowSet ExecuteNative(const QString& sql, const QVariantList& binds = {},
                         const QSet<QString>& dateTimeColumns = {});

    // The SQLite statement a cursor on this program statement runs now: its
    // translation planned for the first rows, the plan chosen by the data
    // where it depends on them. With values (OpenCursorWith), its parameters
    // stand for them.
    QString PlannedCursorSql(const QString& statement, const QVariantList& values = {});

protected:
    RowSet DoExecute(const QString& statement) override;
    RowSet DoExecuteWith(const QString& statement, const QVariantList& values) override;
    // Read on demand, planned for the first rows.
    std::unique_ptr<Cursor> DoOpenCursor(const QString& statement) override;
    std::unique_ptr<Cursor> DoOpenCursorWith(const QString& statement, const QVariantList& values) override;

private:
    // Starts the session on the file.
    explicit SqliteConnection(std::shared_ptr<SqliteFile> file);
    const Translation& ShapeTranslation(const QString& shape, const QString& statement, Plan plan);
    const Translation& BoundTranslation(const QString& statement, const QVariantList& values, Plan plan);
    const Translation& BoundShapeTranslation(const QString& statement, const QVariantList& values, Plan plan);
    const QString& CursorSql(const Translation& translation, const QVariantList& values = {});
    struct ListCount {
        QString sql;
        QVariantList values;
        QSet<int> dateParameters;
    };
    static ListCount ListCountOf(const Translation& translation, const QVariantList& values);

    std::shared_ptr<SqliteFile> file_;
    EmbeddedDialect dialect_;
    SqliteStatements statements_;
    std::shared_ptr<CursorStatementPool> cursors_;
    // Whether a membership list of a first-rows plan is short, by the query
    // that counts it.
    QHash<QString, bool> shortLists_;
    // The translation of the last statement run with values apart, by the
    // kinds of its values: one run whole, one read by a cursor.
    struct LastBound {
        QString statement;
        QByteArray kinds;
        Translation translation;
    };
    LastBound lastRun_;
    LastBound lastCursor_;
    bool inTransaction_ = false;
};

} // namespace db
