#include "app/HospitalInfo.h"

#include "base/Errors.h"
#include "app/SessionContext.h"
#include "base/Texts.h"
#include "db/Connection.h"
#include "db/DbError.h"
#include "db/Quote.h"

namespace app {

bool IsSwitchOn(db::Connection& connection, const QString& idkey)
{
    const db::RowSet rows =
        connection.Execute("Select KeyValue from Inventory..tbPharmaSwitch where idkey = " + db::Quote(idkey));
    if (rows.IsEmpty())
        return false;
    return rows.Field(QStringLiteral("KeyValue")).toBool();
}

QDateTime ServerTime(db::Connection& connection)
{
    return connection.Execute(QStringLiteral("Select GetDate() as CurDate")).Field(QStringLiteral("CurDate")).toDateTime();
}

bool LoadHospitalInfo(SessionContext& session, db::Connection& connection)
{
    const db::RowSet rows =
        connection.Execute(QStringLiteral("Select *, GetDate() as CurDate From Inventory..tbHospitalInfo"));
    if (rows.IsEmpty())
        return false;
    const QString empty;
    session.HospitalCompany = base::NullToDefault(rows.Field(QStringLiteral("Company")), empty).toString();
    session.HospitalAddress = base::NullToDefault(rows.Field(QStringLiteral("Address1")), empty).toString();
    session.ServerDate = base::FormatDateTime(rows.Field(QStringLiteral("CurDate")).toDateTime());

    // A null site code or zero-on-hand setting is a broken hospital record:
    // like any other database failure at start-up it ends the program with
    // its description.
    const QVariant clientName = rows.Field(QStringLiteral("ClientName"));
    const QVariant refuseZero = rows.Field(QStringLiteral("AllowWDZeroOnHand"));
    if (clientName.isNull() || refuseZero.isNull())
        throw db::DbError(QStringLiteral("Invalid use of Null"));
    session.ClientCode = clientName.toString();
    session.RefuseZeroOnHand = refuseZero.toBool();

    if (IsSwitchOn(connection, QStringLiteral("2")))
        session.TypedRequestNumber =
            base::NullToDefault(rows.Field(QStringLiteral("isAutoWithdrawRequestNumber")), false).toBool();
    return true;
}

} // namespace app
