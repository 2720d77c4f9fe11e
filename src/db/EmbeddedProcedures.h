#pragma once

#include "db/RowSet.h"

#include <QString>
#include <QStringList>
#include <functional>

namespace db {

class SqliteConnection;

// A stored procedure of the embedded backend: ordinary code that reads the
// database through the connection's native (untranslated) statements.
using EmbeddedProcedure = std::function<RowSet(SqliteConnection&, const QStringList& arguments)>;

// The procedure of that name (case-insensitive, without database and owner);
// nullptr when there is none.
const EmbeddedProcedure* FindEmbeddedProcedure(const QString& name);

} // namespace db
