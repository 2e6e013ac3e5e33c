// The PLC instruction table.
#include <ZoLumoPlcObj/PlcInstrTable.h>

#include <framework/CString.h>

namespace
{

constexpr PLC_INSTR_ROW kRows[PlcInstrTable::kCount] = {
    {"LD", 0x00, false, 0, 0, {1, 2, 0}, 3},  {"LDN", 0x01, false, 0, 1, {1, 2, 0}, 3},
    {"OUT", 0x02, false, 1, 0, {1, 2, 0}, 4}, {"OUTN", 0x03, false, 1, 1, {1, 2, 0}, 4},
    {"AND", 0x04, false, 0, 0, {1, 2, 0}, 1}, {"ANDN", 0x05, false, 0, 1, {1, 2, 0}, 1},
    {"OR", 0x06, false, 0, 0, {1, 2, 0}, 2},  {"ORN", 0x07, false, 0, 1, {1, 2, 0}, 2},
    {"ADD", 0x08, true, 2, 0, {1, 1, 1}, 1},  {"SUB", 0x09, true, 2, 0, {1, 1, 1}, 1},
    {"MUL", 0x0A, true, 2, 0, {1, 1, 1}, 1},  {"DIV", 0x0B, true, 2, 0, {1, 1, 1}, 1},
    {"SET", 0x0C, false, 1, 0, {1, 2, 0}, 4}, {"RES", 0x0D, false, 1, 0, {1, 2, 0}, 4},
    {"FIN", 0x0E, false, 2, 0, {1, 2, 0}, 3}, {"NFIN", 0x0E, false, 2, 1, {1, 2, 0}, 3},
    {"END", 0x0F, false, 2, 0, {0, 0, 0}, 0}, {"COMM", 0xFF, false, 5, 0, {0, 0, 0}, 0},
};

} // namespace

const PLC_INSTR_ROW& PlcInstrTable::Row(int index)
{
    return kRows[index];
}

int PlcInstrTable::Find(const char* mnemonic)
{
    for (int i = 0; i < kCount; ++i)
        if (CString(kRows[i].pszMnemonic) == mnemonic)
            return i;
    return -1;
}

int PlcInstrTable::FindNoCase(const char* mnemonic)
{
    for (int i = 0; i < kCount; ++i)
        if (CString(kRows[i].pszMnemonic).CompareNoCase(mnemonic) == 0)
            return i;
    return -1;
}

int PlcInstrTable::Length(int index)
{
    if (index == kCOMM)
        return 0;
    return kRows[index].bLong ? 4 : 2;
}

bool PlcInstrTable::OperandInRange(int index, int slot, long long value)
{
    switch (kRows[index].kinds[slot])
    {
    case PLCOPND_WORD:
        if (index == kFIN || index == kNFIN)
            return value == kFinParamLow || value == kFinParamHigh;
        return value >= 0 && value <= 255;
    case PLCOPND_BIT:
        return value >= 0 && value <= 15;
    default:
        return false;
    }
}
