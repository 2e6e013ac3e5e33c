#include "GraphLadder.h"

#include "Connection.h"
#include "NetworkIntf.h"

#include <ZoLumoPlcObj/PlcLDElements.h>
#include <ZoSupport/ZoSupport.h>

#include <algorithm>

namespace
{
CString& ModelName(CPlcFBDObject* model)
{
    return model->m_nType == FBD_LD_CONTACT ? static_cast<CPlcLDContact*>(model)->m_strVarName
                                            : static_cast<CPlcLDCoil*>(model)->m_strVarName;
}

int& ModelKind(CPlcFBDObject* model)
{
    return model->m_nType == FBD_LD_CONTACT ? static_cast<CPlcLDContact*>(model)->m_nKind
                                            : static_cast<CPlcLDCoil*>(model)->m_nKind;
}

CPlcFBDPin& ModelPin(CPlcFBDObject* model, bool input)
{
    if (model->m_nType == FBD_LD_CONTACT)
    {
        auto* contact = static_cast<CPlcLDContact*>(model);
        return input ? contact->m_InPin : contact->m_OutPin;
    }
    auto* coil = static_cast<CPlcLDCoil*>(model);
    return input ? coil->m_InPin : coil->m_OutPin;
}
} // namespace

bool CGraphLadderElem::Init(CGraphNetworkIntf* network, CPlcFBDObject* model)
{
    if (!BeginInit(network, model, m_pSource, m_nType))
        return false;
    m_strName = ModelName(model).IsEmpty() ? CString("?") : ModelName(model);
    ReadDecimal(model->m_strID, m_nNumber);
    m_nX = model->m_nX;
    m_nY = model->m_nY;
    m_nKind = std::clamp(ModelKind(model), 0, m_nKinds - 1);
    return FinishInit(m_pSource);
}

void CGraphLadderElem::CreatePins()
{
    for (bool input : {true, false})
    {
        const CPlcFBDPin& pin = ModelPin(m_pModel, input);
        AddPin(pin.m_strID, input ? CGraphPin::SIDE_INPUT : CGraphPin::SIDE_OUTPUT, pin.m_bNegated, m_nX,
               m_nY);
    }
}

void CGraphLadderElem::PlacePins()
{
    if (CGraphPin* in = GetPin(0))
        in->SetPinPosition(m_nX, m_nY);
    if (CGraphPin* out = GetPin(1))
        out->SetPinPosition(m_nX + 2, m_nY);
}

void CGraphLadderElem::ComputeLayout()
{
    const int sx = StepX();
    const int sy = StepY();
    m_nWidth = 2;
    m_rcWnd = CRect(CPoint(m_nX * sx, m_nY * sy - sy / 2), CSize(2 * sx, m_szChar.cy));
    m_rcBody = CRect(sx / 2, 0, sx + sx / 2, m_szChar.cy);
    const CRect body = GetBodyRectInNetwork();
    m_rcName = CRect(body.left, body.top - body.Height(), body.right, body.top);
    const int textWidth = TextWidth(m_strName);
    if (textWidth > body.Width())
    {
        const int middle = (body.left + body.right) / 2;
        m_rcName.left = middle - textWidth / 2 - 10;
        m_rcName.right = middle + (textWidth - textWidth / 2) + 10;
    }
}

CString CGraphLadderElem::GetKey() const
{
    if (!m_pNetwork)
    {
        ProgramError(m_pSource, __LINE__, "not in a network");
        return CString();
    }
    CString key;
    key.Format("%d%s:%d", m_pNetwork->GetNumber(), m_pTag, m_nNumber);
    return key;
}

bool CGraphLadderElem::MoveTo(int x, int y)
{
    const CRect oldName = m_rcName;
    if (!CGraphBlock::MoveTo(x, y))
        return false;
    if (m_pNetwork)
    {
        m_pNetwork->InvalidateRect(oldName);
        m_pNetwork->InvalidateRect(m_rcName);
    }
    return true;
}

void CGraphLadderElem::Invalidate()
{
    CGraphBlock::Invalidate();
    if (m_pNetwork)
        m_pNetwork->InvalidateRect(m_rcName);
}

void CGraphLadderElem::SetText(const char* text)
{
    m_strName = text && *text ? text : "?";
    if (m_pModel)
        ModelName(m_pModel) = text;
    Rebuild();
}

int CGraphLadderElem::GetRightX() const
{
    const int sx = std::max(1, StepX());
    return std::max(m_nX + 2, (m_rcName.right + sx - 1) / sx);
}

CSize CGraphLadderElem::GetOverflow() const
{
    const int left = m_nX < 0 ? m_nWidth - m_nX : 0;
    const int top = m_nY < 0 ? 1 - m_nY : (m_nY == 0 ? 1 : 0);
    return {left, top};
}

void CGraphLadderElem::SetKind(int kind)
{
    m_nKind = std::clamp(kind, 0, m_nKinds - 1);
    if (m_pModel)
        ModelKind(m_pModel) = m_nKind;
}

bool CGraphLadderElem::ToggleOnOff()
{
    if (m_nKind > 1)
        return false;
    SetKind(1 - m_nKind);
    return true;
}

int CGraphLadderElem::NextKind()
{
    SetKind((m_nKind + 1) % m_nKinds);
    return m_nKind;
}

const char* CGraphLadderElem::GetKindLetter() const
{
    static const char* const letters[] = {"", "", "P", "N", "R", "S"};
    return m_nKind >= 0 && m_nKind < 6 ? letters[m_nKind] : "";
}

COLORREF CGraphLadderElem::GetBackgroundColor() const
{
    if (!m_pOwner)
        return RGB(255, 255, 255);
    if (HasValue())
        return m_pOwner->GetColor(TriggerColor);
    if (IsError())
        return m_pOwner->GetColor(ErrorColor);
    if (IsActive())
        return m_pOwner->GetColor(ActiveColor);
    if (IsSelected())
        return m_pOwner->GetColor(SelectionColor);
    return m_pOwner->GetColor(BkgndGrid);
}

COLORREF CGraphLadderElem::GetSymbolColor() const
{
    if (!m_pOwner)
        return RGB(0, 0, 0);
    if (IsError())
        return m_pOwner->GetColor(ErrorColor);
    if (IsSelected())
        return m_pOwner->GetColor(SelectionColor);
    return m_pOwner->GetColor(ObjColor);
}

CPoint CGraphCoil::GetReferencePoint() const
{
    const CGraphPin* in = GetPin(0);
    const CConnection* wire = in ? in->GetConnection() : nullptr;
    if (wire && wire->GetSegments().size() == 1)
    {
        const GraphSegment& s = wire->GetSegments().front();
        return {(s.x1 + s.x2) / 2, (s.y1 + s.y2) / 2};
    }
    return {m_nX - 1, m_nY};
}

bool CGraphPwrRail::Init(CGraphNetworkIntf* network, CPlcFBDObject* model)
{
    if (!BeginInit(network, model, "GraphPwrRail", FBD_LD_POWER_RAIL))
        return false;
    auto* rail = static_cast<CPlcLDPowerRail*>(model);
    m_bRight = rail->m_nSide == CPlcLDPowerRail::SIDE_RIGHT;
    ReadDecimal(model->m_strID, m_nNumber);
    m_nX = m_bRight ? model->m_nX : 0;
    m_nY = 0;
    return FinishInit("GraphPwrRail");
}

void CGraphPwrRail::CreatePins()
{
    auto* rail = static_cast<CPlcLDPowerRail*>(m_pModel);
    for (auto* pin : PlcObjects<CPlcFBDPin>(rail->m_Pins))
        AddPin(pin->m_strID, m_bRight ? CGraphPin::SIDE_INPUT : CGraphPin::SIDE_OUTPUT, pin->m_bNegated,
               m_bRight ? m_nX : 1, pin->m_nY);
}

void CGraphPwrRail::ComputeLayout()
{
    const int sx = StepX();
    const int sy = std::max(1, StepY());
    m_nHeight = m_pNetwork ? m_pNetwork->GetGridHeight() * sy : 0;
    m_nRows = m_nHeight / sy;
    m_nWidth = 1;
    m_rcWnd = CRect(m_nX * sx, 0, m_nX * sx + sx, m_nHeight);
    m_rcBody = CRect(0, 0, sx, m_nHeight);
}

int CGraphPwrRail::GetLineX() const
{
    return m_nX * StepX() + StepX() / 2;
}

COLORREF CGraphPwrRail::GetLineColor() const
{
    if (!m_pOwner)
        return RGB(0, 0, 0);
    if (IsSelected())
        return m_pOwner->GetColor(SelConnectColor);
    return m_pOwner->GetColor(IsActive() ? ActiveColor : ConnectColor);
}

bool CGraphPwrRail::MoveTo(int x, int)
{
    if (!m_bRight || x == m_nX)
        return false;
    const int dx = x - m_nX;
    Invalidate();
    m_nX = x;
    m_nY = 0;
    ComputeLayout();
    OffsetPins(dx, 0);
    Invalidate();
    Placed();
    return true;
}
