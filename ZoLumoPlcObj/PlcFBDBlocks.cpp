// Dump and pin lookup of the executable objects.
#include "PlcFBDBlocks.h"

#include "PlcFBDDump.h"

CPlcFBDPin* CPlcFBDExeObject::FindPin(const char* pinID) const
{
    for (auto* pin : PlcObjects<CPlcFBDPin>(m_Inputs))
        if (pin->m_strID == pinID)
            return pin;
    for (auto* pin : PlcObjects<CPlcFBDPin>(m_Outputs))
        if (pin->m_strID == pinID)
            return pin;
    return nullptr;
}

void CPlcFBDExeObject::Dump(bool full)
{
    if (!DumpHead(full) || !full)
        return;
    PlcDump::Nested nested;
    PlcDump::Indent();
    PlcDump::Write("Object ref.: %s", m_strBlockName.GetString());
    PlcDump::Indent();
    PlcDump::Write("EN/ENO ends: %d, %d", m_bENEnd ? 1 : 0, m_bENOEnd ? 1 : 0);
    PlcDump::Blank();
    PlcDump::Indent();
    PlcDump::Write("INPUTS:\n");
    m_Inputs.Dump(true);
    PlcDump::Blank();
    PlcDump::Indent();
    PlcDump::Write("OUTPUTS:\n");
    m_Outputs.Dump(true);
    if (m_pENOSource)
    {
        PlcDump::Blank();
        PlcDump::Indent();
        PlcDump::Write("ENO SOURCE:\n");
        PlcDump::Nested source;
        m_pENOSource->Dump(true);
    }
}
