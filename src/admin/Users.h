#pragma once

#include "db/Connection.h"

#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>

namespace admin {

// A user of the password database with the settings and locations this
// program reads for them.
struct NewUser {
    QString id;
    QString lastName;
    QString firstName;
    QString password;                       // plain; stored enciphered; empty: none, no log-in
    QString department = QStringLiteral("4");
    QString rightCode1;                     // empty: stored as NULL
    QString rightCode2;
    // The settings row's verify right; no settings row when unset.
    std::optional<bool> verifyTessary = false;
    // The store's right to issue verified requests from its locations.
    bool issueTessary = false;
    QStringList locations;

    // The rights of a supervisor: may authorise requests and sees
    // Verify/Save.
    void MakeVerifier();
};


// Why a password cannot be stored as typed: the cipher of stored passwords
// keeps Western European characters only and would store any other as "?",
// so that "päss-пароль" would be the password "päss-??????". The reason
// names those characters ("password has characters that cannot be stored:
// ..."); empty when the password can be stored.
QString UnstorablePassword(const QString& password);

// Adds the user in one transaction. Throws AdminError for an ID that exists
// (compared without case, as the server does), an unknown location or a
// password that cannot be stored.
void AddUser(db::Connection& connection, const NewUser& user);
// The same rows, inside a transaction the caller holds.
void InsertUser(db::Connection& connection, const NewUser& user);

// Gives an existing user these names, rights, settings and locations (the
// password only when one is given), inside the caller's transaction.
// Throws AdminError for an unknown ID or location.
void UpdateUser(db::Connection& connection, const NewUser& user);

// Stores a new password; throws AdminError for an unknown ID, an empty
// password or one that cannot be stored.
void SetPassword(db::Connection& connection, const QString& id, const QString& password);

// A user as the program sees them: who, which department, whether they may
// log in (and why not), authorise, see Verify/Save and issue, and the
// locations they request for.
struct UserListing {
    QString id;
    QString lastName;
    QString firstName;
    QString department;
    bool hasPassword = false;
    bool disabled = false;
    bool authorises = false;   // the supervisor's rights, in a department that logs in
    bool verifyButton = false; // sees Verify/Save (also without a settings row)
    bool issues = false;
    QStringList locations;

    // Why the log-in refuses the user even with the right password; empty
    // when it lets them in.
    QString NoLogIn() const;
};

// Every user, by ID.
QVector<UserListing> ListUsers(db::Connection& connection);
// The users as a table for the operator.
QString DescribeUsers(const QVector<UserListing>& users);

// Disables a user (no log-in, no authorising) or enables them again.
// Throws AdminError for an unknown ID, or a password table without the mark
// (a server site made before it: tessary-admin upgrade adds it).
void SetUserDisabled(db::Connection& connection, const QString& id, bool disabled);
// Gives a user the right to verify requests (Verify/Save, and authorising
// as supervisor) or takes it away, in one transaction. Throws AdminError for
// an unknown ID.
void SetVerifyRight(db::Connection& connection, const QString& id, bool verifies);

} // namespace admin
