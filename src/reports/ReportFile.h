#pragma once

#include "reports/ReportDefinition.h"

#include <QString>
#include <functional>

namespace reports {

// Reads a report file (format described in ReportFile.cpp and in
// reports/README.md). Throws ReportError naming the file and line of the
// first fault, or why the file could not be read.
ReportDefinition ReadReportFile(const QString& path);
// The same for text already in memory; sourceName only appears in errors.
ReportDefinition ParseReportText(const QString& text, const QString& sourceName);

// A {field} of a template or query, split into its parts.
struct FieldRef {
    enum class Kind { Parameter, Column, Sum, Count, Row, Title, Page, Pages };
    Kind kind = Kind::Column;
    QString name;     // parameter: the whole "{?...}"; column and sum: the column
    QString format;   // after the first ":", empty when none
};

FieldRef ParseFieldRef(const QString& inner);

// Calls piece(text) for every literal run and field(ref) for every {field}
// of a template, in order. An unclosed "{" is literal text.
void WalkTemplate(const QString& text, const std::function<void(const QString&)>& piece,
                  const std::function<void(const FieldRef&)>& field);

} // namespace reports
