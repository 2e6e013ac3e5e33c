#include "TestTables.h"

#include <gtest/gtest.h>

#include <clocale>

class MemoDbTest : public testing::Test
{
protected:
    void SetUp() override { m_map.Init(kItemFields, 3); }
    CMemoDb m_map;
    ITEM m_rec{};
};

TEST_F(MemoDbTest, ConvertsEachFieldByItsType)
{
    m_map.SetField("TK40", &m_rec, 0);
    m_map.SetField("-12", &m_rec, 1);
    m_map.SetField("2.75", &m_rec, 2);
    EXPECT_STREQ(m_rec.szName, "TK40");
    EXPECT_EQ(m_rec.nCount, -12);
    EXPECT_EQ(m_rec.dblValue, 2.75);

    EXPECT_EQ(m_map.GetString(&m_rec, 0), "TK40");
    EXPECT_EQ(m_map.GetString(&m_rec, 1), "-12");
    EXPECT_EQ(m_map.GetString(&m_rec, 2), "2.75");
}

TEST_F(MemoDbTest, NumbersAreReadInTheCLocaleWhateverTheUsersLocale)
{
    const char* old = setlocale(LC_NUMERIC, nullptr);
    const std::string saved = old ? old : "C";
    // A locale with a decimal comma, when the machine has one.
    const bool switched = setlocale(LC_NUMERIC, "de_DE.UTF-8") || setlocale(LC_NUMERIC, "it_IT.UTF-8");
    m_map.SetField("1.5", &m_rec, 2);
    m_rec.dblValue += 1.0;
    const CString text = m_map.GetString(&m_rec, 2);
    setlocale(LC_NUMERIC, saved.c_str());
    EXPECT_EQ(m_rec.dblValue, 2.5);
    EXPECT_EQ(text, "2.5") << (switched ? "with a decimal comma locale" : "in the C locale");
}

TEST_F(MemoDbTest, LongTextIsCutToTheFieldWithoutSplittingACharacter)
{
    std::memset(m_rec.szName, 'x', sizeof m_rec.szName);
    m_map.SetField("ABCDEFGHIJK", &m_rec, 0);
    EXPECT_STREQ(m_rec.szName, "ABCDEFGH");
    // Seven ASCII letters and a two-byte letter: the two-byte letter does not fit after 7 bytes + 1.
    m_map.SetField("abcdefg\xC3\xA8", &m_rec, 0);
    EXPECT_STREQ(m_rec.szName, "abcdefg");
}

TEST_F(MemoDbTest, UnterminatedStringIsReadOnlyToItsCapacity)
{
    std::memset(m_rec.szName, 'y', sizeof m_rec.szName);
    EXPECT_EQ(m_map.GetString(&m_rec, 0), "yyyyyyyyy");
}

TEST_F(MemoDbTest, FieldsOutsideTheTableAreIgnored)
{
    const ITEM before = m_rec;
    m_map.SetField("5", &m_rec, 3);
    m_map.SetField("5", &m_rec, -1);
    EXPECT_STREQ(before.szName, m_rec.szName);
    EXPECT_EQ(before.nCount, m_rec.nCount);
    EXPECT_EQ(before.dblValue, m_rec.dblValue);
    EXPECT_EQ(m_map.GetString(&m_rec, 3), "");
    EXPECT_EQ(m_map.FieldType(3), MDB_NONE);
    EXPECT_EQ(m_map.FieldName(-1), nullptr);
    EXPECT_STREQ(m_map.FieldName(2), "dblValue");
    EXPECT_EQ(m_map.FieldType(1), MDB_INT);
}
