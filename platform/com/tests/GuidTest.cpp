#include <com/Guid.h>

#include <gtest/gtest.h>

using namespace tvsk::com;

TEST(GuidTest, TextFormRoundTripsInUpperCaseWithBraces)
{
    constexpr GUID g = MakeGuid("{b31fca7f-41c0-466e-8f85-a3f7d9d7b25f}");
    EXPECT_EQ(GuidToString(g), "{B31FCA7F-41C0-466E-8F85-A3F7D9D7B25F}");
    EXPECT_EQ(GuidFromString("B31FCA7F-41C0-466E-8F85-A3F7D9D7B25F"), g);
    EXPECT_EQ(g.Data1, 0xB31FCA7Fu);
    EXPECT_EQ(g.Data4[0], 0x8F);
    EXPECT_EQ(g.Data4[7], 0x5F);

    OLECHAR text[39];
    EXPECT_EQ(StringFromGUID2(g, text, 38), 0) << "no room for the terminator";
    ASSERT_EQ(StringFromGUID2(g, text, 39), 39);
    CLSID back;
    ASSERT_EQ(CLSIDFromString(text, &back), S_OK);
    EXPECT_EQ(back, g);
}

TEST(GuidTest, MalformedTextIsRefused)
{
    for (const char* bad :
         {"", "{B31FCA7F-41C0-466E-8F85-A3F7D9D7B25F", "B31FCA7F-41C0-466E-8F85-A3F7D9D7B25",
          "B31FCA7F+41C0-466E-8F85-A3F7D9D7B25F", "G31FCA7F-41C0-466E-8F85-A3F7D9D7B25F"})
        EXPECT_FALSE(GuidFromString(bad)) << bad;
    CLSID clsid;
    EXPECT_EQ(CLSIDFromString(u"Lanyard.Lanyard.1", &clsid), CO_E_CLASSSTRING);
}
