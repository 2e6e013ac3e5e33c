// Splitter: middle placement, pane layout, the drag clamps and the message to the parent.
#include "UiExtTestSupport.h"

#include <uiext/SplitterBar.h>

#include <QImage>

#include <gtest/gtest.h>

namespace
{

class ParentWnd : public CWnd
{
public:
    int splitterMoves = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_SPLITTER_MOVED)
        {
            ++splitterMoves;
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

LPARAM At(int x, int y)
{
    return MAKELPARAM(static_cast<WORD>(static_cast<SHORT>(x)), static_cast<WORD>(static_cast<SHORT>(y)));
}

class SplitterBarTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.CreateEx(0, nullptr, "p", WS_POPUP, CRect(0, 0, 200, 300), nullptr, 0));
        ASSERT_TRUE(
            upper.CreateEx(0, nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), &parent, 1));
        ASSERT_TRUE(
            lower.CreateEx(0, nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), &parent, 2));
        ASSERT_TRUE(bar.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 4), &parent, 3));
        bar.SetTopOffset(5);
        bar.SetPanes(&upper, &lower);
        bar.Size();
    }
    CRect RectOf(CWnd& wnd)
    {
        CRect rect;
        wnd.GetWindowRect(&rect);
        parent.ScreenToClient(&rect);
        return rect;
    }
    void Drag(int toY)
    {
        bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(10, 1));
        bar.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, At(10, toY / 2));
        bar.SendMessage(WM_LBUTTONUP, 0, At(10, toY));
    }
    ParentWnd parent;
    CWnd upper;
    CWnd lower;
    CSplitterBar bar;
};

TEST_F(SplitterBarTest, SizePutsTheBarAcrossTheMiddleAndLaysOutThePanes)
{
    EXPECT_EQ(RectOf(bar), CRect(0, 148, 200, 152));
    EXPECT_EQ(RectOf(upper), CRect(0, 5, 200, 148));
    EXPECT_EQ(RectOf(lower), CRect(0, 157, 200, 300));
}

TEST_F(SplitterBarTest, DragToTheTopLeavesSixtyPixelsAbove)
{
    Drag(-1000);
    EXPECT_EQ(RectOf(bar), CRect(0, 60, 200, 64));
    EXPECT_EQ(RectOf(upper).Height(), 60 - 5);
    ASSERT_TRUE(PumpUntil([&]() { return parent.splitterMoves == 1; }));
}

TEST_F(SplitterBarTest, DragBelowTheBottomLeavesSixtyPixelsForTheLowerPane)
{
    Drag(1000);
    EXPECT_EQ(RectOf(bar), CRect(0, 236, 200, 240));
    EXPECT_EQ(RectOf(lower).Height(), 60 - 5);
}

TEST_F(SplitterBarTest, DragInsideTheLimitsPutsTheBarAtThePointer)
{
    Drag(-48); // bar top 148 - 48 = 100 in the parent
    EXPECT_EQ(RectOf(bar), CRect(0, 100, 200, 104));
    EXPECT_EQ(RectOf(upper), CRect(0, 5, 200, 100));
    // The drag feedback is gone once the bar has been dropped.
    const QImage* overlay = parent.GetOverlayImage();
    for (int y = 0; y < overlay->height(); y += 3)
        ASSERT_EQ(overlay->pixel(100, y), 0u) << "at y " << y;
}

TEST_F(SplitterBarTest, ButtonUpWithoutDragChangesNothing)
{
    bar.SendMessage(WM_LBUTTONUP, 0, At(10, -100));
    EXPECT_EQ(RectOf(bar), CRect(0, 148, 200, 152));
    QCoreApplication::processEvents();
    EXPECT_EQ(parent.splitterMoves, 0);
}

} // namespace
