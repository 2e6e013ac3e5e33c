// A window's own scroll bars, the caret, accelerator tables, the clipboard, page set-up and the
// wheel setting.
#include <ui/Ui.h>

#include <QApplication>
#include <QClipboard>
#include <QScrollBar>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <vector>

namespace
{

class ListeningWnd : public CWnd
{
public:
    std::vector<std::pair<UINT, WPARAM>> messages;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_VSCROLL || message == WM_HSCROLL || message == WM_COMMAND)
            messages.emplace_back(message, wParam);
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

TEST(OwnScrollBars, ShownOnlyWhileTheContentsDoNotFitUnlessKeptDisabled)
{
    ListeningWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "w", WS_OVERLAPPEDWINDOW, CRect(0, 0, 200, 150), nullptr, 0));
    SCROLLINFO info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMax = 99;
    info.nPage = 10;
    info.nPos = 95;
    ASSERT_TRUE(wnd.SetScrollInfo(SB_VERT, &info));
    EXPECT_EQ(wnd.GetScrollPos(SB_VERT), 90); // the thumb stops a page before the end
    CRect client;
    wnd.GetClientRect(&client);
    EXPECT_LT(client.Width(), 200);
    EXPECT_EQ(client.Height(), 150);

    info.nPage = 100;
    wnd.SetScrollInfo(SB_VERT, &info);
    wnd.GetClientRect(&client);
    EXPECT_EQ(client.Width(), 200);

    info.fMask |= SIF_DISABLENOSCROLL;
    wnd.SetScrollInfo(SB_VERT, &info);
    auto* bar = wnd.GetWidget()->findChild<QScrollBar*>();
    ASSERT_NE(bar, nullptr);
    EXPECT_FALSE(bar->isHidden());
    EXPECT_FALSE(bar->isEnabled());
}

TEST(OwnScrollBars, ARequestReachesTheWindowWhichMovesTheBar)
{
    ListeningWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "w", WS_OVERLAPPEDWINDOW, CRect(0, 0, 200, 150), nullptr, 0));
    SCROLLINFO info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMax = 99;
    info.nPage = 10;
    wnd.SetScrollInfo(SB_VERT, &info);
    auto* bar = wnd.GetWidget()->findChild<QScrollBar*>();
    ASSERT_NE(bar, nullptr);
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    ASSERT_EQ(wnd.messages.size(), 1u);
    EXPECT_EQ(wnd.messages[0].first, WM_VSCROLL);
    EXPECT_EQ(LOWORD(wnd.messages[0].second), SB_LINEDOWN);
    EXPECT_EQ(wnd.GetScrollPos(SB_VERT), 0); // the window did not move it
    wnd.SetScrollPos(SB_VERT, 42);
    EXPECT_EQ(bar->value(), 42);
}

TEST(Caret, HiddenUntilShownAndCounted)
{
    ListeningWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "w", WS_OVERLAPPEDWINDOW, CRect(0, 0, 200, 150), nullptr, 0));
    wnd.CreateSolidCaret(2, 14);
    EXPECT_FALSE(IsCaretShown(&wnd));
    wnd.ShowCaret();
    EXPECT_TRUE(IsCaretShown(&wnd));
    wnd.HideCaret();
    wnd.HideCaret();
    wnd.ShowCaret();
    EXPECT_FALSE(IsCaretShown(&wnd));
    wnd.ShowCaret();
    CWnd::SetCaretPos(CPoint(30, 40));
    EXPECT_EQ(CWnd::GetCaretPos(), CPoint(30, 40));
    EXPECT_TRUE(IsCaretShown(&wnd));
    EXPECT_TRUE(DestroyCaret());
    EXPECT_FALSE(IsCaretShown(&wnd));
    EXPECT_FALSE(DestroyCaret());
}

TEST(Accelerators, AKeyWithExactlyItsModifiersBecomesACommand)
{
    const ACCEL table[] = {
        {FVIRTKEY | FCONTROL, 'C', 100},
        {FVIRTKEY, VK_F3, 101},
        {FVIRTKEY | FSHIFT, VK_F3, 102},
    };
    ASSERT_TRUE(AfxRegisterAccelerators(9001, table, 3));
    EXPECT_FALSE(AfxRegisterAccelerators(9002, table, 0));
    EXPECT_EQ(LoadAccelerators(nullptr, 9002), nullptr);
    HACCEL accel = LoadAccelerators(nullptr, 9001);
    ASSERT_NE(accel, nullptr);

    ListeningWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "w", WS_OVERLAPPEDWINDOW, CRect(0, 0, 200, 150), nullptr, 0));
    MSG msg;
    msg.message = WM_KEYDOWN;
    msg.wParam = VK_F3;
    QTest::keyPress(wnd.GetWidget(), Qt::Key_F3, Qt::ShiftModifier);
    EXPECT_EQ(TranslateAccelerator(&wnd, accel, &msg), 1);
    QTest::keyRelease(wnd.GetWidget(), Qt::Key_F3, Qt::NoModifier);
    EXPECT_EQ(TranslateAccelerator(&wnd, accel, &msg), 1);
    msg.wParam = 'C';
    EXPECT_EQ(TranslateAccelerator(&wnd, accel, &msg), 0);
    std::vector<WORD> commands;
    for (const auto& [message, wParam] : wnd.messages)
        if (message == WM_COMMAND)
            commands.push_back(LOWORD(wParam));
    EXPECT_EQ(commands, (std::vector<WORD>{102, 101}));
}

TEST(Clipboard, PlainTextRoundTrip)
{
    ASSERT_TRUE(SetClipboardText("LD 1.0\r\nEND"));
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
    CString text;
    ASSERT_TRUE(GetClipboardText(text));
    EXPECT_EQ(text, "LD 1.0\r\nEND");
    QApplication::clipboard()->clear();
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT));
    EXPECT_FALSE(GetClipboardText(text));
}

class AnsweringPageSetup : public CPageSetupSink
{
public:
    INT_PTR Run(PAGESETUPDLG& settings) override
    {
        seen = settings.rtMargin;
        settings.rtMargin = CRect(500, 600, 700, 800);
        return IDOK;
    }
    CRect seen;
};

TEST(PageSetup, TheSinkSeesAndChangesTheMargins)
{
    CPageSetupDialog dialog;
    dialog.m_psd.rtMargin = CRect(1000, 1000, 1000, 1000);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL); // no display
    AnsweringPageSetup sink;
    CPageSetupSink* previous = AfxSetPageSetupSink(&sink);
    EXPECT_EQ(dialog.DoModal(), IDOK);
    AfxSetPageSetupSink(previous);
    EXPECT_EQ(sink.seen, CRect(1000, 1000, 1000, 1000));
    EXPECT_EQ(CRect(dialog.m_psd.rtMargin), CRect(500, 600, 700, 800));
}

TEST(SystemSettings, WheelLines)
{
    UINT lines = 0;
    ASSERT_TRUE(SystemParametersInfo(SPI_GETWHEELSCROLLLINES, 0, &lines, 0));
    EXPECT_EQ(lines, static_cast<UINT>(QApplication::wheelScrollLines()));
    EXPECT_FALSE(SystemParametersInfo(0x1234, 0, &lines, 0));
}

} // namespace
