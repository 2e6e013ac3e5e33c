// Records from ladder instructions.
#include <ZoLumoPlcObj/PlcInstrTable.h>
#include <ZoLumoPlcObj/PlcOperandText.h>
#include <ZoLumoPlcObj/PlcRecordBuilder.h>

#include <ZoSupport/ZoSupport.h>

bool CPlcRecordBuilder::Comment(const CString& text)
{
    m_Records.push_back(PLC_INSTR_REC{PlcInstrTable::kCOMM, {-1, -1, -1}, text});
    return true;
}

bool CPlcRecordBuilder::Instruction(const CLDLogicElem& instr)
{
    const int row = PlcInstrTable::Find(instr.m_strText);
    if (row < 0)
        return false;
    if (instr.m_nOperands != instr.m_Operands.GetSize())
    {
        ProgramError("LumoPlcCodeGen", __LINE__, nullptr);
        return false;
    }
    CStringArray texts;
    texts.Copy(instr.m_Operands);
    if (instr.m_nType == LDELEM_BOX && !instr.m_strOutText.IsEmpty())
        texts.Add(instr.m_strOutText);

    PLC_INSTR_REC rec{row, {-1, -1, -1}, CString()};
    int kinds[3] = {PLCOPND_NONE, PLCOPND_NONE, PLCOPND_NONE};
    int slot = 0;
    for (INT_PTR i = 0; i < texts.GetSize() && slot < 3; ++i)
    {
        int word = 0, bit = 0;
        if (texts[i].Find('.') >= 0)
        {
            if (slot > 1 || !PlcOperandText::ParseBitAddress(texts[i], word, bit))
                return false;
            rec.operands[slot] = word;
            kinds[slot++] = PLCOPND_WORD;
            rec.operands[slot] = bit;
            kinds[slot++] = PLCOPND_BIT;
        }
        else if (PlcOperandText::ParseWordAddress(texts[i], word))
        {
            rec.operands[slot] = word;
            kinds[slot++] = PLCOPND_WORD;
        }
        else
        {
            return false;
        }
    }
    for (int s = 0; s < 3; ++s)
    {
        if (kinds[s] != PlcInstrTable::Row(row).kinds[s])
            return false;
        // The encoder keeps only the low bits: out-of-range operands would silently change.
        if (kinds[s] != PLCOPND_NONE && !PlcInstrTable::OperandInRange(row, s, rec.operands[s]))
            return false;
    }
    m_Records.push_back(rec);
    return true;
}
