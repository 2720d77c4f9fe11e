#include "admin/Users.h"

#include "admin/AdminError.h"
#include "cipher/CryptText.h"
#include "db/Quote.h"

namespace admin {

namespace {

// Users are written with the program's own statements, which every backend
// runs: translated on the embedded file and PostgreSQL, as written on SQL
// Server.
QString TextOrNull(const QString& text)
{
    return text.isEmpty() ? QStringLiteral("null") : db::Quote(text);
}

bool Exists(db::Connection& connection, const QString& statement)
{
    return !connection.Execute(statement).IsEmpty();
}

bool UserExists(db::Connection& connection, const QString& id)
{
    return Exists(connection, "Select EmployeeID From Password..tbPasswordMain Where EmployeeID = " + db::Quote(id));
}

} // namespace

void NewUser::MakeVerifier()
{
    rightCode1 = QStringLiteral("A");
    rightCode2 = QStringLiteral("S");
    verifyTessary = true;
}

void InsertUser(db::Connection& connection, const NewUser& user)
{
    if (user.id.trimmed().isEmpty())
        throw AdminError(QStringLiteral("A user needs an ID."));
    if (UserExists(connection, user.id))
        throw AdminError(QStringLiteral("User ID '%1' exists already.").arg(user.id));
    for (const QString& location : user.locations)
        if (!Exists(connection, "Select LocationID From INVENTORY..tbInvLocation Where LocationID = " + db::Quote(location)))
            throw AdminError(QStringLiteral("Unknown location ID '%1'.").arg(location));

    connection.Execute("Insert Password..tbPasswordMain (EmployeeID, Password, departmentid, Right_Code1, Right_Code2, "
                       "LastName, FirstName) Values ("
                       + QStringList{db::Quote(user.id), db::Quote(cipher::EncipherPassword(user.password)),
                                     db::Quote(user.department), TextOrNull(user.rightCode1), TextOrNull(user.rightCode2),
                                     db::Quote(user.lastName), db::Quote(user.firstName)}
                             .join(QStringLiteral(", "))
                       + ")");
    if (user.verifyTessary)
        connection.Execute("Insert INVENTORY..tbInvUserSettings (UserID, isVerifyTessary) Values (" + db::Quote(user.id)
                           + (*user.verifyTessary ? ", 1)" : ", 0)"));
    for (const QString& location : user.locations) {
        const QString pair = db::Quote(user.id) + ", " + db::Quote(location);
        if (!Exists(connection, "Select UserID From INVENTORY..tbInvUserLocation Where UserID = " + db::Quote(user.id)
                                    + " and LocationID = " + db::Quote(location)))
            connection.Execute("Insert INVENTORY..tbInvUserLocation (UserID, LocationID) Values (" + pair + ")");
    }
}

void AddUser(db::Connection& connection, const NewUser& user)
{
    db::TransactionGuard transaction(connection);
    InsertUser(connection, user);
    transaction.Commit();
}

void SetPassword(db::Connection& connection, const QString& id, const QString& password)
{
    db::TransactionGuard transaction(connection);
    if (!UserExists(connection, id))
        throw AdminError(QStringLiteral("Unknown user ID '%1'.").arg(id));
    connection.Execute("Update Password..tbPasswordMain Set Password = " + db::Quote(cipher::EncipherPassword(password))
                       + " Where EmployeeID = " + db::Quote(id));
    transaction.Commit();
}

} // namespace admin
