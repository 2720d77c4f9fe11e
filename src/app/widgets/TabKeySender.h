#pragma once

#include "app/SessionContext.h"

namespace app {

// Sends one Tab keystroke to the focused widget, which moves the focus to
// the next field as a typed Tab would.
class TabKeySender : public KeySender {
public:
    void SendTab() override;
};

} // namespace app
