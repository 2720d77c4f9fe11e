#include "app/CurrentUser.h"

#include "base/Errors.h"
#include "cipher/CryptText.h"
#include "db/DbError.h"
#include "db/Quote.h"

namespace app {

bool IsUserDisabled(db::Connection& connection, const QString& employeeId)
{
    const db::RowSet rows =
        connection.Execute("Select * From Password..tbPasswordMain Where EmployeeID = " + db::Quote(employeeId));
    const QString disabled = QStringLiteral("isDisabledTessary");
    return !rows.IsEmpty() && rows.HasColumn(disabled)
           && base::NullToDefault(rows.Field(disabled), false).toBool();
}

QString DisabledUserNotice(const QString& employeeId)
{
    return QStringLiteral("User ID %1 is disabled: ask the site's administrator to enable it.").arg(employeeId);
}

CurrentUser::CurrentUser(LoginView* view, ConnectionSettings settings)
    : view_(view), settings_(std::move(settings)) {}

void CurrentUser::ShowMain()
{
    connected_ = false;
    if (view_)
        view_->Run(*this);
}

CurrentUser::LogInResult CurrentUser::LogIn(const QString& employeeId, const QString& password, QString* error)
{
    connected_ = false;
    try {
        if (!connection_)
            connection_ = settings_.Open();
        // A user without a password has none that works: not even an
        // empty one.
        if (password.isEmpty())
            return LogInResult::Refused;
        wrongPasswords_.AwaitTurn(employeeId);
        const QString enciphered = cipher::EncipherPassword(password);
        const db::RowSet rows = connection_->Execute(
            "Select EmployeeID From Password..tbPasswordMain Where EmployeeID = " + db::Quote(employeeId)
            + " and departmentid in (" + db::Quote(PasswordDeptCode) + ",'00') and Password = "
            + db::Quote(enciphered));
        if (rows.IsEmpty()) {
            wrongPasswords_.Refused(employeeId);
            return LogInResult::Refused;
        }
        // The password was right: no guess to count, whatever follows.
        wrongPasswords_.Accepted(employeeId);
        if (IsUserDisabled(*connection_, employeeId))
            return LogInResult::Disabled;
        employeeCode_ = rows.Field(QStringLiteral("EmployeeID")).toString();
        connected_ = true;
        return LogInResult::Accepted;
    } catch (const db::DbError& e) {
        searchReads_.reset();
        connection_.reset();
        if (error)
            *error = e.Description();
        return LogInResult::Unreachable;
    } catch (const std::exception& e) {
        // The cipher refuses passwords too long to encipher.
        if (error)
            *error = QString::fromStdString(e.what());
        return LogInResult::Refused;
    }
}

db::Connection& CurrentUser::sqlconnection() const
{
    if (!connection_)
        throw db::DbError(QStringLiteral("No database connection is open."));
    return *connection_;
}

QString CurrentUser::ServerName() const
{
    return settings_.backend == ConnectionSettings::Backend::Embedded ? settings_.databasePath
                                                                      : settings_.server.host;
}

QString CurrentUser::Database() const
{
    return connection_ ? connection_->DatabaseName() : settings_.server.database;
}

void CurrentUser::SetSettings(const ConnectionSettings& settings)
{
    settings_ = settings;
    searchReads_.reset();
    connection_.reset();
    adopted_ = false;
    connected_ = false;
}

void CurrentUser::UseConnection(std::unique_ptr<db::Connection> connection)
{
    searchReads_.reset();
    connection_ = std::move(connection);
    adopted_ = true;
}

db::BackgroundReads* CurrentUser::SearchReads()
{
    if (!connected_ || adopted_)
        return nullptr;
    if (!searchReads_)
        searchReads_ = std::make_unique<db::BackgroundReads>([settings = settings_] { return settings.Open(); });
    return searchReads_.get();
}

} // namespace app
