#include "requests/RequestQueries.h"
#include "support/TempDatabase.h"

#include <gtest/gtest.h>

using testing_support::TempDatabase;

namespace {

void AddLine(TempDatabase& db, const char* number, const char* to, const char* from, const char* date,
             QVariant status, QVariant verifiedBy, const char* item = "P1")
{
    db.Insert("tbInvWithdrawRequest", {{"DocumentNumber", number}, {"ItemID", item}, {"Quantity", 1},
                                       {"UnitCost", 1}, {"ForRetail", "Y"}, {"isADS", 0}, {"LocationID", to},
                                       {"TargetLocationID", from}, {"TransDate", date}, {"UserID", "ANNA"},
                                       {"Status", status}, {"VerifiedBy", verifiedBy}});
}

// Requests in every state, addressed to the user's store 94 or elsewhere.
void Seed(TempDatabase& db)
{
    db.Insert("tbInvLocation", {{"LocationID", "94"}, {"Location", "CENTRAL SUPPLY"}});
    db.Insert("tbInvLocation", {{"LocationID", "10"}, {"Location", "EMERGENCY ROOM"}});
    db.Insert("tbInvLocation", {{"LocationID", "11"}, {"Location", "ICU"}});
    db.Insert("tbInvUserLocation", {{"UserID", "ANNA"}, {"LocationID", "94"}});
    db.Insert("tbInvUserLocation", {{"UserID", "ANNA"}, {"LocationID", "10"}});
    db.Insert("tbPasswordMain", {{"EmployeeID", "ANNA"}, {"LastName", "CRUZ"}, {"FirstName", "ANNA"}});
    AddLine(db, "3", "94", "10", "2026-03-02 09:00:00", QVariant(), QVariant());
    AddLine(db, "3", "94", "10", "2026-03-02 09:00:00", QVariant(), QVariant(), "P2");
    AddLine(db, "1", "94", "11", "2026-03-10 15:00:00", "", QVariant());
    AddLine(db, "2", "94", "10", "2026-03-01 08:00:00", QVariant(), "BOSS");
    AddLine(db, "4", "94", "10", "2026-02-01 08:00:00", "P", "BOSS");
    AddLine(db, "5", "94", "10", "2026-02-02 08:00:00", "D", QVariant());
    AddLine(db, "6", "11", "10", "2026-02-03 08:00:00", QVariant(), QVariant()); // not to a location of hers
}

QStringList Numbers(const db::RowSet& rows)
{
    return testing_support::ColumnTexts(rows);
}

} // namespace

TEST(RequestList, ViewsListEachRequestOnceInTimeOrder)
{
    TempDatabase db;
    Seed(db);
    auto& c = db.Connection();
    EXPECT_EQ(Numbers(c.Execute(requests::RequestListStatement("ANNA", true, false))), QStringList({"3", "1"}));
    EXPECT_EQ(Numbers(c.Execute(requests::RequestListStatement("ANNA", true, true))), QStringList({"2"}));
    EXPECT_EQ(Numbers(c.Execute(requests::RequestListStatement("ANNA", false, true))), QStringList({"4"}));

    const db::RowSet rows = c.Execute(requests::RequestListStatement("ANNA", true, false));
    ASSERT_EQ(rows.ColumnCount(), 6);
    EXPECT_EQ(rows.RowAt(0).at(1).toString(), "EMERGENCY ROOM");
    EXPECT_EQ(rows.RowAt(0).at(2).toString(), "CENTRAL SUPPLY");
    EXPECT_EQ(rows.RowAt(0).at(3).toDateTime(), QDateTime(QDate(2026, 3, 2), QTime(9, 0)));
    EXPECT_EQ(rows.RowAt(0).at(4).toString(), "CRUZ, ANNA");
    EXPECT_EQ(rows.RowAt(0).at(5).toString(), "10");
}

TEST(RequestList, WireTextOfTheProcessedView)
{
    EXPECT_EQ(requests::RequestListStatement("ANNA", false, true).toStdString(),
              "Select distinct A.DocumentNumber , B.Location , C.Location ,A.TransDate , (Select Top 1 LastName + "
              "', ' + FirstName From Password..tbPasswordMain Where EmployeeID = A.UserID),A.targetlocationid  from "
              "INVENTORY..tbinvwithdrawrequest A  Left Outer Join INVENTORY..tbinvlocation B On A.TargetLocationID = "
              "B.LocationID Left Outer Join INVENTORY..tbinvLocation C On A.LocationId = C.LocationID Left Outer "
              "Join INVENTORY..tbinvUserLocation D On A.LocationID = D.LocationID Where D.UserID = 'ANNA' and  "
              "A.Status = 'P'  and isnull(verifiedby,'')<> '' Order By Transdate");
}

TEST(UserLocation, AssignedOnlyWithTrimmedId)
{
    TempDatabase db;
    Seed(db);
    EXPECT_TRUE(requests::IsUserLocation(db.Connection(), "ANNA", " 10 "));
    EXPECT_FALSE(requests::IsUserLocation(db.Connection(), "ANNA", "11"));
    EXPECT_FALSE(requests::IsUserLocation(db.Connection(), "BEN", "94"));
}
