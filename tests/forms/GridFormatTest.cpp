#include "forms/GridFormat.h"

#include <gtest/gtest.h>

namespace {

using forms::ColumnAlignment;
using forms::ColumnHeader;

struct FormatCase {
    const char* format;
    QList<ColumnHeader> headers;
};

class GridFormatTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(GridFormatTest, SplitsHeadersKeepingBlanks)
{
    const QList<ColumnHeader> parsed = forms::ParseGridFormat(QString::fromUtf8(GetParam().format));
    ASSERT_EQ(parsed.size(), GetParam().headers.size()) << GetParam().format;
    for (int i = 0; i < parsed.size(); ++i) {
        EXPECT_EQ(parsed[i].text.toStdString(), GetParam().headers[i].text.toStdString()) << "column " << i;
        EXPECT_EQ(int(parsed[i].alignment), int(GetParam().headers[i].alignment)) << "column " << i;
    }
}

constexpr auto G = ColumnAlignment::General;
constexpr auto L = ColumnAlignment::Left;
constexpr auto R = ColumnAlignment::Right;

INSTANTIATE_TEST_SUITE_P(
    Formats, GridFormatTest,
    ::testing::Values(
        FormatCase{"Code |< Product Name & Description | Quantity | Unit Cost| Total Cost| Retail?| Remarks|",
                   {{"Code ", G},
                    {" Product Name & Description ", L},
                    {" Quantity ", G},
                    {" Unit Cost", G},
                    {" Total Cost", G},
                    {" Retail?", G},
                    {" Remarks", G}}},
        FormatCase{"Code |< Product Name & Description | Quantity | Unit Cost| Total Cost| Retail?|",
                   {{"Code ", G},
                    {" Product Name & Description ", L},
                    {" Quantity ", G},
                    {" Unit Cost", G},
                    {" Total Cost", G},
                    {" Retail?", G}}},
        FormatCase{"<Code |>Product Name |>Qty. |<UnitCost |<Packing |For Retail ",
                   {{"Code ", L},
                    {"Product Name ", R},
                    {"Qty. ", R},
                    {"UnitCost ", L},
                    {"Packing ", L},
                    {"For Retail ", G}}},
        FormatCase{"Doc #     |Request From |To",
                   {{"Doc #     ", G}, {"Request From ", G}, {"To", G}}},
        // Only a marker at the very start counts; an empty header is still a column.
        FormatCase{" <A|B>||<", {{" <A", G}, {"B>", G}, {"", G}, {"", L}}},
        FormatCase{"", {}},
        FormatCase{"|", {{"", G}}}));

TEST(GridFormat, GeneralAlignmentPutsNumbersRight)
{
    EXPECT_TRUE(forms::AlignsRight(G, " 1,234.5000"));
    EXPECT_FALSE(forms::AlignsRight(G, "PARACETAMOL"));
    EXPECT_FALSE(forms::AlignsRight(G, ""));
    EXPECT_FALSE(forms::AlignsRight(L, "12"));
    EXPECT_TRUE(forms::AlignsRight(R, "Y"));
}

TEST(GridFormat, TwipsToPixelsAtNinetySixDpi)
{
    EXPECT_EQ(forms::TwipsToPixels(1440), 96);
    EXPECT_EQ(forms::TwipsToPixels(800), 53);
    EXPECT_EQ(forms::TwipsToPixels(0), 0);
}

TEST(GridFormat, WiderFontsWidenColumnsAlike)
{
    EXPECT_EQ(forms::TwipsToPixels(1500, 6), 100);
    EXPECT_EQ(forms::TwipsToPixels(1500, 4), 100);  // never narrower than designed
    EXPECT_EQ(forms::TwipsToPixels(1500, 9), 150);
}

} // namespace
