#include "records/Generic.h"

#include "db/Quote.h"

namespace records {

clsGeneric::clsGeneric(RecordServices services) : Record(services, QStringLiteral("clsGeneric"))
{
    Reset();
}

void clsGeneric::Reset()
{
    classification_.clear();
    genericName_.clear();
    genericID_.clear();
}

void clsGeneric::Fill(const RowReader& row)
{
    genericID_ = row.Text("GenericID", QString());
    genericName_ = row.Text("GenericName", QString());
    classification_ = row.Text("ClassificationName", QString());
}

// The classification is the node whose key is the generic's node key up to
// its first point (or its first character when it has none). The tables are
// named without their database: the connection's own.
bool clsGeneric::LoadGeneric(const QString& id)
{
    return Raising(u"LoadGeneric", MemberKind::Method, [&] {
        return LoadRow(QStringLiteral(" Select C.GenericID, C.GenericName, D.ClassificationName ")
                       + QStringLiteral(" From tbforGeneric C Left Outer Join ")
                       + QStringLiteral(" tbforClassification D ON SubString(C.Node_Key,1,Case When "
                                        "PatIndex('%.%',C.Node_Key) = 0 Then 1 Else PatIndex('%.%',C.Node_Key) -1 End ) "
                                        "= D.Node_Key ")
                       + QStringLiteral(" Where C.GenericID = ") + db::Quote(id));
    });
}

} // namespace records
