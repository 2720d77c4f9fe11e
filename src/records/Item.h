#pragma once

#include "base/Texts.h"
#include "records/ItemMaster.h"
#include "records/Location.h"
#include "records/Record.h"

#include <QDateTime>
#include <QString>
#include <memory>

namespace records {

// One item of the master file at one location: its stock figures, prices
// and markups there, unit of measure and delivery history, with the item's
// master record and the location's record as sub-records. Loaded through
// the stock procedure on the current user's connection; the sub-records
// use ActiveConnection.
class clsItem : public Record {
public:
    explicit clsItem(RecordServices services);

    // Kept by the reset.
    double Floor = 0;
    double Ceiling = 0;
    qint16 Packing = 0;
    double LastDeliveryQty = 0;
    QDateTime LastDeliveryDate = base::ZeroDate();
    QString UOMDescription;
    qint16 UOM = 0;
    double ListCost = 0;
    QString EndDate;
    QString StartDate;
    bool MinimumOrAverageConsumption = false;
    double POMonthsToDeliver = 0;
    QString GLCode;
    bool IsFloor = false;
    bool IsCeiling = false;
    bool IsADSStock = false;
    double ADSStock = 0;

    // Reset by the reset.
    QDateTime ExpiryDate;
    QDateTime LastInventoryCount;
    double AveConsumption = 0;
    double MinimumStockLevel = 0;
    base::Money AverageCost;
    qint16 ItemStatus = 0;
    base::Money SellingPriceOut;
    base::Money SellingPriceIn;
    double OnOrder = 0;
    double OnHand = 0;
    double MaxStock = 0;
    base::Money NetAmount;
    qint16 MarkupOut = 0;
    qint16 MarkupIn = 0;
    QString ItemID;

    // The item's master record, loaded with ItemID on the first read.
    std::shared_ptr<clsItemMaster> ItemMaster();
    void ItemMaster(std::shared_ptr<clsItemMaster> record) { itemMaster_.Set(std::move(record)); }
    // The record of the loaded row's location, loaded on the first read; an
    // ID without a row gives a reset location.
    std::shared_ptr<clsLocation> Location();
    void Location(std::shared_ptr<clsLocation> record) { location_.Set(std::move(record)); }

    // Loads the item's stock row at the location: true when it was loaded,
    // when ItemID is the loaded item (nothing is read, whatever the location)
    // or when it is blank (the record is reset). False when no row was found,
    // or when the load failed: the failure is shown and the columns read
    // before the failing one keep their new values.
    bool LoadItem(const QString& ItemID, const QString& LocationID);
    // Lets the user pick an item in the product search limited to the
    // location and loads it there: true when one was picked and loaded.
    bool SearchItem(const QString& lstrItemCode, const QString& lstrLocationName, const QString& lstrLocationID);

private:
    void Reset() override;
    void Fill(const RowReader& row) override;
    db::Connection& LoadConnection() override;

    QString locationID_;  // the loaded row's location, the key of Location
    SubRecord<clsItemMaster> itemMaster_{*this};
    SubRecord<clsLocation> location_{*this};
};

} // namespace records
