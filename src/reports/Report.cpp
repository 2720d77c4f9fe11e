#include "reports/Report.h"

#include "db/DbError.h"
#include "db/Quote.h"
#include "reports/ReportError.h"
#include "reports/ReportFile.h"

namespace reports {

std::shared_ptr<Report> Report::Open(const QString& path)
{
    return std::make_shared<Report>(ReadReportFile(path), path);
}

Report::Report(ReportDefinition definition, QString path)
    : definition_(std::move(definition)), path_(std::move(path)), title_(definition_.title),
      tables_(definition_.tables)
{
    for (const QString& name : definition_.parameters)
        parameters_.append({name, {}});
}

QString Report::ParameterValue(const QString& name) const
{
    for (const ParameterField& field : parameters_)
        if (field.name.compare(name, Qt::CaseInsensitive) == 0)
            return field.currentValues.value(0);
    return QString();
}

QString Report::Statement() const
{
    QString sql;
    WalkTemplate(definition_.query, [&](const QString& piece) { sql += piece; }, [&](const FieldRef& ref) {
        if (ref.kind == FieldRef::Kind::Parameter) {
            sql += db::Quote(ParameterValue(ref.name));
            return;
        }
        // The reader let only declared table names through.
        for (const ReportTable& table : tables_)
            if (table.name.compare(ref.name, Qt::CaseInsensitive) == 0)
                sql += table.location;
    });
    return sql;
}

db::RowSet Report::FetchRows() const
{
    if (!connection_)
        throw ReportError(QStringLiteral("The report \"%1\" has no database connection.").arg(title_));
    try {
        return connection_().Execute(Statement());
    } catch (const db::DbError& e) {
        throw ReportError(QStringLiteral("The report \"%1\" could not read its data: %2").arg(title_, e.Description()));
    }
}

} // namespace reports
