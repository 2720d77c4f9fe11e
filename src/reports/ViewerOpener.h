#pragma once

#include <QString>
#include <memory>

namespace reports {

class Report;

// Opens a viewer window on a printed report. Screens print through it so
// their logic needs no window; the widgets side opens a real viewer and
// tests record the call.
class ViewerOpener {
public:
    virtual ~ViewerOpener() = default;
    // Throws ReportError when the report cannot be shown.
    virtual void ShowReportViewer(std::shared_ptr<Report> report, bool groupTree, const QString& caption) = 0;
};

} // namespace reports
