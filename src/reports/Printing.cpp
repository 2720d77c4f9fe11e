#include "reports/Printing.h"

#include "reports/ReportError.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace reports {

namespace {

// The database name in front of the first "." gives way to the user's.
QString Redirected(const ReportTable& table, const QString& database, const QString& reportPath)
{
    const qsizetype dot = table.location.indexOf(QLatin1Char('.'));
    if (dot < 0)
        throw ReportError(QStringLiteral("The table \"%1\" of the report \"%2\" has the location \"%3\", "
                                         "which names no database (it has no \".\").")
                              .arg(table.name, QDir::toNativeSeparators(reportPath), table.location));
    return database + table.location.mid(dot);
}

bool TakesTrailingBlank(const QString& field)
{
    return field == QLatin1String("{?@SupplierCode}") || field == QLatin1String("{?SupplierID}");
}

} // namespace

QString ReportFilePath(const QString& fileName)
{
    return ReportFilePathFrom(QCoreApplication::applicationDirPath(), fileName);
}

QString ReportFilePathFrom(const QString& programFolder, const QString& fileName)
{
    const QDir folder(programFolder);
    const QString beside = folder.filePath(fileName);
    if (QFileInfo::exists(beside))
        return beside;
    const QString installed =
        QDir::cleanPath(folder.filePath(QStringLiteral(TESSARY_DATA_FROM_PROGRAM "/%1").arg(fileName)));
    return QFileInfo::exists(installed) ? installed : beside;
}

std::shared_ptr<Report> PrintReport(const QString& path, const QStringList& values, const PrintContext& context)
{
    const qsizetype upper = values.size() - 1;
    std::shared_ptr<Report> report = Report::Open(path);
    report->SetTitle(context.hospitalCompany);
    report->SetConnectionSource(context.connection);

    for (int i = 0; i < report->TableCount(); ++i) {
        ReportTable& table = report->Table(i);
        table.location = Redirected(table, context.database, path);
        table.logon = {context.serverName, context.database, QStringLiteral("sa"), context.serverPassword};
    }

    if (values.isEmpty())
        return report;
    for (int counter = 0; counter < report->ParameterFieldCount() && counter <= upper; ++counter) {
        ParameterField& field = report->ParameterFieldAt(counter);
        const QString& value = values.at(counter);
        field.currentValues.append(TakesTrailingBlank(field.name) ? value + QLatin1Char(' ') : value);
    }
    return report;
}

} // namespace reports
