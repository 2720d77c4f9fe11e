#pragma once

#include "db/Catalog.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <optional>

struct sqlite3;

namespace db {

// What the embedded backend runs for one statement of the program.
struct Translation {
    QString sql;
    // Planned for the first rows with a membership list: the plan for a
    // short list and the query counting the list (see FirstRowsPlan.h).
    QString shortListSql;
    QString listCountSql;
    // Result columns (lower-case names) whose values are date-times, beyond
    // the date-time columns that the catalog names.
    QSet<QString> dateTimeColumns;
};

// A stored-procedure call sent as plain text, such as
// "INVENTORY..sp_Inv_UserLocation 'ANNA'" or "Inventory..sp_Inv_KitofItems_PerItem K1,P2".
struct ProcedureCall {
    QString name;            // without database and owner
    QStringList arguments;   // quoted arguments unquoted, bare ones as written
};

// What a statement is planned for: its whole result, or its first rows
// (a cursor that a grid reads a screenful at a time).
enum class Plan { AllRows, FirstRows };

// Turns the program's T-SQL statements into SQLite statements by rewriting
// the token stream, asking the catalog which columns hold text and
// date-times. Translations are cached by statement text.
class TsqlTranslator {
public:
    explicit TsqlTranslator(const Catalog& catalog = Catalog::Instance());

    // Throws DbError for a statement it cannot translate.
    const Translation& Translate(const QString& statement, Plan plan = Plan::AllRows);

    // The call when the statement is a stored-procedure call, else nothing.
    static std::optional<ProcedureCall> ParseProcedureCall(const QString& statement);

private:
    Translation TranslateUncached(const QString& statement, Plan plan) const;

    const Catalog& catalog_;
    // One cache per plan.
    QHash<QString, Translation> cache_[2];
};

// Registers on an open SQLite handle the functions that translated
// statements call (strict integer conversion, PATINDEX and the like).
void RegisterSqliteFunctions(sqlite3* handle);

} // namespace db
