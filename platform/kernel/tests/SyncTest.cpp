#include "KernelHelper.h"

#include <atomic>
#include <thread>

using namespace kerneltest;

class SyncTest : public NamespaceTest
{
};

TEST_F(SyncTest, AutoResetEventWakesExactlyOneWaitingProcess)
{
    HANDLE event = CreateEvent(nullptr, FALSE, FALSE, "Wake");
    ASSERT_NE(event, nullptr);
    std::vector<PROCESS_INFORMATION> waiters;
    for (int i = 0; i < 3; ++i)
        waiters.push_back(StartHelper("wait-event Wake 1500"));
    Sleep(300);
    ASSERT_TRUE(SetEvent(event));
    int woken = 0;
    for (auto& waiter : waiters)
    {
        woken += ExitCodeAfterEnd(waiter.hProcess) == 0 ? 1 : 0;
        CloseHandle(waiter.hProcess);
    }
    EXPECT_EQ(woken, 1);
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_TIMEOUT); // the wake took the signal
    CloseHandle(event);
}

TEST_F(SyncTest, ManualResetEventReleasesEveryWaiterUntilReset)
{
    HANDLE event = CreateEvent(nullptr, TRUE, FALSE, nullptr);
    std::atomic<int> passed = 0;
    std::vector<std::thread> threads;
    for (int i = 0; i < 3; ++i)
        threads.emplace_back([&] { passed += WaitForSingleObject(event, 3000) == WAIT_OBJECT_0 ? 1 : 0; });
    Sleep(50);
    SetEvent(event);
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(passed, 3);
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
    ResetEvent(event);
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_TIMEOUT);
    CloseHandle(event);
}

TEST_F(SyncTest, WaitTimesOutAfterTheGivenMilliseconds)
{
    HANDLE event = CreateEvent(nullptr, FALSE, FALSE, nullptr);
    const DWORD start = GetTickCount();
    EXPECT_EQ(WaitForSingleObject(event, 120), WAIT_TIMEOUT);
    const DWORD elapsed = GetTickCount() - start;
    EXPECT_GE(elapsed, 119u);
    EXPECT_LT(elapsed, 1000u);
    CloseHandle(event);
}

TEST_F(SyncTest, WaitForMultipleReturnsTheLowestSignalledIndexAndTakesOnlyIt)
{
    HANDLE events[3] = {CreateEvent(nullptr, FALSE, FALSE, nullptr),
                        CreateEvent(nullptr, FALSE, TRUE, nullptr),
                        CreateEvent(nullptr, FALSE, TRUE, nullptr)};
    EXPECT_EQ(WaitForMultipleObjects(3, events, FALSE, 0), WAIT_OBJECT_0 + 1);
    EXPECT_EQ(WaitForMultipleObjects(3, events, FALSE, 0), WAIT_OBJECT_0 + 2);
    EXPECT_EQ(WaitForMultipleObjects(3, events, FALSE, 50), WAIT_TIMEOUT);
    std::thread setter(
        [&]
        {
            Sleep(30);
            SetEvent(events[2]);
        });
    EXPECT_EQ(WaitForMultipleObjects(3, events, FALSE, 3000), WAIT_OBJECT_0 + 2);
    setter.join();
    for (HANDLE event : events)
        CloseHandle(event);
}

TEST_F(SyncTest, WaitForAnEventOrAProcessSeesTheProcessEnd)
{
    HANDLE event = CreateEvent(nullptr, FALSE, FALSE, nullptr);
    PROCESS_INFORMATION child = StartHelper("exit 0 50");
    HANDLE both[2] = {event, child.hProcess};
    EXPECT_EQ(WaitForMultipleObjects(2, both, FALSE, 5000), WAIT_OBJECT_0 + 1);
    CloseHandle(child.hProcess);
    CloseHandle(event);
}

TEST_F(SyncTest, NamedObjectsAreSharedAndKeepTheirKind)
{
    HANDLE first = CreateEvent(nullptr, TRUE, FALSE, "Shared");
    EXPECT_EQ(GetLastError(), DWORD(ERROR_SUCCESS));
    HANDLE second = CreateEvent(nullptr, TRUE, FALSE, "Shared");
    EXPECT_EQ(GetLastError(), DWORD(ERROR_ALREADY_EXISTS));
    HANDLE opened = OpenEvent(EVENT_ALL_ACCESS, FALSE, "Shared");
    ASSERT_NE(opened, nullptr);
    SetEvent(second);
    EXPECT_EQ(WaitForSingleObject(opened, 0), WAIT_OBJECT_0);

    EXPECT_EQ(CreateMutex(nullptr, FALSE, "Shared"), nullptr);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
    EXPECT_EQ(OpenEvent(EVENT_ALL_ACCESS, FALSE, "Absent"), nullptr);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_FILE_NOT_FOUND));
    for (HANDLE handle : {first, second, opened})
        CloseHandle(handle);
}

TEST_F(SyncTest, NamesOfAnotherNamespaceAreNotSeen)
{
    HANDLE event = CreateEvent(nullptr, TRUE, FALSE, "Spaced");
    setenv("TARVESKON_IPC_NAMESPACE", (space + "other").c_str(), 1);
    EXPECT_EQ(OpenEvent(EVENT_ALL_ACCESS, FALSE, "Spaced"), nullptr);
    setenv("TARVESKON_IPC_NAMESPACE", space.c_str(), 1);
    CloseHandle(event);
}

TEST_F(SyncTest, MutexIsRecursiveForItsThreadAndExcludesOthers)
{
    HANDLE mutex = CreateMutex(nullptr, TRUE, "Recursive");
    EXPECT_EQ(WaitForSingleObject(mutex, 0), WAIT_OBJECT_0);
    DWORD otherThread = WAIT_FAILED;
    std::thread([&] { otherThread = WaitForSingleObject(mutex, 30); }).join();
    EXPECT_EQ(otherThread, WAIT_TIMEOUT);
    EXPECT_TRUE(ReleaseMutex(mutex));
    std::thread([&] { otherThread = WaitForSingleObject(mutex, 30); }).join();
    EXPECT_EQ(otherThread, WAIT_TIMEOUT); // still held once
    EXPECT_TRUE(ReleaseMutex(mutex));
    BOOL releasedByStranger = TRUE;
    std::thread([&] { releasedByStranger = ReleaseMutex(mutex); }).join();
    EXPECT_FALSE(releasedByStranger);
    std::thread(
        [&]
        {
            otherThread = WaitForSingleObject(mutex, 30);
            ReleaseMutex(mutex);
        })
        .join();
    EXPECT_EQ(otherThread, WAIT_OBJECT_0);
    CloseHandle(mutex);
}

TEST_F(SyncTest, MutexOfAKilledOwnerIsReportedAbandonedAndRecovered)
{
    HANDLE mutex = CreateMutex(nullptr, FALSE, "Owner");
    HANDLE ready = CreateEvent(nullptr, FALSE, FALSE, "OwnerReady");
    PROCESS_INFORMATION owner = StartHelper("hold-mutex Owner OwnerReady");
    ASSERT_EQ(WaitForSingleObject(ready, 5000), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(mutex, 50), WAIT_TIMEOUT);
    kill(static_cast<pid_t>(owner.dwProcessId), SIGKILL);
    EXPECT_EQ(WaitForSingleObject(mutex, 5000), WAIT_ABANDONED);
    EXPECT_TRUE(ReleaseMutex(mutex));
    EXPECT_EQ(WaitForSingleObject(mutex, 0), WAIT_OBJECT_0);
    EXPECT_TRUE(ReleaseMutex(mutex));
    EXPECT_EQ(WaitForSingleObject(owner.hProcess, 5000), WAIT_OBJECT_0);
    CloseHandle(owner.hProcess);
    CloseHandle(ready);
    CloseHandle(mutex);
    EXPECT_TRUE(LeftObjects().empty());
}

TEST_F(SyncTest, WaitingOnAMutexAmongOthersIsRefused)
{
    HANDLE handles[2] = {CreateMutex(nullptr, FALSE, nullptr), CreateEvent(nullptr, FALSE, FALSE, nullptr)};
    EXPECT_EQ(WaitForMultipleObjects(2, handles, FALSE, 0), WAIT_FAILED);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_NOT_SUPPORTED));
    EXPECT_EQ(WaitForSingleObject(reinterpret_cast<HANDLE>(0x1234), 0), WAIT_FAILED);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
    for (HANDLE handle : handles)
        CloseHandle(handle);
}
