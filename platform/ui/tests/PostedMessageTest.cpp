// Messages posted from several threads: each thread's order kept, all handled on the window's thread,
// and a message posted by a handler handled after it, not inside it.
#include "UiTestSupport.h"

#include <ui/Ui.h>

#include <QThread>

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace
{

constexpr UINT WM_NUMBER = WM_USER + 10;
constexpr UINT WM_CHAIN = WM_USER + 11;
constexpr int kWorkers = 4;
constexpr int kPerWorker = 250;

class CountingWnd : public CWnd
{
public:
    std::vector<std::vector<int>> byWorker = std::vector<std::vector<int>>(kWorkers);
    std::vector<int> chain;
    bool inHandler = false;
    bool nested = false;
    bool offThread = false;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_NUMBER)
        {
            offThread |= QThread::currentThread() != GetWidget()->thread();
            byWorker[wParam].push_back(static_cast<int>(lParam));
            return 0;
        }
        if (message == WM_CHAIN)
        {
            nested |= inHandler;
            inHandler = true;
            chain.push_back(static_cast<int>(wParam));
            if (wParam < 3)
                PostMessage(WM_CHAIN, wParam + 1, 0);
            chain.push_back(-static_cast<int>(wParam));
            inHandler = false;
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

TEST(PostedMessages, EachWorkersMessagesArriveInTheOrderItPostedThem)
{
    CountingWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "posts", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
    std::vector<std::thread> workers;
    for (int worker = 0; worker < kWorkers; ++worker)
        workers.emplace_back(
            [&wnd, worker]
            {
                for (int i = 0; i < kPerWorker; ++i)
                    ASSERT_TRUE(wnd.PostMessage(WM_NUMBER, static_cast<WPARAM>(worker), i));
            });
    for (auto& worker : workers)
        worker.join();
    ASSERT_TRUE(PumpUntil(
        [&]
        {
            for (const auto& numbers : wnd.byWorker)
                if (numbers.size() < kPerWorker)
                    return false;
            return true;
        }));
    for (const auto& numbers : wnd.byWorker)
    {
        ASSERT_EQ(numbers.size(), static_cast<size_t>(kPerWorker));
        for (int i = 0; i < kPerWorker; ++i)
            ASSERT_EQ(numbers[static_cast<size_t>(i)], i);
    }
    EXPECT_FALSE(wnd.offThread);
    wnd.DestroyWindow();
}

TEST(PostedMessages, APostFromAHandlerRunsAfterTheHandlerReturns)
{
    CountingWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "chain", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
    wnd.PostMessage(WM_CHAIN, 1, 0);
    ASSERT_TRUE(PumpUntil([&] { return wnd.chain.size() == 6; }));
    EXPECT_EQ(wnd.chain, (std::vector<int>{1, -1, 2, -2, 3, -3}));
    EXPECT_FALSE(wnd.nested);
    wnd.DestroyWindow();
}

} // namespace
