#pragma once

#include "db/Cursor.h"

#include <optional>

namespace db {

class ServerConnection;

// The rows of a cursor declared on the server (ServerConnection::
// OpenCursor), fetched as they are wanted: a screenful first, then larger
// batches as the grid scrolls on. Rows once fetched are kept. The
// connection reads the rest at once when it must run another statement,
// and a cursor outliving its connection reads no further rows.
class ServerCursor final : public Cursor {
public:
    // `first`: the rows of the first fetch, which asked for `asked` rows.
    ServerCursor(ServerConnection& connection, QString name, RowSet first, int asked);
    ~ServerCursor() override;

    QVariant Value(int row, int column) const override { return rows_.at(row).value(column); }

    // The first fetch: the grid's first screenful.
    static constexpr int kFirstFetch = 32;

protected:
    bool ReadRow() override;

private:
    friend class ServerConnection;

    // Keeps the fetched rows; fewer than `asked` (0: all that were left) is
    // the end of the result.
    void Take(const RowSet& fetched, int asked);

    ServerConnection* connection_;
    QString name_;
    QVector<RowSet::Row> rows_;
    int nextFetch_;
    // The server has no more rows to give.
    bool exhausted_ = false;
    // Why no more rows can be fetched.
    std::optional<QString> failure_;
};

} // namespace db
