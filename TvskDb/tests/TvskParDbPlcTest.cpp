#include <TvskDb/TvskParDb.h>

#include "TvskDbTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace
{

class CTvskParDbPlcTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_EQ(db.Load(TVSK_TEST_DATA_DIR "/Modes.par"), 0); }
    CTvskParDb db;
};

} // namespace

TEST_F(CTvskParDbPlcTest, AllocateAppendsOnlyAtTheEnd)
{
    ASSERT_EQ(db.GetInstrNum(), 2);
    EXPECT_STREQ(db.GetPlcInstr(0)->szIstr, "LD");
    EXPECT_EQ(db.GetPlcInstr(0)->iOperands[1], -1);
    EXPECT_EQ(db.AllocatePlcInstr(3), nullptr);
    EXPECT_EQ(db.AllocatePlcInstr(-1), nullptr);
    EXPECT_EQ(db.GetInstrNum(), 2);
    const DBPLC* row = db.AllocatePlcInstr(2);
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(db.GetInstrNum(), 3);
    EXPECT_EQ(row->szIstr[0], '\0');
    EXPECT_EQ(row->iOperands[0], 0);
    EXPECT_EQ(db.AllocatePlcInstr(0), db.GetPlcInstr(0));
}

TEST_F(CTvskParDbPlcTest, RestoreGivesBackTheProgramAndEmptiesTheBackup)
{
    db.BackupPlc();
    db.ResetParPlc();
    EXPECT_EQ(db.GetInstrNum(), 0);
    EXPECT_EQ(db.GetBackupInstrNum(), 2);
    EXPECT_STREQ(db.GetBackupPlcInstr(1)->szIstr, "END");
    EXPECT_EQ(db.GetBackupPlcInstr(2), nullptr);
    db.RestorePlc();
    ASSERT_EQ(db.GetInstrNum(), 2);
    EXPECT_STREQ(db.GetPlcInstr(1)->szIstr, "END");
    EXPECT_EQ(db.GetBackupInstrNum(), 0);
}

TEST_F(CTvskParDbPlcTest, SessionVariablesFromTheFileAreMarked)
{
    ASSERT_EQ(db.GetSessionVarNum(), 1);
    EXPECT_EQ(db.GetSessionVar(0)->bFromFile, 1);
    int index = -1;
    EXPECT_STREQ(db.GetSessionVar("Asse", &index)->szValue, "X");
    EXPECT_EQ(index, 0);
    EXPECT_EQ(db.GetSessionVar("asse", &index), nullptr);
    EXPECT_EQ(index, 1);
    EXPECT_EQ(db.GetSessionVar("asse", nullptr), nullptr);
}

TEST_F(CTvskParDbPlcTest, SetSessionVarUpdatesOrAppendsOnRequest)
{
    DBSESSVAR other = Var("Nuova", "1", 0);
    EXPECT_EQ(db.SetSessionVar(&other, false), 0);
    EXPECT_EQ(db.GetSessionVarNum(), 1);
    EXPECT_EQ(db.SetSessionVar(&other, true), 1);
    EXPECT_EQ(db.GetSessionVar("Nuova", nullptr)->bFromFile, 0);

    DBSESSVAR longValue = Var("Asse", "", 0);
    std::memset(longValue.szValue, 'v', sizeof longValue.szValue); // no terminator at all
    EXPECT_EQ(db.SetSessionVar(&longValue, false), 1);
    const DBSESSVAR* asse = db.GetSessionVar("Asse", nullptr);
    EXPECT_EQ(std::string(asse->szValue), std::string(80, 'v'));
    EXPECT_EQ(asse->bFromFile, 1);
    EXPECT_EQ(db.SetSessionVar(nullptr, true), 0);
}

TEST_F(CTvskParDbPlcTest, DeleteSessionVarClosesTheGap)
{
    DBSESSVAR b = Var("B", "2", 1);
    DBSESSVAR c = Var("C", "3", 1);
    db.SetSessionVar(&b, true);
    db.SetSessionVar(&c, true);
    EXPECT_EQ(db.DeleteSessionVar("B"), 1);
    EXPECT_EQ(db.DeleteSessionVar("B"), 0);
    EXPECT_STREQ(db.GetSessionVar(1)->szVarName, "C");
    EXPECT_EQ(db.DeleteSessionVar(2), 0);
    EXPECT_EQ(db.DeleteSessionVar(0), 1);
    db.ResetSessionVars();
    EXPECT_EQ(db.GetSessionVarNum(), 0);
}

TEST_F(CTvskParDbPlcTest, CamPointsAreKeyedByIndexAndCam)
{
    EXPECT_EQ(db.GetCamWorkNum(), 0);
    EXPECT_EQ(db.SetCamData(3, 1.5, 0, 0), 0);
    EXPECT_EQ(db.SetCamData(3, 2.5, 1, 0), 1);
    EXPECT_EQ(db.GetCamWorkNum(), 1);
    EXPECT_DOUBLE_EQ(db.GetCam(0)->dblVal, 2.5);
    EXPECT_EQ(db.GetCam(0)->interp, 1);
    EXPECT_EQ(db.SetCamData(3, 9, 0, 1), 0);
    EXPECT_EQ(db.GetCamWorkNum(), 2);
    EXPECT_EQ(db.GetCam(2), nullptr);
    db.ResetCamData();
    EXPECT_EQ(db.GetCamWorkNum(), 0);
}

TEST(CTvskParDbPlcClosed, ChangesDoNothingWhileClosed)
{
    CTvskParDb db;
    DBSESSVAR var = Var("A", "1", 1);
    EXPECT_EQ(db.SetSessionVar(&var, true), 0);
    EXPECT_EQ(db.AllocatePlcInstr(0), nullptr);
    EXPECT_EQ(db.SetCamData(0, 1, 0, 0), 0);
    EXPECT_EQ(db.GetCamWorkNum(), 0);
    db.BackupPlc();
    db.RestorePars();
    EXPECT_EQ(db.GetInstrNum(), 0);
}
