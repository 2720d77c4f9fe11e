#pragma once

#include "db/Backend.h"
#include "db/RowSet.h"

#include <QString>
#include <QStringList>
#include <functional>

namespace db {

// What sets one backend apart from the others, in one object per backend
// (EmbeddedDialect, PostgreSqlDialect, SqlServerDialect). A connection does
// what every backend of its kind does alike and asks its dialect for the
// rest: what a session starts with, the schema, the numbering lock of a
// write transaction, and (ServerDialect) how the program's statements go to
// the server and how its refusals read.
class Dialect {
public:
    // Runs one statement in the backend's own SQL and gives its rows.
    using NativeRunner = std::function<RowSet(const QString& sql)>;

    virtual ~Dialect() = default;

    virtual Backend Kind() const = 0;
    // What every new connection runs before the program's statements.
    virtual QStringList SessionStatements() const = 0;
    // What makes the program's schema in an empty database, in order.
    virtual QStringList SchemaDdl() const = 0;
    // Takes, as a write transaction begins, the lock that keeps two saves
    // from numbering requests at once; the transaction's end releases it.
    virtual void TakeNumberingLock(const NativeRunner& run) const = 0;
};

// The dialect of a database server. The program writes its statements for
// SQL Server; a server dialect says how they go to its server.
class ServerDialect : public Dialect {
public:
    // The program's statement as the server runs it; throws DbError for one
    // that cannot be put to it.
    virtual QString Translate(const QString& statement) = 0;
    // A refusal as the program shows it, from the server's own message
    // (without the driver's decorations).
    virtual QString RefusalText(const QString& message) const = 0;
    // Whether a failed statement spoils the transaction it ran in: each
    // statement of a transaction then runs under a savepoint of its own,
    // so that a failure leaves the transaction usable, as on the other
    // backends.
    virtual bool FailureSpoilsTransaction() const = 0;
    // A query whose first field is above 0 when the database holds the
    // program's tables.
    virtual QString SchemaQuery() const = 0;
    // Whether the schema is made in one transaction.
    virtual bool SchemaInOneTransaction() const = 0;

    // A read whose rows are fetched as they are wanted: the statement that
    // declares the cursor `name` over `sql` inside a transaction (empty when
    // the server reads every row at once), and the one that fetches up to
    // `count` of its next rows.
    virtual QString CursorDeclaration(const QString& name, const QString& sql) const = 0;
    virtual QString CursorFetch(const QString& name, int count) const = 0;
    // The last fetch of a cursor: every row it has left.
    virtual QString CursorFetchRest(const QString& name) const = 0;
    virtual QString CursorClose(const QString& name) const = 0;

    // The layout of the program's schema in the database the statements run
    // on, the one this program makes, and what brings the one to the other
    // (in one transaction).
    virtual int SchemaLayout(const NativeRunner& run) const = 0;
    virtual int CurrentLayout() const = 0;
    virtual QStringList UpgradeDdl(int from) const = 0;
};

} // namespace db
