#include "forms/GridFormat.h"

#include "base/Texts.h"

namespace forms {

namespace {

constexpr int kAverageCharTwips = 105; // 7 pixels
constexpr int kCellMarginTwips = 120;  // 4 pixels each side

ColumnHeader ParseHeader(const QString& piece)
{
    if (piece.startsWith(QLatin1Char('<')))
        return {piece.mid(1), ColumnAlignment::Left};
    if (piece.startsWith(QLatin1Char('>')))
        return {piece.mid(1), ColumnAlignment::Right};
    return {piece, ColumnAlignment::General};
}

} // namespace

QList<ColumnHeader> ParseGridFormat(const QString& format)
{
    QList<ColumnHeader> headers;
    if (format.isEmpty())
        return headers;
    QStringList pieces = format.split(QLatin1Char('|'));
    if (format.endsWith(QLatin1Char('|')))
        pieces.removeLast();
    for (const QString& piece : pieces)
        headers.append(ParseHeader(piece));
    return headers;
}

bool AlignsRight(ColumnAlignment alignment, const QString& cellText)
{
    switch (alignment) {
    case ColumnAlignment::Left:
        return false;
    case ColumnAlignment::Right:
        return true;
    case ColumnAlignment::General:
        break;
    }
    return base::IsNumeric(cellText);
}

int HeaderFitWidthTwips(const QString& headerText)
{
    return int(headerText.size()) * kAverageCharTwips + kCellMarginTwips;
}

} // namespace forms
