// Loading from memory, line ends, edits and the texts a buffer gives back.
#include <TvskLumoPlc/text/CrystalTextBuffer.h>

#include <gtest/gtest.h>

namespace
{

std::vector<std::string> Lines(const CCrystalTextBuffer& buffer)
{
    std::vector<std::string> lines;
    for (int i = 0; i < buffer.GetLineCount(); ++i)
        lines.emplace_back(buffer.GetLine(i));
    return lines;
}

class RecordingView : public CTextBufferView
{
public:
    void UpdateView(CTextBufferView*, const TEXT_CHANGE* change, DWORD flags, int line) override
    {
        changes.push_back({change != nullptr, flags, line});
    }
    struct Update
    {
        bool moved;
        DWORD flags;
        int line;
    };
    std::vector<Update> changes;
};

TEST(TextBufferLoad, DetectsTheLineEndStyleFromTheFirstLineFeed)
{
    CCrystalTextBuffer buffer;
    buffer.LoadString("a\r\nb\r\n");
    EXPECT_EQ(buffer.GetCRLFMode(), CRLF_STYLE_DOS);
    EXPECT_EQ(Lines(buffer), (std::vector<std::string>{"a", "b", ""}));

    buffer.LoadString("no line feed at all");
    EXPECT_EQ(buffer.GetCRLFMode(), CRLF_STYLE_DOS);
    EXPECT_EQ(buffer.GetLineCount(), 1);

    buffer.LoadString("x\n\ry\n\r");
    EXPECT_EQ(buffer.GetCRLFMode(), CRLF_STYLE_UNIX);
    EXPECT_EQ(Lines(buffer), (std::vector<std::string>{"x", "y", ""}));

    buffer.LoadString("x\ny");
    EXPECT_EQ(buffer.GetCRLFMode(), CRLF_STYLE_MAC);
    EXPECT_EQ(Lines(buffer), (std::vector<std::string>{"x", "y"}));
}

TEST(TextBufferLoad, NoLineKeepsALineEndCharacter)
{
    CCrystalTextBuffer buffer;
    buffer.LoadString("a\rb\r\r\nc", CRLF_STYLE_DOS);
    EXPECT_EQ(Lines(buffer), (std::vector<std::string>{"a", "b", "", "c"}));
    buffer.LoadString("a\nb\n\r", CRLF_STYLE_UNIX);
    EXPECT_EQ(Lines(buffer), (std::vector<std::string>{"a", "b", ""}));
    // The style comes from the first line end; later bare ones still end lines.
    buffer.LoadString("LD 1.0\r\nOUT 2.0\nEND\r");
    EXPECT_EQ(buffer.GetCRLFMode(), CRLF_STYLE_DOS);
    EXPECT_EQ(Lines(buffer), (std::vector<std::string>{"LD 1.0", "OUT 2.0", "END", ""}));
    buffer.LoadString("\r");
    EXPECT_EQ(Lines(buffer), (std::vector<std::string>{"", ""}));
}

TEST(TextBufferLoad, StartsCleanAndTellsTheViewsToReset)
{
    CCrystalTextBuffer buffer;
    RecordingView view;
    buffer.AttachView(&view);
    buffer.LoadString("LD 1.0\nEND");
    int endLine = 0;
    int endChar = 0;
    ASSERT_TRUE(buffer.InsertAt(nullptr, 0, 0, "x", endLine, endChar));
    EXPECT_TRUE(buffer.IsModified());
    buffer.LoadString("LD 1.0\nEND");
    EXPECT_FALSE(buffer.IsModified());
    EXPECT_FALSE(buffer.CanStepBack());
    EXPECT_EQ(view.changes.back().flags, UPDATE_RESET);
    buffer.DetachView(&view);
}

TEST(TextBufferText, AllTextEndsEveryLineWithTheStyleSeparator)
{
    CCrystalTextBuffer buffer;
    buffer.InitEmpty(CRLF_STYLE_MAC);
    CString text;
    buffer.GetAllText(text, CRLF_STYLE_MAC);
    EXPECT_EQ(text, "");
    int endLine = 0;
    int endChar = 0;
    buffer.InsertAt(nullptr, 0, 0, "LD 1.0\r\nEND", endLine, endChar);
    buffer.GetAllText(text, CRLF_STYLE_MAC);
    EXPECT_EQ(text, "LD 1.0\nEND\n");
    buffer.GetAllText(text, CRLF_STYLE_DOS);
    EXPECT_EQ(text, "LD 1.0\r\nEND\r\n");
}

TEST(TextBufferText, RangeTextJoinsLinesAndRefusesReversedRanges)
{
    CCrystalTextBuffer buffer;
    buffer.LoadString("one\ntwo\nthree", CRLF_STYLE_MAC);
    CString text;
    buffer.GetRangeText(0, 1, 2, 2, text);
    EXPECT_EQ(text, "ne\r\ntwo\r\nth");
    buffer.GetRangeText(0, 1, 1, 1, text, "|");
    EXPECT_EQ(text, "ne|t");
    buffer.GetRangeText(1, 2, 0, 1, text);
    EXPECT_EQ(text, "");
    buffer.GetRangeText(1, 2, 1, 2, text);
    EXPECT_EQ(text, "");
}

TEST(TextBufferEdit, InsertedTextBreaksAtEveryKindOfLineEnd)
{
    CCrystalTextBuffer buffer;
    buffer.InitEmpty();
    int endLine = 0;
    int endChar = 0;
    ASSERT_TRUE(buffer.InsertAt(nullptr, 0, 0, "ab", endLine, endChar));
    ASSERT_TRUE(buffer.InsertAt(nullptr, 0, 1, "1\r\n2\n3\r4", endLine, endChar));
    EXPECT_EQ(Lines(buffer), (std::vector<std::string>{"a1", "2", "3", "4b"}));
    EXPECT_EQ(endLine, 3);
    EXPECT_EQ(endChar, 1);
}

TEST(TextBufferEdit, DeleteJoinsLinesAndUndoPutsTheTextBack)
{
    CCrystalTextBuffer buffer;
    buffer.LoadString("abc\ndef\nghi", CRLF_STYLE_MAC);
    ASSERT_TRUE(buffer.DeleteRange(nullptr, 0, 2, 2, 1, CE_ACTION_DELETE));
    EXPECT_EQ(Lines(buffer), (std::vector<std::string>{"abhi"}));
    CPoint caret;
    ASSERT_TRUE(buffer.StepBack(caret));
    EXPECT_EQ(Lines(buffer), (std::vector<std::string>{"abc", "def", "ghi"}));
    EXPECT_EQ(caret, CPoint(2, 0));
}

TEST(TextBufferEdit, UndoAndRedoGiveBackExactlyTheTextTheyUndo)
{
    for (const char* text : {"\r", "\n\r\n", "a\r\nb\nc\rd", "x\n\ry\r\n\rz", "\r\r\n\n"})
    {
        SCOPED_TRACE(testing::PrintToString(std::string(text)));
        CCrystalTextBuffer buffer;
        buffer.LoadString(text);
        const std::vector<std::string> loaded = Lines(buffer);
        const int lastLine = buffer.GetLineCount() - 1;
        ASSERT_TRUE(
            buffer.DeleteRange(nullptr, 0, 0, lastLine, buffer.GetLineLength(lastLine), CE_ACTION_DELETE));
        EXPECT_EQ(Lines(buffer), (std::vector<std::string>{""}));
        CPoint caret;
        ASSERT_TRUE(buffer.StepBack(caret));
        EXPECT_EQ(Lines(buffer), loaded);
        ASSERT_TRUE(buffer.StepForward(caret));
        EXPECT_EQ(Lines(buffer), (std::vector<std::string>{""}));
        ASSERT_TRUE(buffer.StepBack(caret));
        EXPECT_EQ(Lines(buffer), loaded);
        EXPECT_FALSE(buffer.IsModified());
    }
}

TEST(TextBufferEdit, InsertedLineEndsUndoAndRedoExactly)
{
    CCrystalTextBuffer buffer;
    buffer.LoadString("ab\ncd", CRLF_STYLE_MAC);
    int endLine = 0;
    int endChar = 0;
    ASSERT_TRUE(buffer.InsertAt(nullptr, 0, 1, "\n\r1\r", endLine, endChar, CE_ACTION_PASTE));
    const std::vector<std::string> pasted = Lines(buffer);
    EXPECT_EQ(pasted, (std::vector<std::string>{"a", "", "1", "b", "cd"}));
    CPoint caret;
    ASSERT_TRUE(buffer.StepBack(caret));
    EXPECT_EQ(Lines(buffer), (std::vector<std::string>{"ab", "cd"}));
    ASSERT_TRUE(buffer.StepForward(caret));
    EXPECT_EQ(Lines(buffer), pasted);
    EXPECT_EQ(caret, CPoint(endChar, endLine));
}

TEST(TextBufferEdit, PositionsOutsideTheTextAreRefused)
{
    CCrystalTextBuffer buffer;
    buffer.LoadString("abc");
    int endLine = 0;
    int endChar = 0;
    EXPECT_FALSE(buffer.InsertAt(nullptr, 1, 0, "x", endLine, endChar));
    EXPECT_FALSE(buffer.InsertAt(nullptr, 0, 4, "x", endLine, endChar));
    EXPECT_FALSE(buffer.DeleteRange(nullptr, 0, 2, 0, 1));
    EXPECT_FALSE(buffer.CanStepBack());
    EXPECT_EQ(buffer.GetLineLength(7), 0);
}

TEST(TextBufferEdit, ViewsHearOfEveryChangeWithItsRange)
{
    CCrystalTextBuffer buffer;
    buffer.LoadString("abc");
    RecordingView view;
    buffer.AttachView(&view);
    int endLine = 0;
    int endChar = 0;
    buffer.InsertAt(nullptr, 0, 1, "x\r\ny", endLine, endChar);
    ASSERT_EQ(view.changes.size(), 1u);
    EXPECT_TRUE(view.changes[0].moved);
    EXPECT_TRUE(view.changes[0].flags & UPDATE_VERTRANGE);
    buffer.DetachView(&view);
    buffer.DeleteRange(nullptr, 0, 0, 0, 1);
    EXPECT_EQ(view.changes.size(), 1u);
}

TEST(TextBufferFlags, BookmarkFlagsMoveBetweenLines)
{
    CCrystalTextBuffer buffer;
    buffer.LoadString("a\nb\nc", CRLF_STYLE_MAC);
    buffer.SetLineFlag(0, LF_BOOKMARK_FIRST << 3, TRUE);
    buffer.SetLineFlag(2, LF_BOOKMARK_FIRST << 3, TRUE);
    EXPECT_EQ(buffer.GetLineFlags(0), 0u);
    EXPECT_EQ(buffer.FindLineWithFlag(LF_BOOKMARK_FIRST << 3), 2);
    buffer.SetLineFlag(0, LF_BOOKMARKS, TRUE, FALSE);
    buffer.SetLineFlag(1, LF_BOOKMARKS, TRUE, FALSE);
    EXPECT_EQ(buffer.FindLineWithFlag(LF_BOOKMARKS, 1), 1);
    buffer.ClearFlagEverywhere(LF_NUMBERED_BOOKMARKS);
    EXPECT_EQ(buffer.GetLineFlags(2), 0u);
    EXPECT_EQ(buffer.GetLineFlags(1), LF_BOOKMARKS);
}

} // namespace
