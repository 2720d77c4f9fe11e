#pragma once

#include <QString>

namespace db {

// How the embedded database stores a date-time: sortable text.
inline const QString kEmbeddedDateTimeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");

} // namespace db
