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

// A plain call is read without splitting it into tokens; after EXEC it is
// read from the tokens. Both readings agree on every shape of a plain call,
// and on what is no call or refused.
TEST(ProcedureCall, APlainCallReadsAsItsTokensRead)
{
    const char* statements[] = {
        "sp_X", "a.b", "a..b", "a.b.c", "_p 1", "Inventory..sp_X '','x y', 0012",
        "sp_X\t'a'\t,\t'b'", "sp_X 'a' , 'b' ", "sp_X 'a''b'", "sp_X 'a", "sp_X 1.5", "sp_X 1a",
        "sp_X 'a' 'b'", "sp_X 'a',", "sp_X ,'a'", "a. b", "a.", ".a", "1a 'x'", "sp_X 'a' -- c",
        "sp_X N'a'", "sp_X 'a'\n,'b'", "sp_X 'é'", "sp_é 'a'", "sp_X @v",
    };
    for (const char* statement : statements) {
        SCOPED_TRACE(statement);
        std::optional<db::ProcedureCall> plain;
        std::optional<db::ProcedureCall> tokens;
        std::string plainRefusal;
        std::string tokensRefusal;
        try {
            plain = ParseProcedureCall(QString::fromUtf8(statement));
        } catch (const db::DbError& e) {
            plainRefusal = e.Description().toStdString();
        }
        try {
            tokens = ParseProcedureCall(QStringLiteral("exec ") + QString::fromUtf8(statement));
        } catch (const db::DbError& e) {
            tokensRefusal = e.Description().toStdString();
        }
        EXPECT_EQ(plainRefusal, tokensRefusal);
        ASSERT_EQ(plain.has_value(), tokens.has_value());
        if (plain) {
            EXPECT_EQ(plain->qualifier.toStdString(), tokens->qualifier.toStdString());
            EXPECT_EQ(plain->name.toStdString(), tokens->name.toStdString());
            EXPECT_EQ(plain->arguments.join('|').toStdString(), tokens->arguments.join('|').toStdString());
        }
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
