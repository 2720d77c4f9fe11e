#include "requests/PrintContext.h"

#include "app/CurrentUser.h"
#include "app/SessionContext.h"
#include "reports/ReportError.h"

namespace requests {

reports::PrintContext PrintContextOf(const app::SessionContext& session)
{
    const app::CurrentUser* user = session.currentUser;
    if (!user)
        throw reports::ReportError(QStringLiteral("No user is logged in, so no report can be printed."));
    reports::PrintContext context;
    context.hospitalCompany = session.HospitalCompany;
    context.serverName = user->ServerName();
    context.database = user->Database();
    context.serverPassword = user->ServerPassword();
    // Asked at the moment of use, like every other reader of the connection.
    context.connection = [&session]() -> db::Connection& {
        const app::CurrentUser* current = session.currentUser;
        if (!current)
            throw reports::ReportError(QStringLiteral("No user is logged in, so the report cannot read its data."));
        return current->sqlconnection();
    };
    return context;
}

} // namespace requests
