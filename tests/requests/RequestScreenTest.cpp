#include "requests/ScreenFixture.h"

#include "forms/Prompts.h"

#include <gtest/gtest.h>

using screen_testing::ScreenFixture;

namespace {

const forms::Message kNotAuthorized{"User not Authorized for this Location.", forms::kApplicationTitle,
                                    forms::Icon::Information};

QStringList PickerTexts(const forms::Picker& picker)
{
    QStringList texts;
    for (const forms::PickerRow& row : picker.Rows())
        texts << row.text;
    return texts;
}

} // namespace

TEST(RequestScreen, LoadFillsPickersListAndDateThenLocksThePickers)
{
    ScreenFixture f;
    requests::RequestScreen& s = f.Open();

    // Request-to: every location but the combined warehouse and dispensing
    // area, with the default preselected; department-from: the user's own.
    EXPECT_EQ(PickerTexts(s.cboLocation), QStringList({"CENTRAL SUPPLY ROOM", "EMERGENCY ROOM", "OPERATING ROOM"}));
    EXPECT_EQ(s.cboLocation.Text(), "CENTRAL SUPPLY ROOM");
    EXPECT_EQ(s.cboLocation.Tag(), "94");
    EXPECT_EQ(PickerTexts(s.cboTargetLocation), QStringList({"CENTRAL SUPPLY ROOM", "EMERGENCY ROOM", "PHARMACY"}));
    EXPECT_FALSE(s.cboLocation.IsEnabled());
    EXPECT_FALSE(s.cboTargetLocation.IsEnabled());

    EXPECT_EQ(s.SSTab1.Current(), requests::RequestScreen::kListTab);
    EXPECT_EQ(f.Listed(), QStringList({"12", "7", "9"}));
    const QDateTime started(QDate(2026, 3, 7), QTime(14, 5, 9));
    EXPECT_EQ(s.txtTransDate.Value(), started);
    EXPECT_EQ(s.txtTransDate.MaxDate(), started);
    EXPECT_EQ(s.Caption(), "Visual Orvalis - Tessary");
    EXPECT_EQ(s.txtDocNum.MaxLength(), 10);
}

TEST(RequestScreen, VerifyRightFollowsTheUserSettingsRow)
{
    struct Case {
        std::optional<int> isVerifyTessary;  // no settings row when empty
        bool mayVerify;
        bool buttonShown;
    };
    for (const Case& c : {Case{std::nullopt, false, true}, Case{1, true, true}, Case{0, false, false}}) {
        ScreenFixture f;
        if (c.isVerifyTessary)
            f.db.Insert("tbInvUserSettings", {{"UserID", "ANNA"}, {"isVerifyTessary", *c.isVerifyTessary}});
        requests::RequestScreen& s = f.Open();
        EXPECT_EQ(s.PubIsVerifyTessary, c.mayVerify);
        EXPECT_EQ(s.cmdVerify.IsVisible(), c.buttonShown);
    }
}

TEST(RequestScreen, SiteVariants)
{
    struct Case {
        const char* site;
        const char* caption;
        bool printShort;
        const char* viewCaption;
        const char* retailLabel;
        QStringList retailOptions;
        bool minMax;
    };
    const Case cases[] = {
        {"", "Visual Orvalis - Tessary", false, "&View", "For Retail?", {"Yes", "No"}, false},
        {"QORVIN", "Visual Orvalis - Stock Request", false, "&View", "For Retail?", {"Yes", "No"}, false},
        {"KRV", "Visual Orvalis - Tessary", true, "Print", "For :", {"Retail", "Consumption"}, false},
        {"QX", "Visual Orvalis - Tessary", false, "&View", "For Retail?", {"Yes", "No"}, true},
    };
    for (const Case& c : cases) {
        ScreenFixture f;
        f.session.ClientCode = c.site;
        requests::RequestScreen& s = f.Open();
        SCOPED_TRACE(c.site);
        EXPECT_EQ(s.Caption(), c.caption);
        EXPECT_EQ(s.chkPrint.IsVisible(), c.printShort);
        EXPECT_EQ(s.cmdView.Caption(), c.viewCaption);
        EXPECT_EQ(s.lblForRetail.Caption(), c.retailLabel);
        EXPECT_EQ(QStringList({s.optConsumed.Caption(0), s.optConsumed.Caption(1)}), c.retailOptions);
        EXPECT_EQ(s.RetailOptionsAtLeft(), c.printShort);
        for (const forms::Control* minMax : std::initializer_list<const forms::Control*>{&s.txtMin, &s.txtMax, &s.lblMin, &s.lblMax})
            EXPECT_EQ(minMax->IsVisible(), c.minMax);
    }
}

TEST(RequestScreen, EditOpensTheSelectedRequestWithItsLines)
{
    ScreenFixture f;
    requests::RequestScreen& s = f.Open();
    f.SelectListed("7");
    ASSERT_TRUE(s.cmdEdit.Click());

    EXPECT_EQ(f.sent.filter("sp_Inv_LoadWithdrawalRequest"), QStringList({"Inventory..sp_Inv_LoadWithdrawalRequest '7'"}));
    EXPECT_EQ(s.SSTab1.Current(), requests::RequestScreen::kDetailsTab);
    EXPECT_EQ(s.txtDocNum.Text(), "7");
    EXPECT_TRUE(s.txtDocNum.IsLocked());
    EXPECT_EQ(s.cboLocation.Text(), "CENTRAL SUPPLY ROOM");
    EXPECT_EQ(s.cboLocation.Tag(), "94");
    EXPECT_EQ(s.cboTargetLocation.Text(), "EMERGENCY ROOM");
    EXPECT_EQ(s.cboTargetLocation.Tag(), "10");
    EXPECT_FALSE(s.cboLocation.IsEnabled());
    EXPECT_FALSE(s.cboTargetLocation.IsEnabled());

    // Two lines and the empty row; numbers as plain text, the total unformatted.
    ASSERT_EQ(s.grdDetails.Rows(), 4);
    EXPECT_EQ(s.grdDetails.RowTexts(1), QStringList({"P1", "GAUZE 4X4", "5", "12.5", "62.5", "Y", "Y"}));
    EXPECT_EQ(s.grdDetails.RowTexts(2), QStringList({"P2", "SYRINGE 5ML", "2", "3", "6", "N", "N"}));
    EXPECT_EQ(s.grdDetails.RowTexts(3), QStringList(7, QString()));
    EXPECT_EQ(s.grdDetails.Format(), "Code |< Product Name & Description | Quantity | Unit Cost| Total Cost| Retail?|");
    EXPECT_EQ(s.grdDetails.ColumnWidth(1), 5000);
    EXPECT_TRUE(s.grdDetails.IsColumnHidden(6));

    // The first line in the entry fields, the counters, and the line button.
    EXPECT_EQ(s.txtProdCode.Text(), "P1");
    EXPECT_EQ(s.txtWithdraw.Text(), "5");
    EXPECT_TRUE(s.optConsumed.IsSelected(0));
    EXPECT_TRUE(s.chkAdS.IsChecked());
    EXPECT_EQ(s.txtLineCounter.Text(), "1/3");
    EXPECT_EQ(s.txtTotalCounter.Text(), "68.5000");
    EXPECT_EQ(s.cmdOK.Caption(), "Update");
    EXPECT_EQ(s.focus.Current(), &s.txtProdCode);
}

TEST(RequestScreen, EveryWayOfOpeningChecksTheUsersLocation)
{
    // Request 9 comes from the operating room, where the user does not work.
    struct Case {
        const char* way;
        std::function<void(requests::RequestScreen&)> open;
    };
    const Case cases[] = {
        {"Edit", [](requests::RequestScreen& s) { s.cmdEdit.Click(); }},
        {"DETAILS", [](requests::RequestScreen& s) { s.cmdDetails.Click(); }},
        {"double click", [](requests::RequestScreen& s) { s.List().grdListing.Activate(); }},
        {"tab click", [](requests::RequestScreen& s) { s.SSTab1.SetCurrent(1); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.way);
        ScreenFixture f;
        requests::RequestScreen& s = f.Open();
        f.SelectListed("9");
        f.prompts.Expect(kNotAuthorized);
        c.open(s);
        EXPECT_EQ(s.SSTab1.Current(), requests::RequestScreen::kListTab);
        EXPECT_TRUE(f.sent.filter("sp_Inv_LoadWithdrawalRequest").isEmpty());
    }
}

TEST(RequestScreen, VerifiedViewOpensNothingByDoubleClick)
{
    ScreenFixture f;
    f.db.Native("UPDATE tbInvWithdrawRequest SET VerifiedBy = 'BOSS' WHERE DocumentNumber = '7'");
    requests::RequestScreen& s = f.Open();
    s.List().chkverified.Click();
    EXPECT_FALSE(s.cmdEdit.IsEnabled());
    EXPECT_FALSE(s.cmdDetails.IsEnabled());
    f.SelectListed("7");
    s.List().grdListing.Activate();
    EXPECT_EQ(s.SSTab1.Current(), requests::RequestScreen::kListTab);
}

TEST(RequestScreen, NewKeepsTheSelectedRequestsLocationsAndClearsTheRest)
{
    ScreenFixture f;
    requests::RequestScreen& s = f.Open();
    f.SelectListed("7");
    ASSERT_TRUE(s.cmdNew.Click());

    EXPECT_TRUE(s.blnNewRequest);
    EXPECT_EQ(s.SSTab1.Current(), requests::RequestScreen::kDetailsTab);
    EXPECT_EQ(s.cboTargetLocation.Text(), "EMERGENCY ROOM");
    EXPECT_EQ(s.cboLocation.Text(), "CENTRAL SUPPLY ROOM");
    EXPECT_TRUE(s.cboLocation.IsEnabled());
    EXPECT_TRUE(s.cboTargetLocation.IsEnabled());
    EXPECT_EQ(s.grdDetails.Rows(), 2);
    EXPECT_EQ(s.grdDetails.RowTexts(1), QStringList(7, QString()));
    EXPECT_EQ(s.txtLineCounter.Text(), "1/1");
    EXPECT_EQ(s.grdDetails.Format(),
              "Code |< Product Name & Description | Quantity | Unit Cost| Total Cost| Retail?| Remarks|");
    EXPECT_EQ(s.txtProdCode.Text(), "");
    EXPECT_EQ(s.txtDocNum.Text(), "NEW");
    EXPECT_TRUE(s.txtDocNum.IsLocked());
    EXPECT_EQ(s.focus.Current(), &s.txtProdCode);
    EXPECT_EQ(s.cmdOK.Caption(), "Add to List");
    EXPECT_FALSE(s.txtTotalCounter.IsVisible());
    // The emergency room is no combined warehouse and dispensing area: it
    // may request for retail.
    EXPECT_TRUE(s.optConsumed.IsOptionEnabled(0));
    EXPECT_TRUE(s.optConsumed.IsSelected(0));
}

TEST(RequestScreen, NewWithTypedNumbersLeavesTheNumberToTheUser)
{
    ScreenFixture f;
    f.session.TypedRequestNumber = true;
    requests::RequestScreen& s = f.Open();
    f.SelectListed("7");
    s.cmdNew.Click();
    EXPECT_EQ(s.txtDocNum.Text(), "");
    EXPECT_FALSE(s.txtDocNum.IsLocked());
    EXPECT_EQ(s.focus.Current(), &s.txtDocNum);
}

TEST(RequestScreen, NewSkipsTheUserCheckForItsOwnLoadOnly)
{
    ScreenFixture f;
    requests::RequestScreen& s = f.Open();
    f.SelectListed("9");
    s.cmdNew.Click();  // opens 9 without the check; its request-to location stays
    EXPECT_EQ(s.cboLocation.Text(), "CENTRAL SUPPLY ROOM");
    // ANNA does not work in the operating room, and has more than one
    // department to choose from.
    EXPECT_EQ(s.cboTargetLocation.Text(), "");
    EXPECT_EQ(s.cboTargetLocation.Tag(), "");
    EXPECT_EQ(s.focus.Current(), &s.cboTargetLocation);

    s.cmdList.Click();
    EXPECT_TRUE(s.blnNewRequest);
    f.prompts.Expect(kNotAuthorized);
    s.cmdEdit.Click();
    EXPECT_EQ(s.SSTab1.Current(), requests::RequestScreen::kListTab);
}

TEST(RequestScreen, DepartmentFromValidation)
{
    struct Case {
        const char* name;
        std::optional<QString> message;  // shown as critical with the application title
        bool accepted;
        QString tag;
        bool retailEnabled;
        int selected;
    };
    const Case cases[] = {
        {"PHARMACY", std::nullopt, true, "20", false, 1},
        {"EMERGENCY ROOM", std::nullopt, true, "10", true, 0},
        {"CENTRAL SUPPLY ROOM", QString("Invalid Target Location..."), false, "94", true, 0},
        {"NO SUCH WARD", std::nullopt, false, "10", true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScreenFixture f;
        requests::RequestScreen& s = f.Open();
        f.SelectListed("7");
        s.cmdNew.Click();
        s.focus.Focus(&s.cboTargetLocation);
        s.cboTargetLocation.SetText(c.name);
        if (c.message)
            f.prompts.Expect({*c.message, forms::kApplicationTitle, forms::Icon::Critical});
        EXPECT_EQ(s.focus.Focus(&s.txtProdCode), c.accepted);
        EXPECT_EQ(s.cboTargetLocation.Tag(), c.tag);
        EXPECT_EQ(s.optConsumed.IsOptionEnabled(0), c.retailEnabled);
        EXPECT_EQ(s.optConsumed.Selected(), c.selected);
    }
}

TEST(RequestScreen, RequestToValidationSetsTheTagAndRefusesUnknownNames)
{
    ScreenFixture f;
    requests::RequestScreen& s = f.Open();
    s.cmdNew.Click();
    s.focus.Focus(&s.cboLocation);
    s.cboLocation.SetText("NO SUCH WARD");
    EXPECT_FALSE(s.focus.Focus(&s.txtRemarks));
    EXPECT_EQ(s.cboLocation.Tag(), "");
    s.cboLocation.Choose(1);
    EXPECT_TRUE(s.focus.Focus(&s.txtRemarks));
    EXPECT_EQ(s.cboLocation.Tag(), "10");
}

TEST(RequestScreen, SiteSwitchesHoldTheRetailOptionAndTheRequestToPicker)
{
    ScreenFixture f;
    f.Switch("3", true);
    f.Switch("4", true);
    requests::RequestScreen& s = f.Open();
    f.SelectListed("7");
    s.cmdNew.Click();
    EXPECT_TRUE(s.optConsumed.IsSelected(1));
    EXPECT_FALSE(s.optConsumed.CanSelect(0));
    EXPECT_FALSE(s.cboLocation.IsEnabled());
    EXPECT_TRUE(s.cboTargetLocation.IsEnabled());
}

TEST(RequestScreen, CancelAndExitAskFirst)
{
    ScreenFixture f;
    requests::RequestScreen& s = f.Open();
    int closed = 0;
    QObject::connect(&s, &requests::RequestScreen::closeRequested, [&closed] { ++closed; });
    f.SelectListed("7");
    s.cmdEdit.Click();

    f.prompts.Expect({"Do you want to leave without saving?", "Message", forms::Icon::Question, forms::Buttons::YesNo},
                     forms::Answer::No);
    s.cmdCancel.Click();
    EXPECT_EQ(s.SSTab1.Current(), requests::RequestScreen::kDetailsTab);
    EXPECT_EQ(s.focus.Current(), &s.txtProdCode);

    f.prompts.Expect("Do you want to leave without saving?", forms::Answer::Yes);
    s.cmdCancel.Click();
    EXPECT_EQ(s.SSTab1.Current(), requests::RequestScreen::kListTab);
    EXPECT_EQ(s.txtDocNum.Text(), "7");  // the fields stay

    const forms::Message exit{"Are you sure you want to exit without saving?", forms::kApplicationTitle,
                              forms::Icon::Question, forms::Buttons::YesNo};
    f.prompts.Expect(exit, forms::Answer::No);
    s.cmdExit.Click();
    EXPECT_EQ(closed, 0);
    f.prompts.Expect(exit, forms::Answer::Yes);
    s.cmdExit.Click();
    EXPECT_EQ(closed, 1);
}

TEST(RequestScreen, FailuresOfTheChecksAndTheLoadAreShownAndTheListStays)
{
    ScreenFixture f;
    requests::RequestScreen& s = f.Open();
    f.SelectListed("7");

    f.db.Native("ALTER TABLE tbInvWithdrawRequest RENAME TO tbGone");
    f.prompts.Expect("no such table: tbInvWithdrawRequest");
    s.cmdEdit.Click();
    EXPECT_EQ(s.SSTab1.Current(), requests::RequestScreen::kListTab);

    f.db.Native("ALTER TABLE tbInvUserLocation RENAME TO tbGoneToo");
    f.prompts.Expect("no such table: tbinvuserlocation");
    // Back on the list, which is read again and cannot be either.
    f.prompts.Expect("no such table: tbinvwithdrawrequest");
    s.SSTab1.SetCurrent(requests::RequestScreen::kDetailsTab);
    EXPECT_EQ(s.SSTab1.Current(), requests::RequestScreen::kListTab);
}

TEST(RequestScreen, FocusStaysOnThePageShowing)
{
    ScreenFixture f;
    requests::RequestScreen& s = f.Open();
    EXPECT_FALSE(s.focus.Focus(&s.txtProdCode));
    ASSERT_TRUE(s.focus.Focus(&s.List().chkverified));
    s.keys.PressEnter();
    EXPECT_EQ(s.focus.Current(), &s.List().grdListing);
    s.keys.PressEnter();
    EXPECT_EQ(s.focus.Current(), &s.cmdNew);  // the details page is skipped
}

TEST(RequestScreen, DeleteRemovesTheCurrentLineButNeverTheEmptyLastRow)
{
    ScreenFixture f;
    requests::RequestScreen& s = f.Open();
    f.SelectListed("7");
    s.cmdEdit.Click();
    s.grdDetails.SetRow(3);  // the empty row
    s.cmdDelete.Click();
    EXPECT_EQ(s.grdDetails.Rows(), 4);

    s.grdDetails.SetRow(1);
    s.focus.Focus(&s.grdDetails);
    s.grdDetails.TypeKey(".");
    EXPECT_EQ(s.grdDetails.Rows(), 3);
    EXPECT_EQ(s.grdDetails.Text(1, 0), "P2");
    EXPECT_EQ(s.txtProdCode.Text(), "P2");
    EXPECT_EQ(s.txtTotalCounter.Text(), "6.0000");
    EXPECT_EQ(s.txtLineCounter.Text(), "1/2");
    EXPECT_EQ(s.focus.Current(), &s.grdDetails);
    EXPECT_FALSE(s.keys.IsEnabled());  // the grid takes its own keys
}

TEST(RequestScreen, DepartmentFromTakesOnlyTheUsersOwnLocations)
{
    ScreenFixture f;
    requests::RequestScreen& s = f.Open();
    f.SelectListed("7");
    s.cmdNew.Click();
    s.focus.Focus(&s.cboTargetLocation);
    s.cboTargetLocation.SetText("OPERATING ROOM");  // a location, but not ANNA's
    f.prompts.Expect(kNotAuthorized);
    EXPECT_FALSE(s.focus.Focus(&s.txtRemarks));
    EXPECT_EQ(s.cboTargetLocation.Tag(), "");

    // Taken from ANNA while she was typing the request: refused at save.
    s.cboTargetLocation.SetText("EMERGENCY ROOM");
    ASSERT_TRUE(s.focus.Focus(&s.txtRemarks));
    f.db.Native("DELETE FROM tbInvUserLocation WHERE UserID = 'ANNA' AND LocationID = '10'");
    f.prompts.Expect(kNotAuthorized);
    s.cmdSave.Click();
    EXPECT_EQ(s.SSTab1.Current(), requests::RequestScreen::kDetailsTab);
    EXPECT_EQ(s.focus.Current(), &s.cboTargetLocation);
    EXPECT_EQ(f.db.Scalar("SELECT COUNT(DISTINCT DocumentNumber) FROM tbInvWithdrawRequest"), 3);
}

TEST(RequestScreen, NewStartsOnTheUsersOnlyDepartmentDatedNowWithNoTotal)
{
    ScreenFixture f;
    f.db.Native("DELETE FROM tbInvUserLocation WHERE UserID = 'ANNA' AND LocationID <> '10'");
    requests::RequestScreen& s = f.Open();
    s.cmdNew.Click();
    EXPECT_EQ(s.cboTargetLocation.Text(), "EMERGENCY ROOM");
    EXPECT_EQ(s.cboTargetLocation.Tag(), "10");
    EXPECT_EQ(s.focus.Current(), &s.txtProdCode);
    // The program started on 03/07/2026; the request is begun now.
    EXPECT_GT(s.txtTransDate.Value(), QDateTime(QDate(2026, 3, 8), QTime(0, 0)));
    EXPECT_EQ(s.txtTransDate.MaxDate(), s.txtTransDate.Value());
}

TEST(RequestScreen, NewDoesNotShowThePreviousRequestsTotal)
{
    ScreenFixture f;
    requests::RequestScreen& s = f.Open();
    f.SelectListed("7");
    s.cmdEdit.Click();
    EXPECT_EQ(s.txtTotalCounter.Text(), "68.5000");
    s.cmdList.Click();
    s.cmdNew.Click();
    EXPECT_EQ(s.txtTotalCounter.Text(), "0.0000");
}
