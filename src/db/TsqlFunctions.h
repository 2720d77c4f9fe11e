#pragma once

#include <QString>

// The server's own semantics for the functions that translated statements
// call; TsqlFunctions.cpp registers them on SQLite handles.
namespace db::tsql {

// SQLite names of the registered functions.
inline constexpr char kIntFunction[] = "tsql_int";            // tsql_int(x)
inline constexpr char kIntKeyFunction[] = "tsql_int_key";     // tsql_int_key(x): see TsqlFunctions.cpp
inline constexpr char kVarcharFunction[] = "tsql_varchar";    // tsql_varchar(x, n)
inline constexpr char kPatIndexFunction[] = "tsql_patindex";  // tsql_patindex(pattern, text)
inline constexpr char kReplaceFunction[] = "tsql_replace";    // tsql_replace(text, find, with)

// LIKE-style matching of the whole text: % any run, _ one character, [abc],
// [a-z] and [^abc] classes; letters compare without regard to case.
bool PatternMatches(QStringView pattern, QStringView text);

// 1-based position of the first match of the pattern in the text, 0 when
// there is none. Without a leading % the pattern must match at the start.
int PatIndex(const QString& pattern, const QString& text);

} // namespace db::tsql
