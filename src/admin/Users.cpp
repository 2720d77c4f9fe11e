#include "admin/Users.h"

#include "admin/AdminError.h"
#include "cipher/CryptText.h"

namespace admin {

namespace {

QVariant TextOrNull(const QString& text)
{
    return text.isEmpty() ? QVariant() : QVariant(text);
}

bool Exists(db::SqliteConnection& connection, const QString& sql, const QString& key)
{
    return !connection.ExecuteNative(sql, {key}).IsEmpty();
}

bool UserExists(db::SqliteConnection& connection, const QString& id)
{
    return Exists(connection, QStringLiteral("SELECT 1 FROM tbPasswordMain WHERE EmployeeID = ?"), id);
}

} // namespace

void NewUser::MakeVerifier()
{
    rightCode1 = QStringLiteral("A");
    rightCode2 = QStringLiteral("S");
    verifyTessary = true;
}

void InsertUser(db::SqliteConnection& connection, const NewUser& user)
{
    if (user.id.trimmed().isEmpty())
        throw AdminError(QStringLiteral("A user needs an ID."));
    if (UserExists(connection, user.id))
        throw AdminError(QStringLiteral("User ID '%1' exists already.").arg(user.id));
    for (const QString& location : user.locations)
        if (!Exists(connection, QStringLiteral("SELECT 1 FROM tbInvLocation WHERE LocationID = ?"), location))
            throw AdminError(QStringLiteral("Unknown location ID '%1'.").arg(location));

    connection.ExecuteNative(
        QStringLiteral("INSERT INTO tbPasswordMain (EmployeeID, Password, departmentid, Right_Code1, Right_Code2, "
                       "LastName, FirstName) VALUES (?, ?, ?, ?, ?, ?, ?)"),
        {user.id, cipher::EncipherPassword(user.password), user.department, TextOrNull(user.rightCode1),
         TextOrNull(user.rightCode2), user.lastName, user.firstName});
    if (user.verifyTessary)
        connection.ExecuteNative(QStringLiteral("INSERT INTO tbInvUserSettings (UserID, isVerifyTessary) VALUES (?, ?)"),
                                 {user.id, *user.verifyTessary ? 1 : 0});
    for (const QString& location : user.locations)
        connection.ExecuteNative(
            QStringLiteral("INSERT OR IGNORE INTO tbInvUserLocation (UserID, LocationID) VALUES (?, ?)"),
            {user.id, location});
}

void AddUser(db::SqliteConnection& connection, const NewUser& user)
{
    db::TransactionGuard transaction(connection);
    InsertUser(connection, user);
    transaction.Commit();
}

void SetPassword(db::SqliteConnection& connection, const QString& id, const QString& password)
{
    db::TransactionGuard transaction(connection);
    if (!UserExists(connection, id))
        throw AdminError(QStringLiteral("Unknown user ID '%1'.").arg(id));
    connection.ExecuteNative(QStringLiteral("UPDATE tbPasswordMain SET Password = ? WHERE EmployeeID = ?"),
                             {cipher::EncipherPassword(password), id});
    transaction.Commit();
}

} // namespace admin
