#include <ZoSupport/ZoSupport.h>

#include <gtest/gtest.h>

#include <cstdint>

TEST(ValidityTest, AlignedObjectIsValidNullAndMisalignedAreNot)
{
    alignas(8) char block[64] = {};
    EXPECT_TRUE(IsValidPointer(block, 64));
    EXPECT_TRUE(IsValidObject(block, 16));
    EXPECT_FALSE(IsValidPointer(nullptr, 8));
    EXPECT_FALSE(IsValidObject(nullptr, 8));
    EXPECT_FALSE(IsValidPointer(block + 1, 8));
    EXPECT_FALSE(IsValidObject(block + 3, 8));
}

TEST(ValidityTest, SizeMustBePositiveAndNotWrapTheAddressSpace)
{
    alignas(8) char block[8] = {};
    EXPECT_FALSE(IsValidPointer(block, 0));
    EXPECT_FALSE(IsValidPointer(block, -4));
    const auto nearTheTop = reinterpret_cast<void*>(UINTPTR_MAX - 7);
    EXPECT_FALSE(IsValidObject(nearTheTop, 16));
}
