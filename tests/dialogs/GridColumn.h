#pragma once

#include "forms/ResultGrid.h"

#include <QStringList>

// The texts of one column of the rows a search grid has read, in order.
inline QStringList Column(const forms::ResultGrid& grid, int col)
{
    QStringList texts;
    for (int row = 1; row <= grid.RowsRead(); ++row)
        texts << grid.Text(row, col);
    return texts;
}
