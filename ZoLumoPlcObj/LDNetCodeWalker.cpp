// Execution order of a ladder network.
#include <ZoLumoPlcObj/LDNetCodeWalker.h>

#include <ZoSupport/ZoSupport.h>

namespace
{

bool SourceError(int line)
{
    ProgramError("LumoPlcCodeGen", line, nullptr);
    return false;
}

} // namespace

bool CLDNetCodeWalker::Walk()
{
    m_bAccLoaded = false;
    return m_Net.GetNetHead() && Generate(m_Net.GetNetHead());
}

bool CLDNetCodeWalker::Generate(const CLDLogicElem* e)
{
    if (!e->m_strComment.IsEmpty() && !m_Sink.Comment(e->m_strComment))
        return false;
    if (e->m_nType == LDELEM_NODE && e == m_Net.GetNetHead())
    {
        if (!e->GetFirstChild())
            return SourceError(__LINE__);
        return Generate(e->GetFirstChild());
    }
    if (!GenerateOwn(e))
        return false;
    for (INT_PTR i = 0; i < e->GetChildCount(); ++i)
        if (!Generate(e->GetChild(i)))
            return false;
    return true;
}

bool CLDNetCodeWalker::GenerateOwn(const CLDLogicElem* e)
{
    switch (e->m_nType)
    {
    case LDELEM_CONTACT:
    {
        CString mnemonic = m_bAccLoaded ? "AND" : "LD";
        m_bAccLoaded = true;
        if (e->m_bNegated)
            mnemonic += "N";
        return EmitAs(*e, mnemonic);
    }
    case LDELEM_OUTPUT:
        if (!m_bAccLoaded)
            return SourceError(__LINE__);
        if (!e->m_strText.IsEmpty())
            return EmitAs(*e, e->m_strText);
        return EmitAs(*e, e->m_bNegated ? "OUTN" : "OUT");
    case LDELEM_BOX:
    {
        if (e->m_strText.Find("FIN") < 0)
        {
            if (!m_bAccLoaded)
                return SourceError(__LINE__);
            return EmitAs(*e, e->m_strText);
        }
        // "FIN P40.3": the mnemonic, a blank, "P" and the operand.
        const int blank = e->m_strText.Find(' ');
        if (blank < 0)
            return SourceError(__LINE__);
        CLDLogicElem instr(*e);
        instr.m_strText = e->m_strText.Left(blank);
        instr.m_Operands.RemoveAll();
        instr.m_Operands.Add(e->m_strText.Mid(blank + 2));
        instr.m_nOperands = 1;
        m_bAccLoaded = true;
        return m_Sink.Instruction(instr);
    }
    case LDELEM_NODE:
        return true;
    case LDELEM_JOIN:
        return GenerateJoin(e);
    default:
        return SourceError(__LINE__);
    }
}

bool CLDNetCodeWalker::GenerateJoin(const CLDLogicElem* join)
{
    if (!m_bAccLoaded || join->GetParentCount() < 2)
        return SourceError(__LINE__);
    const CLDLogicElem* head = m_Net.GetNetHead();
    if (head->m_nType == LDELEM_NODE && join->GetParent(1) && join->GetParent(1)->GetFirstParent() == head)
    {
        for (INT_PTR i = 1; i < join->GetParentCount(); ++i)
        {
            const CLDLogicElem* branch = join->GetParent(i);
            if (!branch)
                continue;
            if (branch->m_nType != LDELEM_CONTACT && branch->m_nType != LDELEM_OUTPUT)
                return SourceError(__LINE__);
            if (!branch->m_strComment.IsEmpty() && !m_Sink.Comment(branch->m_strComment))
                return false;
            if (!EmitAs(*branch, branch->m_bNegated ? "ORN" : "OR"))
                return false;
        }
        return true;
    }
    // Outputs that end the rung meet here; parallel contacts that do not start at the head
    // cannot be expressed as OR instructions.
    if (join->GetChildCount() != 0)
        return SourceError(__LINE__);
    return true;
}

bool CLDNetCodeWalker::EmitAs(const CLDLogicElem& e, const char* mnemonic)
{
    CLDLogicElem instr(e);
    instr.m_strText = mnemonic;
    return m_Sink.Instruction(instr);
}
