#include <ZoSupport/ZoSupport.h>

#include <gtest/gtest.h>

TEST(TokStringTest, SplitsADriveDefinition)
{
    CTokString tok("TK40^12.5^400", "^", 0);
    ASSERT_EQ(tok.NumToks(), 3);
    EXPECT_EQ(tok[0], "TK40");
    EXPECT_EQ(tok[1], "12.5");
    EXPECT_EQ(tok[2], "400");
}

TEST(TokStringTest, KeepsEmptyTokensAndAnswersEmptyPastTheEnd)
{
    CTokString tok("A^^B^", "^", 0);
    ASSERT_EQ(tok.NumToks(), 4);
    EXPECT_EQ(tok[1], "");
    EXPECT_EQ(tok[3], "");
    EXPECT_EQ(tok[4], "");
    EXPECT_EQ(tok[-1], "");
}

TEST(TokStringTest, EmptyOrNullTextHasNoTokens)
{
    CTokString tok("", "^", 0);
    EXPECT_EQ(tok.NumToks(), 0);
    tok.Set(nullptr, "^", 0);
    EXPECT_EQ(tok.NumToks(), 0);
}

TEST(TokStringTest, AnyOfSeveralSeparatorsSplitsAndSetStartsAfresh)
{
    CTokString tok("a_b c", "^", 0);
    EXPECT_EQ(tok.NumToks(), 1);
    tok.Set("a_b c", "_ ", 0);
    ASSERT_EQ(tok.NumToks(), 3);
    EXPECT_EQ(tok[2], "c");
}

TEST(TokStringTest, QuoteCharacterKeepsSeparatorsInsideAToken)
{
    CTokString tok("x,'a,b',y", ",", '\'');
    ASSERT_EQ(tok.NumToks(), 3);
    EXPECT_EQ(tok[1], "a,b");
}
