#include "TestTables.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

class TextDbTest : public testing::Test
{
protected:
    void SetUp() override
    {
        const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
        m_dir = fs::temp_directory_path() /
                (std::string("tvtextdb-") + info->name() + "-" + std::to_string(getpid()));
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    std::string Write(const std::string& text, const char* name = "db.txt")
    {
        const std::string path = (m_dir / name).string();
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    static std::string Read(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    // Loads text into a fresh database and returns the syntax error it raised (type 0: none).
    CTextDbException Fails(const std::string& text)
    {
        ItemDb db;
        try
        {
            db.Load(Write(text).c_str());
        }
        catch (CTextDbException* e)
        {
            CTextDbException copy(*e);
            e->Delete();
            return copy;
        }
        return CTextDbException(0, 0, "", "");
    }

    fs::path m_dir;
};

TEST_F(TextDbTest, ReadsRowsIntoTheirSections)
{
    ItemDb db;
    const std::string path = Write("; drives\n"
                                   "ITEM\tTK40 3 1.5\n"
                                   "  NOTE  \"two words\"   ; trailing comment\n"
                                   "ITEM \"\" -4\r\n");
    ASSERT_NE(db.Load(path.c_str()), 0);
    ASSERT_EQ(db.m_items.m_recs.size(), 2u);
    EXPECT_STREQ(db.m_items.m_recs[0].szName, "TK40");
    EXPECT_EQ(db.m_items.m_recs[0].nCount, 3);
    EXPECT_EQ(db.m_items.m_recs[0].dblValue, 1.5);
    EXPECT_STREQ(db.m_items.m_recs[1].szName, "");
    EXPECT_EQ(db.m_items.m_recs[1].nCount, -4);
    EXPECT_EQ(db.m_items.m_recs[1].dblValue, 0.0); // optional column left out
    ASSERT_EQ(db.m_notes.m_recs.size(), 1u);
    EXPECT_STREQ(db.m_notes.m_recs[0].szText, "two words");
    EXPECT_STREQ(db.FileName(), path.c_str());
    EXPECT_EQ(db.GetVer(), -1);
}

TEST_F(TextDbTest, QuotedFieldsHoldSeparatorsCommentsQuotesAndLineBreaks)
{
    ItemDb db;
    ASSERT_NE(db.Load(Write("NOTE \"a\tb ; c\"\n"
                            "NOTE \"say \"\"hi\"\"\"\n"
                            "NOTE \"\"\n"
                            "NOTE \"two\nlines\"\n"
                            "ITEM x\"2\"\n")
                          .c_str()),
              0);
    ASSERT_EQ(db.m_notes.m_recs.size(), 4u);
    EXPECT_STREQ(db.m_notes.m_recs[0].szText, "a\tb ; c");
    EXPECT_STREQ(db.m_notes.m_recs[1].szText, "say \"hi\"");
    EXPECT_STREQ(db.m_notes.m_recs[2].szText, "");
    EXPECT_STREQ(db.m_notes.m_recs[3].szText, "two\nlines");
    // A quote also separates fields.
    ASSERT_EQ(db.m_items.m_recs.size(), 1u);
    EXPECT_STREQ(db.m_items.m_recs[0].szName, "x");
    EXPECT_EQ(db.m_items.m_recs[0].nCount, 2);
}

TEST_F(TextDbTest, EmptyAndCommentOnlyFilesLoad)
{
    for (const char* text : {"", "\n\n", "; nothing\n;\n", "\xEF\xBB\xBF"})
    {
        ItemDb db;
        EXPECT_NE(db.Load(Write(text).c_str()), 0);
        EXPECT_EQ(db.m_items.NumRecs() + db.m_notes.NumRecs(), 0u);
    }
}

TEST_F(TextDbTest, ALastRowWithoutLineEndIsAFileCutShort)
{
    for (const char* text : {"ITEM a 112\nITEM b 11", "ITEM a 1\nITEM \"b\" 1 2.5", "ITEM a 1\nITEM \"b\"",
                             "NOTE x\nNOTE ab", "#VERSION 1", "NOTE \"a\"\n#VERSION 1"})
    {
        const CTextDbException e = Fails(text);
        EXPECT_EQ(e.m_nErrType, TDB_ERR_CUT) << text;
        EXPECT_NE(e.m_strInfo.Find("cut short"), -1) << e.m_strInfo;
    }
    EXPECT_EQ(Fails("ITEM a 1\nITEM b 11").m_nLine, 2);
    // A last row that holds every field and ends in a closing quote lost nothing.
    for (const char* text :
         {"ITEM a 1\nNOTE \"whole\"", "NOTE \"whole\"  ; a comment", "ITEM a 1\n  \t", "NOTE a\n; end"})
    {
        ItemDb db;
        EXPECT_NE(db.Load(Write(text).c_str()), 0) << text;
    }
}

TEST_F(TextDbTest, ListingSyntaxWithColonCommaAndApostropheComments)
{
    ItemDb db("\t \":,", "'");
    ASSERT_NE(db.Load(Write("'PARAMETERS' LIST :\n\nITEM  20 :  15\r\nITEM 21 : -3,2.5\n").c_str()), 0);
    ASSERT_EQ(db.m_items.m_recs.size(), 2u);
    EXPECT_STREQ(db.m_items.m_recs[0].szName, "20");
    EXPECT_EQ(db.m_items.m_recs[0].nCount, 15);
    EXPECT_EQ(db.m_items.m_recs[1].nCount, -3);
    EXPECT_EQ(db.m_items.m_recs[1].dblValue, 2.5);
}

TEST_F(TextDbTest, SyntaxErrorsNameTheLineTypeAndText)
{
    struct Case
    {
        std::string text;
        int line;
        int type;
        const char* infoPart;
    };
    const Case cases[] = {
        {"ITEM a 1\nWRONG 1\n", 2, TDB_ERR_SECTION, "\"WRONG\""},
        {"\n\nITEM a\n", 3, TDB_ERR_FEWFIELDS, "needs at least 2 fields, found 1"},
        {"ITEM a 1 2 3\n", 1, TDB_ERR_MANYFIELDS, "has 3 fields, found 4"},
        {"ITEM a 1.5\n", 1, TDB_ERR_INTEGER, "field \"nCount\" of section \"ITEM\": \"1.5\""},
        {"ITEM a 99999999999\n", 1, TDB_ERR_INTEGER, "\"99999999999\" is not an integer"},
        {";\nITEM a 1 1,5\n", 2, TDB_ERR_DOUBLE, "\"1,5\" is not a number"},
        {"NOTE ok\nNOTE \"open\n\n", 2, TDB_ERR_QUOTE, "not closed"},
        {"ITEM a 1\n#VERSION 2\n", 2, TDB_ERR_DIRECTIVE, "\"#VERSION\""},
        {"#VERSION two\n", 1, TDB_ERR_DIRECTIVE, "version line"},
        {"#VER 1\n", 1, TDB_ERR_DIRECTIVE, "\"#VER\""},
        {std::string("NOTE a\nNOTE b\0c\n", 16), 2, TDB_ERR_CHARACTER, "zero byte"},
    };
    for (const Case& c : cases)
    {
        const CTextDbException e = Fails(c.text);
        EXPECT_EQ(e.m_nLine, c.line) << c.text;
        EXPECT_EQ(e.m_nErrType, c.type) << c.text;
        EXPECT_NE(e.m_strInfo.Find(c.infoPart), -1) << e.m_strInfo;
        EXPECT_NE(e.m_strFileName.Find("db.txt"), -1);
    }
}

TEST_F(TextDbTest, RoundTripKeepsEveryRecordExactly)
{
    ItemDb db;
    db.RecTypes();
    const ITEM items[] = {
        {"TK40", 1, 0.1}, {"a \"q\" b", -2147483647 - 1, -1.0 / 3.0}, {"", 0, 1e300}, {";x:y,z", 7, -0.0}};
    for (const ITEM& item : items)
        db.m_items.m_recs.push_back(item);
    db.m_notes.m_recs.push_back(NOTE{"l\xC3\xA8gami\ttab\nline"});
    db.SetVer(1);
    const std::string path = (m_dir / "out.txt").string();
    ASSERT_EQ(db.Store(path.c_str()), 1);

    ItemDb back;
    ASSERT_NE(back.Load(path.c_str()), 0);
    EXPECT_EQ(back.GetVer(), 1);
    ASSERT_EQ(back.m_items.m_recs.size(), 4u);
    for (size_t i = 0; i < 4; ++i)
    {
        // Field by field: the padding after szName holds whatever the stack held.
        const ITEM& got = back.m_items.m_recs[i];
        EXPECT_STREQ(got.szName, items[i].szName) << i;
        EXPECT_EQ(got.nCount, items[i].nCount) << i;
        EXPECT_EQ(std::memcmp(&got.dblValue, &items[i].dblValue, sizeof(double)), 0) << i; // -0.0 too
    }
    ASSERT_EQ(back.m_notes.m_recs.size(), 1u);
    EXPECT_STREQ(back.m_notes.m_recs[0].szText, db.m_notes.m_recs[0].szText);

    // The listing syntax reads the same file too: strings are quoted, so ':' and ',' stay inside.
    ItemDb listing("\t \":,", ";");
    ASSERT_NE(listing.Load(path.c_str()), 0);
    EXPECT_STREQ(listing.m_items.m_recs[3].szName, ";x:y,z");
}

TEST_F(TextDbTest, StoreWritesVersionCommentBlocksAndSectionsInRegistrationOrder)
{
    ItemDb db;
    db.RecTypes();
    db.m_notes.m_recs.push_back(NOTE{"n"});
    db.m_items.m_recs.push_back(ITEM{"i", 2, 2.5});
    db.SetVer(1);
    const std::string path = (m_dir / "out.txt").string();
    ASSERT_EQ(db.Store(path.c_str()), 1);
    EXPECT_EQ(Read(path), "#VERSION 1\n;\n;\tItems\n;\nITEM\t\"i\"\t2\t2.5\n;\n;\tNotes\n;\nNOTE\t\"n\"\n");

    ItemDb unversioned;
    ASSERT_EQ(unversioned.Store(path.c_str()), 1);
    EXPECT_EQ(Read(path).rfind(";\n;\tItems", 0), 0u);
}

TEST_F(TextDbTest, FailedStoreLeavesTheOldFile)
{
    const std::string path = Write("NOTE old\n");
    ItemDb db;
    db.RecTypes();
    fs::permissions(m_dir, fs::perms::owner_read | fs::perms::owner_exec);
    const bool writable = access(m_dir.c_str(), W_OK) == 0; // root writes anyway
    const int stored = db.Store(path.c_str());
    fs::permissions(m_dir, fs::perms::owner_all);
    if (!writable)
    {
        EXPECT_EQ(stored, 0);
        EXPECT_EQ(Read(path), "NOTE old\n");
    }
    EXPECT_EQ(db.Store((m_dir / "no-such-dir" / "x.txt").c_str()), 0);
    EXPECT_EQ(fs::directory_iterator(m_dir) != fs::directory_iterator(), true);
    for (const auto& entry : fs::directory_iterator(m_dir))
        EXPECT_EQ(entry.path().filename().string().find(".~"), std::string::npos);
}

TEST_F(TextDbTest, StoreWritesItsTemporaryBesideTheTargetAndRemovesAStaleOne)
{
    const std::string path = Write("NOTE old\n");
    const std::string stale = path + ".~" + std::to_string(::getpid());
    std::ofstream(stale) << "left by a save that was killed";
    ItemDb db;
    ASSERT_NE(db.Load(path.c_str()), 0);
    ASSERT_EQ(db.Store(path.c_str()), 1);
    EXPECT_FALSE(fs::exists(stale));
    for (const auto& entry : fs::directory_iterator(m_dir))
        EXPECT_EQ(entry.path().filename(), "db.txt");
}

TEST_F(TextDbTest, ASaveBeyondTheFileSizeLimitFailsAndKeepsTheOldFile)
{
    const std::string path = Write("NOTE \"old\"\n");
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0)
    {
        // As the program does at start: the limit then shows as a failed write.
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        ItemDb db;
        db.Load(path.c_str());
        for (int i = 0; i < 1000; ++i)
        {
            db.m_notes.Clean();
            db.m_notes.AddRec();
        }
        ::_exit(db.Store(path.c_str()) == 0 ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "the signal ended the save";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the save reported its failure";
    EXPECT_EQ(Read(path), "NOTE \"old\"\n");
}

TEST_F(TextDbTest, MissingFileLoadsNothingAndInitRunsOnce)
{
    ItemDb db;
    EXPECT_EQ(db.Load((m_dir / "missing.txt").c_str()), 0);
    EXPECT_EQ(db.Load(nullptr), 0);
    EXPECT_EQ(db.RecTypes(), 2);
    EXPECT_EQ(db.m_initCalls, 1);
}

TEST_F(TextDbTest, TablesAndRecordsByIndex)
{
    ItemDb db;
    ASSERT_NE(db.Load(Write("ITEM a 1\nITEM b 2\n").c_str()), 0);
    db.Close();
    EXPECT_EQ(db.RecArr(0), &db.m_items);
    EXPECT_EQ(db.RecArr(2), nullptr);
    EXPECT_EQ(db.RecArr(-1), nullptr);
    EXPECT_EQ(db.RecPtr(0, 1), &db.m_items.m_recs[1]);
    EXPECT_EQ(db.RecPtr(0, 2), nullptr);
    EXPECT_EQ(db.RecPtr(5, 0), nullptr);
    EXPECT_STREQ(static_cast<ITEM*>(db.RecPtr(0, 1))->szName, "b");
}

TEST(RecDefIntfTest, DefaultsDescribeAnEmptyTable)
{
    CRecDefIntf table;
    EXPECT_EQ(table.RecPtr(0), nullptr);
    EXPECT_EQ(table.SetRec(0), 0);
    EXPECT_EQ(table.NumRecs(), 0u);
    EXPECT_EQ(table.FieldType(0), MDB_NONE);
    EXPECT_EQ(table.GetField(0), "");
    EXPECT_EQ(table.FieldName(0), nullptr);
    EXPECT_EQ(table.NumFields(), 0);
    EXPECT_TRUE(table.Section().IsEmpty());
}

TEST(RecDefIntfTest, RequiredCountAboveTheFieldCountBecomesZero)
{
    TestTable<ITEM> table;
    table.InitFields(kItemFields, 2);
    table.SetNumRqFields(1);
    EXPECT_EQ(table.NumRqFields(), 1);
    table.SetNumRqFields(3);
    EXPECT_EQ(table.NumRqFields(), 0);
}
