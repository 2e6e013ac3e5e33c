// Operand texts of the ladder view's dialogs, good and bad rows.
#include <TvskLumoPlc/graphview/LDOperandText.h>

#include <gtest/gtest.h>

namespace
{
TEST(LDOperandText, FinTextsGiveKindParameterAndBitAndDefaultsForWhatDoesNotRead)
{
    const struct
    {
        const char* text;
        bool negated;
        int parameter;
        int bit;
    } rows[] = {
        {"FIN P40.3", false, 40, 3},
        {"NFIN P12.3", true, 12, 3},
        {"NFIN P150.7", true, 150, 7},
        {"FIN", false, 40, 0},
        {"NFIN", true, 40, 0},
        {"FIN P.5", false, 40, 5},
        {"FIN Px.y", false, 40, 0},
        {"FIN 40.3", false, 40, 0},
        {"", false, 40, 0},
        {"FIN P99999999999.1", false, 40, 1},
    };
    for (const auto& row : rows)
    {
        const LDFinOperand fin = ParseFinText(row.text);
        EXPECT_EQ(fin.negated, row.negated) << row.text;
        EXPECT_EQ(fin.parameter, row.parameter) << row.text;
        EXPECT_EQ(fin.bit, row.bit) << row.text;
    }
    EXPECT_EQ(FormatFinText({true, 150, 1}), CString("NFIN P150.1"));
    EXPECT_EQ(FormatFinText({false, 40, 0}), CString("FIN P40.0"));
}

TEST(LDOperandText, BitAndParameterTextsReadWholeNumbersOnly)
{
    int word = -1;
    int bit = -1;
    ParseBitText("3.7", word, bit);
    EXPECT_EQ(word, 3);
    EXPECT_EQ(bit, 7);
    for (const char* bad : {"?", "", "3", "3.", ".7", "a.b", "3.7.1", "-3.7"})
    {
        word = bit = -1;
        ParseBitText(bad, word, bit);
        EXPECT_EQ(word, 0) << bad;
        EXPECT_EQ(bit, 0) << bad;
    }
    EXPECT_EQ(ParseParameterText("P12"), 12);
    for (const char* bad : {"?", "12", "P", "Px", "p12"})
        EXPECT_EQ(ParseParameterText(bad), 0) << bad;
}
} // namespace
