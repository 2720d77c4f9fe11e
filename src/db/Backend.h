#pragma once

namespace db {

// What kind of database the program works on: its own embedded file, or a
// database server. How a server is reached (which driver) is the login's
// business (ServerLogin), not another backend.
enum class Backend { Embedded, SqlServer, PostgreSql };

} // namespace db
