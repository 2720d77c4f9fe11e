#include "records/RowReader.h"

#include "base/Errors.h"

#include <cmath>
#include <limits>
#include <optional>

namespace records {

namespace {

[[noreturn]] void Fail(const char* description)
{
    throw ConversionError(QString::fromLatin1(description));
}

void RequireValue(const QVariant& value)
{
    if (value.isNull())
        Fail("Invalid use of Null");
}

bool IsNumber(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Double:
    case QMetaType::Float:
        return true;
    default:
        return false;
    }
}

// The number a value stands for: numbers as they are, true as -1 and false
// as 0, numeric texts by their value; nothing for anything else.
std::optional<double> NumberOf(const QVariant& value)
{
    if (IsNumber(value))
        return value.toDouble();
    if (value.typeId() == QMetaType::Bool)
        return value.toBool() ? -1.0 : 0.0;
    if (value.typeId() == QMetaType::QString)
        return base::NumericValue(value.toString());
    return std::nullopt;
}

double RequireNumber(const QVariant& value)
{
    RequireValue(value);
    const std::optional<double> number = NumberOf(value);
    if (!number)
        Fail("Type mismatch");
    return *number;
}

} // namespace

QString ToText(const QVariant& value)
{
    RequireValue(value);
    return base::ValueText(value);
}

qint16 ToInt16(const QVariant& value)
{
    // Halves go to the even neighbour, as whole-number conversions do.
    const double number = std::nearbyint(RequireNumber(value));
    if (!(number >= std::numeric_limits<qint16>::min() && number <= std::numeric_limits<qint16>::max()))
        Fail("Overflow");
    return qint16(number);
}

double ToDouble(const QVariant& value)
{
    return RequireNumber(value);
}

base::Money ToMoney(const QVariant& value)
{
    const double number = RequireNumber(value);
    try {
        return base::Money::FromDouble(number);
    } catch (const std::overflow_error&) {
        Fail("Overflow");
    }
}

QDateTime ToDate(const QVariant& value)
{
    RequireValue(value);
    switch (value.typeId()) {
    case QMetaType::QDateTime:
        if (value.toDateTime().isValid())
            return value.toDateTime();
        break;
    case QMetaType::QDate:
        return value.toDate().startOfDay();
    case QMetaType::QString:
        if (const std::optional<QDateTime> date = base::ParseDateTime(value.toString()))
            return *date;
        break;
    default:
        // A number is a count of days from the zero date.
        if (IsNumber(value)) {
            const double days = value.toDouble();
            if (std::isfinite(days) && std::fabs(days) < 3e6)
                return base::ZeroDate().addMSecs(qint64(std::llround(days * 86400000.0)));
            Fail("Overflow");
        }
        break;
    }
    Fail("Type mismatch");
}

bool ToFlag(const QVariant& value)
{
    RequireValue(value);
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    if (value.typeId() == QMetaType::QString) {
        const QString text = value.toString().trimmed();
        if (text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
            return true;
        if (text.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
            return false;
    }
    return RequireNumber(value) != 0;
}

QVariant RowReader::Value(const char* column) const
{
    return rows_.Field(QString::fromLatin1(column));
}

QVariant RowReader::Value(const char* column, const QVariant& whenNull) const
{
    return base::NullToDefault(Value(column), whenNull);
}

} // namespace records
