// Object base, type texts and pins.
#include "PlcFBDObject.h"

#include "PlcFBDConnectionNetwork.h"
#include "PlcFBDDump.h"

#include "PlcObjectError.h"

const char* CPlcFBDObject::DumpType(int type)
{
    switch (type)
    {
    case FBD_NETWORK:
        return "Network";
    case FBD_FUNCTION_BLOCK:
        return "Function Block";
    case FBD_FUNCTION:
        return "Function";
    case FBD_VARIABLE:
        return "Variable";
    case FBD_CONST:
        return "Constant";
    case FBD_CROSS:
        return "Cross";
    case FBD_CONNECTION:
        return "Connection";
    case FBD_CONNECTION_NETWORK:
        return "Connection Network";
    case FBD_PIN:
        return "Pin";
    case FBD_OPERATOR:
        return "Operator";
    case FBD_RETURN:
        return "Return";
    case FBD_JUMP:
        return "Jump";
    case FBD_LABEL:
        return "Label";
    case FBD_COMMENT:
        return "Comment";
    case FBD_LD_NETWORK:
        return "Network";
    case FBD_LD_POWER_RAIL:
        return "Power Rail";
    case FBD_LD_CONTACT:
        return "Contact";
    case FBD_LD_COIL:
        return "Coil";
    default:
        return "Unknown object type";
    }
}

bool CPlcFBDObject::IsExeType(int type) noexcept
{
    return type == FBD_FUNCTION_BLOCK || type == FBD_FUNCTION || type == FBD_OPERATOR || type == FBD_RETURN ||
           type == FBD_JUMP;
}

bool CPlcFBDObject::DumpHead(bool full)
{
    if (PlcDump::Depth() >= PlcDump::MaxDepth)
    {
        PlcObjectError(138);
        return false;
    }
    if (!full)
    {
        PlcDump::Write("%s - %s\n", DumpType(m_nType), m_strID.GetString());
        return true;
    }
    PlcDump::Indent();
    PlcDump::Write("---------------------------------------------------------------\n");
    PlcDump::Indent();
    PlcDump::Write("Object type: %s\n", DumpType(m_nType));
    PlcDump::Indent();
    PlcDump::Write("ID:          %s\n", m_strID.GetString());
    PlcDump::Indent();
    PlcDump::Write("Order:       %d\n", m_nOrder);
    if (m_pParent)
    {
        PlcDump::Indent();
        PlcDump::Write("Parent obj.: ");
        m_pParent->Dump(false);
    }
    return true;
}

void CPlcFBDObject::Dump(bool full)
{
    DumpHead(full);
}

CPlcFBDPin& CPlcFBDPin::operator=(const CPlcFBDPin& other)
{
    if (this == &other)
        return *this;
    m_nError = other.m_nError;
    m_strID = other.m_strID;
    m_nType = other.m_nType;
    m_nOrder = other.m_nOrder;
    m_pParent = other.m_pParent;
    m_nX = other.m_nX;
    m_nY = other.m_nY;
    m_bValid = other.m_bValid;
    m_bNegated = other.m_bNegated;
    m_nDirection = other.m_nDirection;
    m_strConnectedID = other.m_strConnectedID;
    m_nConnectedType = other.m_nConnectedType;
    m_pPartner = other.m_pPartner;
    m_pConnNet = other.m_pConnNet;
    return *this;
}

void CPlcFBDPin::Dump(bool full)
{
    if (!full)
    {
        if (PlcDump::Depth() >= PlcDump::MaxDepth)
        {
            PlcObjectError(138);
            return;
        }
        PlcDump::Indent();
        PlcDump::Write("*Pin, obj.conn.: %s - %s\n", DumpType(m_nConnectedType),
                       m_strConnectedID.GetString());
        return;
    }
    if (!DumpHead(true))
        return;
    PlcDump::Indent();
    PlcDump::Write("Negation:           %s\n", m_bNegated ? "yes" : "no");
    PlcDump::Indent();
    const char* direction = m_nDirection == DIR_OUT ? "OUT" : m_nDirection == DIR_IN ? "IN" : "PASS";
    PlcDump::Write("Direction:          %s\n", direction);
    PlcDump::Indent();
    PlcDump::Write("Object connected:   %s - %s\n", DumpType(m_nConnectedType), m_strConnectedID.GetString());
    if (m_pConnNet)
    {
        PlcDump::Indent();
        PlcDump::Write("Connection network: %s\n", m_pConnNet->m_strID.GetString());
    }
}
