#include <TvskDownload/model/ParValueFormat.h>

#include <gtest/gtest.h>

namespace
{
PAR_SCALING Scaling(int bits, int format, double scale = 1.0, double offset = 0.0)
{
    PAR_SCALING s;
    s.nBits = bits;
    s.nFormat = format;
    s.dScale = scale;
    s.dOffset = offset;
    return s;
}

CString Typed(const char* text, const PAR_SCALING& s, bool* ok = nullptr)
{
    CString value = "untouched";
    const bool accepted = CParValueFormat::Entry(text, s, value);
    if (ok)
        *ok = accepted;
    return value;
}
} // namespace

TEST(ParValueFormatTest, DisplaysRawValuesInEachFormat)
{
    EXPECT_EQ(CParValueFormat::Display("5", Scaling(16, PARFMT_BINARY)), "0000 0000 0000 0101");
    EXPECT_EQ(CParValueFormat::Display("4660", Scaling(16, PARFMT_HEX)), "1234");
    EXPECT_EQ(CParValueFormat::Display("1", Scaling(1, PARFMT_HEX)), "1");
    EXPECT_EQ(CParValueFormat::Display("1", Scaling(1, PARFMT_BINARY)), "1");
    EXPECT_EQ(CParValueFormat::Display("-1", Scaling(16, PARFMT_BINARY)), "1111 1111 1111 1111");
    EXPECT_EQ(CParValueFormat::Display("-2", Scaling(16, PARFMT_HEX)), "FFFE");
    EXPECT_EQ(CParValueFormat::Display("2.5", Scaling(16, PARFMT_DECIMAL, 100)), "250");
    EXPECT_EQ(CParValueFormat::Display("10", Scaling(32, PARFMT_BINARY)),
              "0000 0000 0000 0000 0000 0000 0000 1010");
    EXPECT_EQ(CParValueFormat::Display("1.999", Scaling(16, PARFMT_DECIMAL)), "1"); // truncated
}

TEST(ParValueFormatTest, NoValueStaysInEveryFormat)
{
    for (int format : {PARFMT_DECIMAL, PARFMT_BINARY, PARFMT_HEX})
        EXPECT_EQ(CParValueFormat::Display("---", Scaling(16, format)), "---");
}

TEST(ParValueFormatTest, ReadsTypedValuesBackThroughScaleAndOffset)
{
    EXPECT_EQ(Typed("8000", Scaling(16, PARFMT_HEX)), "-32768");
    EXPECT_EQ(Typed("7FFF", Scaling(16, PARFMT_HEX)), "32767");
    EXPECT_EQ(Typed("FFFFFFFF", Scaling(32, PARFMT_HEX)), "-1");
    EXPECT_EQ(Typed("1000 0000 0000 0000", Scaling(16, PARFMT_BINARY)), "-32768");
    EXPECT_EQ(Typed("0101", Scaling(16, PARFMT_BINARY)), "5");
    EXPECT_EQ(Typed("250", Scaling(16, PARFMT_DECIMAL, 100)), "2.5");
    EXPECT_EQ(Typed("260", Scaling(16, PARFMT_DECIMAL, 100, 10)), "2.5");
    EXPECT_EQ(Typed("7", Scaling(16, PARFMT_DECIMAL, 0)), "7"); // scale 0 counts as 1
}

TEST(ParValueFormatTest, RefusesWhatTheFormatOrWidthDoesNotHold)
{
    bool ok = true;
    for (const auto& [text, scaling] :
         {std::pair{"12G4", Scaling(16, PARFMT_HEX)}, std::pair{"12345", Scaling(16, PARFMT_HEX)},
          std::pair{"102", Scaling(16, PARFMT_BINARY)},
          std::pair{"11111111111111111", Scaling(16, PARFMT_BINARY)},
          std::pair{"12x", Scaling(16, PARFMT_DECIMAL)}, std::pair{"1.5", Scaling(16, PARFMT_DECIMAL)},
          std::pair{"", Scaling(16, PARFMT_DECIMAL)}, std::pair{"", Scaling(16, PARFMT_HEX)}})
    {
        EXPECT_EQ(Typed(text, scaling, &ok), "untouched") << text;
        EXPECT_FALSE(ok) << text;
    }
}

TEST(ParValueFormatTest, EveryTypedRawValueComesBackUnchanged)
{
    struct Case
    {
        const char* typed;
        PAR_SCALING scaling;
        const char* value;
    };
    for (const Case& c : {Case{"1234567", Scaling(32, PARFMT_DECIMAL), "1234567"},
                          Case{"-7654321", Scaling(32, PARFMT_DECIMAL), "-7654321"},
                          Case{"12345678", Scaling(32, PARFMT_HEX), "305419896"},
                          Case{"2147483647", Scaling(32, PARFMT_DECIMAL), "2147483647"},
                          Case{"-2147483648", Scaling(32, PARFMT_DECIMAL), "-2147483648"},
                          Case{"80000000", Scaling(32, PARFMT_HEX), "-2147483648"},
                          Case{"29", Scaling(16, PARFMT_DECIMAL, 100), "0.29"},
                          Case{"1", Scaling(16, PARFMT_DECIMAL, 49), "0.02040816326530612"},
                          Case{"1234567", Scaling(32, PARFMT_DECIMAL, 1000, 7), "1234.56"},
                          Case{"1", Scaling(1, PARFMT_BINARY), "1"}})
    {
        EXPECT_EQ(Typed(c.typed, c.scaling), c.value) << c.typed;
        const CString shown = CParValueFormat::Display(c.value, c.scaling);
        CString again;
        ASSERT_TRUE(CParValueFormat::Entry(shown, c.scaling, again)) << shown.GetString();
        EXPECT_EQ(again, c.value) << c.typed;
    }
}
