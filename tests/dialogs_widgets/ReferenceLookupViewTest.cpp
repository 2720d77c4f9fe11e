#include "app/CurrentUser.h"
#include "dialogs/ReferenceLookup.h"
#include "dialogs/widgets/ReferenceLookupView.h"
#include "forms/widgets/WidgetDialogHost.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDatabase.h"

#include <QApplication>
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
        const char* const names[] = {"BAG", "BOTTLE", "BOX", "PIECE"};
        int id = 1;
        for (const char* name : names)
            db.Insert("tbInvUnitOfMeasure", {{"UnitOfMeasureID", id++}, {"UnitOfMeasure", name}, {"Status", "A"}});
        user.UseConnection(db.OpenAnother());
    }
};

int ShownRows(QTableView* table)
{
    return table->model()->rowCount();
}

} // namespace

TEST(ReferenceLookupView, EnterSearchesAndSelectTakesTheCodeOfTheClickedRow)
{
    ViewFixture f;
    dialogs::ReferenceLookup dialog(f.user.sqlconnection(), f.prompts);
    dialog.LookupType = dialogs::ReferenceLookup::UnitOfMeasure;
    dialog.Load();
    auto view = dialogs::MakeReferenceLookupView(dialog, nullptr);
    dialog.BeginRun();
    view->show();
    QApplication::processEvents();
    auto* search = view->findChild<QLineEdit*>("txtSearch");
    auto* table = view->findChild<QTableView*>("grdLookup");
    ASSERT_TRUE(search && table);
    EXPECT_EQ(view->windowTitle(), "Unit of Measure");
    EXPECT_EQ(ShownRows(table), 4);
    EXPECT_EQ(table->model()->headerData(0, Qt::Horizontal).toString(), "Unit of Measure");

    // Typing upper-cases and does not search; Enter does, and moves to the grid.
    search->setFocus();
    QTest::keyClicks(search, "bo");
    EXPECT_EQ(search->text(), "BO");
    EXPECT_EQ(ShownRows(table), 4);
    QTest::keyClick(search, Qt::Key_Return);
    EXPECT_EQ(ShownRows(table), 2);
    EXPECT_EQ(dialog.focus.Current(), &dialog.grdLookup);

    // A click on the name of the second row, then Select: its code.
    const QModelIndex name = table->model()->index(1, 0);
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualRect(name).center());
    EXPECT_EQ(dialog.grdLookup.Row(), 2);
    view->findChild<QPushButton*>("cmdSelect")->click();
    EXPECT_FALSE(dialog.IsOpen());
    EXPECT_EQ(dialog.PickedCode(), "3");
}

TEST(ReferenceLookupView, CancelLeavesNothingPicked)
{
    ViewFixture f;
    forms::WidgetDialogHost host;
    host.Register<dialogs::ReferenceLookup>(&dialogs::MakeReferenceLookupView);
    QTimer::singleShot(0, [] {
        auto* cancel = QApplication::activeModalWidget()->findChild<QPushButton*>("cmdCancel");
        ASSERT_TRUE(cancel);
        EXPECT_EQ(cancel->text(), "&Cancel");
        cancel->click();
    });
    EXPECT_TRUE(dialogs::RunReferenceLookup(f.user.sqlconnection(), f.prompts, host, "B",
                                            dialogs::ReferenceLookup::UnitOfMeasure)
                    .isEmpty());
}
