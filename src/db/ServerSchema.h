#pragma once

#include "db/Catalog.h"
#include "db/RowSet.h"

#include <QString>
#include <QStringList>
#include <functional>

namespace db {

// One of the five stored procedures as the servers hold it: its parameters
// (as the server names them in its refusals) and its body for each server.
struct ServerProcedure {
    QString name;
    QStringList parameters;
    QString postgresColumns;  // the columns it returns, in PostgreSQL's words
    QString postgresBody;     // a select over the function's parameters $1, $2
    QString sqlServerParameters;
    QString sqlServerBody;
};

const QVector<ServerProcedure>& ServerProcedures();
// The procedure of that name (case-insensitive); nullptr when there is none.
const ServerProcedure* FindServerProcedure(const QString& name);

// The schema that holds a database of the program on PostgreSQL
// ("inventory", "password"); empty for any other name.
QString PgSchemaOfDatabase(const QString& database);

// The search path of every session: the comparison operators of the
// "tessary" schema come before those of citext, then the program's schemas.
inline const QString kPgSearchPath = QStringLiteral("tessary, inventory, password, public");

// Everything a PostgreSQL database of the program holds, made from the
// catalog: the citext extension, the schema "tessary" with the comparisons,
// + on texts and the server's conversions, the schemas inventory and
// password with the tables, their length checks and indexes, and the five
// procedures. Each statement stands alone; they run in one transaction.
QStringList PgSchemaDdl(const Catalog& catalog = Catalog::Instance());

// The layout of the program's schema on PostgreSQL. Layout 1 (no
// tessary.layout table) is the schema before the indexes that serve the
// product search, the request lists and the numbering; layout 2 lacks the
// index that reads an item's stock at a location alone.
inline constexpr int kPgLayout = 3;
// The layout of the database the statements run on.
int PgLayoutOf(const std::function<RowSet(const QString& sql)>& run);
// What brings a database of the given layout to kPgLayout, in one
// transaction; nothing for one of kPgLayout.
QStringList PgUpgradeDdl(int from);

// A request not yet processed (the request list's isnull(Status,'') = ''),
// as the server's own comparison writes it.
inline const QString kPgOpenRequest =
    QStringLiteral("coalesce(Status, ''::public.citext) OPERATOR(tessary.=) ''::public.citext");

// The tables, columns and indexes of the catalog that a PostgreSQL database
// made by an earlier version lacks, each made only when missing (a table
// that exists keeps its rows). They run in one transaction.
QStringList PgMissingTablesDdl(const Catalog& catalog = Catalog::Instance());

// The statements that make a SQL Server site of the program: the two
// databases when missing, the tables and indexes of the catalog, and the five
// procedures (each CREATE PROCEDURE runs alone, in its database).
QStringList SqlServerSchemaDdl(const Catalog& catalog = Catalog::Instance());

// The name a check constraint that refuses a text longer than its column
// starts with; the connection turns its failure into the server's message.
inline const QString kPgLengthCheckPrefix = QStringLiteral("tessary_length_");

} // namespace db
