#include "TestTables.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

int ByCountThenName(const void* a, const void* b)
{
    const ITEM& x = *static_cast<const ITEM*>(a);
    const ITEM& y = *static_cast<const ITEM*>(b);
    if (x.nCount != y.nCount)
        return x.nCount < y.nCount ? -1 : 1;
    return std::strcmp(x.szName, y.szName);
}

std::string Names(const std::vector<ITEM>& items)
{
    std::string s;
    for (const ITEM& i : items)
        s += std::string(i.szName) + " ";
    return s;
}

class MemoSortTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_sort.Init(kItemFields, 3);
        m_items = {{"c", 2, 0.5}, {"a", 1, 2.0}, {"b", 2, -1.0}, {"a", 3, 0.0}};
    }
    void Sort() { m_sort.Sort(m_items.data(), static_cast<int>(m_items.size()), sizeof(ITEM)); }

    CMemoSort m_sort;
    std::vector<ITEM> m_items;
};

} // namespace

TEST_F(MemoSortTest, SortsOnKeyFieldsInOrderKeepingEqualRecordsStable)
{
    const int order[] = {1, 0};
    ASSERT_NE(m_sort.SetOrder(order, 2), 0);
    Sort();
    EXPECT_EQ(Names(m_items), "a b c a ");
    const int byName[] = {0};
    m_sort.SetOrder(byName, 1);
    Sort();
    EXPECT_EQ(Names(m_items), "a a b c ");
    EXPECT_EQ(m_items[0].nCount, 1);
}

TEST_F(MemoSortTest, DescendingDoublesAndCustomCompare)
{
    const int byValue[] = {2};
    m_sort.SetOrder(byValue, 1);
    m_sort.SetFieldSort(2, MSORT_DESCENDING);
    Sort();
    EXPECT_EQ(Names(m_items), "a c a b ");

    const int first[] = {0};
    m_sort.SetOrder(first, 1);
    m_sort.SetFieldSort(0, MSORT_COMPARE, ByCountThenName);
    Sort();
    EXPECT_EQ(Names(m_items), "a b c a ");
}

TEST_F(MemoSortTest, RejectsUnknownKeyFieldsAndKeepsThePreviousOrder)
{
    const int bad[] = {0, 3};
    EXPECT_EQ(m_sort.SetOrder(bad, 2), 0);
    EXPECT_EQ(m_sort.SetOrder(nullptr, 1), 0);
    Sort();
    EXPECT_EQ(Names(m_items), "c a b a ");
}
