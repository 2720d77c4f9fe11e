#pragma once

#include "admin/Databases.h"
#include "app/ConnectionSettings.h"

#include <QString>

namespace admin {

// Points the program on this computer at a site database (a file or a
// server URL): in the settings of the user who runs the command, or in the
// computer's settings, which every user without settings of their own
// follows. The database is opened first as the program would find it (a
// file only read): one that does not open, a file on a network share, or a
// server database that holds no site is refused, and nothing is written.
// No password is written. Returns the operator's lines on what was done.
QString ConnectProgram(const QString& target, app::ConnectionSettings::Scope scope,
                       const PasswordPrompt& prompt = {});

// What the program opens for the user who runs the command and which
// settings file says so, and what the computer's settings file holds.
QString DescribeConnection();

// The kind of network file system `path` lies on ("nfs", "cifs", ...);
// empty for a local disk.
QString NetworkFileSystem(const QString& path);

} // namespace admin
