// The search rule: case, whole words, direction, blocks and wrapping.
#include <TvskLumoPlc/text/TextSearch.h>

#include <gtest/gtest.h>

namespace
{

class TextSearch : public ::testing::Test
{
protected:
    void SetUp() override { m_buffer.LoadString("LD x1\nld X\nOUT x_1\nend x", CRLF_STYLE_MAC); }

    bool Find(const char* what, CPoint start, DWORD flags, bool wrap, CPoint& found)
    {
        return FindTextInBlock(m_buffer, what, start, CPoint(0, 0), CPoint(5, 3), flags, wrap, found);
    }

    CCrystalTextBuffer m_buffer;
};

TEST_F(TextSearch, CaseIsIgnoredUnlessAsked)
{
    CPoint found;
    ASSERT_TRUE(Find("ld", CPoint(1, 0), 0, false, found));
    EXPECT_EQ(found, CPoint(0, 1));
    ASSERT_TRUE(Find("X", CPoint(0, 0), FIND_MATCH_CASE, false, found));
    EXPECT_EQ(found, CPoint(3, 1));
}

TEST_F(TextSearch, WholeWordSkipsMatchesInsideWords)
{
    CPoint found;
    ASSERT_TRUE(Find("x", CPoint(0, 0), FIND_WHOLE_WORD, false, found));
    EXPECT_EQ(found, CPoint(3, 1));
    ASSERT_TRUE(Find("x", CPoint(4, 1), FIND_WHOLE_WORD, false, found));
    EXPECT_EQ(found, CPoint(4, 3));
}

TEST_F(TextSearch, UpwardsFindsTheNearestMatchBeforeTheStart)
{
    CPoint found;
    ASSERT_TRUE(Find("x", CPoint(4, 2), FIND_DIRECTION_UP, false, found));
    EXPECT_EQ(found, CPoint(3, 1));
    EXPECT_FALSE(Find("OUT", CPoint(0, 1), FIND_DIRECTION_UP, false, found));
    ASSERT_TRUE(Find("OUT", CPoint(0, 1), FIND_DIRECTION_UP, true, found));
    EXPECT_EQ(found, CPoint(0, 2));
}

TEST_F(TextSearch, WrapAroundContinuesOnceFromTheStart)
{
    CPoint found;
    EXPECT_FALSE(Find("LD", CPoint(1, 1), 0, false, found));
    ASSERT_TRUE(Find("LD", CPoint(1, 1), 0, true, found));
    EXPECT_EQ(found, CPoint(0, 0));
    EXPECT_FALSE(Find("nothing", CPoint(0, 0), 0, true, found));
    EXPECT_FALSE(Find("", CPoint(0, 0), 0, true, found));
}

TEST_F(TextSearch, ABlockBoundsTheSearch)
{
    CPoint found;
    EXPECT_FALSE(FindTextInBlock(m_buffer, "OUT", CPoint(0, 0), CPoint(0, 0), CPoint(2, 2), 0, true, found));
    ASSERT_TRUE(FindTextInBlock(m_buffer, "OUT", CPoint(0, 0), CPoint(0, 0), CPoint(3, 2), 0, false, found));
    EXPECT_EQ(found, CPoint(0, 2));
}

} // namespace
