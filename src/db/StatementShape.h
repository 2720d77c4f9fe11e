#pragma once

#include <QSet>
#include <QString>
#include <functional>
#include <optional>
#include <QVector>

namespace db {

// A literal lifted out of a statement, by where it stands in the text.
struct LiftedLiteral {
    int begin = 0;       // first character: the opening quote of a text
    int length = 0;
    bool isText = false; // a quoted text, else a number
};

// A statement with the literals that stand as values of their own lifted
// out: those compared with something (= <> < > <= >= !=, LIKE) and the
// items of a VALUES or IN list. Its text has each of them replaced by a
// marker (?T<n> for a text, ?N<n> for a number, n counted from 1), so that
// statements differing only in those values have one shape, translated and
// prepared once, and run with the values bound.
//
// Literals elsewhere stay: function arguments (isnull(x,'') must still
// match the index built on it), TOP counts, type lengths. Only SELECT,
// INSERT, UPDATE and DELETE statements are shaped; any other statement is
// its own shape.
struct StatementShape {
    QString text;
    QVector<LiftedLiteral> literals;
};

// The statement's shape: its values that stand alone lifted out.
StatementShape LiftLiterals(const QString& statement);

// The translated SQL of a shape with each parameter ?n written back as the
// literal it stands for (those in `dateParameters`, 0-based, as stored
// date-time texts). For statements whose plan depends on their values (a
// LIKE pattern), which SQLite would prepare again at every new binding.
QString WithLiteralsWritten(const QString& sql, const QString& statement, const StatementShape& shape,
                            const QSet<int>& dateParameters);
// Translated SQL with each parameter ?n outside quotes replaced by
// replacement(n - 1), or kept where that gives nothing.
QString WithParametersReplaced(const QString& sql, const std::function<std::optional<QString>(int)>& replacement);

} // namespace db
