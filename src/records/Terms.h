#pragma once

#include "records/Record.h"

#include <QString>

namespace records {

// One row of the payment terms table: a description and a number of days.
class clsTerms : public Record {
public:
    explicit clsTerms(RecordServices services);

    QString Status;
    qint16 Code = 0;
    qint16 NumberOfDays = 0;
    QString Description;

    // Loads the terms with this code, or else the first with this
    // description: true when loaded, when the code is the loaded one or 0
    // (the record is reset). Failures raise the record error.
    bool LoadTerms(qint16 TermsID, const QString& TermDesc);
    // Updates the row of Code, or inserts the terms under the next code
    // (Code keeps its value). Failures raise the record error.
    bool Update();
    // Lets the user pick terms in the reference lookup and loads them.
    bool SearchTerms(const QString& TermsID);

private:
    void Reset() override;
    void Fill(const RowReader& row) override;
};

} // namespace records
