#include <TvskDb/TvskConvert.h>

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

TEST(TvskConvertTest, DoubleToIntTruncatesAndClamps)
{
    EXPECT_EQ(TvskDoubleToInt(1.9), 1);
    EXPECT_EQ(TvskDoubleToInt(-1.9), -1);
    EXPECT_EQ(TvskDoubleToInt(65537.0), 65537);
    EXPECT_EQ(TvskDoubleToInt(2147483647.5), INT_MAX);
    EXPECT_EQ(TvskDoubleToInt(1e300), INT_MAX);
    EXPECT_EQ(TvskDoubleToInt(-2147483648.9), INT_MIN);
    EXPECT_EQ(TvskDoubleToInt(-HUGE_VAL), INT_MIN);
    EXPECT_EQ(TvskDoubleToInt(HUGE_VAL), INT_MAX);
    EXPECT_EQ(TvskDoubleToInt(std::numeric_limits<double>::quiet_NaN()), 0);
}
