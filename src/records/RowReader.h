#pragma once

#include "base/Texts.h"
#include "db/RowSet.h"

#include <QDateTime>
#include <QString>
#include <QVariant>
#include <stdexcept>

namespace records {

// A column value that cannot become the member's type: a null where the
// member has no default ("Invalid use of Null"), a text that is no number
// or date ("Type mismatch"), a number too large for the member ("Overflow").
class ConversionError : public std::runtime_error {
public:
    explicit ConversionError(const QString& description)
        : std::runtime_error(description.toStdString()), description_(description) {}
    const QString& Description() const { return description_; }

private:
    QString description_;
};

// Conversions of one column value to a member's type. A null fails; the
// reader below turns nulls into defaults first where the member has one.
QString ToText(const QVariant& value);
qint16 ToInt16(const QVariant& value);
double ToDouble(const QVariant& value);
base::Money ToMoney(const QVariant& value);
QDateTime ToDate(const QVariant& value);
bool ToFlag(const QVariant& value);

// Reads the current row of a result into members. Each read names the
// column; the overload with a second argument is a nullable column, whose
// null gives that default (through NullToDefault), and the one without it
// fails on a null. A column missing from the row throws db::DbError.
class RowReader {
public:
    explicit RowReader(const db::RowSet& rows) : rows_(rows) {}

    QString Text(const char* column) const { return ToText(Value(column)); }
    QString Text(const char* column, const QString& whenNull) const { return ToText(Value(column, whenNull)); }
    qint16 Int16(const char* column) const { return ToInt16(Value(column)); }
    qint16 Int16(const char* column, qint16 whenNull) const { return ToInt16(Value(column, whenNull)); }
    double Double(const char* column) const { return ToDouble(Value(column)); }
    double Double(const char* column, double whenNull) const { return ToDouble(Value(column, whenNull)); }
    base::Money Money(const char* column) const { return ToMoney(Value(column)); }
    base::Money Money(const char* column, base::Money whenNull) const
    {
        return ToMoney(Value(column, whenNull.ToDouble()));
    }
    QDateTime Date(const char* column) const { return ToDate(Value(column)); }
    QDateTime Date(const char* column, const QDateTime& whenNull) const { return ToDate(Value(column, whenNull)); }
    bool Flag(const char* column) const { return ToFlag(Value(column)); }
    bool Flag(const char* column, bool whenNull) const { return ToFlag(Value(column, whenNull)); }

private:
    QVariant Value(const char* column) const;
    QVariant Value(const char* column, const QVariant& whenNull) const;

    const db::RowSet& rows_;
};

} // namespace records
