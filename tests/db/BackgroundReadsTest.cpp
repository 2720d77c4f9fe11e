// Reads on a thread and connection of their own: the asking thread goes on
// while one runs, only the latest read's result arrives, and the cursor
// handed back reads further rows on the reading thread.
#include "db/BackgroundReads.h"
#include "db/DbError.h"
#include "support/EventsUntil.h"
#include "support/TempDatabase.h"

#include <QSemaphore>
#include <optional>
#include <gtest/gtest.h>

using testing_support::Backend;
using testing_support::EventsUntil;
using testing_support::TempDatabase;

namespace {

class BackgroundReadsTest : public ::testing::TestWithParam<Backend> {
protected:
    void SetUp() override { TESSARY_SKIP_UNLESS_AVAILABLE(GetParam()); }
};

const QString kByName =
    QStringLiteral("Select ItemID From INVENTORY..tbInvMaster Where ItemName Like ? Order By ItemID");

// A database of `count` items named ITEM0001 ... and one named GAUZE.
void AddItems(TempDatabase& db, int count)
{
    for (int i = 1; i <= count; ++i)
        db.Insert("tbInvMaster", {{"ItemID", QStringLiteral("%1").arg(i, 4, 10, QLatin1Char('0'))},
                                  {"ItemName", QStringLiteral("ITEM%1").arg(i, 4, 10, QLatin1Char('0'))}});
    db.Insert("tbInvMaster", {{"ItemID", "G1"}, {"ItemName", "GAUZE"}});
}

} // namespace

// The first statement the reading connection runs waits at a gate that the
// test opens: a slow search. The test thread meanwhile asks for two more;
// the one overtaken before it started never runs, the slow one's result is
// dropped, and the last one's arrives.
TEST_P(BackgroundReadsTest, OnlyTheLatestReadArrivesAndTheAskingThreadNeverWaits)
{
    TempDatabase db(GetParam());
    AddItems(db, 3);
    QSemaphore started;
    QSemaphore gate;
    QStringList run;  // statements the reading connection ran, in order
    QObject receiver;
    db::BackgroundReads reads([&] {
        std::unique_ptr<db::Connection> connection = db.OpenAnother();
        connection->SetStatementObserver([&](const QString& statement) {
            run << statement;
            started.release();
            gate.acquire();
        });
        return connection;
    });
    QStringList arrived;
    const auto keep = [&](db::BackgroundReads::Result result) {
        ASSERT_TRUE(result.failure.isEmpty()) << result.failure.toStdString();
        arrived << testing_support::ColumnTexts(*result.rows).join(QLatin1Char(','));
    };

    reads.Read(kByName, {"I%"}, 2, &receiver, keep);
    started.acquire();  // the slow search is running
    reads.Read(kByName, {"IT%"}, 2, &receiver, keep);
    reads.Read(kByName, {"G%"}, 2, &receiver, keep);
    gate.release(2);
    ASSERT_TRUE(EventsUntil([&] { return !arrived.isEmpty(); }));
    EXPECT_EQ(arrived, QStringList{"G1"});
    ASSERT_EQ(run.size(), 2);
    EXPECT_TRUE(run[0].contains("'I%'"));
    EXPECT_TRUE(run[1].contains("'G%'"));

    // A result whose receiver went is not delivered (that read may also be
    // overtaken before it starts).
    gate.release(2);
    {
        QObject gone;
        reads.Read(kByName, {"I%"}, 2, &gone, keep);
    }
    reads.Read(kByName, {"NOTHING%"}, 2, &receiver, keep);
    ASSERT_TRUE(EventsUntil([&] { return arrived.size() == 2; }));
    EXPECT_EQ(arrived.last(), "");
}

// Rows beyond the first are read on the reading thread, a batch at a time,
// and are those the statement gives; a refusal arrives as a failure.
TEST_P(BackgroundReadsTest, TheCursorReadsTheRestAndRefusalsArriveAsFailures)
{
    TempDatabase db(GetParam());
    AddItems(db, 150);
    QObject receiver;
    db::BackgroundReads reads([&] { return db.OpenAnother(); });
    std::optional<db::BackgroundReads::Result> result;
    const auto keep = [&](db::BackgroundReads::Result r) { result = std::move(r); };

    reads.Read(kByName, {"ITEM%"}, 33, &receiver, keep);
    ASSERT_TRUE(EventsUntil([&] { return result.has_value(); }));
    ASSERT_TRUE(result->failure.isEmpty()) << result->failure.toStdString();
    EXPECT_EQ(result->rows->RowsRead(), 0);
    EXPECT_TRUE(result->rows->Reach(33));
    EXPECT_FALSE(result->rows->AtEnd());
    QStringList expected;
    for (int i = 1; i <= 150; ++i)
        expected << QStringLiteral("%1").arg(i, 4, 10, QLatin1Char('0'));
    EXPECT_EQ(testing_support::ColumnTexts(*result->rows), expected);

    // The next read ends the cursor of the one before: it keeps the rows it
    // has and gives no more.
    result.reset();
    reads.Read(kByName, {"ITEM%"}, 33, &receiver, keep);
    ASSERT_TRUE(EventsUntil([&] { return result.has_value(); }));
    const std::unique_ptr<db::Cursor> earlier = std::move(result->rows);
    EXPECT_TRUE(earlier->Reach(33));
    result.reset();
    reads.Read(kByName, {"G%"}, 1, &receiver, keep);
    ASSERT_TRUE(EventsUntil([&] { return result.has_value(); }));
    EXPECT_EQ(testing_support::ColumnTexts(*earlier).size(), 33);
    EXPECT_EQ(testing_support::ColumnTexts(*result->rows), QStringList{"G1"});

    result.reset();
    reads.Read("Select Nope From INVENTORY..tbInvMaster Where ItemName Like ?", {"A%"}, 33, &receiver, keep);
    ASSERT_TRUE(EventsUntil([&] { return result.has_value(); }));
    EXPECT_FALSE(result->failure.isEmpty());
    EXPECT_EQ(result->rows, nullptr);
}

INSTANTIATE_TEST_SUITE_P(Backends, BackgroundReadsTest, testing::ValuesIn(testing_support::AllBackends()),
                         testing_support::BackendTestName());
