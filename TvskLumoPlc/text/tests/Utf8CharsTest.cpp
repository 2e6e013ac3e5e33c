#include <TvskLumoPlc/text/Utf8Chars.h>

#include <gtest/gtest.h>

using namespace tvsk::text;

TEST(Utf8CharsTest, StepsGoOverWholeCharacters)
{
    const std::string_view text = "a\xC3\xA8\xE2\x82\xAC\xF0\x9F\x98\x80z"; // a è € 😀 z
    const int starts[] = {0, 1, 3, 6, 10, 11};
    for (size_t i = 0; i + 1 < std::size(starts); ++i)
    {
        EXPECT_EQ(NextChar(text, starts[i]), starts[i + 1]) << i;
        EXPECT_EQ(PrevChar(text, starts[i + 1]), starts[i]) << i;
    }
    EXPECT_EQ(NextChar(text, 11), 11);
    EXPECT_EQ(PrevChar(text, 0), 0);
    EXPECT_EQ(CharCount(text), 5);
    EXPECT_EQ(CharStart(text, 2), 1);
    EXPECT_EQ(CharStart(text, 9), 6);
    EXPECT_EQ(CharStart(text, 99), 11);
    EXPECT_EQ(AdvanceChars(text, 1, 2), 6);
    EXPECT_EQ(AdvanceChars(text, 1, 20), 11);
}

TEST(Utf8CharsTest, BytesThatAreNoValidSequenceAreCharactersOfTheirOwn)
{
    const std::string_view text = "\x80x\xE8y\xC3"; // stray continuation, a Latin-1 è, a cut sequence
    const int starts[] = {0, 1, 2, 3, 4, 5};
    for (size_t i = 0; i + 1 < std::size(starts); ++i)
    {
        EXPECT_EQ(NextChar(text, starts[i]), starts[i + 1]) << i;
        EXPECT_EQ(PrevChar(text, starts[i + 1]), starts[i]) << i;
    }
    EXPECT_EQ(CharCount(text), 5);
}

TEST(Utf8CharsTest, TypedCharactersBecomeUtf8)
{
    EXPECT_EQ(Utf8Of(U'a'), "a");
    EXPECT_EQ(Utf8Of(U'è'), "\xC3\xA8");
    EXPECT_EQ(Utf8Of(U'€'), "\xE2\x82\xAC");
    EXPECT_EQ(Utf8Of(0x1F600), "\xF0\x9F\x98\x80");
    EXPECT_EQ(Utf8Of(0xD800), "");
    EXPECT_EQ(Utf8Of(0x110000), "");
}
