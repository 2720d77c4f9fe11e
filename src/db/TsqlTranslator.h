#pragma once

#include "db/Catalog.h"
#include "db/TsqlTokenizer.h"

#include <QHash>
#include <QSet>
#include <QString>

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
    // Of a shape's lifted literals (0-based), those that stand for
    // date-times: their texts are bound in the stored form.
    QSet<int> dateParameters;
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

    // Throws DbError for a statement it cannot translate, and for one whose
    // meaning would change on its way to SQLite (see SyntaxError), in the
    // server's words.
    const Translation& Translate(const QString& statement, Plan plan = Plan::AllRows);
    // The translation of a statement's shape (StatementShape.h); each lifted
    // literal n is SQLite's parameter ?n.
    const Translation& TranslateShape(const QString& shape, Plan plan = Plan::AllRows);

private:
    enum CacheKind { kAllRows, kFirstRows, kShapes, kFirstRowsShapes, kCacheKinds };
    const Translation& Cached(CacheKind kind, const QString& text, Plan plan, TokenizeMode mode);

    const Catalog& catalog_;
    QHash<QString, Translation> cache_[kCacheKinds];
};

} // namespace db
