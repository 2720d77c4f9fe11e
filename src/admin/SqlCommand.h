#pragma once

#include "db/Connection.h"

#include <QString>
#include <QVariant>

namespace admin {

// Runs one statement as the program sends it (same translation, same
// procedures) and gives its rows as text: a header line of column names,
// then one line per row, values separated by tabs. A statement without a
// result gives empty text. Throws DbError when the statement is refused,
// AdminError when it is blank.
QString RunStatement(db::Connection& connection, const QString& statement);

QString FormatRows(const db::RowSet& rows);
// NULL as "NULL", date-times as "yyyy-MM-dd HH:mm:ss", whole numbers
// without a fraction.
QString FormatValue(const QVariant& value);

} // namespace admin
