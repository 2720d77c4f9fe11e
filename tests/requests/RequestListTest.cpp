#include "requests/RequestList.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDatabase.h"

#include <gtest/gtest.h>

using testing_support::ScriptedPrompts;
using testing_support::TempDatabase;

namespace {

void AddLine(TempDatabase& db, const char* number, const char* date, QVariant status, QVariant verifiedBy)
{
    db.Insert("tbInvWithdrawRequest", {{"DocumentNumber", number}, {"ItemID", "P1"}, {"LocationID", "94"},
                                       {"TargetLocationID", "10"}, {"TransDate", date}, {"UserID", "ANNA"},
                                       {"Status", status}, {"VerifiedBy", verifiedBy}});
}

struct ListFixture {
    TempDatabase db;
    ScriptedPrompts prompts;
    forms::Button edit{"&Edit"};
    forms::Button details{"DETAILS"};
    std::unique_ptr<requests::RequestList> list;
    QStringList sent;

    ListFixture()
    {
        db.Insert("tbInvLocation", {{"LocationID", "94"}, {"Location", "CENTRAL SUPPLY"}});
        db.Insert("tbInvLocation", {{"LocationID", "10"}, {"Location", "EMERGENCY ROOM"}});
        db.Insert("tbInvUserLocation", {{"UserID", "ANNA"}, {"LocationID", "94"}});
        db.Insert("tbPasswordMain", {{"EmployeeID", "ANNA"}, {"LastName", "CRUZ"}, {"FirstName", "ANNA"}});
        AddLine(db, "2", "2026-03-07 14:05:09", QVariant(), QVariant());
        AddLine(db, "2", "2026-03-07 14:05:09", QVariant(), QVariant());
        AddLine(db, "1", "2026-03-01 08:00:00", QVariant(), QVariant());
        AddLine(db, "3", "2026-03-02 08:00:00", "P", "BOSS");
        list = std::make_unique<requests::RequestList>(db.Connection(), prompts, "ANNA", edit, details);
        db.Connection().SetStatementObserver([this](const QString& s) { sent << s; });
    }

    QStringList Column(int c) const
    {
        QStringList values;
        for (int r = 1; r < list->grdListing.Rows(); ++r)
            values << list->grdListing.Text(r, c);
        return values;
    }
};

} // namespace

TEST(RequestListTab, PendingRowsOnePerRequestWithReadableDates)
{
    ListFixture f;
    f.list->LoadRequestList();
    EXPECT_TRUE(f.list->grdListing.IsEnabled());
    EXPECT_EQ(f.Column(0), QStringList({"1", "2"}));
    EXPECT_EQ(f.Column(3), QStringList({"03/01/2026 08:00 AM", "03/07/2026 02:05 PM"}));
    EXPECT_EQ(f.Column(4), QStringList({"CRUZ, ANNA", "CRUZ, ANNA"}));
    EXPECT_EQ(f.list->grdListing.Text(0, 0), "Doc #     ");
    EXPECT_TRUE(f.list->grdListing.IsColumnHidden(5));
    f.list->grdListing.SetRow(2);
    EXPECT_EQ(f.list->SelectedNumber(), "2");
    EXPECT_EQ(f.list->SelectedFromLocation(), "10");
}

TEST(RequestListTab, ProcessedTicksVerifiedLoadsTwiceAndBlocksOpening)
{
    ListFixture f;
    f.list->optOptions.Click(1);
    EXPECT_EQ(f.sent.size(), 2) << "the changed tick runs its own load first";
    EXPECT_TRUE(f.list->chkverified.IsChecked());
    EXPECT_FALSE(f.list->chkverified.IsEnabled());
    EXPECT_FALSE(f.edit.IsEnabled());
    EXPECT_FALSE(f.details.IsEnabled());
    EXPECT_EQ(f.Column(0), QStringList({"3"}));

    f.sent.clear();
    f.list->optOptions.Click(0);
    EXPECT_EQ(f.sent.size(), 2);
    EXPECT_FALSE(f.list->chkverified.IsChecked());
    EXPECT_TRUE(f.edit.IsEnabled());
    EXPECT_EQ(f.Column(0), QStringList({"1", "2"}));
}

TEST(RequestListTab, EmptyViewIsClearedAndDisabledUntilTheTickIsCleared)
{
    ListFixture f;
    f.list->chkverified.Click(); // pending and verified: none
    EXPECT_FALSE(f.list->grdListing.IsEnabled());
    EXPECT_EQ(f.Column(0), QStringList({""}));
    EXPECT_EQ(f.list->grdListing.Text(0, 1), "Request From                ");
    f.list->chkverified.Click();
    EXPECT_TRUE(f.list->grdListing.IsEnabled());
}

TEST(RequestListTab, FailureIsShownAndTheGridKeepsItsRows)
{
    ListFixture f;
    f.list->LoadRequestList();
    f.db.Native("DROP TABLE tbInvUserLocation");
    f.prompts.Expect("no such table: tbinvUserLocation");
    f.list->LoadRequestList();
    EXPECT_EQ(f.Column(0), QStringList({"1", "2"}));
}
