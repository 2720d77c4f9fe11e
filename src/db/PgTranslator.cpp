#include "db/PgTranslator.h"

#include "db/DbError.h"
#include "db/ProcedureCall.h"
#include "db/ServerSchema.h"
#include "db/Quote.h"
#include "db/TsqlRewrites.h"
#include "db/TsqlTokenizer.h"
#include "db/procedures/Procedures.h"

namespace db {

namespace {

constexpr int kCacheLimit = 4000;

// A name as PostgreSQL reads it when it is written bare: folded to lower
// case, so that the program's names in any case find the schema's.
QString Quoted(const QString& name)
{
    QString text = name;
    text.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + text + QLatin1Char('"');
}

class PgRewriter {
public:
    explicit PgRewriter(Tokens tokens) : t_(std::move(tokens)) {}

    QString Run()
    {
        DropUnicodePrefixes(t_);
        RewriteQualifiers();
        AddMissingFromAndInto(t_);
        MoveTopToLimit(t_);
        RewriteFunctions();
        QuoteAliasesAndBrackets();
        return JoinTokens(t_);
    }

private:
    // INVENTORY..t and INVENTORY.dbo.t are inventory.t, Password..t is
    // password.t; any other database, and dbo.t, is left to the search path.
    void RewriteQualifiers()
    {
        for (int i = 0; i < t_.size(); ++i) {
            const int length = QualifierLength(t_, i);
            if (length == 0)
                continue;
            const QString schema = length > 2 ? PgSchemaOfDatabase(NameValue(t_[i])) : QString();
            if (schema.isEmpty()) {
                t_[i + length].leading = t_[i].leading;
                t_.remove(i, length);
            } else {
                t_[i] = Word(schema, t_[i].leading);
                t_.remove(i + 2, length - 2);
            }
        }
    }

    void RewriteFunctions()
    {
        for (int i = 0; i + 1 < t_.size(); ++i) {
            if (t_[i].kind != TokenKind::Word || !t_[i + 1].IsPunct('(') || !t_[i + 1].leading.isEmpty())
                continue;
            const QString name = t_[i].text.toLower();
            if (name == QLatin1String("getdate") && i + 2 < t_.size() && t_[i + 2].IsPunct(')')) {
                t_[i] = Word(QStringLiteral("LOCALTIMESTAMP"), t_[i].leading);
                t_.remove(i + 1, 2);
            } else if (name == QLatin1String("isnull")) {
                t_[i].text = QStringLiteral("coalesce");
            } else if (name == QLatin1String("substring")) {
                t_[i].text = QStringLiteral("substr");
            } else if (name == QLatin1String("len")) {
                t_[i].text = QStringLiteral("tessary.tsql_len");
            } else if (name == QLatin1String("patindex")) {
                t_[i].text = QStringLiteral("tessary.tsql_patindex");
            } else if (name == QLatin1String("replace")) {
                t_[i].text = QStringLiteral("tessary.tsql_replace");
            } else if (name == QLatin1String("convert") || name == QLatin1String("cast")) {
                // The server's conversions to int and to varchar refuse and
                // write numbers as it does; the schema's functions do the same.
                RewriteConversion(t_, i, {QStringLiteral("tessary.tsql_int"), QStringLiteral("tessary.tsql_varchar"),
                                          QStringLiteral("double precision"), QStringLiteral("30")});
            }
        }
    }

    // [a name] becomes "a name"; a column alias keeps its case ("Code", not
    // code), since the program and its grids show what it named. Aliases are
    // quoted in select lists only: a table alias is written bare where it is
    // used.
    void QuoteAliasesAndBrackets()
    {
        QVector<bool> inSelectList{false};
        for (int i = 0; i < t_.size(); ++i) {
            Token& t = t_[i];
            if (t.IsPunct('(')) {
                inSelectList << false;
            } else if (t.IsPunct(')')) {
                if (inSelectList.size() > 1)
                    inSelectList.removeLast();
            } else if (t.IsWord(QLatin1String("select"))) {
                inSelectList.last() = true;
            } else if (t.IsWord(QLatin1String("from")) || t.IsWord(QLatin1String("into"))) {
                inSelectList.last() = false;
            } else if (t.kind == TokenKind::Bracketed) {
                t.text = Quoted(NameValue(t));
                t.kind = TokenKind::Other;
            } else if (t.IsWord(QLatin1String("as")) && inSelectList.last() && i + 1 < t_.size()
                       && t_[i + 1].kind == TokenKind::Word) {
                t_[i + 1].text = Quoted(t_[i + 1].text);
                t_[i + 1].kind = TokenKind::Other;
            }
        }
    }

    Tokens t_;
};

QString TranslateCall(const ProcedureCall& call)
{
    const ServerProcedure* procedure = FindServerProcedure(call.name);
    if (!procedure)
        throw DbError(QStringLiteral("Could not find stored procedure '%1'.").arg(call.name));
    procedures::RequireArguments(procedure->name, call.arguments, procedure->parameters);
    // The database the call names, when it is one of ours; else inventory.
    QString schema = PgSchemaOfDatabase(call.qualifier);
    if (schema.isEmpty())
        schema = QStringLiteral("inventory");
    QStringList arguments;
    for (const QString& argument : call.arguments)
        arguments << Quote(argument);
    return QStringLiteral("SELECT * FROM %1.%2(%3)").arg(schema, procedure->name.toLower(), arguments.join(QStringLiteral(", ")));
}

} // namespace

QString PgTranslator::TranslateUncached(const QString& statement)
{
    if (const auto call = ParseProcedureCall(statement))
        return TranslateCall(*call);
    return PgRewriter(Tokenize(statement)).Run();
}

const QString& PgTranslator::Translate(const QString& statement)
{
    auto it = cache_.find(statement);
    if (it == cache_.end()) {
        if (cache_.size() >= kCacheLimit)
            cache_.clear();
        it = cache_.insert(statement, TranslateUncached(statement));
    }
    return it.value();
}

} // namespace db
