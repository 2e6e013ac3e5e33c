#include <kernel/SharedLibrary.h>

#include <gtest/gtest.h>

#include <barrier>
#include <thread>
#include <utility>
#include <vector>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TVSK_LEAK_CHECKED 1
#include <sanitizer/lsan_interface.h>
#endif
#endif

namespace
{

using AnswerFunction = int (*)();

int CallAnswer(const CSharedLibrary& library)
{
    auto answer = reinterpret_cast<AnswerFunction>(library.Symbol("TestModuleAnswer"));
    return answer ? answer() : -1;
}

} // namespace

TEST(SharedLibraryTest, OpensAModuleAndFindsItsSymbols)
{
    CSharedLibrary library;
    EXPECT_FALSE(library.IsOpen());
    EXPECT_EQ(library.Symbol("TestModuleAnswer"), nullptr);

    ASSERT_TRUE(library.Open(KERNEL_TEST_MODULE)) << library.Error();
    EXPECT_TRUE(library.IsOpen());
    EXPECT_TRUE(library.Error().empty());
    EXPECT_EQ(CallAnswer(library), 42);
    EXPECT_EQ(library.Symbol("NoSuchSymbol"), nullptr);
    EXPECT_EQ(library.Symbol(nullptr), nullptr);

    library.Close();
    EXPECT_FALSE(library.IsOpen());
    EXPECT_EQ(library.Symbol("TestModuleAnswer"), nullptr);
}

TEST(SharedLibraryTest, FailedOpenSaysWhyAndLeavesNothingOpen)
{
    CSharedLibrary library;
    ASSERT_TRUE(library.Open(KERNEL_TEST_MODULE));
    EXPECT_FALSE(library.Open("/nonexistent/module.so"));
    EXPECT_FALSE(library.IsOpen());
    EXPECT_NE(library.Error().find("/nonexistent/module.so"), std::string::npos) << library.Error();

    EXPECT_FALSE(library.Open(""));
    EXPECT_FALSE(library.Error().empty());
    EXPECT_FALSE(library.Open(nullptr));

    ASSERT_TRUE(library.Open(KERNEL_TEST_MODULE));
    EXPECT_TRUE(library.Error().empty());
}

TEST(SharedLibraryTest, MovingHandsTheModuleOver)
{
    CSharedLibrary first;
    ASSERT_TRUE(first.Open(KERNEL_TEST_MODULE));
    CSharedLibrary second(std::move(first));
    EXPECT_FALSE(first.IsOpen());
    EXPECT_EQ(CallAnswer(second), 42);

    CSharedLibrary third;
    third = std::move(second);
    EXPECT_FALSE(second.IsOpen());
    EXPECT_EQ(CallAnswer(third), 42);
}

// Many threads each hold a small thread-local block of a loaded module while the leak checker
// looks through every thread: the checker must neither crash nor report what only the blocks hold.
TEST(SharedLibraryTest, TheLeakCheckerLooksThroughEveryThreadsBlockOfAModule)
{
#ifndef TVSK_LEAK_CHECKED
    GTEST_SKIP() << "only the sanitizer build checks leaks";
#else
    CSharedLibrary library;
    ASSERT_TRUE(library.Open(KERNEL_TEST_MODULE)) << library.Error();
    auto count = reinterpret_cast<long (*)()>(library.Symbol("TestModuleCountInThread"));
    auto release = reinterpret_cast<void (*)()>(library.Symbol("TestModuleReleaseInThread"));
    ASSERT_NE(count, nullptr);
    ASSERT_NE(release, nullptr);
    constexpr int kThreads = 300;
    std::barrier<> everyThreadCounted(kThreads + 1);
    std::barrier<> checked(kThreads + 1);
    std::vector<std::thread> threads;
    for (int i = 0; i < kThreads; ++i)
        threads.emplace_back(
            [&]
            {
                EXPECT_EQ(count(), 1);
                everyThreadCounted.arrive_and_wait();
                checked.arrive_and_wait();
                release();
            });
    everyThreadCounted.arrive_and_wait();
    EXPECT_EQ(__lsan_do_recoverable_leak_check(), 0);
    checked.arrive_and_wait();
    for (std::thread& thread : threads)
        thread.join();
#endif
}
