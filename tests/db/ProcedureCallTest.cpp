#include "db/DbError.h"
#include "db/ProcedureCall.h"

#include <gtest/gtest.h>

using db::ParseProcedureCall;

TEST(ProcedureCall, ReadsNameAndArgumentsOfEveryCallForm)
{
    const struct {
        const char* statement;
        const char* qualifier;
        const char* name;
        QStringList arguments;
    } cases[] = {
        {"INVENTORY..sp_Inv_UserLocation 'ANNA'", "INVENTORY", "sp_Inv_UserLocation", {"ANNA"}},
        {"Inventory..sp_Inv_SearchItem_In_Invent 'P0001','94'", "Inventory", "sp_Inv_SearchItem_In_Invent", {"P0001", "94"}},
        {"Inventory..sp_Inv_LoadWithdrawalRequest 'NEW'", "Inventory", "sp_Inv_LoadWithdrawalRequest", {"NEW"}},
        {"Inventory..sp_Inv_KitofItems K1", "Inventory", "sp_Inv_KitofItems", {"K1"}},
        {"Inventory..sp_Inv_KitofItems_PerItem K1,P0002", "Inventory", "sp_Inv_KitofItems_PerItem", {"K1", "P0002"}},
        {"Inventory.dbo.sp_X  'a' , 12 ", "Inventory", "sp_X", {"a", "12"}},
        {"exec sp_X 'O''Brien', -3", "", "sp_X", {"O'Brien", "-3"}},
        {"EXECUTE Password..sp_Y", "Password", "sp_Y", {}},
        {"exec dbo.sp_X 1", "dbo", "sp_X", {"1"}},
        {"[Password]..sp_Y;", "Password", "sp_Y", {}},
        {"sp_Z ''", "", "sp_Z", {""}},
        {"Inventory..sp_X 7,'b' ", "Inventory", "sp_X", {"7", "b"}},
        {"sp_X 'a', K1", "", "sp_X", {"a", "K1"}},
        {"sp_X 'a', 1.5", "", "sp_X", {"a", "1.5"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.statement);
        const auto call = ParseProcedureCall(c.statement);
        ASSERT_TRUE(call.has_value());
        EXPECT_EQ(call->qualifier.toStdString(), c.qualifier);
        EXPECT_EQ(call->name.toStdString(), c.name);
        EXPECT_EQ(call->arguments.join('|').toStdString(), c.arguments.join('|').toStdString());
    }
}

TEST(ProcedureCall, ACallWithArgumentsTheServerRefusesRunsNothing)
{
    const struct {
        const char* statement;
        const char* error;
    } cases[] = {
        {"Inventory..sp_Inv_KitofItems 'K1", "Unclosed quotation mark after the character string 'K1'."},
        {"Inventory..sp_Inv_KitofItems 'K1''", "Unclosed quotation mark after the character string 'K1'''."},
        {"Inventory..sp_Inv_KitofItems @kit", "Must declare the scalar variable \"@kit\"."},
    };
    for (const auto& c : cases) {
        try {
            ParseProcedureCall(c.statement);
            ADD_FAILURE() << c.statement;
        } catch (const db::DbError& e) {
            EXPECT_EQ(e.Description().toStdString(), c.error);
        }
    }
}

TEST(ProcedureCall, OrdinaryStatementsAreNoCalls)
{
    const char* statements[] = {
        "Select * From Inventory..tbInvLocation",
        "Delete Inventory..tbInvWithdrawRequest Where DocumentNumber = '1'",
        "Insert Inventory..tbInvKit (KitID) Values ('K')",
        "Update Inventory..tbInvMaster Set ItemName = 'X'",
        " Select C.GenericID From tbforGeneric C",
        "sp_X 'a' 'b'",
        "sp_X (1)",
        "Inventory .sp_X 'a'",
        "",
    };
    for (const char* statement : statements)
        EXPECT_FALSE(ParseProcedureCall(statement).has_value()) << statement;
}
