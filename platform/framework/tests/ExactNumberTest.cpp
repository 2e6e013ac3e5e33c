#include <framework/ExactNumber.h>

#include <gtest/gtest.h>

#include <cstdlib>

using tvsk::ExactText;
using tvsk::ScaledRaw;

TEST(ExactNumberTest, TextsReadBackAsTheSameValue)
{
    for (const double value : {0.0, 1.0, -1.0, 1234567.0, -7654321.0, 2147483647.0, -2147483648.0,
                               4294967295.0, 0.29, 1.0 / 3.0, -2.5e-7, 1e300, 305419896.0})
        EXPECT_EQ(std::strtod(ExactText(value), nullptr), value) << ExactText(value).GetString();
}

TEST(ExactNumberTest, TextsAreTheShortestGeneralForm)
{
    EXPECT_STREQ(ExactText(0.0), "0");
    EXPECT_STREQ(ExactText(-5.0), "-5");
    EXPECT_STREQ(ExactText(1234567.0), "1234567");
    EXPECT_STREQ(ExactText(-7654321.0), "-7654321");
    EXPECT_STREQ(ExactText(0.29), "0.29");
    EXPECT_STREQ(ExactText(1e20), "1e+20");
    EXPECT_STREQ(ExactText(1.0 / 3.0), "0.3333333333333333");
}

TEST(ExactNumberTest, RawValuesMissingAWholeNumberByRoundingAreThatNumber)
{
    EXPECT_EQ(ScaledRaw(0.29, 100, 0), 29.0);
    EXPECT_EQ(ScaledRaw(1.0 / 49, 49, 0), 1.0);
    EXPECT_EQ(ScaledRaw(-0.29, 100, 0), -29.0);
    EXPECT_EQ(ScaledRaw(4294967295.0, 1, 0), 4294967295.0);
    EXPECT_EQ(ScaledRaw(0.285, 100, 0), 0.285 * 100);
    EXPECT_EQ(ScaledRaw(28.999, 1, 0), 28.999);
    EXPECT_EQ(ScaledRaw(0.001, 1, 5), 5.001);
}
