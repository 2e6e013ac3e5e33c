#include <ZoSupport/ZoSupport.h>

#include <gtest/gtest.h>

#include <string>

TEST(SystemTest, KeyIsPressedOnlyBetweenDownAndUp)
{
    EXPECT_FALSE(CSystem::IsKeyPressed(16));
    CSystem::SetKeyState(16, true);
    EXPECT_TRUE(CSystem::IsKeyPressed(16));
    EXPECT_FALSE(CSystem::IsKeyPressed(17));
    CSystem::SetKeyState(16, false);
    EXPECT_FALSE(CSystem::IsKeyPressed(16));
}

TEST(SystemTest, CodesOutsideTheTableAreNeverPressed)
{
    CSystem::SetKeyState(256, true);
    CSystem::SetKeyState(-1, true);
    EXPECT_FALSE(CSystem::IsKeyPressed(256));
    EXPECT_FALSE(CSystem::IsKeyPressed(-1));
}

TEST(SystemTest, UserDateStringIsADateText)
{
    const CString date = CSystem().GetUserDateString();
    ASSERT_FALSE(date.IsEmpty());
    EXPECT_NE(std::string(date.GetString()).find_first_of("0123456789"), std::string::npos);
}
