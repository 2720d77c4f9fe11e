#include "forms/Picker.h"
#include "locations/LocationServices.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDatabase.h"

#include <gtest/gtest.h>

using testing_support::ScriptedPrompts;
using testing_support::TempDatabase;

namespace {

// Locations of every kind: a store that is warehouse and dispensing area at
// once, a warehouse, a dispensing area, a ward with a null status, an
// inactive ward, and null flags.
void SeedLocations(TempDatabase& db)
{
    struct L { const char* id; const char* name; QVariant status; QVariant wh; QVariant disp; int order; QVariant type; };
    const L rows[] = {
        {"30", "PHARMACY", "A", 1, 1, 1, "M"},
        {"94", "CENTRAL SUPPLY", "A", 1, 0, 1, QVariant()},
        {"50", "SATELLITE PHARMACY", "A", 0, 1, 0, "MS"},
        {"20", "WARD 2", QVariant(), 0, 0, 0, "S"},
        {"40", "OLD WARD", "I", 0, 0, 1, QVariant()},
        {"60", "UNSET FLAGS", "A", QVariant(), QVariant(), 0, QVariant()},
    };
    for (const L& l : rows)
        db.Insert("tbInvLocation", {{"LocationID", l.id}, {"Location", l.name}, {"Status", l.status},
                                    {"isWarehouse", l.wh}, {"isDispensingArea", l.disp}, {"AllowOrder", l.order},
                                    {"InventoryType", l.type}});
}

QStringList Names(TempDatabase& db, const QString& statement)
{
    return testing_support::ColumnTexts(db.Connection().Execute(statement));
}

} // namespace

TEST(LocationList, EachKindListsItsLocations)
{
    TempDatabase db;
    SeedLocations(db);
    struct Case { const char* kind; locations::LocationListFlags flags; QStringList expected; };
    const Case cases[] = {
        {"non-store", {true, true, true, false, false},
         {"CENTRAL SUPPLY", "SATELLITE PHARMACY", "WARD 2"}},
        {"non-warehouse", {false, false, true, false, false}, {"SATELLITE PHARMACY", "WARD 2"}},
        {"non-dispensing", {true, false, false, false, false}, {"CENTRAL SUPPLY", "WARD 2"}},
        {"orderable", {false, false, false, true, false}, {"CENTRAL SUPPLY", "PHARMACY"}},
        {"all active", {}, {"CENTRAL SUPPLY", "PHARMACY", "SATELLITE PHARMACY", "UNSET FLAGS", "WARD 2"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Names(db, locations::LocationListStatement(c.flags, "ANNA")), c.expected) << c.kind;
}

TEST(LocationList, UserLocationsWinOverEveryOtherFlag)
{
    locations::LocationListFlags flags{true, true, true, true, true};
    EXPECT_EQ(locations::LocationListStatement(flags, "ANNA"), "INVENTORY..sp_Inv_UserLocation 'ANNA'");
    EXPECT_EQ(locations::LocationListStatement({}, "X"),
              "Select Location, LocationID From INVENTORY..tbInvLocation Where Not Status = 'I' or Status is Null  "
              "ORDER BY Location");
}

TEST(ValidateLocation, IdAndStoreFlagByName)
{
    TempDatabase db;
    SeedLocations(db);
    ScriptedPrompts prompts;
    struct Case { const char* name; bool valid; const char* id; bool notStore; };
    const Case cases[] = {
        {"PHARMACY", true, "30", false},        // warehouse and dispensing area
        {"CENTRAL SUPPLY", true, "94", true},
        {"ward 2", true, "20", true},           // names compare without case
        {"UNSET FLAGS", true, "60", false},     // null flags never equal 0
        {"NOWHERE", false, "", false},
    };
    for (const Case& c : cases) {
        const auto result = locations::ValidateLocation(db.Connection(), prompts, "A", c.name, false);
        EXPECT_EQ(result.valid, c.valid) << c.name;
        EXPECT_EQ(result.locationId, c.id) << c.name;
        EXPECT_EQ(result.notStoreAndDispensing, c.notStore) << c.name;
    }
}

TEST(ValidateLocation, RightCodeAgainstInventoryType)
{
    TempDatabase db;
    SeedLocations(db);
    struct Case { const char* right; const char* name; bool admitted; };
    const Case cases[] = {
        {"A", "PHARMACY", true},           // "A" grants every type
        {"S", "WARD 2", true},
        {"S", "SATELLITE PHARMACY", true}, // inside "MS"
        {"s", "SATELLITE PHARMACY", false}, // case-sensitive
        {"M", "WARD 2", false},
        {"M", "CENTRAL SUPPLY", true},     // no inventory type
        {"", "CENTRAL SUPPLY", false},     // no right code at all
    };
    for (const Case& c : cases) {
        ScriptedPrompts prompts;
        if (!c.admitted)
            prompts.Expect({"Unauthorized Access...", "Tessary", forms::Icon::None, forms::Buttons::Ok});
        const auto result = locations::ValidateLocation(db.Connection(), prompts, c.right, c.name, true);
        EXPECT_EQ(result.valid, c.admitted) << c.right << " " << c.name;
        if (!c.admitted) {
            EXPECT_EQ(result.locationId, "") << c.name;
        }
    }
}

TEST(ValidateLocation, DatabaseFailureIsShownAndRefused)
{
    TempDatabase db;
    db.Native("DROP TABLE tbInvLocation");
    ScriptedPrompts prompts;
    prompts.Expect("no such table: tbInvLocation");
    EXPECT_FALSE(locations::ValidateLocation(db.Connection(), prompts, "A", "X", false).valid);
}

TEST(Barcode, TurnsIntoTheItemCodeOrStaysAsTyped)
{
    TempDatabase db;
    db.Insert("tbInvMaster", {{"ItemID", "P0007"}, {"BarCode", "4800016644122"}});
    int statements = 0;
    db.Connection().SetStatementObserver([&](const QString&) { ++statements; });
    EXPECT_EQ(locations::GetItemIDByBarcode(db.Connection(), ""), "");
    EXPECT_EQ(statements, 0) << "an empty code asks nothing";
    EXPECT_EQ(locations::GetItemIDByBarcode(db.Connection(), "4800016644122"), "P0007");
    EXPECT_EQ(locations::GetItemIDByBarcode(db.Connection(), "P0007"), "P0007");
    EXPECT_EQ(locations::GetItemIDByBarcode(db.Connection(), "O'BRIEN"), "O'BRIEN");
}

TEST(LoadLocation, FillsThePickerAndPreselectsTheDefault)
{
    TempDatabase db;
    SeedLocations(db);
    db.Insert("tbInvUserLocation", {{"UserID", "ANNA"}, {"LocationID", "20"}});
    ScriptedPrompts prompts;

    forms::Picker to;
    to.SetTag("stale");
    locations::LoadLocation(to, {true, true, true, false, false}, db.Connection(), prompts, "ANNA", "94");
    ASSERT_EQ(to.Rows().size(), 3);
    EXPECT_EQ(to.Rows().at(0), (forms::PickerRow{"CENTRAL SUPPLY", "94"}));
    EXPECT_EQ(to.Text(), "CENTRAL SUPPLY");
    EXPECT_EQ(to.Tag(), "94");

    forms::Picker from;
    from.SetText("TYPED");
    from.SetTag("stale");
    locations::LoadLocation(from, {false, false, false, false, true}, db.Connection(), prompts, "ANNA", "94");
    EXPECT_EQ(from.Rows(), (QList<forms::PickerRow>{{"WARD 2", "20"}}));
    EXPECT_EQ(from.Text(), "TYPED") << "nothing preselected";
    EXPECT_EQ(from.Tag(), "");
}

TEST(LoadLocation, MissingDefaultOrEmptyListKeepsWhatThePickerShowed)
{
    TempDatabase db;
    ScriptedPrompts prompts;
    forms::Picker picker;
    picker.SetRows({{"OLD", "1"}});
    picker.SetText("OLD");
    picker.SetTag("1");
    locations::LoadLocation(picker, {true, true, true, false, false}, db.Connection(), prompts, "ANNA", "94");
    EXPECT_EQ(picker.Rows().size(), 1);
    EXPECT_EQ(picker.Text(), "OLD");
    EXPECT_EQ(picker.Tag(), "");
}

TEST(LoadLocation, FailureIsShownWithItsOrigin)
{
    TempDatabase db;
    db.Native("DROP TABLE tbInvLocation");
    ScriptedPrompts prompts;
    prompts.Expect({"Called from: Sub LoadLocation -no such table: tbInvLocation", "Tessary", forms::Icon::None,
                    forms::Buttons::Ok});
    forms::Picker picker;
    picker.SetTag("1");
    locations::LoadLocation(picker, {}, db.Connection(), prompts, "ANNA", "94");
    EXPECT_EQ(picker.Tag(), "");
}
