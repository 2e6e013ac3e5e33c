// The modal mouse-tracking loop, halftone drag feedback and transparent child windows.
#include <ui/Dc.h>
#include <ui/HalftoneOutline.h>
#include <ui/MouseTrack.h>
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
