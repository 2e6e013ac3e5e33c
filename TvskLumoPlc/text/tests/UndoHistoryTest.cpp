// Undo and redo by user action, the history limit, the modified flag and action texts.
#include <TvskLumoPlc/text/CrystalTextBuffer.h>

#include <gtest/gtest.h>

#include <filesystem>

namespace
{

void Type(CCrystalTextBuffer& buffer, int line, int pos, const char* text, int action = CE_ACTION_TYPING)
{
    int endLine = 0;
    int endChar = 0;
    buffer.OpenActionGroup();
    ASSERT_TRUE(buffer.InsertAt(nullptr, line, pos, text, endLine, endChar, action));
    buffer.CloseActionGroup(nullptr);
}

TEST(UndoHistory, OneActionOfSeveralRecordsUndoesInOneStep)
{
    CCrystalTextBuffer buffer;
    buffer.LoadString("  LD 1.0");
    int endLine = 0;
    int endChar = 0;
    buffer.OpenActionGroup();
    buffer.InsertAt(nullptr, 0, 8, "\r\n", endLine, endChar, CE_ACTION_TYPING);
    buffer.InsertAt(nullptr, 1, 0, "  ", endLine, endChar, CE_ACTION_AUTOINDENT);
    buffer.CloseActionGroup(nullptr);
    EXPECT_EQ(buffer.GetLineCount(), 2);
    CString text;
    ASSERT_TRUE(buffer.BackDescription(text));
    EXPECT_EQ(text, "Typing");
    CPoint caret;
    ASSERT_TRUE(buffer.StepBack(caret));
    EXPECT_EQ(buffer.GetLineCount(), 1);
    EXPECT_FALSE(buffer.CanStepBack());
    ASSERT_TRUE(buffer.ForwardDescription(text));
    EXPECT_EQ(text, "Typing");
    ASSERT_TRUE(buffer.StepForward(caret));
    EXPECT_EQ(buffer.GetLine(1), "  ");
    EXPECT_EQ(caret, CPoint(2, 1));
}

TEST(UndoHistory, TheLimitDropsTheOldestWholeAction)
{
    CCrystalTextBuffer buffer;
    buffer.InitEmpty();
    for (int i = 0; i < 1025; ++i)
        Type(buffer, 0, i, i == 0 ? "F" : "x");
    EXPECT_EQ(buffer.GetUndoRecordCount(), 1024);
    EXPECT_EQ(buffer.GetUndoRecord(0).start.x, 1);
    CPoint caret;
    while (buffer.CanStepBack())
        buffer.StepBack(caret);
    EXPECT_EQ(buffer.GetLine(0), "F");
    EXPECT_TRUE(buffer.IsModified());
}

TEST(UndoHistory, UndoToTheSavedPositionClearsModifiedAndRedoSetsIt)
{
    CCrystalTextBuffer buffer;
    buffer.LoadString("LD 1.0");
    Type(buffer, 0, 0, "a");
    Type(buffer, 0, 0, "b");
    CPoint caret;
    buffer.StepBack(caret);
    buffer.StepBack(caret);
    EXPECT_FALSE(buffer.IsModified());
    buffer.StepForward(caret);
    EXPECT_TRUE(buffer.IsModified());
}

TEST(UndoHistory, ASavePositionInADroppedRedoTailNeverReadsUnmodified)
{
    CCrystalTextBuffer buffer;
    buffer.LoadString("base");
    Type(buffer, 0, 0, "a");
    const auto path = std::filesystem::temp_directory_path() / ("undo-" + std::to_string(::getpid()) + ".il");
    ASSERT_TRUE(buffer.SaveFile(path.c_str()));
    std::filesystem::remove(path);
    CPoint caret;
    buffer.StepBack(caret);
    Type(buffer, 0, 0, "b"); // the saved state "abase" is gone from the history
    buffer.StepBack(caret);
    EXPECT_EQ(buffer.GetLine(0), "base");
    EXPECT_TRUE(buffer.IsModified());
    buffer.StepForward(caret);
    EXPECT_TRUE(buffer.IsModified());
}

TEST(UndoHistory, ASavePositionShiftsWhenOldActionsAreDropped)
{
    CCrystalTextBuffer buffer;
    buffer.InitEmpty();
    buffer.SetUndoLimit(4);
    for (int i = 0; i < 3; ++i)
        Type(buffer, 0, 0, "x");
    const auto path =
        std::filesystem::temp_directory_path() / ("undo-shift-" + std::to_string(::getpid()) + ".il");
    ASSERT_TRUE(buffer.SaveFile(path.c_str()));
    std::filesystem::remove(path);
    Type(buffer, 0, 0, "y");
    Type(buffer, 0, 0, "z"); // drops the first action
    CPoint caret;
    buffer.StepBack(caret);
    EXPECT_TRUE(buffer.IsModified());
    buffer.StepBack(caret);
    EXPECT_FALSE(buffer.IsModified());
    buffer.StepBack(caret);
    EXPECT_TRUE(buffer.IsModified());
}

TEST(UndoHistory, ASavePositionDroppedByTheLimitNeverReadsUnmodified)
{
    CCrystalTextBuffer buffer;
    buffer.InitEmpty();
    buffer.SetUndoLimit(2);
    Type(buffer, 0, 0, "a");
    Type(buffer, 0, 0, "b");
    Type(buffer, 0, 0, "c"); // the loaded state can no longer be reached
    CPoint caret;
    while (buffer.CanStepBack())
        buffer.StepBack(caret);
    EXPECT_EQ(buffer.GetLine(0), "a");
    EXPECT_TRUE(buffer.IsModified());
}

TEST(UndoHistory, ActionTexts)
{
    CString text;
    ASSERT_TRUE(CCrystalTextBuffer::ActionText(CE_ACTION_TYPING, text));
    EXPECT_EQ(text, "Typing");
    ASSERT_TRUE(CCrystalTextBuffer::ActionText(CE_ACTION_DELETE, text));
    EXPECT_EQ(text, "Delete");
    ASSERT_TRUE(CCrystalTextBuffer::ActionText(CE_ACTION_AUTOINDENT, text));
    EXPECT_EQ(text, "Auto Indent");
    EXPECT_FALSE(CCrystalTextBuffer::ActionText(11, text));
    EXPECT_FALSE(CCrystalTextBuffer::ActionText(-1, text));
}

} // namespace
