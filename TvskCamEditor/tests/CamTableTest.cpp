#include <TvskCamEditor/model/CamTable.h>

#include "CamHost.h"

#include <gtest/gtest.h>

namespace
{
class CRecordingObserver : public CCamTableObserver
{
public:
    void OnGraphChanged() override { ++graph; }
    void OnGridChanged() override { ++grid; }
    void OnCamChanged() override { ++cam; }
    int graph = 0;
    int grid = 0;
    int cam = 0;
};

class CamTableTest : public ::testing::Test
{
protected:
    CamTableTest()
    {
        table.SetHost(&host);
        table.SetObserver(&observer);
    }

    // Kinds for points first..last, then values of their first and last points.
    void Segment(int first, int last, int kind, double from, double to)
    {
        ASSERT_TRUE(table.SetKinds(first, last, kind));
        ASSERT_TRUE(table.SetPoint(first, from, kind));
        ASSERT_TRUE(table.SetPoint(last, to, table.GetPointAt(last).nKind));
    }

    double Value(int i) const { return table.GetPointAt(i).dValue; }

    CCamHost host;
    CRecordingObserver observer;
    CCamTable table;
};
} // namespace

TEST_F(CamTableTest, ALinearSegmentRoundsWithPointFortyFive)
{
    Segment(0, 256, CAM_LINEAR, 0, 1000);
    table.Recompute();
    for (int i = 0; i <= 256; ++i)
        ASSERT_EQ(Value(i), static_cast<int>(i * 1000.0 / 256 + 0.45)) << i;
    EXPECT_EQ(Value(1), 4);
    EXPECT_EQ(Value(256), 1000);
    EXPECT_NEAR(table.GetPointAt(10).dFirstDiff, 3.90625, 1e-9);
    EXPECT_NEAR(table.GetPointAt(10).dSecondDiff, 0.0, 1e-9);
    EXPECT_EQ(table.GetPointAt(0).dFirstDiff, 0.0);
}

TEST_F(CamTableTest, ASineSegmentPassesItsMidpoint)
{
    Segment(0, 99, CAM_SIN, 0, 0);
    ASSERT_TRUE(table.SetPoint(100, 1000, CAM_VAL));
    table.Recompute();
    EXPECT_EQ(Value(50), 500);
    EXPECT_EQ(Value(0), 0);
    EXPECT_EQ(Value(100), 1000);
}

TEST_F(CamTableTest, ValuesAreClampedIntoTheCamRange)
{
    ASSERT_TRUE(table.SetValueText(5, "12000"));
    EXPECT_EQ(Value(5), 10000);
    ASSERT_TRUE(table.SetValueText(6, "-5"));
    EXPECT_EQ(Value(6), 0);
    EXPECT_TRUE(table.IsModified());
    EXPECT_EQ(table.GetValueText(5), "10000");
    EXPECT_EQ(table.GetValueText(7), "");
}

TEST_F(CamTableTest, TextThatIsNoNumberIsRefusedAndTheOldValueKept)
{
    ASSERT_TRUE(table.SetValueText(3, "250"));
    observer = CRecordingObserver();
    EXPECT_FALSE(table.SetValueText(3, "25x"));
    EXPECT_FALSE(table.SetValueText(3, ""));
    EXPECT_FALSE(table.SetValueText(3, "nan"));
    EXPECT_FALSE(table.SetValueText(300, "1"));
    EXPECT_EQ(Value(3), 250);
    EXPECT_EQ(observer.cam, 0);
}

TEST_F(CamTableTest, EditsAreAllowedOnSegmentStartsAndValuePoints)
{
    ASSERT_TRUE(table.SetKinds(10, 20, CAM_LINEAR));
    EXPECT_TRUE(table.AllowEdit(0));
    EXPECT_TRUE(table.AllowEdit(9));
    EXPECT_TRUE(table.AllowEdit(10));
    EXPECT_FALSE(table.AllowEdit(11));
    EXPECT_TRUE(table.AllowEdit(21));
}

TEST_F(CamTableTest, AKindChangeOnTheLastPointMakesAOnePointSegment)
{
    Segment(0, 255, CAM_LINEAR, 0, 1000);
    ASSERT_TRUE(table.SetPoint(256, 777, CAM_COS1));
    table.Recompute();
    ASSERT_EQ(table.GetSegments().size(), 2u);
    EXPECT_EQ(table.GetSegments().back().x0, 256);
    EXPECT_EQ(table.GetSegments().back().x1, 256);
    EXPECT_EQ(Value(256), 777); // its own value, no division by a zero length
}

TEST_F(CamTableTest, PasteSetsNamedPointsAndSkipsBadLines)
{
    EXPECT_EQ(table.PasteText("0\t10\n1 20\r\n257\t5\nx\t7\n3\tabc\n4\n2\t30\n"), 3);
    EXPECT_EQ(Value(0), 10);
    EXPECT_EQ(Value(1), 20);
    EXPECT_EQ(Value(2), 30);
    EXPECT_FALSE(table.GetPointAt(3).bDefined);
    EXPECT_FALSE(table.GetPointAt(4).bDefined);
}

TEST_F(CamTableTest, CopyListsEveryPoint)
{
    ASSERT_TRUE(table.SetPoint(1, 4, CAM_VAL));
    ASSERT_TRUE(table.SetPoint(2, 2.5, CAM_VAL));
    const CString text = table.GetCopyText();
    EXPECT_EQ(text.Left(14), "0\t0\n1\t4\n2\t2.5\n");
    EXPECT_EQ(std::count(text.GetString(), text.GetString() + text.GetLength(), '\n'), 257);
}

TEST_F(CamTableTest, CopiedPointsPasteBackExactly)
{
    host.m_dMax = 1e9;
    ASSERT_TRUE(table.SetPoint(1, 1234567, CAM_VAL));
    ASSERT_TRUE(table.SetPoint(2, -7654321, CAM_VAL));
    ASSERT_TRUE(table.SetPoint(3, 0.1, CAM_VAL));
    const CString text = table.GetCopyText();
    EXPECT_NE(text.Find("1\t1234567\n"), -1) << text.GetString();
    CCamTable pasted;
    EXPECT_EQ(pasted.PasteText(text), 257);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(pasted.GetPointAt(i).dValue, Value(i)) << i;
}

TEST_F(CamTableTest, NegativeValuesRoundLikePositiveOnesAndStayOverEdits)
{
    host.m_dMin = -10000;
    ASSERT_TRUE(table.SetValueText(5, "-5"));
    ASSERT_TRUE(table.SetValueText(6, "-2.3"));
    ASSERT_TRUE(table.SetValueText(7, "-2.6"));
    ASSERT_TRUE(table.SetValueText(8, "2.6"));
    for (int edit = 0; edit < 3; ++edit)
    {
        EXPECT_EQ(Value(5), -5);
        EXPECT_EQ(Value(6), -2);
        EXPECT_EQ(Value(7), -3);
        EXPECT_EQ(Value(8), 3);
        ASSERT_TRUE(table.SetValueText(20 + edit, "1"));
    }
    EXPECT_EQ(table.GetValueText(6), "-2");
    Segment(0, 256, CAM_LINEAR, 0, -1000);
    table.Recompute();
    for (int i = 0; i <= 256; ++i)
        ASSERT_EQ(Value(i), -static_cast<int>(i * 1000.0 / 256 + 0.45)) << i;
}

TEST_F(CamTableTest, ValueCellsShowLoadedValuesTruncatedTowardZero)
{
    const struct
    {
        double loaded;
        const char* shown;
    } rows[] = {{12.99, "12"}, {-7.9, "-7"}, {-0.5, "0"}, {1e12, "1000000000000"}, {-3e9, "-3000000000"}};
    for (const auto& row : rows)
    {
        host.m_Cams[1][0] = {row.loaded, CAM_VAL};
        ASSERT_TRUE(table.Load(1));
        EXPECT_EQ(table.GetValueText(0), row.shown) << row.loaded;
    }
    EXPECT_EQ(table.GetValueText(1), ""); // not defined
    EXPECT_EQ(table.GetValueText(257), "");
}

TEST_F(CamTableTest, LoadAndStoreGoThroughTheHost)
{
    host.m_Cams[2][0] = {100, CAM_VAL};
    host.m_Cams[2][5] = {200, CAM_LINEAR};
    ASSERT_TRUE(table.Load(2));
    EXPECT_EQ(table.GetCount(), 257);
    EXPECT_EQ(Value(5), 200);
    EXPECT_EQ(table.GetPointAt(5).nKind, CAM_LINEAR);
    EXPECT_FALSE(table.GetPointAt(6).bDefined);
    EXPECT_FALSE(table.IsComplete());
    ASSERT_TRUE(table.SetPoint(6, 300, CAM_VAL));
    ASSERT_TRUE(table.Store(3));
    EXPECT_EQ(host.m_Cams[3].size(), 3u);
    EXPECT_EQ(host.m_Cams[3][6].value, 300);
}

TEST_F(CamTableTest, APointCountOutsideSixteenBitsIsRefused)
{
    host.m_nSteps = 1;
    EXPECT_FALSE(table.Load(0));
    host.m_nSteps = 70000;
    EXPECT_FALSE(table.Load(0));
    EXPECT_EQ(table.GetCount(), 257);
    host.m_nSteps = 17;
    ASSERT_TRUE(table.Load(0));
    EXPECT_EQ(table.GetCount(), 17);
    table.Reset(true);
    EXPECT_EQ(table.GetCount(), 17);
    EXPECT_TRUE(table.IsComplete());
}

TEST_F(CamTableTest, WithoutAHostLoadAndStoreFail)
{
    CCamTable alone;
    EXPECT_FALSE(alone.Load(0));
    EXPECT_FALSE(alone.Store(0));
    EXPECT_EQ(alone.GetMaxValue(), 0.0);
}

TEST_F(CamTableTest, CompletionNeedsTwoSegments)
{
    Segment(0, 256, CAM_LINEAR, 0, 1000);
    EXPECT_FALSE(table.CompleteWithCubic());
    EXPECT_FALSE(table.IsCompleted());
}

TEST_F(CamTableTest, CompletionClosesTheProfileWithACubic)
{
    // A rise from 50 to 100 (points 50..150), a sine up to 150 at 200, then a value dwell.
    ASSERT_TRUE(table.SetKinds(0, 49, CAM_VAL));
    ASSERT_TRUE(table.SetKinds(50, 149, CAM_LINEAR));
    ASSERT_TRUE(table.SetKinds(150, 199, CAM_SIN));
    ASSERT_TRUE(table.SetKinds(200, 256, CAM_VAL));
    ASSERT_TRUE(table.SetValueText(50, "1000"));
    ASSERT_TRUE(table.SetValueText(150, "6000"));
    ASSERT_TRUE(table.SetValueText(200, "9000"));
    const std::vector<CAM_POINT> before(&table.GetPointAt(0), &table.GetPointAt(0) + 257);

    ASSERT_TRUE(table.CompleteWithCubic());
    EXPECT_TRUE(table.IsCompleted());
    EXPECT_FALSE(table.IsModified());
    ASSERT_EQ(table.GetCount(), 257);
    for (int i = 51; i <= 200; ++i)
    {
        ASSERT_EQ(Value(i), before[static_cast<size_t>(i)].dValue) << i;
        ASSERT_EQ(table.GetPointAt(i).nKind, before[static_cast<size_t>(i)].nKind) << i;
    }
    EXPECT_EQ(table.GetPointAt(50).nKind, CAM_LINEAR);
    EXPECT_EQ(Value(50), 1000);
    EXPECT_EQ(table.GetPointAt(0).nKind, CAM_VAL);
    EXPECT_EQ(table.GetPointAt(256).nKind, CAM_VAL);
    // The cubic falls from 9000 after point 200 back to 1000 at point 50, smoothly.
    EXPECT_LT(Value(256), 9000);
    EXPECT_GT(Value(0), 1000);
    EXPECT_GE(Value(201), Value(230));
    EXPECT_TRUE(table.IsComplete());
}

TEST_F(CamTableTest, ACompletedTableIgnoresAnUnchangedValue)
{
    ASSERT_TRUE(table.SetKinds(0, 99, CAM_LINEAR));
    ASSERT_TRUE(table.SetKinds(100, 256, CAM_VAL));
    ASSERT_TRUE(table.SetValueText(100, "500"));
    ASSERT_TRUE(table.CompleteWithCubic());
    observer = CRecordingObserver();
    ASSERT_TRUE(table.SetValueText(100, "500"));
    EXPECT_EQ(observer.cam, 0);
    EXPECT_FALSE(table.IsModified());
}

TEST_F(CamTableTest, EveryKindFollowsItsCurveFromStartToEnd)
{
    struct KindRow
    {
        int kind;
        int values[5]; // at 0, 25, 50, 75 and 99 of a segment from 0 (value 0) to 100 (value 1000)
    };
    const KindRow rows[] = {
        {CAM_LINEAR, {0, 250, 500, 750, 990}},
        {CAM_SQUARE1, {0, 62, 250, 562, 980}},   // vertex at the start
        {CAM_SQUARE2, {0, 437, 750, 937, 1000}}, // vertex at the end
        {CAM_SIN, {0, 146, 500, 853, 1000}},
        {CAM_COS1, {0, 25, 182, 525, 980}},
        {CAM_COS2, {0, 475, 818, 975, 1000}},
        {CAM_CUBIC, {0, 156, 500, 844, 1000}}, // flat at both ends next to value points
    };
    const int at[] = {0, 25, 50, 75, 99};
    for (const KindRow& row : rows)
    {
        CCamTable fresh;
        fresh.SetHost(&host);
        ASSERT_TRUE(fresh.SetKinds(0, 99, row.kind));
        ASSERT_TRUE(fresh.SetPoint(0, 0, row.kind));
        ASSERT_TRUE(fresh.SetPoint(100, 1000, CAM_VAL));
        fresh.Recompute();
        for (int k = 0; k < 5; ++k)
            EXPECT_EQ(fresh.GetPointAt(at[k]).dValue, row.values[k])
                << "kind " << row.kind << " point " << at[k];
        EXPECT_EQ(fresh.GetPointAt(100).dValue, 1000) << "kind " << row.kind;
        EXPECT_EQ(fresh.GetPointAt(101).dValue, 0) << "kind " << row.kind;
    }
}

TEST_F(CamTableTest, ValuesBelowTheCamMinimumAreStoredAsTheMinimum)
{
    host.m_dMin = -500;
    Segment(0, 256, CAM_LINEAR, -2000, 0);
    table.Recompute();
    EXPECT_EQ(Value(0), -500);
    EXPECT_EQ(Value(191), -500);
    EXPECT_EQ(Value(256), 0);
    EXPECT_NEAR(table.GetPointAt(1).dFirstDiff, 2000.0 / 256, 1e-9); // differences stay unclamped
}

TEST_F(CamTableTest, PasteReadsOnlyLinesThatNameAPointInRange)
{
    struct PasteRow
    {
        const char* text;
        int set;
        int point;
        double value;
    };
    const PasteRow rows[] = {
        {"5\t12.5\n", 1, 5, 12.5}, {"7 8 9\n", 1, 7, 8}, // extra tokens are ignored
        {"3abc 40\n", 1, 3, 40},                         // the index is the number the token begins with
        {"256\t1\r\n", 1, 256, 1},                       // Windows line ends
        {"257\t1\n", 0, -1, 0},                          // the point count itself is outside
        {"x5\t1\n", 0, -1, 0},     {"-1\t1\n", 0, -1, 0}, {"9\n", 0, -1, 0},
        {"9\tlots\n", 0, -1, 0},   {"", 0, -1, 0},
    };
    for (const PasteRow& row : rows)
    {
        CCamTable fresh;
        fresh.SetHost(&host);
        EXPECT_EQ(fresh.PasteText(row.text), row.set) << row.text;
        int defined = 0;
        for (int i = 0; i < fresh.GetCount(); ++i)
            defined += fresh.GetPointAt(i).bDefined;
        EXPECT_EQ(defined, row.set) << row.text;
        if (row.point >= 0)
        {
            EXPECT_EQ(fresh.GetPointAt(row.point).dValue, row.value) << row.text;
            EXPECT_EQ(fresh.GetPointAt(row.point).nKind, CAM_VAL) << row.text;
        }
    }
}
