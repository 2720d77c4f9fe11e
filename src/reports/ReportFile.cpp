// Report files
// ============
//
// A report file is UTF-8 text made of sections. A line "[Name]" starts a
// section. Elsewhere than in [Query], blank lines and lines whose first
// non-blank character is ";" or "#" are ignored, and every other line is
// "Key = Value" (blanks around both dropped, keys compared without case).
//
// [Report]      once: Title = text (the program replaces it when printing)
//                     Page = A4 | A5 | Letter | Legal, then Portrait | Landscape
//                     Margins = left top right bottom (mm)
//                     FontFamily = name, FontSize = points (the default font)
// [Table]       once per database table, in the report's order:
//                     Name = the word by which the query names it, as {Name}
//                     Location = database.owner.table, e.g. INVENTORY.dbo.tbInvMaster
//                     Server, Database, User, Password = the logon (empty in
//                     the file: the program sets it before the report runs)
// [Parameters]  one field name per line, in order, each written {?Name}
//               (the program's own are {?@Name}).
// [Query]       one T-SQL statement, verbatim up to the next section line.
//               {Name} stands for the location of the table declared as Name,
//               so redirecting a table redirects the query; {?Field} stands for
//               the first current value of that parameter field as a quoted
//               text value. Braces mean nothing else in a query.
// [PageHeader]  bands: Height = mm, and any number of elements
// [Header]            Text = x y w h | options | template
// [Footer]            Line = x1 y1 x2 y2 | pen width
// [PageFooter]        Box  = x y w h | pen width [fill]
//               Positions are mm from the band's top left corner, which lies on
//               the left margin. The page header tops every page, the header
//               follows it on the first page only, the footer follows the lines
//               once (on a new page when it does not fit), the page footer sits
//               on the bottom margin of every page.
//               Text options, in any order, "-" for none: left center right,
//               top middle bottom, bold italic, wrap, frame, fill, and a number:
//               the size in points.
// [Lines]       the table of the query's rows: FontSize, HeaderFontSize,
//               HeaderHeight, RowHeight, TotalHeight, GapAfter (mm),
//               Grid = cells | rules | none
// [Column]      once per column of that table, left to right: Header = text,
//               Width = mm, Align = left | center | right, Value = template,
//               Total = template for the totals row (optional), TotalAlign =
//               left | center | right (the column's when not given),
//               Wrap = yes | no (the row grows to hold the wrapped value).
//
// Templates are text with fields in braces:
//   {?Field}              current value of a parameter field
//   {Column}              a column of the query's result: the row's in the
//                         lines, the first row's elsewhere (empty without rows)
//   {Column:format}       the same formatted: a number pattern of # 0 , . such
//                         as ###,##0.00; "datetime" for the program's date-time
//                         text; or a date pattern such as MM/dd/yyyy
//   {Sum(Column):format}  the column's sum over all rows
//   {Count}, {Row}        the number of rows; the row's number in the lines
//   {Title}, {Page}, {Pages}  the report's title; this page; the page count
// Count, Row, Title, Page and Pages are therefore not usable as column names.

#include "reports/ReportFile.h"

#include "reports/ReportError.h"

#include <QFile>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

namespace reports {

namespace {

struct SourceLine {
    int number = 0;
    QString text;
};

struct Section {
    QString name;
    int number = 0;
    QVector<SourceLine> lines;
};

class Reader {
public:
    Reader(QString sourceName) : source_(std::move(sourceName)) {}

    ReportDefinition Read(const QString& text);

private:
    [[noreturn]] void Fail(int line, const QString& what) const
    {
        throw ReportError(QStringLiteral("Report file \"%1\", line %2: %3").arg(source_).arg(line).arg(what));
    }

    QVector<Section> SplitSections(const QString& text) const;
    static bool IsComment(const QString& trimmed)
    {
        return trimmed.isEmpty() || trimmed.startsWith(QLatin1Char(';')) || trimmed.startsWith(QLatin1Char('#'));
    }

    // Calls apply(key, value, line) for every "Key = Value" line of a section.
    template <typename Apply>
    void ForEachEntry(const Section& section, Apply apply) const
    {
        for (const SourceLine& line : section.lines) {
            const QString trimmed = line.text.trimmed();
            if (IsComment(trimmed))
                continue;
            const qsizetype eq = trimmed.indexOf(QLatin1Char('='));
            if (eq <= 0)
                Fail(line.number, QStringLiteral("expected \"Key = Value\" in [%1].").arg(section.name));
            apply(trimmed.left(eq).trimmed().toLower(), trimmed.mid(eq + 1).trimmed(), line.number);
        }
    }

    double Number(const QString& text, int line) const;
    QVector<double> Numbers(const QString& text, int count, int line) const;
    bool YesNo(const QString& text, int line) const;
    Qt::Alignment Horizontal(const QString& text, int line) const;

    void ReadReport(const Section& section, ReportDefinition& report) const;
    void ReadTable(const Section& section, ReportDefinition& report) const;
    void ReadParameters(const Section& section, ReportDefinition& report) const;
    static QString ReadQuery(const Section& section);
    Band ReadBand(const Section& section, const FontSpec& font) const;
    Element ReadText(const QString& value, const FontSpec& font, int line) const;
    Element ReadShape(ElementKind kind, const QString& value, int line) const;
    void ReadLines(const Section& section, ReportDefinition& report) const;
    Column ReadColumn(const Section& section) const;

    void Check(const ReportDefinition& report) const;
    void CheckQuery(const ReportDefinition& report, int line) const;
    void CheckTemplate(const ReportDefinition& report, const QString& text, int line) const;

    QString source_;
    // Template text -> a line it came from, checked once the parameter
    // fields are all known (they may be declared after the bands).
    mutable QHash<QString, int> templateLines_;
    int queryLine_ = 0;
};

QVector<Section> Reader::SplitSections(const QString& text) const
{
    static const QRegularExpression header(QStringLiteral(R"(^\s*\[([A-Za-z]+)\]\s*$)"));
    QVector<Section> sections;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        QString line = lines.at(i);
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        const QRegularExpressionMatch m = header.match(line);
        if (m.hasMatch()) {
            sections.append({m.captured(1), i + 1, {}});
            continue;
        }
        if (sections.isEmpty()) {
            if (!IsComment(line.trimmed()))
                Fail(i + 1, QStringLiteral("text before the first [section]."));
            continue;
        }
        sections.last().lines.append({i + 1, line});
    }
    return sections;
}

double Reader::Number(const QString& text, int line) const
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || value < 0)
        Fail(line, QStringLiteral("\"%1\" is not a length or size.").arg(text));
    return value;
}

QVector<double> Reader::Numbers(const QString& text, int count, int line) const
{
    const QStringList parts = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (parts.size() != count)
        Fail(line, QStringLiteral("expected %1 numbers in \"%2\".").arg(count).arg(text));
    QVector<double> values;
    for (const QString& part : parts)
        values.append(Number(part, line));
    return values;
}

bool Reader::YesNo(const QString& text, int line) const
{
    const QString t = text.toLower();
    if (t == QLatin1String("yes") || t == QLatin1String("true") || t == QLatin1String("1"))
        return true;
    if (t == QLatin1String("no") || t == QLatin1String("false") || t == QLatin1String("0"))
        return false;
    Fail(line, QStringLiteral("expected yes or no, not \"%1\".").arg(text));
}

Qt::Alignment Reader::Horizontal(const QString& text, int line) const
{
    const QString t = text.toLower();
    if (t == QLatin1String("left"))
        return Qt::AlignLeft;
    if (t == QLatin1String("center") || t == QLatin1String("centre"))
        return Qt::AlignHCenter;
    if (t == QLatin1String("right"))
        return Qt::AlignRight;
    Fail(line, QStringLiteral("expected left, center or right, not \"%1\".").arg(text));
}

void Reader::ReadReport(const Section& section, ReportDefinition& report) const
{
    ForEachEntry(section, [&](const QString& key, const QString& value, int line) {
        if (key == QLatin1String("title")) {
            report.title = value;
        } else if (key == QLatin1String("page")) {
            static const QHash<QString, QPageSize::PageSizeId> sizes{
                {QStringLiteral("a4"), QPageSize::A4},
                {QStringLiteral("a5"), QPageSize::A5},
                {QStringLiteral("letter"), QPageSize::Letter},
                {QStringLiteral("legal"), QPageSize::Legal}};
            const QStringList parts = value.toLower().split(QLatin1Char(' '), Qt::SkipEmptyParts);
            if (parts.isEmpty() || parts.size() > 2 || !sizes.contains(parts.at(0)))
                Fail(line, QStringLiteral("Page must be A4, A5, Letter or Legal, then Portrait or Landscape."));
            report.page.size = sizes.value(parts.at(0));
            if (parts.size() == 2) {
                if (parts.at(1) == QLatin1String("landscape"))
                    report.page.orientation = QPageLayout::Landscape;
                else if (parts.at(1) == QLatin1String("portrait"))
                    report.page.orientation = QPageLayout::Portrait;
                else
                    Fail(line, QStringLiteral("orientation must be Portrait or Landscape."));
            }
        } else if (key == QLatin1String("margins")) {
            const QVector<double> m = Numbers(value, 4, line);
            report.page.margins = QMarginsF(m[0], m[1], m[2], m[3]);
        } else if (key == QLatin1String("fontfamily")) {
            report.page.font.family = value;
        } else if (key == QLatin1String("fontsize")) {
            report.page.font.pointSize = Number(value, line);
        } else {
            Fail(line, QStringLiteral("unknown key \"%1\" in [Report].").arg(key));
        }
    });
}

void Reader::ReadTable(const Section& section, ReportDefinition& report) const
{
    ReportTable table;
    ForEachEntry(section, [&](const QString& key, const QString& value, int line) {
        if (key == QLatin1String("name"))
            table.name = value;
        else if (key == QLatin1String("location"))
            table.location = value;
        else if (key == QLatin1String("server"))
            table.logon.server = value;
        else if (key == QLatin1String("database"))
            table.logon.database = value;
        else if (key == QLatin1String("user"))
            table.logon.user = value;
        else if (key == QLatin1String("password"))
            table.logon.password = value;
        else
            Fail(line, QStringLiteral("unknown key \"%1\" in [Table].").arg(key));
    });
    if (table.name.isEmpty() || table.location.isEmpty())
        Fail(section.number, QStringLiteral("a [Table] needs a Name and a Location."));
    for (const ReportTable& other : report.tables)
        if (other.name.compare(table.name, Qt::CaseInsensitive) == 0)
            Fail(section.number, QStringLiteral("the table name \"%1\" is declared twice.").arg(table.name));
    report.tables.append(table);
}

void Reader::ReadParameters(const Section& section, ReportDefinition& report) const
{
    static const QRegularExpression field(QStringLiteral(R"(^\{\?[^{}]+\}$)"));
    for (const SourceLine& line : section.lines) {
        const QString name = line.text.trimmed();
        if (IsComment(name))
            continue;
        if (!field.match(name).hasMatch())
            Fail(line.number, QStringLiteral("a parameter field is written {?Name}, not \"%1\".").arg(name));
        if (report.parameters.contains(name, Qt::CaseInsensitive))
            Fail(line.number, QStringLiteral("the parameter field %1 is declared twice.").arg(name));
        report.parameters.append(name);
    }
}

QString Reader::ReadQuery(const Section& section)
{
    QStringList lines;
    for (const SourceLine& line : section.lines)
        lines.append(line.text);
    return lines.join(QLatin1Char('\n')).trimmed();
}

Band Reader::ReadBand(const Section& section, const FontSpec& font) const
{
    Band band;
    ForEachEntry(section, [&](const QString& key, const QString& value, int line) {
        if (key == QLatin1String("height"))
            band.height = Number(value, line);
        else if (key == QLatin1String("text"))
            band.elements.append(ReadText(value, font, line));
        else if (key == QLatin1String("line"))
            band.elements.append(ReadShape(ElementKind::Line, value, line));
        else if (key == QLatin1String("box"))
            band.elements.append(ReadShape(ElementKind::Box, value, line));
        else
            Fail(line, QStringLiteral("unknown key \"%1\" in [%2].").arg(key, section.name));
    });
    return band;
}

Element Reader::ReadText(const QString& value, const FontSpec& font, int line) const
{
    const qsizetype bar1 = value.indexOf(QLatin1Char('|'));
    const qsizetype bar2 = bar1 < 0 ? -1 : value.indexOf(QLatin1Char('|'), bar1 + 1);
    if (bar2 < 0)
        Fail(line, QStringLiteral("Text is written \"x y w h | options | template\"."));
    const QVector<double> r = Numbers(value.left(bar1), 4, line);

    Element e;
    e.kind = ElementKind::Text;
    e.rect = QRectF(r[0], r[1], r[2], r[3]);
    e.font = font;
    e.text = value.mid(bar2 + 1).trimmed();
    Qt::Alignment horizontal = Qt::AlignLeft;
    Qt::Alignment vertical = Qt::AlignVCenter;
    const QStringList options = value.mid(bar1 + 1, bar2 - bar1 - 1).toLower().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const QString& option : options) {
        bool isNumber = false;
        const double size = option.toDouble(&isNumber);
        if (isNumber && size > 0)
            e.font.pointSize = size;
        else if (option == QLatin1String("-"))
            continue;
        else if (option == QLatin1String("left") || option == QLatin1String("center") || option == QLatin1String("right"))
            horizontal = Horizontal(option, line);
        else if (option == QLatin1String("top"))
            vertical = Qt::AlignTop;
        else if (option == QLatin1String("middle"))
            vertical = Qt::AlignVCenter;
        else if (option == QLatin1String("bottom"))
            vertical = Qt::AlignBottom;
        else if (option == QLatin1String("bold"))
            e.font.bold = true;
        else if (option == QLatin1String("italic"))
            e.font.italic = true;
        else if (option == QLatin1String("wrap"))
            e.wrap = true;
        else if (option == QLatin1String("frame"))
            e.frame = true;
        else if (option == QLatin1String("fill"))
            e.fill = true;
        else
            Fail(line, QStringLiteral("unknown text option \"%1\".").arg(option));
    }
    e.alignment = horizontal | vertical;
    templateLines_.insert(e.text, line);
    return e;
}

Element Reader::ReadShape(ElementKind kind, const QString& value, int line) const
{
    const qsizetype bar = value.indexOf(QLatin1Char('|'));
    const QVector<double> r = Numbers(bar < 0 ? value : value.left(bar), 4, line);
    Element e;
    e.kind = kind;
    e.rect = kind == ElementKind::Line ? QRectF(QPointF(r[0], r[1]), QPointF(r[2], r[3]))
                                       : QRectF(r[0], r[1], r[2], r[3]);
    if (bar >= 0) {
        const QStringList options = value.mid(bar + 1).toLower().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        for (const QString& option : options) {
            if (option == QLatin1String("fill") && kind == ElementKind::Box)
                e.fill = true;
            else
                e.penWidth = Number(option, line);
        }
    }
    return e;
}

void Reader::ReadLines(const Section& section, ReportDefinition& report) const
{
    LinesSpec& lines = report.lines;
    ForEachEntry(section, [&](const QString& key, const QString& value, int line) {
        if (key == QLatin1String("fontsize"))
            lines.font.pointSize = Number(value, line);
        else if (key == QLatin1String("headerfontsize"))
            lines.headerFont.pointSize = Number(value, line);
        else if (key == QLatin1String("headerheight"))
            lines.headerHeight = Number(value, line);
        else if (key == QLatin1String("rowheight"))
            lines.rowHeight = Number(value, line);
        else if (key == QLatin1String("totalheight"))
            lines.totalHeight = Number(value, line);
        else if (key == QLatin1String("gapafter"))
            lines.gapAfter = Number(value, line);
        else if (key == QLatin1String("grid")) {
            const QString v = value.toLower();
            if (v == QLatin1String("cells"))
                lines.grid = GridStyle::Cells;
            else if (v == QLatin1String("rules"))
                lines.grid = GridStyle::Rules;
            else if (v == QLatin1String("none"))
                lines.grid = GridStyle::None;
            else
                Fail(line, QStringLiteral("Grid must be cells, rules or none."));
        } else {
            Fail(line, QStringLiteral("unknown key \"%1\" in [Lines].").arg(key));
        }
    });
    if (lines.rowHeight <= 0)
        Fail(section.number, QStringLiteral("RowHeight must be above 0."));
}

Column Reader::ReadColumn(const Section& section) const
{
    Column column;
    bool totalAligned = false;
    ForEachEntry(section, [&](const QString& key, const QString& value, int line) {
        if (key == QLatin1String("header"))
            column.header = value;
        else if (key == QLatin1String("width"))
            column.width = Number(value, line);
        else if (key == QLatin1String("align"))
            column.alignment = Horizontal(value, line);
        else if (key == QLatin1String("value"))
            column.value = value;
        else if (key == QLatin1String("total"))
            column.total = value;
        else if (key == QLatin1String("totalalign")) {
            column.totalAlignment = Horizontal(value, line);
            totalAligned = true;
        }
        else if (key == QLatin1String("wrap"))
            column.wrap = YesNo(value, line);
        else
            Fail(line, QStringLiteral("unknown key \"%1\" in [Column].").arg(key));
        if (key == QLatin1String("value") || key == QLatin1String("total"))
            templateLines_.insert(value, line);
    });
    if (!totalAligned)
        column.totalAlignment = column.alignment;
    return column;
}

void Reader::CheckQuery(const ReportDefinition& report, int line) const
{
    if (report.query.isEmpty())
        Fail(line, QStringLiteral("the report has no [Query]."));
    WalkTemplate(report.query, [](const QString&) {}, [&](const FieldRef& ref) {
        if (ref.kind == FieldRef::Kind::Parameter) {
            if (!report.parameters.contains(ref.name, Qt::CaseInsensitive))
                Fail(line, QStringLiteral("the query uses %1, which is not a declared parameter field.").arg(ref.name));
            return;
        }
        for (const ReportTable& table : report.tables)
            if (ref.kind == FieldRef::Kind::Column && ref.format.isEmpty()
                && table.name.compare(ref.name, Qt::CaseInsensitive) == 0)
                return;
        Fail(line, QStringLiteral("the query names {%1}, which is not a declared table.").arg(ref.name));
    });
}

void Reader::CheckTemplate(const ReportDefinition& report, const QString& text, int line) const
{
    WalkTemplate(text, [](const QString&) {}, [&](const FieldRef& ref) {
        if (ref.kind == FieldRef::Kind::Parameter && !report.parameters.contains(ref.name, Qt::CaseInsensitive))
            Fail(line, QStringLiteral("%1 is not a declared parameter field.").arg(ref.name));
    });
}

void Reader::Check(const ReportDefinition& report) const
{
    CheckQuery(report, queryLine_);
    for (auto it = templateLines_.cbegin(); it != templateLines_.cend(); ++it)
        CheckTemplate(report, it.key(), it.value());

    double width = 0;
    for (const Column& column : report.columns)
        width += column.width;
    if (width > report.page.ContentWidth() + 0.01)
        Fail(1, QStringLiteral("the columns are %1 mm wide; the page holds %2 mm between its margins.")
                    .arg(width).arg(report.page.ContentWidth()));
}

ReportDefinition Reader::Read(const QString& text)
{
    ReportDefinition report;
    const QVector<Section> sections = SplitSections(text);

    // [Report] first, so that every band and the lines start from its font.
    for (const Section& section : sections)
        if (section.name.compare(QLatin1String("Report"), Qt::CaseInsensitive) == 0)
            ReadReport(section, report);
    report.lines.font = report.page.font;
    report.lines.headerFont = report.page.font;
    report.lines.headerFont.bold = true;

    QSet<QString> seen;
    for (const Section& section : sections) {
        const QString name = section.name.toLower();
        const bool repeatable = name == QLatin1String("table") || name == QLatin1String("column");
        if (!repeatable && seen.contains(name))
            Fail(section.number, QStringLiteral("[%1] appears twice.").arg(section.name));
        seen.insert(name);

        if (name == QLatin1String("report"))
            continue;
        else if (name == QLatin1String("table"))
            ReadTable(section, report);
        else if (name == QLatin1String("parameters"))
            ReadParameters(section, report);
        else if (name == QLatin1String("query")) {
            report.query = ReadQuery(section);
            queryLine_ = section.number;
        } else if (name == QLatin1String("pageheader"))
            report.pageHeader = ReadBand(section, report.page.font);
        else if (name == QLatin1String("header"))
            report.header = ReadBand(section, report.page.font);
        else if (name == QLatin1String("footer"))
            report.footer = ReadBand(section, report.page.font);
        else if (name == QLatin1String("pagefooter"))
            report.pageFooter = ReadBand(section, report.page.font);
        else if (name == QLatin1String("lines"))
            ReadLines(section, report);
        else if (name == QLatin1String("column"))
            report.columns.append(ReadColumn(section));
        else
            Fail(section.number, QStringLiteral("unknown section [%1].").arg(section.name));
    }
    Check(report);
    return report;
}

} // namespace

QSizeF PageSetup::SizeMm() const
{
    const QSizeF portrait = QPageSize(size).size(QPageSize::Millimeter);
    return orientation == QPageLayout::Landscape ? portrait.transposed() : portrait;
}

bool ReportDefinition::HasTotals() const
{
    for (const Column& column : columns)
        if (!column.total.isEmpty())
            return true;
    return false;
}

FieldRef ParseFieldRef(const QString& inner)
{
    FieldRef ref;
    if (inner.startsWith(QLatin1Char('?'))) {
        ref.kind = FieldRef::Kind::Parameter;
        ref.name = QLatin1Char('{') + inner + QLatin1Char('}');
        return ref;
    }
    const qsizetype colon = inner.indexOf(QLatin1Char(':'));
    const QString head = (colon < 0 ? inner : inner.left(colon)).trimmed();
    ref.format = colon < 0 ? QString() : inner.mid(colon + 1);
    static const QRegularExpression sum(QStringLiteral(R"(^sum\s*\(\s*([^()]+?)\s*\)$)"),
                                        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = sum.match(head);
    const QString lower = head.toLower();
    if (m.hasMatch()) {
        ref.kind = FieldRef::Kind::Sum;
        ref.name = m.captured(1);
    } else if (lower == QLatin1String("count")) {
        ref.kind = FieldRef::Kind::Count;
    } else if (lower == QLatin1String("row")) {
        ref.kind = FieldRef::Kind::Row;
    } else if (lower == QLatin1String("title")) {
        ref.kind = FieldRef::Kind::Title;
    } else if (lower == QLatin1String("page")) {
        ref.kind = FieldRef::Kind::Page;
    } else if (lower == QLatin1String("pages")) {
        ref.kind = FieldRef::Kind::Pages;
    } else {
        ref.kind = FieldRef::Kind::Column;
        ref.name = head;
    }
    return ref;
}

void WalkTemplate(const QString& text, const std::function<void(const QString&)>& piece,
                  const std::function<void(const FieldRef&)>& field)
{
    qsizetype from = 0;
    while (from < text.size()) {
        const qsizetype open = text.indexOf(QLatin1Char('{'), from);
        const qsizetype close = open < 0 ? -1 : text.indexOf(QLatin1Char('}'), open + 1);
        if (open < 0 || close < 0) {
            piece(text.mid(from));
            return;
        }
        if (open > from)
            piece(text.mid(from, open - from));
        field(ParseFieldRef(text.mid(open + 1, close - open - 1)));
        from = close + 1;
    }
}

ReportDefinition ParseReportText(const QString& text, const QString& sourceName)
{
    return Reader(sourceName).Read(text);
}

ReportDefinition ReadReportFile(const QString& path)
{
    QFile file(path);
    if (!QFileInfo(path).isFile())
        throw ReportError(QStringLiteral("The report file \"%1\" does not exist.").arg(QDir::toNativeSeparators(path)));
    if (!file.open(QIODevice::ReadOnly))
        throw ReportError(QStringLiteral("The report file \"%1\" cannot be read: %2")
                              .arg(QDir::toNativeSeparators(path), file.errorString()));
    return ParseReportText(QString::fromUtf8(file.readAll()), QFileInfo(path).fileName());
}

} // namespace reports
