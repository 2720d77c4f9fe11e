#include "db/StatementShape.h"

#include "db/TsqlTokenizer.h"

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
    explicit ShapeScanner(const QString& statement) : s_(statement) { shape_.text.reserve(statement.size()); }

    StatementShape Run()
    {
        int i = 0;
        while (i < s_.size()) {
            const QChar c = s_[i];
            if (c.isSpace()) {
                shape_.text += c;
                ++i;
            } else if (c == QLatin1Char('\'')) {
                i = Literal(i, i, QuotedLength(s_, i, c), true);
            } else if ((c == QLatin1Char('N') || c == QLatin1Char('n')) && i + 1 < s_.size()
                       && s_[i + 1] == QLatin1Char('\'') && !PrecededByWordChar(i)) {
                i = Literal(i, i + 1, QuotedLength(s_, i + 1, QLatin1Char('\'')), true);
            } else if (c.isDigit() && !PrecededByWordChar(i)) {
                const int length = NumberLength(s_, i);
                const bool whole = i + length >= s_.size() || !IsWordChar(s_[i + length]);
                i = whole ? Literal(i, i, length, false) : Copy(i, length, Before::Other);
            } else if (c == QLatin1Char('[') || c == QLatin1Char('"')) {
                i = Copy(i, QuotedLength(s_, i, c == QLatin1Char('[') ? QLatin1Char(']') : c), Before::Other);
            } else if (IsWordStart(c)) {
                i = WordAt(i);
            } else if (IsComparisonChar(c)) {
                i = Copy(i, 1, Before::Comparison);
            } else if (c == QLatin1Char('(')) {
                lists_.push_back(before_ == Before::ListKeyword);
                i = Copy(i, 1, lists_.back() ? Before::ListItemStart : Before::Other);
            } else if (c == QLatin1Char(')')) {
                if (!lists_.isEmpty())
                    lists_.pop_back();
                i = Copy(i, 1, Before::Other);
            } else if (c == QLatin1Char(',')) {
                i = Copy(i, 1, !lists_.isEmpty() && lists_.back() ? Before::ListItemStart : Before::Other);
            } else {
                i = Copy(i, 1, Before::Other);
            }
        }
        return std::move(shape_);
    }

private:
    bool PrecededByWordChar(int i) const { return i > 0 && (IsWordChar(s_[i - 1]) || s_[i - 1] == QLatin1Char('.')); }

    int Copy(int i, int length, Before next)
    {
        shape_.text += QStringView(s_).mid(i, length);
        before_ = next;
        return i + length;
    }

    int WordAt(int i)
    {
        int end = i + 1;
        while (end < s_.size() && IsWordChar(s_[end]))
            ++end;
        const QStringView word = QStringView(s_).mid(i, end - i);
        Before next = Before::Other;
        if (word.compare(QLatin1String("like"), Qt::CaseInsensitive) == 0)
            next = Before::Like;
        else if (word.compare(QLatin1String("values"), Qt::CaseInsensitive) == 0
                 || word.compare(QLatin1String("in"), Qt::CaseInsensitive) == 0)
            next = Before::ListKeyword;
        return Copy(i, end - i, next);
    }

    // A literal [begin, begin + length) whose text starts at `start` (before
    // it, an N prefix): lifted when it stands as a value of its own.
    int Literal(int start, int begin, int length, bool isText)
    {
        const int end = begin + length;
        const bool lift = before_ == Before::Comparison || before_ == Before::Like
                          || before_ == Before::ListItemStart || ComparisonFollows(end);
        if (!lift)
            return Copy(start, end - start, Before::Other);
        shape_.literals.push_back({begin, length, isText});
        shape_.text += isText ? QStringLiteral("?T") : QStringLiteral("?N");
        shape_.text += QString::number(shape_.literals.size());
        before_ = Before::Other;
        return end;
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
    // For each open parenthesis: whether it opens a VALUES or IN list.
    QVector<bool> lists_;
};

} // namespace

StatementShape ShapeOf(const QString& statement)
{
    if (!IsShaped(statement))
        return {statement, {}};
    return ShapeScanner(statement).Run();
}

} // namespace db
