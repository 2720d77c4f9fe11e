#include "app/CurrentUser.h"
#include "app/SessionContext.h"
#include "db/DbError.h"
#include "dialogs/KitPicker.h"
#include "forms/Grid.h"
#include "support/ScriptedDialogHost.h"
#include "requests/KitExpansion.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDatabase.h"

#include <gtest/gtest.h>

namespace {

const forms::Message kQuestion{"Item is a Kit. Do you want to add items located in the Kit?", "Message",
                               forms::Icon::Question, forms::Buttons::YesNo};
const QStringList kEmptyLine(7);

// Kit 900 (K1): gauze, syringes, a component missing from the master file,
// and a retired bandage. Item 950's only kit row (K2) is retired. P777 is a
// kit with letters in its code; K-9's code and one of its components' cannot
// stand bare in a procedure call.
struct KitFixture {
    testing_support::TempDatabase db;
    testing_support::ScriptedPrompts prompts;
    testing_support::ScriptedDialogHost dialogs;
    app::CurrentUser user{nullptr};
    app::SessionContext session;
    forms::Grid lines;
    QStringList sent;
    std::unique_ptr<requests::KitExpansion> kits;

    KitFixture()
    {
        Master("900", "DRESSING KIT", "K1");
        Master("950", "OLD SUTURE KIT", "K2");
        Master("P777", "BIRTHING KIT", "K3");
        Master("K-9", "FIRST AID KIT", "K4");
        Master("101", "GAUZE 4X4", nullptr);
        Master("102", "SYRINGE 5ML", nullptr);
        Master("103", "BANDAGE", nullptr);
        Part("K1", "101", 2.5, 12.5, "N", "A");
        Part("K1", "102", 3, 4, "Y", "A");
        Part("K1", "104", 1, 0.75, "N", "A");
        Part("K1", "103", 1, 1, "N", "I");
        Part("K2", "101", 1, 12.5, "N", "I");
        Part("K3", "102", 1, 4, "Y", "A");
        Part("K4", "101", 2.5, 12.5, "N", "A");
        Part("K4", "O'1,2", 2, 1, "N", "A");
        session.currentUser = &user;
        user.UseConnection(db.OpenAnother());
        user.sqlconnection().SetStatementObserver([this](const QString& s) { sent << s; });
        kits = std::make_unique<requests::KitExpansion>(user.sqlconnection(), prompts, dialogs);

        // Two lines already entered and the empty row for the next one.
        lines.SetCols(7);
        lines.SetFormat("Code |< Product Name & Description | Quantity | Unit Cost| Total Cost| Retail?| Remarks|");
        lines.SetRows(4);
        lines.SetRowTexts(1, {"555", "COTTON BALLS", "1", "45.0000", "45.0000", "N", "N"});
        lines.SetRowTexts(2, {"556", "ALCOHOL", "2", "65.0000", "130.0000", "Y", "Y"});
        lines.SetCurrentCell(3, 0);
    }

    void Master(const char* id, const char* name, const char* kit)
    {
        db.Insert("tbInvMaster", {{"ItemID", id}, {"ItemName", name}, {"KitID", kit ? QVariant(kit) : QVariant()}});
    }
    void Part(const char* kit, const char* item, double qty, double cost, const char* retail, const char* active)
    {
        db.Insert("tbInvKit", {{"KitID", kit}, {"ItemID", item}, {"Qty", qty}, {"UnitCost", cost},
                               {"RetailType", retail}, {"Active", active}});
    }

    QList<QStringList> Lines() const
    {
        QList<QStringList> rows;
        for (int r = 1; r < lines.Rows(); ++r)
            rows << lines.RowTexts(r);
        return rows;
    }

    // Answers Yes and plays the user's part in the picker.
    bool ExpandWith(const QString& kit, std::function<void(dialogs::KitPicker&)> inPicker)
    {
        prompts.Expect(kQuestion, forms::Answer::Yes);
        dialogs.On<dialogs::KitPicker>(std::move(inPicker));
        sent.clear();
        return kits->ExpandKit(kit, lines);
    }
};

QString KitTest(const QString& code)
{
    return "Select B.ItemID as Code from Inventory..tbInvKit A Left Outer Join Inventory..tbInvMaster B On A.KitID = "
           "B.KitID Where not Active = 'I' and B.ItemID = '" + code + "'";
}

const QStringList kGauze{"101", "GAUZE 4X4", "2.5", "12.5", "31.25", "N", ""};
const QStringList kSyringe{"102", "SYRINGE 5ML", "3", "4", "12", "Y", ""};
const QStringList kUnlisted{"104", "", "1", "0.75", "0.75", "N", ""};

} // namespace

TEST(KitExpansion, TheKitTestNeedsAnActiveKitRowAndTheExactCode)
{
    KitFixture f;
    struct Case { const char* code; bool kit; };
    const Case cases[] = {
        {"900", true},
        {"P777", true},
        {"950", false},   // its only kit row is retired: a plain item
        {"101", false},   // a component, no kit
        {"p777", false},  // the database matches it, but the code must be the kit's own
        {"9'00", false},  // the quote stays inside the literal
    };
    for (const Case& c : cases) {
        f.sent.clear();
        EXPECT_EQ(f.kits->IsKit(c.code), c.kit) << c.code;
        EXPECT_EQ(f.sent, QStringList{KitTest(QString(c.code).replace("'", "''"))}) << c.code;
    }
}

TEST(KitExpansion, NoLeavesTheLinesAsTheyWere)
{
    KitFixture f;
    const QList<QStringList> before = f.Lines();
    f.prompts.Expect(kQuestion, forms::Answer::No);
    EXPECT_FALSE(f.kits->ExpandKit("900", f.lines));
    EXPECT_TRUE(f.dialogs.Opened().isEmpty());
    EXPECT_TRUE(f.sent.isEmpty());
    EXPECT_EQ(f.Lines(), before);
    EXPECT_EQ(f.lines.Row(), 3);
}

TEST(KitExpansion, AllComponentsReplaceTheLinesEvenWhenThePickerIsClosed)
{
    KitFixture f;
    const QStringList header = f.lines.RowTexts(0);
    ASSERT_TRUE(f.ExpandWith("900", [](dialogs::KitPicker& picker) {
        EXPECT_EQ(picker.ItemID, "900");
        EXPECT_EQ(picker.flexMSHDetails.Rows(), 4) << "the picker lists the kit";
        picker.ClickAddAllItems();
        picker.ClickClose();
    }));
    EXPECT_EQ(f.sent, (QStringList{"Inventory..sp_Inv_KitofItems '900'", "Inventory..sp_Inv_KitofItems 900"}));
    // Earlier lines gone, the components as the kit gives them, and the
    // empty row that receives the next line.
    EXPECT_EQ(f.Lines(), (QList<QStringList>{kGauze, kSyringe, kUnlisted, kEmptyLine}));
    EXPECT_EQ(f.lines.Row(), 1);
    EXPECT_EQ(f.lines.Col(), 1);
    EXPECT_EQ(f.lines.TopRow(), 1);
    EXPECT_EQ(f.lines.Cols(), 7);
    EXPECT_EQ(f.lines.RowTexts(0), header) << "the header stays";
}

TEST(KitExpansion, APickedComponentBecomesTheOnlyLine)
{
    KitFixture f;
    ASSERT_TRUE(f.ExpandWith("P777", [](dialogs::KitPicker& picker) { picker.ClickSelect(); }));
    EXPECT_EQ(f.sent, (QStringList{"Inventory..sp_Inv_KitofItems 'P777'",
                                   "Inventory..sp_Inv_KitofItems_PerItem P777,102"}));
    EXPECT_EQ(f.Lines(), (QList<QStringList>{{"102", "SYRINGE 5ML", "1", "4", "4", "Y", ""}, kEmptyLine}));

    f.lines.SetCurrentCell(2, 0);
    ASSERT_TRUE(f.ExpandWith("900", [](dialogs::KitPicker& picker) {
        picker.flexMSHDetails.SetRow(2);
        picker.flexMSHDetails.Activate();
    }));
    EXPECT_EQ(f.sent.last(), "Inventory..sp_Inv_KitofItems_PerItem 900,102");
    EXPECT_EQ(f.Lines(), (QList<QStringList>{kSyringe, kEmptyLine}));
    EXPECT_EQ(f.lines.Row(), 1);
}

TEST(KitExpansion, NoComponentsLeaveTheLinesAsTheyWere)
{
    KitFixture f;
    const QList<QStringList> before = f.Lines();
    // Closed without a pick: the kit's own code is asked for as its
    // component, which this database does not give.
    EXPECT_FALSE(f.ExpandWith("900", [](dialogs::KitPicker& picker) { picker.ClickClose(); }));
    EXPECT_EQ(f.sent.last(), "Inventory..sp_Inv_KitofItems_PerItem 900,900");
    EXPECT_EQ(f.Lines(), before);
    EXPECT_EQ(f.lines.Row(), 3);

    // A tick from the earlier showing does not carry over to this one.
    ASSERT_TRUE(f.ExpandWith("900", [](dialogs::KitPicker& picker) {
        picker.ClickAddAllItems();
        picker.ClickClose();
    }));
    EXPECT_FALSE(f.ExpandWith("P777", [](dialogs::KitPicker& picker) {
        EXPECT_FALSE(picker.chkAddAllItems.IsChecked());
        picker.ClickClose();
    }));
    EXPECT_EQ(f.sent.last(), "Inventory..sp_Inv_KitofItems_PerItem P777,P777");
    EXPECT_EQ(f.lines.Rows(), 5);
}

TEST(KitExpansion, CodesThatCannotStandBareAreSentQuoted)
{
    struct Bare { const char* code; bool bare; };
    const Bare codes[] = {
        {"900", true}, {"P777", true}, {"PP0012", true}, {"", false}, {"9,1", false}, {"9'1", false},
        {"9 1", false}, {"100P", false}, {"1.5", false}, {"-1", false}, {"P-1", false}, {"9;drop", false},
        {"É1", false},
    };
    for (const Bare& c : codes)
        EXPECT_EQ(requests::IsBareArgument(QString::fromUtf8(c.code)), c.bare) << c.code;

    // Asked and picked as any kit; each code bare or quoted on its own, and
    // the components come back.
    struct Case {
        const char* kit;
        int pickedRow;  // 0: all components
        const char* statement;
        QList<QStringList> lines;
    };
    const QStringList gauze{"101", "GAUZE 4X4", "2.5", "12.5", "31.25", "N", ""};
    const QStringList odd{"O'1,2", "", "2", "1", "2", "N", ""};
    const Case cases[] = {
        {"K-9", 0, "Inventory..sp_Inv_KitofItems 'K-9'", {gauze, odd, kEmptyLine}},
        {"K-9", 1, "Inventory..sp_Inv_KitofItems_PerItem 'K-9',101", {gauze, kEmptyLine}},
        {"K-9", 2, "Inventory..sp_Inv_KitofItems_PerItem 'K-9','O''1,2'", {odd, kEmptyLine}},
    };
    for (const Case& c : cases) {
        KitFixture f;
        ASSERT_TRUE(f.ExpandWith(c.kit, [&c](dialogs::KitPicker& picker) {
            if (c.pickedRow == 0) {
                picker.ClickAddAllItems();
                picker.ClickClose();
                return;
            }
            picker.flexMSHDetails.SetRow(c.pickedRow);
            picker.ClickSelect();
        })) << c.statement;
        EXPECT_EQ(f.sent, (QStringList{"Inventory..sp_Inv_KitofItems 'K-9'", c.statement}));
        EXPECT_EQ(f.Lines(), c.lines) << c.statement;
    }

    // A bare kit with a component that is not.
    KitFixture f;
    f.Part("K1", "1,2", 1, 1, "N", "A");
    ASSERT_TRUE(f.ExpandWith("900", [](dialogs::KitPicker& picker) {
        ASSERT_EQ(picker.flexMSHDetails.Text(1, 0), "1,2");
        picker.flexMSHDetails.SetRow(1);
        picker.ClickSelect();
    }));
    EXPECT_EQ(f.sent.last(), "Inventory..sp_Inv_KitofItems_PerItem 900,'1,2'");
    EXPECT_EQ(f.Lines(), (QList<QStringList>{{"1,2", "", "1", "1", "1", "N", ""}, kEmptyLine}));
}

TEST(KitExpansion, ADatabaseFailureReachesTheCallerWithTheLinesUntouched)
{
    KitFixture f;
    const QList<QStringList> before = f.Lines();
    f.user.sqlconnection().SetStatementObserver([](const QString& s) {
        if (s.startsWith("Inventory..sp_Inv_KitofItems_PerItem"))
            throw db::DbError("link down");
    });
    EXPECT_THROW(f.ExpandWith("900", [](dialogs::KitPicker& picker) { picker.ClickSelect(); }), db::DbError);
    EXPECT_EQ(f.Lines(), before);

    f.user.sqlconnection().SetStatementObserver([](const QString&) -> void { throw db::DbError("link down"); });
    EXPECT_THROW(f.kits->IsKit("900"), db::DbError);
}
