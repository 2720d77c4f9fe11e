#include "admin/SqlCommand.h"

#include "admin/AdminError.h"

#include "base/Texts.h"

#include <QDateTime>

namespace admin {

QString FormatValue(const QVariant& value)
{
    if (value.isNull())
        return QStringLiteral("NULL");
    switch (value.typeId()) {
    case QMetaType::QDateTime:
        return value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    case QMetaType::QDate:
        return value.toDate().toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(" 00:00:00");
    case QMetaType::Double:
    case QMetaType::Float:
        return base::PlainNumber(value.toDouble());
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    default:
        return value.toString();
    }
}

QString FormatRows(const db::RowSet& rows)
{
    if (rows.ColumnCount() == 0)
        return {};
    const QChar tab = QLatin1Char('\t');
    QString text = rows.Columns().join(tab) + QLatin1Char('\n');
    for (const db::RowSet::Row& row : rows.Rows()) {
        QStringList values;
        for (const QVariant& value : row)
            values << FormatValue(value);
        text += values.join(tab) + QLatin1Char('\n');
    }
    return text;
}

QString RunStatement(db::Connection& connection, const QString& statement)
{
    if (statement.trimmed().isEmpty())
        throw AdminError(QStringLiteral("The statement is empty: give the SQL statement to run."));
    return FormatRows(connection.Execute(statement));
}

} // namespace admin
