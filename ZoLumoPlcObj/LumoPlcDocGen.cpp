// Between ladder documents and the instruction records of the host.
#include <ZoLumoPlcObj/LDNetCodeWalker.h>
#include <ZoLumoPlcObj/LumoPlcCodeGen.h>
#include <ZoLumoPlcObj/PlcInstrTable.h>
#include <ZoLumoPlcObj/PlcRecordBuilder.h>

#include <Tarveskon/PluginIntf.h>

namespace
{

// Counts the code words of the instructions it is handed.
class CPlcWordCounter : public CPlcInstrSink
{
public:
    bool Comment(const CString& /*text*/) override { return true; }
    bool Instruction(const CLDLogicElem& instr) override
    {
        const int row = PlcInstrTable::Find(instr.m_strText);
        if (row >= 0)
            m_nWords += PlcInstrTable::Length(row) / 2;
        return true;
    }
    int m_nWords = 0;
};

// The records fit when every instruction leaves room for the closing END.
bool FitsCapacity(const std::vector<PLC_INSTR_REC>& records, int capacityWords)
{
    int usedBytes = 0;
    for (const PLC_INSTR_REC& rec : records)
    {
        if (rec.nRow == PlcInstrTable::kEND || rec.nRow == PlcInstrTable::kCOMM)
            continue;
        const int length = PlcInstrTable::Length(rec.nRow);
        if (2 * capacityWords - usedBytes < length + 2)
            return false;
        usedBytes += length;
    }
    return true;
}

} // namespace

bool CLumoPlcCodeGen::GenerateRecords(CLDLogicDoc* doc)
{
    if (!doc || !m_pPluginIntf)
        return false;
    m_Records.clear();
    for (const CLDLogicNet* net : doc->GetNets())
    {
        if (!net || net->IsEmpty())
            continue;
        CPlcRecordBuilder builder(m_Records);
        if (!CLDNetCodeWalker(*net, builder).Walk())
            return false;
    }
    m_Records.push_back(PLC_INSTR_REC{PlcInstrTable::kEND, {-1, -1, -1}, CString()});

    // Test the capacity before touching the stored program.
    if (!FitsCapacity(m_Records, m_pPluginIntf->GetPlcMaxLen()))
        return false;
    m_pPluginIntf->ResetPlc();
    for (size_t i = 0; i < m_Records.size(); ++i)
    {
        PLC_INSTR_REC& rec = m_Records[i];
        const CString text =
            rec.nRow == PlcInstrTable::kCOMM
                ? FormatString("%s:%s", PlcInstrTable::Row(rec.nRow).pszMnemonic, rec.strComment.GetString())
                : CString(PlcInstrTable::Row(rec.nRow).pszMnemonic);
        if (m_pPluginIntf->SetPlcInstr(static_cast<int>(i), text, rec.operands) != 0)
            return false;
    }
    m_Records.clear();
    return true;
}

int CLumoPlcCodeGen::GetCodeLen(CLDLogicDoc* doc)
{
    if (!doc || !m_pPluginIntf)
        return 0;
    CPlcWordCounter counter;
    for (const CLDLogicNet* net : doc->GetNets())
    {
        // A net that cannot be generated counts up to where it stops.
        if (net && !net->IsEmpty())
            CLDNetCodeWalker(*net, counter).Walk();
    }
    return counter.m_nWords + 1; // END
}

bool CLumoPlcCodeGen::GenerateLogicDoc(CLDLogicDoc* doc)
{
    if (!doc || !m_pPluginIntf)
        return false;
    CLDLogicDoc built;
    StartBuilding();
    for (int i = 0;; ++i)
    {
        CString text;
        int operands[3] = {-1, -1, -1};
        if (!m_pPluginIntf->GetPlcInstr(i, text, operands))
            break;
        if (!InsertInstrIntoDoc(text, operands, &built))
        {
            m_pCurNet = nullptr;
            return false;
        }
    }
    MoveNets(built, *doc);
    return true;
}
