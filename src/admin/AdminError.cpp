#include "admin/AdminError.h"

#include "db/DbError.h"

namespace admin {

int RunReportingFailure(const std::function<void()>& command, QTextStream& err)
{
    try {
        command();
        return 0;
    } catch (const db::DbError& e) {
        err << e.Description() << Qt::endl;
    } catch (const AdminError& e) {
        err << e.Message() << Qt::endl;
    } catch (const std::exception& e) {
        err << QString::fromStdString(e.what()) << Qt::endl;
    }
    return 1;
}

} // namespace admin
