#include "reports/widgets/WidgetViewerOpener.h"

#include "reports/widgets/ReportViewer.h"

namespace reports {

void WidgetViewerOpener::ShowReportViewer(std::shared_ptr<Report> report, bool groupTree, const QString& caption)
{
    reports::ShowReportViewer(std::move(report), groupTree, caption);
}

} // namespace reports
