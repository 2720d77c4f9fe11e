#include "records/Location.h"

#include "RecordsFixture.h"

#include <gtest/gtest.h>

namespace {

using records_testing::ExpectRecordError;

class LocationTest : public ::testing::Test, protected records_testing::RecordsFixture {
protected:
    LocationTest() { location.ActiveConnection(Connection()); }

    void AddLocation(const char* id, QVariant name = QVariant(), QVariant status = QVariant(),
                     QVariant warehouse = QVariant(), QVariant dispensing = QVariant(), QVariant order = QVariant())
    {
        db.Insert("tbInvLocation", {{"LocationID", id}, {"Location", name}, {"Status", status},
                                    {"isWarehouse", warehouse}, {"isDispensingArea", dispensing},
                                    {"AllowOrder", order}});
    }

    QVariant Stored(const char* column, const char* id)
    {
        return db.Native(QStringLiteral("SELECT %1 FROM tbInvLocation WHERE LocationID = '%2'")
                                                 .arg(QLatin1String(column), QLatin1String(id)))
            .Field(0);
    }

    records::clsLocation location{services};
};

TEST_F(LocationTest, LoadFillsTheRowAndDefaultsItsNulls)
{
    AddLocation("10", "PHARMACY", "I", 0, 0, 1);
    AddLocation("20");

    EXPECT_TRUE(location.LoadLocation("10"));
    EXPECT_EQ(sent, QStringList{"Select * From INVENTORY..tbInvLocation Where LocationID = '10'"});
    EXPECT_EQ(location.Code, "10");
    EXPECT_EQ(location.Description, "PHARMACY");
    EXPECT_EQ(location.Status, "I");
    EXPECT_EQ(location.IsWareHouse, 0);
    EXPECT_EQ(location.isDispensingArea, 0);
    EXPECT_TRUE(location.AllowedForPO);

    EXPECT_TRUE(location.LoadLocation("20"));
    EXPECT_EQ(location.Code, "20");
    EXPECT_EQ(location.Description, "");
    EXPECT_EQ(location.Status, "A");
    EXPECT_EQ(location.IsWareHouse, 1);
    EXPECT_EQ(location.isDispensingArea, 1);
    EXPECT_FALSE(location.AllowedForPO);
}

TEST_F(LocationTest, EveryLoadReadsAndAMissingIdResetsAllButAllowedForPO)
{
    AddLocation("10", "PHARMACY", "I", 0, 0, 1);
    ASSERT_TRUE(location.LoadLocation("10"));
    EXPECT_TRUE(location.LoadLocation("10"));

    EXPECT_FALSE(location.LoadLocation("99"));
    EXPECT_EQ(location.Code, "");
    EXPECT_EQ(location.Description, "");
    EXPECT_EQ(location.Status, "A");
    EXPECT_EQ(location.IsWareHouse, 1);
    EXPECT_EQ(location.isDispensingArea, 1);
    EXPECT_TRUE(location.AllowedForPO);

    // A blank ID is looked up like any other.
    EXPECT_FALSE(location.LoadLocation("  "));
    EXPECT_EQ(sent.size(), 4);
}

TEST_F(LocationTest, NewLocationTakesTheNextIdWhileCodeStays)
{
    for (const char* id : {"1", "2", "7"})
        AddLocation(id, "WARD");
    location.Code = "NEW";
    location.Description = "WARD 8";
    location.IsWareHouse = 1;
    location.isDispensingArea = 0;
    location.AllowedForPO = true;

    EXPECT_TRUE(location.Update());

    EXPECT_EQ(sent, (QStringList{
                        "Select * From INVENTORY..tbInvLocation Where LocationID = 'NEW'",
                        "Select Convert( VarChar(4),Max( Convert(Integer,LocationID ) ) + 1 ) As NewLocationID "
                        "From INVENTORY..tbInvLocation",
                        "Insert Into INVENTORY..tbInvLocation (LocationId, Location, Status, IsWareHouse, "
                        "isDispensingArea, AllowOrder ) Values ('8',' WARD 8','A', 1, 0,1)",
                    }));
    EXPECT_EQ(location.Code, "NEW");
    EXPECT_EQ(Stored("Location", "8"), " WARD 8");
    EXPECT_EQ(Stored("AllowOrder", "8"), 1);
}

TEST_F(LocationTest, FirstLocationOfAnEmptyTableIsOne)
{
    location.Description = "STORE";
    EXPECT_TRUE(location.Update());
    EXPECT_EQ(sent.last(), "Insert Into INVENTORY..tbInvLocation (LocationId, Location, Status, IsWareHouse, "
                           "isDispensingArea, AllowOrder ) Values ('1',' STORE','A', 1, 1,0)");
    EXPECT_EQ(location.Code, "");
}

TEST_F(LocationTest, KnownCodeIsUpdatedInPlace)
{
    AddLocation("10", "PHARMACY", "A", 1, 1, 0);
    ASSERT_TRUE(location.LoadLocation("10"));
    location.Description = "ST. JUDE'S WARD";
    location.Status = "I";
    location.IsWareHouse = -1;
    location.AllowedForPO = true;
    sent.clear();

    EXPECT_TRUE(location.Update());

    EXPECT_EQ(sent.size(), 2);
    EXPECT_EQ(sent.last(), "Update INVENTORY..tbInvLocation Set Location = 'ST. JUDE''S WARD', Status = 'I', "
                           "isWarehouse = -1, isDispensingArea =  1, AllowOrder = 1 Where LocationID = '10'");
    EXPECT_EQ(Stored("Location", "10"), "ST. JUDE'S WARD");
    EXPECT_EQ(Stored("isWarehouse", "10"), -1);
    EXPECT_EQ(db.Scalar("SELECT COUNT(*) FROM tbInvLocation"), 1);
}

TEST_F(LocationTest, LoadFailureRaisesWithoutAMessage)
{
    refuse = [](const QString&) { return true; };
    ExpectRecordError([&] { location.LoadLocation("10"); }, "clsLocation:LoadLocation Method");

    records::clsLocation unconnected{services};
    ExpectRecordError([&] { unconnected.LoadLocation("10"); }, "clsLocation:LoadLocation Method");
}

TEST_F(LocationTest, UpdateFailureIsShownThenRaised)
{
    refuse = [](const QString& statement) { return statement.startsWith("Insert"); };
    prompts.Expect({"Statement refused", forms::kApplicationTitle, forms::Icon::None, forms::Buttons::Ok});

    ExpectRecordError([&] { location.Update(); }, "clsLocation:Update Method");
    EXPECT_EQ(db.Scalar("SELECT COUNT(*) FROM tbInvLocation"), 0);
}

} // namespace
