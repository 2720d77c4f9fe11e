#pragma once

#include <QString>

namespace db {

// The one way a text value enters a statement: between single quotes, with
// every single quote inside it doubled. For ordinary values the text is the
// value itself between quotes; no value can end the literal early.
// Written into one reserved text: statements such as a save's inserts quote
// several values a line.
inline QString Quote(QStringView value)
{
    QString text;
    text.reserve(value.size() + 2);
    text += QLatin1Char('\'');
    qsizetype from = 0;
    for (qsizetype at; (at = value.indexOf(QLatin1Char('\''), from)) >= 0; from = at + 1) {
        text += value.mid(from, at + 1 - from);
        text += QLatin1Char('\'');
    }
    text += value.mid(from);
    text += QLatin1Char('\'');
    return text;
}

inline QString Quote(const QString& value)
{
    return Quote(QStringView(value));
}

// An empty text as NULL, any other quoted.
inline QString QuoteOrNull(const QString& value)
{
    return value.isEmpty() ? QStringLiteral("null") : Quote(value);
}

} // namespace db
