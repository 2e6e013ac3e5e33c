#include "GraphManager.h"

#include "GraphSmallElements.h"

#include <ZoSupport/ZoSupport.h>

#include <algorithm>
#include <climits>
#include <new>

namespace
{
// Child window ids of network windows, shared by every manager of the module.
UINT g_nNextChildId = 1;
} // namespace

CGraphManager::CGraphManager() : m_pMetrics(std::make_unique<CFixedTextMetrics>())
{
    LoadSettings();
    SetFont(m_nFontSize, m_strFontName);
}

CGraphManager::~CGraphManager()
{
    RemoveAllNetworks();
}

CGraphNetworkIntf* CGraphManager::GetNetwork(int i) const
{
    return i >= 0 && i < GetNetworkCount() ? m_Networks[static_cast<size_t>(i)] : nullptr;
}

int CGraphManager::IndexOf(const CGraphNetworkIntf* network) const
{
    auto at = std::find(m_Networks.begin(), m_Networks.end(), network);
    return at == m_Networks.end() ? -1 : static_cast<int>(at - m_Networks.begin());
}

CGraphNetworkIntf* CGraphManager::NetworkByNumber(int number) const
{
    for (CGraphNetworkIntf* network : m_Networks)
        if (network->GetNumber() == number)
            return network;
    return nullptr;
}

CString CGraphManager::GetComment(int i) const
{
    CGraphNetworkIntf* network = GetNetwork(i);
    return network ? network->GetComment() : CString();
}

void CGraphManager::MoveNetwork(CGraphNetworkIntf* network, int position)
{
    const int from = IndexOf(network);
    if (from < 0)
        return;
    m_Networks.erase(m_Networks.begin() + from);
    if (position < 0 || position > GetNetworkCount())
        position = GetNetworkCount();
    m_Networks.insert(m_Networks.begin() + position, network);
}

void CGraphManager::SetCurrentNetwork(CGraphNetworkIntf* network)
{
    if (network && IndexOf(network) < 0)
        return;
    if (m_pCurrent && m_pCurrent != network)
        m_pCurrent->SetFocusRect(false);
    m_pCurrent = network;
    if (m_pCurrent)
        m_pCurrent->SetFocusRect(true);
}

CGraphNetworkIntf* CGraphManager::CreateNetwork(CWnd* parent, int placement, int width, int height,
                                                bool first, bool second)
{
    if (!m_pOwner)
    {
        ProgramError(SourceName(), __LINE__, "no owner");
        return nullptr;
    }
    CGraphNetworkIntf* network = m_pOwner->NewNetworkWindow();
    if (!network)
        return nullptr;
    try
    {
        m_Lists[network] = std::make_unique<NetworkLists>();
    }
    catch (const std::bad_alloc&)
    {
        ProgramError(SourceName(), __LINE__, "out of memory");
        delete network;
        return nullptr;
    }
    int position = GetNetworkCount();
    const int current = IndexOf(m_pCurrent);
    switch (placement)
    {
    case PLACE_FIRST:
        position = 0;
        break;
    case PLACE_BEFORE:
        position = std::max(0, current);
        break;
    case PLACE_AFTER:
        position = current + 1;
        break;
    default:
        break;
    }
    m_Networks.insert(m_Networks.begin() + position, network);
    if (!network->Create(parent, g_nNextChildId++, width > 0 ? width : DefaultNetworkWidth,
                         height > 0 ? height : DefaultNetworkHeight, first, second))
    {
        m_Networks.erase(m_Networks.begin() + position);
        m_Lists.erase(network);
        delete network;
        return nullptr;
    }
    if (first)
        m_pOwner->OnNetworkPlaced(network, placement);
    else
        network->SetNumber(GetNetworkCount());
    if (GetNetworkCount() == 1)
        SetCurrentNetwork(network);
    return network;
}

void CGraphManager::RemoveNetwork(CGraphNetworkIntf* network)
{
    const int index = IndexOf(network);
    if (index < 0)
        return;
    std::erase_if(m_Selection, [&](CGraphObject* object) { return object->GetNetwork() == network; });
    if (m_pCurrent == network)
        m_pCurrent = nullptr;
    m_Networks.erase(m_Networks.begin() + index);
    m_Lists.erase(network);
    delete network;
}

void CGraphManager::RemoveAllNetworks()
{
    m_Selection.clear();
    m_pCurrent = nullptr;
    while (!m_Networks.empty())
        RemoveNetwork(m_Networks.back());
}

CGraphObjArray* CGraphManager::GetElements(const CGraphNetworkIntf* network) const
{
    auto at = m_Lists.find(network);
    return at == m_Lists.end() ? nullptr : &at->second->elements;
}

CConnectionList* CGraphManager::GetWires(const CGraphNetworkIntf* network) const
{
    auto at = m_Lists.find(network);
    return at == m_Lists.end() ? nullptr : &at->second->wires;
}

CCrossList* CGraphManager::GetCrosses(const CGraphNetworkIntf* network) const
{
    auto at = m_Lists.find(network);
    return at == m_Lists.end() ? nullptr : &at->second->crosses;
}

bool CGraphManager::AddElement(CGraphNetworkIntf* network, CGraphBlock* element, bool renumber)
{
    CGraphObjArray* elements = GetElements(network);
    if (!elements || !element || elements->Add(element, renumber) < 0)
        return false;
    element->SetNetwork(network);
    return true;
}

bool CGraphManager::AddWire(CGraphNetworkIntf* network, CConnection* wire, bool renumber)
{
    CConnectionList* wires = GetWires(network);
    if (!wires || !wire || wires->Add(wire, renumber) < 0)
        return false;
    wire->SetOwner(this);
    wire->SetNetwork(network);
    return true;
}

bool CGraphManager::AddCross(CGraphNetworkIntf* network, CCrossConnection* cross, bool renumber)
{
    CCrossList* crosses = GetCrosses(network);
    if (!crosses || !cross || crosses->Add(cross, renumber) < 0)
        return false;
    cross->SetOwner(this);
    cross->SetNetwork(network);
    return true;
}

void CGraphManager::ForgetObject(CGraphObject* object)
{
    std::erase(m_Selection, object);
    if (m_pOwner)
        m_pOwner->OnObjectDeleted(object);
}

void CGraphManager::Notify(CGraphNetworkIntf* network)
{
    if (m_pOwner)
        m_pOwner->OnNetworkChanged(network);
}

bool CGraphManager::RemoveElement(CGraphNetworkIntf* network, CGraphBlock* element, bool notify)
{
    CGraphObjArray* elements = GetElements(network);
    if (!elements || !elements->Detach(element))
        return false;
    ForgetObject(element);
    for (CGraphPin* pin : element->OwnedPins())
        ForgetObject(pin);
    element->Invalidate();
    network->OnElementRemoved(element);
    delete element;
    elements->Renumber();
    if (notify)
        Notify(network);
    return true;
}

bool CGraphManager::RemoveWire(CGraphNetworkIntf* network, CConnection* wire, bool notify)
{
    CConnectionList* wires = GetWires(network);
    if (!wires || wires->Find(wire) < 0)
        return false;
    ForgetObject(wire);
    wire->Invalidate();
    wires->Remove(wire);
    if (notify)
        Notify(network);
    return true;
}

bool CGraphManager::RemoveCross(CGraphNetworkIntf* network, CCrossConnection* cross, bool notify)
{
    CCrossList* crosses = GetCrosses(network);
    if (!crosses || crosses->Find(cross) < 0)
        return false;
    ForgetObject(cross);
    crosses->Remove(cross);
    if (notify)
        Notify(network);
    return true;
}

CGraphBlock* CGraphManager::ElementByName(const CGraphNetworkIntf* network, const char* name) const
{
    if (const CGraphObjArray* elements = GetElements(network))
        for (CGraphBlock* element : *elements)
            if (IsValidGraphObject(element) && element->GetName().CompareNoCase(name) == 0)
                return element;
    return nullptr;
}

CGraphBlock* CGraphManager::FirstLabel(const CGraphNetworkIntf* network) const
{
    if (const CGraphObjArray* elements = GetElements(network))
        for (CGraphBlock* element : *elements)
            if (IsValidGraphObject(element) && element->GetType() == FBD_LABEL)
                return element;
    return nullptr;
}

bool CGraphManager::IsInSelection(const CGraphObject* object) const
{
    return std::find(m_Selection.begin(), m_Selection.end(), object) != m_Selection.end();
}

void CGraphManager::ToggleSelection(CGraphObject* object, bool keep)
{
    if (!IsValidGraphObject(object))
        return;
    if (!IsInSelection(object))
    {
        m_Selection.push_back(object);
        object->Select(true);
    }
    else if (!keep)
    {
        std::erase(m_Selection, object);
        object->Select(false);
    }
    object->Invalidate();
}

void CGraphManager::ClearSelection()
{
    const std::vector<CGraphObject*> selected = std::move(m_Selection);
    m_Selection.clear();
    for (CGraphObject* object : selected)
    {
        object->Select(false);
        object->Invalidate();
    }
}

void CGraphManager::SelectRect(CGraphNetworkIntf* network, const CRect& pixels)
{
    auto add = [&](CGraphObject* object)
    {
        if (!IsInSelection(object))
            m_Selection.push_back(object);
        object->Select(true);
        object->Invalidate();
    };
    if (const CGraphObjArray* elements = GetElements(network))
        for (CGraphBlock* element : *elements)
        {
            CRect common;
            if (IsValidGraphObject(element) && common.IntersectRect(element->GetWindowRect(), pixels))
                add(element);
        }
    if (const CConnectionList* wires = GetWires(network))
        for (CConnection* wire : *wires)
            if (IsValidGraphObject(wire) && !wire->GetSegments().empty() && wire->IsInside(pixels))
                add(wire);
    if (const CCrossList* crosses = GetCrosses(network))
        for (CCrossConnection* cross : *crosses)
        {
            const CPoint p(cross->GetPosition().x * m_nStepX, cross->GetPosition().y * m_nStepY);
            if (p.x >= pixels.left && p.x <= pixels.right && p.y >= pixels.top && p.y <= pixels.bottom)
                add(cross);
        }
}

void CGraphManager::DeselectAll(CGraphNetworkIntf* network)
{
    if (const CGraphObjArray* elements = GetElements(network))
        for (CGraphBlock* element : *elements)
            if (element->IsSelected())
            {
                std::erase(m_Selection, element);
                element->Select(false);
                element->Invalidate();
            }
}

int CGraphManager::HighestElementNumber(const CGraphNetworkIntf* network) const
{
    int highest = -1;
    if (const CGraphObjArray* elements = GetElements(network))
        for (CGraphBlock* element : *elements)
            if (element->GetType() != FBD_FUNCTION_BLOCK && element->GetType() != FBD_LABEL)
                highest = std::max(highest, element->GetNumber());
    return highest;
}

int CGraphManager::HighestWireNumber(const CGraphNetworkIntf* network) const
{
    int highest = -1;
    if (const CConnectionList* wires = GetWires(network))
        for (CConnection* wire : *wires)
            highest = std::max(highest, wire->GetNumber());
    return highest;
}

int CGraphManager::HighestCrossNumber(const CGraphNetworkIntf* network) const
{
    int highest = -1;
    if (const CCrossList* crosses = GetCrosses(network))
        for (CCrossConnection* cross : *crosses)
            highest = std::max(highest, cross->GetNumber());
    return highest;
}

bool CGraphManager::IsNameUsed(const char* name) const
{
    if (!name || !*name)
        return false;
    for (const auto& [network, lists] : m_Lists)
        for (CGraphBlock* element : lists->elements)
        {
            const int type = element->GetType();
            if (type == FBD_FUNCTION_BLOCK && element->GetText() == name)
                return true;
            if ((type == FBD_VARIABLE || type == FBD_LABEL) && element->GetName() == name)
                return true;
        }
    return false;
}

CString CGraphManager::MakeUniqueName(const char* proposed) const
{
    const CString name(proposed);
    const int underscore = name.ReverseFind('_');
    if (underscore < 0 && !IsNameUsed(name))
        return name;
    CString stem = name;
    long long number = 0;
    if (underscore >= 0)
    {
        const CString suffix = name.Mid(underscore + 1);
        int value = 0;
        const bool digits = !suffix.IsEmpty() && suffix.SpanIncluding("0123456789") == suffix;
        if (digits && ReadDecimal(suffix, value) && value < INT_MAX)
        {
            stem = name.Left(underscore);
            number = value + 1;
        }
        else
            number = 1;
    }
    CString unique;
    do
    {
        unique.Format("%s_%lld", static_cast<const char*>(stem), number++);
    } while (IsNameUsed(unique));
    return unique;
}

CRect CGraphManager::GetUsedRect(const CGraphNetworkIntf* network) const
{
    CRect used;
    bool any = false;
    if (const CGraphObjArray* elements = GetElements(network))
        for (CGraphBlock* element : *elements)
        {
            const int type = element->GetType();
            if (type == FBD_LD_POWER_RAIL || type == FBD_LABEL)
                continue;
            const CPoint p = element->GetPosition();
            if (!any)
                used = CRect(p.x, p.y, p.x, p.y);
            else
                used = CRect(std::min<int>(used.left, p.x), std::min<int>(used.top, p.y),
                             std::max<int>(used.right, p.x), std::max<int>(used.bottom, p.y));
            any = true;
        }
    return used;
}

void CGraphManager::NormalizePositions(CGraphNetworkIntf* network)
{
    CGraphObjArray* elements = GetElements(network);
    if (!elements)
        return;
    int minX = INT_MAX;
    int minY = INT_MAX;
    const int sx = std::max(1, m_nStepX);
    const int sy = std::max(1, m_nStepY);
    auto floorDiv = [](int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); };
    for (CGraphBlock* element : *elements)
    {
        if (!IsValidGraphObject(element))
            continue;
        const CRect& r = element->GetWindowRect();
        minX = std::min(minX, floorDiv(r.left, sx));
        minY = std::min(minY, floorDiv(r.top, sy));
    }
    for (CConnection* wire : *GetWires(network))
        for (const GraphSegment& s : wire->GetSegments())
        {
            minX = std::min({minX, s.x1, s.x2});
            minY = std::min({minY, s.y1, s.y2});
        }
    if (minX == INT_MAX || (minX == 0 && minY == 0))
        return;
    const int dx = -minX;
    const int dy = -minY;
    for (CGraphBlock* element : *elements)
        if (IsValidGraphObject(element))
            element->MoveTo(element->GetPosition().x + dx, element->GetPosition().y + dy);
    GetWires(network)->OffsetAll(dx, dy);
    GetCrosses(network)->OffsetAll(dx, dy);
    Notify(network);
}

bool CGraphManager::HitTest(const CGraphNetworkIntf* network, int x, int y, GRAPH_HIT& hit) const
{
    hit = GRAPH_HIT{};
    hit.x = x;
    hit.y = y;
    const CCrossList* crosses = GetCrosses(network);
    if (!crosses)
        return false;
    for (CCrossConnection* cross : *crosses)
        if (cross->ObjectAt(x, y))
        {
            if (cross->GetArmCount() >= CCrossConnection::ArmCount)
                return false;
            hit.object = cross;
            hit.reference = cross->GetKey();
            return true;
        }
    for (CGraphBlock* element : *GetElements(network))
        if (CGraphPin* pin = IsValidGraphObject(element) ? element->PinAt(x, y) : nullptr)
        {
            if (pin->GetConnection())
                return false;
            hit.object = pin;
            hit.name = pin->GetName();
            hit.reference = pin->GetKey();
            return true;
        }
    for (CConnection* wire : *GetWires(network))
        if (!wire->IsSelected() && wire->ObjectAt(x, y))
        {
            hit.object = wire;
            hit.reference = wire->GetKey();
            return true;
        }
    return false;
}

bool CGraphManager::CanDrawSegment(const CGraphNetworkIntf* network, CPoint from, CPoint to) const
{
    if (from.x != to.x && from.y != to.y)
        return false;
    const CGraphObjArray* elements = GetElements(network);
    if (!elements)
        return false;
    const int sx = std::max(1, m_nStepX);
    const int sy = std::max(1, m_nStepY);
    // The segment as a rectangle one pixel thick.
    const CRect path(std::min(from.x, to.x) * sx, std::min(from.y, to.y) * sy,
                     std::max(from.x, to.x) * sx + 1, std::max(from.y, to.y) * sy + 1);
    for (const CGraphBlock* element : *elements)
    {
        if (element->GetType() == FBD_LD_POWER_RAIL || element->GetType() == FBD_COMMENT ||
            !element->IsVisible())
            continue;
        CRect body = element->GetBodyRectInNetwork();
        body.DeflateRect(1, 1);
        CRect crossed;
        if (crossed.IntersectRect(body, path))
            return false;
    }
    return true;
}
