#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace db {

// A stored-procedure call sent as plain text, such as
// "INVENTORY..sp_Inv_UserLocation 'ANNA'" or "Inventory..sp_Inv_KitofItems_PerItem K1,P2".
// Both translators read calls so: the embedded backend runs its own
// procedure of that name, PostgreSQL a function.
struct ProcedureCall {
    // The first part of a qualified name (INVENTORY in INVENTORY..sp_X, dbo
    // in dbo.sp_X); empty for a bare name.
    QString qualifier;
    QString name;            // without database and owner
    QStringList arguments;   // quoted arguments unquoted, bare ones as written
};

// The call when the statement is a stored-procedure call, else nothing.
// Throws DbError, in the server's words, for a call whose arguments a
// server would refuse.
std::optional<ProcedureCall> ParseProcedureCall(const QString& statement);

} // namespace db
