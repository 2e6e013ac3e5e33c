#include <TvskDb/TvskDbRecords.h>
#include <TvskDb/TvskRecDef.h>

#include <gtest/gtest.h>

class TvskRecDefTest : public testing::Test
{
protected:
    void SetUp() override { m_plc.Init(g_PlcFields.data(), static_cast<int>(g_PlcFields.size())); }

    void Add(const char* text, int op0)
    {
        m_plc.Clean();
        m_plc.SetField(0, text);
        m_plc.SetField(1, FormatString("%d", op0));
        m_plc.AddRec();
    }

    CRecDef<DBPLC> m_plc;
};

TEST_F(TvskRecDefTest, EngineRowCycleAddsAndReadsRecords)
{
    EXPECT_EQ(m_plc.NumFields(), 4);
    EXPECT_EQ(m_plc.NumRqFields(), 4);
    Add("LD", 3);
    Add("END", -1);
    ASSERT_EQ(m_plc.NumRecs(), 2u);
    EXPECT_STREQ(m_plc.GetRec(1)->szIstr, "END");
    EXPECT_EQ(m_plc.GetRec(0)->iOperands[0], 3);
    EXPECT_EQ(m_plc.GetRec(0)->iOperands[1], 0);

    ASSERT_EQ(m_plc.SetRec(0), 1);
    EXPECT_EQ(m_plc.GetField(0), "LD");
    EXPECT_EQ(m_plc.GetField(1), "3");
    EXPECT_EQ(m_plc.FieldType(1), MDB_INT);
    EXPECT_STREQ(m_plc.FieldName(3), "iOperands[ 2 ]");
}

TEST_F(TvskRecDefTest, OutOfRangeIndexesAreNotErrors)
{
    Add("LD", 3);
    m_plc.Clean();
    m_plc.SetField(0, "OUT");
    m_plc.StoreRec(1);
    EXPECT_STREQ(m_plc.GetRec(0)->szIstr, "LD");
    EXPECT_EQ(m_plc.NumRecs(), 1u);

    EXPECT_EQ(m_plc.SetRec(1), 0);
    EXPECT_STREQ(m_plc.WorkBuffer().szIstr, "OUT");
    EXPECT_EQ(m_plc.RecPtr(-1), nullptr);
    EXPECT_EQ(m_plc.RecPtr(1), nullptr);

    m_plc.StoreRec(0);
    EXPECT_STREQ(m_plc.GetRec(0)->szIstr, "OUT");
}

TEST_F(TvskRecDefTest, RequiredCountAboveFieldCountBecomesZero)
{
    CRecDef<DBSESSVAR> vars;
    vars.Init(g_SessVarFields.data(), 2);
    vars.SetNumRqFields(1);
    EXPECT_EQ(vars.NumRqFields(), 1);
    vars.SetNumRqFields(3);
    EXPECT_EQ(vars.NumRqFields(), 0);
}

TEST_F(TvskRecDefTest, CleanThenAddAppendsAnAllZeroRecord)
{
    Add("LD", 3);
    m_plc.SetRec(0);
    m_plc.Clean();
    m_plc.AddRec();
    const DBPLC zero{};
    EXPECT_EQ(std::memcmp(m_plc.GetRec(1), &zero, sizeof zero), 0);
}

TEST_F(TvskRecDefTest, GrowthFollowsTheArrayRule)
{
    m_plc.AddRec();
    EXPECT_EQ(m_plc.Records().GetCapacity(), 1);

    m_plc.Records().SetSize(0);
    m_plc.Records().SetSize(8);
    ASSERT_EQ(m_plc.Records().GetCapacity(), 8);
    Add("9th", 9);
    EXPECT_EQ(m_plc.Records().GetCapacity(), 12);
    EXPECT_STREQ(m_plc.GetRec(8)->szIstr, "9th");
    EXPECT_EQ(m_plc.GetRec(7)->iOperands[0], 0);

    m_plc.Records().SetSize(0);
    m_plc.Records().SetSize(8192);
    Add("8193rd", 1);
    EXPECT_EQ(m_plc.Records().GetCapacity(), 9216);
    EXPECT_EQ(m_plc.NumRecs(), 8193u);
}

TEST_F(TvskRecDefTest, CopiesAreIndependent)
{
    Add("LD", 3);
    CRecDef<DBPLC> copy(m_plc);
    copy.GetRec(0)->iOperands[0] = 7;
    EXPECT_EQ(m_plc.GetRec(0)->iOperands[0], 3);
}
