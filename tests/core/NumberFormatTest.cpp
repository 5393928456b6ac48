// Number texts of sizes, counts and free space: rounding, separators, signs and the
// exactness of big byte counts.
#include "core/NumberFormat.h"

#include <gtest/gtest.h>

namespace {
const QString Size = QStringLiteral("###,##0.#");
const QString Whole = QStringLiteral("###,##0");
const QString Grouped = QStringLiteral(",0");
const QString Optional = QStringLiteral("###,###,###,###");
} // namespace

TEST(NumberFormat, sizeThresholdsRoundAsShown)
{
    EXPECT_EQ(FormatFloat(Size, 999), "999");
    EXPECT_EQ(FormatFloat(Size, 1000 / 1024.0), "1");          // 0.9765 rounds up
    EXPECT_EQ(FormatFloat(Size, 1022976 / 1024.0), "999");
    EXPECT_EQ(FormatFloat(Size, 1022977 / 1048576.0), "1");
    EXPECT_EQ(FormatFloat(Size, 1234.56), "1,234.6");
    EXPECT_EQ(FormatFloat(Size, 1.04), "1");
    EXPECT_EQ(FormatFloat(Size, 99.96), "100");                  // carry into integer
    EXPECT_EQ(FormatFloat(Size, 999999.95), "1,000,000");
}

TEST(NumberFormat, halvesRoundAwayFromZero)
{
    // Binary-exact halves would go to even with round-to-nearest printing.
    EXPECT_EQ(FormatFloat(Whole, 0.5), "1");
    EXPECT_EQ(FormatFloat(Whole, 2.5), "3");
    EXPECT_EQ(FormatFloat(Whole, -2.5), "-3");
    EXPECT_EQ(FormatFloat(Size, 0.25), "0.3");
    // Halves that a double holds slightly below the decimal text still round up.
    EXPECT_EQ(FormatFloat(Size, 1.05), "1.1");
    EXPECT_EQ(FormatFloat(Size, 1.15), "1.2");
}

TEST(NumberFormat, negativesCarryLeadingMinusButNotOnZero)
{
    EXPECT_EQ(FormatFloat(Whole, -1234), "-1,234");
    EXPECT_EQ(FormatFloat(Size, -1234.56), "-1,234.6");
    EXPECT_EQ(FormatFloat(Grouped, -1000000), "-1,000,000");
    EXPECT_EQ(FormatFloat(Whole, -0.4), "0");
    EXPECT_EQ(FormatFloat(Optional, -0.4), "");
}

TEST(NumberFormat, zeroInEachPattern)
{
    EXPECT_EQ(FormatFloat(Size, 0), "0");
    EXPECT_EQ(FormatFloat(Whole, 0), "0");
    EXPECT_EQ(FormatFloat(Grouped, 0), "0");
    EXPECT_EQ(FormatFloat(Optional, 0), "");   // every digit is optional
    EXPECT_EQ(FormatFloat(Size, 0.04), "0");
}

TEST(NumberFormat, separatorsInIntegerPatterns)
{
    EXPECT_EQ(FormatFloat(Grouped, 123456), "123,456");
    EXPECT_EQ(FormatFloat(Grouped, 999), "999");
    EXPECT_EQ(FormatFloat(Whole, 1000), "1,000");
    EXPECT_EQ(FormatFloat(Optional, 7), "7");
    EXPECT_EQ(FormatFloat(Optional, 1234567), "1,234,567");
}

TEST(NumberFormat, bigByteCountsStayExact)
{
    EXPECT_EQ(FormatFloat(Optional, 5368709120.0), "5,368,709,120");
    EXPECT_EQ(FormatFloat(Optional, 9007199254740991.0), "9,007,199,254,740,991");
    EXPECT_EQ(FormatFloat(Optional, 9223372036854775808.0), "9,223,372,036,854,775,808");
    EXPECT_EQ(FormatFloat(Size, 1e15 + 0.5), "1,000,000,000,000,000.5");
}

TEST(NumberFormat, unknownPatternFormatsLikeSizes)
{
    EXPECT_EQ(FormatFloat("abc", 1234.56), "1,234.6");
    EXPECT_EQ(FormatFloat("0.00", 1.5), "1.50");
}
