#include "CrossConnection.h"

#include "Connection.h"
#include "NetworkIntf.h"

#include <ZoLumoPlcObj/PlcFBDElements.h>

#include <algorithm>

CCrossConnection::~CCrossConnection()
{
    for (CConnection*& arm : m_pArms)
    {
        CConnection* wire = arm;
        arm = nullptr;
        if (wire && std::count(m_pArms, m_pArms + ArmCount, wire) == 0)
            wire->DetachEnd(this);
    }
}

int CCrossConnection::FindArm(const CConnection* wire) const
{
    if (!wire)
        return -1;
    for (int arm = 0; arm < ArmCount; ++arm)
        if (m_pArms[arm] == wire)
            return arm;
    return -1;
}

int CCrossConnection::AutomaticArm(const CConnection* wire) const
{
    const auto& segments = wire->GetSegments();
    const CPoint here = GetPosition();
    const bool starts =
        wire->GetStart().object == this || (!wire->GetStart().object && wire->GetStart().point == here);
    const bool ends = !starts && (wire->GetEnd().object == this ||
                                  (!wire->GetEnd().object && wire->GetEnd().point == here));
    if (!starts && !ends)
        return -1;
    // The segment at the junction, pointing away from it.
    GraphSegment away{here.x, here.y, here.x + 1, here.y};
    if (!segments.empty())
    {
        away = starts ? segments.front() : segments.back();
        if (!starts)
            away.Reverse();
    }
    int order[ArmCount];
    if (away.IsVertical())
    {
        const bool down = away.y2 > away.y1;
        order[0] = down ? ARM_DOWN : ARM_UP;
        order[1] = down ? ARM_UP : ARM_DOWN;
        order[2] = ARM_LEFT;
        order[3] = ARM_RIGHT;
    }
    else
    {
        const bool right = away.x2 >= away.x1;
        order[0] = right ? ARM_RIGHT : ARM_LEFT;
        order[1] = right ? ARM_LEFT : ARM_RIGHT;
        order[2] = ARM_UP;
        order[3] = ARM_DOWN;
    }
    // A wire ending here has only the arm its last segment lies on.
    const int tries = starts ? ArmCount : 1;
    for (int i = 0; i < tries; ++i)
        if (!m_pArms[order[i]])
            return order[i];
    return -1;
}

bool CCrossConnection::AddConnection(CConnection* wire, int arm)
{
    if (!wire || arm < ARM_AUTO || arm >= ArmCount || FindArm(wire) >= 0)
        return false;
    if (arm == ARM_AUTO)
        arm = AutomaticArm(wire);
    if (arm < 0 || m_pArms[arm])
        return false;
    m_pArms[arm] = wire;
    const CPoint here = GetPosition();
    if (!wire->GetStart().object && wire->GetStart().point == here)
        wire->SetEndObject(true, this, CConnection::END_NONE);
    else if (!wire->GetEnd().object && wire->GetEnd().point == here)
        wire->SetEndObject(false, this, CConnection::END_NONE);
    Validate();
    return true;
}

void CCrossConnection::RemoveConnection(const CConnection* wire)
{
    for (CConnection*& arm : m_pArms)
        if (arm == wire)
            arm = nullptr;
    Validate();
}

bool CCrossConnection::ReplaceConnection(const CConnection* wire, CConnection* other)
{
    const int arm = FindArm(wire);
    if (arm < 0 || !other)
        return false;
    m_pArms[arm] = other;
    Validate();
    return true;
}

bool CCrossConnection::GetTwoConnections(CConnection*& first, CConnection*& second) const
{
    first = second = nullptr;
    if (m_nArms != 2)
        return false;
    for (CConnection* arm : m_pArms)
        if (arm)
            (first ? second : first) = arm;
    return true;
}

void CCrossConnection::SetWireNumber(int arm, int number)
{
    if (arm >= 0 && arm < ArmCount)
        m_nWireNumbers[arm] = number;
}

void CCrossConnection::DragConnections()
{
    const CPoint here = GetPosition();
    for (int arm = 0; arm < ArmCount; ++arm)
    {
        CConnection* wire = m_pArms[arm];
        if (!wire)
            continue;
        const bool start = wire->GetStart().object == this;
        if (!start && wire->GetEnd().object != this)
            continue;
        wire->MoveEnd(start, here.x, here.y);
        const auto& segments = wire->GetSegments();
        if (segments.empty())
            continue;
        const int index = start ? 0 : static_cast<int>(segments.size()) - 1;
        const GraphSegment& atJunction = segments[static_cast<size_t>(index)];
        const bool verticalArm = arm == ARM_UP || arm == ARM_DOWN;
        if (verticalArm && atJunction.IsHorizontal() && !atJunction.IsEmpty())
            wire->MoveSegment(index, 0, arm == ARM_UP ? -1 : 1, false);
        else if (!verticalArm && atJunction.IsVertical())
            wire->MoveSegment(index, arm == ARM_LEFT ? -1 : 1, 0, false);
    }
}

void CCrossConnection::Validate()
{
    m_nArms = static_cast<int>(
        std::count_if(m_pArms, m_pArms + ArmCount, [](CConnection* c) { return c != nullptr; }));
    SetError(m_nArms < 2);
    m_nDrawState = IsSelected() ? 3 : 1;
}

CGraphObject* CCrossConnection::ObjectAt(int x, int y)
{
    if (!CheckOwner("CrossConnection", __LINE__))
        return nullptr;
    return CGraphObject::ObjectAt(x, y);
}

void CCrossConnection::Invalidate()
{
    if (!CheckOwner("CrossConnection", __LINE__) || !m_pNetwork)
        return;
    // The selected dot is the larger one.
    const int r = StepY() / 3 + 1;
    const CPoint centre(m_nX * StepX(), m_nY * StepY());
    m_pNetwork->InvalidateRect(CRect(centre.x - r, centre.y - r, centre.x + r + 1, centre.y + r + 1));
}

CString CCrossConnection::GetKey() const
{
    CString key;
    key.Format("I:%d", m_nNumber);
    return key;
}

bool CCrossConnection::MoveTo(int x, int y)
{
    SetPosition(x, y);
    return true;
}

CPlcFBDObject* CCrossConnection::GetModelObject() const
{
    return m_pModel;
}

void CCrossConnection::Select(bool selected)
{
    CGraphObject::Select(selected);
    m_nDrawState = selected ? 3 : 1;
}

int CCrossConnection::GetRadius() const
{
    return StepY() / (m_nDrawState == 3 ? 3 : 6);
}

COLORREF CCrossConnection::GetDrawColor() const
{
    if (!m_pOwner)
        return RGB(0, 150, 0);
    if (IsError())
        return m_pOwner->GetColor(ErrorColor);
    if (m_nDrawState == 3)
        return m_pOwner->GetColor(SelConnectColor);
    return m_pOwner->GetColor(IsActive() ? ActiveColor : ConnectColor);
}
