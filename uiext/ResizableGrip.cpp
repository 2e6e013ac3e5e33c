// Size grip creation, its triangular shape and its place.
#include "ResizableGrip.h"

#include <ui/Gdi.h>

CResizableGrip::CResizableGrip() : m_sizeGrip(GetSystemMetrics(SM_CXVSCROLL), GetSystemMetrics(SM_CYHSCROLL))
{
}

BOOL CResizableGrip::InitGrip()
{
    const CRect rect(0, 0, m_sizeGrip.cx, m_sizeGrip.cy);
    if (!m_wndGrip.Create(WS_CHILD | WS_CLIPSIBLINGS | SBS_SIZEGRIP, rect, GetResizableWnd(), 0))
        return FALSE;
    // Only the lower-right triangle belongs to the grip.
    CRgn triangle;
    triangle.CreateRectRgn(0, 0, m_sizeGrip.cx, m_sizeGrip.cy);
    for (int y = 0; y < m_sizeGrip.cy; ++y)
    {
        CRgn span;
        span.CreateRectRgn(0, y, m_sizeGrip.cx - y, y + 1);
        triangle.CombineRgn(&triangle, &span, RGN_DIFF);
    }
    m_wndGrip.SetWindowRgn(&triangle, FALSE);
    UpdateGripPos();
    ShowSizeGrip(TRUE);
    return TRUE;
}

void CResizableGrip::UpdateGripPos()
{
    CWnd* wnd = GetResizableWnd();
    if (!wnd || !m_wndGrip.GetSafeHwnd())
        return;
    CRect client;
    wnd->GetClientRect(&client);
    m_wndGrip.SetWindowPos(&CWnd::wndBottom, client.right - m_sizeGrip.cx, client.bottom - m_sizeGrip.cy, 0,
                           0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    m_wndGrip.EnableWindow(wnd->IsZoomed() ? FALSE : TRUE);
}

void CResizableGrip::ShowSizeGrip(BOOL show)
{
    if (m_wndGrip.GetSafeHwnd())
        m_wndGrip.ShowWindow(show ? SW_SHOW : SW_HIDE);
}
