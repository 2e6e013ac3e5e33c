#include <ZoLumoPlcObj/LumoPlcCodeGen.h>

#include <gtest/gtest.h>

#include <array>

namespace
{

struct EncodingRow
{
    const char* mnemonic;
    std::array<int, 3> operands;
    unsigned long code;
    int length;
};

const EncodingRow kEncodings[] = {
    {"LD", {3, 5, -1}, 0x0350, 2},        {"LDN", {3, 5, -1}, 0x0351, 2},
    {"OUT", {2, 0, -1}, 0x0202, 2},       {"OUTN", {2, 1, -1}, 0x0213, 2},
    {"AND", {4, 15, -1}, 0x04F4, 2},      {"ANDN", {255, 0, -1}, 0xFF05, 2},
    {"OR", {1, 2, -1}, 0x0126, 2},        {"ORN", {1, 3, -1}, 0x0137, 2},
    {"ADD", {10, 11, 12}, 0x0C0B0A08, 4}, {"SUB", {1, 2, 3}, 0x03020109, 4},
    {"MUL", {255, 0, 7}, 0x0700FF0A, 4},  {"DIV", {4, 5, 6}, 0x0605040B, 4},
    {"SET", {7, 1, -1}, 0x071C, 2},       {"RES", {7, 2, -1}, 0x072D, 2},
    {"FIN", {150, 2, -1}, 0x021E, 2},     {"NFIN", {40, 7, -1}, 0x072E, 2},
    {"FIN", {40, 0, -1}, 0x000E, 2},      {"NFIN", {150, 15, -1}, 0x0F3E, 2},
};

} // namespace

class LumoPlcCodeGenTableTest : public ::testing::Test
{
protected:
    CLumoPlcCodeGen gen;
};

TEST_F(LumoPlcCodeGenTableTest, EveryInstructionEncodesAndDecodesBack)
{
    for (const EncodingRow& row : kEncodings)
    {
        SCOPED_TRACE(row.mnemonic);
        std::array<int, 3> ops = row.operands;
        int length = -1;
        EXPECT_EQ(gen.Assemble(row.mnemonic, ops.data(), length), row.code);
        EXPECT_EQ(length, row.length);

        CString mnemonic;
        std::array<int, 3> back{};
        ASSERT_TRUE(gen.Disassemble(row.code, mnemonic, back.data()));
        EXPECT_EQ(mnemonic, row.mnemonic);
        EXPECT_EQ(back, row.operands);
    }
}

TEST_F(LumoPlcCodeGenTableTest, ShortFormsZeroAbsentOperandsInTheCallersArray)
{
    int ops[3] = {3, 5, -1};
    int length = 0;
    EXPECT_EQ(gen.Assemble("LD", ops, length), 0x0350u);
    EXPECT_EQ(ops[2], 0);

    int none[3] = {-1, -1, -1};
    EXPECT_EQ(gen.Assemble("END", none, length), 0x000Fu);
    EXPECT_EQ(length, 2);
    CString mnemonic;
    int back[3];
    gen.Disassemble(0x000F, mnemonic, back);
    EXPECT_EQ(mnemonic, "END");
    EXPECT_EQ(back[0], 0);
    EXPECT_EQ(back[1], 0);
    EXPECT_EQ(back[2], -1);
}

TEST_F(LumoPlcCodeGenTableTest, FINWithAnotherParameterEncodesAsForty)
{
    int ops[3] = {41, 2, -1};
    int length = 0;
    EXPECT_EQ(gen.Assemble("FIN", ops, length), 0x020Eu);
    CString mnemonic;
    int back[3];
    gen.Disassemble(0x002E, mnemonic, back);
    EXPECT_EQ(mnemonic, "NFIN");
    EXPECT_EQ(back[0], 40);
    EXPECT_EQ(back[1], 0);
}

TEST_F(LumoPlcCodeGenTableTest, UnknownTextsAndCommentsEncodeNothing)
{
    int ops[3] = {1, 0, -1};
    int length = 7;
    EXPECT_EQ(gen.Assemble("ld", ops, length), 0xFFFFFFFFu);
    EXPECT_EQ(length, 0);
    EXPECT_EQ(gen.Assemble("COMM", ops, length), 0u);
    EXPECT_EQ(gen.Assemble("COMM:start of cycle", ops, length), 0u);
    EXPECT_EQ(length, 0);
    EXPECT_EQ(gen.Assemble("XOR", ops, length), 0xFFFFFFFFu);
}

TEST_F(LumoPlcCodeGenTableTest, InstructionLengthIgnoresCase)
{
    bool isLong = true;
    EXPECT_TRUE(CLumoPlcCodeGen::GetInstrLen("ld", isLong));
    EXPECT_FALSE(isLong);
    EXPECT_TRUE(CLumoPlcCodeGen::GetInstrLen("Nfin", isLong));
    EXPECT_TRUE(CLumoPlcCodeGen::GetInstrLen("add", isLong));
    EXPECT_TRUE(isLong);
    EXPECT_TRUE(CLumoPlcCodeGen::GetInstrLen("COMM", isLong));
    EXPECT_FALSE(isLong);
    EXPECT_FALSE(CLumoPlcCodeGen::GetInstrLen("XOR", isLong));
    EXPECT_FALSE(isLong);
}

TEST_F(LumoPlcCodeGenTableTest, MnemonicsByIndex)
{
    EXPECT_STREQ(gen.GetString(0), "LD");
    EXPECT_STREQ(gen.GetString(15), "NFIN");
    EXPECT_STREQ(gen.GetString(17), "COMM");
    EXPECT_STREQ(gen.GetString(18), "");
}

TEST_F(LumoPlcCodeGenTableTest, DataAddressesOfBitAndWordOperands)
{
    unsigned long address = 0;
    unsigned short width = 0, bit = 9;
    EXPECT_TRUE(gen.GetDataAddress("12.3", address, width, bit));
    EXPECT_EQ(address, 12u);
    EXPECT_EQ(width, 1);
    EXPECT_EQ(bit, 3);
    EXPECT_TRUE(gen.GetDataAddress("P7", address, width, bit));
    EXPECT_EQ(address, 7u);
    EXPECT_EQ(width, 16);
    EXPECT_EQ(bit, 0);
    for (const char* bad : {"7", ".3", "P", "12.x", "p7", "P7x", "99999999999.1"})
    {
        SCOPED_TRACE(bad);
        address = 99;
        EXPECT_FALSE(gen.GetDataAddress(bad, address, width, bit));
    }
    address = 0;
    width = 0;
    EXPECT_FALSE(gen.GetDataAddress("12.", address, width, bit));
    EXPECT_EQ(address, 12u);
    EXPECT_EQ(width, 1);
}
