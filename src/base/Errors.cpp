#include "base/Errors.h"

#include <limits>

namespace base {

QVariant NullToDefault(const QVariant& value, const QVariant& defaultValue)
{
    return value.isNull() ? defaultValue : value;
}

void RaiseRecordError(qint32 code, const QString& source)
{
    const qint64 number = qint64(kObjectErrorBase) + code;
    if (number < std::numeric_limits<qint32>::min() || number > std::numeric_limits<qint32>::max())
        throw std::overflow_error("Overflow");
    throw RecordError(qint32(number), source, GetErrorText(code));
}

QString GetErrorText(qint32)
{
    return QStringLiteral("An unknown error has occurred!");
}

} // namespace base
