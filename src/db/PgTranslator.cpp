#include "db/PgTranslator.h"

#include "db/Catalog.h"
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
        RewriteMaxOfInt();
        FoldNameSearch();
        FoldNameOrder();
        QuoteAliasesAndBrackets();
        return JoinTokens(t_);
    }

private:
    // Where the column reference ending at `name` begins: at its alias when
    // it has one (A.ItemName), else at the name.
    int ReferenceBegin(int name) const
    {
        return name >= 2 && t_[name - 1].IsPunct('.') && t_[name - 2].kind == TokenKind::Word ? name - 2 : name;
    }

    // The tokens [begin, end) wrapped as lower(<them>::text) COLLATE "C":
    // the key of the index that orders item names (see ServerSchema).
    void WrapAsFoldedKey(int begin, int end)
    {
        const QString leading = t_[begin].leading;
        t_[begin].leading.clear();
        t_.insert(end, MakeToken(TokenKind::Other, QStringLiteral("::text")));
        t_.insert(end + 1, Punct(')'));
        t_.insert(end + 2, Word(QStringLiteral("COLLATE")));
        t_.insert(end + 3, MakeToken(TokenKind::Other, QStringLiteral("\"C\""), QStringLiteral(" ")));
        t_.insert(begin, Word(QStringLiteral("lower"), leading));
        t_.insert(begin + 1, Punct('('));
    }

    // A text column compared by LIKE ('GAU%') matches as its lower-case
    // text matches the lower-case pattern: citext's LIKE is exactly that.
    // Written so, the search by the start of an item name reads a range of
    // the index on the folded name (PostgreSQL's LIKE needs the "C" collation
    // to read an index's range).
    void FoldNameSearch()
    {
        for (int i = 0; i + 2 < t_.size(); ++i) {
            if (!IsFoldedColumn(t_[i]) || !t_[i + 1].IsWord(QLatin1String("like"))
                || t_[i + 2].kind != TokenKind::String)
                continue;
            const int begin = ReferenceBegin(i);
            WrapAsFoldedKey(begin, i + 1);
            const int pattern = i + 8;  // lower ( <reference> ::text ) COLLATE "C" Like
            const QString leading = t_[pattern].leading;
            t_[pattern].leading.clear();
            t_.insert(pattern + 1, Punct(')'));
            t_.insert(pattern, Word(QStringLiteral("lower"), leading));
            t_.insert(pattern + 1, Punct('('));
            i = pattern + 3;
        }
    }

    // ORDER BY A.ItemName, A.ItemDesc orders by the folded texts in code
    // point order, as the index on them does (citext orders by the folded
    // text in the database's collation: the same order where that collation
    // orders by code point, as the embedded file does). Only qualified
    // names are rewritten, which cannot mean a column of the select list,
    // and not under DISTINCT, whose ORDER BY must name what it selects.
    void FoldNameOrder()
    {
        for (int i = 0; i + 1 < t_.size(); ++i) {
            if (!t_[i].IsWord(QLatin1String("order")) || !t_[i + 1].IsWord(QLatin1String("by")) || SelectIsDistinct(i))
                continue;
            int end = EndOfGroup(t_, i + 2);
            for (int k = i + 2; k < end; ++k)
                if (t_[k].IsWord(QLatin1String("limit")) || t_[k].IsWord(QLatin1String("offset"))
                    || t_[k].IsWord(QLatin1String("for"))) {
                    end = k;
                    break;
                }
            const QVector<QPair<int, int>> keys = SplitAtCommas(t_, i + 2, end);
            // From the last key back, so that the earlier keys' places hold.
            for (auto key = keys.crbegin(); key != keys.crend(); ++key) {
                int last = key->second - 1;
                if (last > key->first
                    && (t_[last].IsWord(QLatin1String("asc")) || t_[last].IsWord(QLatin1String("desc"))))
                    --last;
                if (last - key->first == 2 && IsFoldedColumn(t_[last]) && ReferenceBegin(last) == key->first)
                    WrapAsFoldedKey(key->first, last + 1);
            }
        }
    }

    // Whether the select that the ORDER BY at `order` belongs to is a
    // SELECT DISTINCT.
    bool SelectIsDistinct(int order) const
    {
        int depth = 0;
        for (int k = order - 1; k >= 0; --k) {
            if (t_[k].IsPunct(')'))
                ++depth;
            else if (t_[k].IsPunct('('))
                --depth;
            if (depth == 0 && t_[k].IsWord(QLatin1String("select")))
                return k + 1 < t_.size() && t_[k + 1].IsWord(QLatin1String("distinct"));
            if (depth < 0)
                return false;
        }
        return false;
    }

    // The item master's name and description: the keys of its folded index.
    static bool IsFoldedColumn(const Token& t)
    {
        return t.IsWord(QLatin1String("ItemName")) || t.IsWord(QLatin1String("ItemDesc"));
    }

    // max(tsql_int(x)) of a text column x becomes
    // tsql_int_of_key(max(tsql_int_key(x) COLLATE "C")): the same value and
    // the same failure (see ServerSchema), answered by the last entry of an
    // index on the key instead of converting every row.
    void RewriteMaxOfInt()
    {
        for (int i = 0; i + 3 < t_.size(); ++i) {
            if (!t_[i].IsWord(QLatin1String("max")) || !t_[i + 1].IsPunct('(')
                || !t_[i + 2].IsWord(QLatin1String("tessary.tsql_int")) || !t_[i + 3].IsPunct('('))
                continue;
            const int innerClose = MatchingClose(t_, i + 3);
            if (innerClose >= t_.size() || MatchingClose(t_, i + 1) != innerClose + 1)
                continue;
            const int name = innerClose - 1;
            if (t_[name].kind != TokenKind::Word || ReferenceBegin(name) != i + 4
                || !Catalog::Instance().IsTextColumn(t_[name].text))
                continue;
            t_[i].text = QStringLiteral("tessary.tsql_int_of_key");
            t_[i + 2].text = QStringLiteral("max");
            t_.insert(i + 4, Word(QStringLiteral("tessary.tsql_int_key"), QString()));
            t_.insert(i + 5, Punct('('));
            // x's tokens now end at innerClose + 1.
            t_.insert(innerClose + 2, Punct(')'));
            t_.insert(innerClose + 3, Word(QStringLiteral("COLLATE")));
            t_.insert(innerClose + 4, MakeToken(TokenKind::Other, QStringLiteral("\"C\""), QStringLiteral(" ")));
        }
    }

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
