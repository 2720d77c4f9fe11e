#pragma once

#include "reports/Document.h"

#include <QImage>
#include <QString>

class QPagedPaintDevice;
class QPainter;

namespace reports {

class Report;

// Painting needs fonts, hence a GUI application (the offscreen platform will
// do); without one these throw ReportError instead of aborting.

// Paints one page with the painter's origin at the sheet's top left corner.
void PaintPage(QPainter& painter, const Page& page, double dotsPerMm);

// Paints pages first..last (counting from 1; 0 for last means to the end) on
// a printer or PDF writer whose page layout the caller has set, normally to
// document.PageLayout() with the printer in full-page mode.
void PaintDocument(const Document& document, QPagedPaintDevice& device, int firstPage = 1, int lastPage = 0);

// One page as a white image at the given resolution (dots per inch).
QImage RenderPage(const Document& document, int pageIndex, double dpi);

// Writes the laid-out report, or runs the report and writes it, as a PDF.
void ExportPdf(const Document& document, const QString& file);
void ExportPdf(const Report& report, const QString& file);

} // namespace reports
