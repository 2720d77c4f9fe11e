#include "db/TsqlTranslator.h"

// Placeholder until the token-stream translation lands: statements pass unchanged.
namespace db {

TsqlTranslator::TsqlTranslator(const Catalog& catalog) : catalog_(catalog) {}

const Translation& TsqlTranslator::Translate(const QString& statement)
{
    auto it = cache_.find(statement);
    if (it == cache_.end())
        it = cache_.insert(statement, TranslateUncached(statement));
    return it.value();
}

Translation TsqlTranslator::TranslateUncached(const QString& statement) const
{
    return {statement, {}};
}

std::optional<ProcedureCall> TsqlTranslator::ParseProcedureCall(const QString&)
{
    return std::nullopt;
}

void RegisterSqliteFunctions(sqlite3*) {}

} // namespace db
