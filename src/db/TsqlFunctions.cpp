#include "db/TsqlFunctions.h"

#include <QByteArray>
#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <limits>
#include <sqlite3.h>

namespace db::tsql {

namespace {

bool SameLetter(QChar a, QChar b) { return a == b || FoldCase(a.unicode()) == FoldCase(b.unicode()); }

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
            const char32_t low = FoldCase(pattern[i].unicode());
            const char32_t high = FoldCase(pattern[i + 2].unicode());
            const char32_t folded = FoldCase(c.unicode());
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

// A text's characters are read from its UTF-8 bytes as code points. A byte
// that starts no valid sequence stands for itself, as one of the code points
// no valid sequence gives (U+DC80 to U+DCFF), so that any stored bytes have
// one reading and a place in the order.
constexpr char32_t kStrayByte = 0xDC00;

char32_t NextCodePoint(const unsigned char* text, int length, int& i)
{
    const unsigned char lead = text[i];
    if (lead < 0x80) {
        ++i;
        return lead;
    }
    int size = 0;
    char32_t c = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        size = 2;
        c = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        size = 3;
        c = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        size = 4;
        c = lead & 0x07;
    }
    bool valid = size > 0 && i + size <= length;
    for (int k = 1; valid && k < size; ++k) {
        valid = (text[i + k] & 0xC0) == 0x80;
        c = (c << 6) | (text[i + k] & 0x3F);
    }
    valid = valid && !(size == 3 && c < 0x800) && !(size == 4 && (c < 0x10000 || c > 0x10FFFF))
            && !(c >= 0xD800 && c <= 0xDFFF);
    if (!valid) {
        ++i;
        return kStrayByte + lead;
    }
    i += size;
    return c;
}

void AppendUtf8(QByteArray& out, char32_t c)
{
    if (c >= kStrayByte + 0x80 && c <= kStrayByte + 0xFF) {
        out += char(c - kStrayByte);
    } else if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

int WithoutTrailingBlanks(const unsigned char* text, int length)
{
    while (length > 0 && text[length - 1] == ' ')
        --length;
    return length;
}

// The server's comparison of texts (kTextCollation): letters without regard
// to case, and trailing blanks never matter ('1 ' = '1'). Texts order as
// their folded code points, trailing blanks left off, do: so every text
// that starts with a given folded start lies in one range of an index,
// which a search by the start of a name reads (see LikeLowFunction and
// LikeHighFunction).
int CompareTexts(void*, int leftLength, const void* left, int rightLength, const void* right)
{
    const auto* a = static_cast<const unsigned char*>(left);
    const auto* b = static_cast<const unsigned char*>(right);
    const int na = WithoutTrailingBlanks(a, leftLength);
    const int nb = WithoutTrailingBlanks(b, rightLength);
    // Keys compared in an index mostly share their start: equal bytes are
    // equal characters, up to the start of the character they differ in.
    const int common = std::min(na, nb);
    int i = 0;
    while (i < common && a[i] == b[i])
        ++i;
    while (i > 0 && ((i < na && (a[i] & 0xC0) == 0x80) || (i < nb && (b[i] & 0xC0) == 0x80)))
        --i;
    int j = i;
    while (i < na && j < nb) {
        if (a[i] < 0x80 && b[j] < 0x80) {
            if (a[i] != b[j]) {
                const char32_t x = FoldCase(a[i]);
                const char32_t y = FoldCase(b[j]);
                if (x != y)
                    return x < y ? -1 : 1;
            }
            ++i;
            ++j;
            continue;
        }
        const char32_t x = FoldCase(NextCodePoint(a, na, i));
        const char32_t y = FoldCase(NextCodePoint(b, nb, j));
        if (x != y)
            return x < y ? -1 : 1;
    }
    return (i < na ? 1 : 0) - (j < nb ? 1 : 0);
}

// A LIKE pattern read one element at a time: % a run of any characters,
// _ any one character, anything else itself (after the escape character,
// when the LIKE names one, also % and _).
enum class Element { Character, AnyOne, AnyRun };
constexpr char32_t kNoEscape = 0xFFFFFFFF;
// What an escape character at the very end of a pattern stands for: it
// matches nothing, as SQLite's own LIKE has it.
constexpr char32_t kNothing = 0xFFFFFFFE;

Element NextElement(const unsigned char* pattern, int length, int& i, char32_t escape, char32_t& character)
{
    character = NextCodePoint(pattern, length, i);
    if (character == escape) {
        character = i < length ? NextCodePoint(pattern, length, i) : kNothing;
        return Element::Character;
    }
    if (character == U'%')
        return Element::AnyRun;
    return character == U'_' ? Element::AnyOne : Element::Character;
}

// SQLite's LIKE (% and _, an optional escape character), its letters
// compared as the server compares them. Each % remembers where it matched
// last and moves on by one character when what follows fails: time in
// proportion to the pattern's and the text's lengths, whatever the pattern.
bool LikeMatches(const unsigned char* pattern, int patternLength, const unsigned char* text, int textLength,
                 char32_t escape)
{
    int p = 0;
    int t = 0;
    int runP = -1;  // after the last % passed, and where its run ends now
    int runT = 0;
    char32_t character = 0;
    while (t < textLength) {
        if (p < patternLength) {
            int next = p;
            const Element element = NextElement(pattern, patternLength, next, escape, character);
            if (element == Element::AnyRun) {
                if (next == patternLength)  // a run at the end takes whatever is left
                    return true;
                p = runP = next;
                runT = t;
                continue;
            }
            int after = t;
            const char32_t c = NextCodePoint(text, textLength, after);
            if (element == Element::AnyOne || (character != kNothing && FoldCase(c) == FoldCase(character))) {
                p = next;
                t = after;
                continue;
            }
        }
        if (runP < 0)
            return false;
        NextCodePoint(text, textLength, runT);
        t = runT;
        p = runP;
    }
    while (p < patternLength)
        if (NextElement(pattern, patternLength, p, escape, character) != Element::AnyRun)
            return false;
    return true;
}

const unsigned char* ArgBytes(sqlite3_value* value, int& length)
{
    const unsigned char* text = sqlite3_value_text(value);
    length = sqlite3_value_bytes(value);
    return text;
}

// like(pattern, text[, escape]): X LIKE Y [ESCAPE Z] as SQLite calls it.
void LikeFunction(sqlite3_context* context, int argc, sqlite3_value** argv)
{
    if (AnyNull(argc, argv)) {
        sqlite3_result_null(context);
        return;
    }
    char32_t escape = kNoEscape;
    if (argc == 3) {
        int length = 0;
        const unsigned char* text = ArgBytes(argv[2], length);
        int i = 0;
        if (length > 0)
            escape = NextCodePoint(text, length, i);
        if (length == 0 || i != length) {
            sqlite3_result_error(context, "ESCAPE expression must be a single character", -1);
            return;
        }
    }
    int patternLength = 0;
    int textLength = 0;
    const unsigned char* pattern = ArgBytes(argv[0], patternLength);
    const unsigned char* text = ArgBytes(argv[1], textLength);
    sqlite3_result_int(context, LikeMatches(pattern, patternLength, text, textLength, escape) ? 1 : 0);
}

// The pattern's fixed start (up to its first % or _), folded, trailing
// blanks left off: every text the pattern matches starts with it once
// folded, so compares at least equal to it. *rest, when given, is what of
// the pattern follows the start, and *blankDropped whether a blank was left
// off its end.
std::u32string FixedStart(sqlite3_value* value, QByteArrayView* rest = nullptr, bool* blankDropped = nullptr)
{
    int length = 0;
    const unsigned char* pattern = ArgBytes(value, length);
    std::u32string start;
    char32_t character = 0;
    int i = 0;
    for (int next = 0; i < length; i = next) {
        if (NextElement(pattern, length, next, kNoEscape, character) != Element::Character)
            break;
        start += FoldCase(character);
    }
    if (rest)
        *rest = QByteArrayView(pattern + i, length - i);
    if (blankDropped)
        *blankDropped = !start.empty() && start.back() == U' ';
    while (!start.empty() && start.back() == U' ')
        start.pop_back();
    return start;
}

// The character that raises the start's last one to the bound above it
// (see LikeHighFunction); 0 when there is none.
char32_t NextFolded(char32_t c)
{
    char32_t next = c + 1;
    while (next <= 0x10FFFF && (FoldCase(next) != next || next == U' ' || (next >= 0xD800 && next <= 0xDFFF)))
        ++next;
    return next <= 0x10FFFF ? next : 0;
}

void ResultCodePoints(sqlite3_context* context, const std::u32string& text)
{
    QByteArray utf8;
    utf8.reserve(qsizetype(text.size()) * 2);
    for (const char32_t c : text)
        AppendUtf8(utf8, c);
    sqlite3_result_text(context, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

void LikeLowFunction(sqlite3_context* context, int argc, sqlite3_value** argv)
{
    if (AnyNull(argc, argv)) {
        sqlite3_result_null(context);
        return;
    }
    ResultCodePoints(context, FixedStart(argv[0]));
}

// The least text above every text that starts with the fixed start: the
// start with its last character raised to the next one that is its own
// folded form (a blank, dropped at the end, does not count). Without a
// start, or above the last character, a blob: above every text.
void LikeHighFunction(sqlite3_context* context, int argc, sqlite3_value** argv)
{
    if (AnyNull(argc, argv)) {
        sqlite3_result_null(context);
        return;
    }
    std::u32string start = FixedStart(argv[0]);
    if (!start.empty()) {
        if (const char32_t next = NextFolded(start.back())) {
            start.back() = next;
            ResultCodePoints(context, start);
            return;
        }
    }
    sqlite3_result_zeroblob(context, 0);
}

// A pattern of a fixed start and a % matches exactly the texts of its range
// when no text of the range has, where the start's last character stands,
// one that the bound passed over and that a folded text may hold: a blank
// (when the last character is below it) or a stray byte.
void LikeExactFunction(sqlite3_context* context, int argc, sqlite3_value** argv)
{
    if (AnyNull(argc, argv)) {
        sqlite3_result_int(context, 0);
        return;
    }
    QByteArrayView rest;
    bool blankDropped = false;
    const std::u32string start = FixedStart(argv[0], &rest, &blankDropped);
    const char32_t next = start.empty() ? 0 : NextFolded(start.back());
    sqlite3_result_int(context, rest == "%" && !blankDropped && next != 0 && start.back() > U' '
                                    && (next < 0xD800 || start.back() > 0xDFFF));
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
    Register(handle, kLikeLowFunction, 1, LikeLowFunction);
    Register(handle, kLikeHighFunction, 1, LikeHighFunction);
    Register(handle, kLikeExactFunction, 1, LikeExactFunction);
    // LIKE compares letters as the text columns' collation does. (SQLite no
    // longer turns a LIKE into an index range itself: the translation
    // writes the range beside it, by the functions above.)
    Register(handle, "like", 2, LikeFunction);
    Register(handle, "like", 3, LikeFunction);
    sqlite3_create_collation_v2(handle, kTextCollation, SQLITE_UTF8, nullptr, CompareTexts, nullptr);
}

} // namespace db
