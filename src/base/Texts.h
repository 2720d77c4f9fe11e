#pragma once

#include <QDateTime>
#include <QString>
#include <QVariant>
#include <QtGlobal>
#include <optional>

// The program's text conventions for numbers, money and dates, in one place.
namespace base {

// The numeric test: blanks around, a sign, one decimal point and thousands
// separators are accepted; an empty text is not numeric.
bool IsNumeric(const QString& text);
// The number a numeric text stands for, thousands separators ignored
// ("1,000.5" is 1000.5); nothing when the text is not numeric.
std::optional<double> NumericValue(const QString& text);

// The value of a text: its longest leading number (blanks skipped, "." as
// decimal point), 0 when there is none. "1,000" is 1; "" is 0.
double Val(const QString& text);

// A number through a pattern such as "#####0", "##0.00", "########0.0000",
// "###,###,##0.0000": "0" a required digit, "#" an optional one, "," digit
// grouping, "." the decimal point. Halves round away from zero; a negative
// value gets a leading minus.
QString FormatNumber(double value, const QString& pattern);

// The Str form of a whole number: a leading blank when it is not negative.
QString StrForm(qint64 value);

// The plain text of a number, as a grid cell or display box shows a value
// put in without a pattern: no grouping, no exponent, at most 15
// significant digits, no trailing zeros ("5", "12.5", "-0.25").
QString PlainNumber(double value);

// A stored value as plain text, as a bound grid or a display box shows it:
// empty for NULL, whole numbers without decimals, other numbers as
// PlainNumber, date-times in the program's date-time text, truth values as
// "True" / "False", texts as they are.
QString ValueText(const QVariant& value);

// Fixed-point money with four decimals (ten-thousandths in 64 bits).
class Money {
public:
    Money() = default;
    static Money FromUnits(qint64 units) { Money m; m.units_ = units; return m; }
    // Rounds to the nearest ten-thousandth, halves away from zero; throws
    // std::overflow_error outside the 64-bit range or for a non-finite value.
    static Money FromDouble(double value);
    qint64 Units() const { return units_; }
    double ToDouble() const { return double(units_) / 10000.0; }
    friend bool operator==(Money a, Money b) { return a.units_ == b.units_; }
    friend auto operator<=>(Money a, Money b) { return a.units_ <=> b.units_; }
    Money operator+(Money other) const { return FromUnits(units_ + other.units_); }
    Money operator-(Money other) const { return FromUnits(units_ - other.units_); }

private:
    qint64 units_ = 0;
};

// The zero date: 30 December 1899 at midnight.
QDateTime ZeroDate();

// The program's date-time text, month/day/year with a 12-hour clock and the
// AM or PM designator: "03/07/2026 02:05:09 PM".
QString FormatDateTime(const QDateTime& value);
// The same to the minute, for lists: "03/07/2026 02:05 PM".
QString FormatDateTimeToMinute(const QDateTime& value);
// Reads that text back (also with a one-digit month, day or hour, and the
// 24-hour "yyyy-MM-dd HH:mm:ss" form); nothing when it is no date-time.
std::optional<QDateTime> ParseDateTime(QStringView text);
inline std::optional<QDateTime> ParseDateTime(const QString& text) { return ParseDateTime(QStringView(text)); }

} // namespace base
