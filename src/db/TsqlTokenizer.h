#pragma once

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

    bool Is(TokenKind k, QLatin1String t) const
    {
        return kind == k && text.compare(t, Qt::CaseInsensitive) == 0;
    }
    bool IsWord(QLatin1String t) const { return Is(TokenKind::Word, t); }
    bool IsPunct(char c) const { return kind == TokenKind::Punct && text.size() == 1 && text[0] == QLatin1Char(c); }
    bool IsName() const { return kind == TokenKind::Word || kind == TokenKind::Bracketed; }
};

// Splits T-SQL text into tokens; joining leading + text of every token gives
// the input back (trailing blanks aside).
QVector<Token> Tokenize(const QString& text);

QString JoinTokens(const QVector<Token>& tokens);

// The value of a string token: quotes removed, doubled quotes made single.
QString StringValue(const QString& literal);
// The name of a Word or Bracketed token, brackets removed.
QString NameValue(const Token& token);

} // namespace db
