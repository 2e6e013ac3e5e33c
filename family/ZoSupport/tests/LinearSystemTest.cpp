#include <ZoSupport/ZoSupport.h>

#include <gtest/gtest.h>

TEST(LinearSystemTest, SolvesACubicThroughValuesAndSlopes)
{
    // a x^3 + b x^2 + c x + d with value 0 at 0, value 10 at 2, slope 0 at both ends.
    CLinearSystem system(4,                         //
                         0.0, 0.0, 0.0, 1.0, 0.0,   // value at 0
                         8.0, 4.0, 2.0, 1.0, 10.0,  // value at 2
                         0.0, 0.0, 1.0, 0.0, 0.0,   // slope at 0
                         12.0, 4.0, 1.0, 0.0, 0.0); // slope at 2
    ASSERT_TRUE(system.Calculate());
    EXPECT_NEAR(system[0], -2.5, 1e-12);
    EXPECT_NEAR(system[1], 7.5, 1e-12);
    EXPECT_NEAR(system[2], 0.0, 1e-12);
    EXPECT_NEAR(system[3], 0.0, 1e-12);
    EXPECT_EQ(system[4], 0.0);
}

TEST(LinearSystemTest, NeedsPivotingWhenTheFirstCoefficientIsZero)
{
    CLinearSystem system(2, 0.0, 2.0, 4.0, 3.0, 1.0, 5.0);
    ASSERT_TRUE(system.Calculate());
    EXPECT_NEAR(system[0], 1.0, 1e-12);
    EXPECT_NEAR(system[1], 2.0, 1e-12);
}

TEST(LinearSystemTest, SingularOrEmptySystemsFail)
{
    CLinearSystem dependent(2, 1.0, 2.0, 3.0, 2.0, 4.0, 6.0);
    EXPECT_FALSE(dependent.Calculate());
    EXPECT_EQ(dependent[0], 0.0);
    CLinearSystem zero(1, 0.0, 1.0);
    EXPECT_FALSE(zero.Calculate());
    CLinearSystem none(0);
    EXPECT_FALSE(none.Calculate());
}
