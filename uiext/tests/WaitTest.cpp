// Wait indicator: the dialog shows with its text for at least the paint time and goes on Stop.
#include "UiExtTestSupport.h"

#include <uiext/Wait.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QWidget>

#include <gtest/gtest.h>

namespace
{

bool WaitTextShown(const QString& text)
{
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->isVisible())
            for (QLabel* label : top->findChildren<QLabel*>())
                if (label->text() == text)
                    return true;
    return false;
}

TEST(WaitTest, StartShowsTheDialogAfterPumpingAndStopRemovesIt)
{
    CWnd owner;
    ASSERT_TRUE(
        owner.CreateEx(0, nullptr, "owner", WS_POPUP | WS_VISIBLE, CRect(0, 0, 300, 200), nullptr, 0));
    CWait wait;
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(wait.Start(&owner, "Please wait"), 1);
    EXPECT_GE(timer.elapsed(), 100);
    EXPECT_TRUE(wait.IsShown());
    EXPECT_TRUE(WaitTextShown("Please wait"));
    wait.Stop();
    EXPECT_FALSE(wait.IsShown());
    EXPECT_FALSE(WaitTextShown("Please wait"));
    wait.Stop();
}

TEST(WaitTest, DestructionStopsAShownDialog)
{
    {
        CWait wait;
        ASSERT_EQ(wait.Start(nullptr, "Leaving"), 1);
    }
    EXPECT_FALSE(WaitTextShown("Leaving"));
}

} // namespace
