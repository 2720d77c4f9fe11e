#pragma once

#include <QString>

namespace db {

// The one way a text value enters a statement: between single quotes, with
// every single quote inside it doubled. For ordinary values the text is the
// value itself between quotes; no value can end the literal early.
inline QString Quote(const QString& value)
{
    QString text = value;
    text.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + text + QLatin1Char('\'');
}

} // namespace db
