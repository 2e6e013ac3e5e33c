// Conversion of a resolved ladder network into function-block objects.
#include "PlcFBDBlocks.h"
#include "PlcFBDConnectionNetwork.h"
#include "PlcFBDElements.h"
#include "PlcLDElements.h"
#include "PlcLDNetwork.h"
#include "PlcNetworkCopy.h"

#include "PlcObjectError.h"

#include <vector>

namespace
{
// Points a pin at an object (or "object.pin") on the other side.
void Refer(CPlcFBDPin& pin, const CString& id, int type, CPlcFBDPin* partner)
{
    pin.m_strConnectedID = id;
    pin.m_nConnectedType = type;
    pin.m_pPartner = partner;
}

CString PinName(const CPlcFBDObject* owner, const char* pinID)
{
    return owner->m_strID + "." + pinID;
}

CPlcFBDPin* NewPin(CPlcFBDObject* owner, const char* id, int direction)
{
    auto* pin = new CPlcFBDPin(direction);
    pin->m_strID = id;
    pin->m_pParent = owner;
    return pin;
}

// Clears the way back from a partner to a pin that is about to go.
void Detach(CPlcFBDPin& pin)
{
    if (pin.m_pPartner && pin.m_pPartner->m_pPartner == &pin)
        pin.m_pPartner->m_pPartner = nullptr;
    pin.m_pPartner = nullptr;
}

void DetachConnection(CPlcFBDConnection* connection)
{
    Detach(connection->m_StartPin);
    Detach(connection->m_EndPin);
}

std::vector<CPlcFBDObject*> Snapshot(const CPlcFBDObjList& list)
{
    std::vector<CPlcFBDObject*> objects;
    for (auto* object : PlcObjects(list))
        objects.push_back(object);
    return objects;
}

CPlcFBDPin* FirstPin(const CPlcFBDObjList& pins)
{
    return pins.IsEmpty() ? nullptr : static_cast<CPlcFBDPin*>(pins.GetHead());
}

// Operator and output negation for a coil kind; false for a kind without one.
bool CoilOperator(int kind, const char*& blockName, bool& negated)
{
    negated = false;
    switch (kind)
    {
    case CPlcLDCoil::KIND_PLAIN:
    case 2:
    case 3:
        blockName = "MOVE";
        return true;
    case CPlcLDCoil::KIND_NEGATED:
        blockName = "MOVE";
        negated = true;
        return true;
    case CPlcLDCoil::KIND_RESET:
        blockName = "R";
        return true;
    case CPlcLDCoil::KIND_SET:
        blockName = "S";
        return true;
    default:
        return false;
    }
}
} // namespace

bool CPlcLDNetwork::MakeFBD()
{
    m_pErrorObject = nullptr;
    bool netsValid = true;
    for (auto* net : PlcObjects(m_ConnNets))
        if (!net->m_bValid)
            netsValid = false;
    if (!m_bValid || !netsValid)
        return Fail(this, NETERR_INVALID);
    if (!CheckObjectsConnections())
        return false;

    // Kept to put the network back when a step fails: no half-converted network is left.
    CPlcNetworkCopy backup(*this);
    if (ConvertPowerRails() && ConvertWiredORs() && ConvertContacts())
        return true;

    CPlcFBDObject* failed = m_pErrorObject;
    // Restoring frees the objects the conversion made: take what the report needs first.
    const int error = failed ? failed->m_nError : 0;
    const int originType = failed ? failed->m_nOriginType : FBD_UNKNOWN;
    const CString originID = failed ? failed->m_strOriginID : CString();
    CPlcFBDObject* restored = failed ? backup.CopyOf(failed) : nullptr;
    backup.RestoreSource();
    // An object made by the conversion is reported on the ladder element it was made from.
    if (failed && !restored && originType != FBD_UNKNOWN)
        restored = FindLadderElement(originType, originID);
    if (failed)
    {
        m_pErrorObject = restored ? restored : this;
        if (restored)
            restored->m_nError = error;
    }
    return false;
}

CPlcFBDObject* CPlcLDNetwork::FindLadderElement(int type, const CString& id)
{
    switch (type)
    {
    case FBD_LD_CONTACT:
        return m_Contacts.FindEl(id);
    case FBD_LD_COIL:
        return m_Coils.FindEl(id);
    default:
        return nullptr;
    }
}

void CPlcLDNetwork::DeleteConnectionNetwork(CPlcFBDConnectionNetwork* net)
{
    for (auto* connection : PlcObjects<CPlcFBDConnection>(net->m_Connections))
        DetachConnection(connection);
    for (auto* cross : PlcObjects<CPlcFBDCross>(net->m_Crosses))
        for (CPlcFBDPin* pin : {&cross->m_TopPin, &cross->m_BottomPin, &cross->m_LeftPin, &cross->m_RightPin})
            Detach(*pin);
    CPlcNetworkCopy::ForEachObject(*this,
                                   [net](CPlcFBDObject* object)
                                   {
                                       if (object->m_nType == FBD_PIN &&
                                           static_cast<CPlcFBDPin*>(object)->m_pConnNet == net)
                                           static_cast<CPlcFBDPin*>(object)->m_pConnNet = nullptr;
                                   });
    for (auto* other : PlcObjects<CPlcFBDConnectionNetwork>(m_ConnNets))
    {
        other->m_SourceNets.RemoveEl(net);
        other->m_DestNets.RemoveEl(net);
    }
    m_ConnNets.RemoveEl(net);
}

bool CPlcLDNetwork::DeleteEndConnection(CPlcFBDConnectionNetwork* net, CPlcFBDPin* end, int errorLine)
{
    auto* connection = static_cast<CPlcFBDConnection*>(end->m_pParent);
    if (!connection || !net->HoldsConnection(connection))
    {
        PlcObjectError(errorLine);
        return false;
    }
    for (CPlcFBDPin* pin : {&connection->m_StartPin, &connection->m_EndPin})
    {
        net->m_Inputs.RemoveEl(pin);
        net->m_Outputs.RemoveEl(pin);
    }
    DetachConnection(connection);
    net->m_Connections.RemoveEl(connection);
    return true;
}

bool CPlcLDNetwork::ConvertPowerRails()
{
    CPlcLDPowerRail* left = nullptr;
    CPlcLDPowerRail* right = nullptr;
    for (auto* rail : PlcObjects<CPlcLDPowerRail>(m_PowerRails))
    {
        if (rail->m_Pins.GetCount() != 1)
        {
            PlcObjectError(3362);
            return false;
        }
        (rail->m_nSide == CPlcLDPowerRail::SIDE_LEFT ? left : right) = rail;
    }
    if (!left || !right)
        return false;

    CPlcFBDConnectionNetwork* leftNet = FindConnectionNetwork(FirstPin(left->m_Pins));
    CPlcFBDConnectionNetwork* rightNet = FindConnectionNetwork(FirstPin(right->m_Pins));
    if (!leftNet || !rightNet)
    {
        PlcObjectError(3375);
        return false;
    }
    if (leftNet == rightNet && leftNet->m_Inputs.GetCount() == 1 && leftNet->m_Outputs.GetCount() == 1)
    {
        // A bare wire from rail to rail does nothing.
        while (!m_ConnNets.IsEmpty())
            DeleteConnectionNetwork(static_cast<CPlcFBDConnectionNetwork*>(m_ConnNets.GetHead()));
        return true;
    }

    for (CPlcFBDObject* object : Snapshot(leftNet->m_Inputs))
    {
        auto* end = static_cast<CPlcFBDPin*>(object);
        switch (end->m_nConnectedType)
        {
        case FBD_VARIABLE:
        case FBD_CONST:
            return false;
        case FBD_LD_CONTACT:
            if (!ReplaceInputContact(end) || !DeleteEndConnection(leftNet, end, 3405))
                return false;
            break;
        default:
            break;
        }
    }
    const bool sameNet = leftNet == rightNet;
    if (leftNet->m_Inputs.IsEmpty())
        DeleteConnectionNetwork(leftNet);
    else if (!ReplaceInputPowerRail(left))
        return false;
    if (sameNet)
    {
        rightNet->m_Inputs.RemoveEl(FirstPin(right->m_Pins)->m_pPartner);
        return true;
    }
    return ConvertRightRailDrivers(rightNet) && ConvertRightRailInputs(rightNet);
}

bool CPlcLDNetwork::ConvertRightRailDrivers(CPlcFBDConnectionNetwork* right)
{
    for (CPlcFBDObject* object : Snapshot(right->m_Outputs))
    {
        auto* end = static_cast<CPlcFBDPin*>(object);
        switch (end->m_nConnectedType)
        {
        case FBD_FUNCTION_BLOCK:
        case FBD_FUNCTION:
        case FBD_OPERATOR:
            if (right->m_Inputs.GetCount() <= 1 && end->m_pPartner)
                end->m_pPartner->m_pPartner = nullptr;
            break;
        case FBD_VARIABLE:
            // A variable cannot drive the right rail: refused rather than left hanging in the result.
            return Fail(FindFBDObject(end) ? FindFBDObject(end) : this, CONVERR_VARIABLE_AT_RIGHT_RAIL);
        case FBD_CONST:
            return Fail(FindFBDObject(end) ? FindFBDObject(end) : this, CONVERR_CONST_AT_RIGHT_RAIL);
        case FBD_RETURN:
        case FBD_JUMP:
        case FBD_LD_POWER_RAIL:
            PlcObjectError(3461);
            return false;
        case FBD_LD_CONTACT:
            if (right->m_Inputs.GetCount() <= 1)
            {
                CPlcFBDPin* pin = FindBlockPin(end);
                return Fail(pin && pin->m_pParent ? pin->m_pParent : this, CONVERR_CONTACT_AT_RIGHT_RAIL);
            }
            break;
        case FBD_LD_COIL:
            if (!ReplaceCoil(end))
                return false;
            break;
        default:
            break;
        }
    }
    return true;
}

bool CPlcLDNetwork::ConvertRightRailInputs(CPlcFBDConnectionNetwork* right)
{
    for (CPlcFBDObject* object : Snapshot(right->m_Inputs))
    {
        auto* end = static_cast<CPlcFBDPin*>(object);
        switch (end->m_nConnectedType)
        {
        case FBD_FUNCTION_BLOCK:
        case FBD_FUNCTION:
        case FBD_OPERATOR:
        case FBD_RETURN:
        case FBD_JUMP:
            break;
        case FBD_VARIABLE:
            return Fail(FindFBDObject(end) ? FindFBDObject(end) : this, CONVERR_VARIABLE_AT_RIGHT_RAIL);
        case FBD_CONST:
            return Fail(FindFBDObject(end) ? FindFBDObject(end) : this, CONVERR_CONST_AT_RIGHT_RAIL);
        case FBD_LD_POWER_RAIL:
            if (!DeleteEndConnection(right, end, 3531))
                return false;
            break;
        default:
            return false;
        }
    }
    if (right->m_Inputs.IsEmpty())
        DeleteConnectionNetwork(right);
    return true;
}

bool CPlcLDNetwork::ReplaceInputPowerRail(CPlcLDPowerRail* rail)
{
    if (rail->m_Pins.GetCount() != 1)
        PlcObjectError(3316);
    CPlcFBDPin* railPin = FirstPin(rail->m_Pins);
    if (!railPin || !railPin->m_pPartner)
    {
        PlcObjectError(__LINE__);
        return false;
    }
    auto* constant = new CPlcFBDConst;
    constant->m_strID = GetNewVarId();
    constant->m_strValue = "TRUE";
    constant->m_pParent = rail->m_pParent;
    constant->m_Pin = *railPin;
    constant->m_Pin.m_strID.Empty();
    constant->m_Pin.m_nDirection = CPlcFBDPin::DIR_OUT;
    constant->m_Pin.m_pParent = constant;
    Refer(*railPin->m_pPartner, constant->m_strID, FBD_CONST, &constant->m_Pin);
    m_Constants.AddTail(constant);
    return true;
}

bool CPlcLDNetwork::ReplaceInputContact(CPlcFBDPin* end)
{
    CPlcFBDPin* contactPin = FindBlockPin(end);
    auto* contact = contactPin ? static_cast<CPlcLDContact*>(contactPin->m_pParent) : nullptr;
    if (!contact || contact->m_nType != FBD_LD_CONTACT)
        return false;
    if (!contact->m_InPin.m_pPartner || !contact->m_OutPin.m_pPartner)
    {
        PlcObjectError(3139);
        return false;
    }
    auto* variable = new CPlcFBDVariable;
    variable->m_strID = GetNewVarId();
    variable->m_strVarName = contact->m_strVarName;
    variable->m_pParent = contact->m_pParent;
    variable->m_nOriginType = contact->m_nType;
    variable->m_strOriginID = contact->m_strID;
    variable->m_Pin = contact->m_OutPin;
    variable->m_Pin.m_strID.Empty();
    variable->m_Pin.m_nDirection = CPlcFBDPin::DIR_OUT;
    variable->m_Pin.m_pParent = variable;
    variable->m_Pin.m_bNegated = contact->m_nKind == CPlcLDContact::KIND_NEGATED;
    Refer(*contact->m_OutPin.m_pPartner, variable->m_strID, FBD_VARIABLE, &variable->m_Pin);
    m_Variables.AddTail(variable);

    Detach(contact->m_InPin);
    contact->m_OutPin.m_pPartner = nullptr;
    m_Contacts.RemoveEl(contact);
    return true;
}

bool CPlcLDNetwork::ReplaceCoil(CPlcFBDPin* end)
{
    CPlcFBDPin* coilPin = FindBlockPin(end);
    auto* coil = coilPin ? static_cast<CPlcLDCoil*>(coilPin->m_pParent) : nullptr;
    if (!coil || coil->m_nType != FBD_LD_COIL)
        return false;
    const char* blockName = nullptr;
    bool negated = false;
    auto* outputConnection = coil->m_OutPin.m_pPartner ? coil->m_OutPin.m_pPartner->m_pParent : nullptr;
    if (!CoilOperator(coil->m_nKind, blockName, negated) || !coil->m_InPin.m_pPartner || !outputConnection)
    {
        PlcObjectError(3284);
        return false;
    }

    auto* net = new CPlcLDConnectionNetwork;
    net->m_strID = GetNewVarId();
    auto* connection = new CPlcFBDConnection;
    connection->m_strID = outputConnection->m_strID;
    connection->m_pParent = net;
    connection->m_StartPin.m_pParent = connection;
    connection->m_EndPin.m_pParent = connection;
    auto* op = new CPlcFBDOperator;
    op->m_strID = GetNewVarId();
    op->m_bValid = true;
    op->m_pParent = coil->m_pParent;
    op->m_nOriginType = coil->m_nType;
    op->m_strOriginID = coil->m_strID;
    op->m_strBlockName = blockName;

    CPlcFBDPin* input = NewPin(op, "0", CPlcFBDPin::DIR_IN);
    *input = coil->m_InPin;
    input->m_bNegated = false;
    input->m_strID = "0";
    input->m_pParent = op;
    op->m_Inputs.AddTail(input);
    Refer(*coil->m_InPin.m_pPartner, PinName(op, "0"), FBD_OPERATOR, input);

    CPlcFBDPin* output = NewPin(op, "1", CPlcFBDPin::DIR_OUT);
    output->m_bNegated = negated;
    op->m_Outputs.AddTail(output);
    Refer(*output, connection->m_strID, FBD_CONNECTION, &connection->m_StartPin);
    Refer(connection->m_StartPin, PinName(op, "1"), FBD_OPERATOR, output);

    auto* variable = new CPlcFBDVariable;
    variable->m_strID = GetNewVarId();
    variable->m_pParent = coil->m_pParent;
    variable->m_strVarName = coil->m_strVarName;
    variable->m_nOriginType = coil->m_nType;
    variable->m_strOriginID = coil->m_strID;
    variable->m_Pin.m_nDirection = CPlcFBDPin::DIR_IN;
    variable->m_Pin.m_pParent = variable;
    Refer(variable->m_Pin, connection->m_strID, FBD_CONNECTION, &connection->m_EndPin);
    Refer(connection->m_EndPin, variable->m_strID, FBD_VARIABLE, &variable->m_Pin);

    net->m_bValid = true;
    net->m_Connections.AddTail(connection);
    net->m_Inputs.AddTail(&connection->m_EndPin);
    net->m_Outputs.AddTail(&connection->m_StartPin);
    m_Variables.AddTail(variable);
    m_Operators.AddTail(op);
    m_ConnNets.AddTail(net);

    coil->m_InPin.m_pPartner = nullptr;
    Detach(coil->m_OutPin);
    m_Coils.RemoveEl(coil);
    return true;
}

bool CPlcLDNetwork::ReplaceInputConstant(CPlcFBDPin* end)
{
    CPlcFBDPin* pin = FindBlockPin(end);
    return pin && pin->m_pParent;
}

bool CPlcLDNetwork::ConvertWiredORs()
{
    std::vector<CPlcFBDObject*> replaced;
    for (CPlcFBDObject* object : Snapshot(m_ConnNets))
    {
        auto* net = static_cast<CPlcFBDConnectionNetwork*>(object);
        if (net->m_Outputs.GetCount() <= 1)
            continue;
        if (!ConvertWiredOR(net))
            return false;
        replaced.push_back(net);
    }
    for (CPlcFBDObject* net : replaced)
        DeleteConnectionNetwork(static_cast<CPlcFBDConnectionNetwork*>(net));
    return true;
}

bool CPlcLDNetwork::ConvertWiredOR(CPlcFBDConnectionNetwork* wired)
{
    for (auto* driverEnd : PlcObjects<CPlcFBDPin>(wired->m_Outputs))
        if (!driverEnd->m_pPartner || !driverEnd->m_pPartner->m_pParent)
        {
            PlcObjectError(3740);
            return false;
        }

    auto* orNet = new CPlcLDConnectionNetwork;
    orNet->m_strID = GetNewVarId();
    orNet->m_bValid = true;
    m_ConnNets.AddTail(orNet);

    // The places the signal went to are now fed by the OR, over copies of their connections.
    for (auto* inputEnd : PlcObjects<CPlcFBDPin>(wired->m_Inputs))
    {
        auto* original = static_cast<CPlcFBDConnection*>(inputEnd->m_pParent);
        auto* copy = new CPlcFBDConnection;
        copy->m_strID = original->m_strID;
        copy->m_nX = original->m_nX;
        copy->m_nY = original->m_nY;
        copy->m_RoutePoints.Copy(original->m_RoutePoints);
        copy->m_pParent = orNet;
        for (auto [from, to] : {std::pair{&original->m_StartPin, &copy->m_StartPin},
                                std::pair{&original->m_EndPin, &copy->m_EndPin}})
        {
            if (from->m_pPartner)
                from->m_pPartner->m_bNegated = false;
            *to = *from;
            to->m_pParent = copy;
            if (to->m_pPartner)
                to->m_pPartner->m_pPartner = to;
        }
        orNet->m_Inputs.AddTail(inputEnd == &original->m_StartPin ? &copy->m_StartPin : &copy->m_EndPin);
        orNet->m_Connections.AddTail(copy);
    }

    auto* orOutput = new CPlcFBDConnection;
    orOutput->m_strID = GetNewVarId();
    orOutput->m_pParent = orNet;
    orOutput->m_StartPin.m_strID = "0";
    orOutput->m_StartPin.m_pParent = orOutput;
    orOutput->m_EndPin.m_strID = "1";
    orOutput->m_EndPin.m_pParent = orOutput;
    orNet->m_Connections.AddTail(orOutput);

    auto* op = new CPlcFBDOperator;
    op->m_strID = GetNewVarId();
    op->m_strBlockName = "OR";
    op->m_bValid = true;
    op->m_pParent = this;
    m_Operators.AddTail(op);
    CPlcFBDPin* output = NewPin(op, "0", CPlcFBDPin::DIR_OUT);
    op->m_Outputs.AddTail(output);
    Refer(*output, orOutput->m_strID, FBD_CONNECTION, &orOutput->m_StartPin);
    Refer(orOutput->m_StartPin, PinName(op, "0"), FBD_OPERATOR, output);
    orNet->m_Outputs.AddTail(&orOutput->m_StartPin);

    // Each driver gets a connection of its own to one OR input.
    int k = 0;
    for (auto* driverEnd : PlcObjects<CPlcFBDPin>(wired->m_Outputs))
    {
        CString pinID;
        pinID.Format("%d", ++k);
        CPlcFBDPin* input = NewPin(op, pinID, CPlcFBDPin::DIR_IN);
        input->m_bNegated = driverEnd->m_bNegated;
        op->m_Inputs.AddTail(input);

        CPlcFBDPin* driverPin = driverEnd->m_pPartner;
        CPlcFBDObject* driver = driverPin->m_pParent;
        auto* branch = new CPlcFBDConnection;
        branch->m_strID = GetNewVarId();
        branch->m_StartPin = *driverEnd;
        branch->m_StartPin.m_pParent = branch;
        branch->m_EndPin.m_pParent = branch;
        Refer(*driverPin, branch->m_strID, FBD_CONNECTION, &branch->m_StartPin);
        Refer(*input, branch->m_strID, FBD_CONNECTION, &branch->m_EndPin);
        Refer(branch->m_EndPin, PinName(op, pinID), FBD_OPERATOR, input);
        if (driver->m_nOriginType != FBD_UNKNOWN)
        {
            input->m_nOriginType = driver->m_nOriginType;
            input->m_strOriginID = driver->m_strOriginID;
        }
        else
        {
            input->m_nOriginType = driver->m_nType;
            input->m_strOriginID = driver->m_strID;
        }

        auto* branchNet = new CPlcLDConnectionNetwork;
        branchNet->m_strID = GetNewVarId();
        branchNet->m_bValid = true;
        branch->m_pParent = branchNet;
        branchNet->m_Outputs.AddTail(&branch->m_StartPin);
        branchNet->m_Inputs.AddTail(&branch->m_EndPin);
        branchNet->m_Connections.AddTail(branch);
        m_ConnNets.AddTail(branchNet);
    }
    return true;
}

bool CPlcLDNetwork::ConvertContacts()
{
    for (CPlcFBDObject* contact : Snapshot(m_Contacts))
        if (!ConvertContact(static_cast<CPlcLDContact*>(contact)))
            return false;
    return true;
}

bool CPlcLDNetwork::ConvertContact(CPlcLDContact* contact)
{
    CPlcFBDPin* inEnd = contact->m_InPin.m_pPartner;
    CPlcFBDPin* outEnd = contact->m_OutPin.m_pPartner;
    if (!inEnd || !outEnd)
    {
        PlcObjectError(__LINE__);
        return false;
    }
    // Checked before anything changes: the driver of the incoming signal.
    CPlcFBDObject* incoming = nullptr;
    if (CPlcFBDConnectionNetwork* inNet = FindConnectionNetwork(&contact->m_InPin))
    {
        if (inNet->m_Outputs.GetCount() != 1)
        {
            PlcObjectError(3930);
            return false;
        }
        CPlcFBDPin* driverPin = static_cast<CPlcFBDPin*>(inNet->m_Outputs.GetHead())->m_pPartner;
        if (!driverPin || !driverPin->m_pParent)
        {
            PlcObjectError(3936);
            return false;
        }
        incoming = driverPin->m_pParent;
    }

    auto* net = new CPlcLDConnectionNetwork;
    net->m_strID = GetNewVarId();
    auto* op = new CPlcFBDOperator;
    op->m_strID = GetNewVarId();
    op->m_strBlockName = "AND";
    op->m_bValid = true;
    op->m_pParent = this;
    op->m_nOriginType = contact->m_nType;
    op->m_strOriginID = contact->m_strID;
    CPlcFBDPin* in0 = NewPin(op, "0", CPlcFBDPin::DIR_IN);
    CPlcFBDPin* in1 = NewPin(op, "1", CPlcFBDPin::DIR_IN);
    CPlcFBDPin* out2 = NewPin(op, "2", CPlcFBDPin::DIR_OUT);
    op->m_Inputs.AddTail(in0);
    op->m_Inputs.AddTail(in1);
    op->m_Outputs.AddTail(out2);

    Refer(*in0, contact->m_InPin.m_strConnectedID, contact->m_InPin.m_nConnectedType, inEnd);
    in0->m_bNegated = inEnd->m_bNegated;
    Refer(*inEnd, PinName(op, "0"), FBD_OPERATOR, in0);
    Refer(*out2, contact->m_OutPin.m_strConnectedID, contact->m_OutPin.m_nConnectedType, outEnd);
    out2->m_bNegated = outEnd->m_bNegated;
    Refer(*outEnd, PinName(op, "2"), FBD_OPERATOR, out2);

    auto* connection = new CPlcFBDConnection;
    connection->m_strID = GetNewVarId();
    connection->m_pParent = net;
    connection->m_StartPin.m_strID = "0";
    connection->m_StartPin.m_nDirection = CPlcFBDPin::DIR_IN;
    connection->m_StartPin.m_pParent = connection;
    connection->m_EndPin.m_strID = "1";
    connection->m_EndPin.m_nDirection = CPlcFBDPin::DIR_OUT;
    connection->m_EndPin.m_pParent = connection;

    auto* variable = new CPlcFBDVariable;
    variable->m_strID = GetNewVarId();
    variable->m_strVarName = contact->m_strVarName;
    variable->m_pParent = contact->m_pParent;
    variable->m_Pin.m_nDirection = CPlcFBDPin::DIR_OUT;
    variable->m_Pin.m_pParent = variable;
    Refer(variable->m_Pin, connection->m_strID, FBD_CONNECTION, &connection->m_StartPin);
    Refer(connection->m_StartPin, variable->m_strID, FBD_VARIABLE, &variable->m_Pin);
    Refer(*in1, connection->m_strID, FBD_CONNECTION, &connection->m_EndPin);
    Refer(connection->m_EndPin, PinName(op, "1"), FBD_OPERATOR, in1);
    in1->m_bNegated = contact->m_nKind == CPlcLDContact::KIND_NEGATED;

    net->m_bValid = true;
    net->m_Inputs.AddTail(&connection->m_EndPin);
    net->m_Outputs.AddTail(&connection->m_StartPin);
    net->m_Connections.AddTail(connection);
    m_ConnNets.AddTail(net);
    m_Variables.AddTail(variable);
    m_Operators.AddTail(op);

    // In a series of contacts the chain of ANDs remembers the contacts it came from.
    if (incoming && incoming->m_nOriginType == FBD_LD_CONTACT)
    {
        in0->m_nOriginType = incoming->m_nOriginType;
        in0->m_strOriginID = incoming->m_strOriginID;
        in1->m_nOriginType = contact->m_nType;
        in1->m_strOriginID = contact->m_strID;
    }
    return true;
}
