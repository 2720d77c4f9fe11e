#include "locations/LocationServices.h"

#include "base/Errors.h"
#include "db/Connection.h"
#include "db/DbError.h"
#include "db/Quote.h"
#include "forms/Picker.h"
#include "forms/Prompts.h"

namespace locations {

namespace {

const QString kSelectLocations = QStringLiteral("Select Location, LocationID From INVENTORY..tbInvLocation Where ");
const QString kActive = QStringLiteral("( Not Status = 'I' or Status is Null ) ORDER BY Location");

// A flag column "equals 0" only when it holds 0: a null never does.
bool IsZero(const QVariant& value)
{
    return !value.isNull() && value.toInt() == 0;
}

bool RightAdmits(const QString& rightCode, const QString& inventoryType)
{
    if (rightCode.isEmpty())
        return false;
    return inventoryType.isEmpty() || rightCode == QLatin1String("A")
           || inventoryType.contains(rightCode, Qt::CaseSensitive);
}

} // namespace

QString LocationListStatement(const LocationListFlags& flags, const QString& employeeId)
{
    if (flags.userLocations)
        return "INVENTORY..sp_Inv_UserLocation " + db::Quote(employeeId);
    if (flags.nonWarehouse && flags.nonDispensing)
        return kSelectLocations + "( isWarehouse = 0 or isDispensingArea = 0 ) AND " + kActive;
    if (flags.nonWarehouse)
        return kSelectLocations + "isWarehouse = 0 AND " + kActive;
    if (flags.nonDispensing)
        return kSelectLocations + "isDispensingArea = 0 AND " + kActive;
    if (flags.orderable)
        return kSelectLocations + "AllowOrder = 1 AND " + kActive;
    return kSelectLocations + "Not Status = 'I' or Status is Null  ORDER BY Location";
}

void LoadLocation(forms::Picker& picker, const LocationListFlags& flags, db::Connection& connection,
                  forms::Prompts& prompts, const QString& employeeId, const QString& defaultLocationId)
{
    try {
        picker.SetTag(QString());
        const db::RowSet rows = connection.Execute(LocationListStatement(flags, employeeId));
        if (!rows.IsEmpty()) {
            QList<forms::PickerRow> list;
            const int name = rows.ColumnIndex(QStringLiteral("Location"));
            const int id = rows.ColumnIndex(QStringLiteral("LocationID"));
            for (const db::RowSet::Row& row : rows.Rows())
                list << forms::PickerRow{row.value(name).toString(), id < 0 ? QString() : row.value(id).toString()};
            picker.SetRows(list);
        }
        if (!flags.selectDefault)
            return;
        const db::RowSet chosen = connection.Execute(
            "Select Location From INVENTORY..tbInvLocation Where LocationID = " + db::Quote(defaultLocationId));
        if (chosen.IsEmpty())
            return;
        picker.SetText(base::NullToDefault(chosen.Field(QStringLiteral("Location")), QString()).toString());
        picker.SetTag(defaultLocationId);
    } catch (const db::DbError& e) {
        prompts.Tell("Called from: Sub LoadLocation -" + e.Description());
    }
}

ValidatedLocation ValidateLocation(db::Connection& connection, forms::Prompts& prompts, const QString& rightCode,
                                   const QString& name, bool checkRights)
{
    ValidatedLocation result;
    try {
        const db::RowSet rows =
            connection.Execute("Select * From INVENTORY..tbInvLocation Where Location = " + db::Quote(name));
        if (rows.IsEmpty())
            return result;
        result.locationId = base::NullToDefault(rows.Field(QStringLiteral("LocationID")), QString()).toString();
        const QString inventoryType =
            base::NullToDefault(rows.Field(QStringLiteral("InventoryType")), QString()).toString();
        result.notStoreAndDispensing =
            IsZero(rows.Field(QStringLiteral("IsWareHouse"))) || IsZero(rows.Field(QStringLiteral("isDispensingArea")));
        if (checkRights && !RightAdmits(rightCode, inventoryType)) {
            result.locationId.clear();
            prompts.Tell(QStringLiteral("Unauthorized Access..."));
            return result;
        }
        result.valid = true;
        return result;
    } catch (const db::DbError& e) {
        prompts.Tell(e.Description());
        return ValidatedLocation{};
    }
}

QString GetItemIDByBarcode(db::Connection& connection, const QString& code)
{
    if (code.isEmpty())
        return code;
    const db::RowSet rows =
        connection.Execute("Select ItemID from INVENTORY..tbInvMaster Where Barcode = " + db::Quote(code));
    if (rows.IsEmpty())
        return code;
    return base::NullToDefault(rows.Field(QStringLiteral("ItemID")), QString()).toString();
}

} // namespace locations
