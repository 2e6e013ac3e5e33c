#include "LDManager.h"

#include "GraphExeBlock.h"
#include "GraphLadder.h"

#include <ZoLumoPlcObj/PlcFBDConnectionNetwork.h>
#include <ZoLumoPlcObj/PlcFBDElements.h>
#include <ZoLumoPlcObj/PlcLDNetwork.h>
#include <ZoSupport/ZoSupport.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <unordered_set>

bool CLDTextList::SetCursor(UINT index)
{
    if (index != kNoCursor && index >= m_Texts.size())
        return false;
    m_nCursor = index;
    return true;
}

void CLDTextList::RemoveAll()
{
    m_Texts.clear();
    m_nCursor = kNoCursor;
}

CLDManager::~CLDManager()
{
    RemoveAllNetworks();
    m_TextList.RemoveAll();
}

CGraphBlock* CLDManager::NewElement(int type) const
{
    switch (type)
    {
    case FBD_LD_POWER_RAIL:
        return new CGraphPwrRail;
    case FBD_LD_CONTACT:
        return new CGraphContact;
    case FBD_LD_COIL:
        return new CGraphCoil;
    default:
        return CGraphManager::NewElement(type);
    }
}

bool CLDManager::MatchesByNumberAndPin(int type) const
{
    return CGraphManager::MatchesByNumberAndPin(type) || type == FBD_LD_POWER_RAIL ||
           type == FBD_LD_CONTACT || type == FBD_LD_COIL;
}

int CLDManager::TypeFromTag(const char* tag) const
{
    if (const int type = CGraphManager::TypeFromTag(tag))
        return type;
    if (tag && std::strcmp(tag, "CN") == 0)
        return FBD_LD_CONTACT;
    if (tag && std::strcmp(tag, "CL") == 0)
        return FBD_LD_COIL;
    return 0;
}

bool CLDManager::IsGraphElement(const CGraphObject* object) const
{
    if (!IsValidGraphObject(object))
    {
        ProgramError(SourceName(), __LINE__, "invalid object");
        return false;
    }
    const int type = object->GetType();
    return CGraphManager::IsGraphElement(object) || (type >= FBD_LD_POWER_RAIL && type <= FBD_LD_COIL);
}

CGraphNetworkIntf* CLDManager::CreateNetwork(CWnd* parent, int placement, int width, int height, bool first,
                                             bool second)
{
    CGraphNetworkIntf* network =
        CGraphManager::CreateNetwork(parent, placement, width, height, first, second);
    if (!network)
        return nullptr;
    try
    {
        m_RowLists[network] = std::make_unique<CLDRowList>();
    }
    catch (const std::bad_alloc&)
    {
        ProgramError(SourceName(), __LINE__, "out of memory");
        CGraphManager::RemoveNetwork(network);
        return nullptr;
    }
    return network;
}

void CLDManager::RemoveNetwork(CGraphNetworkIntf* network)
{
    m_RowLists.erase(network);
    m_Index.erase(network);
    CGraphManager::RemoveNetwork(network);
}

CLDRowList* CLDManager::GetRowList(const CGraphNetworkIntf* network) const
{
    auto at = m_RowLists.find(network);
    return at == m_RowLists.end() ? nullptr : at->second.get();
}

CGraphNetworkIntf* CLDManager::CreateNetworkFromObject(CPlcFBDObject* model, CWnd* parent)
{
    if (!parent || !model)
    {
        ProgramError(SourceName(), __LINE__, "no parent window or generated network");
        return nullptr;
    }
    if (model->m_nType != FBD_LD_NETWORK)
        return nullptr;
    auto* ladder = static_cast<CPlcLDNetwork*>(model);
    CGraphNetworkIntf* network = CreateNetwork(parent, PLACE_LAST, ladder->m_nX, ladder->m_nY, true, true);
    if (!network)
        return nullptr;
    // Generated networks carry no state: read as 0, no mark.
    network->SetMark(false);
    ImportNetwork(network, ladder);
    return network;
}

bool CLDManager::ImportNetwork(CGraphNetworkIntf* network, CPlcLDNetwork* model)
{
    if (!network || !model || !GetElements(network))
    {
        ProgramError(SourceName(), __LINE__, "no network window or generated network");
        return false;
    }
    std::unordered_set<const CPlcFBDObject*> taken;
    for (const CPlcFBDObjList* list :
         {&model->m_Constants, &model->m_Variables, &model->m_Functions, &model->m_FunctionBlocks,
          &model->m_Operators, &model->m_Comments, &model->m_Contacts, &model->m_Coils})
        ImportElements(network, *list, taken);
    // The rails take the network's height: they come after the comments have their place.
    PlaceComments(network);
    ImportElements(network, model->m_PowerRails, taken);
    ImportConnections(network, *model, taken);

    ConnectWireEnds(network);
    Notify(network);
    network->SetComment(FirstComment(*model));
    network->BuildAnimationMap(model);
    return true;
}

void CLDManager::PlaceComments(CGraphNetworkIntf* network)
{
    const int sy = std::max(1, GetStepY());
    std::vector<CGraphBlock*> comments;
    int lowest = 0; // pixel bottom of the lowest element that is not a comment
    for (CGraphBlock* element : *GetElements(network))
        if (element->GetType() == FBD_COMMENT)
            comments.push_back(element);
        else if (element->GetType() != FBD_LD_POWER_RAIL)
            lowest = std::max(lowest, static_cast<int>(element->GetWindowRect().bottom));
    int row = (lowest + sy - 1) / sy;
    bool moved = false;
    for (CGraphBlock* comment : comments)
    {
        bool covers = false;
        for (CGraphBlock* element : *GetElements(network))
        {
            CRect overlap;
            covers =
                covers || (element->GetType() != FBD_COMMENT && element->GetType() != FBD_LD_POWER_RAIL &&
                           overlap.IntersectRect(comment->GetWindowRect(), element->GetWindowRect()));
        }
        if (!covers)
            continue;
        comment->MoveTo(comment->GetPosition().x, row);
        row = (comment->GetWindowRect().bottom + sy - 1) / sy;
        moved = true;
    }
    if (moved && row + 1 > network->GetGridHeight())
        network->SetGridHeight(row + 1);
}

CGraphPwrRail* CLDManager::GetRightRail(const CGraphNetworkIntf* network) const
{
    if (const CGraphObjArray* elements = GetElements(network))
        for (CGraphBlock* element : *elements)
            if (element->GetType() == FBD_LD_POWER_RAIL && static_cast<CGraphPwrRail*>(element)->IsRight())
                return static_cast<CGraphPwrRail*>(element);
    return nullptr;
}

CGraphPwrRail* CLDManager::GetLeftRail(const CGraphNetworkIntf* network) const
{
    if (const CGraphObjArray* elements = GetElements(network))
        for (CGraphBlock* element : *elements)
            if (element->GetType() == FBD_LD_POWER_RAIL && !static_cast<CGraphPwrRail*>(element)->IsRight())
                return static_cast<CGraphPwrRail*>(element);
    return nullptr;
}

int CLDManager::GetRightRailColumn() const
{
    int column = -1;
    for (CGraphNetworkIntf* network : m_Networks)
        for (CGraphBlock* element : *GetElements(network))
            if (element->GetType() == FBD_LD_POWER_RAIL && static_cast<CGraphPwrRail*>(element)->IsRight())
                column = std::max(column, element->GetPosition().x);
    return column;
}

int CLDManager::GetUsedWidth() const
{
    int used = -1;
    for (CGraphNetworkIntf* network : m_Networks)
    {
        CGraphPwrRail* right = GetRightRail(network);
        if (!right)
            continue;
        for (CGraphBlock* element : *GetElements(network))
            if (element != right && element->GetType() != FBD_LD_POWER_RAIL)
                used = std::max(used, element->GetRightX());
        for (CConnection* wire : *GetWires(network))
            for (const GraphSegment& s : wire->GetSegments())
            {
                // The last wire into the right rail does not count.
                if (wire->GetEnd().object && wire->GetEnd().object->GetType() == FBD_PIN &&
                    static_cast<CGraphPin*>(wire->GetEnd().object)->GetElement() == right &&
                    s == wire->GetSegments().back())
                {
                    used = std::max(used, std::min(s.x1, s.x2));
                    continue;
                }
                used = std::max({used, s.x1, s.x2});
            }
    }
    return used < 0 ? -1 : used + 2;
}

int CLDManager::CountCoils(const CGraphNetworkIntf* network) const
{
    const CGraphObjArray* elements = GetElements(network);
    if (!elements)
        return 0;
    return static_cast<int>(std::count_if(elements->begin(), elements->end(),
                                          [](const CGraphBlock* e) { return e->GetType() == FBD_LD_COIL; }));
}

CGraphBlock* CLDManager::FirstEditableElement() const
{
    if (const CGraphObjArray* elements = GetElements(m_pCurrent))
        for (CGraphBlock* element : *elements)
            if (IsValidGraphObject(element) && element->GetType() != FBD_LD_POWER_RAIL &&
                IsGraphElement(element))
                return element;
    return nullptr;
}

void CLDManager::TranslateNetwork(CPlcLDNetwork* model, int dx, int dy)
{
    if (!model)
    {
        ProgramError("LDManager", __LINE__, "no generated network");
        return;
    }
    auto move = [&](CPlcFBDObject* object)
    {
        object->m_nX += dx;
        object->m_nY += dy;
    };
    auto moveWire = [&](CPlcFBDConnection* wire)
    {
        move(wire);
        for (INT_PTR i = 0; i < wire->m_RoutePoints.GetSize(); ++i)
        {
            const DWORD point = wire->m_RoutePoints[i];
            const DWORD x = (point + static_cast<DWORD>(dx)) & 0xFFFF;
            const DWORD y = ((point >> 16) + static_cast<DWORD>(dy)) & 0xFFFF;
            wire->m_RoutePoints[i] = (y << 16) | x;
        }
    };
    const CPlcFBDObjList* lists[] = {&model->m_Constants,      &model->m_Variables, &model->m_Functions,
                                     &model->m_FunctionBlocks, &model->m_Operators, &model->m_Comments,
                                     &model->m_PowerRails,     &model->m_Contacts,  &model->m_Coils,
                                     &model->m_Crosses};
    for (const CPlcFBDObjList* list : lists)
        for (CPlcFBDObject* object : PlcObjects(*list))
            move(object);
    for (auto* wire : PlcObjects<CPlcFBDConnection>(model->m_Connections))
        moveWire(wire);
    for (auto* net : PlcObjects<CPlcFBDConnectionNetwork>(model->m_ConnNets))
    {
        for (auto* wire : PlcObjects<CPlcFBDConnection>(net->m_Connections))
            moveWire(wire);
        for (CPlcFBDObject* cross : PlcObjects(net->m_Crosses))
            move(cross);
    }
}

void CLDManager::RebuildIndex(CGraphNetworkIntf* network)
{
    std::vector<CGraphObject*>& index = m_Index[network];
    index.clear();
    if (const CGraphObjArray* elements = GetElements(network))
        index.insert(index.end(), elements->begin(), elements->end());
    if (const CConnectionList* wires = GetWires(network))
        index.insert(index.end(), wires->begin(), wires->end());
    if (const CCrossList* crosses = GetCrosses(network))
        index.insert(index.end(), crosses->begin(), crosses->end());
}

bool CLDManager::IsIndexed(const CGraphNetworkIntf* network, const CGraphObject* object) const
{
    auto at = m_Index.find(network);
    return at != m_Index.end() && std::find(at->second.begin(), at->second.end(), object) != at->second.end();
}

void CLDManager::Bridge(CGraphNetworkIntf* network, CGraphBlock* element, CGraphPin* in, CGraphPin* out)
{
    CConnection* into = in ? in->GetConnection() : nullptr;
    CConnection* from = out ? out->GetConnection() : nullptr;
    if (into && from && into != from && into->InheritEnd(in, *from, out))
    {
        in->SetConnection(nullptr);
        out->SetConnection(nullptr);
        RemoveWire(network, from, false);
    }
    RemoveElement(network, element, false);
}

void CLDManager::RemoveWithWires(CGraphNetworkIntf* network, CGraphBlock* element)
{
    for (CGraphPin* pin : element->OwnedPins())
        if (CConnection* wire = pin->GetConnection())
            RemoveWire(network, wire, false);
    RemoveElement(network, element, false);
}

void CLDManager::DeleteSelection()
{
    std::vector<CGraphNetworkIntf*> changed;
    // Deleting one object may delete others that are selected too; those are skipped.
    const std::vector<CGraphObject*> selected = m_Selection;
    for (CGraphObject* object : selected)
    {
        if (!IsInSelection(object) || !IsValidGraphObject(object))
            continue;
        CGraphNetworkIntf* network = object->GetNetwork();
        if (IndexOf(network) < 0)
            continue;
        switch (object->GetType())
        {
        case FBD_OPERATOR:
        {
            auto* op = static_cast<CGraphExeBlock*>(object);
            if (op->HasEnEno())
                Bridge(network, op, op->GetEN(), op->GetENO());
            else
                Bridge(network, op, op->FirstPin(CGraphPin::SIDE_INPUT, false),
                       op->FirstPin(CGraphPin::SIDE_OUTPUT, false));
            break;
        }
        case FBD_LD_CONTACT:
        {
            auto* contact = static_cast<CGraphBlock*>(object);
            Bridge(network, contact, contact->GetPin(0), contact->GetPin(1));
            break;
        }
        case FBD_LD_COIL:
        {
            auto* coil = static_cast<CGraphBlock*>(object);
            if (CountCoils(network) > 1)
                RemoveWithWires(network, coil);
            else
                Bridge(network, coil, coil->GetPin(0), coil->GetPin(1));
            break;
        }
        case FBD_FUNCTION_BLOCK:
        case FBD_FUNCTION:
        case FBD_VARIABLE:
        case FBD_CONST:
        case FBD_RETURN:
        case FBD_JUMP:
            RemoveElement(network, static_cast<CGraphBlock*>(object), false);
            break;
        case FBD_CROSS:
            RemoveCross(network, static_cast<CCrossConnection*>(object), false);
            break;
        case FBD_CONNECTION:
            if (!IsIndexed(network, object))
                RemoveWire(network, static_cast<CConnection*>(object), false);
            break;
        default:
            continue;
        }
        if (std::find(changed.begin(), changed.end(), network) == changed.end())
            changed.push_back(network);
    }
    ClearSelection();
    for (CGraphNetworkIntf* network : changed)
    {
        // The index must not keep deleted objects.
        if (m_Index.count(network))
            RebuildIndex(network);
        Notify(network);
    }
}
