#include "forms/Grid.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

// A grid of lines as the request screen keeps them: header, lines, one
// empty last row.
void FillLines(forms::Grid& grid, const QStringList& codes)
{
    grid.SetCols(3);
    grid.SetRows(int(codes.size()) + 2);
    for (int i = 0; i < codes.size(); ++i)
        grid.SetRowTexts(i + 1, {codes[i], codes[i] + " NAME", QString::number(i + 1)});
}

QStringList Column0(const forms::Grid& grid)
{
    QStringList texts;
    for (int row = 1; row < grid.Rows(); ++row)
        texts << grid.Text(row, 0);
    return texts;
}

TEST(Grid, RemoveRowKeepsTheOthersInOrderAndTheCurrentRowNumber)
{
    forms::Grid grid;
    FillLines(grid, {"A", "B", "C", "D"});
    grid.SetCurrentCell(2, 1);

    grid.RemoveRow(2);

    EXPECT_EQ(Column0(grid), (QStringList{"A", "C", "D", ""}));
    EXPECT_EQ(grid.RowTexts(2), (QStringList{"C", "C NAME", "3"}));
    EXPECT_EQ(grid.Row(), 2);
    EXPECT_EQ(grid.Col(), 1);
}

TEST(Grid, RemovingTheLastRowWhileCurrentMovesTheCurrentRowUp)
{
    forms::Grid grid;
    FillLines(grid, {"A", "B"});
    grid.SetRow(3);
    int moved = 0;
    QObject::connect(&grid, &forms::Grid::currentCellChanged, [&moved] { ++moved; });

    grid.RemoveRow(3);

    EXPECT_EQ(grid.Row(), 2);
    EXPECT_EQ(moved, 1);
    EXPECT_THROW(grid.RemoveRow(0), std::out_of_range);
}

TEST(Grid, SetRowsGrowsWithEmptyRowsAndShrinksFromTheEnd)
{
    forms::Grid grid;
    FillLines(grid, {"A", "B", "C"});
    grid.SetRow(4);
    grid.SetTopRow(3);

    grid.SetRows(6);
    EXPECT_EQ(Column0(grid), (QStringList{"A", "B", "C", "", ""}));
    EXPECT_EQ(grid.Row(), 4);

    grid.SetRows(2);
    EXPECT_EQ(Column0(grid), (QStringList{"A"}));
    EXPECT_EQ(grid.Row(), 1);
    EXPECT_EQ(grid.TopRow(), 1);

    grid.SetRows(0);
    EXPECT_EQ(grid.Rows(), 1);
    EXPECT_EQ(grid.Row(), 0);
    grid.SetRows(3);
    EXPECT_EQ(grid.Row(), 1) << "the header row is never current while there is a data row";
}

TEST(Grid, AddRowAppendsAtTheEnd)
{
    forms::Grid grid;
    FillLines(grid, {"A"});
    grid.AddRow({"X", "Y"});
    EXPECT_EQ(grid.Rows(), 4);
    EXPECT_EQ(grid.RowTexts(3), (QStringList{"X", "Y", ""}));
    EXPECT_THROW(grid.AddRow({"1", "2", "3", "4"}), std::out_of_range);
}

TEST(Grid, FormatFillsTheHeaderRowAndGrowsButNeverShrinksColumns)
{
    forms::Grid grid;
    grid.SetCols(7);
    grid.SetColumnWidths({800, 5000, 1000, 1000, 1000, 700, 0});
    grid.SetFormat("Code |< Product Name & Description | Quantity | Unit Cost| Total Cost| Retail?| Remarks|");
    EXPECT_EQ(grid.Cols(), 7);
    EXPECT_EQ(grid.Text(0, 6), " Remarks");

    // A format naming fewer columns leaves the rest without a header, and
    // leaves the widths as they were.
    grid.SetFormat("Code |< Product Name & Description | Quantity | Unit Cost| Total Cost| Retail?|");
    EXPECT_EQ(grid.Cols(), 7);
    EXPECT_EQ(grid.Text(0, 6), "");
    EXPECT_EQ(grid.Text(0, 1), " Product Name & Description ");
    EXPECT_EQ(grid.Alignment(1), forms::ColumnAlignment::Left);
    EXPECT_TRUE(grid.IsColumnHidden(6));
    EXPECT_EQ(grid.ColumnWidth(1), 5000);

    grid.SetFormat("<A|>B|C|D|E|F|G|H");
    EXPECT_EQ(grid.Cols(), 8);
    EXPECT_EQ(grid.ColumnWidth(7), forms::Grid::kDefaultColumnWidthTwips);
}

TEST(Grid, ClearEmptiesEveryCellButKeepsTheShape)
{
    forms::Grid grid;
    FillLines(grid, {"A", "B"});
    grid.SetFormat("<Code|>Qty|Remarks");
    grid.SetColumnWidth(2, 0);

    grid.Clear();

    EXPECT_EQ(grid.Rows(), 4);
    EXPECT_EQ(grid.Text(0, 0), "");
    EXPECT_EQ(grid.Text(1, 0), "");
    EXPECT_EQ(grid.Alignment(1), forms::ColumnAlignment::Right);
    EXPECT_TRUE(grid.IsColumnHidden(2));
}

TEST(Grid, CellsOutsideTheGridAreFaults)
{
    forms::Grid grid;
    grid.SetCols(7);
    EXPECT_THROW(grid.Text(2, 0), std::out_of_range);
    EXPECT_THROW(grid.SetText(1, 7, "x"), std::out_of_range);
    EXPECT_THROW(grid.SetCurrentCell(0, 0), std::out_of_range);
    EXPECT_THROW(grid.SetRowTexts(1, QStringList(8, "x")), std::out_of_range);
}

} // namespace
