#include "db/StatementShape.h"

#include "base/Texts.h"
#include "db/EmbeddedFormat.h"
#include "db/Quote.h"
#include "db/TsqlTokenizer.h"

#include <QDateTime>

namespace db {

namespace {

bool IsShaped(const QString& statement)
{
    int i = 0;
    while (i < statement.size() && statement[i].isSpace())
        ++i;
    int end = i;
    while (end < statement.size() && statement[end].isLetter())
        ++end;
    const QStringView word = QStringView(statement).mid(i, end - i);
    for (const char* keyword : {"select", "insert", "update", "delete"})
        if (word.compare(QLatin1String(keyword), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

bool IsComparisonChar(QChar c)
{
    return c == QLatin1Char('=') || c == QLatin1Char('<') || c == QLatin1Char('>') || c == QLatin1Char('!');
}

// What came before the current position, as far as lifting cares.
enum class Before {
    Other,
    Comparison,   // = <> < > <= >= != !< !>
    Like,
    ListKeyword,  // VALUES or IN: a '(' next opens a list
    ListItemStart // '(' or ',' of a VALUES or IN list
};

class ShapeScanner {
public:
    explicit ShapeScanner(const QString& statement) : s_(statement)
    {
        shape_.text.reserve(statement.size());
        shape_.literals.reserve(16);
    }

    StatementShape Run()
    {
        int i = 0;
        while (i < s_.size()) {
            const QChar c = s_[i];
            if (c.isSpace()) {
                ++i;
            } else if (c == QLatin1Char('\'')) {
                bool closed = false;
                const int length = QuotedLength(s_, i, c, &closed);
                i = Literal(i, i, length, true, closed);
            } else if ((c == QLatin1Char('N') || c == QLatin1Char('n')) && i + 1 < s_.size()
                       && s_[i + 1] == QLatin1Char('\'') && !PrecededByWordChar(i)) {
                bool closed = false;
                const int length = QuotedLength(s_, i + 1, QLatin1Char('\''), &closed);
                i = Literal(i, i + 1, length, true, closed);
            } else if (c.isDigit() && !PrecededByWordChar(i)) {
                const int length = NumberLength(s_, i);
                const bool whole = i + length >= s_.size() || !IsWordChar(s_[i + length]);
                i = whole ? Literal(i, i, length, false, true) : Pass(i, length, Before::Other);
            } else if (c == QLatin1Char('[') || c == QLatin1Char('"')) {
                i = Pass(i, QuotedLength(s_, i, c == QLatin1Char('[') ? QLatin1Char(']') : c), Before::Other);
            } else if (IsWordStart(c)) {
                i = WordAt(i);
            } else if (IsComparisonChar(c)) {
                i = Pass(i, 1, Before::Comparison);
            } else if (c == QLatin1Char('(')) {
                lists_.push_back(before_ == Before::ListKeyword);
                i = Pass(i, 1, lists_.back() ? Before::ListItemStart : Before::Other);
            } else if (c == QLatin1Char(')')) {
                if (!lists_.isEmpty())
                    lists_.pop_back();
                i = Pass(i, 1, Before::Other);
            } else if (c == QLatin1Char(',')) {
                i = Pass(i, 1, !lists_.isEmpty() && lists_.back() ? Before::ListItemStart : Before::Other);
            } else {
                i = Pass(i, 1, Before::Other);
            }
        }
        shape_.text += QStringView(s_).mid(copied_);
        return std::move(shape_);
    }

private:
    bool PrecededByWordChar(int i) const { return i > 0 && (IsWordChar(s_[i - 1]) || s_[i - 1] == QLatin1Char('.')); }

    // Moves past text that stays as it is; it is copied into the shape in
    // one piece when a literal is lifted or the statement ends.
    int Pass(int i, int length, Before next)
    {
        before_ = next;
        return i + length;
    }

    int WordAt(int i)
    {
        int end = i + 1;
        while (end < s_.size() && IsWordChar(s_[end]))
            ++end;
        const QStringView word = QStringView(s_).mid(i, end - i);
        return Pass(i, end - i, KeywordKind(word));
    }

    // Most words are names; their length rules them out before any compare.
    static Before KeywordKind(QStringView word)
    {
        const auto is = [word](QLatin1String keyword) {
            return word.size() == keyword.size() && word.compare(keyword, Qt::CaseInsensitive) == 0;
        };
        if (is(QLatin1String("like")))
            return Before::Like;
        if (is(QLatin1String("values")) || is(QLatin1String("in")))
            return Before::ListKeyword;
        return Before::Other;
    }

    // A literal [begin, begin + length) whose text starts at `start` (before
    // it, an N prefix): lifted when it stands as a value of its own.
    int Literal(int start, int begin, int length, bool isText, bool closed)
    {
        const int end = begin + length;
        // The shape must say what the statement says, so that the
        // translation refuses what the statement's own would: an unclosed
        // text stays, and so does a literal run into a digit, which would
        // join its marker's number.
        const bool lift = closed && (end >= s_.size() || !s_[end].isDigit())
                          && (before_ == Before::Comparison || before_ == Before::Like
                              || before_ == Before::ListItemStart || ComparisonFollows(end));
        if (!lift)
            return Pass(start, end - start, Before::Other);
        shape_.literals.push_back({begin, length, isText});
        shape_.text += QStringView(s_).mid(copied_, start - copied_);
        shape_.text += isText ? QLatin1String("?T") : QLatin1String("?N");
        AppendNumber(int(shape_.literals.size()));
        copied_ = end;
        before_ = Before::Other;
        return end;
    }

    void AppendNumber(int n)
    {
        char digits[12];
        int count = 0;
        do {
            digits[count++] = char('0' + n % 10);
            n /= 10;
        } while (n > 0);
        while (count > 0)
            shape_.text += QLatin1Char(digits[--count]);
    }

    bool ComparisonFollows(int i) const
    {
        while (i < s_.size() && s_[i].isSpace())
            ++i;
        return i < s_.size() && IsComparisonChar(s_[i]);
    }

    const QString& s_;
    StatementShape shape_;
    Before before_ = Before::Other;
    int copied_ = 0;  // the statement's text before this is in the shape
    // For each open parenthesis: whether it opens a VALUES or IN list.
    QVector<bool> lists_;
};

} // namespace

StatementShape LiftLiterals(const QString& statement)
{
    if (!IsShaped(statement))
        return {statement, {}};
    return ShapeScanner(statement).Run();
}

} // namespace db

namespace db {

namespace {

QString LiteralText(const QString& statement, const LiftedLiteral& literal, bool isDateTime)
{
    const QString text = statement.mid(literal.begin, literal.length);
    if (!isDateTime)
        return text;
    const std::optional<QDateTime> date = base::ParseDateTime(StringValue(text));
    return date ? Quote(QString::fromLatin1(StoredDateTime(*date))) : text;
}

} // namespace

QString WithLiteralsWritten(const QString& sql, const QString& statement, const StatementShape& shape,
                            const QSet<int>& dateParameters)
{
    return WithParametersReplaced(sql, [&](int k) -> std::optional<QString> {
        if (k < 0 || k >= shape.literals.size())
            return std::nullopt;
        return LiteralText(statement, shape.literals[k], dateParameters.contains(k));
    });
}

QString WithParametersReplaced(const QString& sql, const std::function<std::optional<QString>(int)>& replacement)
{
    QString out;
    out.reserve(sql.size() + 64);
    int copied = 0;
    int i = 0;
    while (i < sql.size()) {
        const QChar c = sql[i];
        if (c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('[')) {
            i += QuotedLength(sql, i, c == QLatin1Char('[') ? QLatin1Char(']') : c);
            continue;
        }
        if (c != QLatin1Char('?') || i + 1 >= sql.size() || !sql[i + 1].isDigit()) {
            ++i;
            continue;
        }
        int end = i + 1;
        while (end < sql.size() && sql[end].isDigit())
            ++end;
        if (const std::optional<QString> written = replacement(sql.mid(i + 1, end - i - 1).toInt() - 1)) {
            out += QStringView(sql).mid(copied, i - copied);
            out += *written;
            copied = end;
        }
        i = end;
    }
    out += QStringView(sql).mid(copied);
    return out;
}

} // namespace db
