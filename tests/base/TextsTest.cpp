#include "base/Texts.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>
#include <utility>

namespace {

QDateTime Local(int y, int mo, int d, int h, int mi, int s, int ms = 0)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s, ms), Qt::LocalTime);
}

// Restores the default locale that a test replaced.
struct DefaultLocaleGuard {
    QLocale saved;
    explicit DefaultLocaleGuard(const QLocale& replacement) { QLocale::setDefault(replacement); }
    ~DefaultLocaleGuard() { QLocale::setDefault(saved); }
};

} // namespace

TEST(Texts, IsNumeric)
{
    const struct {
        const char* text;
        bool numeric;
    } cases[] = {
        {"12", true},          {" 12 ", true},       {"\t7\t", true},     {"-3.5", true},
        {"+.5", true},         {"5.", true},         {"1,000", true},     {"1,000.50", true},
        {"12,34", true},       {"1e3", true},        {"1E-3", true},      {"2D2", true},
        {"", false},           {"   ", false},       {".", false},        {"-", false},
        {"+", false},          {"12a", false},       {"1.2.3", false},    {",5", false},
        {"1.000,5", false},    {"1 000", false},     {"--1", false},      {"- 1", false},
        {"1-", false},         {"1e", false},        {"e3", false},       {"$5", false},
        {"\xd9\xa3", false},  // an Arabic-Indic digit is no digit here
    };
    for (const auto& c : cases)
        EXPECT_EQ(base::IsNumeric(QString::fromUtf8(c.text)), c.numeric) << '"' << c.text << '"';

    EXPECT_EQ(base::NumericValue("1,000.5"), 1000.5);
    EXPECT_EQ(base::NumericValue(" -2 "), -2.0);
    EXPECT_EQ(base::NumericValue("1e3"), 1000.0);
    EXPECT_EQ(base::NumericValue("12a"), std::nullopt);
}

TEST(Texts, Val)
{
    const struct {
        const char* text;
        double value;
    } cases[] = {
        {"1,000", 1},   {"", 0},       {" 12.5abc", 12.5}, {"-3", -3},  {"abc", 0},   {" 1 2", 12},
        {"- 3", -3},    {"1.2.3", 1.2}, {".5", 0.5},       {"-.5", -0.5}, {"+7", 7},  {"--3", 0},
        {"1e3", 1000},  {"2D2", 200},  {"1e", 1},          {"1e+x", 1}, {"1.5E-1", 0.15},
        {".", 0},       {"1e999", std::numeric_limits<double>::infinity()}, {"1e-999", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(base::Val(c.text), c.value) << '"' << c.text << '"';
    EXPECT_FALSE(std::signbit(base::Val("-0")));
}

TEST(Texts, FormatNumber)
{
    const struct {
        double value;
        const char* pattern;
        const char* text;
    } cases[] = {
        {2.5, "#####0", "3"},
        {-2.5, "#####0", "-3"},
        {0.4, "######0", "0"},
        {-999.5, "#####0", "-1000"},
        {12.5, "#########0.0000", "12.5000"},
        {1244.5, "###,###,##0.0000", "1,244.5000"},
        {-1234567.891, "###,###,##0.0000", "-1,234,567.8910"},
        {100, "###,###,##0.0000", "100.0000"},
        {0, "###,###,##0.0000", "0.0000"},
        {-0.00001, "##0.00", "0.00"},
        {-0.00004999, "#######0.0000", "0.0000"},
        {0.00005, "#######0.0000", "0.0001"},
        {-0.00005, "#######0.0000", "-0.0001"},
        {1.005, "##0.00", "1.01"},        // stored as 1.00499999999999989...
        {2.675, "##0.00", "2.68"},        // stored as 2.67499999999999982...
        {1.1 * 1.15, "##0.00", "1.27"},   // the product is 1.26499999999999990...
        {0.1 + 0.2, "##0.00", "0.30"},
        {999.99995, "########0.0000", "1000.0000"},
        {123456, "##0.00", "123456.00"},  // more digits than the pattern shows
        {1e15, "#########0", "1000000000000000"},
        {42, "#########0", "42"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(base::FormatNumber(c.value, c.pattern).toStdString(), c.text) << c.value << " with " << c.pattern;
}

TEST(Texts, StrForm)
{
    EXPECT_EQ(base::StrForm(5), " 5");
    EXPECT_EQ(base::StrForm(0), " 0");
    EXPECT_EQ(base::StrForm(-1), "-1");
    EXPECT_EQ(base::StrForm(std::numeric_limits<qint64>::min()), "-9223372036854775808");
}

TEST(Texts, PlainNumber)
{
    const std::pair<double, const char*> cases[] = {
        {5, "5"}, {12.5, "12.5"}, {62.5, "62.5"}, {0, "0"}, {-0.25, "-0.25"},
        {1000000, "1000000"}, {0.1 + 0.2, "0.3"}, {1234.5678, "1234.5678"},
    };
    for (const auto& [value, text] : cases)
        EXPECT_EQ(base::PlainNumber(value), text) << value;
}

TEST(Texts, MoneyFromDouble)
{
    const struct {
        double value;
        qint64 units;
    } cases[] = {
        {1.00005, 10001},      {-1.00005, -10001}, {0.12345, 1235},       {1.1 * 1.15, 12650},
        {0.00004, 0},          {-0.00004, 0},      {123456.78, 1234567800}, {-0.5, -5000},
        {99999999999.9999, 999999999999999},
    };
    for (const auto& c : cases)
        EXPECT_EQ(base::Money::FromDouble(c.value).Units(), c.units) << c.value;
    EXPECT_THROW(base::Money::FromDouble(1e20), std::overflow_error);
    EXPECT_THROW(base::Money::FromDouble(std::nan("")), std::overflow_error);
}

TEST(Texts, ZeroDate)
{
    EXPECT_EQ(base::ZeroDate(), Local(1899, 12, 30, 0, 0, 0));
    EXPECT_EQ(base::ZeroDate().timeSpec(), Qt::LocalTime);
}

TEST(Texts, FormatDateTime)
{
    const struct {
        QDateTime value;
        const char* text;
    } cases[] = {
        {Local(2026, 3, 7, 14, 5, 9), "03/07/2026 02:05:09 PM"},
        {Local(2026, 3, 7, 0, 0, 0), "03/07/2026 12:00:00 AM"},
        {Local(2026, 3, 7, 0, 59, 1), "03/07/2026 12:59:01 AM"},
        {Local(2026, 3, 7, 12, 0, 0), "03/07/2026 12:00:00 PM"},
        {Local(2026, 12, 31, 23, 59, 59), "12/31/2026 11:59:59 PM"},
        {Local(2026, 1, 2, 9, 8, 7, 999), "01/02/2026 09:08:07 AM"},
    };
    // The designator stays English whatever the user's locale.
    DefaultLocaleGuard chinese(QLocale(QLocale::Chinese, QLocale::China));
    for (const auto& c : cases)
        EXPECT_EQ(base::FormatDateTime(c.value).toStdString(), c.text);
    EXPECT_EQ(base::FormatDateTimeToMinute(Local(2026, 3, 7, 14, 5, 9)), "03/07/2026 02:05 PM");
}

TEST(Texts, ParseDateTime)
{
    const struct {
        const char* text;
        QDateTime value;
    } accepted[] = {
        {"03/07/2026 02:05:09 PM", Local(2026, 3, 7, 14, 5, 9)},
        {"3/7/2026 2:05:09 PM", Local(2026, 3, 7, 14, 5, 9)},
        {"03/07/2026 02:05:09 pm", Local(2026, 3, 7, 14, 5, 9)},
        {"03/07/2026 12:00:00 AM", Local(2026, 3, 7, 0, 0, 0)},
        {"03/07/2026 12:00:00 PM", Local(2026, 3, 7, 12, 0, 0)},
        {"02/29/2024 11:59:59 PM", Local(2024, 2, 29, 23, 59, 59)},
        {"2026-03-07 14:05:09", Local(2026, 3, 7, 14, 5, 9)},
        {"2026-03-07 00:00:00.25", Local(2026, 3, 7, 0, 0, 0, 250)},
    };
    for (const auto& c : accepted)
        EXPECT_EQ(base::ParseDateTime(c.text), c.value) << c.text;

    const char* rejected[] = {
        "",
        "garbage",
        "03/07/2026",
        "02/30/2026 01:00:00 PM",
        "02/29/2026 01:00:00 PM",
        "13/01/2026 01:00:00 PM",
        "03/07/2026 13:05:09 PM",
        "03/07/2026 00:05:09 AM",
        "03/07/2026 02:60:09 PM",
        "03/07/2026 02:05:09",
        "03/07/26 02:05:09 PM",
        "007/07/2026 02:05:09 PM",
        "2026-02-30 10:00:00",
        "2026-03-07 24:00:00",
        "2026-3-7 14:05:09",
    };
    for (const char* text : rejected)
        EXPECT_EQ(base::ParseDateTime(text), std::nullopt) << '"' << text << '"';
}

TEST(Texts, DateTimeRoundTrip)
{
    for (const QDateTime& value : {Local(2026, 3, 7, 14, 5, 9), Local(2026, 3, 7, 0, 0, 0),
                                   Local(2026, 3, 7, 12, 0, 0), base::ZeroDate()})
        EXPECT_EQ(base::ParseDateTime(base::FormatDateTime(value)), value) << base::FormatDateTime(value).toStdString();
}
