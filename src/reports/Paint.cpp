#include "reports/Paint.h"

#include "reports/Layout.h"
#include "reports/ReportError.h"
#include "reports/TextMetrics.h"

#include <QDir>
#include <QFontMetricsF>
#include <QFileInfo>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QTextOption>
#include <cmath>

namespace reports {

namespace {

const QColor kFill(230, 230, 230);

void RequireFonts()
{
    if (!CanUseFonts())
        throw ReportError(QStringLiteral("Reports can only be painted by a program with a graphical application object."));
}

QRectF Scaled(const QRectF& mm, double dotsPerMm)
{
    return QRectF(mm.x() * dotsPerMm, mm.y() * dotsPerMm, mm.width() * dotsPerMm, mm.height() * dotsPerMm);
}

QPen Pen(double widthMm, double dotsPerMm)
{
    QPen pen(Qt::black, std::max(widthMm * dotsPerMm, 1.0));
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    return pen;
}

void PaintText(QPainter& painter, const DrawItem& item, double dotsPerMm)
{
    const QRectF rect = Scaled(item.rect, dotsPerMm);
    painter.save();
    painter.setFont(ToQFont(item.font));
    painter.setPen(Qt::black);
    painter.setClipRect(rect.adjusted(-1, -1, 1, 1));
    QTextOption option(item.alignment);
    option.setWrapMode(item.wrap ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::NoWrap);
    // A single line too long for its place ends in an ellipsis rather than
    // being cut off in the middle of a letter.
    const QString text = item.wrap ? item.text
                                   : QFontMetricsF(painter.font(), painter.device())
                                         .elidedText(item.text, Qt::ElideRight, rect.width());
    painter.drawText(rect, text, option);
    painter.restore();
}

} // namespace

void PaintPage(QPainter& painter, const Page& page, double dotsPerMm)
{
    RequireFonts();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    // Backgrounds first, then rules and frames, then the texts above them.
    for (const DrawItem& item : page.items)
        if (item.kind == DrawItem::Kind::Box && item.fill)
            painter.fillRect(Scaled(item.rect, dotsPerMm), kFill);
    painter.setBrush(Qt::NoBrush);
    for (const DrawItem& item : page.items) {
        if (item.kind == DrawItem::Kind::Text)
            continue;
        painter.setPen(Pen(item.penWidth, dotsPerMm));
        if (item.kind == DrawItem::Kind::Line)
            painter.drawLine(item.rect.topLeft() * dotsPerMm, item.rect.bottomRight() * dotsPerMm);
        else
            painter.drawRect(Scaled(item.rect, dotsPerMm));
    }
    for (const DrawItem& item : page.items)
        if (item.kind == DrawItem::Kind::Text)
            PaintText(painter, item, dotsPerMm);
    painter.restore();
}

void PaintDocument(const Document& document, QPagedPaintDevice& device, int firstPage, int lastPage)
{
    RequireFonts();
    const int first = std::max(firstPage, 1);
    const int last = lastPage <= 0 ? int(document.pages.size()) : std::min(lastPage, int(document.pages.size()));
    QPainter painter;
    if (!painter.begin(&device))
        throw ReportError(QStringLiteral("The report \"%1\" cannot be printed: the printer or file did not open.")
                              .arg(document.title));
    const double dotsPerMm = device.logicalDpiX() / 25.4;
    for (int page = first; page <= last; ++page) {
        if (page > first)
            device.newPage();
        PaintPage(painter, document.pages.at(page - 1), dotsPerMm);
    }
    painter.end();
}

QImage RenderPage(const Document& document, int pageIndex, double dpi)
{
    RequireFonts();
    const double dotsPerMm = dpi / 25.4;
    QImage image(std::max(1, int(std::lround(document.sizeMm.width() * dotsPerMm))),
                 std::max(1, int(std::lround(document.sizeMm.height() * dotsPerMm))), QImage::Format_RGB32);
    const int dotsPerMeter = int(std::lround(dpi / 0.0254));
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(Qt::white);
    QPainter painter(&image);
    PaintPage(painter, document.pages.at(pageIndex), dotsPerMm);
    return image;
}

void ExportPdf(const Document& document, const QString& file)
{
    RequireFonts();
    {
        QPdfWriter writer(file);
        writer.setTitle(document.title);
        writer.setCreator(QStringLiteral("Tessary"));
        writer.setPageLayout(document.PageLayout());
        PaintDocument(document, writer);
    }
    if (QFileInfo(file).size() <= 0)
        throw ReportError(QStringLiteral("The PDF file \"%1\" could not be written.").arg(QDir::toNativeSeparators(file)));
}

void ExportPdf(const Report& report, const QString& file)
{
    ExportPdf(RunReport(report), file);
}

} // namespace reports
