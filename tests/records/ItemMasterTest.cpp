#include "dialogs/ItemLookup.h"
#include "records/ItemMaster.h"

#include "RecordsFixture.h"

#include <gtest/gtest.h>

namespace {

using records_testing::ExpectRecordError;

class ItemMasterTest : public ::testing::Test, protected records_testing::RecordsFixture {
protected:
    ItemMasterTest() { master.ActiveConnection(Connection()); }

    void AddGauze()
    {
        db.Insert("tbInvMaster",
                  {{"ItemID", "101"}, {"ItemName", "GAUZE"}, {"ItemDesc", "4X4"}, {"SupplierID", "S1"},
                   {"MarkupIn", 10}, {"MarkupOut", 20}, {"DownTime", 1.5}, {"ListCost", 12.3456}, {"Freight", 2.25},
                   {"SalesTax", 0.12}, {"ItemStatus", 0}, {"Packing", 100}, {"VAT", 12}, {"BarCode", "480001"},
                   {"ItemClassificationID", "C1"}, {"UnitOfMeasureID", 3}, {"OralInject", "O"},
                   {"AverageCost", 11.5}, {"GenericID", "G1"}, {"ManufacturerID", "M1"},
                   {"IsSeniorDiscounted", 1}, {"WithLotNumber", 1}, {"MedicareType", "D"},
                   {"MedicareCategory", "B"}, {"GLCode", "5100"}});
    }

    records::clsItemMaster master{services};
};

TEST_F(ItemMasterTest, LoadFillsEveryMemberOfTheRow)
{
    AddGauze();

    EXPECT_TRUE(master.LoadItem("101"));

    EXPECT_EQ(sent, QStringList{"Select * From INVENTORY..tbInvMaster Where ItemID = '101'"});
    EXPECT_EQ(master.ItemID, "101");
    EXPECT_EQ(master.ItemName, "GAUZE");
    EXPECT_EQ(master.ItemDesc, "4X4");
    EXPECT_EQ(master.MarkupIn, 10);
    EXPECT_EQ(master.MarkupOut, 20);
    EXPECT_EQ(master.DownTime, 1.5);
    EXPECT_EQ(master.ListCost, base::Money::FromUnits(123456));
    EXPECT_EQ(master.Freight, 2.25);
    EXPECT_EQ(master.SalesTax, 0.12);
    EXPECT_EQ(master.ItemStatus, 0);
    EXPECT_EQ(master.Packing, 100);
    EXPECT_EQ(master.VAT, 12);
    EXPECT_EQ(master.BarCode, "480001");
    EXPECT_EQ(master.EndorseMedicine, "O");
    EXPECT_EQ(master.AverageCost, base::Money::FromUnits(115000));
    EXPECT_TRUE(master.SeniorCitizenDiscount);
    EXPECT_TRUE(master.WithLotNumber);
    EXPECT_EQ(master.MedicareType, "D");
    EXPECT_EQ(master.MedicareCategory, "B");
    EXPECT_EQ(master.GLCode, "5100");
}

TEST_F(ItemMasterTest, NullColumnsTakeTheirDefaults)
{
    AddGauze();
    ASSERT_TRUE(master.LoadItem("101"));
    db.Insert("tbInvMaster", {{"ItemID", "102"}});

    EXPECT_TRUE(master.LoadItem("102"));

    EXPECT_EQ(master.ItemName, "");
    EXPECT_EQ(master.ItemDesc, "");
    EXPECT_EQ(master.MarkupIn, 0);
    EXPECT_EQ(master.ListCost, base::Money());
    EXPECT_EQ(master.Packing, 0);
    EXPECT_EQ(master.BarCode, "0");
    EXPECT_EQ(master.EndorseMedicine, "X");
    EXPECT_EQ(master.MedicareType, "N");
    EXPECT_EQ(master.MedicareCategory, "A");
    EXPECT_FALSE(master.SeniorCitizenDiscount);
    EXPECT_FALSE(master.WithLotNumber);
    EXPECT_EQ(master.GLCode, "");
}

TEST_F(ItemMasterTest, LoadedOrBlankCodeReadsNothing)
{
    AddGauze();
    ASSERT_TRUE(master.LoadItem("101"));
    db.Native("UPDATE tbInvMaster SET ItemName = 'CHANGED'");
    sent.clear();

    EXPECT_TRUE(master.LoadItem("101"));
    EXPECT_EQ(master.ItemName, "GAUZE");

    // The blank code resets the record, leaving what the reset keeps.
    EXPECT_TRUE(master.LoadItem("   "));
    EXPECT_EQ(master.ItemID, "");
    EXPECT_EQ(master.ItemName, "");
    EXPECT_EQ(master.BarCode, "");
    EXPECT_EQ(master.EndorseMedicine, "X");
    EXPECT_EQ(master.AverageCost, base::Money());
    EXPECT_EQ(master.MedicareType, "D");
    EXPECT_TRUE(master.WithLotNumber);
    EXPECT_EQ(master.GLCode, "5100");
    EXPECT_TRUE(sent.isEmpty());
}

TEST_F(ItemMasterTest, CodeWithoutARowResetsAndGivesFalse)
{
    AddGauze();
    ASSERT_TRUE(master.LoadItem("101"));

    EXPECT_FALSE(master.LoadItem("999"));

    EXPECT_EQ(master.ItemID, "");
    EXPECT_EQ(master.Packing, 0);
    EXPECT_EQ(master.EndorseMedicine, "X");
    EXPECT_EQ(master.MedicareCategory, "B");
    EXPECT_TRUE(master.SeniorCitizenDiscount);
}

TEST_F(ItemMasterTest, FailedLoadRaisesAndKeepsWhatWasFilled)
{
    AddGauze();
    ASSERT_TRUE(master.LoadItem("101"));
    // A packing too large for the member.
    db.Insert("tbInvMaster", {{"ItemID", "103"}, {"ItemName", "BANDAGE"}, {"ItemStatus", 1}, {"Packing", 70000},
                              {"VAT", 0}, {"BarCode", "480003"}});

    ExpectRecordError([&] { master.LoadItem("103"); }, "clsItemMaster:LoadItem Method");

    EXPECT_EQ(master.ItemID, "103");
    EXPECT_EQ(master.ItemName, "BANDAGE");
    EXPECT_EQ(master.ItemStatus, 1);
    EXPECT_EQ(master.Packing, 100);
    EXPECT_EQ(master.VAT, 12);
    EXPECT_EQ(master.BarCode, "480001");

    refuse = [](const QString&) { return true; };
    ExpectRecordError([&] { master.LoadItem("101"); }, "clsItemMaster:LoadItem Method");
    records::clsItemMaster unconnected{services};
    ExpectRecordError([&] { unconnected.LoadItem("101"); }, "clsItemMaster:LoadItem Method");
}

class ItemMasterSearchTest : public ItemMasterTest {
protected:
    ItemMasterSearchTest()
    {
        AddGauze();
        db.Insert("tbInvMaster", {{"ItemID", "102"}, {"ItemName", "GARLIC CAPSULE"}, {"ItemStatus", 0}});
        db.Insert("tbInvMaster", {{"ItemID", "201"}, {"ItemName", "SYRINGE"}, {"ItemStatus", 0}});
    }
};

TEST_F(ItemMasterSearchTest, SingleMatchLoadsWithoutTheDialog)
{
    EXPECT_TRUE(master.SearchItem("201"));
    EXPECT_EQ(master.ItemName, "SYRINGE");
    EXPECT_TRUE(dialogs.Opened().isEmpty());
}

TEST_F(ItemMasterSearchTest, PickedRowIsLoaded)
{
    dialogs.On<dialogs::ItemLookup>([](dialogs::ItemLookup& d) {
        d.grdLookup.SetRow(2);
        d.ClickSelect();
    });
    EXPECT_TRUE(master.SearchItem("ga"));
    EXPECT_EQ(master.ItemID, "101");
    EXPECT_EQ(master.ItemName, "GAUZE");
}

TEST_F(ItemMasterSearchTest, ClosingWithoutAPickLeavesTheRecord)
{
    ASSERT_TRUE(master.LoadItem("201"));
    dialogs.On<dialogs::ItemLookup>([](dialogs::ItemLookup& d) { d.ClickClose(); });

    EXPECT_FALSE(master.SearchItem("GA"));

    EXPECT_EQ(dialogs.Opened().size(), 1);
    EXPECT_EQ(master.ItemID, "201");
    EXPECT_EQ(master.ItemName, "SYRINGE");
}

} // namespace
