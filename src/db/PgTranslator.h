#pragma once

#include <QHash>
#include <QString>

namespace db {

// Turns the program's T-SQL statements into PostgreSQL statements by
// rewriting the token stream. The database keeps each of the program's
// databases in a schema of its own (INVENTORY..t is inventory.t) and
// provides what the rewrites lean on (see ServerSchema.h): text columns that
// compare without regard to case and trailing blanks, + joining texts, the
// server's conversions. Date texts in the program's month-first form need no
// rewrite: the session reads dates month first. Translations are cached by
// statement text.
class PgTranslator {
public:
    // Throws DbError for a statement it cannot translate. A stored-procedure
    // call becomes a select from the function of the same name.
    const QString& Translate(const QString& statement);

    static QString TranslateUncached(const QString& statement);

private:
    QHash<QString, QString> cache_;
};

} // namespace db
