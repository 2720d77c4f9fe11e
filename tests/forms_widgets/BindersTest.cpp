#include "forms/Grid.h"
#include "forms/OptionGroup.h"
#include "forms/Picker.h"
#include "forms/Tabs.h"
#include "forms/TextField.h"
#include "forms/widgets/Binders.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QFontMetrics>
#include <gtest/gtest.h>

namespace {

TEST(Binders, TextFieldBothWays)
{
    forms::TextField field;
    field.SetMaxLength(10);
    field.SetText("NEW");
    QLineEdit edit;
    forms::Bind(&edit, &field);
    EXPECT_EQ(edit.text(), "NEW");
    EXPECT_EQ(edit.maxLength(), 10);

    edit.clear();
    QTest::keyClicks(&edit, "12345678901");
    EXPECT_EQ(field.Text(), "1234567890");

    field.SetText("42");
    field.SetLocked(true);
    field.SetEnabled(false);
    EXPECT_EQ(edit.text(), "42");
    EXPECT_TRUE(edit.isReadOnly());
    EXPECT_FALSE(edit.isEnabled());
}

TEST(Binders, PickerChoiceSetsTheTextAndLeavesTheTag)
{
    forms::Picker picker;
    picker.SetRows({{"PHARMACY", "94"}, {"WARD 3", "12"}});
    picker.SetText("PHARMACY");
    picker.SetTag("94");
    QComboBox combo;
    forms::Bind(&combo, &picker);
    ASSERT_EQ(combo.count(), 2);
    EXPECT_EQ(combo.currentText(), "PHARMACY");

    int chosen = -1;
    QObject::connect(&picker, &forms::Picker::chosen, [&](int index) { chosen = index; });
    combo.setCurrentIndex(1);
    emit combo.activated(1);
    EXPECT_EQ(picker.Text(), "WARD 3");
    EXPECT_EQ(picker.CurrentValue(), "12");
    EXPECT_EQ(picker.Tag(), "94") << "the tag is the screen's to set";
    EXPECT_EQ(chosen, 1);

    combo.lineEdit()->clear();
    QTest::keyClicks(combo.lineEdit(), "ICU");
    EXPECT_EQ(picker.Text(), "ICU");
    EXPECT_EQ(picker.CurrentIndex(), -1);

    picker.SetText("PHARMACY");
    EXPECT_EQ(combo.currentText(), "PHARMACY");
    picker.SetRows({{"STORE", "1"}});
    EXPECT_EQ(combo.count(), 1);
    EXPECT_EQ(combo.currentText(), "PHARMACY") << "a text outside the list stays shown";
}

TEST(Binders, OptionGroupFollowsAndReportsClicks)
{
    forms::OptionGroup group({"Yes", "No"});
    QWidget frame;
    auto* yes = new QRadioButton(&frame);
    auto* no = new QRadioButton(&frame);
    forms::Bind({yes, no}, &group);
    EXPECT_EQ(yes->text(), "Yes");

    group.Select(1);
    EXPECT_TRUE(no->isChecked());
    group.Select(-1);
    EXPECT_FALSE(no->isChecked()) << "no selection at all";

    int clicked = -1;
    QObject::connect(&group, &forms::OptionGroup::clicked, [&](int index) { clicked = index; });
    yes->click();
    EXPECT_EQ(group.Selected(), 0);
    EXPECT_EQ(clicked, 0);

    group.SetOptionEnabled(0, false);
    group.SetCaption(1, "Consumption");
    EXPECT_FALSE(yes->isEnabled());
    EXPECT_EQ(no->text(), "Consumption");
}

TEST(Binders, GridHeadersAlignmentWidthsAndCurrentCell)
{
    forms::Grid grid;
    grid.SetCols(7);
    grid.SetRows(3);
    grid.SetFormat("Code |< Product Name & Description | Quantity | Unit Cost| Total Cost| Retail?| Remarks|");
    grid.SetColumnWidths({800, 5000, 1000, 1000, 1000, 700, 0});
    grid.SetRowTexts(1, {"1001", "PARACETAMOL 500MG", "2", "1.5000", "3.0000", "Y", "N"});
    QTableWidget table;
    forms::Bind(&table, &grid);

    ASSERT_EQ(table.rowCount(), 2) << "the header row is the table's header";
    ASSERT_EQ(table.columnCount(), 7);
    EXPECT_EQ(table.horizontalHeaderItem(1)->text(), " Product Name & Description ");
    EXPECT_EQ(table.item(0, 1)->text(), "PARACETAMOL 500MG");
    // 800 twips, widened as far as the font's digits are wider than 6 pixels.
    EXPECT_EQ(table.columnWidth(0), forms::TwipsToPixels(800, QFontMetrics(table.font()).horizontalAdvance('0')));
    EXPECT_GE(table.columnWidth(0), 53);
    EXPECT_TRUE(table.isColumnHidden(6));
    EXPECT_FALSE(table.isColumnHidden(5));
    const auto horizontal = [&](int row, int col) {
        return Qt::Alignment(table.item(row, col)->textAlignment()) & Qt::AlignHorizontal_Mask;
    };
    EXPECT_EQ(horizontal(0, 0), Qt::AlignRight) << "general: a number at the right";
    EXPECT_EQ(horizontal(0, 5), Qt::AlignLeft) << "general: text at the left";

    grid.SetText(2, 1, "12");
    EXPECT_EQ(horizontal(1, 1), Qt::AlignLeft) << "a left-aligned column keeps numbers left";

    table.setCurrentCell(1, 3);
    EXPECT_EQ(grid.Row(), 2);
    EXPECT_EQ(grid.Col(), 3);
    grid.SetCurrentCell(1, 0);
    EXPECT_EQ(table.currentRow(), 0);
    EXPECT_EQ(table.currentColumn(), 0);

    grid.SetColumnWidth(6, 700);
    EXPECT_FALSE(table.isColumnHidden(6));
    grid.RemoveRow(1);
    EXPECT_EQ(table.rowCount(), 1);
    EXPECT_EQ(table.item(0, 1)->text(), "12");
}

TEST(Binders, GridKeysOpenTheRowOrReachTheScreen)
{
    forms::Grid grid;
    QTableWidget table;
    forms::Bind(&table, &grid);
    int opened = 0;
    QString typed;
    QObject::connect(&grid, &forms::Grid::activated, [&] { ++opened; });
    QObject::connect(&grid, &forms::Grid::keyTyped, [&](const QString& text) { typed += text; });

    QTest::keyClick(&table, Qt::Key_Return);
    QTest::keyClick(&table, Qt::Key_Period, Qt::NoModifier);
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(typed, ".");
}

TEST(Binders, TabsBothWaysWithThePageLeft)
{
    forms::Tabs tabs({"List", "Details"});
    QTabWidget widget;
    widget.addTab(new QWidget, QString());
    widget.addTab(new QWidget, QString());
    forms::Bind(&widget, &tabs);
    EXPECT_EQ(widget.tabText(1), "Details");

    QList<std::pair<int, int>> switches;
    QObject::connect(&tabs, &forms::Tabs::currentChanged,
                     [&](int previous, int current) { switches.append({previous, current}); });
    widget.setCurrentIndex(1);
    tabs.SetCurrent(0);
    EXPECT_EQ(widget.currentIndex(), 0);
    EXPECT_EQ(switches, (QList<std::pair<int, int>>{{0, 1}, {1, 0}}));
}

} // namespace
