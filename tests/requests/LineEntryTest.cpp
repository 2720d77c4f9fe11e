#include "db/DbError.h"
#include "dialogs/ItemLookup.h"
#include "dialogs/KitPicker.h"
#include "forms/Prompts.h"
#include "requests/ScreenFixture.h"

#include <gtest/gtest.h>

using screen_testing::ScreenFixture;

namespace {

// The screen's fixture with two items in stock: GAUZE (101) has 10 on hand
// at the central supply room, SYRINGE (102) none; both are stocked at the
// emergency room, where GAUZE has 3. 102 has a barcode and an ADS stock.
// A numeric text is a code to the product search; any other is a name.
struct LineFixture : ScreenFixture {
    requests::RequestScreen* s = nullptr;

    LineFixture()
    {
        db.Insert("tbInvMaster", {{"ItemID", "101"}, {"ItemName", "GAUZE"}, {"ItemDesc", "4X4"}, {"ListCost", 4},
                                  {"Packing", 100}, {"AverageCost", 2.5}, {"ItemStatus", 0}});
        db.Insert("tbInvMaster", {{"ItemID", "102"}, {"ItemName", "SYRINGE"}, {"ItemDesc", "5ML"},
                                  {"BarCode", "4800123"}, {"AverageCost", 1.25}, {"ItemStatus", 0}});
        Stock("101", "94", 10, 0);
        Stock("102", "94", 0, 1);
        Stock("101", "10", 3, 0);
        Stock("102", "10", 0, 0);
    }

    void Stock(const char* item, const char* location, double onHand, int ads)
    {
        db.Insert("tbInvent", {{"ItemID", item}, {"LocationID", location}, {"ItemStatus", 0}, {"OnHand", onHand},
                               {"IsADSStock", ads}, {"ADSStock", ads ? 7 : 0}, {"MaxStock", 50},
                               {"MinStockLevel", 2}});
    }

    // A new request from the emergency room to the central supply room.
    requests::RequestScreen& New()
    {
        s = &Open();
        s->New();
        EXPECT_EQ(s->cboTargetLocation.Tag(), "10");
        EXPECT_EQ(s->cboLocation.Tag(), "94");
        return *s;
    }

    // Types into the code box and leaves it, as Enter does.
    void EnterCode(const QString& code)
    {
        s->focus.Focus(&s->txtProdCode);
        s->txtProdCode.SetText(code);
        s->focus.Focus(&s->txtWithdraw);
    }

    // A whole line: code, quantity and unit cost typed, then "Add to List".
    void EnterLine(const QString& code, const QString& quantity, const QString& unitCost = QString())
    {
        EnterCode(code);
        s->txtWithdraw.SetText(quantity);
        s->focus.Focus(&s->txtUnitCost);
        if (!unitCost.isNull())
            s->txtUnitCost.SetText(unitCost);
        s->cmdOK.Click();
    }

    QStringList Line(int row) const { return s->grdDetails.RowTexts(row).mid(0, 7); }

    // Opens a stored request from the list, its first line current.
    requests::RequestScreen& Edit(const QString& number)
    {
        s = &Open();
        SelectListed(number);
        s->cmdEdit.Click();
        EXPECT_EQ(s->SSTab1.Current(), requests::RequestScreen::kDetailsTab);
        return *s;
    }

    // The statements that read an item's stock figures.
    QStringList StockReads() const { return sent.filter("sp_Inv_SearchItem_In_Invent"); }
    // What was sent besides the site switch reads (leaving the quantity box
    // reads one).
    QStringList SentBesideSwitches() const
    {
        QStringList statements;
        for (const QString& statement : sent)
            if (!statement.contains("tbPharmaSwitch"))
                statements << statement;
        return statements;
    }
};

QString StockRead(const char* item, const char* location)
{
    return QString("Inventory..sp_Inv_SearchItem_In_Invent '%1','%2'").arg(item, location);
}

forms::Message Msg(const char* text, const char* title, forms::Icon icon)
{
    return {text, title, icon, forms::Buttons::Ok};
}

} // namespace

TEST(LineEntry, ACodeOrABarcodeFillsTheEntryFromTheItemAtTheStore)
{
    LineFixture f;
    requests::RequestScreen& s = f.New();
    f.EnterCode(" 101 ");
    EXPECT_EQ(s.txtProdCode.Text(), "101");
    EXPECT_EQ(s.txtProdName.Text(), "GAUZE 4X4");
    EXPECT_EQ(s.txtOnhand.Text(), "10");
    EXPECT_EQ(s.txtListCost.Text(), "4");
    EXPECT_EQ(s.txtPacking.Text(), "100");
    EXPECT_EQ(s.txtAverageCost.Text(), "2.5000");
    EXPECT_EQ(s.txtUnitCost.Text(), "2.5000");
    EXPECT_EQ(s.txtMax.Text(), "50");
    EXPECT_FALSE(s.chkAdS.IsVisible());
    EXPECT_EQ(s.focus.Current(), &s.txtWithdraw);

    // A barcode becomes its item; a unit cost already typed stays; an ADS
    // item shows and ticks its ADS box.
    s.txtUnitCost.SetText("9.0000");
    f.EnterCode("4800123");
    EXPECT_EQ(s.txtProdCode.Text(), "102");
    EXPECT_EQ(s.txtUnitCost.Text(), "9.0000");
    EXPECT_TRUE(s.chkAdS.IsVisible());
    EXPECT_TRUE(s.chkAdS.IsChecked());
    EXPECT_EQ(s.lblADSStock.Caption(), "7");

    // A code that finds nothing opens the product search; closed without a
    // pick it fills nothing and the focus moves on. It is offered again at
    // the next leave, and the code is no line.
    int searches = 0;
    f.dialogs.On<dialogs::ItemLookup>([&](dialogs::ItemLookup& d) {
        ++searches;
        d.ClickClose();
    });
    f.EnterCode("999");
    EXPECT_EQ(searches, 1);
    EXPECT_EQ(s.txtProdCode.Text(), "999");
    EXPECT_EQ(s.txtProdName.Text(), "SYRINGE 5ML");
    EXPECT_EQ(s.focus.Current(), &s.txtWithdraw);
    f.EnterCode("999");
    EXPECT_EQ(searches, 2);
    s.txtWithdraw.SetText("1");
    f.prompts.Expect(Msg("Invalid product code...", "MESSAGE", forms::Icon::Information));
    s.Lines().StoreLine();
    EXPECT_EQ(s.grdDetails.Rows(), 2);
}

TEST(LineEntry, TheCodeIsCheckedAgainUnlessTheBoxesShowItsItemForTheseLocations)
{
    {   // New opens the request selected in the list before it clears the
        // entry: the code that request's current line had is looked up, and
        // stored with its name and cost.
        LineFixture f;
        f.AddLine("13", "101", 2, 2.5, "N", 0, "10");
        requests::RequestScreen& s = f.Open();
        f.SelectListed("13");
        f.sent.clear();
        s.cmdNew.Click();
        ASSERT_EQ(f.StockReads(), QStringList{StockRead("101", "94")}) << "the selected request was opened";
        EXPECT_EQ(s.txtProdName.Text(), "");
        f.s = &s;
        f.sent.clear();
        f.EnterLine("101", "2");
        EXPECT_EQ(f.StockReads().value(0), StockRead("101", "94"));
        EXPECT_EQ(f.Line(1).mid(0, 5), (QStringList{"101", "GAUZE 4X4", "2", "2.5000", "5.0000"}));
    }
    {   // Leaving an opened line's code (to press Cancel, say) reads nothing.
        LineFixture f;
        f.AddLine("13", "101", 2, 2.5, "N", 0, "10");
        requests::RequestScreen& s = f.Edit("13");
        ASSERT_EQ(s.focus.Current(), &s.txtProdCode);
        f.sent.clear();
        EXPECT_TRUE(s.focus.Focus(&s.cmdCancel));
        EXPECT_EQ(f.sent, QStringList());
    }

    // A change of either picker's location checks the same code again, read
    // where the site keeps the stock (GAUZE has 10 at the central supply
    // room, 3 at the emergency room, 6 at the pharmacy).
    struct Case {
        const char* site;
        forms::Picker requests::RequestScreen::*picker;
        const char* readAt;
        const char* onHand;
    };
    using RS = requests::RequestScreen;
    const Case cases[] = {
        {"", &RS::cboLocation, "20", "6"},
        {"", &RS::cboTargetLocation, "94", "10"},
        {"KRV", &RS::cboTargetLocation, "20", "6"},
        {"KRV", &RS::cboLocation, "10", "3"},
    };
    for (const Case& c : cases) {
        LineFixture f;
        f.session.ClientCode = c.site;
        f.Stock("101", "20", 6, 0);
        requests::RequestScreen& s = f.New();
        f.EnterCode("101");
        f.sent.clear();
        f.EnterCode("101");
        EXPECT_EQ(f.SentBesideSwitches(), QStringList()) << c.site << c.readAt;
        (s.*c.picker).SetTag("20");
        f.EnterCode("101");
        EXPECT_EQ(f.StockReads(), QStringList{StockRead("101", c.readAt)}) << c.site << c.readAt;
        EXPECT_EQ(s.txtOnhand.Text(), c.onHand) << c.site << c.readAt;
        EXPECT_EQ(s.focus.Current(), &s.txtWithdraw);
    }
}

TEST(LineEntry, NumberBoxesTakeTheirPatternsOrRefuse)
{
    struct Case {
        forms::TextField requests::RequestScreen::*box;
        const char* typed;
        const char* shown;  // nullptr: refused with "Invalid entry..."
    };
    const Case cases[] = {
        {&requests::RequestScreen::txtWithdraw, "", "0"},
        {&requests::RequestScreen::txtWithdraw, "2.5", "3"},
        {&requests::RequestScreen::txtWithdraw, "-2", "-2"},
        {&requests::RequestScreen::txtWithdraw, "1,000", "1000"},
        {&requests::RequestScreen::txtWithdraw, "ABC", nullptr},
        {&requests::RequestScreen::txtUnitCost, "", "0.00"},
        {&requests::RequestScreen::txtUnitCost, "12.5", "12.5000"},
        {&requests::RequestScreen::txtUnitCost, "-1", "0.00"},
        {&requests::RequestScreen::txtUnitCost, "0", "0.00"},
        {&requests::RequestScreen::txtUnitCost, "1O", nullptr},
    };
    for (const Case& c : cases) {
        LineFixture f;
        requests::RequestScreen& s = f.New();
        f.EnterCode("101");
        forms::TextField& box = s.*c.box;
        s.focus.Focus(&box);
        box.SetText(c.typed);
        if (!c.shown)
            f.prompts.Expect(Msg("Invalid entry...", "Tessary", forms::Icon::None));
        const bool left = s.focus.Focus(&s.cmdAdd);
        EXPECT_EQ(left, c.shown != nullptr) << c.typed;
        if (c.shown) {
            EXPECT_EQ(box.Text(), c.shown) << c.typed;
        }
    }
}

TEST(LineEntry, StoringALineAddsItAndMovesToTheEmptyRow)
{
    LineFixture f;
    requests::RequestScreen& s = f.New();
    f.EnterLine("101", "2");
    EXPECT_EQ(f.Line(1), (QStringList{"101", "GAUZE 4X4", "2", "2.5000", "5.0000", "Y", "N"}));
    EXPECT_EQ(s.grdDetails.Rows(), 3);
    EXPECT_EQ(s.grdDetails.Row(), 2);
    EXPECT_EQ(s.txtLineCounter.Text(), "2/2");
    EXPECT_EQ(s.txtProdCode.Text(), "");
    EXPECT_EQ(s.focus.Current(), &s.txtProdCode);
    EXPECT_FALSE(s.cmdOK.IsEnabled());
    EXPECT_TRUE(s.txtTotalCounter.IsVisible());

    // The same item again is a second line; totals group thousands.
    f.EnterLine("101", "500", "2.469");
    EXPECT_EQ(f.Line(2)[4], "1,234.5000");
    EXPECT_EQ(s.txtTotalCounter.Text(), "1,239.5000");

    // Opening a line and storing it changes it in place.
    s.grdDetails.SetRow(1);
    s.grdDetails.Activate();
    EXPECT_EQ(s.txtOnhand.Text(), "10");
    EXPECT_EQ(s.focus.Current(), &s.txtProdCode);
    s.focus.Focus(&s.txtWithdraw);
    s.txtWithdraw.SetText("4");
    s.focus.Focus(&s.txtUnitCost);
    s.cmdOK.Click();
    EXPECT_EQ(f.Line(1)[2], "4");
    EXPECT_EQ(s.grdDetails.Rows(), 4);
    EXPECT_EQ(s.focus.Current(), &s.grdDetails);

    // Add goes to the empty row; Delete there removes nothing; "." removes
    // the current line.
    s.cmdAdd.Click();
    EXPECT_EQ(s.grdDetails.Row(), 3);
    s.cmdDelete.Click();
    EXPECT_EQ(s.grdDetails.Rows(), 4);
    s.grdDetails.SetRow(1);
    s.grdDetails.TypeKey(".");
    EXPECT_EQ(s.grdDetails.Rows(), 3);
    EXPECT_EQ(s.txtTotalCounter.Text(), "1,234.5000");
    EXPECT_EQ(s.txtLineCounter.Text(), "1/2");
}

TEST(LineEntry, AddToListRefusesInTheOrderOfItsChecks)
{
    struct Case {
        const char* name;
        std::function<void(LineFixture&)> setUp;
        forms::Message message;
        forms::TextField requests::RequestScreen::*focus;
    };
    using RS = requests::RequestScreen;
    const Case cases[] = {
        {"no code", [](LineFixture&) {}, Msg("Invalid product code...", "MESSAGE", forms::Icon::Information),
         &RS::txtProdCode},
        {"a code no check found",
         [](LineFixture& f) {
             f.EnterCode("101");
             f.s->txtProdCode.SetText("109");
             f.s->txtWithdraw.SetText("1");
         },
         Msg("Invalid product code...", "MESSAGE", forms::Icon::Information), &RS::txtProdCode},
        {"figures read for another request-to location",
         [](LineFixture& f) {
             f.EnterCode("101");
             f.s->txtWithdraw.SetText("1");
             f.s->cboLocation.SetTag("20");
         },
         Msg("Invalid product code...", "MESSAGE", forms::Icon::Information), &RS::txtProdCode},
        {"letters for a quantity",
         [](LineFixture& f) {
             f.EnterCode("101");
             f.s->txtWithdraw.SetText("X");
         },
         Msg("Invalid quantity...", "MESSAGE", forms::Icon::Information), &RS::txtWithdraw},
        {"no quantity",
         [](LineFixture& f) {
             f.EnterCode("101");
             f.s->txtWithdraw.SetText("0");
         },
         Msg("Please enter a value for Quantity.", "MESSAGE", forms::Icon::Information), &RS::txtWithdraw},
        {"a unit cost below zero",
         [](LineFixture& f) {
             f.EnterCode("101");
             f.s->txtWithdraw.SetText("1");
             f.s->txtUnitCost.SetText("-1");
         },
         Msg("Invalid unit cost...", "MESSAGE", forms::Icon::Information), &RS::txtUnitCost},
        {"a quantity below zero",
         [](LineFixture& f) {
             f.EnterCode("101");
             f.s->txtWithdraw.SetText("-2");
         },
         Msg("Quantity must not be lesser than zero.", "HEY!", forms::Icon::Information), &RS::txtWithdraw},
    };
    for (const Case& c : cases) {
        LineFixture f;
        f.New();
        c.setUp(f);
        f.prompts.Expect(c.message);
        // The button's own checks, without the leave check of the box the
        // focus is in.
        f.s->Lines().StoreLine();
        EXPECT_EQ(f.s->focus.Current(), &(f.s->*c.focus)) << c.name;
        EXPECT_EQ(f.s->grdDetails.Rows(), 2) << c.name;
    }
}

TEST(LineEntry, ARefusedCodeIsNeverStoredWithTheFiguresOfAnother)
{
    {   // Zero on hand refused at the code: "Add to List" finds no item.
        LineFixture f;
        f.session.RefuseZeroOnHand = true;
        requests::RequestScreen& s = f.New();
        f.EnterCode("101");
        s.txtWithdraw.SetText("1");
        f.prompts.Expect(Msg("Zero Item Onhand", "HEY!", forms::Icon::Critical))
            .Expect(Msg("Enter another item", "OK", forms::Icon::Information));
        s.focus.Focus(&s.txtProdCode);
        s.txtProdCode.SetText("102");
        EXPECT_FALSE(s.focus.Focus(&s.txtWithdraw));
        f.prompts.Expect(Msg("Invalid product code...", "MESSAGE", forms::Icon::Information));
        s.Lines().StoreLine();
        EXPECT_EQ(s.grdDetails.Rows(), 2);
    }
    {   // A unit cost of letters and Enter: one message, the focus stays.
        LineFixture f;
        requests::RequestScreen& s = f.New();
        f.EnterCode("101");
        s.txtWithdraw.SetText("1");
        s.focus.Focus(&s.txtUnitCost);
        s.txtUnitCost.SetText("ABC");
        f.prompts.Expect("Invalid entry...");
        s.keys.PressEnter();
        EXPECT_EQ(s.focus.Current(), &s.txtUnitCost);
    }
}

TEST(LineEntry, StockRulesOfTheSite)
{
    {   // Switch 5: a quantity above the stock is refused on leaving the box.
        LineFixture f;
        f.Switch("5", true);
        requests::RequestScreen& s = f.New();
        f.EnterCode("101");
        s.txtWithdraw.SetText("11");
        f.prompts.Expect(Msg("Quantity must be less than or equal to Current Stock...", "MESSAGE",
                             forms::Icon::Information));
        EXPECT_FALSE(s.focus.Focus(&s.txtUnitCost));
        s.txtWithdraw.SetText("10");
        EXPECT_TRUE(s.focus.Focus(&s.txtUnitCost));
    }
    {   // On the warning site a quantity above the stock only warns.
        LineFixture f;
        f.session.ClientCode = "QORVIN";
        requests::RequestScreen& s = f.New();
        f.prompts.Expect(Msg("The requested quantity is greater than the current stock", "HEY!",
                             forms::Icon::Critical));
        f.EnterLine("101", "11");
        EXPECT_EQ(f.Line(1)[2], "11");
        EXPECT_EQ(s.grdDetails.Rows(), 3);
    }
    {   // Zero on hand is refused at the code when the hospital says so.
        LineFixture f;
        f.session.RefuseZeroOnHand = true;
        requests::RequestScreen& s = f.New();
        f.prompts.Expect(Msg("Zero Item Onhand", "HEY!", forms::Icon::Critical))
            .Expect(Msg("Enter another item", "OK", forms::Icon::Information));
        EXPECT_FALSE([&] {
            s.focus.Focus(&s.txtProdCode);
            s.txtProdCode.SetText("102");
            return s.focus.Focus(&s.txtWithdraw);
        }());
        EXPECT_EQ(s.focus.Current(), &s.txtProdCode);
    }
    {   // The site that keeps stock at the department shows it there. A
        // line opened from the grid shows the request-to figures, which are
        // no line there: leaving the code reads the department's again, and
        // switch 5 judges against those.
        LineFixture f;
        f.session.ClientCode = "KRV";
        f.Switch("5", true);
        requests::RequestScreen& s = f.New();
        f.EnterCode("101");
        EXPECT_EQ(s.txtOnhand.Text(), "3");
        s.txtWithdraw.SetText("1");
        s.focus.Focus(&s.txtUnitCost);
        s.cmdOK.Click();
        s.grdDetails.SetRow(1);
        EXPECT_EQ(s.txtOnhand.Text(), "10");
        f.prompts.Expect(Msg("Invalid product code...", "MESSAGE", forms::Icon::Information));
        s.Lines().StoreLine();
        EXPECT_EQ(s.focus.Current(), &s.txtProdCode);
        EXPECT_TRUE(s.focus.Focus(&s.txtWithdraw));
        EXPECT_EQ(s.txtOnhand.Text(), "3");
        s.txtWithdraw.SetText("5");
        f.prompts.Expect(Msg("Quantity must be less than or equal to Current Stock...", "MESSAGE",
                             forms::Icon::Information));
        EXPECT_FALSE(s.focus.Focus(&s.txtUnitCost));
        s.txtWithdraw.SetText("3");
        s.focus.Focus(&s.txtUnitCost);
        s.cmdOK.Click();
        EXPECT_EQ(f.Line(1)[2], "3");
    }
    {   // There the zero on-hand rule, too, judges an opened line by the
        // department's stock.
        LineFixture f;
        f.session.ClientCode = "KRV";
        f.session.RefuseZeroOnHand = true;
        f.db.Insert("tbInvMaster", {{"ItemID", "103"}, {"ItemName", "BANDAGE"}, {"ItemStatus", 0}});
        f.Stock("103", "94", 5, 0);
        f.Stock("103", "10", 0, 0);
        f.AddLine("13", "103", 1, 1, "N", 0, "10");
        requests::RequestScreen& s = f.Edit("13");
        EXPECT_EQ(s.txtOnhand.Text(), "5");
        ASSERT_EQ(s.focus.Current(), &s.txtProdCode);
        f.prompts.Expect(Msg("Zero Item Onhand", "HEY!", forms::Icon::Critical))
            .Expect(Msg("Enter another item", "OK", forms::Icon::Information));
        EXPECT_FALSE(s.focus.Focus(&s.txtWithdraw));
        EXPECT_EQ(s.focus.Current(), &s.txtProdCode);
    }
}

TEST(LineEntry, SearchButtonAndEnterMoveTheFocusOnce)
{
    LineFixture f;
    requests::RequestScreen& s = f.New();
    int searches = 0;
    f.dialogs.On<dialogs::ItemLookup>([&](dialogs::ItemLookup& d) {
        ++searches;
        EXPECT_EQ(d.txtSearch.Text(), "");
        EXPECT_EQ(d.txtLocation.Text(), "CENTRAL SUPPLY ROOM");
        d.ClickSelect();
    });
    // On an empty code box the button only empties the name.
    s.txtProdName.SetText("OLD");
    s.cmdCode.Click();
    EXPECT_EQ(s.txtProdName.Text(), "");
    EXPECT_EQ(searches, 0);

    // Typed code, then the button: one search, with an empty text.
    s.focus.Focus(&s.txtProdCode);
    s.txtProdCode.SetText("GAU");
    s.cmdCode.Click();
    EXPECT_EQ(searches, 1);
    EXPECT_EQ(s.txtProdCode.Text(), "101");
    EXPECT_EQ(s.focus.Current(), &s.txtWithdraw);

    // Enter from the code box goes to the button without a check; Enter on
    // the button moves on and checks the code then.
    s.focus.Focus(&s.txtProdCode);
    s.txtProdCode.SetText("4800123");
    s.keys.PressEnter();
    EXPECT_EQ(s.focus.Current(), &s.cmdCode);
    s.keys.PressEnter();
    EXPECT_EQ(s.txtProdCode.Text(), "102");
    EXPECT_EQ(s.focus.Current(), &s.txtWithdraw);
    EXPECT_EQ(searches, 1);

    // From the unit cost box Enter goes to "Add to List" while it is enabled.
    s.txtWithdraw.SetText("1");
    s.focus.Focus(&s.txtUnitCost);
    s.keys.PressEnter();
    EXPECT_EQ(s.focus.Current(), &s.cmdOK);
}

TEST(LineEntry, AKitCodeOffersItsComponentsAsTheLines)
{
    // The kit is stocked at both locations; a numeric code is typed, any
    // other is found by its name.
    const auto addKit = [](LineFixture& f, const char* code) {
        f.db.Insert("tbInvMaster",
                    {{"ItemID", code}, {"ItemName", "DRESSING KIT"}, {"KitID", "K1"}, {"ItemStatus", 0}});
        f.Stock(code, "94", 5, 0);
        f.Stock(code, "10", 0, 0);
        f.db.Insert("tbInvKit", {{"KitID", "K1"}, {"ItemID", "101"}, {"Qty", 2}, {"UnitCost", 2.5}, {"RetailType", "N"},
                                 {"Active", "A"}});
        f.db.Insert("tbInvKit", {{"KitID", "K1"}, {"ItemID", "102"}, {"Qty", 3}, {"UnitCost", 1}, {"RetailType", "Y"},
                                 {"Active", "A"}});
    };
    const forms::Message question{"Item is a Kit. Do you want to add items located in the Kit?", "Message",
                                  forms::Icon::Question, forms::Buttons::YesNo};
    struct Case {
        const char* code;
        const char* typed;
        const char* argument;  // the kit in the components call
    };
    const Case cases[] = {{"900", "900", "900"}, {"K-9", "DRESSING", "'K-9'"}};
    for (const Case& c : cases) {
        // Yes, all of them: the components replace the lines, the first one
        // shown with its stock and loaded once, the totals those of the
        // components, and an empty row follows for the next line.
        LineFixture f;
        addKit(f, c.code);
        requests::RequestScreen& s = f.New();
        f.EnterLine("102", "1");
        EXPECT_EQ(s.txtTotalCounter.Text(), "1.2500");
        f.dialogs.On<dialogs::KitPicker>([](dialogs::KitPicker& d) {
            d.ClickAddAllItems();
            d.ClickClose();
        });
        f.prompts.Expect(question, forms::Answer::Yes);
        f.sent.clear();
        f.EnterCode(c.typed);
        ASSERT_EQ(s.grdDetails.Rows(), 4) << c.code;
        EXPECT_EQ(f.Line(1).mid(0, 6), (QStringList{"101", "GAUZE", "2", "2.5", "5", "N"}));
        EXPECT_EQ(f.Line(2)[0], "102");
        EXPECT_EQ(f.Line(3), QStringList(7));
        EXPECT_EQ(s.grdDetails.Row(), 1);
        EXPECT_EQ(s.txtProdCode.Text(), "101");
        EXPECT_EQ(s.txtOnhand.Text(), "10");
        EXPECT_EQ(s.txtLineCounter.Text(), "1/3");
        EXPECT_EQ(s.txtTotalCounter.Text(), "8.0000");
        const QString components = QString("Inventory..sp_Inv_KitofItems ") + c.argument;
        ASSERT_TRUE(f.sent.contains(components)) << c.code;
        EXPECT_EQ(f.sent.mid(f.sent.lastIndexOf(components) + 1),
                  (QStringList{StockRead("101", "94"), "Select * From INVENTORY..tbInvMaster Where ItemID = '101'"}))
            << c.code;
        // The component shown is a line as it stands.
        f.sent.clear();
        EXPECT_TRUE(s.focus.Focus(&s.txtProdCode));
        EXPECT_TRUE(s.focus.Focus(&s.txtWithdraw));
        EXPECT_EQ(f.SentBesideSwitches(), QStringList());
    }
    {   // No keeps the lines and the kit's code; the boxes never showed the
        // kit, so it is no line and the next leave asks again.
        LineFixture f;
        addKit(f, "900");
        requests::RequestScreen& s = f.New();
        f.prompts.Expect(question, forms::Answer::No);
        f.EnterCode("900");
        EXPECT_EQ(s.grdDetails.Rows(), 2);
        EXPECT_EQ(s.txtProdCode.Text(), "900");
        s.txtWithdraw.SetText("1");
        f.prompts.Expect(Msg("Invalid product code...", "MESSAGE", forms::Icon::Information));
        s.Lines().StoreLine();
        EXPECT_EQ(s.grdDetails.Rows(), 2);
        f.prompts.Expect(question, forms::Answer::No);
        EXPECT_TRUE(s.focus.Focus(&s.txtWithdraw));
        EXPECT_TRUE(f.prompts.AllAnswered());
    }
    {   // Where zero on hand is refused, no kit is looked for.
        LineFixture f;
        addKit(f, "900");
        f.session.RefuseZeroOnHand = true;
        requests::RequestScreen& s = f.New();
        f.EnterCode("900");
        EXPECT_EQ(s.txtProdName.Text(), "DRESSING KIT ");
        EXPECT_EQ(s.focus.Current(), &s.txtWithdraw);
    }
}

TEST(LineEntry, AFailureOfTheCodeCheckIsShownAndKeepsTheFocusInTheCodeBox)
{
    struct Case {
        const char* refused;  // a statement the database refuses
        const char* shown;
    };
    const Case cases[] = {
        // The kit test: the database's own description.
        {"Inventory..tbInvKit A", "link down"},
        // The item's record: the record error's description.
        {"From INVENTORY..tbInvMaster Where ItemID = '101'", "An unknown error has occurred!"},
    };
    for (const Case& c : cases) {
        LineFixture f;
        requests::RequestScreen& s = f.New();
        bool refusing = true;
        f.user.sqlconnection().SetStatementObserver([&](const QString& statement) {
            if (refusing && statement.contains(c.refused))
                throw db::DbError("link down");
        });
        f.prompts.Expect(c.shown);
        s.focus.Focus(&s.txtProdCode);
        s.txtProdCode.SetText("101");
        EXPECT_FALSE(s.focus.Focus(&s.txtWithdraw)) << c.refused;
        EXPECT_EQ(s.focus.Current(), &s.txtProdCode);
        // Nothing was checked: the next leave checks again.
        refusing = false;
        EXPECT_TRUE(s.focus.Focus(&s.txtWithdraw)) << c.refused;
        EXPECT_EQ(s.txtProdName.Text(), "GAUZE 4X4");
    }
}
