// Grid layout and wire numbering of a ladder network.
#include <ZoLumoPlcObj/LDLogicNet.h>

#include <algorithm>
#include <map>
#include <unordered_map>

namespace
{

// Columns an element takes on the grid.
int PlaceWidth(const CLDLogicElem* e)
{
    switch (e->m_nType)
    {
    case LDELEM_CONTACT:
    case LDELEM_OUTPUT:
        return 4;
    case LDELEM_BOX:
        return e->IsFINBox() ? 8 : 13;
    default:
        return 2;
    }
}

bool IsWideBox(const CLDLogicElem* e)
{
    return e->m_nType == LDELEM_BOX && !e->IsFINBox();
}

// Parents before children.
std::vector<CLDLogicElem*> TopologicalOrder(const std::vector<CLDLogicElem*>& elements)
{
    std::unordered_map<const CLDLogicElem*, INT_PTR> pending;
    for (const CLDLogicElem* e : elements)
        pending[e] = e->GetParentCount();
    std::vector<CLDLogicElem*> order;
    std::vector<CLDLogicElem*> ready;
    for (CLDLogicElem* e : elements)
        if (pending[e] == 0)
            ready.push_back(e);
    while (!ready.empty())
    {
        CLDLogicElem* e = ready.back();
        ready.pop_back();
        order.push_back(e);
        for (INT_PTR i = e->GetChildCount() - 1; i >= 0; --i)
            if (--pending[e->GetChild(i)] == 0)
                ready.push_back(e->GetChild(i));
    }
    return order;
}

} // namespace

void CLDLogicNet::NumberConns()
{
    for (CLDLogicElem* e : GetElements())
    {
        e->m_InWires.SetSize(e->GetParentCount());
        e->m_OutWires.SetSize(e->GetChildCount());
    }
    if (m_pHead)
        NumberFrom(m_pHead);
}

void CLDLogicNet::NumberFrom(CLDLogicElem* e)
{
    for (INT_PTR i = 0; i < e->GetChildCount(); ++i)
    {
        CLDLogicElem* child = e->GetChild(i);
        const UINT wire = static_cast<UINT>(++m_nWireCnt);
        e->m_OutWires[i] = wire;
        child->m_InWires[child->FindParent(e)] = wire;
    }
    for (INT_PTR i = 0; i < e->GetChildCount(); ++i)
        if (e->GetChild(i)->GetLastParent() == e)
            NumberFrom(e->GetChild(i));
}

void CLDLogicNet::UpdateGraphXY()
{
    const std::vector<CLDLogicElem*> elements = GetElements();
    for (CLDLogicElem* e : elements)
        e->m_nX = e->m_nY = -1;
    RecomputeRows();
    if (!m_pHead)
        return;

    // Each row lies below the previous one, further down when a box stands on it.
    std::map<int, int> rowGap;
    for (const CLDLogicElem* e : elements)
    {
        const int gap = IsWideBox(e) ? 6 : (e->IsFINBox() ? 4 : 3);
        rowGap[e->m_nRow] = std::max(rowGap[e->m_nRow], gap);
    }
    std::vector<int> rowY(static_cast<size_t>(m_nRows) + 1, 4);
    for (int r = 1; r <= m_nRows; ++r)
    {
        const auto it = rowGap.find(r - 1);
        rowY[static_cast<size_t>(r)] =
            rowY[static_cast<size_t>(r) - 1] + (it == rowGap.end() ? 3 : it->second);
    }

    std::unordered_map<const CLDLogicElem*, int> place;
    place[m_pHead] = 3;
    for (CLDLogicElem* e : TopologicalOrder(elements))
    {
        const int x = place[e];
        e->m_nX = x + (IsWideBox(e) ? 3 : 0);
        e->m_nY = rowY[static_cast<size_t>(e->m_nRow)];
        for (INT_PTR i = 0; i < e->GetChildCount(); ++i)
        {
            int& childX = place[e->GetChild(i)];
            childX = std::max(childX, x + PlaceWidth(e));
        }
    }
    m_nMaxY = GetMaxY();
}

int CLDLogicNet::GetNetMinLen() const
{
    return m_pTail ? m_pTail->m_nX + PlaceWidth(m_pTail) : 0;
}

int CLDLogicNet::GetMaxY() const
{
    int maxY = 0;
    for (const CLDLogicElem* e : GetElements())
        maxY = std::max(maxY, e->m_nY + (IsWideBox(e) ? 3 : (e->IsFINBox() ? 1 : 0)));
    return maxY;
}
