#pragma once

#include "app/ConnectionSettings.h"
#include "app/PasswordThrottle.h"
#include "db/BackgroundReads.h"
#include "db/Connection.h"

#include <QString>
#include <memory>

namespace app {

class CurrentUser;

// The department whose users log in to this program, besides those of
// department "00" (the log-in's PasswordDeptCode).
inline const QString kProgramDepartment = QStringLiteral("4");

// The longest password the log-in window and the supervisor dialog take:
// the cipher refuses far longer texts, and no stored password is longer.
inline constexpr int kPasswordBoxLength = 50;

// The log-in dialog as the component sees it: it runs modally, lets the user
// try until CurrentUser::LogIn accepts or the user closes it, and reaches the
// connection settings. The widgets side provides the real one.
class LoginView {
public:
    virtual ~LoginView() = default;
    virtual void Run(CurrentUser& user) = 0;
};

// True when the site has disabled this user (tessary-admin user disable):
// such a user neither logs in nor authorises. A password database without
// the mark (a server site made before it) disables nobody. Database
// failures reach the caller.
bool IsUserDisabled(db::Connection& connection, const QString& employeeId);

// What a disabled user is told when the right password is given.
QString DisabledUserNotice(const QString& employeeId);

// The current-user component: logs the user in and owns the one database
// connection that every part of the program asks it for.
class CurrentUser {
public:
    // Disabled: the ID and password are right, but the site has disabled
    // the user.
    enum class LogInResult { Accepted, Refused, Unreachable, Disabled };

    explicit CurrentUser(LoginView* view = nullptr, ConnectionSettings settings = ConnectionSettings::Load());

    // The department whose users (besides department "00") may log in.
    QString PasswordDeptCode;

    // Runs the log-in dialog; afterwards Connected tells whether a user is in.
    void ShowMain();

    // Opens the connection (when not open yet) and admits the user when the
    // ID exists in the password database with the log-in department or
    // "00" and the enciphered password matches, unless the site has
    // disabled the user. On Unreachable, *error holds
    // why the database could not be reached. A try for an ID with several
    // wrong passwords in a row is answered only after WrongPasswords' delay.
    LogInResult LogIn(const QString& employeeId, const QString& password, QString* error = nullptr);

    bool Connected() const { return connected_; }
    db::Connection& sqlconnection() const;
    const QString& EmployeeCode() const { return employeeCode_; }
    // Report logon values.
    QString ServerName() const;
    QString Database() const;
    QString ServerPassword() const { return settings_.server.password; }

    const ConnectionSettings& Settings() const { return settings_; }
    // New settings take effect at the next log-in attempt; an open
    // connection is dropped.
    void SetSettings(const ConnectionSettings& settings);

    // Adopts an open connection (tests, and tools that log in by other means).
    void UseConnection(std::unique_ptr<db::Connection> connection);

    // Where searches typed into a box run, so that typing never waits for
    // the database: a connection of their own, opened with the same
    // settings at the first search, on a thread of its own. None before a
    // log-in, nor for a connection adopted by UseConnection: searches then
    // run on the connection itself.
    db::BackgroundReads* SearchReads();

    // The wrong passwords of this session's log-ins and supervisor checks.
    PasswordThrottle& WrongPasswords() { return wrongPasswords_; }

private:
    LoginView* view_;
    ConnectionSettings settings_;
    std::unique_ptr<db::Connection> connection_;
    std::unique_ptr<db::BackgroundReads> searchReads_;
    bool adopted_ = false;
    QString employeeCode_;
    bool connected_ = false;
    PasswordThrottle wrongPasswords_;
};

} // namespace app
