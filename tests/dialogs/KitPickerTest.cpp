#include "app/CurrentUser.h"
#include "db/DbError.h"
#include "dialogs/KitPicker.h"
#include "support/TempDatabase.h"

#include <gtest/gtest.h>

namespace {

// Kit 900 (kit K1) of gauze, syringes and a retired bandage; kit 901 (K2)
// lists nothing.
struct PickerFixture {
    testing_support::TempDatabase db;
    app::CurrentUser user{nullptr};
    QStringList sent;

    PickerFixture()
    {
        db.Insert("tbInvMaster", {{"ItemID", "900"}, {"ItemName", "DRESSING KIT"}, {"KitID", "K1"}});
        db.Insert("tbInvMaster", {{"ItemID", "901"}, {"ItemName", "EMPTY KIT"}, {"KitID", "K2"}});
        db.Insert("tbInvMaster", {{"ItemID", "101"}, {"ItemName", "GAUZE"}, {"Packing", 10}});
        db.Insert("tbInvMaster", {{"ItemID", "102"}, {"ItemName", "SYRINGE"}, {"Packing", 100}});
        db.Insert("tbInvMaster", {{"ItemID", "103"}, {"ItemName", "BANDAGE"}});
        db.Insert("tbInvKit", {{"KitID", "K1"}, {"ItemID", "101"}, {"Qty", 2.5}, {"UnitCost", 12.5},
                               {"RetailType", "N"}, {"Active", "A"}});
        db.Insert("tbInvKit", {{"KitID", "K1"}, {"ItemID", "102"}, {"Qty", 3}, {"UnitCost", 4},
                               {"RetailType", "Y"}, {"Active", "A"}});
        db.Insert("tbInvKit", {{"KitID", "K1"}, {"ItemID", "103"}, {"Qty", 1}, {"UnitCost", 1},
                               {"RetailType", "N"}, {"Active", "I"}});
        user.UseConnection(db.OpenAnother());
        user.sqlconnection().SetStatementObserver([this](const QString& s) { sent << s; });
    }

    // A picker loaded for a kit and begun, as the caller runs it.
    std::unique_ptr<dialogs::KitPicker> Open(const QString& kit)
    {
        auto picker = std::make_unique<dialogs::KitPicker>(user.sqlconnection());
        picker->ItemID = kit;
        picker->Load();
        picker->BeginRun();
        return picker;
    }
};

} // namespace

TEST(KitPicker, ListsTheKitsActiveComponentsUnderItsHeader)
{
    PickerFixture f;
    auto picker = f.Open("900");
    const forms::Grid& grid = picker->flexMSHDetails;

    EXPECT_EQ(f.sent, QStringList{"Inventory..sp_Inv_KitofItems '900'"});
    EXPECT_EQ(grid.Format(), "<Code |>Product Name |>Qty. |<UnitCost |<Packing |For Retail ");
    EXPECT_EQ(grid.RowTexts(0),
              (QStringList{"Code ", "Product Name ", "Qty. ", "UnitCost ", "Packing ", "For Retail ", ""}));
    EXPECT_EQ(grid.Alignment(1), forms::ColumnAlignment::Right);
    EXPECT_EQ(grid.Alignment(3), forms::ColumnAlignment::Left);
    // Code and figures a seventh of the grid each, the name four times the
    // width of its header, the last two 1000 twips.
    const int seventh = qRound(dialogs::KitPicker::kGridWidthTwips / 7.0);
    const int name = 4 * forms::HeaderFitWidthTwips("Product Name ");
    for (const auto& [col, width] : {std::pair{0, seventh}, {1, name}, {2, seventh}, {3, seventh}, {4, seventh},
                                     {5, 1000}, {6, 1000}})
        EXPECT_EQ(grid.ColumnWidth(col), width) << "column " << col;

    // The procedure's rows as plain texts, one grid column per result column.
    ASSERT_EQ(grid.Rows(), 3);
    EXPECT_EQ(grid.RowTexts(1), (QStringList{"101", "GAUZE", "2.5", "12.5", "10", "N", "31.25"}));
    EXPECT_EQ(grid.RowTexts(2), (QStringList{"102", "SYRINGE", "3", "4", "100", "Y", "12"}));
    EXPECT_TRUE(grid.IsEnabled());
    EXPECT_TRUE(picker->cmdSelect.IsEnabled());
    EXPECT_EQ(picker->focus.Current(), &picker->flexMSHDetails);
    EXPECT_EQ(picker->chkAddAllItems.Caption(), "Add All Items");
    EXPECT_EQ(picker->cmdSelect.Caption(), "&Select");
    EXPECT_EQ(picker->cmdClose.Caption(), "&Close");
}

TEST(KitPicker, SelectOrDoubleClickPicksTheCurrentComponentAndCloseKeepsTheKit)
{
    struct Case { const char* name; std::function<void(dialogs::KitPicker&)> act; QString itemId;
                  forms::DialogResult result; };
    const Case cases[] = {
        {"select", [](dialogs::KitPicker& d) { d.ClickSelect(); }, "102", forms::DialogResult::Accepted},
        {"double click", [](dialogs::KitPicker& d) { d.flexMSHDetails.Activate(); }, "102",
         forms::DialogResult::Accepted},
        {"close", [](dialogs::KitPicker& d) { d.ClickClose(); }, "900", forms::DialogResult::Rejected},
        {"close box", [](dialogs::KitPicker& d) { d.CloseBoxPressed(); }, "900", forms::DialogResult::Rejected},
    };
    for (const Case& c : cases) {
        PickerFixture f;
        auto picker = f.Open("900");
        picker->flexMSHDetails.SetRow(2);
        c.act(*picker);
        EXPECT_FALSE(picker->IsOpen()) << c.name;
        EXPECT_EQ(picker->Result(), c.result) << c.name;
        EXPECT_EQ(picker->ItemID, c.itemId) << c.name;
    }
}

TEST(KitPicker, AKitThatListsNothingShowsADisabledGridAndOnlyCloses)
{
    struct Case { const char* kit; const char* statement; };
    const Case cases[] = {
        {"901", "Inventory..sp_Inv_KitofItems '901'"},
        // A quote in the code stays inside the quoted argument.
        {"9'0", "Inventory..sp_Inv_KitofItems '9''0'"},
    };
    for (const Case& c : cases) {
        PickerFixture f;
        auto picker = f.Open(c.kit);
        EXPECT_EQ(f.sent, QStringList{c.statement});
        EXPECT_EQ(picker->flexMSHDetails.Rows(), 2) << c.kit;
        EXPECT_EQ(picker->flexMSHDetails.RowTexts(1), QStringList(7)) << c.kit;
        EXPECT_FALSE(picker->flexMSHDetails.IsEnabled()) << c.kit;
        EXPECT_FALSE(picker->cmdSelect.IsEnabled()) << c.kit;
        EXPECT_EQ(picker->focus.Current(), &picker->cmdClose) << c.kit;

        picker->ClickSelect();
        picker->flexMSHDetails.Activate();
        EXPECT_TRUE(picker->IsOpen()) << c.kit;
        picker->ClickClose();
        EXPECT_FALSE(picker->IsOpen()) << c.kit;
        EXPECT_EQ(picker->ItemID, c.kit);
    }
}

TEST(KitPicker, AddAllItemsFollowsTheTickAndStartsUntickedAtEveryShowing)
{
    PickerFixture f;
    auto picker = f.Open("900");
    EXPECT_FALSE(picker->chkAddAllItems.IsChecked());
    EXPECT_FALSE(picker->AllItems);
    picker->ClickAddAllItems();
    EXPECT_TRUE(picker->AllItems);
    picker->ClickAddAllItems();
    EXPECT_FALSE(picker->AllItems);
    picker->ClickAddAllItems();
    picker->ClickClose();
    EXPECT_TRUE(picker->AllItems) << "read by the caller after the dialog has closed";

    // The next kit starts afresh, and a load replaces the earlier rows.
    picker->ItemID = "901";
    picker->Load();
    EXPECT_FALSE(picker->chkAddAllItems.IsChecked());
    EXPECT_FALSE(picker->AllItems);
    EXPECT_EQ(picker->flexMSHDetails.Rows(), 2);
    EXPECT_EQ(picker->flexMSHDetails.Text(1, 0), "");
}

TEST(KitPicker, ADatabaseFailureReachesTheCaller)
{
    PickerFixture f;
    f.user.sqlconnection().SetStatementObserver([](const QString&) -> void { throw db::DbError("link down"); });
    dialogs::KitPicker picker(f.user.sqlconnection());
    picker.ItemID = "900";
    EXPECT_THROW(picker.Load(), db::DbError);
}
