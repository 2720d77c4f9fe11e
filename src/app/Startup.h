#pragma once

#include <functional>

namespace forms { class Prompts; }

namespace app {

class CurrentUser;
struct SessionContext;

// Start-up in its fixed order: the user component, the log-in department,
// the log-in, the hospital record (saying so when there is none), the two
// fixed values, then the request screen. Returns false when nobody logged
// in (the program then ends silently). Database errors reach the caller.
bool RunStartup(SessionContext& session, CurrentUser& user, forms::Prompts& prompts,
                const std::function<void()>& openRequestScreen);

} // namespace app
