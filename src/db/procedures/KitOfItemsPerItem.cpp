#include "db/SqliteConnection.h"
#include "db/procedures/Procedures.h"

namespace db::procedures {

// One component of a kit. Given the kit's own code as the component (the
// picker closed without a pick) it returns no row, unless the kit lists
// itself.
RowSet KitOfItemsPerItem(SqliteConnection& connection, const QStringList& arguments)
{
    RequireArguments(QStringLiteral("sp_Inv_KitofItems_PerItem"), arguments,
                     {QStringLiteral("@ItemID"), QStringLiteral("@ComponentID")});
    return KitComponents(connection, arguments.at(0), arguments.at(1));
}

} // namespace db::procedures
