// Clients on one database file storing new records at the same moment.
#include "base/Errors.h"
#include "dialogs/RecordDialogs.h"
#include "support/ScriptedDialogHost.h"
#include "records/ItemMaster.h"
#include "records/Location.h"
#include "records/Supplier.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDatabase.h"

#include <gtest/gtest.h>

#include <functional>
#include <thread>
#include <vector>

namespace {

constexpr int kClients = 4;
constexpr int kRecordsEach = 6;

// One workstation: its own connection, message boxes and dialogs.
struct Client {
    std::unique_ptr<db::Connection> connection;
    testing_support::ScriptedPrompts prompts;
    testing_support::ScriptedDialogHost dialogs;
    dialogs::RecordDialogs recordDialogs{[this]() -> db::Connection& { return *connection; }, prompts, dialogs};
    records::RecordServices services = recordDialogs.Services();
};

// Runs `store` kRecordsEach times on each of kClients threads at once.
void StoreAtOnce(testing_support::TempDatabase& db, const std::function<void(Client&)>& store)
{
    std::vector<std::thread> threads;
    for (int c = 0; c < kClients; ++c)
        threads.emplace_back([&] {
            Client client;
            client.connection = db.OpenAnother();
            for (int i = 0; i < kRecordsEach; ++i) {
                try {
                    store(client);
                } catch (const base::RecordError& e) {
                    ADD_FAILURE() << e.Source().toStdString();
                }
            }
        });
    for (std::thread& t : threads)
        t.join();
}

void ExpectCodesOneToN(testing_support::TempDatabase& db, const QString& table, const QString& column)
{
    const int n = kClients * kRecordsEach;
    EXPECT_EQ(db.Scalar(QStringLiteral("SELECT COUNT(*) FROM %1").arg(table)), n + 1);
    EXPECT_EQ(db.Scalar(QStringLiteral("SELECT COUNT(DISTINCT %1) FROM %2").arg(column, table)), n + 1);
    EXPECT_EQ(db.Scalar(QStringLiteral("SELECT MAX(CAST(%1 AS INTEGER)) FROM %2").arg(column, table)), n + 1);
}

} // namespace

TEST(NewCodes, ClientsStoringNewRecordsAtOnceNeverShareACode)
{
    testing_support::TempDatabase db;
    // A lettered code beside the whole ones: every client also takes the
    // way round the server's refusal.
    db.Insert("tbInvSupplier", {{"SupplierID", "S001"}});
    db.Insert("tbInvSupplier", {{"SupplierID", "1"}});
    db.Insert("tbInvLocation", {{"LocationID", "1"}});
    db.Insert("tbInvMaster", {{"ItemID", "P0001"}});

    StoreAtOnce(db, [](Client& c) {
        records::clsSupplier supplier{c.services};
        supplier.ActiveConnection(*c.connection);
        supplier.Terms(std::make_shared<records::clsTerms>(c.services));
        supplier.SupplierName = "NEW SUPPLIER";
        EXPECT_TRUE(supplier.Update());

        records::clsLocation location{c.services};
        location.ActiveConnection(*c.connection);
        location.Description = "NEW WARD";
        EXPECT_TRUE(location.Update());

        records::clsItemMaster item{c.services};
        item.ActiveConnection(*c.connection);
        item.Supplier(std::make_shared<records::clsSupplier>(c.services));
        item.Manufacturer(std::make_shared<records::clsSupplier>(c.services));
        item.ItemClass(std::make_shared<records::clsItemClass>(c.services));
        item.UnitOfMeasure(std::make_shared<records::clsUnitOfMeasure>(c.services));
        item.ItemName = "NEW ITEM";
        EXPECT_TRUE(item.Update());
    });

    EXPECT_EQ(db.Scalar("SELECT COUNT(*) FROM tbInvSupplier"), kClients * kRecordsEach + 2);
    EXPECT_EQ(db.Scalar("SELECT COUNT(*) FROM tbInvSupplier WHERE SupplierID GLOB '[0-9]*'"),
              kClients * kRecordsEach + 1);
    EXPECT_EQ(db.Scalar("SELECT MAX(CAST(SupplierID AS INTEGER)) FROM tbInvSupplier"), kClients * kRecordsEach + 1);
    ExpectCodesOneToN(db, "tbInvLocation", "LocationID");
    ExpectCodesOneToN(db, "tbInvMaster", "replace(ItemID, 'P', '')");
}
