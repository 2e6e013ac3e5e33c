#include <TvskDb/TvskDataDb.h>

#include "TvskDbTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>

namespace
{

DBDRIVEDB Drive(const char* definition)
{
    DBDRIVEDB drive{};
    std::strcpy(drive.szDriveDef, definition);
    return drive;
}

DBMOTORDB Motor(const char* definition)
{
    DBMOTORDB motor{};
    std::strcpy(motor.szMotorDef, definition);
    return motor;
}

class TvskDataDbTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_EQ(0, db.Create()); }

    CTestDir dir;
    CTvskDataDb db;
};

TEST_F(TvskDataDbTest, EverySectionSurvivesSaveAndLoad)
{
    DBDRIVEDB drive = Drive("TK40^8^400");
    drive.dblD1 = 8;
    drive.dblD19 = -0.1;
    ASSERT_EQ(1, db.SetDriveData(&drive));
    DBMOTORDB motor = Motor("MB^71^3000^1.3^400");
    motor.dblD7 = 1;
    motor.dblD12 = 104;
    ASSERT_EQ(1, db.SetMotorData(&motor));
    DBMOTORENC encoder{};
    std::strcpy(encoder.szCodVrn, "TTL2048");
    std::strcpy(encoder.stE1, "2");
    std::strcpy(encoder.stE4, "Encoder \"incrementale\" 2048");
    ASSERT_EQ(1, db.SetEncoderData(&encoder));
    db.SetLanguage("ENG");
    db.SetCommSettings("VrnSer:1,500#COM:2,19200,N,8,1");
    db.SetValue("Pr10", 1.5, 2);
    db.SetValue("b3.4", -1e-7, -1);
    db.SetTmpValue("Pr200", "Temperatura; dissipatore", 41.25);
    db.SetMonitorPar("Pr5");
    db.SetInstruction(0, Plc("LD", 3, -1, -1));
    db.SetInstruction(1, Plc("COMM:avvio ciclo", -1, -1, -1));
    db.SetDescr("Pr101", "Velocita' massima \"utente\"");
    db.SetCammaData(0, 0.5, 1, 2);
    db.SetCammaData(1, 1e300, 0, 2);
    const DBSESSVAR var = Var("Offset", "12 mm");
    db.SetSessionVar(&var);
    const std::string path = dir.File("session.dat");
    ASSERT_EQ(0, db.Save(path.c_str()));

    CTvskDataDb loaded;
    ASSERT_EQ(0, loaded.Load(path.c_str())) << loaded.GetErrorString();
    EXPECT_STREQ("TK40^8^400", loaded.GetDrive());
    EXPECT_EQ(-0.1, loaded.GetDriveData()->dblD19);
    EXPECT_EQ("TK40", loaded.GetDriveType());
    EXPECT_EQ("8", loaded.GetDriveCurrent());
    EXPECT_EQ("400", loaded.GetDriveVoltage());
    EXPECT_EQ("TK40^8^400", loaded.GetDriveTypeComplete());
    EXPECT_STREQ("MB^71^3000^1.3^400", loaded.GetMotor());
    EXPECT_EQ("1.3", loaded.GetMotorTorque());
    EXPECT_EQ(104, loaded.GetMotorData()->dblD12);
    EXPECT_STREQ("Encoder \"incrementale\" 2048", loaded.GetEncoderData()->stE4);
    EXPECT_STREQ("ENG", loaded.GetLanguage());
    EXPECT_STREQ("VrnSer:1,500#COM:2,19200,N,8,1", loaded.GetCommSettings());
    ASSERT_EQ(2, loaded.GetValNums());
    EXPECT_EQ(-1e-7, loaded.GetValue(1)->dblValue);
    EXPECT_EQ(-1, loaded.GetValue(1)->iFormat);
    ASSERT_EQ(1, loaded.GetTmpValuesNum());
    EXPECT_STREQ("Temperatura; dissipatore", loaded.GetTmpValue(0)->szDescr);
    EXPECT_STREQ("Pr5", loaded.GetMonitorPar(0)->szID);
    ASSERT_EQ(2, loaded.GetInstrNums());
    EXPECT_STREQ("COMM:avvio ciclo", loaded.GetInstruction(1)->szIstr);
    EXPECT_EQ(3, loaded.GetInstruction(0)->iOperands[0]);
    EXPECT_EQ(-1, loaded.GetInstruction(0)->iOperands[2]);
    EXPECT_STREQ("Velocita' massima \"utente\"", loaded.GetDescr("Pr101"));
    double value = 0;
    int interp = -1;
    ASSERT_EQ(1, loaded.GetCammaData(1, value, interp, 2));
    EXPECT_EQ(1e300, value);
    EXPECT_EQ(0, interp);
    ASSERT_EQ(1, loaded.GetSessionVarNum());
    EXPECT_STREQ("12 mm", loaded.GetSessionVar(0)->szValue);
}

TEST_F(TvskDataDbTest, SectionsAreWrittenInRegistrationOrderWithTheirComments)
{
    const DBSESSVAR var = Var("A", "1");
    db.SetSessionVar(&var);
    db.SetLanguage("ITA");
    const DBDRIVEDB drive = Drive("TK20^5^230");
    db.SetDriveData(&drive);
    const std::string path = dir.File("order.dat");
    ASSERT_EQ(0, db.Save(path.c_str()));
    const std::string text = ReadFile(path);
    EXPECT_EQ(0u, text.find("#VERSION 1"));
    const size_t drivePos = text.find("\nDRIVE");
    const size_t langPos = text.find("\nLANG");
    const size_t svarPos = text.find("\nSVAR");
    EXPECT_LT(drivePos, langPos);
    EXPECT_LT(langPos, svarPos);
    EXPECT_NE(std::string::npos, text.find(";\tCustom variables definitions\n"));
}

TEST_F(TvskDataDbTest, LongIdentifiersAreCutAndFoundAgain)
{
    const char* longId = "ParametroMoltoLungo1"; // 20 characters
    ASSERT_EQ(1, db.SetValue(longId, 5.0, -1));
    ASSERT_EQ(1, db.SetValue(longId, 6.0, -1));
    ASSERT_EQ(1, db.GetValNums());
    EXPECT_STREQ("ParametroMoltoL", db.GetValue(0)->szID);
    EXPECT_EQ(6.0, db.GetValue(0)->dblValue);

    db.SetTmpValue(longId, "a", 1);
    db.SetTmpValue(longId, "b", 2);
    EXPECT_EQ(1, db.GetTmpValuesNum());
    db.SetMonitorPar(longId);
    EXPECT_EQ(1, db.SetMonitorPar(longId));
    EXPECT_EQ(1, db.GetMonitorParNums());
    db.SetDescr(longId, "uno");
    db.SetDescr(longId, "due");
    EXPECT_STREQ("due", db.GetDescr(longId));
}

TEST_F(TvskDataDbTest, TextsAreCutToTheirLimits)
{
    db.SetLanguage("Italiano");
    EXPECT_STREQ("Itali", db.GetLanguage());
    db.SetCommSettings(std::string(150, 'c').c_str());
    EXPECT_EQ(99u, std::strlen(db.GetCommSettings()));
    db.SetTmpValue("Pr1", std::string(250, 'd').c_str(), 1);
    EXPECT_EQ(199u, std::strlen(db.GetTmpValue(0)->szDescr));
    db.SetDescr("Pr1", std::string(400, 'e').c_str());
    EXPECT_EQ(299u, std::strlen(db.GetDescr("Pr1")));
    db.SetInstruction(0, Plc("LD", 1, 2, 3));
    DBPLC longInstruction = Plc("", 0, 0, 0);
    std::memset(longInstruction.szIstr, 'i', sizeof longInstruction.szIstr);
    db.SetInstruction(0, longInstruction);
    EXPECT_EQ(99u, std::strlen(db.GetInstruction(0)->szIstr));
    const DBSESSVAR var = Var("V", std::string(80, 'v').c_str());
    db.SetSessionVar(&var);
    DBSESSVAR longer = Var("V", "");
    std::memset(longer.szValue, 'w', sizeof longer.szValue);
    db.SetSessionVar(&longer);
    EXPECT_EQ(std::string(80, 'w'), db.GetSessionVar(0)->szValue);
}

TEST_F(TvskDataDbTest, RecordsHandedInWithoutTerminatorAreStoredTerminated)
{
    DBDRIVEDB drive{};
    std::memset(drive.szDriveDef, 'X', sizeof drive.szDriveDef);
    std::memset(drive.szImgPath, 'Y', sizeof drive.szImgPath);
    ASSERT_EQ(1, db.SetDriveData(&drive));
    EXPECT_EQ(60u, std::strlen(db.GetDrive()));
    EXPECT_EQ(260u, std::strlen(db.GetDriveData()->szImgPath));
    DBMOTORENC encoder{};
    std::memset(&encoder, 'E', sizeof encoder);
    db.SetEncoderData(&encoder);
    EXPECT_EQ(3u, std::strlen(db.GetEncoderData()->stE1));
    EXPECT_EQ(16u, std::strlen(db.GetEncoderData()->stE8));
    DBSESSVAR var{};
    std::memset(var.szVarName, 'n', sizeof var.szVarName);
    std::memset(var.szValue, 'v', sizeof var.szValue);
    db.SetSessionVar(&var);
    EXPECT_EQ(80u, std::strlen(db.GetSessionVar(0)->szVarName));
}

TEST_F(TvskDataDbTest, SingleRecordsAreReplaced)
{
    DBDRIVEDB first = Drive("D^10^400");
    DBDRIVEDB second = Drive("E^5^230");
    db.SetDriveData(&first);
    db.SetDriveData(&second);
    EXPECT_STREQ("E^5^230", db.GetDrive());
    EXPECT_EQ("E", db.GetDriveType());
    EXPECT_EQ(0, db.SetDriveData(nullptr));
    db.SetCommSettings("a");
    db.SetCommSettings("b");
    EXPECT_STREQ("b", db.GetCommSettings());
}

TEST_F(TvskDataDbTest, DefaultsWhenNothingIsStored)
{
    EXPECT_STREQ("VrnSer:0,200#COM:1,9600,E,8,1", db.GetCommSettings());
    EXPECT_STREQ("", db.GetLanguage());
    EXPECT_STREQ("", db.GetDrive());
    EXPECT_EQ(nullptr, db.GetDriveData());
    EXPECT_EQ(nullptr, db.GetDescr("Pr1"));
    EXPECT_EQ(nullptr, db.GetValue(0));
    EXPECT_EQ(nullptr, db.GetValue(-1));
}

TEST_F(TvskDataDbTest, ClosedDatabaseAnswersNeutrally)
{
    db.Close();
    EXPECT_EQ(0, db.IsOpen());
    EXPECT_EQ(0, db.SetValue("Pr1", 1, 0));
    EXPECT_EQ(0, db.SetLanguage("ITA"));
    EXPECT_EQ(0, db.GetValNums());
    EXPECT_STREQ("VrnSer:0,200#COM:1,9600,E,8,1", db.GetCommSettings());
    EXPECT_EQ(-1, db.Save(dir.File("x.dat").c_str()));
}

TEST_F(TvskDataDbTest, CreateTwiceIsRefused)
{
    EXPECT_EQ(-1, db.Create());
}

TEST_F(TvskDataDbTest, LoadErrorsAreReported)
{
    EXPECT_EQ(3, db.Load(dir.File("missing.dat").c_str()));
    EXPECT_EQ(0, db.IsOpen());
    const std::string bad = dir.Write("bad.dat", "LANG \"ITA\"\n\nVAL \"Pr1\" abc\n");
    EXPECT_EQ(2, db.Load(bad.c_str()));
    EXPECT_EQ(0, db.IsOpen());
    const CString error = db.GetErrorString();
    EXPECT_EQ(0, error.Find("\nFile : "));
    EXPECT_GE(error.Find("bad.dat"), 0);
    EXPECT_GE(error.Find("\nL : 3\nT : 5\nInfo : "), 0);
    ASSERT_EQ(0, db.Load(dir.Write("good.dat", "LANG \"ENG\"\n").c_str()));
    EXPECT_EQ("", db.GetErrorString());
}

TEST_F(TvskDataDbTest, FailedSaveAnswersFour)
{
    EXPECT_EQ(4, db.Save(dir.File("no/such/folder/x.dat").c_str()));
}

TEST_F(TvskDataDbTest, FailedLoadLeavesEmptySelection)
{
    const DBDRIVEDB drive = Drive("TK20^5^230");
    db.SetDriveData(&drive);
    db.SetDriveImg("TK20.jpg");
    EXPECT_EQ(3, db.Load(dir.File("missing.dat").c_str()));
    EXPECT_EQ("", db.GetDriveType());
    EXPECT_EQ("", db.GetDriveImg());
}

TEST_F(TvskDataDbTest, InstructionsAreOverwrittenOrAppendedAtTheEnd)
{
    EXPECT_EQ(1, db.SetInstruction(0, Plc("LD", 1, -1, -1)));
    EXPECT_EQ(1, db.SetInstruction(1, Plc("OUT", 2, -1, -1)));
    EXPECT_EQ(0, db.SetInstruction(3, Plc("X", 0, 0, 0)));
    EXPECT_EQ(0, db.SetInstruction(-1, Plc("X", 0, 0, 0)));
    EXPECT_EQ(1, db.SetInstruction(0, Plc("LDN", 7, 8, 9)));
    ASSERT_EQ(2, db.GetInstrNums());
    EXPECT_STREQ("LDN", db.GetInstruction(0)->szIstr);
    EXPECT_EQ(9, db.GetInstruction(0)->iOperands[2]);
    db.ResetDataPlc();
    EXPECT_EQ(0, db.GetInstrNums());
}

TEST_F(TvskDataDbTest, CamPointsAreKeyedByIndexAndCam)
{
    EXPECT_EQ(0, db.SetCammaData(3, 1.5, 0, 1));
    EXPECT_EQ(1, db.SetCammaData(3, 2.5, 1, 1));
    EXPECT_EQ(1, db.GetCammaNums());
    double value = -1;
    int interp = -1;
    EXPECT_EQ(0, db.GetCammaData(3, value, interp, 2));
    EXPECT_EQ(-1, value);
    EXPECT_EQ(1, db.GetCammaData(3, value, interp, 1));
    EXPECT_EQ(2.5, value);
    EXPECT_EQ(1, interp);
}

TEST_F(TvskDataDbTest, TemporaryValueKeepsItsDescription)
{
    db.SetTmpValue("Pr7", "Corrente", 1.0);
    db.SetTmpValue("Pr7", "Altro", 2.0);
    EXPECT_STREQ("Corrente", db.GetTmpValue(0)->szDescr);
    EXPECT_EQ(2.0, db.GetTmpValue(0)->dblValue);
}

TEST_F(TvskDataDbTest, MonitorListsAnIdOnce)
{
    EXPECT_EQ(1, db.SetMonitorPar("Pr1"));
    EXPECT_EQ(1, db.SetMonitorPar("Pr1"));
    EXPECT_EQ(1, db.SetMonitorPar("pr1"));
    EXPECT_EQ(2, db.GetMonitorParNums());
    db.ResetMonitor();
    EXPECT_EQ(0, db.GetMonitorParNums());
}

TEST_F(TvskDataDbTest, DisplayStrings)
{
    DBMOTORDB motor = Motor("M1^80^3000^2^400");
    motor.dblD16 = 1;
    db.SetMotorData(&motor);
    EXPECT_EQ("M1A_80_3000_2...400", db.GetMotorString());
    motor.dblD7 = 1;
    db.SetMotorData(&motor);
    DBMOTORENC encoder{};
    std::strcpy(encoder.szCodVrn, "TTL1024");
    db.SetEncoderData(&encoder);
    EXPECT_EQ("M1A_80_3000_2...400\tTTL1024", db.GetMotorString());
    const DBDRIVEDB drive = Drive("D^10^400");
    db.SetDriveData(&drive);
    EXPECT_EQ("D10-400", db.GetDriveString());
}

TEST_F(TvskDataDbTest, ShortDefinitionsLeaveTheSelectionAlone)
{
    const DBDRIVEDB drive = Drive("TK20^5^230");
    db.SetDriveData(&drive);
    const DBDRIVEDB shorter = Drive("TK40^8");
    db.SetDriveData(&shorter);
    EXPECT_EQ("TK20", db.GetDriveType());
    EXPECT_STREQ("TK40^8", db.GetDrive());
}

TEST_F(TvskDataDbTest, RoventarIsRecognisedCaseSensitively)
{
    EXPECT_TRUE(CTvskDataDb::IsRoventar("TK-RVT20"));
    EXPECT_TRUE(CTvskDataDb::IsRoventar("Roventar 4"));
    EXPECT_FALSE(CTvskDataDb::IsRoventar("tk-rvt20"));
    EXPECT_FALSE(CTvskDataDb::IsRoventar("TK40"));
}

TEST_F(TvskDataDbTest, SessionVariablesFromFilesAreMarked)
{
    const std::string path = dir.Write("vars.dat", "SVAR \"Gain\" \"3\"\nSVAR Mode 1\n");
    ASSERT_EQ(0, db.Load(path.c_str()));
    ASSERT_EQ(2, db.GetSessionVarNum());
    EXPECT_EQ(1, db.GetSessionVar(0)->bFromFile);
    EXPECT_EQ(1, db.GetSessionVar(1)->bFromFile);
    db.GetSessionVar(0)->bFromFile = 0;
    const DBSESSVAR known = Var("Gain", "4", 1);
    db.SetSessionVar(&known);
    EXPECT_EQ(0, db.GetSessionVar(0)->bFromFile);
    EXPECT_STREQ("4", db.GetSessionVar(0)->szValue);
    const DBSESSVAR fresh = Var("New", "x", 0);
    db.SetSessionVar(&fresh);
    EXPECT_EQ(1, db.GetSessionVar(2)->bFromFile);
}

} // namespace
