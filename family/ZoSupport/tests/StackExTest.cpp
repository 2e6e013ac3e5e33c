#include <ZoSupport/ZoSupport.h>

#include <gtest/gtest.h>

#include <vector>

namespace
{

std::vector<int> Entries(const CStackEx<int>& s)
{
    std::vector<int> v;
    for (int i = 0; i < s.GetCount(); ++i)
        v.push_back(s[i]);
    return v;
}

} // namespace

TEST(StackExTest, PlainListKeepsOrderAndDuplicates)
{
    CStackEx<int> s;
    for (int row : {5, 3, 4, 3})
        s.Push(row);
    EXPECT_EQ(Entries(s), (std::vector<int>{5, 3, 4, 3}));
}

TEST(StackExTest, SortedUniqueListInsertsInPlace)
{
    CStackEx<int> s;
    s.SetSorted(true);
    s.SetUnique(true);
    for (int row : {5, 3, 4, 3})
        s.Push(row);
    EXPECT_EQ(Entries(s), (std::vector<int>{3, 4, 5}));
}

TEST(StackExTest, GrowsBeyondOneStep)
{
    CStackEx<int> s;
    s.SetGrowBy(2);
    for (int i = 0; i < 7; ++i)
        s.Push(i);
    EXPECT_EQ(Entries(s), (std::vector<int>{0, 1, 2, 3, 4, 5, 6}));
}

TEST(StackExTest, PopAndRemoveAt)
{
    CStackEx<int> s;
    int v = -1;
    EXPECT_FALSE(s.Pop(v));
    EXPECT_EQ(v, -1);
    for (int row : {1, 2, 3, 4})
        s.Push(row);
    EXPECT_TRUE(s.Pop(v));
    EXPECT_EQ(v, 4);
    EXPECT_TRUE(s.RemoveAt(0));
    EXPECT_FALSE(s.RemoveAt(2));
    EXPECT_FALSE(s.RemoveAt(-1));
    EXPECT_EQ(Entries(s), (std::vector<int>{2, 3}));
    s.RemoveAll();
    EXPECT_TRUE(s.IsEmpty());
}

TEST(StackExTest, CopiesOwnTheirOwnBuffer)
{
    CStackEx<int> a;
    a.Push(1);
    CStackEx<int> b(a);
    b.Push(2);
    a = b;
    b.RemoveAll();
    EXPECT_EQ(Entries(a), (std::vector<int>{1, 2}));
}
