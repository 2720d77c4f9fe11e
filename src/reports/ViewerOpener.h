#pragma once

#include <QString>

namespace reports {

// Opens a viewer window on the current report. Screens print through it so
// their logic needs no window; the widgets side opens a real viewer and
// tests record the call.
class ViewerOpener {
public:
    virtual ~ViewerOpener() = default;
    // Throws ReportError when the report cannot be shown.
    virtual void ShowReportViewer(bool groupTree, const QString& caption) = 0;
};

} // namespace reports
