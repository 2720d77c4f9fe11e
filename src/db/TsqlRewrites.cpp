#include "db/TsqlRewrites.h"

#include <QSet>

namespace db {

namespace {

bool FollowsSelect(const Tokens& t, int i)
{
    if (t[i - 1].IsWord(QLatin1String("select")))
        return true;
    return i >= 2 && (t[i - 1].IsWord(QLatin1String("distinct")) || t[i - 1].IsWord(QLatin1String("all")))
           && t[i - 2].IsWord(QLatin1String("select"));
}

} // namespace

void DropUnicodePrefixes(Tokens& t)
{
    for (int i = 0; i + 1 < t.size(); ++i) {
        if (t[i].IsWord(QLatin1String("n")) && t[i + 1].kind == TokenKind::String && t[i + 1].leading.isEmpty()) {
            t[i + 1].leading = t[i].leading;
            t.removeAt(i);
        }
    }
}

void AddMissingFromAndInto(Tokens& t)
{
    if (t.size() < 2)
        return;
    if (t[0].IsWord(QLatin1String("delete")) && !t[1].IsWord(QLatin1String("from")))
        t.insert(1, Word(QStringLiteral("FROM")));
    else if (t[0].IsWord(QLatin1String("insert")) && !t[1].IsWord(QLatin1String("into")))
        t.insert(1, Word(QStringLiteral("INTO")));
}

void MoveTopToLimit(Tokens& t)
{
    for (int i = 1; i < t.size(); ++i) {
        if (!t[i].IsWord(QLatin1String("top")) || !FollowsSelect(t, i))
            continue;
        int length = 0;
        QString count;
        if (i + 1 < t.size() && t[i + 1].kind == TokenKind::Number) {
            count = t[i + 1].text;
            length = 2;
        } else if (i + 3 < t.size() && t[i + 1].IsPunct('(') && t[i + 2].kind == TokenKind::Number && t[i + 3].IsPunct(')')) {
            count = t[i + 2].text;
            length = 4;
        } else {
            continue;
        }
        if (i + length < t.size())
            t[i + length].leading = t[i].leading;
        t.remove(i, length);
        const int end = EndOfGroup(t, i);
        t.insert(end, Word(QStringLiteral("LIMIT")));
        t.insert(end + 1, MakeToken(TokenKind::Number, count, QStringLiteral(" ")));
    }
}

int QualifierLength(const Tokens& t, int i)
{
    const auto dot = [&](int k) { return k < t.size() && t[k].IsPunct('.') && t[k].leading.isEmpty(); };
    const auto name = [&](int k) { return k < t.size() && t[k].IsName() && t[k].leading.isEmpty(); };
    if (i >= t.size() || !t[i].IsName())
        return 0;
    if (dot(i + 1) && dot(i + 2) && name(i + 3))
        return 3;
    if (dot(i + 1) && name(i + 2) && dot(i + 3) && name(i + 4))
        return 4;
    if (t[i].IsWord(QLatin1String("dbo")) && dot(i + 1) && name(i + 2) && (i == 0 || !t[i - 1].IsPunct('.')))
        return 2;
    return 0;
}

bool IsIntType(const QString& type)
{
    static const QSet<QString> kTypes = {"int", "integer", "smallint", "tinyint", "bigint"};
    return kTypes.contains(type.toLower());
}

bool IsCharType(const QString& type)
{
    static const QSet<QString> kTypes = {"varchar", "char", "nvarchar", "nchar", "text", "ntext"};
    return kTypes.contains(type.toLower());
}

bool IsRealType(const QString& type)
{
    static const QSet<QString> kTypes = {"float", "real", "decimal", "numeric", "money", "smallmoney"};
    return kTypes.contains(type.toLower());
}

namespace {

// Where the parts of a conversion call are.
struct Conversion {
    int close = 0;
    QString type;
    int lengthBegin = 0, lengthEnd = 0;  // the "(n)" after the type, when any
    int valueBegin = 0, valueEnd = 0;
};

std::optional<Conversion> FindConversion(const Tokens& t, int call)
{
    if (call + 1 >= t.size())
        return std::nullopt;
    const int close = MatchingClose(t, call + 1);
    if (close >= t.size())
        return std::nullopt;
    if (t[call].IsWord(QLatin1String("convert"))) {
        const auto args = SplitAtCommas(t, call + 2, close);
        if (args.size() != 2 || args[0].first >= args[0].second)
            return std::nullopt;
        return Conversion{close, t[args[0].first].text, args[0].first + 1, args[0].second, args[1].first, args[1].second};
    }
    int as = -1;
    int depth = 0;
    for (int k = call + 2; k < close; ++k) {
        depth += t[k].IsPunct('(') ? 1 : t[k].IsPunct(')') ? -1 : 0;
        if (depth == 0 && t[k].IsWord(QLatin1String("as")))
            as = k;
    }
    if (as < 0 || as + 1 >= close)
        return std::nullopt;
    return Conversion{close, t[as + 1].text, as + 2, close, call + 2, as};
}

} // namespace

void RewriteConversion(Tokens& t, int call, const ConversionTarget& target)
{
    const std::optional<Conversion> c = FindConversion(t, call);
    if (!c)
        return;
    Tokens replacement;
    Tokens value = t.mid(c->valueBegin, c->valueEnd - c->valueBegin);
    if (!value.isEmpty())
        value[0].leading.clear();
    if (IsIntType(c->type)) {
        replacement << Word(target.intFunction, t[call].leading) << Punct('(') << value << Punct(')');
    } else if (IsCharType(c->type)) {
        replacement << Word(target.varcharFunction, t[call].leading) << Punct('(') << value;
        if (c->lengthEnd - c->lengthBegin == 3 && t[c->lengthBegin].IsPunct('(') && t[c->lengthBegin + 1].kind == TokenKind::Number)
            replacement << Punct(',') << MakeToken(TokenKind::Number, t[c->lengthBegin + 1].text);
        else if (!target.defaultLength.isEmpty())
            replacement << Punct(',') << MakeToken(TokenKind::Number, target.defaultLength);
        replacement << Punct(')');
    } else if (IsRealType(c->type)) {
        replacement << Word(QStringLiteral("CAST"), t[call].leading) << Punct('(') << value << Word(QStringLiteral("AS"))
                    << Word(target.realType) << Punct(')');
    } else {
        return;
    }
    t.remove(call, c->close - call + 1);
    for (int k = 0; k < replacement.size(); ++k)
        t.insert(call + k, replacement[k]);
}

} // namespace db
