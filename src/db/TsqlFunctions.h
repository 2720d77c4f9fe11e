#pragma once

#include <QChar>
#include <QString>

struct sqlite3;

// The server's own semantics for the functions that translated statements
// call; TsqlFunctions.cpp registers them on SQLite handles.
namespace db::tsql {

// SQLite names of the registered functions.
inline constexpr char kIntFunction[] = "tsql_int";            // tsql_int(x)
inline constexpr char kIntKeyFunction[] = "tsql_int_key";     // tsql_int_key(x): see TsqlFunctions.cpp
inline constexpr char kVarcharFunction[] = "tsql_varchar";    // tsql_varchar(x, n)
inline constexpr char kPatIndexFunction[] = "tsql_patindex";  // tsql_patindex(pattern, text)
inline constexpr char kReplaceFunction[] = "tsql_replace";    // tsql_replace(text, find, with)
// The bounds of the range of texts that every match of a LIKE pattern lies
// in, by the pattern's fixed start: tsql_like_low(pattern) <= text <
// tsql_like_high(pattern) under kTextCollation (a start of nothing bounds
// nothing: '' and a value above every text).
inline constexpr char kLikeLowFunction[] = "tsql_like_low";
inline constexpr char kLikeHighFunction[] = "tsql_like_high";
// tsql_like_exact(pattern): 1 when the pattern matches every text of that
// range (a fixed start and one % after it), so that the LIKE itself need not
// be tried on them.
inline constexpr char kLikeExactFunction[] = "tsql_like_exact";
// How text columns compare (their declared collation): as on the server,
// without regard to case (see FoldCase) or trailing blanks. Texts order by
// their letters' code points once folded.
inline constexpr char kTextCollation[] = "TSQL_CI";

// A character as texts compare without regard to case: its lower case, as
// the server lowers letters for such a comparison. Every letter folds, not
// only ASCII ones ('Ñ' is 'ñ', 'É' is 'é'); accents stay ('é' is no 'e').
inline char32_t FoldCase(char32_t c)
{
    if (c < 0x80)
        return c >= U'A' && c <= U'Z' ? c + (U'a' - U'A') : c;
    return QChar::toLower(c);
}

// LIKE-style matching of the whole text: % any run, _ one character, [abc],
// [a-z] and [^abc] classes; letters compare without regard to case.
bool PatternMatches(QStringView pattern, QStringView text);

// 1-based position of the first match of the pattern in the text, 0 when
// there is none. Without a leading % the pattern must match at the start.
int PatIndex(const QString& pattern, const QString& text);

} // namespace db::tsql

namespace db {

// Registers on an open SQLite handle the functions that translated
// statements call (strict integer conversion, PATINDEX, LIKE and the like)
// and the collation of the text columns (tsql::kTextCollation). Every
// handle on a database file needs them: without them SQLite refuses to
// compare, sort or store its texts.
void RegisterSqliteFunctions(sqlite3* handle);

} // namespace db
