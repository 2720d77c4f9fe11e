#include "db/RowSet.h"

#include "db/DbError.h"

namespace db {

RowSet::RowSet(QStringList columns, QVector<Row> rows)
    : columns_(std::move(columns)), rows_(std::move(rows)) {}

int RowSet::ColumnIndex(const QString& name) const
{
    for (int i = 0; i < columns_.size(); ++i)
        if (columns_[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QVariant RowSet::Field(const QString& name) const
{
    const int index = ColumnIndex(name);
    if (index < 0)
        throw DbError(QStringLiteral(
            "Item cannot be found in the collection corresponding to the requested name or ordinal. (%1)")
                          .arg(name));
    return Field(index);
}

QVariant RowSet::Field(int index) const
{
    if (index < 0 || index >= columns_.size())
        throw DbError(QStringLiteral(
            "Item cannot be found in the collection corresponding to the requested name or ordinal."));
    if (Eof() || Bof())
        throw DbError(QStringLiteral(
            "Either BOF or EOF is True, or the current record has been deleted. "
            "Requested operation requires a current record."));
    return rows_.at(position_).at(index);
}

} // namespace db
