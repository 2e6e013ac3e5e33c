#include <port/ZoPtrArray.h>

#include <gtest/gtest.h>

TEST(ZoPtrArrayTest, AddRemoveAndIndexOutsideTheArray)
{
    int a = 1, b = 2, c = 3;
    CZoPtrArray array;
    EXPECT_EQ(array.Add(&a), 1);
    EXPECT_EQ(array.Add(&b), 1);
    EXPECT_EQ(array.Add(&c), 1);
    EXPECT_EQ(array.Remove(1), 1);
    EXPECT_EQ(array.GetSize(), 2);
    EXPECT_EQ(array[0], &a);
    EXPECT_EQ(array[1], &c);
    EXPECT_EQ(array.Remove(2), 0);
    EXPECT_EQ(array.Remove(-1), 0);
    EXPECT_EQ(array.GetAt(2), nullptr);
    EXPECT_EQ(array.SetAt(2, &a), 0);
    EXPECT_EQ(array.SetAt(1, &b), 1);
    EXPECT_EQ(array[1], &b);
}

TEST(ZoPtrArrayTest, AssignmentGivesAnOwnCopy)
{
    int a = 1, b = 2;
    CZoPtrArray original;
    original.Add(&a);
    CZoPtrArray copy;
    copy = original;
    original.SetAt(0, &b);
    original.RemoveAll();
    EXPECT_EQ(original.GetSize(), 0);
    ASSERT_EQ(copy.GetSize(), 1);
    EXPECT_EQ(copy[0], &a);
}
