#include "db/DbError.h"
#include "db/procedures/Procedures.h"

namespace db::procedures {

void RequireArguments(const QString& procedure, const QStringList& arguments, const QStringList& parameters)
{
    if (arguments.size() < parameters.size())
        throw DbError(QStringLiteral("Procedure or function '%1' expects parameter '%2', which was not supplied.")
                          .arg(procedure, parameters.at(arguments.size())));
    if (arguments.size() > parameters.size())
        throw DbError(QStringLiteral("Procedure or function %1 has too many arguments specified.").arg(procedure));
}

} // namespace db::procedures
