#include "records/ItemClass.h"

#include "db/DbError.h"
#include "db/Quote.h"

namespace records {

namespace {

bool AsksForANewCode(const QString& code)
{
    return code.trimmed().isEmpty() || code == QLatin1String("New");
}

// The character after the first one of the highest stored code: after C
// comes D; "A" for a table without classifications.
QString NextLetterCode(db::Connection& connection)
{
    const db::RowSet next = connection.Execute(
        QStringLiteral("Select Max( ItemClassificationID ) As MaxCode From INVENTORY..tbInvClassification "));
    const QVariant highest = next.IsEmpty() ? QVariant() : next.Field(QStringLiteral("MaxCode"));
    const QString text = highest.isNull() ? QString() : ToText(highest);
    if (text.isEmpty())
        return QStringLiteral("A");
    if (text[0].unicode() == 0xFFFF)
        throw db::DbError(QStringLiteral("No classification code follows the highest one, '%1'.").arg(text));
    return QString(QChar(char16_t(text[0].unicode() + 1)));
}

} // namespace

clsItemClass::clsItemClass(RecordServices services) : Record(services, QStringLiteral("clsItemClass"))
{
    Reset();
}

void clsItemClass::Reset()
{
    Status.clear();
    Code.clear();
    Description.clear();
}

void clsItemClass::Fill(const RowReader& row)
{
    Description = row.Text("ItemClassificationName", QString());
    Code = row.Text("ItemClassificationID", QString());
    Status = row.Text("Status", QStringLiteral("A"));
}

bool clsItemClass::LoadItemClass(const QString& id)
{
    return Raising(u"LoadItemClass", MemberKind::Method, [&] {
        return LoadByKey(id, Code,
                         "Select * From INVENTORY..tbInvClassification Where ItemClassificationID = " + db::Quote(id));
    });
}

bool clsItemClass::Update()
{
    return Raising(u"Update", MemberKind::Method, [&] {
        return InsertOrUpdate({
            .existing = "Select * From INVENTORY..tbInvClassification Where ItemClassificationID = " + db::Quote(Code),
            .update = [&] {
                return "Update INVENTORY..tbInvClassification Set ItemClassificationName = " + db::Quote(Description)
                       + ", Status = " + db::Quote(Status) + " Where ItemClassificationID = " + db::Quote(Code);
            },
            // A code given to the object that is not stored yet is kept.
            .newCode = [&](db::Connection& connection) {
                return AsksForANewCode(Code) ? NextLetterCode(connection) : Code;
            },
            .insert = [&](const QString& newCode) {
                Code = newCode;
                return "Insert Into INVENTORY..tbInvClassification (ItemClassificationID,ItemClassificationName, "
                       "Status ) Values ("
                       + db::Quote(Code) + "," + db::Quote(Description) + "," + db::Quote(Status) + ")";
            },
        });
    });
}

} // namespace records
