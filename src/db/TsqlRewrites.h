#pragma once

#include "db/TsqlTokenizer.h"

#include <optional>

namespace db {

// Rewrites of the program's T-SQL that every translated target needs alike.

// N'text' is a Unicode literal on the server; the targets' texts are Unicode
// anyway.
void DropUnicodePrefixes(Tokens& tokens);
// "Delete t Where" and "Insert t (...)" leave out FROM and INTO.
void AddMissingFromAndInto(Tokens& tokens);
// SELECT [DISTINCT] TOP n ... becomes SELECT [DISTINCT] ... LIMIT n, the
// limit placed at the end of the select that TOP belongs to.
void MoveTopToLimit(Tokens& tokens);

// How many tokens qualify the table name that follows them at `i`:
// 3 for db..t, 4 for db.owner.t, 2 for dbo.t; 0 when none starts there. The
// database, when named, is the token at `i`.
int QualifierLength(const Tokens& tokens, int i);

// The server's type names by kind.
bool IsIntType(const QString& type);
bool IsCharType(const QString& type);
bool IsRealType(const QString& type);

// How a target converts: int and varchar through functions of its own,
// real numbers by CAST to its type.
struct ConversionTarget {
    QString intFunction;
    QString varcharFunction;
    QString realType;
    QString defaultLength;  // the varchar length when the call gives none; empty: the function's own
};
// Replaces the conversion call whose name is at `call` (Convert(type[(n)],
// value) or Cast(value as type)) by the target's; a malformed call, or one
// to another type, stays as written.
void RewriteConversion(Tokens& tokens, int call, const ConversionTarget& target);

} // namespace db
