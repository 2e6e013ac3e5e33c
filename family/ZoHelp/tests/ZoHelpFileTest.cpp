#include <ZoHelp/ZoHelpFile.h>
#include <ZoHelp/ZoHelpListPage.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace
{

const std::string kHelp = TVSK_TEST_DATA_DIR "/Help.chm";
const std::string kTopics = TVSK_TEST_DATA_DIR "/Topics/";

std::vector<std::string> Texts(const std::vector<ZoHelpLink>& links)
{
    std::vector<std::string> texts;
    for (const ZoHelpLink& link : links)
        texts.push_back(link.text.str());
    return texts;
}

class ZoHelpFileTest : public testing::Test
{
protected:
    void SetUp() override { ASSERT_EQ(file.Load(kHelp.c_str()), 0) << file.ErrorText(); }
    CZoHelpFile file;
};

TEST_F(ZoHelpFileTest, TopicsAreFoundByNameInAnyCaseAndTheEmptyNameIsTheFirst)
{
    const ZoHelpTopic* wiring = file.FindTopic("WIRING");
    ASSERT_NE(wiring, nullptr);
    EXPECT_EQ(wiring->title, "Wiring the drive");
    EXPECT_EQ(wiring->page, kTopics + "Wiring.htm") << "pages lie beside the help file";
    ASSERT_NE(file.FindTopic(""), nullptr);
    EXPECT_EQ(file.FindTopic("")->name, "Start");
    EXPECT_EQ(file.FindTopic(nullptr), file.FindTopic(""));
    EXPECT_EQ(file.FindTopic("Nothing"), nullptr);
}

TEST_F(ZoHelpFileTest, ContextIdsMapToTheirTopics)
{
    ASSERT_NE(file.FindContext(200), nullptr);
    EXPECT_EQ(file.FindContext(200)->page, kTopics + "Faults page.htm");
    EXPECT_EQ(file.FindContext(100)->name, "Start");
    EXPECT_EQ(file.FindContext(999), nullptr);
    EXPECT_EQ(file.FindContext(0), nullptr);
}

TEST_F(ZoHelpFileTest, IndexKeepsTheKeywordsHoldingTheTextInAnyCase)
{
    EXPECT_EQ(Texts(file.FilterKeywords("CAB")), std::vector<std::string>{"Encoder cable"});
    EXPECT_EQ(file.FilterKeywords("cab").front().page, kTopics + "Wiring.htm");
    EXPECT_EQ(Texts(file.FilterKeywords("c")),
              (std::vector<std::string>{"Connection", "Encoder cable", "Overcurrent"}));
    EXPECT_EQ(file.FilterKeywords("").size(), 4u) << "an empty text keeps every keyword";
    EXPECT_TRUE(file.FilterKeywords("zzz").empty());
    EXPECT_EQ(Texts(file.FilterKeywords("first")), std::vector<std::string>{"First steps"})
        << "a keyword's topic is named in any case";
}

TEST_F(ZoHelpFileTest, SearchFindsTheTopicsHoldingEveryWord)
{
    EXPECT_EQ(Texts(file.SearchTopics("motor")),
              (std::vector<std::string>{"Getting started", "Wiring the drive", "Alarms & faults"}));
    EXPECT_EQ(Texts(file.SearchTopics("Encoder  MOTOR")), std::vector<std::string>{"Wiring the drive"});
    EXPECT_EQ(Texts(file.SearchTopics("motor & power")), std::vector<std::string>{"Wiring the drive"})
        << "entities read as their characters";
    EXPECT_EQ(Texts(file.SearchTopics("faults")), std::vector<std::string>{"Alarms & faults"})
        << "the title counts";
    EXPECT_TRUE(file.SearchTopics("the encoder").size() == 1);
    EXPECT_TRUE(file.SearchTopics("secretword").empty()) << "scripts are not text";
    EXPECT_TRUE(file.SearchTopics("sans-serif").empty()) << "styles are not text";
    EXPECT_TRUE(file.SearchTopics("b>").empty()) << "tags are not text";
    EXPECT_TRUE(file.SearchTopics("  ").empty());
    EXPECT_TRUE(file.SearchTopics(nullptr).empty());
}

class ZoHelpBadFileTest : public testing::Test
{
protected:
    ZoHelpBadFileTest()
    {
        char pattern[] = "/tmp/zohelp-test-XXXXXX";
        dir = ::mkdtemp(pattern);
    }
    ~ZoHelpBadFileTest() override { std::filesystem::remove_all(dir); }
    int LoadText(const std::string& text)
    {
        std::ofstream(dir + "/Bad.chm") << text;
        return file.Load((dir + "/Bad.chm").c_str());
    }
    std::string dir;
    CZoHelpFile file;
};

TEST_F(ZoHelpBadFileTest, BadFilesAreRefusedWithTheirReasonAndDropWhatWasLoaded)
{
    ASSERT_EQ(file.Load(kHelp.c_str()), 0);
    std::filesystem::create_directory(dir + "/sub");
    const struct
    {
        const char* text;
        const char* reason;
    } cases[] = {
        {"TOPIC \"A\" \"a\" \"a.htm\"\nKEYWORD \"k\" \"B\"\n", "names no topic \"B\""},
        {"TOPIC \"A\" \"a\" \"a.htm\"\nCONTEXT 5 \"B\"\n", "names no topic \"B\""},
        {"CONTEXT five \"A\"\n", "is not an integer"},
        {"TOPIC \"A\" \"a\" \"../a.htm\"\n", "not a file inside the help folder"},
        {"TOPIC \"A\" \"a\" \"x/../../a.htm\"\n", "not a file inside the help folder"},
        {"TOPIC \"A\" \"a\" \"/etc/a.htm\"\n", "not a file inside the help folder"},
        {"TOPIC \"A\" \"a\" \"\"\n", "not a file inside the help folder"},
        {"TOPIC \"A\" \"a\" \"TarveskonHelp/\"\n", "not a file inside the help folder"},
        {"TOPIC \"A\" \"a\" \".\"\n", "not a file inside the help folder"},
        {"TOPIC \"A\" \"a\" \"sub/.\"\n", "not a file inside the help folder"},
        {"TOPIC \"A\" \"a\" \"sub\"\n", "is a folder"},
        {"TOPIC \"A\" \"a\"\n", "needs at least 3 fields"},
        {"PAGE \"A\"\n", "unknown section"},
    };
    for (const auto& bad : cases)
    {
        EXPECT_EQ(LoadText(bad.text), 2) << bad.text;
        EXPECT_NE(file.ErrorText().Find(bad.reason), -1) << file.ErrorText();
        EXPECT_FALSE(file.IsLoaded());
        EXPECT_EQ(file.FindTopic(""), nullptr) << "nothing of an earlier file stays";
        EXPECT_TRUE(file.SearchTopics("a").empty());
    }
    EXPECT_EQ(file.Load((dir + "/Missing.chm").c_str()), 3);
    EXPECT_EQ(file.Load(nullptr), 3);
    EXPECT_EQ(LoadText("TOPIC \"A\" \"a\" \"sub\\a.htm\"\n"), 0) << file.ErrorText();
    EXPECT_EQ(file.FindTopic("a")->page, dir + "/sub/a.htm") << "backslashes are folder separators";
    std::filesystem::create_directory(dir + "/sub/a.htm");
    EXPECT_EQ(file.SearchTopics("a").size(), 1u)
        << "the title matches; a page that became a folder is not read";
}

TEST(ZoHelpListPageTest, TheListEscapesTextsAndPaths)
{
    const CString page = MakeHelpListPage(
        "Index: <a&b>", {{"Alarms & \"faults\"", "/help/Faults page#1.htm"}}, "No topics found.");
    EXPECT_NE(page.Find("<title>Index: &lt;a&amp;b&gt;</title>"), -1) << page;
    EXPECT_NE(page.Find("<a href=\"/help/Faults%20page%231.htm\">Alarms &amp; &quot;faults&quot;</a>"), -1)
        << page;
    EXPECT_EQ(page.Find("No topics found."), -1);
    const CString empty = MakeHelpListPage("Search: x", {}, "No topics found.");
    EXPECT_NE(empty.Find("<p>No topics found.</p>"), -1) << empty;
    EXPECT_EQ(empty.Find("<ul>"), -1);
}

} // namespace
