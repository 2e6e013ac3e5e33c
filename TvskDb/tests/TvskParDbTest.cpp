#include <TvskDb/TvskParDb.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace
{

const std::string s_data = TVSK_TEST_DATA_DIR;

std::vector<std::string> WorkingIds(CTvskParDb& db, bool working = true)
{
    std::vector<std::string> ids;
    for (long i = 0; i < db.GetParNum(working); ++i)
        ids.emplace_back(db.GetPar(i, working)->szID);
    return ids;
}

DBPAR TmpPar(const char* id, int addr, int subAddr, int bits, int menu = -1)
{
    DBPAR par{};
    snprintf(par.szID, sizeof par.szID, "%s", id);
    par.nAddr = addr;
    par.nSubAddr = subAddr;
    par.nBitDim = bits;
    par.nMenu = menu;
    return par;
}

class CTvskParDbTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_EQ(db.Load((s_data + "/Modes.par").c_str()), 0); }
    CTvskParDb db;
};

} // namespace

TEST_F(CTvskParDbTest, WorkingTableHoldsCommonAndCurrentModeSortedByAddress)
{
    EXPECT_EQ(db.GetOpMode(), 1);
    EXPECT_EQ(WorkingIds(db),
              (std::vector<std::string>{"Pr1", "Pr4", "Pr4.2", "Pr7", "Pr9", "Pr21:20", "Pr30"}));
    EXPECT_STREQ(db.GetPar("Pr30", true)->szDescr, "Trenta modo uno");
    const DBPAR* wide = db.GetPar("Pr21:20", true);
    EXPECT_EQ(wide->nAddr, 20);
    EXPECT_EQ(wide->nSubAddr, 0);
    const DBPAR* bit = db.GetPar("Pr4.2", true);
    EXPECT_EQ(bit->nAddr, 4);
    EXPECT_EQ(bit->nSubAddr, 2);
}

TEST_F(CTvskParDbTest, ModeChangeRebuildsTheWorkingTable)
{
    db.GetPar("Pr1", true)->dblDefVal = 0;
    db.UpdateListAllPar();
    EXPECT_EQ(WorkingIds(db), (std::vector<std::string>{"Pr1", "Pr4", "Pr4.2", "Pr9", "Pr21:20", "Pr30"}));
    EXPECT_STREQ(db.GetPar("Pr30", true)->szDescr, "Trenta modo zero");
    EXPECT_EQ(db.GetPar("Pr7", true), nullptr);

    // A mode without parameters of its own leaves the table as it was.
    db.GetPar("Pr1", true)->dblDefVal = 3;
    db.UpdateListAllPar();
    EXPECT_EQ(db.GetParNum(true), 6);
    EXPECT_EQ(db.GetOpMode(), 3);
}

TEST_F(CTvskParDbTest, ModeValuesOutsideTheIntegerRangeAreClamped)
{
    db.GetPar("Pr1", true)->dblDefVal = 1e300;
    EXPECT_EQ(db.GetOpMode(), 0xFFFF); // INT_MAX, low 16 bits
    db.GetPar("Pr1", true)->dblDefVal = 5.9;
    EXPECT_EQ(db.GetOpMode(), 5);
}

TEST_F(CTvskParDbTest, OperatingModeParameterIsNamedExactly)
{
    EXPECT_TRUE(db.IsOpModePar("Pr1"));
    EXPECT_FALSE(db.IsOpModePar("pr1"));
    EXPECT_FALSE(db.IsOpModePar(""));
    EXPECT_FALSE(db.IsOpModePar(nullptr));
}

TEST(CTvskParDbPlain, WithoutModeParameterTheCommonParametersStayInFileOrder)
{
    CTvskParDb db;
    ASSERT_EQ(db.Load((s_data + "/Plain.par").c_str()), 0);
    EXPECT_EQ(db.GetOpMode(), 0xFFFF);
    EXPECT_EQ(WorkingIds(db), (std::vector<std::string>{"Pr9", "Pr3", "Pr5"}));
    EXPECT_EQ(db.GetVersion(), "n/a");
    EXPECT_STREQ(db.GetCommSettings(), "VrnSer:0,200#COM:1,9600,E,8,1");
    db.SetCommSettings("VrnSer:1,200#COM:2,38400,N,8,1");
    EXPECT_STREQ(db.GetCommSettings(), "VrnSer:1,200#COM:2,38400,N,8,1");
    EXPECT_EQ(db.GetField("COMM", "szComm", 0), "VrnSer:1,200#COM:2,38400,N,8,1");
    db.SetCommSettings(std::string(150, 'x').c_str());
    EXPECT_EQ(std::string(db.GetCommSettings()).size(), 99u);
    EXPECT_EQ(db.Sort(), 1);
    EXPECT_EQ(WorkingIds(db), (std::vector<std::string>{"Pr3", "Pr5", "Pr9"}));
}

TEST_F(CTvskParDbTest, FieldsKeepLimitsScaleAndUnits)
{
    const DBPAR* par = db.GetPar("Pr7", true);
    EXPECT_EQ(par->lOpMode, 1);
    EXPECT_STREQ(par->szRW, "rw");
    EXPECT_DOUBLE_EQ(par->dblDefVal, -5);
    EXPECT_EQ(par->nScale, 2);
    EXPECT_EQ(par->nOffs, 100);
    EXPECT_DOUBLE_EQ(par->dblMax, 50);
    EXPECT_DOUBLE_EQ(par->dblMin, -50);
    EXPECT_EQ(par->nMenu, 3);
    EXPECT_STREQ(par->szUm, "mm");
    EXPECT_EQ(par->bTmp, 0);
}

TEST_F(CTvskParDbTest, LookupByIdFindsOnlyTheWorkingTable)
{
    EXPECT_EQ(db.GetPar("Pr8", true), nullptr); // mode 5
    EXPECT_EQ(db.GetPar("pr9", true), nullptr);
    EXPECT_EQ(db.GetPar(nullptr, true), nullptr);
    EXPECT_EQ(db.GetPar(-1, true), nullptr);
    EXPECT_EQ(db.GetPar(db.GetParNum(true), true), nullptr);
}

TEST_F(CTvskParDbTest, MenusSelectByNumber)
{
    EXPECT_EQ(db.GetCurrMenuID(), 0);
    EXPECT_EQ(WorkingIds(db, false),
              (std::vector<std::string>{"Pr4", "Pr4.2", "Pr7", "Pr9", "Pr21:20", "Pr30"}));
    db.SetMenu(-1);
    EXPECT_EQ(WorkingIds(db, false), (std::vector<std::string>{"Pr1"}));
    db.SetMenu(2);
    EXPECT_EQ(WorkingIds(db, false), (std::vector<std::string>{"Pr4", "Pr4.2"}));
    EXPECT_EQ(db.GetPar("Pr9", false), nullptr);
    EXPECT_NE(db.GetPar("Pr4", false), nullptr);
    EXPECT_EQ(db.GetMenusNum(), 2);
    EXPECT_STREQ(db.GetMenu(1)->szDescr, "Due");
    EXPECT_EQ(db.GetMenu(2), nullptr);
    // The menu list follows a sort and a mode change.
    db.GetPar("Pr1", true)->dblDefVal = 0;
    db.UpdateListAllPar();
    EXPECT_EQ(db.GetCurrMenuID(), 2);
    EXPECT_EQ(WorkingIds(db, false), (std::vector<std::string>{"Pr4", "Pr4.2"}));
}

TEST_F(CTvskParDbTest, TemporaryParametersAreAddedOnceAndRemovedAlone)
{
    DBPAR tmp = TmpPar("50", 50, 0, 16);
    EXPECT_EQ(db.AddTmpPar(tmp), 1);
    EXPECT_EQ(tmp.bTmp, 1);
    EXPECT_EQ(db.AddTmpPar(tmp), 0);
    DBPAR clash = TmpPar("4", 4, 0, 16);
    EXPECT_EQ(db.AddTmpPar(clash), 0);
    EXPECT_EQ(db.GetParNum(true), 8);
    EXPECT_TRUE(db.GetPar("50", true)->bTmp);

    // A mode change keeps it; removal touches only temporary records.
    db.GetPar("Pr1", true)->dblDefVal = 0;
    db.UpdateListAllPar();
    EXPECT_NE(db.GetPar("50", true), nullptr);
    EXPECT_EQ(db.RemTmpPar(clash), 0);
    EXPECT_EQ(db.RemTmpPar(tmp), 1);
    EXPECT_EQ(db.GetPar("50", true), nullptr);
    EXPECT_EQ(db.RemTmpPar(tmp), 0);
}

// A temporary parameter has no menu of the file: every menu lists it, at once and after a sort.
TEST_F(CTvskParDbTest, TemporaryParametersShowInEveryMenu)
{
    DBPAR tmp = TmpPar("50", 50, 0, 16);
    ASSERT_EQ(db.AddTmpPar(tmp), 1);
    EXPECT_EQ(WorkingIds(db, false),
              (std::vector<std::string>{"Pr4", "Pr4.2", "Pr7", "Pr9", "Pr21:20", "Pr30", "50"}));
    db.Sort();
    EXPECT_EQ(WorkingIds(db, false).size(), 7u);
    EXPECT_NE(db.GetPar("50", false), nullptr);
    for (const int menu : {-1, 2})
    {
        db.SetMenu(menu);
        EXPECT_NE(db.GetPar("50", false), nullptr) << menu;
    }
    db.SetMenu(2);
    EXPECT_EQ(WorkingIds(db, false), (std::vector<std::string>{"Pr4", "Pr4.2", "50"})) << "and nothing more";
}

TEST_F(CTvskParDbTest, TemporaryParameterTextsEndWithinTheirFields)
{
    DBPAR tmp = TmpPar("", 60, 0, 16);
    std::memset(tmp.szID, 'P', sizeof tmp.szID);
    std::memset(tmp.szDescr, 'd', sizeof tmp.szDescr);
    ASSERT_EQ(db.AddTmpPar(tmp), 1);
    const DBPAR* added = db.GetPar(db.GetParNum(true) - 1, true);
    EXPECT_EQ(std::string(added->szID), std::string(16, 'P'));
    EXPECT_EQ(std::string(added->szDescr), std::string(200, 'd'));
}

TEST_F(CTvskParDbTest, MenuListStaysValidWhileTheWorkingTableGrows)
{
    db.SetMenu(7);
    for (int i = 0; i < 200; ++i)
    {
        DBPAR tmp = TmpPar("t", 1000 + i, 0, 16, 7);
        ASSERT_EQ(db.AddTmpPar(tmp), 1);
    }
    ASSERT_EQ(db.GetParNum(false), 200);
    for (long i = 0; i < 200; ++i)
        EXPECT_EQ(db.GetPar(i, false)->nAddr, 1000 + i);
}

TEST_F(CTvskParDbTest, BackupAndRestoreGiveBackTheWorkingTable)
{
    db.BackupPars();
    EXPECT_EQ(db.GetBackupParNum(), 7);
    db.GetPar("Pr9", true)->dblDefVal = 99;
    DBPAR tmp = TmpPar("50", 50, 0, 16);
    db.AddTmpPar(tmp);
    EXPECT_DOUBLE_EQ(db.GetBackupPar("Pr9")->dblDefVal, 2);
    db.RestorePars();
    EXPECT_EQ(db.GetParNum(true), 7);
    EXPECT_DOUBLE_EQ(db.GetPar("Pr9", true)->dblDefVal, 2);
    EXPECT_EQ(db.GetBackupParNum(), 0);
    EXPECT_EQ(db.GetBackupPar(0L), nullptr);
    EXPECT_EQ(db.GetParNum(false), 6);
}

TEST_F(CTvskParDbTest, GenericFieldAccessMatchesNamesWithoutCase)
{
    EXPECT_EQ(db.GetField("PAR", "SZDESCR", 0), "Modo"); // working table, sorted
    EXPECT_EQ(db.GetField("par", "szDescr", 0), "Nove"); // the file's PAR section
    EXPECT_EQ(db.GetField("ala", "idDescr", 1), "11");
    EXPECT_EQ(db.GetField("cmd", "dblVal", 1), "1");
    EXPECT_EQ(db.GetField("ALA", "nope", 0), "");
    EXPECT_EQ(db.GetField("NOPE", "nID", 0), "");
    EXPECT_EQ(db.GetField("ALA", "nID", 2), "");
    EXPECT_EQ(db.SetField("PAR", "dblDefVal", 0, "3"), 1);
    EXPECT_EQ(db.GetOpMode(), 3);
    EXPECT_EQ(db.SetField("menu", "szdescr", 0, "Primo menu"), 1);
    EXPECT_STREQ(db.GetMenu(0)->szDescr, "Primo menu");
    EXPECT_EQ(db.SetField("MENU", "szDescr", 5, "x"), 0);
    EXPECT_EQ(db.SetField("MENU", "none", 0, "x"), 0);
    // A row number beyond the int range is no row, not one of the first rows.
    EXPECT_EQ(db.GetField("ALA", "nID", 0x100000000L), "");
    EXPECT_EQ(db.SetField("MENU", "szDescr", 0x100000000L, "x"), 0);
    EXPECT_EQ(db.GetField("ALA", "nID", -1), "");
    EXPECT_STREQ(db.GetMenu(0)->szDescr, "Primo menu");
}

TEST_F(CTvskParDbTest, SectionsAnswerTheirRows)
{
    EXPECT_EQ(db.GetVersion(), "7.1");
    EXPECT_STREQ(db.GetDrive(), "TX");
    EXPECT_EQ(db.GetScriptFile(), "tx.vbs");
    EXPECT_EQ(db.GetAlarmsNum(), 2);
    EXPECT_EQ(db.GetAlarm(2), nullptr);
    EXPECT_STREQ(db.GetAlarmFromID(2)->szDescr, "Secondo");
    EXPECT_EQ(db.GetAlarmFromID(3), nullptr);
    const DBCMD* save = db.GetCmdPar("Save");
    ASSERT_NE(save, nullptr);
    EXPECT_EQ(save->nAddr, 42);
    EXPECT_EQ(save->nSubAddr, 2);
    EXPECT_EQ(save->nBitDim, 1);
    EXPECT_EQ(db.GetCmdPar("save"), nullptr);
    EXPECT_EQ(db.GetOptionsNum(), 2);
    EXPECT_STREQ(db.GetOption("CAMMADEF")->szPar2, "10000");
    EXPECT_STREQ(db.GetOption(1)->szName, "CHECKCONN");
    EXPECT_EQ(db.GetOption(2), nullptr);
    EXPECT_EQ(db.GetCamDefNum(), 1);
    EXPECT_EQ(db.GetCamDefPar(0)->iStartAddr, 2048);
}

TEST_F(CTvskParDbTest, MotorAndDriveDataSetTheFirstNamedWorkingParameter)
{
    db.SetMotorData("D1", 4.5); // Pr99 does not exist, Pr9 does
    EXPECT_DOUBLE_EQ(db.GetPar("Pr9", true)->dblDefVal, 4.5);
    EXPECT_DOUBLE_EQ(db.GetPar("Pr4", true)->dblDefVal, 0);
    db.SetDriveData("D5", 77);
    EXPECT_DOUBLE_EQ(db.GetPar("Pr30", true)->dblDefVal, 77);
    db.SetMotorData("D2", 1);
    db.SetDriveData("d5", 1);
    EXPECT_DOUBLE_EQ(db.GetPar("Pr30", true)->dblDefVal, 77);
}

TEST(CTvskParDbLoad, ReportsMissingFilesAndSyntaxErrors)
{
    CTvskParDb db;
    EXPECT_EQ(db.Load((s_data + "/Missing.par").c_str()), 3);
    EXPECT_FALSE(db.IsOpen());
    EXPECT_EQ(db.GetErrorString(), "");
    EXPECT_EQ(db.Load(s_data.c_str()), 3); // a folder reads as nothing
    EXPECT_EQ(db.Load((s_data + "/Syntax.par").c_str()), 2);
    EXPECT_FALSE(db.IsOpen());
    const std::string error = db.GetErrorString().str();
    EXPECT_NE(error.find("\nFile : " + s_data + "/Syntax.par\nL : 1\nT : 2\nInfo : "), std::string::npos)
        << error;
    EXPECT_EQ(db.Load((s_data + "/Modes.par").c_str()), 0);
    EXPECT_TRUE(db.IsOpen());
    EXPECT_EQ(db.Close(), 1);
    EXPECT_EQ(db.GetParNum(true), 0);
    EXPECT_EQ(db.GetPar(0L, true), nullptr);
    EXPECT_STREQ(db.GetCommSettings(), "");
    EXPECT_EQ(db.GetVersion(), "n/a");
    EXPECT_EQ(db.GetOpMode(), 0xFFFF);
    EXPECT_EQ(db.SetMenu(0), 0);
    EXPECT_EQ(db.Sort(), 0);
}
