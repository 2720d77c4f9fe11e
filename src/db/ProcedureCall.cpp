#include "db/ProcedureCall.h"

#include "db/DbError.h"
#include "db/TsqlTokenizer.h"

namespace db {

namespace {

// Words that start a statement or clause and therefore never name a
// procedure. Every statement's first word is looked up: by length first,
// and without making a lower-case copy.
bool IsStatementKeyword(QStringView word)
{
    static const QLatin1String kKeywords[] = {
        QLatin1String("select"), QLatin1String("insert"), QLatin1String("update"), QLatin1String("delete"),
        QLatin1String("with"), QLatin1String("create"), QLatin1String("drop"), QLatin1String("alter"),
        QLatin1String("begin"), QLatin1String("commit"), QLatin1String("rollback"), QLatin1String("set"),
        QLatin1String("declare"), QLatin1String("if"), QLatin1String("while"), QLatin1String("pragma"),
        QLatin1String("values"), QLatin1String("truncate"), QLatin1String("grant"), QLatin1String("revoke"),
        QLatin1String("use"), QLatin1String("print"), QLatin1String("return"), QLatin1String("replace"),
        QLatin1String("end"), QLatin1String("save"), QLatin1String("vacuum"), QLatin1String("explain"),
        QLatin1String("attach"), QLatin1String("detach"), QLatin1String("analyze"), QLatin1String("reindex"),
        QLatin1String("merge"), QLatin1String("go"), QLatin1String("exec"), QLatin1String("execute"),
        QLatin1String("from"), QLatin1String("where"), QLatin1String("order"), QLatin1String("group"),
        QLatin1String("union"), QLatin1String("raiserror"), QLatin1String("waitfor"), QLatin1String("open"),
        QLatin1String("close"), QLatin1String("fetch"), QLatin1String("deallocate"), QLatin1String("kill"),
        QLatin1String("backup"), QLatin1String("restore"), QLatin1String("checkpoint"), QLatin1String("dbcc"),
        QLatin1String("deny"), QLatin1String("bulk"), QLatin1String("readtext"), QLatin1String("writetext"),
        QLatin1String("updatetext"), QLatin1String("shutdown"), QLatin1String("reconfigure"),
        QLatin1String("setuser"), QLatin1String("break"), QLatin1String("continue"), QLatin1String("goto"),
        QLatin1String("throw"), QLatin1String("try"), QLatin1String("catch"), QLatin1String("else")};
    for (const QLatin1String keyword : kKeywords)
        if (word.size() == keyword.size() && word.compare(keyword, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

// Reads a possibly qualified name (db..name, db.owner.name, name) from
// position `i` into the call's qualifier and name, and moves `i` past it;
// false when none starts there. A blank ends the name.
bool ReadQualifiedName(const Tokens& tokens, int& i, ProcedureCall& call)
{
    const int start = i;
    QString last;
    bool qualified = false;
    bool expectName = true;
    while (i < tokens.size()) {
        const Token& t = tokens[i];
        if (!t.leading.isEmpty() && !last.isEmpty())
            break;
        if (expectName && t.IsName()) {
            last = NameValue(t);
            expectName = false;
        } else if (t.IsPunct('.')) {
            qualified = true;
            expectName = true;
        } else {
            break;
        }
        ++i;
    }
    if (last.isEmpty() || expectName)
        return false;
    call.qualifier = qualified ? NameValue(tokens[start]) : QString();
    call.name = last;
    return true;
}

// One procedure argument: a quoted string, a bare word or a (signed) number.
std::optional<QString> ReadArgument(const Tokens& tokens, int& i)
{
    if (i >= tokens.size())
        return std::nullopt;
    const Token& t = tokens[i];
    if (t.kind == TokenKind::String) {
        ++i;
        return StringValue(t.text);
    }
    if (t.kind == TokenKind::Word || t.kind == TokenKind::Number) {
        ++i;
        return t.text;
    }
    if (t.kind == TokenKind::Operator && (t.text == QLatin1String("-") || t.text == QLatin1String("+"))
        && i + 1 < tokens.size() && tokens[i + 1].kind == TokenKind::Number && tokens[i + 1].leading.isEmpty()) {
        i += 2;
        return t.text + tokens[i - 1].text;
    }
    return std::nullopt;
}

// What the quick reading of a call takes: ASCII names, digits and blanks;
// anything else is left to the tokens.
bool IsAsciiLetter(QChar c)
{
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
}
bool IsAsciiDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }
bool IsPlainNameChar(QChar c) { return IsAsciiLetter(c) || IsAsciiDigit(c) || c == QLatin1Char('_'); }
bool IsBlank(QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); }

// A plain name, qualified or not (INVENTORY..sp_X, dbo.sp_X, sp_X), from
// the start of `text` into the call; `i` moves past it. False when the
// statement does not start so.
bool ReadPlainName(QStringView text, qsizetype& i, ProcedureCall& call)
{
    QStringView first;
    QStringView last;
    for (bool more = true; more;) {
        const qsizetype start = i;
        if (i < text.size() && (IsAsciiLetter(text[i]) || text[i] == QLatin1Char('_')))
            while (i < text.size() && IsPlainNameChar(text[i]))
                ++i;
        last = text.mid(start, i - start);
        if (start == 0)
            first = last;
        more = i < text.size() && text[i] == QLatin1Char('.');
        i += more ? 1 : 0;
    }
    if (first.isEmpty() || last.isEmpty())
        return false;
    if (first.data() != last.data())
        call.qualifier = first.toString();
    call.name = last.toString();
    return true;
}

// One argument: a quoted text with no quote inside, or unsigned digits.
bool ReadPlainArgument(QStringView text, qsizetype& i, ProcedureCall& call)
{
    const qsizetype start = i;
    if (i < text.size() && text[i] == QLatin1Char('\'')) {
        const qsizetype close = text.indexOf(QLatin1Char('\''), i + 1);
        if (close < 0 || (close + 1 < text.size() && text[close + 1] == QLatin1Char('\'')))
            return false;
        call.arguments << text.mid(i + 1, close - i - 1).toString();
        i = close + 1;
        return true;
    }
    while (i < text.size() && IsAsciiDigit(text[i]))
        ++i;
    if (i == start || (i < text.size() && !IsBlank(text[i]) && text[i] != QLatin1Char(',')))
        return false;
    call.arguments << text.mid(start, i - start).toString();
    return true;
}

// The usual call, a plainly named procedure with plain arguments
// (INVENTORY..sp_X 'P0001','94'), read without splitting the statement
// into tokens: a lookup of an item's stock makes one at every line typed.
// Nothing when the statement is anything else, which the tokens then tell.
std::optional<ProcedureCall> ReadPlainCall(QStringView text)
{
    const auto skipBlanks = [&text](qsizetype& i) {
        while (i < text.size() && IsBlank(text[i]))
            ++i;
    };
    ProcedureCall call;
    qsizetype i = 0;
    if (!ReadPlainName(text, i, call))
        return std::nullopt;
    if (i == text.size())
        return call;
    if (!IsBlank(text[i]))
        return std::nullopt;
    for (;;) {
        skipBlanks(i);
        if (!ReadPlainArgument(text, i, call))
            return std::nullopt;
        skipBlanks(i);
        if (i == text.size())
            return call;
        if (text[i] != QLatin1Char(','))
            return std::nullopt;
        ++i;
    }
}

} // namespace

std::optional<ProcedureCall> ParseProcedureCall(const QString& statement)
{
    // Most statements say what they are in their first word: no need to
    // split a long SELECT into tokens to see that it calls nothing.
    const QStringView text = QStringView(statement).trimmed();
    qsizetype wordEnd = 0;
    while (wordEnd < text.size() && (text[wordEnd].isLetterOrNumber() || text[wordEnd] == QLatin1Char('_')
                                     || text[wordEnd] == QLatin1Char('@') || text[wordEnd] == QLatin1Char('#')
                                     || text[wordEnd] == QLatin1Char('$')))
        ++wordEnd;
    const QStringView firstWord = text.left(wordEnd);
    if (IsStatementKeyword(firstWord)) {
        if (firstWord.compare(QLatin1String("exec"), Qt::CaseInsensitive) != 0
            && firstWord.compare(QLatin1String("execute"), Qt::CaseInsensitive) != 0)
            return std::nullopt;
    } else if (std::optional<ProcedureCall> plain = ReadPlainCall(text)) {
        return plain;
    }

    Tokens tokens = Tokenize(statement);
    while (!tokens.isEmpty() && tokens.last().IsPunct(';'))
        tokens.removeLast();
    int i = 0;
    if (i < tokens.size() && (tokens[i].IsWord(QLatin1String("exec")) || tokens[i].IsWord(QLatin1String("execute"))))
        ++i;
    if (i >= tokens.size() || (tokens[i].kind == TokenKind::Word && IsStatementKeyword(tokens[i].text)))
        return std::nullopt;
    ProcedureCall call;
    if (!ReadQualifiedName(tokens, i, call))
        return std::nullopt;

    // A call whose arguments a server would refuse (an unclosed text, a
    // variable never declared) runs nothing.
    const auto checked = [&]() -> ProcedureCall& {
        if (const QString refusal = SyntaxError(tokens); !refusal.isEmpty())
            throw DbError(refusal);
        return call;
    };
    if (i == tokens.size())
        return checked();
    for (;;) {
        const std::optional<QString> argument = ReadArgument(tokens, i);
        if (!argument)
            return std::nullopt;
        call.arguments << *argument;
        if (i == tokens.size())
            return checked();
        if (!tokens[i].IsPunct(','))
            return std::nullopt;
        ++i;
    }
}

} // namespace db
