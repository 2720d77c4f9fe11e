#include "db/TsqlTranslator.h"

#include "base/Texts.h"
#include "db/DbError.h"
#include "db/EmbeddedFormat.h"
#include "db/FirstRowsPlan.h"
#include "db/Quote.h"
#include "db/TsqlFunctions.h"
#include "db/TsqlRewrites.h"
#include "db/TsqlTokenizer.h"

#include <QDateTime>

namespace db {

namespace {

// Translations kept before the cache starts afresh; statements carry their
// values, so an unbounded cache would grow with every distinct value.
constexpr int kCacheLimit = 4000;

// Words after which an identifier is no column alias.
bool IsClauseWord(const Token& t)
{
    static const QSet<QString> kWords = {
        "from", "where", "order", "group", "having", "union", "into", "and", "or", "not", "end",
        "then", "else", "when", "limit", "asc", "desc", "is", "in", "like", "between", "on",
        "join", "left", "right", "inner", "outer", "cross", "set", "values", "by", "select"};
    return t.kind == TokenKind::Word && kWords.contains(t.text.toLower());
}


enum class ValueType { Unknown, Text, Number };

// Rewrites one statement's tokens into SQLite's dialect.
class StatementRewriter {
public:
    StatementRewriter(const Catalog& catalog, Tokens tokens, Plan plan)
        : catalog_(catalog), t_(std::move(tokens)), plan_(plan) {}

    Translation Run()
    {
        DropUnicodePrefixes(t_);
        StripQualifiers();
        AddMissingFromAndInto(t_);
        MoveTopToLimit(t_);
        RewriteInsertDates();
        RewriteComparedDates();
        RewritePlus();
        RewriteFunctions();
        RewriteMaxOfInt();
        CollateColumnlessComparisons();
        BoundLikePatterns();
        if (plan_ == Plan::FirstRows) {
            const FirstRowsPlans plans = PlanForFirstRows(t_);
            return {JoinTokens(plans.byOrder), JoinTokens(plans.byShortList), plans.listCount, dateTimeColumns_,
                    dateParameters_};
        }
        return {JoinTokens(t_), {}, {}, dateTimeColumns_, dateParameters_};
    }

private:
    // INVENTORY..t, Password..t, db.dbo.t and dbo.t name the one embedded table t.
    void StripQualifiers()
    {
        for (int i = 0; i < t_.size(); ++i) {
            if (const int drop = QualifierLength(t_, i)) {
                t_[i + drop].leading = t_[i].leading;
                t_.remove(i, drop);
            }
        }
    }

    // INSERT INTO t (columns) VALUES (values): a date text that goes to a
    // date-time column is stored in the sortable form.
    void RewriteInsertDates()
    {
        if (t_.size() < 4 || !t_[0].IsWord(QLatin1String("insert")) || !t_[1].IsWord(QLatin1String("into")) || !t_[2].IsName())
            return;
        const TableDef* table = catalog_.FindTable(NameValue(t_[2]));
        if (!table || t_.size() < 5 || !t_[3].IsPunct('('))
            return;
        const int columnsEnd = MatchingClose(t_, 3);
        if (columnsEnd + 2 >= t_.size() || !t_[columnsEnd + 1].IsWord(QLatin1String("values")) || !t_[columnsEnd + 2].IsPunct('('))
            return;
        const int valuesOpen = columnsEnd + 2;
        const auto columns = SplitAtCommas(t_, 4, columnsEnd);
        const auto values = SplitAtCommas(t_, valuesOpen + 1, MatchingClose(t_, valuesOpen));
        for (int k = 0; k < columns.size() && k < values.size(); ++k) {
            const auto [columnBegin, columnEnd] = columns[k];
            const auto [valueBegin, valueEnd] = values[k];
            if (columnEnd - columnBegin != 1 || valueEnd - valueBegin != 1)
                continue;
            const ColumnDef* column = table->FindColumn(NameValue(t_[columnBegin]));
            if (column && column->type == ColumnType::DateTime)
                RewriteDateLiteral(valueBegin);
        }
    }

    // col op 'text' and 'text' op col with a date-time column (SET col = 'text' too).
    void RewriteComparedDates()
    {
        for (int i = 0; i < t_.size(); ++i) {
            if (t_[i].kind != TokenKind::String)
                continue;
            const bool columnBefore = i >= 2 && IsComparison(t_[i - 1]) && IsDateTimeName(i - 2);
            const bool columnAfter = i + 2 < t_.size() && IsComparison(t_[i + 1]) && IsDateTimeName(i + 2);
            if (columnBefore || columnAfter)
                RewriteDateLiteral(i);
        }
    }

    bool IsDateTimeName(int i) const
    {
        return t_[i].IsName() && !(i + 1 < t_.size() && t_[i + 1].IsPunct('(')) && catalog_.IsDateTimeColumn(NameValue(t_[i]));
    }

    void RewriteDateLiteral(int i)
    {
        if (t_[i].kind != TokenKind::String)
            return;
        if (t_[i].parameter >= 0) {
            dateParameters_.insert(t_[i].parameter);
            return;
        }
        const std::optional<QDateTime> value = base::ParseDateTime(StringValue(t_[i].text));
        if (value)
            t_[i].text = Quote(QString::fromLatin1(StoredDateTime(*value)));
    }

    // + adds numbers and joins texts; SQLite joins with ||. The operands'
    // types come from literals, the catalog and the functions that give text.
    void RewritePlus()
    {
        for (int i = 1; i + 1 < t_.size(); ++i) {
            if (t_[i].kind != TokenKind::Operator || t_[i].text != QLatin1String("+"))
                continue;
            const int leftBegin = PrimaryBegin(i - 1);
            if (leftBegin < 0)
                continue;  // a sign, not an addition
            const bool leftIsText = (leftBegin > 0 && t_[leftBegin - 1].text == QLatin1String("||"))
                                    || PrimaryType(leftBegin, i) == ValueType::Text;
            const int rightEnd = PrimaryEnd(i + 1);
            if (leftIsText || PrimaryType(i + 1, rightEnd) == ValueType::Text)
                t_[i].text = QStringLiteral("||");
        }
    }

    // First token of the operand that ends at `last`; -1 when there is none.
    int PrimaryBegin(int last) const
    {
        const Token& t = t_[last];
        if (t.IsPunct(')')) {
            const int open = MatchingOpen(t_, last);
            if (open > 0 && t_[open - 1].kind == TokenKind::Word && !IsClauseWord(t_[open - 1]))
                return open - 1;
            return open;
        }
        if (t.IsWord(QLatin1String("end")))
            return MatchingCase(last);
        if (t.kind == TokenKind::String || t.kind == TokenKind::Number)
            return last;
        if (t.IsName()) {
            int begin = last;
            while (begin >= 2 && t_[begin - 1].IsPunct('.') && t_[begin - 2].IsName())
                begin -= 2;
            return begin;
        }
        return -1;
    }

    // One past the last token of the operand that starts at `first`.
    int PrimaryEnd(int first) const
    {
        if (first >= t_.size())
            return first;
        const Token& t = t_[first];
        if (t.IsPunct('('))
            return MatchingClose(t_, first) + 1;
        if (t.IsWord(QLatin1String("case")))
            return MatchingEnd(first) + 1;
        if (t.IsName()) {
            int end = first + 1;
            while (end + 1 < t_.size() && t_[end].IsPunct('.') && t_[end + 1].IsName())
                end += 2;
            if (end < t_.size() && t_[end].IsPunct('('))
                return MatchingClose(t_, end) + 1;
            return end;
        }
        return first + 1;
    }

    int MatchingCase(int end) const
    {
        int depth = 0;
        for (int i = end; i >= 0; --i) {
            if (t_[i].IsWord(QLatin1String("end")))
                ++depth;
            else if (t_[i].IsWord(QLatin1String("case")) && --depth == 0)
                return i;
        }
        return -1;
    }

    int MatchingEnd(int caseIndex) const
    {
        int depth = 0;
        for (int i = caseIndex; i < t_.size(); ++i) {
            if (t_[i].IsWord(QLatin1String("case")))
                ++depth;
            else if (t_[i].IsWord(QLatin1String("end")) && --depth == 0)
                return i;
        }
        return int(t_.size()) - 1;
    }

    // The type of the operand [begin, end): a literal, a column, a call, a
    // parenthesised expression or sub-select, or a CASE.
    ValueType PrimaryType(int begin, int end) const
    {
        if (begin < 0 || begin >= end || end > t_.size())
            return ValueType::Unknown;
        const Token& t = t_[begin];
        if (t.kind == TokenKind::String)
            return ValueType::Text;
        if (t.kind == TokenKind::Number)
            return ValueType::Number;
        if (t.IsPunct('('))
            return GroupType(begin + 1, end - 1);
        if (t.IsWord(QLatin1String("case")))
            return CaseType(begin, end);
        if (t.kind == TokenKind::Word && begin + 1 < end && t_[begin + 1].IsPunct('('))
            return CallType(t.text.toLower(), begin + 2, end - 1);
        if (t.IsName())
            return TypeOfColumn(NameValue(t_[end - 1]));
        return ValueType::Unknown;
    }

    ValueType TypeOfColumn(const QString& name) const
    {
        const db::ColumnType* type = catalog_.TypeOfColumnName(name);
        if (!type || *type == ColumnType::DateTime)
            return ValueType::Unknown;
        return *type == ColumnType::Text ? ValueType::Text : ValueType::Number;
    }

    ValueType CallType(const QString& name, int argsBegin, int argsEnd) const
    {
        static const QSet<QString> kText = {"replace", "substring", "left", "right", "ltrim", "rtrim",
                                            "upper", "lower", "char", "nchar", "space", "str", "stuff"};
        static const QSet<QString> kNumber = {"count", "sum", "avg", "len", "patindex", "charindex",
                                              "datediff", "abs", "round", "floor", "ceiling", "datepart"};
        if (kText.contains(name))
            return ValueType::Text;
        if (kNumber.contains(name))
            return ValueType::Number;
        const auto args = SplitAtCommas(t_, argsBegin, argsEnd);
        if (name == QLatin1String("convert") && args.size() >= 2 && args[0].first < args[0].second) {
            const QString type = t_[args[0].first].text;
            return IsCharType(type) ? ValueType::Text : (IsIntType(type) || IsRealType(type)) ? ValueType::Number : ValueType::Unknown;
        }
        if (name == QLatin1String("cast")) {
            for (int i = argsBegin; i + 1 < argsEnd; ++i)
                if (t_[i].IsWord(QLatin1String("as")))
                    return IsCharType(t_[i + 1].text) ? ValueType::Text : ValueType::Number;
            return ValueType::Unknown;
        }
        if (name == QLatin1String("isnull") || name == QLatin1String("coalesce") || name == QLatin1String("max")
            || name == QLatin1String("min") || name == QLatin1String("ifnull"))
            return ExpressionType(args[0].first, args[0].second);
        return ValueType::Unknown;
    }

    // A parenthesised expression, or a sub-select by its first column.
    ValueType GroupType(int begin, int end) const
    {
        if (begin < end && t_[begin].IsWord(QLatin1String("select"))) {
            int first = begin + 1;
            while (first < end && (t_[first].IsWord(QLatin1String("distinct")) || t_[first].IsWord(QLatin1String("all"))))
                ++first;
            int last = first;
            int depth = 0;
            while (last < end && !(depth == 0 && (t_[last].IsPunct(',') || t_[last].IsWord(QLatin1String("from"))))) {
                depth += t_[last].IsPunct('(') ? 1 : t_[last].IsPunct(')') ? -1 : 0;
                ++last;
            }
            return ExpressionType(first, last);
        }
        return ExpressionType(begin, end);
    }

    ValueType CaseType(int begin, int end) const
    {
        for (int i = begin + 1; i < end; ++i) {
            if (t_[i].IsWord(QLatin1String("case"))) {
                i = MatchingEnd(i);
            } else if (t_[i].IsWord(QLatin1String("then"))) {
                int last = i + 1;
                while (last < end && !t_[last].IsWord(QLatin1String("when")) && !t_[last].IsWord(QLatin1String("else"))
                       && !t_[last].IsWord(QLatin1String("end")))
                    last = PrimaryEnd(last);
                return ExpressionType(i + 1, last);
            }
        }
        return ValueType::Unknown;
    }

    // An expression of operands and operators: text when + joins a text
    // operand, a number under other arithmetic, else its only operand's type.
    ValueType ExpressionType(int begin, int end) const
    {
        bool anyText = false;
        bool arithmetic = false;
        int operands = 0;
        ValueType only = ValueType::Unknown;
        for (int i = begin; i < end;) {
            const Token& t = t_[i];
            if (t.kind == TokenKind::Operator) {
                if (t.text == QLatin1String("||"))
                    anyText = true;
                else if (t.text != QLatin1String("+"))
                    arithmetic = true;
                ++i;
                continue;
            }
            const int next = std::min<int>(PrimaryEnd(i), end);
            only = PrimaryType(i, next);
            anyText = anyText || only == ValueType::Text;
            ++operands;
            i = std::max(next, i + 1);
        }
        if (anyText && !arithmetic)
            return ValueType::Text;
        if (arithmetic)
            return ValueType::Number;
        return operands == 1 ? only : ValueType::Unknown;
    }

    // Calls of server functions become their SQLite counterparts.
    void RewriteFunctions()
    {
        for (int i = 0; i + 1 < t_.size(); ++i) {
            if (t_[i].kind != TokenKind::Word || !t_[i + 1].IsPunct('(') || !t_[i + 1].leading.isEmpty())
                continue;
            const QString name = t_[i].text.toLower();
            if (name == QLatin1String("getdate"))
                RewriteGetDate(i);
            else if (name == QLatin1String("isnull"))
                t_[i].text = QStringLiteral("ifnull");
            else if (name == QLatin1String("substring"))
                t_[i].text = QStringLiteral("substr");
            else if (name == QLatin1String("patindex"))
                t_[i].text = QLatin1String(tsql::kPatIndexFunction);
            else if (name == QLatin1String("replace"))
                t_[i].text = QLatin1String(tsql::kReplaceFunction);
            else if (name == QLatin1String("convert") || name == QLatin1String("cast"))
                RewriteConversion(t_, i, {QLatin1String(tsql::kIntFunction), QLatin1String(tsql::kVarcharFunction),
                                          QStringLiteral("REAL"), {}});
        }
    }

    void RewriteGetDate(int i)
    {
        if (i + 2 >= t_.size() || !t_[i + 2].IsPunct(')'))
            return;
        const QString leading = t_[i].leading;
        t_.remove(i, 3);
        const Tokens now = {Word(QStringLiteral("datetime"), leading), MakeToken(TokenKind::Punct, QStringLiteral("(")),
                            MakeToken(TokenKind::String, QStringLiteral("'now'")), Punct(','),
                            MakeToken(TokenKind::String, QStringLiteral("'localtime'")), Punct(')')};
        for (int k = 0; k < now.size(); ++k)
            t_.insert(i + k, now[k]);
        const int after = i + int(now.size());
        if (after + 1 < t_.size() && t_[after].IsWord(QLatin1String("as")) && t_[after + 1].IsName())
            dateTimeColumns_.insert(NameValue(t_[after + 1]).toLower());
        else if (after < t_.size() && t_[after].IsName() && !IsClauseWord(t_[after]))
            dateTimeColumns_.insert(NameValue(t_[after]).toLower());
    }

    // max(tsql_int(x)) becomes tsql_int(max(tsql_int_key(x))): the same
    // value and the same failure (see tsql_int_key), answered by the last
    // entry of an index on the key instead of converting every row.
    void RewriteMaxOfInt()
    {
        const QLatin1String intFunction(tsql::kIntFunction);
        for (int i = 0; i + 3 < t_.size(); ++i) {
            if (!t_[i].IsWord(QLatin1String("max")) || !t_[i + 1].IsPunct('(') || !t_[i + 2].IsWord(intFunction)
                || !t_[i + 3].IsPunct('('))
                continue;
            const int innerClose = MatchingClose(t_, i + 3);
            if (MatchingClose(t_, i + 1) != innerClose + 1)
                continue;
            t_[i].text = intFunction;
            t_[i + 2].text = QStringLiteral("max");
            t_.insert(i + 4, MakeToken(TokenKind::Word, QLatin1String(tsql::kIntKeyFunction)));
            t_.insert(i + 5, Punct('('));
            t_.insert(innerClose + 2, Punct(')'));
        }
    }

    // The server compares texts without regard to case or trailing blanks.
    // Text columns are declared with a collation that compares so
    // (tsql::kTextCollation), and a comparison with a column takes the
    // column's; one of which neither side is a column (isnull(x,'') = '',
    // two literals) is given that collation.
    void CollateColumnlessComparisons()
    {
        for (int i = 1; i + 1 < t_.size(); ++i) {
            if (!IsComparison(t_[i]))
                continue;
            const int leftBegin = PrimaryBegin(i - 1);
            const bool signed_ = t_[i + 1].kind == TokenKind::Operator;  // = -1
            const int rightBegin = signed_ ? i + 2 : i + 1;
            const int rightEnd = PrimaryEnd(rightBegin);
            if (leftBegin < 0 || rightBegin >= t_.size() || IsColumn(leftBegin, i) || IsColumn(rightBegin, rightEnd)
                || t_[rightBegin].kind == TokenKind::Operator)
                continue;
            if (rightEnd < t_.size() && t_[rightEnd].IsWord(QLatin1String("collate")))
                continue;
            t_.insert(rightEnd, Word(QStringLiteral("COLLATE")));
            t_.insert(rightEnd + 1, Word(QLatin1String(tsql::kTextCollation)));
            i = rightEnd + 1;
        }
    }

    // LIKE is a function of the program's (it compares letters as the
    // text columns do), which SQLite never turns into a range of an index as
    // it does its own: a text column's LIKE gets, beside it, the range that
    // every match lies in, by the pattern's fixed start. A search by the
    // start of a name so reads a range of the name index, whether its
    // pattern is written or bound (the bounds are worked out once per run).
    // Where the range holds nothing else (a start and a %, as a search by
    // name has it), the LIKE itself is not tried on every row of it.
    // Only a LIKE that stands alone among AND, OR and NOT, where the range
    // and it together mean what it means, gets one; a LIKE with ESCAPE
    // gets none.
    void BoundLikePatterns()
    {
        for (int i = 1; i + 1 < t_.size(); ++i) {
            if (!t_[i].IsWord(QLatin1String("like")) || t_[i + 1].kind != TokenKind::String
                || t_[i - 1].IsWord(QLatin1String("not")))
                continue;
            const int begin = PrimaryBegin(i - 1);
            if (begin < 0 || !IsColumn(begin, i) || TypeOfColumn(NameValue(t_[i - 1])) != ValueType::Text
                || !StandsAlone(begin, i + 2))
                continue;
            const Tokens column = t_.mid(begin, i - begin);
            const Token pattern = t_[i + 1];
            const auto bound = [&](const char* op, const char* function) {
                Tokens part = column;
                part[0].leading = QStringLiteral(" ");
                part << MakeToken(TokenKind::Operator, QLatin1String(op), QStringLiteral(" "))
                     << Word(QLatin1String(function)) << Punct('(') << pattern << Punct(')');
                part.last().leading.clear();
                part[part.size() - 2].leading.clear();
                return part;
            };
            Tokens range;
            range << MakeToken(TokenKind::Punct, QStringLiteral("("), t_[begin].leading);
            range << bound(">=", tsql::kLikeLowFunction) << Word(QStringLiteral("AND"))
                  << bound("<", tsql::kLikeHighFunction) << Word(QStringLiteral("AND"))
                  << MakeToken(TokenKind::Punct, QStringLiteral("("), QStringLiteral(" "))
                  << Word(QLatin1String(tsql::kLikeExactFunction), {}) << Punct('(') << pattern << Punct(')')
                  << Word(QStringLiteral("OR"));
            range[1].leading.clear();
            range[range.size() - 3].leading.clear();
            t_[begin].leading = QStringLiteral(" ");
            t_.insert(i + 2, Punct(')'));
            t_.insert(i + 2, Punct(')'));
            for (int k = 0; k < range.size(); ++k)
                t_.insert(begin + k, range[k]);
            i += int(range.size()) + 3;
        }
    }

    // Whether the tokens [begin, end) are a term of their own: after WHERE,
    // ON, AND, OR, NOT, WHEN or an opening parenthesis, and before the end,
    // a closing parenthesis or a word that ends the term.
    bool StandsAlone(int begin, int end) const
    {
        static const QSet<QString> kBefore = {"where", "on", "and", "or", "not", "when", "having"};
        static const QSet<QString> kAfter = {"and", "or", "order", "group", "limit", "union", "then", "having"};
        const bool before = begin > 0
                            && (t_[begin - 1].IsPunct('(')
                                || (t_[begin - 1].kind == TokenKind::Word && kBefore.contains(t_[begin - 1].text.toLower())));
        const bool after = end >= t_.size() || t_[end].IsPunct(')') || t_[end].IsPunct(';')
                           || (t_[end].kind == TokenKind::Word && kAfter.contains(t_[end].text.toLower()));
        return before && after && !EndsBetween(begin - 1);
    }

    // Whether the AND at `i` is the one of a BETWEEN, whose upper bound
    // binds tighter than a LIKE after it.
    bool EndsBetween(int i) const
    {
        if (!t_[i].IsWord(QLatin1String("and")))
            return false;
        int depth = 0;
        for (int j = i - 1; j >= 0; --j) {
            if (t_[j].IsPunct(')'))
                ++depth;
            else if (t_[j].IsPunct('(') && depth-- == 0)
                return false;
            else if (depth == 0 && t_[j].kind == TokenKind::Word) {
                const QString word = t_[j].text.toLower();
                if (word == QLatin1String("between"))
                    return true;
                if (word == QLatin1String("and") || word == QLatin1String("or") || word == QLatin1String("where")
                    || word == QLatin1String("on") || word == QLatin1String("when") || word == QLatin1String("having"))
                    return false;
            }
        }
        return false;
    }

    // A name, possibly qualified, that calls nothing (NULL counts: it needs
    // no collation either).
    bool IsColumn(int begin, int end) const
    {
        return begin < end && end <= t_.size() && t_[begin].IsName() && !t_[end - 1].IsPunct(')');
    }

    const Catalog& catalog_;
    Tokens t_;
    Plan plan_;
    QSet<QString> dateTimeColumns_;
    QSet<int> dateParameters_;
};

} // namespace

TsqlTranslator::TsqlTranslator(const Catalog& catalog) : catalog_(catalog) {}

const Translation& TsqlTranslator::Translate(const QString& statement, Plan plan)
{
    return Cached(plan == Plan::FirstRows ? kFirstRows : kAllRows, statement, plan, TokenizeMode::Statement);
}

const Translation& TsqlTranslator::TranslateShape(const QString& shape, Plan plan)
{
    return Cached(plan == Plan::FirstRows ? kFirstRowsShapes : kShapes, shape, plan, TokenizeMode::Shape);
}

const Translation& TsqlTranslator::Cached(CacheKind kind, const QString& text, Plan plan, TokenizeMode mode)
{
    QHash<QString, Translation>& cache = cache_[kind];
    auto it = cache.find(text);
    if (it == cache.end()) {
        Tokens tokens = Tokenize(text, mode);
        if (const QString refusal = SyntaxError(tokens); !refusal.isEmpty())
            throw DbError(refusal);
        if (cache.size() >= kCacheLimit)
            cache.clear();
        it = cache.insert(text, StatementRewriter(catalog_, std::move(tokens), plan).Run());
    }
    return it.value();
}

} // namespace db
