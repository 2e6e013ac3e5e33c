#include <web/CharCodes.h>

#include <gtest/gtest.h>

using namespace tvsk::web;

TEST(CharCodesTest, PercentCodesBecomeTheirCharacters)
{
    EXPECT_EQ(ProcessCharCodes("50%25%20done"), "50% done");
    EXPECT_EQ(ProcessCharCodes("%41%62c"), "Abc");
    EXPECT_EQ(CharTokenToChar("%7e"), '~');
}

TEST(CharCodesTest, ACodeCutShortAtTheEndIsKeptAsItIs)
{
    EXPECT_EQ(ProcessCharCodes("abc%4"), "abc%4");
    EXPECT_EQ(ProcessCharCodes("abc%"), "abc%");
    EXPECT_EQ(ProcessCharCodes(std::string(10000, '%') + "41"), std::string(3333, '\0') + "A");
}

TEST(CharCodesTest, ATokenThatIsNotHexadecimalGivesCharacterZero)
{
    EXPECT_EQ(CharTokenToChar("%zz"), '\0');
    EXPECT_EQ(CharTokenToChar("%2z"), '\x02');
}
