// Dumps of comments, variables, constants, crossings and connections.
#include "PlcFBDElements.h"

#include "PlcFBDDump.h"

namespace
{
void DumpLink(const char* heading, CPlcFBDPin& pin)
{
    PlcDump::Nested nested;
    PlcDump::Blank();
    PlcDump::Indent();
    PlcDump::Write("%s", heading);
    pin.Dump(true);
}

void DumpSide(const char* heading, CPlcFBDPin& pin)
{
    PlcDump::Indent();
    PlcDump::Write("%s", heading);
    pin.Dump(false);
}
} // namespace

void CPlcFBDComment::Dump(bool full)
{
    if (!DumpHead(full))
        return;
    PlcDump::Indent();
    PlcDump::Write("Comment: %s\n", m_strComment.GetString());
}

void CPlcFBDVariable::Dump(bool full)
{
    if (!DumpHead(full) || !full)
        return;
    PlcDump::Indent();
    PlcDump::Write("Var. name: %s\n", m_strVarName.GetString());
    DumpLink("LINK:\n", m_Pin);
}

void CPlcFBDConst::Dump(bool full)
{
    if (!DumpHead(full) || !full)
        return;
    PlcDump::Indent();
    PlcDump::Write("Const. value: %s\n", m_strValue.GetString());
    DumpLink("LINK:\n", m_Pin);
}

void CPlcFBDCross::Dump(bool full)
{
    if (!DumpHead(full) || !full)
        return;
    PlcDump::Nested nested;
    PlcDump::Blank();
    DumpSide("TOP:\n", m_TopPin);
    DumpSide("BOTTOM:\n", m_BottomPin);
    DumpSide("LEFT:\n", m_LeftPin);
    DumpSide("RIGHT:\n", m_RightPin);
}

void CPlcFBDConnection::Dump(bool full)
{
    if (!DumpHead(full) || !full)
        return;
    PlcDump::Nested nested;
    PlcDump::Blank();
    DumpSide("START:\n", m_StartPin);
    DumpSide("END:\n", m_EndPin);
}
