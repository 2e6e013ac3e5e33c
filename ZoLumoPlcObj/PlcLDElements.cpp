// Dumps of the ladder elements.
#include "PlcLDElements.h"

#include "PlcFBDDump.h"

namespace
{
void DumpLinks(const CString& varName, CPlcFBDPin& in, CPlcFBDPin& out)
{
    PlcDump::Indent();
    PlcDump::Write("Var. name: %s\n", varName.GetString());
    PlcDump::Nested nested;
    PlcDump::Blank();
    PlcDump::Indent();
    PlcDump::Write("LINK IN:\n");
    in.Dump(true);
    PlcDump::Blank();
    PlcDump::Indent();
    PlcDump::Write("LINK OUT:\n");
    out.Dump(true);
}
} // namespace

void CPlcLDContact::Dump(bool full)
{
    if (DumpHead(full) && full)
        DumpLinks(m_strVarName, m_InPin, m_OutPin);
}

void CPlcLDCoil::Dump(bool full)
{
    if (DumpHead(full) && full)
        DumpLinks(m_strVarName, m_InPin, m_OutPin);
}

void CPlcLDPowerRail::Dump(bool full)
{
    if (!DumpHead(full) || !full)
        return;
    PlcDump::Nested nested;
    PlcDump::Blank();
    PlcDump::Indent();
    PlcDump::Write("PINS:\n");
    m_Pins.Dump(true);
}
