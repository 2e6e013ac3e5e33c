#include <TvskCamEditor/model/CamTable.h>
#include <TvskCamEditor/model/FuncTracerDoc.h>

#include "CamHost.h"

#include <gtest/gtest.h>

namespace
{
class FuncTracerDocTest : public ::testing::Test
{
protected:
    FuncTracerDocTest()
    {
        table.SetHost(&host);
        tracer.Bind(&table, 257, 0.0, 10000.0);
    }

    double Value(int i) const { return table.GetPointAt(i).dValue; }

    CCamHost host;
    CCamTable table;
    CFuncTracerDoc tracer;
};
} // namespace

TEST_F(FuncTracerDocTest, AStraightLineSpansTheCamRange)
{
    ASSERT_TRUE(tracer.Trace("x", 0, 255));
    EXPECT_EQ(Value(0), 0);
    EXPECT_EQ(Value(1), 39);
    EXPECT_EQ(Value(128), 5019);
    EXPECT_EQ(Value(255), 10000);
    EXPECT_EQ(Value(256), 10000);
    EXPECT_TRUE(table.IsComplete());
    EXPECT_TRUE(tracer.IsTraced());
}

TEST_F(FuncTracerDocTest, AFallingFormulaStillSpansTheWholeRange)
{
    ASSERT_TRUE(tracer.Trace("-x", 0, 255));
    EXPECT_EQ(Value(0), 10000);
    EXPECT_EQ(Value(255), 0);
    EXPECT_EQ(Value(256), 0);
    for (int i = 1; i < 257; ++i)
        EXPECT_LE(Value(i), Value(i - 1)) << i;
}

TEST_F(FuncTracerDocTest, TheVariableIgnoresCase)
{
    ASSERT_TRUE(tracer.Trace("X-sin(x)", 0, 6.283185307179586));
    EXPECT_EQ(Value(0), 0);
    EXPECT_EQ(Value(256), 10000);
}

TEST_F(FuncTracerDocTest, HugeValuesScaleLikeSmallOnes)
{
    ASSERT_TRUE(tracer.Trace("x*1e303", 0, 255));
    EXPECT_EQ(Value(0), 0);
    EXPECT_EQ(Value(128), 5019);
    EXPECT_EQ(Value(256), 10000);
}

TEST_F(FuncTracerDocTest, RefusesWhatCannotBeScaledAndWritesNothing)
{
    EXPECT_FALSE(tracer.Trace("", 0, 1));
    EXPECT_FALSE(tracer.Trace("7", 0, 1));      // constant
    EXPECT_FALSE(tracer.Trace("1/x", 0, 1));    // infinite at 0
    EXPECT_FALSE(tracer.Trace("log(x)", 0, 1)); // log(0)
    EXPECT_FALSE(tracer.Trace("x +", 0, 1));
    EXPECT_FALSE(tracer.Trace("y", 0, 1));
    EXPECT_FALSE(tracer.Trace("(x - 128) * 1e306", 0, 255)); // spans more than a double holds
    CFuncTracerDoc small;
    small.Bind(&table, 1, 0, 10000);
    EXPECT_FALSE(small.Trace("x", 0, 1));
    EXPECT_FALSE(table.GetPointAt(0).bDefined);
    EXPECT_FALSE(tracer.IsTraced());
}

TEST_F(FuncTracerDocTest, FormulasAreScaledIntoTheRangeWithTheLastPointOnAnEnd)
{
    const struct
    {
        const char* text;
        double from;
        double to;
        int values[7]; // at points 0, 1, 64, 128, 192, 255 and 256
    } rows[] = {
        {"sin(x)", -1.5707963267948966, 4.71238898038469, {0, 1, 5000, 10000, 5000, 1, 0}},
        {"x-sin(x)", 0, 6.283185307179586, {0, 0, 908, 5000, 9091, 10000, 10000}},
        {"0 - x * x", 0, 1, {10000, 9999, 9370, 7480, 4330, 0, 0}},
        {"x > 0.5", 0, 1, {0, 0, 0, 0, 10000, 10000, 10000}}, // a step still spans the range
    };
    const int at[] = {0, 1, 64, 128, 192, 255, 256};
    for (const auto& row : rows)
    {
        ASSERT_TRUE(tracer.Trace(row.text, row.from, row.to)) << row.text;
        for (int k = 0; k < 7; ++k)
            EXPECT_NEAR(Value(at[k]), row.values[k], 1) << row.text << " point " << at[k];
    }
}

TEST_F(FuncTracerDocTest, ADomainErrorInsideTheRangeWritesNothing)
{
    // x runs through the whole numbers 0 to 255
    for (const char* text : {"log(x - 100)", "1 / (x - 128)", "asin(x / 100)", "10 ^ (x * 2)"})
    {
        EXPECT_FALSE(tracer.Trace(text, 0, 256)) << text;
        EXPECT_FALSE(table.GetPointAt(0).bDefined) << text;
    }
    EXPECT_FALSE(tracer.IsTraced());
}
