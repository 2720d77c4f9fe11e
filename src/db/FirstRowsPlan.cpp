#include "db/FirstRowsPlan.h"

#include <QSet>
#include <QStringList>

#include <optional>

namespace db {

namespace {

bool IsWordIn(const Token& t, std::initializer_list<const char*> words)
{
    if (t.kind != TokenKind::Word)
        return false;
    for (const char* w : words)
        if (t.IsWord(QLatin1String(w)))
            return true;
    return false;
}

// The first token of [begin, end) that is one of the words and stands
// outside every parenthesis and CASE ... END; end when there is none.
int FindAtTop(const Tokens& t, int begin, int end, std::initializer_list<const char*> words)
{
    int depth = 0;
    for (int i = begin; i < end; ++i) {
        if (t[i].IsPunct('(') || t[i].IsWord(QLatin1String("case")))
            ++depth;
        else if (t[i].IsPunct(')') || t[i].IsWord(QLatin1String("end")))
            --depth;
        else if (depth == 0 && IsWordIn(t[i], words))
            return i;
    }
    return end;
}

// Statements that combine or group rows keep their plan.
const std::initializer_list<const char*> kSetWords = {"union", "except", "intersect", "group", "having", "distinct"};

bool IsLiteral(const Token& t) { return t.kind == TokenKind::String || t.kind == TokenKind::Number; }

// alias.column at i (three tokens).
bool IsQualifiedColumn(const Tokens& t, int i, int end)
{
    return i + 2 < end && t[i].IsName() && t[i + 1].IsPunct('.') && t[i + 2].IsName();
}

struct Clause {
    int begin = 0;  // first token after the keyword
    int end = 0;    // one past the last token
};

// The AND-ed terms of a WHERE clause; nothing when the clause joins terms
// any other way at its top level (OR, NOT, BETWEEN's AND), since a term
// is then no filter of its own.
std::optional<QVector<Clause>> Conjuncts(const Tokens& t, Clause where)
{
    if (FindAtTop(t, where.begin, where.end, {"or", "not", "between"}) != where.end)
        return std::nullopt;
    QVector<Clause> terms;
    int start = where.begin;
    for (;;) {
        const int a = FindAtTop(t, start, where.end, {"and"});
        terms.append({start, a});
        if (a == where.end)
            return terms;
        start = a + 1;
    }
}

// Aliases whose rows the WHERE clause requires: a term "alias.column op
// literal" or "literal op alias.column" is never true for the null row of
// an outer join.
QSet<QString> RequiredAliases(const Tokens& t, const QVector<Clause>& terms)
{
    QSet<QString> aliases;
    for (const Clause& c : terms) {
        if (c.end - c.begin != 5)
            continue;
        if (IsQualifiedColumn(t, c.begin, c.end) && IsComparison(t[c.begin + 3]) && IsLiteral(t[c.begin + 4]))
            aliases.insert(NameValue(t[c.begin]).toLower());
        else if (IsLiteral(t[c.begin]) && IsComparison(t[c.begin + 1]) && IsQualifiedColumn(t, c.begin + 2, c.end))
            aliases.insert(NameValue(t[c.begin + 2]).toLower());
    }
    return aliases;
}

// Joins of the FROM clause become CROSS JOINs where that keeps the result.
void KeepJoinOrder(Tokens& t, Clause from, const QSet<QString>& required)
{
    int depth = 0;
    for (int i = from.begin; i < from.end; ++i) {
        if (t[i].IsPunct('('))
            ++depth;
        else if (t[i].IsPunct(')'))
            --depth;
        if (depth != 0 || !t[i].IsWord(QLatin1String("join")))
            continue;
        // The joined table and its alias follow JOIN.
        int k = i + 1;
        if (k >= from.end || !t[k].IsName())
            continue;
        QString alias = NameValue(t[k]);
        if (k + 1 < from.end && t[k + 1].IsWord(QLatin1String("as")))
            ++k;
        if (k + 1 < from.end && t[k + 1].IsName() && !t[k + 1].IsWord(QLatin1String("on")))
            alias = NameValue(t[k + 1]);

        int first = i;
        bool outer = false;
        if (first > from.begin && t[first - 1].IsWord(QLatin1String("cross")))
            continue;  // in the written order already
        if (first > from.begin && t[first - 1].IsWord(QLatin1String("outer")))
            --first;
        if (first > from.begin && IsWordIn(t[first - 1], {"left", "right", "full"})) {
            --first;
            outer = true;
        } else if (first > from.begin && t[first - 1].IsWord(QLatin1String("inner"))) {
            --first;
        }
        if (outer && (!t[first].IsWord(QLatin1String("left")) || !required.contains(alias.toLower())))
            continue;
        const QString leading = t[first].leading;
        t.remove(first, i - first + 1);
        t.insert(first, Word(QStringLiteral("JOIN"), QStringLiteral(" ")));
        t.insert(first, Word(QStringLiteral("CROSS"), leading));
        const int removed = i - first + 1 - 2;
        from.end -= removed;
        i = first + 1;
    }
}

// "alias.column IN (SELECT column FROM rest)" at [term.begin, term.end) as
// "EXISTS (SELECT 1 FROM rest AND column = alias.column)". Gives the
// sub-select as it stood, or nothing when the term has another shape.
std::optional<QString> InToExists(Tokens& t, Clause term)
{
    const int b = term.begin;
    if (!IsQualifiedColumn(t, b, term.end) || b + 4 >= term.end || !t[b + 3].IsWord(QLatin1String("in"))
        || !t[b + 4].IsPunct('('))
        return std::nullopt;
    const int open = b + 4;
    const int close = MatchingClose(t, open);
    if (close + 1 != term.end || open + 4 >= close || !t[open + 1].IsWord(QLatin1String("select"))
        || t[open + 2].kind != TokenKind::Word || !t[open + 3].IsWord(QLatin1String("from")))
        return std::nullopt;
    // A sub-select that groups, sorts, limits or combines is left alone, as is
    // one that names the outer alias itself.
    const QString alias = NameValue(t[b]);
    const int inner = open + 4;
    if (FindAtTop(t, inner, close, kSetWords) != close || FindAtTop(t, inner, close, {"order", "limit", "top"}) != close)
        return std::nullopt;
    for (int k = inner; k < close; ++k)
        if (t[k].IsName() && NameValue(t[k]).compare(alias, Qt::CaseInsensitive) == 0)
            return std::nullopt;

    const QString list = JoinTokens(t.mid(open + 1, close - open - 1));
    const Token column = t[open + 2];
    const int where = FindAtTop(t, inner, close, {"where"});
    Tokens match;
    if (where < close) {
        // The sub-select's own condition is kept whole, whatever ORs it holds.
        t.insert(close, Punct(')'));
        t.insert(where + 1, MakeToken(TokenKind::Punct, QStringLiteral("("), QStringLiteral(" ")));
        match << Word(QStringLiteral("AND"));
    } else {
        match << Word(QStringLiteral("WHERE"));
    }
    match << MakeToken(TokenKind::Word, column.text, QStringLiteral(" ")) << MakeToken(TokenKind::Operator, QStringLiteral("="), QStringLiteral(" "))
          << MakeToken(t[b].kind, t[b].text, QStringLiteral(" ")) << t[b + 1] << t[b + 2];
    const int newClose = MatchingClose(t, open);
    for (int k = 0; k < match.size(); ++k)
        t.insert(newClose + k, match[k]);
    t[open + 2] = MakeToken(TokenKind::Number, QStringLiteral("1"), column.leading);
    // alias.column IN  ->  EXISTS
    const QString leading = t[b].leading;
    t.remove(b, 4);
    t.insert(b, Word(QStringLiteral("EXISTS"), leading));
    return list;
}

// A list is counted on its own only when it names no column of another
// table (no qualified name at all, to be sure).
bool SelfContained(const QString& list)
{
    const Tokens t = Tokenize(list);
    for (int i = 0; i + 1 < t.size(); ++i)
        if (t[i].IsName() && t[i + 1].IsPunct('.'))
            return false;
    return true;
}

} // namespace

FirstRowsPlans PlanForFirstRows(const Tokens& tokens)
{
    FirstRowsPlans plans;
    Tokens t = tokens;
    const int end = EndOfGroup(t, 0);
    const int from = t.isEmpty() || !t[0].IsWord(QLatin1String("select")) ? end : FindAtTop(t, 1, end, {"from"});
    if (from == end || FindAtTop(t, 1, end, kSetWords) != end) {
        plans.byOrder = t;
        return plans;
    }
    const int where = FindAtTop(t, from + 1, end, {"where"});
    const int whereEnd = FindAtTop(t, where, end, {"order", "limit"});
    std::optional<QVector<Clause>> terms;
    if (where < end)
        terms = Conjuncts(t, {where + 1, whereEnd});

    // The WHERE clause sits after the FROM clause: reading its terms and
    // rewriting them, from the last term back, keeps every position that is
    // still to be used valid.
    const QSet<QString> required = terms ? RequiredAliases(t, *terms) : QSet<QString>();
    Tokens shortList = t;
    QStringList lists;
    if (terms) {
        for (int k = int(terms->size()) - 1; k >= 0; --k)
            if (const std::optional<QString> list = InToExists(t, (*terms)[k]))
                lists << *list;
    }
    KeepJoinOrder(t, {from + 1, where}, required);
    plans.byOrder = t;
    if (lists.size() == 1 && SelfContained(lists.first())) {
        KeepJoinOrder(shortList, {from + 1, where}, required);
        plans.byShortList = shortList;
        plans.listCount = QStringLiteral("SELECT count(*) FROM (") + lists.first() + QStringLiteral(" LIMIT ")
                          + QString::number(kShortListRows) + QLatin1Char(')');
    }
    return plans;
}

} // namespace db
