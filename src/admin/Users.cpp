#include "admin/Users.h"

#include "admin/AdminError.h"
#include "cipher/CryptText.h"
#include "db/Quote.h"

namespace admin {

namespace {

// Users are written with the program's own statements, which every backend
// runs: translated on the embedded file and PostgreSQL, as written on SQL
// Server.
using db::QuoteOrNull;

bool Exists(db::Connection& connection, const QString& statement)
{
    return !connection.Execute(statement).IsEmpty();
}

bool UserExists(db::Connection& connection, const QString& id)
{
    return Exists(connection, "Select EmployeeID From Password..tbPasswordMain Where EmployeeID = " + db::Quote(id));
}

// No password is stored as none: NULL, which no enciphered password equals.
QString StoredPassword(const QString& password)
{
    const QString unstorable = UnstorablePassword(password);
    if (!unstorable.isEmpty())
        throw AdminError(unstorable.at(0).toUpper() + unstorable.mid(1) + QLatin1Char('.'));
    return QuoteOrNull(password.isEmpty() ? QString() : cipher::EncipherPassword(password));
}

void RequireKnownLocations(db::Connection& connection, const NewUser& user)
{
    for (const QString& location : user.locations)
        if (!Exists(connection, "Select LocationID From INVENTORY..tbInvLocation Where LocationID = " + db::Quote(location)))
            throw AdminError(QStringLiteral("Unknown location ID '%1'.").arg(location));
}

// The settings row and the locations of a user whose password row exists.
void InsertUserSettings(db::Connection& connection, const NewUser& user)
{
    if (user.issueTessary)
        connection.Execute("Insert INVENTORY..tbInvUserSettings (UserID, isVerifyTessary, isIssueTessary) Values ("
                           + db::Quote(user.id) + (user.verifyTessary.value_or(false) ? ", 1, 1)" : ", 0, 1)"));
    else if (user.verifyTessary)
        connection.Execute("Insert INVENTORY..tbInvUserSettings (UserID, isVerifyTessary) Values (" + db::Quote(user.id)
                           + (*user.verifyTessary ? ", 1)" : ", 0)"));
    for (const QString& location : user.locations) {
        const QString pair = db::Quote(user.id) + ", " + db::Quote(location);
        if (!Exists(connection, "Select UserID From INVENTORY..tbInvUserLocation Where UserID = " + db::Quote(user.id)
                                    + " and LocationID = " + db::Quote(location)))
            connection.Execute("Insert INVENTORY..tbInvUserLocation (UserID, LocationID) Values (" + pair + ")");
    }
}

} // namespace

QString UnstorablePassword(const QString& password)
{
    const QString lost = cipher::CharactersNotEnciphered(password);
    if (lost.isEmpty())
        return QString();
    QStringList named;
    for (const uint c : lost.toUcs4())
        named << QLatin1Char('"') + QString::fromUcs4(reinterpret_cast<const char32_t*>(&c), 1) + QLatin1Char('"');
    return QStringLiteral("password has characters that cannot be stored: %1; a password keeps Western European "
                          "letters, digits and signs only")
        .arg(named.join(QStringLiteral(", ")));
}

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
    RequireKnownLocations(connection, user);

    connection.Execute("Insert Password..tbPasswordMain (EmployeeID, Password, departmentid, Right_Code1, Right_Code2, "
                       "LastName, FirstName) Values ("
                       + QStringList{db::Quote(user.id), StoredPassword(user.password),
                                     db::Quote(user.department), QuoteOrNull(user.rightCode1), QuoteOrNull(user.rightCode2),
                                     db::Quote(user.lastName), db::Quote(user.firstName)}
                             .join(QStringLiteral(", "))
                       + ")");
    InsertUserSettings(connection, user);
}

void UpdateUser(db::Connection& connection, const NewUser& user)
{
    if (!UserExists(connection, user.id))
        throw AdminError(QStringLiteral("Unknown user ID '%1'.").arg(user.id));
    RequireKnownLocations(connection, user);
    connection.Execute("Update Password..tbPasswordMain Set departmentid = " + db::Quote(user.department)
                       + ", Right_Code1 = " + QuoteOrNull(user.rightCode1) + ", Right_Code2 = "
                       + QuoteOrNull(user.rightCode2) + ", LastName = " + db::Quote(user.lastName) + ", FirstName = "
                       + db::Quote(user.firstName)
                       + (user.password.isEmpty() ? QString() : ", Password = " + StoredPassword(user.password))
                       + " Where EmployeeID = " + db::Quote(user.id));
    connection.Execute("Delete From INVENTORY..tbInvUserSettings Where UserID = " + db::Quote(user.id));
    connection.Execute("Delete From INVENTORY..tbInvUserLocation Where UserID = " + db::Quote(user.id));
    InsertUserSettings(connection, user);
}

void AddUser(db::Connection& connection, const NewUser& user)
{
    db::TransactionGuard transaction(connection);
    InsertUser(connection, user);
    transaction.Commit();
}

void SetPassword(db::Connection& connection, const QString& id, const QString& password)
{
    if (password.isEmpty())
        throw AdminError(QStringLiteral("A password cannot be empty."));
    db::TransactionGuard transaction(connection);
    if (!UserExists(connection, id))
        throw AdminError(QStringLiteral("Unknown user ID '%1'.").arg(id));
    connection.Execute("Update Password..tbPasswordMain Set Password = " + StoredPassword(password)
                       + " Where EmployeeID = " + db::Quote(id));
    transaction.Commit();
}

} // namespace admin
