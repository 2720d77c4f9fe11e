#pragma once

#include <QString>

namespace app {

class CurrentUser;

// The record of the session: the current-user component, the hospital
// record's values and the two fixed values. The program keeps one; start-up
// and the hospital load write it, everything else reads it.
struct SessionContext {
    CurrentUser* currentUser = nullptr;
    QString HospitalCompany;
    QString HospitalAddress;
    QString ServerDate;
    QString ClientCode;
    QString DefaultLocationID;
    bool RefuseZeroOnHand = false;
    QString RightCode;
    bool TypedRequestNumber = false;
};

} // namespace app
