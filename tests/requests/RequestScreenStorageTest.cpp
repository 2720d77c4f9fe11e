#include "requests/ScreenFixture.h"

#include "dialogs/SupervisorPassword.h"
#include "forms/Prompts.h"
#include "reports/Printing.h"

#include <gtest/gtest.h>

using screen_testing::ScreenFixture;

namespace {

using Screen = requests::RequestScreen;

// What the line entry leaves in the grid: the lines and the empty last row.
void PutLines(Screen& s, const QList<QStringList>& lines)
{
    s.grdDetails.SetRows(int(lines.size()) + 2);
    for (int i = 0; i < lines.size(); ++i)
        s.grdDetails.SetRowTexts(i + 1, lines[i]);
}

// Each stored row of a request: item, quantity, unit cost, retail, ADS,
// to, from, date, user, remarks, verifier.
QStringList StoredRows(ScreenFixture& f, const QString& number)
{
    QStringList rows;
    const db::RowSet stored = f.db.Native(
        "SELECT ItemID, Quantity, UnitCost, ForRetail, isADS, LocationID, TargetLocationID, TransDate, UserID, "
        "Remarks, VerifiedBy, Status FROM tbInvWithdrawRequest WHERE DocumentNumber = ? ORDER BY rowid",
        {number});
    for (const db::RowSet::Row& row : stored.Rows()) {
        QStringList cells;
        for (const QVariant& cell : row)
            cells << (cell.isNull()                             ? QStringLiteral("-")
                      : cell.typeId() == QMetaType::QDateTime ? cell.toDateTime().toString("yyyy-MM-dd HH:mm:ss")
                                                              : cell.toString());
        rows << cells.join('|');
    }
    return rows;
}

void StartNewRequest(ScreenFixture& f, Screen& s)
{
    f.SelectListed("7");  // its locations: central supply from the emergency room
    s.cmdNew.Click();
    s.txtTransDate.SetValue(QDateTime(QDate(2026, 3, 7), QTime(14, 5, 9)));
    s.txtRemarks.SetText("FOR WARD 3");
    PutLines(s, {{"P1", "GAUZE 4X4", "5", "12.5", "62.5000", "Y", "N"},
                 {"P2", "SYRINGE 5ML", "2", "3.0000", "6.0000", "N", "Y"}});
}

} // namespace

TEST(RequestScreenSave, NewRequestTakesTheNextNumberAndTheListShowsIt)
{
    ScreenFixture f;
    Screen& s = f.Open();
    StartNewRequest(f, s);
    f.sent.clear();
    ASSERT_TRUE(s.cmdSave.Click());

    EXPECT_EQ(StoredRows(f, "13"),
              QStringList({"P1|5|12.5|Y|0|94|10|2026-03-07 14:05:09|ANNA|FOR WARD 3|-|-",
                           "P2|2|3|N|1|94|10|2026-03-07 14:05:09|ANNA|FOR WARD 3|-|-"}));
    EXPECT_TRUE(f.sent.contains("Delete INVENTORY..tbInvWithdrawRequest Where DocumentNumber = '13'"));
    EXPECT_TRUE(f.sent.contains(
        "Insert INVENTORY..tbInvWithdrawRequest (DocumentNumber, ItemID, Quantity, UnitCost, ForRetail, isADS, "
        "LocationID, TargetLocationID, TransDate, UserID, Remarks) Values ('13','P1',5,12.5,'Y', '0', '94', '10', "
        "'03/07/2026 02:05:09 PM', 'ANNA', 'FOR WARD 3')"));
    EXPECT_EQ(s.txtDocNum.Text(), "13");
    EXPECT_EQ(s.SSTab1.Current(), Screen::kListTab);
    EXPECT_TRUE(f.Listed().contains("13"));
}

TEST(RequestScreenSave, AnOpenedRequestIsRewrittenWithTheScreensLines)
{
    ScreenFixture f;
    f.db.Native("UPDATE tbInvWithdrawRequest SET Remarks = 'FOR WARD 3' WHERE DocumentNumber = '7'");
    Screen& s = f.Open();
    f.SelectListed("12");
    s.cmdEdit.Click();
    s.txtRemarks.SetText("LEFT FROM ANOTHER REQUEST");
    s.cmdList.Click();
    f.SelectListed("7");
    s.cmdEdit.Click();
    EXPECT_EQ(s.txtRemarks.Text(), "FOR WARD 3");  // saving keeps the stored justification
    s.grdDetails.RemoveRow(1);
    s.cmdSave.Click();

    // The stored date stays too.
    EXPECT_EQ(StoredRows(f, "7"), QStringList({"P2|2|3|N|0|94|10|2026-03-07 08:00:00|ANNA|FOR WARD 3|-|-"}));
}

TEST(RequestScreenSave, ChecksBeforeSavingAndVerifying)
{
    struct Case {
        const char* what;
        std::function<void(Screen&)> arrange;
        forms::Message message;
        std::function<forms::Control*(Screen&)> focusAfter;
    };
    const Case cases[] = {
        {"no department from", [](Screen& s) { s.cboTargetLocation.SetText("  "); },
         {"Invalid target location..."}, [](Screen& s) -> forms::Control* { return &s.cboTargetLocation; }},
        {"no typed number", [](Screen& s) { s.txtDocNum.SetText(" "); },
         {"Invalid document number..."}, [](Screen& s) -> forms::Control* { return &s.txtDocNum; }},
        {"typed number taken", [](Screen& s) { s.txtDocNum.SetText("12 "); },
         {"Document Number already exists. Please assign a new number.", "MESSAGE", forms::Icon::Critical},
         [](Screen& s) -> forms::Control* { return &s.txtDocNum; }},
    };
    for (const bool verify : {false, true}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.what) + (verify ? " (verify)" : " (save)"));
            ScreenFixture f;
            f.session.TypedRequestNumber = true;
            Screen& s = f.Open();
            StartNewRequest(f, s);
            s.txtDocNum.SetText("20");
            c.arrange(s);
            f.prompts.Expect(c.message);
            (verify ? s.cmdVerify : s.cmdSave).Click();
            EXPECT_EQ(s.focus.Current(), c.focusAfter(s));
            EXPECT_EQ(s.SSTab1.Current(), Screen::kDetailsTab);
            EXPECT_EQ(StoredRows(f, "12"), QStringList({"P2|1|3|N|0|94|10|2026-03-02 08:00:00|ANNA|-|-|-"}));
            EXPECT_TRUE(StoredRows(f, "20").isEmpty());
            EXPECT_TRUE(f.dialogs.Opened().isEmpty());
        }
    }
}

TEST(RequestScreenSave, AFailedSaveKeepsTheLinesForAnotherTry)
{
    ScreenFixture f;
    Screen& s = f.Open();
    StartNewRequest(f, s);
    f.db.Native(
        "CREATE TRIGGER refuse BEFORE INSERT ON tbInvWithdrawRequest BEGIN SELECT RAISE(ABORT, 'disk full'); END");
    f.prompts.Expect("disk full");
    s.cmdSave.Click();
    EXPECT_EQ(s.grdDetails.Rows(), 4);

    f.db.Native("DROP TRIGGER refuse");
    s.cmdSave.Click();
    EXPECT_EQ(StoredRows(f, "13").size(), 2);
}

TEST(RequestScreenVerify, TheSupervisorVerifiesAfterTheSaveAndTheRequestIsPrinted)
{
    ScreenFixture f;
    Screen& s = f.Open();
    StartNewRequest(f, s);
    QStringList committedWhenAsked;
    f.dialogs.On<dialogs::SupervisorPassword>([&](dialogs::SupervisorPassword& d) {
        committedWhenAsked = StoredRows(f, "13");  // another connection sees the save already
        d.Activate();
        d.txtUserID.SetText("BOSS");
        d.EnterInUserID();
        d.txtPassword.SetText("sup");
        d.EnterInPassword();
    });
    s.cmdVerify.Click();

    EXPECT_EQ(committedWhenAsked.size(), 2);
    const QStringList stored = StoredRows(f, "13");
    ASSERT_EQ(stored.size(), 2);
    for (const QString& row : stored)
        EXPECT_TRUE(row.endsWith("|BOSS|-")) << row.toStdString();
    EXPECT_EQ(f.viewers.opened, QStringList({"Inventory Master File"}));
    const auto report = f.viewers.last;
    ASSERT_TRUE(report);
    QStringList values;
    for (int i = 0; i < report->ParameterFieldCount(); ++i)
        values << report->ParameterFieldAt(i).currentValues;
    EXPECT_EQ(values, QStringList({"ST. LUKE GENERAL", "1 MAIN ST", "13"}));
    EXPECT_EQ(s.SSTab1.Current(), Screen::kListTab);
}

TEST(RequestScreenVerify, ACancelledSupervisorLeavesTheRequestSavedUnverifiedAndPrinted)
{
    ScreenFixture f;
    Screen& s = f.Open();
    StartNewRequest(f, s);
    f.dialogs.On<dialogs::SupervisorPassword>([](dialogs::SupervisorPassword& d) { d.Escape(); });
    s.cmdVerify.Click();
    const QStringList stored = StoredRows(f, "13");
    ASSERT_EQ(stored.size(), 2);
    EXPECT_TRUE(stored[0].endsWith("|-|-"));
    EXPECT_EQ(f.viewers.opened.size(), 1);
}

TEST(RequestScreenCancel, ConfirmedCancelMarksEveryRowAndTheListDropsIt)
{
    const forms::Message question{"Are you sure you want to delete this record?", "Message", forms::Icon::Question,
                                  forms::Buttons::YesNo};
    ScreenFixture f;
    Screen& s = f.Open();
    f.SelectListed("7");
    f.prompts.Expect(question, forms::Answer::No);
    s.cmdDeleteReq.Click();
    EXPECT_TRUE(f.Listed().contains("7"));

    f.prompts.Expect(question, forms::Answer::Yes);
    s.cmdDeleteReq.Click();
    const QStringList stored = StoredRows(f, "7");
    ASSERT_EQ(stored.size(), 2);
    for (const QString& row : stored)
        EXPECT_TRUE(row.endsWith("|D")) << row.toStdString();
    EXPECT_EQ(f.db.Scalar("SELECT COUNT(*) FROM tbInvWithdrawRequest WHERE ProcessBy = 'ANNA' AND ProcessDate IS NOT NULL"), 2);
    EXPECT_FALSE(f.Listed().contains("7"));

    // A request from a department the user does not work in stays.
    f.SelectListed("9");
    f.prompts.Expect({"User not Authorized for this Location.", forms::kApplicationTitle, forms::Icon::Information});
    s.cmdDeleteReq.Click();
    EXPECT_TRUE(f.Listed().contains("9"));
}

TEST(RequestScreenView, PrintsTheListedOrTheShownRequestInEitherForm)
{
    ScreenFixture f;
    Screen& s = f.Open();
    const auto printedValues = [&f] {
        QStringList values;
        const auto report = f.viewers.last;
        for (int i = 0; report && i < report->ParameterFieldCount(); ++i)
            values << report->ParameterFieldAt(i).currentValues;
        return values;
    };

    f.SelectListed("12");
    s.cmdView.Click();
    EXPECT_EQ(printedValues(), QStringList({"ST. LUKE GENERAL", "1 MAIN ST", "12"}));

    f.SelectListed("9");
    s.chkPrint.SetChecked(true);  // offered on one site only; the action reads the tick
    s.cmdView.Click();
    EXPECT_TRUE(f.viewers.last->FilePath().endsWith("DepartmentRequest_Short.rpt"));
    EXPECT_EQ(printedValues(), QStringList({"9"}));

    s.chkPrint.SetChecked(false);
    f.SelectListed("7");
    s.cmdNew.Click();
    s.cmdView.Click();  // a request not saved yet prints under its placeholder
    EXPECT_EQ(printedValues(), QStringList({"ST. LUKE GENERAL", "1 MAIN ST", "NEW"}));
    EXPECT_EQ(f.viewers.opened.size(), 3);

    f.viewers.failure = "The report cannot be shown.";
    f.prompts.Expect("The report cannot be shown.");
    s.cmdView.Click();
}

TEST(RequestScreenSave, FailuresOfTheNumberCheckAndTheCancelAreShown)
{
    ScreenFixture f;
    f.session.TypedRequestNumber = true;
    Screen& s = f.Open();
    f.SelectListed("7");
    s.cmdNew.Click();
    s.txtDocNum.SetText("20");
    f.db.Native("ALTER TABLE tbInvWithdrawRequest RENAME TO tbGone");

    f.prompts.Expect("no such table: tbinvWithdrawRequest");
    s.cmdSave.Click();
    EXPECT_EQ(s.SSTab1.Current(), Screen::kDetailsTab);
    EXPECT_EQ(s.focus.Current(), &s.txtDocNum);

    f.prompts.Expect("no such table: tbinvwithdrawrequest");  // the list, read again when shown
    s.cmdList.Click();
    f.prompts.Expect("Are you sure you want to delete this record?", forms::Answer::Yes)
        .Expect("no such table: tbInvWithdrawRequest");
    s.cmdDeleteReq.Click();
    EXPECT_EQ(f.Listed(), QStringList({"12", "7", "9"}));
}

TEST(RequestScreenSave, ANumberGivenWithBlanksReplacesTheLinesStoredUnderIt)
{
    ScreenFixture f;
    f.session.TypedRequestNumber = true;
    Screen& s = f.Open();
    f.SelectListed("7");
    s.cmdEdit.Click();
    s.txtDocNum.SetText(" 7");
    s.grdDetails.RemoveRow(1);
    f.sent.clear();
    s.cmdSave.Click();
    EXPECT_EQ(f.sent.filter("Delete"), QStringList({"Delete INVENTORY..tbInvWithdrawRequest Where DocumentNumber = '7'"}));
    EXPECT_EQ(StoredRows(f, "7").size(), 1);  // the remaining line only, not old and new mixed
    EXPECT_EQ(s.SSTab1.Current(), Screen::kListTab);
}

TEST(RequestScreenSave, FailuresWhileSavingEndTheActionWithTheirMessage)
{
    struct Case {
        const char* what;
        const char* sabotage;
        forms::Message message;
    };
    const Case cases[] = {
        {"numbering", "ALTER TABLE tbInvWithdrawRequest RENAME TO tbGone",
         {"no such table: tbInvWithdrawRequest", "Error Message", forms::Icon::Critical}},
        {"inserting",
         "CREATE TRIGGER refuse BEFORE INSERT ON tbInvWithdrawRequest BEGIN SELECT RAISE(ABORT, 'disk full'); END",
         {"disk full"}},
    };
    for (const bool verify : {false, true}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.what) + (verify ? " (verify)" : " (save)"));
            ScreenFixture f;
            Screen& s = f.Open();
            StartNewRequest(f, s);
            f.db.Native(c.sabotage);
            f.prompts.Expect(c.message);
            (verify ? s.cmdVerify : s.cmdSave).Click();
            EXPECT_EQ(s.SSTab1.Current(), Screen::kDetailsTab);
            EXPECT_EQ(s.txtDocNum.Text(), "NEW");
            EXPECT_EQ(s.grdDetails.Rows(), 4);
            EXPECT_TRUE(f.dialogs.Opened().isEmpty());
            EXPECT_TRUE(f.viewers.opened.isEmpty());
        }
    }
}
