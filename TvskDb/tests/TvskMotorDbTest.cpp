#include <TvskDb/TvskMotorDb.h>

#include "TvskDbTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

namespace
{

class TvskMotorDbTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::filesystem::copy_file(TestData("CustomMotor.db"), dir.File("CustomMotor.db"));
        ASSERT_EQ(0, Load(dir.File("CustomMotor.db"))) << db.GetErrorString();
    }

    int Load(const std::string& customPath)
    {
        return db.Load(TestData("Motor.db").c_str(), customPath.c_str());
    }

    CTestDir dir;
    CTvskMotorDb db;
};

TEST_F(TvskMotorDbTest, MergedSetLeavesOutShortDefinitions)
{
    EXPECT_TRUE(db.IsOpen());
    EXPECT_EQ("M1", db.GetVersion());
    EXPECT_EQ(7, db.GetRecordsNum(1));
    EXPECT_EQ(4, db.GetRecordsNum(2));
    EXPECT_EQ(6 + 3, db.GetRecordsNum(0));
    EXPECT_EQ(0, db.GetRecordsNum(3));
    EXPECT_EQ(nullptr, db.GetRecord(9, 0));
    for (int i = 0; i < db.GetRecordsNum(0); ++i)
        EXPECT_STRNE("ABC^1^2^3", db.GetRecord(i, 0)->szMotorDef);
    void* value = nullptr;
    EXPECT_FALSE(db.GetTypeMap()->Lookup("ABC", value));
}

TEST_F(TvskMotorDbTest, PartsAreSplitIntoEveryLoadedSet)
{
    const DBMOTORDB* custom = db.GetRecord(1, 2);
    EXPECT_STREQ("MX", custom->szType);
    EXPECT_STREQ("3.2", custom->szTorque);
    EXPECT_STREQ("400", custom->szVoltage);
    EXPECT_STREQ("MB", db.GetRecord(0, 1)->szType);
}

TEST_F(TvskMotorDbTest, LongPartIsCutAndItsRecordCannotBeChosen)
{
    void* value = nullptr;
    ASSERT_TRUE(db.GetTypeMap()->Lookup("LONGTYPENAME", value));
    db.SetCurrType("LONGTYPENAME");
    EXPECT_EQ("1", db.GetCurrSize());
    EXPECT_EQ(nullptr, db.GetCurrRecord());
}

TEST_F(TvskMotorDbTest, CustomMotorsShareTheCustomPicturePerType)
{
    EXPECT_EQ("mb.png", db.GetMotorImage("MB"));
    EXPECT_EQ("cust2.png", db.GetMotorImage("MX"));
    EXPECT_EQ("cust2.png", db.GetMotorImage("MY"));
    EXPECT_EQ("", db.GetMotorImage("custom"));
    EXPECT_EQ("", db.GetMotorImage("CUSTOM"));
    EXPECT_EQ("", db.GetMotorImage("mx"));
}

TEST_F(TvskMotorDbTest, FirstMotorGivesTheInitialChoice)
{
    EXPECT_EQ("MB", db.GetCurrType());
    EXPECT_EQ("230", db.GetCurrVoltage());
    EXPECT_EQ(101, db.GetCurrRecord()->dblD12);
    EXPECT_FALSE(db.IsEncoder());
    EXPECT_EQ("MB_56_3000_0.6...230", db.GetViewString());
}

TEST_F(TvskMotorDbTest, ChoosingASizeKeepsTypeAndSize)
{
    db.SetCurrSize("71");
    EXPECT_EQ("MB", db.GetCurrType());
    EXPECT_EQ("71", db.GetCurrSize());
    EXPECT_EQ("3000", db.GetCurrVel());
    EXPECT_EQ("1.3", db.GetCurrTorque());
    EXPECT_EQ("400", db.GetCurrVoltage());
    ASSERT_NE(nullptr, db.GetCurrRecord());
    EXPECT_EQ(103, db.GetCurrRecord()->dblD12);
    EXPECT_TRUE(db.IsEncoder());
    EXPECT_EQ("MBA_71_3000_1.3...400\t-", db.GetViewString());
    db.SetCurrEncoder("TTL1024");
    db.CreateViewString();
    EXPECT_EQ("MBA_71_3000_1.3...400\tTTL1024", db.GetViewString());
}

TEST_F(TvskMotorDbTest, LevelMapsFollowTheChoice)
{
    EXPECT_EQ(2, db.GetSizeMap()->GetCount());
    EXPECT_EQ(2, db.GetVelMap()->GetCount());
    EXPECT_EQ(1, db.GetTorqueMap()->GetCount());
    EXPECT_EQ(2, db.GetVoltageMap()->GetCount());
    db.SetCurrType("NONE");
    EXPECT_EQ(nullptr, db.GetSizeMap());
    EXPECT_EQ(nullptr, db.GetVoltageMap());
}

TEST_F(TvskMotorDbTest, SelectionByMotorCode)
{
    ASSERT_TRUE(db.SelectCurrRecordFromType(104));
    EXPECT_EQ("4500", db.GetCurrVel());
    EXPECT_EQ(104, db.GetCurrRecord()->dblD12);
    EXPECT_FALSE(db.SelectCurrRecordFromType(999));
    EXPECT_EQ(nullptr, db.GetCurrRecord());
    ASSERT_TRUE(db.SelectCurrRecordFromType(30002));
    EXPECT_EQ("MX_80_3000_3.2...400\t-", db.GetViewString());
    EXPECT_EQ(1, db.GetCurrRecord()->dblD17);
}

TEST_F(TvskMotorDbTest, EncoderSelection)
{
    EXPECT_EQ(2, db.GetEncNumRecs());
    EXPECT_STREQ("SC2048", db.GetEncRecord(1)->szCodVrn);
    EXPECT_EQ(nullptr, db.GetEncRecord(2));
    db.SetCurrSize("71");
    EXPECT_TRUE(db.SelectCurrEncRecordFromType(10, true));
    EXPECT_STREQ("SC2048", db.GetCurrEncoder()->szCodVrn);
    EXPECT_EQ("MBA_71_3000_1.3...400\tSC2048", db.GetViewString());
    EXPECT_EQ("10", db.GetCurrEncodValue(1));
    EXPECT_EQ("", db.GetCurrEncodValue(9));
    EXPECT_FALSE(db.SelectCurrEncRecordFromType(10, false));
    EXPECT_EQ(nullptr, db.GetCurrEncoder());
    db.SetCurrEncoder("TTL1024");
    EXPECT_EQ("M23", db.GetCurrEncodValue(8));
    db.SetCurrEncoder("ttl1024");
    EXPECT_EQ(nullptr, db.GetCurrEncoder());
}

TEST_F(TvskMotorDbTest, SavedChoiceComesBackAndClearEmptiesIt)
{
    db.SetCurrType("MA");
    db.SetCurrMotorData(false, false);
    db.SetCurrType("MB");
    db.SetCurrMotorData(true, false);
    EXPECT_EQ("MA", db.GetCurrType());
    EXPECT_EQ(301, db.GetCurrRecord()->dblD12);
    db.SetCurrMotorData(false, true);
    EXPECT_EQ("", db.GetCurrType());
    EXPECT_EQ(nullptr, db.GetCurrRecord());
    db.SetCurrMotorData(true, false);
    EXPECT_EQ("", db.GetCurrType());
}

TEST_F(TvskMotorDbTest, CustomSetInsertRemoveSaveAndReload)
{
    ASSERT_TRUE(db.InsertRecord(2));
    DBMOTORDB* added = db.GetRecord(4, 2);
    ASSERT_NE(nullptr, added);
    std::strcpy(added->szType, "MZ");
    std::strcpy(added->szSize, "100");
    std::strcpy(added->szSpeed, "2000");
    std::strcpy(added->szTorque, "9");
    std::strcpy(added->szVoltage, "400");
    added->dblD12 = 30100;
    db.GetRecord(0, 2)->dblD1 = 2.5;
    ASSERT_TRUE(db.Save(2));

    EXPECT_EQ(5, db.GetRecordsNum(2));
    EXPECT_STREQ("MZ^100^2000^9^400", db.GetRecord(4, 2)->szMotorDef);
    EXPECT_EQ(2.5, db.GetRecord(0, 2)->dblD1);
    EXPECT_TRUE(db.SelectCurrRecordFromType(30100));
    EXPECT_EQ("cust2.png", db.GetCurrMotorImage());
    EXPECT_EQ("M1", db.GetVersion());
    EXPECT_STREQ("MB", db.GetRecord(0, 0)->szType);

    ASSERT_TRUE(db.RemoveRecord(2));
    ASSERT_TRUE(db.RemoveRecord(2));
    ASSERT_TRUE(db.Save(2));
    CTvskMotorDb reloaded;
    ASSERT_EQ(0, reloaded.Load(TestData("Motor.db").c_str(), dir.File("CustomMotor.db").c_str()));
    EXPECT_EQ(3, reloaded.GetRecordsNum(2));
    EXPECT_EQ(6 + 3, reloaded.GetRecordsNum(0));
}

TEST_F(TvskMotorDbTest, RebuiltDefinitionIsCutToItsField)
{
    ASSERT_TRUE(db.InsertRecord(2));
    DBMOTORDB* added = db.GetRecord(4, 2);
    for (char* part : {added->szType, added->szSize, added->szSpeed, added->szTorque, added->szVoltage})
        std::strcpy(part, "123456789012");
    ASSERT_TRUE(db.Save(2));
    EXPECT_EQ(60u, std::strlen(db.GetRecord(4, 2)->szMotorDef));
}

TEST_F(TvskMotorDbTest, EditingNeedsAnExistingSetOfItsOwn)
{
    EXPECT_FALSE(db.InsertRecord(3));
    EXPECT_FALSE(db.RemoveRecord(3));
    EXPECT_FALSE(db.Save(0));
    EXPECT_FALSE(db.Save(3));
}

TEST_F(TvskMotorDbTest, MergedSetStaysConsistentWhenEdited)
{
    db.SelectCurrRecordFromType(102);
    const long count = db.GetRecordsNum(0);
    for (int i = 0; i < 20; ++i)
        ASSERT_TRUE(db.InsertRecord(0));
    ASSERT_NE(nullptr, db.GetCurrRecord());
    EXPECT_EQ(102, db.GetCurrRecord()->dblD12);
    db.SetCurrVoltage("230");
    EXPECT_EQ(101, db.GetCurrRecord()->dblD12);
    for (int i = 0; i < 20; ++i)
        ASSERT_TRUE(db.RemoveRecord(0));
    EXPECT_EQ(count, db.GetRecordsNum(0));
    EXPECT_TRUE(db.SelectCurrRecordFromType(30003));
    ASSERT_TRUE(db.RemoveRecord(0));
    EXPECT_EQ(nullptr, db.GetCurrRecord());
}

TEST(TvskMotorDbLoadTest, FailedSaveKeepsTheEditsAndAnswersFalse)
{
    CTestDir dir;
    std::filesystem::create_directory(dir.File("user"));
    const std::string custom = dir.File("user/CustomMotor.db");
    std::filesystem::copy_file(TestData("CustomMotor.db"), custom);
    CTvskMotorDb db;
    ASSERT_EQ(0, db.Load(TestData("Motor.db").c_str(), custom.c_str()));
    std::filesystem::remove_all(dir.File("user"));
    ASSERT_TRUE(db.InsertRecord(2));
    EXPECT_FALSE(db.Save(2));
    EXPECT_EQ(5, db.GetRecordsNum(2));
    EXPECT_TRUE(db.IsOpen());
}

TEST(TvskMotorDbLoadTest, MissingCustomFileIsNoError)
{
    CTestDir dir;
    CTvskMotorDb db;
    ASSERT_EQ(0, db.Load(TestData("Motor.db").c_str(), dir.File("CustomMotor.db").c_str()));
    EXPECT_EQ(0, db.GetRecordsNum(2));
    EXPECT_EQ(nullptr, db.GetRecord(0, 2));
    EXPECT_FALSE(db.RemoveRecord(2));
    EXPECT_EQ(6, db.GetRecordsNum(0));
    // A custom set can be started without a file.
    ASSERT_TRUE(db.InsertRecord(2));
    std::strcpy(db.GetRecord(0, 2)->szType, "NEW");
    ASSERT_TRUE(db.Save(2));
    EXPECT_EQ(1, db.GetRecordsNum(2));
    EXPECT_EQ(7, db.GetRecordsNum(0));
    EXPECT_NE(std::string::npos, ReadFile(dir.File("CustomMotor.db")).find("\"NEW^^^^\""));
}

TEST(TvskMotorDbLoadTest, AnEmptyCustomFileMeansNoCustomSet)
{
    CTestDir dir;
    const std::string custom = dir.Write("CustomMotor.db", "");
    CTvskMotorDb db;
    ASSERT_EQ(0, db.Load(TestData("Motor.db").c_str(), custom.c_str())) << db.GetErrorString();
    EXPECT_TRUE(db.IsOpen());
    EXPECT_EQ(0, db.GetRecordsNum(2));
    EXPECT_EQ(6, db.GetRecordsNum(0)) << "the standard motors";
    ASSERT_NE(nullptr, db.GetCurrRecord());
    // The user's first motor then starts the file.
    ASSERT_TRUE(db.InsertRecord(2));
    std::strcpy(db.GetRecord(0, 2)->szType, "NEW");
    ASSERT_TRUE(db.Save(2));
    EXPECT_EQ(1, db.GetRecordsNum(2));
}

// A file edited by hand may end without a line end; its last row is a row as it stands, the
// last number included, in every section.
TEST(TvskMotorDbLoadTest, TheCustomFilesLastRowNeedsNoLineEnd)
{
    CTestDir dir;
    CTvskMotorDb db;
    const std::string numberLast = dir.Write(
        "CustomMotor.db", "M\t\"MX^80^3000^2.2^400\"\t8\t2\t0\t0\t0\t0\t0\t1\t0\t0\t2048\t0\t30001");
    ASSERT_EQ(0, db.Load(TestData("Motor.db").c_str(), numberLast.c_str())) << db.GetErrorString();
    ASSERT_EQ(1, db.GetRecordsNum(2));
    EXPECT_EQ(30001, db.GetRecord(0, 2)->dblD12);
    EXPECT_EQ(7, db.GetRecordsNum(0));
    const std::string quotedLast = dir.Write("CustomMotor.db", "M\t\"MY^1^2^3^4\"\r\nM\t\"MZ^1^2^3^4\"");
    ASSERT_EQ(0, db.Load(TestData("Motor.db").c_str(), quotedLast.c_str())) << db.GetErrorString();
    EXPECT_EQ(2, db.GetRecordsNum(2));
    // The standard file is the program's own: one cut short is still refused.
    const std::string cut = dir.Write("Motor.db", "M\t\"A^1^2^3^4\"\t8\t2");
    EXPECT_EQ(2, db.Load(cut.c_str(), quotedLast.c_str()));
    EXPECT_FALSE(db.IsOpen());
}

TEST(TvskMotorDbLoadTest, CustomMotorsHaveNoPictureWithoutACustomRow)
{
    CTestDir dir;
    const std::string standard = dir.Write("Motor.db", "M \"A^1^2^3^4\"\nIMG \"A\" \"a.png\"\n");
    const std::string custom = dir.Write("Custom.db", "M \"B^1^2^3^4\"\n");
    CTvskMotorDb db;
    ASSERT_EQ(0, db.Load(standard.c_str(), custom.c_str()));
    EXPECT_EQ("a.png", db.GetMotorImage("A"));
    EXPECT_EQ("", db.GetMotorImage("B"));
    EXPECT_EQ("n/a", db.GetVersion());
}

TEST(TvskMotorDbLoadTest, LoadErrors)
{
    CTestDir dir;
    CTvskMotorDb db;
    EXPECT_EQ(3, db.Load(dir.File("none.db").c_str(), TestData("CustomMotor.db").c_str()));
    EXPECT_FALSE(db.IsOpen());
    const std::string bad = dir.Write("bad.db", "M \"A^1^2^3^4\" 1 2 x\n");
    EXPECT_EQ(2, db.Load(TestData("Motor.db").c_str(), bad.c_str()));
    EXPECT_FALSE(db.IsOpen());
    EXPECT_GE(db.GetErrorString().Find("bad.db\nL : 1\nT : 5"), 0);
    EXPECT_EQ(2, db.Load(bad.c_str(), TestData("CustomMotor.db").c_str()));
    db.Close();
    EXPECT_EQ("n/a", db.GetVersion());
    EXPECT_EQ(0, db.GetRecordsNum(0));
}

} // namespace
