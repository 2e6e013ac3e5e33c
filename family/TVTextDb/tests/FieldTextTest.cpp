#include <TVTextDb/FieldText.h>

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <limits>

TEST(FieldTextTest, StrictIntegersOfTheFile)
{
    struct Case
    {
        const char* text;
        bool valid;
        int value;
    };
    const Case cases[] = {{"0", true, 0},
                          {"-17", true, -17},
                          {"+5", true, 5},
                          {"2147483647", true, INT_MAX},
                          {"-2147483648", true, INT_MIN},
                          {"2147483648", false, 0},
                          {"", false, 0},
                          {"1.0", false, 0},
                          {"12a", false, 0},
                          {"+-1", false, 0},
                          {"++1", false, 0},
                          {"-", false, 0}};
    for (const Case& c : cases)
    {
        int v = 0;
        EXPECT_EQ(FieldText::ParseInt(c.text, v), c.valid) << c.text;
        if (c.valid)
        {
            EXPECT_EQ(v, c.value) << c.text;
        }
    }
}

TEST(FieldTextTest, StrictDoublesOfTheFile)
{
    for (const char* good :
         {"0", "-1.5", "+2", ".5", "5.", "1e10", "1E-300", "-2.5e+3", "inf", "-inf", "nan", "Infinity"})
        EXPECT_TRUE(FieldText::IsDouble(good)) << good;
    for (const char* bad : {"", ".", "e5", "1e", "1.5.2", "1,5", "0x10", "abc", "--1", "1e+"})
        EXPECT_FALSE(FieldText::IsDouble(bad)) << bad;
}

TEST(FieldTextTest, LenientReadsClampAndFallBackToZero)
{
    EXPECT_EQ(FieldText::ReadInt(" +42"), 42);
    EXPECT_EQ(FieldText::ReadInt("-7xyz"), -7);
    EXPECT_EQ(FieldText::ReadInt("abc"), 0);
    EXPECT_EQ(FieldText::ReadInt("99999999999"), INT_MAX);
    EXPECT_EQ(FieldText::ReadInt("-99999999999999999999999"), INT_MIN);
    EXPECT_EQ(FieldText::ReadInt(nullptr), 0);

    EXPECT_EQ(FieldText::ReadDouble(" 1.25"), 1.25);
    EXPECT_EQ(FieldText::ReadDouble("junk"), 0.0);
    EXPECT_EQ(FieldText::ReadDouble("1e999"), HUGE_VAL);
    EXPECT_EQ(FieldText::ReadDouble("-1e999"), -HUGE_VAL);
    EXPECT_EQ(FieldText::ReadDouble("1e-999"), 0.0);
}

TEST(FieldTextTest, DoublesReadBackExactly)
{
    const double values[] = {0.1,
                             1.0 / 3.0,
                             -2.5e-300,
                             123456789.123456789,
                             std::numeric_limits<double>::max(),
                             std::numeric_limits<double>::denorm_min(),
                             -0.0,
                             1e21};
    for (double v : values)
    {
        char buffer[32];
        const std::string text(FieldText::WriteDouble(v, buffer));
        EXPECT_TRUE(FieldText::IsDouble(text)) << text;
        const double back = FieldText::ReadDouble(text.c_str());
        EXPECT_EQ(std::memcmp(&back, &v, sizeof v), 0) << text;
    }
    char buffer[32];
    EXPECT_EQ(FieldText::WriteDouble(0.1, buffer), "0.1");
    EXPECT_EQ(FieldText::WriteDouble(1500.0, buffer), "1500");
}
