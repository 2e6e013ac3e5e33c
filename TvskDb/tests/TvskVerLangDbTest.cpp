#include <TvskDb/TvskLangDb.h>
#include <TvskDb/TvskVerDb.h>

#include "TvskDbTestSupport.h"

#include <gtest/gtest.h>

namespace
{

class TvskVerDbTest : public ::testing::Test
{
protected:
    CTestDir dir;
    CTvskVerDb db;
};

TEST_F(TvskVerDbTest, FirstRecordOfEachSectionAndTheLists)
{
    const std::string path =
        dir.Write("Versions.txt", "RELEASE \"3.0\"\nRELEASE \"2.0\"\nPROGRAM \"3.0.1\"\n"
                                  "DRIVES \"1.2\"\nMOTORS \"1.1\"\nPAR \"TK40\" \"1.0\"\n");
    ASSERT_EQ(0, db.Load(path.c_str())) << db.GetErrorString();
    EXPECT_EQ(1, db.IsOpen());
    EXPECT_STREQ("3.0", db.GetReleaseVer());
    EXPECT_STREQ("3.0.1", db.GetProgramVer());
    EXPECT_STREQ("1.2", db.GetDrivesVer());
    EXPECT_STREQ("1.1", db.GetMotorsVer());
    ASSERT_EQ(1, db.GetParNums());
    EXPECT_STREQ("1.0", db.GetParRec(0)->szParVer);
    EXPECT_EQ(nullptr, db.GetParRec(1));
    EXPECT_EQ(0, db.GetPagNums());
    EXPECT_EQ(nullptr, db.GetPagRec(0));
}

TEST_F(TvskVerDbTest, NeverLoadedOrEmptyGivesNull)
{
    EXPECT_EQ(nullptr, db.GetReleaseVer());
    EXPECT_EQ(0, db.GetParNums());
    ASSERT_EQ(0, db.Create());
    EXPECT_EQ(-1, db.Create());
    EXPECT_EQ(1, db.IsOpen());
    EXPECT_EQ(nullptr, db.GetMotorsVer());
    db.Close();
    EXPECT_EQ(0, db.IsOpen());
}

TEST_F(TvskVerDbTest, LoadErrors)
{
    EXPECT_EQ(3, db.Load(dir.File("none.txt").c_str()));
    EXPECT_EQ(2, db.Load(dir.Write("bad.txt", "RELEASE \"1\"\nPAG \"TK40\"\n").c_str()));
    EXPECT_EQ(0, db.IsOpen());
    EXPECT_GE(db.GetErrorString().Find("\nL : 2\nT : 2"), 0);
}

TEST_F(TvskVerDbTest, CopiesShareTheFileAndCloseOnlyThemselves)
{
    ASSERT_EQ(0, db.Load(dir.Write("v.txt", "RELEASE \"9\"\n").c_str()));
    {
        CTvskVerDb copy(db);
        EXPECT_STREQ("9", copy.GetReleaseVer());
        copy.Close();
        EXPECT_EQ(nullptr, copy.GetReleaseVer());
    }
    EXPECT_STREQ("9", db.GetReleaseVer());
    CTvskVerDb assigned;
    assigned = db;
    db.Close();
    EXPECT_STREQ("9", assigned.GetReleaseVer());
}

class TvskLangDbTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const std::string path =
            dir.Write("Language.def", "LANG 0 \"ITA\"\nLANG 1 \"ENG\"\nLANG 1 \"DEU\"\nLANG 2 \"ENG\"\n");
        ASSERT_EQ(0, db.Load(path.c_str()));
    }

    CTestDir dir;
    CTvskLangDb db;
};

TEST_F(TvskLangDbTest, LookupsGiveTheFirstMatch)
{
    EXPECT_EQ(4, db.GetLanguagesNum());
    EXPECT_STREQ("ENG", db.GetLanguageNameFromId(1));
    EXPECT_EQ(1, db.GetLanguageIdFromName("ENG"));
    EXPECT_EQ(0, db.GetLanguageIdFromName("eng"));
    EXPECT_EQ(nullptr, db.GetLanguageNameFromId(7));
    EXPECT_STREQ("DEU", db.GetLanguageName(2));
    EXPECT_EQ(2, db.GetLanguageId(3));
}

TEST_F(TvskLangDbTest, OutOfRangeIndexes)
{
    EXPECT_EQ(-1, db.GetLanguageId(-1));
    EXPECT_EQ(nullptr, db.GetLanguageName(4));
    db.Close();
    EXPECT_EQ(0, db.GetLanguagesNum());
    EXPECT_EQ(nullptr, db.GetLanguageName(0));
    EXPECT_EQ(-1, db.GetLanguageId(0));
}

TEST_F(TvskLangDbTest, FailedLoadKeepsThePreviousList)
{
    EXPECT_EQ(3, db.Load(dir.File("none.def").c_str()));
    EXPECT_EQ(4, db.GetLanguagesNum());
    EXPECT_EQ(2, db.Load(dir.Write("bad.def", "LANG x \"ITA\"\n").c_str()));
    EXPECT_GE(db.GetErrorString().Find("\nL : 1\nT : 4"), 0);
    EXPECT_STREQ("ITA", db.GetLanguageName(0));
}

TEST_F(TvskLangDbTest, LongNamesAreCut)
{
    ASSERT_EQ(0, db.Load(dir.Write("long.def", "LANG 5 \"Italiano\"\n").c_str()));
    EXPECT_STREQ("Itali", db.GetLanguageName(0));
}

TEST_F(TvskLangDbTest, CopiesShareTheListAndCloseOnlyThemselves)
{
    CTvskLangDb copy(db);
    copy.Close();
    EXPECT_EQ(0, copy.GetLanguagesNum());
    EXPECT_STREQ("ITA", db.GetLanguageName(0));
    copy = db;
    db.Close();
    EXPECT_STREQ("ENG", copy.GetLanguageName(1));
}

} // namespace
