#pragma once

#include "db/Connection.h"

#include <QString>
#include <QStringList>
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
    QStringList locations;

    // The rights of a supervisor: may authorise requests and sees
    // Verify/Save.
    void MakeVerifier();
};


// Adds the user in one transaction. Throws AdminError for an ID that exists
// (compared without case, as the server does) or an unknown location.
void AddUser(db::Connection& connection, const NewUser& user);
// The same rows, inside a transaction the caller holds.
void InsertUser(db::Connection& connection, const NewUser& user);

// Gives an existing user these names, rights, settings and locations (the
// password only when one is given), inside the caller's transaction.
// Throws AdminError for an unknown ID or location.
void UpdateUser(db::Connection& connection, const NewUser& user);

// Stores a new password; throws AdminError for an unknown ID or an empty
// password.
void SetPassword(db::Connection& connection, const QString& id, const QString& password);

} // namespace admin
