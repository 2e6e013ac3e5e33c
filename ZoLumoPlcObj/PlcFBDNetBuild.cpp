// Gathering of connections and crossings into connection networks.
#include "PlcFBDConnectionNetwork.h"
#include "PlcFBDElements.h"
#include "PlcFBDNetwork.h"

#include "PlcObjectError.h"

#include <array>

namespace
{
std::array<CPlcFBDPin*, 4> Sides(CPlcFBDCross* cross)
{
    return {&cross->m_TopPin, &cross->m_BottomPin, &cross->m_LeftPin, &cross->m_RightPin};
}

CPlcFBDConnectionNetwork* NetHolding(const CPlcFBDObjList& nets, const CPlcFBDObject* connection)
{
    for (auto* net : PlcObjects<CPlcFBDConnectionNetwork>(nets))
        if (net->HoldsConnection(connection))
            return net;
    return nullptr;
}

void MoveAll(CPlcFBDObjList& from, CPlcFBDObjList& to)
{
    while (!from.IsEmpty())
        to.AddTail(from.RemoveHead());
}

// Checks every side of every crossing before anything moves, so a refused network stays as it was.
bool CrossingsCanBeJoined(const CPlcFBDObjList& crosses, const CPlcFBDObjList& connections,
                          const CPlcFBDObjList& nets)
{
    for (auto* cross : PlcObjects<CPlcFBDCross>(crosses))
        for (CPlcFBDPin* side : Sides(cross))
        {
            if (side->m_nConnectedType == FBD_UNKNOWN)
                continue;
            if (side->m_nConnectedType != FBD_CONNECTION)
                return false;
            if (!side->m_pPartner || !side->m_pPartner->m_pParent)
            {
                PlcObjectError(side->m_pPartner ? 903 : 902);
                return false;
            }
            const CPlcFBDObject* connection = side->m_pPartner->m_pParent;
            if (!connections.Find(const_cast<CPlcFBDObject*>(connection)) && !NetHolding(nets, connection))
            {
                PlcObjectError(929);
                return false;
            }
        }
    return true;
}
} // namespace

bool CPlcFBDNetwork::UpdateConnectionNetworks()
{
    if (!CrossingsCanBeJoined(m_Crosses, m_Connections, m_ConnNets))
        return false;

    // Numbers only grow within a call, so a net absorbed by a join never frees its ID for a new one.
    int nextID = static_cast<int>(m_ConnNets.GetCount());
    auto newNet = [&]()
    {
        auto* net = new CPlcFBDConnectionNetwork;
        net->m_strID.Format("%d", nextID++);
        m_ConnNets.AddTail(net);
        return net;
    };

    CPlcFBDObjList waiting(true); // connections of the current crossing while it has no net yet
    while (!m_Crosses.IsEmpty())
    {
        auto* cross = static_cast<CPlcFBDCross*>(m_Crosses.GetHead());
        CPlcFBDConnectionNetwork* current = nullptr;
        for (CPlcFBDPin* side : Sides(cross))
        {
            if (side->m_nConnectedType == FBD_UNKNOWN)
                continue;
            CPlcFBDObject* connection = side->m_pPartner->m_pParent;
            if (waiting.Find(connection))
                continue; // a second side of this crossing on the same wire
            CPlcFBDConnectionNetwork* holder = NetHolding(m_ConnNets, connection);
            if (!holder)
            {
                m_Connections.RemoveAt(m_Connections.Find(connection));
                (current ? current->m_Connections : waiting).AddTail(connection);
            }
            else if (!current)
            {
                current = holder;
                MoveAll(waiting, current->m_Connections);
            }
            else if (holder != current)
            {
                current->Join(holder);
                m_ConnNets.RemoveAt(m_ConnNets.Find(holder));
                delete holder;
            }
        }
        if (!current)
        {
            current = newNet();
            MoveAll(waiting, current->m_Connections);
        }
        m_Crosses.RemoveHead();
        current->m_Crosses.AddTail(cross);
    }
    while (!m_Connections.IsEmpty())
        newNet()->m_Connections.AddTail(m_Connections.RemoveHead());
    Validate();
    return true;
}
