// Data tip timers, placement, painting and hiding.
#include "DataTip.h"

#include <ui/Dc.h>

namespace
{
constexpr const char* kDataTipClass = "TFXDataTip";
constexpr int kHideZoneHalf = 20;
} // namespace

SHORT CDataTip::m_nDelayShow = 500;
long CDataTip::m_nDelayHide = 2000;
int CDataTip::m_fRegistered = 0;

CFont& CDataTip::SharedFont()
{
    static CFont font;
    if (!font.IsCreated())
        font.CreateStockObject(ANSI_VAR_FONT);
    return font;
}

CDataTip::CDataTip()
{
    SharedFont();
}

BOOL CDataTip::Create(CWnd* owner)
{
    if (!m_fRegistered)
    {
        WNDCLASS wndClass;
        wndClass.style = CS_SAVEBITS | CS_DBLCLKS;
        wndClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wndClass.background = GetSysColor(COLOR_INFOBK);
        wndClass.lpszClassName = kDataTipClass;
        if (!AfxRegisterClass(&wndClass))
            return FALSE;
        m_fRegistered = 1;
    }
    m_pOwner = owner;
    m_bCreated = CreateEx(WS_EX_TOOLWINDOW, kDataTipClass, nullptr, WS_POPUP | WS_CLIPSIBLINGS | WS_BORDER,
                          CRect(0, 0, 10, 10), owner, 0);
    return m_bCreated;
}

void CDataTip::Set(CPoint point, const CString& text)
{
    if (!m_bOn || !m_bCreated || !m_pOwner)
        return;
    CRect client;
    m_pOwner->GetClientRect(&client);
    if (!client.PtInRect(point))
        return;
    CPoint screen = point;
    m_pOwner->ClientToScreen(&screen);
    if (screen == m_ptLast)
        return;
    m_ptLast = screen;
    m_strText = text;
    SetTimer(kShowTimer, static_cast<UINT>(m_nDelayShow));
}

void CDataTip::OnTimer(UINT_PTR id)
{
    if (id == kShowTimer)
    {
        KillTimer(kShowTimer);
        Display();
        SetTimer(kHideTimer, static_cast<UINT>(m_nDelayHide));
    }
    else if (id == kHideTimer)
    {
        Hide();
    }
}

void CDataTip::Display()
{
    ShowWindow(SW_HIDE);
    CDC measure;
    measure.SelectObject(&SharedFont());
    const CSize extent = measure.GetTextExtent(m_strText);
    CRect rect(m_ptLast, extent);
    rect.InflateRect(4, 2);
    rect.OffsetRect(m_offset);
    SetWindowPos(&wndTopMost, rect.left, rect.top, rect.Width(), rect.Height(),
                 SWP_NOACTIVATE | SWP_SHOWWINDOW);
    m_rcHideZone = CRect(m_ptLast.x - kHideZoneHalf, m_ptLast.y - kHideZoneHalf, m_ptLast.x + kHideZoneHalf,
                         m_ptLast.y + kHideZoneHalf);
}

void CDataTip::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, GetSysColor(COLOR_INFOBK));
    dc.SelectObject(&SharedFont());
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(GetSysColor(COLOR_INFOTEXT));
    dc.SetTextAlign(TA_CENTER | TA_TOP);
    dc.TextOut(client.Width() / 2, 1, m_strText);
}

void CDataTip::OnMouseMove(UINT, CPoint point)
{
    CPoint screen = point;
    ClientToScreen(&screen);
    if (!m_rcHideZone.PtInRect(screen))
        Hide();
}

BOOL CDataTip::PreTranslateMessage(MSG* msg)
{
    if (msg)
    {
        switch (msg->message)
        {
        case WM_CANCELMODE:
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            Hide();
            break;
        default:
            break;
        }
    }
    return CWnd::PreTranslateMessage(msg);
}

void CDataTip::Hide()
{
    if (!m_bCreated)
        return;
    ShowWindow(SW_HIDE);
    KillTimer(kShowTimer);
    KillTimer(kHideTimer);
}

BOOL CDataTip::DestroyWindow()
{
    KillTimer(kShowTimer);
    KillTimer(kHideTimer);
    m_bCreated = FALSE;
    return CWnd::DestroyWindow();
}
