#pragma once

#include "records/Record.h"

#include <QString>

namespace records {

// One row of the location table: a department, store or ward that holds
// stock.
class clsLocation : public Record {
public:
    explicit clsLocation(RecordServices services);

    bool AllowedForPO = false;      // kept by the reset
    qint16 isDispensingArea = 0;
    qint16 IsWareHouse = 0;
    QString Status;
    QString Code;
    QString Description;

    // Reads the row on every call, also for the code already loaded or a
    // blank one: true when it was found. Failures raise the record error.
    bool LoadLocation(const QString& LocationID);
    // Updates the row of Code, or inserts the location under the next free
    // ID (Code keeps its value). A failure is shown, then raised.
    bool Update();

private:
    void Reset() override;
    void Fill(const RowReader& row) override;
};

} // namespace records
