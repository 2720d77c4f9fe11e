#include "base/Texts.h"

#include <QLocale>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>

#ifdef Q_OS_LINUX
#include <unistd.h>
#endif

namespace base {

namespace {

bool IsDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool IsSign(QChar c)
{
    return c == QLatin1Char('+') || c == QLatin1Char('-');
}

// "D" is the platform's double-precision exponent letter, read like "E".
bool IsExponentLetter(QChar c)
{
    const QChar u = c.toUpper();
    return u == QLatin1Char('E') || u == QLatin1Char('D');
}

// A number taken apart by one of the scanners below.
struct NumberParts {
    bool negative = false;
    std::string integerDigits;
    std::string fractionDigits;
    int exponent = 0;

    bool HasDigits() const { return !integerDigits.empty() || !fractionDigits.empty(); }
    double Value() const;
};

double NumberParts::Value() const
{
    std::string text = integerDigits.empty() ? "0" : integerDigits;
    if (!fractionDigits.empty())
        text += "." + fractionDigits;
    text += "e" + std::to_string(exponent);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error == std::errc::result_out_of_range) {
        // Beyond a double: infinite when the number's first significant digit
        // stands left of the point, else too small to tell from zero.
        const auto significant = text.find_first_not_of("0.");
        const auto point = text.find_first_of(".e");
        const long long place = static_cast<long long>(point) - static_cast<long long>(significant);
        value = place + exponent > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    }
    if (value == 0)
        return 0.0;  // never a negative zero
    return negative ? -value : value;
}

// Reads an exponent ("E", "e", "D" or "d", a sign, digits) at position i;
// leaves i alone when there is none.
void ScanExponent(const QString& text, qsizetype& i, NumberParts& parts)
{
    if (i >= text.size() || !IsExponentLetter(text[i]))
        return;
    qsizetype j = i + 1;
    bool negative = false;
    if (j < text.size() && IsSign(text[j]))
        negative = text[j++] == QLatin1Char('-');
    if (j >= text.size() || !IsDigit(text[j]))
        return;
    int exponent = 0;
    for (; j < text.size() && IsDigit(text[j]); ++j)
        exponent = std::min(exponent * 10 + text[j].digitValue(), 100000);  // far past any double
    parts.exponent = negative ? -exponent : exponent;
    i = j;
}

// The numeric test's grammar: blanks around; a leading sign; digits, with
// "," accepted anywhere after the first digit of the whole part; one point;
// an optional exponent. Currency signs, trailing signs, parentheses and
// "&H" hexadecimal, which the platform also accepted, are left out: nothing
// this program reads is written that way.
std::optional<NumberParts> ScanNumeric(const QString& text)
{
    const QString t = text.trimmed();
    NumberParts parts;
    qsizetype i = 0;
    if (i < t.size() && IsSign(t[i]))
        parts.negative = t[i++] == QLatin1Char('-');
    for (; i < t.size(); ++i) {
        if (IsDigit(t[i]))
            parts.integerDigits += char(t[i].unicode());
        else if (t[i] != QLatin1Char(',') || parts.integerDigits.empty())
            break;
    }
    if (i < t.size() && t[i] == QLatin1Char('.')) {
        for (++i; i < t.size() && IsDigit(t[i]); ++i)
            parts.fractionDigits += char(t[i].unicode());
    }
    if (!parts.HasDigits())
        return std::nullopt;
    ScanExponent(t, i, parts);
    if (i != t.size())
        return std::nullopt;
    return parts;
}

bool IsValBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n');
}

// The digits of round(magnitude * 10^decimals), halves away from zero, with
// no leading zeros ("0" for zero). The rounding works on the value's
// 15-significant-digit decimal text, the precision a double really holds:
// the product 1.1 * 1.15 is stored as 1.26499999999999990230..., reads as
// 1.265 and rounds to 1.27 as a person would expect; 1.005 likewise gives
// 1.01. Digits past the fifteenth of a very large value are zeros.
std::string ScaledDigits(double magnitude, int decimals)
{
    constexpr int kSignificant = 15;
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, magnitude,
                                      std::chars_format::scientific, kSignificant - 1);
    const std::string_view text(buffer, result.ptr - buffer);  // "d.dddddddddddddde+XX"
    const auto e = text.find('e');
    std::string digits(1, text[0]);
    digits.append(text.substr(2, e - 2));
    const int exponent = std::stoi(std::string(text.substr(e + 1)));

    const int kept = exponent + 1 + decimals;  // digits at or above 10^-decimals
    std::string scaled;
    bool roundUp = false;
    if (kept <= 0) {
        roundUp = kept == 0 && digits[0] >= '5';
    } else if (kept >= kSignificant) {
        scaled = digits + std::string(kept - kSignificant, '0');
    } else {
        scaled = digits.substr(0, kept);
        roundUp = digits[kept] >= '5';
    }
    if (roundUp) {
        auto it = scaled.rbegin();
        for (; it != scaled.rend() && *it == '9'; ++it)
            *it = '0';
        if (it == scaled.rend())
            scaled.insert(scaled.begin(), '1');
        else
            ++*it;
    }
    const auto first = scaled.find_first_not_of('0');
    return first == std::string::npos ? "0" : scaled.substr(first);
}

struct PatternShape {
    int decimals = 0;
    int minIntegerDigits = 0;
    bool grouping = false;
    bool point = false;
};

// Only the pattern characters "0", "#", "," and "." have a meaning; every
// decimal position is written, whether "0" or "#".
PatternShape ReadNumberPattern(const QString& pattern)
{
    PatternShape shape;
    const qsizetype dot = pattern.indexOf(QLatin1Char('.'));
    const QString whole = dot < 0 ? pattern : pattern.left(dot);
    shape.point = dot >= 0;
    shape.minIntegerDigits = int(whole.count(QLatin1Char('0')));
    shape.grouping = whole.contains(QLatin1Char(','));
    if (shape.point) {
        for (const QChar c : pattern.mid(dot + 1)) {
            if (c == QLatin1Char('0') || c == QLatin1Char('#'))
                ++shape.decimals;
        }
    }
    return shape;
}

QString Grouped(const QString& digits)
{
    QString out;
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out += QLatin1Char(',');
        out += digits[i];
    }
    return out;
}

#ifdef Q_OS_LINUX
// With TZ unset, the C library reads the time-zone file again at every
// local-time conversion (microseconds each; a list converts thousands of
// dates). ":/etc/localtime" names the very zone that an unset TZ means and
// lets the library keep it once read. Set before main, while the process
// has one thread.
const bool kLocalZonePinned = [] {
    if (qEnvironmentVariableIsEmpty("TZ") && access("/etc/localtime", R_OK) == 0)
        qputenv("TZ", ":/etc/localtime");
    return true;
}();
#endif

std::optional<QDateTime> LocalDateTime(int year, int month, int day, int hour, int minute, int second, int ms = 0)
{
    const QDate date(year, month, day);
    const QTime time(hour, minute, second, ms);
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    const QDateTime value(date, time, Qt::LocalTime);
    if (!value.isValid())
        return std::nullopt;
    return value;
}

} // namespace

std::optional<double> NumericValue(const QString& text)
{
    const std::optional<NumberParts> parts = ScanNumeric(text);
    if (!parts)
        return std::nullopt;
    return parts->Value();
}

bool IsNumeric(const QString& text)
{
    return ScanNumeric(text).has_value();
}

// Blanks, tabs and line feeds are skipped anywhere, as the platform's Val
// did: " 1 2" is 12. The "&H"/"&O" prefixes it also read are not supported.
double Val(const QString& text)
{
    QString t;
    for (const QChar c : text) {
        if (!IsValBlank(c))
            t += c;
    }
    NumberParts parts;
    qsizetype i = 0;
    if (i < t.size() && IsSign(t[i]))
        parts.negative = t[i++] == QLatin1Char('-');
    for (; i < t.size() && IsDigit(t[i]); ++i)
        parts.integerDigits += char(t[i].unicode());
    if (i < t.size() && t[i] == QLatin1Char('.')) {
        for (++i; i < t.size() && IsDigit(t[i]); ++i)
            parts.fractionDigits += char(t[i].unicode());
    }
    if (!parts.HasDigits())
        return 0.0;
    ScanExponent(t, i, parts);
    return parts.Value();
}

QString FormatNumber(double value, const QString& pattern)
{
    if (!std::isfinite(value))
        return QString::number(value);
    const PatternShape shape = ReadNumberPattern(pattern);
    const QString digits = QString::fromStdString(ScaledDigits(std::fabs(value), shape.decimals));
    const bool zero = digits == QLatin1String("0");

    QString whole = digits.size() > shape.decimals ? digits.left(digits.size() - shape.decimals) : QString();
    if (whole == QLatin1String("0"))
        whole.clear();  // "#" shows no digit for a zero whole part
    if (whole.size() < shape.minIntegerDigits)
        whole = QString(shape.minIntegerDigits - whole.size(), QLatin1Char('0')) + whole;
    if (shape.grouping)
        whole = Grouped(whole);

    QString out = value < 0 && !zero ? QStringLiteral("-") : QString();
    out += whole;
    if (shape.point) {
        out += QLatin1Char('.');
        out += digits.right(shape.decimals).rightJustified(shape.decimals, QLatin1Char('0'));
    }
    return out;
}

QString StrForm(qint64 value)
{
    const QString text = QString::number(value);
    return value < 0 ? text : QLatin1Char(' ') + text;
}

QString PlainNumber(double value)
{
    if (!std::isfinite(value))
        return QString::number(value);
    if (value == std::trunc(value) && std::fabs(value) < 1e15)
        return QString::number(qint64(value));
    const int integerDigits = std::fabs(value) >= 1 ? int(std::floor(std::log10(std::fabs(value)))) + 1 : 0;
    QString text = QString::number(value, 'f', std::max(0, 15 - integerDigits));
    if (text.contains(QLatin1Char('.'))) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
    }
    return text == QLatin1String("-0") ? QStringLiteral("0") : text;
}

// Throws std::overflow_error for a value outside the 64-bit range (or not a
// number at all), as the platform's currency conversion did.
Money Money::FromDouble(double value)
{
    if (!std::isfinite(value))
        throw std::overflow_error("Money: not a finite number");
    const std::string digits = ScaledDigits(std::fabs(value), 4);
    qint64 units = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), units);
    if (error != std::errc())
        throw std::overflow_error("Money: value out of range");
    return FromUnits(value < 0 ? -units : units);
}

QDateTime ZeroDate()
{
    return QDateTime(QDate(1899, 12, 30), QTime(0, 0), Qt::LocalTime);
}

// The C locale, so that the designator is "AM"/"PM" whatever the system's
// language; "hh" with "AP" is the 12-hour clock.
QString FormatDateTime(const QDateTime& value)
{
    return QLocale::c().toString(value, QStringLiteral("MM/dd/yyyy hh:mm:ss AP"));
}

QString FormatDateTimeToMinute(const QDateTime& value)
{
    return QLocale::c().toString(value, QStringLiteral("MM/dd/yyyy hh:mm AP"));
}

namespace {

// Reads minDigits to maxDigits ASCII digits at `i`.
bool ReadDigits(QStringView text, qsizetype& i, int minDigits, int maxDigits, int* value)
{
    int n = 0;
    int digits = 0;
    while (i < text.size() && digits < maxDigits && IsDigit(text[i])) {
        n = n * 10 + (text[i].unicode() - '0');
        ++i;
        ++digits;
    }
    *value = n;
    return digits >= minDigits;
}

bool ReadChar(QStringView text, qsizetype& i, char c)
{
    if (i >= text.size() || text[i] != QLatin1Char(c))
        return false;
    ++i;
    return true;
}

// "m/d/yyyy h:mm:ss AM", one or two digits for month, day and hour.
std::optional<QDateTime> ParseTwelveHour(QStringView text)
{
    qsizetype i = 0;
    int month = 0, day = 0, year = 0, hour = 0, minute = 0, second = 0;
    if (!ReadDigits(text, i, 1, 2, &month) || !ReadChar(text, i, '/') || !ReadDigits(text, i, 1, 2, &day)
        || !ReadChar(text, i, '/') || !ReadDigits(text, i, 4, 4, &year) || !ReadChar(text, i, ' ')
        || !ReadDigits(text, i, 1, 2, &hour) || !ReadChar(text, i, ':') || !ReadDigits(text, i, 2, 2, &minute)
        || !ReadChar(text, i, ':') || !ReadDigits(text, i, 2, 2, &second) || !ReadChar(text, i, ' ')
        || text.size() - i != 2 || hour < 1 || hour > 12)
        return std::nullopt;
    const QChar half = text[i].toUpper();
    if ((half != QLatin1Char('A') && half != QLatin1Char('P')) || text[i + 1].toUpper() != QLatin1Char('M'))
        return std::nullopt;
    return LocalDateTime(year, month, day, hour % 12 + (half == QLatin1Char('P') ? 12 : 0), minute, second);
}

// "yyyy-MM-dd HH:mm:ss", with up to three digits of a fraction of a second.
std::optional<QDateTime> ParseTwentyFourHour(QStringView text)
{
    qsizetype i = 0;
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, ms = 0;
    if (!ReadDigits(text, i, 4, 4, &year) || !ReadChar(text, i, '-') || !ReadDigits(text, i, 2, 2, &month)
        || !ReadChar(text, i, '-') || !ReadDigits(text, i, 2, 2, &day) || !ReadChar(text, i, ' ')
        || !ReadDigits(text, i, 2, 2, &hour) || !ReadChar(text, i, ':') || !ReadDigits(text, i, 2, 2, &minute)
        || !ReadChar(text, i, ':') || !ReadDigits(text, i, 2, 2, &second))
        return std::nullopt;
    if (ReadChar(text, i, '.')) {
        const qsizetype start = i;
        if (!ReadDigits(text, i, 1, 3, &ms))
            return std::nullopt;
        for (qsizetype digits = i - start; digits < 3; ++digits)
            ms *= 10;
    }
    if (i != text.size())
        return std::nullopt;
    return LocalDateTime(year, month, day, hour, minute, second, ms);
}

} // namespace

// Both forms are read by hand: a result of thousands of rows converts every
// date-time it holds, and a general format parser costs far more than the
// query that read them.
std::optional<QDateTime> ParseDateTime(QStringView text)
{
    if (text.size() >= 5 && text[4] == QLatin1Char('-'))
        return ParseTwentyFourHour(text);
    return ParseTwelveHour(text);
}

QString ValueText(const QVariant& value)
{
    if (value.isNull())
        return QString();
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case QMetaType::QDateTime:
        return FormatDateTime(value.toDateTime());
    case QMetaType::Double:
    case QMetaType::Float:
        return PlainNumber(value.toDouble());
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return QString::number(value.toLongLong());
    default:
        return value.toString();
    }
}

} // namespace base
