// Data tip: show and hide delays, the ignored repeated point, hiding on a button press.
#include "UiExtTestSupport.h"

#include <uiext/DataTip.h>

#include <QElapsedTimer>

#include <gtest/gtest.h>

namespace
{

class DataTipTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CDataTip::SetDelayShow(400);
        CDataTip::SetDelayHide(2000);
        ASSERT_TRUE(
            owner.CreateEx(0, nullptr, "owner", WS_POPUP | WS_VISIBLE, CRect(0, 0, 200, 200), nullptr, 0));
        ASSERT_TRUE(tip.Create(&owner));
        tip.On(TRUE);
    }
    // Milliseconds from now until the tip shows.
    qint64 TimeToShow()
    {
        QElapsedTimer timer;
        timer.start();
        if (!PumpUntil([&]() { return tip.IsWindowVisible() != FALSE; }, 3000))
            return -1;
        return timer.elapsed();
    }
    void Wait(int ms)
    {
        QElapsedTimer timer;
        timer.start();
        PumpUntil([&]() { return timer.elapsed() >= ms; }, ms + 1000);
    }
    CWnd owner;
    CDataTip tip;
};

TEST_F(DataTipTest, TheSamePointAgainDoesNotRestartTheDelay)
{
    // Times are taken from the first Set: a restarted delay cannot show before 1500 ms,
    // the running one shows from 1000 ms on, so a loaded machine has half a second of slack.
    CDataTip::SetDelayShow(1000);
    QElapsedTimer sinceFirst;
    sinceFirst.start();
    tip.Set(CPoint(50, 50), "value");
    Wait(500);
    tip.Set(CPoint(50, 50), "value");
    ASSERT_GE(TimeToShow(), 0);
    EXPECT_LT(sinceFirst.elapsed(), 1450);
}

TEST_F(DataTipTest, MovingByOnePixelRestartsTheDelay)
{
    CDataTip::SetDelayShow(1000);
    QElapsedTimer sinceFirst;
    sinceFirst.start();
    tip.Set(CPoint(50, 50), "value");
    Wait(500);
    tip.Set(CPoint(51, 50), "value");
    ASSERT_GE(TimeToShow(), 0);
    EXPECT_GE(sinceFirst.elapsed(), 1500);
}

TEST_F(DataTipTest, ShownTipHidesAfterItsDelayAndOnAButtonPress)
{
    CDataTip::SetDelayShow(10);
    CDataTip::SetDelayHide(100);
    tip.Set(CPoint(20, 20), "x");
    ASSERT_GE(TimeToShow(), 0);
    ASSERT_TRUE(PumpUntil([&]() { return tip.IsWindowVisible() == FALSE; }, 2000));

    tip.Set(CPoint(21, 20), "x");
    ASSERT_GE(TimeToShow(), 0);
    MSG press;
    press.message = WM_LBUTTONDOWN;
    EXPECT_FALSE(tip.PreTranslateMessage(&press));
    EXPECT_FALSE(tip.IsWindowVisible());
}

TEST_F(DataTipTest, NothingHappensWhileOffOrOutsideTheOwner)
{
    CDataTip::SetDelayShow(10);
    tip.Set(CPoint(500, 500), "outside");
    tip.On(FALSE);
    tip.Set(CPoint(30, 30), "off");
    Wait(80);
    EXPECT_FALSE(tip.IsWindowVisible());
}

} // namespace
