// Encoding and decoding of single PLC instructions.
#include <ZoLumoPlcObj/LumoPlcCodeGen.h>
#include <ZoLumoPlcObj/PlcInstrTable.h>
#include <ZoLumoPlcObj/PlcOperandText.h>

namespace
{

unsigned long Low8(int value)
{
    return static_cast<unsigned long>(value) & 0xFFUL;
}

} // namespace

unsigned long CLumoPlcCodeGen::Assemble(const char* mnemonic, int* operands, int& length)
{
    length = 0;
    const int index = PlcInstrTable::Find(mnemonic);
    const CString text(mnemonic);
    if (index < 0 || index == PlcInstrTable::kCOMM)
        return text.Left(4) == "COMM" ? 0UL : 0xFFFFFFFFUL;

    const PLC_INSTR_ROW& row = PlcInstrTable::Row(index);
    if (index == PlcInstrTable::kFIN || index == PlcInstrTable::kNFIN)
    {
        length = 2;
        return 0x0EUL | (operands[0] == PlcInstrTable::kFinParamHigh ? 0x10UL : 0UL) |
               (text.Left(4) == "NFIN" ? 0x20UL : 0UL) | (Low8(operands[1]) << 8);
    }
    if (row.bLong)
    {
        length = 4;
        return row.opcode | (Low8(operands[0]) << 8) | (Low8(operands[1]) << 16) | (Low8(operands[2]) << 24);
    }
    for (int i = 0; i < 3; ++i)
        if (operands[i] == -1)
            operands[i] = 0;
    length = 2;
    return row.opcode | (Low8(operands[1]) << 4) | (Low8(operands[0]) << 8);
}

bool CLumoPlcCodeGen::Disassemble(unsigned long code, CString& mnemonic, int* operands)
{
    mnemonic.Empty();
    operands[0] = operands[1] = operands[2] = -1;
    int index = 0;
    while (PlcInstrTable::Row(index).opcode != (code & 0x0FUL))
        ++index;
    const PLC_INSTR_ROW& row = PlcInstrTable::Row(index);
    mnemonic = row.pszMnemonic;
    const int bits8to15 = static_cast<int>((code >> 8) & 0xFFUL);
    if (index == PlcInstrTable::kFIN)
    {
        operands[0] = (code & 0x10UL) ? PlcInstrTable::kFinParamHigh : PlcInstrTable::kFinParamLow;
        if (code & 0x20UL)
            mnemonic = "NFIN";
        operands[1] = bits8to15;
    }
    else if (row.bLong)
    {
        operands[0] = bits8to15;
        operands[1] = static_cast<int>((code >> 16) & 0xFFUL);
        operands[2] = static_cast<int>((code >> 24) & 0xFFUL);
    }
    else
    {
        operands[0] = bits8to15;
        operands[1] = static_cast<int>((code >> 4) & 0x0FUL);
    }
    return true;
}

bool CLumoPlcCodeGen::GetInstrLen(const char* mnemonic, bool& isLong)
{
    const int index = PlcInstrTable::FindNoCase(mnemonic);
    isLong = index >= 0 && PlcInstrTable::Row(index).bLong;
    return index >= 0;
}

const char* CLumoPlcCodeGen::GetString(unsigned int index)
{
    return index < PlcInstrTable::kCount ? PlcInstrTable::Row(static_cast<int>(index)).pszMnemonic : "";
}

bool CLumoPlcCodeGen::GetDataAddress(const char* operand, unsigned long& address, unsigned short& width,
                                     unsigned short& bit)
{
    const CString text(operand);
    int value = 0;
    const int point = text.Find('.');
    if (point >= 0)
    {
        if (!PlcOperandText::ParseDigits(text.Left(point), value))
            return false;
        address = static_cast<unsigned long>(value);
        width = 1;
        if (!PlcOperandText::ParseDigits(text.Mid(point + 1), value) || value > 0xFFFF)
            return false;
        bit = static_cast<unsigned short>(value);
        return true;
    }
    if (!PlcOperandText::ParseWordAddress(text, value))
        return false;
    address = static_cast<unsigned long>(value);
    width = 16;
    bit = 0;
    return true;
}
