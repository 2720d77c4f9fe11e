#pragma once

#include "records/Record.h"

#include <QString>

namespace records {

// One row of the unit of measure table.
class clsUnitOfMeasure : public Record {
public:
    explicit clsUnitOfMeasure(RecordServices services);

    QString Status;
    QString Description;
    qint16 Code = 0;

    // Loads the unit: true when loaded, when the code is the loaded one or
    // 0 (the record is reset). Failures raise the record error.
    bool LoadUOM(qint16 UnitOfMeasureID);
    // Updates the row of Code, or inserts the unit under the next code
    // (Code keeps its value). Failures raise the record error.
    bool Update();
    // Lets the user pick a unit in the reference lookup and loads it.
    bool SearchUOM(const QString& UOMID);

private:
    void Reset() override;
    void Fill(const RowReader& row) override;
};

} // namespace records
