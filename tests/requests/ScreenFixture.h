#pragma once

#include "app/CurrentUser.h"
#include "app/SessionContext.h"
#include "cipher/CryptText.h"
#include "support/ScriptedDialogHost.h"
#include "reports/ReportError.h"
#include "reports/ViewerOpener.h"
#include "requests/RequestScreen.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDatabase.h"

#include <QStringList>
#include <gtest/gtest.h>

#include <memory>
#include <optional>

namespace screen_testing {

// Records every viewer the screen opens and the report it was given; can
// be told to fail.
class RecordingViewers : public reports::ViewerOpener {
public:
    void ShowReportViewer(std::shared_ptr<reports::Report> report, bool groupTree, const QString& caption) override
    {
        if (failure)
            throw reports::ReportError(*failure);
        opened << caption + (groupTree ? " (tree)" : "");
        last = std::move(report);
    }
    QStringList opened;
    std::shared_ptr<reports::Report> last;
    std::optional<QString> failure;
};

// Selects the list row of a document number; fails the test when the list
// does not show it.
inline void SelectListed(requests::RequestScreen& screen, const QString& number)
{
    forms::Grid& grid = screen.List().grdListing;
    for (int r = 1; r < grid.Rows(); ++r)
        if (grid.Text(r, 0) == number)
            return grid.SetRow(r);
    ADD_FAILURE() << "not listed: " << number.toStdString();
}

// A small hospital: the central supply room (a store, the default
// request-to location), the emergency room, the pharmacy (warehouse and
// dispensing area at once) and the operating room. ANNA works in the
// emergency room and the pharmacy; requests 7 and 12 come from the
// emergency room, 9 from the operating room, where ANNA does not work.
struct ScreenFixture {
    testing_support::TempDatabase db;
    testing_support::ScriptedPrompts prompts;
    testing_support::ScriptedDialogHost dialogs;
    RecordingViewers viewers;
    app::CurrentUser user{nullptr};
    app::SessionContext session;
    std::unique_ptr<requests::RequestScreen> screen;
    QStringList sent;

    explicit ScreenFixture(testing_support::Backend backend = testing_support::Backend::Embedded) : db(backend)
    {
        AddLocation("94", "CENTRAL SUPPLY ROOM", 1, 0);
        AddLocation("10", "EMERGENCY ROOM", 0, 0);
        AddLocation("20", "PHARMACY", 1, 1);
        AddLocation("30", "OPERATING ROOM", 0, 0);
        db.Insert("tbInvUserLocation", {{"UserID", "ANNA"}, {"LocationID", "10"}});
        db.Insert("tbInvUserLocation", {{"UserID", "ANNA"}, {"LocationID", "20"}});
        db.Insert("tbInvUserLocation", {{"UserID", "ANNA"}, {"LocationID", "94"}});
        db.Insert("tbPasswordMain", {{"EmployeeID", "ANNA"}, {"Password", cipher::EncipherPassword("pw")},
                                     {"departmentid", "4"}, {"LastName", "CRUZ"}, {"FirstName", "ANNA"}});
        db.Insert("tbPasswordMain", {{"EmployeeID", "BOSS"}, {"Password", cipher::EncipherPassword("sup")},
                                     {"departmentid", "00"}, {"Right_Code1", "A"}, {"Right_Code2", "S"},
                                     {"LastName", "REYES"},
                                     {"FirstName", "BEA"}});
        db.Insert("tbInvMaster", {{"ItemID", "P1"}, {"ItemName", "GAUZE"}, {"ItemDesc", "4X4"}});
        db.Insert("tbInvMaster", {{"ItemID", "P2"}, {"ItemName", "SYRINGE"}, {"ItemDesc", "5ML"}});
        db.Insert("tbInvent", {{"ItemID", "P1"}, {"LocationID", "94"}, {"OnHand", 40}});
        db.Insert("tbInvent", {{"ItemID", "P2"}, {"LocationID", "94"}, {"OnHand", 25}});
        AddLine("7", "P1", 5, 12.5, "Y", 1, "10");
        AddLine("7", "P2", 2, 3, "N", 0, "10");
        AddLine("12", "P2", 1, 3, "N", 0, "10");
        AddLine("9", "P1", 1, 1, "N", 0, "30");

        session.currentUser = &user;
        session.HospitalCompany = "ST. LUKE GENERAL";
        session.HospitalAddress = "1 MAIN ST";
        session.ServerDate = "03/07/2026 02:05:09 PM";
        session.DefaultLocationID = "94";
        session.RightCode = "A";
        user.PasswordDeptCode = "4";
        user.UseConnection(db.OpenAnother());
        user.LogIn("ANNA", "pw");
    }

    void AddLocation(const char* id, const char* name, int warehouse, int dispensing)
    {
        db.Insert("tbInvLocation", {{"LocationID", id}, {"Location", name}, {"isWarehouse", warehouse},
                                    {"isDispensingArea", dispensing}});
    }

    void AddLine(const char* number, const char* item, double quantity, double cost, const char* retail, int ads,
                 const char* from)
    {
        db.Insert("tbInvWithdrawRequest",
                  {{"DocumentNumber", number}, {"ItemID", item}, {"Quantity", quantity}, {"UnitCost", cost},
                   {"ForRetail", retail}, {"isADS", ads}, {"LocationID", "94"}, {"TargetLocationID", from},
                   {"TransDate", "2026-03-0" + QString(number).right(1) + " 08:00:00"}, {"UserID", "ANNA"}});
    }

    void Switch(const char* key, bool on) { db.Insert("tbPharmaSwitch", {{"idkey", key}, {"KeyValue", on ? 1 : 0}}); }

    // Builds and loads the screen; what the test set in the session and the
    // database before this call is what the screen sees.
    requests::RequestScreen& Open()
    {
        screen = std::make_unique<requests::RequestScreen>(session, prompts, dialogs, viewers);
        screen->Load();
        user.sqlconnection().SetStatementObserver([this](const QString& s) { sent << s; });
        return *screen;
    }

    void SelectListed(const QString& number) { screen_testing::SelectListed(*screen, number); }

    QStringList Listed() const
    {
        QStringList numbers;
        const forms::Grid& grid = screen->List().grdListing;
        for (int r = 1; r < grid.Rows(); ++r)
            numbers << grid.Text(r, 0);
        return numbers;
    }
};

// Another workstation on the same database: its own connection, user,
// message boxes, dialogs and request screen, as a second program would have.
struct Workstation {
    testing_support::ScriptedPrompts prompts;
    testing_support::ScriptedDialogHost dialogs;
    RecordingViewers viewers;
    app::CurrentUser user{nullptr};
    app::SessionContext session;
    std::unique_ptr<requests::RequestScreen> screen;

    Workstation(const ScreenFixture& f, const QString& userId, const QString& password)
    {
        session = f.session;
        session.currentUser = &user;
        user.PasswordDeptCode = f.user.PasswordDeptCode;
        user.UseConnection(f.db.OpenAnother());
        user.LogIn(userId, password);
        screen = std::make_unique<requests::RequestScreen>(session, prompts, dialogs, viewers);
        screen->Load();
    }

    void SelectListed(const QString& number) { screen_testing::SelectListed(*screen, number); }
};

} // namespace screen_testing
