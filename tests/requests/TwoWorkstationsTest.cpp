// Two request screens on one database, as two workstations of a ward: what
// one does is never undone unseen by the other.

#include "dialogs/SupervisorPassword.h"
#include "forms/Prompts.h"
#include "reports/Printing.h"
#include "requests/ScreenFixture.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

using screen_testing::ScreenFixture;
using screen_testing::Workstation;
using testing_support::Backend;

namespace {

using Screen = requests::RequestScreen;

const QString kReloadOrNew = QStringLiteral(
    "Do you want to reload it? Yes shows the request as it is stored now, No saves your lines as a new request, "
    "Cancel keeps your lines on the screen.");
const QString kReload = QStringLiteral(
    "Do you want to reload it? Yes shows the request as it is stored now, No keeps your lines on the screen.");

// The pattern of a conflict's message: who did what, at a time of day.
QString ConflictPattern(const QString& what, const QString& question)
{
    return QRegularExpression::escape("Request 7 was " + what) + R"( at \d\d:\d\d( on \d\d/\d\d/\d{4})?)"
           + QRegularExpression::escape(" since you opened it.\n\n" + question);
}

// The fixture's hospital with a second clerk, RLIM, who works in the
// emergency room and the central supply room too; ANNA's screen is the
// fixture's own, RLIM's the other workstation.
struct Ward : ScreenFixture {
    explicit Ward(Backend backend) : ScreenFixture(backend)
    {
        db.Insert("tbPasswordMain", {{"EmployeeID", "RLIM"}, {"Password", cipher::EncipherPassword("lim")},
                                     {"departmentid", "4"}, {"LastName", "LIM"}, {"FirstName", "ROBERTO"}});
        for (const char* location : {"10", "94"})
            db.Insert("tbInvUserLocation", {{"UserID", "RLIM"}, {"LocationID", location}});
        db.DiscardAfterUse();
    }

    // The values of request 7's rows that tell who did what.
    QStringList States(const QString& number = "7")
    {
        QStringList states;
        const db::RowSet rows = db.Native(
            "SELECT ItemID, Status, ProcessBy, VerifiedBy, UserID FROM tbInvWithdrawRequest WHERE DocumentNumber = ? "
            "ORDER BY ItemID",
            {number});
        for (const db::RowSet::Row& row : rows.Rows()) {
            QStringList cells;
            for (const QVariant& cell : row)
                cells << (cell.isNull() ? QStringLiteral("-") : cell.toString());
            states << cells.join('|');
        }
        return states;
    }

    // ANNA opens request 7 and removes its first line, without saving yet.
    Screen& OpenAndChange()
    {
        Screen& s = Open();
        SelectListed("7");
        s.cmdEdit.Click();
        s.grdDetails.SetRow(1);
        s.DeleteLine();
        return s;
    }
};

class TwoWorkstations : public testing::TestWithParam<Backend> {
protected:
    void SetUp() override { TESSARY_SKIP_UNLESS_AVAILABLE(GetParam()); }
};

void CancelOn(Workstation& w, const QString& number)
{
    w.SelectListed(number);
    w.prompts.Expect("Are you sure you want to delete this record?", forms::Answer::Yes);
    w.screen->cmdDeleteReq.Click();
}

void VerifyOn(Workstation& w, const QString& number)
{
    w.SelectListed(number);
    w.screen->cmdEdit.Click();
    w.dialogs.On<dialogs::SupervisorPassword>([](dialogs::SupervisorPassword& d) {
        d.Activate();
        d.txtUserID.SetText("BOSS");
        d.EnterInUserID();
        d.txtPassword.SetText("sup");
        d.EnterInPassword();
    });
    w.screen->cmdVerify.Click();
}

} // namespace

TEST_P(TwoWorkstations, ACancellationElsewhereStandsAndTheSaveIsRefused)
{
    Ward f(GetParam());
    Screen& anna = f.OpenAndChange();
    Workstation rlim(f, "RLIM", "lim");
    CancelOn(rlim, "7");

    f.prompts.ExpectMatching(ConflictPattern("cancelled by RLIM", kReload), forms::Answer::No);
    anna.cmdSave.Click();
    EXPECT_EQ(f.States(), QStringList({"P1|D|RLIM|-|ANNA", "P2|D|RLIM|-|ANNA"}));
    // ANNA keeps her lines, and her list no longer offers the request.
    EXPECT_EQ(anna.SSTab1.Current(), Screen::kDetailsTab);
    EXPECT_EQ(anna.grdDetails.Text(1, 0), "P2");
    EXPECT_FALSE(f.Listed().contains("7"));
}

TEST_P(TwoWorkstations, AVerificationElsewhereIsNotUndone)
{
    Ward f(GetParam());
    Screen& anna = f.OpenAndChange();
    Workstation rlim(f, "RLIM", "lim");
    VerifyOn(rlim, "7");
    ASSERT_EQ(f.States(), QStringList({"P1|-|-|BOSS|RLIM", "P2|-|-|BOSS|RLIM"}));

    f.prompts.ExpectMatching(ConflictPattern("verified by BOSS", kReloadOrNew), forms::Answer::Cancel);
    anna.cmdSave.Click();
    EXPECT_EQ(f.States(), QStringList({"P1|-|-|BOSS|RLIM", "P2|-|-|BOSS|RLIM"}));
    EXPECT_EQ(anna.SSTab1.Current(), Screen::kDetailsTab);
}

TEST_P(TwoWorkstations, AChangeElsewhereIsReloadedOrTheLinesBecomeANewRequest)
{
    struct Case { const char* what; forms::Answer answer; QStringList stored7; QStringList stored13; };
    const Case cases[] = {
        // Yes: ANNA sees what RLIM stored and may go on from there.
        {"reload", forms::Answer::Yes, {"P1|-|-|-|RLIM"}, {}},
        // No: ANNA's lines are saved under a new number; RLIM's stay under 7.
        {"save as new", forms::Answer::No, {"P1|-|-|-|RLIM"}, {"P2|-|-|-|ANNA"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Ward f(GetParam());
        Screen& anna = f.OpenAndChange();
        Workstation rlim(f, "RLIM", "lim");
        rlim.SelectListed("7");
        rlim.screen->cmdEdit.Click();
        rlim.screen->grdDetails.SetRow(2);
        rlim.screen->DeleteLine();
        ASSERT_TRUE(rlim.screen->cmdSave.Click());

        f.prompts.Expect("Request 7 was changed by RLIM since you opened it.\n\n" + kReloadOrNew, c.answer);
        anna.cmdSave.Click();
        EXPECT_EQ(f.States("7"), c.stored7);
        EXPECT_EQ(f.States("13"), c.stored13);
        if (c.answer == forms::Answer::Yes) {
            EXPECT_EQ(anna.SSTab1.Current(), Screen::kDetailsTab);
            EXPECT_EQ(anna.grdDetails.Rows(), 3);  // RLIM's one line and the empty row
            EXPECT_EQ(anna.grdDetails.Text(1, 0), "P1");
            // Reloaded, the request saves again: it is what is stored now.
            ASSERT_TRUE(anna.cmdSave.Click());
            EXPECT_EQ(f.States("7"), QStringList({"P1|-|-|-|ANNA"}));
        } else {
            EXPECT_EQ(anna.SSTab1.Current(), Screen::kListTab);
            EXPECT_EQ(anna.lblStatus.Caption(), "Request 13 saved.");
        }
    }
}

TEST_P(TwoWorkstations, ATypedNumberTakenElsewhereIsRefused)
{
    Ward f(GetParam());
    f.session.TypedRequestNumber = true;
    Screen& anna = f.Open();
    Workstation rlim(f, "RLIM", "lim");
    for (Screen* s : {&anna, rlim.screen.get()}) {
        s->cmdNew.Click();
        s->cboTargetLocation.SetText("EMERGENCY ROOM");
        s->focus.Focus(&s->txtDocNum);
        s->txtDocNum.SetText("20");
        s->grdDetails.SetRowTexts(1, {s == &anna ? "P1" : "P2", "", "1", "1", "1", "N", "N"});
        s->grdDetails.AddRow();
    }
    // RLIM saves after ANNA's screen found 20 free, before her save stores it.
    bool raced = false;
    f.user.sqlconnection().SetStatementObserver([&](const QString& sql) {
        if (!raced && sql.startsWith("Select DocumentNumber from")) {
            raced = true;
            ASSERT_TRUE(rlim.screen->cmdSave.Click());
        }
    });
    f.prompts.Expect({"Document Number already exists. Please assign a new number.", "MESSAGE",
                      forms::Icon::Critical});
    anna.cmdSave.Click();
    EXPECT_TRUE(raced);
    EXPECT_EQ(f.States("20"), QStringList({"P2|-|-|-|RLIM"}));
    EXPECT_EQ(anna.focus.Current(), &anna.txtDocNum);
}

TEST_P(TwoWorkstations, ACancelChecksTheRequestIsStillAsListed)
{
    struct Case {
        const char* what;
        std::function<void(Workstation&)> elsewhere;
        QString message;
        QStringList stored;
    };
    const Case cases[] = {
        {"cancelled", [](Workstation& w) { CancelOn(w, "7"); },
         R"(Request 7 was cancelled by RLIM at \d\d:\d\d( on \d\d/\d\d/\d{4})? since the list was read\.)",
         {"P1|D|RLIM|-|ANNA", "P2|D|RLIM|-|ANNA"}},
        {"verified", [](Workstation& w) { VerifyOn(w, "7"); },
         R"(Request 7 was verified by BOSS at \d\d:\d\d( on \d\d/\d\d/\d{4})? since the list was read\.)",
         {"P1|-|-|BOSS|RLIM", "P2|-|-|BOSS|RLIM"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Ward f(GetParam());
        Screen& anna = f.Open();
        Workstation rlim(f, "RLIM", "lim");
        c.elsewhere(rlim);

        f.SelectListed("7");
        f.prompts.Expect("Are you sure you want to delete this record?", forms::Answer::Yes)
            .ExpectMatching(c.message);
        anna.cmdDeleteReq.Click();
        EXPECT_EQ(f.States(), c.stored);
        EXPECT_FALSE(f.Listed().contains("7"));  // the list was read again
    }
}

INSTANTIATE_TEST_SUITE_P(Backends, TwoWorkstations, testing::ValuesIn(testing_support::AllBackends()),
                         testing_support::BackendTestName());
