// Every file shipped in the program folder loads and agrees with the others.
#include <TvskDb/TvskDataDb.h>
#include <TvskDb/TvskDriveDb.h>
#include <TvskDb/TvskLangDb.h>
#include <TvskDb/TvskMotorDb.h>
#include <TvskDb/TvskParDb.h>
#include <TvskDb/TvskStringDb.h>
#include <TvskDb/TvskVerDb.h>

#include "TvskDbTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

namespace
{

TEST(SampleDataTest, DrivesOfTheFamilyLoad)
{
    CTvskDriveDb drives;
    ASSERT_EQ(0, drives.Load(SampleData("Drives.db").c_str())) << drives.GetErrorString();
    void* value = nullptr;
    EXPECT_TRUE(drives.GetDriveMap()->Lookup("TK20", value));
    EXPECT_TRUE(drives.GetDriveMap()->Lookup("TK40", value));
    ASSERT_NE(nullptr, drives.GetCurrRecord());
    for (const char* type : {"TK20", "TK40"})
    {
        EXPECT_EQ(1, drives.SetCurrDriveBool(type)) << type;
        EXPECT_GE(drives.GetCurrentMap()->GetCount(), 2) << type;
        EXPECT_NE("", drives.GetCurrDriveImage()) << type;
    }
    // Every reported drive code selects a drive of the type its code row names.
    for (long i = 0; i < drives.GetDrivesTypesNum(); ++i)
    {
        const DBDRIVETYPE* type = drives.GetDriveType(i);
        ASSERT_TRUE(drives.SelectCurrRecordFromType(type->lType)) << type->lType;
        EXPECT_EQ(CString(type->szName), drives.GetCurrDrive());
    }
    EXPECT_STREQ("TKSERIES", drives.GetDriveFamily(0)->Family);
    EXPECT_STREQ("TK40", drives.GetDriveFamily(0)->DriveName);
    EXPECT_EQ(2, drives.GetMotorParRecNum());
    EXPECT_EQ(2, drives.GetEncoderParRecNum());
}

// Each drive type's parameter file lies in its family's folder (or its own) and holds the
// parameters that carry the motor, encoder and drive codes.
TEST(SampleDataTest, ParameterFilesMatchTheDrives)
{
    CTvskDriveDb drives;
    ASSERT_EQ(0, drives.Load(SampleData("Drives.db").c_str()));
    ASSERT_EQ(drives.GetMotorParRecNum(), drives.GetEncoderParRecNum());
    for (long i = 0; i < drives.GetMotorParRecNum(); ++i)
    {
        const CString type = drives.GetMotorParRec(i)->szType;
        CString folder = type;
        for (long f = 0; f < drives.GetDrivesFamilyNum(); ++f)
            if (type == drives.GetDriveFamily(f)->DriveName)
                folder = drives.GetDriveFamily(f)->Family;
        const std::string path = SampleData(folder.str() + "/" + type.str() + ".par");
        CTvskParDb parameters;
        ASSERT_EQ(0, parameters.Load(path.c_str())) << path << parameters.GetErrorString();
        EXPECT_NE(nullptr, parameters.GetPar(drives.GetMotorParRec(i)->szMotPar, true)) << path;
        EXPECT_STREQ(type, drives.GetEncoderParRec(i)->szType);
        EXPECT_NE(nullptr, parameters.GetPar(drives.GetEncoderParRec(i)->szEncPar, true)) << path;
        // The drive code parameter's default is a code of this type.
        const DBCMD* driveType = parameters.GetCmdPar("DriveType");
        ASSERT_NE(nullptr, driveType) << path;
        const DBPAR* code = parameters.GetPar(driveType->szID, true);
        ASSERT_NE(nullptr, code) << path;
        ASSERT_TRUE(drives.SelectCurrRecordFromType(static_cast<long>(code->dblDefVal))) << path;
        EXPECT_EQ(type, drives.GetCurrDrive());
    }
}

TEST(SampleDataTest, MotorsAndEncodersLoad)
{
    CTvskMotorDb motors;
    ASSERT_EQ(0, motors.Load(SampleData("Motor.db").c_str(), SampleData("CustomMotor.db").c_str()))
        << motors.GetErrorString();
    EXPECT_GE(motors.GetRecordsNum(1), 12);
    EXPECT_EQ(motors.GetRecordsNum(1) + motors.GetRecordsNum(2), motors.GetRecordsNum(0));
    EXPECT_GE(motors.GetTypeMap()->GetCount(), 3);
    EXPECT_GE(motors.GetEncNumRecs(), 4);
    std::set<std::string> codes;
    for (long i = 0; i < motors.GetRecordsNum(0); ++i)
    {
        const DBMOTORDB* motor = motors.GetRecord(static_cast<int>(i), 0);
        EXPECT_TRUE(codes.insert(std::to_string(motor->dblD12)).second) << motor->szMotorDef;
        EXPECT_NE("", motors.GetMotorImage(motor->szType)) << motor->szMotorDef;
        if (i >= motors.GetRecordsNum(1))
        {
            EXPECT_GE(motor->dblD12, 30000) << motor->szMotorDef;
        }
    }
    for (int i = 0; i < motors.GetEncNumRecs(); ++i)
        EXPECT_TRUE(motors.SelectCurrEncRecordFromType(std::atoi(motors.GetEncRecord(i)->stE1), true));
}

TEST(SampleDataTest, VersionsMatchTheDatabases)
{
    CTvskVerDb versions;
    ASSERT_EQ(0, versions.Load(SampleData("Versions.txt").c_str())) << versions.GetErrorString();
    CTvskDriveDb drives;
    ASSERT_EQ(0, drives.Load(SampleData("Drives.db").c_str()));
    CTvskMotorDb motors;
    ASSERT_EQ(0, motors.Load(SampleData("Motor.db").c_str(), SampleData("CustomMotor.db").c_str()));
    EXPECT_EQ(drives.GetVersion(), versions.GetDrivesVer());
    EXPECT_EQ(motors.GetVersion(), versions.GetMotorsVer());
    EXPECT_NE(nullptr, versions.GetReleaseVer());
    EXPECT_NE(nullptr, versions.GetProgramVer());
    EXPECT_EQ(3, versions.GetParNums());
    EXPECT_EQ(6, versions.GetPagNums());
}

TEST(SampleDataTest, EveryLanguageHasItsStringFileWithTheSameKeys)
{
    CTvskLangDb languages;
    ASSERT_EQ(0, languages.Load(SampleData("Language.def").c_str())) << languages.GetErrorString();
    EXPECT_STREQ("ITA", languages.GetLanguageNameFromId(0));
    EXPECT_STREQ("ENG", languages.GetLanguageNameFromId(1));
    CTvskStringDb italian;
    ASSERT_EQ(0, italian.Load(SampleData("ITA.str").c_str())) << italian.GetErrorString();
    for (int i = 0; i < languages.GetLanguagesNum(); ++i)
    {
        CTvskStringDb strings;
        const std::string file = std::string(languages.GetLanguageName(i)) + ".str";
        ASSERT_EQ(0, strings.Load(SampleData(file).c_str())) << file << strings.GetErrorString();
        for (unsigned long id : {2004ul, 2078ul, 8017ul, 8025ul, 12032ul, 12835ul, 12846ul})
        {
            CString text;
            EXPECT_EQ(1, strings.GetString(id, text, false)) << file << " " << id;
        }
    }
    CString text;
    ASSERT_EQ(1, italian.GetString(2078ul, text, false));
    EXPECT_GE(text.Find("\nProseguire?"), 0);
}

TEST(SampleDataTest, DefaultSessionLoads)
{
    CTvskDataDb session;
    ASSERT_EQ(0, session.Load(SampleData("Default.dat").c_str())) << session.GetErrorString();
    EXPECT_STREQ("ITA", session.GetLanguage());
    EXPECT_STREQ("VrnSer:0,200#COM:1,9600,E,8,1", session.GetCommSettings());
    EXPECT_EQ(nullptr, session.GetDriveData());
}

} // namespace
