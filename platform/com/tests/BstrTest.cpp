#include <com/Bstr.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

using namespace tvsk::com;

TEST(BstrTest, NullIsTheEmptyStringAndFreeingNullIsHarmless)
{
    EXPECT_EQ(SysStringLen(nullptr), 0u);
    EXPECT_EQ(SysAllocString(nullptr), nullptr);
    EXPECT_EQ(Utf8FromBstr(nullptr), "");
    SysFreeString(nullptr);
}

TEST(BstrTest, TheLengthPrefixKeepsEmbeddedZerosAndOddByteLengths)
{
    const OLECHAR text[] = {u'a', 0, u'b'};
    BSTR s = SysAllocStringLen(text, 3);
    EXPECT_EQ(SysStringLen(s), 3u);
    EXPECT_EQ(SysStringByteLen(s), 6u);
    EXPECT_EQ(s[3], 0) << "a terminating zero follows the characters";
    SysFreeString(s);

    BSTR bytes = SysAllocStringByteLen("abc", 3);
    EXPECT_EQ(SysStringByteLen(bytes), 3u);
    EXPECT_EQ(SysStringLen(bytes), 1u);
    SysFreeString(bytes);

    BSTR r = SysAllocString(u"old");
    ASSERT_TRUE(SysReAllocString(&r, u"new text"));
    EXPECT_EQ(BstrView(r), u"new text");
    SysFreeString(r);
}

TEST(BstrTest, Utf8ConversionsRoundTripAndReplaceMalformedInput)
{
    const std::string text = "Velocit\xC3\xA0 \xE2\x82\xAC \xF0\x9F\x98\x80";
    BSTR s = BstrFromUtf8(text);
    EXPECT_EQ(SysStringLen(s), 13u) << "the last character takes a surrogate pair";
    EXPECT_EQ(Utf8FromBstr(s), text);
    SysFreeString(s);

    EXPECT_EQ(Utf16FromUtf8("a\xFF"
                            "b\xC3"),
              u"a\uFFFDb\uFFFD");
    EXPECT_EQ(Utf16FromUtf8("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD") << "encoded surrogates are refused";
    EXPECT_EQ(Utf8FromUtf16(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
}

TEST(BstrTest, ReusedBlocksCarryTheirNewLengthAndTerminator)
{
    // Blocks of every short size, freed and made again at other sizes, and one past the kept sizes.
    std::vector<BSTR> made;
    for (UINT n = 0; n < 140; ++n)
        made.push_back(SysAllocStringLen(std::u16string(n, u'x').c_str(), n));
    for (BSTR s : made)
        SysFreeString(s);
    made.clear();
    for (UINT n = 140; n-- > 0;)
    {
        BSTR s = SysAllocStringLen(nullptr, n);
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(SysStringLen(s), n);
        EXPECT_EQ(BstrView(s), std::u16string(n, u'\0')) << "the characters are zeroed, not the old ones";
        EXPECT_EQ(s[n], 0);
        made.push_back(s);
    }
    BSTR odd = SysAllocStringByteLen("abcde", 5);
    EXPECT_EQ(SysStringByteLen(odd), 5u);
    EXPECT_EQ(std::memcmp(odd, "abcde", 5), 0);
    made.push_back(odd);
    for (BSTR s : made)
        SysFreeString(s);
}

TEST(BstrTest, StringsMadeOnOneThreadAreFreedOnAnother)
{
    std::vector<BSTR> made;
    std::thread maker(
        [&]
        {
            for (int i = 0; i < 100; ++i)
                made.push_back(SysAllocString(u"made on the maker thread"));
            BSTR dropped = SysAllocString(u"freed here");
            SysFreeString(dropped); // kept by this thread until it ends
        });
    maker.join();
    for (BSTR s : made)
    {
        EXPECT_EQ(BstrView(s), u"made on the maker thread");
        SysFreeString(s);
    }
    BSTR again = SysAllocString(u"made on the maker thread");
    EXPECT_EQ(BstrView(again), u"made on the maker thread");
    SysFreeString(again);
}

TEST(BstrTest, ASharedStringLivesUntilItsLastHolderFreesIt)
{
    BSTR s = SysAllocString(u"shared");
    EXPECT_FALSE(BstrShared(s));
    EXPECT_EQ(ShareBstr(s), s);
    EXPECT_EQ(ShareBstr(s), s);
    EXPECT_TRUE(BstrShared(s));
    SysFreeString(s);
    SysFreeString(s);
    EXPECT_FALSE(BstrShared(s)) << "one holder is left";
    EXPECT_EQ(BstrView(s), u"shared");
    SysFreeString(s); // the sanitizers see a leak or a second free here
    EXPECT_EQ(ShareBstr(nullptr), nullptr);
    EXPECT_FALSE(BstrShared(nullptr));
}

TEST(BstrTest, HoldersOnManyThreadsFreeTheStringOnce)
{
    BSTR s = SysAllocString(u"held by every thread");
    std::vector<std::thread> holders;
    for (int t = 0; t < 8; ++t)
    {
        ShareBstr(s);
        holders.emplace_back(
            [s]
            {
                for (int i = 0; i < 1000; ++i)
                    SysFreeString(ShareBstr(s));
                SysFreeString(s);
            });
    }
    for (auto& t : holders)
        t.join();
    EXPECT_FALSE(BstrShared(s));
    EXPECT_EQ(BstrView(s), u"held by every thread");
    SysFreeString(s);
}

TEST(BstrTest, ALengthSetWithinTheCapacityReadsBack)
{
    for (UINT n : {0u, 1u, 7u, 100u, 5000u})
    {
        BSTR s = SysAllocStringLen(nullptr, n);
        const UINT capacity = BstrCapacity(s);
        EXPECT_GE(capacity, n);
        std::fill_n(s, capacity, u'y');
        SetBstrLength(s, capacity);
        EXPECT_EQ(BstrView(s), std::u16string(capacity, u'y'));
        EXPECT_EQ(s[capacity], 0);
        SetBstrLength(s, n / 2);
        EXPECT_EQ(SysStringLen(s), n / 2);
        EXPECT_EQ(s[n / 2], 0);
        SysFreeString(s);
    }
}
