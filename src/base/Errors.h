#pragma once

#include <QString>
#include <QVariant>
#include <QtGlobal>
#include <stdexcept>

namespace base {

// The object-error base that record errors are numbered from.
constexpr qint32 kObjectErrorBase = -2147221504; // 0x80040000
// The code that every record class raises.
constexpr qint32 kRecordErrorCode = 9999;

// An application error raised by the record classes: its number is the
// object-error base plus the code, its source names the failing member (for
// example "clsItem:OnHand Property Get").
class RecordError : public std::runtime_error {
public:
    RecordError(qint32 number, QString source, QString description)
        : std::runtime_error(description.toStdString()),
          number_(number), source_(std::move(source)), description_(std::move(description)) {}
    qint32 Number() const { return number_; }
    const QString& Source() const { return source_; }
    const QString& Description() const { return description_; }

private:
    qint32 number_;
    QString source_;
    QString description_;
};

// The default when a column value is null, else the value unchanged.
QVariant NullToDefault(const QVariant& value, const QVariant& defaultValue);

// Throws the RecordError for the code; a code below -262144, whose number
// would not fit in 32 bits, throws std::overflow_error instead.
[[noreturn]] void RaiseRecordError(qint32 code, const QString& source);

// The text registered for a code. The message table is empty, so every code
// gives the unknown-error text.
QString GetErrorText(qint32 code);

} // namespace base
