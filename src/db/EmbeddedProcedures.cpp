#include "db/EmbeddedProcedures.h"

#include "db/procedures/Procedures.h"

#include <array>
#include <utility>

namespace db {

namespace {

struct NamedProcedure {
    QString name;
    EmbeddedProcedure procedure;
};

const std::array<NamedProcedure, 5>& Procedures()
{
    static const std::array<NamedProcedure, 5> table{{
        {QStringLiteral("sp_Inv_UserLocation"), procedures::UserLocation},
        {QStringLiteral("sp_Inv_SearchItem_In_Invent"), procedures::SearchItemInInvent},
        {QStringLiteral("sp_Inv_LoadWithdrawalRequest"), procedures::LoadWithdrawalRequest},
        {QStringLiteral("sp_Inv_KitofItems"), procedures::KitOfItems},
        {QStringLiteral("sp_Inv_KitofItems_PerItem"), procedures::KitOfItemsPerItem},
    }};
    return table;
}

} // namespace

const EmbeddedProcedure* FindEmbeddedProcedure(const QString& name)
{
    for (const NamedProcedure& entry : Procedures())
        if (entry.name.compare(name, Qt::CaseInsensitive) == 0)
            return &entry.procedure;
    return nullptr;
}

} // namespace db
