#include "reports/Printing.h"

#include "app/CurrentUser.h"
#include "app/SessionContext.h"
#include "reports/ReportError.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace reports {

namespace {

std::shared_ptr<Report>& CurrentSlot()
{
    static std::shared_ptr<Report> current;
    return current;
}

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

PrintContext PrintContext::FromSession()
{
    return FromSession(app::Session());
}

PrintContext PrintContext::FromSession(const app::SessionContext& session)
{
    const app::CurrentUser* user = session.currentUser;
    if (!user)
        throw ReportError(QStringLiteral("No user is logged in, so no report can be printed."));
    PrintContext context;
    context.hospitalCompany = session.HospitalCompany;
    context.serverName = user->ServerName();
    context.database = user->Database();
    context.serverPassword = user->ServerPassword();
    // Asked at the moment of use, like every other reader of the connection.
    context.connection = [&session]() -> db::Connection& {
        const app::CurrentUser* current = session.currentUser;
        if (!current)
            throw ReportError(QStringLiteral("No user is logged in, so the report cannot read its data."));
        return current->sqlconnection();
    };
    return context;
}

void PrintReport(const QString& path, const QStringList& values, const PrintContext& context)
{
    const qsizetype upper = values.size() - 1;
    std::shared_ptr<Report> report = Report::Open(path);
    CurrentSlot() = report;
    report->SetTitle(context.hospitalCompany);
    report->SetConnectionSource(context.connection);

    for (int i = 0; i < report->TableCount(); ++i) {
        ReportTable& table = report->Table(i);
        table.location = Redirected(table, context.database, path);
        table.logon = {context.serverName, context.database, QStringLiteral("sa"), context.serverPassword};
    }

    if (values.isEmpty())
        return;
    for (int counter = 0; counter < report->ParameterFieldCount() && counter <= upper; ++counter) {
        ParameterField& field = report->ParameterFieldAt(counter);
        const QString& value = values.at(counter);
        field.currentValues.append(TakesTrailingBlank(field.name) ? value + QLatin1Char(' ') : value);
    }
}

void PrintReport(const QString& path, const QStringList& values)
{
    PrintReport(path, values, PrintContext::FromSession());
}

std::shared_ptr<Report> CurrentReport()
{
    return CurrentSlot();
}

void ReleaseCurrentReport()
{
    CurrentSlot().reset();
}

} // namespace reports
