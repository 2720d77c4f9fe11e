#pragma once

#include <QPair>
#include <QString>
#include <QVector>

namespace db {

enum class TokenKind {
    Word,        // identifier or keyword
    Bracketed,   // [a name]
    String,      // 'text', quotes included as written
    Number,
    Operator,    // + - * / % = <> != < > <= >= || and the like
    Punct,       // ( ) , . ;
    Other,       // anything the tokenizer does not know, passed on as is
};

struct Token {
    TokenKind kind = TokenKind::Other;
    QString text;      // as it appears in the output
    QString leading;   // blanks before the token, kept so untouched text stays byte-identical
    // A literal lifted out of the statement (see StatementShape.h): its
    // 0-based position among the lifted literals; text is SQLite's ?<n>.
    int parameter = -1;
    // A quoted text or name that runs to the end of the statement unclosed.
    bool unclosed = false;

    bool Is(TokenKind k, QLatin1String t) const
    {
        return kind == k && text.compare(t, Qt::CaseInsensitive) == 0;
    }
    bool IsWord(QLatin1String t) const { return Is(TokenKind::Word, t); }
    bool IsPunct(char c) const { return kind == TokenKind::Punct && text.size() == 1 && text[0] == QLatin1Char(c); }
    bool IsName() const { return kind == TokenKind::Word || kind == TokenKind::Bracketed; }
};

enum class TokenizeMode {
    Statement,
    // A statement's shape: its markers ?T<n> and ?N<n> become String and
    // Number tokens that stand for parameter n.
    Shape,
};

// Splits T-SQL text into tokens; joining leading + text of every token gives
// the input back (trailing blanks aside).
QVector<Token> Tokenize(const QString& text, TokenizeMode mode = TokenizeMode::Statement);

// A character that starts a word or name, or goes on with one. Inline (as
// QChar's tests are, ASCII first): every statement is scanned character by
// character.
inline bool IsWordStart(QChar c)
{
    return c.isLetter() || c == QLatin1Char('_') || c == QLatin1Char('@') || c == QLatin1Char('#');
}

inline bool IsWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('@') || c == QLatin1Char('#')
           || c == QLatin1Char('$');
}
// Length of the quoted run starting at `start` (closing character `close`,
// doubled to stand for itself). An unclosed run takes the rest of the text;
// *closed, when given, tells which it was (a run that ends in a doubled
// closing character is unclosed, though it ends in that character).
int QuotedLength(const QString& text, int start, QChar close, bool* closed = nullptr);
// Length of the number starting at `start`: digits, one point, an exponent.
int NumberLength(const QString& text, int start);

QString JoinTokens(const QVector<Token>& tokens);

// What a server says of a statement it cannot parse, near `text`.
QString IncorrectSyntaxNear(const QString& text);
// The server's refusal of a statement whose tokens would mean something else
// to SQLite than what they mean to the server, in the server's words; empty
// when there is none. Those are: a quotation left unclosed (a run ending in a
// doubled quote included), a parenthesis left unclosed or closing none
// (rewrites rely on each having its pair), a literal run into a number
// ('X'2, whose lifted marker would swallow the digit), and anything that
// SQLite takes for a parameter of its own (?, :name, $name, @name, #name),
// which would be bound to a lifted value. In a shape, its markers must stand
// in their order: one written into the statement itself is refused.
QString SyntaxError(const QVector<Token>& tokens);

// The value of a string token: quotes removed, doubled quotes made single.
QString StringValue(const QString& literal);
// The name of a Word or Bracketed token, brackets removed.
QString NameValue(const Token& token);

using Tokens = QVector<Token>;

Token MakeToken(TokenKind kind, const QString& text, const QString& leading = QString());
// A word or a punctuation mark to insert, with one blank before the word.
Token Word(const QString& text, const QString& leading = QStringLiteral(" "));
Token Punct(char c);

// = <> != < > <= >=
bool IsComparison(const Token& token);

// Index of the parenthesis that closes the one at `open`; tokens.size() when
// it is never closed.
int MatchingClose(const Tokens& tokens, int open);
// Index of the parenthesis that opens the one closing at `close`; -1 when
// there is none.
int MatchingOpen(const Tokens& tokens, int close);
// Where the group holding `from` ends: its closing parenthesis, a
// statement-ending semicolon, or the end of the text.
int EndOfGroup(const Tokens& tokens, int from);
// Splits [begin, end) at the commas of its own level.
QVector<QPair<int, int>> SplitAtCommas(const Tokens& tokens, int begin, int end);

} // namespace db
