#include "app/CurrentUser.h"
#include "db/BackgroundReads.h"
#include "db/DbError.h"
#include "dialogs/ItemLookup.h"
#include "support/EventsUntil.h"
#include "support/ScriptedDialogHost.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDatabase.h"

#include "GridColumn.h"

#include <QSemaphore>
#include <gtest/gtest.h>

#include <functional>
#include <utility>

using dialogs::ItemLookup;

namespace {

// A small master file: GAUZE twice (one inactive at the store), GLOVES
// without supplier or class, a fixed asset, O'NEIL SPLINT, and item 12
// beside an item whose name starts with 12. The store (94) and the
// emergency room (10) stock some of them.
struct LookupFixture {
    testing_support::TempDatabase db;
    testing_support::ScriptedPrompts prompts;
    testing_support::ScriptedDialogHost host;
    app::CurrentUser user{nullptr};
    dialogs::RequestLocations locations{"94", "10"};
    QStringList sent;
    std::function<bool(const QString&)> refuse;

    LookupFixture()
    {
        db.Insert("tbInvSupplier", {{"SupplierID", "S1"}, {"SupplierName", "MEDSUPPLY"}});
        db.Insert("tbInvClassification", {{"ItemClassificationID", "C1"}, {"ItemClassificationName", "MEDICAL"},
                                          {"IsFixedAsset", 0}});
        db.Insert("tbInvClassification", {{"ItemClassificationID", "FA"}, {"IsFixedAsset", 1}});
        AddItem("1", "GAUZE", "4X4", "S1", "C1");
        AddItem("2", "GLOVES", "LARGE", nullptr, nullptr);
        AddItem("3", "BED", "", "S1", "FA");
        AddItem("4", "GAUZE", "2X2", "S1", "C1");
        AddItem("5", "SYRINGE", "5ML", "S1", "C1", 1);
        AddItem("12", "NEEDLE", "G23", "S1", "C1");
        AddItem("13", "12 HOUR PATCH", "", "S1", "C1");
        AddItem("14", "O'NEIL SPLINT", "", "S1", "C1");
        Stock("1", "94", 0, 15, 25);
        Stock("2", "94", QVariant(), 0, 0);
        Stock("4", "94", 1, 0, 0);
        Stock("12", "94", 0, 0, 0);
        Stock("1", "10", 0, 0, 0);
        Stock("2", "10", 0, 0, 0);
        Stock("4", "10", 0, 0, 0);
        Stock("12", "10", 1, 0, 0);

        user.UseConnection(db.OpenAnother());
        user.sqlconnection().SetStatementObserver([this](const QString& s) {
            sent << s;
            if (refuse && refuse(s))
                throw db::DbError("Invalid object name 'tbInvMaster'.");
        });
    }

    void AddItem(const char* id, const char* name, const char* desc, const char* supplier, const char* cls,
                 int status = 0)
    {
        db.Insert("tbInvMaster", {{"ItemID", id}, {"ItemName", name}, {"ItemDesc", desc},
                                  {"SupplierID", supplier ? QVariant(supplier) : QVariant()},
                                  {"ItemClassificationID", cls ? QVariant(cls) : QVariant()},
                                  {"ItemStatus", status}, {"MarkupIn", 5}, {"MarkupOut", 8}, {"Packing", 10},
                                  {"ListCost", 2.5}});
    }

    void Stock(const char* item, const char* location, const QVariant& status, int markupIn, int markupOut)
    {
        db.Insert("tbInvent", {{"ItemID", item}, {"LocationID", location}, {"ItemStatus", status},
                               {"Markup_In", markupIn}, {"Markup_Out", markupOut}});
    }

    // The dialog as its callers load it.
    std::unique_ptr<ItemLookup> Load(const QString& search, const QString& locationCode = QString())
    {
        auto dialog = std::make_unique<ItemLookup>(user.sqlconnection(), prompts);
        dialog->LocationName = locationCode.isEmpty() ? QString() : "CENTRAL SUPPLY";
        dialog->LocationCode = locationCode;
        dialog->Request = locations;
        dialog->SearchString = search;
        dialog->Load();
        return dialog;
    }
};

const QString kMasterHead =
    "Select A.ItemID as Code, A.ItemName As [Product Name], A.ItemDesc As Description, B.SupplierName As Supplier, "
    "A.MarkupIn As [In-Patient Markup], A.MarkupOut As [Out-Patient Markup],Case when A.ItemStatus = 1 then "
    "'Inactive' Else 'Active' End  As Status, A.Packing, A.ListCost,  C.ItemClassificationName From "
    "INVENTORY..tbInvMaster A Left Outer Join INVENTORY..tbInvSupplier B ON A.SupplierID = B.SupplierID Left Outer "
    "Join INVENTORY..tbInvClassification C ON A.ItemClassificationID = C.ItemClassificationID  Where ( A.ItemStatus "
    "= 0 or A.ItemStatus is Null ) and IsNull(C.IsFixedAsset,0) <> 1 and ";

} // namespace

TEST(ItemLookup, SendsTheSearchStatementsAsWritten)
{
    LookupFixture f;
    f.Load("gau");
    f.Load(" 12 ");
    f.Load("O'NEIL");
    f.Load("g", "94");
    const QString order = " Order by A.ItemName, A.ItemDesc";
    ASSERT_EQ(f.sent.size(), 4);
    EXPECT_EQ(f.sent[0], kMasterHead + " A.ItemName Like 'GAU%'" + order);
    EXPECT_EQ(f.sent[1], kMasterHead + " A.ItemID = '12' " + order);
    EXPECT_EQ(f.sent[2], kMasterHead + " A.ItemName Like 'O''NEIL%'" + order);
    EXPECT_EQ(f.sent[3],
              "Select A.ItemID as Code, A.ItemName As [Product Name], A.ItemDesc As Description, B.SupplierName As "
              "Supplier, D.Markup_In As [In-Patient Markup], D.Markup_Out As [Out-Patient Markup],Case when "
              "D.ItemStatus = 1 then 'Inactive' Else 'Active' end  As Status, A.Packing, A.ListCost,  "
              "C.ItemClassificationName From INVENTORY..tbInvMaster A Left Outer Join INVENTORY..tbInvent D ON "
              "A.ItemID = D.ItemID Left Outer Join INVENTORY..tbInvSupplier B ON A.SupplierID = B.SupplierID Left "
              "Outer join INVENTORY..tbInvClassification C ON A.ItemClassificationID = C.ItemClassificationID Where "
              "D.LocationID = '94' and D.ItemID in (Select itemID from INVENTORY..tbinvent where locationid = '10' "
              "and itemStatus = 0) and  ( D.ItemStatus = 0 or D.ItemStatus is Null ) and ( A.ItemStatus = 0 or "
              "A.ItemStatus is Null ) and IsNull(C.IsFixedAsset,0) <> 1 and  A.ItemName Like 'G%'"
              + order);
}

// What the user types is searched on a connection and thread of their own:
// while a slow search runs, typing goes on, and the grid shows the rows of
// the last text typed, never those of the search it overtook.
TEST(ItemLookup, TypingNeverWaitsForASlowSearch)
{
    LookupFixture f;
    QSemaphore started;
    QSemaphore gate;
    bool first = true;
    db::BackgroundReads reads([&] {
        std::unique_ptr<db::Connection> connection = f.db.OpenAnother();
        connection->SetStatementObserver([&](const QString&) {
            if (std::exchange(first, false)) {
                started.release();
                gate.acquire();
            }
        });
        return connection;
    });
    ItemLookup dialog(f.user.sqlconnection(), f.prompts);
    dialog.SetBackgroundReads(&reads);
    dialog.Load();
    const int loaded = dialog.grdLookup.RowsRead();
    ASSERT_GT(loaded, 1);
    QStringList shown;
    QObject::connect(&dialog.grdLookup, &forms::ResultGrid::reset, [&] {
        if (dialog.grdLookup.RowsRead() > 0)
            shown << dialog.grdLookup.Text(1, 1);
    });

    dialog.TypeSearchText("G");
    started.acquire();  // the search for G is running, and stays so
    dialog.TypeSearchText("NE");
    EXPECT_EQ(dialog.grdLookup.RowsRead(), loaded) << "the rows shown stay until the new ones come";
    gate.release();
    ASSERT_TRUE(testing_support::EventsUntil([&] { return !shown.isEmpty(); }));
    EXPECT_EQ(shown, QStringList{"NEEDLE"});
    EXPECT_EQ(dialog.grdLookup.RowsRead(), 1);
    EXPECT_EQ(f.sent.size(), 1) << "typed searches do not run on the dialog's connection";
}

TEST(ItemLookup, FindsActiveItemsByCodeOrNameOverTheMasterFile)
{
    LookupFixture f;
    // Every active item that is no fixed asset, by name then description;
    // an item without class or supplier is listed.
    auto all = f.Load("");
    EXPECT_EQ(Column(all->grdLookup, 0), (QStringList{"13", "4", "1", "2", "12", "14"}));
    EXPECT_EQ(all->grdLookup.RowsRead(), 6);
    EXPECT_EQ(all->grdLookup.Row(), 1);
    EXPECT_FALSE(all->blnExactMatch);
    EXPECT_TRUE(all->grdLookup.IsEnabled());
    EXPECT_TRUE(all->cmdSelect.IsEnabled());
    // The header row shows the column names; the grid shows the row as text.
    QStringList headers;
    for (int col = 0; col < all->grdLookup.Cols(); ++col)
        headers << all->grdLookup.Header(col);
    EXPECT_EQ(headers, (QStringList{"Code", "Product Name", "Description", "Supplier", "In-Patient Markup",
                                    "Out-Patient Markup", "Status", "Packing", "ListCost", "ItemClassificationName"}));
    EXPECT_EQ(all->grdLookup.Text(4, 3), "");
    EXPECT_EQ(all->grdLookup.Text(3, 8), "2.5");
    const QList<int> widths = {1000, 3000, 2000, 3000, 2000, 2000, 960};
    for (int col = 0; col < widths.size(); ++col)
        EXPECT_EQ(all->grdLookup.ColumnWidth(col), widths[col]) << col;

    // A numeric text is an exact code, never the start of a name.
    auto code = f.Load("12");
    EXPECT_EQ(Column(code->grdLookup, 1), QStringList{"NEEDLE"});
    EXPECT_TRUE(code->blnExactMatch);
    EXPECT_EQ(code->SearchString, "12");

    auto quoted = f.Load("o'n");
    EXPECT_EQ(Column(quoted->grdLookup, 0), QStringList{"14"});
}

TEST(ItemLookup, LimitedToItemsStockedAtBothLocationsOfTheRequest)
{
    LookupFixture f;
    // Item 4 is inactive at the store, 12 inactive at the emergency room;
    // 2 has no status at the store. Markups come from the store's row.
    auto dialog = f.Load("", "94");
    EXPECT_EQ(dialog->txtLocation.Text(), "CENTRAL SUPPLY");
    EXPECT_EQ(Column(dialog->grdLookup, 0), (QStringList{"1", "2"}));
    EXPECT_EQ(Column(dialog->grdLookup, 4), (QStringList{"15", "0"}));
    EXPECT_EQ(Column(dialog->grdLookup, 6), (QStringList{"Active", "Active"}));

    // No locations chosen: nothing is stocked at no location.
    f.locations = {};
    EXPECT_EQ(f.Load("", "94")->grdLookup.RowsRead(), 0);
}

TEST(ItemLookup, TakesASingleMatchWithoutShowingTheDialog)
{
    LookupFixture f;
    // The host has no script: showing the dialog would fail the test.
    EXPECT_EQ(dialogs::RunItemLookup(f.user.sqlconnection(), f.prompts, f.host, "NEE", "", "", f.locations), "12");
    EXPECT_TRUE(f.host.Opened().isEmpty());
}

TEST(ItemLookup, PicksTheCurrentRowOrNothing)
{
    struct Case {
        const char* name;
        std::function<void(ItemLookup&)> user;
        QString picked;
    };
    const Case cases[] = {
        {"Select right away takes the first row", [](ItemLookup& d) { d.ClickSelect(); }, "4"},
        {"a double click on another row", [](ItemLookup& d) { d.grdLookup.SetRow(2); d.grdLookup.Activate(); }, "1"},
        {"Close after browsing", [](ItemLookup& d) { d.grdLookup.SetRow(2); d.ClickClose(); }, ""},
        {"the close box", [](ItemLookup&) {}, ""},
    };
    for (const Case& c : cases) {
        LookupFixture f;
        f.host.On<ItemLookup>(c.user);
        EXPECT_EQ(dialogs::RunItemLookup(f.user.sqlconnection(), f.prompts, f.host, "GAU", "", "", f.locations),
                  c.picked)
            << c.name;
        EXPECT_EQ(f.host.Opened(), QStringList{"dialogs::ItemLookup"}) << c.name;
    }
}

TEST(ItemLookup, TypingSearchesAndTheGridKeysEditTheSearchText)
{
    LookupFixture f;
    auto d = f.Load("");
    d->TypeSearchText("g");
    EXPECT_EQ(d->txtSearch.Text(), "G");
    EXPECT_EQ(Column(d->grdLookup, 0), (QStringList{"4", "1", "2"}));
    EXPECT_TRUE(d->cmdSearch.IsDefault());

    // Nothing found: grid and Select off, the dialog stays for another try.
    d->TypeSearchText("GX");
    EXPECT_EQ(d->grdLookup.RowsRead(), 0);
    EXPECT_FALSE(d->grdLookup.IsEnabled());
    EXPECT_FALSE(d->cmdSelect.IsEnabled());

    // Backspace on the grid shortens the text and searches again; the
    // focus stays on the grid, whose Enter is Select.
    d->TypeSearchText("GA");
    ASSERT_TRUE(d->focus.Focus(&d->grdLookup));
    EXPECT_TRUE(d->cmdSelect.IsDefault());
    EXPECT_FALSE(d->cmdSearch.IsDefault());
    d->grdLookup.KeyDown(ItemLookup::kKeyBackspace);
    EXPECT_EQ(d->txtSearch.Text(), "G");
    EXPECT_EQ(d->grdLookup.RowsRead(), 3);
    EXPECT_EQ(d->focus.Current(), &d->grdLookup);
    // A key that is no letter does nothing; a letter starts the text afresh
    // in the search box.
    d->grdLookup.KeyDown('5');
    EXPECT_EQ(d->txtSearch.Text(), "G");
    d->grdLookup.KeyDown('O');
    EXPECT_EQ(d->txtSearch.Text(), "O");
    EXPECT_EQ(d->focus.Current(), &d->txtSearch);
    EXPECT_EQ(Column(d->grdLookup, 0), QStringList{"14"});
    // The exact match of a later search is remembered, never forgotten.
    EXPECT_TRUE(d->blnExactMatch);
    d->TypeSearchText("G");
    EXPECT_TRUE(d->blnExactMatch);

    // The search button moves the focus to the grid when rows came.
    d->ClickSearch();
    EXPECT_EQ(d->focus.Current(), &d->grdLookup);
    d->TypeSearchText("ZZ");
    d->ClickSearch();
    EXPECT_EQ(d->focus.Current(), &d->txtSearch);
}

TEST(ItemLookup, ReadsRowsAsTheGridScrolls)
{
    LookupFixture f;
    for (int i = 100; i < 200; ++i)
        f.AddItem(QByteArray::number(i).constData(), "BULK ITEM", QByteArray::number(i).constData(), "S1", "C1");
    auto d = f.Load("BULK");
    EXPECT_EQ(d->grdLookup.RowsRead(), forms::ResultGrid::kFirstRows);
    EXPECT_TRUE(d->grdLookup.CanFetchMore());
    d->grdLookup.SetRow(90);
    EXPECT_EQ(d->grdLookup.Row(), 90);
    EXPECT_EQ(d->grdLookup.Text(90, 2), "189");
    d->grdLookup.FetchMore(1000);
    EXPECT_EQ(d->grdLookup.RowsRead(), 100);
    EXPECT_FALSE(d->grdLookup.CanFetchMore());
}

TEST(ItemLookup, ARefusedSearchIsShownAndFindsNothing)
{
    LookupFixture f;
    f.refuse = [](const QString&) { return true; };
    f.prompts.Expect({"Invalid object name 'tbInvMaster'.", forms::kApplicationTitle, forms::Icon::None});
    auto d = f.Load("GAU");
    EXPECT_FALSE(d->grdLookup.IsBound());
    EXPECT_FALSE(d->cmdSelect.IsEnabled());
    EXPECT_TRUE(f.prompts.AllAnswered());
}
