// Issuing from the request screen: who sees the action, the dialog's
// quantities and refusals, the slip, and the lists afterwards.

#include "forms/Prompts.h"
#include "reports/Report.h"
#include "requests/IssueDialog.h"
#include "requests/ScreenFixture.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

using screen_testing::ScreenFixture;
using screen_testing::Workstation;

namespace {

using Screen = requests::RequestScreen;
using requests::IssueDialog;

// The screen's hospital, where ANNA also issues for the central supply room
// (94): request 7 from the emergency room (5 gauze P1, 2 syringes P2) has
// been verified. The store has 40 gauze and a single syringe; the emergency
// room keeps gauze (1 on hand).
struct StoreClerk : ScreenFixture {
    StoreClerk()
    {
        db.Insert("tbInvUserSettings", {{"UserID", "ANNA"}, {"isVerifyTessary", 0}, {"isIssueTessary", 1}});
        db.Native("UPDATE tbInvWithdrawRequest SET VerifiedBy = 'BOSS', VerifiedDate = '2026-03-07 09:00:00' "
                  "WHERE DocumentNumber = '7'");
        db.Native("UPDATE tbInvent SET OnHand = 1 WHERE ItemID = 'P2' AND LocationID = '94'");
        db.Insert("tbInvent", {{"ItemID", "P1"}, {"LocationID", "10"}, {"OnHand", 1}});
    }

    // The list's Verified view, request 7 selected.
    Screen& VerifiedView()
    {
        Screen& s = Open();
        s.List().chkverified.Click();
        SelectListed("7");
        return s;
    }

    QStringList Lines(const IssueDialog& d) const
    {
        QStringList lines;
        for (int r = 1; r < d.grdLines.Rows(); ++r)
            lines << d.grdLines.RowTexts(r).join('|');
        return lines;
    }

    double OnHand(const char* item, const char* location)
    {
        return db.Native("SELECT OnHand FROM tbInvent WHERE ItemID = ? AND LocationID = ?", {item, location})
            .Field(0)
            .toDouble();
    }
};

} // namespace

TEST(IssueAction, ShownOnlyToAStoreClerkOnTheVerifiedView)
{
    {
        StoreClerk f;
        Screen& s = f.Open();
        const forms::Button& issue = s.Issuing().cmdIssue;
        EXPECT_FALSE(issue.IsVisible()) << "pending requests are verified first";
        s.List().chkverified.Click();
        EXPECT_TRUE(issue.IsVisible());
        EXPECT_EQ(issue.Caption(), "&Issue");
        s.List().optOptions.Click(1);
        EXPECT_FALSE(issue.IsVisible()) << "processed requests were issued already";
        s.List().optOptions.Click(0);
        s.List().chkverified.Click();
        EXPECT_TRUE(issue.IsVisible());
    }
    {
        // A verifier without the right to issue, and a user without settings.
        ScreenFixture f;
        f.db.Insert("tbInvUserSettings", {{"UserID", "ANNA"}, {"isVerifyTessary", 1}});
        Screen& s = f.Open();
        s.List().chkverified.Click();
        EXPECT_FALSE(s.Issuing().cmdIssue.IsVisible());
        EXPECT_FALSE(s.Issuing().MayIssue());
    }
    {
        ScreenFixture f;
        Screen& s = f.Open();
        s.List().chkverified.Click();
        EXPECT_FALSE(s.Issuing().cmdIssue.IsVisible());
    }
}

TEST(IssueAction, IssuesWhatTheStoreHasAndRequestsTheRestAnew)
{
    StoreClerk f;
    Screen& s = f.VerifiedView();
    f.dialogs.On<IssueDialog>([&](IssueDialog& d) {
        EXPECT_EQ(d.Caption(), "Issue Request 7");
        EXPECT_EQ(d.lblRequest.Caption(), "Request 7 from EMERGENCY ROOM to CENTRAL SUPPLY ROOM");
        // Each line starts at the smaller of the request and the stock.
        EXPECT_EQ(f.Lines(d), QStringList({"P1|GAUZE 4X4|5|40|5|0", "P2|SYRINGE 5ML|2|1|1|1"}));
        EXPECT_EQ(d.focus.Current(), &d.txtIssue);
        EXPECT_EQ(d.txtIssue.Text(), "5");
        EXPECT_EQ(d.lblShort.Caption(), "Not issued: 1 unit(s) on 1 line(s).");
        EXPECT_TRUE(d.chkRemainder.IsEnabled());

        // Never more than the store has or the request asks.
        struct Refusal { const char* typed; const char* message; };
        for (const Refusal& r : {Refusal{"6", "5 of P1 was requested: issue at most that."},
                                 Refusal{"-1", "Enter the quantity to issue: 0 or more."},
                                 Refusal{"X", "Enter the quantity to issue: 0 or more."}}) {
            d.txtIssue.SetText(r.typed);
            f.prompts.Expect({r.message, forms::kApplicationTitle, forms::Icon::Information, forms::Buttons::Ok});
            d.IssueEntered();
            EXPECT_EQ(d.focus.Current(), &d.txtIssue) << r.typed;
            EXPECT_EQ(d.grdLines.Row(), 1) << r.typed;
        }
        d.txtIssue.SetText("3");
        d.IssueEntered();
        EXPECT_EQ(d.grdLines.Row(), 2) << "Enter goes on to the next line";
        EXPECT_EQ(d.txtIssue.Text(), "1");
        d.txtIssue.SetText("2");
        f.prompts.Expect("Only 1 of P2 is on hand at the store: issue at most that.");
        d.IssueEntered();
        d.txtIssue.SetText("1");
        d.IssueEntered();
        EXPECT_EQ(d.focus.Current(), &d.cmdIssue) << "after the last line, Enter goes to Issue";
        EXPECT_EQ(f.Lines(d), QStringList({"P1|GAUZE 4X4|5|40|3|2", "P2|SYRINGE 5ML|2|1|1|1"}));
        EXPECT_EQ(d.lblTotal.Caption(), "To issue: 4 unit(s), worth 40.50");
        EXPECT_EQ(d.lblShort.Caption(), "Not issued: 3 unit(s) on 2 line(s).");
        d.chkRemainder.Click();
        d.cmdIssue.Click();
    });
    s.Issuing().cmdIssue.Click();

    EXPECT_EQ(s.lblStatus.Caption(), "Request 7 issued; the rest is request 13.");
    EXPECT_EQ(f.OnHand("P1", "94"), 37);
    EXPECT_EQ(f.OnHand("P2", "94"), 0);
    EXPECT_EQ(f.OnHand("P1", "10"), 4);
    // The slip: requested and issued quantities, who issued them.
    ASSERT_EQ(f.viewers.opened, QStringList{"Issue Slip"});
    db::RowSet slip = f.viewers.last->FetchRows();
    QStringList slipLines;
    for (slip.MoveFirst(); !slip.Eof(); slip.MoveNext())
        slipLines << QStringLiteral("%1 %2 of %3 by %4")
                         .arg(slip.Field("ItemID").toString())
                         .arg(slip.Field("Quantity").toDouble())
                         .arg(slip.Field("RequestedQty").toDouble())
                         .arg(slip.Field("IssuedBy").toString());
    EXPECT_EQ(slipLines, QStringList({"P1 3 of 5 by CRUZ, ANNA", "P2 1 of 2 by CRUZ, ANNA"}));

    // Issued requests leave the Verified view for the Processed one; the
    // rest waits, pending, to be verified.
    EXPECT_FALSE(f.Listed().contains("7"));
    s.List().optOptions.Click(1);
    EXPECT_TRUE(f.Listed().contains("7"));
    s.List().optOptions.Click(0);
    EXPECT_TRUE(f.Listed().contains("13"));
}

TEST(IssueAction, NothingToIssueIsRefusedAndCancelWritesNothing)
{
    StoreClerk f;
    Screen& s = f.VerifiedView();
    f.dialogs.On<IssueDialog>([&](IssueDialog& d) {
        d.txtIssue.SetText("0");
        d.IssueEntered();
        d.txtIssue.SetText("0");
        d.IssueEntered();
        f.prompts.Expect("Nothing would be issued: enter a quantity for at least one line.");
        d.cmdIssue.Click();
        EXPECT_TRUE(d.IsOpen());
        d.txtIssue.SetText("nonsense");
        d.cmdCancel.Click();  // Cancel leaves whatever the box holds
    });
    s.Issuing().cmdIssue.Click();
    EXPECT_EQ(f.OnHand("P1", "94"), 40);
    EXPECT_EQ(f.db.Scalar("SELECT COUNT(*) FROM tbInvStockMovement"), 0);
    EXPECT_TRUE(f.viewers.opened.isEmpty());
    EXPECT_TRUE(f.Listed().contains("7"));
}

TEST(IssueAction, AChangeElsewhereStopsTheIssueAndSaysWhoDidIt)
{
    // Cancelled before the clerk pressed Issue in the list: the list was old.
    {
        StoreClerk f;
        Screen& s = f.VerifiedView();
        Workstation other(f, "ANNA", "pw");
        other.screen->List().chkverified.Click();
        other.SelectListed("7");
        other.prompts.Expect("Are you sure you want to delete this record?", forms::Answer::Yes);
        other.screen->cmdDeleteReq.Click();

        f.prompts.ExpectMatching(QRegularExpression::escape("Request 7 was cancelled by ANNA")
                                 + R"( at \d\d:\d\d( on [\d/]+)? since the list was read\.)");
        s.Issuing().cmdIssue.Click();
        EXPECT_EQ(f.dialogs.Opened(), QStringList());
        EXPECT_FALSE(f.Listed().contains("7"));
    }
    // Cancelled while the dialog was open.
    {
        StoreClerk f;
        Screen& s = f.VerifiedView();
        Workstation other(f, "ANNA", "pw");
        f.dialogs.On<IssueDialog>([&](IssueDialog& d) {
            other.screen->List().chkverified.Click();
            other.SelectListed("7");
            other.prompts.Expect("Are you sure you want to delete this record?", forms::Answer::Yes);
            other.screen->cmdDeleteReq.Click();
            f.prompts.ExpectMatching(QRegularExpression::escape("Request 7 was cancelled by ANNA")
                                     + R"( at \d\d:\d\d( on [\d/]+)? since you opened it\. Nothing was issued\.)");
            d.cmdIssue.Click();
        });
        s.Issuing().cmdIssue.Click();
        EXPECT_EQ(f.OnHand("P1", "94"), 40);
        EXPECT_TRUE(f.viewers.opened.isEmpty());
        EXPECT_FALSE(f.Listed().contains("7"));
    }
}

TEST(IssueAction, StockTakenMeanwhileIsReadAgainAndTheClerkIssuesWhatIsLeft)
{
    StoreClerk f;
    Screen& s = f.VerifiedView();
    f.dialogs.On<IssueDialog>([&](IssueDialog& d) {
        // Another clerk's issue leaves 2 gauze.
        f.db.Native("UPDATE tbInvent SET OnHand = 2 WHERE ItemID = 'P1' AND LocationID = '94'");
        f.prompts.Expect({"Only 2 of GAUZE 4X4 (P1) is on hand at the store now, not 5: nothing was issued.",
                          forms::kApplicationTitle, forms::Icon::Exclamation, forms::Buttons::Ok});
        d.cmdIssue.Click();
        ASSERT_TRUE(d.IsOpen());
        EXPECT_EQ(f.Lines(d), QStringList({"P1|GAUZE 4X4|5|2|2|3", "P2|SYRINGE 5ML|2|1|1|1"}));
        d.cmdIssue.Click();
    });
    s.Issuing().cmdIssue.Click();
    EXPECT_EQ(f.OnHand("P1", "94"), 0);
    EXPECT_EQ(s.lblStatus.Caption(), "Request 7 issued.");
}
