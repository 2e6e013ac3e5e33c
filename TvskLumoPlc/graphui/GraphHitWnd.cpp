#include "GraphHitWnd.h"

#include <TvskLumoPlc/graph/GraphSmallElements.h>

#include <ZoSupport/ZoSupport.h>

BOOL CGraphEdit::Create(const RECT& rect, CWnd* hitWnd)
{
    return CEdit::Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, rect, hitWnd,
                         CGraphHitWnd::ControlId);
}

void CGraphEdit::OnKeyDown(UINT key, UINT repeat, UINT flags)
{
    if (key == VK_RETURN)
        GetParent()->PostMessage(WM_GRAPHEDIT_END);
    else if (key == VK_ESCAPE)
        GetParent()->PostMessage(WM_GRAPHEDIT_CANCEL, 1);
    else
        CEdit::OnKeyDown(key, repeat, flags);
}

void CGraphEdit::OnKillFocus(CWnd* newWnd)
{
    CEdit::OnKillFocus(newWnd);
    if (CWnd* parent = GetParent())
        parent->PostMessage(WM_GRAPHEDIT_CANCEL, 0);
}

BOOL CGraphHitWnd::Create(CGraphHitTarget* target, CGraphBlock* element, CWnd* network)
{
    if (!target || !element || !network)
    {
        ProgramError("GraphHitWnd", __LINE__, "no target, element or network window");
        return FALSE;
    }
    m_pTarget = target;
    m_pElement = element;
    return CreateTransparent(element->GetWindowRect(), network, ControlId);
}

void CGraphHitWnd::Place()
{
    if (m_pElement && GetSafeHwnd())
        MoveWindow(&m_pElement->GetWindowRect(), FALSE);
}

bool CGraphHitWnd::OnElement(CPoint point) const
{
    return m_pElement && m_pElement->GetBodyRect().PtInRect(point);
}

CGraphPin* CGraphHitWnd::PinAt(CPoint point) const
{
    if (!m_pElement)
        return nullptr;
    const int type = m_pElement->GetType();
    if (type == FBD_VARIABLE || type == FBD_CONST || type == FBD_RETURN || type == FBD_JUMP)
        return m_pElement->GetPin(0);
    const CRect& window = m_pElement->GetWindowRect();
    return m_pElement->PinAtPixel(CPoint(point.x + window.left, point.y + window.top));
}

void CGraphHitWnd::ToParent(UINT message, UINT flags, CPoint point)
{
    CWnd* parent = GetParent();
    if (!parent)
        return;
    ClientToScreen(&point);
    parent->ScreenToClient(&point);
    parent->SendMessage(message, flags, MAKELPARAM(static_cast<WORD>(point.x), static_cast<WORD>(point.y)));
}

void CGraphHitWnd::OnLButtonDown(UINT flags, CPoint point)
{
    // A pin stands half a step outside the body: the click is on the element when it hits a pin.
    m_ptLast = point;
    m_pLastPin = m_pElement ? m_pElement->PinAtPixel(CPoint(point.x + m_pElement->GetWindowRect().left,
                                                            point.y + m_pElement->GetWindowRect().top))
                            : nullptr;
    if (!OnElement(point) && !m_pLastPin)
    {
        ToParent(WM_LBUTTONDOWN, flags, point);
        return;
    }
    m_pTarget->OnElementButtonDown(m_pElement, point.x, point.y);
}

void CGraphHitWnd::OnLButtonUp(UINT flags, CPoint point)
{
    if (!OnElement(point))
    {
        ToParent(WM_LBUTTONUP, flags, point);
        return;
    }
    ClientToScreen(&point);
    m_pTarget->OnElementButtonUp(point);
}

void CGraphHitWnd::OnLButtonDblClk(UINT, CPoint point)
{
    m_pTarget->OnElementDblClk(m_pElement, point);
}

// The move's own point settles the cursor; then the network window follows the move.
void CGraphHitWnd::OnMouseMove(UINT flags, CPoint point)
{
    ChooseCursor(point);
    ToParent(WM_MOUSEMOVE, flags, point);
}

BOOL CGraphHitWnd::OnSetCursor(CWnd*, UINT, UINT)
{
    CPoint cursor;
    GetCursorPos(&cursor);
    ScreenToClient(&cursor);
    ChooseCursor(cursor);
    return TRUE;
}

// The target's cursor for the pin or body at the point; the arrow when it declines.
void CGraphHitWnd::ChooseCursor(CPoint point)
{
    if (!m_pTarget->OnElementSetCursor(m_pElement, PinAt(point)))
        SetCursor(LoadCursor(nullptr, IDC_ARROW));
}

LRESULT CGraphHitWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_CONTEXTMENU:
        m_pTarget->OnElementContextMenu(m_pElement, CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
        return 1;
    case WM_GRAPHEDIT_END:
        if (m_pEditor && m_pElement && m_pElement->GetType() == FBD_CONST)
        {
            auto* constant = static_cast<CGraphConst*>(m_pElement);
            // A refused value leaves the editor open with the text for correction.
            if (constant->ApplyEdit(m_pEditor->GetWindowText()))
                CloseEditor();
        }
        if (GetParent())
            GetParent()->Invalidate();
        return 0;
    case WM_GRAPHEDIT_CANCEL:
        if (wParam == 1 && m_pEditor && m_pElement && m_pElement->GetType() == FBD_CONST)
        {
            static_cast<CGraphConst*>(m_pElement)->CancelEdit();
            CloseEditor();
        }
        if (GetParent())
            GetParent()->Invalidate();
        return 0;
    default:
        return CTransparentWnd::WindowProc(message, wParam, lParam);
    }
}

BOOL CGraphHitWnd::OpenEditor(CFont* font)
{
    if (!m_pElement || m_pElement->GetType() != FBD_CONST)
        return FALSE;
    auto* constant = static_cast<CGraphConst*>(m_pElement);
    if (!m_pEditor)
    {
        CRect box = m_pElement->GetBodyRect();
        box.right -= m_pElement->GetCharCell().cy / 2;
        m_pEditor = std::make_unique<CGraphEdit>();
        if (!m_pEditor->Create(box, this))
        {
            m_pEditor.reset();
            return FALSE;
        }
        m_pFocusBefore = CWnd::GetFocus();
    }
    constant->BeginEdit();
    if (font)
        m_pEditor->SetFont(font);
    m_pEditor->SetWindowText(constant->GetEditText());
    m_pEditor->SetSel(0, -1);
    m_pEditor->ShowWindow(SW_SHOW);
    m_pEditor->SetFocus();
    return TRUE;
}

void CGraphHitWnd::CloseEditor()
{
    if (!m_pEditor)
        return;
    std::unique_ptr<CGraphEdit> editor = std::move(m_pEditor);
    editor->ShowWindow(SW_HIDE);
    if (m_pFocusBefore && IsWindow(m_pFocusBefore->GetSafeHwnd()))
        m_pFocusBefore->SetFocus();
    m_pFocusBefore = nullptr;
    editor->DestroyWindow();
}
