#include "app/CurrentUser.h"
#include "dialogs/ItemLookup.h"
#include "dialogs/widgets/ItemLookupView.h"
#include "forms/widgets/WidgetDialogHost.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDatabase.h"

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

struct ViewFixture {
    testing_support::TempDatabase db;
    testing_support::ScriptedPrompts prompts;
    app::CurrentUser user{nullptr};

    ViewFixture()
    {
        const char* const names[] = {"GAUZE", "GLOVES", "SYRINGE", "SALINE"};
        int id = 1;
        for (const char* name : names)
            db.Insert("tbInvMaster", {{"ItemID", QString::number(id++)}, {"ItemName", name}, {"ItemStatus", 0}});
        user.UseConnection(db.OpenAnother());
    }
};

QStringList ShownCodes(QTableView* table)
{
    QStringList codes;
    for (int row = 0; row < table->model()->rowCount(); ++row)
        codes << table->model()->index(row, 0).data().toString();
    return codes;
}

} // namespace

TEST(ItemLookupView, TypingBackspaceALetterAndEnterPickAnItem)
{
    ViewFixture f;
    dialogs::ItemLookup dialog(f.user.sqlconnection(), f.prompts);
    dialog.Load();
    auto view = dialogs::MakeItemLookupView(dialog, nullptr);
    dialog.BeginRun();
    view->show();
    QApplication::processEvents();
    auto* search = view->findChild<QLineEdit*>("txtSearch");
    auto* table = view->findChild<QTableView*>("grdLookup");
    ASSERT_TRUE(search && table);
    EXPECT_EQ(view->windowTitle(), "Product Search");
    EXPECT_EQ(ShownCodes(table), (QStringList{"1", "2", "4", "3"}));
    EXPECT_EQ(table->model()->headerData(1, Qt::Horizontal).toString(), "Product Name");
    // The widths of the first columns keep their proportions (1000:3000).
    EXPECT_EQ(table->columnWidth(1), 3 * table->columnWidth(0));

    // Letters arrive upper-cased; every change searches.
    search->setFocus();
    QTest::keyClicks(search, "gl");
    EXPECT_EQ(search->text(), "GL");
    EXPECT_EQ(ShownCodes(table), QStringList{"2"});
    // Enter in the search box searches and moves to the grid.
    QTest::keyClick(search, Qt::Key_Backspace);
    QTest::keyClick(search, Qt::Key_Return);
    EXPECT_EQ(dialog.focus.Current(), &dialog.grdLookup);
    EXPECT_EQ(ShownCodes(table), (QStringList{"1", "2"}));

    // On the grid: Backspace shortens the search text, a letter restarts it.
    QTest::keyClick(table, Qt::Key_Backspace);
    EXPECT_EQ(search->text(), "");
    EXPECT_EQ(table->model()->rowCount(), 4);
    QTest::keyClick(table, Qt::Key_S);
    EXPECT_EQ(search->text(), "S");
    EXPECT_EQ(ShownCodes(table), (QStringList{"4", "3"}));

    // Down a row and Enter on the grid selects it.
    table->setFocus();
    QApplication::processEvents();
    QTest::keyClick(table, Qt::Key_Down);
    EXPECT_EQ(dialog.grdLookup.Row(), 2);
    QTest::keyClick(table, Qt::Key_Return);
    EXPECT_FALSE(dialog.IsOpen());
    EXPECT_EQ(dialog.PickedCode(), "3");
}

TEST(ItemLookupView, CloseLeavesNothingPicked)
{
    ViewFixture f;
    forms::WidgetDialogHost host;
    host.Register<dialogs::ItemLookup>(&dialogs::MakeItemLookupView);
    QTimer::singleShot(0, [] {
        auto* close = QApplication::activeModalWidget()->findChild<QPushButton*>("cmdClose");
        ASSERT_TRUE(close);
        EXPECT_EQ(close->text(), "&Close");
        close->click();
    });
    EXPECT_TRUE(dialogs::RunItemLookup(f.user.sqlconnection(), f.prompts, host, "G", "", "", {}).isEmpty());
}
