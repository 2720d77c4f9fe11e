#pragma once

#include "records/Record.h"

#include <QString>

namespace records {

// A generic drug name with its therapeutic classification; read only.
class clsGeneric : public Record {
public:
    explicit clsGeneric(RecordServices services);

    const QString& Classification() const { return classification_; }
    const QString& GenericName() const { return genericName_; }
    const QString& GenericID() const { return genericID_; }

    // Reads the generic on every call (also for the loaded or a blank
    // code): true when its row was found. Failures raise the record error.
    bool LoadGeneric(const QString& GenericID);

private:
    void Reset() override;
    void Fill(const RowReader& row) override;

    QString classification_;
    QString genericName_;
    QString genericID_;
};

} // namespace records
