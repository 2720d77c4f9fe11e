#pragma once

#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <QVector>

// What a report file declares, as the reader found it. Lengths are in
// millimetres, font sizes in points.
namespace reports {

// Where the report engine would log on for a table. Our reports read through
// the program's own connection; the logon is kept so that a report redirected
// to another database says where it points.
struct Logon {
    QString server;
    QString database;
    QString user;
    QString password;
};

struct ReportTable {
    QString name;       // how the query refers to it: {Name}
    QString location;   // database.owner.table, e.g. INVENTORY.dbo.tbInvMaster
    Logon logon;
};

// A font as a description only: no QFont, so that a report can be laid out
// where no GUI application exists.
struct FontSpec {
    QString family;
    double pointSize = 9.0;
    bool bold = false;
    bool italic = false;

    friend bool operator==(const FontSpec&, const FontSpec&) = default;
};

enum class ElementKind { Text, Line, Box };

// One thing drawn in a band. For a line, rect holds its two end points
// (topLeft to bottomRight, which need not be normalised).
struct Element {
    ElementKind kind = ElementKind::Text;
    QRectF rect;
    QString text;                  // template with {fields}
    FontSpec font;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
    bool wrap = false;
    bool frame = false;            // text: a box around its rectangle
    bool fill = false;             // box or framed text: light grey background
    double penWidth = 0.2;
};

// A horizontal strip of the page: fixed height, elements placed in it
// relative to its top left corner.
struct Band {
    double height = 0.0;
    QVector<Element> elements;

    bool IsEmpty() const { return height <= 0.0 && elements.isEmpty(); }
};

enum class GridStyle { Cells, Rules, None };

struct Column {
    QString header;
    double width = 20.0;
    Qt::Alignment alignment = Qt::AlignLeft;
    QString value;     // template, evaluated per row
    QString total;     // template for the totals row; empty leaves the cell blank
    Qt::Alignment totalAlignment = Qt::AlignLeft;  // the column's own unless set
    bool wrap = false; // the row grows to hold the wrapped text
};

struct LinesSpec {
    FontSpec font;
    FontSpec headerFont;
    double headerHeight = 7.0;
    double rowHeight = 5.5;
    double totalHeight = 7.0;
    double gapAfter = 4.0;   // space between the lines (or totals) and the footer
    GridStyle grid = GridStyle::Cells;
};

struct PageSetup {
    QPageSize::PageSizeId size = QPageSize::Letter;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QMarginsF margins{12.0, 12.0, 12.0, 12.0};
    FontSpec font{QStringLiteral("Helvetica"), 9.0, false, false};

    // The sheet in millimetres, turned for landscape.
    QSizeF SizeMm() const;
    double ContentWidth() const { return SizeMm().width() - margins.left() - margins.right(); }
};

struct ReportDefinition {
    QString title;
    PageSetup page;
    QVector<ReportTable> tables;
    QStringList parameters;   // field names such as {?@DocumentNumber}, in order
    QString query;            // T-SQL with {Table} and {?Parameter} placeholders
    Band pageHeader;          // top of every page
    Band header;              // first page, below the page header
    LinesSpec lines;
    QVector<Column> columns;  // the lines table; none means the report has no lines
    Band footer;              // once, after the lines and totals
    Band pageFooter;          // bottom of every page

    bool HasTotals() const;
};

} // namespace reports
