#include "records/RowReader.h"

#include "RecordsFixture.h"

#include "db/DbError.h"

#include <QDateTime>
#include <gtest/gtest.h>

#include <functional>

namespace {

using records::RowReader;

// One stored value read into one member type.
struct Case {
    const char* name;
    QVariant stored;
    std::function<QVariant(const RowReader&)> read;
    QVariant expected;           // when the read succeeds
    const char* failure = nullptr;  // else the description
};

QVariant Int16(const RowReader& r) { return int(r.Int16("V")); }
QVariant Int16Or7(const RowReader& r) { return int(r.Int16("V", 7)); }
QVariant Text(const RowReader& r) { return r.Text("V"); }
QVariant TextOr0(const RowReader& r) { return r.Text("V", "0"); }
QVariant Double(const RowReader& r) { return r.Double("V"); }
QVariant Money(const RowReader& r) { return r.Money("V").Units(); }
QVariant MoneyOr0(const RowReader& r) { return r.Money("V", {}).Units(); }
QVariant Date(const RowReader& r) { return r.Date("V"); }
QVariant DateOrZero(const RowReader& r) { return r.Date("V", base::ZeroDate()); }
QVariant Flag(const RowReader& r) { return r.Flag("V"); }
QVariant FlagOrFalse(const RowReader& r) { return r.Flag("V", false); }

TEST(RowReader, ConvertsEachValueToTheMemberType)
{
    const QVariant null;
    const QDateTime afternoon(QDate(2026, 3, 7), QTime(14, 5, 9));
    const Case cases[] = {
        {"whole number", 5LL, Int16, 5},
        {"numeric text", "12", Int16, 12},
        {"half to even down", 2.5, Int16, 2},
        {"half to even up", 3.5, Int16, 4},
        {"too large", 40000LL, Int16, {}, "Overflow"},
        {"not a number", "abc", Int16, {}, "Type mismatch"},
        {"null without default", null, Int16, {}, "Invalid use of Null"},
        {"null with default", null, Int16Or7, 7},
        {"number as text", 12LL, Text, "12"},
        {"fraction as text", 12.5, Text, "12.5"},
        {"null text", null, Text, {}, "Invalid use of Null"},
        {"null text default", null, TextOr0, "0"},
        {"grouped text", "1,000.5", Double, 1000.5},
        {"money", 1.5, Money, 15000LL},
        {"money rounds to four decimals", 0.00005, Money, 1LL},
        {"money beyond range", 1e300, Money, {}, "Overflow"},
        {"null money default", null, MoneyOr0, 0LL},
        {"date time", afternoon, Date, afternoon},
        {"date text", "03/07/2026 02:05:09 PM", Date, afternoon},
        {"day count", 1.5, Date, base::ZeroDate().addSecs(36 * 3600)},
        {"null date default", null, DateOrZero, base::ZeroDate()},
        {"not a date", "soon", Date, {}, "Type mismatch"},
        {"flag word", "True", Flag, true},
        {"zero flag", 0LL, Flag, false},
        {"any other number", 2LL, Flag, true},
        {"null flag default", null, FlagOrFalse, false},
        {"not a flag", "x", Flag, {}, "Type mismatch"},
    };
    for (const Case& c : cases) {
        const db::RowSet rows({"V"}, {{c.stored}});
        const RowReader reader(rows);
        try {
            const QVariant value = c.read(reader);
            EXPECT_EQ(c.failure, nullptr) << c.name << ": read " << value.toString().toStdString();
            EXPECT_EQ(value, c.expected) << c.name << ": read " << value.toString().toStdString();
        } catch (const records::ConversionError& e) {
            EXPECT_EQ(e.Description(), QString::fromLatin1(c.failure ? c.failure : "(success)")) << c.name;
        }
    }
}

TEST(RowReader, MissingColumnIsADatabaseError)
{
    const db::RowSet rows({"V"}, {{1}});
    EXPECT_THROW(RowReader(rows).Double("W", 0), db::DbError);
}

} // namespace
