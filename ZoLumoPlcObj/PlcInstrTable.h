// The PLC instruction table: one constant row per instruction, named by its index.
#pragma once

#include <framework/WinTypes.h>

enum PlcOperandKind
{
    PLCOPND_NONE = 0,
    PLCOPND_WORD = 1,
    PLCOPND_BIT = 2
};

enum PlcLadderRole
{
    PLCROLE_NONE = 0,
    PLCROLE_SERIES = 1,
    PLCROLE_PARALLEL = 2,
    PLCROLE_START = 3,
    PLCROLE_OUTPUT = 4
};

struct PLC_INSTR_ROW
{
    const char* pszMnemonic;
    BYTE opcode;
    bool bLong;
    int nElemType; // ladder element the instruction becomes
    int nNegated;
    int kinds[3]; // PlcOperandKind per operand slot
    int nRole;    // PlcLadderRole
};

namespace PlcInstrTable
{
constexpr int kCount = 18;
constexpr int kFIN = 14;
constexpr int kNFIN = 15;
constexpr int kEND = 16;
constexpr int kCOMM = 17;
// FIN and NFIN test a bit of one of these two drive parameters.
constexpr int kFinParamLow = 40;
constexpr int kFinParamHigh = 150;

const PLC_INSTR_ROW& Row(int index);
int Find(const char* mnemonic);       // exact; -1 when absent
int FindNoCase(const char* mnemonic); // ignoring case; -1 when absent
int Length(int index);                // bytes of code: 0 for COMM
// Whether value may stand in operand slot of the row (-1, absent, is not accepted here).
bool OperandInRange(int index, int slot, long long value);
} // namespace PlcInstrTable
