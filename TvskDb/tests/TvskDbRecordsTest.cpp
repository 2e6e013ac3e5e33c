#include <TvskDb/TvskDbRecords.h>
#include <TvskDb/TvskRecDef.h>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <unistd.h>

namespace
{

// A text database with every shared record as a section, registered the way the databases do.
class SharedRecordsDb : public CTextDb
{
public:
    CRecDef<DBDRIVEDB> m_d1;
    CRecDef<DBMOTORDB> m_motor;
    CRecDef<DBMOTORENC> m_enc;
    CRecDef<DBPLC> m_plc;
    CRecDef<DBSESSVAR> m_vars;

protected:
    template <class T, size_t N>
    void Register(CRecDef<T>& table, const std::array<MEMODB_REC, N>& fields, const char* keyword,
                  int required)
    {
        table.Init(fields.data(), static_cast<int>(N));
        RegisterSection(table, keyword, ";\n");
        table.SetNumRqFields(required);
    }

    void Init() override
    {
        SetSeparators("\t \"");
        SetComment(";");
        Register(m_d1, g_DriveDbFieldsD1, "D1", 1);
        Register(m_motor, g_MotorDbFields, "M", 1);
        Register(m_enc, g_MotorEncFields, "E", 1);
        Register(m_plc, g_PlcFields, "PLC", 1);
        Register(m_vars, g_SessVarFields, "SVAR", 2);
    }
};

class TvskDbRecordsTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_path =
            (std::filesystem::temp_directory_path() / ("tvskdb-records-" + std::to_string(getpid()) + ".db"))
                .string();
    }
    void TearDown() override { std::filesystem::remove(m_path); }
    std::string m_path;
};

} // namespace

TEST_F(TvskDbRecordsTest, ColumnTablesMatchTheRecordLayouts)
{
    EXPECT_STREQ(g_DriveDbFieldsD[0].szName, "szDriveDef");
    EXPECT_EQ(g_DriveDbFieldsD[0].nSize, 61);
    EXPECT_STREQ(g_DriveDbFieldsD[20].szName, "dblD19");
    EXPECT_EQ(g_DriveDbFieldsD[20].nOffset, static_cast<int>(offsetof(DBDRIVEDB, dblD19)));
    EXPECT_STREQ(g_DriveDbFieldsD1[2].szName, "szDriveWithMotor");
    EXPECT_EQ(g_DriveDbFieldsD1[1].nSize, 261);
    EXPECT_EQ(g_DriveDbFieldsD1[3].nOffset, static_cast<int>(offsetof(DBDRIVEDB, dblD0)));
    EXPECT_EQ(g_MotorDbFields[1].nOffset, static_cast<int>(offsetof(DBMOTORDB, dblD0)));
    EXPECT_STREQ(g_MotorEncFields[9].szName, "stE8");
    EXPECT_EQ(g_MotorEncFields[2].nSize, 4);
    EXPECT_STREQ(g_PlcFields[2].szName, "iOperands[ 1 ]");
    EXPECT_EQ(g_PlcFields[3].nOffset, static_cast<int>(offsetof(DBPLC, iOperands) + 2 * sizeof(int)));
    EXPECT_EQ(g_SessVarFields[1].nOffset, static_cast<int>(offsetof(DBSESSVAR, szValue)));
}

TEST_F(TvskDbRecordsTest, StoredRecordsLoadBackUnchanged)
{
    SharedRecordsDb db;
    db.RecTypes();
    DBDRIVEDB drive{};
    CopyTextCut(drive.szDriveDef, "TK40^12^400");
    CopyTextCut(drive.szImgPath, "img/tk 40.png");
    CopyTextCut(drive.szDriveWithMotor, "1");
    drive.dblD0 = 0.1;
    drive.dblD19 = -1e-7;
    db.m_d1.Records().Add(drive);
    DBMOTORDB motor{"MX^2^3000^1.5^400"};
    motor.dblD7 = 1.0 / 7.0;
    db.m_motor.Records().Add(motor);
    db.m_enc.Records().Add(DBMOTORENC{"ENC1", "e0", "e1", "", "e3", "e4", "", "", "", "e8"});
    db.m_plc.Records().Add(DBPLC{"COMM: a \"quoted\" ; note", {-1, 2147483647, -2147483647 - 1}});
    db.m_vars.Records().Add(DBSESSVAR{"Var 1", "", 1});
    db.SetVer(1);
    ASSERT_EQ(db.Store(m_path.c_str()), 1);

    SharedRecordsDb back;
    ASSERT_NE(back.Load(m_path.c_str()), 0);
    EXPECT_EQ(back.GetVer(), 1);
    ASSERT_EQ(back.m_d1.NumRecs(), 1u);
    const DBDRIVEDB& got = *back.m_d1.GetRec(0);
    EXPECT_STREQ(got.szDriveDef, drive.szDriveDef);
    EXPECT_STREQ(got.szImgPath, drive.szImgPath);
    EXPECT_STREQ(got.szDriveWithMotor, drive.szDriveWithMotor);
    EXPECT_EQ(got.dblD0, drive.dblD0);
    EXPECT_EQ(got.dblD1, 0.0);
    EXPECT_EQ(got.dblD19, drive.dblD19);
    // The five motor parts are in no file.
    EXPECT_STREQ(back.m_motor.GetRec(0)->szMotorDef, motor.szMotorDef);
    EXPECT_EQ(back.m_motor.GetRec(0)->dblD7, motor.dblD7);
    EXPECT_STREQ(back.m_enc.GetRec(0)->stE8, "e8");
    EXPECT_STREQ(back.m_plc.GetRec(0)->szIstr, "COMM: a \"quoted\" ; note");
    EXPECT_EQ(back.m_plc.GetRec(0)->iOperands[2], -2147483647 - 1);
    EXPECT_STREQ(back.m_vars.GetRec(0)->szVarName, "Var 1");
    // bFromFile is no column: the database sets it after loading.
    EXPECT_EQ(back.m_vars.GetRec(0)->bFromFile, 0);
}

TEST_F(TvskDbRecordsTest, LongTextsAreCutOnACharacterBoundary)
{
    CRecDef<DBMOTORENC> enc;
    enc.Init(g_MotorEncFields.data(), 10);
    enc.Clean();
    enc.SetField(2, "abcdef");       // stE1 holds 3 characters
    enc.SetField(3, "a\xC3\xA8xyz"); // a two-byte letter across the cut
    enc.SetField(4, "ab\xC3\xA8");
    enc.AddRec();
    EXPECT_STREQ(enc.GetRec(0)->stE1, "abc");
    EXPECT_STREQ(enc.GetRec(0)->stE2, "a\xC3\xA8");
    enc.Clean();
    enc.SetField(2, "ab\xC3\xA8");
    enc.AddRec();
    EXPECT_STREQ(enc.GetRec(1)->stE1, "ab");
}
