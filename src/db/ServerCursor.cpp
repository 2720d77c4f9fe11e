#include "db/ServerCursor.h"

#include "db/DbError.h"
#include "db/ServerConnection.h"

#include <algorithm>

namespace db {

namespace {

// Fetches grow fourfold from the first screenful up to this: a grid read to
// the end takes few round trips, a glance only the first.
constexpr int kLargestFetch = 2048;

} // namespace

ServerCursor::ServerCursor(ServerConnection& connection, QString name, RowSet first, int asked)
    : Cursor(first.Columns()), connection_(&connection), name_(std::move(name)), nextFetch_(asked)
{
    Take(first, asked);
}

ServerCursor::~ServerCursor()
{
    if (connection_)
        connection_->ReleaseCursor(*this);
}

void ServerCursor::Take(const RowSet& fetched, int asked)
{
    rows_ += fetched.Rows();
    if (asked == 0 || fetched.RecordCount() < asked)
        exhausted_ = true;
    nextFetch_ = std::min(nextFetch_ * 4, kLargestFetch);
}

bool ServerCursor::ReadRow()
{
    if (RowsRead() < rows_.size())
        return true;
    if (exhausted_)
        return false;
    if (failure_)
        throw DbError(*failure_);
    if (!connection_)
        throw DbError(QStringLiteral("The connection that opened this cursor is closed."));
    const int asked = nextFetch_;
    Take(connection_->FetchCursor(*this, asked), asked);
    if (exhausted_ && connection_)
        connection_->ReleaseCursor(*this);
    return RowsRead() < rows_.size();
}

} // namespace db
