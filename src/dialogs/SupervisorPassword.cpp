#include "dialogs/SupervisorPassword.h"

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

SupervisorPassword::SupervisorPassword(db::Connection& connection, forms::Prompts& prompts, QObject* parent)
    : forms::DialogLogic(parent), connection_(connection), prompts_(prompts)
{
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
    const QString id = txtUserID.Text().trimmed();
    bool accepted = false;
    try {
        accepted = GetPassword(connection_, id, txtPassword.Text().trimmed());
    } catch (const db::DbError& e) {
        // The check could not be made: say why and let the user try again.
        prompts_.Tell(e.Description(), forms::Icon::Critical);
        return;
    }
    if (!accepted) {
        prompts_.Tell(QStringLiteral("Password not valid!"), forms::Icon::Information);
        focus.Focus(&txtPassword);
        return;
    }
    okCharge_ = true;
    verifyId_ = id;
    Close(forms::DialogResult::Accepted);
}

} // namespace dialogs
