// The resolution values the host receives.
#include <gtest/gtest.h>

#include "transfer/RatioToFixed.h"

TEST(RatioToFixed, SeventyTwoPerInchIsTheHostsFixedSeventyTwo)
{
    EXPECT_EQ(RatioToFixed(72, 1), 0x00480000);
}

TEST(RatioToFixed, FractionsTruncateTowardZero)
{
    EXPECT_EQ(RatioToFixed(1, 3), 21845);
    EXPECT_EQ(RatioToFixed(-1, 3), -21845);
    EXPECT_EQ(RatioToFixed(1, -3), -21845);
    EXPECT_EQ(RatioToFixed(32767, 1), 32767 * 65536);
    EXPECT_EQ(RatioToFixed(-32768, 1), INT32_MIN);
}

TEST(RatioToFixed, ZeroDenominatorGivesTheLargestValueOfTheNumeratorsSign)
{
    EXPECT_EQ(RatioToFixed(0, 0), 0x7FFFFFFF);
    EXPECT_EQ(RatioToFixed(5, 0), 0x7FFFFFFF);
    EXPECT_EQ(uint32_t(RatioToFixed(-5, 0)), 0x80000001u);
}

TEST(RatioToFixed, TheOneQuotientBeyondRangeIsHeldAtTheLargestValue)
{
    EXPECT_EQ(RatioToFixed(-32768, -1), 0x7FFFFFFF);
}
