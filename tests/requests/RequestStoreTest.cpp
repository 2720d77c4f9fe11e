#include "db/DbError.h"
#include "requests/RequestStore.h"
#include "support/TempDatabase.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <atomic>
#include <functional>
#include <thread>

using testing_support::Backend;
using testing_support::TempDatabase;

namespace {

requests::RequestToSave Request(const QString& number, int lines)
{
    requests::RequestToSave r;
    r.documentNumber = number;
    r.transDate = QDateTime(QDate(2026, 3, 7), QTime(14, 5, 9));
    r.locationId = "94";
    r.targetLocationId = "10";
    r.userId = "ANNA";
    r.remarks = "FOR WARD USE";
    for (int i = 1; i <= lines; ++i)
        r.lines << requests::RequestLine{QStringLiteral("P%1").arg(i), QString::number(i), "12.5", "Y", i == 1 ? "Y" : "N"};
    return r;
}

void Store(TempDatabase& db, const char* number, const char* item = "OLD")
{
    db.Insert("tbInvWithdrawRequest", {{"DocumentNumber", number}, {"ItemID", item}, {"Quantity", 1}});
}

// The request as a list of the given view shows it now.
requests::ListedRequest Listed(TempDatabase& db, const QString& number, bool verified)
{
    const requests::StoredRequest now = requests::StoredRequest::Read(db.Connection(), number);
    return {number, now.requestedBy, now.transDate, now.targetLocationId, verified, false};
}

QStringList Items(TempDatabase& db, const QString& number)
{
    QStringList items;
    const db::RowSet rows = db.Native(
        "SELECT ItemID FROM tbInvWithdrawRequest WHERE DocumentNumber = ? ORDER BY " + db.InsertionOrder(), {number});
    for (const auto& row : rows.Rows())
        items << row.at(0).toString();
    return items;
}

// Passes statements on to a real connection and makes the chosen one, or
// the commit, fail.
class FailingConnection : public db::Connection {
public:
    FailingConnection(db::Connection& inner, int failAtStatement, bool failCommit)
        : inner_(inner), failAt_(failAtStatement), failCommit_(failCommit) {}
    void BeginTransaction() override { inner_.BeginTransaction(); }
    void Commit() override
    {
        if (failCommit_)
            throw db::DbError("disk I/O error");
        inner_.Commit();
    }
    void Rollback() override { inner_.Rollback(); }
    bool InTransaction() const override { return inner_.InTransaction(); }
    db::Backend Kind() const override { return inner_.Kind(); }
    QString DatabaseName() const override { return inner_.DatabaseName(); }
    QStringList sent;

protected:
    db::RowSet DoExecute(const QString& statement) override
    {
        sent << statement;
        if (sent.size() == failAt_)
            throw db::DbError("The connection was lost.");
        return inner_.Execute(statement);
    }

private:
    db::Connection& inner_;
    int failAt_;
    bool failCommit_;
};

// Each storage test runs on every backend.
class Storage : public testing::TestWithParam<Backend> {
protected:
    void SetUp() override { TESSARY_SKIP_UNLESS_AVAILABLE(GetParam()); }
};

} // namespace

TEST_P(Storage, WireTextOfTheDeleteAndInserts)
{
    TempDatabase db(GetParam());
    QStringList sent;
    db.Connection().SetStatementObserver([&](const QString& s) { sent << s; });
    requests::RequestToSave r = Request("25", 1);
    r.lines[0].quantity = "5";
    requests::SaveRequest(db.Connection(), r);
    // A typed new number is checked again under the save's lock.
    ASSERT_EQ(sent.size(), 3);
    EXPECT_EQ(sent[0].toStdString(),
              "Select DocumentNumber from Inventory..tbinvWithdrawRequest where DocumentNumber = '25'");
    EXPECT_EQ(sent[1].toStdString(), "Delete INVENTORY..tbInvWithdrawRequest Where DocumentNumber = '25'");
    EXPECT_EQ(sent[2].toStdString(),
              "Insert INVENTORY..tbInvWithdrawRequest (DocumentNumber, ItemID, Quantity, UnitCost, ForRetail, isADS, "
              "LocationID, TargetLocationID, TransDate, UserID, Remarks) Values ('25','P1',5,12.5,'Y', '1', '94', "
              "'10', '03/07/2026 02:05:09 PM', 'ANNA', 'FOR WARD USE')");
    const db::RowSet row = db.Native("SELECT Quantity, UnitCost, isADS, TransDate FROM tbInvWithdrawRequest");
    EXPECT_EQ(row.Field(0).toDouble(), 5);
    EXPECT_EQ(row.Field(1).toDouble(), 12.5);
    EXPECT_EQ(row.Field(2).toInt(), 1);
    EXPECT_EQ(row.Field(3).toDateTime(), r.transDate);
}

TEST_P(Storage, RewritesTheWholeRequestAndSkipsBlankCodes)
{
    TempDatabase db(GetParam());
    for (const char* item : {"A", "B", "C", "D"})
        Store(db, "7", item);
    Store(db, "8");
    requests::RequestToSave r = Request("7", 3);
    r.lines[1].itemId = "   ";
    r.opened = requests::StoredRequest::Read(db.Connection(), "7");
    EXPECT_EQ(requests::SaveRequest(db.Connection(), r), "7");
    EXPECT_EQ(Items(db, "7"), QStringList({"P1", "P3"}));
    EXPECT_EQ(Items(db, "8"), QStringList({"OLD"}));
}

TEST_P(Storage, NewDocNumberNeverANumberThatIsStored)
{
    struct Case { const char* name; QStringList stored; const char* expected; };
    const Case cases[] = {
        {"empty table", {}, "1"},
        {"highest plus one", {"7", "12"}, "13"},
        {"a typed number that is not whole", {"7", "A12", "12.5"}, "8"},
        {"only texts", {"X1"}, "1"},
        {"a padded number hides the next one", {"12", "013 ", "13"}, "14"},
    };
    for (const Case& c : cases) {
        TempDatabase db(GetParam());
        for (const QString& n : c.stored)
            Store(db, n.toLatin1().constData());
        EXPECT_EQ(requests::GetNewDocNumber(db.Connection()), c.expected) << c.name;
        EXPECT_EQ(requests::SaveRequest(db.Connection(), Request("NEW", 1)), c.expected) << c.name;
        for (const QString& n : c.stored)
            EXPECT_EQ(Items(db, n).size(), 1) << c.name << ": " << n.toStdString() << " was touched";
    }
}

TEST_P(Storage, AFailureAtAnyStepLeavesTheStoredRequestAsItWas)
{
    // Statements of a save of three lines over a stored request of two:
    // 1 the check of what is stored, 2 delete, 3 first insert, 4 middle
    // insert, 5 last insert; then commit.
    struct Case { const char* step; int failAt; bool failCommit; };
    const Case cases[] = {
        {"check", 1, false}, {"delete", 2, false}, {"first insert", 3, false}, {"middle insert", 4, false},
        {"last insert", 5, false}, {"commit", 0, true},
    };
    for (const Case& c : cases) {
        TempDatabase db(GetParam());
        Store(db, "7", "A");
        Store(db, "7", "B");
        requests::RequestToSave r = Request("7", 3);
        r.opened = requests::StoredRequest::Read(db.Connection(), "7");
        FailingConnection failing(db.Connection(), c.failAt, c.failCommit);
        EXPECT_THROW(requests::SaveRequest(failing, r), db::DbError) << c.step;
        EXPECT_FALSE(db.Connection().InTransaction()) << c.step;
        EXPECT_EQ(Items(db, "7"), QStringList({"A", "B"})) << c.step;
        // The same request saves once the fault is gone.
        EXPECT_EQ(requests::SaveRequest(db.Connection(), r), "7") << c.step;
        EXPECT_EQ(Items(db, "7"), QStringList({"P1", "P2", "P3"})) << c.step;
    }
}

TEST_P(Storage, ClientsSavingAtOnceGetDistinctNumbersAndKeepEveryLine)
{
    TempDatabase db(GetParam());
    constexpr int kClients = 8;
    constexpr int kSavesEach = 8;
    std::vector<QStringList> numbers(kClients);
    std::vector<std::thread> clients;
    for (int c = 0; c < kClients; ++c)
        clients.emplace_back([&, c] {
            auto connection = db.OpenAnother();
            for (int i = 0; i < kSavesEach; ++i)
                numbers[c] << requests::SaveRequest(*connection, Request("NEW", 3));
        });
    for (std::thread& t : clients)
        t.join();
    QStringList all;
    for (const QStringList& n : numbers)
        all << n;
    all.sort();
    all.removeDuplicates();
    EXPECT_EQ(all.size(), kClients * kSavesEach);
    EXPECT_EQ(db.Scalar("SELECT COUNT(*) FROM tbInvWithdrawRequest"), kClients * kSavesEach * 3);
    EXPECT_EQ(db.Scalar("SELECT COUNT(DISTINCT DocumentNumber) FROM tbInvWithdrawRequest"), kClients * kSavesEach);
}

TEST_P(Storage, RequestStateVerifyAndCancelStatements)
{
    TempDatabase db(GetParam());
    Store(db, "7", "A");
    Store(db, "7", "B");
    QStringList sent;
    db.Connection().SetStatementObserver([&](const QString& s) {
        if (s.startsWith("Update"))
            sent << s;
    });
    requests::RecordVerification(db.Connection(), requests::StoredRequest::Read(db.Connection(), " 7 "), "BOSS");
    requests::VerifySaved(db.Connection(), "7", "BOSS");
    requests::CancelRequest(db.Connection(), Listed(db, "7", true), "ANNA");
    EXPECT_EQ(sent[0].toStdString(), "Update Inventory..tbInvWithdrawRequest set Verifiedby = 'BOSS', verifiedDate "
                                     "= GetDate() where DocumentNumber = '7'");
    EXPECT_EQ(sent[1].toStdString(), "Update INVENTORY..tbInvWithdrawRequest Set VerifiedBy = 'BOSS', VerifiedDate "
                                     "= getdate() Where DocumentNumber = '7'");
    EXPECT_EQ(sent[2].toStdString(), "Update INVENTORY..tbInvWithDrawRequest set Status = 'D', ProcessDate = "
                                     "getdate(), ProcessBy = 'ANNA'  where DocumentNumber = '7'");
    EXPECT_EQ(db.Scalar("SELECT COUNT(*) FROM tbInvWithdrawRequest WHERE Status = 'D' AND VerifiedBy = 'BOSS' "
                        "AND ProcessDate IS NOT NULL AND VerifiedDate IS NOT NULL"), 2);
    EXPECT_TRUE(requests::DocumentNumberExists(db.Connection(), " 7"));
    EXPECT_FALSE(requests::DocumentNumberExists(db.Connection(), "70"));
}

TEST_P(Storage, ASaveNeverUndoesWhatAnotherConnectionDidSinceTheRequestWasOpened)
{
    using Kind = requests::Conflict::Kind;
    struct Case {
        const char* what;
        std::function<void(db::Connection&, TempDatabase&)> elsewhere;
        Kind kind;
        QString by;
        QStringList items;  // what stays stored
    };
    const Case cases[] = {
        {"cancelled", [](db::Connection& c, TempDatabase& db) { requests::CancelRequest(c, Listed(db, "7", false), "RLIM"); },
         Kind::Cancelled, "RLIM", {"A", "B"}},
        {"verified", [](db::Connection& c, TempDatabase&) {
             requests::RecordVerification(c, requests::StoredRequest::Read(c, "7"), "BOSS"); },
         Kind::Verified, "BOSS", {"A", "B"}},
        {"changed", [](db::Connection& c, TempDatabase&) {
             requests::RequestToSave r = Request("7", 1);
             r.userId = "RLIM";
             r.opened = requests::StoredRequest::Read(c, "7");
             requests::SaveRequest(c, r); },
         Kind::Changed, "RLIM", {"P1"}},
        {"processed", [](db::Connection&, TempDatabase& db) {
             db.Native("UPDATE tbInvWithdrawRequest SET Status = 'P', ProcessBy = 'STORE', ProcessDate = "
                       "'2026-03-08 09:15:00'"); },
         Kind::Processed, "STORE", {"A", "B"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDatabase db(GetParam());
        Store(db, "7", "A");
        Store(db, "7", "B");
        requests::RequestToSave mine = Request("7", 3);
        mine.opened = requests::StoredRequest::Read(db.Connection(), "7");
        const auto other = db.OpenAnother();
        c.elsewhere(*other, db);
        try {
            requests::SaveRequest(db.Connection(), mine);
            ADD_FAILURE() << "saved over it";
        } catch (const requests::ConflictError& e) {
            EXPECT_EQ(int(e.Details().kind), int(c.kind));
            EXPECT_EQ(e.Details().by, c.by);
            EXPECT_TRUE(e.Description().endsWith(" since you opened it.")) << e.Description().toStdString();
        }
        EXPECT_EQ(Items(db, "7"), c.items);
        EXPECT_FALSE(db.Connection().InTransaction());
    }
}

TEST_P(Storage, AVerificationOrCancelAfterAnotherChangeWritesNothing)
{
    TempDatabase db(GetParam());
    Store(db, "7", "A");
    // The list shows who asked by name.
    for (const char* user : {"ANNA", "RLIM"})
        db.Insert("tbPasswordMain", {{"EmployeeID", user}, {"LastName", user}, {"FirstName", "X"}});
    requests::StoredRequest saved;
    requests::SaveRequest(db.Connection(), [] {
        requests::RequestToSave r = Request("NEW", 2);
        return r;
    }(), &saved);
    const requests::ListedRequest listed = Listed(db, saved.number, false);
    const auto other = db.OpenAnother();
    requests::RequestToSave change = Request(saved.number, 1);
    change.userId = "RLIM";
    change.opened = requests::StoredRequest::Read(*other, saved.number);
    requests::SaveRequest(*other, change);

    EXPECT_THROW(requests::RecordVerification(db.Connection(), saved, "BOSS"), requests::ConflictError);
    EXPECT_EQ(db.Scalar("SELECT COUNT(*) FROM tbInvWithdrawRequest WHERE VerifiedBy IS NOT NULL"), 0);
    try {
        requests::CancelRequest(db.Connection(), listed, "ANNA");
        ADD_FAILURE() << "cancelled what the list did not show";
    } catch (const requests::ConflictError& e) {
        EXPECT_EQ(e.Description().toStdString(), "Request 8 was changed by RLIM since the list was read.");
    }
    EXPECT_EQ(db.Scalar("SELECT COUNT(*) FROM tbInvWithdrawRequest WHERE Status IS NOT NULL"), 0);
    // As the list shows it now, it cancels.
    requests::CancelRequest(db.Connection(), Listed(db, saved.number, false), "ANNA");
    EXPECT_EQ(db.Scalar("SELECT COUNT(*) FROM tbInvWithdrawRequest WHERE Status = 'D'"), 1);
}

TEST_P(Storage, TwoSavesOfOneOpenedRequestAtOnceExactlyOneWins)
{
    TempDatabase db(GetParam());
    Store(db, "7", "A");
    const requests::StoredRequest opened = requests::StoredRequest::Read(db.Connection(), "7");
    std::atomic<int> saved{0};
    std::atomic<int> refused{0};
    std::vector<std::thread> clients;
    for (int c = 1; c <= 2; ++c)
        clients.emplace_back([&, c] {
            auto connection = db.OpenAnother();
            requests::RequestToSave r = Request("7", c);  // different lines on each side
            r.opened = opened;
            try {
                requests::SaveRequest(*connection, r);
                ++saved;
            } catch (const requests::ConflictError&) {
                ++refused;
            }
        });
    for (std::thread& t : clients)
        t.join();
    EXPECT_EQ(saved, 1);
    EXPECT_EQ(refused, 1);
    const qlonglong lines = db.Scalar("SELECT COUNT(*) FROM tbInvWithdrawRequest");
    EXPECT_TRUE(lines == 1 || lines == 2) << lines;  // one side's lines, whole
}

TEST(RequestConflict, TellsWhoDidWhatAndWhen)
{
    using Kind = requests::Conflict::Kind;
    const QDateTime today(QDate::currentDate(), QTime(10, 42, 5));
    const QDateTime earlier(QDate(2026, 3, 7), QTime(8, 5));
    struct Case { requests::Conflict conflict; const char* text; };
    const Case cases[] = {
        {{Kind::Cancelled, "12", "RLIM", today}, "Request 12 was cancelled by RLIM at 10:42 since you opened it."},
        {{Kind::Verified, "12", "BOSS", earlier}, "Request 12 was verified by BOSS at 08:05 on 03/07/2026 since you opened it."},
        {{Kind::Changed, "12", "RLIM", {}}, "Request 12 was changed by RLIM since you opened it."},
        {{Kind::Removed, "12", {}, {}}, "Request 12 was removed since you opened it."},
        {{Kind::Processed, "12", "STORE", today, false}, "Request 12 was processed by STORE at 10:42."},
    };
    for (const Case& c : cases)
        EXPECT_EQ(requests::ConflictText(c.conflict, requests::kSinceOpened).toStdString(), c.text);
}

INSTANTIATE_TEST_SUITE_P(Backends, Storage, testing::ValuesIn(testing_support::AllBackends()),
                         testing_support::BackendTestName());
