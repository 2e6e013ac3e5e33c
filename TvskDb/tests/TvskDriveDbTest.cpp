#include <TvskDb/TvskDriveDb.h>

#include "TvskDbTestSupport.h"

#include <gtest/gtest.h>

namespace
{

CString FirstKey(CMapStringToPtr* map)
{
    CString key;
    void* value = nullptr;
    POSITION pos = map ? map->GetStartPosition() : nullptr;
    if (pos)
        map->GetNextAssoc(pos, key, value);
    return key;
}

class TvskDriveDbTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_EQ(0, db.Load(TestData("Drives.db").c_str())) << db.GetErrorString(); }

    CTvskDriveDb db;
};

TEST_F(TvskDriveDbTest, TablesAndCountsComeFromTheFile)
{
    EXPECT_EQ(1, db.IsOpen());
    EXPECT_EQ("T1", db.GetVersion());
    EXPECT_EQ(7, db.GetRecordsNum());
    EXPECT_EQ(2, db.GetExtendedRecordsNum());
    EXPECT_EQ(1, db.GetDrivesTypesNum());
    EXPECT_EQ(11, db.GetDriveType(0)->lType);
    EXPECT_EQ(nullptr, db.GetDriveType(1));
    EXPECT_STREQ("BXS", db.GetDriveAlias(1)->szAlias);
    EXPECT_EQ(nullptr, db.GetDriveAlias(2));
    EXPECT_STREQ("XFAM", db.GetDriveFamily(0)->Family);
    EXPECT_EQ(nullptr, db.GetDriveFamily(1));
    ASSERT_EQ(3, db.GetMotorParRecNum());
    EXPECT_STREQ("b62.3", db.GetMotorParRec(2)->szMotPar);
    ASSERT_EQ(2, db.GetEncoderParRecNum());
    EXPECT_STREQ("Pr71", db.GetEncoderParRec(1)->szEncPar);
    EXPECT_EQ(nullptr, db.GetEncoderParRec(-1));
}

TEST_F(TvskDriveDbTest, FirstExtendedRowGivesTheInitialChoice)
{
    EXPECT_EQ("CX", db.GetCurrDrive());
    EXPECT_EQ("7", db.GetCurrCurrent());
    EXPECT_EQ("400", db.GetCurrVoltage());
    EXPECT_EQ("CX7-400", db.GetViewString());
    ASSERT_NE(nullptr, db.GetCurrRecord());
    EXPECT_EQ(31, db.GetCurrRecord()->dblD5);
}

TEST_F(TvskDriveDbTest, CascadeKeysAreUpperCaseAndShortRowsStayOut)
{
    CMapStringToPtr* types = db.GetDriveMap();
    void* value = nullptr;
    EXPECT_TRUE(types->Lookup("AX", value));
    EXPECT_FALSE(types->Lookup("ax", value));
    EXPECT_FALSE(types->Lookup("SHORT", value));
    EXPECT_EQ(4, types->GetCount());
}

TEST_F(TvskDriveDbTest, FallbacksTakeTheFirstKeysInHashOrder)
{
    // "20" hashes into an earlier bucket than "10", so it comes first whatever the file order.
    db.SetCurrDrive("AX");
    EXPECT_EQ("20", db.GetCurrCurrent());
    EXPECT_EQ("400", db.GetCurrVoltage());
    EXPECT_EQ(13, db.GetCurrRecord()->dblD5);
    // "8" and "16" share a bucket: the one added last comes first.
    db.SetCurrDrive("QX");
    EXPECT_EQ("16", db.GetCurrCurrent());
    EXPECT_EQ("16", FirstKey(db.GetCurrentMap()));
}

TEST_F(TvskDriveDbTest, ChoosingACurrentKeepsItAndSwitchesVoltage)
{
    db.SetCurrDrive("AX");
    db.SetCurrCurrent("10");
    db.SetCurrVoltage("230");
    EXPECT_EQ(12, db.GetCurrRecord()->dblD5);
    db.SetCurrCurrent("20");
    EXPECT_EQ("20", db.GetCurrCurrent());
    EXPECT_EQ("400", db.GetCurrVoltage());
    EXPECT_EQ(13, db.GetCurrRecord()->dblD5);
    db.SetCurrVoltage("115");
    EXPECT_EQ(nullptr, db.GetCurrRecord());
    EXPECT_EQ("AX20-115", db.GetViewString());
}

TEST_F(TvskDriveDbTest, SetCurrDriveBoolAnswersWhetherARecordMatched)
{
    EXPECT_EQ(1, db.SetCurrDriveBool("BX"));
    EXPECT_EQ("BX5-400", db.GetViewString());
    EXPECT_EQ(0, db.SetCurrDriveBool("NOPE"));
    EXPECT_EQ(nullptr, db.GetCurrRecord());
}

// A definition of four parts puts its first three in the cascade, which then names a current and
// a voltage that no record stands for: the answer still says the cascade supplied them.
TEST(TvskDriveDbCascadeTest, SetCurrDriveBoolAnswersOneWhenTheCascadeSuppliedWithoutARecord)
{
    CTestDir dir;
    const std::string path = dir.Write("Drives.db", "VER\t\"T2\"\n"
                                                    "D\t\"AX^10^400\"\t0\t0\t0\t0\t0\t11\n"
                                                    "D\t\"DX^5^230^B\"\t0\t0\t0\t0\t0\t61\n");
    CTvskDriveDb db;
    ASSERT_EQ(0, db.Load(path.c_str())) << db.GetErrorString();
    EXPECT_EQ(1, db.SetCurrDriveBool("DX"));
    EXPECT_EQ(nullptr, db.GetCurrRecord());
    EXPECT_EQ("DX5-230", db.GetViewString());
    EXPECT_EQ(0, db.SetCurrDriveBool("NOPE")) << "nothing supplied";
}

TEST_F(TvskDriveDbTest, LowerCaseTypeFindsTheRecordThroughTheParameterString)
{
    db.SetCurrDrive("AX");
    db.SetCurrCurrent("10");
    db.SetCurrVoltage("400");
    db.SetCurrDrive("ax");
    EXPECT_EQ("ax", db.GetCurrDrive());
    ASSERT_NE(nullptr, db.GetCurrRecord());
    // The extended row replaced the older row of the same definition.
    EXPECT_EQ(14, db.GetCurrRecord()->dblD5);
    EXPECT_EQ(nullptr, db.GetCurrentMap());
    EXPECT_EQ(nullptr, db.GetVoltageMap());
}

TEST_F(TvskDriveDbTest, ChangingTheChoiceCarriesTheLastFourValues)
{
    db.SetCurrDrive("AX");
    db.SetCurrCurrent("10");
    db.GetCurrRecord()->dblD16 = 5;
    db.GetCurrRecord()->dblD19 = 6;
    db.SetCurrVoltage("230");
    EXPECT_EQ(12, db.GetCurrRecord()->dblD5);
    EXPECT_EQ(5, db.GetCurrRecord()->dblD16);
    EXPECT_EQ(6, db.GetCurrRecord()->dblD19);
}

TEST_F(TvskDriveDbTest, SavedChoiceComesBack)
{
    db.SetCurrDrive("BX");
    db.SetCurrDriveData(false);
    db.SetCurrDrive("AX");
    db.SetCurrDriveData(true);
    EXPECT_EQ("BX5-400", db.GetViewString());
    EXPECT_EQ(21, db.GetCurrRecord()->dblD5);
}

TEST_F(TvskDriveDbTest, SelectionByDriveCode)
{
    EXPECT_TRUE(db.SelectCurrRecordFromType(21));
    EXPECT_EQ("BX", db.GetCurrDrive());
    EXPECT_EQ(21, db.GetCurrRecord()->dblD5);
    // Older rows are searched first, even when an extended row replaced them in the cascade.
    EXPECT_TRUE(db.SelectCurrRecordFromType(11));
    EXPECT_EQ(11, db.GetCurrRecord()->dblD5);
    EXPECT_EQ("AX10-400", db.GetViewString());
    EXPECT_TRUE(db.SelectCurrRecordFromType(14));
    EXPECT_EQ(14, db.GetCurrRecord()->dblD5);
    EXPECT_FALSE(db.SelectCurrRecordFromType(99));
    EXPECT_EQ(nullptr, db.GetCurrRecord());
}

TEST_F(TvskDriveDbTest, PicturesFollowTheTypeAsWrittenAndExtendedRowsWin)
{
    EXPECT_EQ("AX.png", db.GetDriveImage("AX^10^230"));
    EXPECT_EQ("ax1.png", db.GetDriveImage("AX^10^400"));
    EXPECT_EQ("", db.GetDriveImage("ax^10^400"));
    EXPECT_EQ("", db.GetDriveImage("SHORT^1"));
    EXPECT_EQ("", db.GetDriveImage("BX^5^400"));
    EXPECT_EQ("cx.png", db.GetCurrDriveImage());
}

TEST_F(TvskDriveDbTest, DriveWithMotorLooksAtExtendedRowsOnly)
{
    EXPECT_TRUE(db.IsDriveWithMotor(""));
    EXPECT_TRUE(db.IsDriveWithMotor("CX^7^400"));
    EXPECT_FALSE(db.IsDriveWithMotor("AX^10^400"));
    EXPECT_FALSE(db.IsDriveWithMotor("BX^5^400"));
}

TEST_F(TvskDriveDbTest, CloseForgetsEverything)
{
    db.Close();
    EXPECT_EQ(0, db.IsOpen());
    EXPECT_EQ("n/a", db.GetVersion());
    EXPECT_EQ(0, db.GetRecordsNum());
    EXPECT_EQ(nullptr, db.GetDriveType(0));
    EXPECT_EQ(nullptr, db.GetCurrRecord());
    EXPECT_EQ("", db.GetViewString());
    EXPECT_TRUE(db.GetDriveMap()->IsEmpty());
    EXPECT_EQ("", db.GetDriveImage("AX^10^230"));
    EXPECT_FALSE(db.SelectCurrRecordFromType(21));
}

TEST(TvskDriveDbLoadTest, FileWithoutVersionOrRows)
{
    CTestDir dir;
    CTvskDriveDb db;
    ASSERT_EQ(0, db.Load(dir.Write("empty.db", "; nothing\n").c_str()));
    EXPECT_EQ("n/a", db.GetVersion());
    EXPECT_EQ(nullptr, db.GetCurrRecord());
    EXPECT_EQ("", db.GetViewString());
}

TEST(TvskDriveDbLoadTest, LoadErrors)
{
    CTestDir dir;
    CTvskDriveDb db;
    EXPECT_EQ(3, db.Load(dir.File("missing.db").c_str()));
    EXPECT_EQ(0, db.IsOpen());
    EXPECT_EQ(2, db.Load(dir.Write("bad.db", "VER \"1\"\nD1 \"A^1^2\"\n").c_str()));
    EXPECT_EQ(0, db.IsOpen());
    EXPECT_GE(db.GetErrorString().Find("\nL : 2\nT : 2\nInfo : "), 0);
}

} // namespace
