#include "GraphPin.h"

#include "Connection.h"
#include "GraphBlock.h"
#include "NetworkIntf.h"

#include <ZoSupport/ZoSupport.h>

CGraphPin::CGraphPin(CGraphBlock* element, const char* name, int side, bool negated)
    : CGraphObject(FBD_PIN), m_nStyle(negated ? STYLE_NEGATED : STYLE_PLAIN), m_nSide(side),
      m_pElement(element)
{
    m_strName = name;
    if (element)
    {
        m_pOwner = element->GetOwner();
        m_pNetwork = element->GetNetwork();
    }
}

CGraphPin::~CGraphPin()
{
    Detach();
}

void CGraphPin::Detach()
{
    if (!m_pConnection)
        return;
    CConnection* wire = m_pConnection;
    m_pConnection = nullptr;
    wire->DetachEnd(this);
}

CString CGraphPin::GetKey() const
{
    if (!m_pElement)
    {
        ProgramError("GraphPin", __LINE__, nullptr);
        return CString();
    }
    const int n = m_pElement->GetNumber();
    const char* p = m_strName;
    CString key;
    switch (m_pElement->GetType())
    {
    case FBD_FUNCTION_BLOCK:
        key.Format("FB:%s.%s", static_cast<const char*>(m_pElement->GetText()), p);
        break;
    case FBD_FUNCTION:
        key.Format("F:%d.%s", n, p);
        break;
    case FBD_VARIABLE:
        key.Format("V:%d", n);
        break;
    case FBD_CONST:
        key.Format("K:%d", n);
        break;
    case FBD_OPERATOR:
        key.Format("O:%d.%s", n, p);
        break;
    case FBD_RETURN:
        key.Format("R:%d", n);
        break;
    case FBD_JUMP:
        key.Format("J:%d", n);
        break;
    case FBD_LABEL:
        key.Format("L:%s.%s", static_cast<const char*>(m_pElement->GetName()), p);
        break;
    case FBD_LD_POWER_RAIL:
        key.Format("PR:%d.%s", n, p);
        break;
    case FBD_LD_CONTACT:
        key.Format("CN:%d.%s", n, p);
        break;
    case FBD_LD_COIL:
        key.Format("CL:%d.%s", n, p);
        break;
    default:
        ProgramError("GraphPin", __LINE__, "pin of an element without pin keys");
        key = "Undefined";
        break;
    }
    return key;
}

CGraphObject* CGraphPin::ObjectAt(int x, int y)
{
    if (!CheckOwner("GraphPin", __LINE__))
        return nullptr;
    return CGraphObject::ObjectAt(x, y);
}

void CGraphPin::Invalidate()
{
    if (!CheckOwner("GraphPin", __LINE__) || !m_pNetwork)
        return;
    // Half a step towards the element on either side covers the stroke and the negation circle.
    CRect area(m_nX * StepX(), m_nY * StepY(), m_nX * StepX(), m_nY * StepY());
    area.InflateRect(StepX() / 2 + 3, StepY() / 2 + 3);
    m_pNetwork->InvalidateRect(area);
}

bool CGraphPin::MoveTo(int x, int y)
{
    SetPinPosition(x, y);
    return true;
}

void CGraphPin::SetPinPosition(int x, int y)
{
    m_nX = x;
    m_nY = y;
    const int step = StepX();
    const int px = x * step;
    const int py = y * StepY();
    if (IsHorizontal())
        m_rcHit = m_nSide == SIDE_INPUT ? CRect(px, py - 1, px + step, py + 1)
                                        : CRect(px - step, py - 1, px, py + 1);
    else
    {
        const int stepY = StepY();
        m_rcHit = m_nSide == SIDE_INPUT ? CRect(px - 1, py, px + 1, py + stepY)
                                        : CRect(px - 1, py - stepY, px + 1, py);
    }
}

void CGraphPin::SetOrientation(BYTE orientation)
{
    m_nOrientation = orientation == 1 ? 1 : 2;
    SetPinPosition(m_nX, m_nY);
}

void CGraphPin::SetSide(int side)
{
    m_nSide = side;
    SetPinPosition(m_nX, m_nY);
}
