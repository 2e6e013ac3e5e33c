#include <protocol/MessageFile.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;

class MessageFileTest : public testing::Test
{
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() / ("tvsk_vrnser_msg_" + std::to_string(::getpid()) + "_" +
                                           testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir);
    }
    void TearDown() override
    {
        fs::permissions(dir, fs::perms::owner_all);
        fs::remove_all(dir);
    }
    std::string Write(const std::string& content)
    {
        const fs::path path = dir / "VRNSER.ERR";
        std::ofstream(path, std::ios::binary) << content;
        return path.string();
    }
    std::string Text(const CMessageTable& table, int code, const char* section = "ERR")
    {
        const char* text = table.Lookup(section, code);
        return text ? text : "<none>";
    }

    fs::path dir;
};

TEST_F(MessageFileTest, EntriesAreReadFromTheirSections)
{
    CMessageTable table;
    ASSERT_TRUE(table.Load(
        Write("[ERR]\r\n1,\"no reply\"\r\n\r\n2,\"bad type\"\r\n[OTHER]\r\n1,\"other\"\r\n").c_str()));
    EXPECT_EQ(Text(table, 1), "no reply");
    EXPECT_EQ(Text(table, 2), "bad type");
    EXPECT_EQ(Text(table, 1, "OTHER"), "other");
    EXPECT_EQ(Text(table, 3), "<none>");
    EXPECT_EQ(Text(table, 1, "err"), "<none>");
}

TEST_F(MessageFileTest, LineEndsFollowTheCarriageReturn)
{
    CMessageTable table;
    // A line feed alone drops the line; text after the last carriage return is ignored.
    ASSERT_TRUE(
        table.Load(Write("[ERR]\r1,\"cr only\"\r2,\"lf only\"\n3,\"kept\"\r\n4,\"unended\"").c_str()));
    EXPECT_EQ(Text(table, 1), "cr only");
    EXPECT_EQ(Text(table, 2), "<none>");
    EXPECT_EQ(Text(table, 3), "kept");
    EXPECT_EQ(Text(table, 4), "<none>");

    ASSERT_TRUE(table.Load(Write("[ERR]\n1,\"a\"\n2,\"b\"\n").c_str()));
    EXPECT_TRUE(table.IsEmpty());
}

TEST_F(MessageFileTest, CodesAndTextsFollowTheFieldRules)
{
    CMessageTable table;
    ASSERT_TRUE(table.Load(
        Write("[ERR]\r\n*,\"star\"\r\n5,plain\r\n6,\"first\"\r\n6,\"second\"\r\n7,\"\"\r\n").c_str()));
    EXPECT_EQ(Text(table, -1), "star");
    EXPECT_EQ(Text(table, 5), "");
    EXPECT_EQ(Text(table, 6), "second");
    EXPECT_EQ(Text(table, 7), "");
}

TEST_F(MessageFileTest, AMalformedLineStopsTheLoadKeepingEarlierEntries)
{
    const char* files[] = {
        "[ERR]\r\n1,\"a\"\r\n2,\"with, comma\"\r\n3,\"c\"\r\n",
        "[ERR]\r\n1,\"a\"\r\n[BROKEN\r\n3,\"c\"\r\n",
        "[ERR]\r\n1,\"a\"\r\n2\r\n3,\"c\"\r\n",
    };
    for (const char* content : files)
    {
        CMessageTable table;
        ASSERT_TRUE(table.Load(Write(content).c_str()));
        EXPECT_EQ(Text(table, 1), "a") << content;
        EXPECT_EQ(Text(table, 3), "<none>") << content;
    }
    CMessageTable table;
    ASSERT_TRUE(table.Load(Write("1,\"before any section\"\r\n[ERR]\r\n2,\"b\"\r\n").c_str()));
    EXPECT_TRUE(table.IsEmpty());
}

TEST_F(MessageFileTest, ARepeatedSectionNameNeitherStartsNorSwitchesSections)
{
    CMessageTable table;
    ASSERT_TRUE(table.Load(Write("[ERR]\r\n1,\"a\"\r\n[MORE]\r\n[ERR]\r\n2,\"b\"\r\n").c_str()));
    EXPECT_EQ(Text(table, 2), "<none>");
    EXPECT_EQ(Text(table, 2, "MORE"), "b");
}

TEST_F(MessageFileTest, LongLinesAndTextsAreCut)
{
    CMessageTable table;
    const std::string longText(300, 'x');
    const std::string longLine = "2,\"" + std::string(1200, 'y') + "\"";
    ASSERT_TRUE(
        table.Load(Write("[ERR]\r\n1,\"" + longText + "\"\r\n" + longLine + "\r\n3,\"c\"\r\n").c_str()));
    EXPECT_EQ(Text(table, 1), std::string(255, 'x'));
    EXPECT_EQ(Text(table, 2), std::string(255, 'y'));
    EXPECT_EQ(Text(table, 3), "c");
}

TEST_F(MessageFileTest, AReadOnlyFileStillGivesItsTexts)
{
    const std::string path = Write("[ERR]\r\n1,\"a\"\r\n");
    fs::permissions(path, fs::perms::owner_read);
    fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec);
    CMessageTable table;
    ASSERT_TRUE(table.Load(path.c_str()));
    EXPECT_EQ(Text(table, 1), "a");
}

TEST_F(MessageFileTest, MissingOrUnnamedFilesLeaveTheTableEmpty)
{
    CMessageTable table;
    EXPECT_FALSE(table.Load((dir / "none.err").c_str()));
    EXPECT_FALSE(table.Load(""));
    EXPECT_FALSE(table.Load(std::string(300, 'a').c_str()));
    EXPECT_TRUE(table.IsEmpty());
}

TEST_F(MessageFileTest, TheShippedFileHasATextForEveryErrorCode)
{
    CMessageTable table;
    ASSERT_TRUE(table.Load(TVSK_SAMPLE_DATA_DIR "/VRNSER.ERR"));
    for (int code = 0; code <= 15; ++code)
    {
        ASSERT_NE(table.Lookup("ERR", code), nullptr) << code;
        EXPECT_GT(std::string(table.Lookup("ERR", code)).size(), 5u) << code;
    }
}
