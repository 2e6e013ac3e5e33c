// Ladder networks laid out as graphic LD networks of power rails, contacts, coils and functions.
#include "LDLogicDoc.h"
#include "PlcFBDBlocks.h"
#include "PlcFBDCode.h"
#include "PlcFBDElements.h"
#include "PlcLDElements.h"
#include "PlcLDNetwork.h"

#include <ZoSupport/ZoSupport.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace
{
constexpr int MinWidth = 40;
constexpr int RailLine = 4;

CString Name(int number)
{
    CString name;
    name.Format("%d", number);
    return name;
}

CString PinRef(const CPlcFBDObject* owner, const char* pin)
{
    return owner->m_strID + "." + pin;
}

DWORD RoutePoint(int x, int y)
{
    return (static_cast<DWORD>(y) << 16) | static_cast<DWORD>(x & 0xFFFF);
}

void InitPin(CPlcFBDPin& pin, CPlcFBDObject* owner, const char* id, int x, int y)
{
    pin.m_strID = id;
    pin.m_pParent = owner;
    pin.m_nX = x;
    pin.m_nY = y;
}

CPlcFBDPin* NewPin(CPlcFBDExeObject* owner, const char* id, int direction, int x, int y)
{
    auto* pin = new CPlcFBDPin(direction);
    InitPin(*pin, owner, id, x, y);
    (direction == CPlcFBDPin::DIR_OUT ? owner->m_Outputs : owner->m_Inputs).AddTail(pin);
    return pin;
}

void Refer(CPlcFBDPin& pin, const CString& id, int type)
{
    pin.m_strConnectedID = id;
    pin.m_nConnectedType = type;
}

// One side of a wire: the reference its connection end carries and the pin that names the connection.
struct WireEnd
{
    CPlcFBDObject* object;
    CString reference;
    int type;
    CPlcFBDPin* pin;
};

int CoilKind(const CLDLogicElem* e)
{
    if (e->m_strText == "SET")
        return CPlcLDCoil::KIND_SET;
    if (e->m_strText == "RES")
        return CPlcLDCoil::KIND_RESET;
    return e->m_bNegated ? CPlcLDCoil::KIND_NEGATED : CPlcLDCoil::KIND_PLAIN;
}
} // namespace

CPlcFBDCode* CLDLogicDoc::GenerateLDCode()
{
    int width = 0;
    for (POSITION pos = m_Nets.GetHeadPosition(); pos;)
    {
        auto* net = static_cast<CLDLogicNet*>(m_Nets.GetNext(pos));
        net->UpdateGraphXY();
        const int length = net->GetNetMinLen();
        if (length < 0)
            ProgramError("LDLogicDoc", __LINE__, nullptr);
        width = std::max(width, length);
    }
    width = std::max(width, MinWidth);

    auto code = std::make_unique<CPlcFBDCode>();
    for (POSITION pos = m_Nets.GetHeadPosition(); pos;)
    {
        auto* net = static_cast<CLDLogicNet*>(m_Nets.GetNext(pos));
        CPlcLDNetwork* network = net->GenerateLDCodeNet(width);
        if (!network)
        {
            ProgramError("LDLogicDoc", __LINE__, nullptr);
            // The nets must not keep pointers into the networks deleted with the code.
            for (POSITION other = m_Nets.GetHeadPosition(); other;)
            {
                auto* made = static_cast<CLDLogicNet*>(m_Nets.GetNext(other));
                if (code->Find(made->m_pLDNetwork))
                    made->m_pLDNetwork = nullptr;
            }
            return nullptr;
        }
        code->AddTail(network);
    }
    return code.release();
}

void CLDLogicNet::MakeLogicConnection(CPlcFBDConnection* connection, CPlcFBDObject* object)
{
    connection->m_LinkedNames.Add(object->m_strID);
    object->m_LinkedNames.Add(connection->m_strID);
}

namespace
{
// The wiring steps of the generator, on the network under construction.
class LDWiring
{
public:
    LDWiring(CPlcLDNetwork& network, int& counter) : m_network(network), m_counter(counter) {}

    CString NextName() { return Name(++m_counter); }

    // Creates the connection named by the wire number and sets its start.
    CPlcFBDConnection* Start(const CString& name, const WireEnd& from)
    {
        auto* connection = new CPlcFBDConnection;
        connection->m_strID = name;
        connection->m_bValid = true;
        InitPin(connection->m_StartPin, connection, "", from.pin->m_nX, from.pin->m_nY);
        InitPin(connection->m_EndPin, connection, "", 0, 0);
        Refer(connection->m_StartPin, from.reference, from.type);
        Refer(*from.pin, name, FBD_CONNECTION);
        connection->m_nX = from.pin->m_nX;
        connection->m_nY = from.pin->m_nY;
        connection->m_RoutePoints.Add(RoutePoint(from.pin->m_nX, from.pin->m_nY));
        m_network.AddNetworkObject(connection);
        m_made.push_back({connection, from.object});
        return connection;
    }

    // Finds the connection of that wire number and sets its end; false when there is none.
    bool End(int number, const WireEnd& to)
    {
        CPlcFBDConnection* connection = m_network.FindTmpConnection(number);
        if (!connection)
            return false;
        Finish(connection, to);
        return true;
    }

    void Finish(CPlcFBDConnection* connection, const WireEnd& to)
    {
        InitPin(connection->m_EndPin, connection, "", to.pin->m_nX, to.pin->m_nY);
        Refer(connection->m_EndPin, to.reference, to.type);
        Refer(*to.pin, connection->m_strID, FBD_CONNECTION);
        connection->m_RoutePoints.Add(RoutePoint(to.pin->m_nX, to.pin->m_nY));
        m_made.push_back({connection, to.object});
    }

    // A connection of its own, named by the counter.
    void Join(const WireEnd& from, const WireEnd& to) { Finish(Start(NextName(), from), to); }

    CPlcFBDCross* Cross(const CString& name, int x, int y)
    {
        auto* cross = new CPlcFBDCross;
        cross->m_strID = name;
        cross->m_bValid = true;
        cross->m_nX = x;
        cross->m_nY = y;
        for (CPlcFBDPin* pin : {&cross->m_TopPin, &cross->m_BottomPin, &cross->m_LeftPin, &cross->m_RightPin})
            InitPin(*pin, cross, "", x, y);
        m_network.AddNetworkObject(cross);
        return cross;
    }

    static WireEnd Side(CPlcFBDCross* cross, CPlcFBDPin& side)
    {
        return {cross, cross->m_strID, FBD_CROSS, &side};
    }

    // Connection and object pairs to be recorded on both sides.
    std::vector<std::pair<CPlcFBDConnection*, CPlcFBDObject*>> m_made;

private:
    CPlcLDNetwork& m_network;
    int& m_counter;
};

WireEnd RailEnd(const CPlcLDNetwork& network, int side)
{
    for (auto* rail : PlcObjects<CPlcLDPowerRail>(network.m_PowerRails))
        if (rail->m_nSide == side)
            return {rail, PinRef(rail, "0"), FBD_LD_POWER_RAIL,
                    static_cast<CPlcFBDPin*>(rail->m_Pins.GetHead())};
    return {};
}

CPlcLDPowerRail* NewRail(CPlcLDNetwork& network, const CString& name, int side, int x)
{
    auto* rail = new CPlcLDPowerRail;
    rail->m_strID = name;
    rail->m_nSide = side;
    rail->m_bValid = true;
    rail->m_nX = x;
    rail->m_nY = RailLine;
    auto* pin = new CPlcFBDPin(side == CPlcLDPowerRail::SIDE_LEFT ? CPlcFBDPin::DIR_OUT : CPlcFBDPin::DIR_IN);
    InitPin(*pin, rail, "0", x, RailLine);
    rail->m_Pins.AddTail(pin);
    network.AddNetworkObject(rail);
    return rail;
}
} // namespace

CPlcLDNetwork* CLDLogicNet::GenerateLDCodeNet(int width)
{
    auto network = std::make_unique<CPlcLDNetwork>();
    network->m_strID = Name(m_nID);
    network->m_bValid = true;
    network->m_nX = 200;
    network->m_nY = std::max(GetMaxY() + 2, 12);
    m_pLDNetwork = network.get();

    m_nWireCnt = GetMaxID();
    NumberConns();
    m_nCommentElem = -1;

    NewRail(*network, Name(++m_nWireCnt), CPlcLDPowerRail::SIDE_LEFT, 1);
    NewRail(*network, Name(++m_nWireCnt), CPlcLDPowerRail::SIDE_RIGHT, width);
    const WireEnd right = RailEnd(*network, CPlcLDPowerRail::SIDE_RIGHT);

    LDWiring wiring(*network, m_nWireCnt);
    bool made = true;
    if (!m_pHead)
        wiring.Join(RailEnd(*network, CPlcLDPowerRail::SIDE_LEFT), right);
    else if (!GenerateLDCodeElem(m_pHead))
        made = false;
    else
    {
        // The tail feeds the right rail.
        CPlcFBDObject* tail = nullptr;
        switch (m_pTail ? m_pTail->m_nType : -1)
        {
        case LDELEM_CONTACT:
            tail = network->m_Contacts.FindEl(Name(m_pTail->m_nID));
            break;
        case LDELEM_OUTPUT:
            tail = network->m_Coils.FindEl(Name(m_pTail->m_nID));
            break;
        case LDELEM_BOX:
            tail = network->m_Functions.FindEl(Name(m_pTail->m_nID));
            break;
        case LDELEM_JOIN:
            tail = network->m_Crosses.FindEl(Name(m_pTail->m_nID));
            break;
        default:
            break;
        }
        if (!tail)
            made = false;
        else if (tail->m_nType == FBD_LD_CONTACT || tail->m_nType == FBD_LD_COIL)
        {
            CPlcFBDPin& out = tail->m_nType == FBD_LD_CONTACT ? static_cast<CPlcLDContact*>(tail)->m_OutPin
                                                              : static_cast<CPlcLDCoil*>(tail)->m_OutPin;
            wiring.Join({tail, PinRef(tail, "O"), tail->m_nType, &out}, right);
        }
        else if (tail->m_nType == FBD_FUNCTION)
        {
            auto* function = static_cast<CPlcFBDFunction*>(tail);
            wiring.Join({tail, PinRef(tail, "ENO"), FBD_FUNCTION, function->FindPin("ENO")}, right);
        }
        else
        {
            auto* cross = static_cast<CPlcFBDCross*>(tail);
            wiring.Join(LDWiring::Side(cross, cross->m_RightPin), right);
        }
    }
    for (const auto& [connection, object] : wiring.m_made)
        MakeLogicConnection(connection, object);
    if (!made || !network->ResolveReferences())
    {
        ProgramError("LDLogicDoc", __LINE__, nullptr);
        m_pLDNetwork = nullptr;
        return nullptr;
    }
    return network.release();
}

bool CLDLogicNet::GenerateLDCodeElem(CLDLogicElem* e)
{
    CPlcLDNetwork& network = *m_pLDNetwork;
    LDWiring wiring(network, m_nWireCnt);
    auto done = [&](bool ok)
    {
        for (const auto& [connection, object] : wiring.m_made)
            MakeLogicConnection(connection, object);
        wiring.m_made.clear();
        if (!ok)
            ProgramError("LDLogicDoc", __LINE__, nullptr);
        return ok;
    };

    if (!e->m_strComment.IsEmpty() && m_nCommentElem == -1)
    {
        auto* comment = new CPlcFBDComment;
        comment->m_strID = wiring.NextName();
        comment->m_strComment = e->m_strComment;
        comment->m_bValid = true;
        comment->m_nX = e->m_nX;
        comment->m_nY = e->m_nY;
        network.AddNetworkObject(comment);
        m_nCommentElem = e->m_nID;
    }

    // The wire into the element: from the left rail for the head, else the one from its single parent.
    auto incoming = [&](const WireEnd& to)
    {
        if (e->GetParentCount() == 0)
        {
            wiring.Join(RailEnd(network, CPlcLDPowerRail::SIDE_LEFT), to);
            return true;
        }
        return e->GetParentCount() == 1 && wiring.End(static_cast<int>(e->m_InWires[0]), to);
    };
    auto outgoing = [&](const WireEnd& from)
    {
        if (e->GetChildCount() > 1)
            return false;
        if (e->GetChildCount() == 1)
            wiring.Start(Name(static_cast<int>(e->m_OutWires[0])), from);
        return true;
    };
    // A child is generated from its last parent, so every wire into it exists by then.
    auto children = [&](bool all)
    {
        for (INT_PTR i = 0; i < (all ? e->GetChildCount() : std::min<INT_PTR>(1, e->GetChildCount())); ++i)
            if (e->GetChild(i)->GetLastParent() == e && !GenerateLDCodeElem(e->GetChild(i)))
                return false;
        return true;
    };

    const CString name = Name(e->m_nID);
    switch (e->m_nType)
    {
    case LDELEM_CONTACT:
    case LDELEM_OUTPUT:
    {
        if (e->m_Operands.GetSize() > 1)
            return done(false);
        const CString variable = e->m_Operands.IsEmpty() ? CString() : e->m_Operands[0];
        CPlcFBDObject* element = nullptr;
        CPlcFBDPin* in = nullptr;
        CPlcFBDPin* out = nullptr;
        if (e->m_nType == LDELEM_CONTACT)
        {
            auto* contact = new CPlcLDContact;
            contact->m_strVarName = variable;
            contact->m_nKind = e->m_bNegated ? CPlcLDContact::KIND_NEGATED : CPlcLDContact::KIND_NORMAL;
            element = contact;
            in = &contact->m_InPin;
            out = &contact->m_OutPin;
        }
        else
        {
            auto* coil = new CPlcLDCoil;
            coil->m_strVarName = variable;
            coil->m_nKind = CoilKind(e);
            element = coil;
            in = &coil->m_InPin;
            out = &coil->m_OutPin;
        }
        element->m_strID = name;
        element->m_bValid = true;
        element->m_nX = e->m_nX;
        element->m_nY = e->m_nY;
        InitPin(*in, element, "I", e->m_nX, e->m_nY);
        InitPin(*out, element, "O", e->m_nX + 4, e->m_nY);
        network.AddNetworkObject(element);
        const int type = element->m_nType;
        if (!incoming({element, PinRef(element, "I"), type, in}) ||
            !outgoing({element, PinRef(element, "O"), type, out}))
            return done(false);
        done(true);
        return children(false);
    }
    case LDELEM_BOX:
    {
        const bool fin = e->IsFINBox();
        if (!fin && e->m_Operands.GetSize() != 2)
            return done(false);
        auto* function = new CPlcFBDFunction;
        function->m_strID = name;
        function->m_strBlockName = e->m_strText;
        function->m_nWidth = fin ? 6 : 5; // the ENO column
        function->m_bValid = true;
        function->m_nX = e->m_nX;
        function->m_nY = e->m_nY + 1;
        network.AddNetworkObject(function);
        const int x = e->m_nX;
        const int y = e->m_nY + 1;
        CPlcFBDPin* en = NewPin(function, "EN", CPlcFBDPin::DIR_IN, x, y);
        CPlcFBDPin* eno = NewPin(function, "ENO", CPlcFBDPin::DIR_OUT, x + (fin ? 6 : 5), y);
        if (!fin)
        {
            auto operandVariable = [&](const CString& text, int direction, int vx, int vy)
            {
                auto* variable = new CPlcFBDVariable;
                variable->m_strID = wiring.NextName();
                variable->m_strVarName = text;
                variable->m_bValid = true;
                variable->m_nX = vx;
                variable->m_nY = vy;
                variable->m_Pin.m_nDirection = direction;
                InitPin(variable->m_Pin, variable, "", vx, vy);
                network.AddNetworkObject(variable);
                return WireEnd{variable, variable->m_strID, FBD_VARIABLE, &variable->m_Pin};
            };
            for (int i = 0; i < 2; ++i)
            {
                CPlcFBDPin* pin = NewPin(function, i == 0 ? "0" : "1", CPlcFBDPin::DIR_IN, x, y + 1 + i);
                wiring.Join(operandVariable(e->m_Operands[i], CPlcFBDPin::DIR_OUT, x - 1, y + 1 + i),
                            {function, PinRef(function, pin->m_strID), FBD_FUNCTION, pin});
            }
            CPlcFBDPin* result = NewPin(function, "2", CPlcFBDPin::DIR_OUT, x + 5, y + 1);
            wiring.Join({function, PinRef(function, "2"), FBD_FUNCTION, result},
                        operandVariable(e->m_strOutText, CPlcFBDPin::DIR_IN, x + 6, y + 1));
        }
        if (!incoming({function, PinRef(function, "EN"), FBD_FUNCTION, en}) ||
            !outgoing({function, PinRef(function, "ENO"), FBD_FUNCTION, eno}))
            return done(false);
        done(true);
        return children(false);
    }
    case LDELEM_NODE:
    case LDELEM_JOIN:
    {
        // k branches meet in k - 1 crossings down one column, one on the line of each branch but the last.
        const bool node = e->m_nType == LDELEM_NODE;
        const INT_PTR branches = node ? e->GetChildCount() : e->GetParentCount();
        if (branches < 2 || (node ? e->GetParentCount() > 1 : e->GetChildCount() > 1))
            return done(false);
        std::vector<CPlcFBDCross*> crosses;
        for (INT_PTR i = 0; i + 1 < branches; ++i)
        {
            const CLDLogicElem* branch = node ? e->GetChild(i) : e->GetParent(i);
            crosses.push_back(wiring.Cross(i == 0 ? name : wiring.NextName(), e->m_nX, branch->m_nY));
            crosses.back()->m_bFanOut = node;
            if (i > 0)
                wiring.Join(LDWiring::Side(crosses[i - 1], crosses[i - 1]->m_BottomPin),
                            LDWiring::Side(crosses[i], crosses[i]->m_TopPin));
        }
        CPlcFBDCross* first = crosses.front();
        CPlcFBDCross* last = crosses.back();
        bool ok = true;
        if (node)
        {
            ok = incoming(LDWiring::Side(first, first->m_LeftPin));
            for (INT_PTR i = 0; ok && i < branches; ++i)
            {
                CPlcFBDCross* cross = crosses[std::min<size_t>(i, crosses.size() - 1)];
                CPlcFBDPin& side = i + 1 < branches ? cross->m_RightPin : last->m_BottomPin;
                wiring.Start(Name(static_cast<int>(e->m_OutWires[i])), LDWiring::Side(cross, side));
            }
        }
        else
        {
            for (INT_PTR i = 0; ok && i < branches; ++i)
            {
                CPlcFBDCross* cross = crosses[std::min<size_t>(i, crosses.size() - 1)];
                CPlcFBDPin& side = i + 1 < branches ? cross->m_LeftPin : last->m_BottomPin;
                ok = wiring.End(static_cast<int>(e->m_InWires[i]), LDWiring::Side(cross, side));
            }
            ok = ok && outgoing(LDWiring::Side(first, first->m_RightPin));
        }
        if (!done(ok))
            return false;
        return children(node);
    }
    default:
        return done(false);
    }
}
