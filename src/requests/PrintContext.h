#pragma once

#include "reports/Printing.h"

namespace app { struct SessionContext; }

namespace requests {

// What a printed request takes from the session: the hospital's name, the
// current user's report logon values, and the user's connection.
reports::PrintContext PrintContextOf(const app::SessionContext& session);

} // namespace requests
