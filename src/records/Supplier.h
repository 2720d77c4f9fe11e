#pragma once

#include "records/Record.h"
#include "records/Terms.h"

#include <QString>
#include <memory>

namespace records {

// One row of the supplier table: a supplier, also the manufacturer of an
// item, with its payment terms as a sub-record.
class clsSupplier : public Record {
public:
    explicit clsSupplier(RecordServices services);

    // Kept by the reset.
    QString ContactPerson;
    bool VATSupplier = false;
    bool FreeGoods = false;
    QString Status;

    // Reset by the reset.
    QString TelNum;
    QString Address3;
    QString Address2;
    QString Address1;
    QString SupplierType;
    QString SupplierName;
    QString SupplierID;

    // The supplier's payment terms, loaded by the row's terms code on the
    // first read; a code without a row gives reset terms.
    std::shared_ptr<clsTerms> Terms();
    void Terms(std::shared_ptr<clsTerms> record) { terms_.Set(std::move(record)); }

    // Loads the supplier: true when loaded, when the ID is the loaded one
    // or when it is blank (the record is reset). Failures raise the record
    // error.
    bool LoadSupplier(const QString& SupplierID);
    // Updates the row of SupplierID, or inserts the supplier under the next
    // free ID (SupplierID keeps its value). Needs the Terms sub-record set
    // or read. Failures raise the record error, the description after the
    // source text.
    bool Update();
    // Lets the user pick a supplier in the reference lookup and loads it.
    bool SearchSupplier(const QString& SupplierID);

private:
    void Reset() override;
    void Fill(const RowReader& row) override;

    qint16 termsCode_ = 0;
    SubRecord<clsTerms> terms_{*this};
};

} // namespace records
