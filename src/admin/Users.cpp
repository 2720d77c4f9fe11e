#include "admin/Users.h"

#include "admin/AdminError.h"
#include "app/CurrentUser.h"
#include "base/Errors.h"
#include "cipher/CryptText.h"
#include "db/Quote.h"

#include <QHash>
#include <algorithm>

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

namespace {

// A column of one row, NULL when the row or the table has no such column.
QVariant ColumnOf(const db::RowSet& rows, int row, const char* column)
{
    const int index = rows.ColumnIndex(QLatin1String(column));
    return index < 0 ? QVariant() : rows.RowAt(row).value(index);
}

bool IsOn(const QVariant& flag)
{
    return base::NullToDefault(flag, false).toBool();
}

bool SameCode(const QVariant& value, const char* code)
{
    return value.toString().trimmed().compare(QLatin1String(code), Qt::CaseInsensitive) == 0;
}

// The ID as the password table stores it; throws AdminError for none.
QString StoredUserId(db::Connection& connection, const QString& id)
{
    const db::RowSet rows =
        connection.Execute("Select EmployeeID From Password..tbPasswordMain Where EmployeeID = " + db::Quote(id));
    if (rows.IsEmpty())
        throw AdminError(QStringLiteral("Unknown user ID '%1'.").arg(id));
    return rows.RowAt(0).value(0).toString();
}

// Location IDs in the order of their numbers.
bool NumberOrder(const QString& a, const QString& b)
{
    return a.size() != b.size() ? a.size() < b.size() : a < b;
}

} // namespace

QString UserListing::NoLogIn() const
{
    if (disabled)
        return QStringLiteral("disabled");
    if (!hasPassword)
        return QStringLiteral("no password");
    const QString dept = department.trimmed();
    if (dept != app::kProgramDepartment && dept != QLatin1String("00"))
        return QStringLiteral("department %1").arg(dept.isEmpty() ? QStringLiteral("none") : dept);
    return {};
}

QVector<UserListing> ListUsers(db::Connection& connection)
{
    const db::RowSet users = connection.Execute(QStringLiteral("Select * From Password..tbPasswordMain Order By EmployeeID"));
    const db::RowSet settings = connection.Execute(QStringLiteral("Select * From INVENTORY..tbInvUserSettings"));
    QHash<QString, int> settingsRow;
    for (int i = 0; i < settings.RecordCount(); ++i)
        settingsRow.insert(ColumnOf(settings, i, "UserID").toString().trimmed().toUpper(), i);
    QHash<QString, QStringList> locations;
    const db::RowSet assigned = connection.Execute(QStringLiteral("Select UserID, LocationID From INVENTORY..tbInvUserLocation"));
    for (const db::RowSet::Row& row : assigned.Rows())
        locations[row.value(0).toString().trimmed().toUpper()] << row.value(1).toString().trimmed();

    QVector<UserListing> listed;
    for (int i = 0; i < users.RecordCount(); ++i) {
        UserListing user;
        user.id = ColumnOf(users, i, "EmployeeID").toString().trimmed();
        user.lastName = ColumnOf(users, i, "LastName").toString().trimmed();
        user.firstName = ColumnOf(users, i, "FirstName").toString().trimmed();
        user.department = ColumnOf(users, i, "departmentid").toString().trimmed();
        user.hasPassword = !ColumnOf(users, i, "Password").toString().isEmpty();
        user.disabled = IsOn(ColumnOf(users, i, "isDisabledTessary"));
        user.authorises = user.NoLogIn().isEmpty() && SameCode(ColumnOf(users, i, "Right_Code1"), "A")
                          && SameCode(ColumnOf(users, i, "Right_Code2"), "S");
        const QString key = user.id.toUpper();
        const auto row = settingsRow.constFind(key);
        // Without a settings row the request screen shows Verify/Save.
        user.verifyButton = row == settingsRow.cend() || IsOn(ColumnOf(settings, *row, "isVerifyTessary"));
        user.issues = row != settingsRow.cend() && IsOn(ColumnOf(settings, *row, "isIssueTessary"));
        user.locations = locations.value(key);
        std::sort(user.locations.begin(), user.locations.end(), NumberOrder);
        listed << user;
    }
    return listed;
}

QString DescribeUsers(const QVector<UserListing>& users)
{
    if (users.isEmpty())
        return QStringLiteral("No users: add them with \"tessary-admin user add\" or the users import.\n");
    const auto yesNo = [](bool yes) { return yes ? QStringLiteral("yes") : QStringLiteral("no"); };
    QVector<QStringList> table{{"ID", "NAME", "DEPT", "LOG-IN", "AUTHORISES", "VERIFY/SAVE", "ISSUES", "LOCATIONS"}};
    for (const UserListing& user : users) {
        const QString noLogIn = user.NoLogIn();
        table << QStringList{user.id,
                             user.lastName + (user.firstName.isEmpty() ? QString() : QStringLiteral(", ") + user.firstName),
                             user.department,
                             noLogIn.isEmpty() ? QStringLiteral("yes") : QStringLiteral("no: ") + noLogIn,
                             yesNo(user.authorises),
                             yesNo(user.verifyButton),
                             yesNo(user.issues),
                             user.locations.join(QLatin1Char(' '))};
    }
    QVector<qsizetype> widths(table.first().size(), 0);
    for (const QStringList& row : table)
        for (qsizetype c = 0; c < row.size(); ++c)
            widths[c] = std::max(widths[c], row[c].size());
    QString text;
    for (const QStringList& row : table) {
        QString line;
        for (qsizetype c = 0; c < row.size(); ++c)
            line += c + 1 < row.size() ? row[c].leftJustified(widths[c] + 2) : row[c];
        text += line.trimmed() + QLatin1Char('\n');
    }
    text += QStringLiteral("Only users of department %1 or 00 log in; authorising as supervisor also takes the "
                           "rights A and S (user verify).\n")
                .arg(app::kProgramDepartment);
    return text;
}

void SetUserDisabled(db::Connection& connection, const QString& id, bool disabled)
{
    db::TransactionGuard transaction(connection);
    const db::RowSet user =
        connection.Execute("Select * From Password..tbPasswordMain Where EmployeeID = " + db::Quote(id));
    if (user.IsEmpty())
        throw AdminError(QStringLiteral("Unknown user ID '%1'.").arg(id));
    if (!user.HasColumn(QStringLiteral("isDisabledTessary")))
        throw AdminError(QStringLiteral(
            "The password table of this database has no column isDisabledTessary, which marks a disabled user: "
            "\"tessary-admin upgrade\" adds it on PostgreSQL; on SQL Server add it (bit) with the server's tools."));
    connection.Execute(QStringLiteral("Update Password..tbPasswordMain Set isDisabledTessary = %1 Where EmployeeID = ")
                           .arg(disabled ? 1 : 0)
                       + db::Quote(id));
    transaction.Commit();
}

void SetVerifyRight(db::Connection& connection, const QString& id, bool verifies)
{
    db::TransactionGuard transaction(connection);
    const QString stored = StoredUserId(connection, id);
    connection.Execute(
        (verifies ? QStringLiteral("Update Password..tbPasswordMain Set Right_Code1 = 'A', Right_Code2 = 'S'")
                  : QStringLiteral("Update Password..tbPasswordMain Set Right_Code1 = Null, Right_Code2 = Null"))
        + " Where EmployeeID = " + db::Quote(stored));
    const QString flag = verifies ? QStringLiteral("1") : QStringLiteral("0");
    if (Exists(connection, "Select UserID From INVENTORY..tbInvUserSettings Where UserID = " + db::Quote(stored)))
        connection.Execute("Update INVENTORY..tbInvUserSettings Set isVerifyTessary = " + flag + " Where UserID = "
                           + db::Quote(stored));
    else
        connection.Execute("Insert INVENTORY..tbInvUserSettings (UserID, isVerifyTessary) Values (" + db::Quote(stored)
                           + ", " + flag + ")");
    transaction.Commit();
}

} // namespace admin
