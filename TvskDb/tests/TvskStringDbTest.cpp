#include <TvskDb/TvskStringDb.h>

#include "TvskDbTestSupport.h"

#include <gtest/gtest.h>

namespace
{

TEST(StringEscapesTest, ExpandsLineBreaksTabsAndDollars)
{
    EXPECT_EQ("uno\ndue", ExpandStringEscapes("uno\\ndue"));
    EXPECT_EQ("a\tb", ExpandStringEscapes("a\\tb"));
    EXPECT_EQ("costo $5", ExpandStringEscapes("costo $5"));
    EXPECT_EQ("costo \n5\nfine", ExpandStringEscapes("costo $5\\nfine"));
    EXPECT_EQ("x\ny\t", ExpandStringEscapes("x\\ny\\t"));
    EXPECT_EQ("back\\slash", ExpandStringEscapes("back\\slash"));
}

class TvskStringDbTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const std::string path = dir.Write("ITA.str", "STR \"2001\" \"Prima\\nSeconda\"\n"
                                                      "STR \"2002\" \"Prezzo $\"\n"
                                                      "STR \"Titolo_3\" \"Modo\\n3\" 3\n"
                                                      "STR \"2001\" \"Sostituito\\n\"\n");
        ASSERT_EQ(0, db.Load(path.c_str())) << db.GetErrorString();
    }

    CTestDir dir;
    CTvskStringDb db;
};

TEST_F(TvskStringDbTest, LookupsExpandEscapesAndLaterRowsWin)
{
    CString text;
    ASSERT_EQ(1, db.GetString("2001", text, false));
    EXPECT_EQ("Sostituito\n", text);
    ASSERT_EQ(1, db.GetString(2002ul, text, false));
    EXPECT_EQ("Prezzo $", text);
    EXPECT_EQ(0, db.GetString("9999", text, false));
}

TEST_F(TvskStringDbTest, SubsetLookupAppendsTheNumberAndKeepsTheText)
{
    CString text;
    EXPECT_EQ(-1, db.GetSubset());
    EXPECT_EQ(0, db.GetString("Titolo", text, true));
    db.SetSubset(3);
    ASSERT_EQ(1, db.GetString("Titolo", text, true));
    EXPECT_EQ("Modo\\n3", text);
}

TEST_F(TvskStringDbTest, ClosedOrFailedLoadFindsNothing)
{
    CString text;
    EXPECT_EQ(3, db.Load(dir.File("none.str").c_str()));
    EXPECT_EQ(0, db.GetString("2001", text, false));
    EXPECT_EQ(2, db.Load(dir.Write("bad.str", "STR \"1\"\n").c_str()));
    EXPECT_GE(db.GetErrorString().Find("\nL : 1\nT : 2"), 0);
    EXPECT_EQ(1, db.Close());
}

class TvskStringParDbTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const std::string path = dir.Write("TK40.str", "VER \"2.1\"\n"
                                                       "MENU 1 \"Motore\\nDati\" 5001\n"
                                                       "MENU 2 \"Anelli\" 5002\n"
                                                       "DESCR \"Pr10\" -1 \"Corrente\\tnominale\"\n"
                                                       "DESCR \"Pr10\" 2 \"Corrente di coppia\"\n"
                                                       "DESCR \"Pr11\" 65535 \"Limite\"\n"
                                                       "STR \"7001\" \"Allarme\\nsovratemperatura\"\n");
        ASSERT_EQ(0, db.Load(path.c_str())) << db.GetErrorString();
    }

    CTestDir dir;
    CTvskStringParDb db;
};

TEST_F(TvskStringParDbTest, VersionMenusAndResources)
{
    CString text;
    EXPECT_NE(0, db.GetVersion(text));
    EXPECT_EQ("2.1", text);
    ASSERT_EQ(1, db.GetMenuString(1, text));
    EXPECT_EQ("Motore\\nDati", text);
    EXPECT_EQ(0, db.GetMenuString(3, text));
    ASSERT_EQ(1, db.GetString(7001ul, text));
    EXPECT_EQ("Allarme\nsovratemperatura", text);
}

TEST_F(TvskStringParDbTest, DescriptionsPerOperatingMode)
{
    CString text;
    ASSERT_EQ(1, db.GetParDescr("Pr10", text, false));
    EXPECT_EQ("Corrente\tnominale", text);
    EXPECT_EQ(1, db.GetParDescr("Pr11", text, false));
    db.SetSubset(5);
    EXPECT_EQ(0, db.GetParDescr("Pr10", text, true));
    db.SetSubset(2);
    ASSERT_EQ(1, db.GetParDescr("Pr10", text, true));
    EXPECT_EQ("Corrente di coppia", text);
    EXPECT_EQ(0, db.GetParDescr("Pr11", text, true));
}

TEST_F(TvskStringParDbTest, TwoVersionRowsGiveNoVersion)
{
    ASSERT_EQ(0, db.Load(dir.Write("two.str", "VER \"1\"\nVER \"2\"\n").c_str()));
    CString text = "old";
    EXPECT_EQ(0, db.GetVersion(text));
    EXPECT_EQ("", text);
}

TEST_F(TvskStringParDbTest, CloseEmptiesEveryTable)
{
    db.Close();
    CString text;
    EXPECT_EQ(0, db.GetVersion(text));
    EXPECT_EQ(0, db.GetMenuString(1, text));
    EXPECT_EQ(0, db.GetParDescr("Pr10", text, false));
    EXPECT_EQ(0, db.GetString(7001ul, text));
}

} // namespace
