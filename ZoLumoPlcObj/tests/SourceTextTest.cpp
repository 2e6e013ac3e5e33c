#include <ZoLumoPlcObj/SortStringArray.h>
#include <ZoLumoPlcObj/SourceText.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <unistd.h>

namespace
{

std::vector<std::string> Lines(CSourceText& source)
{
    std::vector<std::string> lines;
    CString line;
    for (int i = 0; source.GetLine(i, line); ++i)
        lines.push_back(line.str());
    return lines;
}

} // namespace

class SourceTextTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        path = ::testing::TempDir() + "/source_text_" + std::to_string(getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".txt";
        std::ofstream(path) << "line0\nline1\r\nline2\nline3\nline4\nline5\n";
    }
    void TearDown() override { std::remove(path.c_str()); }

    std::string path;
    CSourceText source;
};

TEST_F(SourceTextTest, TextLinesDropLineEndsAndATrailingBreakLeavesAnEmptyLine)
{
    const CString text("a\r\nb");
    ASSERT_TRUE(source.Open(&text));
    EXPECT_EQ(source.GetNumLines(), 2);
    EXPECT_EQ(Lines(source), (std::vector<std::string>{"a", "b"}));

    const CString trailing("x\ny\n");
    source.Open(&trailing);
    EXPECT_EQ(Lines(source), (std::vector<std::string>{"x", "y", ""}));

    const CString empty;
    source.Open(&empty);
    EXPECT_EQ(source.GetNumLines(), 1);
    EXPECT_EQ(Lines(source), (std::vector<std::string>{""}));
}

TEST_F(SourceTextTest, LineIndexesOutsideTheTextAreRefused)
{
    const CString text("a\nb\nc");
    source.Open(&text);
    CString out("kept");
    EXPECT_FALSE(source.GetLine(3, out));
    EXPECT_FALSE(source.GetLine(-1, out));
    EXPECT_FALSE(source.GetCodeLine(2, 1, out));
    EXPECT_FALSE(source.GetCodeLine(-2, 1, out));
    EXPECT_EQ(out, "kept");
    EXPECT_TRUE(source.GetCodeLine(1, 1, out));
    EXPECT_EQ(out, "c");
}

TEST_F(SourceTextTest, TheTextIsCopiedSoTheCallerMayChangeIt)
{
    CString text("first\nsecond");
    source.Open(&text);
    text = "x";
    CString out;
    EXPECT_TRUE(source.GetLine(1, out));
    EXPECT_EQ(out, "second");
}

TEST_F(SourceTextTest, FileLinesAreReadForwardAndEarlierLinesAgainFromTheTop)
{
    ASSERT_TRUE(source.Open(path.c_str(), false));
    EXPECT_EQ(source.GetNumLines(), 0);
    CString out;
    EXPECT_TRUE(source.GetLine(5, out));
    EXPECT_EQ(out, "line5");
    EXPECT_TRUE(source.GetLine(3, out));
    EXPECT_EQ(out, "line3");
    EXPECT_TRUE(source.GetLine(3, out));
    EXPECT_EQ(out, "line3");
    EXPECT_TRUE(source.GetLine(1, out));
    EXPECT_EQ(out, "line1");
    EXPECT_FALSE(source.GetLine(6, out));
    EXPECT_FALSE(source.GetCodeLine(0, 0, out));
}

TEST_F(SourceTextTest, AFileOpenedForLoadingOrMissingIsNotReadable)
{
    EXPECT_FALSE(source.Open(path.c_str(), true));
    EXPECT_FALSE(source.IsOpen());
    CString out;
    EXPECT_FALSE(source.GetLine(0, out));
    EXPECT_FALSE(source.Open((path + ".missing").c_str(), false));
    EXPECT_FALSE(source.LoadFile());
}

namespace
{

std::vector<std::string> Sorted(int kind, std::initializer_list<const char*> items)
{
    CSortStringArray array(kind);
    for (const char* s : items)
        array.Add(s);
    array.Sort();
    std::vector<std::string> out;
    for (const CString& s : array)
        out.push_back(s.str());
    return out;
}

} // namespace

TEST(SortStringArrayTest, SixOrdersDropEmptyEntriesAndKeepEqualOnesInPlace)
{
    using V = std::vector<std::string>;
    EXPECT_EQ(Sorted(SORT_ASCENDING, {"b", "", "B", "a"}), (V{"B", "a", "b"}));
    EXPECT_EQ(Sorted(SORT_ASCENDING_NOCASE, {"b", "B", "a", "A"}), (V{"a", "A", "b", "B"}));
    EXPECT_EQ(Sorted(SORT_DESCENDING, {"a", "B", "b"}), (V{"b", "a", "B"}));
    EXPECT_EQ(Sorted(SORT_DESCENDING_NOCASE, {"a", "B", "b", "A"}), (V{"B", "b", "a", "A"}));
    EXPECT_EQ(Sorted(SORT_LENGTH_ASCENDING, {"ccc", "a", "bb", "d"}), (V{"a", "d", "bb", "ccc"}));
    EXPECT_EQ(Sorted(SORT_LENGTH_DESCENDING, {",", "(*", "", "*)", "x"}), (V{"(*", "*)", ",", "x"}));
}

TEST(SortStringArrayTest, AnUnknownKindSwapsNothing)
{
    EXPECT_EQ(Sorted(9, {"b", "", "a"}), (std::vector<std::string>{"b", "a"}));
}
