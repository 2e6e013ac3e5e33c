// Splitter dragging with its clamps, drag feedback and the pane layout.
#include "SplitterBar.h"

#include <ui/Dc.h>
#include <ui/Gdi.h>

namespace
{
constexpr const char* kSplitterClass = "ZoMfcExtSplitterWnd";
} // namespace

CSplitterBar::CSplitterBar(int barHeight) : m_nBarHeight(barHeight)
{
    RegisterWindowClass();
}

BOOL CSplitterBar::RegisterWindowClass()
{
    WNDCLASS wndClass;
    wndClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    wndClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wndClass.background = GetSysColor(COLOR_BTNFACE);
    wndClass.lpszClassName = kSplitterClass;
    WNDCLASS existing;
    if (GetClassInfo(kSplitterClass, &existing))
        return TRUE;
    if (!AfxRegisterClass(&wndClass))
        AfxThrowResourceException();
    return TRUE;
}

BOOL CSplitterBar::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CreateEx(0, kSplitterClass, "", style, rect, parent, id);
}

void CSplitterBar::SetPanes(CWnd* upper, CWnd* lower)
{
    m_pUpper = upper;
    m_pLower = lower;
    MovePanes();
}

void CSplitterBar::Size(long)
{
    CRect parent;
    GetParentClientRect(&parent);
    const int top = parent.top + parent.Height() / 2 - m_nBarHeight / 2;
    MoveWindow(parent.left, top, parent.Width(), m_nBarHeight);
    MovePanes();
}

BOOL CSplitterBar::IsCursorOverSplitter(CPoint screenPoint) const
{
    CRect rect;
    GetWindowRect(&rect);
    return rect.PtInRect(screenPoint) ? TRUE : FALSE;
}

CRect CSplitterBar::ToParent(const CRect& rect) const
{
    CRect converted(rect);
    ClientToScreen(&converted);
    if (CWnd* parent = GetParent())
        parent->ScreenToClient(&converted);
    return converted;
}

void CSplitterBar::DrawDraggingBar(CPoint point, DRAGFLAG flag)
{
    CWnd* parent = GetParent();
    if (!parent)
        return;
    m_rcDrag.top = point.y;
    m_rcDrag.bottom = point.y + m_nBarHeight;
    const CSize size(m_rcDrag.Width(), m_nBarHeight);
    const CRect last = ToParent(m_rcDragLast);
    const CRect next = ToParent(m_rcDrag);
    CWindowDC dc(parent);
    switch (flag)
    {
    case DRAG_ENTER:
        dc.DrawDragRect(&next, size, nullptr, size);
        break;
    case DRAG_MOVE:
        dc.DrawDragRect(&next, size, &last, size);
        break;
    // The last drawing only takes the feedback away.
    case DRAG_EXIT:
        dc.DrawDragRect(nullptr, size, &last, size);
        break;
    }
    m_rcDragLast = m_rcDrag;
}

void CSplitterBar::OnLButtonDown(UINT, CPoint point)
{
    if (!GetParent())
        return;
    m_bDragging = TRUE;
    SetCapture();
    GetClientRect(&m_rcDrag);
    DrawDraggingBar(point, DRAG_ENTER);
}

void CSplitterBar::OnMouseMove(UINT, CPoint point)
{
    if (m_bDragging)
        DrawDraggingBar(point, DRAG_MOVE);
}

void CSplitterBar::OnLButtonUp(UINT, CPoint point)
{
    if (!m_bDragging)
        return;
    ReleaseCapture();
    CRect client;
    GetParentClientRect(&client);
    const CPoint inParent = ToParent(CRect(point, point)).TopLeft();
    CRect bar(client.left, inParent.y, client.right, inParent.y + m_nBarHeight);
    if (bar.top < client.top + kMinPane)
    {
        bar.top = client.top + kMinPane;
        bar.bottom = bar.top + m_nBarHeight;
    }
    if (bar.bottom > client.bottom - kMinPane)
    {
        bar.bottom = client.bottom - kMinPane;
        bar.top = bar.bottom - m_nBarHeight;
    }
    DrawDraggingBar(point, DRAG_EXIT);
    MoveWindow(&bar);
    m_bDragging = FALSE;
    MovePanes();
    GetParent()->PostMessage(WM_SPLITTER_MOVED, 0, 0);
}

BOOL CSplitterBar::OnSetCursor(CWnd* wnd, UINT hitTest, UINT message)
{
    POINT cursor{};
    if (GetCursorPos(&cursor) && IsCursorOverSplitter(cursor))
    {
        ::SetCursor(LoadCursor(nullptr, AFX_IDC_VSPLITBAR));
        return TRUE;
    }
    return CWnd::OnSetCursor(wnd, hitTest, message);
}

void CSplitterBar::GetParentClientRect(RECT* rect)
{
    if (CWnd* parent = GetParent())
        parent->GetClientRect(rect);
    else if (rect)
        *rect = CRect();
}

void CSplitterBar::GetParentWindowRect(RECT* rect)
{
    if (CWnd* parent = GetParent())
        parent->GetWindowRect(rect);
    else if (rect)
        *rect = CRect();
}

CRect CSplitterBar::BarRectInParent() const
{
    CRect client;
    GetClientRect(&client);
    return ToParent(client);
}

void CSplitterBar::MovePanes()
{
    CWnd* parent = GetParent();
    if (!parent || !GetSafeHwnd())
        return;
    CRect client;
    GetParentClientRect(&client);
    const CRect bar = BarRectInParent();
    if (m_pUpper && m_pUpper->GetSafeHwnd())
        m_pUpper->MoveWindow(client.left, client.top + m_nTopOffset, client.Width(),
                             bar.top - client.top - m_nTopOffset);
    if (m_pLower && m_pLower->GetSafeHwnd())
        m_pLower->MoveWindow(client.left, bar.bottom + m_nTopOffset, client.Width(),
                             client.bottom - bar.bottom - m_nTopOffset);
    parent->Invalidate();
}
