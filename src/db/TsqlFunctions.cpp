#include "db/TsqlFunctions.h"

#include "db/TsqlTranslator.h"

#include <QByteArray>
#include <algorithm>
#include <cmath>
#include <optional>
#include <limits>
#include <sqlite3.h>

namespace db::tsql {

namespace {

bool SameLetter(QChar a, QChar b) { return a == b || a.toCaseFolded() == b.toCaseFolded(); }

// Matches one [..] class at the start of `pattern` against `c`; returns the
// class length, or 0 when the bracket is not closed (then it is a literal).
int MatchClass(QStringView pattern, QChar c, bool& matched)
{
    int i = 1;
    bool negate = false;
    if (i < pattern.size() && pattern[i] == QLatin1Char('^')) {
        negate = true;
        ++i;
    }
    bool hit = false;
    const int first = i;
    while (i < pattern.size() && (pattern[i] != QLatin1Char(']') || i == first)) {
        if (i + 2 < pattern.size() && pattern[i + 1] == QLatin1Char('-') && pattern[i + 2] != QLatin1Char(']')) {
            const QChar low = pattern[i].toCaseFolded();
            const QChar high = pattern[i + 2].toCaseFolded();
            const QChar folded = c.toCaseFolded();
            hit = hit || (folded >= low && folded <= high);
            i += 3;
        } else {
            hit = hit || SameLetter(pattern[i], c);
            ++i;
        }
    }
    if (i >= pattern.size())
        return 0;
    matched = hit != negate;
    return i + 1;
}

QString ArgText(sqlite3_value* value)
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(value));
    return QString::fromUtf8(text, sqlite3_value_bytes(value));
}

void ResultText(sqlite3_context* context, const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    sqlite3_result_text(context, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

void ResultError(sqlite3_context* context, const QString& message)
{
    const QByteArray utf8 = message.toUtf8();
    sqlite3_result_error(context, utf8.constData(), int(utf8.size()));
}

bool AnyNull(int argc, sqlite3_value** argv)
{
    for (int i = 0; i < argc; ++i)
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL)
            return true;
    return false;
}

constexpr qint64 kIntMin = std::numeric_limits<qint32>::min();
constexpr qint64 kIntMax = std::numeric_limits<qint32>::max();

// An int as the server converts a value to one, or the server's message
// when it cannot: texts with blanks around, an optional sign and digits only
// (an empty or all-blank text is 0); numbers truncated; both within int.
struct IntConversion {
    std::optional<qint64> value;
    QString failure;
};

IntConversion TextToInt(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return {0, {}};
    int start = (trimmed[0] == QLatin1Char('+') || trimmed[0] == QLatin1Char('-')) ? 1 : 0;
    bool digitsOnly = start < trimmed.size();
    for (int i = start; i < trimmed.size() && digitsOnly; ++i)
        digitsOnly = trimmed[i] >= QLatin1Char('0') && trimmed[i] <= QLatin1Char('9');
    if (!digitsOnly)
        return {std::nullopt,
                QStringLiteral("Conversion failed when converting the varchar value '%1' to data type int.").arg(text)};
    bool ok = false;
    const qint64 value = trimmed.toLongLong(&ok);
    if (!ok || value < kIntMin || value > kIntMax)
        return {std::nullopt, QStringLiteral("The conversion of the varchar value '%1' overflowed an int column.").arg(text)};
    return {value, {}};
}

IntConversion ToInt(sqlite3_value* value)
{
    switch (sqlite3_value_type(value)) {
    case SQLITE_INTEGER: {
        const sqlite3_int64 v = sqlite3_value_int64(value);
        if (v < kIntMin || v > kIntMax)
            return {std::nullopt, QStringLiteral("Arithmetic overflow error converting expression to data type int.")};
        return {v, {}};
    }
    case SQLITE_FLOAT: {
        const double v = std::trunc(sqlite3_value_double(value));
        if (!(v >= double(kIntMin) && v <= double(kIntMax)))
            return {std::nullopt, QStringLiteral("Arithmetic overflow error converting expression to data type int.")};
        return {sqlite3_int64(v), {}};
    }
    default:
        return TextToInt(ArgText(value));
    }
}

// The int the value converts to (NULL stays NULL), else what `refused`
// makes of the conversion that failed.
template <typename Refused>
void ResultInt(sqlite3_context* context, sqlite3_value* value, Refused refused)
{
    if (sqlite3_value_type(value) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    const IntConversion converted = ToInt(value);
    if (converted.value)
        sqlite3_result_int64(context, *converted.value);
    else
        refused(converted);
}

void IntFunction(sqlite3_context* context, int, sqlite3_value** argv)
{
    ResultInt(context, argv[0], [&](const IntConversion& c) { ResultError(context, c.failure); });
}

// The int a value converts to, or, when it converts to none, the value as
// text, which sorts after every number. So max() of the keys is the
// largest int when every value converts, and otherwise a value that the
// int conversion refuses: tsql_int(max(tsql_int_key(x))) is max(tsql_int(x)),
// failing when that fails, and an index on the key answers it at once.
void IntKeyFunction(sqlite3_context* context, int, sqlite3_value** argv)
{
    ResultInt(context, argv[0], [&](const IntConversion&) { ResultText(context, ArgText(argv[0])); });
}

// Text of a number as the server writes it into a varchar: whole numbers
// without a decimal part; a whole number that does not fit becomes "*".
void VarcharFunction(sqlite3_context* context, int argc, sqlite3_value** argv)
{
    sqlite3_value* value = argv[0];
    const int length = argc > 1 ? sqlite3_value_int(argv[1]) : 30;
    QString text;
    switch (sqlite3_value_type(value)) {
    case SQLITE_NULL:
        sqlite3_result_null(context);
        return;
    case SQLITE_INTEGER:
        text = QString::number(sqlite3_value_int64(value));
        ResultText(context, text.size() > length ? QStringLiteral("*") : text);
        return;
    case SQLITE_FLOAT: {
        const double v = sqlite3_value_double(value);
        text = (v == std::trunc(v) && std::fabs(v) < 1e15) ? QString::number(qint64(v)) : QString::number(v, 'g', 15);
        ResultText(context, text.size() > length ? QStringLiteral("*") : text);
        return;
    }
    default:
        ResultText(context, ArgText(value).left(length));
    }
}

void PatIndexFunction(sqlite3_context* context, int argc, sqlite3_value** argv)
{
    if (AnyNull(argc, argv)) {
        sqlite3_result_null(context);
        return;
    }
    sqlite3_result_int(context, PatIndex(ArgText(argv[0]), ArgText(argv[1])));
}

// REPLACE compares like the server's case-insensitive collation.
void ReplaceFunction(sqlite3_context* context, int argc, sqlite3_value** argv)
{
    if (AnyNull(argc, argv)) {
        sqlite3_result_null(context);
        return;
    }
    QString text = ArgText(argv[0]);
    const QString find = ArgText(argv[1]);
    if (!find.isEmpty())
        text.replace(find, ArgText(argv[2]), Qt::CaseInsensitive);
    ResultText(context, text);
}

void Register(sqlite3* handle, const char* name, int argc,
              void (*function)(sqlite3_context*, int, sqlite3_value**))
{
    // Deterministic and innocuous: an index may be built on them.
    sqlite3_create_function_v2(handle, name, argc, SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS, nullptr,
                               function, nullptr, nullptr, nullptr);
}

int FoldAscii(unsigned char c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; }

// The server's comparison of texts: letters without regard to case, and the
// shorter text compared as if padded with blanks, so trailing blanks never
// matter ('1 ' = '1'). Letters fold as SQLite's own NOCASE folds them
// (ASCII), so indexes built with either order the same texts alike.
int CompareAsServer(void*, int leftLength, const void* left, int rightLength, const void* right)
{
    const auto* a = static_cast<const unsigned char*>(left);
    const auto* b = static_cast<const unsigned char*>(right);
    const int common = std::min(leftLength, rightLength);
    for (int i = 0; i < common; ++i)
        if (const int d = FoldAscii(a[i]) - FoldAscii(b[i]))
            return d;
    for (int i = common; i < leftLength; ++i)
        if (a[i] != ' ')
            return a[i] - ' ';
    for (int i = common; i < rightLength; ++i)
        if (b[i] != ' ')
            return ' ' - b[i];
    return 0;
}

} // namespace

bool PatternMatches(QStringView pattern, QStringView text)
{
    if (pattern.isEmpty())
        return text.isEmpty();
    const QChar p = pattern[0];
    if (p == QLatin1Char('%')) {
        for (int skip = 0; skip <= text.size(); ++skip)
            if (PatternMatches(pattern.mid(1), text.mid(skip)))
                return true;
        return false;
    }
    if (text.isEmpty())
        return false;
    if (p == QLatin1Char('_'))
        return PatternMatches(pattern.mid(1), text.mid(1));
    if (p == QLatin1Char('[')) {
        bool matched = false;
        const int length = MatchClass(pattern, text[0], matched);
        if (length > 0)
            return matched && PatternMatches(pattern.mid(length), text.mid(1));
    }
    return SameLetter(p, text[0]) && PatternMatches(pattern.mid(1), text.mid(1));
}

int PatIndex(const QString& pattern, const QString& text)
{
    if (!pattern.startsWith(QLatin1Char('%')))
        return PatternMatches(pattern, text) ? 1 : 0;
    int lead = 0;
    while (lead < pattern.size() && pattern[lead] == QLatin1Char('%'))
        ++lead;
    const QStringView rest = QStringView(pattern).mid(lead);
    for (int start = 0; start < text.size(); ++start)
        if (PatternMatches(rest, QStringView(text).mid(start)))
            return start + 1;
    return 0;
}

} // namespace db::tsql

namespace db {

void RegisterSqliteFunctions(sqlite3* handle)
{
    using namespace tsql;
    Register(handle, kIntFunction, 1, IntFunction);
    Register(handle, kIntKeyFunction, 1, IntKeyFunction);
    Register(handle, kVarcharFunction, 1, VarcharFunction);
    Register(handle, kVarcharFunction, 2, VarcharFunction);
    Register(handle, kPatIndexFunction, 2, PatIndexFunction);
    Register(handle, kReplaceFunction, 3, ReplaceFunction);
    // Text columns are declared COLLATE NOCASE; on the program's
    // connections that name compares as the server does.
    sqlite3_create_collation_v2(handle, "NOCASE", SQLITE_UTF8, nullptr, CompareAsServer, nullptr);
}

} // namespace db
