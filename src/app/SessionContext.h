#pragma once

#include <QString>

namespace app {

class CurrentUser;

// What the original did with a shell object's "send a Tab keystroke": move
// the focus to the next field. The widgets side provides the real one.
class KeySender {
public:
    virtual ~KeySender() = default;
    virtual void SendTab() = 0;
};

// The two locations of the request being edited, as the request screen's
// pickers hold them (their tags: the chosen location IDs). The product
// search limited to a location reads them.
class OpenRequestLocations {
public:
    virtual ~OpenRequestLocations() = default;
    virtual QString RequestToLocationID() const = 0;
    virtual QString DepartmentFromLocationID() const = 0;
};

// The process-wide record of the session: the current-user component, the
// hospital record's values and the two fixed values. Start-up, the hospital
// load and the lookup dialogs write it; everything else reads it.
struct SessionContext {
    CurrentUser* currentUser = nullptr;
    QString HospitalCompany;
    QString HospitalAddress;
    QString ServerDate;
    QString ClientCode;
    QString DefaultLocationID;
    bool RefuseZeroOnHand = false;
    QString SelectedLookupCode;
    QString RightCode;
    bool TypedRequestNumber = false;
    KeySender* ShellObject = nullptr;
    // The request screen while it exists; none before it opens.
    const OpenRequestLocations* OpenRequest = nullptr;
};

// The one session of the process.
SessionContext& Session();

} // namespace app
