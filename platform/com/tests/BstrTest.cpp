#include <com/Bstr.h>

#include <gtest/gtest.h>

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
