// Validation, joining and dump of connection networks.
#include "PlcFBDConnectionNetwork.h"

#include "PlcFBDDump.h"
#include "PlcFBDElements.h"

namespace
{
bool IsLadderElement(int type)
{
    return type == FBD_LD_POWER_RAIL || type == FBD_LD_CONTACT || type == FBD_LD_COIL;
}

void MoveAll(CPlcFBDObjList& from, CPlcFBDObjList& to)
{
    while (!from.IsEmpty())
        to.AddTail(from.RemoveHead());
    from.Reset();
}
} // namespace

bool CPlcFBDConnectionNetwork::Validate()
{
    return ValidateEnds(false);
}

bool CPlcFBDConnectionNetwork::ValidateEnds(bool wiredOrAllowed)
{
    // Validating twice must not count an end twice.
    m_Inputs.Reset();
    m_Outputs.Reset();
    m_bValid = true;
    for (auto* connection : PlcObjects<CPlcFBDConnection>(m_Connections))
    {
        connection->m_bValid = true;
        connection->m_pParent = this;
        for (CPlcFBDPin* end : {&connection->m_StartPin, &connection->m_EndPin})
        {
            if (!end->m_pPartner)
            {
                connection->m_bValid = false;
                continue;
            }
            if (end->m_pPartner->m_nDirection == CPlcFBDPin::DIR_IN)
                m_Inputs.AddTail(end);
            else if (end->m_pPartner->m_nDirection == CPlcFBDPin::DIR_OUT)
                m_Outputs.AddTail(end);
        }
        if (!connection->m_bValid)
            m_bValid = false;
    }
    for (auto* cross : PlcObjects(m_Crosses))
        cross->m_pParent = this;

    const auto drivers = m_Outputs.GetCount();
    if (drivers == 0)
        m_bValid = false;
    else if (drivers > 1)
    {
        bool wiredOr = wiredOrAllowed;
        for (auto* end : PlcObjects<CPlcFBDPin>(m_Outputs))
            if (!IsLadderElement(end->m_nConnectedType))
                wiredOr = false;
        if (!wiredOr)
            m_bValid = false;
    }
    return true;
}

void CPlcFBDConnectionNetwork::Join(CPlcFBDConnectionNetwork* other)
{
    if (!other || other == this)
        return;
    MoveAll(other->m_Connections, m_Connections);
    MoveAll(other->m_Crosses, m_Crosses);
}

bool CPlcFBDConnectionNetwork::HoldsConnection(const CPlcFBDObject* connection) const
{
    return connection && m_Connections.Find(const_cast<CPlcFBDObject*>(connection));
}

void CPlcFBDConnectionNetwork::Dump(bool full)
{
    if (!DumpHead(full) || !full)
        return;
    PlcDump::Indent();
    PlcDump::Write("Output variable: %s\n", m_strOutputVar.GetString());
    if (m_pSourceObject)
    {
        PlcDump::Indent();
        PlcDump::Write("SOURCE OBJECT\n");
        m_pSourceObject->Dump(false);
    }
    PlcDump::Nested nested;
    const struct
    {
        const char* heading;
        CPlcFBDObjList& list;
        bool full;
    } sections[] = {{"INPUTS:\n", m_Inputs, false},
                    {"OUTPUTS:\n", m_Outputs, false},
                    {"DEST OBJECTS:\n", m_DestObjects, false},
                    {"SOURCE NETS:\n", m_SourceNets, false},
                    {"DEST NETS:\n", m_DestNets, false},
                    {"CONNECTIONS:\n", m_Connections, true},
                    {"CROSSES:\n", m_Crosses, true}};
    for (const auto& section : sections)
    {
        PlcDump::Blank();
        PlcDump::Indent();
        PlcDump::Write("%s", section.heading);
        section.list.Dump(section.full);
    }
}
