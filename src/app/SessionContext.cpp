#include "app/SessionContext.h"

namespace app {

SessionContext& Session()
{
    static SessionContext session;
    return session;
}

} // namespace app
