// The ladder document: its networks in order.
#include <ZoLumoPlcObj/LDLogicDoc.h>

#include <ZoSupport/ZoSupport.h>

#include <algorithm>

CLDLogicNet* CLDLogicDoc::GetNet(int i) const
{
    const POSITION pos = m_Nets.FindIndex(i - 1);
    return pos ? static_cast<CLDLogicNet*>(m_Nets.GetAt(pos)) : nullptr;
}

int CLDLogicDoc::GetNetIdx(const CLDLogicNet* net) const
{
    int index = 0;
    for (POSITION pos = m_Nets.GetHeadPosition(); pos; ++index)
        if (m_Nets.GetNext(pos) == net)
            return index;
    return -1;
}

std::vector<CLDLogicNet*> CLDLogicDoc::GetNets() const
{
    std::vector<CLDLogicNet*> nets;
    nets.reserve(static_cast<size_t>(GetCount()));
    for (POSITION pos = m_Nets.GetHeadPosition(); pos;)
        nets.push_back(static_cast<CLDLogicNet*>(m_Nets.GetNext(pos)));
    return nets;
}

void CLDLogicDoc::InsertNet(int pos)
{
    if (pos < 0 || pos > GetCount())
    {
        ProgramError("LDLogicDoc", __LINE__, nullptr);
        return;
    }
    auto* net = new CLDLogicNet(++m_nMaxID);
    if (pos == GetCount())
        m_Nets.AddTail(net);
    else
        m_Nets.InsertBefore(m_Nets.FindIndex(pos), net);
}

void CLDLogicDoc::AppendNet(CLDLogicNet* net)
{
    if (!net)
    {
        ProgramError("LDLogicDoc", __LINE__, nullptr);
        return;
    }
    m_Nets.AddTail(net);
}

bool CLDLogicDoc::DeleteNet(int i)
{
    CLDLogicNet* net = RemoveNet(i);
    delete net;
    return net != nullptr;
}

bool CLDLogicDoc::DeleteNet(CLDLogicNet* net)
{
    const POSITION pos = net ? m_Nets.Find(net) : nullptr;
    if (!pos)
        return false;
    m_Nets.RemoveAt(pos);
    delete net;
    return true;
}

CLDLogicNet* CLDLogicDoc::RemoveNet(int i)
{
    const POSITION pos = m_Nets.FindIndex(i - 1);
    if (!pos)
        return nullptr;
    auto* net = static_cast<CLDLogicNet*>(m_Nets.GetAt(pos));
    m_Nets.RemoveAt(pos);
    return net;
}

void CLDLogicDoc::Reset()
{
    while (!m_Nets.IsEmpty())
        delete static_cast<CLDLogicNet*>(m_Nets.RemoveHead());
    m_nMaxID = -1;
}

void CLDLogicDoc::UpdateCntID()
{
    m_nMaxID = -1;
    for (POSITION pos = m_Nets.GetHeadPosition(); pos;)
        m_nMaxID = std::max(m_nMaxID, static_cast<CLDLogicNet*>(m_Nets.GetNext(pos))->GetID());
}

// At most the first two networks may start with FIN, the second only after a FIN-only first one.
bool CLDLogicDoc::IsFINAllowed(int i) const
{
    const int count = GetCount();
    if (count == 0)
        return true;
    if (i == 1)
        return count == 1 || !GetNet(2)->HasFIN();
    if (i == 2)
        return GetNet(1)->HasOnlyFIN() && (count < 2 || !GetNet(2)->HasFIN());
    return false;
}
