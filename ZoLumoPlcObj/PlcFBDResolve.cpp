// Reference resolution, connection networks and validation of a network.
#include "PlcFBDBlocks.h"
#include "PlcFBDConnectionNetwork.h"
#include "PlcFBDElements.h"
#include "PlcFBDNetwork.h"
#include "PlcPinReference.h"

#include "PlcObjectError.h"

bool CPlcFBDNetwork::ResolveObjectPins()
{
    for (auto* constant : PlcObjects<CPlcFBDConst>(m_Constants))
        if (!ResolvePinConnection(&constant->m_Pin))
            return false;
    for (auto* variable : PlcObjects<CPlcFBDVariable>(m_Variables))
        if (!ResolvePinConnection(&variable->m_Pin))
            return false;
    for (CPlcFBDObjList* blocks : {&m_Functions, &m_FunctionBlocks, &m_Operators})
        for (auto* block : PlcObjects<CPlcFBDExeObject>(*blocks))
            for (CPlcFBDObjList* pins : {&block->m_Inputs, &block->m_Outputs})
                for (auto* pin : PlcObjects<CPlcFBDPin>(*pins))
                    if (!ResolvePinConnection(pin))
                        return false;
    for (auto* connection : PlcObjects<CPlcFBDConnection>(m_Connections))
        for (CPlcFBDPin* pin : {&connection->m_StartPin, &connection->m_EndPin})
            if (!ResolvePinConnection(pin))
                return false;
    for (auto* cross : PlcObjects<CPlcFBDCross>(m_Crosses))
        for (CPlcFBDPin* pin : {&cross->m_TopPin, &cross->m_BottomPin, &cross->m_LeftPin, &cross->m_RightPin})
            if (!ResolvePinConnection(pin))
                return false;
    return true;
}

bool CPlcFBDNetwork::ResolveReferences()
{
    return ResolveObjectPins() && UpdateConnectionNetworks();
}

bool CPlcFBDNetwork::ResolvePinConnection(CPlcFBDPin* pin)
{
    if (!pin->m_pParent)
    {
        PlcObjectError(1248);
        return false;
    }
    pin->m_pPartner = nullptr;
    switch (pin->m_nConnectedType)
    {
    case FBD_UNKNOWN:
        return true;
    case FBD_FUNCTION_BLOCK:
    case FBD_FUNCTION:
    case FBD_OPERATOR:
        pin->m_pPartner = FindBlockPin(pin);
        break;
    case FBD_VARIABLE:
        if (auto* variable = static_cast<CPlcFBDVariable*>(m_Variables.FindEl(pin->m_strConnectedID)))
            pin->m_pPartner = &variable->m_Pin;
        break;
    case FBD_CONST:
        if (auto* constant = static_cast<CPlcFBDConst*>(m_Constants.FindEl(pin->m_strConnectedID)))
            pin->m_pPartner = &constant->m_Pin;
        break;
    case FBD_CROSS:
        pin->m_pPartner = FindCrossPin(pin);
        break;
    case FBD_CONNECTION:
        pin->m_pPartner = FindConnectionPin(pin);
        break;
    case FBD_RETURN:
    case FBD_JUMP:
        if (auto* target = static_cast<CPlcFBDExeObject*>(m_Operators.FindEl(pin->m_strConnectedID)))
            if (!target->m_Inputs.IsEmpty())
                pin->m_pPartner = static_cast<CPlcFBDPin*>(target->m_Inputs.GetHead());
        break;
    default:
        break;
    }
    return pin->m_pPartner != nullptr;
}

CPlcFBDPin* CPlcFBDNetwork::FindBlockPin(CPlcFBDPin* pin)
{
    CString objectID, pinID;
    if (!SplitPinReference(pin->m_strConnectedID, objectID, pinID))
        return nullptr;
    CPlcFBDExeObject* block = FindBlock(objectID);
    return block ? block->FindPin(pinID) : nullptr;
}

CString CPlcFBDNetwork::ReferenceName(const CPlcFBDPin* pin, PinNaming naming)
{
    const CPlcFBDObject* owner = pin->m_pParent;
    if (!owner)
        return CString();
    const int type = owner->m_nType;
    bool named = type == FBD_FUNCTION_BLOCK || type == FBD_FUNCTION;
    if (naming != PinNaming::Crossing)
        named = named || type == FBD_OPERATOR;
    if (naming == PinNaming::Ladder)
        named = named || type == FBD_LD_POWER_RAIL || type == FBD_LD_CONTACT || type == FBD_LD_COIL;
    return named ? owner->m_strID + "." + pin->m_strID : owner->m_strID;
}

CPlcFBDPin* CPlcFBDNetwork::FindConnectionPinNamed(CPlcFBDPin* pin, PinNaming naming)
{
    auto* connection = static_cast<CPlcFBDConnection*>(m_Connections.FindEl(pin->m_strConnectedID));
    if (!connection)
    {
        PlcObjectError(naming == PinNaming::Ladder ? 2901 : 1042);
        return nullptr;
    }
    const CString name = ReferenceName(pin, naming);
    if (connection->m_StartPin.m_strConnectedID == name)
        return &connection->m_StartPin;
    if (connection->m_EndPin.m_strConnectedID == name)
        return &connection->m_EndPin;
    PlcObjectError(naming == PinNaming::Ladder ? 2925 : 1063);
    return nullptr;
}

CPlcFBDPin* CPlcFBDNetwork::FindConnectionPin(CPlcFBDPin* pin)
{
    return FindConnectionPinNamed(pin, PinNaming::Blocks);
}

CPlcFBDPin* CPlcFBDNetwork::FindCrossPin(CPlcFBDPin* pin)
{
    auto* cross = static_cast<CPlcFBDCross*>(m_Crosses.FindEl(pin->m_strConnectedID));
    if (!cross)
        return nullptr;
    const CString name = ReferenceName(pin, PinNaming::Crossing);
    for (CPlcFBDPin* side : {&cross->m_TopPin, &cross->m_BottomPin, &cross->m_LeftPin, &cross->m_RightPin})
        if (side->m_strConnectedID == name)
            return side;
    return nullptr;
}

CPlcFBDObject* CPlcFBDNetwork::FindFBDObject(CPlcFBDPin* pin)
{
    CString objectID, pinID;
    if (SplitPinReference(pin->m_strConnectedID, objectID, pinID))
        return FindBlock(objectID);
    switch (pin->m_nConnectedType)
    {
    case FBD_VARIABLE:
        return m_Variables.FindEl(pin->m_strConnectedID);
    case FBD_CONST:
        return m_Constants.FindEl(pin->m_strConnectedID);
    case FBD_RETURN:
    case FBD_JUMP:
        return m_Operators.FindEl(pin->m_strConnectedID);
    default:
        return nullptr;
    }
}
