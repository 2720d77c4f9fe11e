#pragma once

#include <QByteArray>
#include <QString>

class QDateTime;

namespace db {

// How the embedded database stores a date-time: sortable text.
inline const QString kEmbeddedDateTimeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");

// A date-time in that form, as UTF-8, written digit by digit: a save binds
// one for every line, and QDateTime::toString costs more than the insert.
QByteArray StoredDateTime(const QDateTime& value);

} // namespace db
