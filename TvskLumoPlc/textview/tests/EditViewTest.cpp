// Editing through the edit view's commands and keys: typing, overwrite, Enter with auto-indent,
// Tab and Shift+Tab over lines, Backspace, cut and paste, undo menu texts, dropping.
#include "TextViewFixture.h"

#include <TvskLumoPlc/textview/CrystalEditView.h>

#include <QMimeData>
#include <QTest>

namespace
{

class EditView : public TextViewFixture<CCrystalEditView>
{
protected:
    std::vector<std::string> Lines() const
    {
        std::vector<std::string> lines;
        for (int i = 0; i < m_buffer.GetLineCount(); ++i)
            lines.emplace_back(m_buffer.GetLine(i));
        return lines;
    }
    void Command(UINT id) { m_view.SendMessage(WM_COMMAND, id, 0); }
    // Key presses that carry the characters, as a keyboard of any language sends them.
    void TypeKeys(const char* utf8)
    {
        const QList<uint> characters = QString::fromUtf8(utf8).toUcs4();
        for (const uint ch : characters)
            QTest::sendKeyEvent(QTest::Click, m_view.GetWidget(), Qt::Key_unknown,
                                QString::fromUcs4(reinterpret_cast<const char32_t*>(&ch), 1), Qt::NoModifier);
    }
    void Type(const char* text)
    {
        for (const char* p = text; *p; ++p)
            m_view.OnEditChar(static_cast<unsigned char>(*p));
    }
    CString MenuText(UINT id)
    {
        class TextUI : public CCmdUI
        {
        public:
            void SetText(const char* value) override { text = value; }
            CString text;
        } ui;
        ui.m_nID = id;
        ui.DoUpdate(&m_view, FALSE);
        return ui.text;
    }
};

using LineList = std::vector<std::string>;

TEST_F(EditView, TypingReplacesTheSelectionAndUndoesAsOneAction)
{
    Load("LD 1.0", CRLF_STYLE_MAC);
    m_view.SetSelection(CPoint(3, 0), CPoint(6, 0));
    m_view.SetCursorPos(CPoint(6, 0));
    Type("X");
    EXPECT_EQ(Lines(), (LineList{"LD X"}));
    EXPECT_EQ(m_view.GetCursorPos(), CPoint(4, 0));
    QTest::keyClick(m_view.GetWidget(), Qt::Key_Y); // through the toolkit's key events
    EXPECT_EQ(Lines(), (LineList{"LD Xy"}));
    Command(ID_EDIT_UNDO);
    Command(ID_EDIT_UNDO);
    EXPECT_EQ(Lines(), (LineList{"LD 1.0"}));
}

TEST_F(EditView, OverwriteReplacesCharactersAndEnterOnlyMovesDown)
{
    Load("abc\ndef", CRLF_STYLE_MAC);
    QTest::keyClick(m_view.GetWidget(), Qt::Key_Insert);
    EXPECT_TRUE(m_view.GetOverwriteMode());
    Type("XY");
    EXPECT_EQ(Lines(), (LineList{"XYc", "def"}));
    m_view.OnEditNewLine();
    EXPECT_EQ(m_view.GetCursorPos(), CPoint(0, 1));
    EXPECT_EQ(m_buffer.GetLineCount(), 2);
    m_view.OnEditNewLine(); // on the last line it breaks the line
    EXPECT_EQ(m_buffer.GetLineCount(), 3);
}

TEST_F(EditView, EnterWithAutoIndentUndoesInOneStep)
{
    Load("\t  LD 1.0", CRLF_STYLE_MAC);
    m_view.SetCursorPos(CPoint(9, 0));
    QTest::keyClick(m_view.GetWidget(), Qt::Key_Return);
    EXPECT_EQ(Lines(), (LineList{"\t  LD 1.0", "\t  "}));
    EXPECT_EQ(m_view.GetCursorPos(), CPoint(3, 1));
    EXPECT_EQ(MenuText(ID_EDIT_UNDO), "&Undo Typing\tCtrl+Z");
    Command(ID_EDIT_UNDO);
    EXPECT_EQ(Lines(), (LineList{"\t  LD 1.0"}));
    EXPECT_FALSE(m_buffer.CanStepBack());
}

TEST_F(EditView, BackspaceAtColumnZeroJoinsTheLines)
{
    Load("LD 1.0\nOUT 2.0", CRLF_STYLE_MAC);
    m_view.SetCursorPos(CPoint(0, 1));
    QTest::keyClick(m_view.GetWidget(), Qt::Key_Backspace);
    EXPECT_EQ(Lines(), (LineList{"LD 1.0OUT 2.0"}));
    EXPECT_EQ(m_view.GetCursorPos(), CPoint(6, 0));
    QTest::keyClick(m_view.GetWidget(), Qt::Key_Backspace);
    EXPECT_EQ(Lines(), (LineList{"LD 1.OUT 2.0"}));
    QTest::keyClick(m_view.GetWidget(), Qt::Key_Delete);
    EXPECT_EQ(Lines(), (LineList{"LD 1.UT 2.0"}));
    CString text;
    ASSERT_TRUE(m_buffer.BackDescription(text));
    EXPECT_EQ(text, "Delete");
}

TEST_F(EditView, UndoMenuTextsFollowTheHistory)
{
    Load("LD 1.0", CRLF_STYLE_MAC);
    EXPECT_EQ(MenuText(ID_EDIT_UNDO), "&Undo\tCtrl+Z");
    EXPECT_EQ(MenuText(ID_EDIT_REDO), "&Redo\tCtrl+Y");
    m_view.SetSelection(CPoint(0, 0), CPoint(3, 0));
    QTest::keyClick(m_view.GetWidget(), Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(Lines(), (LineList{"1.0"}));
    EXPECT_EQ(MenuText(ID_EDIT_UNDO), "&Undo Cut\tCtrl+Z");
    CString clip;
    GetClipboardText(clip);
    EXPECT_EQ(clip, "LD ");
    QTest::keyClick(m_view.GetWidget(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(MenuText(ID_EDIT_REDO), "&Redo Cut\tCtrl+Y");
    m_view.SetCursorPos(CPoint(6, 0));
    QTest::keyClick(m_view.GetWidget(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Lines(), (LineList{"LD 1.0LD "}));
    EXPECT_EQ(MenuText(ID_EDIT_UNDO), "&Undo Paste\tCtrl+Z");
}

TEST_F(EditView, PastedLinuxTextKeepsItsLines)
{
    Load("", CRLF_STYLE_DOS);
    SetClipboardText("LD 1.0\nOUT 2.0\rEND");
    Command(ID_EDIT_PASTE);
    EXPECT_EQ(Lines(), (LineList{"LD 1.0", "OUT 2.0", "END"}));
}

TEST_F(EditView, AccentedCharactersAreTypedMovedOverAndDeletedWhole)
{
    Load("(* *)", CRLF_STYLE_MAC);
    m_view.SetCursorPos(CPoint(3, 0));
    TypeKeys("città\xF0\x9F\x98\x80"); // the last beyond the basic plane
    EXPECT_EQ(Lines(), (LineList{"(* città\xF0\x9F\x98\x80*)"}));
    QTest::keyClick(m_view.GetWidget(), Qt::Key_Backspace);
    QTest::keyClick(m_view.GetWidget(), Qt::Key_Backspace);
    EXPECT_EQ(Lines(), (LineList{"(* citt*)"}));
    TypeKeys("è");
    QTest::keyClick(m_view.GetWidget(), Qt::Key_Left);
    EXPECT_EQ(m_view.GetCursorPos(), CPoint(7, 0));
    QTest::keyClick(m_view.GetWidget(), Qt::Key_Left, Qt::ShiftModifier);
    QTest::keyClick(m_view.GetWidget(), Qt::Key_Right);
    EXPECT_EQ(m_view.GetCursorPos(), CPoint(7, 0)) << "right of a selection goes to its end";
    QTest::keyClick(m_view.GetWidget(), Qt::Key_Delete);
    EXPECT_EQ(Lines(), (LineList{"(* citt*)"}));
    QTest::keyClick(m_view.GetWidget(), Qt::Key_Insert);
    m_view.SetCursorPos(CPoint(3, 0));
    TypeKeys("ä");
    EXPECT_EQ(Lines(), (LineList{"(* \xC3\xA4itt*)"})) << "overwrite replaces one character by one";
}

TEST_F(EditView, PastedAndLoadedAccentedTextCountsColumnsByCharacter)
{
    Load("(* \xC3\xA8 \xC3\xA0 *)\n\tLD 1.0", CRLF_STYLE_MAC);
    const auto x = [this](int at) { return m_view.TextToClient(CPoint(at, 0)).x; };
    EXPECT_EQ(x(6) - x(0), 5 * (x(1) - x(0))) << "\"(* è \" is five characters";
    m_view.SetCursorPos(CPoint(4, 0)); // inside the è: back to its start
    EXPECT_EQ(m_view.GetCursorPos(), CPoint(3, 0));
    const CPoint atA = m_view.TextToClient(CPoint(6, 0));
    EXPECT_EQ(m_view.ClientToText(CPoint(atA.x + 1, atA.y + 1)), CPoint(6, 0));
    m_view.SetCursorPos(CPoint(0, 1));
    SetClipboardText("(* \xC3\xBC\xC3\xBC *)\n");
    Command(ID_EDIT_PASTE);
    EXPECT_EQ(Lines(), (LineList{"(* \xC3\xA8 \xC3\xA0 *)", "(* \xC3\xBC\xC3\xBC *)", "\tLD 1.0"}));
    m_view.SetCursorPos(CPoint(7, 1));
    QTest::keyClick(m_view.GetWidget(), Qt::Key_Backspace);
    QTest::keyClick(m_view.GetWidget(), Qt::Key_Left, Qt::ShiftModifier);
    QTest::keyClick(m_view.GetWidget(), Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(Lines()[1], "(*  *)");
    CString cut;
    GetClipboardText(cut);
    EXPECT_EQ(cut, "\xC3\xBC");
}

TEST_F(EditView, TabIndentsTheSelectedLinesLeavingALineSelectedAtColumnZero)
{
    Load("l1\nl2 x\nl3\nl4\nl5\nl6", CRLF_STYLE_MAC);
    m_view.SetSelection(CPoint(3, 1), CPoint(0, 4));
    QTest::keyClick(m_view.GetWidget(), Qt::Key_Tab);
    EXPECT_EQ(Lines(), (LineList{"l1", "\tl2 x", "\tl3", "\tl4", "l5", "l6"}));
    EXPECT_EQ(m_view.IsSelection(), TRUE);
    Command(ID_EDIT_UNDO);
    EXPECT_EQ(Lines(), (LineList{"l1", "l2 x", "l3", "l4", "l5", "l6"}));
}

TEST_F(EditView, ShiftTabRemovesUpToATabSizeOfLeadingBlanks)
{
    Load("  \tA\n      B\n\tC\nD", CRLF_STYLE_MAC);
    m_view.SetSelection(CPoint(0, 0), CPoint(1, 3));
    QTest::keyClick(m_view.GetWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(Lines(), (LineList{"A", "  B", "C", "D"}));
    CString text;
    m_buffer.BackDescription(text);
    EXPECT_EQ(text, "Indent");
}

TEST_F(EditView, TabWithoutSelectionTypesOrMovesToTheNextStop)
{
    Load("ab\tcdefgh", CRLF_STYLE_MAC);
    m_view.SetCursorPos(CPoint(1, 0));
    m_view.OnEditTab();
    EXPECT_EQ(Lines(), (LineList{"a\tb\tcdefgh"}));
    m_view.SetOverwriteMode(TRUE);
    m_view.SetCursorPos(CPoint(3, 0)); // on the tab after "b"
    m_view.OnEditTab();
    EXPECT_EQ(m_view.GetCursorPos(), CPoint(4, 0)); // stops after the tab
    m_view.OnEditTab();
    EXPECT_EQ(m_view.GetCursorPos(), CPoint(8, 0));
    m_view.OnEditUntab();
    EXPECT_EQ(m_view.GetCursorPos(), CPoint(4, 0));
}

TEST_F(EditView, ReadOnlyOrMissingBufferRefusesEveryEdit)
{
    Load("LD 1.0", CRLF_STYLE_MAC);
    m_buffer.SetReadOnly(TRUE);
    Type("x");
    m_view.OnEditNewLine();
    m_view.OnEditDeleteBack();
    Command(ID_EDIT_CLEAR);
    SetClipboardText("p");
    Command(ID_EDIT_PASTE);
    m_view.SetSelection(CPoint(0, 0), CPoint(2, 0));
    Command(ID_EDIT_CUT);
    Command(ID_EDIT_TAB);
    EXPECT_EQ(Lines(), (LineList{"LD 1.0"}));
    EXPECT_FALSE(m_buffer.CanStepBack());
    m_view.DetachFromBuffer();
    Type("x");
    Command(ID_EDIT_UNDO);
}

TEST_F(EditView, DropsInsertMoveOrOnlyMoveTheCaret)
{
    Load("LD 1.0\nOUT 2.0", CRLF_STYLE_MAC);
    QMimeData mime;
    mime.setText("AND 3.0 ");
    COleDataObject data(&mime);
    const CPoint atOut = m_view.TextToClient(CPoint(0, 1));
    EXPECT_EQ(m_view.DoDragOver(&data, MK_CONTROL, atOut + CPoint(1, 8)), DROPEFFECT_COPY);
    EXPECT_EQ(m_view.DoDragOver(&data, 0, atOut + CPoint(1, 8)), DROPEFFECT_MOVE);
    EXPECT_TRUE(m_view.IsDropCaretShown());
    EXPECT_EQ(m_view.GetDropPos(), CPoint(0, 1));
    ASSERT_TRUE(m_view.DoDropText(&data, atOut + CPoint(1, 8)));
    EXPECT_FALSE(m_view.IsDropCaretShown());
    EXPECT_EQ(Lines(), (LineList{"LD 1.0", "AND 3.0 OUT 2.0"}));
    CString text;
    m_buffer.BackDescription(text);
    EXPECT_EQ(text, "Drag And Drop");

    QMimeData image;
    image.setImageData(QImage(2, 2, QImage::Format_RGB32));
    COleDataObject notText(&image);
    EXPECT_EQ(m_view.DoDragOver(&notText, 0, atOut), DROPEFFECT_NONE);
    m_buffer.SetReadOnly(TRUE);
    EXPECT_EQ(m_view.DoDragOver(&data, 0, atOut), DROPEFFECT_NONE);
}

TEST_F(EditView, ADragOfTheSelectionThatNothingTakesChangesNothing)
{
    Load("LD 1.0\nOUT 2.0", CRLF_STYLE_MAC);
    m_view.SetSelection(CPoint(0, 1), CPoint(3, 1));
    const CPoint inside = m_view.TextToClient(CPoint(1, 1)) + CPoint(2, 3);
    m_view.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(inside.x, inside.y));
    m_view.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(inside.x + 40, inside.y + 40));
    // Nothing takes the drop here: the text stays and the selection with it.
    EXPECT_EQ(Lines(), (LineList{"LD 1.0", "OUT 2.0"}));
    EXPECT_EQ(Selection(), (std::pair{CPoint(0, 1), CPoint(3, 1)}));
    m_view.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(inside.x + 40, inside.y + 40));
}

TEST_F(EditView, DragsNearTheEdgesScrollOneLine)
{
    std::string text;
    for (int i = 0; i < 100; ++i)
        text += "x\n";
    Load(text, CRLF_STYLE_MAC);
    m_view.ScrollToLine(10);
    QMimeData mime;
    mime.setText("y");
    COleDataObject data(&mime);
    m_view.DoDragOver(&data, 0, CPoint(60, 2));
    EXPECT_EQ(m_view.GetTopLine(), 9);
    CRect client;
    m_view.GetClientRect(&client);
    m_view.DoDragOver(&data, 0, CPoint(60, client.bottom - 2));
    EXPECT_EQ(m_view.GetTopLine(), 10);
    m_view.DoDragLeave();
    EXPECT_FALSE(m_view.IsDropCaretShown());
}

} // namespace
