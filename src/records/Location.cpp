#include "records/Location.h"

#include "base/Texts.h"
#include "db/Quote.h"

namespace records {

namespace {

QString SelectLocation(const QString& locationID)
{
    return "Select * From INVENTORY..tbInvLocation Where LocationID = " + db::Quote(locationID);
}

} // namespace

clsLocation::clsLocation(RecordServices services) : Record(services, QStringLiteral("clsLocation"))
{
    Reset();
}

void clsLocation::Reset()
{
    isDispensingArea = 1;
    IsWareHouse = 1;
    Status = QStringLiteral("A");
    Code.clear();
    Description.clear();
}

void clsLocation::Fill(const RowReader& row)
{
    Code = row.Text("LocationID", QString());
    Description = row.Text("Location", QString());
    Status = row.Text("Status", QStringLiteral("A"));
    IsWareHouse = row.Int16("IsWareHouse", 1);
    isDispensingArea = row.Int16("isDispensingArea", 1);
    AllowedForPO = row.Flag("AllowOrder", false);
}

bool clsLocation::LoadLocation(const QString& LocationID)
{
    return Raising(u"LoadLocation", MemberKind::Method, [&] { return LoadRow(SelectLocation(LocationID)); });
}

bool clsLocation::Update()
{
    return Raising(u"Update", MemberKind::Method, [&] {
        return InsertOrUpdate({
            .existing = SelectLocation(Code),
            .update = [&] {
                return "Update INVENTORY..tbInvLocation Set Location = " + db::Quote(Description)
                       + ", Status = " + db::Quote(Status) + ", isWarehouse = " + base::StrForm(IsWareHouse)
                       + ", isDispensingArea = " + base::StrForm(isDispensingArea)
                       + ", AllowOrder = " + TruthText(AllowedForPO) + " Where LocationID = " + db::Quote(Code);
            },
            .newCode = [](db::Connection& connection) {
                return NextWholeCode(connection,
                                     {QStringLiteral("Select Convert( VarChar(4),Max( Convert(Integer,LocationID ) ) + 1 ) "
                                                     "As NewLocationID From INVENTORY..tbInvLocation"),
                                      QStringLiteral("NewLocationID"),
                                      QStringLiteral("Select LocationID From INVENTORY..tbInvLocation"), QString()});
            },
            // The stored name gets a blank in front of the description.
            .insert = [&](const QString& newID) {
                return "Insert Into INVENTORY..tbInvLocation (LocationId, Location, Status, IsWareHouse, "
                       "isDispensingArea, AllowOrder ) Values ("
                       + db::Quote(newID) + "," + db::Quote(" " + Description) + "," + db::Quote(Status) + ","
                       + base::StrForm(IsWareHouse) + "," + base::StrForm(isDispensingArea) + ","
                       + TruthText(AllowedForPO) + ")";
            },
        });
    }, OnFailure::TellThenRaise);
}

} // namespace records
