#include "admin/DemoData.h"

#include "admin/Databases.h"
#include "admin/DemoCatalog.h"
#include "admin/Users.h"
#include "db/EmbeddedFormat.h"

#include <QDateTime>
#include <QHash>
#include <QSet>
#include <QStringList>
#include <cmath>
#include <cstdint>

namespace admin {

namespace {

using demo::Item;

// A fixed-seed generator with its own arithmetic, so the demo rows are the
// same on every machine and standard library.
class DemoRandom {
public:
    explicit DemoRandom(std::uint32_t seed) : state_(seed) {}
    // A whole number from low to high, both included.
    int Between(int low, int high)
    {
        state_ = state_ * 1664525u + 1013904223u;
        return low + int((state_ >> 8) % std::uint32_t(high - low + 1));
    }
    double Fraction() { return Between(0, 9999) / 10000.0; }

private:
    std::uint32_t state_;
};

// One insert statement per table, run with bound values for every row.
class RowWriter {
public:
    RowWriter(db::Connection& connection, const QString& table, const QStringList& columns)
        : connection_(connection),
          sql_(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                   .arg(table, columns.join(QLatin1Char(',')),
                        QStringList(columns.size(), QStringLiteral("?")).join(QLatin1Char(',')))) {}
    void Add(const QVariantList& values) { ExecuteNative(connection_, sql_, values); }

private:
    db::Connection& connection_;
    QString sql_;
};

QVariant Null() { return {}; }

QString Stored(const QDate& date, const QTime& time)
{
    return QDateTime(date, time).toString(db::kEmbeddedDateTimeFormat);
}

double Rounded(double value, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    return std::round(value * scale) / scale;
}

// A 13-digit article number with its check digit; unique per item index.
QString Barcode(int index)
{
    const QString digits = QStringLiteral("48077%1").arg((qint64(index) * 7919) % 10000000, 7, 10, QLatin1Char('0'));
    int sum = 0;
    for (int i = 0; i < digits.size(); ++i)
        sum += digits[i].digitValue() * (i % 2 == 0 ? 1 : 3);
    return digits + QString::number((10 - sum % 10) % 10);
}

struct Location { const char* id; const char* name; QVariant status; int warehouse; int dispensing; int allowOrder;
                  QVariant inventoryType; };

// Every kind of location the screens tell apart: the central store, a
// pharmacy that is warehouse and dispensing area at once, a dispensing-only
// pharmacy, wards and departments, null statuses and a closed ward.
const Location kLocations[] = {
    {"94", "CENTRAL SUPPLY ROOM", "A", 1, 0, 1, "AS"},
    {"10", "MAIN PHARMACY", "A", 1, 1, 1, "M"},
    {"11", "OR PHARMACY", "A", 0, 1, 1, "M"},
    {"20", "MEDICAL WARD 2ND FLOOR", "A", 0, 0, 1, Null()},
    {"21", "SURGICAL WARD 3RD FLOOR", "A", 0, 0, 1, Null()},
    {"22", "PEDIATRIC WARD", "A", 0, 0, 0, Null()},
    {"23", "OB-GYNE WARD", "A", 0, 0, 0, Null()},
    {"30", "EMERGENCY ROOM", "A", 0, 0, 1, "S"},
    {"31", "OPERATING ROOM", "A", 0, 0, 1, "S"},
    {"32", "DELIVERY ROOM", Null(), 0, 0, 0, Null()},
    {"33", "INTENSIVE CARE UNIT", "A", 0, 0, 1, "SM"},
    {"40", "LABORATORY", "A", 0, 0, 0, "L"},
    {"41", "RADIOLOGY", "A", 0, 0, 0, Null()},
    {"42", "DIALYSIS UNIT", Null(), 0, 0, 1, Null()},
    {"50", "NURSING SERVICE OFFICE", "A", 0, 0, 0, "O"},
    {"51", "HOUSEKEEPING", "A", 0, 0, 0, "H"},
    {"60", "ISOLATION WARD (CLOSED)", "I", 0, 0, 0, Null()},
};

const char* const kCentralSupply = "94";
const char* const kWardStock[] = {"20", "21", "22", "23", "30", "31", "33"};
// Every location a demo user requests stock for.
const char* const kRequestingDepartments[] = {"20", "21", "22", "23", "30", "31", "33", "40", "41", "51"};

// A medicine with an ADS stock at the central supply room, stocked at every
// requesting department so that a name search finds it from anywhere.
const char* const kAdsSampleName = "PARACETAMOL";
const char* const kAdsSampleDescription = "500MG TABLET";
// An item with nothing on hand at the central supply room.
const char* const kZeroStockSample = "1006";

// What the requests need to know of the central store's stock.
struct CentralStock { QString itemId; double averageCost; bool ads; bool tablets; bool requestable; };

class DemoBuilder {
public:
    DemoBuilder(db::Connection& connection, const QDate& today)
        : connection_(connection), today_(today), catalog_(demo::BuildItemCatalog()) {}

    void Build()
    {
        WriteSite();
        WriteLocations();
        WriteReferenceTables();
        WriteItems();
        WriteStock();
        WriteKits();
        WriteUsers();
        WriteRequests();
    }

private:
    void WriteSite()
    {
        WriteSiteRecords(connection_, {QStringLiteral("SAN LORENZO GENERAL HOSPITAL"),
                                       QStringLiteral("1200 MABINI STREET, SAN LORENZO CITY"),
                                       QStringLiteral("TEL. (02) 8123-4567"), QStringLiteral("DEMO")});
    }

    void WriteLocations()
    {
        RowWriter rows(connection_, QStringLiteral("tbInvLocation"),
                       {"LocationID", "Location", "Status", "isWarehouse", "isDispensingArea", "AllowOrder",
                        "InventoryType"});
        for (const Location& l : kLocations)
            rows.Add({l.id, l.name, l.status, l.warehouse, l.dispensing, l.allowOrder, l.inventoryType});
    }

    void WriteReferenceTables()
    {
        RowWriter classes(connection_, QStringLiteral("tbInvClassification"),
                          {"ItemClassificationID", "ItemClassificationName", "Status", "IsFixedAsset"});
        for (const demo::Classification& c : demo::Classifications())
            classes.Add({c.id, c.name, "A", c.fixedAsset ? 1 : 0});
        RowWriter units(connection_, QStringLiteral("tbInvUnitOfMeasure"), {"UnitOfMeasureID", "UnitOfMeasure", "Status"});
        for (const demo::UnitOfMeasure& u : demo::UnitsOfMeasure())
            units.Add({u.id, u.name, u.status});
        RowWriter terms(connection_, QStringLiteral("tbInvTerms"), {"TermsID", "Terms", "NoDays", "Status"});
        for (const demo::Terms& t : demo::PaymentTerms())
            terms.Add({t.id, t.name, t.days, t.status});
        RowWriter suppliers(connection_, QStringLiteral("tbInvSupplier"),
                            {"SupplierID", "SupplierName", "Status", "SupplierType", "Address1", "TermsID", "TelNum",
                             "FreeGoods", "isVAT", "ContactPerson"});
        for (const demo::Supplier& s : demo::Suppliers())
            suppliers.Add({s.id, s.name, s.status, "LOCAL", s.address, s.termsId, s.phone, 0, 1, s.contact});
        RowWriter nodes(connection_, QStringLiteral("tbforClassification"), {"Node_Key", "ClassificationName"});
        for (const demo::GenericNode& n : demo::GenericNodes())
            nodes.Add({n.key, n.name});
        RowWriter generics(connection_, QStringLiteral("tbforGeneric"), {"GenericID", "GenericName", "Node_Key"});
        for (const demo::Generic& g : catalog_.generics)
            generics.Add({g.id, g.name, g.nodeKey});
    }

    static bool HasBarcode(const Item& item, int index)
    {
        return !item.fixedAsset && item.kitId.isEmpty() && index % 8 != 5;
    }

    static bool IsAdsSample(const Item& item)
    {
        return item.name == QLatin1String(kAdsSampleName) && item.description == QLatin1String(kAdsSampleDescription);
    }

    // Stocked and active at the central supply room and every requesting
    // department.
    static bool Everywhere(const Item& item) { return item.everyDepartment || IsAdsSample(item); }

    // A few items are inactive, never one that must be enterable anywhere.
    static int ItemStatusOf(const Item& item, int index) { return !Everywhere(item) && index % 37 == 9 ? 1 : 0; }

    void WriteItems()
    {
        RowWriter rows(connection_, QStringLiteral("tbInvMaster"),
                       {"ItemID", "ItemName", "ItemDesc", "SupplierID", "MarkupIn", "MarkupOut", "ListCost",
                        "ItemStatus", "Packing", "VAT", "BarCode", "ItemClassificationID", "UnitOfMeasureID",
                        "OralInject", "AverageCost", "GenericID", "IsSeniorDiscounted", "WithLotNumber", "GLCode",
                        "IncludeInStatement", "ItemClass", "KitID"});
        for (int i = 0; i < catalog_.items.size(); ++i) {
            const Item& item = catalog_.items[i];
            auto textOrNull = [](const QString& text) { return text.isEmpty() ? Null() : QVariant(text); };
            rows.Add({item.id, item.name, item.description, item.supplierId, 20, 30, item.listCost,
                      ItemStatusOf(item, i), item.packing, 12, HasBarcode(item, i) ? QVariant(Barcode(i)) : Null(),
                      item.classification, item.unitOfMeasure, textOrNull(item.oralInject),
                      Rounded(item.listCost * 0.97, 4), textOrNull(item.genericId), item.medicine ? 1 : 0,
                      item.medicine ? 1 : 0, item.glCode, 1, item.medicine ? "M" : "S", textOrNull(item.kitId)});
        }
    }

    // Kit components must be stocked where the kits are requested from.
    QSet<QString> KitComponentKeys() const
    {
        QSet<QString> keys;
        for (const demo::Kit& kit : demo::Kits())
            for (const demo::KitComponent& part : kit.components)
                keys << QString::fromLatin1(part.itemName) + QLatin1Char('|') + QString::fromLatin1(part.itemDescription);
        return keys;
    }

    void WriteStock()
    {
        RowWriter rows(connection_, QStringLiteral("tbInvent"),
                       {"ItemID", "LocationID", "Markup_In", "Markup_Out", "NetAmount", "OnHand", "OnOrder",
                        "SellingPriceIn", "SellingPriceOut", "ItemStatus", "AverageCost", "MinStockLevel", "MaxStock",
                        "AveConsumption", "LastInventoryCount", "ExpiryDate", "NewGLCode", "POMonthsToDeliver",
                        "MinimumOrAverage", "IsFloor", "IsCeiling", "Floor", "Ceiling", "IsADSStock", "ADSStock",
                        "LastDeliveryDate", "LastDeliveryQty"});
        const QSet<QString> kitParts = KitComponentKeys();
        const QDate lastCount = QDate(today_.year(), today_.month(), 1).addMonths(-1);
        DemoRandom random(20240611u);

        for (int i = 0; i < catalog_.items.size(); ++i) {
            const Item& item = catalog_.items[i];
            const bool kitPart = kitParts.contains(item.name + QLatin1Char('|') + item.description);
            const bool everywhere = Everywhere(item);
            QStringList locations;
            if (i % 23 != 11 || kitPart || everywhere)
                locations << QString::fromLatin1(kCentralSupply);
            if (item.medicine || item.classification == QLatin1String("IVF"))
                locations << QStringLiteral("10");
            if (item.oralInject == QLatin1String("I") || item.classification == QLatin1String("SUT"))
                locations << QStringLiteral("11");
            if (!item.fixedAsset && item.kitId.isEmpty())
                for (const char* ward : kWardStock)
                    if (random.Between(1, 100) <= 12)
                        locations << QString::fromLatin1(ward);
            if (everywhere)
                for (const char* department : kRequestingDepartments)
                    if (!locations.contains(QLatin1String(department)))
                        locations << QString::fromLatin1(department);

            for (const QString& location : locations) {
                const bool central = location == QLatin1String(kCentralSupply);
                const int step = item.fixedAsset ? 1 : item.packing >= 10 ? item.packing : 5;
                const bool noStock = central && (i % 13 == 4 || item.id == QLatin1String(kZeroStockSample));
                const double onHand = item.fixedAsset ? random.Between(1, 4)
                                      : central       ? (noStock ? 0 : step * random.Between(1, 40))
                                                      : random.Between(0, 30);
                const double minStock = central ? step * random.Between(2, 6) : random.Between(2, 10);
                const double averageCost = Rounded(item.listCost * (0.92 + 0.1 * random.Fraction()), 4);
                const bool ads = central && item.medicine && (i % 7 == 2 || IsAdsSample(item));
                const bool floor = i % 19 == 3;
                const bool expires = item.medicine || item.classification == QLatin1String("IVF")
                                     || item.classification == QLatin1String("LAB");
                rows.Add({item.id, location, 20, 30, Rounded(item.listCost * 0.95, 4), onHand,
                          onHand == 0 ? step * 10.0 : 0.0, Rounded(averageCost * 1.2, 2), Rounded(averageCost * 1.3, 2),
                          ItemStatusOf(item, i), averageCost, minStock, minStock * 5, random.Between(0, 200),
                          Stored(lastCount, QTime(17, 0)),
                          expires ? QVariant(Stored(today_.addDays(random.Between(120, 1000)), QTime(0, 0))) : Null(),
                          item.glCode, 1, i % 2, floor ? 1 : 0, 0, floor ? minStock : 0.0, 0, ads ? 1 : 0,
                          ads ? random.Between(10, 60) : 0,
                          Stored(today_.addDays(-random.Between(3, 150)), QTime(10, 0)), step * random.Between(1, 20)});
                if (central)
                    central_.append({item.id, averageCost, ads, item.unitOfMeasure == 1 || item.unitOfMeasure == 2,
                                     !item.fixedAsset && item.kitId.isEmpty()});
            }
        }
    }

    QString ItemIdOf(const char* name, const char* description) const
    {
        for (const Item& item : catalog_.items)
            if (item.name == QLatin1String(name) && item.description == QLatin1String(description))
                return item.id;
        return {};
    }

    double ListCostOf(const QString& itemId) const
    {
        for (const Item& item : catalog_.items)
            if (item.id == itemId)
                return item.listCost;
        return 0;
    }

    void WriteKits()
    {
        RowWriter rows(connection_, QStringLiteral("tbInvKit"), {"KitID", "ItemID", "Qty", "UnitCost", "RetailType", "Active"});
        for (const demo::Kit& kit : demo::Kits())
            for (const demo::KitComponent& part : kit.components) {
                const QString itemId = ItemIdOf(part.itemName, part.itemDescription);
                rows.Add({kit.kitId, itemId, part.qty, ListCostOf(itemId), part.retailType, part.active});
            }
    }

    static NewUser DemoUser(const char* id, const char* lastName, const char* firstName, const char* password,
                            const char* department, const QStringList& locations)
    {
        NewUser user;
        user.id = QString::fromLatin1(id);
        user.lastName = QString::fromLatin1(lastName);
        user.firstName = QString::fromLatin1(firstName);
        user.password = QString::fromLatin1(password);
        user.department = QString::fromLatin1(department);
        user.locations = locations;
        return user;
    }

    void WriteUsers()
    {
        InsertUser(connection_, DemoUser("JDELA", "DELA CRUZ", "JUANA", "request", "4", {"94", "20", "30", "33", "22"}));

        NewUser verifier = DemoUser("MSANTOS", "SANTOS", "MARIA", "verify", "4", {"94", "20", "21", "31", "40", "23"});
        verifier.MakeVerifier();
        InsertUser(connection_, verifier);

        // Department "00" may log in; without a settings row the screen
        // shows Verify/Save. He may also authorise requests.
        NewUser head = DemoUser("RLIM", "LIM", "ROBERTO", "lim", "00", {"94", "41", "21"});
        head.rightCode1 = QStringLiteral("A");
        head.rightCode2 = QStringLiteral("S");
        head.verifyTessary.reset();
        InsertUser(connection_, head);

        // The central supply room's clerk: issues the verified requests
        // addressed to it.
        NewUser clerk = DemoUser("LGARCIA", "GARCIA", "LORNA", "issue", "4", {"94"});
        clerk.issueTessary = true;
        InsertUser(connection_, clerk);

        // Another department's user: exists in the suite, cannot log in here.
        InsertUser(connection_, DemoUser("AREYES", "REYES", "ANDRES", "reyes", "7", {"94", "51"}));
    }

    enum class State { Pending, Verified, Processed, Cancelled };

    void WriteRequests()
    {
        struct Request { const char* from; const char* user; int daysAgo; State state; const char* remarks; };
        // Every state from every demo user's departments, oldest first.
        const Request requests[] = {
            {"20", "JDELA", 27, State::Processed, "REPLENISHMENT OF WARD STOCK"},
            {"21", "MSANTOS", 25, State::Processed, "FOR SCHEDULED SURGICAL CASES"},
            {"41", "RLIM", 23, State::Processed, "MONTHLY DEPARTMENT SUPPLIES"},
            {"30", "JDELA", 20, State::Cancelled, "ADDITIONAL STOCK FOR WEEKEND"},
            {"33", "JDELA", 18, State::Verified, "CRITICAL CARE STOCK LEVEL"},
            {"31", "MSANTOS", 16, State::Verified, "OR CASE CART SUPPLIES"},
            {"41", "RLIM", 14, State::Verified, "CONTRAST PROCEDURE SUPPLIES"},
            {"40", "MSANTOS", 12, State::Cancelled, "LABORATORY CONSUMABLES"},
            {"20", "JDELA", 10, State::Verified, "REPLENISHMENT OF WARD STOCK"},
            {"21", "MSANTOS", 8, State::Pending, "POST-OPERATIVE CARE SUPPLIES"},
            {"30", "JDELA", 6, State::Pending, "EMERGENCY CART RESTOCKING"},
            {"41", "RLIM", 5, State::Pending, "MONTHLY DEPARTMENT SUPPLIES"},
            {"33", "JDELA", 3, State::Pending, "CRITICAL CARE STOCK LEVEL"},
            {"40", "MSANTOS", 2, State::Processed, "LABORATORY CONSUMABLES"},
            {"20", "JDELA", 1, State::Pending, "ADDITIONAL STOCK FOR NEW ADMISSIONS"},
            {"31", "MSANTOS", 0, State::Pending, "OR CASE CART SUPPLIES"},
        };
        RowWriter rows(connection_, QStringLiteral("tbInvWithdrawRequest"),
                       {"DocumentNumber", "ItemID", "Quantity", "UnitCost", "ForRetail", "isADS", "LocationID",
                        "TargetLocationID", "TransDate", "UserID", "Remarks", "VerifiedBy", "VerifiedDate", "Status",
                        "ProcessDate", "ProcessBy"});
        QVector<CentralStock> requestable;
        for (const CentralStock& stock : central_)
            if (stock.requestable)
                requestable << stock;
        DemoRandom random(77031u);

        for (int n = 0; n < int(std::size(requests)); ++n) {
            const Request& r = requests[n];
            const QDateTime saved(today_.addDays(-r.daysAgo), QTime(7, 30).addSecs(60 * ((n * 47) % 540)));
            // A supervisor other than the requester verified it.
            const char* supervisor = qstrcmp(r.user, "MSANTOS") == 0 ? "RLIM" : "MSANTOS";
            const QVariant verifiedBy = r.state == State::Pending ? Null() : QVariant(supervisor);
            const QVariant verifiedDate = verifiedBy.isNull() ? Null() : QVariant(At(saved.addSecs(2 * 3600)));
            QVariant status, processDate, processBy;
            if (r.state == State::Processed) {
                status = "P";
                processDate = At(saved.addDays(1));
                processBy = "STOREKEEPER";
            } else if (r.state == State::Cancelled) {
                status = "D";
                processDate = At(saved.addSecs(3 * 3600));
                processBy = r.user;
            }
            const int lines = random.Between(2, 5);
            QSet<QString> taken;
            while (taken.size() < lines) {
                const CentralStock& stock = requestable[random.Between(0, int(requestable.size()) - 1)];
                if (taken.contains(stock.itemId))
                    continue;
                taken << stock.itemId;
                const int quantity = random.Between(1, 10) * (stock.tablets ? 10 : 1);
                rows.Add({QString::number(n + 1), stock.itemId, quantity, stock.averageCost,
                          random.Between(1, 4) == 1 ? "Y" : "N", stock.ads && random.Between(0, 1) == 1 ? 1 : 0,
                          kCentralSupply, r.from, At(saved), r.user, r.remarks, verifiedBy, verifiedDate, status,
                          processDate, processBy});
            }
        }
    }

    static QString At(const QDateTime& moment) { return moment.toString(db::kEmbeddedDateTimeFormat); }

    db::Connection& connection_;
    QDate today_;
    demo::ItemCatalog catalog_;
    QVector<CentralStock> central_;
};

} // namespace

void BuildDemoData(db::Connection& connection, const QDate& today)
{
    DemoBuilder(connection, today).Build();
}

} // namespace admin
