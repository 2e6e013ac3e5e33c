// The worker writing block words while the window thread reads them, and the shown flag switched
// under it: built with ThreadSanitizer.
#include "RecordingHost.h"

#include <TvskLumoPlc/graphview/AnimateChart.h>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace
{
class WorkerView : public CAnimationView
{
public:
    CWnd* GetAnimationWnd() override { return nullptr; }
    CPluginIntf* GetAnimationHost() const override { return host; }
    bool IsAnimationShown() const override { return shown.load(); }
    CPluginIntf* host = nullptr;
    std::atomic<bool> shown{true};
};
} // namespace

TEST(AnimateChartThreads, ValuesAreReadWhileTheWorkerWritesThem)
{
    RecordingHost host;
    WorkerView view;
    view.host = &host;
    CAnimateChart chart;
    chart.SetView(&view);
    for (const char* name : {"7.0", "8.3", "20.15"})
        chart.GetNameList().Add(name);
    ASSERT_NE(chart.Start(), nullptr);
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(300);
    unsigned word = 0;
    int seen = 0;
    while (std::chrono::steady_clock::now() < end)
    {
        host.Set(8, (++word & 1) << 3);
        int value = 0;
        ASSERT_TRUE(chart.GetValue("8.3", &value));
        seen |= 1 << value;
        view.shown = (word % 64) != 0;
        std::this_thread::yield();
    }
    chart.StopTask();
    EXPECT_FALSE(chart.IsRunning());
    EXPECT_GT(host.Calls().size(), 3u);
    EXPECT_EQ(seen, 3) << "both values of the bit were seen";
}
