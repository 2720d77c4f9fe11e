#pragma once

#include "base/Texts.h"
#include "records/Generic.h"
#include "records/ItemClass.h"
#include "records/Record.h"
#include "records/Supplier.h"
#include "records/UnitOfMeasure.h"

#include <QString>
#include <memory>

namespace records {

// One row of the inventory master file: the item's code, names, costs,
// markups, packing, medical flags and the codes of the rows it refers to.
class clsItemMaster : public Record {
public:
    explicit clsItemMaster(RecordServices services);

    // Kept by the reset.
    QString GLCode;
    qint16 ByProduct = 0;       // not read from the row
    bool WithMedicare = false;  // not read from the row
    QString MedicareType;
    QString MedicareCategory;
    bool WithLotNumber = false;
    bool SeniorCitizenDiscount = false;
    QString ItemClassTag;       // not read from the row

    // Reset by the reset.
    base::Money AverageCost;
    QString EndorseMedicine;
    QString BarCode;
    qint16 VAT = 0;
    qint16 Packing = 0;
    qint16 ItemStatus = 0;
    double SalesTax = 0;
    double Freight = 0;
    base::Money ListCost;
    double DownTime = 0;
    qint16 MarkupOut = 0;
    qint16 MarkupIn = 0;
    QString ItemDesc;
    QString ItemName;
    QString ItemID;

    // Loads the item's row: true when it was loaded, when the code is the
    // loaded one (nothing is read) or when it is blank (the record is reset).
    // Failures raise the record error; members filled so far keep their
    // new values.
    bool LoadItem(const QString& ItemID);
    // Lets the user pick an item of the whole master file in the product
    // search and loads it: true when one was picked and loaded.
    bool SearchItem(const QString& lstrItemCode);

    // The rows this item refers to, each loaded by the loaded row's code on
    // the first read (a code without a row gives a reset record) and kept
    // until another item is loaded. The supplier's and the classification's
    // get raise the record error when their load fails; the others pass the
    // failure on.
    std::shared_ptr<clsSupplier> Supplier();
    void Supplier(std::shared_ptr<clsSupplier> record) { supplier_.Set(std::move(record)); }
    std::shared_ptr<clsItemClass> ItemClass();
    void ItemClass(std::shared_ptr<clsItemClass> record) { itemClass_.Set(std::move(record)); }
    std::shared_ptr<clsUnitOfMeasure> UnitOfMeasure();
    void UnitOfMeasure(std::shared_ptr<clsUnitOfMeasure> record) { unitOfMeasure_.Set(std::move(record)); }
    std::shared_ptr<clsGeneric> Generic();
    void Generic(std::shared_ptr<clsGeneric> record) { generic_.Set(std::move(record)); }
    std::shared_ptr<clsSupplier> Manufacturer();
    void Manufacturer(std::shared_ptr<clsSupplier> record) { manufacturer_.Set(std::move(record)); }

    // Updates the row of ItemID, or inserts the item under a new code (the
    // highest stored code with its letters P removed, plus one), which then
    // becomes ItemID. Needs the Supplier, ItemClass, UnitOfMeasure and
    // Manufacturer sub-records set or read. A failure is shown, then raised
    // with the description in front of the source text.
    bool Update();

private:
    void Reset() override;
    void Fill(const RowReader& row) override;
    // The sub-records' codes that Update writes, read in this order; a
    // sub-record never set nor read fails.
    struct WrittenCodes {
        QString supplier;
        QString classification;
        QString unit;          // through its pattern
        QString manufacturer;  // trimmed
    };
    WrittenCodes CodesToWrite() const;
    QString InsertStatement(const WrittenCodes& codes) const;
    QString UpdateStatement(const WrittenCodes& codes) const;

    // The codes of the rows this item refers to, from which its supplier,
    // classification, unit of measure, generic name and manufacturer
    // sub-records are loaded.
    QString supplierCode_;
    QString classificationCode_;
    qint16 unitOfMeasureCode_ = 0;
    QString genericCode_;
    QString manufacturerCode_;

    SubRecord<clsSupplier> supplier_{*this};
    SubRecord<clsItemClass> itemClass_{*this};
    SubRecord<clsUnitOfMeasure> unitOfMeasure_{*this};
    SubRecord<clsGeneric> generic_{*this};
    SubRecord<clsSupplier> manufacturer_{*this};
};

} // namespace records
