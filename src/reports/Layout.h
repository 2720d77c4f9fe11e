#pragma once

#include "db/RowSet.h"
#include "reports/Document.h"
#include "reports/Report.h"

namespace reports {

// Lays the report out on pages over the given rows: the page header on
// every page, the header on the first, the lines table (its column headings
// repeated on every page it runs onto), the totals, the footer (kept whole,
// on a new page when it does not fit) and the page footer with page numbers.
// Throws ReportError when a template names a column the rows do not have.
Document LayOut(const Report& report, const db::RowSet& rows);

// Runs the report's query on its connection and lays out the result.
// Throws ReportError.
Document RunReport(const Report& report);

} // namespace reports
