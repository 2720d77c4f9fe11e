#include "records/UnitOfMeasure.h"

#include "db/Quote.h"

namespace records {

clsUnitOfMeasure::clsUnitOfMeasure(RecordServices services) : Record(services, QStringLiteral("clsUnitOfMeasure"))
{
    Reset();
}

void clsUnitOfMeasure::Reset()
{
    Status.clear();
    Description.clear();
    Code = 0;
}

void clsUnitOfMeasure::Fill(const RowReader& row)
{
    Code = row.Int16("UnitOfMeasureID");
    Description = row.Text("UnitOfMeasure", QString());
    Status = row.Text("Status", QString());
}

bool clsUnitOfMeasure::LoadUOM(qint16 UnitOfMeasureID)
{
    return Raising(u"LoadUOM", MemberKind::Method, [&] {
        return LoadByKey(UnitOfMeasureID, Code,
                         "Select * From INVENTORY..tbInvUnitOfMeasure Where UnitOfMeasureID = "
                             + QString::number(UnitOfMeasureID));
    });
}

bool clsUnitOfMeasure::Update()
{
    return Raising(u"Update", MemberKind::Method, [&] {
        const QString code = QString::number(Code);
        return InsertOrUpdate({
            .existing = "Select UnitOfMeasureID From INVENTORY..tbInvUnitOfMeasure Where UnitOfMeasureID = " + code,
            .update = [&] {
                return "Update INVENTORY..tbInvUnitOfMeasure Set UnitOfMeasure = " + db::Quote(Description)
                       + ", Status = " + db::Quote(Status) + " Where UnitOfMeasureID = " + code;
            },
            .newCode = [](db::Connection& connection) {
                return NextInt16Code(
                    connection, QStringLiteral("Select Max( UnitOfMeasureID ) + 1 As NewCode From INVENTORY..tbInvUnitOfMeasure "));
            },
            .insert = [&](const QString& newCode) {
                return "Insert Into INVENTORY..tbInvUnitOfMeasure ( UnitOfMeasureID, UnitOfMeasure, Status ) Values ("
                       + newCode + " ," + db::Quote(Description) + "," + db::Quote(Status) + ")";
            },
        });
    });
}

bool clsUnitOfMeasure::SearchUOM(const QString& UOMID)
{
    return SearchWith([&] { return Services().lookups.PickReference(UOMID, Lookups::Reference::UnitOfMeasure); },
        [&](const QString& code) { return LoadUOM(LeadingInt16(code)); });
}

} // namespace records
