#include "db/Connection.h"

namespace db {

RowSet Connection::Execute(const QString& statement)
{
    if (observer_)
        observer_(statement);
    return DoExecute(statement);
}

std::unique_ptr<Cursor> Connection::OpenCursor(const QString& statement)
{
    if (observer_)
        observer_(statement);
    return DoOpenCursor(statement);
}

std::unique_ptr<Cursor> Connection::DoOpenCursor(const QString& statement)
{
    return std::make_unique<RowSetCursor>(DoExecute(statement));
}

TransactionGuard::~TransactionGuard()
{
    if (done_)
        return;
    try {
        connection_.Rollback();
    } catch (...) {
        // A failed rollback leaves nothing to undo here: the backend drops the
        // transaction with the failure that made us roll back.
    }
}

void TransactionGuard::Commit()
{
    connection_.Commit();
    done_ = true;
}

} // namespace db
