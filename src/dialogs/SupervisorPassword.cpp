#include "dialogs/SupervisorPassword.h"

#include "app/CurrentUser.h"
#include "app/PasswordThrottle.h"
#include "cipher/CryptText.h"
#include "db/Connection.h"
#include "db/DbError.h"
#include "db/Quote.h"
#include "forms/Prompts.h"

namespace dialogs {

bool GetPassword(db::Connection& connection, const QString& employeeId, const QString& password)
{
    // No empty password authorises, whatever is stored.
    if (password.isEmpty())
        return false;
    const db::RowSet rows = connection.Execute(
        QStringLiteral("Select EmployeeId, Password ") + QStringLiteral("from password..tbpasswordmain ")
        + QStringLiteral("where departmentid in ('4','00') ")
        + QStringLiteral("and Right_Code1 = 'A' and Right_Code2 = 'S' ") + QStringLiteral("and Employeeid = ")
        + db::Quote(employeeId) + QStringLiteral(" and Password = ")
        + db::Quote(cipher::EncipherPassword(password)));
    return rows.RecordCount() > 0;
}

SupervisorPassword::SupervisorPassword(db::Connection& connection, forms::Prompts& prompts,
                                       app::PasswordThrottle& wrongPasswords, QObject* parent)
    : forms::DialogLogic(parent), connection_(connection), prompts_(prompts), wrongPasswords_(wrongPasswords)
{
    txtPassword.SetMaxLength(app::kPasswordBoxLength);
    focus.Add({&txtUserID, &txtPassword, &cmdEnter});
    connect(&cmdEnter, &forms::Button::clicked, this, &SupervisorPassword::ClickEnter);
}

void SupervisorPassword::Activate()
{
    okCharge_ = false;
    verifyId_.clear();
    focus.Focus(&txtUserID);
}

void SupervisorPassword::EnterInUserID()
{
    focus.Focus(&txtPassword);
}

void SupervisorPassword::ClickEnter()
{
    if (checking_)
        return;
    const QString id = txtUserID.Text().trimmed();
    const QString password = txtPassword.Text().trimmed();
    // An empty password is refused unseen by the database: it owes no
    // wait and counts as no guess.
    if (!password.isEmpty()) {
        const bool wasOpen = IsOpen();
        checking_ = true;
        wrongPasswords_.AwaitTurn(id);
        checking_ = false;
        if (wasOpen && !IsOpen())
            return;  // closed while the check waited
    }
    bool accepted = false;
    bool disabled = false;
    try {
        accepted = GetPassword(connection_, id, password);
        disabled = accepted && app::IsUserDisabled(connection_, id);
    } catch (const db::DbError& e) {
        // The check could not be made: say why and let the user try again.
        prompts_.Tell(e.Description(), forms::Icon::Critical);
        return;
    } catch (const std::exception& e) {
        // The cipher refuses what it cannot encipher: the password is
        // wrong, and the dialog stays for another try.
        prompts_.Tell(QString::fromStdString(e.what()), forms::Icon::Critical);
        focus.Focus(&txtPassword);
        return;
    }
    // The right password of a user the site has disabled: no guess, and no
    // authority.
    if (disabled) {
        wrongPasswords_.Accepted(id);
        prompts_.Tell(app::DisabledUserNotice(id), forms::Icon::Information);
        focus.Focus(&txtUserID);
        return;
    }
    if (!accepted) {
        QString refusal = QStringLiteral("Password not valid!");
        if (!password.isEmpty()) {
            wrongPasswords_.Refused(id);
            const QString notice = wrongPasswords_.Notice(id);
            if (!notice.isEmpty())
                refusal += QLatin1Char(' ') + notice;
        }
        prompts_.Tell(refusal, forms::Icon::Information);
        focus.Focus(&txtPassword);
        return;
    }
    wrongPasswords_.Accepted(id);
    okCharge_ = true;
    verifyId_ = id;
    Close(forms::DialogResult::Accepted);
}

} // namespace dialogs
