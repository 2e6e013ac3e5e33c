#include <framework/LeadingNumber.h>

#include <gtest/gtest.h>

#include <climits>
#include <clocale>
#include <cmath>

using tvsk::LeadingDouble;
using tvsk::LeadingInt;
using tvsk::WholeDouble;

TEST(LeadingNumberTest, IntegersReadDigitsAfterBlanksAndOneSign)
{
    EXPECT_EQ(LeadingInt("42"), 42);
    EXPECT_EQ(LeadingInt(" \t+42abc"), 42);
    EXPECT_EQ(LeadingInt("\n-7.9"), -7);
    EXPECT_EQ(LeadingInt(""), 0);
    EXPECT_EQ(LeadingInt("abc"), 0);
    EXPECT_EQ(LeadingInt("+-5"), 0);
    EXPECT_EQ(LeadingInt("--5"), 0);
    EXPECT_EQ(LeadingInt("- 5"), 0);
    EXPECT_EQ(LeadingInt(std::string_view("123", 2)), 12);
}

TEST(LeadingNumberTest, IntegersSaturateAtTheLimitsOfInt)
{
    EXPECT_EQ(LeadingInt("2147483647"), INT_MAX);
    EXPECT_EQ(LeadingInt("2147483648"), INT_MAX);
    EXPECT_EQ(LeadingInt("99999999999999999999999"), INT_MAX);
    EXPECT_EQ(LeadingInt("-2147483648"), INT_MIN);
    EXPECT_EQ(LeadingInt("-2147483649"), INT_MIN);
    EXPECT_EQ(LeadingInt("-99999999999999999999999"), INT_MIN);
}

TEST(LeadingNumberTest, RealsReadTheLongestDecimalNumber)
{
    EXPECT_EQ(LeadingDouble("1.25"), 1.25);
    EXPECT_EQ(LeadingDouble("  -0.5x"), -0.5);
    EXPECT_EQ(LeadingDouble("+2e3 V"), 2000.0);
    EXPECT_EQ(LeadingDouble(".5"), 0.5);
    EXPECT_EQ(LeadingDouble("7."), 7.0);
    EXPECT_EQ(LeadingDouble("1e"), 1.0);
    EXPECT_EQ(LeadingDouble("1,5"), 1.0);
    EXPECT_EQ(LeadingDouble("junk"), 0.0);
    EXPECT_EQ(LeadingDouble("+-1"), 0.0);
    EXPECT_FALSE(std::signbit(LeadingDouble("-x")));
    EXPECT_EQ(LeadingDouble("-inf"), -HUGE_VAL);
    EXPECT_TRUE(std::isnan(LeadingDouble("nan")));
}

TEST(LeadingNumberTest, RealsOverflowToInfinityAndUnderflowToZero)
{
    EXPECT_EQ(LeadingDouble("1e999"), HUGE_VAL);
    EXPECT_EQ(LeadingDouble("-1e999"), -HUGE_VAL);
    EXPECT_EQ(LeadingDouble("1e-999"), 0.0);
    EXPECT_TRUE(std::signbit(LeadingDouble("-1e-999")));
}

TEST(LeadingNumberTest, TheProgramsLocaleDoesNotChangeTheDecimalPoint)
{
    const char* german = std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    EXPECT_EQ(LeadingDouble("1.5"), 1.5);
    EXPECT_EQ(LeadingDouble("1e999"), HUGE_VAL);
    if (german)
        std::setlocale(LC_NUMERIC, "C");
}

TEST(LeadingNumberTest, AWholeNumberIsTheWholeTextAndFinite)
{
    double value = -1.0;
    EXPECT_TRUE(WholeDouble(" 12.5 ", value));
    EXPECT_EQ(value, 12.5);
    EXPECT_TRUE(WholeDouble("-3e2", value));
    EXPECT_EQ(value, -300.0);
    EXPECT_TRUE(WholeDouble("+.5", value));
    EXPECT_EQ(value, 0.5);
    value = 7.0;
    for (const char* bad : {"", " ", "12x", "1 2", "--1", "+-1", "inf", "nan", "1e999", "0x10", "1,5"})
        EXPECT_FALSE(WholeDouble(bad, value)) << bad;
    EXPECT_EQ(value, 7.0);
}

TEST(LeadingNumberTest, ATypedNumberTakesACommaAsItsOneDecimalSeparator)
{
    double value = -1.0;
    EXPECT_TRUE(tvsk::WholeDecimal("4,5", value));
    EXPECT_EQ(value, 4.5);
    EXPECT_TRUE(tvsk::WholeDecimal(" -0,25 ", value));
    EXPECT_EQ(value, -0.25);
    EXPECT_TRUE(tvsk::WholeDecimal("4.5", value));
    EXPECT_EQ(value, 4.5);
    EXPECT_TRUE(tvsk::WholeDecimal("12", value));
    EXPECT_EQ(value, 12.0);
    value = 7.0;
    for (const char* bad : {"", "abc", "4,5,6", "1,000.5", "1.000,5", "4..5", ",", "4,5x", "1e999"})
        EXPECT_FALSE(tvsk::WholeDecimal(bad, value)) << bad;
    EXPECT_EQ(value, 7.0);
}
