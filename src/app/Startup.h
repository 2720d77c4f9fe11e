#pragma once

#include <functional>

namespace forms { class Prompts; }

namespace app {

class CurrentUser;
class KeySender;
struct SessionContext;

// Start-up in its fixed order: the user component, the shell object, the
// log-in department, the log-in, the hospital record, the two fixed values,
// then the request screen. Returns false when nobody logged in (the program
// then ends silently). Database errors reach the caller.
bool RunStartup(SessionContext& session, CurrentUser& user, KeySender& shell, forms::Prompts& prompts,
                const std::function<void()>& openRequestScreen);

} // namespace app
