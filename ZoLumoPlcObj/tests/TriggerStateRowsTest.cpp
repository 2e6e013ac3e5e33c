// The status cell's rows without a window: texts kept within their field.
#include <ZoLumoPlcObj/TriggerStateRows.h>

#include <gtest/gtest.h>

#include <cstring>

TEST(TriggerStateRowsTest, ATextFillingItsFieldIsCutAtTheFieldsEnd)
{
    TRIG_STATE rows[2] = {};
    std::memset(rows[0].szText, 'A', sizeof rows[0].szText); // no terminating zero
    std::memset(rows[1].szText, 'B', sizeof rows[1].szText);
    CTriggerStateRows model;
    model.SetTable(rows, 2);
    ASSERT_TRUE(model.Select(0, 0));
    EXPECT_EQ(model.GetText(), CString('A', 20));
}

TEST(TriggerStateRowsTest, ANegativeCountCountsAsNoTable)
{
    TRIG_STATE row = {"ON", 1, 2, 0};
    CTriggerStateRows model;
    model.SetTable(&row, -2);
    EXPECT_FALSE(model.Select(0, 4));
    EXPECT_TRUE(model.GetText().IsEmpty());
    EXPECT_EQ(model.GetValue(), 0u);
}
