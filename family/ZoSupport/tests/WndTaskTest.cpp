// The window task: worker start and end, stop-aware sleep, posting texts that outlive the caller's.
#include <ZoSupport/WndTask.h>

#include <testing/WaitUntil.h>

#include <QCoreApplication>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace
{

constexpr UINT WM_TASK = WM_USER + 1;

class ReceivingWnd : public CWnd
{
public:
    struct Received
    {
        WPARAM flag;
        std::string text;
        bool hadText;
        QThread* thread;
    };
    std::vector<Received> received;
    // Also told of every message, when set: outlives the window.
    std::vector<std::string>* journal = nullptr;

    BOOL Make() { return CreateEx(0, nullptr, "task", WS_POPUP, CRect(0, 0, 50, 50), nullptr, 0); }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_TASK)
        {
            const auto* text = reinterpret_cast<const char*>(lParam);
            received.push_back({wParam, text ? text : "", text != nullptr, QThread::currentThread()});
            if (journal)
                journal->push_back(received.back().text);
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

// Runs a function as its Execute.
class FunctionTask : public CWndTask
{
public:
    explicit FunctionTask(std::function<void(FunctionTask&)> body, CWnd* wnd = nullptr)
        : CWndTask(wnd, WM_TASK), m_body(std::move(body))
    {
    }
    ~FunctionTask() override { StopAndWait(); }
    using CWndTask::Sleep;

protected:
    void Execute() override { m_body(*this); }

private:
    std::function<void(FunctionTask&)> m_body;
};

} // namespace

TEST(WndTaskTest, ExecuteRunsOnAWorkerAndWaitUntilEndedSeesItsEnd)
{
    std::atomic<bool> onWorker{false};
    const auto caller = std::this_thread::get_id();
    FunctionTask task([&](FunctionTask&) { onWorker = std::this_thread::get_id() != caller; });
    ASSERT_TRUE(task.Start());
    EXPECT_TRUE(task.WaitUntilEnded(60000));
    EXPECT_TRUE(onWorker);
    EXPECT_FALSE(task.IsRunning());
    EXPECT_TRUE(task.Start()); // an ended task starts again
    EXPECT_TRUE(task.WaitUntilEnded(60000));
}

TEST(WndTaskTest, StartWhileRunningFailsAndStopWakesTheSleepAtOnce)
{
    std::atomic<bool> sleepResult{true};
    FunctionTask task([&](FunctionTask& self) { sleepResult = self.Sleep(60000); });
    ASSERT_TRUE(task.Start());
    EXPECT_FALSE(task.Start());
    EXPECT_TRUE(task.IsRunning());
    EXPECT_FALSE(task.WaitUntilEnded(50));
    const auto before = std::chrono::steady_clock::now();
    task.Stop();
    EXPECT_TRUE(task.WaitUntilEnded(60000));
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(2));
    EXPECT_FALSE(sleepResult);
    EXPECT_TRUE(task.IsStopRequested());
}

TEST(WndTaskTest, SleepWithoutStopLastsItsTime)
{
    std::atomic<bool> sleepResult{false};
    std::atomic<long long> slept{0};
    FunctionTask task(
        [&](FunctionTask& self)
        {
            const auto before = std::chrono::steady_clock::now();
            sleepResult = self.Sleep(40);
            slept = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                          before)
                        .count();
        });
    ASSERT_TRUE(task.Start());
    ASSERT_TRUE(task.WaitUntilEnded(60000));
    EXPECT_TRUE(sleepResult);
    EXPECT_GE(slept, 40);
}

TEST(WndTaskTest, MsgPostsACopyOfTheTextThatOutlivesTheCallersBuffer)
{
    ReceivingWnd wnd;
    ASSERT_TRUE(wnd.Make());
    FunctionTask task(
        [](FunctionTask& self)
        {
            for (int i = 0; i < 20; ++i)
            {
                char buffer[32];
                std::snprintf(buffer, sizeof buffer, "line %d", i);
                self.Msg(buffer, i % 2 == 0);
                std::memset(buffer, 'X', sizeof buffer - 1); // the caller's text is gone
            }
            self.Msg(); // no text
        },
        &wnd);
    ASSERT_TRUE(task.Start());
    ASSERT_TRUE(task.WaitUntilEnded(60000));
    ASSERT_TRUE(WaitUntil([&] { return wnd.received.size() == 21; }));
    for (int i = 0; i < 20; ++i)
    {
        const auto& r = wnd.received[static_cast<size_t>(i)];
        EXPECT_EQ(r.text, "line " + std::to_string(i));
        EXPECT_EQ(r.flag, i % 2 == 0 ? 1u : 0u);
        EXPECT_EQ(r.thread, QCoreApplication::instance()->thread());
    }
    EXPECT_FALSE(wnd.received.back().hadText);
    EXPECT_EQ(wnd.received.back().flag, 1u);
}

TEST(WndTaskTest, MessagesToAWindowThatHasGoneAreDropped)
{
    std::vector<std::string> journal;
    auto wnd = std::make_unique<ReceivingWnd>();
    ASSERT_TRUE(wnd->Make());
    wnd->journal = &journal;
    FunctionTask task([](FunctionTask& self) { self.Msg("late"); }, wnd.get());
    ASSERT_TRUE(task.Start());
    ASSERT_TRUE(task.WaitUntilEnded(60000));
    wnd.reset();
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(100);
    while (std::chrono::steady_clock::now() < end)
        QCoreApplication::processEvents();
    EXPECT_TRUE(journal.empty()) << "the message reached the deleted window";
}

TEST(WndTaskTest, SetWndRedirectsAndNullPostsNothing)
{
    ReceivingWnd first;
    ReceivingWnd second;
    ASSERT_TRUE(first.Make());
    ASSERT_TRUE(second.Make());
    FunctionTask task([](FunctionTask& self) { self.Msg("to second"); }, &first);
    task.SetWnd(&second, WM_TASK);
    ASSERT_TRUE(task.Start());
    ASSERT_TRUE(task.WaitUntilEnded(60000));
    ASSERT_TRUE(WaitUntil([&] { return second.received.size() == 1; }));
    EXPECT_TRUE(first.received.empty());
    task.SetWnd(nullptr, WM_TASK);
    ASSERT_TRUE(task.Start());
    ASSERT_TRUE(task.WaitUntilEnded(60000));
    QCoreApplication::processEvents();
    EXPECT_EQ(second.received.size(), 1u);
}
