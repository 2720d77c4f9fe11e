#include "db/TsqlTokenizer.h"

namespace db {

namespace {

int OperatorLength(const QString& text, int start)
{
    static const char* const kTwoCharOperators[] = {"<>", "<=", ">=", "!=", "!<", "!>", "||", "=="};
    const QStringView rest = QStringView(text).mid(start, 2);
    for (const char* op : kTwoCharOperators)
        if (rest == QLatin1String(op))
            return 2;
    return 1;
}

// A marker of a lifted literal in a statement's shape: ?T<n> or ?N<n>.
int MarkerLength(const QString& text, int start)
{
    if (text[start] != QLatin1Char('?') || start + 2 >= text.size()
        || (text[start + 1] != QLatin1Char('T') && text[start + 1] != QLatin1Char('N')) || !text[start + 2].isDigit())
        return 0;
    int i = start + 2;
    while (i < text.size() && text[i].isDigit())
        ++i;
    return i - start;
}

} // namespace

int QuotedLength(const QString& text, int start, QChar close, bool* closed)
{
    int i = start + 1;
    while (i < text.size()) {
        if (text[i] == close) {
            if (i + 1 < text.size() && text[i + 1] == close) {
                i += 2;
                continue;
            }
            if (closed)
                *closed = true;
            return i + 1 - start;
        }
        ++i;
    }
    if (closed)
        *closed = false;
    return text.size() - start;
}

int NumberLength(const QString& text, int start)
{
    int i = start;
    bool seenPoint = false;
    while (i < text.size() && (text[i].isDigit() || (text[i] == QLatin1Char('.') && !seenPoint))) {
        seenPoint = seenPoint || text[i] == QLatin1Char('.');
        ++i;
    }
    if (i < text.size() && (text[i] == QLatin1Char('e') || text[i] == QLatin1Char('E'))) {
        int j = i + 1;
        if (j < text.size() && (text[j] == QLatin1Char('+') || text[j] == QLatin1Char('-')))
            ++j;
        if (j < text.size() && text[j].isDigit()) {
            while (j < text.size() && text[j].isDigit())
                ++j;
            i = j;
        }
    }
    return i - start;
}

QVector<Token> Tokenize(const QString& text, TokenizeMode mode)
{
    QVector<Token> tokens;
    QString leading;
    int i = 0;
    while (i < text.size()) {
        const QChar c = text[i];
        if (c.isSpace()) {
            leading += c;
            ++i;
            continue;
        }
        Token token;
        int length = 1;
        int marker = 0;
        if (mode == TokenizeMode::Shape && (marker = MarkerLength(text, i)) > 0) {
            token.kind = text[i + 1] == QLatin1Char('T') ? TokenKind::String : TokenKind::Number;
            token.parameter = text.mid(i + 2, marker - 2).toInt() - 1;
            token.text = QLatin1Char('?') + text.mid(i + 2, marker - 2);
            token.leading = leading;
            leading.clear();
            tokens << token;
            i += marker;
            continue;
        }
        bool closed = true;
        if (c == QLatin1Char('\'')) {
            token.kind = TokenKind::String;
            length = QuotedLength(text, i, QLatin1Char('\''), &closed);
        } else if (c == QLatin1Char('[')) {
            token.kind = TokenKind::Bracketed;
            length = QuotedLength(text, i, QLatin1Char(']'), &closed);
        } else if (c == QLatin1Char('"')) {
            token.kind = TokenKind::Bracketed;
            length = QuotedLength(text, i, QLatin1Char('"'), &closed);
        } else if (c.isDigit() || (c == QLatin1Char('.') && i + 1 < text.size() && text[i + 1].isDigit())) {
            token.kind = TokenKind::Number;
            length = NumberLength(text, i);
        } else if (IsWordStart(c)) {
            token.kind = TokenKind::Word;
            while (i + length < text.size() && IsWordChar(text[i + length]))
                ++length;
        } else if (QStringLiteral("(),.;").contains(c)) {
            token.kind = TokenKind::Punct;
        } else if (QStringLiteral("+-*/%=<>!|&^~").contains(c)) {
            token.kind = TokenKind::Operator;
            length = OperatorLength(text, i);
        }
        token.text = text.mid(i, length);
        token.leading = leading;
        token.unclosed = !closed;
        leading.clear();
        tokens << token;
        i += length;
    }
    return tokens;
}

QString JoinTokens(const QVector<Token>& tokens)
{
    QString out;
    for (const Token& t : tokens)
        out += t.leading + t.text;
    return out;
}

QString IncorrectSyntaxNear(const QString& text)
{
    return QStringLiteral("Incorrect syntax near '%1'.").arg(text);
}

namespace {

// A token as a server's message names it: a text by its value, a lifted
// literal by its marker.
QString Shown(const Token& t)
{
    if (t.parameter >= 0)
        return QStringLiteral("?");
    return t.kind == TokenKind::String ? StringValue(t.text) : t.text;
}

} // namespace

QString SyntaxError(const QVector<Token>& tokens)
{
    int depth = 0;
    int markers = 0;
    for (int i = 0; i < tokens.size(); ++i) {
        const Token& t = tokens[i];
        if (t.unclosed)
            return QStringLiteral("Unclosed quotation mark after the character string '%1'.").arg(t.text.mid(1));
        if (t.parameter >= 0 && t.parameter != markers++)
            return IncorrectSyntaxNear(QStringLiteral("?"));
        if (t.kind == TokenKind::Other)
            return IncorrectSyntaxNear(t.text);
        if (t.kind == TokenKind::Word) {
            if (t.text.startsWith(QLatin1Char('@')))
                return QStringLiteral("Must declare the scalar variable \"%1\".").arg(t.text);
            if (t.text.startsWith(QLatin1Char('#')))
                return QStringLiteral("Invalid object name '%1'.").arg(t.text);
            if (t.text.contains(QLatin1Char('@')) || t.text.contains(QLatin1Char('#')))
                return QStringLiteral("Invalid column name '%1'.").arg(t.text);
        }
        if (t.kind == TokenKind::Number && i > 0
            && (tokens[i - 1].kind == TokenKind::String || tokens[i - 1].kind == TokenKind::Number))
            return IncorrectSyntaxNear(Shown(t));
        if (t.IsPunct('('))
            ++depth;
        else if (t.IsPunct(')') && --depth < 0)
            return IncorrectSyntaxNear(t.text);
    }
    if (depth > 0)
        return IncorrectSyntaxNear(Shown(tokens.last()));
    return {};
}

QString StringValue(const QString& literal)
{
    QString inner = literal.mid(1);
    if (inner.endsWith(QLatin1Char('\'')))
        inner.chop(1);
    inner.replace(QLatin1String("''"), QLatin1String("'"));
    return inner;
}

QString NameValue(const Token& token)
{
    if (token.kind != TokenKind::Bracketed)
        return token.text;
    QString inner = token.text.mid(1);
    const QChar close = token.text.startsWith(QLatin1Char('[')) ? QLatin1Char(']') : QLatin1Char('"');
    if (inner.endsWith(close))
        inner.chop(1);
    inner.replace(QString(2, close), QString(close));
    return inner;
}

Token MakeToken(TokenKind kind, const QString& text, const QString& leading)
{
    Token t;
    t.kind = kind;
    t.text = text;
    t.leading = leading;
    return t;
}

Token Word(const QString& text, const QString& leading)
{
    return MakeToken(TokenKind::Word, text, leading);
}

Token Punct(char c) { return MakeToken(TokenKind::Punct, QString(QLatin1Char(c))); }

bool IsComparison(const Token& token)
{
    static const char* const kOps[] = {"=", "<>", "!=", "<", ">", "<=", ">="};
    if (token.kind != TokenKind::Operator)
        return false;
    for (const char* op : kOps)
        if (token.text == QLatin1String(op))
            return true;
    return false;
}

int MatchingClose(const Tokens& tokens, int open)
{
    int depth = 0;
    for (int i = open; i < tokens.size(); ++i) {
        if (tokens[i].IsPunct('('))
            ++depth;
        else if (tokens[i].IsPunct(')') && --depth == 0)
            return i;
    }
    return int(tokens.size());
}

int MatchingOpen(const Tokens& tokens, int close)
{
    int depth = 0;
    for (int i = close; i >= 0; --i) {
        if (tokens[i].IsPunct(')'))
            ++depth;
        else if (tokens[i].IsPunct('(') && --depth == 0)
            return i;
    }
    return -1;
}

int EndOfGroup(const Tokens& tokens, int from)
{
    int depth = 0;
    for (int i = from; i < tokens.size(); ++i) {
        if (tokens[i].IsPunct('('))
            ++depth;
        else if (tokens[i].IsPunct(')') && depth-- == 0)
            return i;
        else if (tokens[i].IsPunct(';') && depth == 0)
            return i;
    }
    return int(tokens.size());
}

QVector<QPair<int, int>> SplitAtCommas(const Tokens& tokens, int begin, int end)
{
    QVector<QPair<int, int>> parts;
    int depth = 0;
    int start = begin;
    for (int i = begin; i < end; ++i) {
        if (tokens[i].IsPunct('('))
            ++depth;
        else if (tokens[i].IsPunct(')'))
            --depth;
        else if (tokens[i].IsPunct(',') && depth == 0) {
            parts.append({start, i});
            start = i + 1;
        }
    }
    parts.append({start, end});
    return parts;
}

} // namespace db
