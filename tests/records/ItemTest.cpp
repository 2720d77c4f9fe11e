#include "dialogs/ItemLookup.h"
#include "records/Item.h"

#include "RecordsFixture.h"

#include <gtest/gtest.h>

namespace {

using records_testing::ExpectRecordError;

// A gauze stocked at the pharmacy (10) with every figure set, a syringe
// stocked there with nothing but its status set, the pharmacy's location row.
class ItemTest : public ::testing::Test, protected records_testing::RecordsFixture {
protected:
    ItemTest()
    {
        db.Insert("tbInvLocation", {{"LocationID", "10"}, {"Location", "PHARMACY"}, {"Status", "A"}});
        db.Insert("tbInvUnitOfMeasure", {{"UnitOfMeasureID", 3}, {"UnitOfMeasure", "BOX"}});
        db.Insert("tbInvMaster", {{"ItemID", "101"}, {"ItemName", "GAUZE"}, {"ListCost", 12.5}, {"Packing", 100},
                                  {"UnitOfMeasureID", 3}, {"ItemStatus", 0}});
        db.Insert("tbInvMaster", {{"ItemID", "102"}, {"ItemName", "SYRINGE"}, {"ItemStatus", 0}});
        AddGauzeStock("101", "2026-01-31 00:00:00");
        db.Insert("tbInvent", {{"ItemID", "102"}, {"LocationID", "10"}, {"ItemStatus", 0}});
        item.ActiveConnection(active);
        active.SetStatementObserver([this](const QString& statement) { sentOnActive << statement; });
    }

    void AddGauzeStock(const char* itemID, const QVariant& expiry)
    {
        db.Insert("tbInvent",
                  {{"ItemID", itemID}, {"LocationID", "10"}, {"Markup_In", 15}, {"Markup_Out", 25},
                   {"NetAmount", 11.25}, {"OnHand", 40.5}, {"OnOrder", 10}, {"SellingPriceIn", 14.375},
                   {"SellingPriceOut", 15.625}, {"ItemStatus", 0}, {"AverageCost", 11.5}, {"MinStockLevel", 5},
                   {"MaxStock", 80}, {"AveConsumption", 2.5}, {"LastInventoryCount", "2026-01-02 08:00:00"},
                   {"ExpiryDate", expiry}, {"NewGLCode", "5100"}, {"POMonthsToDeliver", 2},
                   {"MinimumOrAverage", 1}, {"StartDate", "01/01/2026"}, {"EndDate", "12/31/2026"},
                   {"IsFloor", 1}, {"IsCeiling", 0}, {"Floor", 3}, {"Ceiling", 90}, {"IsADSStock", 1},
                   {"ADSStock", 7}, {"LastDeliveryDate", "2026-01-15 09:30:00"}, {"LastDeliveryQty", 20}});
    }

    db::Connection& active = db.Connection();
    QStringList sentOnActive;
    records::clsItem item{services};
};

QDateTime At(const char* text)
{
    return QDateTime::fromString(QString::fromLatin1(text), "yyyy-MM-dd HH:mm:ss");
}

TEST_F(ItemTest, LoadRunsTheStockProcedureOnTheSessionConnection)
{
    EXPECT_TRUE(item.LoadItem("101", "10"));

    EXPECT_EQ(sent, QStringList{"Inventory..sp_Inv_SearchItem_In_Invent '101','10'"});
    EXPECT_TRUE(sentOnActive.isEmpty());
    EXPECT_EQ(item.ItemID, "101");
    EXPECT_EQ(item.MarkupIn, 15);
    EXPECT_EQ(item.MarkupOut, 25);
    EXPECT_EQ(item.NetAmount, base::Money::FromUnits(112500));
    EXPECT_EQ(item.OnHand, 40.5);
    EXPECT_EQ(item.MaxStock, 80);
    EXPECT_EQ(item.OnOrder, 10);
    EXPECT_EQ(item.SellingPriceIn, base::Money::FromUnits(143750));
    EXPECT_EQ(item.SellingPriceOut, base::Money::FromUnits(156250));
    EXPECT_EQ(item.ItemStatus, 0);
    EXPECT_EQ(item.AverageCost, base::Money::FromUnits(115000));
    EXPECT_EQ(item.MinimumStockLevel, 5);
    EXPECT_EQ(item.AveConsumption, 2.5);
    EXPECT_EQ(item.LastInventoryCount, At("2026-01-02 08:00:00"));
    EXPECT_EQ(item.ExpiryDate, At("2026-01-31 00:00:00"));
    EXPECT_EQ(item.GLCode, "5100");
    EXPECT_EQ(item.POMonthsToDeliver, 2);
    EXPECT_TRUE(item.MinimumOrAverageConsumption);
    EXPECT_EQ(item.StartDate, "01/01/2026");
    EXPECT_EQ(item.EndDate, "12/31/2026");
    EXPECT_EQ(item.ListCost, 12.5);
    EXPECT_EQ(item.UOM, 3);
    EXPECT_EQ(item.UOMDescription, "BOX");
    EXPECT_EQ(item.LastDeliveryDate, At("2026-01-15 09:30:00"));
    EXPECT_EQ(item.LastDeliveryQty, 20);
    EXPECT_EQ(item.Packing, 100);
    EXPECT_TRUE(item.IsFloor);
    EXPECT_FALSE(item.IsCeiling);
    EXPECT_EQ(item.Floor, 3);
    EXPECT_EQ(item.Ceiling, 90);
    EXPECT_TRUE(item.IsADSStock);
    EXPECT_EQ(item.ADSStock, 7);
}

TEST_F(ItemTest, NullFiguresLoadAsZeroEmptyAndTheZeroDate)
{
    ASSERT_TRUE(item.LoadItem("101", "10"));

    EXPECT_TRUE(item.LoadItem("102", "10"));

    EXPECT_EQ(item.ItemID, "102");
    EXPECT_EQ(item.OnHand, 0);
    EXPECT_EQ(item.MaxStock, 0);
    EXPECT_EQ(item.NetAmount, base::Money());
    EXPECT_EQ(item.MarkupIn, 0);
    EXPECT_EQ(item.MinimumStockLevel, 0);
    EXPECT_EQ(item.ExpiryDate, base::ZeroDate());
    EXPECT_EQ(item.LastInventoryCount, base::ZeroDate());
    EXPECT_EQ(item.GLCode, "");
    EXPECT_EQ(item.StartDate, "");
    EXPECT_FALSE(item.IsFloor);
}

TEST_F(ItemTest, LoadedBlankAndMissingItems)
{
    ASSERT_TRUE(item.LoadItem("101", "10"));
    sent.clear();

    // The loaded item again reads nothing, whatever the location.
    EXPECT_TRUE(item.LoadItem("101", "20"));
    EXPECT_TRUE(sent.isEmpty());

    EXPECT_TRUE(item.LoadItem(" ", "10"));
    EXPECT_TRUE(sent.isEmpty());
    EXPECT_EQ(item.ItemID, "");
    EXPECT_EQ(item.OnHand, 0);
    EXPECT_EQ(item.ExpiryDate, base::ZeroDate());
    EXPECT_EQ(item.Packing, 100);

    ASSERT_TRUE(item.LoadItem("101", "10"));
    EXPECT_FALSE(item.LoadItem("101X", "10"));
    EXPECT_EQ(item.ItemID, "");
    EXPECT_EQ(item.OnHand, 0);
    EXPECT_EQ(item.AverageCost, base::Money());
    EXPECT_EQ(item.Location()->Code, "");
    EXPECT_EQ(item.UOMDescription, "BOX");
    EXPECT_EQ(item.ADSStock, 7);
}

TEST_F(ItemTest, FailedLoadIsShownAndKeepsTheColumnsReadBeforeIt)
{
    db.Insert("tbInvMaster", {{"ItemID", "103"}, {"ItemName", "BANDAGE"}});
    db.Insert("tbInvent", {{"ItemID", "103"}, {"LocationID", "10"}, {"OnHand", 3}, {"ExpiryDate", "soon"},
                           {"NewGLCode", "9999"}, {"StartDate", "02/01/2026"}});
    ASSERT_TRUE(item.LoadItem("101", "10"));
    prompts.Expect({"Type mismatch", "Message", forms::Icon::Critical, forms::Buttons::Ok});

    EXPECT_FALSE(item.LoadItem("103", "10"));

    EXPECT_EQ(item.ItemID, "103");
    EXPECT_EQ(item.OnHand, 3);
    EXPECT_EQ(item.LastInventoryCount, base::ZeroDate());
    EXPECT_EQ(item.ExpiryDate, At("2026-01-31 00:00:00"));
    EXPECT_EQ(item.GLCode, "5100");
    EXPECT_EQ(item.StartDate, "01/01/2026");

    refuse = [](const QString&) { return true; };
    prompts.Expect({"Statement refused", "Message", forms::Icon::Critical, forms::Buttons::Ok});
    EXPECT_FALSE(item.LoadItem("102", "10"));
}

TEST_F(ItemTest, SubRecordsLoadOnFirstReadOnTheActiveConnection)
{
    ASSERT_TRUE(item.LoadItem("101", "10"));

    const std::shared_ptr<records::clsItemMaster> master = item.ItemMaster();
    EXPECT_EQ(master->ItemName, "GAUZE");
    EXPECT_EQ(item.Location()->Description, "PHARMACY");
    EXPECT_EQ(item.ItemMaster(), master);
    item.Location();
    EXPECT_EQ(sentOnActive, (QStringList{"Select * From INVENTORY..tbInvMaster Where ItemID = '101'",
                                         "Select * From INVENTORY..tbInvLocation Where LocationID = '10'"}));
    EXPECT_EQ(sent.size(), 1);

    // A set replaces the kept record; another item's load lets both go.
    auto other = std::make_shared<records::clsItemMaster>(services);
    item.ItemMaster(other);
    EXPECT_EQ(item.ItemMaster(), other);
    ASSERT_TRUE(item.LoadItem("102", "10"));
    EXPECT_EQ(item.ItemMaster()->ItemName, "SYRINGE");
    EXPECT_EQ(item.Location()->Code, "10");
    EXPECT_EQ(master->ItemName, "GAUZE");
}

TEST_F(ItemTest, LocationThatCannotBeReadRaises)
{
    ASSERT_TRUE(item.LoadItem("101", "10"));
    records::clsItem unconnected{services};
    ASSERT_TRUE(unconnected.LoadItem("101", "10"));

    ExpectRecordError([&] { unconnected.Location(); }, "clsItem:Location Property Get");
    // The master record raises its own error.
    ExpectRecordError([&] { unconnected.ItemMaster(); }, "clsItemMaster:LoadItem Method");

    // Nothing was kept: the next read tries again.
    unconnected.ActiveConnection(active);
    EXPECT_EQ(unconnected.Location()->Description, "PHARMACY");
}

// The product search limited to the request's locations: here both
// are the pharmacy.
class ItemSearchTest : public ItemTest {
protected:
    ItemSearchTest() { requestLocations = {"10", "10"}; }
};

TEST_F(ItemSearchTest, SingleMatchLoadsAtTheLocationWithoutTheDialog)
{
    EXPECT_TRUE(item.SearchItem("102", "PHARMACY", "10"));
    EXPECT_EQ(item.ItemID, "102");
    EXPECT_EQ(sent.last(), "Inventory..sp_Inv_SearchItem_In_Invent '102','10'");
    EXPECT_TRUE(dialogs.Opened().isEmpty());
}

TEST_F(ItemSearchTest, PickedRowIsLoadedAndClosingLeavesTheItem)
{
    QString shownLocation;
    dialogs.On<dialogs::ItemLookup>([&](dialogs::ItemLookup& d) {
        shownLocation = d.txtLocation.Text();
        d.grdLookup.SetRow(2);
        d.ClickSelect();
    });
    EXPECT_TRUE(item.SearchItem("", "PHARMACY", "10"));
    EXPECT_EQ(shownLocation, "PHARMACY");
    EXPECT_EQ(item.ItemID, "102");

    dialogs.On<dialogs::ItemLookup>([](dialogs::ItemLookup& d) { d.ClickClose(); });
    EXPECT_FALSE(item.SearchItem("", "PHARMACY", "10"));
    EXPECT_EQ(item.ItemID, "102");
    EXPECT_EQ(dialogs.Opened().size(), 2);
}

} // namespace
