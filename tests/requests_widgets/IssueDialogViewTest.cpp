#include "requests/IssueDialog.h"
#include "requests/widgets/IssueDialogView.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDatabase.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace {

requests::IssueDraft TwoLines()
{
    requests::IssueDraft draft;
    draft.stored.number = "7";
    draft.fromName = "EMERGENCY ROOM";
    draft.toName = "CENTRAL SUPPLY ROOM";
    draft.lines << requests::IssueLine{1, "P1", "GAUZE 4X4", 5, 40, 12.5, "N", false, 5}
                << requests::IssueLine{2, "P2", "SYRINGE 5ML", 2, 1, 3, "N", false, 1};
    return draft;
}

} // namespace

TEST(IssueDialogView, OpensOnTheFirstQuantityAndEnterWalksTheLines)
{
    testing_support::TempDatabase db;
    testing_support::ScriptedPrompts prompts;
    requests::IssueDialog dialog(db.Connection(), prompts, "CLERK");
    dialog.Load(TwoLines());
    auto view = requests::MakeIssueDialogView(dialog, nullptr);
    dialog.BeginRun();
    view->show();
    QApplication::processEvents();

    EXPECT_EQ(view->windowTitle(), "Issue Request 7");
    auto* table = view->findChild<QTableWidget*>("grdLines");
    auto* quantity = view->findChild<QLineEdit*>("txtIssue");
    auto* issue = view->findChild<QPushButton*>("cmdIssue");
    auto* rest = view->findChild<QCheckBox*>("chkRemainder");
    ASSERT_TRUE(table && quantity && issue && rest);
    EXPECT_EQ(table->rowCount(), 2);
    EXPECT_EQ(table->item(1, requests::IssueDialog::kShort)->text(), "1");
    EXPECT_EQ(issue->text(), "&Issue");
    EXPECT_EQ(rest->text(), "Request the &rest as a new request");
    EXPECT_TRUE(quantity->hasFocus());

    quantity->selectAll();
    QTest::keyClicks(quantity, "3");
    QTest::keyClick(quantity, Qt::Key_Return);
    EXPECT_EQ(table->item(0, requests::IssueDialog::kIssue)->text(), "3");
    EXPECT_EQ(table->currentRow(), 1);
    EXPECT_EQ(quantity->text(), "1");
    QTest::keyClick(quantity, Qt::Key_Return);
    EXPECT_TRUE(issue->hasFocus());
}
