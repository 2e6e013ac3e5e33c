// Instruction-list text from ladder documents and back.
#include <ZoLumoPlcObj/ILSourceReader.h>
#include <ZoLumoPlcObj/LDNetCodeWalker.h>
#include <ZoLumoPlcObj/LumoPlcCodeGen.h>
#include <ZoLumoPlcObj/PlcOperandText.h>

namespace
{

// Writes one line per instruction and comment.
class CILTextWriter : public CPlcInstrSink
{
public:
    explicit CILTextWriter(CString& text) : m_Text(text) {}

    bool Comment(const CString& text) override
    {
        // A closer inside the text would end the comment early when it is read back.
        CString safe(text);
        safe.Replace("*)", "* )");
        m_Text.AppendFormat("(* %s *)\n", safe.GetString());
        return true;
    }

    bool Instruction(const CLDLogicElem& instr) override
    {
        CStringArray operands;
        for (const CString& op : instr.m_Operands)
            operands.Add(OperandText(op));
        if (instr.m_nType == LDELEM_BOX && !instr.m_strOutText.IsEmpty())
            operands.Add(OperandText(instr.m_strOutText));
        m_Text += instr.m_strText;
        for (INT_PTR i = 0; i < operands.GetSize(); ++i)
            m_Text += (i == 0 ? "\t" : ", ") + operands[i];
        m_Text += "\n";
        return true;
    }

private:
    static CString OperandText(const CString& op)
    {
        int word = 0, bit = 0;
        if (PlcOperandText::ParseBitAddress(op, word, bit))
            return op;
        if (PlcOperandText::ParseWordAddress(op, word))
            return op.Mid(1);
        return "?";
    }

    CString& m_Text;
};

} // namespace

bool CLumoPlcCodeGen::GenerateILSource(CLDLogicDoc* doc, CString& text)
{
    text.Empty();
    if (!doc || !m_pPluginIntf)
        return false;
    for (const CLDLogicNet* net : doc->GetNets())
    {
        if (!net || net->IsEmpty())
            continue;
        CString netText;
        CILTextWriter writer(netText);
        if (!CLDNetCodeWalker(*net, writer).Walk())
            return false;
        text += netText + "\n";
    }
    text += "END\n";
    return true;
}

bool CLumoPlcCodeGen::LoadILSource(const char* text, CLDLogicDoc* doc)
{
    if (!doc || !m_pPluginIntf)
        return false;
    StartBuilding();
    m_nErrCode = 0;
    m_nErrLine = -1;
    m_strErrText.Empty();

    ILSourceReader reader;
    if (!reader.Parse(text))
    {
        m_nErrCode = reader.GetErrorCode();
        m_nErrLine = reader.GetErrorLine();
        return false;
    }
    CLDLogicDoc built;
    CString itemText;
    int operands[3];
    int line = -1;
    for (int i = 0; reader.GetItem(i, itemText, operands, line); ++i)
    {
        if (!InsertInstrIntoDoc(itemText, operands, &built))
        {
            m_nErrCode = PLCIL_CANNOT_PLACE;
            m_nErrLine = line;
            m_strErrText = itemText;
            m_pCurNet = nullptr;
            return false;
        }
    }
    MoveNets(built, *doc);
    return true;
}
