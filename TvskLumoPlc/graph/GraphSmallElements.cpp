#include "GraphSmallElements.h"

#include "NetworkIntf.h"

#include <ZoLumoPlcObj/PlcFBDBlocks.h>
#include <ZoLumoPlcObj/PlcFBDElements.h>

#include <algorithm>

CString CGraphComment::CleanText(const char* text)
{
    CString clean(text);
    clean.Remove('"');
    clean.Replace("\r\n", " ");
    clean.Replace('\r', ' ');
    clean.Replace('\n', ' ');
    return clean.GetLength() > MaxLength ? clean.Left(MaxLength) : clean;
}

bool CGraphComment::Init(CGraphNetworkIntf* network, CPlcFBDObject* model)
{
    if (!BeginInit(network, model, "GraphComment", FBD_COMMENT))
        return false;
    m_strText = CleanText(static_cast<CPlcFBDComment*>(model)->m_strComment);
    m_Lines.RemoveAll();
    m_Lines.Add(m_strText);
    m_nX = model->m_nX;
    m_nY = model->m_nY;
    return FinishInit("GraphComment");
}

void CGraphComment::SetText(const char* text)
{
    m_strText = CleanText(text);
    m_Lines.RemoveAll();
    m_Lines.Add(m_strText);
    if (m_pModel && m_pModel->m_nType == FBD_COMMENT)
        static_cast<CPlcFBDComment*>(m_pModel)->m_strComment = m_strText;
    Rebuild();
}

CString CGraphComment::GetJoinedText(bool crlf) const
{
    CString joined;
    for (INT_PTR i = 0; i < m_Lines.GetSize(); ++i)
    {
        if (i > 0)
            joined += crlf ? "\r\n" : "\n";
        joined += m_Lines[i];
    }
    return joined;
}

COLORREF CGraphComment::GetTextColor() const
{
    if (!m_pOwner)
        return RGB(0, 128, 0);
    return m_pOwner->GetColor(IsSelected() ? SelTextColor : CommentColor);
}

void CGraphComment::ComputeLayout()
{
    const int sx = std::max(1, StepX());
    int widest = 0;
    for (INT_PTR i = 0; i < m_Lines.GetSize(); ++i)
        widest = std::max(widest, TextWidth(m_Lines[i]));
    const int ch = m_szChar.cy;
    m_rcBody = CRect(0, 0, widest + 2 * ch, (static_cast<int>(m_Lines.GetSize()) + 1) * ch);
    m_rcWnd = CRect(CPoint(m_nX * sx, m_nY * StepY()), CSize(m_rcBody.Width() + sx + 2, m_rcBody.Height()));
    m_nWidth = m_rcWnd.Width() / sx;
}

bool CGraphPinBox::Init(CGraphNetworkIntf* network, CPlcFBDObject* model)
{
    if (!BeginInit(network, model, m_pSource, m_nType))
        return false;
    ReadDecimal(model->m_strID, m_nNumber);
    m_nX = model->m_nX;
    m_nY = model->m_nY;
    TakeModel();
    return FinishInit(m_pSource);
}

void CGraphPinBox::PlacePins()
{
    if (CGraphPin* pin = GetPin(0))
        pin->SetPinPosition(m_nX, m_nY);
}

CRect CGraphPinBox::GetConnectionArea() const
{
    const int half = StepX() / 2;
    const int middle = m_rcBody.CenterPoint().y;
    const int x = PinOnRight() ? m_rcBody.right - half : m_rcBody.left;
    return {x, middle - 2, x + half, middle + 2};
}

COLORREF CGraphPinBox::GetBoxColor() const
{
    if (!m_pOwner)
        return RGB(192, 192, 192);
    if (IsError())
        return m_pOwner->GetColor(ErrorColor);
    return m_pOwner->GetColor(IsSelected() ? SelectionColor : ObjColor);
}

void CGraphConst::TakeModel()
{
    m_strName = static_cast<CPlcFBDConst*>(m_pModel)->m_strValue;
    if (m_strName.IsEmpty())
        m_strName = "0";
}

void CGraphConst::CreatePins()
{
    AddPin(m_strName, CGraphPin::SIDE_OUTPUT, false, m_nX, m_nY);
}

void CGraphConst::ComputeLayout()
{
    const int sx = std::max(1, StepX());
    const int width = RoundUp(std::max(TextWidth(m_strName) + sx + 10, MinBoxWidth), sx);
    const int height = m_szChar.cy + 4;
    m_nWidth = width / sx;
    m_rcWnd = CRect(CPoint(m_nX * sx - width, m_nY * StepY() - height / 2), CSize(width, height));
    m_rcBody = CRect(0, 0, width, height);
}

void CGraphConst::SetText(const char* text)
{
    m_strName = text && *text ? text : "0";
    if (m_pModel)
        static_cast<CPlcFBDConst*>(m_pModel)->m_strValue = m_strName;
    if (CGraphPin* pin = GetPin(0))
        pin->SetName(m_strName);
    Rebuild();
}

void CGraphConst::BeginEdit()
{
    if (!m_bEditing && m_strSaved.IsEmpty())
        m_strSaved = m_strName;
    m_strEdit = m_strName;
    m_bEditing = true;
}

bool CGraphConst::ApplyEdit(const char* text)
{
    m_strEdit = text && *text ? text : "0";
    if (m_pOwner && !m_pOwner->CheckConstant(this, m_strEdit))
    {
        m_bEditing = true;
        return false;
    }
    m_bEditing = false;
    m_strSaved.Empty();
    SetText(m_strEdit);
    return true;
}

void CGraphConst::CancelEdit()
{
    m_bEditing = false;
    if (!m_strSaved.IsEmpty())
        SetText(m_strSaved);
    m_strSaved.Empty();
}

void CGraphJmp::TakeModel()
{
    m_strName = static_cast<CPlcFBDExeObject*>(m_pModel)->m_strBlockName;
}

void CGraphJmp::CreatePins()
{
    auto* model = static_cast<CPlcFBDExeObject*>(m_pModel);
    const auto* first =
        model->m_Inputs.IsEmpty() ? nullptr : static_cast<CPlcFBDPin*>(model->m_Inputs.GetHead());
    AddPin(m_strName, CGraphPin::SIDE_INPUT, first && first->m_bNegated, m_nX, m_nY);
}

void CGraphJmp::ComputeLayout()
{
    const int sx = std::max(1, StepX());
    const int modelWidth = static_cast<CPlcFBDExeObject*>(m_pModel)->m_nWidth;
    const int width = modelWidth > 0 ? modelWidth * sx : RoundUp(TextWidth(m_strName) + sx + 20, sx);
    const int height = m_szChar.cy + 4;
    m_nWidth = width / sx;
    m_rcWnd = CRect(CPoint(m_nX * sx, m_nY * StepY() - height / 2), CSize(width, height));
    m_rcBody = CRect(0, 0, width, height);
}

void CGraphVar::TakeModel()
{
    auto* model = static_cast<CPlcFBDVariable*>(m_pModel);
    m_strName = model->m_strVarName;
    m_bRead = model->m_Pin.m_nDirection == CPlcFBDPin::DIR_OUT;
}

void CGraphVar::CreatePins()
{
    AddPin(m_strName, m_bRead ? CGraphPin::SIDE_OUTPUT : CGraphPin::SIDE_INPUT, false, m_nX, m_nY);
}

void CGraphVar::PlacePins()
{
    if (CGraphPin* pin = GetPin(0))
    {
        const int side = m_bRead ? CGraphPin::SIDE_OUTPUT : CGraphPin::SIDE_INPUT;
        if (pin->GetSide() != side)
            pin->SetSide(side);
        pin->SetPinPosition(m_nX, m_nY);
    }
}

void CGraphVar::ComputeLayout()
{
    const int sx = std::max(1, StepX());
    const int width = RoundUp(TextWidth(m_strName) + sx + 10, sx);
    const int height = m_szChar.cy + 4;
    m_nWidth = width / sx;
    const int left = m_bRead ? m_nX * sx - width : m_nX * sx;
    m_rcWnd = CRect(CPoint(left, m_nY * StepY() - height / 2), CSize(width, height));
    m_rcBody = CRect(0, 0, width, height);
}

void CGraphVar::SetText(const char* text)
{
    m_strName = text;
    if (m_pModel)
        static_cast<CPlcFBDVariable*>(m_pModel)->m_strVarName = text;
    if (CGraphPin* pin = GetPin(0))
        pin->SetName(text);
    Rebuild();
}
