#include <ZoSupport/ZoSupport.h>

#include <gtest/gtest.h>

TEST(TraceTest, SetAnswersThePreviousMask)
{
    const unsigned long original = SetTraceMask(0x5);
    EXPECT_EQ(SetTraceMask(0xF0), 0x5u);
    EXPECT_EQ(SetTraceMask(original), 0xF0u);
}
