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

const QVector<SiteSwitch>& SiteSwitches()
{
    static const QVector<SiteSwitch> switches{
        {QStringLiteral("2"), QStringLiteral("typed-numbers"), QStringLiteral("REQUEST NUMBER TYPED BY THE USER"),
         QStringLiteral("the hospital record's typed request numbers (--typed-numbers) apply; off: a new "
                        "request's number is given at save time")},
        {QStringLiteral("3"), QStringLiteral("consumption-only"), QStringLiteral("REQUESTS FOR CONSUMPTION ONLY"),
         QStringLiteral("request lines are for consumption: the retail option is disabled")},
        {QStringLiteral("4"), QStringLiteral("fixed-request-to"),
         QStringLiteral("REQUEST-TO LOCATION FIXED TO THE DEFAULT"),
         QStringLiteral("the Request to Location picker is disabled, so requests go to the default location (94)")},
        {QStringLiteral("5"), QStringLiteral("stock-limit"), QStringLiteral("QUANTITY LIMITED TO CURRENT STOCK"),
         QStringLiteral("a quantity above the current stock of the Request to Location is refused")},
    };
    return switches;
}

const SiteSwitch* FindSiteSwitch(const QString& keyOrName)
{
    for (const SiteSwitch& s : SiteSwitches())
        if (s.key == keyOrName.trimmed() || s.name.compare(keyOrName.trimmed(), Qt::CaseInsensitive) == 0)
            return &s;
    return nullptr;
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
