#include <framework/CString.h>

#include <gtest/gtest.h>

#include <clocale>

TEST(CStringTest, SubstringsClampTheirRanges)
{
    const CString s("Pr120.3");
    EXPECT_EQ(s.Left(2), "Pr");
    EXPECT_EQ(s.Mid(2, 3), "120");
    EXPECT_EQ(s.Mid(5), ".3");
    EXPECT_EQ(s.Right(1), "3");
    EXPECT_EQ(s.Mid(50), "");
    EXPECT_EQ(s.Left(-1), "");
    EXPECT_EQ(s.Right(99), s);
}

TEST(CStringTest, FindAndReverseFindAnswerMinusOneWhenAbsent)
{
    const CString s("Pr5:40");
    EXPECT_EQ(s.Find(':'), 3);
    EXPECT_EQ(s.Find("40"), 4);
    EXPECT_EQ(s.Find('x'), -1);
    EXPECT_EQ(s.Find('P', 10), -1);
    EXPECT_EQ(s.ReverseFind('r'), 1);
    EXPECT_EQ(s.FindOneOf(":."), 3);
}

TEST(CStringTest, CaseAndTrimHandleAsciiOnly)
{
    CString s("  Velocità Max \t");
    s.Trim();
    EXPECT_EQ(s, "Velocità Max");
    s.MakeUpper();
    EXPECT_EQ(s, "VELOCITà MAX");
    EXPECT_EQ(CString("abc").CompareNoCase("ABC"), 0);
    EXPECT_LT(CString("abc").CompareNoCase("ABD"), 0);
    EXPECT_GT(CString("b").Compare("a"), 0);
}

TEST(CStringTest, ReplaceRemoveInsertDelete)
{
    CString s("a^b^c");
    EXPECT_EQ(s.Replace("^", "--"), 2);
    EXPECT_EQ(s, "a--b--c");
    EXPECT_EQ(s.Remove('-'), 4);
    s.Insert(1, "XY");
    EXPECT_EQ(s, "aXYbc");
    s.Delete(1, 2);
    EXPECT_EQ(s, "abc");
    CString grow("aa");
    EXPECT_EQ(grow.Replace("a", "aa"), 2);
    EXPECT_EQ(grow, "aaaa");
}

TEST(CStringTest, TokenizeSkipsEmptyTokensAndEndsWithMinusOne)
{
    const CString s(",,VrnSer,0,,200");
    int pos = 0;
    EXPECT_EQ(s.Tokenize(",", pos), "VrnSer");
    EXPECT_EQ(s.Tokenize(",", pos), "0");
    EXPECT_EQ(s.Tokenize(",", pos), "200");
    EXPECT_EQ(s.Tokenize(",", pos), "");
    EXPECT_EQ(pos, -1);
}

TEST(CStringTest, FormatUsesTheCLocaleWhateverTheEnvironment)
{
    std::setlocale(LC_NUMERIC, "C");
    CString s;
    s.Format("%s=%.3f;%d", "Pr31", 12.5, -7);
    EXPECT_EQ(s, "Pr31=12.500;-7");
    s.AppendFormat("%05d", 42);
    EXPECT_EQ(s, "Pr31=12.500;-700042");
    const CString big = FormatString("%0300d", 1);
    EXPECT_EQ(big.GetLength(), 300);
}

TEST(CStringTest, BufferAccessFixesTheLength)
{
    CString s;
    char* p = s.GetBuffer(10);
    std::snprintf(p, 11, "%s", "abc");
    s.ReleaseBuffer();
    EXPECT_EQ(s, "abc");
    EXPECT_EQ(s.GetLength(), 3);
}

TEST(CStringTest, CutsNeverSplitAUtf8Character)
{
    // "è" is two bytes: a cut inside it drops the whole character.
    EXPECT_EQ(Utf8CutLength("abè", 3), 2u);
    EXPECT_EQ(Utf8CutLength("abè", 4), 4u);
    EXPECT_EQ(Utf8CutLength("ab€x", 4), 2u); // "€" is three bytes
    EXPECT_EQ(Utf8CutLength("abc", 10), 3u);
    EXPECT_EQ(Utf8CutLength(nullptr, 10), 0u);

    char field[4] = {'x', 'x', 'x', 'x'};
    CopyTextCut(field, "abè");
    EXPECT_STREQ(field, "ab");
    CopyTextCut(field, "abcdef");
    EXPECT_STREQ(field, "abc");

    CString s("perché");
    s.CutUtf8(6);
    EXPECT_EQ(s, "perch");
}
