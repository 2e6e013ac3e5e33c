#include <registry/Registry.h>
#include <registry/RegistryFormat.h>

#include <gtest/gtest.h>

#include <random>

using namespace tvsk::registry;

TEST(RegistryFormatTest, AwkwardNamesAndTextsReadBackUnchanged)
{
    RegKey top;
    RegKey& key = top.ObtainChild("HKEY_CURRENT_USER").ObtainChild("We[ir]d %20 \"key\"\t");
    key.ObtainChild("Empty");
    const std::string text = "quote \" backslash \\ newline \n cr \r bell \x07 utf8 \xC3\xA8";
    key.SetValue({"", REG_SZ, {text.begin(), text.end()}});
    key.SetValue({"name \"with\" \\ and \n", REG_BINARY, {}});
    key.SetValue({"d", REG_DWORD, {0x78, 0x56, 0x34, 0x12}});

    const std::string written = WriteStoreText(top);
    EXPECT_NE(written.find("\"d\"=dword:12345678"), std::string::npos) << written;
    RegKey read;
    auto error = ReadStoreText(written, read);
    ASSERT_FALSE(error) << error->line << ": " << error->text;
    EXPECT_EQ(WriteStoreText(read), written);
    const RegKey* back = read.Find({"HKEY_CURRENT_USER", "We[ir]d %20 \"key\"\t"});
    ASSERT_TRUE(back);
    EXPECT_TRUE(back->FindChild("EMPTY")) << "keys without values are kept";
    ASSERT_TRUE(back->FindValue(""));
    EXPECT_EQ(std::string(back->FindValue("")->data.begin(), back->FindValue("")->data.end()), text);
    EXPECT_TRUE(back->FindValue("name \"with\" \\ and \n"));
}

TEST(RegistryFormatTest, BadLinesAreReportedWithTheirNumber)
{
    struct Case
    {
        const char* text;
        int line;
    };
    const Case cases[] = {
        {"\"v\"=sz:\"x\"\n", 1},
        {"; c\n[HKEY_USERS\n", 2},
        {"[HKEY_USERS\\\\x]\n", 1},
        {"[HKEY_USERS\\a%2]\n", 1},
        {"[HKEY_USERS]\nv=sz:\"x\"\n", 2},
        {"[HKEY_USERS]\n\"v\"sz:\"x\"\n", 2},
        {"[HKEY_USERS]\n\"v\"=sz:\"x\n", 2},
        {"[HKEY_USERS]\n\"v\"=sz:\"\\q\"\n", 2},
        {"[HKEY_USERS]\n\"v\"=dword:1234567\n", 2},
        {"[HKEY_USERS]\n\"v\"=hex:01,2\n", 2},
        {"[HKEY_USERS]\n\"v\"=hex:0102\n", 2},
        {"[HKEY_USERS]\n\"v\"=qword:00\n", 2},
        {"[HKEY_USERS]\n\"v\"=sz:\"x\" tail\n", 2},
        {"[HKEY_USERS]\n\"v\"=sz:\"x\"\n\"V\"=sz:\"y\"\n", 3},
        {"[HKEY_USERS]\n\"\"=sz:\"x\"\n", 2},
    };
    for (const Case& c : cases)
    {
        RegKey top;
        auto error = ReadStoreText(c.text, top);
        ASSERT_TRUE(error) << c.text;
        EXPECT_EQ(error->line, c.line) << c.text;
        EXPECT_FALSE(error->text.empty());
    }
}

TEST(RegistryFormatTest, CommentsBlankLinesAndCarriageReturnsAreAccepted)
{
    RegKey top;
    auto error = ReadStoreText("; store\r\n\r\n[HKEY_USERS\\k]\r\n@=hex:\r\n", top);
    ASSERT_FALSE(error) << error->text;
    const RegKey* k = top.Find({"HKEY_USERS", "K"});
    ASSERT_TRUE(k && k->FindValue(""));
    EXPECT_EQ(k->FindValue("")->type, REG_BINARY);
    EXPECT_TRUE(k->FindValue("")->data.empty());
}

TEST(RegistryFormatTest, EscapedBackslashesInKeyNamesSurviveTheRoundTrip)
{
    RegKey top;
    ASSERT_FALSE(ReadStoreText("[A%5c]\n[A%5cB]\n@=sz:\"x\"\n", top));
    ASSERT_TRUE(top.FindChild("A\\"));
    ASSERT_TRUE(top.FindChild("A\\B"));
    const std::string written = WriteStoreText(top);
    EXPECT_NE(written.find("[A%5cB]"), std::string::npos) << written;
    RegKey read;
    ASSERT_FALSE(ReadStoreText(written, read));
    EXPECT_EQ(WriteStoreText(read), written);
    EXPECT_EQ(read.ChildKeys().size(), 2u);
}

TEST(RegistryFormatTest, GeneratedKeyNamesReadBackAsTheSameTree)
{
    const std::string alphabet = std::string("aZ09 %\\[]\";@=\t\r\n\x01\x7f\xc3\xa8") + '\0';
    std::mt19937 random(18);
    for (int round = 0; round < 200; ++round)
    {
        RegKey top;
        RegKey* key = &top;
        for (int depth = 0; depth < 3; ++depth)
        {
            std::string name;
            const int length = 1 + static_cast<int>(random() % 6);
            for (int i = 0; i < length; ++i)
                name += alphabet[random() % alphabet.size()];
            key = &key->ObtainChild(name);
        }
        key->SetValue({"v", REG_DWORD, {1, 0, 0, 0}});
        const std::string written = WriteStoreText(top);
        RegKey read;
        auto error = ReadStoreText(written, read);
        ASSERT_FALSE(error) << written << error->text;
        EXPECT_EQ(WriteStoreText(read), written);
    }
}
