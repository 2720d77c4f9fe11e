#include "db/Cursor.h"

namespace db {

int Cursor::ColumnIndex(const QString& name) const
{
    for (int i = 0; i < columns_.size(); ++i)
        if (columns_[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

int Cursor::Fetch(int count)
{
    int read = 0;
    while (read < count && !atEnd_) {
        if (!ReadRow()) {
            atEnd_ = true;
            break;
        }
        ++rowsRead_;
        ++read;
    }
    return read;
}

bool Cursor::Reach(int count)
{
    if (RowsRead() < count)
        Fetch(count - RowsRead());
    return RowsRead() >= count;
}

void Cursor::FetchAll()
{
    while (!atEnd_)
        Fetch(256);
}

} // namespace db
