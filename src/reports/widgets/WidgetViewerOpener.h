#pragma once

#include "reports/ViewerOpener.h"

namespace reports {

// Opens each report in a real viewer window: a top-level window of its own,
// so it outlives the screen that printed and keeps the program running
// until it is closed.
class WidgetViewerOpener : public ViewerOpener {
public:
    void ShowReportViewer(std::shared_ptr<Report> report, bool groupTree, const QString& caption) override;
};

} // namespace reports
