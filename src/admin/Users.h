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

} // namespace admin
