#include "reports/Layout.h"

#include "base/Texts.h"
#include "reports/ReportError.h"
#include "reports/ReportFile.h"
#include "reports/TextMetrics.h"

#include <QDateTime>
#include <QLocale>
#include <QRegularExpression>
#include <algorithm>

namespace reports {

namespace {

constexpr double kCellPaddingX = 1.2;
constexpr double kCellPaddingY = 0.8;
constexpr double kGridPen = 0.2;
constexpr double kRulePen = 0.1;
constexpr double kHeaderRulePen = 0.3;

bool IsNumberPattern(const QString& format)
{
    static const QRegularExpression pattern(QStringLiteral(R"(^[#0,]+(\.[#0]+)?$)"));
    return pattern.match(format).hasMatch();
}

double ToDouble(const QVariant& value)
{
    if (value.isNull())
        return 0.0;
    bool ok = false;
    const double d = value.toDouble(&ok);
    return ok ? d : base::Val(value.toString());
}

QDateTime ToDateTime(const QVariant& value)
{
    if (value.metaType().id() == QMetaType::QDateTime || value.metaType().id() == QMetaType::QDate)
        return value.toDateTime();
    const QString text = value.toString().trimmed();
    if (const std::optional<QDateTime> parsed = base::ParseDateTime(text))
        return *parsed;
    return QDateTime::fromString(text, Qt::ISODate);
}

QString Formatted(const QVariant& value, const QString& format)
{
    if (value.isNull())
        return QString();
    if (format.isEmpty()) {
        if (value.metaType().id() == QMetaType::QDateTime) {
            const QDateTime dt = value.toDateTime();
            return dt.isValid() ? base::FormatDateTime(dt) : QString();
        }
        return value.toString();
    }
    if (IsNumberPattern(format))
        return base::FormatNumber(ToDouble(value), format);
    const QDateTime dt = ToDateTime(value);
    if (!dt.isValid())
        return value.toString();
    if (format.compare(QLatin1String("datetime"), Qt::CaseInsensitive) == 0)
        return base::FormatDateTime(dt);
    return QLocale::c().toString(dt, format);
}

class Layouter {
public:
    Layouter(const Report& report, const db::RowSet& rows)
        : report_(report), def_(report.Definition()), rows_(rows), sheet_(def_.page.SizeMm()),
          left_(def_.page.margins.left()),
          bottom_(sheet_.height() - def_.page.margins.bottom() - def_.pageFooter.height) {}

    Document Run();

private:
    struct PlacedBand {
        const Band* band;
        int page;
        double top;
    };

    QString Expand(const QString& text, int row, int page = 0) const;
    QString FieldText(const FieldRef& ref, int row, int page) const;
    int ColumnOf(const QString& name) const;

    void NewPage(bool columnHeadings);
    void PlaceBand(const Band& band);
    void EmitBand(const PlacedBand& placed);
    void ColumnHeadings();
    void LineRow(int row);
    void Totals();
    double RowHeight(const QStringList& cells) const;
    void Cell(double x, double top, double width, double height, const QString& text, const FontSpec& font,
              Qt::Alignment alignment, bool wrap, bool box, bool fill = false);
    void Add(DrawItem item) { pages_.last().items.append(std::move(item)); }
    void Rule(double top, double pen);

    const Report& report_;
    const ReportDefinition& def_;
    const db::RowSet& rows_;
    const QSizeF sheet_;
    const double left_;
    const double bottom_;

    QVector<Page> pages_;
    QVector<PlacedBand> bands_;
    double y_ = 0;
    bool bodyOnPage_ = false;   // lines or totals on the current page
    double bodyTop_ = 0;        // where the current page's page header ends
};

int Layouter::ColumnOf(const QString& name) const
{
    const int index = rows_.ColumnIndex(name);
    // An empty result from some drivers carries no column names; its fields
    // print empty rather than failing.
    if (index < 0 && rows_.ColumnCount() > 0)
        throw ReportError(QStringLiteral("The report \"%1\" uses the field {%2}, which its query does not return.")
                              .arg(report_.Title(), name));
    return index;
}

QString Layouter::FieldText(const FieldRef& ref, int row, int page) const
{
    switch (ref.kind) {
    case FieldRef::Kind::Parameter:
        return report_.ParameterValue(ref.name);
    case FieldRef::Kind::Column: {
        const int column = ColumnOf(ref.name);
        const int r = std::max(row, 0);
        if (column < 0 || r >= rows_.RecordCount())
            return QString();
        return Formatted(rows_.RowAt(r).value(column), ref.format);
    }
    case FieldRef::Kind::Sum: {
        const int column = ColumnOf(ref.name);
        double sum = 0;
        for (int r = 0; column >= 0 && r < rows_.RecordCount(); ++r)
            sum += ToDouble(rows_.RowAt(r).value(column));
        return Formatted(sum, ref.format);
    }
    case FieldRef::Kind::Count:
        return QString::number(rows_.RecordCount());
    case FieldRef::Kind::Row:
        return row >= 0 ? QString::number(row + 1) : QString();
    case FieldRef::Kind::Title:
        return report_.Title();
    case FieldRef::Kind::Page:
        return QString::number(page + 1);
    case FieldRef::Kind::Pages:
        return QString::number(pages_.size());
    }
    return QString();
}

QString Layouter::Expand(const QString& text, int row, int page) const
{
    QString out;
    WalkTemplate(text, [&](const QString& piece) { out += piece; },
                 [&](const FieldRef& ref) { out += FieldText(ref, row, page); });
    return out;
}

void Layouter::Rule(double top, double pen)
{
    DrawItem line;
    line.kind = DrawItem::Kind::Line;
    line.rect = QRectF(QPointF(left_, top), QPointF(left_ + def_.page.ContentWidth(), top));
    line.penWidth = pen;
    Add(line);
}

void Layouter::Cell(double x, double top, double width, double height, const QString& text, const FontSpec& font,
                    Qt::Alignment alignment, bool wrap, bool box, bool fill)
{
    if (box) {
        DrawItem frame;
        frame.kind = DrawItem::Kind::Box;
        frame.rect = QRectF(x, top, width, height);
        frame.penWidth = kGridPen;
        frame.fill = fill;
        Add(frame);
    }
    if (text.isEmpty())
        return;
    DrawItem item;
    item.kind = DrawItem::Kind::Text;
    item.rect = QRectF(x + kCellPaddingX, top + kCellPaddingY, width - 2 * kCellPaddingX, height - 2 * kCellPaddingY);
    item.text = text;
    item.font = font;
    item.alignment = alignment | Qt::AlignVCenter;
    item.wrap = wrap;
    Add(item);
}

double Layouter::RowHeight(const QStringList& cells) const
{
    double height = def_.lines.rowHeight;
    for (int c = 0; c < def_.columns.size(); ++c) {
        const Column& column = def_.columns.at(c);
        if (!column.wrap)
            continue;
        const int lines = WrappedLineCount(def_.lines.font, cells.at(c), column.width - 2 * kCellPaddingX);
        height = std::max(height, lines * LineHeightMm(def_.lines.font) + 2 * kCellPaddingY);
    }
    return height;
}

void Layouter::ColumnHeadings()
{
    const LinesSpec& lines = def_.lines;
    const bool cells = lines.grid == GridStyle::Cells;
    double x = left_;
    for (const Column& column : def_.columns) {
        Cell(x, y_, column.width, lines.headerHeight, column.header, lines.headerFont, column.alignment, true, cells, cells);
        x += column.width;
    }
    if (lines.grid == GridStyle::Rules) {
        Rule(y_, kHeaderRulePen);
        Rule(y_ + lines.headerHeight, kHeaderRulePen);
    }
    y_ += lines.headerHeight;
}

void Layouter::LineRow(int row)
{
    QStringList texts;
    for (const Column& column : def_.columns)
        texts.append(Expand(column.value, row));
    const double height = RowHeight(texts);
    // The last line goes with the totals, so they never stand alone under
    // a page of headings.
    const bool last = row == rows_.RecordCount() - 1;
    const double needed = height + (last && def_.HasTotals() ? def_.lines.totalHeight : 0.0);
    if (y_ + needed > bottom_ && bodyOnPage_)
        NewPage(true);

    const bool cells = def_.lines.grid == GridStyle::Cells;
    double x = left_;
    for (int c = 0; c < def_.columns.size(); ++c) {
        const Column& column = def_.columns.at(c);
        Cell(x, y_, column.width, height, texts.at(c), def_.lines.font, column.alignment, column.wrap, cells);
        x += column.width;
    }
    if (def_.lines.grid == GridStyle::Rules)
        Rule(y_ + height, kRulePen);
    y_ += height;
    bodyOnPage_ = true;
}

void Layouter::Totals()
{
    const LinesSpec& lines = def_.lines;
    if (y_ + lines.totalHeight > bottom_ && bodyOnPage_)
        NewPage(true);
    FontSpec font = lines.font;
    font.bold = true;
    const bool cells = lines.grid == GridStyle::Cells;
    double x = left_;
    for (const Column& column : def_.columns) {
        const QString text = Expand(column.total, -1);
        Cell(x, y_, column.width, lines.totalHeight, text, font, column.totalAlignment, false, cells && !column.total.isEmpty());
        x += column.width;
    }
    if (lines.grid == GridStyle::Rules)
        Rule(y_, kHeaderRulePen);
    y_ += lines.totalHeight;
    bodyOnPage_ = true;
}

void Layouter::PlaceBand(const Band& band)
{
    if (band.IsEmpty())
        return;
    bands_.append({&band, int(pages_.size()) - 1, y_});
    y_ += band.height;
}

void Layouter::NewPage(bool columnHeadings)
{
    pages_.append(Page{});
    y_ = def_.page.margins.top();
    bodyOnPage_ = false;
    PlaceBand(def_.pageHeader);
    bodyTop_ = y_;
    if (pages_.size() == 1)
        PlaceBand(def_.header);
    if (columnHeadings && !def_.columns.isEmpty())
        ColumnHeadings();
}

// Bands are drawn once the page count is known, since any of them may show it.
void Layouter::EmitBand(const PlacedBand& placed)
{
    QVector<DrawItem>& items = pages_[placed.page].items;
    const QPointF origin(left_, placed.top);
    for (const Element& e : placed.band->elements) {
        DrawItem item;
        item.penWidth = e.penWidth;
        item.fill = e.fill;
        if (e.kind == ElementKind::Line) {
            item.kind = DrawItem::Kind::Line;
            item.rect = QRectF(e.rect.topLeft() + origin, e.rect.bottomRight() + origin);
            items.append(item);
            continue;
        }
        const QRectF rect = e.rect.translated(origin);
        if (e.kind == ElementKind::Box || e.frame) {
            item.kind = DrawItem::Kind::Box;
            item.rect = rect;
            items.append(item);
        }
        if (e.kind != ElementKind::Text)
            continue;
        DrawItem text;
        text.kind = DrawItem::Kind::Text;
        text.text = Expand(e.text, -1, placed.page);
        text.rect = e.frame ? rect.adjusted(kCellPaddingX, 0, -kCellPaddingX, 0) : rect;
        text.font = e.font;
        text.alignment = e.alignment;
        text.wrap = e.wrap;
        if (!text.text.isEmpty())
            items.append(text);
    }
}

Document Layouter::Run()
{
    NewPage(true);
    if (!def_.columns.isEmpty()) {
        for (int row = 0; row < rows_.RecordCount(); ++row)
            LineRow(row);
        if (def_.HasTotals())
            Totals();
        y_ += def_.lines.gapAfter;
    }
    if (!def_.footer.IsEmpty()) {
        // A new page helps unless this one holds nothing but its page header.
        if (y_ + def_.footer.height > bottom_ && y_ > bodyTop_ + 0.01)
            NewPage(false);
        PlaceBand(def_.footer);
    }
    if (!def_.pageFooter.IsEmpty())
        for (int page = 0; page < pages_.size(); ++page)
            bands_.append({&def_.pageFooter, page, bottom_});

    for (const PlacedBand& placed : bands_)
        EmitBand(placed);

    Document document;
    document.title = report_.Title();
    document.pageSize = def_.page.size;
    document.orientation = def_.page.orientation;
    document.sizeMm = sheet_;
    document.pages = pages_;
    return document;
}

} // namespace

QStringList Page::Texts() const
{
    QStringList texts;
    for (const DrawItem& item : items)
        if (item.kind == DrawItem::Kind::Text)
            texts.append(item.text);
    return texts;
}

QPageLayout Document::PageLayout() const
{
    return QPageLayout(QPageSize(pageSize), orientation, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

QStringList Document::Texts() const
{
    QStringList texts;
    for (const Page& page : pages)
        texts += page.Texts();
    return texts;
}

Document LayOut(const Report& report, const db::RowSet& rows)
{
    return Layouter(report, rows).Run();
}

Document RunReport(const Report& report)
{
    return LayOut(report, report.FetchRows());
}

} // namespace reports
