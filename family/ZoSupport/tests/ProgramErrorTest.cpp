#include <ZoSupport/ZoSupport.h>

#include <gtest/gtest.h>

TEST(ProgramErrorTest, ReportNamesTheLastPathComponentAndLine)
{
    testing::internal::CaptureStderr();
    ProgramError("/src/ZoLumoPlcObj/PlcFBDObject.cpp", 42, nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "ProgramError: PlcFBDObject.cpp(42)\n");
}

TEST(ProgramErrorTest, ReportCarriesTheTextAndAcceptsBackslashPaths)
{
    testing::internal::CaptureStderr();
    ProgramError("C:\\src\\EditGrid.cpp", 7, "no data interface");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "ProgramError: EditGrid.cpp(7): no data interface\n");
}
