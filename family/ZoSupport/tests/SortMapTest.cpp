#include <ZoSupport/ZoSupport.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
std::vector<std::string> Items(const CStringList& list)
{
    std::vector<std::string> items;
    for (POSITION pos = list.GetHeadPosition(); pos;)
        items.emplace_back(list.GetNext(pos).GetString());
    return items;
}
} // namespace

TEST(SortMapTest, KeysComeSortedWhateverTheHashOrder)
{
    CMapStringToPtr map;
    for (const char* key : {"TK40", "tk20", "TK20", "Alpha", "TK100", "beta"})
        map.SetAt(key, nullptr);
    CStringList list;
    list.AddTail("stale");
    EXPECT_EQ(SortMapStringToStringList(&map, list), 6);
    EXPECT_EQ(Items(list), (std::vector<std::string>{"Alpha", "beta", "TK100", "TK20", "tk20", "TK40"}));
}

TEST(SortMapTest, NullOrEmptyMapGivesAnEmptyList)
{
    CStringList list;
    list.AddTail("stale");
    EXPECT_EQ(SortMapStringToStringList(nullptr, list), 0);
    EXPECT_TRUE(list.IsEmpty());
    CMapStringToPtr empty;
    EXPECT_EQ(SortMapStringToStringList(&empty, list), 0);
}
