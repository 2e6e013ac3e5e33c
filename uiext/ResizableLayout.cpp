// Anchor arithmetic, the layout pass and the children's clipping.
#include "ResizableLayout.h"

namespace
{

bool IsGroupBox(HWND wnd)
{
    return wnd->GetClassName() == "Button" && (wnd->GetStyle() & 0x1F) == BS_GROUPBOX;
}

} // namespace

CRect CResizableLayout::ChildRectInClient(HWND wnd)
{
    CRect rect;
    wnd->GetWindowRect(&rect);
    GetResizableWnd()->ScreenToClient(&rect);
    return rect;
}

void CResizableLayout::AddAnchor(HWND wnd, CSize typeTL, CSize typeBR)
{
    if (!wnd || !wnd->GetSafeHwnd())
        return;
    if (IsGroupBox(wnd))
        wnd->ModifyStyle(0, WS_CLIPSIBLINGS);
    LayoutInfo layout;
    layout.hWnd = wnd;
    layout.bAdjHScroll = wnd->GetClassName() == "ListBox" ? TRUE : FALSE;
    layout.bNeedRefresh = NeedsRefresh(wnd);
    CRect client;
    GetTotalClientRect(&client);
    const CRect child = ChildRectInClient(wnd);
    if (typeBR == ANCHOR_NONE)
        typeBR = typeTL;
    const int width = client.Width();
    const int height = client.Height();
    layout.sizeTypeTL = typeTL;
    layout.sizeMarginTL = CSize(child.left - typeTL.cx * width / 100, child.top - typeTL.cy * height / 100);
    layout.sizeTypeBR = typeBR;
    layout.sizeMarginBR =
        CSize(child.right - typeBR.cx * width / 100, child.bottom - typeBR.cy * height / 100);
    // Window items come before every callback item.
    m_arrLayout.InsertAt(m_iFirstCallback, layout);
    ++m_iFirstCallback;
}

void CResizableLayout::AddAnchor(UINT id, CSize typeTL, CSize typeBR)
{
    CWnd* wnd = GetResizableWnd();
    AddAnchor(wnd ? wnd->GetDlgItem(static_cast<int>(id)) : nullptr, typeTL, typeBR);
}

void CResizableLayout::AddAnchorCallback(UINT callbackId)
{
    LayoutInfo layout;
    layout.nCallbackID = callbackId;
    m_arrLayout.Add(layout);
}

void CResizableLayout::RemoveAllAnchors()
{
    m_arrLayout.RemoveAll();
    m_iFirstCallback = 0;
}

BOOL CResizableLayout::ArrangeLayoutCallback(LayoutInfo&)
{
    return FALSE;
}

void CResizableLayout::GetTotalClientRect(RECT* rect)
{
    GetResizableWnd()->GetClientRect(rect);
}

void CResizableLayout::ArrangeLayout()
{
    CRect client;
    GetTotalClientRect(&client);
    const int width = client.Width();
    const int height = client.Height();
    const int count = static_cast<int>(m_arrLayout.GetSize());
    HDWP batch = BeginDeferWindowPos(count);
    for (int i = 0; i < count; ++i)
    {
        LayoutInfo layout = m_arrLayout[i];
        if (!layout.hWnd)
        {
            // Every window item is placed before the first callback runs.
            if (i == m_iFirstCallback)
            {
                EndDeferWindowPos(batch);
                batch = BeginDeferWindowPos(count - i);
            }
            if (!ArrangeLayoutCallback(layout))
                continue;
        }
        if (!layout.hWnd || !layout.hWnd->GetSafeHwnd())
            continue;
        const CRect now = ChildRectInClient(layout.hWnd);
        const CRect next(layout.sizeMarginTL.cx + width * layout.sizeTypeTL.cx / 100,
                         layout.sizeMarginTL.cy + height * layout.sizeTypeTL.cy / 100,
                         layout.sizeMarginBR.cx + width * layout.sizeTypeBR.cx / 100,
                         layout.sizeMarginBR.cy + height * layout.sizeTypeBR.cy / 100);
        if (next == now)
            continue;
        BOOL refresh = layout.bNeedRefresh;
        if (layout.bAdjHScroll)
        {
            const int limit = layout.hWnd->GetScrollLimit(SB_HORZ);
            refresh = limit > 0 && layout.hWnd->GetScrollPos(SB_HORZ) > limit - (next.Width() - now.Width());
        }
        UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
        if (refresh)
            flags |= SWP_NOCOPYBITS;
        if (next.TopLeft() == now.TopLeft())
            flags |= SWP_NOMOVE;
        if (next.Size() == now.Size())
            flags |= SWP_NOSIZE;
        batch = DeferWindowPos(batch, layout.hWnd, nullptr, next.left, next.top, next.Width(), next.Height(),
                               flags);
    }
    EndDeferWindowPos(batch);
}

void CResizableLayout::ClipChildren(CDC* dc)
{
    if (!dc)
        return;
    for (INT_PTR i = 0; i < m_arrLayout.GetSize(); ++i)
    {
        HWND wnd = m_arrLayout[i].hWnd;
        if (!wnd || !wnd->GetSafeHwnd() || !wnd->IsWindowVisible())
            continue;
        CRect rect = ChildRectInClient(wnd);
        dc->DPtoLP(&rect);
        CRgn region;
        if (wnd->GetWindowRgn(region) == COMPLEXREGION)
            region.OffsetRgn(rect.left, rect.top);
        else
            region.CreateRectRgnIndirect(&rect);
        dc->SelectClipRgn(&region, LikesClipping(wnd) ? RGN_DIFF : RGN_OR);
    }
}

BOOL CResizableLayout::NeedsRefresh(HWND wnd)
{
    if (!wnd || wnd->GetClassName() != "Static")
        return FALSE;
    const DWORD style = wnd->GetStyle();
    switch (style & SS_TYPEMASK)
    {
    case SS_LEFT:
    case SS_CENTER:
    case SS_RIGHT:
    case SS_BITMAP:
    case SS_ENHMETAFILE:
        return TRUE;
    case SS_ICON:
    case SS_SIMPLE:
    case SS_ETCHEDHORZ:
    case SS_ETCHEDVERT:
        return FALSE;
    default:
        return (style & SS_CENTERIMAGE) ? TRUE : FALSE;
    }
}

BOOL CResizableLayout::LikesClipping(HWND wnd)
{
    if (!wnd)
        return FALSE;
    const CString className = wnd->GetClassName();
    const DWORD style = wnd->GetStyle();
    if (className == "ToolbarWindow32" && (style & 0x8000))
        return FALSE;
    if (className == "Button" && (style & 0x1F) == BS_GROUPBOX)
        return FALSE;
    if (className == "Static")
    {
        switch (style & SS_TYPEMASK)
        {
        case SS_ICON:
        case SS_ENHMETAFILE:
            return (style & SS_CENTERIMAGE) ? FALSE : TRUE;
        case SS_BLACKRECT:
        case SS_GRAYRECT:
        case SS_WHITERECT:
        case SS_BITMAP:
        case SS_ETCHEDHORZ:
        case SS_ETCHEDVERT:
            return TRUE;
        default:
            return FALSE;
        }
    }
    return TRUE;
}
