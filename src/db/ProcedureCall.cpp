#include "db/ProcedureCall.h"

#include "db/DbError.h"
#include "db/TsqlTokenizer.h"

#include <QSet>

namespace db {

namespace {

// Words that start a statement or clause and therefore never name a procedure.
bool IsStatementKeyword(const QString& word)
{
    static const QSet<QString> kKeywords = {
        "select", "insert", "update", "delete", "with", "create", "drop", "alter", "begin",
        "commit", "rollback", "set", "declare", "if", "while", "pragma", "values", "truncate",
        "grant", "revoke", "use", "print", "return", "replace", "end", "save", "vacuum",
        "explain", "attach", "detach", "analyze", "reindex", "merge", "go", "exec", "execute",
        "from", "where", "order", "group", "union", "raiserror", "waitfor", "open", "close",
        "fetch", "deallocate", "kill", "backup", "restore", "checkpoint", "dbcc", "deny",
        "bulk", "readtext", "writetext", "updatetext", "shutdown", "reconfigure", "setuser",
        "break", "continue", "goto", "throw", "try", "catch", "else"};
    return kKeywords.contains(word.toLower());
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
    const QString firstWord = text.left(wordEnd).toString();
    if (IsStatementKeyword(firstWord) && firstWord.compare(QLatin1String("exec"), Qt::CaseInsensitive) != 0
        && firstWord.compare(QLatin1String("execute"), Qt::CaseInsensitive) != 0)
        return std::nullopt;

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
