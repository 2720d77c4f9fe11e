#include "app/Startup.h"

#include "app/CurrentUser.h"
#include "app/HospitalInfo.h"
#include "app/SessionContext.h"
#include "forms/Prompts.h"

namespace app {

bool RunStartup(SessionContext& session, CurrentUser& user, forms::Prompts& prompts,
                const std::function<void()>& openRequestScreen)
{
    session.currentUser = &user;
    user.PasswordDeptCode = kProgramDepartment;
    user.ShowMain();
    if (!user.Connected())
        return false;
    if (!LoadHospitalInfo(session, user.sqlconnection()))
        prompts.Tell(QStringLiteral("No Hospital information was found"), forms::Icon::Information,
                     QStringLiteral("MESSAGE"));
    session.DefaultLocationID = QStringLiteral("94");
    session.RightCode = QStringLiteral("A");
    openRequestScreen();
    return true;
}

} // namespace app
