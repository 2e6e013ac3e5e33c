// Building a ladder document instruction by instruction.
#include <ZoLumoPlcObj/LumoPlcCodeGen.h>
#include <ZoLumoPlcObj/PlcInstrTable.h>

#include <ZoSupport/ZoSupport.h>

#include <memory>

namespace
{

bool SourceError(int line)
{
    ProgramError("LumoPlcCodeGen", line, nullptr);
    return false;
}

CString WordText(int word)
{
    return word == -1 ? CString("?") : FormatString("P%d", word);
}

CString BitText(int word, int bit)
{
    return word == -1 || bit == -1 ? CString("?") : FormatString("%d.%d", word, bit);
}

} // namespace

void CLumoPlcCodeGen::StartBuilding()
{
    m_pCurNet = nullptr;
    m_strPendingComment.Empty();
}

void CLumoPlcCodeGen::MoveNets(CLDLogicDoc& from, CLDLogicDoc& to)
{
    to.Reset();
    for (int id = 0; from.GetCount() > 0; ++id)
    {
        CLDLogicNet* net = from.RemoveNet(1);
        net->SetID(id);
        to.AppendNet(net);
    }
    to.UpdateCntID();
    m_pCurNet = nullptr;
}

bool CLumoPlcCodeGen::InsertInstrIntoDoc(const char* text, int operands[3], CLDLogicDoc* doc)
{
    if (!doc || !m_pPluginIntf || !text || !operands)
        return false;
    const int index = PlcInstrTable::FindNoCase(text);
    if (index < 0)
    {
        const CString line(text);
        if (line.Left(4).CompareNoCase("COMM") != 0)
            return false;
        m_strPendingComment = line.Mid(5);
        m_strPendingComment.TrimRight();
        return true;
    }
    const PLC_INSTR_ROW& row = PlcInstrTable::Row(index);
    if (row.nRole == PLCROLE_NONE)
        return true;
    // Operands entering from stored records: the encoder would keep only their low bits.
    for (int slot = 0; slot < 3; ++slot)
        if (row.kinds[slot] != PLCOPND_NONE && operands[slot] != -1 &&
            !PlcInstrTable::OperandInRange(index, slot, operands[slot]))
            return false;

    if (row.nRole == PLCROLE_START)
    {
        if (index == PlcInstrTable::kFIN && doc->GetCount() >= 2)
            return true;
        if (index == PlcInstrTable::kFIN && doc->GetCount() == 1 && !doc->GetNet(1)->HasOnlyFIN())
            return false;
        doc->AppendNet();
        m_pCurNet = static_cast<CLDLogicNet*>(doc->m_Nets.GetTail());
    }
    // Only the last network of this document is ever filled.
    if (!m_pCurNet || doc->m_Nets.IsEmpty() || doc->m_Nets.GetTail() != m_pCurNet)
        return false;

    auto e = std::make_unique<CLDLogicElem>();
    e->m_strText = row.pszMnemonic;
    e->m_nType = row.nElemType;
    e->m_bNegated = row.nNegated != 0;
    e->m_strComment = m_strPendingComment;
    m_strPendingComment.Empty();

    for (int slot = 0; slot < 3;)
    {
        if (row.kinds[slot] == PLCOPND_NONE)
        {
            ++slot;
        }
        else if (row.kinds[slot] == PLCOPND_BIT)
        {
            return SourceError(__LINE__);
        }
        else if (slot < 2 && row.kinds[slot + 1] == PLCOPND_BIT)
        {
            e->m_Operands.Add(BitText(operands[slot], operands[slot + 1]));
            slot += 2;
        }
        else
        {
            if (row.nElemType == LDELEM_BOX && slot == 2)
                e->m_strOutText = WordText(operands[slot]);
            else
                e->m_Operands.Add(WordText(operands[slot]));
            ++slot;
        }
    }
    e->m_nOperands = static_cast<int>(e->m_Operands.GetSize());

    if (index == PlcInstrTable::kFIN || index == PlcInstrTable::kNFIN)
    {
        if (e->m_Operands.GetSize() != 1)
            return SourceError(__LINE__);
        e->m_nType = LDELEM_BOX;
        e->m_strText = FormatString("%s P%s", row.pszMnemonic, e->m_Operands[0].GetString());
        e->m_Operands.RemoveAll();
        e->m_nOperands = 0;
    }
    if (!PlaceElement(e.get(), row.nRole))
        return false;
    e.release();
    return true;
}

// The net takes the element on success.
bool CLumoPlcCodeGen::PlaceElement(CLDLogicElem* e, int role)
{
    CLDLogicNet* net = m_pCurNet;
    bool placed = false;
    switch (role)
    {
    case PLCROLE_SERIES:
        placed = net->m_pSelected && net->m_pSelected->m_nType == LDELEM_OUTPUT ? net->BranchOff(e)
                                                                                : net->AddCascade(e);
        break;
    case PLCROLE_PARALLEL:
        placed = net->AddParallel(e);
        break;
    case PLCROLE_START:
        placed = net->AddCascade(e);
        break;
    case PLCROLE_OUTPUT:
        placed = net->AddOutput(e);
        break;
    default:
        return SourceError(__LINE__);
    }
    if (placed)
        net->m_pSelected = e;
    return placed;
}
