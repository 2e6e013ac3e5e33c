// Turns the instructions of a ladder network into the records the host stores.
#pragma once

#include <ZoLumoPlcObj/LDNetCodeWalker.h>
#include <ZoLumoPlcObj/LumoPlcCodeGen.h>

#include <vector>

class CPlcRecordBuilder : public CPlcInstrSink
{
public:
    explicit CPlcRecordBuilder(std::vector<PLC_INSTR_REC>& records) : m_Records(records) {}
    bool Comment(const CString& text) override;
    // False when the mnemonic is unknown or the operands do not fit the instruction.
    bool Instruction(const CLDLogicElem& instr) override;

private:
    std::vector<PLC_INSTR_REC>& m_Records;
};
