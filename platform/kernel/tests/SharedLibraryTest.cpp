#include <kernel/SharedLibrary.h>

#include <gtest/gtest.h>

#include <utility>

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
