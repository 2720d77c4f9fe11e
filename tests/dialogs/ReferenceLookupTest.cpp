#include "app/CurrentUser.h"
#include "db/DbError.h"
#include "dialogs/ReferenceLookup.h"
#include "support/ScriptedDialogHost.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDatabase.h"

#include "GridColumn.h"

#include <gtest/gtest.h>

#include <functional>

using dialogs::ReferenceLookup;

namespace {

// Suppliers, terms and units, each with an inactive row and a row without
// a status; supplier 12 beside one whose name starts with 12.
struct ReferenceFixture {
    testing_support::TempDatabase db;
    testing_support::ScriptedPrompts prompts;
    testing_support::ScriptedDialogHost host;
    app::CurrentUser user{nullptr};
    QStringList sent;
    bool refuse = false;

    ReferenceFixture()
    {
        AddSupplier("1", "MERIDIAN PHARMA", "A");
        AddSupplier("2", "MEDLINE", QVariant());
        AddSupplier("3", "MERCURY TRADING", "I");
        AddSupplier("12", "PACIFIC CROSS", "A");
        AddSupplier("13", "12 STAR SUPPLY", "A");
        db.Insert("tbInvTerms", {{"TermsID", 1}, {"Terms", "CASH"}, {"Status", "A"}});
        db.Insert("tbInvTerms", {{"TermsID", 2}, {"Terms", "NET 30"}});
        db.Insert("tbInvTerms", {{"TermsID", 3}, {"Terms", "NET 60"}, {"Status", "I"}});
        db.Insert("tbInvUnitOfMeasure", {{"UnitOfMeasureID", 1}, {"UnitOfMeasure", "BOX"}, {"Status", "A"}});
        db.Insert("tbInvUnitOfMeasure", {{"UnitOfMeasureID", 2}, {"UnitOfMeasure", "BOTTLE"}});
        db.Insert("tbInvUnitOfMeasure", {{"UnitOfMeasureID", 3}, {"UnitOfMeasure", "BAG"}, {"Status", "I"}});

        user.UseConnection(db.OpenAnother());
        user.sqlconnection().SetStatementObserver([this](const QString& s) {
            sent << s;
            if (refuse)
                throw db::DbError("Invalid object name 'tbinvTerms'.");
        });
    }

    void AddSupplier(const char* id, const char* name, const QVariant& status)
    {
        db.Insert("tbInvSupplier", {{"SupplierID", id}, {"SupplierName", name}, {"Status", status}});
    }

    std::unique_ptr<ReferenceLookup> Load(const QString& search, qint16 type)
    {
        auto dialog = std::make_unique<ReferenceLookup>(user.sqlconnection(), prompts);
        dialog->SearchString = search;
        dialog->LookupType = type;
        dialog->Load();
        return dialog;
    }
};

} // namespace

TEST(ReferenceLookup, SendsTheStatementOfEachTypeAsWritten)
{
    struct Case { const char* search; qint16 type; const char* statement; };
    const Case cases[] = {
        {" 12 ", ReferenceLookup::Supplier,
         "Select DISTINCT SupplierName as Supplier,SupplierID As Code From INVENTORY..tbinvSupplier  Where SupplierID "
         "= '12' and  (not Status = 'I' or Status is null) ORDER by SupplierName"},
        {"me", ReferenceLookup::Supplier,
         "Select DISTINCT SupplierName as Supplier,SupplierID As Code From INVENTORY..tbinvSupplier  Where "
         "SupplierName Like 'ME%' and  (not Status = 'I' or Status is null) ORDER by SupplierName"},
        {"O'HARA", ReferenceLookup::Supplier,
         "Select DISTINCT SupplierName as Supplier,SupplierID As Code From INVENTORY..tbinvSupplier  Where "
         "SupplierName Like 'O''HARA%' and  (not Status = 'I' or Status is null) ORDER by SupplierName"},
        {"2", ReferenceLookup::TermsOfPayment,
         "Select DISTINCT Terms AS [Terms of Payment] , TermsID as Code From INVENTORY..tbinvTerms  Where TermsID = 2 "
         "and  (not Status = 'I' or Status is null) Order by Terms"},
        {"net", ReferenceLookup::TermsOfPayment,
         "Select DISTINCT Terms AS [Terms of Payment] , TermsID as Code From INVENTORY..tbinvTerms  Where Terms Like "
         "'NET%' and  (not Status = 'I' or Status is null) Order by Terms"},
        {" 1", ReferenceLookup::UnitOfMeasure,
         "Select UnitOfMeasure As [Unit of Measure], UnitOfMeasureID as Code From INVENTORY..tbinvUnitOfMeasure  "
         "Where UnitOfMeasureID = 1 and ( Not Status = 'I' or Status is Null ) Order by UnitOfMeasure"},
        {"b", ReferenceLookup::UnitOfMeasure,
         "Select UnitOfMeasure As [Unit of Measure], UnitOfMeasureID as Code From INVENTORY..tbinvUnitOfMeasure  "
         "Where UnitOfMeasure Like 'B%' and ( Not Status = 'I' or Status is Null ) Order by UnitOfMeasure"},
    };
    for (const Case& c : cases) {
        ReferenceFixture f;
        f.Load(c.search, c.type);
        EXPECT_EQ(f.sent, QStringList{c.statement}) << c.search;
    }
}

TEST(ReferenceLookup, ListsActiveRowsByNameOrCodeUnderItsCaption)
{
    struct Case { const char* search; qint16 type; const char* caption; QStringList names; QStringList codes; };
    const Case cases[] = {
        // Inactive rows never, rows without a status always.
        {"ME", ReferenceLookup::Supplier, "Supplier", {"MEDLINE", "MERIDIAN PHARMA"}, {"2", "1"}},
        // A number is a supplier's code as quoted text, never a name start.
        {"12", ReferenceLookup::Supplier, "Supplier", {"PACIFIC CROSS"}, {"12"}},
        {"", ReferenceLookup::TermsOfPayment, "Terms of Payment", {"CASH", "NET 30"}, {"1", "2"}},
        {"3", ReferenceLookup::TermsOfPayment, "Terms of Payment", {}, {}},
        {"B", ReferenceLookup::UnitOfMeasure, "Unit of Measure", {"BOTTLE", "BOX"}, {"2", "1"}},
    };
    for (const Case& c : cases) {
        ReferenceFixture f;
        auto d = f.Load(c.search, c.type);
        EXPECT_EQ(d->Caption(), c.caption) << c.search;
        EXPECT_EQ(Column(d->grdLookup, 0), c.names) << c.search;
        EXPECT_EQ(Column(d->grdLookup, 1), c.codes) << c.search;
        EXPECT_EQ(d->grdLookup.IsEnabled(), !c.names.isEmpty()) << c.search;
        EXPECT_EQ(d->cmdSelect.IsEnabled(), !c.names.isEmpty()) << c.search;
        EXPECT_EQ(d->blnExactMatch, c.names.size() == 1) << c.search;
    }
    ReferenceFixture f;
    auto units = f.Load("B", ReferenceLookup::UnitOfMeasure);
    EXPECT_EQ(units->grdLookup.Header(0), "Unit of Measure");
    EXPECT_EQ(units->grdLookup.Header(1), "Code");
    EXPECT_EQ(units->grdLookup.ColumnWidth(0), 4200);
}

TEST(ReferenceLookup, TypingAloneDoesNotSearchEnterAndTheButtonDo)
{
    ReferenceFixture f;
    auto d = f.Load("", ReferenceLookup::Supplier);
    ASSERT_EQ(f.sent.size(), 1);
    d->TypeSearchText("pac");
    EXPECT_EQ(d->txtSearch.Text(), "PAC");
    EXPECT_EQ(f.sent.size(), 1);
    EXPECT_EQ(d->grdLookup.RowsRead(), 4);
    // In the search box the search button is the default: Enter presses it.
    EXPECT_TRUE(d->cmdSearch.IsDefault());
    d->ClickSearch();
    EXPECT_EQ(Column(d->grdLookup, 1), QStringList{"12"});
    EXPECT_EQ(d->focus.Current(), &d->grdLookup);
    EXPECT_TRUE(d->cmdSelect.IsDefault());
    EXPECT_FALSE(d->cmdSearch.IsDefault());

    // The grid keys edit the search text without searching.
    d->grdLookup.KeyDown(ReferenceLookup::kKeyBackspace);
    EXPECT_EQ(d->txtSearch.Text(), "PA");
    d->grdLookup.KeyDown('M');
    EXPECT_EQ(d->txtSearch.Text(), "M");
    EXPECT_EQ(d->focus.Current(), &d->txtSearch);
    EXPECT_EQ(f.sent.size(), 2);

    // Nothing found: the grid and Select are off, the focus stays.
    d->TypeSearchText("ZZ");
    d->ClickSearch();
    EXPECT_FALSE(d->grdLookup.IsEnabled());
    EXPECT_FALSE(d->cmdSelect.IsEnabled());
    EXPECT_EQ(d->focus.Current(), &d->txtSearch);
}

TEST(ReferenceLookup, PicksTheCodeOfTheCurrentRowOrNothing)
{
    struct Case {
        const char* name;
        std::function<void(ReferenceLookup&)> user;
        QString picked;
    };
    const Case cases[] = {
        {"Select right away takes the first row's code", [](ReferenceLookup& d) { d.ClickSelect(); }, "2"},
        {"a double click on another row", [](ReferenceLookup& d) { d.grdLookup.SetRow(2); d.grdLookup.Activate(); }, "1"},
        {"Cancel after browsing", [](ReferenceLookup& d) { d.grdLookup.SetRow(2); d.ClickCancel(); }, ""},
        {"the close box", [](ReferenceLookup&) {}, ""},
    };
    for (const Case& c : cases) {
        ReferenceFixture f;
        f.host.On<ReferenceLookup>(c.user);
        EXPECT_EQ(dialogs::RunReferenceLookup(f.user.sqlconnection(), f.prompts, f.host, "ME", ReferenceLookup::Supplier),
                  c.picked)
            << c.name;
        EXPECT_EQ(f.host.Opened(), QStringList{"dialogs::ReferenceLookup"}) << c.name;
    }
}

TEST(ReferenceLookup, TakesASingleMatchWithoutShowingTheDialog)
{
    ReferenceFixture f;
    // The host has no script: showing the dialog would fail the test.
    EXPECT_EQ(dialogs::RunReferenceLookup(f.user.sqlconnection(), f.prompts, f.host, "NET",
                                          ReferenceLookup::TermsOfPayment),
              "2");
    EXPECT_TRUE(f.host.Opened().isEmpty());
}

TEST(ReferenceLookup, AnUnknownTypeOrARefusedSearchIsShownAndFindsNothing)
{
    ReferenceFixture f;
    f.prompts.Expect({"There is no lookup of type 4.", forms::kApplicationTitle, forms::Icon::None});
    auto unknown = f.Load("7", 4);
    EXPECT_EQ(unknown->Caption(), "Lookup");
    EXPECT_TRUE(f.sent.isEmpty());
    EXPECT_FALSE(unknown->grdLookup.IsEnabled());
    EXPECT_FALSE(unknown->cmdSelect.IsEnabled());

    f.refuse = true;
    f.prompts.Expect({"Invalid object name 'tbinvTerms'.", forms::kApplicationTitle, forms::Icon::None});
    auto refused = f.Load("NET", ReferenceLookup::TermsOfPayment);
    EXPECT_FALSE(refused->grdLookup.IsBound());
    EXPECT_FALSE(refused->cmdSelect.IsEnabled());
    EXPECT_FALSE(refused->blnExactMatch);
    EXPECT_TRUE(f.prompts.AllAnswered());
}

TEST(ReferenceLookup, ANumberThatNoDatabaseReadsIsRefusedByTheLookupItself)
{
    struct Case { const char* search; qint16 type; const char* caption; };
    const Case refused[] = {
        {"1,2", ReferenceLookup::TermsOfPayment, "Terms of Payment"},
        {" 1d2 ", ReferenceLookup::UnitOfMeasure, "Unit of Measure"},
        {"1,000", ReferenceLookup::UnitOfMeasure, "Unit of Measure"},
    };
    for (const Case& c : refused) {
        ReferenceFixture f;
        f.prompts.Expect({QStringLiteral("\"%1\" is no %2 code: type the code as a plain number, or the start of a name.")
                              .arg(QString::fromLatin1(c.search).trimmed(), QLatin1String(c.caption)),
                          forms::kApplicationTitle, forms::Icon::None});
        auto d = f.Load(c.search, c.type);
        EXPECT_TRUE(f.sent.isEmpty()) << c.search;
        EXPECT_FALSE(d->grdLookup.IsEnabled()) << c.search;
        EXPECT_FALSE(d->blnExactMatch) << c.search;
        EXPECT_TRUE(f.prompts.AllAnswered()) << c.search;
    }

    // Numbers as databases write them go in as typed and find their row; a
    // supplier's code is quoted text anyway.
    struct Found { const char* search; qint16 type; const char* condition; QStringList codes; };
    const Found found[] = {
        {"2E0", ReferenceLookup::TermsOfPayment, "Where TermsID = 2E0 ", {"2"}},
        {"+2", ReferenceLookup::TermsOfPayment, "Where TermsID = +2 ", {"2"}},
        {"1.0", ReferenceLookup::UnitOfMeasure, "Where UnitOfMeasureID = 1.0 ", {"1"}},
        {"1,2", ReferenceLookup::Supplier, "Where SupplierID = '1,2' ", {}},
    };
    for (const Found& c : found) {
        ReferenceFixture f;
        auto d = f.Load(c.search, c.type);
        ASSERT_EQ(f.sent.size(), 1) << c.search;
        EXPECT_TRUE(f.sent[0].contains(QLatin1String(c.condition))) << f.sent[0].toStdString();
        EXPECT_EQ(Column(d->grdLookup, 1), c.codes) << c.search;
    }
}
