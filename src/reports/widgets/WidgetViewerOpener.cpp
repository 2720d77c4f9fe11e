#include "reports/widgets/WidgetViewerOpener.h"

#include "reports/widgets/ReportViewer.h"

namespace reports {

void WidgetViewerOpener::ShowReportViewer(bool groupTree, const QString& caption)
{
    reports::ShowReportViewer(groupTree, caption);
}

} // namespace reports
