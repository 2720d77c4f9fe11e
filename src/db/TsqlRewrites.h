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

// The server's type names by kind.
bool IsIntType(const QString& type);
bool IsCharType(const QString& type);
bool IsRealType(const QString& type);

// A conversion call: Convert(type[(length)], value) or Cast(value as type).
struct Conversion {
    int close = 0;                 // its closing parenthesis
    QString type;                  // as written
    int lengthBegin = 0, lengthEnd = 0;  // the "(n)" after the type, when any
    int valueBegin = 0, valueEnd = 0;    // the value converted
};
// The conversion whose name is at `call`; nothing when it is malformed.
std::optional<Conversion> FindConversion(const Tokens& tokens, int call);

} // namespace db
