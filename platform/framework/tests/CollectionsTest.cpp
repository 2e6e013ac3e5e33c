#include <framework/Array.h>
#include <framework/List.h>
#include <framework/Map.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

struct Record
{
    char text[7];
    int value;
    double d;
};

} // namespace

TEST(CArrayTest, FirstAllocationTakesExactlyWhatIsAsked)
{
    CArray<Record, const Record&> a;
    a.Add(Record{"x", 1, 1.0});
    EXPECT_EQ(a.GetCapacity(), 1);
    a.Add(Record{"y", 2, 2.0});
    EXPECT_EQ(a.GetCapacity(), 5); // grows by at least 4
}

TEST(CArrayTest, GrowthStepIsAnEighthClampedTo4And1024)
{
    CArray<int, int> a;
    a.SetSize(8);
    a.FreeExtra();
    ASSERT_EQ(a.GetCapacity(), 8);
    a.Add(9);
    EXPECT_EQ(a.GetCapacity(), 12);

    CArray<int, int> big;
    big.SetSize(8192);
    big.FreeExtra();
    big.Add(1);
    EXPECT_EQ(big.GetCapacity(), 9216);

    CArray<int, int> huge;
    huge.SetSize(16384);
    huge.FreeExtra();
    huge.Add(1);
    EXPECT_EQ(huge.GetCapacity(), 16384 + 1024);
}

TEST(CArrayTest, NewElementsAreZeroedAndOldOnesSurviveGrowth)
{
    CArray<Record, const Record&> a;
    for (int i = 0; i < 100; ++i)
        a.Add(Record{"r", i, i * 0.5});
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(a[i].value, i);
    a.SetSize(150);
    EXPECT_EQ(a[149].value, 0);
    EXPECT_EQ(a[149].text[0], 0);
}

TEST(CArrayTest, InsertRemoveAndSetAtGrowKeepOrder)
{
    CStringArray a;
    a.Add("b");
    a.InsertAt(0, CString("a"));
    a.SetAtGrow(3, CString("d"));
    ASSERT_EQ(a.GetSize(), 4);
    EXPECT_EQ(a[0], "a");
    EXPECT_EQ(a[1], "b");
    EXPECT_EQ(a[2], "");
    EXPECT_EQ(a[3], "d");
    a.RemoveAt(1, 2);
    ASSERT_EQ(a.GetSize(), 2);
    EXPECT_EQ(a[1], "d");
    a.Add(a[0]); // an element of the array itself survives the reallocation
    EXPECT_EQ(a[2], "a");
    EXPECT_THROW(a.GetAt(3), std::out_of_range);
}

TEST(CArrayTest, TypedPointerArrayCastsBothWays)
{
    int x = 1, y = 2;
    CTypedPtrArray<CPtrArray, int*> a;
    a.Add(&x);
    a.Add(&y);
    EXPECT_EQ(*a[1], 2);
    a[0] = &y;
    EXPECT_EQ(a.GetAt(0), &y);
}

TEST(CListTest, PositionsWalkBothWaysAndSurviveRemoval)
{
    CStringList l;
    l.AddTail("b");
    l.AddHead("a");
    const POSITION c = l.AddTail("c");
    l.InsertBefore(c, CString("bb"));
    std::vector<std::string> forward;
    for (POSITION p = l.GetHeadPosition(); p;)
        forward.push_back(l.GetNext(p).str());
    EXPECT_EQ(forward, (std::vector<std::string>{"a", "b", "bb", "c"}));
    l.RemoveAt(l.Find(CString("b")));
    std::vector<std::string> backward;
    for (POSITION p = l.GetTailPosition(); p;)
        backward.push_back(l.GetPrev(p).str());
    EXPECT_EQ(backward, (std::vector<std::string>{"c", "bb", "a"}));
    EXPECT_EQ(l.RemoveHead(), "a");
    EXPECT_EQ(l.GetCount(), 2);
    EXPECT_EQ(l.FindIndex(5), nullptr);
}

namespace
{

std::vector<std::string> Keys(const CMapStringToPtr& m)
{
    std::vector<std::string> keys;
    CString key;
    void* value;
    for (POSITION p = m.GetStartPosition(); p;)
    {
        m.GetNextAssoc(p, key, value);
        keys.push_back(key.str());
    }
    return keys;
}

unsigned Bucket(const char* s)
{
    return HashKey(s) % 17;
}

} // namespace

TEST(CMapTest, StringHashIsTimes33OverSignedCharacters)
{
    EXPECT_EQ(HashKey("A"), 65u);
    EXPECT_EQ(HashKey("AB"), 65u * 33 + 66);
    // A byte above 127 counts as negative.
    EXPECT_EQ(HashKey("\xE8"), static_cast<unsigned>(-24));
}

TEST(CMapTest, EnumeratesBucketsAscendingAndNewestFirstInABucket)
{
    // "A"(65%17=14), "B"(15), "R"(82%17=14), "C"(16), "0"(48%17=14), "1"(49%17=15)
    ASSERT_EQ(Bucket("A"), 14u);
    ASSERT_EQ(Bucket("R"), 14u);
    ASSERT_EQ(Bucket("0"), 14u);
    ASSERT_EQ(Bucket("1"), 15u);
    CMapStringToPtr m;
    for (const char* k : {"A", "B", "R", "C", "0", "1"})
        m.SetAt(k, nullptr);
    EXPECT_EQ(Keys(m), (std::vector<std::string>{"0", "R", "A", "1", "B", "C"}));
    m.RemoveKey("R");
    m.SetAt("R", nullptr);
    EXPECT_EQ(Keys(m), (std::vector<std::string>{"R", "0", "A", "1", "B", "C"}));
    m.SetAt("A", &m); // replacing a value keeps the key's place
    EXPECT_EQ(Keys(m), (std::vector<std::string>{"R", "0", "A", "1", "B", "C"}));
}

TEST(CMapTest, IntegerKeysHashAs32BitWords)
{
    EXPECT_EQ(HashKey(0x123), 0x12u);
    // -1 is 0xFFFFFFFF shifted right by 4, bucket 15 of 17 (not bucket 0 of a 64-bit shift).
    EXPECT_EQ(HashKey(-1), 0x0FFFFFFFu);
    EXPECT_EQ(HashKey(-1) % 17, 15u);
    EXPECT_EQ(HashKey(static_cast<SHORT>(-1)), 0x0FFFFFFFu);
}

TEST(CMapTest, LookupRemoveAndResize)
{
    CMapStringToString m;
    EXPECT_EQ(m.GetStartPosition(), nullptr);
    m.InitHashTable(10);
    EXPECT_EQ(m.GetHashTableSize(), 10u);
    m["Pr31"] = "12";
    CString v;
    EXPECT_TRUE(m.Lookup("Pr31", v));
    EXPECT_EQ(v, "12");
    EXPECT_FALSE(m.Lookup("pr31", v));
    EXPECT_TRUE(m.RemoveKey("Pr31"));
    EXPECT_FALSE(m.RemoveKey("Pr31"));
    EXPECT_TRUE(m.IsEmpty());

    CMap<int, int, CString, const char*> byValue;
    for (int i = -5; i < 40; ++i)
        byValue[i] = FormatString("%d", i);
    CString text;
    EXPECT_TRUE(byValue.Lookup(-5, text));
    EXPECT_EQ(text, "-5");
    EXPECT_EQ(byValue.GetCount(), 45);
}
