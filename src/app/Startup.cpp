#include "app/Startup.h"

#include "app/CurrentUser.h"
#include "app/HospitalInfo.h"
#include "app/SessionContext.h"

namespace app {

bool RunStartup(SessionContext& session, CurrentUser& user, KeySender& shell, forms::Prompts& prompts,
                const std::function<void()>& openRequestScreen)
{
    session.currentUser = &user;
    session.ShellObject = &shell;
    user.PasswordDeptCode = QStringLiteral("4");
    user.ShowMain();
    if (!user.Connected())
        return false;
    LoadHospitalInfo(session, user.sqlconnection(), prompts);
    session.DefaultLocationID = QStringLiteral("94");
    session.RightCode = QStringLiteral("A");
    openRequestScreen();
    return true;
}

} // namespace app
