#pragma once

namespace app { struct SessionContext; }
namespace forms { class DialogHost; class Prompts; }

namespace records {

// What a record object reaches besides its own connection: the session (the
// current user's connection, the code picked in the last lookup), the
// message boxes it shows on some failures and the host of the lookup
// dialogs its search operations open. Sub-records get the same services.
struct RecordServices {
    app::SessionContext& session;
    forms::Prompts& prompts;
    forms::DialogHost& dialogs;
};

} // namespace records
