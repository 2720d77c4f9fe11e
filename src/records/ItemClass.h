#pragma once

#include "records/Record.h"

#include <QString>

namespace records {

// One item classification: a one-letter code (by convention) and a name.
class clsItemClass : public Record {
public:
    explicit clsItemClass(RecordServices services);

    QString Status;
    QString Code;
    QString Description;

    // Loads the classification: true when loaded, when the code is the
    // loaded one or blank (the record is reset). Failures raise the record
    // error.
    bool LoadItemClass(const QString& ItemClassificationID);
    // Updates the row of Code, or inserts it: under Code as it stands, or,
    // when Code is blank or "New", under the letter after the highest
    // stored code's first letter, which then becomes Code. Failures raise
    // the record error.
    bool Update();

private:
    void Reset() override;
    void Fill(const RowReader& row) override;
};

} // namespace records
