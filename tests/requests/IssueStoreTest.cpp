// The store issuing a verified request: the stock moves, the request is
// processed, and nothing is ever half done or taken below zero.

#include "db/DbError.h"
#include "requests/IssueStore.h"
#include "requests/RequestStore.h"
#include "support/TempDatabase.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

#include <barrier>
#include <thread>

using testing_support::Backend;
using testing_support::TempDatabase;

namespace {

// The central supply room (94) holds 40 gauze (P1), 3 syringes (P2) and no
// cotton (P3). The emergency room (10) keeps gauze only, 2 of it. Request 7
// from the emergency room asks for 10 gauze, 5 syringes and 2 cotton, and a
// supervisor verified it.
struct Store {
    TempDatabase db;

    explicit Store(Backend backend) : db(backend)
    {
        db.DiscardAfterUse();
        db.Insert("tbInvMaster", {{"ItemID", "P1"}, {"ItemName", "GAUZE"}, {"ItemDesc", "4X4"}});
        db.Insert("tbInvMaster", {{"ItemID", "P2"}, {"ItemName", "SYRINGE"}, {"ItemDesc", "5ML"}});
        db.Insert("tbInvMaster", {{"ItemID", "P3"}, {"ItemName", "COTTON"}, {"ItemDesc", "ROLL"}});
        db.Insert("tbInvent", {{"ItemID", "P1"}, {"LocationID", "94"}, {"OnHand", 40}});
        db.Insert("tbInvent", {{"ItemID", "P2"}, {"LocationID", "94"}, {"OnHand", 3}});
        db.Insert("tbInvent", {{"ItemID", "P3"}, {"LocationID", "94"}, {"OnHand", 0}});
        db.Insert("tbInvent", {{"ItemID", "P1"}, {"LocationID", "10"}, {"OnHand", 2}});
        db.Insert("tbPasswordMain", {{"EmployeeID", "RLIM"}, {"LastName", "LIM"}, {"FirstName", "ROBERTO"}});
        Line("7", "P1", 10, 2.5);
        Line("7", "P2", 5, 4);
        Line("7", "P3", 2, 1);
    }

    void Line(const char* number, const char* item, double quantity, double cost, const char* verifiedBy = "BOSS")
    {
        db.Insert("tbInvWithdrawRequest",
                  {{"DocumentNumber", number}, {"ItemID", item}, {"Quantity", quantity}, {"UnitCost", cost},
                   {"ForRetail", "N"}, {"isADS", 0}, {"LocationID", "94"}, {"TargetLocationID", "10"},
                   {"TransDate", "2026-03-07 08:00:00"}, {"UserID", "ANNA"}, {"Remarks", "FOR WARD USE"},
                   {"VerifiedBy", verifiedBy}, {"VerifiedDate", "2026-03-07 09:00:00"}});
    }

    // The clerk's order as the dialog starts it: each line the smaller of
    // the request and the stock.
    requests::IssueOrder Order(db::Connection& connection, const QString& number = "7", bool rest = false)
    {
        const requests::IssueDraft draft = requests::ReadIssue(connection, number);
        return {draft.stored, draft.lines, "CLERK", draft.remarks, rest};
    }
    requests::IssueOrder Order(const QString& number = "7", bool rest = false)
    {
        return Order(db.Connection(), number, rest);
    }

    double OnHand(const char* item, const char* location)
    {
        return db.Native("SELECT OnHand FROM tbInvent WHERE ItemID = ? AND LocationID = ?", {item, location})
            .Field(0)
            .toDouble();
    }

    // Everything an issue may write, as text.
    QStringList Everything()
    {
        QStringList all;
        for (const QString& sql :
             {QStringLiteral("SELECT ItemID, LocationID, OnHand, LastDeliveryQty FROM tbInvent ORDER BY ItemID, LocationID"),
              QStringLiteral("SELECT DocumentNumber, ItemID, Quantity, Status, ProcessBy, Remarks FROM "
                             "tbInvWithdrawRequest ORDER BY DocumentNumber, ItemID"),
              QStringLiteral("SELECT DocumentNumber, ItemID, Quantity FROM tbInvStockMovement ORDER BY "
                             "DocumentNumber, LineNumber")}) {
            const db::RowSet rows = db.Native(sql);
            for (const db::RowSet::Row& row : rows.Rows()) {
                QStringList cells;
                for (const QVariant& cell : row)
                    cells << (cell.isNull() ? QStringLiteral("-") : cell.toString());
                all << cells.join('|');
            }
        }
        return all;
    }

    QStringList Rows(const QString& sql, const QVariantList& binds = {})
    {
        QStringList texts;
        const db::RowSet rows = db.Native(sql, binds);
        for (const db::RowSet::Row& row : rows.Rows()) {
            QStringList cells;
            for (const QVariant& cell : row)
                cells << (cell.isNull() ? QStringLiteral("-") : cell.toString());
            texts << cells.join('|');
        }
        return texts;
    }
};

class Issuing : public testing::TestWithParam<Backend> {
protected:
    void SetUp() override { TESSARY_SKIP_UNLESS_AVAILABLE(GetParam()); }
};

} // namespace

TEST_P(Issuing, TheDraftIssuesWhatTheStoreHasOfEachLine)
{
    Store f(GetParam());
    const requests::IssueDraft draft = requests::ReadIssue(f.db.Connection(), " 7 ");
    ASSERT_EQ(draft.lines.size(), 3);
    QStringList lines;
    for (const requests::IssueLine& l : draft.lines)
        lines << QStringLiteral("%1 %2 %3 %4 %5 %6").arg(l.lineNo).arg(l.itemId, l.name).arg(l.requested).arg(l.onHand).arg(l.issue);
    // By name, as a store clerk picks them.
    EXPECT_EQ(lines, QStringList({"1 P3 COTTON ROLL 2 0 0", "2 P1 GAUZE 4X4 10 40 10", "3 P2 SYRINGE 5ML 5 3 3"}));
    EXPECT_EQ(draft.remarks, "FOR WARD USE");
    EXPECT_TRUE(draft.stored.IsVerified());
}

TEST_P(Issuing, InFullTheStockMovesAndTheRequestIsProcessed)
{
    Store f(GetParam());
    f.Line("8", "P1", 10, 2.5);
    QStringList sent;
    f.db.Connection().SetStatementObserver([&](const QString& s) {
        if (s.startsWith("Update INVENTORY..tbInvent"))
            sent << s;
    });
    EXPECT_EQ(requests::IssueRequest(f.db.Connection(), f.Order("8")), QString());

    // Relative updates, the store's guarded so that it never goes below zero.
    EXPECT_EQ(sent, QStringList({"Update INVENTORY..tbInvent Set OnHand = OnHand - 10 Where ItemID = 'P1' And "
                                 "LocationID = '94' And OnHand >= 10",
                                 "Update INVENTORY..tbInvent Set OnHand = isnull(OnHand, 0) + 10, LastDeliveryDate = "
                                 "GetDate(), LastDeliveryQty = 10 Where ItemID = 'P1' And LocationID = '10'"}));
    EXPECT_EQ(f.OnHand("P1", "94"), 30);
    EXPECT_EQ(f.OnHand("P1", "10"), 12);
    EXPECT_EQ(f.Rows("SELECT LastDeliveryQty FROM tbInvent WHERE LocationID = '10' AND LastDeliveryDate IS NOT NULL"),
              QStringList{"10"});
    EXPECT_EQ(f.Rows("SELECT DocumentNumber, LineNumber, ItemID, FromLocationID, ToLocationID, RequestedQty, Quantity, "
                     "UnitCost, UserID FROM tbInvStockMovement WHERE MovementDate IS NOT NULL"),
              QStringList{"8|1|P1|94|10|10|10|2.5|CLERK"});
    EXPECT_EQ(f.Rows("SELECT DocumentNumber, Status, ProcessBy FROM tbInvWithdrawRequest WHERE ProcessDate IS NOT NULL"),
              QStringList{"8|P|CLERK"});
}

TEST_P(Issuing, InPartTheRequestEndsWithWhatWasIssued)
{
    Store f(GetParam());
    EXPECT_EQ(requests::IssueRequest(f.db.Connection(), f.Order()), QString());
    EXPECT_EQ(f.OnHand("P1", "94"), 30);
    EXPECT_EQ(f.OnHand("P2", "94"), 0);
    EXPECT_EQ(f.OnHand("P3", "94"), 0);
    // The emergency room keeps no syringes: it gets them without a stock row.
    EXPECT_EQ(f.Rows("SELECT ItemID, OnHand FROM tbInvent WHERE LocationID = '10'"), QStringList{"P1|12"});
    // A movement row for every line, what was not issued included.
    EXPECT_EQ(f.Rows("SELECT ItemID, RequestedQty, Quantity FROM tbInvStockMovement ORDER BY LineNumber"),
              QStringList({"P3|2|0", "P1|10|10", "P2|5|3"}));
    EXPECT_EQ(f.Rows("SELECT DISTINCT DocumentNumber, Status FROM tbInvWithdrawRequest"), QStringList{"7|P"});
}

TEST_P(Issuing, TheRestBecomesAPendingRequestNumberedAsANewOne)
{
    Store f(GetParam());
    f.db.Insert("tbInvWithdrawRequest", {{"DocumentNumber", "12"}, {"ItemID", "P1"}, {"Quantity", 1}});
    requests::IssueOrder order = f.Order("7", true);
    order.lines[1].issue = 4;  // gauze: 4 of 10
    EXPECT_EQ(requests::IssueRequest(f.db.Connection(), order), "13");
    EXPECT_EQ(f.OnHand("P1", "94"), 36);
    EXPECT_EQ(f.Rows("SELECT ItemID, Quantity, UnitCost, LocationID, TargetLocationID, UserID, Remarks, "
                     "coalesce(VerifiedBy, '-'), coalesce(Status, '-') FROM tbInvWithdrawRequest "
                     "WHERE DocumentNumber = '13' AND TransDate IS NOT NULL ORDER BY ItemID"),
              QStringList({"P1|6|2.5|94|10|ANNA|Remainder of request 7: FOR WARD USE|-|-",
                           "P2|2|4|94|10|ANNA|Remainder of request 7: FOR WARD USE|-|-",
                           "P3|2|1|94|10|ANNA|Remainder of request 7: FOR WARD USE|-|-"}));
    EXPECT_EQ(f.Rows("SELECT DISTINCT Status FROM tbInvWithdrawRequest WHERE DocumentNumber = '7'"), QStringList{"P"});

    // Issued in full, there is no rest to request.
    f.Line("8", "P1", 5, 2.5);
    EXPECT_EQ(requests::IssueRequest(f.db.Connection(), f.Order("8", true)), QString());
    EXPECT_EQ(f.db.Scalar("SELECT COUNT(DISTINCT DocumentNumber) FROM tbInvWithdrawRequest"), 4);
}

TEST(RemainderRemarks, NameTheRequestTheyContinueWithinTheColumn)
{
    EXPECT_EQ(requests::RemainderRemarks(" 7 ", ""), "Remainder of request 7");
    EXPECT_EQ(requests::RemainderRemarks("7", " ICU "), "Remainder of request 7: ICU");
    EXPECT_EQ(requests::RemainderRemarks("7", QString(300, 'X')).size(), 255);
}

TEST_P(Issuing, RefusedWhenTheRequestChangedSinceItWasOpened)
{
    // What another workstation did after the clerk opened request 7.
    struct Case {
        const char* what;
        std::function<void(Store&, db::Connection&)> elsewhere;
        const char* message;  // a pattern: the time of day varies
    };
    const Case cases[] = {
        {"cancelled",
         [](Store&, db::Connection& other) {
             const requests::StoredRequest now = requests::StoredRequest::Read(other, "7");
             requests::CancelRequest(other, {"7", now.requestedBy, now.transDate, now.targetLocationId, true, false},
                                     "RLIM");
         },
         R"(Request 7 was cancelled by RLIM at \d\d:\d\d( on [\d/]+)? since you opened it\.)"},
        {"issued by another clerk",
         [](Store& f, db::Connection& other) {
             requests::IssueOrder order = f.Order(other);
             order.userId = "RLIM";
             requests::IssueRequest(other, order);
         },
         R"(Request 7 was processed by RLIM at \d\d:\d\d( on [\d/]+)? since you opened it\.)"},
        {"saved again, so no longer verified",
         [](Store&, db::Connection& other) {
             requests::RequestToSave r;
             r.documentNumber = "7";
             r.transDate = QDateTime(QDate(2026, 3, 7), QTime(8, 0));
             r.locationId = "94";
             r.targetLocationId = "10";
             r.userId = "RLIM";
             r.lines << requests::RequestLine{"P1", "1", "2.5", "N", "N"};
             r.opened = requests::StoredRequest::Read(other, "7");
             requests::SaveRequest(other, r);
         },
         R"(Request 7 was changed by RLIM since you opened it\.)"},
    };
    for (const Case& c : cases) {
        Store f(GetParam());
        const requests::IssueOrder order = f.Order();
        const auto other = f.db.OpenAnother();
        c.elsewhere(f, *other);
        const QStringList before = f.Everything();
        try {
            requests::IssueRequest(f.db.Connection(), order);
            ADD_FAILURE() << "issued what was " << c.what;
        } catch (const requests::ConflictError& e) {
            EXPECT_TRUE(QRegularExpression(QStringLiteral("^%1$").arg(c.message)).match(e.Description()).hasMatch())
                << c.what << ": " << e.Description().toStdString();
        }
        EXPECT_EQ(f.Everything(), before) << c.what;
        EXPECT_FALSE(f.db.Connection().InTransaction()) << c.what;
    }
}

TEST_P(Issuing, AClerkWhoReadTheStockBeforeAnotherIssuedItCannotTakeItBelowZero)
{
    Store f(GetParam());
    f.Line("8", "P1", 30, 2.5);
    f.Line("9", "P1", 30, 2.5);
    // Both clerks open their request while 40 are on hand: each may issue 30.
    const auto other = f.db.OpenAnother();
    const requests::IssueOrder mine = f.Order("8");
    const requests::IssueOrder theirs = f.Order(*other, "9");
    ASSERT_EQ(mine.lines[0].issue, 30);
    ASSERT_EQ(theirs.lines[0].issue, 30);

    requests::IssueRequest(*other, theirs);
    const QStringList afterTheirs = f.Everything();
    try {
        requests::IssueRequest(f.db.Connection(), mine);
        ADD_FAILURE() << "issued stock that was gone";
    } catch (const requests::ShortStockError& e) {
        EXPECT_EQ(e.Description().toStdString(),
                  "Only 10 of GAUZE 4X4 (P1) is on hand at the store now, not 30: nothing was issued.");
        EXPECT_EQ(e.ItemId(), "P1");
    }
    EXPECT_EQ(f.Everything(), afterTheirs);
    EXPECT_EQ(f.OnHand("P1", "94"), 10);
}

TEST_P(Issuing, TwoClerksIssuingAtOnceNeverTakeTheStockBelowZero)
{
    Store f(GetParam());
    constexpr int kClerks = 4;
    // Each request wants 15 gauze of the 40: only two can be issued in full.
    for (int c = 0; c < kClerks; ++c)
        f.Line(QByteArray::number(20 + c).constData(), "P1", 15, 2.5);
    std::vector<requests::IssueOrder> orders;
    for (int c = 0; c < kClerks; ++c)
        orders.push_back(f.Order(QString::number(20 + c)));
    std::vector<int> issued(kClerks, 0);
    std::barrier start(kClerks);
    std::vector<std::thread> clerks;
    for (int c = 0; c < kClerks; ++c)
        clerks.emplace_back([&, c] {
            auto connection = f.db.OpenAnother();
            start.arrive_and_wait();
            try {
                requests::IssueRequest(*connection, orders[c]);
                issued[c] = 1;
            } catch (const requests::ShortStockError&) {
            } catch (const db::DbError&) {
                issued[c] = -1;  // no clerk should fail otherwise
            }
        });
    for (std::thread& t : clerks)
        t.join();
    EXPECT_EQ(std::count(issued.begin(), issued.end(), 1), 2);
    EXPECT_EQ(std::count(issued.begin(), issued.end(), -1), 0);
    EXPECT_EQ(f.OnHand("P1", "94"), 10);
    EXPECT_EQ(f.db.Scalar("SELECT COUNT(*) FROM tbInvStockMovement"), 2);
    EXPECT_EQ(f.db.Scalar("SELECT COUNT(*) FROM tbInvWithdrawRequest WHERE Status = 'P'"), 2);
}

TEST_P(Issuing, AStatementRefusedAnywhereInTheIssueLeavesNothingHalfIssued)
{
    // How many statements an issue with a rest sends, counted on a first run.
    int statements = 0;
    {
        Store f(GetParam());
        const requests::IssueOrder order = f.Order("7", true);
        f.db.Connection().SetStatementObserver([&](const QString&) { ++statements; });
        requests::IssueRequest(f.db.Connection(), order);
    }
    ASSERT_GT(statements, 8);
    for (int failAt = 1; failAt <= statements; ++failAt) {
        Store f(GetParam());
        const requests::IssueOrder order = f.Order("7", true);
        const QStringList before = f.Everything();
        int sent = 0;
        QString refused;
        // As a program killed there: that statement and every one after it
        // never reach the database.
        f.db.Connection().SetStatementObserver([&](const QString& s) {
            if (++sent >= failAt) {
                if (refused.isEmpty())
                    refused = s;
                throw db::DbError("The connection was lost.");
            }
        });
        EXPECT_THROW(requests::IssueRequest(f.db.Connection(), order), db::DbError) << failAt;
        EXPECT_FALSE(f.db.Connection().InTransaction()) << refused.toStdString();
        EXPECT_EQ(f.Everything(), before) << refused.toStdString();
        // Once the fault is gone the same issue goes through.
        f.db.Connection().SetStatementObserver({});
        EXPECT_EQ(requests::IssueRequest(f.db.Connection(), order), "8") << refused.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Backends, Issuing, testing::ValuesIn(testing_support::AllBackends()),
                         testing_support::BackendTestName());
