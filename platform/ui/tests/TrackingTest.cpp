// The modal mouse-tracking loop, halftone drag feedback and transparent child windows.
#include <ui/Dc.h>
#include <ui/HalftoneOutline.h>
#include <ui/MouseTrack.h>
#include <ui/RectTracker.h>
#include <ui/TransparentWnd.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <vector>

TEST(MouseTrack, HandsMouseAndKeysToTheHandlerUntilItEnds)
{
    EXPECT_FALSE(RunMouseTrackLoop(nullptr, [](const MOUSETRACK_MSG&) { return false; }));
    CWnd wnd;
    ASSERT_TRUE(
        wnd.CreateEx(0, nullptr, "track", WS_POPUP | WS_VISIBLE, CRect(20, 30, 220, 130), nullptr, 0));
    CWnd other;
    ASSERT_TRUE(
        other.CreateEx(0, nullptr, "other", WS_POPUP | WS_VISIBLE, CRect(300, 30, 400, 130), nullptr, 0));
    QTimer::singleShot(0,
                       [&]
                       {
                           QWidget* widget = other.GetWidget();
                           const QPointF local(5, 6);
                           QMouseEvent move(QEvent::MouseMove, local, widget->mapToGlobal(local),
                                            Qt::NoButton, Qt::NoButton, Qt::NoModifier);
                           QCoreApplication::sendEvent(widget, &move);
                           QKeyEvent key(QEvent::KeyPress, Qt::Key_B, Qt::NoModifier);
                           QCoreApplication::sendEvent(widget, &key);
                           QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
                           QCoreApplication::sendEvent(widget, &escape);
                       });
    std::vector<MOUSETRACK_MSG> seen;
    EXPECT_TRUE(RunMouseTrackLoop(&wnd,
                                  [&](const MOUSETRACK_MSG& msg)
                                  {
                                      seen.push_back(msg);
                                      return msg.key != VK_ESCAPE;
                                  }));
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].message, static_cast<UINT>(WM_MOUSEMOVE));
    // The point is in the tracking window's coordinates wherever the mouse is.
    const QPoint expected = wnd.GetWidget()->mapFromGlobal(other.GetWidget()->mapToGlobal(QPoint(5, 6)));
    EXPECT_EQ(seen[0].point, CPoint(expected.x(), expected.y()));
    EXPECT_EQ(seen[1].key, static_cast<UINT>('B'));
    EXPECT_EQ(seen[2].key, static_cast<UINT>(VK_ESCAPE));
}

TEST(HalftoneOutline, APathIsInvertedOnceAndErasedByDrawingItAgain)
{
    CBitmap surface;
    surface.CreateBitmap(40, 40);
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    dc.SelectObject(&surface);
    dc.FillSolidRect(0, 0, 40, 40, RGB(255, 255, 255));
    const POINT path[3] = {{5, 5}, {30, 5}, {30, 30}};
    DrawHalftonePath(&dc, path, 3, 1);
    EXPECT_NE(dc.GetPixel(30, 5), RGB(255, 255, 255));
    EXPECT_EQ(dc.GetPixel(20, 20), RGB(255, 255, 255));
    DrawHalftonePath(&dc, path, 3, 1);
    EXPECT_EQ(dc.GetPixel(30, 5), RGB(255, 255, 255));
    DrawHalftoneFrame(&dc, CRect(10, 10, 20, 20));
    EXPECT_NE(dc.GetPixel(10, 15), RGB(255, 255, 255));
    EXPECT_EQ(dc.GetPixel(15, 15), RGB(255, 255, 255));
}

TEST(TransparentWnd, TheParentShowsThroughAndTheMouseStillArrives)
{
    class Painted : public CWnd
    {
    protected:
        void OnPaint() override
        {
            CPaintDC dc(this);
            dc.FillSolidRect(0, 0, 100, 100, RGB(0, 0, 255));
        }
    };
    class Clicked : public CTransparentWnd
    {
    public:
        void OnLButtonDown(UINT, CPoint) override { ++clicks; }
        int clicks = 0;
    };
    Painted parent;
    ASSERT_TRUE(
        parent.CreateEx(0, nullptr, "parent", WS_POPUP | WS_VISIBLE, CRect(0, 0, 100, 100), nullptr, 0));
    Clicked child;
    ASSERT_TRUE(child.CreateTransparent(CRect(10, 10, 60, 60), &parent, 100));
    EXPECT_TRUE(child.GetExStyle() & WS_EX_TRANSPARENT);
    const QImage image = parent.GetWidget()->grab().toImage();
    EXPECT_EQ(image.pixel(30, 30) & 0xFFFFFF, qRgb(0, 0, 255) & 0xFFFFFF);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), child.GetWidget()->mapToGlobal(QPointF(5, 5)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(child.GetWidget(), &press);
    EXPECT_EQ(child.clicks, 1);
}

// Presses, moves and releases, posted to the tracking window while its loop runs.
static void QueueDrag(CWnd& wnd, std::vector<QPoint> moves, bool escape = false)
{
    QTimer::singleShot(0,
                       [&wnd, moves, escape]
                       {
                           QWidget* widget = wnd.GetWidget();
                           for (const QPoint& p : moves)
                           {
                               QMouseEvent move(QEvent::MouseMove, p, widget->mapToGlobal(p), Qt::NoButton,
                                                Qt::LeftButton, Qt::NoModifier);
                               QCoreApplication::sendEvent(widget, &move);
                           }
                           if (escape)
                           {
                               QKeyEvent key(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
                               QCoreApplication::sendEvent(widget, &key);
                               return;
                           }
                           const QPoint last = moves.back();
                           QMouseEvent up(QEvent::MouseButtonRelease, last, widget->mapToGlobal(last),
                                          Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
                           QCoreApplication::sendEvent(widget, &up);
                       });
}

TEST(RectTracker, ARubberBandAndABottomEdgeFollowTheMouse)
{
    CWnd wnd;
    ASSERT_TRUE(
        wnd.CreateEx(0, nullptr, "track", WS_POPUP | WS_VISIBLE, CRect(20, 30, 320, 230), nullptr, 0));
    CRectTracker band;
    QueueDrag(wnd, {QPoint(40, 40), QPoint(15, 60)});
    ASSERT_TRUE(band.TrackRubberBand(&wnd, CPoint(30, 20)));
    EXPECT_EQ(band.m_rect, CRect(30, 20, 15, 60)) << "not normalised";

    QueueDrag(wnd, {QPoint(40, 40)}, true);
    EXPECT_FALSE(band.TrackRubberBand(&wnd, CPoint(30, 20)));

    const CRect network(0, 10, 200, 70);
    CRectTracker edge(&network);
    EXPECT_EQ(edge.HitTest(CPoint(50, 71)), CRectTracker::hitBottom);
    EXPECT_EQ(edge.HitTest(CPoint(50, 30)), CRectTracker::hitMiddle);
    EXPECT_EQ(edge.HitTest(CPoint(250, 30)), CRectTracker::hitNothing);
    QueueDrag(wnd, {QPoint(50, 100), QPoint(50, 130)});
    ASSERT_TRUE(edge.Track(&wnd, CPoint(50, 70)));
    EXPECT_EQ(edge.m_rect, CRect(0, 10, 200, 130));
    edge.m_sizeMin = CSize(1, 20);
    QueueDrag(wnd, {QPoint(50, 0)});
    ASSERT_TRUE(edge.Track(&wnd, CPoint(50, 130)));
    EXPECT_EQ(edge.m_rect.bottom, 30);
}

TEST(SetRedraw, DrawingPausesAndResumes)
{
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "redraw", WS_POPUP | WS_VISIBLE, CRect(0, 0, 50, 50), nullptr, 0));
    wnd.SetRedraw(FALSE);
    EXPECT_FALSE(wnd.GetWidget()->updatesEnabled());
    wnd.SetRedraw(TRUE);
    EXPECT_TRUE(wnd.GetWidget()->updatesEnabled());
}
