// A new request filled from the department's own minimum and maximum levels.

#include "forms/Prompts.h"
#include "requests/LevelFill.h"
#include "requests/ScreenFixture.h"

#include <gtest/gtest.h>

#include <optional>

using screen_testing::ScreenFixture;

namespace {

using Screen = requests::RequestScreen;

// The screen's hospital with three items that the emergency room (10)
// keeps between 5 and 50: gauze (101) with 2 on hand, syringes (102) with
// none, cotton (103) with 30. The central supply room (94) has 10 gauze,
// 80 syringes (an ADS item there) and 60 cotton.
struct Ward : ScreenFixture {
    Screen* s = nullptr;

    Ward()
    {
        Master("101", "GAUZE", "4X4", 2.5);
        Master("102", "SYRINGE", "5ML", 1.25);
        Master("103", "COTTON", "ROLL", 4);
        Stock("101", "94", 10);
        Stock("102", "94", 80, 1);
        Stock("103", "94", 60);
        Stock("101", "10", 2);
        Stock("102", "10", 0);
        Stock("103", "10", 30);
    }

    void Master(const char* id, const char* name, const char* description, double averageCost)
    {
        db.Insert("tbInvMaster", {{"ItemID", id}, {"ItemName", name}, {"ItemDesc", description},
                                  {"AverageCost", averageCost}, {"ItemStatus", 0}, {"Packing", 1}});
    }

    void Stock(const char* item, const char* location, double onHand, int ads = 0)
    {
        db.Insert("tbInvent", {{"ItemID", item}, {"LocationID", location}, {"ItemStatus", 0}, {"OnHand", onHand},
                               {"MinStockLevel", 5}, {"MaxStock", 50}, {"IsADSStock", ads}, {"ADSStock", ads ? 7 : 0}});
    }

    // A new request from the emergency room to the central supply room.
    Screen& New()
    {
        if (!s)
            s = &Open();
        s->New();
        EXPECT_EQ(s->cboTargetLocation.Tag(), "10");
        EXPECT_EQ(s->cboLocation.Tag(), "94");
        return *s;
    }

    void TypeLine(const QString& code, const QString& quantity)
    {
        s->focus.Focus(&s->txtProdCode);
        s->txtProdCode.SetText(code);
        s->focus.Focus(&s->txtWithdraw);
        s->txtWithdraw.SetText(quantity);
        s->focus.Focus(&s->txtUnitCost);
        s->cmdOK.Click();
    }

    QStringList Lines() const
    {
        QStringList lines;
        for (int r = 1; r < s->grdDetails.Rows(); ++r)
            if (!s->grdDetails.Text(r, 0).isEmpty())
                lines << s->grdDetails.RowTexts(r).join('|');
        return lines;
    }
};

} // namespace

TEST(LevelFill, TheRuleAndWhatItPassesOver)
{
    // One item, 201, at the emergency room and the central supply room.
    struct Case {
        const char* what;
        QVariant wardOnHand;
        double minimum;
        double maximum;
        std::optional<double> expected;
        std::function<void(testing_support::TempDatabase&)> also = {};
    };
    const auto set = [](const char* sql) {
        return [sql](testing_support::TempDatabase& db) { db.Native(QString::fromLatin1(sql)); };
    };
    const Case cases[] = {
        {"below the minimum: up to the maximum", 2, 5, 20, 18},
        {"nothing on hand", 0, 5, 20, 20},
        {"no stock figure at all", QVariant(), 5, 20, 20},
        {"a fraction of a unit short asks for the whole unit", 2.5, 5, 20, 18},
        {"no maximum: up to the minimum", 1, 5, 0, 4},
        {"a maximum under the minimum: up to the minimum", 1, 5, 3, 4},
        {"at the minimum", 5, 5, 20, std::nullopt},
        {"above the minimum", 8, 5, 20, std::nullopt},
        {"no minimum kept", 0, 0, 20, std::nullopt},
        {"the store has none", 2, 5, 20, std::nullopt,
         set("UPDATE tbInvent SET OnHand = 0 WHERE LocationID = '94'")},
        {"the store does not stock it", 2, 5, 20, std::nullopt, set("DELETE FROM tbInvent WHERE LocationID = '94'")},
        {"inactive at the store", 2, 5, 20, std::nullopt,
         set("UPDATE tbInvent SET ItemStatus = 1 WHERE LocationID = '94'")},
        {"inactive at the department", 2, 5, 20, std::nullopt,
         set("UPDATE tbInvent SET ItemStatus = 1 WHERE LocationID = '10'")},
        {"an inactive item", 2, 5, 20, std::nullopt, set("UPDATE tbInvMaster SET ItemStatus = 1")},
        {"a fixed asset", 2, 5, 20, std::nullopt,
         [](testing_support::TempDatabase& db) {
             db.Insert("tbInvClassification", {{"ItemClassificationID", "FA"}, {"IsFixedAsset", 1}});
             db.Native("UPDATE tbInvMaster SET ItemClassificationID = 'FA'");
         }},
        {"a kit", 2, 5, 20, std::nullopt,
         [](testing_support::TempDatabase& db) {
             db.Native("UPDATE tbInvMaster SET KitID = 'K1'");
             db.Insert("tbInvKit", {{"KitID", "K1"}, {"ItemID", "301"}, {"Qty", 1}, {"Active", "A"}});
         }},
        {"a kit whose components are all inactive is an item", 2, 5, 20, 18,
         [](testing_support::TempDatabase& db) {
             db.Native("UPDATE tbInvMaster SET KitID = 'K1'");
             db.Insert("tbInvKit", {{"KitID", "K1"}, {"ItemID", "301"}, {"Qty", 1}, {"Active", "I"}});
         }},
    };
    for (const Case& c : cases) {
        testing_support::TempDatabase db;
        db.Insert("tbInvMaster", {{"ItemID", "201"}, {"ItemName", "GLOVES"}, {"ItemStatus", 0}});
        db.Insert("tbInvent", {{"ItemID", "201"}, {"LocationID", "10"}, {"OnHand", c.wardOnHand},
                               {"MinStockLevel", c.minimum}, {"MaxStock", c.maximum}, {"ItemStatus", 0}});
        db.Insert("tbInvent", {{"ItemID", "201"}, {"LocationID", "94"}, {"OnHand", 100}, {"ItemStatus", 0}});
        if (c.also)
            c.also(db);
        const QVector<requests::LevelLine> lines = requests::ReadLevelLines(db.Connection(), "10", "94");
        if (!c.expected) {
            EXPECT_TRUE(lines.isEmpty()) << c.what;
            continue;
        }
        ASSERT_EQ(lines.size(), 1) << c.what;
        EXPECT_EQ(lines[0].itemId, "201") << c.what;
        EXPECT_EQ(lines[0].quantity, *c.expected) << c.what;
    }
}

TEST(LevelFill, FilledLinesAreTheLinesTheClerkWouldHaveTyped)
{
    Ward f;
    Screen& s = f.New();
    f.TypeLine("101", "48");
    f.TypeLine("102", "50");
    const QStringList typed = f.Lines();
    ASSERT_EQ(typed.size(), 2);

    f.New();
    EXPECT_TRUE(s.Filling().cmdFill.IsVisible());
    s.Filling().cmdFill.Click();
    // By name; cotton is within its levels.
    EXPECT_EQ(f.Lines().join('\n').toStdString(), typed.join('\n').toStdString());
    EXPECT_EQ(f.Lines().join('\n').toStdString(), QStringList({"101|GAUZE 4X4|48|2.5000|120.0000|Y|N",
                                      "102|SYRINGE 5ML|50|1.2500|62.5000|Y|Y"}).join('\n').toStdString());
    EXPECT_EQ(s.lblStatus.Caption(), "2 of 2 line(s) filled from the levels of EMERGENCY ROOM.");
    EXPECT_EQ(s.txtTotalCounter.Text(), "182.5000");
    // Ready for a line of the clerk's own.
    EXPECT_EQ(s.focus.Current(), &s.txtProdCode);
    EXPECT_EQ(s.grdDetails.Row(), s.grdDetails.Rows() - 1);
    EXPECT_EQ(s.txtProdCode.Text(), "");

    // Saved as any request is.
    s.cmdSave.Click();
    EXPECT_EQ(f.db.Scalar("SELECT COUNT(*) FROM tbInvWithdrawRequest WHERE DocumentNumber = '13'"), 2);
}

TEST(LevelFill, ALineTheChecksRefuseIsToldAsWhenTypedAndTheOthersStay)
{
    Ward f;
    f.Switch("5", true);  // no quantity above the store's stock
    Screen& s = f.New();
    f.prompts.Expect({"Quantity must be less than or equal to Current Stock...", "MESSAGE", forms::Icon::Information,
                      forms::Buttons::Ok});
    s.Filling().cmdFill.Click();
    EXPECT_EQ(f.Lines().join('\n').toStdString(), QStringList{"102|SYRINGE 5ML|50|1.2500|62.5000|Y|Y"}.join('\n').toStdString());
    EXPECT_EQ(s.lblStatus.Caption(), "1 of 2 line(s) filled from the levels of EMERGENCY ROOM.");
    EXPECT_EQ(s.txtProdCode.Text(), "") << "the refused item does not stay in the entry";
}

TEST(LevelFill, WhatTheClerkEnteredStaysAsItIs)
{
    Ward f;
    Screen& s = f.New();
    f.TypeLine("101", "3");
    s.Filling().cmdFill.Click();
    EXPECT_EQ(f.Lines().join('\n').toStdString(), QStringList({"101|GAUZE 4X4|3|2.5000|7.5000|Y|N",
                                      "102|SYRINGE 5ML|50|1.2500|62.5000|Y|Y"}).join('\n').toStdString());

    f.prompts.Expect({"No item of EMERGENCY ROOM is below its minimum level with stock at CENTRAL SUPPLY ROOM that is "
                      "not on the request already.",
                      forms::kApplicationTitle, forms::Icon::Information, forms::Buttons::Ok});
    s.Filling().cmdFill.Click();
    EXPECT_EQ(f.Lines().size(), 2);
}

TEST(LevelFill, OfferedOnANewRequestOnly)
{
    Ward f;
    Screen& s = f.Open();
    f.s = &s;
    EXPECT_FALSE(s.Filling().cmdFill.IsVisible());
    EXPECT_EQ(s.Filling().cmdFill.Caption(), "Fill from &levels");
    f.SelectListed("7");
    s.cmdEdit.Click();
    EXPECT_FALSE(s.Filling().cmdFill.IsVisible()) << "a stored request is changed line by line";
    s.cmdList.Click();
    f.New();
    EXPECT_TRUE(s.Filling().cmdFill.IsVisible());

    // Without a department to fill for, the clerk is sent to choose one.
    s.cboTargetLocation.SetText("");
    s.cboTargetLocation.SetTag("");
    f.prompts.Expect("Choose the department the request is from and the location it is to first.");
    s.Filling().Fill();
    EXPECT_EQ(s.focus.Current(), &s.cboTargetLocation);
    EXPECT_TRUE(f.Lines().isEmpty());
}
