// Ladder network: filing, dump, reference resolution and checks of the ladder elements.
#include "PlcLDNetwork.h"

#include "PlcFBDConnectionNetwork.h"
#include "PlcFBDDump.h"
#include "PlcFBDElements.h"
#include "PlcLDElements.h"
#include "PlcPinReference.h"

#include "PlcObjectError.h"

#include <cerrno>
#include <cstdlib>
#include <iterator>

namespace
{
bool ReadsAsNumber(const CString& id, int number)
{
    if (id.IsEmpty())
        return false;
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(id.GetString(), &end, 10);
    return errno == 0 && *end == '\0' && value == number;
}
} // namespace

CPlcLDNetwork::~CPlcLDNetwork() = default;

void CPlcLDNetwork::AddNetworkObject(CPlcFBDObject* object)
{
    if (!object)
    {
        PlcObjectError(__LINE__);
        return;
    }
    CPlcFBDObjList* list = nullptr;
    switch (object->m_nType)
    {
    case FBD_LD_POWER_RAIL:
        list = &m_PowerRails;
        break;
    case FBD_LD_CONTACT:
        list = &m_Contacts;
        break;
    case FBD_LD_COIL:
        list = &m_Coils;
        break;
    case FBD_COMMENT:
        list = &m_Comments;
        break;
    case FBD_FUNCTION_BLOCK:
    case FBD_FUNCTION:
    case FBD_VARIABLE:
    case FBD_CONST:
    case FBD_CROSS:
    case FBD_CONNECTION:
    case FBD_OPERATOR:
    case FBD_RETURN:
    case FBD_JUMP:
        CPlcFBDNetwork::AddNetworkObject(object);
        return;
    default:
        PlcObjectError(2621);
        return;
    }
    list->AddTail(object);
    object->m_pParent = this;
}

void CPlcLDNetwork::Dump(bool full)
{
    if (!DumpHead(full) || !full)
        return;
    const PlcNamedList lists[] = {{"CONNECTION NETWORKS (%d):\n", &m_ConnNets},
                                  {"CONSTANTS (%d):\n", &m_Constants},
                                  {"VARIABLES (%d):\n", &m_Variables},
                                  {"POWER RAILS (%d):\n", &m_PowerRails},
                                  {"CONTACTS (%d):\n", &m_Contacts},
                                  {"COILS (%d):\n", &m_Coils},
                                  {"FUNCTIONS (%d):\n", &m_Functions},
                                  {"FUNCTION BLOCKS (%d):\n", &m_FunctionBlocks},
                                  {"OPERATORS (%d):\n", &m_Operators},
                                  {"COMMENTS (%d):\n", &m_Comments}};
    DumpLists(lists, static_cast<int>(std::size(lists)));
}

bool CPlcLDNetwork::ResolveReferences()
{
    if (!ResolveObjectPins())
        return false;
    for (auto* rail : PlcObjects<CPlcLDPowerRail>(m_PowerRails))
        for (auto* pin : PlcObjects<CPlcFBDPin>(rail->m_Pins))
            if (!ResolvePinConnection(pin))
                return false;
    for (auto* contact : PlcObjects<CPlcLDContact>(m_Contacts))
        if (!ResolvePinConnection(&contact->m_InPin) || !ResolvePinConnection(&contact->m_OutPin))
            return false;
    for (auto* coil : PlcObjects<CPlcLDCoil>(m_Coils))
        if (!ResolvePinConnection(&coil->m_InPin) || !ResolvePinConnection(&coil->m_OutPin))
            return false;
    return UpdateConnectionNetworks();
}

bool CPlcLDNetwork::ResolvePinConnection(CPlcFBDPin* pin)
{
    if (!pin->m_pParent)
    {
        PlcObjectError(2768);
        return false;
    }
    if (CPlcFBDNetwork::ResolvePinConnection(pin))
        return true;
    switch (pin->m_nConnectedType)
    {
    case FBD_UNKNOWN:
        pin->m_pPartner = nullptr;
        return true;
    case FBD_LD_POWER_RAIL:
    case FBD_LD_CONTACT:
    case FBD_LD_COIL:
        pin->m_pPartner = FindBlockPin(pin);
        return pin->m_pPartner != nullptr;
    default:
        pin->m_pPartner = nullptr;
        return false;
    }
}

CPlcFBDPin* CPlcLDNetwork::FindBlockPin(CPlcFBDPin* pin)
{
    if (CPlcFBDPin* found = CPlcFBDNetwork::FindBlockPin(pin))
        return found;
    CString objectID, pinID;
    if (!SplitPinReference(pin->m_strConnectedID, objectID, pinID))
        return nullptr;
    switch (pin->m_nConnectedType)
    {
    case FBD_LD_POWER_RAIL:
        if (auto* rail = static_cast<CPlcLDPowerRail*>(m_PowerRails.FindEl(objectID)))
            return FindPinByID(rail->m_Pins, pinID);
        return nullptr;
    case FBD_LD_CONTACT:
        if (auto* contact = static_cast<CPlcLDContact*>(m_Contacts.FindEl(objectID)))
        {
            if (contact->m_InPin.m_strID == pinID)
                return &contact->m_InPin;
            if (contact->m_OutPin.m_strID == pinID)
                return &contact->m_OutPin;
        }
        return nullptr;
    case FBD_LD_COIL:
        if (auto* coil = static_cast<CPlcLDCoil*>(m_Coils.FindEl(objectID)))
        {
            if (coil->m_InPin.m_strID == pinID)
                return &coil->m_InPin;
            if (coil->m_OutPin.m_strID == pinID)
                return &coil->m_OutPin;
        }
        return nullptr;
    default:
        return nullptr;
    }
}

CPlcFBDPin* CPlcLDNetwork::FindConnectionPin(CPlcFBDPin* pin)
{
    return FindConnectionPinNamed(pin, PinNaming::Ladder);
}

CPlcFBDPin* CPlcLDNetwork::FindCrossPin(CPlcFBDPin* pin)
{
    return CPlcFBDNetwork::FindCrossPin(pin);
}

void CPlcLDNetwork::Validate()
{
    m_bValid = true;
    for (auto* net : PlcObjects<CPlcFBDConnectionNetwork>(m_ConnNets))
        net->ValidateEnds(true);
    for (const CPlcFBDObjList* list : {&m_FunctionBlocks, &m_Functions, &m_Constants, &m_Variables})
        for (auto* object : PlcObjects(*list))
            if (!object->m_bValid)
                m_bValid = false;
}

bool CPlcLDNetwork::CheckObjectsConnections()
{
    if (!CPlcFBDNetwork::CheckObjectsConnections())
        return false;
    for (auto* coil : PlcObjects<CPlcLDCoil>(m_Coils))
        if (!coil->m_InPin.m_pPartner || !coil->m_OutPin.m_pPartner)
        {
            coil->m_bValid = false;
            return Fail(coil, NETERR_NOT_CONNECTED);
        }
    for (auto* contact : PlcObjects<CPlcLDContact>(m_Contacts))
        if (!contact->m_InPin.m_pPartner || !contact->m_OutPin.m_pPartner)
        {
            contact->m_bValid = false;
            return Fail(contact, NETERR_NOT_CONNECTED);
        }
    for (auto* rail : PlcObjects<CPlcLDPowerRail>(m_PowerRails))
        for (auto* pin : PlcObjects<CPlcFBDPin>(rail->m_Pins))
            if (!pin->m_pPartner)
                return Fail(rail, NETERR_NOT_CONNECTED);
    return true;
}

CString CPlcLDNetwork::GetNewVarId()
{
    CString id;
    id.Format("V%d", m_nNextVarNumber++);
    return id;
}

CPlcFBDConnectionNetwork* CPlcLDNetwork::FindConnectionNetwork(CPlcFBDPin* pin)
{
    if (!pin || !pin->m_pPartner)
        return nullptr;
    for (auto* net : PlcObjects<CPlcFBDConnectionNetwork>(m_ConnNets))
        if (net->HoldsConnection(pin->m_pPartner->m_pParent))
            return net;
    return nullptr;
}

CPlcFBDConnection* CPlcLDNetwork::FindTmpConnection(int id)
{
    for (auto* connection : PlcObjects<CPlcFBDConnection>(m_Connections))
        if (ReadsAsNumber(connection->m_strID, id))
            return connection;
    return nullptr;
}

CPlcFBDCross* CPlcLDNetwork::FindTmpCross(int id)
{
    for (auto* cross : PlcObjects<CPlcFBDCross>(m_Crosses))
        if (ReadsAsNumber(cross->m_strID, id))
            return cross;
    return nullptr;
}
