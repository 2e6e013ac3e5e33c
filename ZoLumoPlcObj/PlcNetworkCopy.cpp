// Deep copy of a ladder network and the commit of a converted copy.
#include "PlcNetworkCopy.h"

#include "PlcFBDBlocks.h"
#include "PlcFBDConnectionNetwork.h"
#include "PlcFBDElements.h"
#include "PlcLDElements.h"

#include "PlcObjectError.h"

#include <array>

namespace
{
using Visitor = std::function<void(CPlcFBDObject*)>;

void VisitList(const CPlcFBDObjList& list, const Visitor& visit);

void VisitObject(CPlcFBDObject* object, const Visitor& visit)
{
    visit(object);
    switch (object->m_nType)
    {
    case FBD_FUNCTION_BLOCK:
    case FBD_FUNCTION:
    case FBD_OPERATOR:
    case FBD_RETURN:
    case FBD_JUMP:
        VisitList(static_cast<CPlcFBDExeObject*>(object)->m_Inputs, visit);
        VisitList(static_cast<CPlcFBDExeObject*>(object)->m_Outputs, visit);
        break;
    case FBD_VARIABLE:
        visit(&static_cast<CPlcFBDVariable*>(object)->m_Pin);
        break;
    case FBD_CONST:
        visit(&static_cast<CPlcFBDConst*>(object)->m_Pin);
        break;
    case FBD_CROSS:
    {
        auto* cross = static_cast<CPlcFBDCross*>(object);
        for (CPlcFBDPin* pin : {&cross->m_TopPin, &cross->m_BottomPin, &cross->m_LeftPin, &cross->m_RightPin})
            visit(pin);
        break;
    }
    case FBD_CONNECTION:
        visit(&static_cast<CPlcFBDConnection*>(object)->m_StartPin);
        visit(&static_cast<CPlcFBDConnection*>(object)->m_EndPin);
        break;
    case FBD_CONNECTION_NETWORK:
        VisitList(static_cast<CPlcFBDConnectionNetwork*>(object)->m_Connections, visit);
        VisitList(static_cast<CPlcFBDConnectionNetwork*>(object)->m_Crosses, visit);
        break;
    case FBD_LD_CONTACT:
    {
        auto* contact = static_cast<CPlcLDContact*>(object);
        visit(&contact->m_InPin);
        visit(&contact->m_OutPin);
        VisitList(contact->m_ExtraPins, visit);
        break;
    }
    case FBD_LD_COIL:
    {
        auto* coil = static_cast<CPlcLDCoil*>(object);
        visit(&coil->m_InPin);
        visit(&coil->m_OutPin);
        VisitList(coil->m_ExtraPins, visit);
        break;
    }
    case FBD_LD_POWER_RAIL:
        VisitList(static_cast<CPlcLDPowerRail*>(object)->m_Pins, visit);
        break;
    default:
        break;
    }
}

void VisitList(const CPlcFBDObjList& list, const Visitor& visit)
{
    for (auto* object : PlcObjects(list))
        VisitObject(object, visit);
}

// The owning lists of a ladder network.
const std::array<CPlcFBDObjList CPlcLDNetwork::*, 12>& OwningLists()
{
    static const std::array<CPlcFBDObjList CPlcLDNetwork::*, 12> lists = {
        &CPlcLDNetwork::m_ConnNets,   &CPlcLDNetwork::m_Constants,      &CPlcLDNetwork::m_Variables,
        &CPlcLDNetwork::m_Functions,  &CPlcLDNetwork::m_FunctionBlocks, &CPlcLDNetwork::m_Operators,
        &CPlcLDNetwork::m_Comments,   &CPlcLDNetwork::m_Connections,    &CPlcLDNetwork::m_Crosses,
        &CPlcLDNetwork::m_PowerRails, &CPlcLDNetwork::m_Contacts,       &CPlcLDNetwork::m_Coils};
    return lists;
}
} // namespace

void CPlcNetworkCopy::ForEachObject(CPlcLDNetwork& network, const Visitor& visit)
{
    for (auto list : OwningLists())
        VisitList(network.*list, visit);
}

CPlcNetworkCopy::CPlcNetworkCopy(CPlcLDNetwork& source)
    : m_source(source), m_copy(std::make_unique<CPlcLDNetwork>())
{
    CopyBase(source, *m_copy);
    m_copy->m_strName = source.m_strName;
    m_copy->m_nNextVarNumber = source.m_nNextVarNumber;
    m_copy->m_pErrorObject = source.m_pErrorObject;
    for (auto list : OwningLists())
        CloneList(source.*list, m_copy.get()->*list);
    for (auto* object : PlcObjects(source.m_ExecList))
        m_copy->m_ExecList.AddTail(object);

    Redirect(m_copy.get());
    m_copy->m_pErrorObject = Mapped(m_copy->m_pErrorObject);
    MapList(m_copy->m_ExecList);
    ForEachObject(*m_copy, [this](CPlcFBDObject* copy) { Redirect(copy); });
}

void CPlcNetworkCopy::CopyBase(const CPlcFBDObject& from, CPlcFBDObject& to)
{
    to.m_bValid = from.m_bValid;
    to.m_nType = from.m_nType;
    to.m_nOriginType = from.m_nOriginType;
    to.m_strOriginID = from.m_strOriginID;
    to.m_pParent = from.m_pParent;
    to.m_strID = from.m_strID;
    to.m_LinkedNames.Copy(from.m_LinkedNames);
    to.m_AuxNames.Copy(from.m_AuxNames);
    to.m_nX = from.m_nX;
    to.m_nY = from.m_nY;
    to.m_nOrder = from.m_nOrder;
    to.m_nError = from.m_nError;
    m_copyOf[&from] = &to;
}

void CPlcNetworkCopy::ClonePin(const CPlcFBDPin& from, CPlcFBDPin& to)
{
    CopyBase(from, to);
    to = from;
}

void CPlcNetworkCopy::CloneList(const CPlcFBDObjList& from, CPlcFBDObjList& to)
{
    for (auto* object : PlcObjects(from))
        if (CPlcFBDObject* copy = Clone(object))
            to.AddTail(copy);
}

CPlcFBDObject* CPlcNetworkCopy::Clone(const CPlcFBDObject* object)
{
    auto copyExe = [this](const CPlcFBDObject* from, CPlcFBDExeObject* to)
    {
        const auto* exe = static_cast<const CPlcFBDExeObject*>(from);
        to->m_strBlockName = exe->m_strBlockName;
        CloneList(exe->m_Inputs, to->m_Inputs);
        CloneList(exe->m_Outputs, to->m_Outputs);
        to->m_bENEnd = exe->m_bENEnd;
        to->m_bENOEnd = exe->m_bENOEnd;
        to->m_pENOSource = exe->m_pENOSource;
        return to;
    };

    CPlcFBDObject* copy = nullptr;
    switch (object->m_nType)
    {
    case FBD_PIN:
    {
        auto* pin = new CPlcFBDPin;
        ClonePin(*static_cast<const CPlcFBDPin*>(object), *pin);
        return pin;
    }
    case FBD_FUNCTION_BLOCK:
        copy = copyExe(object, new CPlcFBDFunctionBlock);
        break;
    case FBD_FUNCTION:
        copy = copyExe(object, new CPlcFBDFunction);
        break;
    case FBD_OPERATOR:
        copy = copyExe(object, new CPlcFBDOperator);
        break;
    case FBD_RETURN:
        copy = copyExe(object, new CPlcFBDReturn);
        break;
    case FBD_JUMP:
        copy = copyExe(object, new CPlcFBDJump);
        break;
    case FBD_COMMENT:
    {
        auto* comment = new CPlcFBDComment;
        comment->m_strComment = static_cast<const CPlcFBDComment*>(object)->m_strComment;
        copy = comment;
        break;
    }
    case FBD_VARIABLE:
    {
        const auto* from = static_cast<const CPlcFBDVariable*>(object);
        auto* variable = new CPlcFBDVariable;
        variable->m_strVarName = from->m_strVarName;
        ClonePin(from->m_Pin, variable->m_Pin);
        copy = variable;
        break;
    }
    case FBD_CONST:
    {
        const auto* from = static_cast<const CPlcFBDConst*>(object);
        auto* constant = new CPlcFBDConst;
        constant->m_strValue = from->m_strValue;
        ClonePin(from->m_Pin, constant->m_Pin);
        copy = constant;
        break;
    }
    case FBD_CROSS:
    {
        const auto* from = static_cast<const CPlcFBDCross*>(object);
        auto* cross = new CPlcFBDCross;
        ClonePin(from->m_TopPin, cross->m_TopPin);
        ClonePin(from->m_BottomPin, cross->m_BottomPin);
        ClonePin(from->m_LeftPin, cross->m_LeftPin);
        ClonePin(from->m_RightPin, cross->m_RightPin);
        cross->m_bFanOut = from->m_bFanOut;
        copy = cross;
        break;
    }
    case FBD_CONNECTION:
    {
        const auto* from = static_cast<const CPlcFBDConnection*>(object);
        auto* connection = new CPlcFBDConnection;
        ClonePin(from->m_StartPin, connection->m_StartPin);
        ClonePin(from->m_EndPin, connection->m_EndPin);
        connection->m_RoutePoints.Copy(from->m_RoutePoints);
        copy = connection;
        break;
    }
    case FBD_CONNECTION_NETWORK:
    {
        const auto* from = static_cast<const CPlcFBDConnectionNetwork*>(object);
        CPlcFBDConnectionNetwork* net = dynamic_cast<const CPlcLDConnectionNetwork*>(from)
                                            ? new CPlcLDConnectionNetwork
                                            : new CPlcFBDConnectionNetwork;
        net->m_bFeedback = from->m_bFeedback;
        net->m_pSourceObject = from->m_pSourceObject;
        net->m_strOutputVar = from->m_strOutputVar;
        net->m_strSecondName = from->m_strSecondName;
        net->m_bSpare = from->m_bSpare;
        using ListPair = std::pair<const CPlcFBDObjList*, CPlcFBDObjList*>;
        for (auto [list, copyList] :
             {ListPair{&from->m_Inputs, &net->m_Inputs}, ListPair{&from->m_Outputs, &net->m_Outputs},
              ListPair{&from->m_DestObjects, &net->m_DestObjects},
              ListPair{&from->m_SourceNets, &net->m_SourceNets},
              ListPair{&from->m_DestNets, &net->m_DestNets}})
            for (auto* element : PlcObjects(*list))
                copyList->AddTail(element);
        CloneList(from->m_Connections, net->m_Connections);
        CloneList(from->m_Crosses, net->m_Crosses);
        copy = net;
        break;
    }
    case FBD_LD_CONTACT:
    {
        const auto* from = static_cast<const CPlcLDContact*>(object);
        auto* contact = new CPlcLDContact;
        contact->m_strVarName = from->m_strVarName;
        ClonePin(from->m_InPin, contact->m_InPin);
        ClonePin(from->m_OutPin, contact->m_OutPin);
        contact->m_bFlag = from->m_bFlag;
        contact->m_nKind = from->m_nKind;
        CloneList(from->m_ExtraPins, contact->m_ExtraPins);
        copy = contact;
        break;
    }
    case FBD_LD_COIL:
    {
        const auto* from = static_cast<const CPlcLDCoil*>(object);
        auto* coil = new CPlcLDCoil;
        coil->m_strVarName = from->m_strVarName;
        ClonePin(from->m_InPin, coil->m_InPin);
        ClonePin(from->m_OutPin, coil->m_OutPin);
        coil->m_bFlag = from->m_bFlag;
        coil->m_bFlag2 = from->m_bFlag2;
        coil->m_nKind = from->m_nKind;
        CloneList(from->m_ExtraPins, coil->m_ExtraPins);
        copy = coil;
        break;
    }
    case FBD_LD_POWER_RAIL:
    {
        const auto* from = static_cast<const CPlcLDPowerRail*>(object);
        auto* rail = new CPlcLDPowerRail;
        rail->m_nSide = from->m_nSide;
        CloneList(from->m_Pins, rail->m_Pins);
        copy = rail;
        break;
    }
    default:
        // Networks do not nest; anything else has no class in the library.
        PlcObjectError(__LINE__);
        return nullptr;
    }
    CopyBase(*object, *copy);
    return copy;
}

CPlcFBDObject* CPlcNetworkCopy::Mapped(CPlcFBDObject* object) const
{
    if (object == &m_source)
        return m_copy.get();
    const auto found = m_copyOf.find(object);
    return found == m_copyOf.end() ? object : found->second;
}

void CPlcNetworkCopy::MapList(CPlcFBDObjList& list) const
{
    for (POSITION pos = list.GetHeadPosition(); pos; list.GetNext(pos))
        list.SetAt(pos, Mapped(static_cast<CPlcFBDObject*>(list.GetAt(pos))));
}

void CPlcNetworkCopy::Redirect(CPlcFBDObject* copy) const
{
    copy->m_pParent = Mapped(copy->m_pParent);
    if (copy->m_nType == FBD_PIN)
    {
        auto* pin = static_cast<CPlcFBDPin*>(copy);
        pin->m_pPartner = static_cast<CPlcFBDPin*>(Mapped(pin->m_pPartner));
        pin->m_pConnNet = static_cast<CPlcFBDConnectionNetwork*>(Mapped(pin->m_pConnNet));
    }
    else if (CPlcFBDObject::IsExeType(copy->m_nType))
    {
        auto* exe = static_cast<CPlcFBDExeObject*>(copy);
        exe->m_pENOSource = Mapped(exe->m_pENOSource);
    }
    else if (copy->m_nType == FBD_CONNECTION_NETWORK)
    {
        auto* net = static_cast<CPlcFBDConnectionNetwork*>(copy);
        net->m_pSourceObject = Mapped(net->m_pSourceObject);
        for (CPlcFBDObjList* list :
             {&net->m_Inputs, &net->m_Outputs, &net->m_DestObjects, &net->m_SourceNets, &net->m_DestNets})
            MapList(*list);
    }
}

CPlcFBDObject* CPlcNetworkCopy::CopyOf(const CPlcFBDObject* object) const
{
    if (object == &m_source)
        return &m_source;
    const auto found = m_copyOf.find(object);
    return found == m_copyOf.end() ? nullptr : found->second;
}

void CPlcNetworkCopy::RestoreSource()
{
    CPlcLDNetwork& copy = *m_copy;
    m_source.m_ExecList.Reset();
    for (auto list : OwningLists())
    {
        (m_source.*list).Reset();
        while (!(copy.*list).IsEmpty())
            (m_source.*list).AddTail((copy.*list).RemoveHead());
    }
    while (!copy.m_ExecList.IsEmpty())
        m_source.m_ExecList.AddTail(copy.m_ExecList.RemoveHead());
    m_source.m_bValid = copy.m_bValid;
    m_source.m_nError = copy.m_nError;
    m_source.m_nOrder = copy.m_nOrder;
    m_source.m_nNextVarNumber = copy.m_nNextVarNumber;
    auto toSource = [&](CPlcFBDObject* object) { return object == &copy ? &m_source : object; };
    m_source.m_pErrorObject = toSource(copy.m_pErrorObject);
    ForEachObject(m_source, [&](CPlcFBDObject* object) { object->m_pParent = toSource(object->m_pParent); });
    m_copyOf.clear();
}
