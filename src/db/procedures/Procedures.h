#pragma once

#include "db/RowSet.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace db {

class SqliteConnection;

// The stored procedures of the embedded backend, one per file in this folder.
// Each takes the arguments of the call as the program sent them and returns
// the columns that the program reads from the server's procedure of the
// same name.
namespace procedures {

RowSet UserLocation(SqliteConnection& connection, const QStringList& arguments);
RowSet SearchItemInInvent(SqliteConnection& connection, const QStringList& arguments);
RowSet LoadWithdrawalRequest(SqliteConnection& connection, const QStringList& arguments);
RowSet KitOfItems(SqliteConnection& connection, const QStringList& arguments);
RowSet KitOfItemsPerItem(SqliteConnection& connection, const QStringList& arguments);

// The components of a kit item (all of them, or only the one given), shared
// by the two kit procedures.
RowSet KitComponents(SqliteConnection& connection, const QString& kitItemId,
                     const std::optional<QString>& componentItemId);

// Throws DbError, worded as the server words it, unless exactly one
// argument per parameter was passed.
void RequireArguments(const QString& procedure, const QStringList& arguments, const QStringList& parameters);

// The zero date-time, given where a date column must not come back null.
inline const QString kZeroDateTime = QStringLiteral("1899-12-30 00:00:00");

} // namespace procedures
} // namespace db
