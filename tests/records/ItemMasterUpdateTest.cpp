// The item master's sub-records and its insert-or-update.
#include "records/ItemMaster.h"

#include "RecordsFixture.h"

#include <gtest/gtest.h>

namespace {

using records_testing::ExpectRecordError;

const QString kInsertHead =
    "Insert Into INVENTORY..tbInvMaster (ItemID,ItemName, ItemDesc, SupplierId, MarkupIn,  MarkupOut, DownTime, "
    "Listcost, ItemClassificationID, ItemStatus,  UnitOfMeasureID, Packing, BarCode, MedicareType,"
    "IncludeInStatement,OralInject, AverageCost, ManufacturerID, IsSeniorDiscounted, WithLOTNumber, "
    "MedicareCategory, GLCode ) Values (";

class ItemMasterUpdateTest : public ::testing::Test, protected records_testing::RecordsFixture {
protected:
    ItemMasterUpdateTest() { master.ActiveConnection(Connection()); }

    void AddItem(const char* id, QVariant medicareType = QVariant())
    {
        db.Insert("tbInvMaster", {{"ItemID", id}, {"ItemName", "STORED"}, {"MedicareType", medicareType}});
    }

    // Sub-records holding these codes, and values that show every pattern.
    void Prepare(const QString& supplierID = " S1 ")
    {
        auto supplier = std::make_shared<records::clsSupplier>(services);
        supplier->SupplierID = supplierID;
        master.Supplier(supplier);
        auto manufacturer = std::make_shared<records::clsSupplier>(services);
        manufacturer->SupplierID = " M1 ";
        master.Manufacturer(manufacturer);
        auto itemClass = std::make_shared<records::clsItemClass>(services);
        itemClass->Code = " C";
        master.ItemClass(itemClass);
        auto unit = std::make_shared<records::clsUnitOfMeasure>(services);
        unit->Code = 12;
        master.UnitOfMeasure(unit);
        master.ItemName = " GAUZE PAD ";
        master.ItemDesc = " 4X4 ";
        master.MarkupIn = 15;
        master.MarkupOut = -5;
        master.DownTime = 1.255;
        master.ListCost = base::Money::FromUnits(125000);
        master.AverageCost = base::Money::FromUnits(31);
        master.ItemStatus = 1;
        master.Packing = 100;
        master.BarCode = " 480 ";
        master.EndorseMedicine = "O";
        master.SeniorCitizenDiscount = true;
        master.WithLotNumber = false;
        master.MedicareType = "M";
        master.MedicareCategory = "B";
        master.GLCode = "5-01";
        master.ItemClassTag = "RX";
    }

    QString StoredText(const QString& query) { return db.Native(query).Field(0).toString(); }

    records::clsItemMaster master{services};
};

TEST_F(ItemMasterUpdateTest, NewItemIsInsertedUnderTheNextCodeWhichItKeeps)
{
    for (const char* id : {"P0001", "P0002", "15"})
        AddItem(id);
    Prepare();
    master.ItemID = "ANY";

    EXPECT_TRUE(master.Update());

    EXPECT_EQ(sent, (QStringList{
                        "Select ItemID From INVENTORY..tbInvMaster Where ItemID = 'ANY'",
                        "Select Convert(VarChar(4),Max( Convert(Integer,Replace(itemid,'P','')) ) + 1)  as MaxCode "
                        "From INVENTORY..tbInvMaster",
                        kInsertHead + "'16','GAUZE PAD','4X4','S1',15,-5,1.26,12.5000,' C', 1,12,100,' 480 ','2',1,"
                                      "'O',0.0031, 'M1',1,0,'B','5-01')",
                    }));
    EXPECT_EQ(master.ItemID, "16");
    EXPECT_EQ(StoredText("SELECT ItemName || '|' || MedicareType || '|' || IncludeInStatement FROM tbInvMaster "
                         "WHERE ItemID = '16'"),
              "GAUZE PAD|2|1");

    // With medicare the type is the item's own.
    master.ItemID.clear();
    master.WithMedicare = true;
    EXPECT_TRUE(master.Update());
    EXPECT_EQ(master.ItemID, "17");
    EXPECT_TRUE(sent.last().contains("' 480 ','M',1,'O',")) << sent.last().toStdString();
}

TEST_F(ItemMasterUpdateTest, NextCodeOfSmallTables)
{
    struct Case { const char* name; QStringList stored; const char* expected; };
    const Case cases[] = {
        {"empty table", {}, "1"},
        {"letters P removed", {"P0001", "P0002", "15"}, "16"},
        // The server refuses a code that is no whole number; the highest
        // whole one counts, as request numbering does.
        {"a code with another letter", {"K0001", "P0007", "3"}, "8"},
        {"no whole code at all", {"K0001"}, "1"},
        // Four characters cannot hold the next code: counted here too.
        {"past 9999", {"9999", "P0010"}, "10000"},
    };
    for (const Case& c : cases) {
        db.Native("DELETE FROM tbInvMaster");
        for (const QString& id : c.stored)
            AddItem(id.toLatin1().constData());
        Prepare();
        master.ItemID.clear();
        EXPECT_TRUE(master.Update()) << c.name;
        EXPECT_EQ(master.ItemID, c.expected) << c.name;
        EXPECT_EQ(db.Scalar("SELECT COUNT(*) FROM tbInvMaster"), c.stored.size() + 1) << c.name;
    }
}

TEST_F(ItemMasterUpdateTest, StoredItemIsUpdatedInEitherMedicareForm)
{
    struct Case { bool withMedicare; const char* tail; const char* storedType; };
    const Case cases[] = {
        {true, ", MedicareType = 'M' , MedicareCategory = 'B' , GLCode = '5-01', ItemClass = 'RX' Where ItemID = 'P0001'",
         "M"},
        {false, ", MedicareCategory = 'B' , GLCode = '5-01', ItemClass = 'RX'  Where ItemID = 'P0001'", "D"},
    };
    for (const Case& c : cases) {
        db.Native("DELETE FROM tbInvMaster");
        AddItem("P0001", "D");
        Prepare();
        master.ItemID = "P0001";
        master.WithMedicare = c.withMedicare;
        sent.clear();

        EXPECT_TRUE(master.Update());

        ASSERT_EQ(sent.size(), 2);
        EXPECT_EQ(sent[0], "Select ItemID From INVENTORY..tbInvMaster Where ItemID = 'P0001'");
        EXPECT_EQ(sent[1], "Update INVENTORY..tbInvMaster Set ItemName = ' GAUZE PAD ', ItemDesc = ' 4X4 ', "
                           "SupplierId = ' S1 ', MarkupIn = 15, MarkupOut = -5, DownTime = 1.26, Listcost = 12.5000, "
                           "ItemClassificationID = ' C', ItemStatus =  1, UnitOfMeasureID = 12, Packing = 100, "
                           "AverageCost = 0.0031, BarCode = ' 480 ', OralInject = 'O',  ManufacturerID = 'M1' , "
                           "IsSeniorDiscounted = 1, WithLOTNumber = 0"
                               + QString(c.tail));
        EXPECT_EQ(StoredText("SELECT MedicareType || ItemClass || ItemName FROM tbInvMaster WHERE ItemID = 'P0001'"),
                  QString(c.storedType) + "RX GAUZE PAD ");
        EXPECT_EQ(master.ItemID, "P0001");
    }
}

TEST_F(ItemMasterUpdateTest, AFailureIsShownThenRaisedAfterItsDescription)
{
    // A sub-record neither given nor read: nothing is asked of the database.
    AddItem("P0001");
    Prepare();
    master.Manufacturer(nullptr);
    const QString missing = "The Manufacturer record was neither set nor read before the update.";
    prompts.Expect({missing, forms::kApplicationTitle, forms::Icon::None, forms::Buttons::Ok});
    ExpectRecordError([&] { master.Update(); }, missing + "clsItemMaster:Update Method");
    EXPECT_TRUE(sent.isEmpty());

    // A refused insert keeps the new code on the object, stores nothing.
    Prepare();
    master.ItemID.clear();
    refuse = [](const QString& statement) { return statement.startsWith("Insert"); };
    prompts.Expect({"Statement refused", forms::kApplicationTitle, forms::Icon::None, forms::Buttons::Ok});
    ExpectRecordError([&] { master.Update(); }, "Statement refusedclsItemMaster:Update Method");
    EXPECT_EQ(master.ItemID, "2");
    EXPECT_EQ(db.Scalar("SELECT COUNT(*) FROM tbInvMaster"), 1);
    EXPECT_FALSE(Connection().InTransaction());
}

TEST_F(ItemMasterUpdateTest, SubRecordsLoadByTheItemsCodesAndAfreshForAnotherItem)
{
    db.Insert("tbInvSupplier", {{"SupplierID", "1"}, {"SupplierName", "MERIDIAN"}});
    db.Insert("tbInvSupplier", {{"SupplierID", "2"}, {"SupplierName", "PACIFIC"}});
    db.Insert("tbInvClassification", {{"ItemClassificationID", "C"}, {"ItemClassificationName", "CONSUMABLES"}});
    db.Insert("tbInvUnitOfMeasure", {{"UnitOfMeasureID", 3}, {"UnitOfMeasure", "BOX"}});
    db.Insert("tbforGeneric", {{"GenericID", "G1"}, {"GenericName", "PARACETAMOL"}});
    db.Insert("tbInvMaster", {{"ItemID", "101"}, {"SupplierID", "1"}, {"ItemClassificationID", "C"},
                              {"UnitOfMeasureID", 3}, {"GenericID", "G1"}, {"ManufacturerID", "2"}});
    db.Insert("tbInvMaster", {{"ItemID", "102"}, {"SupplierID", "2"}, {"ManufacturerID", "9"}});
    ASSERT_TRUE(master.LoadItem("101"));

    const auto supplier = master.Supplier();
    EXPECT_EQ(supplier->SupplierName, "MERIDIAN");
    EXPECT_EQ(master.Supplier(), supplier);
    EXPECT_EQ(master.ItemClass()->Description, "CONSUMABLES");
    EXPECT_EQ(master.UnitOfMeasure()->Description, "BOX");
    EXPECT_EQ(master.Generic()->GenericName(), "PARACETAMOL");
    EXPECT_EQ(master.Manufacturer()->SupplierName, "PACIFIC");

    ASSERT_TRUE(master.LoadItem("102"));
    EXPECT_EQ(master.Supplier()->SupplierName, "PACIFIC");
    // Codes without a row give reset records, without an error.
    EXPECT_EQ(master.Manufacturer()->SupplierID, "");
    EXPECT_EQ(master.ItemClass()->Code, "");
    EXPECT_EQ(master.UnitOfMeasure()->Code, 0);
    EXPECT_EQ(master.Generic()->GenericID(), "");
}

TEST_F(ItemMasterUpdateTest, SupplierAndClassGetsRaiseTheirOwnErrors)
{
    db.Insert("tbInvMaster", {{"ItemID", "101"}, {"SupplierID", "1"}, {"ItemClassificationID", "C"}});
    ASSERT_TRUE(master.LoadItem("101"));
    refuse = [](const QString&) { return true; };
    ExpectRecordError([&] { master.Supplier(); }, "clsItemMaster:Supplier Property Get");
    ExpectRecordError([&] { master.ItemClass(); }, "clsItemMaster:ItemClass Property Get");
    // The unit's own error passes through.
    db.Native("UPDATE tbInvMaster SET UnitOfMeasureID = 3");
    records::clsItemMaster other{services};
    other.ActiveConnection(Connection());
    refuse = nullptr;
    ASSERT_TRUE(other.LoadItem("101"));
    refuse = [](const QString&) { return true; };
    ExpectRecordError([&] { other.UnitOfMeasure(); }, "clsUnitOfMeasure:LoadUOM Method");
}

} // namespace
