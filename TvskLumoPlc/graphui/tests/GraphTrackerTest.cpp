// The wire band, and the segment and point drags with their key rules.
#include <TvskLumoPlc/graphui/GraphTrackers.h>

#include <ui/Wnd.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace
{
class TrackerTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(
            wnd.CreateEx(0, nullptr, "network", WS_POPUP | WS_VISIBLE, CRect(0, 0, 300, 200), nullptr, 0));
    }

    // Input that arrives once the drag's loop runs.
    void Script(std::vector<std::function<void()>> steps)
    {
        QTimer::singleShot(0,
                           [this, steps]
                           {
                               for (const auto& step : steps)
                                   step();
                           });
    }
    void Mouse(QEvent::Type type, int x, int y, Qt::MouseButton button = Qt::NoButton)
    {
        QWidget* widget = wnd.GetWidget();
        const QPointF local(x, y);
        QMouseEvent event(type, local, widget->mapToGlobal(local), button,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : button, Qt::NoModifier);
        QCoreApplication::sendEvent(widget, &event);
    }
    void Key(int key)
    {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
        QCoreApplication::sendEvent(wnd.GetWidget(), &event);
    }

    CWnd wnd;
};
} // namespace

TEST(WireTracker, TheFirstLegFollowsTheFirstMovement)
{
    CWireTracker band(CPoint(10, 10));
    band.MoveTo(CPoint(30, 12));
    band.MoveTo(CPoint(20, 50));
    POINT points[3];
    band.GetPoints(points);
    EXPECT_TRUE(band.IsHorizontalFirst());
    EXPECT_EQ(CPoint(points[1]), CPoint(20, 10));
    EXPECT_EQ(CPoint(points[2]), CPoint(20, 50));

    CBitmap surface;
    surface.CreateBitmap(60, 60);
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    dc.SelectObject(&surface);
    dc.FillSolidRect(0, 0, 60, 60, RGB(255, 255, 255));
    band.Draw(&dc);
    EXPECT_NE(dc.GetPixel(15, 10), RGB(255, 255, 255));
    EXPECT_NE(dc.GetPixel(20, 10), RGB(255, 255, 255)); // the corner is inverted once
    EXPECT_NE(dc.GetPixel(20, 30), RGB(255, 255, 255));
    band.Draw(&dc);
    EXPECT_EQ(dc.GetPixel(20, 10), RGB(255, 255, 255));
}

TEST_F(TrackerTest, ASegmentMovesByWholeStepsAcrossItsDirection)
{
    CSegmentTracker tracker(CPoint(24, 48), CPoint(96, 48));
    Script({[&] { Mouse(QEvent::MouseMove, 50, 75); },
            [&] { Mouse(QEvent::MouseButtonRelease, 50, 75, Qt::LeftButton); }});
    EXPECT_TRUE(tracker.Track(&wnd, CPoint(40, 50), 12));
    EXPECT_EQ(tracker.GetOffset(), CSize(0, 2));
}

TEST_F(TrackerTest, AnyOtherKeySpoilsTheDragAndEscapeEndsIt)
{
    CSegmentTracker spoiled(CPoint(24, 48), CPoint(96, 48));
    Script({[&] { Mouse(QEvent::MouseMove, 40, 74); }, [&] { Key(Qt::Key_A); },
            [&] { Mouse(QEvent::MouseButtonRelease, 40, 74, Qt::LeftButton); }});
    EXPECT_FALSE(spoiled.Track(&wnd, CPoint(40, 50), 12));
    EXPECT_TRUE(spoiled.WasOtherKeyPressed());

    CSegmentTracker kept(CPoint(24, 48), CPoint(96, 48));
    Script({[&] { Mouse(QEvent::MouseMove, 40, 62); }, [&] { Key(Qt::Key_Escape); }});
    EXPECT_TRUE(kept.Track(&wnd, CPoint(40, 50), 12));
    EXPECT_EQ(kept.GetOffset(), CSize(0, 1));

    CPointTracker cancelled(CPoint(24, 48));
    Script({[&] { Mouse(QEvent::MouseMove, 70, 62); }, [&] { Key(Qt::Key_Escape); }});
    EXPECT_FALSE(cancelled.Track(&wnd, CPoint(24, 48), 12));
    EXPECT_EQ(cancelled.GetOffset(), CSize(0, 0));

    CPointTracker moved(CPoint(24, 48));
    Script({[&] { Mouse(QEvent::MouseMove, 49, 36); },
            [&] { Mouse(QEvent::MouseButtonPress, 49, 36, Qt::RightButton); }});
    EXPECT_TRUE(moved.Track(&wnd, CPoint(24, 48), 12));
    EXPECT_EQ(moved.GetOffset(), CSize(2, -1));
}
