#include "db/WholeNumbers.h"

namespace db {

std::optional<qlonglong> WholeNumber(const QString& code)
{
    bool whole = false;
    const qlonglong value = code.trimmed().toLongLong(&whole);
    if (!whole)
        return std::nullopt;
    return value;
}

qlonglong HighestWholeNumberPlusOne(const RowSet& rows, const QString& ignoredLetter)
{
    qlonglong highest = 0;
    for (const RowSet::Row& row : rows.Rows()) {
        QString code = row.value(0).toString();
        if (!ignoredLetter.isEmpty())
            code.remove(ignoredLetter, Qt::CaseInsensitive);
        const std::optional<qlonglong> value = WholeNumber(code);
        if (value && *value > highest)
            highest = *value;
    }
    return highest + 1;
}

} // namespace db
