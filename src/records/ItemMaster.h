#pragma once

#include "app/Texts.h"
#include "records/Record.h"

#include <QString>

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
    app::Money AverageCost;
    QString EndorseMedicine;
    QString BarCode;
    qint16 VAT = 0;
    qint16 Packing = 0;
    qint16 ItemStatus = 0;
    double SalesTax = 0;
    double Freight = 0;
    app::Money ListCost;
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

private:
    void Reset() override;
    void Fill(const RowReader& row) override;

    // The codes of the rows this item refers to, from which its supplier,
    // classification, unit of measure, generic name and manufacturer
    // sub-records are loaded.
    QString supplierCode_;
    QString classificationCode_;
    qint16 unitOfMeasureCode_ = 0;
    QString genericCode_;
    QString manufacturerCode_;
};

} // namespace records
