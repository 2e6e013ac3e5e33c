#include "GraphManager.h"

#include "GraphExeBlock.h"
#include "GraphSmallElements.h"

#include <ZoLumoPlcObj/PlcFBDConnectionNetwork.h>
#include <ZoLumoPlcObj/PlcFBDElements.h>
#include <ZoLumoPlcObj/PlcFBDNetwork.h>
#include <ZoSupport/ZoSupport.h>

#include <cstdint>
#include <new>

namespace
{
CPoint RoutePoint(DWORD packed)
{
    return {static_cast<int16_t>(packed & 0xFFFF), static_cast<int16_t>(packed >> 16)};
}

// The arm (left 0, top 1, right 2, bottom 3) whose side pin names the wire.
int ModelArm(const CPlcFBDCross& cross, int arm)
{
    const CPlcFBDPin* sides[] = {&cross.m_LeftPin, &cross.m_TopPin, &cross.m_RightPin, &cross.m_BottomPin};
    int number = -1;
    return ReadDecimal(sides[arm]->m_strConnectedID, number) ? number : -1;
}
} // namespace

CGraphBlock* CGraphManager::NewElement(int type) const
{
    switch (type)
    {
    case FBD_FUNCTION_BLOCK:
        return new CGraphFuncBlock;
    case FBD_FUNCTION:
        return new CGraphFunction;
    case FBD_VARIABLE:
        return new CGraphVar;
    case FBD_CONST:
        return new CGraphConst;
    case FBD_OPERATOR:
        return new CGraphOpr;
    case FBD_RETURN:
        return new CGraphReturn;
    case FBD_JUMP:
        return new CGraphJmp;
    case FBD_COMMENT:
        return new CGraphComment;
    default:
        return nullptr;
    }
}

bool CGraphManager::MatchesByNumberAndPin(int type) const
{
    return type == FBD_FUNCTION || type == FBD_OPERATOR;
}

bool CGraphManager::IsGraphElement(const CGraphObject* object) const
{
    if (!IsValidGraphObject(object))
    {
        ProgramError(SourceName(), __LINE__, "invalid object");
        return false;
    }
    const int type = object->GetType();
    return (type >= FBD_FUNCTION_BLOCK && type <= FBD_CONST) || (type >= FBD_OPERATOR && type <= FBD_JUMP);
}

CGraphBlock* CGraphManager::CreateElement(CGraphNetworkIntf* network, CPlcFBDObject* model, bool)
{
    if (!model || !GetElements(network))
        return nullptr;
    CGraphBlock* element = nullptr;
    try
    {
        element = NewElement(model->m_nType);
    }
    catch (const std::bad_alloc&)
    {
        ProgramError(SourceName(), __LINE__, "out of memory");
        return nullptr;
    }
    if (!element)
        return nullptr;
    element->SetOwner(this);
    if (!IsValidGraphObject(element) || !element->Init(network, model) ||
        !AddElement(network, element, false))
    {
        delete element;
        return nullptr;
    }
    // The generated objects carry no state of their own: read as 0, shown.
    element->SetVisible(true);
    return element;
}

CGraphBlock* CGraphManager::CreateComment(CGraphNetworkIntf* network, int x, int y, const char* text)
{
    CPlcFBDComment model;
    model.m_strID = "0";
    model.m_strComment = text && *text ? text : "Comment";
    model.m_nX = x;
    model.m_nY = y;
    CGraphBlock* comment = CreateElement(network, &model);
    if (comment)
        comment->ForgetModel();
    return comment;
}

CConnection* CGraphManager::ImportWire(CGraphNetworkIntf* network, CPlcFBDConnection* model)
{
    if (!model || !GetWires(network))
        return nullptr;
    CConnection* wire = nullptr;
    try
    {
        wire = new CConnection;
    }
    catch (const std::bad_alloc&)
    {
        ProgramError(SourceName(), __LINE__, "out of memory");
        return nullptr;
    }
    if (!AddWire(network, wire, false))
    {
        delete wire;
        return nullptr;
    }
    int number = 0;
    ReadDecimal(model->m_strID, number);
    wire->SetNumber(number);
    wire->SetModel(model);
    const INT_PTR points = model->m_RoutePoints.GetSize();
    for (INT_PTR i = 0; i + 1 < points; ++i)
    {
        const CPoint a = RoutePoint(model->m_RoutePoints[i]);
        const CPoint b = RoutePoint(model->m_RoutePoints[i + 1]);
        wire->AddPath(a, b);
    }
    const auto& segments = wire->GetSegments();
    for (bool start : {true, false})
    {
        const CPlcFBDPin& pin = start ? model->m_StartPin : model->m_EndPin;
        CConnection::End& end = start ? wire->Start() : wire->EndOf();
        if (!pin.m_strConnectedID.IsEmpty())
        {
            end.point = CPoint(pin.m_nX, pin.m_nY);
            end.name = pin.m_strConnectedID;
            end.partnerType = pin.m_nConnectedType;
            continue;
        }
        ProgramError(SourceName(), __LINE__, "connection without a partner");
        if (!segments.empty())
            end.point = start ? segments.front().Start() : segments.back().End();
    }
    return wire;
}

CCrossConnection* CGraphManager::ImportCross(CGraphNetworkIntf* network, CPlcFBDCross* model)
{
    if (!model || !GetCrosses(network))
        return nullptr;
    CCrossConnection* cross = nullptr;
    try
    {
        cross = new CCrossConnection;
    }
    catch (const std::bad_alloc&)
    {
        ProgramError(SourceName(), __LINE__, "out of memory");
        return nullptr;
    }
    if (!AddCross(network, cross, false))
    {
        delete cross;
        return nullptr;
    }
    int number = 0;
    ReadDecimal(model->m_strID, number);
    cross->SetNumber(number);
    cross->SetModel(model);
    for (int arm = 0; arm < CCrossConnection::ArmCount; ++arm)
        cross->SetWireNumber(arm, ModelArm(*model, arm));
    cross->MoveTo(model->m_nX, model->m_nY);
    return cross;
}

void CGraphManager::ConnectWireEnds(CGraphNetworkIntf* network)
{
    CConnectionList* wires = GetWires(network);
    if (!wires)
        return;
    for (CConnection* wire : *wires)
    {
        if (!IsValidGraphObject(wire))
            continue;
        // Joining an end may turn the wire round; a second pass takes the end that moved.
        for (int pass = 0; pass < 2; ++pass)
            for (bool start : {true, false})
            {
                CConnection::End& end = start ? wire->Start() : wire->EndOf();
                if (end.object || end.partnerType == 0)
                    continue;
                if (end.partnerType == FBD_CROSS)
                {
                    for (CCrossConnection* cross : *GetCrosses(network))
                    {
                        CString number;
                        number.Format("%d", cross->GetNumber());
                        if (number != end.name)
                            continue;
                        int arm = -1;
                        for (int i = 0; i < CCrossConnection::ArmCount && arm < 0; ++i)
                            if (cross->GetWireNumber(i) == wire->GetNumber() && !cross->GetArm(i))
                                arm = i;
                        // The end is bound only once the junction holds the wire on an arm.
                        if (arm < 0 || !cross->AddConnection(wire, arm))
                        {
                            ProgramError(SourceName(), __LINE__, "junction without that wire");
                            break;
                        }
                        wire->SetEndObject(start, cross, CConnection::END_NONE);
                        end.pinNumber = arm;
                        if (end.point != cross->GetPosition())
                            wire->MoveEnd(start, cross->GetPosition().x, cross->GetPosition().y);
                        break;
                    }
                    end.partnerType = 0;
                    continue;
                }
                for (CGraphBlock* element : *GetElements(network))
                {
                    if (element->GetType() != end.partnerType)
                        continue;
                    ResolvePinConnection(wire, start, element);
                    if (end.object)
                        break;
                }
            }
        wire->CleanUp();
        wire->Validate();
    }
}

bool CGraphManager::ResolvePinConnection(CConnection* wire, bool start, CGraphBlock* candidate)
{
    if (!IsValidGraphObject(wire) || !IsValidGraphObject(candidate))
    {
        ProgramError(SourceName(), __LINE__, "invalid wire or element");
        return false;
    }
    CConnection::End& end = start ? wire->Start() : wire->EndOf();
    const int type = candidate->GetType();
    CGraphPin* pin = nullptr;
    if (type == FBD_FUNCTION_BLOCK || MatchesByNumberAndPin(type))
    {
        CString id, name;
        SplitPinRef(end.name, id, name);
        int number = 0;
        const bool matches = type == FBD_FUNCTION_BLOCK
                                 ? candidate->GetText() == id
                                 : ReadDecimal(id, number) && number == candidate->GetNumber();
        if (!matches)
            return true;
        pin = candidate->PinByName(name);
    }
    else if (type == FBD_VARIABLE || type == FBD_CONST || type == FBD_RETURN || type == FBD_JUMP)
    {
        int number = 0;
        if (!ReadDecimal(end.name, number) || number != candidate->GetNumber())
            return true;
        pin = candidate->GetPin(0);
    }
    if (!pin)
        return true;
    if (CConnection* old = pin->GetConnection(); old && old != wire)
        old->DetachEnd(pin);
    const int kind =
        pin->GetSide() == CGraphPin::SIDE_INPUT ? CConnection::END_INPUT : CConnection::END_OUTPUT;
    wire->SetEndObject(start, pin, kind);
    end.partnerType = 0;
    end.pinNumber = candidate->GetPinCount();
    for (int i = 0; i < candidate->GetPinCount(); ++i)
        if (candidate->GetPin(i) == pin)
            end.pinNumber = i;
    pin->SetConnection(wire);
    if (end.point != pin->GetPosition())
        wire->MoveEnd(start, pin->GetPosition().x, pin->GetPosition().y);
    return true;
}

void CGraphManager::ImportElements(CGraphNetworkIntf* network, const CPlcFBDObjList& list,
                                   std::unordered_set<const CPlcFBDObject*>& taken)
{
    for (CPlcFBDObject* object : PlcObjects(list))
        if (taken.insert(object).second)
            CreateElement(network, object);
}

void CGraphManager::ImportConnections(CGraphNetworkIntf* network, const CPlcFBDNetwork& model,
                                      std::unordered_set<const CPlcFBDObject*>& taken)
{
    auto importWires = [&](const CPlcFBDObjList& connections, const CPlcFBDObjList& crosses)
    {
        for (auto* cross : PlcObjects<CPlcFBDCross>(crosses))
            if (cross->m_nType == FBD_CROSS && taken.insert(cross).second)
                ImportCross(network, cross);
        for (auto* connection : PlcObjects<CPlcFBDConnection>(connections))
            if (connection->m_nType == FBD_CONNECTION && taken.insert(connection).second)
                ImportWire(network, connection);
    };
    for (auto* net : PlcObjects<CPlcFBDConnectionNetwork>(model.m_ConnNets))
        importWires(net->m_Connections, net->m_Crosses);
    importWires(model.m_Connections, model.m_Crosses);
}

CString CGraphManager::FirstComment(const CPlcFBDNetwork& model)
{
    for (CPlcFBDObject* object : PlcObjects(model.m_Comments))
        if (object->m_nType == FBD_COMMENT)
            return static_cast<CPlcFBDComment*>(object)->m_strComment;
    return CString();
}

bool CGraphManager::ImportNetwork(CGraphNetworkIntf* network, CPlcFBDNetwork* model)
{
    if (!network || !model || !GetElements(network))
    {
        ProgramError(SourceName(), __LINE__, "no network window or generated network");
        return false;
    }
    std::unordered_set<const CPlcFBDObject*> taken;
    for (const CPlcFBDObjList* list : {&model->m_Constants, &model->m_Variables, &model->m_Functions,
                                       &model->m_FunctionBlocks, &model->m_Operators, &model->m_Comments})
        ImportElements(network, *list, taken);
    ImportConnections(network, *model, taken);
    ConnectWireEnds(network);
    Notify(network);
    network->SetComment(FirstComment(*model));
    return true;
}
