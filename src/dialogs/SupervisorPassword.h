#pragma once

#include "forms/Button.h"
#include "forms/Dialogs.h"
#include "forms/FocusChain.h"
#include "forms/TextField.h"

namespace app { class PasswordThrottle; }
namespace db { class Connection; }
namespace forms { class Prompts; }

namespace dialogs {

// True when an authorising user has this ID and password: department '4'
// or '00', right codes 'A' and 'S', and the stored password equal to the
// typed one enciphered. Database failures reach the caller.
bool GetPassword(db::Connection& connection, const QString& employeeId, const QString& password);

// The supervisor authorisation dialog (frmDeletePassword, caption
// "Password"): a user ID and a masked password, checked on Enter. After it
// closes, OKCharge tells whether an authorising user was accepted and
// VerifyID is that user's trimmed ID. Wrong passwords count in the
// session's throttle, which slows down the checks of an ID guessed at.
class SupervisorPassword : public forms::DialogLogic {
    Q_OBJECT
public:
    SupervisorPassword(db::Connection& connection, forms::Prompts& prompts, app::PasswordThrottle& wrongPasswords,
                       QObject* parent = nullptr);

    forms::TextField txtUserID;
    forms::TextField txtPassword;
    forms::Button cmdEnter{QStringLiteral("&Enter")};
    forms::FocusChain focus;

    bool OKCharge() const { return okCharge_; }
    const QString& VerifyID() const { return verifyId_; }

    // Each showing starts afresh: nothing accepted, the focus on the ID.
    void Activate();
    void EnterInUserID();
    void EnterInPassword() { ClickEnter(); }
    void Escape() { Close(forms::DialogResult::Rejected); }
    void ClickEnter();

private:
    db::Connection& connection_;
    forms::Prompts& prompts_;
    app::PasswordThrottle& wrongPasswords_;
    bool checking_ = false;
    bool okCharge_ = false;
    QString verifyId_;
};

} // namespace dialogs
