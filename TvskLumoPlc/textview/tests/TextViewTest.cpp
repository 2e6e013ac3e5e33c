// The text view offscreen: indicators, find, copy, colours on the rendered image, keys, bookmarks,
// auto-scroll.
#include "TextViewFixture.h"

#include <TvskLumoPlc/textview/TextFindDialog.h>

#include <TvskLumoPlc/text/TextEditStrings.h>

#include <QCursor>
#include <QImage>
#include <QTest>

namespace
{

class TextView : public TextViewFixture<CCrystalTextView>
{
};

class CapturingCmdUI : public CCmdUI
{
public:
    void Enable(BOOL on) override { enabled = on != FALSE; }
    void SetText(const char* value) override { text = value; }
    bool enabled = false;
    CString text;
};

CapturingCmdUI Update(CWnd& wnd, UINT id)
{
    CapturingCmdUI ui;
    ui.m_nID = id;
    ui.DoUpdate(&wnd, FALSE);
    return ui;
}

TEST_F(TextView, IndicatorsShowThePositionAndTheLineEndStyle)
{
    Load("LD 1.0\nEND", CRLF_STYLE_MAC);
    EXPECT_EQ(Update(m_view, ID_INDICATOR_CRLF).text, "MAC");
    Load("LD 1.0\r\n\tEND", CRLF_STYLE_AUTOMATIC);
    EXPECT_EQ(Update(m_view, ID_INDICATOR_CRLF).text, "DOS");
    m_view.SetCursorPos(CPoint(1, 1));
    EXPECT_EQ(Update(m_view, ID_INDICATOR_POSITION).text, "Ln 2, Col 5");
    m_view.DetachFromBuffer();
    const CapturingCmdUI none = Update(m_view, ID_INDICATOR_CRLF);
    EXPECT_FALSE(none.enabled);
}

TEST_F(TextView, AFailedFindShowsTheTextAndKeepsTheSelection)
{
    Load("LD 1.0\nOUT 2.0\nEND", CRLF_STYLE_MAC);
    m_view.SetSelection(CPoint(0, 1), CPoint(3, 1));
    m_view.SetLastSearch("zz", 0);
    m_view.SendMessage(WM_COMMAND, ID_EDIT_FIND_NEXT, 0);
    ASSERT_EQ(m_boxes.texts.size(), 1u);
    EXPECT_EQ(m_boxes.texts[0], "Cannot find string\"zz\"");
    CPoint start;
    CPoint end;
    m_view.GetSelection(start, end);
    EXPECT_EQ(start, CPoint(0, 1));
    EXPECT_EQ(end, CPoint(3, 1));
}

TEST_F(TextView, FindNextAndPreviousRepeatTheLastSearchFromTheCaret)
{
    Load("ld x\nLD y\nfoo ld\nLDN z", CRLF_STYLE_MAC);
    m_view.SetLastSearch("LD", FIND_MATCH_CASE | FIND_WHOLE_WORD);
    m_view.SendMessage(WM_COMMAND, ID_EDIT_FIND_NEXT, 0);
    EXPECT_EQ(Selection(), (std::pair{CPoint(0, 1), CPoint(2, 1)}));
    m_view.SendMessage(WM_COMMAND, ID_EDIT_FIND_NEXT, 0); // wraps around past "LDN"
    EXPECT_EQ(Selection(), (std::pair{CPoint(0, 1), CPoint(2, 1)}));
    m_view.SetLastSearch("ld", FIND_WHOLE_WORD);
    m_view.SendMessage(WM_COMMAND, ID_EDIT_FIND_PREVIOUS, 0);
    EXPECT_EQ(Selection(), (std::pair{CPoint(0, 0), CPoint(2, 0)}));
    m_view.SendMessage(WM_COMMAND, ID_EDIT_FIND_PREVIOUS, 0);
    EXPECT_EQ(Selection(), (std::pair{CPoint(4, 2), CPoint(6, 2)}));
    EXPECT_TRUE(m_boxes.texts.empty());
}

TEST_F(TextView, TheFindDialogSearchesFromTheCaretAndRestartsAfterAMiss)
{
    Load("OUT 1\nLD 2\nOUT 3", CRLF_STYLE_MAC);
    m_view.SetCursorPos(CPoint(0, 1));
    CTextFindDialog dialog(&m_view);
    dialog.m_sText = "OUT";
    dialog.m_ptCurrentPos = m_view.GetCursorPos();
    ASSERT_TRUE(dialog.Create(IDS_FIND_DIALOG, &m_view));
    dialog.OnFindNext();
    EXPECT_EQ(Selection(), (std::pair{CPoint(0, 2), CPoint(3, 2)}));
    dialog.DestroyWindow();

    CTextFindDialog missing(&m_view);
    missing.m_sText = "JMP";
    ASSERT_TRUE(missing.Create(IDS_FIND_DIALOG, &m_view));
    EXPECT_TRUE(missing.GetDlgItem(IDOK)->IsWindowEnabled());
    missing.OnFindNext();
    ASSERT_EQ(m_boxes.texts.size(), 1u);
    EXPECT_EQ(missing.m_ptCurrentPos, CPoint(0, 0));
    missing.SetDlgItemText(IDC_EDIT_TEXT, "");
    missing.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_EDIT_TEXT, EN_CHANGE), 0);
    EXPECT_FALSE(missing.GetDlgItem(IDOK)->IsWindowEnabled());
    missing.DestroyWindow();
}

TEST_F(TextView, CopyWithoutSelectionTakesTheCaretLine)
{
    Load("LD 1.0\nOUT 2.0", CRLF_STYLE_MAC);
    m_view.SetCursorPos(CPoint(2, 1));
    m_view.SendMessage(WM_COMMAND, ID_EDIT_COPY, 0);
    CString text;
    ASSERT_TRUE(GetClipboardText(text));
    EXPECT_EQ(text, "OUT 2.0\r\n");
    m_view.SetSelection(CPoint(3, 0), CPoint(3, 1));
    m_view.SendMessage(WM_COMMAND, ID_EDIT_COPY, 0);
    GetClipboardText(text);
    EXPECT_EQ(text, "1.0\r\nOUT");
}

TEST_F(TextView, KeywordsAreDrawnBlue)
{
    Load("LD 1.0\n(* note *)", CRLF_STYLE_MAC);
    const QImage image = Render();
    const int lineHeight = m_view.GetLineHeight();
    const int charWidth = m_view.GetCharWidth();
    const int margin = m_view.GetMarginWidth();
    EXPECT_TRUE(HasPixel(image, CRect(margin, 0, margin + 2 * charWidth, lineHeight), QColor(0, 0, 0xFF)));
    EXPECT_FALSE(HasPixel(image, CRect(margin + 3 * charWidth, 0, margin + 6 * charWidth, lineHeight),
                          QColor(0, 0, 0xFF)));
    EXPECT_TRUE(HasPixel(image, CRect(margin, lineHeight, margin + 10 * charWidth, 2 * lineHeight),
                         QColor(0, 0x80, 0)));
    image.save(QString::fromUtf8(::testing::TempDir().c_str()) + "/textview.png");
}

TEST_F(TextView, MarkedLinesShowWhiteOnTheirColourAndTabsShowWhenAsked)
{
    Load("LD 1.0\nOUT 2.0\n\tEND", CRLF_STYLE_MAC);
    m_buffer.SetLineFlag(0, LF_EXECUTION, TRUE, FALSE);
    m_buffer.SetLineFlag(1, LF_ERROR, TRUE, FALSE);
    m_view.SetViewTabs(TRUE);
    const QImage image = Render();
    const int lineHeight = m_view.GetLineHeight();
    const int margin = m_view.GetMarginWidth();
    const int charWidth = m_view.GetCharWidth();
    const CRect first(margin, 0, margin + 10 * charWidth, lineHeight);
    EXPECT_EQ(image.pixelColor(first.right + 5, lineHeight / 2), QColor(0, 0x80, 0)); // 0x008000
    EXPECT_TRUE(HasPixel(image, first, QColor(0xFF, 0xFF, 0xFF)));
    EXPECT_EQ(image.pixelColor(margin + 12 * charWidth, lineHeight + lineHeight / 2),
              QColor(0x80, 0x80, 0)); // 0x008080
    // The tab's mark is drawn in its first cell; the rest of the tab stays blank.
    const CRect tabMark(margin, 2 * lineHeight, margin + charWidth, 3 * lineHeight);
    const CRect tabRest(margin + charWidth, 2 * lineHeight, margin + 4 * charWidth, 3 * lineHeight);
    EXPECT_TRUE(HasPixel(image, tabMark, QColor(0, 0, 0)));
    EXPECT_FALSE(HasPixel(image, tabRest, QColor(0, 0, 0)));
}

TEST_F(TextView, KeysReachTheViewThroughItsAcceleratorTable)
{
    Load("LD 1.0\nOUT 2.0\nEND", CRLF_STYLE_MAC);
    QTest::keyClick(m_view.GetWidget(), Qt::Key_Down);
    QTest::keyClick(m_view.GetWidget(), Qt::Key_End);
    EXPECT_EQ(m_view.GetCursorPos(), CPoint(7, 1));
    QTest::keyClick(m_view.GetWidget(), Qt::Key_Left, Qt::ShiftModifier | Qt::ControlModifier);
    EXPECT_EQ(Selection(), (std::pair{CPoint(6, 1), CPoint(7, 1)})); // "." ends a word
    QTest::keyClick(m_view.GetWidget(), Qt::Key_Right);
    EXPECT_EQ(m_view.GetCursorPos(), CPoint(7, 1));
    QTest::keyClick(m_view.GetWidget(), Qt::Key_Right);
    EXPECT_EQ(m_view.GetCursorPos(), CPoint(0, 2));
    QTest::keyClick(m_view.GetWidget(), Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(m_view.GetCursorPos(), CPoint(0, 0));
    QTest::keyClick(m_view.GetWidget(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(Selection(), (std::pair{CPoint(0, 0), CPoint(3, 2)}));
}

TEST_F(TextView, BookmarksToggleMoveStepAndClear)
{
    Load("a\nb\nc\nd\ne", CRLF_STYLE_MAC);
    m_view.SetCursorPos(CPoint(0, 1));
    QTest::keyClick(m_view.GetWidget(), Qt::Key_3, Qt::ControlModifier);
    EXPECT_EQ(m_buffer.GetLineFlags(1), LF_BOOKMARK_FIRST << 3);
    m_view.SetCursorPos(CPoint(0, 3));
    QTest::keyClick(m_view.GetWidget(), Qt::Key_3, Qt::ControlModifier); // moves it
    EXPECT_EQ(m_buffer.GetLineFlags(1), 0u);
    m_view.SetCursorPos(CPoint(0, 0));
    QTest::keyClick(m_view.GetWidget(), Qt::Key_3, Qt::AltModifier);
    EXPECT_EQ(m_view.GetCursorPos(), CPoint(0, 3));

    EXPECT_FALSE(Update(m_view, ID_EDIT_NEXT_BOOKMARK).enabled);
    QTest::keyClick(m_view.GetWidget(), Qt::Key_F2, Qt::ControlModifier);
    m_view.SetCursorPos(CPoint(0, 1));
    QTest::keyClick(m_view.GetWidget(), Qt::Key_F2, Qt::ControlModifier);
    EXPECT_TRUE(Update(m_view, ID_EDIT_NEXT_BOOKMARK).enabled);
    m_view.SetCursorPos(CPoint(0, 0));
    QTest::keyClick(m_view.GetWidget(), Qt::Key_F2);
    EXPECT_EQ(m_view.GetCursorPos(), CPoint(0, 1));
    QTest::keyClick(m_view.GetWidget(), Qt::Key_F2);
    EXPECT_EQ(m_view.GetCursorPos(), CPoint(0, 3));
    QTest::keyClick(m_view.GetWidget(), Qt::Key_F2, Qt::ShiftModifier);
    EXPECT_EQ(m_view.GetCursorPos(), CPoint(0, 1));

    m_view.SendMessage(WM_COMMAND, ID_EDIT_CLEAR_BOOKMARKS, 0);
    EXPECT_EQ(m_buffer.GetLineFlags(3), LF_BOOKMARKS);
    QTest::keyClick(m_view.GetWidget(), Qt::Key_F2, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(m_buffer.FindLineWithFlag(LF_BOOKMARKS), -1);
}

TEST_F(TextView, SelectingPastTheEdgesScrollsOneOrThreeLines)
{
    std::string text;
    for (int i = 0; i < 200; ++i)
        text += "LD " + std::to_string(i) + "\n";
    Load(text, CRLF_STYLE_MAC);
    m_view.ScrollToLine(50);
    const int lineHeight = m_view.GetLineHeight();
    m_view.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(60, lineHeight * 2));
    const auto tickWithCursorAt = [&](int y)
    {
        POINT point{60, y};
        m_view.ClientToScreen(&point);
        QCursor::setPos(point.x, point.y);
        m_view.SendMessage(WM_TIMER, CCrystalTextView::TIMER_DRAGSEL, 0);
    };
    tickWithCursorAt(-2);
    EXPECT_EQ(m_view.GetTopLine(), 49);
    tickWithCursorAt(-2 * lineHeight);
    EXPECT_EQ(m_view.GetTopLine(), 46);
    EXPECT_EQ(m_view.GetCursorPos().y, 46);
    CRect client;
    m_view.GetClientRect(&client);
    tickWithCursorAt(client.bottom + 1);
    EXPECT_EQ(m_view.GetTopLine(), 47);
    tickWithCursorAt(client.bottom + 3 * lineHeight);
    EXPECT_EQ(m_view.GetTopLine(), 50);
    EXPECT_EQ(Selection().first.y, 52); // the anchor stays where the press was
    m_view.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(60, 10));
    tickWithCursorAt(-2 * lineHeight);
    EXPECT_EQ(m_view.GetTopLine(), 50);
}

class PaintCountingView : public CCrystalTextView
{
public:
    void OnDraw(CDC* dc) override
    {
        ++paints;
        CCrystalTextView::OnDraw(dc);
    }
    int paints = 0;
};

class SmoothScroll : public TextViewFixture<PaintCountingView>
{
};

TEST_F(SmoothScroll, StepsASixthOfTheWayAndOneLineUnlessForced)
{
    std::string text;
    for (int i = 0; i < 200; ++i)
        text += "LD " + std::to_string(i) + "\n";
    Load(text, CRLF_STYLE_MAC);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_host.GetWidget()));
    m_view.SetSmoothScroll(TRUE);
    m_view.paints = 0;
    m_view.ScrollToLine(60);
    EXPECT_EQ(m_view.GetTopLine(), 60);
    EXPECT_EQ(m_view.paints, 16); // 60 lines: 11, 9, 7, 6, 5, 4, 4, 3, 2, 2, 2, 1, 1, 1, 1, 1
    m_view.paints = 0;
    m_view.ScrollToLine(10, TRUE);
    EXPECT_EQ(m_view.GetTopLine(), 10);
    EXPECT_LE(m_view.paints, 1);
}

TEST_F(TextView, LinesPastTheTextAndPositionsOutsideItAreHandled)
{
    Load("x", CRLF_STYLE_MAC);
    m_view.SetCursorPos(CPoint(40, 9));
    EXPECT_EQ(m_view.GetCursorPos(), CPoint(1, 0));
    EXPECT_EQ(m_view.GetLineActualLength(5), 0);
    EXPECT_EQ(m_view.GetParseCookie(-1), 0u);
    const QImage image = Render();
    EXPECT_FALSE(image.isNull());
}

} // namespace

const tvsk::test::TestApplication g_app("PlcTextViewTests", "MurnApps");

namespace
{
// The margin is 41 pixels, or 7.5 characters in the alternative mode; over it the pointer is the
// margin's own arrow, over the text the I-beam.
TEST_F(TextView, TheMarginHasItsWidthAndItsOwnCursor)
{
    Load("LD 1.0\nOUT 2.0\nEND", CRLF_STYLE_MAC);
    EXPECT_EQ(m_view.GetMarginWidth(), CCrystalTextView::SELECTION_MARGIN_WIDTH);
    m_view.SetCharacterMargin(TRUE);
    EXPECT_EQ(m_view.GetMarginWidth(), m_view.GetCharWidth() * 15 / 2);
    m_view.SetCharacterMargin(FALSE);

    QWidget* widget = m_view.GetWidget();
    const QPoint margin(5, 5);
    QCursor::setPos(widget->mapToGlobal(margin));
    QTest::mouseMove(widget, margin);
    EXPECT_EQ(widget->cursor().shape(), Qt::BitmapCursor);
    EXPECT_FALSE(widget->cursor().pixmap().isNull());
    const QPoint text(CCrystalTextView::SELECTION_MARGIN_WIDTH + 30, 5);
    QCursor::setPos(widget->mapToGlobal(text));
    QTest::mouseMove(widget, text);
    EXPECT_EQ(widget->cursor().shape(), Qt::IBeamCursor);
}
} // namespace
