#include "forms/GridFormat.h"
#include "forms/widgets/Binders.h"
#include "requests/ScreenFixture.h"
#include "requests/widgets/RequestScreenView.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QFontMetrics>
#include <gtest/gtest.h>

using requests::RequestScreen;
using screen_testing::ScreenFixture;

namespace {

// The request window built as the program builds it: the screen, its
// window, then the screen's load, then the window shown and active.
struct ViewFixture : ScreenFixture {
    std::unique_ptr<requests::RequestScreenView> view;

    RequestScreen& OpenWindow()
    {
        screen = std::make_unique<RequestScreen>(session, prompts, dialogs, viewers);
        view = std::make_unique<requests::RequestScreenView>(*screen);
        screen->Load();
        view->show();
        QApplication::setActiveWindow(view.get());
        EXPECT_EQ(QApplication::activeWindow(), view.get());
        return *screen;
    }

    template <class W>
    W* Find(const char* name) const
    {
        auto* widget = view->findChild<W*>(QLatin1String(name));
        EXPECT_TRUE(widget) << name;
        return widget;
    }

    void Click(const char* button) { QTest::mouseClick(Find<QPushButton>(button), Qt::LeftButton); }

    // The control model behind the widget that has the real focus.
    const forms::Control* FocusedControl() const { return forms::ControlOf(QApplication::focusWidget()); }
};

} // namespace

TEST(RequestScreenView, ModelsReachTheWidgetsAndTheUserReachesTheModels)
{
    ViewFixture f;
    RequestScreen& s = f.OpenWindow();

    // What the load set.
    auto* requestTo = f.Find<QComboBox>("cboLocation");
    EXPECT_EQ(requestTo->currentText(), "CENTRAL SUPPLY ROOM");
    EXPECT_FALSE(requestTo->isEnabled());
    auto* listing = f.Find<QTableWidget>("grdListing");
    ASSERT_EQ(listing->rowCount(), 3);
    EXPECT_EQ(listing->item(0, 0)->text(), "12");
    EXPECT_EQ(f.Find<QTabWidget>("SSTab1")->currentIndex(), RequestScreen::kListTab);
    EXPECT_TRUE(f.Find<QCheckBox>("chkPrint")->isHidden()) << "offered on one site only";
    EXPECT_TRUE(f.Find<QLineEdit>("txtMin")->isHidden());
    EXPECT_TRUE(f.Find<QLabel>("lblMin")->isHidden());

    // A click on "Processed" reaches the list, whose answer ticks and locks
    // "Verified" on screen.
    QTest::mouseClick(f.Find<QRadioButton>("optOptions1"), Qt::LeftButton);
    EXPECT_EQ(s.List().optOptions.Selected(), 1);
    auto* verified = f.Find<QCheckBox>("chkverified");
    EXPECT_TRUE(verified->isChecked());
    EXPECT_FALSE(verified->isEnabled());
    QTest::mouseClick(f.Find<QRadioButton>("optOptions0"), Qt::LeftButton);

    // New, clicked: the details tab, the locked "NEW", the grand total and
    // its caption hidden together.
    f.Click("cmdNew");
    EXPECT_EQ(f.Find<QTabWidget>("SSTab1")->currentIndex(), RequestScreen::kDetailsTab);
    auto* number = f.Find<QLineEdit>("txtDocNum");
    EXPECT_EQ(number->text(), "NEW");
    EXPECT_TRUE(number->isReadOnly());
    EXPECT_EQ(f.Find<QPushButton>("cmdOK")->text(), "Add to List");
    auto* grandTotal = f.Find<QLineEdit>("txtTotalCounter");
    EXPECT_TRUE(grandTotal->isHidden());
    QLabel* grandTotalCaption = nullptr;
    for (QLabel* label : f.view->findChildren<QLabel*>()) {
        if (label->buddy() == grandTotal)
            grandTotalCaption = label;
    }
    ASSERT_TRUE(grandTotalCaption);
    EXPECT_EQ(grandTotalCaption->text(), "Grand Total:");
    EXPECT_TRUE(grandTotalCaption->isHidden()) << "the caption goes with its box";

    // The user's typing and choices reach the models.
    QTest::keyClicks(f.Find<QLineEdit>("txtWithdraw"), "12");
    EXPECT_EQ(s.txtWithdraw.Text(), "12");
    auto* date = f.Find<QDateTimeEdit>("txtTransDate");
    date->setDateTime(QDateTime(QDate(2026, 3, 1), QTime(9, 30)));
    EXPECT_EQ(s.txtTransDate.Value(), QDateTime(QDate(2026, 3, 1), QTime(9, 30)));
    // New dated the request now, and no later.
    EXPECT_EQ(date->maximumDateTime(), s.txtTransDate.MaxDate());
    EXPECT_GT(s.txtTransDate.MaxDate(), QDateTime(QDate(2026, 3, 7), QTime(14, 5, 9)));
}

TEST(RequestScreenView, TheCloseBoxAsksWhileLinesAreUnsaved)
{
    ViewFixture f;
    RequestScreen& s = f.OpenWindow();
    f.SelectListed("7");
    f.Click("cmdEdit");
    EXPECT_TRUE(f.view->close()) << "nothing changed yet";

    f.view->show();
    f.SelectListed("7");
    f.Click("cmdEdit");
    s.grdDetails.SetRow(1);
    s.DeleteLine();
    f.prompts.Expect({"Are you sure you want to exit without saving?", forms::kApplicationTitle,
                      forms::Icon::Question, forms::Buttons::YesNo},
                     forms::Answer::No);
    EXPECT_FALSE(f.view->close());
    EXPECT_TRUE(f.view->isVisible());
    EXPECT_EQ(s.grdDetails.Rows(), 3);

    // Exit asks once, and the close that follows does not ask again.
    f.prompts.Expect("Are you sure you want to exit without saving?", forms::Answer::Yes);
    f.Click("cmdExit");
    EXPECT_FALSE(f.view->isVisible());
}

TEST(RequestScreenView, TheStatusLineSaysWhatWasSavedAndF5ReadsTheListAgain)
{
    ViewFixture f;
    RequestScreen& s = f.OpenWindow();
    f.SelectListed("7");
    f.Click("cmdEdit");
    f.Click("cmdSave");
    EXPECT_EQ(f.Find<QLabel>("lblStatus")->text(), "Request 7 saved.");

    f.db.Native("UPDATE tbInvWithdrawRequest SET Status = 'D' WHERE DocumentNumber = '12'");
    QTest::keyClick(f.view.get(), Qt::Key_F5);
    EXPECT_EQ(f.Listed(), QStringList({"7", "9"}));
    (void)s;
}

TEST(RequestScreenView, DisplayBoxesAreReadOnlyAndNeverTakeTheFocus)
{
    ViewFixture f;
    f.OpenWindow();
    for (const char* name : {"txtProdName", "txtTotalCost", "txtOnhand", "txtPacking", "txtAverageCost",
                             "txtListCost", "txtUOM", "txtMin", "txtMax", "txtLineCounter", "txtTotalCounter"}) {
        auto* box = f.Find<QLineEdit>(name);
        EXPECT_TRUE(box->isReadOnly()) << name;
        EXPECT_EQ(box->focusPolicy(), Qt::NoFocus) << name;
    }
    for (const char* name : {"txtDocNum", "txtRemarks", "txtProdCode", "txtWithdraw", "txtUnitCost"})
        EXPECT_NE(f.Find<QLineEdit>(name)->focusPolicy(), Qt::NoFocus) << name;
}

TEST(RequestScreenView, TypingIsUpperCasedWithoutApostrophesAndEnterMovesOn)
{
    ViewFixture f;
    RequestScreen& s = f.OpenWindow();
    f.Click("cmdNew");
    ASSERT_EQ(f.FocusedControl(), &s.txtProdCode) << "New puts the focus on the code";

    auto* remarks = f.Find<QLineEdit>("txtRemarks");
    remarks->setFocus(Qt::TabFocusReason);
    ASSERT_EQ(f.FocusedControl(), &s.txtRemarks);
    QTest::keyClicks(remarks, "it's");
    EXPECT_EQ(remarks->text(), "ITS");
    EXPECT_EQ(s.txtRemarks.Text(), "ITS");

    auto* number = f.Find<QLineEdit>("txtDocNum");
    number->setFocus(Qt::TabFocusReason);
    ASSERT_EQ(f.FocusedControl(), &s.txtDocNum);
    QTest::keyClick(number, Qt::Key_Return);
    EXPECT_EQ(f.FocusedControl(), &s.txtTransDate);
    EXPECT_TRUE(f.Find<QDateTimeEdit>("txtTransDate")->hasFocus());
}

TEST(RequestScreenView, LinesGridShowsTheWidthsInTwipsAndHidesTheAdsColumn)
{
    ViewFixture f;
    RequestScreen& s = f.OpenWindow();
    auto* lines = f.Find<QTableWidget>("grdDetails");
    const int widths[] = {800, 5000, 1000, 1000, 1000, 700};
    const auto expectWidths = [&](const char* state) {
        ASSERT_EQ(lines->columnCount(), 7) << state;
        for (int col = 0; col < 6; ++col) {
            EXPECT_FALSE(lines->isColumnHidden(col)) << state << " column " << col;
            EXPECT_EQ(lines->columnWidth(col), forms::TwipsToPixels(widths[col], QFontMetrics(lines->font()).horizontalAdvance(QLatin1Char('0')))) << state << " column " << col;
        }
        EXPECT_TRUE(lines->isColumnHidden(6)) << state;
    };

    f.Click("cmdNew");
    expectWidths("cleared");
    EXPECT_EQ(lines->rowCount(), 1) << "one empty row for the first line";
    EXPECT_EQ(lines->horizontalHeaderItem(1)->text(), " Product Name & Description ");

    f.Click("cmdList");
    f.SelectListed("7");
    f.Click("cmdEdit");
    expectWidths("loaded");
    ASSERT_EQ(lines->rowCount(), 3) << "two lines and the empty row";
    EXPECT_EQ(lines->item(0, 0)->text(), "P1");
    EXPECT_EQ(lines->item(1, 0)->text(), "P2");
    EXPECT_EQ(s.grdDetails.Rows(), 4);
}

TEST(RequestScreenView, CaptionFollowsTheScreenAndExitClosesTheWindow)
{
    ViewFixture f;
    f.session.ClientCode = "QORVIN";
    f.screen = std::make_unique<RequestScreen>(f.session, f.prompts, f.dialogs, f.viewers);
    f.view = std::make_unique<requests::RequestScreenView>(*f.screen);
    EXPECT_EQ(f.view->windowTitle(), "Visual Orvalis - Tessary");
    f.screen->Load();
    EXPECT_EQ(f.view->windowTitle(), "Visual Orvalis - Stock Request");

    f.view->show();
    f.prompts.Expect("Are you sure you want to exit without saving?", forms::Answer::No);
    f.Click("cmdExit");
    EXPECT_TRUE(f.view->isVisible());
    f.prompts.Expect("Are you sure you want to exit without saving?", forms::Answer::Yes);
    f.Click("cmdExit");
    EXPECT_FALSE(f.view->isVisible());
}

// On the site that renames the retail options they stand straight after
// their shorter label; elsewhere they line up with the fields below.
TEST(RequestScreenView, RetailOptionsStandLeftOnlyWhereTheSiteWantsThem)
{
    for (const char* site : {"", "KRV"}) {
        ViewFixture f;
        f.session.ClientCode = site;
        RequestScreen& s = f.OpenWindow();
        f.Click("cmdNew");
        // Layouts apply a changed minimum width through a posted request.
        QApplication::processEvents();
        auto* retail = f.Find<QRadioButton>("optConsumed0");
        auto* label = f.Find<QLabel>("lblForRetail");
        auto* unitCost = f.Find<QLineEdit>("txtUnitCost");
        const int optionsAt = retail->mapTo(f.view.get(), QPoint()).x();
        const int fieldsAt = unitCost->mapTo(f.view.get(), QPoint()).x();
        const int labelEnds = label->mapTo(f.view.get(), QPoint(label->sizeHint().width(), 0)).x();
        EXPECT_EQ(label->text(), s.lblForRetail.Caption());
        EXPECT_LE(labelEnds, optionsAt) << site << ": the label stays clear of the options";
        const bool atLeft = QString(site) == "KRV";
        ASSERT_EQ(s.RetailOptionsAtLeft(), atLeft);
        if (atLeft)
            EXPECT_LT(optionsAt, fieldsAt) << site;
        else
            EXPECT_EQ(optionsAt, fieldsAt) << site;
    }
}

TEST(RequestScreenView, ARefusedClickOnTheDetailsTabShowsOneMessageAndStaysOnTheList)
{
    ViewFixture f;
    RequestScreen& s = f.OpenWindow();
    f.SelectListed("9");  // from a department the user does not work in
    f.prompts.Expect("User not Authorized for this Location.");
    auto* tabs = f.Find<QTabWidget>("SSTab1");
    tabs->setCurrentIndex(RequestScreen::kDetailsTab);
    EXPECT_EQ(f.prompts.Shown().size(), 1);
    EXPECT_EQ(tabs->currentIndex(), RequestScreen::kListTab);
    EXPECT_EQ(s.SSTab1.Current(), RequestScreen::kListTab);
}

TEST(RequestScreenView, ALineEnteredWithTheKeyboardAlone)
{
    ViewFixture f;
    f.db.Insert("tbInvMaster", {{"ItemID", "101"}, {"ItemName", "GAUZE"}, {"ItemDesc", "4X4"}, {"AverageCost", 2.5},
                                {"ItemStatus", 0}});
    f.db.Insert("tbInvent", {{"ItemID", "101"}, {"LocationID", "94"}, {"ItemStatus", 0}, {"OnHand", 10}});
    f.db.Insert("tbInvent", {{"ItemID", "101"}, {"LocationID", "10"}, {"ItemStatus", 0}});
    RequestScreen& s = f.OpenWindow();
    s.New();
    QApplication::processEvents();
    ASSERT_EQ(f.FocusedControl(), &s.txtProdCode);

    // Code, Enter to the button, Enter on: the item is found once and the
    // focus lands on the quantity.
    QWidget* code = QApplication::focusWidget();
    QTest::keyClicks(code, "101");
    QTest::keyClick(code, Qt::Key_Return);
    EXPECT_EQ(f.FocusedControl(), &s.cmdCode);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(f.FocusedControl(), &s.txtWithdraw);
    EXPECT_EQ(f.Find<QLineEdit>("txtProdName")->text(), "GAUZE 4X4");

    QTest::keyClicks(QApplication::focusWidget(), "3");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(f.FocusedControl(), &s.optConsumed);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(f.FocusedControl(), &s.cmdOK);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);

    EXPECT_EQ(s.grdDetails.RowTexts(1).mid(0, 5), (QStringList{"101", "GAUZE 4X4", "3", "2.5000", "7.5000"}));
    EXPECT_EQ(f.Find<QTableWidget>("grdDetails")->rowCount(), 2);
    EXPECT_EQ(f.FocusedControl(), &s.txtProdCode);
}
