#pragma once

#include "reports/Report.h"

#include <QString>
#include <QStringList>
#include <memory>

namespace reports {

// The two request forms, found beside the program or where it is installed.
inline const QString kLongFormFile = QStringLiteral("DepartmentRequest.rpt");
inline const QString kShortFormFile = QStringLiteral("DepartmentRequest_Short.rpt");
// A report file of the running program: ReportFilePathFrom its folder.
QString ReportFilePath(const QString& fileName);
// The file beside the program (a build folder), else in the data folder of
// an installed program (bin/../share/tessary); beside the program when
// neither holds it, so that the failure names that place.
QString ReportFilePathFrom(const QString& programFolder, const QString& fileName);

// What printing takes from the session: the hospital's name for the title,
// the user component's report logon values, and the connection the report
// reads through. The caller fills it.
struct PrintContext {
    QString hospitalCompany;
    QString serverName;
    QString database;
    QString serverPassword;
    Report::ConnectionSource connection;
};

// Opens the report file and returns it, titled with the hospital's name, points every table at the user's database ("INVENTORY"
// in INVENTORY.dbo.t becomes the context's database) with the logon
// server / database / "sa" / password, and gives the parameter fields the
// values in order: values beyond the last field are unused, fields beyond
// the last value get none, and {?@SupplierCode} and {?SupplierID} get their
// value followed by one blank. Throws ReportError (missing or unreadable
// file, a table location without ".").
std::shared_ptr<Report> PrintReport(const QString& path, const QStringList& values, const PrintContext& context);

} // namespace reports
