#pragma once

#include <QList>
#include <QString>

namespace forms {

// How a grid column lines up its cells. General puts text at the left and
// numbers at the right, cell by cell.
enum class ColumnAlignment { General, Left, Right };

struct ColumnHeader {
    QString text;
    ColumnAlignment alignment = ColumnAlignment::General;

    bool operator==(const ColumnHeader&) const = default;
};

// The header format of a grid: "|" separates the columns' headers; a "<"
// at the start of a header left-aligns its column, a ">" right-aligns it.
// Every other character, blanks included, is header text.
//
// A "|" ends the header before it, so a trailing "|" adds no column:
// "A|B|" and "A|B" both give two columns. An empty text gives no columns;
// "A||B" gives three, the middle one without a header.
QList<ColumnHeader> ParseGridFormat(const QString& format);

// Whether a cell of a column with this alignment sits at the right.
bool AlignsRight(ColumnAlignment alignment, const QString& cellText);

// Twips are the screens' unit of length: 1440 per inch, so 15 per pixel on
// a 96-dpi display.
inline constexpr int kTwipsPerPixel = 15;
inline int TwipsToPixels(int twips)
{
    return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel;
}

// Column widths in twips were chosen for a small system font whose digits
// are 6 pixels wide on a 96-dpi display. A grid whose font has wider digits
// scales its columns alike, so a column still holds the numbers, codes and
// dates it was made for.
inline constexpr int kReferenceDigitWidthPixels = 6;
inline int TwipsToPixels(int twips, int digitWidthPixels)
{
    const int charWidth = digitWidthPixels > kReferenceDigitWidthPixels ? digitWidthPixels
                                                                        : kReferenceDigitWidthPixels;
    const long scaled = long(twips) * charWidth;
    const long per = long(kTwipsPerPixel) * kReferenceDigitWidthPixels;
    return int((scaled + per / 2) / per);
}

// A width in twips that fits a header text in a grid cell, for screens that
// size a column from its header (an average character width plus the
// cell's margins).
int HeaderFitWidthTwips(const QString& headerText);

} // namespace forms
