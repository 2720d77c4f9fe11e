#include "app/CurrentUser.h"
#include "dialogs/KitPicker.h"
#include "dialogs/widgets/KitPickerView.h"
#include "forms/widgets/WidgetDialogHost.h"
#include "support/TempDatabase.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <optional>

namespace {

// Kit 900 of gauze and syringes; kit 901 lists nothing.
struct ViewFixture {
    testing_support::TempDatabase db;
    app::CurrentUser user{nullptr};
    // Made once the user holds a connection.
    std::optional<dialogs::KitPicker> picker_;

    ViewFixture()
    {
        db.Insert("tbInvMaster", {{"ItemID", "900"}, {"ItemName", "DRESSING KIT"}, {"KitID", "K1"}});
        db.Insert("tbInvMaster", {{"ItemID", "901"}, {"ItemName", "EMPTY KIT"}, {"KitID", "K2"}});
        db.Insert("tbInvMaster", {{"ItemID", "101"}, {"ItemName", "GAUZE"}});
        db.Insert("tbInvMaster", {{"ItemID", "102"}, {"ItemName", "SYRINGE"}});
        db.Insert("tbInvKit", {{"KitID", "K1"}, {"ItemID", "101"}, {"Qty", 2}, {"UnitCost", 12.5}, {"Active", "A"}});
        db.Insert("tbInvKit", {{"KitID", "K1"}, {"ItemID", "102"}, {"Qty", 3}, {"UnitCost", 4}, {"Active", "A"}});
        user.UseConnection(db.OpenAnother());
        picker_.emplace(user.sqlconnection());
    }

    std::unique_ptr<QDialog> Show(const char* kit)
    {
        picker_->ItemID = kit;
        picker_->Load();
        auto view = dialogs::MakeKitPickerView(*picker_, nullptr);
        picker_->BeginRun();
        view->show();
        QApplication::processEvents();
        return view;
    }
};

QStringList Column0(const QTableWidget* table)
{
    QStringList codes;
    for (int row = 0; row < table->rowCount(); ++row)
        codes << table->item(row, 0)->text();
    return codes;
}

} // namespace

TEST(KitPickerView, ShowsTheKitAndEnterOnARowPicksIt)
{
    ViewFixture f;
    auto view = f.Show("900");
    auto* table = view->findChild<QTableWidget*>("flexMSHDetails");
    auto* addAll = view->findChild<QCheckBox*>("chkAddAllItems");
    auto* frame = view->findChild<QGroupBox*>();
    ASSERT_TRUE(table && addAll && frame);
    EXPECT_EQ(view->windowTitle(), "View Kit of Items");
    EXPECT_EQ(frame->title(), "View Kit of Items");
    EXPECT_EQ(table->horizontalHeaderItem(1)->text(), "Product Name ");
    EXPECT_EQ(Column0(table), (QStringList{"101", "102"}));
    EXPECT_EQ(table->item(0, 3)->text(), "12.5");
    EXPECT_EQ(addAll->text(), "Add All Items");
    EXPECT_FALSE(addAll->isChecked());
    EXPECT_EQ(view->findChild<QPushButton*>("cmdSelect")->text(), "&Select");
    EXPECT_EQ(view->findChild<QPushButton*>("cmdClose")->text(), "&Close");
    // Every column shows without scrolling sideways.
    EXPECT_FALSE(table->horizontalScrollBar()->isVisible());

    // The tick reaches AllItems through a real click.
    QTest::mouseClick(addAll, Qt::LeftButton, {}, QPoint(5, addAll->height() / 2));
    EXPECT_TRUE(f.picker_->AllItems);

    table->setFocus();
    QApplication::processEvents();
    QTest::keyClick(table, Qt::Key_Down);
    EXPECT_EQ(f.picker_->flexMSHDetails.Row(), 2);
    QTest::keyClick(table, Qt::Key_Return);
    EXPECT_FALSE(f.picker_->IsOpen());
    EXPECT_EQ(f.picker_->ItemID, "102");
}

TEST(KitPickerView, ADoubleClickPicksTheRowInAModalRun)
{
    ViewFixture f;
    f.picker_->ItemID = "900";
    f.picker_->Load();
    forms::WidgetDialogHost host;
    host.Register<dialogs::KitPicker>(&dialogs::MakeKitPickerView);
    QTimer::singleShot(0, [] {
        auto* table = QApplication::activeModalWidget()->findChild<QTableWidget*>("flexMSHDetails");
        ASSERT_TRUE(table);
        const QPoint second = table->visualItemRect(table->item(1, 1)).center();
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, second);
        QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, second);
    });
    EXPECT_EQ(host.Run(*f.picker_), forms::DialogResult::Accepted);
    EXPECT_EQ(f.picker_->ItemID, "102");
}

TEST(KitPickerView, AKitThatListsNothingOffersOnlyClose)
{
    ViewFixture f;
    auto view = f.Show("901");
    auto* table = view->findChild<QTableWidget*>("flexMSHDetails");
    auto* select = view->findChild<QPushButton*>("cmdSelect");
    auto* close = view->findChild<QPushButton*>("cmdClose");
    ASSERT_TRUE(table && select && close);
    EXPECT_FALSE(table->isEnabled());
    EXPECT_FALSE(select->isEnabled());
    EXPECT_EQ(QApplication::focusWidget(), close);
    close->click();
    EXPECT_FALSE(f.picker_->IsOpen());
    EXPECT_EQ(f.picker_->ItemID, "901");
}
